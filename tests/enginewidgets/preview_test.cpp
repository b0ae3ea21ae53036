// The preview control over a fixture store: navigation, zoom, keys, the outline, the mouse,
// the search and the progress while the engine prepares pages.
#include "tests/enginewidgets/previewtest.h"

#include "engine/preview/kvlpagelist.h"
#include "engine/widgets/kvlpreviewtabstrip.h"
#include "report/seams/kvlexportfilter.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

using namespace previewtest;

TEST(Preview, PageNumbersStayWithinThePages)
{
    struct Case {
        int pages, set, expected;
    } cases[] = {{0, 3, 0}, {0, -1, 0}, {5, 0, 1}, {5, 3, 3}, {5, 9, 5}, {1, 2, 1}};
    for (const Case &c : cases) {
        PreviewFixture f(c.pages);
        f.init();
        EXPECT_EQ(f.preview->PageCount(), c.pages);
        f.preview->SetPageNo(c.set);
        EXPECT_EQ(f.preview->PageNo(), c.expected) << c.pages << " pages, set " << c.set;
        EXPECT_EQ(f.pageEvents.back(), c.expected);
        EXPECT_EQ(f.preview->Workspace()->PageList().Count(), c.pages);
    }
    PreviewFixture f(5);
    f.init();
    f.preview->Prior();
    EXPECT_EQ(f.preview->PageNo(), 1);
    f.preview->Last();
    EXPECT_EQ(f.preview->PageNo(), 5);
    f.preview->Next();
    EXPECT_EQ(f.preview->PageNo(), 5);
}

