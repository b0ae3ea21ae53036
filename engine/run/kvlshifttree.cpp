// Which objects of a band move when an object above them grows, and moving them.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/core/kvlobjects.h"

#include <algorithm>
#include <limits>
#include <set>
#include <vector>

namespace {

using kvlengine::kTolerance;

struct Span {
    double From, To;
};

bool overlaps(Span A, Span B) { return std::min(A.To, B.To) - std::max(A.From, B.From) > kTolerance; }

struct Node {
    TkvlReportComponent *Obj;  // nullptr: the strip above the band standing for the band
    Span X, Y;
};

// Whether some of a set of horizontal spans overlaps a query span by more than the tolerance.
// Spans narrower than that overlap nothing and are not kept. Cleared in the time its
// insertions took, so that it serves every node of a band in turn.
class SpanSet {
public:
    // Froms: the left edge of every span that may be added.
    explicit SpanSet(std::vector<double> Froms) : FFroms(std::move(Froms))
    {
        std::sort(FFroms.begin(), FFroms.end());
        FFroms.erase(std::unique(FFroms.begin(), FFroms.end()), FFroms.end());
        FMaxTo.assign(FFroms.size() + 1, -std::numeric_limits<double>::infinity());
    }
    void Add(Span S)
    {
        if (S.To - S.From <= kTolerance)
            return;
        FWide.insert(S.From);
        // Spans by left edge, each slot holding the furthest right edge of those up to it.
        for (size_t i = rank(S.From) + 1; i < FMaxTo.size(); i += i & (~i + 1)) {
            if (FMaxTo[i] == -std::numeric_limits<double>::infinity())
                FTouched.push_back(i);
            FMaxTo[i] = std::max(FMaxTo[i], S.To);
        }
    }
    bool Overlaps(Span Q) const
    {
        // A span starting at or before Q.From reaches past it far enough; or a wide span starts
        // inside Q early enough to overlap it by more than the tolerance.
        double reach = -std::numeric_limits<double>::infinity();
        for (size_t i = size_t(std::upper_bound(FFroms.begin(), FFroms.end(), Q.From) - FFroms.begin()); i > 0;
             i -= i & (~i + 1))
            reach = std::max(reach, FMaxTo[i]);
        if (std::min(reach, Q.To) - Q.From > kTolerance)
            return true;
        const auto it = FWide.upper_bound(Q.From);
        return it != FWide.end() && Q.To - *it > kTolerance;
    }
    void Clear()
    {
        for (size_t i : FTouched)
            FMaxTo[i] = -std::numeric_limits<double>::infinity();
        FTouched.clear();
        FWide.clear();
    }

private:
    size_t rank(double From) const
    {
        return size_t(std::lower_bound(FFroms.begin(), FFroms.end(), From) - FFroms.begin());
    }
    std::vector<double> FFroms;
    std::vector<double> FMaxTo;   // a tree of running maxima over FFroms, from 1
    std::vector<size_t> FTouched;
    std::multiset<double> FWide;
};

} // namespace

// Node B below node A (by numeric top) is A's child when the two are clear of each other
// vertically, overlap horizontally, and no node C between them in that order lies clear of both
// vertically and across their common width. Each A walks the nodes after it: a C clear of A is
// kept as a possible screen, first as pending while it may still overlap the B in hand, then,
// once the tops have passed its bottom, as settled: clear of every later B. A settled C as wide
// as A screens every later B of A, which ends A's walk; in a band of rows that is the row after
// next, so a band's cost grows with its objects, not with their square.
void TkvlEngine::PrepareShiftTree(TkvlBand *Band)
{
    if (!Band->ShiftChildren.empty())
        return;
    // Positions relative to the band; the root is a strip just above it, as wide as the band.
    std::vector<Node> nodes;
    nodes.reserve(size_t(Band->ObjectCount()) + 1);
    nodes.push_back({nullptr, {-Band->Left(), -Band->Left() + Band->Width()}, {-2, -1}});
    for (TkvlComponent *c : Band->Objects())
        if (auto *o = rtl_cast<TkvlReportComponent>(c)) {
            o->ShiftChildren.clear();
            nodes.push_back({o, {o->Left(), o->Left() + o->Width()}, {o->Top(), o->Top() + o->Height()}});
        }
    // By numeric top; objects at the same top keep their order in the band.
    std::stable_sort(nodes.begin() + 1, nodes.end(), [](const Node &a, const Node &b) { return a.Y.From < b.Y.From; });

    std::vector<double> froms;
    froms.reserve(nodes.size());
    for (const Node &n : nodes)
        froms.push_back(n.X.From);
    SpanSet settled(std::move(froms));
    // Pending screens in a heap, the one whose bottom edge is reached first at its front.
    const auto higherBottomLast = [&](size_t l, size_t r) { return nodes[l].Y.To > nodes[r].Y.To; };
    std::vector<size_t> pending;
    for (size_t a = 0; a < nodes.size(); ++a) {
        const Node &A = nodes[a];
        auto &children = A.Obj ? A.Obj->ShiftChildren : Band->ShiftChildren;
        settled.Clear();
        pending.clear();
        for (size_t b = a + 1; b < nodes.size(); ++b) {
            const Node &B = nodes[b];
            bool covered = false;
            while (!pending.empty() && nodes[pending.front()].Y.To - B.Y.From <= kTolerance) {
                const Node &C = nodes[pending.front()];
                std::pop_heap(pending.begin(), pending.end(), higherBottomLast);
                pending.pop_back();
                settled.Add(C.X);
                covered |= C.X.From <= A.X.From && C.X.To >= A.X.To;
            }
            if (covered)
                break;
            if (!overlaps(A.Y, B.Y) && A.Y.From < B.Y.From && overlaps(A.X, B.X)) {
                const Span common{std::max(A.X.From, B.X.From), std::min(A.X.To, B.X.To)};
                bool screened = settled.Overlaps(common);
                // A pending C overlaps B vertically unless B is no taller than the tolerance.
                for (size_t k = 0; k < pending.size() && !screened && B.Y.To - B.Y.From <= kTolerance; ++k) {
                    const Node &C = nodes[pending[k]];
                    screened = !overlaps(C.Y, B.Y) && overlaps(C.X, common);
                }
                if (!screened)
                    children.emplace_back(B.Obj);
            }
            if (!overlaps(B.Y, A.Y)) {
                pending.push_back(b);
                std::push_heap(pending.begin(), pending.end(), higherBottomLast);
            }
        }
    }
}

double &TkvlEngine::GrowthOf(TkvlComponent *Obj) { return FGrowth[Obj]; }

void TkvlEngine::ShiftObjects(TkvlReportComponent *Parent, double Amount, bool UnderRoot)
{
    for (const auto &ref : Parent->ShiftChildren) {
        auto *q = static_cast<TkvlReportComponent *>(ref.get());
        if (!q)
            continue;
        auto *view = rtl_cast<TkvlView>(q);
        const TkvlShiftMode mode = view ? view->ShiftMode : smAlways;
        const double growth = GrowthOf(q);
        double pass = growth;
        if (mode == smAlways) {
            q->SetTop(q->Top() + Amount);
            pass = Amount + growth;
        } else if (mode == smWhenOverlapped) {
            const double bottom = Parent->Top() + Parent->Height();
            if (!UnderRoot && q->Top() < bottom - kTolerance) {
                pass = bottom - q->Top() + growth;
                q->SetTop(bottom);
            }
        } else {
            pass = Amount + growth;
        }
        ShiftObjects(q, pass, false);
        GrowthOf(q) = 0;
    }
}
