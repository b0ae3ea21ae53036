// Vertical bands: bands that run across the page from left to right. Every horizontal band
// crossing them prints one cell per vertical row; cells past the page's width continue on
// further pages, filled row by row in step with the horizontal bands.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlpreviewpages.h"

#include <algorithm>

namespace {

using kvlengine::kTolerance;
using kvlengine::SourceOf;

} // namespace

void TkvlEngine::MoveIntoVBands()
{
    std::vector<TkvlBand *> vertical;
    for (TkvlComponent *c : FPage->Objects())
        if (auto *b = rtl_cast<TkvlBand>(c); b && b->Vertical())
            vertical.push_back(b);
    if (vertical.empty())
        return;
    for (TkvlComponent *c : FPage->Objects()) {
        auto *h = rtl_cast<TkvlBand>(c);
        if (!h || h->Vertical() || h->Is<TkvlOverlay>())
            continue;
        for (TkvlBand *v : vertical)
            for (int i = 0; i < h->ObjectCount();) {
                TkvlComponent *o = h->Object(i);
                const bool inside = o->Is<TkvlReportComponent>() && o->Left() >= v->Left() - kTolerance &&
                                    o->Left() + o->Width() <= v->Left() + v->Width() + kTolerance;
                if (!inside) {
                    ++i;
                    continue;
                }
                FMovedToVBands.push_back({o, h, i, o->Left()});
                o->SetParent(v);
                o->OriginalBand = h;
                o->SetLeft(o->Left() - v->Left());
                h->HasVBands = true;
            }
    }
}

void TkvlEngine::RestoreVBandObjects()
{
    // Back to their bands in reverse order, so every object regains its place.
    for (auto it = FMovedToVBands.rbegin(); it != FMovedToVBands.rend(); ++it) {
        TkvlComponent *o = it->Obj.get();
        TkvlComponent *band = it->Band.get();
        if (!o || !band)
            continue;
        o->SetParentAt(band, it->Index);
        o->SetLeft(it->Left);
        o->OriginalBand = nullptr;
    }
    FMovedToVBands.clear();
}

void TkvlEngine::ShowVBands(TkvlBand *Band)
{
    FVMasterBand = Band;
    Band->OriginalObjectsCount = Band->ObjectCount();
    const int page = PreviewPages->CurPage;
    FVHeaderList.clear();
    FVPageList.assign(1, 0);
    CurVColumn = 0;
    ShowVBandTree(FPage->VSubBands);
    FVPageList.push_back(Band->ObjectCount());
    PreviewPages->CurPage = page;
}

void TkvlEngine::ShowVBandTree(const std::vector<rtl::ComponentRef<TkvlBand>> &Bands)
{
    for (const auto &ref : Bands) {
        if (Terminated())
            return;
        auto *b = rtl_cast<TkvlDataBand>(ref.get());
        TkvlDataSet *ds = b ? SourceOf(b) : nullptr;
        if (!ds)
            continue;
        TkvlBand *header = b->Header.get(), *footer = b->Footer.get();
        auto *group = static_cast<TkvlGroupHeader *>(b->Group.get());
        ds->First();
        b->LineN = 1;
        b->LineThrough = 1;
        b->SetCurColumn(1);
        CurLine = b->LineN;
        CurLineThrough = b->LineThrough;
        ResetSuppressValues(b);
        bool any = false;
        while (!ds->Eof()) {
            if (!any) {
                ShowBand(header);
                AddToHeaderList(header);
            }
            if (group) {
                if (!any)
                    InitGroups(b, group, true, 0);
                else
                    CheckGroups(b, group, 0, 0);
            }
            CurLine = b->LineN;
            CurLineThrough = b->LineThrough;
            ShowBand(b);
            NotifyObjects(b);
            ++b->LineN;
            ++b->LineThrough;
            ShowVBandTree(b->SubBands);
            if (b->FooterAfterEach)
                ShowBand(footer);
            any = true;
            ds->Next();
            if ((b->RowCount() > 0 && b->LineN > b->RowCount()) || Terminated())
                break;
        }
        if (any) {
            if (group)
                ShowGroupFooters(group, 0, b);
            RemoveFromHeaderList(header);
            if (!b->FooterAfterEach)
                ShowBand(footer);
        }
    }
}

