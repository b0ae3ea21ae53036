// A report whose script never ends is stopped: by the progress window's Cancel or the
// preview's Esc through the event loop, and by Terminated set from another thread in
// thread-safe mode. The run ends reported, and the report can run again.
#include "report/progress/kvlwindows.h"
#include "tests/scriptreport/reportrun.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <chrono>
#include <thread>

namespace {

using namespace scriptreporttest;

// The template's row handler loops for ever; so does its main program when asked.
struct Endless
{
    const char *language, *handler, *main;
};
const Endless Scripts[] = {
    {"DozovoZozedi",
     "procedure CityBefore(Sender: Variant); begin end;\nprocedure SummaryBefore(Sender: Variant); begin end;\n"
     "procedure FooterBefore(Sender: Variant); begin end;\n"
     "procedure RowBefore(Sender: Variant);\nbegin\n  while True do ;\n  MemoRow.Text := 'dopo';\nend;\n",
     "begin while True do ; end."},
    {"D++Iraved",
     "void CityBefore(Variant Sender) { }\nvoid SummaryBefore(Variant Sender) { }\nvoid FooterBefore(Variant Sender) { }\n"
     "void RowBefore(Variant Sender)\n{\n  while (1) {}\n  MemoRow.Text = \"dopo\";\n}\n",
     "{ while (1) {} }"},
    {"DevavAraroz",
     "Sub CityBefore(Sender)\nEnd Sub\nSub SummaryBefore(Sender)\nEnd Sub\nSub FooterBefore(Sender)\nEnd Sub\n"
     "Sub RowBefore(Sender)\n  Do\n  Loop While True\n  MemoRow.Text = \"dopo\"\nEnd Sub\n",
     "Do\nLoop While True\n"},
    {"JScript",
     "function CityBefore(Sender) { }\nfunction SummaryBefore(Sender) { }\nfunction FooterBefore(Sender) { }\n"
     "function RowBefore(Sender)\n{\n  while (true) {}\n  MemoRow.Text = \"dopo\";\n}\n",
     "while (true) {}\n"},
};

QString source(const Endless &e, bool endlessMain)
{
    QString s = QString::fromLatin1(e.handler);
    if (QLatin1String(e.language) == QLatin1String("DozovoZozedi"))
        s += endlessMain ? QString::fromLatin1(e.main) : QStringLiteral("begin end.");
    else if (QLatin1String(e.language) == QLatin1String("D++Iraved"))
        s += endlessMain ? QString::fromLatin1(e.main) : QStringLiteral("{}");
    else if (endlessMain)
        s += QString::fromLatin1(e.main);
    return s;
}

// Stops the test program when a run is not stopped: a hang would tell nothing.
struct Deadline
{
    std::atomic<bool> ended{false};
    std::thread watch;
    explicit Deadline(std::atomic<bool> &terminated)
        : watch([this, &terminated] {
              for (int i = 0; i < 200 && !ended; ++i)
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              if (!ended) {
                  ADD_FAILURE() << "endless script not stopped";
                  terminated = true;
              }
          })
    {
    }
    ~Deadline()
    {
        ended = true;
        watch.join();
    }
};

// The progress window's Cancel (the button sets its Terminated) reaches a row handler that
// never ends, through the event loop, within a second; the pages made so far are kept.
TEST(ScriptStopInReport, ProgressCancelEndsAnEndlessHandler)
{
    for (const Endless &e : Scripts) {
        SCOPED_TRACE(e.language);
        ReportRun run;
        run.Load(QStringLiteral("engine-outline"), e.language, source(e, false));
        run.report.OldStyleProgress = true; // the progress window shows while the engine runs
        QElapsedTimer sinceCancel;
        QTimer::singleShot(100, [&] {
            ASSERT_NE(run.report.Progress, nullptr);
            run.report.Progress->SetTerminated(true);
            sinceCancel.start();
        });
        bool prepared = true;
        {
            Deadline deadline(run.report.Terminated);
            run.Prepare(&prepared);
        }
        ASSERT_TRUE(sinceCancel.isValid());
        EXPECT_LT(sinceCancel.elapsed(), 1000);
        EXPECT_TRUE(run.report.Terminated);
        EXPECT_FALSE(run.Listing().contains(QStringLiteral("dopo")));
    }
}

// Esc in the preview sets the report's Terminated while the report runs; an endless main
// program, before the engine starts, ends at it too.
TEST(ScriptStopInReport, TerminatedThroughTheEventLoopEndsAnEndlessMainProgram)
{
    for (const Endless &e : Scripts) {
        SCOPED_TRACE(e.language);
        ReportRun run;
        run.Load(QStringLiteral("engine-outline"), e.language, source(e, true));
        QElapsedTimer sinceCancel;
        QTimer::singleShot(100, [&] {
            run.report.SetTerminated(true);
            sinceCancel.start();
        });
        bool prepared = true;
        {
            Deadline deadline(run.report.Terminated);
            run.Prepare(&prepared);
        }
        ASSERT_TRUE(sinceCancel.isValid());
        EXPECT_LT(sinceCancel.elapsed(), 1000);
        EXPECT_EQ(run.report.PreviewPages()->GetCount(), 0);
    }
}

// A report shown once prepared (no preview watches the run) whose main program never ends:
// the progress window comes up while it runs, and its Cancel stops it; the window goes with
// the run.
TEST(ScriptStopInReport, AnEndlessMainProgramWithNoPreviewShowsTheProgressWindowWhoseCancelStopsIt)
{
    const Endless &e = Scripts[0];
    ReportRun run;
    run.Load(QStringLiteral("engine-outline"), e.language, source(e, true));
    run.report.OldStyleProgress = true;
    run.report.ShowProgress = true;
    ASSERT_EQ(run.report.Preview(), nullptr);
    bool sawWindow = false;
    std::function<void()> cancelWhenShown = [&] {
        if (!run.report.Progress) {
            QTimer::singleShot(50, cancelWhenShown);
            return;
        }
        sawWindow = true;
        run.report.Progress->SetTerminated(true);
    };
    QTimer::singleShot(50, cancelWhenShown);
    bool prepared = true;
    {
        Deadline deadline(run.report.Terminated);
        run.Prepare(&prepared);
    }
    EXPECT_TRUE(sawWindow);
    EXPECT_TRUE(run.report.Terminated);
    EXPECT_EQ(run.report.Progress, nullptr);
    EXPECT_EQ(run.report.PreviewPages()->GetCount(), 0);
}

// In thread-safe mode the script lets no events through; Terminated set by another thread
// stops it, in the main program and in a handler.
TEST(ScriptStopInReport, TerminatedFromAnotherThreadEndsAThreadSafeRun)
{
    for (const Endless &e : Scripts)
        for (const bool endlessMain : {true, false}) {
            SCOPED_TRACE(std::string(e.language) + (endlessMain ? " main program" : " handler"));
            ReportRun run;
            run.Load(QStringLiteral("engine-outline"), e.language, source(e, endlessMain));
            run.report.EngineOptions()->EnableThreadSafe = true;
            bool eventsRan = false;
            QTimer::singleShot(0, [&] { eventsRan = true; });
            std::thread other([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                run.report.Terminated = true;
            });
            bool prepared = true;
            {
                Deadline deadline(run.report.Terminated);
                run.Prepare(&prepared);
            }
            other.join();
            EXPECT_FALSE(eventsRan);
            EXPECT_FALSE(run.Listing().contains(QStringLiteral("dopo")));
        }
}

} // namespace
