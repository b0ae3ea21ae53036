// The band tree of a page (data bands master over detail with headers, footers and groups),
// and the walk over it record by record.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlpreviewpages.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using kvlengine::SourceOf;

void addMessage(TStringList &Errors, const char *Key, const TkvlBand *Band)
{
    Errors.Add(kvlResourceText(QString::fromLatin1(Key)) + QLatin1Char(' ') + Band->Name());
}

constexpr int kHeader = 4, kFooter = 5, kMaster = 6, kData6 = 11, kGroupHeader = 12, kGroupFooter = 13;

// Removes the marked entries, keeping the order of the rest.
void compact(std::vector<TkvlBand *> &List, std::vector<bool> &Gone)
{
    size_t to = 0;
    for (size_t i = 0; i < List.size(); ++i)
        if (!Gone[i])
            List[to++] = List[i];
    List.resize(to);
    Gone.assign(to, false);
}

// Collects the detail bands of Parent from List[At] on: one level deeper joins (and leaves
// the list), deeper ones are passed over, a band of Parent's level or above ends it.
void collectSubtree(TkvlDataBand *Parent, std::vector<TkvlBand *> &List, size_t At)
{
    const int level = Parent->BandNumber();
    while (At < List.size()) {
        auto *b = static_cast<TkvlDataBand *>(List[At]);
        const int n = b->BandNumber();
        if (n == level + 1) {
            List.erase(List.begin() + std::ptrdiff_t(At));
            if (SourceOf(b))
                Parent->SubBands.emplace_back(b);
            if (n != kData6)
                collectSubtree(b, List, At);
        } else if (n <= level) {
            return;
        } else {
            ++At;
        }
    }
}

} // namespace

void TkvlEngine::PreparePage(TStringList &Errors, bool Vertical)
{
    FPage->AlignChildren();
    (Vertical ? FPage->VSubBands : FPage->SubBands).clear();

    // Ordered by position to two decimals; of bands at the same place only the first counts.
    std::map<long long, TkvlBand *> ordered;
    for (TkvlComponent *c : FPage->Objects()) {
        auto *band = rtl_cast<TkvlBand>(c);
        if (!band || band->Vertical() != Vertical)
            continue;
        band->ShiftChildren.clear();
        PrepareShiftTree(band);
        band->SubBands.clear();
        band->Header = nullptr;
        band->Footer = nullptr;
        band->Group = nullptr;
        band->HasVBands = false;
        if (auto *db = rtl_cast<TkvlDataBand>(band); db && !db->DataSet() && db->RowCount() > 0)
            db->VirtualDataSet()->Initialize();
        const int n = band->BandNumber();
        if (n < kHeader || n > kGroupFooter)
            continue;
        const double pos = Vertical ? band->Left() : band->Top();
        ordered.emplace(std::llround(pos * 100.0), band);
    }
    std::vector<TkvlBand *> list;
    list.reserve(ordered.size());
    for (auto &[key, band] : ordered)
        list.push_back(band);
    std::vector<bool> gone(list.size(), false);

    // Groups: a chain of group headers belongs to the next data band.
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->BandNumber() != kGroupHeader)
            continue;
        TkvlBand *g = list[i];
        size_t j = i;
        while (j < list.size() && list[j]->BandNumber() == kGroupHeader)
            g->SubBands.emplace_back(list[j++]);
        while (j < list.size() && !list[j]->Is<TkvlDataBand>())
            ++j;
        if (j == list.size()) {
            addMessage(Errors, "enUnconnGroup", g);
            break;
        }
        list[j]->Group = g;
        i = j;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->BandNumber() != kGroupFooter)
            continue;
        for (size_t k = i; k-- > 0;)
            if (!gone[k] && list[k]->BandNumber() == kGroupHeader) {
                list[k]->Footer = list[i];
                gone[k] = gone[i] = true;
                break;
            }
    }
    for (size_t i = 0; i < list.size(); ++i) {
        if (gone[i])
            continue;
        const int n = list[i]->BandNumber();
        if (n == kGroupFooter)
            addMessage(Errors, "enUnconnGFooter", list[i]);
        if (n == kGroupHeader || n == kGroupFooter)
            gone[i] = true;
    }
    compact(list, gone);

    // Headers and footers directly around their data band.
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i]->Is<TkvlDataBand>())
            continue;
        if (i > 0 && !gone[i - 1] && list[i - 1]->BandNumber() == kHeader) {
            list[i]->Header = list[i - 1];
            gone[i - 1] = true;
        }
        if (i + 1 < list.size() && list[i + 1]->BandNumber() == kFooter) {
            list[i]->Footer = list[i + 1];
            gone[i + 1] = true;
        }
    }
    for (size_t i = 0; i < list.size(); ++i) {
        const int n = list[i]->BandNumber();
        if (!gone[i] && (n == kHeader || n == kFooter))
            addMessage(Errors, "enUnconnHeader", list[i]);
        if (n == kHeader || n == kFooter)
            gone[i] = true;
    }
    compact(list, gone);

    // The tree: master bands at the root, each level's details under it.
    auto &roots = Vertical ? FPage->VSubBands : FPage->SubBands;
    for (size_t i = 0; i < list.size();) {
        if (list[i]->BandNumber() != kMaster) {
            ++i;
            continue;
        }
        auto *master = static_cast<TkvlDataBand *>(list[i]);
        list.erase(list.begin() + std::ptrdiff_t(i));
        if (SourceOf(master))
            roots.emplace_back(master);
        collectSubtree(master, list, i);
    }
    for (TkvlBand *b : list)
        addMessage(Errors, "enBandPos", b);
    if (!Vertical)
        MoveIntoVBands();
}

