#include "app/placeholderlist.h"

#include "app/dm/dm.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"
#include "app/widgets/guard.h"
#include "platform/ui/messages.h"

#include <QHeaderView>

namespace placeholder {

namespace {
const QString kKeyTopic = QStringLiteral("verifica chiave primaria");
}

void NavigatorClicked(TNavigateBtn button, TDataSet &ds, const QString &field, const TListTexts &texts,
                      const std::function<void()> &insertRow, TDBGrid *grid)
{
    if (button == TNavigateBtn::nbInsert) {
        try {
            insertRow();
        } catch (const std::exception &e) {
            // Only a refused duplicate is the placeholder being there already.
            if (Tdm::IsDuplicateKeyError(e))
                ui::WarningBox(kKeyTopic, texts.DuplicateText);
            else
                ShowCurrentException();
        } catch (...) {
            ShowCurrentException();
        }
    }
    RunGuarded([&] {
        if (!ds.Active())
            return;
        ds.Refresh();
        if (ds.Locate(field, Variant(texts.Placeholder), loCaseInsensitive) && grid)
            grid->setFocus();
    });
}

void SetupGrid(TDBGrid *grid)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    grid->setFont(f);
    // Titles the user can drag to reorder the columns.
    grid->horizontalHeader()->setSectionsMovable(true);
}

} // namespace placeholder