void TkvlEngine::AddVBand(TkvlBand *Band)
{
    TkvlReport *rep = Report();
    TkvlBand *master = FVMasterBand;
    if (!master)
        return;
    const bool isData = Band->Is<TkvlDataBand>();
    if (isData)
        ++CurVColumn;
    const bool ownTotals = Band->Is<TkvlFooter>() || Band->Is<TkvlGroupFooter>();
    FCurBand = ownTotals ? Band : master;
    rep->CurObject = Band->Name();
    Band->BeforePrint();
    DoBeforePrint(Band);
    if (Band->Visible()) {
        if (CurX + Band->Width() > PageWidth + kTolerance) {
            if (FPage->EndlessWidth) {
                PageWidth += Band->Width();
            } else {
                if (PreviewPages->CurPage + 1 < PreviewPages->GetCount()) {
                    ++PreviewPages->CurPage;
                } else {
                    PreviewPages->AddPageAction = apAdd;
                    PreviewPages->AddPage(FPage);
                }
                CurX = 0;
                FVPageList.push_back(master->ObjectCount());
                const std::vector<TkvlBand *> headers = FVHeaderList;
                for (TkvlBand *h : headers)
                    ShowBand(h);
            }
        }
        const int count = Band->ObjectCount();
        for (int i = 0; i < count; ++i) {
            auto *o = rtl_cast<TkvlReportComponent>(Band->Object(i));
            if (!o || o->OriginalBand.get() != master)
                continue;
            rep->CurObject = o->Name();
            o->BeforePrint();
            DoBeforePrint(o);
            if (o->Visible()) {
                o->GetData();
                rep->DoNotifyEvent(o, o->OnAfterData);
            }
            if (TkvlComponent *cell = kvlengine::CopyForOutput(o)) {
                cell->SetParent(master);
                cell->SetLeft(o->Left() + CurX);
            }
            o->AfterPrint();
        }
        CurX += Band->Width();
    }
    rep->CurObject = Band->Name();
    DoAfterPrint(Band);
    Band->AfterPrint();
    if (isData)
        FAggregates->AddValue(master, CurVColumn);
    else if (ownTotals)
        FAggregates->Reset(Band);
}

void TkvlEngine::RenderVBand(TkvlBand *Band, double SavedX)
{
    const int page = PreviewPages->CurPage;
    const double y = CurY;
    PreviewPages->AddPageAction = apWriteOver;
    // Each page across gets the band with only the cells that fall on it.
    const std::vector<TkvlComponent *> all(Band->Objects().begin(), Band->Objects().end());
    std::vector<bool> visible(all.size());
    for (size_t i = 0; i < all.size(); ++i)
        visible[i] = all[i]->Visible();
    auto restore = [&] {
        FDontShowHeaders = false;
        for (size_t i = 0; i < all.size(); ++i)
            all[i]->SetVisible(visible[i]);
    };
    // The band's background, made after the cells were counted, comes first and shows on every page.
    TkvlComponent *fill = Band->FillMemo();
    const int shift = fill && !all.empty() && all.front() == fill ? 1 : 0;
    // A band reprinted while a page is being started stays on that page: breaking from there
    // would start pages without end.
    const int slices = FCallFromAddPage ? std::min<int>(1, int(FVPageList.size()) - 1) : int(FVPageList.size()) - 1;
    FPagesAcross = std::max(FPagesAcross, slices);
    FInPagesAcross = true;
    try {
        for (int k = 0; k < slices; ++k) {
            const int from = FVPageList[size_t(k)] + shift, to = FVPageList[size_t(k) + 1] + shift;
            for (int i = shift; i < int(all.size()); ++i)
                all[size_t(i)]->SetVisible(visible[size_t(i)] && i >= from && i < to);
            PreviewPages->AddObject(Band);
            if (k + 1 < slices) {
                FDontShowHeaders = true;
                NewPage();
                FDontShowHeaders = false;
            } else if (slices > 1) {
                EndPage();
            }
        }
    } catch (...) {
        FInPagesAcross = false;
        restore();
        throw;
    }
    FInPagesAcross = false;
    restore();
    PreviewPages->CurPage = page;
    CurY = y;
    CurX = SavedX;
    CurColumn = 1;
    PreviewPages->AddPageAction = apAdd;
}
