#include "designer/core/bandlayout.h"

#include "designer/core/workspaceunits.h"
#include "platform/rtl/numeric.h"
#include "report/core/kvlobjects.h"
#include "report/pages/kvlreportpage.h"

#include <algorithm>
#include <unordered_map>

namespace {

enum BandGroup : uint8_t { groupTop, groupMiddle, groupBottom };

struct Entry {
    TkvlBand *band;
    double key;  // hundredths: two decimals, compared as numbers
    int pos;     // place in the object list
};

// Print order of a horizontal band: the fixed bands at the top and the bottom, the others by
// their position.
double sortKey(const TkvlBand *B, bool TitleBeforeHeader)
{
    if (B->Is<TkvlPageHeader>())
        return TitleBeforeHeader ? 1 : 0;
    if (B->Is<TkvlReportTitle>())
        return TitleBeforeHeader ? 0 : 1;
    if (B->Is<TkvlColumnHeader>())
        return 2;
    if (B->Is<TkvlColumnFooter>())
        return 9999900;
    if (B->Is<TkvlReportSummary>())
        return 10000000;
    if (B->Is<TkvlPageFooter>())
        return 10000100;
    return std::nearbyint(std::abs(B->Top()) * 100);
}

BandGroup groupOf(const TkvlBand *B)
{
    if (B->Is<TkvlPageHeader>() || B->Is<TkvlReportTitle>() || B->Is<TkvlColumnHeader>())
        return groupTop;
    if (B->Is<TkvlColumnFooter>() || B->Is<TkvlReportSummary>() || B->Is<TkvlPageFooter>())
        return groupBottom;
    return groupMiddle;
}

// Moves an object whatever its restrictions (the layout keeps it where it is on the page).
void setTopFree(TkvlComponent *C, double Top)
{
    if (C->Top() == Top)
        return;
    const TkvlRestrictions r = C->Restrictions();
    C->SetRestrictions(0);
    C->SetTop(Top);
    C->SetRestrictions(r);
}

bool isAncestorOf(const TkvlComponent *A, const TkvlComponent *C)
{
    for (const TkvlComponent *p = C->Parent(); p; p = p->Parent())
        if (p == A)
            return true;
    return false;
}

// Puts Parent's children into the order of Wanted (which holds the same objects).
void reorderChildren(TkvlComponent *Parent, const std::vector<TkvlComponent *> &Wanted)
{
    if (Parent->Objects() == Wanted)
        return;
    for (int i = 0; i < int(Wanted.size()); ++i)
        if (Parent->Object(i) != Wanted[size_t(i)])
            Parent->MoveObject(Parent->IndexOfObject(Wanted[size_t(i)]), i);
}

} // namespace

double kvlBandGroupGap(TkvlGridType GridType)
{
    switch (GridType) {
    case gt1pt: return 40;
    case gt1cm: return kvlWs1cm;
    case gt1in: return kvlWs1in * 0.4;
    case gtChar: return kvlWsCharY;
    case gtDialog:
    case gtNone: break;
    }
    return 0;
}

