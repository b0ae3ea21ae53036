// The run as a whole: checks, record sources, report events, dialog pages, the walk over the
// report pages and the one or two passes.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlreportaggregates.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlfactories.h"
#include "report/seams/kvlpreviewpages.h"

LIRRA_DEFINE_CLASS(TkvlEngine)

void TkvlEngine::DeclareClass(rtl::ClassBuilder<TkvlEngine> &) {}

void TkvlHeaderList::RemoveItem(TkvlBand *Band)
{
    for (auto it = FItems.begin(); it != FItems.end(); ++it)
        if (it->Band == Band) {
            FItems.erase(it);
            return;
        }
}

TkvlEngine::TkvlEngine(TkvlReport *AReport)
    : TkvlCustomEngine(AReport), FAggregates(kvlMakeReportAggregates(AReport))
{
}

TkvlEngine::~TkvlEngine() = default;

void TkvlEngine::SetAggregates(std::unique_ptr<TkvlEngineAggregates> Value)
{
    FAggregates = Value ? std::move(Value) : std::make_unique<TkvlEngineAggregates>();
}

bool TkvlEngine::Terminated() const { return Report()->Terminated; }

Variant TkvlEngine::GetAggregateValue(const QString &Name, const QString &Expression, TkvlBand *Band, int Flags)
{
    return FAggregates->GetValue(FCurBand, CurVColumn, Name, Expression, Band, Flags);
}

bool TkvlEngine::Run(bool, bool, TkvlPage *APage)
{
    // A handler of this run (a script, a dialog, a preview button) must not start another.
    if (Running || !Report() || !PreviewPages)
        return false;
    TkvlReport *rep = Report();
    bool result = false;
    try {
        if (!Initialize()) {
            Finalize();
            return false;
        }
        try {
            rep->DataSets()->Initialize();
            rep->DoNotifyEvent(rep, rep->OnStartReport);
            if (RunDialogs()) {
                result = true;
                auto addSource = [this](TkvlPage *p) {
                    PreviewPages->AddSourcePage(p);
                    FAggregates->AddItems(p);
                };
                if (APage) {
                    FPage = rtl_cast<TkvlReportPage>(APage);
                    addSource(APage);
                } else {
                    for (TkvlComponent *c : rep->Objects())
                        if (auto *p = rtl_cast<TkvlReportPage>(c)) {
                            FPage = p;
                            addSource(p);
                        }
                }
                FinalPass = !GetDoublePass();
                TotalPages = 0;
                PreviewPages->BeginPass();
                RunReportPages(APage);
                if (GetDoublePass()) {
                    TotalPages = PreviewPages->GetCount();
                    PreviewPages->CurPage = TotalPages - 1;
                    PreviewPages->ClearFirstPassPages();
                    FAggregates->ClearValues();
                    FinalPass = true;
                    RunReportPages(APage);
                }
            }
        } catch (...) {
            rep->DoNotifyEvent(rep, rep->OnStopReport);
            throw;
        }
        rep->DoNotifyEvent(rep, rep->OnStopReport);
    } catch (...) {
        Finalize();
        throw;
    }
    Finalize();
    // A run that had to end on an error (headers without room, a subreport in itself) failed.
    return result && !FNoRoomReported && !FRunFailed;
}

bool TkvlEngine::Initialize()
{
    TkvlReport *rep = Report();
    FPrevFooterHeight = 0;
    PreviewPages->Initialize();
    PreviewPages->AddPageAction = apAdd;
    StartDate = rtl::Date();
    StartTime = rtl::Time();
    Running = true;
    FKeeping = false;
    FKeepBand = nullptr;
    FTitlePrinted = false;
    CurVColumn = 0;
    FOutputTo = nullptr;
    FRunningPages.clear();
    FRecursiveSubs.clear();
    FNoRoomReported = false;
    FRunFailed = false;
    FFreshPage = -1;
    FHBandNamesTree.clear();
    FPendingEvents.Restart();
    FAggregates->Clear();
    TStringList &errors = rep->Errors();
    for (TkvlComponent *c : rep->Objects())
        if (auto *p = rtl_cast<TkvlReportPage>(c)) {
            FPage = p;
            PreparePage(errors, false);
            PreparePage(errors, true);
        }
    CheckClashes(errors);
    return errors.Count() == 0;
}