bool TkvlEngine::CanShow(TkvlComponent *Obj, bool PrintIfDetailEmpty)
{
    if (PrintIfDetailEmpty)
        return true;
    const auto &details = Obj->Is<TkvlReportPage>() ? static_cast<TkvlReportPage *>(Obj)->SubBands
                                                     : static_cast<TkvlBand *>(Obj)->SubBands;
    bool result = !Obj->Is<TkvlReportPage>() && details.empty();
    for (const auto &ref : details) {
        auto *d = static_cast<TkvlDataBand *>(ref.get());
        TkvlDataSet *ds = d ? SourceOf(d) : nullptr;
        if (!ds)
            continue;
        Report()->DoNotifyEvent(d, d->OnMasterDetail);
        for (ds->First(); !ds->Eof(); ds->Next())
            if (CanShow(d, d->PrintIfDetailEmpty)) {
                result = true;
                break;
            }
    }
    return result;
}

void TkvlEngine::ShowBandTree(TkvlComponent *Obj)
{
    if (!Report()->EngineOptions()->EnableThreadSafe)
        FPendingEvents.Process();
    if (Terminated())
        return;
    const auto &bands = Obj->Is<TkvlReportPage>() ? static_cast<TkvlReportPage *>(Obj)->SubBands
                                                   : static_cast<TkvlBand *>(Obj)->SubBands;
    for (size_t i = 0; i < bands.size(); ++i) {
        auto *b = static_cast<TkvlDataBand *>(bands[i].get());
        if (b && SourceOf(b))
            ShowDataBand(b);
        if (Terminated())
            return;
        FIsFirstBand = false;
    }
}

