#include "platform/rtl/exceptions.h"
#include "report/utils/textutils.h"

#include <gtest/gtest.h>

namespace {

QStringList L(std::initializer_list<const char *> items)
{
    QStringList l;
    for (const char *s : items)
        l.append(QString::fromUtf8(s));
    return l;
}

TEST(PageNumbers, ExpandsRangesInWrittenOrder)
{
    struct Case {
        const char *text;
        int total;
        QStringList expected;
    } cases[] = {
        {"1,3-5,8-", 10, L({"1", "3", "4", "5", "8", "9", "10"})},
        {"5-3", 10, {}},
        {"", 10, {}},
        {" 2 , 2", 10, L({"2", "2"})},      // blanks removed, duplicates kept
        {"7", 3, L({"7"})},                 // single pages are not compared with the total
        {"1-999999999", 3, L({"1", "2", "3"})}, // a range never runs past the total
        {"4-9", 3, {}},
    };
    for (const Case &c : cases) {
        QStringList list{QStringLiteral("stale")};
        kvlParsePageNumbers(QString::fromUtf8(c.text), list, c.total);
        EXPECT_EQ(list, c.expected) << c.text;
    }
}

TEST(PageNumbers, RejectsPiecesThatAreNotNumbers)
{
    for (const char *text : {"a", "1,,2", "1-x", "99999999999"}) {
        QStringList list;
        EXPECT_THROW(kvlParsePageNumbers(QString::fromUtf8(text), list, 10), EConvertError) << text;
    }
}

TEST(DelimitedText, CutsIntoNonEmptyPieces)
{
    struct Case {
        const char *text;
        QStringList expected;
    } cases[] = {
        {"a;b", L({"a", "b"})},       {"a;;b", L({"a", "b"})}, {"a;b;", L({"a", "b;"})},
        {"a;", L({"a;"})},            {"abc", {}},             {";", {}},
        {"", {}},                     {"ab;cd;ef", L({"ab", "cd", "ef"})},
    };
    for (const Case &c : cases) {
        QStringList list{QStringLiteral("stale")};
        kvlParseDilimitedText(list, QString::fromUtf8(c.text), u';');
        EXPECT_EQ(list, c.expected) << c.text;
    }
}

TEST(CommaText, KeepsEmptyPiecesButNoFinalOne)
{
    struct Case {
        const char *text;
        QStringList expected;
    } cases[] = {
        {"a;;b", L({"a", "", "b"})}, {"a;", L({"a"})}, {";", L({""})}, {"", {}}, {"\"a;b\"", L({"\"a", "b\""})},
    };
    for (const Case &c : cases) {
        QStringList list{QStringLiteral("stale")};
        kvlSetCommaText(QString::fromUtf8(c.text), list, u';');
        EXPECT_EQ(list, c.expected) << c.text;
    }
}

TEST(BracketedExpression, MatchesNestedAndQuotedDelimiters)
{
    struct Case {
        const char *text;
        const char *open;
        const char *close;
        int i;
        const char *expected;
        int i1, j1;
        bool closed;
    } cases[] = {
        {"[a]", "[", "]", 1, "a", 1, 3, true},
        {"x[a[b]c]y", "[", "]", 2, "a[b]c", 2, 8, true},
        {"[a']'b]", "[", "]", 1, "a']'b", 1, 7, true},
        {"[\"]\"]!", "[", "]", 1, "\"]\"", 1, 5, true},
        {"<%a%>b", "<%", "%>", 1, "a", 1, 5, true},
        {"[]", "[", "]", 1, "", 1, 2, true},
        // No opening delimiter at i, or none closing: nothing found, the text stays as it is.
        {"abc", "[", "]", 1, "", 1, 1, false},
        {"[abc", "[", "]", 1, "", 1, 1, false},
        {"[a[b]", "[", "]", 1, "", 1, 1, false},
        {"['a]", "[", "]", 1, "", 1, 1, false},
        {"[a]", "[", "]", 9, "", 9, 9, false},
        {"", "[", "]", 1, "", 1, 1, false},
    };
    for (const Case &c : cases) {
        int i = c.i, j = -1;
        bool closed = !c.closed;
        const QString r = kvlGetBrackedVariableW(QString::fromUtf8(c.text), QString::fromUtf8(c.open),
                                                 QString::fromUtf8(c.close), i, j, &closed);
        EXPECT_EQ(r, QString::fromUtf8(c.expected)) << c.text;
        EXPECT_EQ(i, c.i1) << c.text;
        EXPECT_EQ(j, c.j1) << c.text;
        EXPECT_EQ(closed, c.closed) << c.text;
    }
}

TEST(Paths, SlashesStayOnRealPaths)
{
    EXPECT_EQ(kvlUnixPath2WinPath(QStringLiteral("/tmp/a/b.kp3")), QStringLiteral("/tmp/a/b.kp3"));
    EXPECT_EQ(ChangeChars(QStringLiteral("a.b.c"), u'.', u','), QStringLiteral("a,b,c"));
}

} // namespace
