// The archive window on a real embedded database: the archived view while it is open,
// counting, selection, un-archiving and deleting, and the view it leaves on closing.
#include "sitewinfixture.h"

#include "app/farc.h"
#include "app/resources/btnlist.h"
#include "app/widgets/dbgrid.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kArchivedCount = QStringLiteral("SELECT COUNT(*) FROM EVENTS WHERE ARC = 'X'");
const QString kLiveCount = QStringLiteral("SELECT COUNT(*) FROM EVENTS WHERE ARC IS NULL");

class ArchiveWindowTest : public SiteWindowsTest
{
protected:
    TfARC *open()
    {
        w->bOpenFormARC->click();
        auto *f = qobject_cast<TfARC *>(fARC);
        EXPECT_NE(f, nullptr);
        return f;
    }
    static void selectRows(TfARC *f, std::initializer_list<int> rows)
    {
        for (int r : rows) {
            dm->EVENTS.SetRecNo(r + 1);
            f->DBGridEVENTS_ARC->SetCurrentRowSelected(true);
        }
    }
    static QStringList titles(TDBGrid *grid, int column)
    {
        QStringList out;
        for (int r = 0; r < grid->RowCount(); ++r)
            out << grid->CellText(r, column);
        return out;
    }
};

TEST_F(ArchiveWindowTest, OpenShowsTheArchivedEventsEverywhereAndClosingRestoresTheLiveOnes)
{
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 4);
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("EVENTI ARCHIVIATI"));
    EXPECT_EQ(dm->EVENTS.SQL(), dmsql::EventsArchived);
    EXPECT_EQ(titles(f->DBGridEVENTS_ARC, 1),
              (QStringList{QStringLiteral("Vecchio tre"), QStringLiteral("Vecchio due"), QStringLiteral("Vecchio uno")}));
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 3); // the main grid shares the query
    EXPECT_EQ(f->LabCountArc->text(), QStringLiteral("3"));
    EXPECT_EQ(f->eARC->text(), QStringLiteral("X"));
    // Column widths from the window's outer width.
    const int outer = f->frameGeometry().width();
    const int expected[] = {50, outer - 549, 134, 134, 104, 30};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f->DBGridEVENTS_ARC->Column(i).Width, expected[i]) << i;

    w->bOpenFormARC->click();
    EXPECT_EQ(fARC, nullptr);
    EXPECT_EQ(dm->EVENTS.SQL(), dmsql::EventsNotArchived);
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 4);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("4"));
    EXPECT_EQ(ImageIndex(w->bOpenFormARC), 20);
}

TEST_F(ArchiveWindowTest, UnarchivingTwoRowsLowersTheCountAndTheyReturnToTheMainGrid)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    selectRows(f, {0, 2});
    f->bAnnullaArchiviazione->click();
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: conferma annullamento archiviazione eventi"));
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Annullare l'archiviazione di tutti gli eventi selezionati?"));
    EXPECT_EQ(count(kArchivedCount), 1);
    EXPECT_EQ(f->LabCountArc->text(), QStringLiteral("1"));
    EXPECT_EQ(titles(f->DBGridEVENTS_ARC, 1), QStringList{QStringLiteral("Vecchio due")});
    EXPECT_EQ(f->DBGridEVENTS_ARC->SelectedCount(), 0);

    f->close();
    const QStringList shown = titles(w->DBGridEVENTS, 1);
    EXPECT_EQ(shown.size(), 6);
    EXPECT_TRUE(shown.contains(QStringLiteral("Vecchio tre")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Vecchio uno")));
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
}

TEST_F(ArchiveWindowTest, ASelectionIsUnarchivedWhollyOrNotAtAll)
{
    dm->Conn.RunInTransaction([] { dm->Conn.ExecSQL(QStringLiteral("CREATE EXCEPTION E_NO 'ripristino vietato'")); });
    dm->Conn.RunInTransaction([] {
        dm->Conn.ExecSQL(QStringLiteral("CREATE TRIGGER T_NO FOR EVENTS BEFORE UPDATE AS BEGIN "
                                        "IF (NEW.TITLE = 'Vecchio uno') THEN EXCEPTION E_NO; END"));
    });
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    selectRows(f, {0, 1, 2});
    f->bAnnullaArchiviazione->click();
    // The confirmation, then the error; the rows changed before the failing one are rolled back.
    ASSERT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_TRUE(fakes.messages.shown[1].text.contains(QStringLiteral("ripristino vietato")));
    EXPECT_EQ(count(kArchivedCount), 3);
    EXPECT_EQ(f->LabCountArc->text(), QStringLiteral("3"));
    EXPECT_EQ(f->DBGridEVENTS_ARC->SelectedCount(), 0);
}

TEST_F(ArchiveWindowTest, DeletingRemovesOnlyTheSelectedRows)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    selectRows(f, {1});
    f->bEliminaEventiSelezionati->click();
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: conferma eliminazione eventi"));
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Eliminare tutti gli eventi selezionati?"));
    EXPECT_EQ(count(kArchivedCount), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EVENTS WHERE TITLE = 'Vecchio due'")), 0);
    EXPECT_EQ(f->LabCountArc->text(), QStringLiteral("2"));
}

TEST_F(ArchiveWindowTest, NothingSelectedOrNoChangesNothing)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    for (QPushButton *b : {f->bAnnullaArchiviazione, f->bEliminaEventiSelezionati}) {
        // No row shown, so no current row either.
        dm->EVENTS.SetFilter(QStringLiteral("TITLE = 'nessuno'"));
        dm->EVENTS.SetFiltered(true);
        fakes.messages.shown.clear();
        b->click();
        ASSERT_EQ(fakes.messages.shown.size(), 1) << b->objectName().toStdString();
        EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: verifica eventi selezionati"));
        EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Seleziona uno o più eventi."));
        EXPECT_EQ(fakes.messages.shown[0].icon, ui::MsgIcon::Warning);

        // Selected, but the user answers No.
        dm->EVENTS.SetFiltered(false);
        selectRows(f, {0});
        fakes.messages.shown.clear();
        fakes.messages.answers = {ui::mbNo};
        b->click();
        EXPECT_EQ(fakes.messages.shown.size(), 1);
        f->DBGridEVENTS_ARC->ClearSelection();
    }
    EXPECT_EQ(count(kArchivedCount), 3);
    EXPECT_EQ(count(kLiveCount), 4);
}

