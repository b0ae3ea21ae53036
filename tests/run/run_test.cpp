// Preparing a report: the record-source check, the script, the snapshot, errors reported
// once, and the start timer of ShowReport.
#include "platform/rtl/format.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/progress/kvlwindows.h"
#include "report/utils/silentmode.h"
#include "report/vars/kvlvariables.h"
#include "tests/run/runfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QRegularExpression>
#include <QTimer>

namespace {

class ReportRun : public RunFixture {
protected:
    void setScript(const QString &Text)
    {
        report->ScriptText().SetText(Text);
    }
    QString shownText() const { return boxes.shown.isEmpty() ? QString() : boxes.shown.first().text; }
};

TEST_F(ReportRun, AScriptThatDoesNotCompileIsOneErrorWithItsPosition)
{
    setScript(QStringLiteral("begin\r\n  x := ;\r\nend."));
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(engine().Runs, 0);
    ASSERT_EQ(boxes.shown.size(), 1);
    const QString text = shownText();
    EXPECT_TRUE(text.startsWith(kvlResourceText(QStringLiteral("clErrors")) + QStringLiteral("\r\n"))) << text.toStdString();
    // "riga:colonna %s" with the line and column of the fault: line 2.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("riga:colonna 2:\\d+: ")))) << text.toStdString();
}

TEST_F(ReportRun, AMissingSourceIsReportedOnceAndNothingIsCompiledOrRun)
{
    // A script that would not compile: its error must not appear, since nothing compiles.
    setScript(QStringLiteral("begin x := ; end."));
    auto *item = static_cast<TkvlDataSetItem *>(report->DataSets()->TCollection::Add());
    item->SetDataSetName(QStringLiteral("Gone"));
    report->SetScriptText(report->ScriptText());
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(engine().Runs, 0);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(shownText().contains(rtl::Format(kvlResourceText(QStringLiteral("clDSNotExist")), {QStringLiteral("Gone")})));
    EXPECT_FALSE(shownText().contains(QStringLiteral("riga:colonna")));
    EXPECT_EQ(report->Errors().Count(), 1);
}

TEST_F(ReportRun, ASuccessfulRunReportsNothingAndTheEngineRunsOnce)
{
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(engine().Runs, 1);
    EXPECT_TRUE(boxes.shown.isEmpty());
    engine().OnRun = [](FakeEngine &) { return false; };
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_TRUE(boxes.shown.isEmpty());  // a run that produced nothing is no error
}

TEST_F(ReportRun, TheSnapshotUndoesWhatTheScriptChanged)
{
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    setVariable(*report, QStringLiteral("V"), Variant(QStringLiteral("1")));
    setScript(QStringLiteral("begin\r\n  Set('V', 2);\r\nend."));

    for (const bool destroyForms : {true, false}) {
        SCOPED_TRACE(destroyForms);
        report->EngineOptions()->DestroyForms = destroyForms;
        Variant seen;
        engine().OnRun = [&](FakeEngine &e) {
            seen = e.Report()->Variables().Variables(QStringLiteral("V"));
            return true;
        };
        ASSERT_TRUE(report->PrepareReport()) << shownText().toStdString();
        EXPECT_EQ(seen, Variant(2));
        EXPECT_EQ(report->Variables().Variables(QStringLiteral("V")),
                  destroyForms ? Variant(QStringLiteral("1")) : Variant(2));
        EXPECT_NE(report->FindObject(u"Page1"), nullptr);
        report->Variables().SetVariables(QStringLiteral("V"), Variant(QStringLiteral("1")));
    }
}

TEST_F(ReportRun, ThePasswordSurvivesTheSnapshotAndTheFileCacheIsRemoved)
{
    report->ReportOptions()->Password = QStringLiteral("secret");
    report->ReportOptions()->PrevPassword = QStringLiteral("secret");
    report->EngineOptions()->UseFileCache = true;
    const QString dir = QDir::tempPath() + QStringLiteral("/kvlrun-") + QString::number(QCoreApplication::applicationPid());
    ASSERT_TRUE(QDir().mkpath(dir));
    report->EngineOptions()->TempDir = dir;
    QStringList during;
    engine().OnRun = [&](FakeEngine &) {
        during = QDir(dir).entryList(QDir::Files);
        return true;
    };
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(during.size(), 1);  // the snapshot was a file while the run went on
    EXPECT_TRUE(QDir(dir).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(report->ReportOptions()->Password, QStringLiteral("secret"));
    QDir(dir).removeRecursively();
}

TEST_F(ReportRun, ARunStartedByTheTimerThatFailsUnderTheRaisingModeKeepsTheLoopRunning)
{
    report->EngineOptions()->NewSilentMode = simReThrow;
    setScript(QStringLiteral("begin x := ; end."));
    report->ShowReport();
    EXPECT_TRUE(report->StartTimerActive());
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(report->StartTimerActive());
    EXPECT_EQ(report->Errors().Count(), 1);
    EXPECT_TRUE(report->Errors().Text().contains(QStringLiteral("riga:colonna")));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(ReportRun, ShowReportDoesNothingWhileTheEngineRuns)
{
    report->OldStyleProgress = true;
    int nested = 0;
    engine().OnRun = [&](FakeEngine &e) {
        e.Report()->ShowReport();  // refused: the engine is running
        ++nested;
        return true;
    };
    report->ShowReport();
    EXPECT_EQ(engine().Runs, 1);
    EXPECT_EQ(nested, 1);
}

TEST_F(ReportRun, TheProgressWindowsCancelStopsTheRunAndThreadSafeModeMakesNone)
{
    report->OldStyleProgress = true;
    report->InternalOnProgressStart(ptRunning);
    ASSERT_NE(report->Progress, nullptr);
    report->InternalOnProgress(ptRunning, 3);
    EXPECT_FALSE(report->Terminated);
    EXPECT_EQ(report->Progress->Message(), rtl::Format(kvlResourceText(QStringLiteral("prRunningFirst")), {Variant(3)}));
    report->Progress->SetTerminated(true);  // the user pressed Cancel
    report->InternalOnProgress(ptRunning, 4);
    EXPECT_TRUE(report->Terminated);
    report->InternalOnProgressStop(ptRunning);
    EXPECT_EQ(report->Progress, nullptr);

    // Running in the preview's own message area: no window for the run, one for printing.
    report->OldStyleProgress = false;
    report->InternalOnProgressStart(ptRunning);
    EXPECT_EQ(report->Progress, nullptr);
    report->InternalOnProgressStart(ptPrinting);
    EXPECT_NE(report->Progress, nullptr);
    report->InternalOnProgressStop(ptPrinting);

    report->EngineOptions()->EnableThreadSafe = true;
    int hostCalls = 0;
    report->OnProgressStart = [&](TkvlReport *, TkvlProgressType, int) { ++hostCalls; };
    report->InternalOnProgressStart(ptPrinting);
    EXPECT_EQ(report->Progress, nullptr);
    EXPECT_EQ(hostCalls, 0);
}

} // namespace