void wheel(TkvlPreview &p, int delta, Qt::KeyboardModifiers mods)
{
    QWidget *vp = p.Workspace()->viewport();
    QWheelEvent e(QPointF(50, 50), vp->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(vp, &e);
}

TEST(Preview, ZoomAndWheelRules)
{
    PreviewFixture f(5);
    f.init();
    f.preview->SetZoomMode(zmPageWidth);
    f.preview->SetZoom(0.1);
    EXPECT_DOUBLE_EQ(f.preview->Zoom(), 0.25);
    EXPECT_EQ(f.preview->ZoomMode(), zmDefault);
    EXPECT_EQ(f.preview->Workspace()->PageList().Item(0).Width, 198); // 198.5, half to even
    f.preview->SetZoom(0.35);
    wheel(*f.preview, -120, Qt::ControlModifier);
    EXPECT_NEAR(f.preview->Zoom(), 0.3, 1e-9);
    wheel(*f.preview, -1, Qt::ControlModifier); // the delta's size does not matter
    EXPECT_NEAR(f.preview->Zoom(), 0.3, 1e-9);
    wheel(*f.preview, 480, Qt::ControlModifier);
    EXPECT_NEAR(f.preview->Zoom(), 0.4, 1e-9);

    f.preview->SetZoom(1);
    wheel(*f.preview, -120, Qt::NoModifier);
    EXPECT_EQ(f.preview->Workspace()->VertPosition(), 20);
    wheel(*f.preview, 120, Qt::NoModifier);
    EXPECT_EQ(f.preview->Workspace()->VertPosition(), 0);
}

TEST(Preview, WholePageFitsATallPageByHeight)
{
    PreviewFixture f(3);
    f.init();
    f.preview->SetZoomMode(zmWholePage);
    const int wsHeight = f.preview->Workspace()->height();
    EXPECT_DOUBLE_EQ(f.preview->Zoom(), (wsHeight - 26) / 1123.0);
    f.preview->resize(1400, 900);
    EXPECT_DOUBLE_EQ(f.preview->Zoom(), (f.preview->Workspace()->height() - 26) / 1123.0);
    // A wide window with a landscape page: fitted by width.
    PreviewFixture wide(1, 1123, 794);
    wide.init();
    wide.preview->resize(600, 1000);
    wide.preview->SetZoomMode(zmWholePage);
    const int sb = wide.preview->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_DOUBLE_EQ(wide.preview->Zoom(), (wide.preview->Workspace()->width() - sb - 26) / 1123.0);
}

TEST(Preview, KeyTable)
{
    struct Case {
        const char *name;
        int key;
        Qt::KeyboardModifiers mods;
        int page, vert, horz, prints, finds; // after the key, from page 3 at (100, 1000)
    } cases[] = {
        {"down", Qt::Key_Down, Qt::NoModifier, -1, 1008, 100, 0, 0},
        {"up", Qt::Key_Up, Qt::NoModifier, -1, 992, 100, 0, 0},
        {"right", Qt::Key_Right, Qt::NoModifier, -1, 1000, 108, 0, 0},
        {"left", Qt::Key_Left, Qt::NoModifier, -1, 1000, 92, 0, 0},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, -1, 1300, 100, 0, 0},
        {"page up", Qt::Key_PageUp, Qt::NoModifier, -1, 700, 100, 0, 0},
        {"ctrl page down", Qt::Key_PageDown, Qt::ControlModifier, 4, -1, 100, 0, 0},
        {"ctrl page up", Qt::Key_PageUp, Qt::ControlModifier, 2, -1, 100, 0, 0},
        {"home", Qt::Key_Home, Qt::NoModifier, 1, -1, 100, 0, 0},
        {"end", Qt::Key_End, Qt::NoModifier, 5, -1, 100, 0, 0},
        {"ctrl p", Qt::Key_P, Qt::ControlModifier, 3, 1000, 100, 1, 0},
        {"ctrl f", Qt::Key_F, Qt::ControlModifier, 3, 1000, 100, 0, 1},
        {"plain p", Qt::Key_P, Qt::NoModifier, 3, 1000, 100, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PreviewFixture f(5);
        int finds = 0;
        f.preview->ExecDialog = [&](QDialog &) {
            ++finds;
            return int(QDialog::Rejected);
        };
        f.init();
        f.preview->SetZoom(2);
        f.preview->SetPageNo(3);
        TkvlPreviewWorkspace *ws = f.preview->Workspace();
        ws->SetHorzPosition(100);
        f.preview->SetSavedPageNo(3); // scrolling keeps page 3 current
        ws->SetVertPosition(1000);
        f.preview->SetSavedPageNo(-1);
        QTest::keyClick(ws, Qt::Key(c.key), c.mods);
        if (c.page != -1) {
            EXPECT_EQ(f.preview->PageNo(), c.page);
        }
        if (c.vert != -1) {
            EXPECT_EQ(ws->VertPosition(), c.vert);
        }
        EXPECT_EQ(ws->HorzPosition(), c.horz);
        EXPECT_EQ(f.store->Prints, c.prints);
        EXPECT_EQ(finds, c.finds);
    }
    // Ctrl+Page Up on page 1 stays there; keys of buttons the report hides do nothing.
    PreviewFixture f(5);
    f.init();
    QTest::keyClick(f.preview->Workspace(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(f.preview->PageNo(), 1);
    f.report->PreviewOptions()->Buttons = kvlDefaultPreviewButtons & ~kvlBit(pbPrint);
    QTest::keyClick(f.preview->Workspace(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(f.store->Prints, 0);
}

TEST(Preview, OutlineTreeFollowsTheStoreAndScrollsToANode)
{
    PreviewFixture f(5);
    f.outline->Roots = {{QStringLiteral("Capitolo 1"), 0, 0, {{QStringLiteral("Sezione 1.1"), 1, 200, {}}}},
                        {QStringLiteral("Capitolo 2"), 3, 0, {}}};
    f.report->PreviewOptions()->OutlineVisible = true;
    f.init();
    f.preview->show();
    QTreeWidget *tree = f.preview->OutlineTree();
    ASSERT_TRUE(f.preview->OutlineVisible());
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *section = tree->topLevelItem(0)->child(0);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->text(0), QStringLiteral("Sezione 1.1"));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(section).center());
    EXPECT_EQ(f.preview->PageNo(), 2);
    // Page 2's top, then 200 pixels below the 10 mm margin, 10 pixels under the view's top.
    const int pageTop = f.preview->Workspace()->PageBounds(1).top();
    EXPECT_EQ(f.preview->Workspace()->VertPosition(), pageTop + 238 - 10);
    EXPECT_EQ(f.preview->GetTopPosition(), 200);

    // The popup collapses and expands the whole tree.
    QMenu *popup = f.preview->OutlinePopup();
    ASSERT_EQ(popup->actions().size(), 2);
    EXPECT_EQ(popup->actions()[0]->text(), QStringLiteral("Comprimi tutto"));
    popup->actions()[0]->trigger();
    EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());
    popup->actions()[1]->trigger();
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());

    // Thumbnails replace the tree.
    f.preview->SetThumbnailVisible(true);
    EXPECT_FALSE(f.preview->OutlineVisible());
    EXPECT_EQ(f.preview->Thumbnail()->PageList().Count(), 5);
}

TEST(Preview, ClicksReachTheStoreWithTheirTiming)
{
    PreviewFixture f(3);
    f.init();
    f.preview->show();
    QWidget *vp = f.preview->Workspace()->viewport();
    const QPoint inPage = f.preview->Workspace()->PageBounds(0).center();
    std::vector<TkvlMouseIntEvents> kinds;
    for (int i = 0; i < 3; ++i) {
        f.services.clock.advance(50);
        QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, inPage);
    }
    f.services.clock.advance(QApplication::doubleClickInterval() + 1);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, inPage);
    for (const OverCall &c : f.store->Overs)
        if (c.Event != meMouseMove)
            kinds.push_back(c.Event);
    EXPECT_EQ(kinds, (std::vector<TkvlMouseIntEvents>{meMouseUp, meClick, meMouseUp, meDbClick, meMouseUp, meClick,
                                                      meMouseUp, meClick}));
    const OverCall &last = f.store->Overs.back();
    EXPECT_EQ(last.Index, 0);
    EXPECT_EQ(QPoint(last.X, last.Y), inPage);
    EXPECT_EQ(last.OffsetX, f.preview->Workspace()->PageBounds(0).left());
    EXPECT_DOUBLE_EQ(last.Scale, 1.0);
}