void TkvlEngine::CheckClashes(TStringList &Errors)
{
    TkvlReport *rep = Report();
    TkvlDataSet *reportSource = rep->DataSet();
    for (TkvlComponent *c : rep->Objects()) {
        auto *p = rtl_cast<TkvlReportPage>(c);
        if (!p)
            continue;
        if (reportSource && reportSource == p->DataSet()) {
            Errors.Add(QStringLiteral("Cannot use the same dataset for Report.DataSet and Page.DataSet"));
            return;
        }
        for (const auto &ref : p->SubBands) {
            auto *b = rtl_cast<TkvlDataBand>(ref.get());
            if (!b)
                continue;
            if (reportSource && b->DataSet() == reportSource) {
                Errors.Add(QStringLiteral("Cannot use the same dataset for Report.DataSet and Band.DataSet"));
                break;
            }
            if (p->DataSet() && b->DataSet() == p->DataSet()) {
                Errors.Add(QStringLiteral("Cannot use the same dataset for Page.DataSet and Band.DataSet"));
                break;
            }
        }
    }
}

void TkvlEngine::Finalize()
{
    RestoreVBandObjects();
    try {
        Report()->DataSets()->Finalize();
    } catch (...) {
        PreviewPages->Finish();
        Running = false;
        throw;
    }
    PreviewPages->Finish();
    Running = false;
}

bool TkvlEngine::RunDialogs()
{
    TkvlReport *rep = Report();
    if (!rep->OnRunDialogs.trimmed().isEmpty()) {
        Variant params = Variant::arrayOf({Variant(true)});
        rep->DoParamEvent(rep->OnRunDialogs, params);
        return params.arrayGet(0).toBool();
    }
    for (TkvlComponent *c : rep->Objects()) {
        auto *page = rtl_cast<TkvlDialogPage>(c);
        if (!page || !page->Visible())
            continue;
        page->Form()->SetBorderStyle(page->BorderStyle());
        if (page->ObjectCount() == 0)
            continue;
        if (OnRunDialog) {
            TModalResult r = page->ModalResult();
            OnRunDialog(page, r);
            page->SetModalResult(r);
        } else {
            page->ShowModal();
        }
        if (page->ModalResult() == mrCancel)
            return false;
    }
    return true;
}

void TkvlEngine::RunReportPages(TkvlPage *APage)
{
    FFirstReportPage = true;
    if (TkvlDataSet *ds = Report()->DataSet()) {
        ds->First();
        while (!ds->Eof() && !Terminated()) {
            DoPages(APage);
            ds->Next();
        }
    } else {
        DoPages(APage);
    }
}

void TkvlEngine::DoPages(TkvlPage *APage)
{
    if (APage) {
        if (auto *p = rtl_cast<TkvlReportPage>(APage)) {
            FPage = p;
            RunPage(p);
        }
        FFirstReportPage = false;
        return;
    }
    for (TkvlComponent *c : Report()->Objects()) {
        auto *p = rtl_cast<TkvlReportPage>(c);
        if (!p)
            continue;
        FPage = p;
        if (!p->IsSubReport() && p->Visible())
            RunPage(p);
        if (Terminated())
            return;
        FFirstReportPage = false;
    }
}

