// Placing bands on the prepared page: stretching to their content, page and column breaks,
// headers reprinted on each new page, footers, summary and overlays.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/bands/kvlsubreport.h"
#include "report/dmp/kvldmpgrid.h"
#include "report/dmp/kvldmpviews.h"
#include "report/views/kvlstretch.h"

#include <cmath>
#include <utility>

namespace {

using kvlengine::kTolerance;

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
    FVMasterBand = nullptr;
    FIsFirstPage = true;
    FIsLastPage = false;
    OutlineRoot();
    if (FPage->ResetPageNumbers)
        PreviewPages->ResetLogicalPageNumber();
    // Continuing on the last prepared page: the space there is not a fresh page's.
    const bool continued = PreviewPages->GetCount() > 0 && FPage->PrintOnPreviousPage;
    if (continued) {
        // Output goes on below what the last prepared page holds.
        PreviewPages->CurPage = PreviewPages->GetCount() - 1;
        int column = 0;
        double x = 0;
        PreviewPages->GetLastColumnPos(column, x);
        CurX = x;
        const bool titleHere = FBands.Title && FPage->ShowTitleOnPreviousPage;
        if (FPage->Columns() < 2 || titleHere) {
            CurX = 0;
            column = 0;
        }
        CurY = PreviewPages->GetLastY(CurX);
        if (column != 0)
            CurColumn = column;
        else
            FFirstColumnY = CurY;
        FHeaderList.RemoveItem(FBands.Title);
        if (FPage->Columns() < 2 || titleHere) {
            CurColumn = FPage->Columns();
            ShowBand(FBands.Title);
            CurColumn = 1;
            FFirstColumnY = CurY;
        }
    } else {
        AddPage();
        FFirstColumnY = CurY;
    }
    if (FFirstReportPage)
        PreviewPages->FirstPage = PreviewPages->CurPage;
    if (FBands.ColumnHeader) {
        ShowBand(FBands.ColumnHeader);
        FHeaderList.AddItem(FBands.ColumnHeader, 0, false);
        if (!continued) {
            MarkFreshSpace();
            CheckRoomLeft();
        }
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
    MarkFreshSpace();
    CheckRoomLeft();
}

void TkvlEngine::MarkFreshSpace()
{
    FFreshPage = PreviewPages->CurPage;
    FFreshColumn = CurColumn;
    FFreshY = CurY;
}

bool TkvlEngine::SpaceIsEmpty() const
{
    return PreviewPages->CurPage == FFreshPage && CurColumn == FFreshColumn && CurY <= FFreshY + kTolerance;
}

void TkvlEngine::CheckRoomLeft()
{
    if (FPage->EndlessHeight || FOutputTo || FNoRoomReported || FreeSpace() > kTolerance)
        return;
    FNoRoomReported = true;
    Report()->Errors().Add(QStringLiteral("The headers and footers of page %1 leave no room for its bands")
                               .arg(FPage->Name()));
    Report()->Terminated = true;
}

void TkvlEngine::AddColumn()
{
    ++CurColumn;
    const double x = ColumnOffset(CurColumn);
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
    MarkFreshSpace();
}

double TkvlEngine::ColumnOffset(int Column) const
{
    const QStringList &positions = FPage->ColumnPositions().toQStringList();
    if (Column < 1 || Column > positions.size())
        return 0;
    return QString(positions[Column - 1]).replace(QLatin1Char(','), QLatin1Char('.')).toDouble() * kvlPixelsPerMm;
}

void TkvlEngine::EndColumn()
{
    if (FInPagesAcross)
        return;
    const int across = std::exchange(FPagesAcross, 1);
    TkvlBand *footer = FBands.ColumnFooter;
    if (!footer)
        return;
    if (across <= 1) {
        PlaceBand(footer, CurX - FPageCurX, false);
        return;
    }
    // The same footer, made once, under the same content on each page across.
    const int page = PreviewPages->CurPage;
    Stretch(footer);
    footer->StretchedHeight = footer->Height();
    try {
        if (footer->Visible()) {
            footer->SetLeft(CurX - FPageCurX);
            footer->SetTop(CurY);
            if (FinalPass)
                footer->CreateFillMemo();
            for (int k = 0; k < across && page + k < PreviewPages->GetCount(); ++k) {
                PreviewPages->CurPage = page + k;
                PreviewPages->AddObject(footer);
            }
            PreviewPages->CurPage = page;
            CurY += footer->Height();
        }
    } catch (...) {
        PreviewPages->CurPage = page;
        UnStretch(footer);
        throw;
    }
    UnStretch(footer);
    FAggregates->Reset(footer);
}

void TkvlEngine::AbandonKeep()
{
    FKeeping = false;
    FAggregates->EndKeep();
    if (FKeepBand && FKeepBand->Is<TkvlGroupHeader>()) {
        RemoveFromHeaderList(FKeepBand);
        AddToHeaderList(FKeepBand);
    }
}

bool TkvlEngine::KeepStartsAtTop() const
{
    return FKeepPage == PreviewPages->CurPage && FKeepColumn == CurColumn && FFreshPage == FKeepPage &&
           FFreshColumn == FKeepColumn && FKeepCurY <= FFreshY + kTolerance;
}

void TkvlEngine::CutKeepBlock()
{
    if (FKeepFooter)
        FAggregates->DeleteValue(FKeepBand);
    PreviewPages->CutObjects(FKeepPosition);
}

void TkvlEngine::PasteKeepBlock(double X)
{
    FAggregates->EndKeep();
    PreviewPages->PasteObjects(X, CurY);
    const int top = int(std::lround(CurY));
    if (TkvlCustomOutline *outline = Outline())
        outline->ShiftItems(FKeepOutline, top);
    PreviewPages->ShiftAnchors(FKeepAnchor, top);
    CurY = PreviewPages->GetLastY(X);
    if (FKeepFooter)
        FAggregates->AddValue(FKeepBand, 0);
}

void TkvlEngine::NewColumn()
{
    if (CurColumn >= FPage->Columns()) {
        NewPage();
        return;
    }
    if (FKeeping && KeepStartsAtTop())
        AbandonKeep();  // moving the block would gain no room
    if (FKeeping) {
        CutKeepBlock();
        CurY = PreviewPages->GetLastY(0);
    }
    FLastBandOnPage = FCurBand;
    EndColumn();
    AddColumn();
    FLastBandOnPage = nullptr;
    if (FKeeping)
        PasteKeepBlock(CurX);
    FKeeping = false;
    FKeepHeader = false;
}

void TkvlEngine::NewPage()
{
    if (FKeeping && FKeepBand) {
        const bool tooTall = CurY - FKeepCurY + FKeepBand->Height() > GetPageHeight() - FooterHeight();
        if (tooTall || KeepStartsAtTop())
            AbandonKeep();
    }
    TkvlBand *travelling = nullptr;  // the header that goes with the cut block
    if (FKeeping) {
        CutKeepBlock();
        if (std::fabs(PreviewPages->GetLastY(0) - CurY) >= kTolerance)
            if (auto *data = rtl_cast<TkvlDataBand>(FCurBand); data && data->KeepHeader && data->Header) {
                travelling = data->Header.get();
                RemoveFromHeaderList(travelling);
            }
    }
    FLastBandOnPage = FCurBand;
    EndPage();
    if (FPage->EndlessHeight)
        UpdateEndlessPage(FPage->LeftMargin * kvlPixelsPerMm + PageWidth + FPage->RightMargin * kvlPixelsPerMm,
                          FooterHeight() + CurY + (FPage->TopMargin + FPage->BottomMargin) * kvlPixelsPerMm);
    AddPage();
    FLastBandOnPage = nullptr;
    if (FKeeping) {
        PasteKeepBlock(0);
        AddToHeaderList(travelling);
    }
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
    if (FPage->Columns() > 1)
        PreviewPages->UpdatePageLastColumn(CurColumn, false, CurX);
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
    if (Band->Vertical()) {
        AddVBand(Band);
        return;
    }
    // A band crossing vertical bands makes its cells first.
    TkvlBand *vmaster = nullptr;
    std::vector<int> vpages;
    double vx = 0;
    if (Band->HasVBands && !Band->Is<TkvlPageHeader>()) {
        vx = CurX;
        Report()->CurObject = Band->Name();
        Band->BeforePrint();
        DoBeforePrint(Band);
        ShowVBands(Band);
        CurX = 0;
        CurLine = Band->LineN;
        CurLineThrough = Band->LineThrough;
        PreviewPages->AddPageAction = apAdd;
        vmaster = FVMasterBand;
        vpages = FVPageList;
    }
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
            bool drawn = false;
            // Headers reprinted on a fresh page are not tested: they are what makes it fresh.
            if (fitTest && !FCallFromAddPage && !FOutputTo && !Terminated() &&
                FreeSpace() < Band->Height() - kTolerance) {
                const bool tallerThanPage = Band->Height() > GetPageHeight() - FooterHeight();
                if ((Band->AllowSplit && !FKeeping && !Band->HasVBands) || (tallerThanPage && !Band->HasVBands)) {
                    if (!Band->AllowSplit && Band->LineThrough > 1 && !Band->StartNewPage && !SpaceIsEmpty()) {
                        FCurBand = Band;
                        NewColumn();
                    }
                    if (FKeeping)
                        EndKeep(Band);
                    DrawSplit(Band);
                    drawn = true;
                } else if (!SpaceIsEmpty()) {
                    // Space holding only reprinted headers gets the band, cut at the bottom:
                    // another break would find no more room.
                    if (!FKeeping)
                        CheckSuppress(Band);
                    if (!(Band->Is<TkvlChild>() && FCallFromPHeader))
                        NewColumn();
                }
            }
            if (!drawn && FOutputTo) {
                if (!isNull) {
                    Band->SetLeft(CurX);
                    Band->SetTop(CurY);
                }
                CollectBand(Band);
                CurY += Band->Height();
            } else if (!drawn && vmaster) {
                FVMasterBand = vmaster;
                FVPageList = vpages;
                Band->SetLeft(0);
                Band->SetTop(CurY);
                if (FinalPass)
                    Band->CreateFillMemo();
                RenderVBand(Band, vx);
                CurY += Band->Height();
            } else if (!drawn) {
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
        }
    } catch (...) {
        UnStretch(Band);
        throw;
    }
    UnStretch(Band);
    FAggregates->Reset(Band);
    if (Band->Visible() && !FOutputTo)
        CheckSubReports(Band);
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
    if (Band->ShiftChildren.empty())
        PrepareShiftTree(Band);
    const bool vmaster = Band == FVMasterBand;
    if (!vmaster) {
        rep->CurObject = Band->Name();
        Band->BeforePrint();
        DoBeforePrint(Band);
    }
    const bool bandVisible = Band->Visible();
    const int own = vmaster && Band->OriginalObjectsCount >= 0 ? Band->OriginalObjectsCount : Band->ObjectCount();
    bool onParent = false;
    FGrowth.clear();
    for (int i = 0; i < own; ++i) {
        auto *o = rtl_cast<TkvlReportComponent>(Band->Object(i));
        if (!o)
            continue;
        if (auto *sub = rtl_cast<TkvlSubreport>(o); sub && sub->PrintOnParent)
            onParent = true;
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
                    FGrowth.emplace(o, h - s->Height());
                    s->SetHeight(h);
                }
            }
    }
    if (!bandVisible)
        return;
    if (!FGrowth.empty())
        ShiftObjects(Band, 0, true);
    if (onParent)
        PrintSubreportsOnParent(Band);
    double bottom = 0;
    TkvlComponent *lowest = nullptr;
    for (TkvlComponent *c : Band->Objects())
        if (c->Is<TkvlReportComponent>() && c->Top() + c->Height() > bottom) {
            bottom = c->Top() + c->Height();
            lowest = c;
        }
    // A dot-matrix frame's bottom line takes a character row of its own.
    auto bottomLine = [](TkvlComponent *c) {
        auto *m = rtl_cast<TkvlDMPMemoView>(c);
        return m && (m->Frame()->Typ() & kvlFrameBit(ftBottom)) != 0;
    };
    if (bottomLine(lowest))
        bottom += kvlCharY;
    if (Band->Stretched)
        Band->SetHeight(bottom);
    rep->DoNotifyEvent(Band, Band->OnAfterCalcHeight);
    for (TkvlComponent *c : Band->Objects())
        if (auto *s = rtl_cast<TkvlStretcheable>(c); s && s->StretchMode == smMaxHeight)
            s->SetHeight(bottom - s->Top() - (bottomLine(c) ? kvlCharY : 0));
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
    // The cells of a vertical master band are not its own: they go below.
    const int own = Band == FVMasterBand && Band->OriginalObjectsCount >= 0
                        ? Band->OriginalObjectsCount + (fill && Band->Object(0) == fill ? 1 : 0)
                        : Band->ObjectCount();
    for (int i = 0; i < own; ++i)
        if (TkvlComponent *c = Band->Object(i); c != fill)
            if (auto *o = rtl_cast<TkvlReportComponent>(c))
                o->AfterPrint();
    DoAfterPrint(Band);
    Band->AfterPrint();
    if (FinalPass)
        Band->DisposeFillMemo();
    // Objects merged from subreports or made for vertical cells live only while the band prints.
    if (Band->OriginalObjectsCount >= 0) {
        while (Band->ObjectCount() > Band->OriginalObjectsCount)
            delete Band->Object(Band->ObjectCount() - 1);
        Band->OriginalObjectsCount = -1;
    }
}

// The host's before/after-print events and the object's own script procedures.
void TkvlEngine::DoBeforePrint(TkvlComponent *Obj) { Report()->DoBeforePrint(Obj); }

void TkvlEngine::DoAfterPrint(TkvlComponent *Obj) { Report()->DoAfterPrint(Obj); }

// ---- keep together ---------------------------------------------------------------------

void TkvlEngine::StartKeep(TkvlBand *Band, int Position)
{
    if (FKeeping || FIsFirstBand)
        return;
    FKeepCurY = CurY;
    FKeeping = true;
    FKeepBand = Band;
    FKeepPosition = Position != 0 ? Position : PreviewPages->GetCurPosition();
    FKeepAnchor = PreviewPages->GetAnchorCurPosition();
    FKeepOutline = Outline() ? Outline()->GetCurPosition() : nullptr;
    FKeepPage = PreviewPages->CurPage;
    FKeepColumn = CurColumn;
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
