// Wrapping, tags, hyphenation, measurements and splitting, on a measurer worked out by hand.
#include "textfixture.h"

#include "report/text/hyphenation.h"

using texttest::Layout;

namespace {

struct WrapCase {
    const char *name;
    QString text;
    int widthChars;
    bool wordBreak;
    QStringList lines;
};

TEST(TextWrap, BreaksLinesAsWorkedOutByHand)
{
    const WrapCase cases[] = {
        {"blank dropped at the break", "aaa bbb ccc", 7, false, {"aaa bbb", "ccc"}},
        {"exact fit stays on the line", "aaaa bbbb", 4, false, {"aaaa", "bbbb"}},
        {"empty line is one blank", "", 5, false, {" "}},
        {"empty line between paragraphs", "ab\n\ncd", 5, false, {"ab", " ", "cd"}},
        {"long word cut without word break", "abcdefghij", 4, false, {"abcd", "efgh", "ij"}},
        {"long word without hyphenation point", "abcdefghij", 4, true, {"abcd", "efgh", "ij"}},
        {"a character wider than the line", "ab", 0, false, {"a", "b"}},
        {"nowrap keeps its blanks", "aa <nowrap>bb cc</nowrap> dd", 6, false, {"aa", "bb cc", "dd"}},
        {"tags take no width", "<b>aa</b> <i>bb</i>", 5, false, {"aa bb"}},
        {"russian word hyphenated", u"программа"_qs, 6, true, {u"прог-"_qs, u"рамма"_qs}},
        {"hyphenated after a blank", u"это программа"_qs, 8, true, {u"это про-"_qs, u"грамма"_qs}},
        {"no word break: cut", u"программа"_qs, 6, false, {u"програ"_qs, u"мма"_qs}},
    };
    for (const WrapCase &c : cases) {
        SCOPED_TRACE(c.name);
        Layout l;
        l.text.SetOptions(true, true, false, c.wordBreak, false, true, 0);
        l.SetBox(c.widthChars);
        l.Set(c.text);
        EXPECT_EQ(l.Lines(), c.lines);
    }
}

TEST(TextWrap, WordWrapOffAndParagraphGapAndFlags)
{
    Layout l;
    l.text.SetOptions(false, true, false, false, false, true, 0);
    l.SetBox(3);
    l.Set("aaa bbb ccc");
    EXPECT_EQ(l.Lines(), QStringList{"aaa bbb ccc"});

    // The first line of a paragraph is narrower by the gap (one character here).
    l.text.SetOptions(true, true, false, false, false, true, 0);
    l.text.SetGaps(24, 0, 0);
    l.SetBox(5);
    l.Set("aaa bb cc dd\nee");
    EXPECT_EQ(l.Lines(), (QStringList{"aaa", "bb cc", "dd", "ee"}));
    EXPECT_EQ(l.text.LineFlags(0), kvlParaFirst);
    EXPECT_EQ(l.text.LineFlags(1), 0);
    EXPECT_EQ(l.text.LineFlags(2), kvlParaLast);
    EXPECT_EQ(l.text.LineFlags(3), kvlParaFirst | kvlParaLast);
    // With a paragraph broken before this text, its first line takes the full width.
    l.Set("aa bb cc", false);
    EXPECT_EQ(l.Lines().first(), "aa");
    l.Set("aa bb cc", true);
    EXPECT_EQ(l.Lines().first(), "aa bb");
    l.text.SetParaBreaks(true, true);
    EXPECT_EQ(l.text.LineFlags(0), 0);
    EXPECT_EQ(l.text.LineFlags(l.text.LineCount() - 1), 0);
}

TEST(TextWrap, Sideways90And270WrapAtTheHeight)
{
    Layout l;
    for (int rotation : {90, 270}) {
        l.text.SetOptions(true, true, false, false, false, true, rotation);
        const QRect r(0, 0, 1000, 3 * 24);
        l.text.SetDimensions(1, 1, 1, r, r);
        l.Set("aaa bbb");
        EXPECT_EQ(l.Lines(), (QStringList{"aaa", "bbb"})) << rotation;
    }
}

TEST(TextHyphenation, RussianBreakPositionsWorkedOutByHand)
{
    const struct {
        QString word;
        std::vector<int> breaks;
    } cases[] = {
        {u"ПРОГРАММА"_qs, {3, 4, 7}},   // no break inside the doubled М before a vowel
        {u"КОМПЬЮТЕР"_qs, {2, 3, 6}},   // never before a soft sign
        {u"ВОЙНА"_qs, {3}},             // never before Й
        {u"ЁЛКА"_qs, {2}},              // Ё is a vowel
        {u"ДОМ"_qs, {}},                // too short
        {u"WORD"_qs, {}},               // not Russian
    };
    std::vector<int> out;
    for (const auto &c : cases) {
        BreakRussianWord(c.word, out);
        EXPECT_EQ(out, c.breaks) << c.word.toStdString();
    }
}

struct TagCase {
    const char *name;
    QString text;
    QString chars;       // visible characters
    int index;           // the character whose record is checked
    uint8_t style;
    TColor color;
    int size;
    TSubStyle sub;
    bool isDefault;
};

TEST(TextTags, ParsedInAnyCaseWithColoursAndSizes)
{
    const TColor def = 0x123456;
    const TagCase cases[] = {
        {"bold, any case", "<B>x</b>y", "xy", 0, gfx::StyleBold, def, 12, ssNormal, false},
        {"bold closed", "<B>x</b>y", "xy", 1, 0, def, 12, ssNormal, false},
        {"same as before", "<i>xy", "xy", 1, gfx::StyleItalic, def, 12, ssNormal, true},
        {"first plain character", "xy", "xy", 0, 0, def, 12, ssNormal, true},
        {"all styles", "<u><STRIKE><i>x", "x", 0, 15 - 1, def, 12, ssNormal, false},
        {"quoted hex", "<font color=\"#FF8000\">x", "x", 0, 0, 0x0080FF, 12, ssNormal, false},
        {"blanks before the value", "<FONT COLOR=  \"#00ff00\">x", "x", 0, 0, 0x00FF00, 12, ssNormal, false},
        {"bare colour name", "<font color=Red>x</font>y", "xy", 0, 0, 0x0000FF, 12, ssNormal, false},
        {"font closed", "<font color=red>x</font>y", "xy", 1, 0, def, 12, ssNormal, false},
        {"quoted name is text", "<font color=\"red\">x", "<font color=\"red\">x", 0, 0, def, 12, ssNormal, true},
        {"short hex is text", "<font color=\"#12345\">x", "<font color=\"#12345\">x", 0, 0, def, 12, ssNormal, true},
        {"bad hex digit is text", "<font color=\"#GG0000\">x", "<font color=\"#GG0000\">x", 0, 0, def, 12, ssNormal, true},
        {"empty colour is text", "<font color=>x", "<font color=>x", 0, 0, def, 12, ssNormal, true},
        {"unknown tag is text", "<x>a", "<x>a", 0, 0, def, 12, ssNormal, true},
        {"subscript", "<sub>2</sub>3", "23", 0, 0, def, 8, ssSubscript, false},
        {"subscript closed", "<sub>2</sub>3", "23", 1, 0, def, 12, ssNormal, false},
        {"superscript", "x<SUP>2", "x2", 1, 0, def, 8, ssSuperscript, false},
        {"only tags: one blank", "<b></b>", " ", 0, 0, def, 12, ssNormal, true},
    };
    for (const TagCase &c : cases) {
        SCOPED_TRACE(c.name);
        TkvlHTMLTagsList p;
        p.SetDefaults(0, def, 12, true);
        std::vector<char16_t> out;
        p.ExpandHTMLTags(c.text, out);
        EXPECT_EQ(QString(reinterpret_cast<const QChar *>(out.data()), qsizetype(out.size())), c.chars);
        ASSERT_EQ(p.Tags().size(), out.size());
        const TkvlHTMLTag &t = p.Tags()[size_t(c.index)];
        EXPECT_EQ(t.Style, c.style);
        EXPECT_EQ(t.Color, c.color);
        EXPECT_EQ(t.Size, c.size);
        EXPECT_EQ(t.SubType, c.sub);
        EXPECT_EQ(t.Small, c.size != 12);
        EXPECT_EQ(t.AddY, c.sub == ssSubscript ? 1 : 0);
        EXPECT_EQ(t.Default, c.isDefault);
    }
}

TEST(TextTags, PositionsCountTagsAndLineEndsAndTagsOffKeepsText)
{
    TkvlHTMLTagsList p;
    p.SetDefaults(0, 0, 10, true);
    std::vector<char16_t> out;
    p.ExpandHTMLTags(u"a<b>b", out);
    p.Skip(2);
    p.ExpandHTMLTags(u"c", out);
    ASSERT_EQ(p.Tags().size(), 3u);
    EXPECT_EQ(p.Tags()[0].Position, 1);
    EXPECT_EQ(p.Tags()[1].Position, 5);
    EXPECT_EQ(p.Tags()[2].Position, 8);
    EXPECT_TRUE(p.Tags()[2].Default);   // same as the last character of the line before

    p.SetDefaults(0, 0, 10, false);
    out.clear();
    p.ExpandHTMLTags(u"<b>x", out);
    EXPECT_EQ(out.size(), 4u);
    EXPECT_TRUE(p.Tags()[0].Default);

    EXPECT_EQ(TkvlDrawText::DeleteTags(u"<b>a</b> <font color=red>b</font>\r\n<x>"), "a b\r\n<x>");
}

// Each visible character of a run keeps its own place in the source and only the first one
// after a change of formatting is marked as changed.
TEST(TextTags, EveryCharacterOfARunHasItsPlaceAndFormatting)
{
    const struct {
        const char16_t *text;
        std::vector<int> positions;
        std::vector<bool> defaults;
        std::vector<uint8_t> styles;
    } cases[] = {
        {u"ab<b>cd</b>e", {1, 2, 6, 7, 12}, {true, true, false, true, false}, {0, 0, 1, 1, 0}},
        {u"x<y>z", {1, 2, 3, 4, 5}, {true, true, true, true, true}, {0, 0, 0, 0, 0}},
        {u"<i>abc", {4, 5, 6}, {false, true, true}, {2, 2, 2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        TkvlHTMLTagsList p;
        p.SetDefaults(0, 0, 10, true);
        std::vector<char16_t> out;
        p.ExpandHTMLTags(QStringView(c.text), out);
        ASSERT_EQ(p.Tags().size(), c.positions.size());
        for (size_t i = 0; i < c.positions.size(); ++i) {
            EXPECT_EQ(p.Tags()[i].Position, c.positions[i]) << i;
            EXPECT_EQ(p.Tags()[i].Default, c.defaults[i]) << i;
            EXPECT_EQ(p.Tags()[i].Style & 3, c.styles[i]) << i;
        }
    }
    // A line of tags only stands as one blank at the place after them; the next line goes on
    // from there.
    TkvlHTMLTagsList p;
    p.SetDefaults(0, 0, 10, true);
    std::vector<char16_t> out;
    p.ExpandHTMLTags(u"<b></b>", out);
    p.Skip(2);
    p.ExpandHTMLTags(u"xy", out);
    ASSERT_EQ(p.Tags().size(), 3u);
    EXPECT_EQ(p.Tags()[0].Position, 8);
    EXPECT_EQ(p.Tags()[1].Position, 10);
    EXPECT_EQ(p.Tags()[2].Position, 11);
}

TEST(TextTags, NulIsAnOrdinaryCharacter)
{
    Layout l;
    l.SetBox(10);
    const QString s = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    l.Set(s);
    EXPECT_EQ(l.Lines(), QStringList{s});
}

TEST(TextMeasure, HeightsWidthsAndUnusedSpace)
{
    Layout l;   // 96-pixel lines
    l.SetBox(3, 200);
    l.Set("aaa bbb ccc");
    EXPECT_DOUBLE_EQ(l.text.TextHeight(), 96);
    EXPECT_DOUBLE_EQ(l.text.CalcHeight(), 3 * 96);
    EXPECT_DOUBLE_EQ(l.text.CalcWidth(), 72);

    l.text.SetGaps(0, 0, -8);   // negative spacing: lines closer, plus the spacing once
    EXPECT_DOUBLE_EQ(l.text.LineHeight(), 88);
    EXPECT_DOUBLE_EQ(l.text.CalcHeight(), 3 * 88 + 8);

    const struct {
        int height;
        double lineSpacing;
        double unused;
    } cases[] = {
        {191, 0, 0.0001},   // exactly two lines: full, yet not "nothing fits"
        {200, 0, 9},
        {94, 0, 0},         // no line fits
        {95, 0, 0.0001},
        {300, -96, 300 + 1 - 96},   // zero pitch: every line fits, nothing divides by 0
        {300, -100, 300 + 1 - (3 * -4 + 100)},
    };
    for (const auto &c : cases) {
        l.text.SetGaps(0, 0, c.lineSpacing);
        const QRect r(0, 0, 72, c.height);
        l.text.SetDimensions(1, 1, 1, r, r);
        EXPECT_DOUBLE_EQ(l.text.UnusedSpace(), c.unused) << c.height << " " << c.lineSpacing;
    }
    l.text.SetGaps(0, 0, -100);
    bool paraBreak = true;
    EXPECT_EQ(l.text.GetOutBoundsText(paraBreak), QString());
    EXPECT_FALSE(paraBreak);
    EXPECT_EQ(l.text.LineCount(), 3);
}

TEST(TextMeasure, WidthCountsSmallCharactersGapAndSpacing)
{
    Layout l;
    l.SetBox(40);
    l.Set("<sub>aa</sub>");
    // 150 units shrink to rnd(150 / 1.5) = 100 each.
    EXPECT_DOUBLE_EQ(l.text.CalcWidth(), 200 / 6.25);
    l.text.SetGaps(4, 2, 0);
    l.Set("aaa");
    // 450 + rnd(6.25 * 3 * 2) + rnd(6.25 * 4) = 450 + 38 + 25 (halves to even)
    EXPECT_DOUBLE_EQ(l.text.CalcWidth(), (450 + 38 + 25) / 6.25);
    l.text.SetText(QStringList(), false);
    EXPECT_EQ(l.text.CalcWidth(), 0);
    EXPECT_EQ(l.text.CalcHeight(), 0);
}

struct SplitCase {
    const char *name;
    QString text;
    int widthChars;
    int height;
    bool wordBreak;
    QString rest;
    bool paraBreak;
    QString kept;
    QStringList keptLines;
};

TEST(TextSplit, ContinuationTextTagsParagraphsAndHyphen)
{
    const QString black = "<font color=\"#000000\">";
    const SplitCase cases[] = {
        {"inside a paragraph", "aaa bbb ccc", 3, 191, false, black + "ccc\r\n", true, "aaa bbb",
         {"aaa", "bbb"}},
        {"at a paragraph end", "aaa\nbbb", 3, 100, false, black + "bbb\r\n", false, "aaa\r\n", {"aaa"}},
        {"formatting in front", "aaa <b><i>bbb ccc</i></b>", 3, 100, false,
         black + "<i><b><b><i>bbb ccc</i></b>\r\n", true, "aaa", {"aaa"}},
        {"colour, superscript, underline", "a <u><font color=\"#FF0000\"><sup>b</sup></font></u>", 1,
         100, false, "<font color=\"#FF0000\"><sup><u><u><font color=\"#FF0000\"><sup>b</sup></font></u>\r\n",
         true, "a", {"a"}},
        {"hyphen kept", u"это программа"_qs, 8, 100, true, black + u"грамма\r\n"_qs, true,
         u"это про-"_qs, {u"это про-"_qs}},
        {"nothing fits", "aaa bbb", 3, 50, false, black + "aaa bbb\r\n", false, "", {}},
        {"a cut word loses no character", "abcdef", 3, 100, false, black + "def\r\n", true, "abc",
         {"abc"}},
    };
    for (const SplitCase &c : cases) {
        SCOPED_TRACE(c.name);
        Layout l;
        l.text.SetOptions(true, true, false, c.wordBreak, false, true, 0);
        l.SetBox(c.widthChars, c.height);
        l.Set(c.text);
        bool paraBreak = !c.paraBreak;
        EXPECT_EQ(l.text.GetOutBoundsText(paraBreak), c.rest);
        EXPECT_EQ(paraBreak, c.paraBreak);
        EXPECT_EQ(l.text.GetInBoundsText(), c.kept);
        EXPECT_EQ(l.Lines(), c.keptLines);
    }
}

TEST(TextSplit, WithoutTagsNoPrefixAndWrappedText)
{
    Layout l;
    l.text.SetOptions(true, false, false, false, false, true, 0);
    l.SetBox(3, 100);
    l.Set("aaa <b>b");
    EXPECT_EQ(l.text.GetWrappedText(), "aaa\r\n<b>\r\nb\r\n");
    bool paraBreak = false;
    EXPECT_EQ(l.text.GetOutBoundsText(paraBreak), "<b>b\r\n");
    EXPECT_TRUE(paraBreak);
}

TEST(TextCodePage, NonDefaultCharsetPrintsWhatItsPageHas)
{
    Layout l;
    l.SetBox(20);
    l.font.SetCharset(0);   // ANSI: no Cyrillic
    l.text.SetFont(l.font);
    l.Set(u"aé ж"_qs);
    EXPECT_EQ(l.Lines(), QStringList{u"aé ?"_qs});
    l.text.SetUseDefaultCharset(true);
    l.Set(u"aé ж"_qs);
    EXPECT_EQ(l.Lines(), QStringList{u"aé ж"_qs});
    l.text.SetUseDefaultCharset(false);
    l.font.SetCharset(204);   // Russian
    l.text.SetFont(l.font);
    l.Set(u"aé ж"_qs);
    EXPECT_EQ(l.Lines(), QStringList{u"a? ж"_qs});
}

TEST(TextLock, ProcessWideLockIsRecursive)
{
    TkvlGraphLock outer;
    TkvlDrawText::Lock();   // the same thread enters again
    TkvlDrawText::Unlock();
    EXPECT_EQ(&kvlDrawText(), &kvlDrawText());
}

} // namespace
