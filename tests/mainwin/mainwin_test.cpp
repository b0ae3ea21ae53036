// The main events window on a real embedded database: connecting, views and counts, search,
// date filters, sorting, column widths, closing, the probe and the other windows.
#include "mainwinfixture.h"

#include "app/farc.h"
#include "app/resources/btnlist.h"
#include "app/widgets/datepicker.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <functional>

QStringList MainWindowTest::shownTitles() const
{
    QStringList out;
    for (int r = 0; r < w->DBGridEVENTS->RowCount(); ++r)
        out << w->DBGridEVENTS->CellText(r, 1);
    return out;
}

namespace {

const QString kOpen = QStringLiteral("Connessione aperta su.../LIRRA CALENDARIO DUDU");
const QString kClosed = QStringLiteral("Connessione chiusa");

TEST_F(MainWindowTest, FirstShowConnectsShowsTheNotArchivedEventsAndCountsThem)
{
    EXPECT_EQ(w->StatusText(0), kClosed);
    showAndConnect();
    EXPECT_EQ(w->StatusText(0), kOpen);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
    EXPECT_EQ(shownTitles(),
              (QStringList{QStringLiteral("[titolo da definire]"), QStringLiteral("Riunione plenaria"),
                           QStringLiteral("riunione breve"), QStringLiteral("RIUNIONE mensile"), QStringLiteral("Pranzo"),
                           QStringLiteral("L'evento")}));
    EXPECT_EQ(w->DBGridEVENTS->CurrentRow(), 0);
    EXPECT_TRUE(dm->TITOLI.Active());
    EXPECT_TRUE(dm->SEDI.Active());
    EXPECT_TRUE(fakes.net.calls.isEmpty()) << "the embedded database needs no probe";
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_TRUE(w->bApplica->isEnabled());
    EXPECT_FALSE(w->DBGridEVENTS->Column(5).Visible);

    // The data module writes the connection's state into the first panel.
    dm->ConnLost(dm->Conn);
    EXPECT_EQ(w->StatusText(0), QStringLiteral("Connessione persa"));
}

TEST_F(MainWindowTest, ViewsSwitchTheRowsAndKeepFilterAndSort)
{
    showAndConnect();
    w->DBGridEVENTSTitleClick(1); // TITLE descending
    QTest::keyClicks(w->eCerca, QStringLiteral("riu"));
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("3"));

    w->bMostraTuttiClick();
    EXPECT_TRUE(w->DBGridEVENTS->Column(5).Visible);
    EXPECT_EQ(dm->EVENTS.IndexFieldNames(), QStringLiteral("TITLE:D"));
    EXPECT_EQ(shownTitles(), (QStringList{QStringLiteral("riunione breve"), QStringLiteral("Riunione plenaria"),
                                          QStringLiteral("Riunione annuale"), QStringLiteral("RIUNIONE mensile")}));
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("4"));
    EXPECT_EQ(w->DBGridEVENTS->CellText(2, 5), QStringLiteral("X"));

    w->bMostraNonArchiviatiClick();
    EXPECT_FALSE(w->DBGridEVENTS->Column(5).Visible);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("3"));

    w->bAzzeraCercaClick();
    EXPECT_TRUE(w->eCerca->text().isEmpty());
    EXPECT_FALSE(dm->EVENTS.Filtered());
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
}

