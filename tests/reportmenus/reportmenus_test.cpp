// The report menus of the main window: the report folder listed at each press, the menu kept as
// the window's context menu, the print road through the preview window, and the two shipped
// templates prepared from exactly the events the grid shows.
#include "app/libinit.h"
#include "app/resources/btnlist.h"
#include "engine/widgets/kvlpreviewform.h"
#include "report/document/kvlreport.h"
#include "report/seams/kvlpreviewpages.h"
#include "tests/engine/pagelisting.h"
#include "tests/mainwin/mainwinfixture.h"
#include "app/widgets/dbgrid.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

// The events the suite's database holds besides the archived one (grid order: newest first).
struct Event {
    QString title;
    QDateTime start, end;
    QString site;
};
const std::vector<Event> &shownEvents()
{
    static const std::vector<Event> events = [] {
        const auto at = [](int d, int h) { return QDateTime(QDate(2026, 9, d), QTime(h, 0)); };
        return std::vector<Event>{
            {QStringLiteral("[titolo da definire]"), at(12, 9), at(12, 12), QStringLiteral("Sala A")},
            {QStringLiteral("Riunione plenaria"), at(11, 0), at(11, 2), QStringLiteral("Sala A")},
            {QStringLiteral("riunione breve"), at(10, 14), at(10, 15), QStringLiteral("sala b")},
            {QStringLiteral("RIUNIONE mensile"), at(10, 9), at(10, 12), QStringLiteral("Sala A")},
            {QStringLiteral("Pranzo"), at(9, 12), at(9, 14), QStringLiteral("[sede da definire]")},
            {QStringLiteral("L'evento"), at(8, 10), at(8, 11), QStringLiteral("Sala C")},
        };
    }();
    return events;
}

// Under the desktop script (LIRRA_SHOTS_DIR set) the whole screen is kept as a picture.
void shot(const QString &Name)
{
    const QString dir = qEnvironmentVariable("LIRRA_SHOTS_DIR");
    if (dir.isEmpty())
        return;
    QCoreApplication::processEvents();
    QTest::qWait(300);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(dir + QLatin1Char('/') + Name + QStringLiteral(".png"));
}

QString stamp(const QDateTime &t) { return t.toString(QStringLiteral("dd/MM/yyyy hh:mm")); }

class ReportMenus : public MainWindowTest {
protected:
    static void SetUpTestSuite()
    {
        MainWindowTest::SetUpTestSuite();
        lirracal::InitializeLibraries();
        // The sites table, in the order the sites list shows them.
        Tdm fill;
        TDatabaseConfig cfg;
        cfg.database = s_home->filePath(QStringLiteral("Data/LIRRACAL.FDB"));
        fill.PrepareDatabase(cfg);
        fill.Conn.Open();
        TQuery q(&fill.Conn);
        for (const char *site : {"Sala A", "sala b", "Sala C", "Sala D"})
            fill.Conn.RunInTransaction([&] {
                q.SetSQL(QStringLiteral("INSERT INTO SEDI (SEDE) VALUES (:SEDE)"));
                q.ParamByName(QStringLiteral("SEDE")).SetAsString(QString::fromUtf8(site));
                q.ExecSQL();
            });
        fill.Conn.Close();
    }

