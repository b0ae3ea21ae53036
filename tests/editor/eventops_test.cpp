// The main window's event operations on a real database: new event, delete, archive of the shown
// events, and the editor toggle with the editor following the grid.
#include "editorfixture.h"

#include "app/widgets/datepicker.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

using EventOpsTest = EventsDbTest;

TEST_F(EventOpsTest, TwoInsertsGivePlaceholderEventsWithConsecutiveIdsAndTheCursorOnTheNewest)
{
    w->DBNavigatorEVENTS->BtnClick(TNavigateBtn::nbInsert);
    w->DBNavigatorEVENTS->BtnClick(TNavigateBtn::nbInsert);

    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << texts().join(QLatin1Char('|')).toStdString();
    const QList<int> ids = storedIds(QStringLiteral("WHERE TITLE = '[titolo da definire]'"));
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids[1], ids[0] + 1);
    EXPECT_GT(ids[0], s_archiviato);
    for (int id : ids) {
        const StoredEvent e = stored(id);
        EXPECT_EQ(e.start, QStringLiteral("2026-09-20 09:00"));
        EXPECT_EQ(e.end, QStringLiteral("2026-09-20 12:00"));
        EXPECT_EQ(e.sede, QStringLiteral("[sede da definire]"));
        EXPECT_EQ(e.color, QStringLiteral("#FFFF35"));
        EXPECT_TRUE(e.arc.isEmpty());
    }
    EXPECT_EQ(dm->EVENTS.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(dm->EVENTS.SQL(), dmsql::EventsNewestFirst);
    EXPECT_EQ(currentId(), ids[1]);
    EXPECT_EQ(w->DBGridEVENTS->CurrentRow(), 0);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
}

TEST_F(EventOpsTest, AFailedInsertIsReportedAndTheCountStillRuns)
{
    // A generator behind the table's IDs makes the insert collide with an existing event.
    dm->Conn.RunInTransaction([] { dm->Conn.ExecSQL(QStringLiteral("ALTER SEQUENCE ID_EVENTS RESTART WITH 0")); });
    w->DBNavigatorEVENTS->BtnClick(TNavigateBtn::nbInsert);

    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_TRUE(texts()[0].startsWith(QStringLiteral("Classe: "))) << texts()[0].toStdString();
    EXPECT_TRUE(texts()[0].contains(QStringLiteral("\r\nMessaggio: ")));
    EXPECT_TRUE(storedIds(QStringLiteral("WHERE TITLE = '[titolo da definire]'")).isEmpty());
    EXPECT_EQ(dm->EVENTS.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("3"));
}

TEST_F(EventOpsTest, DeleteAsksByIdAndRemovesOnlyOnYes)
{
    struct Case
    {
        ui::MsgButton answer;
        bool gone;
    };
    for (const Case &c : {Case{ui::mbNo, false}, Case{ui::mbYes, true}}) {
        fakes.messages.shown.clear();
        fakes.messages.answers = {c.answer};
        ASSERT_TRUE(gotoEvent(s_cena));
        w->bDeleteClick();
        ASSERT_EQ(fakes.messages.shown.size(), 1);
        EXPECT_EQ(captions()[0], QStringLiteral("LirraCal: conferma eliminazione evento"));
        EXPECT_EQ(texts()[0], QStringLiteral("Eliminare l'evento con ID = %1 ?").arg(s_cena));
        EXPECT_EQ(stored(s_cena).found, !c.gone);
        EXPECT_EQ(w->LabCount->text(), c.gone ? QStringLiteral("2") : QStringLiteral("3"));
    }
    EXPECT_TRUE(stored(s_riunione).found);
}

TEST_F(EventOpsTest, DeleteWithAnEmptyGridAsksNothing)
{
    QTest::keyClicks(w->eCerca, QStringLiteral("nessuno"));
    ASSERT_EQ(w->LabCount->text(), QStringLiteral("0"));
    w->bDeleteClick();
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_EQ(storedIds().size(), 4);
}