void TkvlWorkspace::AdjustBands(bool AttachObjects)
{
    auto &objs = Objects();
    auto *rp = rtl_cast<TkvlReportPage>(FPage);

    // Print order: by key, equal keys later-in-list first; children right after their parents.
    std::vector<Entry> list;
    std::vector<TkvlBand *> bands;  // horizontal bands in list order
    const bool titleFirst = rp && rp->TitleBeforeHeader;
    for (int i = 0; i < int(objs.size()); ++i)
        if (auto *b = rtl_cast<TkvlBand>(objs[size_t(i)]); b && !b->Vertical()) {
            list.push_back(Entry{b, sortKey(b, titleFirst), i});
            bands.push_back(b);
        }
    std::stable_sort(list.begin(), list.end(),
                     [](const Entry &a, const Entry &b) { return a.key < b.key || (a.key == b.key && a.pos > b.pos); });
    for (size_t i = 0; i < list.size(); ++i) {
        const TkvlBand *child = list[i].band->Child();
        if (!child)
            continue;
        auto it = std::find_if(list.begin(), list.end(), [&](const Entry &e) { return e.band == child; });
        const size_t j = size_t(it - list.begin());
        if (it == list.end() || j == i)
            continue;
        const Entry e = *it;
        list.erase(it);
        if (j < i)
            --i;
        list.insert(list.begin() + ptrdiff_t(i) + 1, e);
    }
    const size_t n = list.size();
    std::vector<BandGroup> group(n);
    std::vector<bool> grouped(n, false);
    for (size_t i = 0; i < n; ++i) {
        if (grouped[i])
            continue;
        group[i] = groupOf(list[i].band);
        grouped[i] = true;
        for (size_t k = i; k + 1 < n && list[k + 1].band == list[k].band->Child(); ++k) {
            group[k + 1] = group[i];
            grouped[k + 1] = true;
        }
    }

    // Stacking on the vertical grid, the group gap added after the top and before the bottom.
    if (!FFreeBandsPlacement && n > 0) {
        const double gapG = kvlBandGroupGap(FGridType);
        list[0].band->SetTop(Round8(FBandHeader));
        for (size_t i = 1; i < n; ++i) {
            const TkvlBand *p = list[i - 1].band;
            const bool gapHere = (group[i - 1] == groupTop && group[i] != groupTop) ||
                                 (group[i] == groupBottom && group[i - 1] != groupBottom);
            const double gap = gapHere ? gapG : 0;
            const double next = p->Top() + p->Height() + FBandHeader + FGapBetweenBands;
            // Without a usable step the bands are stacked without grid rounding.
            const double top = FGridY > 0 ? double(rtl::Round(next / FGridY)) * FGridY + gap : next + gap;
            list[i].band->SetTop(Round8(top));
        }
    }

    // Attachment. Each band in list order releases its objects to the page and takes the views
    // lying in its area, so a view ends in the last band that contains it, and the page gets the
    // released objects in release order. The end state is computed first and then applied with
    // as few moves as possible, so a page whose views already sit in their bands costs one pass.
    if (!bands.empty()) {
        const double pageTop = FPage ? FPage->GetAbsTop() : 0;
        const bool columns = rp && rp->Columns() > 1;
        std::unordered_map<const TkvlComponent *, int> bandIndex;
        for (int k = 0; k < int(bands.size()); ++k)
            bandIndex.emplace(bands[size_t(k)], k);
        struct Range {
            double lo, hi, right;
        };
        std::vector<Range> ranges;
        for (const TkvlBand *b : bands)
            ranges.push_back(Range{b->Top() - 0.0001, b->Top() + b->Height() + 0.0001, b->Left() + b->Width() - 0.0001});

        struct Placed {
            TkvlView *view;
            int target;  // band index, -1 none
            double top;  // page position
        };
        std::vector<Placed> views;
        std::vector<std::vector<TkvlComponent *>> wanted(bands.size());
        std::vector<int> known(bands.size(), 0);     // views of the list each band holds now
        std::vector<bool> releases(bands.size(), false);
        for (TkvlComponent *c : objs) {
            auto *v = rtl_cast<TkvlView>(c);
            if (!v)
                continue;
            const double top = v->GetAbsTop() - pageTop;
            int target = -1;
            if (AttachObjects)
                for (int k = 0; k < int(ranges.size()); ++k) {
                    const Range &r = ranges[size_t(k)];
                    if (top >= r.lo && top < r.hi && (!columns || v->Left() < r.right))
                        target = k;
                }
            if (target >= 0)
                wanted[size_t(target)].push_back(v);
            if (v->Parent()) {
                auto it = bandIndex.find(v->Parent());
                if (it != bandIndex.end()) {
                    ++known[size_t(it->second)];
                    if (target < 0)
                        releases[size_t(it->second)] = true;
                }
            }
            views.push_back(Placed{v, target, top});
        }

        // Released objects go to the page in the order of their bands and of their places.
        for (size_t k = 0; k < bands.size(); ++k) {
            TkvlBand *b = bands[k];
            if (!releases[k] && known[k] == b->ObjectCount())
                continue;
            TkvlComponent *page = b->Parent();
            if (!page)
                continue;
            std::unordered_map<const TkvlComponent *, int> targetOf;
            for (const Placed &p : views)
                if (p.view->Parent() == b)
                    targetOf.emplace(p.view, p.target);
            const std::vector<TkvlComponent *> children = b->Objects();
            for (TkvlComponent *c : children) {
                auto it = targetOf.find(c);
                if (it != targetOf.end() && it->second >= 0)
                    continue;  // taken by a band below
                setTopFree(c, c->GetAbsTop() - page->GetAbsTop());
                c->SetParent(page);
            }
        }
        for (const Placed &p : views) {
            if (p.target < 0)
                continue;
            TkvlBand *b = bands[size_t(p.target)];
            setTopFree(p.view, p.top - b->Top());
            if (p.view->Parent() != b)
                p.view->SetParent(b);
        }
        for (size_t k = 0; k < bands.size(); ++k)
            reorderChildren(bands[k], wanted[k]);
    }

    // Dialog controls sit in the control-accepting control that holds their top-left corner.
    if (FPage && FPage->Is<TkvlDialogPage>() && FDialogControlClass) {
        for (size_t i = 0; i < objs.size(); ++i) {
            TkvlComponent *c = objs[i];
            if (!IsDialogControl(c))
                continue;
            const double cl = c->GetAbsLeft(), ct = c->GetAbsTop();
            TkvlComponent *holder = nullptr;
            for (size_t j = i; j-- > 0;) {
                TkvlComponent *d = objs[j];
                if (!IsDialogControl(d) || isAncestorOf(c, d) || !FView || !FView->AcceptsControls(d))
                    continue;
                const double dl = d->GetAbsLeft(), dt = d->GetAbsTop();
                if (cl >= dl && cl < dl + d->Width() && ct >= dt && ct < dt + d->Height()) {
                    holder = d;
                    break;
                }
            }
            if (holder) {
                c->SetTop(ct - holder->GetAbsTop());
                c->SetLeft(cl - holder->GetAbsLeft());
                c->SetParent(holder);
            } else if (c->Parent() != FPage) {
                c->SetTop(ct);
                c->SetLeft(cl);
                c->SetParent(FPage);
                if (FView)
                    FView->BringToFront();
            }
        }
    }

    std::stable_partition(objs.begin(), objs.end(), [](const TkvlComponent *c) { return c->Is<TkvlBand>(); });
}

void TkvlWorkspace::AdjustBandHeight(TkvlBand *ABand)
{
    if (!ABand)
        return;
    double m = 0, M = 0;
    for (const TkvlComponent *c : ABand->Objects()) {
        if (auto *v = rtl_cast<TkvlView>(c); v && (v->Align() == baBottom || v->Align() == baClient))
            continue;
        m = std::min(m, c->Top());
        M = std::max(M, c->Top() + c->Height());
    }
    if (ABand->Height() < M - m)
        ABand->SetHeight(M - m);
    if (m < 0)
        for (TkvlComponent *c : ABand->Objects())
            c->SetTop(c->Top() - m);
}