    QString folder() const { return TfMain::ReportFolder(); }
    void makeFolder(const QStringList &Files)
    {
        QDir(folder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder()));
        for (const QString &name : Files) {
            QFile f(folder() + QLatin1Char('/') + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    void copyShipped(const QString &Name)
    {
        QDir().mkpath(folder());
        QFile::remove(folder() + QLatin1Char('/') + Name);
        ASSERT_TRUE(QFile::copy(QStringLiteral(LIRRA_SHIPPED_REPORTS "/") + Name, folder() + QLatin1Char('/') + Name));
    }
    void TearDown() override
    {
        QDir(folder()).removeRecursively();
        MainWindowTest::TearDown();
    }
    // Presses the button and answers the menu it pops up: its item texts and data.
    QStringList press(QToolButton *Button, QMenu **Shown = nullptr)
    {
        QStringList items;
        QTimer::singleShot(0, [&] {
            QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *a : menu->actions())
                items << a->text() + QLatin1Char('=') + a->data().toString();
            shot(QStringLiteral("menu-") + Button->objectName());
            if (Shown)
                *Shown = menu;
            menu->close();
        });
        QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(8, Button->height() / 2));
        QCoreApplication::processEvents();
        return items;
    }
    // Runs the item and inspects the preview window it opens (modal) before closing it.
    void runItem(QAction *Item, const std::function<void(TkvlPreviewForm *)> &Inspect)
    {
        bool seen = false;
        // The preparation may show its progress first: wait for the preview window itself.
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *form = qobject_cast<TkvlPreviewForm *>(QApplication::activeModalWidget());
            if (!form || seen)
                return;
            seen = true;
            poll.stop();
            Inspect(form);
            form->close();
        });
        poll.start();
        Item->trigger();
        EXPECT_TRUE(seen) << "no preview window";
    }
    QAction *item(QMenu *Menu, const QString &Name)
    {
        for (QAction *a : Menu->actions())
            if (a->data().toString() == Name)
                return a;
        return nullptr;
    }
};

// The texts of the prepared pages, each page's memos from top to bottom and left to right.
QStringList pageTexts(TkvlCustomPreviewPages &Pages)
{
    QStringList out;
    static const QRegularExpression lead(QStringLiteral("^page \\d+$|^-?\\d+ -?\\d+ "));
    for (const QString &line : pageListing(Pages, true).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out << (line.startsWith(QLatin1String("page ")) ? line : QString(line).remove(lead));
    return out;
}

TEST_F(ReportMenus, MenusListTheReportFolder)
{
    showAndConnect();
    // No folder: an empty menu.
    QDir(folder()).removeRecursively();
    EXPECT_TRUE(press(w->bStampa).isEmpty());

    makeFolder({QStringLiteral("A&B.kv3")});
    QMenu *first = nullptr, *last = nullptr, *edit = nullptr;
    EXPECT_EQ(press(w->bStampa, &first), QStringList{QStringLiteral("A&&B.kv3=A&B.kv3")});
    press(w->bEditReport, &edit);
    // The print items carry picture 28, the edit items picture 29.
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(first->actions().size(), 1);
    ASSERT_EQ(edit->actions().size(), 1);
    QAction *printItem = first->actions().front(), *editItem = edit->actions().front();
    EXPECT_EQ(ImageIndex(printItem), 28);
    EXPECT_EQ(ImageIndex(editItem), 29);
    ASSERT_FALSE(printItem->icon().isNull());
    ASSERT_FALSE(editItem->icon().isNull());
    EXPECT_NE(printItem->icon().pixmap(16).toImage(), editItem->icon().pixmap(16).toImage());
    EXPECT_EQ(press(w->bStampa, &last), QStringList{QStringLiteral("A&&B.kv3=A&B.kv3")});
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, last);
    EXPECT_EQ(w->ReportContextMenu(), last);
    EXPECT_EQ(w->PopupStampa, last);
    EXPECT_EQ(w->bStampa->menu(), last);
}