TEST_F(MainWindowTest, SearchIgnoresCaseAndQuotesTheText)
{
    showAndConnect();
    struct Case
    {
        int field; // 0 Evento, 1 Sede
        const char *typed;
        int count;
    };
    const Case cases[] = {
        {0, "riu", 3}, {0, "RIU", 3}, {0, "Riunione p", 1}, {0, "l'", 1}, {0, "zzz", 0},
        {0, "[titolo", 1}, {1, "sala a", 3}, {1, "SALA B", 1}, {1, "[sede", 1},
    };
    for (const Case &c : cases) {
        w->cbCercaTitle->setCurrentIndex(c.field);
        w->eCerca->clear();
        QTest::keyClicks(w->eCerca, QString::fromUtf8(c.typed));
        EXPECT_EQ(w->LabCount->text(), QString::number(c.count)) << c.typed;
        EXPECT_EQ(w->DBGridEVENTS->RowCount(), c.count) << c.typed;
        EXPECT_TRUE(fakes.messages.shown.isEmpty()) << c.typed << ": " << qPrintable(messageTexts().join(u'|'));
    }
    // Deleting the text with the keyboard removes the filter.
    w->eCerca->selectAll();
    QTest::keyClick(w->eCerca, Qt::Key_Backspace);
    EXPECT_FALSE(dm->EVENTS.Filtered());
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
}

TEST_F(MainWindowTest, DateFiltersTakeWholeDays)
{
    showAndConnect();
    struct Case
    {
        QPushButton *TfMain::*button;
        QStringList titles;
    };
    const Case cases[] = {
        {&TfMain::bDataPrima, {QStringLiteral("Pranzo"), QStringLiteral("L'evento")}},
        {&TfMain::bDataUguale, {QStringLiteral("riunione breve"), QStringLiteral("RIUNIONE mensile")}},
        // The event at 00:00 of the following day is "after".
        {&TfMain::bDataDopo, {QStringLiteral("[titolo da definire]"), QStringLiteral("Riunione plenaria")}},
    };
    w->eFiltraDataPicker->SetDate(QDate(2026, 9, 10));
    for (const Case &c : cases) {
        (w->*c.button)->click();
        EXPECT_EQ(shownTitles(), c.titles) << qPrintable((w->*c.button)->text());
        EXPECT_EQ(w->LabCount->text(), QString::number(c.titles.size()));
    }
    // The clear button removes a date filter too.
    w->bAzzeraCerca->click();
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));

    // With no date in the picker the buttons change nothing.
    w->eFiltraDataPicker->Clear();
    for (const Case &c : cases) {
        (w->*c.button)->click();
        EXPECT_FALSE(dm->EVENTS.Filtered());
        EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
    }
}

TEST_F(MainWindowTest, TitleClicksSortDescendingThenAscending)
{
    showAndConnect();
    QHeaderView *h = w->DBGridEVENTS->horizontalHeader();
    const auto clickTitle = [&](int column) {
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(column) + 5, 5));
    };
    const QString expected[] = {QStringLiteral("TITLE:D"), QStringLiteral("TITLE"), QStringLiteral("TITLE:D")};
    for (const QString &spec : expected) {
        clickTitle(1);
        EXPECT_EQ(dm->EVENTS.IndexFieldNames(), spec);
        EXPECT_TRUE(w->DBGridEVENTS->Column(1).TitleBold);
        EXPECT_EQ(h->sortIndicatorSection(), 1);
        EXPECT_EQ(h->sortIndicatorOrder(), spec.endsWith(QLatin1String(":D")) ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    EXPECT_EQ(shownTitles().first(), QStringLiteral("riunione breve"));
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));

    clickTitle(3);
    EXPECT_EQ(dm->EVENTS.IndexFieldNames(), QStringLiteral("END_EVENT:D"));
    EXPECT_FALSE(w->DBGridEVENTS->Column(1).TitleBold);
    EXPECT_TRUE(w->DBGridEVENTS->Column(3).TitleBold);
    EXPECT_EQ(h->sortIndicatorSection(), 3);

    // With no row shown a click sorts nothing.
    QTest::keyClicks(w->eCerca, QStringLiteral("zzz"));
    clickTitle(1);
    EXPECT_EQ(dm->EVENTS.IndexFieldNames(), QStringLiteral("END_EVENT:D"));
    EXPECT_TRUE(w->DBGridEVENTS->Column(3).TitleBold);
}

