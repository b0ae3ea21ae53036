// The small windows' logic without widgets: progress steps, cancel, the pop-up close time, the
// answers of a program without windows and the registered texts.
#include "platform/ui/fakes.h"
#include "report/progress/kvlfakewindows.h"
#include "report/progress/kvlwindows.h"
#include "report/resources/kvlresources.h"

#include <gtest/gtest.h>

namespace {

// Counts what a window would be asked to do.
class CountingProgress final : public TkvlProgress {
public:
    int shown = 0, closed = 0, positions = 0;

protected:
    void ShowWindow() override { ++shown; }
    void PositionChanged() override { ++positions; }
    void CloseWindow() override { ++closed; }
};

TEST(Progress, TickStopsAtTheMaximum)
{
    struct Case {
        int max, start, ticks, expected;
    } cases[] = {
        {10, 0, 3, 3},
        {10, 9, 1, 10},
        {10, 10, 1, 10}, // at the maximum: stays
        {10, 8, 5, 10},
        {0, 0, 2, 0},
    };
    for (const Case &c : cases) {
        CountingProgress p;
        p.Execute(c.max, QStringLiteral("m"), true, true);
        p.SetPosition(c.start);
        for (int i = 0; i < c.ticks; ++i)
            p.Tick();
        EXPECT_EQ(p.Position(), c.expected) << c.max << " " << c.start << " " << c.ticks;
    }
}

TEST(Progress, ExecuteStartsAfreshAndCancelCloses)
{
    CountingProgress p;
    p.Execute(5, QStringLiteral("uno"), true, true);
    p.SetPosition(4);
    p.SetTerminated(true);
    EXPECT_EQ(p.closed, 1);
    p.Execute(20, QStringLiteral("due"), false, false);
    EXPECT_FALSE(p.Terminated());
    EXPECT_EQ(p.Position(), 0);
    EXPECT_EQ(p.MaxValue(), 20);
    EXPECT_EQ(p.Message(), QStringLiteral("due"));
    EXPECT_FALSE(p.CancelVisible());
    EXPECT_EQ(p.shown, 2);
    // Setting it back to False does not close.
    p.SetTerminated(false);
    EXPECT_EQ(p.closed, 1);
}

TEST(Progress, LabelMovesWithTheBar)
{
    TkvlProgress p;
    p.SetShowProgress(true);
    EXPECT_EQ(p.MessageTop(), 15);
    p.SetShowProgress(false);
    EXPECT_EQ(p.MessageTop(), 35);
}

TEST(Progress, PositionStaysWithinTheBar)
{
    TkvlProgress p;
    p.Execute(50, {}, true, true);
    p.SetPosition(80);
    EXPECT_EQ(p.Position(), 50);
    p.SetPosition(-3);
    EXPECT_EQ(p.Position(), 0);
    p.SetPosition(30);
    p.Reset();
    EXPECT_EQ(p.Position(), 0);
}

TEST(PopupCloseTime, ClickJustAfterTheCloseIsIgnored)
{
    ui::FakeServices services;
    services.clock.ticks = 5000;
    kvlPopupFormClosed();
    EXPECT_EQ(kvlPopupFormCloseTime(), 5000);
    struct Case {
        qint64 after, within;
        bool ignored;
    } cases[] = {{0, 50, true}, {49, 50, true}, {50, 50, false}, {99, 100, true}, {100, 100, false}};
    for (const Case &c : cases) {
        services.clock.ticks = 5000 + c.after;
        EXPECT_EQ(kvlPopupJustClosed(c.within), c.ignored) << c.after << " " << c.within;
    }
    // A 64-bit monotonic clock past 32 bits: no wrap-around misfire.
    services.clock.ticks = (qint64(1) << 32) + 10;
    kvlPopupFormClosed();
    services.clock.ticks += 60;
    EXPECT_FALSE(kvlPopupJustClosed());
}

TEST(WindowFactory, WithoutWindowsEverythingIsDeclined)
{
    TkvlWindowFactory &w = kvlWindows();
    EXPECT_FALSE(w.AskPassword().has_value());
    EXPECT_EQ(w.AskInherit(), TkvlInheritAnswer::Cancel);
    auto dialog = w.CreateDialogWindow(true);
    EXPECT_TRUE(dialog->ThreadSafe());
    EXPECT_FALSE(dialog->CanClose());
    dialog->OnCloseQuery = [] { return true; };
    EXPECT_TRUE(dialog->CanClose());
    EXPECT_EQ(dialog->ShowModal(), 2);
    auto progress = w.CreateProgress();
    progress->Execute(3, QStringLiteral("x"), true, true);
    progress->Tick();
    EXPECT_EQ(progress->Position(), 1);
}

TEST(WindowFactory, FakeAnswersAndUninstalls)
{
    TkvlWindowFactory *before = &kvlWindows();
    {
        TkvlFakeWindows fake;
        fake.password = QStringLiteral("segreto");
        fake.inheritAnswer = TkvlInheritAnswer::Rename;
        EXPECT_EQ(kvlWindows().AskPassword(), QStringLiteral("segreto"));
        EXPECT_EQ(kvlWindows().AskInherit(), TkvlInheritAnswer::Rename);
        EXPECT_EQ(fake.passwordAsked, 1);
    }
    EXPECT_EQ(&kvlWindows(), before);
}

TEST(WindowTexts, RegisteredWhereMissingOnly)
{
    TkvlResources &res = kvlResources();
    res.Add(QStringLiteral("6002"), QStringLiteral("Elimina i duplicati"));
    kvlRegisterWindowTexts();
    EXPECT_EQ(kvlGet(5000), QStringLiteral("Password"));
    EXPECT_EQ(kvlGet(5001), QStringLiteral("Inserisci la password:"));
    EXPECT_EQ(kvlGet(6000), QStringLiteral("Inherit error"));
    EXPECT_EQ(kvlGet(6001), QStringLiteral("Base and inherited reports have duplicate objects. What should we do?"));
    EXPECT_EQ(kvlGet(6002), QStringLiteral("Elimina i duplicati")); // a table's own text stays
    EXPECT_EQ(kvlGet(6003), QStringLiteral("Rename duplicates"));
}

} // namespace
