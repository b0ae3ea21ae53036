// The grammar-configured tokenizer, set up as each language's grammar sets it.
#include "script/compiler/qsgrammar.h"
#include "script/core/qslanguages.h"
#include "script/parser/qsparser.h"
#include "scripttest.h"

#include <gtest/gtest.h>

namespace {

enum class Reader { Word, Ident, Char, String, Number, FRString, Eol };

QString read(TqsParser &p, Reader r)
{
    switch (r) {
    case Reader::Word: return p.GetWord();
    case Reader::Ident: return p.GetIdent();
    case Reader::Char: return p.GetChar();
    case Reader::String: return p.GetString();
    case Reader::Number: return p.GetNumber();
    case Reader::FRString: return p.GetFRString();
    case Reader::Eol: return p.GetEOL() ? QStringLiteral("EOL") : QString();
    }
    return QString();
}

void configure(TqsParser &p, const char *language)
{
    scripttest::ensureLanguages();
    qsGetCompiledLanguage(QString::fromLatin1(language))->ApplyTo(p, false);
}

} // namespace

TEST(QsParser, TokenTable)
{
    struct Case
    {
        const char *language;
        const char *text;
        Reader reader;
        const char *token;
        int position; // read position afterwards
    } cases[] = {
        // Strings: doubled quotes, backslash escapes, joined control characters.
        {"DozovoZozedi", "'it''s'", Reader::String, "'it's'", 8},
        {"DozovoZozedi", "'ab'#13#10'cd' x", Reader::String, "'ab\r\ncd'", 15},
        {"DozovoZozedi", "#$41#66", Reader::String, "'AB'", 8},
        {"DozovoZozedi", "'ab' #13", Reader::String, "'ab'", 5},
        {"DozovoZozedi", "'open\r\n'", Reader::String, "", 1},
        {"DozovoZozedi", "#", Reader::String, "", 1},
        {"D++Iraved", "\"a\\\"b\\n\\x41\\q\"", Reader::String, "'a\"b\nAq'", 15},
        {"D++Iraved", "\"a\\", Reader::String, "", 1},
        {"D++Iraved", "#0x41", Reader::String, "'A'", 6},
        {"DevavAraroz", "\"say \"\"hi\"\"\"", Reader::String, "'say \"hi\"'", 13},
        {"JScript", "\"\\x\"", Reader::String, "''", 5},
        // Numbers: hexadecimal prefixes come back as "$", a point needs a digit.
        {"DozovoZozedi", "$FF", Reader::Number, "$FF", 4},
        {"D++Iraved", "0xFF", Reader::Number, "$FF", 5},
        {"DozovoZozedi", "1..2", Reader::Number, "1", 2},
        {"DozovoZozedi", "1.5e+3x", Reader::Number, "1.5e+3", 7},
        {"DozovoZozedi", "2e", Reader::Number, "2", 2},
        {"DozovoZozedi", "-1", Reader::Number, "", 1},
        // Words, identifiers and characters.
        {"DozovoZozedi", "  BEGIN", Reader::Ident, "", 8},
        {"DozovoZozedi", "  BEGIN", Reader::Word, "BEGIN", 8},
        {"DozovoZozedi", "x\u00e8y+", Reader::Ident, "x\u00e8y", 4},
        {"DozovoZozedi", "9a", Reader::Word, "", 1},
        {"D++Iraved", "If", Reader::Ident, "If", 3},
        {"D++Iraved", "if", Reader::Ident, "", 3},
        {"DozovoZozedi", " +", Reader::Char, "", 1},
        {"DozovoZozedi", "_x", Reader::Char, "_", 2},
        // Report expressions: nesting counts < [ > ], quotes hide brackets.
        {"DozovoZozedi", "a<b>c>d", Reader::FRString, "a<b>c", 6},
        {"DozovoZozedi", "x]y>", Reader::FRString, "x", 2},
        {"DozovoZozedi", "'>'\">\">", Reader::FRString, "'>'\">\"", 7},
        {"DozovoZozedi", "open", Reader::FRString, "open", 5},
        // Comments and line ends.
        {"DozovoZozedi", "{ a } (* b *) // c\r\nx", Reader::Word, "x", 22},
        {"DozovoZozedi", "{ never closed", Reader::Word, "", 15},
        {"D++Iraved", "/* a */ {x", Reader::Word, "", 9},
        {"DevavAraroz", "  \r\n\r\n x", Reader::Eol, "EOL", 7},
        {"DevavAraroz", "x", Reader::Eol, "", 1},
        {"DevavAraroz", "_\r\n  y", Reader::Word, "y", 7},
        {"DevavAraroz", "\n y", Reader::Word, "y", 4},
        {"DevavAraroz", "' note\r\nx", Reader::Eol, "", 9}, // a whole-line comment takes its line end
        {"DevavAraroz", "x ' note\r\n", Reader::Word, "x", 2},
        {"DevavAraroz", "rem note\r\nx", Reader::Word, "x", 12},
        {"DevavAraroz", "REM note\r\nx", Reader::Word, "x", 12},
        {"DevavAraroz", "remove", Reader::Word, "remove", 7},
        {"DevavAraroz", "/\\ a /\\ b", Reader::Word, "b", 10},
    };
    for (const Case &c : cases) {
        TqsParser p;
        configure(p, c.language);
        p.SetText(QString::fromUtf8(c.text));
        const QString token = read(p, c.reader);
        EXPECT_EQ(token, QString::fromUtf8(c.token)) << c.language << " " << c.text;
        EXPECT_EQ(p.Position(), c.position) << c.language << " " << c.text;
    }
}