TEST_F(MainWindowTest, ColumnWidthsFollowTheViewAndEveryResize)
{
    showAndConnect();
    TDBGrid *g = w->DBGridEVENTS;
    const auto widths = [&] {
        std::vector<int> v;
        for (int i = 0; i < g->ColumnCount(); ++i)
            v.push_back(g->ShownColumnWidth(i));
        return v;
    };
    // The rule takes the outer width, frame included.
    int outer = w->frameGeometry().width();
    EXPECT_EQ(widths(), (std::vector<int>{50, outer - 579, 134, 134, 104, 0, 110}));
    w->bMostraTuttiClick();
    EXPECT_EQ(widths(), (std::vector<int>{50, outer - 549, 134, 134, 104, 30, 110}));
    w->resize(1500, 600); // e.g. maximised: the new width counts at once
    outer = w->frameGeometry().width();
    EXPECT_EQ(widths(), (std::vector<int>{50, outer - 549, 134, 134, 104, 30, 110}));
    w->bMostraNonArchiviatiClick();
    EXPECT_EQ(widths(), (std::vector<int>{50, outer - 579, 134, 134, 104, 0, 110}));
    // The widths survive the grid being refilled by a filter.
    QTest::keyClicks(w->eCerca, QStringLiteral("r"));
    EXPECT_EQ(g->ShownColumnWidth(1), outer - 579);
}

TEST_F(MainWindowTest, CloseDisablesThePanelsAndASecondCloseIsSilent)
{
    showAndConnect();
    w->bOpenFormTITOLI->click();
    ASSERT_NE(fTITOLI, nullptr);
    w->bCloseConn->click();
    EXPECT_EQ(fTITOLI, nullptr) << "the other windows close first";
    EXPECT_EQ(ImageIndex(w->bOpenFormTITOLI), 20);
    EXPECT_FALSE(dm->Conn.Connected());
    EXPECT_FALSE(dm->EVENTS.Active());
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 0);
    EXPECT_EQ(w->StatusText(0), kClosed);
    for (QWidget *c : w->Panel1->findChildren<QWidget *>())
        if (c != w->bOpenRemoto) {
            EXPECT_FALSE(c->isEnabled()) << qPrintable(c->objectName());
        }
    EXPECT_TRUE(w->bOpenRemoto->isEnabled());
    EXPECT_FALSE(w->eCerca->isEnabled());

    w->bCloseConnClick();
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_EQ(w->StatusText(0), kClosed);

    // "Apri" connects again and enables everything.
    w->bOpenRemoto->click();
    EXPECT_EQ(w->StatusText(0), kOpen);
    EXPECT_TRUE(w->eCerca->isEnabled());
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));
}

// The widget as the screen shows it, once the pending paints are done: what the window
// system was given, not a fresh rendering of the widget.
QImage onScreen(QWidget *w)
{
    QTest::qWait(50);
    QWidget *top = w->window();
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    return top->windowHandle()->screen()->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height()).toImage();
}

// The darkest grey of a button's glyph (its middle, inside the frame) as the screen shows it: a
// glyph drawn disabled is pale.
int glyphInk(QWidget *w)
{
    const QImage im = onScreen(w);
    const QRect middle = QRect(QPoint(0, 0), im.size()).adjusted(5, 5, -5, -5);
    int darkest = 255;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x)
            darkest = qMin(darkest, qGray(im.pixel(x, y)));
    return darkest;
}

