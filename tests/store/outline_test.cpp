// Outline, anchors and the alias dictionary beside the prepared pages.
#include "tests/store/storefixture.h"

#include "report/seams/kvlengine.h"
#include "report/xml/xmlitem.h"

#include <gtest/gtest.h>

#include <functional>

using namespace storetest;

namespace {

// "text@page:top" for each item of the current level, children in brackets.
QString outlineText(TkvlXMLItem *Level)
{
    QString out;
    for (int i = 0; i < Level->Count(); ++i) {
        TkvlXMLItem *it = Level->Items(i);
        if (!out.isEmpty())
            out += u' ';
        out += it->Prop(QStringLiteral("text")) + u'@' + it->Prop(QStringLiteral("page")) + u':'
               + it->Prop(QStringLiteral("top"));
        if (it->Count() > 0)
            out += u'[' + outlineText(it) + u']';
    }
    return out;
}

struct Registered {
    Registered() { registerOnce(); }
};

struct OutlineTest : ::testing::Test, Registered {
    TkvlReport report{nullptr};
    TkvlPreviewPages &store = *static_cast<TkvlPreviewPages *>(report.PreviewPages());
    TkvlOutline &outline = *static_cast<TkvlOutline *>(store.Outline.get());
    void addPages(int N)
    {
        for (int i = 0; i < N; ++i)
            store.AddPage(nullptr);
    }
};

} // namespace

