// The main window's operations that change events or open the event editor: a new event from the
// navigator's insert button, deleting the current event, archiving the events the grid shows, and
// the editor toggle with the editor following the grid's current row.
#include "app/dm/dm.h"
#include "app/fedit.h"
#include "app/fmain.h"
#include "app/globals.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"
#include "app/widgets/guard.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"

#include <QDate>

namespace {

double Today()
{
    return double(QDate(1899, 12, 30).daysTo(ui::clock().Now().date()));
}

} // namespace

void TfMain::DBNavigatorEVENTSClick(TNavigateBtn button)
{
    if (button != TNavigateBtn::nbInsert || !dm)
        return;
    TQuery &q = dm->EVENTS;
    // The navigator's empty row is replaced by the placeholder event written straight to the
    // database; it takes the next generator value itself, so two presses give consecutive IDs.
    if (q.State() == TDataSetState::dsInsert || q.State() == TDataSetState::dsEdit)
        q.Cancel();
    try {
        dm->InsertNewEvent(Today());
        q.Open(dmsql::EventsNewestFirst);
    } catch (...) {
        ShowCurrentErrorMessage();
    }
    RunGuarded([&] {
        ContaEventi();
        if (q.Active() && q.Locate(QStringLiteral("TITLE"), Variant(dmtext::PlaceholderTitle), loCaseInsensitive))
            DBGridEVENTS->setFocus();
    });
}

void TfMain::bDeleteClick()
{
    if (!dm || !dm->EVENTS.Active() || dm->EVENTS.IsEmpty())
        return;
    TQuery &q = dm->EVENTS;
    if (q.State() != TDataSetState::dsBrowse)
        q.Cancel();
    const TField *idField = q.FieldByName(QStringLiteral("ID"));
    const QString idText = idField->AsString();
    const int id = idField->AsInteger();
    if (!ui::ConfirmBox(QStringLiteral("conferma eliminazione evento"),
                        QStringLiteral("Eliminare l'evento con ID = ") + idText + QStringLiteral(" ?")))
        return;
    try {
        dm->RemoveEvent(id); // rolled back as a whole when it fails
        q.Refresh();
        ContaEventi();
    } catch (...) {
        ShowCurrentErrorMessage();
    }
}

void TfMain::bArchiviaEventiFiltratiClick()
{
    if (!dm)
        return;
    if (!ui::ConfirmBox(QStringLiteral("conferma archiviazione eventi"),
                        QStringLiteral("Sicuro di voler archiviare tutti gli eventi visualizzati ora in tabella ?")))
        return;
    TQuery &q = dm->EVENTS;
    // The rows the grid shows now, filter and all, read without moving the cursor.
    QList<int> ids;
    if (q.Active()) {
        if (q.State() != TDataSetState::dsBrowse)
            q.Cancel();
        const int idField = q.FieldByName(QStringLiteral("ID"))->Index();
        for (int row = 0; row < q.RecordCount(); ++row)
            ids << q.ValueAt(row, idField).toInt();
    }
    if (ids.isEmpty()) {
        ui::WarningBox(QStringLiteral("controllo selezione"), QStringLiteral("Seleziona almeno un evento"));
        return;
    }
    std::exception_ptr error;
    try {
        dm->ArchiveEvents(ids); // all or none
    } catch (...) {
        error = std::current_exception();
    }
    RunGuarded([&] {
        q.SetFiltered(false);
        DBGridEVENTS->ClearSelection();
        q.Refresh();
        ContaEventi();
    });
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            ShowCurrentException();
        }
    }
}

void TfMain::DBGridEVENTSDblClick()
{
    if (fEDIT) {
        QWidget *editor = fEDIT;
        fEDIT = nullptr;
        editor->close();
        return;
    }
    auto *editor = new TfEDIT;
    // The editor's pickers follow the row the user moves to with a key or the mouse.
    connect(DBGridEVENTS, &TDBGrid::GridKeyUp, editor, [editor] { editor->FollowCurrentRow(); });
    connect(DBGridEVENTS, &TDBGrid::GridMouseUp, editor, [editor] { editor->FollowCurrentRow(); });
    editor->show();
}
