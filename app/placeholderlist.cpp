#include "app/placeholderlist.h"

#include "app/dm/dm.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"
#include "app/widgets/guard.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/messages.h"

#include <QHeaderView>

namespace placeholder {

namespace {
const QString kKeyTopic = QStringLiteral("verifica chiave primaria");
const QString kNameTopic = QStringLiteral("verifica nome");
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

void GuardPosts(TDataSet &ds, const QString &field, const TListTexts &texts)
{
    ds.BeforePost = [field, texts](TDataSet &d) {
        const TField *f = d.FindField(field);
        if (f && f->AsString().trimmed().isEmpty()) {
            ui::WarningBox(kNameTopic, texts.EmptyText);
            throw EReported();
        }
    };
    ds.OnPostError = [texts](TDataSet &, const std::exception &e) {
        if (Tdm::IsDuplicateKeyError(e)) {
            ui::WarningBox(kKeyTopic, texts.DuplicateText);
            throw EReported();
        }
        const auto *db = dynamic_cast<const Exception *>(&e);
        const QString engineText = db ? db->message() : QString::fromLocal8Bit(e.what());
        ui::ShowErrorMessage(db ? QString::fromLatin1(db->className()) : QStringLiteral("Exception"),
                             texts.NotSavedText + QLatin1Char(' ') + engineText);
        throw EReported();
    };
}

void ReleasePosts(TDataSet &ds)
{
    ds.BeforePost = nullptr;
    ds.OnPostError = nullptr;
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