void TkvlEngine::ShowDataBand(TkvlDataBand *B)
{
    TkvlReport *rep = Report();
    TkvlDataSet *ds = SourceOf(B);
    auto *group = static_cast<TkvlGroupHeader *>(B->Group.get());
    TkvlBand *header = B->Header.get(), *footer = B->Footer.get();
    const double columnStartY = CurY;
    int columnStartPos = 0, keepPos = 0, footerKeepPos = 0;
    double keepY = 0;

    ds->First();
    B->LineN = 1;
    B->LineThrough = 1;
    if (B->Columns > 1)
        B->SetCurColumn(1);
    ResetSuppressValues(B);
    bool first = true, localKeep = false, anyShown = false;
    while (!ds->Eof()) {
        if (localKeep && B->KeepHeader && header) {
            EndKeep(B);
            localKeep = false;
        }
        bool show = true;
        if (!B->Filter.isEmpty())
            show = Variant::equals(rep->Calc(B->Filter), Variant(true));
        show = show && CanShow(B, B->PrintIfDetailEmpty);
        if (show) {
            if (first) {
                if (B->KeepHeader && header) {
                    if (FIsFirstBand)
                        FIsFirstBand = !FTitlePrinted;
                    FKeepHeader = !FIsFirstBand;
                    if (B->Columns > 1 && B->CurColumn() == 1) {
                        keepPos = PreviewPages->GetCurPosition();
                        keepY = CurY;
                    }
                    StartKeep(B);
                    localKeep = true;
                }
                AddToHeaderList(header);
                ShowBand(header);
                if (B->KeepTogether && !localKeep)
                    StartKeep(B);
            } else if (B->KeepTogether && !group && !localKeep) {
                StartKeep(B);
            }
            if (group) {
                if (first)
                    InitGroups(B, group, true, 0);
                else
                    CheckGroups(B, group, columnStartY, columnStartPos);
            }
            if (B->KeepFooter)
                footerKeepPos = PreviewPages->GetCurPosition();
            if (B->Columns > 1 && B->CurColumn() == 1)
                columnStartPos = PreviewPages->GetCurPosition();
            const double rowStartY = CurY;
            CurLine = B->LineN;
            CurLineThrough = B->LineThrough;
            ShowBand(B);
            FKeepHeader = false;
            NotifyObjects(B);
            if (first && B->KeepHeader && header && !(B->KeepFooter && footer))
                EndKeep(B);
            FHBandNamesTree.emplace_back(B->Name(), B->LineThrough);
            ++B->LineN;
            ++B->LineThrough;
            CheckBandColumns(B, columnStartPos, keepY, rowStartY, keepPos);
            AddBandOutline(B);
            ShowBandTree(B);
            FHBandNamesTree.pop_back();
            OutlineUp(B);
            FIsFirstBand = false;
            if (B->FooterAfterEach && footer) {
                if (B->KeepFooter)
                    StartKeep(B, footerKeepPos);
                FKeepFooter = B->KeepFooter;
                ShowBand(footer);
                FKeepFooter = false;
                if (B->KeepFooter)
                    EndKeep(B);
            }
            if (B->KeepTogether && !group && !localKeep)
                EndKeep(B);
            first = false;
            anyShown = true;
        }
        ds->Next();
        if ((B->RowCount() > 0 && B->LineN > B->RowCount()) || Terminated())
            break;
    }
    if (B->Columns > 1) {
        B->SetCurColumn(B->Columns);
        CheckBandColumns(B, columnStartPos, keepY, CurY, keepPos);
    }
    if (anyShown) {
        if (group)
            ShowGroupFooters(group, 0, B);
        if (FKeeping)
            RemoveFromHeaderList(header);
        if (!B->FooterAfterEach && footer) {
            const bool keep = B->KeepFooter && !localKeep;
            if (keep)
                StartKeep(B, footerKeepPos);
            FKeepFooter = keep;
            ShowBand(footer);
            FKeepFooter = false;
            if (keep)
                EndKeep(B);
        }
        RemoveFromHeaderList(header);
        if (group && B->KeepTogether)
            EndKeep(B);
    }
    if (localKeep)
        EndKeep(B);
}

void TkvlEngine::InitGroups(TkvlDataBand *B, TkvlGroupHeader *G, bool First, int From)
{
    TkvlReport *rep = Report();
    const auto &chain = G->SubBands;
    const int n = int(chain.size());
    for (int i = From; i < n; ++i) {
        TkvlBand *h = chain[size_t(i)].get();
        if (First) {
            h->LineN = 1;
            h->LineThrough = 1;
            ResetSuppressValues(h);
        } else {
            ++h->LineN;
            if (i + 1 < n)
                chain[size_t(i + 1)]->LineN = 0;
            ++h->LineThrough;
        }
    }
    if (B->Columns > 1)
        B->SetCurColumn(1);
    CheckDrill(B, G);
    for (int i = From; i < n; ++i) {
        auto *h = static_cast<TkvlGroupHeader *>(chain[size_t(i)].get());
        CurLine = h->LineN;
        CurLineThrough = h->LineThrough;
        rep->CurObject = h->Name();
        h->LastValue = rep->Calc(h->Condition);
        if (h->KeepTogether)
            StartKeep(h);
        ShowBand(h);
        AddBandOutline(h);
        AddToHeaderList(h);
    }
}

void TkvlEngine::CheckGroups(TkvlDataBand *B, TkvlGroupHeader *G, double ColumnStartY, int ColumnStartPos)
{
    TkvlReport *rep = Report();
    CheckDrill(B, G);
    const auto &chain = G->SubBands;
    for (size_t i = 0; i < chain.size(); ++i) {
        auto *h = static_cast<TkvlGroupHeader *>(chain[i].get());
        rep->CurObject = h->Name();
        if (Variant::equals(rep->Calc(h->Condition), h->LastValue))
            continue;
        if (B->Columns > 1)
            B->SetCurColumn(B->Columns);
        // Footers print while the source stands on the finished group's last record.
        TkvlDataSet *ds = SourceOf(B);
        bool steppedBack = true;
        try {
            ds->Prior();
        } catch (...) {
            steppedBack = false;
        }
        int noKeep = 0;
        CheckBandColumns(B, ColumnStartPos, 0, ColumnStartY, noKeep);
        ShowGroupFooters(G, int(i), B);
        if (steppedBack)
            ds->Next();
        InitGroups(B, G, false, int(i));
        B->LineN = 1;
        ResetSuppressValues(B);
        return;
    }
}

