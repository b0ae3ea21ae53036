#include "fixtures.h"
#include "report/core/kvlresourcetext.h"

#include <gtest/gtest.h>

namespace {

QString fakeTable(const QString &key)
{
    if (key == QLatin1String("prDupl"))
        return QStringLiteral("Nome duplicato");
    if (key == QLatin1String("clCantRen"))
        return QStringLiteral("Could not rename %s, it was introduced in the ancestor report");
    return key;
}

struct TableHook {
    TableHook() { kvlSetResourceTextHook(&fakeTable); }
    ~TableHook() { kvlSetResourceTextHook(nullptr); }
};

} // namespace

TEST(Naming, RenameRules)
{
    TableHook hook;
    ReportTree t;
    auto *memo = t.view("memo1");
    t.view("Other");

    memo->SetName(QStringLiteral("Memo1"));  // a change of letter case alone changes nothing
    EXPECT_EQ(memo->Name(), QLatin1String("memo1"));

    struct Case {
        const char *name;
        const char *error;  // nullptr: accepted
    } cases[] = {
        {"OTHER", "Nome duplicato"},
        {"Page1", "Nome duplicato"},
        {"2memo", "'2memo' is not a valid component name"},
        {"memo 2", "'memo 2' is not a valid component name"},
        {"Memo2", nullptr},
        {"", nullptr},
    };
    for (const Case &c : cases) {
        memo->SetName(QStringLiteral("Start"));
        const QString n = QString::fromLatin1(c.name);
        if (!c.error) {
            memo->SetName(n);
            EXPECT_EQ(memo->Name(), n);
            continue;
        }
        try {
            memo->SetName(n);
            ADD_FAILURE() << "accepted " << c.name;
        } catch (const EComponentError &e) {
            EXPECT_EQ(e.message(), QLatin1String(c.error));
            EXPECT_EQ(memo->Name(), QLatin1String("Start"));
        }
    }
    EXPECT_THROW(memo->SetName(QStringLiteral("Band1")), EDuplicateName);

    // An object of the parent template keeps its name.
    memo->SetName(QStringLiteral("Inherited1"));
    memo->Ancestor = true;
    try {
        memo->SetName(QStringLiteral("Renamed"));
        ADD_FAILURE() << "renamed an inherited object";
    } catch (const EComponentError &e) {
        EXPECT_EQ(e.message(), QLatin1String("Could not rename Inherited1, it was introduced in the ancestor report"));
    }
    EXPECT_EQ(memo->Name(), QLatin1String("Inherited1"));
}

TEST(Naming, UniqueNames)
{
    struct Case {
        const char *existing;  // names of the other objects, blank-separated
        const char *own;       // the new object's current name
        const char *expect;
    } cases[] = {
        {"", "", "Probe1"},
        {"Probe1 probe3", "", "Probe2"},
        {"PROBE1 Probe2", "", "Probe3"},
        {"", "Probe1", "Probe2"},  // its own name takes part
    };
    for (const Case &c : cases) {
        ReportTree t;
        for (const QString &n : QString::fromLatin1(c.existing).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            t.view(n.toLatin1().constData());
        auto *v = t.view(c.own);
        v->CreateUniqueName();
        EXPECT_EQ(v->Name(), QLatin1String(c.expect)) << c.existing << " / " << c.own;
    }

    // Without a report the parent's objects count; alone, only the object itself.
    TkvlProbeBand band(nullptr);
    auto *a = new TkvlProbeView(&band);
    a->SetName(QStringLiteral("Probe1"));
    auto *b = new TkvlProbeView(&band);
    b->CreateUniqueName();
    EXPECT_EQ(b->Name(), QLatin1String("Probe2"));
    TkvlProbeView alone(nullptr);
    alone.CreateUniqueName();
    EXPECT_EQ(alone.Name(), QLatin1String("Probe1"));
    alone.CreateUniqueName();
    EXPECT_EQ(alone.Name(), QLatin1String("Probe2"));
}

TEST(Naming, BaseNameDropsLibraryPrefixAndView)
{
    ReportTree t;
    EXPECT_EQ(t.view("x")->BaseName(), QLatin1String("Probe"));
    EXPECT_EQ(t.band->BaseName(), QLatin1String("ProbeBand"));
    EXPECT_EQ(t.report->BaseName(), QLatin1String("Report"));
    t.band->SetBaseName(QStringLiteral("Header"));
    t.band->CreateUniqueName();
    EXPECT_EQ(t.band->Name(), QLatin1String("Header1"));
    EXPECT_EQ(t.band->GetDescription(), QLatin1String("TkvlProbeBand"));
}

// Names are looked up in a table kept by the root of the tree; it must follow renames, moves
// between trees and frees.
TEST(Naming, LookupsFollowRenamesMovesAndFrees)
{
    ReportTree t, u;
    auto *a = t.view("A");
    auto *holder = t.view("Holder");
    auto *inner = t.view("Inner", 0, 0, 1, 1, holder);
    ASSERT_EQ(t.report->FindObject(u"a"), a);

    a->SetName(QStringLiteral("B"));
    EXPECT_EQ(t.report->FindObject(u"A"), nullptr);
    EXPECT_EQ(t.report->FindObject(u"b"), a);
    t.view("A");  // the old name is free again
    EXPECT_THROW(t.view("b"), EDuplicateName);

    // A subtree moved into another report takes its names along.
    holder->SetParent(u.band);
    EXPECT_EQ(t.report->FindObject(u"inner"), nullptr);
    EXPECT_EQ(u.report->FindObject(u"inner"), inner);
    EXPECT_THROW(inner->SetName(QStringLiteral("Band1")), EDuplicateName);  // now u's band
    inner->SetName(QStringLiteral("Moved"));
    EXPECT_EQ(u.report->FindObject(u"Moved"), inner);
    EXPECT_EQ(u.band->FindObject(u"moved"), inner);
    EXPECT_EQ(u.page->FindObject(u"Band1"), u.band);
    EXPECT_EQ(u.band->FindObject(u"Band1"), nullptr);  // only descendants count

    // Two objects of one name (brought in by a move): the first in tree order is found, and
    // from a branch the one inside it.
    auto *again = u.view("B");
    a->SetParentAt(u.page, 0);
    EXPECT_EQ(u.report->FindObject(u"b"), a);
    EXPECT_EQ(u.band->FindObject(u"b"), again);
    delete a;
    EXPECT_EQ(u.report->FindObject(u"b"), again);

    // A freed subtree leaves the table; its names can be given again.
    delete holder;
    EXPECT_EQ(u.report->FindObject(u"Moved"), nullptr);
    u.view("Moved");
    EXPECT_NE(u.report->FindObject(u"moved"), nullptr);

    // A tree without a report: the root keeps the table, and a detached branch leaves it.
    TkvlProbeBand band(nullptr);
    auto *x = new TkvlProbeView(&band);
    x->SetName(QStringLiteral("X"));
    auto *y = new TkvlProbeView(x);
    y->SetName(QStringLiteral("Y"));
    EXPECT_EQ(band.FindObject(u"y"), y);
    x->SetParent(nullptr);
    EXPECT_EQ(band.FindObject(u"y"), nullptr);
    EXPECT_EQ(x->FindObject(u"y"), y);
    x->SetParent(&band);
    y->SetName(QStringLiteral("Z"));
    EXPECT_EQ(band.FindObject(u"z"), y);
}
