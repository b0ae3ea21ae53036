// The event editor on a real database: start and end with their checks, duplicating, archiving,
// the title and site lists and the colour list.
#include "editorfixture.h"

#include "app/procedures.h"
#include "app/widgets/colorbox.h"
#include "app/widgets/datepicker.h"
#include "app/widgets/dbgrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

class EditorTest : public EventsDbTest
{
protected:
    // Opens the editor on an event as the user does: the row, then a double click.
    TfEDIT *openOn(int id)
    {
        EXPECT_TRUE(gotoEvent(id));
        w->DBGridEVENTSDblClick();
        return qobject_cast<TfEDIT *>(fEDIT);
    }
    QAction *listItem(const QString &value) const
    {
        auto *e = qobject_cast<TfEDIT *>(fEDIT);
        if (!e || !e->PopupMenu)
            return nullptr;
        for (QAction *a : e->PopupMenu->actions())
            if (ActionValue(a) == value)
                return a;
        return nullptr;
    }
};

const QString kStartEnd = QStringLiteral("Attenzione, la data di inizio non può essere uguale o successiva alla data di fine.");

TEST_F(EditorTest, ShowsTheEventAndStartsWithNothingPending)
{
    TfEDIT *e = openOn(s_cena);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->windowTitle(), QStringLiteral(" MODIFICA EVENTO SELEZIONATO"));
    EXPECT_EQ(e->size(), QSize(368, 461));
    EXPECT_EQ(e->eTITLE->text(), QStringLiteral("Cena"));
    EXPECT_EQ(e->eSede->text(), QStringLiteral("Sala B"));
    EXPECT_EQ(e->eColor->text(), QStringLiteral("#00FF00"));
    EXPECT_EQ(e->DateTimePickerInizio->text(), QStringLiteral("22:00"));
    EXPECT_EQ(e->DateTimePickerFine->text(), QStringLiteral("01:30"));
    EXPECT_EQ(e->StartDataPicker->Date(), QDate(2026, 9, 9));
    EXPECT_EQ(e->EndDataPicker->Date(), QDate(2026, 9, 10));
    // The lists keep their own selection; they are not taken from the event.
    EXPECT_EQ(e->cbOraInizio->currentText(), QStringLiteral("09"));
    EXPECT_EQ(e->cbOraFine->currentText(), QStringLiteral("12"));
    EXPECT_EQ(e->cbOraInizio->count(), 18);
    EXPECT_EQ(e->cbMinutiFine->itemText(11), QStringLiteral("55"));
    EXPECT_EQ(e->labSalvaInizio->text(), QStringLiteral("..."));
    EXPECT_EQ(e->labSalvaFine->text(), QStringLiteral("..."));
    EXPECT_EQ(e->ColorBox->count(), 11);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