TEST_F(OutlineTest, OutlineOperations)
{
    struct Case {
        const char *name;
        std::function<void(OutlineTest &)> act;
        const char *expected;
    };
    const Case cases[] = {
        {"master rows with detail items nest, LevelUp at the root stays there",
         [](OutlineTest &t) {
             t.addPages(1);
             t.outline.AddItem(QStringLiteral("A"), 10);
             t.outline.AddItem(QStringLiteral("a1"), 20);
             t.outline.LevelUp();
             t.outline.AddItem(QStringLiteral("a2"), 30);
             t.outline.LevelUp();
             t.outline.LevelUp();
             t.outline.AddItem(QStringLiteral("B"), 40);
             t.outline.LevelUp();
             t.outline.LevelUp();
             t.outline.LevelUp();
             t.outline.AddItem(QStringLiteral("C<\"&>"), 50);
         },
         "A@0:10[a1@0:20 a2@0:30] B@0:40 C<\"&>@0:50"},
        {"a keep block of three siblings moved to the next page: all three move, measured from the first",
         [](OutlineTest &t) {
             t.addPages(1);
             t.outline.AddItem(QStringLiteral("before"), 5);
             t.outline.LevelUp();
             TkvlXMLItem *from = t.outline.GetCurPosition();
             t.outline.AddItem(QStringLiteral("s1"), 700);
             t.outline.AddItem(QStringLiteral("s1.1"), 710);
             t.outline.LevelUp();
             t.outline.LevelUp();
             t.outline.AddItem(QStringLiteral("s2"), 730);
             t.outline.LevelUp();
             t.outline.AddItem(QStringLiteral("s3"), 760);
             t.outline.LevelUp();
             t.addPages(1);
             t.outline.ShiftItems(from, 100);
         },
         "before@0:5 s1@1:100[s1.1@1:110] s2@1:130 s3@1:160"},
        {"a keep block that began on an empty level moves every item of that level",
         [](OutlineTest &t) {
             t.addPages(1);
             TkvlXMLItem *from = t.outline.GetCurPosition();
             t.outline.AddItem(QStringLiteral("s1"), 500);
             t.outline.LevelUp();
             t.outline.AddItem(QStringLiteral("s2"), 520);
             t.outline.LevelUp();
             t.addPages(1);
             t.outline.ShiftItems(from, 40);
         },
         "s1@1:40 s2@1:60"},
        {"a block moved to the next column of the same page keeps its page",
         [](OutlineTest &t) {
             t.addPages(1);
             TkvlXMLItem *from = t.outline.GetCurPosition();
             t.outline.AddItem(QStringLiteral("s1"), 500);
             t.outline.LevelUp();
             t.outline.ShiftItems(from, 80);
         },
         "s1@0:80"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        OutlineTest &t = *this;
        t.store.Clear();
        c.act(t);
        t.outline.LevelRoot();
        EXPECT_EQ(outlineText(t.outline.Root()), QString::fromUtf8(c.expected));
    }
}

TEST_F(OutlineTest, GetItemReadsTheCurrentLevel)
{
    addPages(2);
    outline.AddItem(QStringLiteral("A"), 10);
    outline.AddItem(QStringLiteral("a1"), 20);
    outline.LevelRoot();
    ASSERT_EQ(outline.GetCount(), 1);
    outline.LevelDown(0);
    ASSERT_EQ(outline.GetCount(), 1);
    QString text;
    int page = -5, top = -5;
    outline.GetItem(0, text, page, top);
    EXPECT_EQ(text, QStringLiteral("a1"));
    EXPECT_EQ(page, 1);
    EXPECT_EQ(top, 20);
}

TEST_F(OutlineTest, Anchors)
{
    addPages(1);
    store.AddAnchor(QStringLiteral("Target"));
    addPages(1);
    store.AddAnchor(QStringLiteral("target"));
    EXPECT_EQ(store.GetAnchorPage(QStringLiteral("TARGET")), 2) << "the later anchor wins, any case";
    EXPECT_EQ(store.GetAnchorPage(QStringLiteral("nowhere")), 1);
    EXPECT_EQ(store.FindAnchor(QStringLiteral("nowhere")), nullptr);

    // A keep block with two anchors moved to the next page, the first of them to 30.
    const int from = store.GetAnchorCurPosition();
    EXPECT_EQ(from, 1);
    store.AddAnchor(QStringLiteral("k1"));
    store.AddAnchor(QStringLiteral("k2"));
    store.FindAnchor(QStringLiteral("k1"))->SetProp(QStringLiteral("top"), QStringLiteral("600"));
    store.FindAnchor(QStringLiteral("k2"))->SetProp(QStringLiteral("top"), QStringLiteral("650"));
    addPages(1);
    store.ShiftAnchors(from, 30);
    EXPECT_EQ(store.FindAnchor(QStringLiteral("k1"))->Text(), QStringLiteral("text=\"k1\" page=\"2\" top=\"30\""));
    EXPECT_EQ(store.FindAnchor(QStringLiteral("k2"))->Text(), QStringLiteral("text=\"k2\" page=\"2\" top=\"80\""));
    EXPECT_EQ(store.GetAnchorPage(QStringLiteral("target")), 2) << "anchors before the block stay";
}

TEST(DictionaryTest, UniqueNamesAndLookups)
{
    struct Case {
        const char *name;
        std::vector<QString> used;
        const char *expected;
    };
    std::vector<QString> upTo300;
    for (int i = 1; i <= 300; ++i)
        upTo300.push_back(QStringLiteral("m%1").arg(i));
    const Case cases[] = {
        {"empty", {}, "m1"},
        {"m1 to m300", upTo300, "m301"},
        {"only m5000", {QStringLiteral("m5000")}, "m5001"},
        {"aliases of another base do not count", {QStringLiteral("b1"), QStringLiteral("b2")}, "m1"},
        {"upper case is the same alias", {QStringLiteral("M1")}, "m2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TkvlDictionary d;
        for (const QString &u : c.used)
            d.Add(u, QStringLiteral("Page0.") + u, nullptr);
        EXPECT_EQ(d.CreateUniqueName(QStringLiteral("m")), QString::fromLatin1(c.expected));
    }

    TkvlDictionary d;
    TkvlMemoView a(nullptr), b(nullptr);
    EXPECT_EQ(d.AddUnique(QStringLiteral("m"), QStringLiteral("Page0.Memo.1"), &a), QStringLiteral("m1"));
    EXPECT_EQ(d.AddUnique(QStringLiteral("m"), QStringLiteral("Page1.Memo2"), &b), QStringLiteral("m2"));
    d.Add(QStringLiteral("M2"), QStringLiteral("Page9.X"), &a);  // a duplicate is ignored
    EXPECT_EQ(d.GetObject(QStringLiteral("M2")), &b);
    EXPECT_EQ(d.GetSourceName(QStringLiteral("m1")), QStringLiteral("Page0.Memo.1"));
    EXPECT_EQ(d.GetObject(QStringLiteral("x1")), nullptr);
    EXPECT_EQ(d.GetSourceName(QStringLiteral("x1")), QString());
    d.Add(QStringLiteral("m10"), QString(), nullptr);
    EXPECT_EQ(d.Names(), (QStringList{QStringLiteral("m1"), QStringLiteral("m10"), QStringLiteral("m2")}));
    d.Clear();
    EXPECT_EQ(d.Count(), 0);
}