void TkvlEngine::RunPage(TkvlReportPage *Page)
{
    TkvlReport *rep = Report();
    FIsFirstBand = true;
    FBands.Title = Page->FindBand<TkvlReportTitle>();
    FBands.Summary = Page->FindBand<TkvlReportSummary>();
    FBands.PageHeader = Page->FindBand<TkvlPageHeader>();
    FBands.PageFooter = Page->FindBand<TkvlPageFooter>();
    FBands.ColumnHeader = Page->FindBand<TkvlColumnHeader>();
    FBands.ColumnFooter = Page->FindBand<TkvlColumnFooter>();
    FBands.Overlay = Page->FindBand<TkvlOverlay>();
    rep->DoNotifyEvent(Page, Page->OnBeforePrint);
    FRunningPages.assign(1, Page);
    if (TkvlDataSet *ds = Page->DataSet()) {
        ds->First();
        while (!ds->Eof() && !Terminated()) {
            ShowPage();
            ds->Next();
        }
    } else {
        for (int i = 0; i < Page->PageCount() && !Terminated(); ++i)
            ShowPage();
    }
    rep->DoNotifyEvent(Page, Page->OnAfterPrint);
}

void TkvlEngine::ShowPage()
{
    TkvlReport *rep = Report();
    const bool printIfEmpty = FPage->PrintIfEmpty && rep->EngineOptions()->PrintIfEmpty;
    if (!printIfEmpty && !CanShow(FPage, false))
        return;
    InitPage();
    ShowNullBand();
    if (OnManualBuild)
        OnManualBuild(FPage);
    else if (!FPage->OnManualBuild.trimmed().isEmpty())
        rep->DoNotifyEvent(FPage, FPage->OnManualBuild);
    else
        ShowBandTree(FPage);
    FIsLastPage = true;
    if (FPage->EndlessHeight || FPage->EndlessWidth) {
        const double width = FPage->EndlessWidth
                                 ? FPage->LeftMargin * kvlPixelsPerMm + PageWidth + FPage->RightMargin * kvlPixelsPerMm
                                 : FPage->PaperWidth() * kvlPixelsPerMm;
        double height = FPage->PaperHeight() * kvlPixelsPerMm;
        if (FPage->EndlessHeight) {
            PageHeight = FooterHeight() + CurY;
            height = GetPageHeight() + (FPage->TopMargin + FPage->BottomMargin) * kvlPixelsPerMm;
        }
        UpdateEndlessPage(width, height);
    }
    EndPage();
    FIsLastPage = false;
}

// The current prepared page takes new dimensions (pixels).
void TkvlEngine::UpdateEndlessPage(double Width, double Height)
{
    PreviewPages->UpdatePageDimensions(FPage, Width, Height);
}

// The page's objects that are not bands print once, behind the bands, through a band of
// their own that borrows them for the moment.
void TkvlEngine::ShowNullBand()
{
    std::vector<std::pair<TkvlComponent *, int>> borrowed;
    for (int i = 0; i < FPage->ObjectCount(); ++i) {
        TkvlComponent *o = FPage->Object(i);
        if (!o->Is<TkvlBand>() && o->Is<TkvlReportComponent>())
            borrowed.emplace_back(o, i);
    }
    if (borrowed.empty())
        return;
    auto *band = new TkvlNullBand(FPage);
    const double y = CurY;
    try {
        band->SetBounds(0, 0, PageWidth, GetPageHeight());
        for (auto &[o, index] : borrowed)
            o->SetParent(band);
        ShowBand(band);
    } catch (...) {
        for (auto &[o, index] : borrowed)
            o->SetParentAt(FPage, index);
        delete band;
        CurY = y;
        throw;
    }
    for (auto &[o, index] : borrowed)
        o->SetParentAt(FPage, index);
    delete band;
    CurY = y;
}

void TkvlEngine::NotifyObjects(TkvlBand *Band)
{
    for (auto &ref : NotifyList)
        if (TkvlComponent *c = ref.get())
            c->OnNotify(Band);
}

void kvlRegisterBandEngine()
{
    kvlEngineFactory = [](TkvlReport *Report) -> std::unique_ptr<TkvlCustomEngine> {
        return std::make_unique<TkvlEngine>(Report);
    };
}
