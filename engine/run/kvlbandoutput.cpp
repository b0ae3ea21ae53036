// Placing bands on the prepared page: stretching to their content, page and column breaks,
// headers reprinted on each new page, footers, summary and overlays.
#include "engine/run/kvlengine.h"

#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlstretch.h"

#include <cmath>

namespace {

constexpr double kTolerance = 1e-4;

// A band's height with its chain of child bands.
double heightWithChildren(const TkvlBand *Band)
{
    double h = 0;
    for (const TkvlBand *b = Band; b; b = b->Child())
        h += b->Height();
    return h;
}

} // namespace

// ---- sizes -----------------------------------------------------------------------------

double TkvlEngine::GetPageHeight()
{
    if (FPage && FPage->EndlessHeight)
        return FooterHeight() + CurY;
    return PageHeight;
}

double TkvlEngine::HeaderHeight()
{
    return heightWithChildren(FBands.ColumnHeader) + heightWithChildren(FBands.PageHeader);
}

double TkvlEngine::FooterHeight()
{
    return (FBands.ColumnFooter ? FBands.ColumnFooter->Height() : 0) +
           (FBands.PageFooter ? FBands.PageFooter->Height() : 0);
}

double TkvlEngine::FreeSpace()
{
    if (FPage && FPage->EndlessHeight)
        return 1000000;
    if (FPrevFooterHeight != 0)
        return GetPageHeight() - FPrevFooterHeight - CurY;
    return GetPageHeight() - FooterHeight() - CurY;
}

// ---- pages -----------------------------------------------------------------------------

void TkvlEngine::InitPage()
{
    FHeaderList.Clear();
    if (FPage->TitleBeforeHeader) {
        FHeaderList.AddItem(FBands.Title, 0, false);
        FHeaderList.AddItem(FBands.PageHeader, 0, false);
    } else {
        FHeaderList.AddItem(FBands.PageHeader, 0, false);
        FHeaderList.AddItem(FBands.Title, 0, false);
    }
    PageHeight = (FPage->PaperHeight() - FPage->TopMargin - FPage->BottomMargin) * kvlPixelsPerMm;
    PageWidth = (FPage->PaperWidth() - FPage->LeftMargin - FPage->RightMargin) * kvlPixelsPerMm;
    CurX = 0;
    CurY = 0;
    CurColumn = 1;
    FPageCurX = 0;
    FIsFirstPage = true;
    FIsLastPage = false;
    OutlineRoot();
    if (FPage->ResetPageNumbers)
        PreviewPages->ResetLogicalPageNumber();
    AddPage();
    FFirstColumnY = CurY;
    if (FFirstReportPage)
        PreviewPages->FirstPage = PreviewPages->CurPage;
    if (FBands.ColumnHeader) {
        ShowBand(FBands.ColumnHeader);
        FHeaderList.AddItem(FBands.ColumnHeader, 0, false);
    }
    if (FBands.Title)
        FHeaderList.RemoveItem(FBands.Title);
    AddPageOutline();
}

void TkvlEngine::AddPage()
{
    FPrevFooterHeight = 0;
    PreviewPages->AddPage(FPage);
    CurY = 0;
    if (auto *overlay = static_cast<TkvlOverlay *>(FBands.Overlay); overlay && !overlay->PrintOnTop) {
        ShowBand(overlay);
        CurY = 0;
    }
    FFirstColumnY = 0;
    const double savedX = CurX;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TkvlHeaderList::Item item = FHeaderList.Items(i);
        TkvlBand *band = item.Band;
        CurX = item.Left;
        if (!band || band == FStartNewPageBand)
            continue;
        if (FIsFirstPage && band->Is<TkvlPageHeader>() && !static_cast<TkvlPageHeader *>(band)->PrintOnFirstPage) {
            if (!band->PrintChildIfInvisible)
                continue;
            band = band->Child();
            if (!band)
                continue;
        }
        const bool isHeader = band->Is<TkvlHeader>();
        if (((isHeader && FKeepHeader) || item.IsInKeepList) && !FKeepFooter)
            continue;
        if (isHeader && (FDontShowHeaders || band == FLastBandOnPage))
            continue;
        if (band->Is<TkvlGroupHeader>() && FDontShowHeaders)
            continue;
        const int line = CurLine, lineThrough = CurLineThrough;
        CurLine = band->LineN;
        CurLineThrough = band->LineThrough;
        band->Overflow = true;
        FCallFromAddPage = true;
        FCallFromPHeader = item.Band->Is<TkvlPageHeader>();
        try {
            ShowBand(band);
        } catch (...) {
            band->Overflow = false;
            FCallFromAddPage = FCallFromPHeader = false;
            throw;
        }
        band->Overflow = false;
        FCallFromAddPage = FCallFromPHeader = false;
        CurLine = line;
        CurLineThrough = lineThrough;
        if (band->Is<TkvlReportTitle>()) {
            if (i < FHeaderList.Count() && FHeaderList.Items(i).Band == band)
                FHeaderList.Items(i).Band = nullptr;
            if (FIsFirstBand)
                FTitlePrinted = true;
        }
        if (band->Is<TkvlPageHeader>())
            FFirstColumnY = band->StretchedHeight;
    }
    CurX = savedX;
}

