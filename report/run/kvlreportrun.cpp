// The report's run: preparing (record-source check, snapshot, script, engine), showing,
// printing and exporting the prepared pages, and cancelling.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/progress/kvlwindows.h"
#include "report/run/kvlfiletrust.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlfactories.h"
#include "report/seams/kvlpreview.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/utils/silentmode.h"
#include "script/core/qsscript.h"
#include "script/stmt/qsstmt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>

namespace {

QString messageOf(const std::exception &e)
{
    if (auto *x = dynamic_cast<const Exception *>(&e))
        return x->message();
    return QString::fromUtf8(e.what());
}

// The snapshot a run returns to: in memory, or in a new file of the engine's temporary
// folder that is deleted with it.
struct Snapshot {
    std::unique_ptr<TStream> Stream;
    QString FileName;

    explicit Snapshot(TkvlEngineOptions *o)
    {
        if (o->UseFileCache) {
            const QString dir = o->TempDir.isEmpty() ? QDir::tempPath() : o->TempDir;
            auto f = TFileStream::CreateTemp(dir, QStringLiteral("kvl"));
            FileName = f->FileName();
            Stream = std::move(f);
        } else {
            Stream = std::make_unique<TMemoryStream>();
        }
    }
    ~Snapshot()
    {
        Stream.reset();
        if (!FileName.isEmpty())
            QFile::remove(FileName);
    }
    Snapshot(const Snapshot &) = delete;
    Snapshot &operator=(const Snapshot &) = delete;
};

} // namespace

// What the run does around the report's script.
struct TkvlReportRun {
    // Lets the running script be stopped: outside thread-safe mode it lets the window events
    // through at a bounded interval (a Cancel, Esc in the preview, a closed window, a
    // termination signal), and it stops at a Terminated set meanwhile, also by another thread.
    static void WatchScript(TkvlReport &R)
    {
        R.FScript->SetOnPoll([&R] { return Poll(R); });
    }

    static bool Poll(TkvlReport &R)
    {
        if (!R.FEngineOptions->EnableThreadSafe) {
            // Only the thread that owns the application's event loop has window events.
            QCoreApplication *app = QCoreApplication::instance();
            if (app && app->thread() == QThread::currentThread())
                QCoreApplication::processEvents();
            if (R.FProgress && R.FProgress->Terminated() && !R.Terminated)
                R.SetTerminated(true);
        }
        return R.Terminated.load();
    }

    // The main program, run before the engine: the preview shows it as running, so that
    // its Cancel (Esc) stops it as it stops the engine. With no preview yet (the pages shown
    // once made), a main program that lasts shows the progress window, whose Cancel stops it.
    static void RunMainProgram(TkvlReport &R)
    {
        TkvlCustomPreview *preview = R.FEngineOptions->EnableThreadSafe ? nullptr : R.FPreview;
        if (preview)
            preview->InternalOnProgressStart(&R, ptRunning, 0);
        // Windows only from the thread of the application's event loop.
        QCoreApplication *app = QCoreApplication::instance();
        const bool mayShowProgress = !preview && R.ShowProgress && !R.FProgress && !R.FEngineOptions->EnableThreadSafe
                                     && app && app->thread() == QThread::currentThread();
        QElapsedTimer running;
        running.start();
        bool progressShown = false;
        if (mayShowProgress)
            R.FScript->SetOnPoll([&R, &running, &progressShown] {
                if (!progressShown && running.elapsed() >= kProgressAfterMs) {
                    progressShown = true;
                    R.FProgress = kvlWindows().CreateProgress();
                    R.Progress = R.FProgress.get();
                    if (R.FProgress)
                        R.FProgress->Execute(0, QString(), true, false);
                }
                return Poll(R);
            });
        struct Stop {
            TkvlReport &R;
            TkvlCustomPreview *preview;
            bool watching, &progressShown;
            ~Stop()
            {
                // the script may have let the preview go
                if (preview && R.FPreview == preview)
                    preview->InternalOnProgressStop(&R, ptRunning, 0);
                if (watching)
                    WatchScript(R);
                if (progressShown) {
                    R.FProgress.reset();
                    R.Progress = nullptr;
                }
            }
        } stop{R, preview, mayShowProgress, progressShown};
        R.FScript->Execute();
    }

    // A main program shorter than this shows no window of its own.
    static constexpr qint64 kProgressAfterMs = 500;
};