TEST_F(ArchiveWindowTest, APlainlyClickedRowIsTheSelection)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    TDBGrid *grid = f->DBGridEVENTS_ARC;
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(grid->CellText(dm->EVENTS.CurrentRow(), 1), QStringLiteral("Vecchio due"));
    f->bAnnullaArchiviazione->click();
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: conferma annullamento archiviazione eventi"));
    EXPECT_EQ(count(kArchivedCount), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM EVENTS WHERE TITLE = 'Vecchio due' AND ARC IS NULL")), 1);
}

TEST_F(ArchiveWindowTest, TuttiClearsAnySelectionElseSelectsEveryRow)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->cbToggleTuttiSelArc->text(), QStringLiteral("Tutti"));
    selectRows(f, {1});
    f->cbToggleTuttiSelArc->click();
    EXPECT_EQ(f->DBGridEVENTS_ARC->SelectedCount(), 0);
    f->cbToggleTuttiSelArc->click();
    EXPECT_EQ(f->DBGridEVENTS_ARC->SelectedCount(), 3);
    EXPECT_FALSE(dm->EVENTS.ControlsDisabled());
}

TEST_F(ArchiveWindowTest, AfterTheMainWindowShowsEverythingOnlyArchivedEventsAreTouched)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    // "Tutti" in the main window: the shared query, and so this grid, now holds live events too.
    w->bMostraTutti->click();
    ASSERT_EQ(f->DBGridEVENTS_ARC->RowCount(), 7);
    f->cbToggleTuttiSelArc->click();
    ASSERT_EQ(f->DBGridEVENTS_ARC->SelectedCount(), 7);
    f->bEliminaEventiSelezionati->click();
    EXPECT_EQ(count(kLiveCount), 4);
    EXPECT_EQ(count(kArchivedCount), 0);

    // Un-archiving a live event changes nothing either.
    w->bMostraTutti->click();
    f->cbToggleTuttiSelArc->click();
    f->bAnnullaArchiviazione->click();
    EXPECT_EQ(count(kLiveCount), 4);

    // Closing brings back the live events while the main grid keeps its ARC column.
    f->close();
    EXPECT_EQ(dm->EVENTS.SQL(), dmsql::EventsNotArchived);
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 4);
    EXPECT_TRUE(w->DBGridEVENTS->Column(5).Visible);
}

TEST_F(ArchiveWindowTest, TitleClicksSortTheEventsQuery)
{
    TfARC *f = open();
    ASSERT_NE(f, nullptr);
    Q_EMIT f->DBGridEVENTS_ARC->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(dm->EVENTS.IndexFieldNames(), QStringLiteral("TITLE:D"));
    EXPECT_EQ(titles(f->DBGridEVENTS_ARC, 1).first(), QStringLiteral("Vecchio uno"));
    Q_EMIT f->DBGridEVENTS_ARC->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(dm->EVENTS.IndexFieldNames(), QStringLiteral("TITLE"));
}

} // namespace