TEST_F(ReportMenus, AFileRemovedAfterListingDoesNothing)
{
    showAndConnect();
    makeFolder({QStringLiteral("sparito.kv3")});
    QMenu *menu = nullptr;
    press(w->bStampa, &menu);
    ASSERT_NE(menu, nullptr);
    QAction *a = item(menu, QStringLiteral("sparito.kv3"));
    ASSERT_NE(a, nullptr);
    QFile::remove(folder() + QStringLiteral("/sparito.kv3"));
    a->trigger();
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ReportMenus, EventsListShowsTheGridsEventsAndKeepsTheRecord)
{
    showAndConnect();
    copyShipped(QStringLiteral("Elenco eventi.kv3"));
    // Narrowed by a search; the cursor on the second row.
    QTest::keyClicks(w->eCerca, QStringLiteral("riu"));
    ASSERT_EQ(w->LabCount->text(), QStringLiteral("3"));
    dm->EVENTS.SetRecNo(2);
    const QString current = dm->EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString();

    QStringList expected{QStringLiteral("page 1"), QStringLiteral("Elenco eventi"),
                         QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")), QStringLiteral("Pagina 1 di 1"),
                         QStringLiteral("Titolo"), QStringLiteral("Inizio"), QStringLiteral("Fine"),
                         QStringLiteral("Sede")};
    int count = 0;
    for (const Event &e : shownEvents())
        if (e.title.startsWith(QStringLiteral("riu"), Qt::CaseInsensitive)) {
            expected << e.title << stamp(e.start) << stamp(e.end) << e.site;
            ++count;
        }
    expected << QStringLiteral("Eventi: %1").arg(count);

    QMenu *menu = nullptr;
    press(w->bStampa, &menu);
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    int pages = 0;
    runItem(item(menu, QStringLiteral("Elenco eventi.kv3")), [&](TkvlPreviewForm *form) {
        TkvlCustomPreviewPages *p = form->PreviewControl()->PreviewPages;
        ASSERT_NE(p, nullptr);
        pages = form->PreviewControl()->PageCount();
        texts = pageTexts(*p);
        shot(QStringLiteral("preview-elenco"));
    });
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(texts.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << fakes.messages.shown.value(0).text.toStdString();
    // The grid stands on the same record.
    EXPECT_EQ(dm->EVENTS.RecNo(), 2);
    EXPECT_EQ(dm->EVENTS.FieldByName(QStringLiteral("TITLE"))->AsString(), current);
}

TEST_F(ReportMenus, EventsBySiteGivesEachSiteOnceWithItsEventsAndCount)
{
    // The grid is sorted by start, newest first, so the sites of its events interleave; each
    // site comes once, in the order of its first event, with its events in grid order.
    struct Case {
        const char *search;
        std::vector<std::pair<QString, std::vector<int>>> sites;  // site, rows of shownEvents()
    };
    const Case cases[] = {
        {"riu", {{QStringLiteral("Sala A"), {1, 3}}, {QStringLiteral("sala b"), {2}}}},
        // The whole grid: the placeholder site is not in the sites table and still has its group.
        {"",
         {{QStringLiteral("Sala A"), {0, 1, 3}},
          {QStringLiteral("sala b"), {2}},
          {QStringLiteral("[sede da definire]"), {4}},
          {QStringLiteral("Sala C"), {5}}}},
        // No event shown: the title alone.
        {"nessuno", {}},
    };
    showAndConnect();
    copyShipped(QStringLiteral("Eventi per sede.kv3"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.search);
        w->eCerca->clear();
        QTest::keyClicks(w->eCerca, QString::fromLatin1(c.search));
        if (!*c.search)
            QTest::keyClick(w->eCerca, Qt::Key_Backspace);
        QStringList expected{QStringLiteral("page 1"), QStringLiteral("Eventi per sede")};
        int shown = 0;
        for (const auto &[site, rows] : c.sites) {
            expected << QStringLiteral("Sede: ") + site;
            for (int row : rows) {
                const Event &e = shownEvents()[size_t(row)];
                expected << e.title << stamp(e.start) << stamp(e.end);
            }
            expected << QStringLiteral("Eventi nella sede: %1").arg(rows.size());
            shown += int(rows.size());
        }
        ASSERT_EQ(w->LabCount->text(), QString::number(shown));

        QMenu *menu = nullptr;
        press(w->bStampa, &menu);
        ASSERT_NE(menu, nullptr);
        QStringList texts;
        runItem(item(menu, QStringLiteral("Eventi per sede.kv3")), [&](TkvlPreviewForm *form) {
            texts = pageTexts(*form->PreviewControl()->PreviewPages);
            shot(QStringLiteral("preview-sedi") + (*c.search ? QStringLiteral("-") + QLatin1String(c.search) : QString()));
        });
        EXPECT_EQ(texts.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
        EXPECT_TRUE(fakes.messages.shown.isEmpty()) << fakes.messages.shown.value(0).text.toStdString();
    }
}

} // namespace