TEST(Preview, TheHandDragsTheViewAndMovesReachTheHitTest)
{
    PreviewFixture f(5);
    f.init();
    TkvlPreviewWorkspace *ws = f.preview->Workspace();
    QWidget *vp = ws->viewport();
    ws->SetVertPosition(400);
    ws->SetHorzPosition(0);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, vp->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    };
    // Without a button the store hears of the move and sets the cursor.
    f.store->CursorAnswer = -21; // a link
    send(QEvent::MouseMove, QPoint(300, 200), Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(f.store->Overs.size(), 1u);
    EXPECT_EQ(f.store->Overs[0].Event, meMouseMove);
    EXPECT_EQ(f.store->Overs[0].Index, 0);
    EXPECT_EQ(f.store->Overs[0].OffsetY, ws->PageBounds(0).top() - 400);
    EXPECT_EQ(vp->cursor().shape(), Qt::PointingHandCursor);
    // With the left button held the view follows the mouse.
    send(QEvent::MouseButtonPress, QPoint(300, 300), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(290, 200), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(290, 150), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(ws->VertPosition(), 400 + 150);
    send(QEvent::MouseButtonRelease, QPoint(290, 150), Qt::LeftButton, Qt::NoButton);
    const size_t overs = f.store->Overs.size();
    send(QEvent::MouseMove, QPoint(290, 100), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(ws->VertPosition(), 400 + 150);
    EXPECT_EQ(f.store->Overs.size(), overs + 1);
}

TEST(Preview, DrawsOnlyThePagesInView)
{
    PreviewFixture f(1000, 100, 100); // many small pages, several per row
    f.init();
    f.preview->Workspace()->SetVertPosition(50000);
    f.store->Drawn.clear();
    const QImage shot = f.preview->grab().toImage();
    ASSERT_FALSE(f.store->Drawn.empty());
    const QRect view(f.preview->Workspace()->Offset(), f.preview->Workspace()->viewport()->size());
    for (int index : f.store->Drawn)
        EXPECT_TRUE(f.preview->Workspace()->PageBounds(index).adjusted(0, 0, 0, 1).intersects(view)) << index;
}

TEST(Preview, AReportThatLetsThePreviewGoIsNeitherDrawnNorHit)
{
    PreviewFixture f(3);
    f.report->SetPreviewPages(f.store.get());
    f.report->SetPreview(f.preview.get());
    f.report->SetPreview(nullptr); // as the report does when it goes away
    f.store->Drawn.clear();
    f.preview->grab();
    QTest::mouseClick(f.preview->Workspace()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 100));
    EXPECT_TRUE(f.store->Drawn.empty());
    EXPECT_TRUE(f.store->Overs.empty());
    EXPECT_EQ(f.preview->PageCount(), 0);
}

TEST(Preview, APreviewOutlivingItsReportForgetsItAndItsPages)
{
    // The store outlives the report here, so that any later use of it shows.
    PreviewFixture f(3);
    f.store->Pages[1].Texts = {{10, 10, QStringLiteral("alpha")}};
    QWidget window;
    f.preview->setParent(&window);
    window.show();
    f.report->SetPreviewPages(f.store.get());
    f.report->SetPreview(f.preview.get());
    ASSERT_TRUE(f.preview->FindText(QStringLiteral("alpha"), true, false));
    // The report goes while it is preparing pages (a script of the run frees it).
    f.report->InternalOnProgressStart(ptRunning);
    ASSERT_TRUE(f.preview->Running());
    f.store->addPages(3);
    f.report.reset();
    EXPECT_EQ(f.preview->Report, nullptr);
    EXPECT_EQ(f.preview->PreviewPages, nullptr);
    EXPECT_FALSE(f.preview->Running());
    EXPECT_EQ(f.preview->PageCount(), 0);
    EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 0);
    EXPECT_EQ(f.preview->Tabs()->count(), 0);
    EXPECT_FALSE(f.preview->Initialized());
    f.store->Drawn.clear();
    window.grab();
    QWidget *vp = f.preview->Workspace()->viewport();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(300, 100));
    QTest::mouseMove(vp, QPoint(310, 120));
    QTest::keyClick(f.preview->Workspace(), Qt::Key_F3);
    QTest::keyClick(f.preview->Workspace(), Qt::Key_End);
    EXPECT_TRUE(f.store->Drawn.empty());
    EXPECT_TRUE(f.store->Overs.empty());
    EXPECT_EQ(f.store->GetCount(), 3); // the pages were let go, not cleared through the preview
    EXPECT_TRUE(window.close());       // nothing runs any more
    f.preview->setParent(nullptr);
}