// Each case edits the controls of the editor open on "Riunione" (10/09/2026 09:00 - 12:00) and
// presses one of the two save buttons.
TEST_F(EditorTest, StartAndEndAreCheckedAgainstWhatTheOtherSideWillHold)
{
    struct Case
    {
        const char *name;
        std::function<void(TfEDIT *)> edit;
        bool saveStart;
        const char *start, *end;        // stored afterwards
        const char *caption;            // of the one message, or nullptr
        QString text;
    };
    auto setHM = [](QComboBox *h, QComboBox *m, const char *hh, const char *mm) {
        h->setCurrentText(QLatin1String(hh));
        m->setCurrentText(QLatin1String(mm));
    };
    const Case cases[] = {
        {"end equal to start", [&](TfEDIT *e) { setHM(e->cbOraFine, e->cbMinutiFine, "09", "00"); }, false,
         "2026-09-10 09:00", "2026-09-10 12:00", "LirraCal: verifica data di fine evento", kStartEnd},
        {"start equal to stored end", [&](TfEDIT *e) { setHM(e->cbOraInizio, e->cbMinutiInizio, "12", "00"); }, true,
         "2026-09-10 09:00", "2026-09-10 12:00", "LirraCal: verifica data di inizio", kStartEnd},
        {"five minutes long", [&](TfEDIT *e) { setHM(e->cbOraFine, e->cbMinutiFine, "09", "05"); }, false,
         "2026-09-10 09:00", "2026-09-10 09:05", nullptr, QString()},
        {"end past midnight",
         [&](TfEDIT *e) {
             e->EndDataPicker->SetDate(QDate(2026, 9, 11));
             setHM(e->cbOraFine, e->cbMinutiFine, "07", "30");
         },
         false, "2026-09-10 09:00", "2026-09-11 07:30", nullptr, QString()},
        // The end picker follows the start picker, so both sides are pending and written together.
        {"both moved to a later day",
         [&](TfEDIT *e) {
             e->StartDataPicker->SetDate(QDate(2026, 9, 15));
             setHM(e->cbOraInizio, e->cbMinutiInizio, "14", "30");
             setHM(e->cbOraFine, e->cbMinutiFine, "16", "00");
         },
         true, "2026-09-15 14:30", "2026-09-15 16:00", nullptr, QString()},
        // Against the pending end, not the stored one, which would let the start pass.
        {"start after the pending end",
         [&](TfEDIT *e) {
             setHM(e->cbOraFine, e->cbMinutiFine, "10", "00");
             setHM(e->cbOraInizio, e->cbMinutiInizio, "11", "00");
         },
         true, "2026-09-10 09:00", "2026-09-10 12:00", "LirraCal: verifica data di inizio", kStartEnd},
        {"hour 24", [&](TfEDIT *e) { setHM(e->cbOraInizio, e->cbMinutiInizio, "24", "00"); }, true,
         "2026-09-10 09:00", "2026-09-10 12:00", "", QStringLiteral("Formato data non valido")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        TfEDIT *e = openOn(s_riunione);
        ASSERT_TRUE(e);
        c.edit(e);
        c.saveStart ? e->bSaveStartDataClick() : e->bSaveEndDataClick();
        const StoredEvent s = stored(s_riunione);
        EXPECT_EQ(s.start, QLatin1String(c.start));
        EXPECT_EQ(s.end, QLatin1String(c.end));
        if (c.caption) {
            ASSERT_EQ(fakes.messages.shown.size(), 1) << texts().join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(captions()[0], QLatin1String(c.caption));
            EXPECT_EQ(texts()[0], c.text);
            // Nothing written, so the change is still pending.
            EXPECT_EQ((c.saveStart ? e->labSalvaInizio : e->labSalvaFine)->text(), TfEDIT::Unsaved);
        } else {
            EXPECT_TRUE(fakes.messages.shown.isEmpty()) << texts().join(QLatin1Char('|')).toStdString();
            EXPECT_EQ((c.saveStart ? e->labSalvaInizio : e->labSalvaFine)->text(), TfEDIT::Saved);
            EXPECT_EQ(e->DateTimePickerFine->text(), QString::fromLatin1(c.end).right(5));
        }
    }
}

TEST_F(EditorTest, EndPickerBeforeStartGoesBackWithItsMessage)
{
    TfEDIT *e = openOn(s_riunione);
    ASSERT_TRUE(e);
    e->EndDataPicker->SetDate(QDate(2026, 9, 1));
    EXPECT_EQ(e->EndDataPicker->Date(), QDate(2026, 9, 10));
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(captions()[0], QStringLiteral("LirraCal: verifica data di fine"));
    EXPECT_EQ(texts()[0], QStringLiteral("Attenzione, la data di fine evento non può essere precedente alla data di inizio."));
    EXPECT_EQ(e->labSalvaFine->text(), TfEDIT::Unsaved);
}

TEST_F(EditorTest, SavingAnEventDeletedMeanwhileIsReportedAndStaysPending)
{
    TfEDIT *e = openOn(s_corso);
    ASSERT_TRUE(e);
    e->cbOraInizio->setCurrentText(QStringLiteral("08"));
    deleteBehindTheBack(s_corso);
    e->bSaveStartDataClick();
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_TRUE(texts()[0].startsWith(QStringLiteral("Classe: EDatabaseError\r\nMessaggio: "))) << texts()[0].toStdString();
    EXPECT_EQ(e->labSalvaInizio->text(), TfEDIT::Unsaved);
    EXPECT_FALSE(stored(s_corso).found);
}

TEST_F(EditorTest, ActionsWithoutACurrentEventDoNothing)
{
    TfEDIT *e = openOn(s_riunione);
    ASSERT_TRUE(e);
    QTest::keyClicks(w->eCerca, QStringLiteral("nessuno"));
    ASSERT_TRUE(dm->EVENTS.IsEmpty());
    e->cbOraInizio->setCurrentText(QStringLiteral("08"));
    e->bSaveStartDataClick();
    e->bArchiviaClick();
    e->DataDaDuplicarePicker->SetDate(QDate(2026, 10, 1));
    e->bDuplicaEventoClick();
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_EQ(stored(s_riunione).start, QStringLiteral("2026-09-10 09:00"));
    EXPECT_EQ(storedIds().size(), 4);
    EXPECT_EQ(storedIds(QStringLiteral("WHERE ARC = 'X'")).size(), 1);
}

TEST_F(EditorTest, DaysAheadAndDuplicateToTheSameDay)
{
    TfEDIT *e = openOn(s_riunione);
    ASSERT_TRUE(e);
    e->bIncDay[6]->click();
    EXPECT_EQ(e->DataDaDuplicarePicker->Date(), QDate(2026, 9, 17));
    e->bIncDay[0]->click();
    EXPECT_EQ(e->DataDaDuplicarePicker->Date(), QDate(2026, 9, 11));
    e->bIncDayClick(0);
    EXPECT_EQ(e->DataDaDuplicarePicker->Date(), QDate(2026, 9, 10));

    e->bDuplicaEventoClick();
    ASSERT_EQ(fakes.messages.shown.size(), 1) << "refused before any question";
    EXPECT_EQ(captions()[0], QStringLiteral("LirraCal: verifica data da duplicare"));
    EXPECT_EQ(texts()[0],
              QStringLiteral("Attenzione, hai scelto una data da duplicare identica a quella di inizio già esistente."));
    EXPECT_EQ(fakes.messages.shown[0].icon, ui::MsgIcon::Error);
    EXPECT_EQ(storedIds().size(), 4);
}

TEST_F(EditorTest, DuplicateCopiesTheEventToTheNewDayKeepingItsLength)
{
    struct Case
    {
        int *event;
        ui::MsgButton answer;
        const char *start, *end; // of the copy, nullptr when none is made
    };
    const Case cases[] = {
        {&s_riunione, ui::mbNo, nullptr, nullptr},
        {&s_riunione, ui::mbYes, "2026-09-17 09:00", "2026-09-17 12:00"},
        {&s_cena, ui::mbYes, "2026-09-16 22:00", "2026-09-17 01:30"},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        TfEDIT *e = openOn(*c.event);
        ASSERT_TRUE(e);
        const StoredEvent original = stored(*c.event);
        e->bIncDayClick(7);
        const QString day = e->DataDaDuplicarePicker->Date().toString(QStringLiteral("dd/MM/yyyy"));
        e->labSalvaInizio->setText(TfEDIT::Unsaved); // left by an earlier refused change
        fakes.messages.answers = {c.answer};
        e->bDuplicaEventoClick();
        ASSERT_EQ(fakes.messages.shown.size(), 1);
        EXPECT_EQ(captions()[0], QStringLiteral("LirraCal: conferma duplicazione evento"));
        EXPECT_EQ(texts()[0], QStringLiteral("Duplicare l'evento corrente con la data del ") + day + QStringLiteral(" ?"));
        const QList<int> ids = storedIds();
        if (!c.start) {
            EXPECT_EQ(ids.size(), 4);
            continue;
        }
        ASSERT_EQ(ids.size(), 5);
        const StoredEvent copy = stored(ids.last());
        EXPECT_EQ(copy.start, QLatin1String(c.start));
        EXPECT_EQ(copy.end, QLatin1String(c.end));
        EXPECT_EQ(copy.title, original.title);
        EXPECT_EQ(copy.sede, original.sede);
        EXPECT_EQ(copy.color, original.color);
        EXPECT_TRUE(copy.arc.isEmpty());
        EXPECT_EQ(dm->EVENTS.SQL(), dmsql::EventsNewestFirst);
        EXPECT_EQ(w->LabCount->text(), QStringLiteral("5"));
        // The editor shows the copy as stored, every field and label.
        EXPECT_EQ(e->ID->text(), QString::number(ids.last()));
        const QString iso = QStringLiteral("yyyy-MM-dd");
        EXPECT_EQ(e->StartDataPicker->Date().toString(iso), QString::fromLatin1(c.start).left(10));
        EXPECT_EQ(e->EndDataPicker->Date().toString(iso), QString::fromLatin1(c.end).left(10));
        EXPECT_EQ(e->labSalvaInizio->text(), TfEDIT::Saved);
        EXPECT_EQ(e->labSalvaFine->text(), TfEDIT::Saved);
    }
}

TEST_F(EditorTest, ArchiveAndUnarchive)
{
    TfEDIT *e = openOn(s_corso);
    ASSERT_TRUE(e);
    e->bArchiviaClick();
    EXPECT_EQ(stored(s_corso).arc, QStringLiteral("X"));
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("2")); // gone from the not-archived view

    w->bMostraTuttiClick();
    ASSERT_TRUE(gotoEvent(s_corso));
    EXPECT_EQ(e->eARC->text(), QStringLiteral("X"));
    e->bAnnullaArchiviazioneClick();
    EXPECT_TRUE(stored(s_corso).arc.isEmpty());
    EXPECT_EQ(storedIds(QStringLiteral("WHERE ARC = 'X'")), QList<int>{s_archiviato});
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(EditorTest, PickedTitleIsWrittenAsItIs)
{
    TfEDIT *e = openOn(s_riunione);
    ASSERT_TRUE(e);
    e->bGetListTITOLIClick();
    ASSERT_TRUE(e->PopupMenu);
    QStringList values;
    for (QAction *a : e->PopupMenu->actions())
        values << ActionValue(a);
    EXPECT_EQ(values, (QStringList{QStringLiteral("Assemblea"), QStringLiteral("L'ospite & co")}));
    QAction *item = listItem(QStringLiteral("L'ospite & co"));
    ASSERT_TRUE(item);
    item->trigger();
    EXPECT_EQ(stored(s_riunione).title, QStringLiteral("L'ospite & co"));
    EXPECT_EQ(e->eTITLE->text(), QStringLiteral("L'ospite & co"));
    EXPECT_EQ(stored(s_corso).title, QStringLiteral("Corso"));
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(EditorTest, PickedSiteBringsItsColourAndTheSitesQueryKeepsEverySite)
{
    struct Case
    {
        const char *sede, *color;
    };
    TfEDIT *e = openOn(s_riunione);
    ASSERT_TRUE(e);
    for (const Case &c : {Case{"Sala Verde", "#C6FFB3"}, Case{"Sala senza colore", ""}}) {
        e->bGetListSEDIClick();
        QAction *item = listItem(QLatin1String(c.sede));
        ASSERT_TRUE(item) << c.sede;
        item->trigger();
        const StoredEvent s = stored(s_riunione);
        EXPECT_EQ(s.sede, QLatin1String(c.sede));
        EXPECT_EQ(s.color, QLatin1String(c.color));
        EXPECT_EQ(dm->SEDI.RecordCount(), 2);
    }
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(EditorTest, ColourListWritesTheColourTextAndACancelledDialogWritesNothing)
{
    TfEDIT *e = openOn(s_riunione);
    ASSERT_TRUE(e);
    const int verdeChiaro = e->ColorBox->findText(QStringLiteral("Verde chiaro"));
    ASSERT_GT(verdeChiaro, 0);
    e->ColorBox->Pick(verdeChiaro);
    EXPECT_EQ(stored(s_riunione).color, QStringLiteral("#C6FFB3"));

    fakes.colors.accept = false;
    e->ColorBox->Pick(0);
    EXPECT_EQ(fakes.colors.calls, 1);
    EXPECT_EQ(stored(s_riunione).color, QStringLiteral("#C6FFB3"));

    fakes.colors.accept = true;
    fakes.colors.answer = TColor(0x563412); // $BBGGRR
    e->ColorBox->Pick(0);
    EXPECT_EQ(stored(s_riunione).color, QStringLiteral("#123456"));
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

} // namespace
