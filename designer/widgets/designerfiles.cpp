#include "designer/widgets/designerfiles.h"

#include "designer/core/designerfiles.h"
#include "engine/widgets/kvlsearchdialog.h"

#include <QCheckBox>
#include <QLineEdit>

void kvlFindOrReplace(QWidget *Parent, TkvlDesignerFiles &Files, bool Replace)
{
    TkvlSearchDialog dialog(Parent);
    dialog.ReplacePanel()->setVisible(Replace);
    const bool script = Files.Window()->CodeTabShown();
    dialog.TopCB()->setEnabled(script);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Files.StartSearch(dialog.TextE()->text(), dialog.ReplaceE()->text(), dialog.CaseCB()->isChecked(), Replace,
                      !script || dialog.TopCB()->isChecked());
}