void TkvlEngine::ShowGroupFooters(TkvlGroupHeader *G, int From, TkvlDataBand *B)
{
    const auto &chain = G->SubBands;
    for (int i = int(chain.size()) - 1; i >= From; --i) {
        auto *h = static_cast<TkvlGroupHeader *>(chain[size_t(i)].get());
        if (TkvlBand *f = h->Footer.get()) {
            auto *gf = rtl_cast<TkvlGroupFooter>(f);
            if (gf && gf->HideIfSingleDataRecord && B->LineN < 3)
                FAggregates->Reset(f);
            else
                ShowBand(f);
        }
        OutlineUp(h);
        RemoveFromHeaderList(h);
        if (h->KeepTogether)
            EndKeep(h);
    }
}

void TkvlEngine::CheckDrill(TkvlDataBand *B, TkvlGroupHeader *G)
{
    const auto &chain = G->SubBands;
    for (size_t i = 0; i < chain.size(); ++i) {
        auto *h = static_cast<TkvlGroupHeader *>(chain[i].get());
        if (!h->DrillDown)
            continue;
        // Built in a buffer that keeps its room; the header's name changes only with its group.
        FDrillBuffer.resize(0);
        for (const auto &[name, line] : FHBandNamesTree) {
            FDrillBuffer += name;
            FDrillBuffer += QLatin1Char('.');
            FDrillBuffer += QString::number(line);
            FDrillBuffer += QLatin1Char('.');
        }
        FDrillBuffer += h->Name();
        FDrillBuffer += QLatin1Char('.');
        FDrillBuffer += QString::number(h->LineThrough);
        if (h->DrillName != FDrillBuffer)
            h->DrillName = FDrillBuffer;
        const bool listed = Report()->DrillState().IndexOf(h->DrillName) >= 0;
        const bool shown = h->ExpandDrillDown ? !listed : listed;
        if (TkvlBand *child = h->Child(); child && !G->ShowChildIfDrillDown)
            child->SetVisible(shown);
        for (size_t j = i + 1; j < chain.size(); ++j) {
            chain[j]->SetVisible(shown);
            if (TkvlBand *f = chain[j]->Footer.get())
                f->SetVisible(shown);
        }
        B->SetVisible(shown);
        if (TkvlBand *f = h->Footer.get(); f && !h->ShowFooterIfDrillDown)
            f->SetVisible(shown);
        if (!shown)
            return;
    }
}

void TkvlEngine::CheckBandColumns(TkvlDataBand *B, int StartPos, double KeepY, double RowStartY, int &KeepPos)
{
    if (B->Columns <= 1 || !B->Visible())
        return;
    if (CurY > B->MaxY)
        B->MaxY = CurY;
    if (B->CurColumn() < B->Columns) {
        CurY = RowStartY;
    } else {
        const double room = PageHeight - FooterHeight();
        if (room - B->MaxY > 1e-4 || FPage->EndlessHeight) {
            CurY = B->MaxY;
        } else if (FKeeping) {
            NewColumn();
        } else {
            int from = StartPos;
            double start = RowStartY;
            if (KeepPos > 0 && (RowStartY - KeepY) + (B->MaxY - RowStartY) < room) {
                from = KeepPos;
                start = KeepY;
            }
            PreviewPages->CutObjects(from);
            NewColumn();
            PreviewPages->PasteObjects(CurX, CurY);
            CurY += B->MaxY - start;
        }
        KeepPos = 0;
    }
    B->SetCurColumn(B->CurColumn() + 1);
}

void TkvlEngine::ResetSuppressValues(TkvlBand *Band)
{
    for (TkvlComponent *o : Band->Objects())
        if (auto *m = rtl_cast<TkvlCustomMemoView>(o))
            m->ResetSuppress();
}

void TkvlEngine::AddToHeaderList(TkvlBand *Band)
{
    if (!Band)
        return;
    const bool reprint = (Band->Is<TkvlHeader>() && static_cast<TkvlHeader *>(Band)->ReprintOnNewPage) ||
                         (Band->Is<TkvlGroupHeader>() && static_cast<TkvlGroupHeader *>(Band)->ReprintOnNewPage);
    if (!reprint)
        return;
    if (Band->Vertical())
        FVHeaderList.push_back(Band);
    else
        FHeaderList.AddItem(Band, FPageCurX, FKeeping && !Band->Is<TkvlHeader>());
}

void TkvlEngine::RemoveFromHeaderList(TkvlBand *Band)
{
    if (!Band)
        return;
    if (Band->Vertical()) {
        if (auto it = std::find(FVHeaderList.begin(), FVHeaderList.end(), Band); it != FVHeaderList.end())
            FVHeaderList.erase(it);
    } else {
        FHeaderList.RemoveItem(Band);
    }
}