TEST(Preview, SearchFindsEachMatchThenReportsNotFoundOnce)
{
    PreviewFixture f(3);
    f.store->Pages[0].Texts = {{100, 50, QStringLiteral("alpha beta")}, {300, 200, QStringLiteral(" alpha")}};
    f.store->Pages[2].Texts = {{40, 400, QStringLiteral("ALPHA")}};
    f.init();
    ASSERT_TRUE(f.preview->FindText(QStringLiteral("alpha"), true, false));
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 0);
    EXPECT_TRUE(f.preview->AllowF3());
    QTest::keyClick(f.preview->Workspace(), Qt::Key_F3);
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 0);
    EXPECT_EQ(f.preview->Search().FoundRect().topLeft(), QPoint(300, 200));
    QTest::keyClick(f.preview->Workspace(), Qt::Key_F3);
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 2);
    EXPECT_TRUE(f.services.messages.shown.isEmpty());
    QTest::keyClick(f.preview->Workspace(), Qt::Key_F3);
    EXPECT_FALSE(f.preview->FindTextFound());
    ASSERT_EQ(f.services.messages.shown.size(), 1);
    EXPECT_EQ(f.services.messages.shown[0].text, QStringLiteral("Testo non trovato"));
    EXPECT_EQ(f.preview->Search().Renderings(), 3); // each page recorded once
    // Case-sensitive: only the last page matches.
    ASSERT_TRUE(f.preview->FindText(QStringLiteral("ALPHA"), true, true));
    EXPECT_EQ(f.preview->Search().LastFoundPage(), 2);
}

