// Scripts that never end are stopped through the host's check, and texts that would grow past
// their bound are script errors.
#include "tests/scriptback/backtest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// Ends the test program with a message when a run has not ended by then: a missing check
// would otherwise hang the test for good.
class Watchdog
{
public:
    explicit Watchdog(const char *what) : FThread([this, what] {
        std::unique_lock lock(FMutex);
        if (!FDone.wait_for(lock, std::chrono::seconds(20), [this] { return FEnded; })) {
            std::fprintf(stderr, "endless run not stopped: %s\n", what);
            std::abort();
        }
    })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(FMutex);
            FEnded = true;
        }
        FDone.notify_one();
        FThread.join();
    }

private:
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FEnded = false;
    std::thread FThread;
};

// Every way a script can run for ever: each loop statement of each language, and calls that
// recurse without end in breadth (2^60 calls within the depth bound). The statement after it
// sets r, which must not happen.
const struct
{
    const char *language, *what, *source;
} Endless[] = {
    {"DozovoZozedi", "while", "var r, x: Integer;\nbegin r := 0; x := 0; while True do x := x + 1; r := 1 end."},
    {"DozovoZozedi", "repeat", "var r: Integer;\nbegin r := 0; repeat until False; r := 1 end."},
    {"DozovoZozedi", "calls",
     "var r: Integer;\nprocedure P(n: Integer);\nbegin if n > 0 then begin P(n - 1); P(n - 1) end end;\n"
     "begin r := 0; P(60); r := 1 end."},
    {"D++Iraved", "while", "int r;\n{ r = 0; while (1) {} r = 1; }"},
    {"D++Iraved", "do", "int r;\n{ r = 0; do { } while (true); r = 1; }"},
    {"D++Iraved", "for", "int r, i;\n{ r = 0; for (i = 0; 1; i++) { } r = 1; }"},
    {"DevavAraroz", "do loop", "Dim r\nr = 0\nDo\nLoop While True\nr = 1"},
    {"DevavAraroz", "for with step 0", "Dim r, i\nr = 0\nFor i = 1 To 2 Step 0\nNext\nr = 1"},
    {"DevavAraroz", "calls",
     "Dim r\nSub P(n)\n  If n > 0 Then\n    P(n - 1)\n    P(n - 1)\n  End If\nEnd Sub\nr = 0\nP(60)\nr = 1"},
    {"JScript", "while", "var r = 0;\nwhile (true) {}\nr = 1;"},
    {"JScript", "for", "var r = 0;\nfor (var i = 0; true; i++) {}\nr = 1;"},
    {"JScript", "calls", "var r = 0;\nfunction P(n) { if (n > 0) { P(n - 1); P(n - 1); } }\nP(60);\nr = 1;"},
};

// The host's check lets the event loop run; a Cancel delivered through it (a timer standing
// for the button) ends the run at its next statement, within a second.
TEST(ScriptStop, EndlessRunsEndAtACancelDeliveredThroughTheEventLoop)
{
    for (const auto &c : Endless) {
        SCOPED_TRACE(std::string(c.language) + " " + c.what);
        auto s = backtest::make(c.language, QString::fromLatin1(c.source));
        ASSERT_TRUE(s->Compile()) << s->ErrorMsg.toStdString() << " at " << s->ErrorPos.toStdString();
        bool cancelled = false;
        int checks = 0;
        s->SetOnPoll([&] {
            ++checks;
            QCoreApplication::processEvents();
            return cancelled;
        });
        QElapsedTimer sinceCancel;
        QTimer::singleShot(100, [&] {
            cancelled = true;
            sinceCancel.start();
        });
        Watchdog watchdog(c.what);
        s->Execute();
        ASSERT_TRUE(sinceCancel.isValid());
        EXPECT_LT(sinceCancel.elapsed(), 1000);
        EXPECT_GT(checks, 1);
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 0);
        EXPECT_FALSE(s->Terminated()); // the run's flags are reset when it ends
    }
}

// A stop set by another thread, the hook only reading it (no events): the same end.
TEST(ScriptStop, EndlessRunsEndAtAStopSetByAnotherThread)
{
    for (const auto &c : Endless) {
        SCOPED_TRACE(std::string(c.language) + " " + c.what);
        auto s = backtest::make(c.language, QString::fromLatin1(c.source));
        ASSERT_TRUE(s->Compile());
        std::atomic<bool> stop{false};
        s->SetOnPoll([&] { return stop.load(); });
        std::thread other([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            stop = true;
        });
        Watchdog watchdog(c.what);
        s->Execute();
        other.join();
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toInt(), 0);
    }
}

// With a check that never stops, loops and calls give what they give without one: breaks
// and continues inside counted turns, recursion.
TEST(ScriptStop, ACheckThatNeverStopsChangesNoResult)
{
    const char *source = "var r, i, j: Integer;\n"
                         "function F(n: Integer): Integer;\nbegin if n < 2 then Result := n else Result := F(n - 1) + F(n - 2) end;\n"
                         "begin r := 0;\n"
                         "  for i := 1 to 300000 do begin if i mod 7 = 0 then continue; if i > 250000 then break; r := r + 1 end;\n"
                         "  j := 0; while True do begin j := j + 1; if j = 100000 then break end;\n"
                         "  r := r * 1000 + F(20) + j end.";
    auto plain = backtest::make("DozovoZozedi", QString::fromLatin1(source));
    auto checked = backtest::make("DozovoZozedi", QString::fromLatin1(source));
    ASSERT_EQ(backtest::run(*plain), QString());
    int checks = 0;
    checked->SetOnPoll([&] { return ++checks < 0; });
    ASSERT_EQ(backtest::run(*checked), QString());
    // 250000 turns less those divisible by 7 (35714), then 1000 x that + fib(20) + 100000
    EXPECT_EQ(plain->Variables(QStringLiteral("r")).toInt(), 214286 * 1000 + 6765 + 100000);
    EXPECT_EQ(checked->Variables(QStringLiteral("r")).toInt(), plain->Variables(QStringLiteral("r")).toInt());

}

// A text doubled for ever stops at its bound of 256 MB (128 Mi characters) with a script
// error.
TEST(ScriptStop, TextsStopGrowingAtTheirBound)
{
    const struct
    {
        const char *language, *source;
    } cases[] = {
        {"DozovoZozedi", "var s: String; n: Integer;\nbegin s := 'x'; n := 0; while True do begin s := s + s; n := n + 1 end end."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        auto s = backtest::make(c.language, QString::fromLatin1(c.source));
        ASSERT_TRUE(s->Compile()) << s->ErrorMsg.toStdString() << " at " << s->ErrorPos.toStdString();
        QString message;
        try {
            s->Execute();
        } catch (const EqsRunError &e) {
            message = e.message();
        }
        EXPECT_TRUE(message.startsWith(QLatin1String("Text too long"))) << message.toStdString();
        // 2^27 characters is the last length made
        EXPECT_EQ(s->Variables(QStringLiteral("n")).toInt(), 27);
        EXPECT_EQ(s->Variables(QStringLiteral("s")).toString().size(), qsizetype(1) << 27);
    }
    // Insert into a text at its bound.
    auto s = backtest::make("DozovoZozedi", QStringLiteral("var s: String;\nbegin s := 'ab'; while True do Insert(s, s, 2) end."));
    ASSERT_TRUE(s->Compile());
    EXPECT_THROW(s->Execute(), EqsRunError);
}

} // namespace
