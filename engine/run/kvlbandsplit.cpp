// A band printed in pieces over several columns or pages, and repeated values brought back
// before a band moves to a new column.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/bands/kvlsubreport.h"
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlstretch.h"

#include <algorithm>
#include <cmath>

namespace {

using kvlengine::kTolerance;

bool overlapsHorizontally(const TkvlComponent *A, const TkvlComponent *B)
{
    return std::min(A->Left() + A->Width(), B->Left() + B->Width()) - std::max(A->Left(), B->Left()) > kTolerance;
}

} // namespace

void TkvlEngine::CheckSuppress(TkvlBand *Band)
{
    bool any = false;
    for (TkvlComponent *c : Band->Objects())
        if (auto *m = rtl_cast<TkvlCustomMemoView>(c); m && m->SuppressRepeated) {
            m->ResetSuppress();
            any = true;
        }
    if (!any || Band->HasVBands)
        return;
    UnStretch(Band);
    CurLine = Band->LineN;
    CurLineThrough = Band->LineThrough;
    SecondScriptCall = true;
    try {
        Stretch(Band);
    } catch (...) {
        SecondScriptCall = false;
        throw;
    }
    SecondScriptCall = false;
    Band->StretchedHeight = Band->Height();
}

void TkvlEngine::DrawSplit(TkvlBand *Band)
{
    if (FinalPass)
        Band->CreateFillMemo();
    TkvlComponent *fill = Band->FillMemo();
    // Pieces are made by showing only their objects; every object's visibility comes back.
    std::vector<std::pair<TkvlComponent *, bool>> shown;
    std::vector<TkvlReportComponent *> work;
    for (TkvlComponent *c : Band->Objects()) {
        if (c == fill)
            continue;
        shown.emplace_back(c, c->Visible());
        auto *o = rtl_cast<TkvlReportComponent>(c);
        if (!o || !o->Visible() || o->Is<TkvlSubreport>())
            continue;
        work.push_back(o);
        if (auto *s = rtl_cast<TkvlStretcheable>(o)) {
            s->InitPart();
            s->SaveHeight = s->Height();
        }
    }
    auto restore = [&] {
        for (auto &[c, visible] : shown)
            c->SetVisible(visible);
    };
    std::vector<TkvlComponent *> piece, moved;
    try {
        double space = FreeSpace();
        const double pageRoom = GetPageHeight() - FooterHeight();
        while (!work.empty()) {
            if (!Report()->EngineOptions()->EnableThreadSafe)
                FPendingEvents.Process();
            if (Terminated())
                break;
            const bool empty = SpaceIsEmpty();
            piece.clear();
            moved.clear();
            bool partial = false;
            // Objects below O that overlap it move down by Amount (once per piece).
            auto pushBelow = [&](TkvlComponent *O, double Top, double Amount) {
                for (TkvlReportComponent *w : work)
                    if (w != O && w->Top() > Top + kTolerance && overlapsHorizontally(w, O) &&
                        std::find(moved.begin(), moved.end(), w) == moved.end()) {
                        w->SetTop(w->Top() + Amount);
                        moved.push_back(w);
                    }
            };
            for (size_t i = 0; i < work.size();) {
                TkvlReportComponent *o = work[i];
                auto *s = rtl_cast<TkvlStretcheable>(o);
                const double top = o->Top();
                const bool inside = top < space;
                double h = o->Height(), unused = 0;
                bool fit = space >= top + h - kTolerance;
                if (s) {
                    s->SavedTop = top;
                    if (inside) {
                        s->SetHeight(space - top);
                        // At the top of an empty page the first line goes in anyway.
                        const bool forced = empty && top < kTolerance;
                        s->SetSpaceEmpty(forced);
                        unused = s->DrawPart();
                        s->SetSpaceEmpty(false);
                        if (forced && std::fabs(unused - s->Height()) < kTolerance) {
                            // Not even a forced line: nothing of it is left to print.
                            work.erase(work.begin() + std::ptrdiff_t(i));
                            continue;
                        }
                        h = s->SaveHeight;
                        fit = !s->HasNextDataPart(space);
                    }
                }
                if (fit) {
                    o->SetHeight(h);
                    piece.push_back(o);
                    work.erase(work.begin() + std::ptrdiff_t(i));
                    continue;
                }
                if (s && inside) {
                    pushBelow(o, top, unused);
                    if (std::fabs(unused - o->Height()) < kTolerance) {
                        o->SetTop(space);
                        o->SetHeight(s->SaveHeight);
                    } else {
                        piece.push_back(o);
                        s->SaveHeight = s->SaveHeight - o->Height() + unused;
                        partial = true;
                    }
                    ++i;
                    continue;
                }
                if (!s && (h > pageRoom || (empty && top < kTolerance))) {
                    // Taller than any page, or not fitting an empty one: printed cut at the bottom.
                    piece.push_back(o);
                    work.erase(work.begin() + std::ptrdiff_t(i));
                    continue;
                }
                if (inside) {
                    pushBelow(o, top, space - top);
                    o->SetTop(space);
                }
                ++i;
            }
            if (piece.empty() && !partial && empty) {
                // Nothing went on an empty page: what is left prints here as it stands.
                piece.assign(work.begin(), work.end());
                work.clear();
            }
            double height = 0;
            for (TkvlComponent *c : piece)
                height = std::max(height, c->Top() + c->Height());
            if (work.empty())
                for (TkvlComponent *c : piece) {
                    if (auto *v = rtl_cast<TkvlView>(c); v && v->Align() == baBottom)
                        c->SetTop(height - c->Height());
                    if (auto *s = rtl_cast<TkvlStretcheable>(c); s && s->StretchMode == smMaxHeight)
                        s->SetHeight(height - s->Top());
                }
            for (auto &[c, visible] : shown)
                c->SetVisible(std::find(piece.begin(), piece.end(), c) != piece.end());
            Band->SetHeight(height);
            Band->SetLeft(CurX);
            Band->SetTop(CurY);
            if (FinalPass)
                Band->CreateFillMemo();
            PreviewPages->AddObject(Band);
            CurY += Band->Height();
            FCurBand = Band;
            if (work.empty())
                break;
            NewColumn();
            for (TkvlReportComponent *w : work) {
                auto *s = rtl_cast<TkvlStretcheable>(w);
                if (s && !partial && piece.empty())
                    w->SetTop(s->SavedTop);
                else
                    w->SetTop(w->Top() - space);
                if (w->Top() < 0)
                    w->SetTop(0);
                if (s)
                    s->SetHeight(s->SaveHeight);
            }
            space = FreeSpace();
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}
