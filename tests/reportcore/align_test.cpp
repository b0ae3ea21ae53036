#include "fixtures.h"

#include <gtest/gtest.h>

namespace {

struct V {
    TkvlAlign align;
    double l, t, w, h;
};
struct Case {
    const char *what;
    std::vector<V> in;   // in insertion order
    std::vector<V> out;  // same order; align repeated for readability
};

} // namespace

TEST(AlignChildren, EachAlignValue)
{
    // The container (a band) is 500 wide and 100 high.
    const Case cases[] = {
        {"left: the first sorted goes to 0, the next to its right edge",
         {{baLeft, 200, 0, 50, 20}, {baLeft, 100, 5, 30, 20}},
         {{baLeft, 30, 0, 50, 20}, {baLeft, 0, 5, 30, 20}}},
        {"left: a view overlapping nothing vertically goes to 0",
         {{baNone, 10, 0, 40, 20}, {baLeft, 300, 50, 30, 20}},
         {{baNone, 10, 0, 40, 20}, {baLeft, 0, 50, 30, 20}}},
        {"left: touching edges do not overlap",
         {{baNone, 10, 0, 40, 20}, {baLeft, 300, 20, 30, 20}},
         {{baNone, 10, 0, 40, 20}, {baLeft, 0, 20, 30, 20}}},
        {"right: against the right neighbour, or the container's edge",
         {{baRight, 100, 0, 50, 20}, {baNone, 400, 0, 20, 20}, {baRight, 450, 0, 10, 20}},
         {{baRight, 350, 0, 50, 20}, {baNone, 400, 0, 20, 20}, {baRight, 490, 0, 10, 20}}},
        {"width: from the left neighbour's right edge to the right neighbour's left",
         {{baNone, 0, 0, 40, 20}, {baWidth, 100, 0, 10, 20}, {baNone, 300, 0, 50, 20}},
         {{baNone, 0, 0, 40, 20}, {baWidth, 40, 0, 260, 20}, {baNone, 300, 0, 50, 20}}},
        {"width: alone it spans the container",
         {{baWidth, 100, 0, 10, 20}}, {{baWidth, 0, 0, 500, 20}}},
        {"center, bottom, client",
         {{baCenter, 3, 4, 100, 20}, {baBottom, 3, 4, 100, 20}, {baClient, 3, 4, 100, 20}},
         {{baCenter, 200, 4, 100, 20}, {baBottom, 3, 80, 100, 20}, {baClient, 0, 0, 500, 100}}},
        {"negative positions: the one nearer to zero sorts first",
         {{baLeft, -5, 0, 10, 20}, {baLeft, -1, 0, 20, 20}},
         {{baLeft, 20, 0, 10, 20}, {baLeft, 0, 0, 20, 20}}},
        {"negative positions: -1 before -50",
         {{baLeft, -1, 0, 10, 20}, {baLeft, -50, 0, 20, 20}},
         {{baLeft, 0, 0, 10, 20}, {baLeft, 10, 0, 20, 20}}},
        {"negative before positive",
         {{baLeft, 7, 0, 10, 20}, {baLeft, -3, 0, 20, 20}},
         {{baLeft, 20, 0, 10, 20}, {baLeft, 0, 0, 20, 20}}},
        {"equal positions: the later child comes first",
         {{baLeft, 30, 0, 10, 20}, {baLeft, 30, 0, 25, 20}},
         {{baLeft, 25, 0, 10, 20}, {baLeft, 0, 0, 25, 20}}},
        {"large positions keep their numeric order",
         {{baLeft, 10000000, 0, 10, 20}, {baLeft, 9000000, 0, 25, 20}},
         {{baLeft, 25, 0, 10, 20}, {baLeft, 0, 0, 25, 20}}},
    };
    for (const Case &c : cases) {
        ReportTree t;
        t.band->SetBounds(0, 0, 500, 100);
        std::vector<TkvlProbeView *> views;
        for (const V &v : c.in) {
            auto *x = t.view("", v.l, v.t, v.w, v.h);
            x->SetAlign(v.align);
            views.push_back(x);
        }
        new TkvlProbeBand(t.band);  // a child that is not a view is left alone
        t.band->AlignChildren();
        for (size_t i = 0; i < views.size(); ++i) {
            const V &e = c.out[i];
            EXPECT_EQ((TkvlRect{views[i]->Left(), views[i]->Top(), views[i]->Width(), views[i]->Height()}),
                      (TkvlRect{e.l, e.t, e.w, e.h}))
                << c.what << ", view " << i;
        }
    }
}

TEST(AlignChildren, RestrictionsApplyWhileDesigning)
{
    ReportTree t;
    t.band->SetBounds(0, 0, 500, 100);
    auto *v = t.view("", 100, 0, 10, 20);
    v->SetAlign(baClient);
    v->IsDesigning = true;
    v->SetRestrictions(kvlBit(rfDontMove));
    t.band->AlignChildren();
    EXPECT_EQ((TkvlRect{v->Left(), v->Top(), v->Width(), v->Height()}), (TkvlRect{100, 0, 500, 100}));
}