void TkvlEngine::AddColumn()
{
    ++CurColumn;
    const QStringList &positions = FPage->ColumnPositions().toQStringList();
    double x = 0;
    if (CurColumn - 1 < positions.size())
        x = QString(positions[CurColumn - 1]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble() * kvlPixelsPerMm;
    CurY = FFirstColumnY;
    for (int i = 0; i < FHeaderList.Count(); ++i) {
        const TkvlHeaderList::Item item = FHeaderList.Items(i);
        if (!item.Band || item.Band->Is<TkvlPageHeader>() || item.Band == FLastBandOnPage || item.IsInKeepList ||
            FKeepHeader)
            continue;
        for (TkvlBand *b = item.Band; b; b = b->Child())
            PlaceBand(b, FPageCurX + x + item.Left, false);
    }
    CurX = FPageCurX + x;
}

void TkvlEngine::EndColumn()
{
    if (FBands.ColumnFooter)
        PlaceBand(FBands.ColumnFooter, CurX - FPageCurX, false);
}

void TkvlEngine::NewColumn()
{
    if (CurColumn >= FPage->Columns()) {
        NewPage();
        return;
    }
    FLastBandOnPage = FCurBand;
    EndColumn();
    AddColumn();
    FLastBandOnPage = nullptr;
    if (FKeeping)
        FAggregates->EndKeep();
    FKeeping = false;
    FKeepHeader = false;
}

void TkvlEngine::NewPage()
{
    FLastBandOnPage = FCurBand;
    EndPage();
    if (FPage->EndlessHeight)
        UpdateEndlessPage(FPage->LeftMargin * kvlPixelsPerMm + PageWidth + FPage->RightMargin * kvlPixelsPerMm,
                          FooterHeight() + CurY + (FPage->TopMargin + FPage->BottomMargin) * kvlPixelsPerMm);
    AddPage();
    FLastBandOnPage = nullptr;
    if (FKeeping)
        FAggregates->EndKeep();
    FKeeping = false;
    FKeepHeader = false;
    FKeepCurY = 0;
    FKeepBand = nullptr;
    AddPageOutline();
}

void TkvlEngine::EndPage()
{
    const bool reentered = FCallFromEndPage;
    if (!reentered)
        EndColumn();
    if (!FIsLastPage) {
        CurX = FPageCurX;
        CurColumn = 1;
    }
    if (FIsLastPage && !reentered) {
        FCallFromEndPage = true;
        try {
            ShowBand(FBands.Summary);
        } catch (...) {
            FCallFromEndPage = false;
            throw;
        }
        FCallFromEndPage = false;
        if (FPage->EndlessHeight)
            UpdateEndlessPage(FPage->LeftMargin * kvlPixelsPerMm + PageWidth + FPage->RightMargin * kvlPixelsPerMm,
                              GetPageHeight() + (FPage->TopMargin + FPage->BottomMargin) * kvlPixelsPerMm);
    }
    if (auto *footer = static_cast<TkvlPageFooter *>(FBands.PageFooter)) {
        CurY = GetPageHeight() - footer->Height();
        FPrevFooterHeight = FIsLastPage && footer->PrintOnLastPage && !reentered ? footer->Height() : 0;
        const bool suppressed =
            (FIsFirstPage && !footer->PrintOnFirstPage) || (FIsLastPage && !footer->PrintOnLastPage && !reentered);
        Stretch(footer);
        try {
            if (footer->Visible() && !suppressed) {
                footer->SetLeft(0);
                footer->SetTop(CurY);
                if (FinalPass)
                    footer->CreateFillMemo();
                if (!PreviewPages->BandExists(footer))
                    PreviewPages->AddObject(footer);
                CurY += footer->Height();
            }
        } catch (...) {
            UnStretch(footer);
            throw;
        }
        UnStretch(footer);
        if (!suppressed)
            FAggregates->Reset(footer);
    }
    if (auto *overlay = static_cast<TkvlOverlay *>(FBands.Overlay); overlay && overlay->PrintOnTop) {
        CurY = 0;
        PlaceBand(overlay, 0, false);
    }
    FIsFirstPage = false;
}

// ---- bands -----------------------------------------------------------------------------

void TkvlEngine::ShowBand(const rtl::ClassInfo *BandClass)
{
    if (FPage)
        ShowBand(FPage->FindBand(BandClass));
}

void TkvlEngine::ShowBand(TkvlBand *Band)
{
    if (!Band)
        return;
    if (Band->KeepChild)
        StartKeep(Band);
    DoShow(Band);
    auto *data = rtl_cast<TkvlDataBand>(Band);
    TkvlBand *child = Band->Child();
    if (child && !(data && data->CurColumn() > 1) && (Band->Visible() || Band->PrintChildIfInvisible)) {
        FIsFirstBand = false;
        ShowBand(child);
    }
    if (Band->KeepChild)
        EndKeep(Band);
    if (data)
        FAggregates->AddValue(Band, 0);
}

void TkvlEngine::DoShow(TkvlBand *Band)
{
    auto *data = rtl_cast<TkvlDataBand>(Band);
    const bool isGroupHeader = Band->Is<TkvlGroupHeader>();
    if (!FCallFromAddPage && Band->Visible() && Band->StartNewPage && !FOutputTo &&
        (!(data || isGroupHeader) || Band->LineN != 1)) {
        FStartNewPageBand = Band;
        if (isGroupHeader && static_cast<TkvlGroupHeader *>(Band)->ResetPageNumbers)
            PreviewPages->ResetLogicalPageNumber();
        NewPage();
        FStartNewPageBand = nullptr;
    }
    Stretch(Band);
    Band->StretchedHeight = Band->Height();
    try {
        if (Band->Visible()) {
            const bool isNull = Band->Is<TkvlNullBand>();
            const bool fitTest = !(data && data->Columns > 1) && !Band->Is<TkvlOverlay>() && !isNull;
            // Headers reprinted on a fresh page are not tested: breaking again would never end.
            if (fitTest && !FCallFromAddPage && !FOutputTo && FreeSpace() < Band->Height() - kTolerance) {
                // A band taller than a whole page goes where it stands (split comes later);
                // anything else moves to the next column or page.
                const bool tallerThanPage = Band->Height() > GetPageHeight() - FooterHeight();
                if (!tallerThanPage && !(Band->Is<TkvlChild>() && FCallFromPHeader))
                    NewColumn();
            }
            if (!isNull) {
                Band->SetLeft(data && data->Columns > 1 ? Band->Left() + CurX : CurX);
                Band->SetTop(CurY);
            }
            if (FinalPass)
                Band->CreateFillMemo();
            if (!FCallFromAddPage || !PreviewPages->BandExists(Band))
                PreviewPages->AddObject(Band);
            CurY += Band->Height();
        }
    } catch (...) {
        UnStretch(Band);
        throw;
    }
    UnStretch(Band);
    FAggregates->Reset(Band);
}

// Stretch, place and add without a fit test; for bands at fixed places of the page.
void TkvlEngine::PlaceBand(TkvlBand *Band, double X, bool OnlyIfAbsent)
{
    Stretch(Band);
    Band->StretchedHeight = Band->Height();
    try {
        if (Band->Visible()) {
            Band->SetLeft(X);
            Band->SetTop(CurY);
            if (FinalPass)
                Band->CreateFillMemo();
            if (!OnlyIfAbsent || !PreviewPages->BandExists(Band))
                PreviewPages->AddObject(Band);
            CurY += Band->Height();
        }
    } catch (...) {
        UnStretch(Band);
        throw;
    }
    UnStretch(Band);
    FAggregates->Reset(Band);
}

void TkvlEngine::Stretch(TkvlBand *Band)
{
    TkvlReport *rep = Report();
    FCurBand = Band;
    rep->CurObject = Band->Name();
    Band->BeforePrint();
    DoBeforePrint(Band);
    const bool bandVisible = Band->Visible();
    bool anyGrew = false;
    for (TkvlComponent *c : Band->Objects()) {
        auto *o = rtl_cast<TkvlReportComponent>(c);
        if (!o)
            continue;
        rep->CurObject = o->Name();
        o->BeforePrint();
        if (bandVisible) {
            DoBeforePrint(o);
            if (o->Visible()) {
                o->GetData();
                rep->DoNotifyEvent(o, o->OnAfterData);
            }
        }
        if (bandVisible && o->Visible())
            if (auto *s = rtl_cast<TkvlStretcheable>(o); s && s->StretchMode != smDontStretch) {
                const double h = s->CalcHeight();
                if (h > s->Height()) {
                    s->SetHeight(h);
                    anyGrew = true;
                }
            }
    }
    (void)anyGrew;  // objects below growing ones move with the shift tree
    if (!bandVisible)
        return;
    double bottom = 0;
    for (TkvlComponent *c : Band->Objects())
        if (c->Is<TkvlReportComponent>())
            bottom = std::max(bottom, c->Top() + c->Height());
    if (Band->Stretched)
        Band->SetHeight(bottom);
    rep->DoNotifyEvent(Band, Band->OnAfterCalcHeight);
    for (TkvlComponent *c : Band->Objects())
        if (auto *s = rtl_cast<TkvlStretcheable>(c); s && s->StretchMode == smMaxHeight)
            s->SetHeight(bottom - s->Top());
}

void TkvlEngine::UnStretch(TkvlBand *Band)
{
    TkvlReport *rep = Report();
    TkvlComponent *fill = Band->FillMemo();
    if (Band->Visible())
        for (TkvlComponent *c : Band->Objects())
            if (c != fill && c->Is<TkvlReportComponent>()) {
                rep->CurObject = c->Name();
                DoAfterPrint(c);
            }
    for (TkvlComponent *c : Band->Objects())
        if (c != fill)
            if (auto *o = rtl_cast<TkvlReportComponent>(c))
                o->AfterPrint();
    DoAfterPrint(Band);
    Band->AfterPrint();
    if (FinalPass)
        Band->DisposeFillMemo();
}

// Script events of printing objects; the report's host events join them there.
void TkvlEngine::DoBeforePrint(TkvlComponent *Obj)
{
    if (auto *o = rtl_cast<TkvlReportComponent>(Obj))
        Report()->DoNotifyEvent(o, o->OnBeforePrint);
}

void TkvlEngine::DoAfterPrint(TkvlComponent *Obj)
{
    if (auto *o = rtl_cast<TkvlReportComponent>(Obj))
        Report()->DoNotifyEvent(o, o->OnAfterPrint);
}

// ---- keep together: the state only; moving kept blocks comes with band splitting ------

void TkvlEngine::StartKeep(TkvlBand *Band, int Position)
{
    if (FKeeping || FIsFirstBand)
        return;
    FKeepCurY = CurY;
    FKeeping = true;
    FKeepBand = Band;
    FKeepPosition = Position != 0 ? Position : PreviewPages->GetCurPosition();
    FKeepAnchor = PreviewPages->GetAnchorCurPosition();
    FAggregates->StartKeep();
}

void TkvlEngine::EndKeep(TkvlBand *Band)
{
    if (Band != FKeepBand || !FKeeping)
        return;
    FKeepCurY = 0;
    FKeeping = false;
    FKeepBand = nullptr;
    FAggregates->EndKeep();
    FKeepHeader = false;
}

void TkvlEngine::BreakAllKeep()
{
    if (FKeeping)
        EndKeep(FKeepBand);
}

// ---- outline ---------------------------------------------------------------------------

TkvlCustomOutline *TkvlEngine::Outline() const { return PreviewPages ? PreviewPages->Outline.get() : nullptr; }

void TkvlEngine::AddBandOutline(TkvlBand *Band)
{
    TkvlCustomOutline *outline = Outline();
    if (!outline || Band->OutlineText.isEmpty())
        return;
    const double h = Band->Stretched ? Band->StretchedHeight : Band->Height();
    const int top = int(std::lround(CurY - h));
    if (Band->Visible()) {
        outline->AddItem(Report()->Calc(Band->OutlineText).toString(), top);
        outline->LevelDown(outline->GetCount() - 1);
    }
}

void TkvlEngine::OutlineUp(TkvlBand *Band)
{
    if (TkvlCustomOutline *outline = Outline(); outline && !Band->OutlineText.isEmpty())
        outline->LevelUp();
}

void TkvlEngine::AddPageOutline()
{
    TkvlCustomOutline *outline = Outline();
    if (!outline || FPage->OutlineText.isEmpty())
        return;
    outline->LevelRoot();
    outline->AddItem(Report()->Calc(FPage->OutlineText).toString(), 0);
}

void TkvlEngine::OutlineRoot()
{
    if (TkvlCustomOutline *outline = Outline())
        outline->LevelRoot();
}