// Disconnected, by "Chiudi" or by a "Ricarica" that could not reach the database again, the
// window says so and the navigator's buttons are disabled and drawn disabled.
TEST_F(MainWindowTest, DisconnectedTheNavigatorIsDisabledAndLooksIt)
{
    const QString db = s_home->filePath(QStringLiteral("Data/LIRRACAL.FDB"));
    const QString away = db + QStringLiteral(".away");
    struct Case
    {
        const char *how;
        std::function<void()> disconnect;
    };
    const Case cases[] = {
        {"Chiudi", [&] { QTest::mouseClick(w->bCloseConn, Qt::LeftButton); }},
        {"Ricarica without the database",
         [&] {
             ASSERT_TRUE(QFile::rename(db, away));
             QTest::mouseClick(w->bApplica, Qt::LeftButton);
             ASSERT_TRUE(QFile::rename(away, db));
         }},
    };
    showAndConnect();
    TDBNavigator *nav = w->DBNavigatorEVENTS;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.how);
        fakes.messages.shown.clear();
        if (!dm->Conn.Connected())
            QTest::mouseClick(w->bOpenRemoto, Qt::LeftButton);
        ASSERT_TRUE(dm->Conn.Connected());
        // Mid-list every moving button is enabled.
        QTest::mouseClick(nav->Button(TNavigateBtn::nbNext), Qt::LeftButton);
        ASSERT_TRUE(nav->Button(TNavigateBtn::nbFirst)->isEnabled());
        const int enabledInk = glyphInk(nav->Button(TNavigateBtn::nbNext));
        ASSERT_LT(enabledInk, 80) << "an enabled glyph is dark";
        // The search field has had the focus (it turns yellow then, and white again after).
        const QPoint fieldSpot(w->eCerca->width() - 6, w->eCerca->height() / 2);
        const int enabledField = qGray(onScreen(w->eCerca).pixel(fieldSpot));
        QTest::mouseClick(w->eCerca, Qt::LeftButton);
        ASSERT_TRUE(w->eCerca->hasFocus());

        c.disconnect();
        EXPECT_FALSE(dm->Conn.Connected());
        EXPECT_EQ(w->StatusText(0), kClosed);
        EXPECT_FALSE(dm->EVENTS.Active());
        EXPECT_TRUE(w->bOpenRemoto->isEnabled());
        EXPECT_FALSE(w->bApplica->isEnabled());
        for (int i = 0; i < kNavigateBtnCount; ++i) {
            QToolButton *b = nav->Button(TNavigateBtn(i));
            if (!nav->ButtonVisible(TNavigateBtn(i)))
                continue;
            EXPECT_FALSE(b->isEnabled()) << qPrintable(b->objectName());
            EXPECT_GE(glyphInk(b), 150) << qPrintable(b->objectName()) << " looks enabled";
        }
        EXPECT_FALSE(w->eCerca->isEnabled());
        EXPECT_LE(qGray(onScreen(w->eCerca).pixel(fieldSpot)), enabledField - 8) << "the search field looks enabled";
    }
    // The failed "Ricarica" said why.
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(QStringLiteral("Impossibile aprire il database %1: ").arg(db)))
        << qPrintable(fakes.messages.shown[0].text);
}

TEST_F(MainWindowTest, UnreachableServerShowsTheWarningAndNothingElse)
{
    // A loopback port where nothing listens.
    quint16 port = 0;
    {
        QTcpServer s;
        ASSERT_TRUE(s.listen(QHostAddress::LocalHost));
        port = s.serverPort();
    }
    writeIni("[Database]\r\nServer=127.0.0.1/" + QByteArray::number(port) + "\r\nPath=/var/db/LIRRACAL.FDB\r\n");
    ui::INetProbe *fake = ui::install(static_cast<ui::INetProbe *>(nullptr)); // the real probe
    w->show();
    ui::install(fake);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    const ui::MessageRequest &m = fakes.messages.shown.first();
    EXPECT_EQ(m.caption, QStringLiteral("LirraCal: verifica connessione al database"));
    EXPECT_EQ(m.icon, ui::MsgIcon::Warning);
    // The database server, by name and port; nothing about the internet.
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("Il server del database 127.0.0.1 (porta %1) non risponde.").arg(port)))
        << m.text.toStdString();
    EXPECT_FALSE(m.text.contains(QStringLiteral("internet")));
    EXPECT_FALSE(dm->Conn.Connected());
    EXPECT_TRUE(dm->Conn.Database.isEmpty()) << "nothing was prepared";
    EXPECT_EQ(w->StatusText(0), kClosed);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("..."));
    EXPECT_TRUE(w->eCerca->isEnabled()) << "the controls stay as designed";
}