TEST(QsParser, DevavLineEndsEndStatementsButCommentsKeepThem)
{
    TqsParser p;
    configure(p, "DevavAraroz");
    p.SetText(QStringLiteral("a ' note\r\nb"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("a"));
    EXPECT_TRUE(p.GetEOL()); // the comment did not swallow the line end
    EXPECT_EQ(p.GetWord(), QStringLiteral("b"));
}

TEST(QsParser, Positions)
{
    TqsParser p;
    p.SetText(QStringLiteral("ab\r\ncd\r\n"));
    EXPECT_EQ(p.GetXYPosition(), QStringLiteral("1:1"));
    p.SetPosition(3);
    EXPECT_EQ(p.GetXYPosition(), QStringLiteral("1:3"));
    p.SetPosition(5);
    EXPECT_EQ(p.GetXYPosition(), QStringLiteral("2:1"));
    EXPECT_EQ(p.GetPlainPosition(QPoint(2, 2)), 6);
    EXPECT_EQ(p.GetPlainPosition(QPoint(1, 0)), -1);
    EXPECT_EQ(p.GetPlainPosition(QPoint(1, 4)), -1);
}

TEST(QsParser, ResetDropsEverySettingButClearKeepsTwo)
{
    TqsParser p;
    configure(p, "DevavAraroz");
    p.CaseSensitive = true;
    p.Clear();
    EXPECT_EQ(p.CommentLine2, QStringLiteral("rem"));
    EXPECT_TRUE(p.CaseSensitive);
    EXPECT_TRUE(p.SkipEOL);
    EXPECT_EQ(p.HexSequence, QStringLiteral("$"));
    p.Reset();
    EXPECT_TRUE(p.CommentLine2.isEmpty());
    EXPECT_FALSE(p.CaseSensitive);
}

TEST(QsParser, HostileTextStaysInside)
{
    TqsParser p;
    configure(p, "DevavAraroz");
    p.SetText(QString(100000, QLatin1Char('_')) + QStringLiteral(" x"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("x")); // continuation characters are dropped, iteratively
    configure(p, "D++Iraved");
    p.SetText(QStringLiteral("\"") + QString(200000, QLatin1Char('a')) + QStringLiteral("\\x110000000\""));
    const QString s = p.GetString();
    EXPECT_EQ(s.size(), 200003);
    EXPECT_EQ(s.at(200001), QChar(QChar::ReplacementCharacter));
}