// What the engine does for each page: add it, report progress (which processes events).
struct FakeRun {
    PreviewFixture &f;
    int made = 0;
    void start() { f.report->InternalOnProgressStart(ptRunning); }
    bool page(int ms = 1)
    {
        if (f.report->Terminated)
            return false;
        f.store->addPages(1);
        f.services.clock.advance(ms);
        f.report->InternalOnProgress(ptRunning, ++made);
        return true;
    }
    void stop() { f.report->InternalOnProgressStop(ptRunning); }
};

TEST(Preview, ProgressLaysOutTheFirstPagesAndRefreshesByTheStep)
{
    struct Case {
        int secondPageMs, expectedEvents; // page-counter refreshes over pages 2..119
    } cases[] = {{3, 2}, {4, 2}, {6, 5}, {20, 23}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.secondPageMs);
        PreviewFixture f(0);
        f.report->PreviewOptions()->ThumbnailVisible = true;
        f.report->SetPreviewPages(f.store.get());
        f.report->SetPreview(f.preview.get());
        ASSERT_TRUE(f.preview->ThumbnailVisible());
        FakeRun run{f};
        run.start();
        EXPECT_TRUE(f.preview->Running());
        f.pageEvents.clear();
        for (int i = 0; i < 120; ++i)
            run.page(i == 1 ? c.secondPageMs : 1);
        EXPECT_EQ(int(f.pageEvents.size()), c.expectedEvents);
        EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 50);
        EXPECT_EQ(f.preview->Thumbnail()->PageList().Count(), 0);
        run.stop();
        EXPECT_FALSE(f.preview->Running());
        EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 120);
        EXPECT_EQ(f.preview->Thumbnail()->PageList().Count(), 120);
        f.report->SetPreview(nullptr);
    }
}

TEST(Preview, CommandsReachingTheStoreAreRefusedWhileRunning)
{
    PreviewFixture f(3);
    f.store->Pages[1].Texts = {{10, 10, QStringLiteral("alpha")}};
    f.report->SetPreviewPages(f.store.get());
    f.report->SetPreview(f.preview.get());
    f.preview->show();
    int finds = 0;
    f.preview->ExecDialog = [&](QDialog &) {
        ++finds;
        return int(QDialog::Accepted);
    };
    int designs = 0;
    f.preview->OnDesign = [&](TkvlReport &, const std::vector<TkvlPage *> &) {
        ++designs;
        return true;
    };
    ASSERT_TRUE(f.preview->FindText(QStringLiteral("alpha"), true, false)); // F3 allowed from here
    const int renderings = f.preview->Search().Renderings();
    FakeRun run{f};
    run.start(); // the store starts empty, as for a new run
    for (int i = 0; i < 3; ++i)
        run.page();
    const int pages = f.store->GetCount();
    QWidget *vp = f.preview->Workspace()->viewport();
    struct Command {
        const char *name;
        std::function<void()> call;
    } commands[] = {
        {"Print", [&] { f.preview->Print(); }},
        {"SaveToFile", [&] { f.preview->SaveToFile(QStringLiteral("/nonexistent/x.kp3")); }},
        {"LoadFromFile", [&] { f.preview->LoadFromFile(QStringLiteral("/nonexistent/x.kp3")); }},
        {"Find", [&] { f.preview->Find(); }},
        {"FindNext", [&] { f.preview->FindNext(); }},
        {"FindText", [&] { f.preview->FindText(QStringLiteral("alpha"), true, false); }},
        {"F3", [&] { QTest::keyClick(f.preview->Workspace(), Qt::Key_F3); }},
        {"Ctrl+P", [&] { QTest::keyClick(f.preview->Workspace(), Qt::Key_P, Qt::ControlModifier); }},
        {"SaveToFile dialog", [&] { f.preview->SaveToFile(); }},
        {"LoadFromFile dialog", [&] { f.preview->LoadFromFile(); }},
        {"Ctrl+S", [&] { QTest::keyClick(f.preview->Workspace(), Qt::Key_S, Qt::ControlModifier); }},
        {"Edit", [&] { f.preview->Edit(); }},
        {"EditTemplate", [&] { f.preview->EditTemplate(); }},
        {"PageSetupDlg", [&] { f.preview->PageSetupDlg(); }},
        {"RefreshReport", [&] { f.preview->RefreshReport(); }},
        {"AddPage", [&] { f.preview->AddPage(); }},
        {"DeletePage", [&] { f.preview->DeletePage(); }},
        {"Clear", [&] { f.preview->Clear(); }},
        {"click", [&] { QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, QPoint(300, 100)); }},
        {"move", [&] { QTest::mouseMove(vp, QPoint(310, 120)); }},
    };
    for (const Command &c : commands) {
        SCOPED_TRACE(c.name);
        c.call();
        EXPECT_EQ(f.store->Prints, 0);
        EXPECT_EQ(f.store->GetCount(), pages);
        EXPECT_TRUE(f.store->Overs.empty());
        EXPECT_EQ(finds, 0);
        EXPECT_EQ(designs, 0);
        EXPECT_TRUE(f.services.files.saved.isEmpty());
        EXPECT_TRUE(f.services.files.opened.isEmpty());
        EXPECT_EQ(f.preview->Search().Renderings(), renderings);
    }
    EXPECT_FALSE(f.report->Terminated);
    f.preview->Cancel();
    EXPECT_TRUE(f.report->Terminated);
    run.stop();
    f.report->SetPreview(nullptr);
}