TEST_F(MainWindowTest, TheProbeAsksTheDatabaseServerWithinTwoSeconds)
{
    writeIni("[Database]\r\nServer=db.example.org/3051\r\nPath=/var/db/LIRRACAL.FDB\r\n");
    fakes.net.reachable = false;
    w->show();
    ASSERT_EQ(fakes.net.calls.size(), 1);
    EXPECT_EQ(fakes.net.calls[0].host, QStringLiteral("db.example.org"));
    EXPECT_EQ(fakes.net.calls[0].port, 3051);
    EXPECT_EQ(fakes.net.calls[0].timeoutMs, 2000);
    EXPECT_EQ(fakes.messages.shown.size(), 1);
}

TEST_F(MainWindowTest, ConnectFailureShowsClassAndMessageAndSkipsTheRest)
{
    const QString bogus = s_home->filePath(QStringLiteral("not-a-database.fdb"));
    {
        QFile f(bogus);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a database");
    }
    writeIni("[Database]\r\nPath=" + QFile::encodeName(bogus) + "\r\n");
    w->show();
    QFile::remove(bogus);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    const ui::MessageRequest &m = fakes.messages.shown.first();
    EXPECT_TRUE(m.caption.isEmpty());
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("Classe: EDBEngineError\r\nMessaggio: "))) << qPrintable(m.text);
    EXPECT_FALSE(dm->EVENTS.Active());
    EXPECT_EQ(w->StatusText(0), kClosed);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("..."));
}

TEST_F(MainWindowTest, ReloadBeforeAnyConnectDoesWhatOpenDoes)
{
    // Not shown: the start-up connect has not run.
    w->bApplica->click();
    EXPECT_TRUE(dm->Conn.Connected());
    EXPECT_EQ(dm->Conn.Database, s_home->filePath(QStringLiteral("Data/LIRRACAL.FDB")));
    EXPECT_EQ(w->StatusText(0), kOpen);
    EXPECT_EQ(w->LabCount->text(), QStringLiteral("6"));

    // Once connected it reconnects and the rows stay.
    dm->EVENTS.Next();
    w->bApplica->click();
    EXPECT_TRUE(dm->Conn.Connected());
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 6);
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << qPrintable(messageTexts().join(u'|'));
}

TEST_F(MainWindowTest, WindowButtonsOpenAndCloseTheirWindows)
{
    showAndConnect();
    struct Case
    {
        QPushButton *TfMain::*button;
        QWidget **global;
    };
    const Case cases[] = {{&TfMain::bOpenFormTITOLI, &fTITOLI}, {&TfMain::bOpenFormSEDI, &fSEDI},
                          {&TfMain::bOpenFormARC, &fARC}};
    for (const Case &c : cases) {
        QPushButton *b = w->*c.button;
        b->click();
        ASSERT_NE(*c.global, nullptr);
        EXPECT_TRUE((*c.global)->isVisible());
        EXPECT_EQ(ImageIndex(b), 21);
        b->click();
        EXPECT_EQ(*c.global, nullptr);
        EXPECT_EQ(ImageIndex(b), 20);
        // Closed by its own close box, the window resets the button too.
        b->click();
        (*c.global)->close();
        EXPECT_EQ(*c.global, nullptr);
        EXPECT_EQ(ImageIndex(b), 20);
    }

    // The archive window's count reopens the shared query on the archived events.
    w->bOpenFormARC->click();
    EXPECT_EQ(w->ContaEventiArc(), 1);
    EXPECT_EQ(qobject_cast<TfARC *>(fARC)->LabCountArc->text(), QStringLiteral("1"));
    EXPECT_EQ(w->DBGridEVENTS->RowCount(), 1);
}

