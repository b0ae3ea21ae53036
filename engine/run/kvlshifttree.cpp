// Which objects of a band move when an object above them grows, and moving them.
#include "engine/run/kvlengine.h"
#include "engine/run/kvlenginehelpers.h"

#include "report/core/kvlobjects.h"

#include <algorithm>

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

} // namespace

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
    for (size_t a = 0; a < nodes.size(); ++a) {
        const Node &A = nodes[a];
        auto &children = A.Obj ? A.Obj->ShiftChildren : Band->ShiftChildren;
        for (size_t b = a + 1; b < nodes.size(); ++b) {
            const Node &B = nodes[b];
            if (overlaps(A.Y, B.Y) || !(A.Y.From < B.Y.From) || !overlaps(A.X, B.X))
                continue;
            const Span common{std::max(A.X.From, B.X.From), std::min(A.X.To, B.X.To)};
            bool screened = false;
            for (size_t c = a + 1; c < b && !screened; ++c) {
                const Node &C = nodes[c];
                screened = !overlaps(C.Y, A.Y) && !overlaps(C.Y, B.Y) && overlaps(C.X, common);
            }
            if (!screened)
                children.emplace_back(B.Obj);
        }
    }
}

double &TkvlEngine::GrowthOf(TkvlComponent *Obj)
{
    for (auto &[o, g] : FGrowth)
        if (o == Obj)
            return g;
    FGrowth.emplace_back(Obj, 0.0);
    return FGrowth.back().second;
}

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