bool TkvlReport::PrepareReport(bool ClearLastReport)
{
    if (ClearLastReport && FPreviewPages)
        FPreviewPages->Clear();
    if (FPreview)
        FPreview->Init(this, FPreviewPages);
    FErrors.Clear();
    Terminated = false;
    FFileTrust->Forget();
    // Where the caller keeps its settings is the caller's: a script may not point the preview's
    // settings at another file of the user's.
    struct KeepIniFile {
        TkvlReport &R;
        const QString Saved;
        ~KeepIniFile() { R.IniFile = Saved; }
    } keepIniFile{*this, IniFile};
    bool result = false;

    for (int i = 0; i < FDataSets->Count(); ++i) {
        TkvlDataSetItem *item = FDataSets->Items(i);
        if (!item->DataSet())
            FErrors.Add(rtl::Format(kvlResourceText(QStringLiteral("clDSNotExist")), {item->DataSetName()}));
    }

    if (FErrors.Count() == 0) {
        const QString password = FReportOptions->Password;
        const int32_t splicingLine = FPrintOptions->SplicingLine;
        const TkvlDuplexMode duplex = FPrintOptions->Duplex;
        std::unique_ptr<Snapshot> snapshot;
        try {
            if (FEngineOptions->DestroyForms) {
                snapshot = std::make_unique<Snapshot>(FEngineOptions.get());
                // The snapshot holds no password: it comes back from memory afterwards.
                FReportOptions->Password.clear();
                SaveToStream(*snapshot->Stream, true, false);
                FReportOptions->Password = password;
            }
            if (OnBeginDoc)
                OnBeginDoc(this);
            if (PrepareScript()) {
                TkvlReportRun::WatchScript(*this);
                if (OnAfterScriptCompile)
                    OnAfterScriptCompile(this);
                if (FScript->Statement()->Count() > 0)
                    TkvlReportRun::RunMainProgram(*this);
                if (!Terminated && FEngine) {
                    TkvlCustomPreviewForm *shownBefore = PreviewForm;
                    if (FEngine->Run(true, false, nullptr)) {
                        if (OnEndDoc)
                            OnEndDoc(this);
                        result = true;
                    } else if (PreviewForm && PreviewForm != shownBefore) {
                        PreviewForm->Close();
                    }
                }
            }
        } catch (const std::exception &e) {
            FErrors.Add(messageOf(e));
        }
        if (snapshot) {
            const QString setAside = FErrors.Text();
            Reloading = true;
            try {
                snapshot->Stream->SetPosition(0);
                LoadFromStream(*snapshot->Stream);
            } catch (const std::exception &e) {
                FErrors.Add(messageOf(e));
            }
            Reloading = false;
            FReportOptions->Password = password;
            FPrintOptions->SplicingLine = splicingLine;
            FPrintOptions->Duplex = duplex;
            snapshot.reset();
            // The template's load reported its own problems (a parent cycle, say) already.
            QStringList reloadErrors = FErrors.toQStringList();
            reloadErrors.removeIf([this](const QString &e) { return FLoadErrors.contains(e); });
            FErrors.SetText(setAside);
            for (const QString &e : reloadErrors)
                FErrors.Add(e);
        }
    }

    if (FErrors.Count() > 0) {
        result = false;
        ReportErrors();
    }
    return result;
}

bool TkvlReport::PreparePage(TkvlPage *Page)
{
    return FEngine && FEngine->Run(false, false, Page);
}

// ---- showing ------------------------------------------------------------------------------

bool TkvlReport::StartTimerActive() const { return FStartTimer && FStartTimer->isActive(); }

void TkvlReport::StartTimerTick()
{
    if (FStartTimer)
        FStartTimer->stop();
    // Runs from the event loop: nothing may escape. The raising silent mode leaves its
    // errors in Errors; other modes have reported them already.
    try {
        PrepareReport(false);
    } catch (const std::exception &e) {
        if (FEngineOptions->NewSilentMode == simReThrow)
            return;
        FErrors.Add(messageOf(e));
        try {
            ReportErrors();
        } catch (...) {
        }
    } catch (...) {
    }
}

void TkvlReport::ShowReport(bool ClearLastReport)
{
    if (FEngine && FEngine->Running)
        return;
    if (ClearLastReport && FPreviewPages)
        FPreviewPages->Clear();
    if (!OldStyleProgress) {
        if (!FStartTimer) {
            FStartTimer = std::make_unique<QTimer>();
            FStartTimer->setSingleShot(true);
            FStartTimer->setInterval(50);
            QObject::connect(FStartTimer.get(), &QTimer::timeout, FStartTimer.get(), [this] { StartTimerTick(); });
        }
        FStartTimer->start();
        ShowPreparedReport();
        return;
    }
    if (PrepareReport(false))
        ShowPreparedReport();
}

void TkvlReport::ShowPreparedReport()
{
    PreviewForm = nullptr;
    // A preview the host attached shows the pages; the report's own window does not count as one.
    const bool ownWindow = FOwnPreviewForm && FPreview && FOwnPreviewForm->Preview() == FPreview;
    if (FPreview && !ownWindow) {
        FPreview->Init(this, FPreviewPages);
        return;
    }
    if (!kvlPreviewFormFactory)
        return;
    // The window shows itself as the preview options say; a modeless one stays with the report
    // until the next one or the report's end, a modal one goes when it closes.
    if (ownWindow)
        SetPreview(nullptr);
    FOwnPreviewForm.reset();
    FOwnPreviewForm = kvlPreviewFormFactory(this);
    if (!FOwnPreviewForm)
        return;
    TkvlCustomPreviewForm *form = FOwnPreviewForm.get();
    if (TkvlCustomPreview *p = form->Preview()) {
        p->PreviewForm = form;
        SetPreview(p);
    }
    PreviewForm = form;
    form->Init();
    if (OnPreview)
        OnPreview(this);
    form->Execute();
    if (!FPreviewOptions->Modal)
        return;
    // The window may have gone with the report's content meanwhile (a script loading another template).
    if (FOwnPreviewForm.get() == form) {
        if (FPreview == form->Preview())
            SetPreview(nullptr);
        PreviewForm = nullptr;
        FOwnPreviewForm.reset();
    }
}

bool TkvlReport::Print() { return FPreviewPages && FPreviewPages->Print(); }

bool TkvlReport::Export(TkvlCustomExportFilter *Filter) { return FPreviewPages && Filter && FPreviewPages->Export(Filter); }

void TkvlReport::SetTerminated(bool Value)
{
    Terminated = Value;
    if (Value)
        FScript->Terminate();
}
