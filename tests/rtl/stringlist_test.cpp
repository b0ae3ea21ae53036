#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"

#include <gtest/gtest.h>

namespace {

QStringList items(const TStringList &l) { return l.toQStringList(); }

TEST(TStringList, TextJoinsWithCrLfAndSplitsAnyBreak)
{
    TStringList l;
    l.SetText(QStringLiteral("a\r\nb\nc\rd\r\n\r\ne"));
    EXPECT_EQ(items(l), (QStringList{"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(l.Text(), QStringLiteral("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n"));
    l.SetText(QStringLiteral("x\r\n"));
    EXPECT_EQ(items(l), QStringList{"x"}); // a final break adds no empty line
    l.SetText(QString());
    EXPECT_EQ(l.Count(), 0);
}

TEST(TStringList, SortedDuplicatesAndFind)
{
    TStringList l;
    l.SetSorted(true);
    for (const char *s : {"pear", "Apple", "fig", "apple"})
        l.Add(QString::fromLatin1(s));
    EXPECT_EQ(items(l), (QStringList{"Apple", "fig", "pear"})); // case-insensitive: apple is a duplicate
    int at = -1;
    EXPECT_TRUE(l.Find(QStringLiteral("FIG"), at));
    EXPECT_EQ(at, 1);
    EXPECT_FALSE(l.Find(QStringLiteral("banana"), at));
    EXPECT_EQ(at, 1);
    EXPECT_EQ(l.IndexOf(QStringLiteral("PEAR")), 2);

    l.SetDuplicates(dupError);
    EXPECT_THROW(l.Add(QStringLiteral("APPLE")), EStringListError);
    l.SetDuplicates(dupAccept);
    EXPECT_EQ(l.Add(QStringLiteral("APPLE")), 1);
    EXPECT_EQ(l.Count(), 4);

    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf(QStringLiteral("apple")), -1);
    EXPECT_THROW(l.Insert(0, QStringLiteral("x")), EStringListError);
    EXPECT_THROW(l.SetStrings(0, QStringLiteral("x")), EStringListError);
    try {
        l.Strings(9);
        ADD_FAILURE();
    } catch (const EStringListError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (9)"));
    }
}

TEST(TStringList, NamesAndValues)
{
    TStringList l;
    l.SetText(QStringLiteral("Font=Arial\nSize=10\nplain\nEmpty="));
    EXPECT_EQ(l.Names(0), QStringLiteral("Font"));
    EXPECT_EQ(l.Names(2), QString());
    EXPECT_EQ(l.Values(QStringLiteral("size")), QStringLiteral("10"));
    EXPECT_EQ(l.Values(QStringLiteral("missing")), QString());
    EXPECT_EQ(l.ValueFromIndex(0), QStringLiteral("Arial"));
    l.SetValues(QStringLiteral("Size"), QStringLiteral("12"));
    l.SetValues(QStringLiteral("Color"), QStringLiteral("red"));
    l.SetValues(QStringLiteral("Font"), QString());
    EXPECT_EQ(items(l), (QStringList{"Size=12", "plain", "Empty=", "Color=red"}));

    TStringList sorted;
    sorted.SetSorted(true);
    int obj = 0;
    sorted.AddObject(QStringLiteral("b=1"), &obj);
    sorted.SetValues(QStringLiteral("a"), QStringLiteral("2"));
    sorted.SetValues(QStringLiteral("b"), QStringLiteral("0"));
    EXPECT_EQ(items(sorted), (QStringList{"a=2", "b=0"}));
    EXPECT_EQ(sorted.Objects(1), &obj);
}

TEST(TStringList, DelimitedTextQuoting)
{
    struct Case { QStringList list; const char *comma; } cases[] = {
        {{"a", "b c", "d\"e", "", "f,g"}, "a,\"b c\",\"d\"\"e\",,\"f,g\""},
        {{""}, "\"\""},
        {{}, ""},
    };
    for (const auto &c : cases) {
        TStringList l(c.list);
        EXPECT_EQ(l.CommaText(), QString::fromLatin1(c.comma));
        TStringList back;
        back.SetCommaText(l.CommaText());
        EXPECT_EQ(items(back), c.list) << c.comma;
    }
    TStringList l;
    l.SetCommaText(QStringLiteral(" a b ,c,"));
    EXPECT_EQ(items(l), (QStringList{"a", "b", "c", ""})); // blanks split too, a final comma adds ""
    l.Delimiter = u';';
    l.StrictDelimiter = true;
    l.SetDelimitedText(QStringLiteral("a b;'x';\"q;r\""));
    EXPECT_EQ(items(l), (QStringList{"a b", "'x'", "q;r"}));
    EXPECT_EQ(l.DelimitedText(), QStringLiteral("a b;'x';\"q;r\""));
}

TEST(TStringList, ObjectsTravelWithTheirStrings)
{
    int one = 1, two = 2, three = 3;
    TStringList l;
    l.AddObject(QStringLiteral("c"), &three);
    l.AddObject(QStringLiteral("a"), &one);
    l.AddObject(QStringLiteral("b"), &two);
    l.Sort();
    EXPECT_EQ(l.Objects(0), &one);
    EXPECT_EQ(l.Objects(2), &three);
    l.Move(0, 2);
    EXPECT_EQ(items(l), (QStringList{"b", "c", "a"}));
    EXPECT_EQ(l.IndexOfObject(&one), 2);
    l.Exchange(0, 1);
    EXPECT_EQ(l.Objects(0), &three);
    l.CustomSort([](const TStringList &s, int i, int j) {
        return *static_cast<int *>(s.Objects(j)) - *static_cast<int *>(s.Objects(i));
    });
    EXPECT_EQ(items(l), (QStringList{"c", "b", "a"}));
    l.AddStrings(l);
    EXPECT_EQ(l.Count(), 6);
    l.Delete(0);
    EXPECT_EQ(l.Objects(0), &two);
}

} // namespace