TEST(Preview, ALongRunStaysResponsiveAndCancelStopsItAtTheNextPage)
{
    PreviewFixture f(0);
    QWidget window;
    window.resize(1000, 700);
    f.preview->setParent(&window);
    f.preview->setGeometry(0, 0, 1000, 700);
    window.show();
    f.preview->show();
    f.report->SetPreviewPages(f.store.get());
    f.report->SetPreview(f.preview.get());
    FakeRun run{f};
    run.start();
    bool closed = true;
    while (run.made < 2000) {
        if (run.made == 10) {
            // The user scrolls the first pages, tries to close the window, then cancels.
            QTimer::singleShot(0, f.preview.get(), [&] {
                f.preview->Workspace()->SetVertPosition(1500);
                closed = window.close();
                f.preview->Cancel();
            });
        }
        if (!run.page())
            break;
    }
    EXPECT_EQ(run.made, 11); // the page being made when Cancel came was the last
    EXPECT_FALSE(closed);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(f.preview->Workspace()->PageList().Count(), 11);
    EXPECT_EQ(f.preview->Workspace()->VertPosition(), 1500);
    EXPECT_EQ(f.preview->PageNo(), 2);
    run.stop();
    EXPECT_TRUE(window.close());
    f.report->SetPreview(nullptr);
    f.preview->setParent(nullptr);
}

} // namespace

namespace {

// A filter that only says it was used.
class NullFilter : public TkvlCustomExportFilter {
public:
    explicit NullFilter(TComponent *AOwner) : TkvlCustomExportFilter(AOwner) {}
};

} // namespace

// Printing (Ctrl+P) and exporting start from the page shown, and leave the preview usable.
TEST(Preview, PrintAndExportStartFromThePageShown)
{
    PreviewFixture f(5);
    f.init();
    f.preview->SetPageNo(3);
    QTest::keyClick(f.preview->Workspace(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(f.store->Prints, 1);
    EXPECT_EQ(f.store->CurPreviewPage, 3);
    f.preview->SetPageNo(4);
    auto filter = TkvlCustomExportFilter::CreateNoRegister<NullFilter>();
    EXPECT_TRUE(f.preview->Export(filter.get()));
    EXPECT_EQ(f.store->CurPreviewPage, 4);
    EXPECT_FALSE(f.preview->Locked());
}