TEST_F(MainWindowTest, WebPagesOpenWithoutProbeAndWarnWhenTheyCannot)
{
    w->bGoCalendarOnline->click();
    w->AprilaguidadiLirraNext1->trigger();
    w->Dunfellhomepage1->trigger();
    ASSERT_EQ(fakes.shell.urls.size(), 3);
    EXPECT_EQ(fakes.shell.urls[0], TfMain::WebSite + QStringLiteral("/calendario/index.php"));
    EXPECT_TRUE(fakes.shell.urls[1].startsWith(TfMain::WebSite + QStringLiteral("/docs/")));
    EXPECT_EQ(fakes.shell.urls[2], TfMain::WebSite + QStringLiteral("/"));
    EXPECT_TRUE(fakes.net.calls.isEmpty());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());

    fakes.shell.result = false;
    w->bGoCalendarOnline->click();
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    // No program could open the page: that is what the user is told, with the page.
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: apertura pagina web"));
    EXPECT_TRUE(fakes.messages.shown[0].text.startsWith(QStringLiteral("Nessun programma ha potuto aprire la pagina:\n") +
                                                        TfMain::WebSite + QStringLiteral("/calendario/index.php")));
}

TEST_F(MainWindowTest, ExitDisconnectsAndSavesTheBoundsForcedEndSavesNothing)
{
    showAndConnect();
    w->Forzalachiusura1->trigger(); // answered Yes
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: conferma chiusura programma"));
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Forzare la chiusura del programma?"));
    EXPECT_FALSE(w->isVisible());
    w->close(); // what the end of the program does to it
    EXPECT_FALSE(Settings->SectionExists(QStringLiteral("SETUP_Main")));

    TfMain other;
    fMain = &other;
    other.show();
    other.Esci1->trigger();
    EXPECT_FALSE(dm->Conn.Connected());
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(Settings->SectionExists(QStringLiteral("SETUP_Main")));
    fMain = w;
}

TEST_F(MainWindowTest, CellsShowTheirColourAndPlaceholdersInFuchsia)
{
    showAndConnect();
    TDBGrid *g = w->DBGridEVENTS;
    // Row 0 is the current row: its colour cell and placeholder keep their colours.
    const QImage img = g->viewport()->grab().toImage();
    const auto cellCentre = [&](int row, int column) {
        return g->visualRect(g->model()->index(row, column)).center();
    };
    const auto hasColour = [&](int row, int column, const QColor &c) {
        const QRect r = g->visualRect(g->model()->index(row, column));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.pixelColor(x, y) == c)
                    return true;
        return false;
    };
    // Rows: 0 "FF0000" (no "#"), 1 "#ZZ0000", 2 "#00FF00", 4 "" (empty).
    struct Case
    {
        int row;
        QColor colour;
    };
    const Case colours[] = {{0, Qt::red}, {1, Qt::yellow}, {2, Qt::green}, {4, Qt::yellow}};
    for (const Case &c : colours) {
        const QPoint p = cellCentre(c.row, 6) + QPoint(-40, 0); // clear of the text
        EXPECT_EQ(img.pixelColor(p), c.colour) << c.row;
    }
    const QColor fuchsia(255, 0, 255);
    EXPECT_TRUE(hasColour(0, 1, fuchsia)) << "placeholder title";
    EXPECT_TRUE(hasColour(4, 4, fuchsia)) << "placeholder site";
    EXPECT_FALSE(hasColour(1, 1, fuchsia));
    EXPECT_FALSE(hasColour(0, 4, fuchsia));
    // Alternate rows in the 3-D light colour.
    EXPECT_EQ(img.pixelColor(cellCentre(1, 0) + QPoint(-20, 0)), rtl::ToQColor(cl3DLight));
    EXPECT_EQ(img.pixelColor(cellCentre(2, 0) + QPoint(-20, 0)), rtl::ToQColor(clWindow));
}