TEST_F(EventOpsTest, DeletingAnEventAlreadyGoneIsReported)
{
    ASSERT_TRUE(gotoEvent(s_corso));
    deleteBehindTheBack(s_corso);
    w->bDeleteClick();
    ASSERT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_TRUE(texts()[1].startsWith(QStringLiteral("Classe: EDatabaseError\r\nMessaggio: "))) << texts()[1].toStdString();
    EXPECT_EQ(storedIds().size(), 3);
}

TEST_F(EventOpsTest, ArchiveTouchesOnlyTheRowsTheSearchShowsThenDropsTheFilter)
{
    QTest::keyClicks(w->eCerca, QStringLiteral("c")); // Cena, Corso
    ASSERT_EQ(w->LabCount->text(), QStringLiteral("2"));
    w->bArchiviaEventiFiltratiClick();

    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(captions()[0], QStringLiteral("LirraCal: conferma archiviazione eventi"));
    EXPECT_EQ(texts()[0], QStringLiteral("Sicuro di voler archiviare tutti gli eventi visualizzati ora in tabella ?"));
    EXPECT_EQ(storedIds(QStringLiteral("WHERE ARC = 'X'")), (QList<int>{s_cena, s_corso, s_archiviato}));
    EXPECT_FALSE(dm->EVENTS.Filtered());
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("1"));
    EXPECT_EQ(w->DBGridEVENTS->CellText(0, 1), QStringLiteral("Riunione"));
}

TEST_F(EventOpsTest, ArchiveWithAllEventsShownKeepsTheRowsMarked)
{
    w->bMostraTuttiClick();
    w->bArchiviaEventiFiltratiClick();
    EXPECT_EQ(storedIds(QStringLiteral("WHERE ARC IS NULL")), QList<int>{});
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("4"));
    EXPECT_EQ(w->DBGridEVENTS->CellText(0, 5), QStringLiteral("X"));
}

TEST_F(EventOpsTest, ArchiveAnsweredNoOrWithNothingShownWritesNothing)
{
    fakes.messages.answers = {ui::mbNo};
    w->bArchiviaEventiFiltratiClick();
    EXPECT_EQ(fakes.messages.shown.size(), 1);

    QTest::keyClicks(w->eCerca, QStringLiteral("nessuno"));
    fakes.messages.shown.clear();
    w->bArchiviaEventiFiltratiClick();
    ASSERT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_EQ(captions()[1], QStringLiteral("LirraCal: controllo selezione"));
    EXPECT_EQ(texts()[1], QStringLiteral("Seleziona almeno un evento"));
    EXPECT_EQ(fakes.messages.shown[1].icon, ui::MsgIcon::Warning);
    EXPECT_EQ(storedIds(QStringLiteral("WHERE ARC = 'X'")), QList<int>{s_archiviato});
}

TEST_F(EventOpsTest, DoubleClickOpensAndClosesTheEditorWhosePickersFollowTheGrid)
{
    ASSERT_TRUE(gotoEvent(s_riunione));
    w->DBGridEVENTSDblClick();
    auto *editor = qobject_cast<TfEDIT *>(fEDIT);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->StartDataPicker->Date(), QDate(2026, 9, 10));
    EXPECT_EQ(editor->ID->text(), QString::number(s_riunione));

    // The cursor moves with the keyboard to "Cena", which ends past midnight.
    w->DBGridEVENTS->setFocus();
    QTest::keyClick(w->DBGridEVENTS, Qt::Key_Down);
    ASSERT_EQ(currentId(), s_cena);
    EXPECT_EQ(editor->eTITLE->text(), QStringLiteral("Cena"));
    EXPECT_EQ(editor->StartDataPicker->Date(), QDate(2026, 9, 9));
    EXPECT_EQ(editor->EndDataPicker->Date(), QDate(2026, 9, 10));
    EXPECT_EQ(editor->DataDaDuplicarePicker->Date(), QDate(2026, 9, 9));
    EXPECT_EQ(editor->labSalvaInizio->text(), TfEDIT::Saved);
    EXPECT_EQ(editor->labSalvaFine->text(), TfEDIT::Saved);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());

    w->DBGridEVENTSDblClick();
    EXPECT_EQ(fEDIT, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dm->Conn.Connected());
}

} // namespace
