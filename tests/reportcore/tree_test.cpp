#include "fixtures.h"
#include "report/core/kvlresourcetext.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const std::vector<TkvlComponent *> &v)
{
    QStringList l;
    for (const TkvlComponent *c : v)
        l << c->Name();
    return l;
}

QStringList split(const char *s) { return QString::fromLatin1(s).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

} // namespace

TEST(ObjectTree, OwnerIsTheReportAndParentTheGivenObject)
{
    ReportTree t;
    auto *a = t.view("A");
    auto *b = t.view("B");
    EXPECT_EQ(a->Owner(), t.report);
    EXPECT_EQ(b->Parent(), t.band);
    EXPECT_EQ(t.band->Objects().back(), b);
    EXPECT_EQ(a->GetPage(), t.page);
    EXPECT_EQ(a->GetReport(), t.report);
    EXPECT_EQ(t.report->GetPage(), nullptr);

    // Insertion at an index, and moving between parents.
    auto *c = t.view("C");
    c->SetParentAt(t.band, 0);
    EXPECT_EQ(names(t.band->Objects()), split("C A B"));
    b->SetParentAt(t.page, 0);
    EXPECT_EQ(names(t.page->Objects()), split("B Band1"));
    EXPECT_EQ(names(t.band->Objects()), split("C A"));

    // Depth-first pre-order, a fresh list each call.
    auto *d = t.view("D", 0, 0, 1, 1, a);
    const auto all = t.report->GetAllObjects();
    EXPECT_EQ(names(all), split("Page1 B Band1 C A D"));
    EXPECT_EQ(names(a->GetAllObjects()), split("D"));
    EXPECT_EQ(names(all), split("Page1 B Band1 C A D"));
    EXPECT_EQ(t.report->FindObject(u"d"), d);
    EXPECT_EQ(t.report->FindObject(u"Zed"), nullptr);

    // Freeing an object takes it out of its parent and its owner.
    const int owned = t.report->ComponentCount();
    delete a;
    EXPECT_EQ(names(t.report->GetAllObjects()), split("Page1 B Band1 C"));
    EXPECT_EQ(t.report->ComponentCount(), owned - 2);
}

TEST(ObjectTree, AbsolutePositionsStopAtDialogPages)
{
    ReportTree t;
    t.band->SetBounds(5, 100, 500, 50);
    auto *v = t.view("V", 7, 3);
    EXPECT_DOUBLE_EQ(v->GetAbsLeft(), 12);
    EXPECT_DOUBLE_EQ(v->GetAbsTop(), 103);
    auto *dlg = new TkvlDialogPage(t.report);
    dlg->SetBounds(300, 300, 10, 10);
    auto *ctl = t.view("Ctl", 7, 3, 10, 10, dlg);
    EXPECT_DOUBLE_EQ(ctl->GetAbsLeft(), 7);
    EXPECT_DOUBLE_EQ(ctl->GetAbsTop(), 3);
    auto *pv = dynamic_cast<TkvlReportComponent *>(v);
    EXPECT_EQ(pv->GetRealBounds(), (TkvlRect{12, 103, 22, 113}));
}

TEST(ObjectTree, CyclesAreRefusedAndLeaveTheTreeAlone)
{
    ReportTree t;
    auto *a = t.view("A");
    auto *b = t.view("B", 0, 0, 1, 1, a);
    for (TkvlComponent *target : {static_cast<TkvlComponent *>(a), static_cast<TkvlComponent *>(b)}) {
        EXPECT_THROW(a->SetParent(target), EComponentError);
        EXPECT_THROW(a->SetParentAt(target, 0), EComponentError);
    }
    EXPECT_THROW(t.page->SetParent(b), EComponentError);
    EXPECT_EQ(a->Parent(), t.band);
    EXPECT_EQ(b->Parent(), a);
    EXPECT_EQ(t.page->Parent(), t.report);
    EXPECT_EQ(names(t.report->GetAllObjects()), split("Page1 Band1 A B"));

    try {
        a->SetParent(b);
        ADD_FAILURE() << "no error";
    } catch (const EComponentError &e) {
        EXPECT_EQ(e.message(), kvlResourceText(QStringLiteral("clCirRefNotAllow")));
    }
}

TEST(ObjectTree, ClearKeepsInheritedChildren)
{
    ReportTree t;
    auto *inheritedBand = t.band;
    inheritedBand->SetState(csAncestor, true);
    auto *own = t.view("Own");
    auto *inh = t.view("Inh");
    inh->SetState(csAncestor, true);
    auto *otherBand = new TkvlProbeBand(t.page);
    otherBand->SetName(QStringLiteral("Other"));
    (void)own;

    t.page->Clear();
    EXPECT_EQ(names(t.page->Objects()), split("Band1"));  // only the inherited band
    EXPECT_EQ(t.page->Object(0), inheritedBand);
    EXPECT_EQ(names(inheritedBand->Objects()), split("Inh"));
}

TEST(ObjectTree, DestroyingAnObjectClearsReferencesToIt)
{
    ReportTree t;
    auto *src = t.view("Src");
    auto *copy = t.view("Copy");
    auto *mover = t.view("Mover");
    copy->OriginalComponent = src;
    copy->OriginalBand = t.band;
    mover->ShiftChildren.emplace_back(src);
    delete src;
    EXPECT_EQ(copy->OriginalComponent.get(), nullptr);
    EXPECT_EQ(copy->OriginalBand.get(), t.band);
    EXPECT_EQ(mover->ShiftChildren[0].get(), nullptr);
}

TEST(ObjectTree, BeforePrintAndAfterPrintRestoreBounds)
{
    ReportTree t;
    auto *v = t.view("V", 1, 2, 3, 4);
    v->BeforePrint();
    EXPECT_EQ(v->OriginalRect, (TkvlRect{1, 2, 3, 4}));  // width and height in Right and Bottom
    v->SetBounds(10, 20, 30, 40);
    v->AfterPrint();
    EXPECT_EQ((TkvlRect{v->Left(), v->Top(), v->Width(), v->Height()}), (TkvlRect{1, 2, 3, 4}));
}

TEST(ObjectTree, RestrictionsApplyOnlyWhileDesigning)
{
    struct Case {
        bool designing;
        TkvlRestrictions r;
        TkvlRect expect;
    } cases[] = {
        {false, kvlBit(rfDontMove) | kvlBit(rfDontSize), {10, 20, 30, 40}},
        {true, 0, {10, 20, 30, 40}},
        {true, kvlBit(rfDontMove), {1, 2, 30, 40}},
        {true, kvlBit(rfDontSize), {10, 20, 3, 4}},
        {true, kvlBit(rfDontModify) | kvlBit(rfDontDelete), {10, 20, 30, 40}},
    };
    for (const Case &c : cases) {
        ReportTree t;
        auto *v = t.view("V", 1, 2, 3, 4);
        v->IsDesigning = c.designing;
        v->SetRestrictions(c.r);
        v->SetBounds(10, 20, 30, 40);
        EXPECT_EQ((TkvlRect{v->Left(), v->Top(), v->Width(), v->Height()}), c.expect)
            << c.designing << " " << int(c.r);
    }
    // The designer's constructor marks the object as designing before anything else.
    ReportTree t;
    auto *d = static_cast<TkvlProbeView *>(TkvlProbeView::StaticClass()->designCreate(t.band, 3));
    EXPECT_TRUE(d->IsDesigning);
    EXPECT_EQ(d->Parent(), t.band);
}