TEST_F(MainWindowTest, ControlsCarryTheirCaptionsHintsAndPictures)
{
    struct Case
    {
        const char *name;
        const char *caption;
        const char *hint;
        int picture;
    };
    const Case cases[] = {
        {"bOpenRemoto", "Apri", "Apri connessione al database remoto", 16},
        {"bCloseConn", "Chiudi", "Chiudi connessione al database remoto", 17},
        {"bMostraNonArchiviati", "Non archiviati", "Mostra tutti gli eventi non archiviati", 6},
        {"bMostraTutti", "Tutti", "Mostra tutti gli eventi compresi quelli archiviati", 6},
        {"bOpenFormARC", "ARCHIVIATI", "Apri/chiudi la tabella eventi archiviati", 20},
        {"bAutoSizeDBGrid", "|=|", "Adatta larghezza colonne", -1},
        {"bDelete", "", "Ellimina l'evento selezionato", 4},
        {"bAzzeraCerca", "", "Azzera i filtri e mostra tutti gli eventi non filtrati", 19},
        {"bDataDopo", ">", "Visualizza eventi successivi alla data selezionata", -1},
        {"bArchiviaEventiFiltrati", "Archivia", "Archivia tutti gli eventi presenti in tabella", 30},
        {"bApplica", "Ricarica", "Applica ora tutte le modifiche in corso anche sul database remoto", 26},
        {"bGoCalendarOnline", "Calendario", "Pagina web con il calendario", 27},
    };
    for (const Case &c : cases) {
        auto *b = w->findChild<QAbstractButton *>(QLatin1String(c.name));
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.hint)) << c.name;
        EXPECT_EQ(ImageIndex(b), c.picture) << c.name;
        if (c.picture >= 0) {
            EXPECT_FALSE(b->icon().isNull()) << c.name;
        }
    }
    EXPECT_EQ(w->windowTitle(), QStringLiteral("LIRRA CALENDARIO | v. 100.1 del 10/09/2026"));
    EXPECT_EQ(w->minimumSize(), QSize(1024, 174));
    EXPECT_LE(w->Panel1->minimumSizeHint().width(), 1024);
    EXPECT_LE(w->Panel2->minimumSizeHint().width(), 1024) << "the lower panel fits the narrowest window";
    EXPECT_EQ(w->cbCercaTitle->currentText(), QStringLiteral("Evento"));
    EXPECT_EQ(w->eCerca->placeholderText(), QStringLiteral("Cerca..."));
    EXPECT_TRUE(w->eFiltraDataPicker->IsEmpty());
    EXPECT_TRUE(w->bStampa->menu() && w->bEditReport->menu());
    EXPECT_FALSE(w->DBNavigatorEVENTS->ButtonVisible(TNavigateBtn::nbDelete));
    EXPECT_TRUE(w->DBNavigatorEVENTS->ButtonVisible(TNavigateBtn::nbRefresh));
    const QStringList status{kClosed, QStringLiteral("0"), QString(), QString(), QString()};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w->StatusText(i), status[i]);
        if (i > 0) {
            EXPECT_EQ(w->StatusPanel(i)->width(), 100);
        }
    }
    // At the narrowest the status bar stays inside the window, the first panel giving way.
    w->show();
    w->resize(w->minimumSize());
    QApplication::processEvents();
    EXPECT_LE(w->StatusPanel(4)->mapTo(w, QPoint(w->StatusPanel(4)->width(), 0)).x(), w->width());
    EXPECT_EQ(w->Esci1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    EXPECT_EQ(w->Forzalachiusura1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Delete));
    const QStringList titles{QStringLiteral("ID"),   QStringLiteral("Titolo"), QStringLiteral("Inizio"), QStringLiteral("Fine"),
                             QStringLiteral("Sede"), QStringLiteral("A"),      QStringLiteral("Colore")};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(w->DBGridEVENTS->model()->headerData(i, Qt::Horizontal).toString(), titles[i]);
}

} // namespace
