// The workspace control, the margins panel and the in-place editor, driven with QTest.
#include "designer/widgets/designerworkspace.h"
#include "designer/widgets/inplacememo.h"
#include "designer/widgets/marginspanel.h"
#include "tests/designerworkspace/wsfixture.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Records what reaches the workspace's mouse handlers.
class RecordingWorkspace : public TkvlDesignerWorkspace {
public:
    using TkvlDesignerWorkspace::TkvlDesignerWorkspace;
    void MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) override { downs.push_back(QPoint(X, Y)); }
    void MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y) override { ups.push_back(QPoint(X, Y)); }
    std::vector<QPoint> downs, ups;
};

struct Shown {
    wstest::Workspace model;  // report, page and lists; its own core stays unused
    QWidget host;
    RecordingWorkspace *ws;
    TkvlMemoView *memo;
    int modified = 0;

    explicit Shown(double scale)
    {
        auto *band = model.band<TkvlMasterData>("MasterData1", 100, 40);
        memo = model.memo(band, "Memo1", 20, 10, 100, 18);
        memo->SetText(QStringLiteral("Ciao"));
        model.load();
        ws = new RecordingWorkspace(&host);
        TkvlWorkspace &core = ws->Core();
        core.SetLists(&model.lists);
        core.SetPage(model.page);
        core.OnModify = [this] { ++modified; };
        core.SetScale(scale);
        core.SetPageDimensions(794, 1123, TkvlMargins{38, 38, 38, 38});
        ws->SetOrigin(QPoint(0, 0));
        host.resize(core.PanelSize());
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    TInplaceMemo *editor() const { return ws->InplaceMemo(); }
    void edit() { editor()->Edit(memo); }
    QPoint elsewhere() const { return QPoint(ws->width() - 10, ws->height() - 10); }
};

TEST(InplaceMemo, ShowsTheTextWithoutItsFinalLineBreakAndKeepsItWhenUnchanged)
{
    Shown s(1);
    ASSERT_EQ(s.memo->Text(), QStringLiteral("Ciao\r\n"));
    s.edit();
    ASSERT_TRUE(s.editor()->isVisible());
    EXPECT_EQ(s.editor()->toPlainText(), QStringLiteral("Ciao"));
    EXPECT_TRUE(s.editor()->hasFocus());
    // Laid over the memo at its absolute place, one pixel larger.
    EXPECT_EQ(s.editor()->geometry(), QRect(20, int(std::nearbyint(s.memo->GetAbsTop())), 101, 19));
    QTest::mouseClick(s.ws, Qt::LeftButton, {}, s.elsewhere());
    EXPECT_FALSE(s.editor()->isVisible());
    EXPECT_EQ(s.memo->Text(), QStringLiteral("Ciao\r\n"));
    EXPECT_EQ(s.modified, 0);
}

TEST(InplaceMemo, EscDiscardsWhatWasTyped)
{
    Shown s(1);
    s.edit();
    QTest::keyClicks(s.editor(), QStringLiteral("Arrivederci"));
    QTest::keyClick(s.editor(), Qt::Key_Escape);
    EXPECT_FALSE(s.editor()->isVisible());
    EXPECT_EQ(s.memo->Text(), QStringLiteral("Ciao\r\n"));
    EXPECT_DOUBLE_EQ(s.memo->Width(), 100);
    EXPECT_EQ(s.modified, 0);
}

TEST(InplaceMemo, LongLinesWidenTheMemoOnClosing)
{
    Shown s(2);
    s.edit();
    EXPECT_EQ(s.editor()->width(), 201);  // Round(100 * 2 + 1)
    QTest::keyClicks(s.editor(), QStringLiteral("Riunione del consiglio di amministrazione"));
    QTest::keyClick(s.editor(), Qt::Key_Return);
    QTest::keyClicks(s.editor(), QStringLiteral("Sala"));
    QTest::keyClick(s.editor(), Qt::Key_Return);
    QTest::keyClicks(s.editor(), QStringLiteral("Ore 9"));
    const int width = s.editor()->width(), height = s.editor()->height();
    EXPECT_GT(width, 201);
    // Three lines of the font at twice its height F (negative): 3 * (3 - F) + 4.
    const int f = s.memo->Font()->Height() * 2;
    EXPECT_EQ(height, 3 * (3 - f) + 4);
    QTest::mouseClick(s.ws, Qt::LeftButton, {}, s.elsewhere());
    EXPECT_EQ(s.memo->Text(), QStringLiteral("Riunione del consiglio di amministrazione\r\nSala\r\nOre 9\r\n"));
    EXPECT_DOUBLE_EQ(s.memo->Width(), (width + 5) / 2.0);
    EXPECT_DOUBLE_EQ(s.memo->Height(), (height + 5) / 2.0);
    EXPECT_EQ(s.modified, 1);
}

TEST(MarginsPanel, PressesInTheMarginsReachTheWorkspaceTranslated)
{
    Shown s(1);
    TMarginsPanel *panel = s.ws->MarginsPanel();
    EXPECT_EQ(panel->size(), QSize(794, 1123));
    EXPECT_EQ(s.ws->geometry(), QRect(38, 38, 794 - 75, 1123 - 75));
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(5, 7));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(20, 9));
    ASSERT_EQ(s.ws->downs.size(), 1u);
    EXPECT_EQ(s.ws->downs[0], QPoint(5 - 38, 7 - 38));
    ASSERT_EQ(s.ws->ups.size(), 1u);
    EXPECT_EQ(s.ws->ups[0], QPoint(20 - 38, 9 - 38));
}

} // namespace
