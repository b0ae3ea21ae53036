#include "designer/widgets/designerfiles.h"

#include "designer/core/designerfiles.h"
#include "designer/core/settings.h"
#include "engine/widgets/kvlsearchdialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>

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

void kvlRenderRecentFiles(QMenu *Menu, QAction *SepMI11, QAction *SepMI4, const TkvlRecentFiles &Files,
                          const std::function<void(const QString &FileName)> &Open)
{
    for (QAction *a : Menu->actions())
        if (a->property("Tag").toInt() == kvlRecentFileTag) {
            Menu->removeAction(a);
            a->deleteLater();
        }
    SepMI11->setVisible(Files.SeparatorVisible());
    for (const QString &name : Files.MenuEntries()) {
        auto *a = new QAction(name, Menu);
        a->setProperty("Tag", kvlRecentFileTag);
        QObject::connect(a, &QAction::triggered, Menu, [Open, name] {
            if (kvlDesignerAllows(drDontLoadReport) && Open)
                Open(name);
        });
        Menu->insertAction(SepMI4, a);
    }
}
