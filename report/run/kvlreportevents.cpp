// Report-object events passed to script procedures, and the progress of long work.
#include "platform/rtl/format.h"
#include "platform/rtl/objecthandles.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/progress/kvlwindows.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreview.h"
#include "report/views/kvlview.h"
#include "script/core/qsscript.h"

#include <QCoreApplication>

namespace {
void processMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
} // namespace

void TkvlReport::DoNotifyEvent(TPersistent *Object, const QString &EventName, bool RunAlways)
{
    if (EventName.isEmpty())
        return;
    Variant params = Variant::arrayOf({rtl::objectToVariant(Object)});
    DoParamEvent(EventName, params, RunAlways);
}

void TkvlReport::DoParamEvent(const QString &EventName, Variant &Params, bool RunAlways)
{
    if (EventName.isEmpty())
        return;
    if (ScriptEvent) {
        ScriptEvent(EventName, Params);
        return;
    }
    if (!RunAlways && !(FEngine && FEngine->Running))
        return;
    FScript->CallFunction1(EventName, Params, true);
}

void TkvlReport::DoBeforePrint(TkvlComponent *c)
{
    if (OnBeforePrint)
        OnBeforePrint(c);
    if (auto *rc = rtl_cast<TkvlReportComponent>(c))
        DoNotifyEvent(c, rc->OnBeforePrint);
}

void TkvlReport::DoAfterPrint(TkvlComponent *c)
{
    if (OnAfterPrint)
        OnAfterPrint(c);
    if (auto *rc = rtl_cast<TkvlReportComponent>(c))
        DoNotifyEvent(c, rc->OnAfterPrint);
}

void TkvlReport::DoPreviewClick(TkvlView *v, TMouseButton Button, TShiftState Shift, bool &Modified, bool DblClick)
{
    Variant params = Variant::arrayOf(
        {rtl::objectToVariant(v), Variant(int(Button)), Variant(int(Shift)), Variant(Modified)});
    DoParamEvent(DblClick ? v->OnPreviewDblClick : v->OnPreviewClick, params, true);
    Modified = params.arrayGet(3).toBool();
    if (const auto &host = DblClick ? OnDblClickObject : OnClickObject)
        host(v, Button, Shift, Modified);
}

void TkvlReport::DoMouseEnter(TkvlView *v, bool &Refresh)
{
    v->DoMouseEnter(v, Refresh);
    if (OnMouseEnter)
        OnMouseEnter(v);
    if (!v->OnMouseEnter.isEmpty()) {
        Variant params = Variant::arrayOf({rtl::objectToVariant(v), Variant(Refresh)});
        TkvlReport *r = v->Report() ? v->Report() : this;
        r->DoParamEvent(v->OnMouseEnter, params, true);
        Refresh = params.arrayGet(1).toBool();
    }
}

void TkvlReport::DoMouseLeave(TkvlView *v, bool &Refresh)
{
    v->DoMouseLeave(v, Refresh);
    if (OnMouseLeave)
        OnMouseLeave(v);
    if (!v->OnMouseLeave.isEmpty()) {
        Variant params = Variant::arrayOf({rtl::objectToVariant(v), Variant(Refresh)});
        TkvlReport *r = v->Report() ? v->Report() : this;
        r->DoParamEvent(v->OnMouseLeave, params, true);
        Refresh = params.arrayGet(1).toBool();
    }
}

void TkvlReport::DoMouseUp(TkvlView *v, double X, double Y, TMouseButton Button, TShiftState Shift, bool &Refresh)
{
    if (v->OnMouseUp.isEmpty())
        return;
    Variant params = Variant::arrayOf({rtl::objectToVariant(v), Variant(X), Variant(Y), Variant(int(Button)),
                                       Variant(int(Shift)), Variant(Modified)});
    DoParamEvent(v->OnMouseUp, params, true);
    Refresh = params.arrayGet(5).toBool();
}

// ---- progress -----------------------------------------------------------------------------

void TkvlReport::InternalOnProgressStart(TkvlProgressType Kind)
{
    if (FEngineOptions->EnableThreadSafe)
        return;
    if (OnProgressStart)
        OnProgressStart(this, Kind, 0);
    if (ShowProgress && (OldStyleProgress || Kind != ptRunning)) {
        FProgress.reset();
        FProgress = kvlWindows().CreateProgress();
        Progress = FProgress.get();
        if (FProgress)
            FProgress->Execute(0, QString(), true, false);
    }
    if (Kind == ptRunning && FPreview)
        FPreview->InternalOnProgressStart(this, Kind, 0);
    processMessages();
}

void TkvlReport::InternalOnProgress(TkvlProgressType Kind, int Progress_)
{
    if (FEngineOptions->EnableThreadSafe)
        return;
    if (OnProgress)
        OnProgress(this, Kind, Progress_);
    if (ShowProgress && (OldStyleProgress || Kind != ptRunning) && FProgress) {
        QString key;
        switch (Kind) {
        case ptRunning:
            key = FEngine && !FEngine->FinalPass ? QStringLiteral("prRunningFirst") : QStringLiteral("prRunning");
            break;
        case ptExporting: key = QStringLiteral("prExporting"); break;
        case ptPrinting: key = QStringLiteral("prPrinting"); break;
        }
        FProgress->SetMessage(rtl::Format(kvlResourceText(key), {Variant(Progress_)}));
        if (FProgress->Terminated())
            SetTerminated(true);
    }
    if (Kind == ptRunning && FPreview)
        FPreview->InternalOnProgress(this, Kind, Progress_ - 1);
    processMessages();
}

void TkvlReport::InternalOnProgressStop(TkvlProgressType Kind)
{
    if (FEngineOptions->EnableThreadSafe)
        return;
    if (OnProgressStop)
        OnProgressStop(this, Kind, 0);
    if (ShowProgress && (OldStyleProgress || Kind != ptRunning)) {
        FProgress.reset();
        Progress = nullptr;
    }
    if (Kind == ptRunning && FPreview)
        FPreview->InternalOnProgressStop(this, Kind, 0);
    processMessages();
}

void TkvlReport::SetProgressMessage(const QString &Value, bool IsHint)
{
    if (FEngineOptions->EnableThreadSafe)
        return;
    if (OldStyleProgress && FEngine && FEngine->Running && ShowProgress && FProgress)
        FProgress->SetMessage(Value);
    if (FPreview)
        FPreview->ShowProgressMessage(Value, IsHint);
    processMessages();
}
