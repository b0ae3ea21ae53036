// Attribute text of single objects: every property kind, defaults, ancestors, paths.
#include "standins.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/formatsettings.h"
#include "report/appearance/frame.h"
#include "report/serial/xmlserializer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SerializerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerTestClasses();
        report = std::make_unique<TTestReport>();
        s.Owner = report.get();
    }
    TkvlXMLSerializer s;
    std::unique_ptr<TTestReport> report;
};

TEST_F(SerializerTest, EveryKindRoundTrips)
{
    auto *memo = new TTestMemo(report.get());
    memo->SetName(QStringLiteral("Memo1"));
    auto *o = new TTestKinds(report.get());
    o->SetLeft(12.25);
    o->Count = 7;
    o->Plain = -3;
    o->Big = int64_t(1) << 40;
    o->Letter = 'Z';
    o->Kind = tkBlue;
    o->Flag = false;
    o->Options = 0b101;
    o->Ratio = 1.0 / 3.0;
    o->When = 45000.75;
    o->Caption = QStringLiteral("A \"quoted\" <b> & line\r\nnext");
    o->Data = Variant(QStringLiteral("[Sum1] + 1"));
    o->Memo = {QStringLiteral("one"), QStringLiteral(""), QStringLiteral("three")};
    o->Frame()->SetColor(0x123456);
    o->Link = memo;
    o->OnClick = QStringLiteral("Proc1");
    o->Hidden = 99;
    o->HiddenText = QStringLiteral("hidden ü");
    o->Blob = QByteArray("\x00\x01\xff", 3);
    o->Extra.SetVariables(QStringLiteral("v1"), Variant(QStringLiteral("a \"b\"")));
    o->Extra.SetVariables(QStringLiteral("v2"), Variant());

    const QString text = s.WriteComponentStr(o);
    EXPECT_TRUE(text.startsWith(QLatin1String("TTestKinds ")));
    EXPECT_TRUE(text.contains(QLatin1String(" Link=\"Memo1\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String(" Memo.Text=\"one&#13;&#10;&#13;&#10;three\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String(" Data=\"[Sum1] + 1\"")));
    EXPECT_FALSE(text.contains(QLatin1String("OnHost")));

    auto *r = static_cast<TTestKinds *>(s.ReadComponentStr(report.get(), text));
    ASSERT_NE(r, nullptr);
    s.FixupReferences();
    EXPECT_EQ(s.Errors.Count(), 0) << s.Errors.Text().toStdString();
    EXPECT_DOUBLE_EQ(r->Left(), 12.25);
    EXPECT_EQ(r->Count, 7);
    EXPECT_EQ(r->Plain, -3);
    EXPECT_EQ(r->Big, int64_t(1) << 40);
    EXPECT_EQ(r->Letter, 'Z');
    EXPECT_EQ(r->Kind, tkBlue);
    EXPECT_FALSE(r->Flag);
    EXPECT_EQ(r->Options, 0b101);
    EXPECT_NEAR(r->Ratio, 1.0 / 3.0, 1e-14);
    EXPECT_DOUBLE_EQ(r->When, 45000.75);
    EXPECT_EQ(r->Caption, o->Caption);
    EXPECT_EQ(r->Data.toString(), QStringLiteral("[Sum1] + 1"));
    EXPECT_EQ(r->Memo, o->Memo);
    EXPECT_EQ(r->Frame()->Color(), 0x123456);
    EXPECT_EQ(r->Link.get(), memo);
    EXPECT_EQ(r->OnClick, QStringLiteral("Proc1"));
    EXPECT_EQ(r->Hidden, 99);
    EXPECT_EQ(r->HiddenText, o->HiddenText);
    EXPECT_EQ(r->Blob, o->Blob);
    ASSERT_EQ(r->Extra.Count(), 2);
    EXPECT_EQ(r->Extra.Variables(QStringLiteral("v1")).toString(), QStringLiteral("a \"b\""));
    EXPECT_EQ(r->Extra.Items(1)->Name(), QStringLiteral("v2"));
}

// Whether one property is written, without and with an ancestor, and with defaults forced.
TEST_F(SerializerTest, DefaultsAndAncestorsDecideWhatIsWritten)
{
    struct Case {
        const char *name;
        void (*set)(TTestKinds &);  // applied to the object
        void (*anc)(TTestKinds &);  // applied to the ancestor
        const char *plain;           // expected attribute without ancestor ("" = absent)
        const char *vsAncestor;      // expected attribute against the ancestor
        const char *forced;          // with SerializeDefaultValues, no ancestor
    };
    auto none = [](TTestKinds &) {};
    const Case cases[] = {
        {"int at default", none, none, "", "", " Count=\"5\""},
        {"int off default", [](TTestKinds &o) { o.Count = 6; }, none, " Count=\"6\"", " Count=\"6\"", " Count=\"6\""},
        {"int equal to ancestor", [](TTestKinds &o) { o.Count = 6; }, [](TTestKinds &a) { a.Count = 6; },
         " Count=\"6\"", "", " Count=\"6\""},
        {"int without default", none, none, " Plain=\"0\"", "", " Plain=\"0\""},
        {"bool at default", none, none, "", "", " Flag=\"True\""},
        {"bool off default", [](TTestKinds &o) { o.Flag = false; }, none, " Flag=\"False\"", " Flag=\"False\"",
         " Flag=\"False\""},
        {"enum equal to ancestor", [](TTestKinds &o) { o.Kind = tkRed; }, [](TTestKinds &a) { a.Kind = tkRed; },
         " Kind=\"tkRed\"", "", " Kind=\"tkRed\""},
        {"set mask", [](TTestKinds &o) { o.Options = 6; }, none, " Options=\"6\"", " Options=\"6\"", " Options=\"6\""},
        {"char code", [](TTestKinds &o) { o.Letter = 'b'; }, none, " Letter=\"98\"", " Letter=\"98\"",
         " Letter=\"98\""},
        {"float always without ancestor", none, none, " Ratio=\"0\"", "", " Ratio=\"0\""},
        {"float within tolerance", [](TTestKinds &o) { o.Ratio = 2.0000001; }, [](TTestKinds &a) { a.Ratio = 2; },
         " Ratio=\"2.0000001\"", "", " Ratio=\"2.0000001\""},
        {"float beyond tolerance", [](TTestKinds &o) { o.Ratio = 2.5; }, [](TTestKinds &a) { a.Ratio = 2; },
         " Ratio=\"2.5\"", " Ratio=\"2.5\"", " Ratio=\"2.5\""},
        {"empty string never", none, [](TTestKinds &a) { a.Caption = QStringLiteral("x"); }, "", "", ""},
        {"string equal to ancestor", [](TTestKinds &o) { o.Caption = QStringLiteral("x"); },
         [](TTestKinds &a) { a.Caption = QStringLiteral("x"); }, " Caption=\"x\"", "", " Caption=\"x\""},
        {"empty list written", none, none, " Memo.Text=\"\"", "", " Memo.Text=\"\""},
        {"list differs", [](TTestKinds &o) { o.Memo = {QStringLiteral("a")}; }, none, " Memo.Text=\"a\"",
         " Memo.Text=\"a\"", " Memo.Text=\"a\""},
        {"null variant", none, none, "", "", ""},
        {"nested differs", [](TTestKinds &o) { o.Frame()->SetColor(255); }, none, " Frame.Color=\"255\"",
         " Frame.Color=\"255\"", " Frame.Color=\"255\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TTestKinds o(nullptr), a(nullptr);
        c.set(o);
        c.anc(a);
        const QString key = [&] {
            const QString p = QString::fromLatin1(c.plain[0] ? c.plain : c.forced);
            return p.isEmpty() ? QString() : p.left(p.indexOf(u'=') + 1);
        }();
        auto attr = [&](const QString &text) -> QString {
            if (key.isEmpty())
                return QString();
            const qsizetype i = text.indexOf(key);
            if (i < 0)
                return QString();
            return text.mid(i, text.indexOf(u'"', i + key.size() + 1) - i + 1);
        };
        TkvlXMLSerializer w;
        EXPECT_EQ(attr(w.ObjToXML(&o)), QString::fromLatin1(c.plain));
        EXPECT_EQ(attr(w.ObjToXML(&o, QString(), &a)), QString::fromLatin1(c.vsAncestor));
        w.SerializeDefaultValues = true;
        EXPECT_EQ(attr(w.ObjToXML(&o)), QString::fromLatin1(c.forced));
    }
}

TEST_F(SerializerTest, ReferenceAgainstAncestorAndPropData)
{
    auto *memo = new TTestMemo(report.get());
    memo->SetName(QStringLiteral("Memo1"));
    TTestKinds o(nullptr), a(nullptr);
    a.Link = memo;
    // The ancestor refers, the object does not: written as "nil".
    EXPECT_TRUE(s.ObjToXML(&o, QString(), &a).contains(QLatin1String(" Link=\"nil\"")));
    o.Link = memo;
    EXPECT_FALSE(s.ObjToXML(&o, QString(), &a).contains(QLatin1String("Link=")));
    // Non-published data equal to the ancestor's is left out; a difference writes it.
    o.Hidden = a.Hidden = 4;
    EXPECT_FALSE(s.ObjToXML(&o, QString(), &a).contains(QLatin1String("PropData")));
    o.Hidden = 5;
    EXPECT_TRUE(s.ObjToXML(&o, QString(), &a).contains(QLatin1String(" PropData=\"")));
}

TEST_F(SerializerTest, FloatsFollowTheUsersSeparatorAndReadEither)
{
    TFormatSettings fs = rtl::FormatSettings();
    fs.DecimalSeparator = u',';
    rtl::ScopedFormatSettings scoped(fs);
    TTestKinds o(nullptr);
    o.Ratio = 10.5;
    EXPECT_TRUE(s.ObjToXML(&o).contains(QLatin1String(" Ratio=\"10,5\"")));
    for (const char *text : {" Ratio=\"10,5\"", " Ratio=\"10.5\"", " Ratio=\" 10 .5\""}) {
        TTestKinds r(nullptr);
        s.XMLToObj(QString::fromLatin1(text), &r);
        EXPECT_DOUBLE_EQ(r.Ratio, 10.5) << text;
    }
}

TEST_F(SerializerTest, MemoTextDropsOneFinalLineBreak)
{
    TTestMemo m(nullptr);
    m.Lines = {QStringLiteral("A"), QStringLiteral("B")};
    const QString text = s.ObjToXML(&m);
    EXPECT_TRUE(text.endsWith(QLatin1String(" Text=\"A&#13;&#10;B\""))) << text.toStdString();
    TTestMemo r(nullptr);
    s.XMLToObj(text, &r);
    EXPECT_EQ(r.Lines, m.Lines);
    // Old-form files carry UTF-8 bytes as single-byte characters.
    TTestMemo old(nullptr);
    s.OldFormat = true;
    s.XMLToObj(QString::fromLatin1(QByteArray(" Text=\"caf\xc3\xa9\"")), &old);
    EXPECT_EQ(old.Lines, QStringList{QString::fromUtf8("café")});
}

TEST_F(SerializerTest, PathsShortFormsAndSpecialNames)
{
    TTestMemo m(nullptr);
    s.XMLToObj(QStringLiteral(" Font.Name=\"Courier\" Font.Bogus=\"1\" l=\"1,5\" t=\"2\" w=\"30\" h=\"40.25\""
                              " x=\"a&#13;&#10;b\" Tag=\"3\""),
               &m);
    EXPECT_EQ(m.Font()->Name(), QStringLiteral("Courier"));
    EXPECT_DOUBLE_EQ(m.Left(), 1.5);
    EXPECT_DOUBLE_EQ(m.Top(), 2);
    EXPECT_DOUBLE_EQ(m.Width(), 30);
    EXPECT_DOUBLE_EQ(m.Height(), 40.25);
    EXPECT_EQ(m.Lines, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(m.Tag(), 3);
    EXPECT_EQ(s.Errors.Count(), 0);

    // Property names ignore case; "Text" does not.
    TTestMemo n(nullptr);
    s.XMLToObj(QStringLiteral(" TAG=\"4\" text=\"zz\""), &n);
    EXPECT_EQ(n.Tag(), 4);
    EXPECT_TRUE(n.Lines.isEmpty());

    // The report keeps its own name.
    TTestReport r;
    r.SetName(QStringLiteral("Mine"));
    s.XMLToObj(QStringLiteral(" Name=\"Other\""), &r);
    EXPECT_EQ(r.Name(), QStringLiteral("Mine"));
}

TEST_F(SerializerTest, BadValuesAreListedOnceAndTheRestStillApplies)
{
    TTestKinds o(nullptr);
    s.XMLToObj(QStringLiteral(" Count=\"abc\" Kind=\"tkPurple\" Flag=\"False\" Ratio=\"1..2\" Count=\"abc\""
                              " Letter=\"70000\" Caption=\"ok\" Plain=\"7"),
               &o);
    EXPECT_FALSE(o.Flag);
    EXPECT_EQ(o.Caption, QStringLiteral("ok"));
    EXPECT_EQ(o.Count, 5);
    EXPECT_EQ(o.Kind, tkGreen);  // an unknown identifier is no value at all
    EXPECT_EQ(o.Plain, 0);
    EXPECT_EQ(o.Letter, 'a');  // beyond a character code: refused, not wrapped
    // Count twice with the same text: one message; Kind, Ratio, Letter, the unclosed quote: one each.
    EXPECT_EQ(s.Errors.Count(), 5) << s.Errors.Text().toStdString();
    for (int i = 1; i < s.Errors.Count(); ++i)
        EXPECT_LT(s.Errors[i - 1], s.Errors[i]);
}

TEST_F(SerializerTest, PropDataSurvivesGarbage)
{
    for (const char *hex : {"ZZ", "06", "0600486964", "060048696464656E01", "0100FF"}) {
        TTestKinds o(nullptr);
        s.XMLToObj(QStringLiteral(" PropData=\"%1\"").arg(QLatin1String(hex)), &o);
        EXPECT_EQ(o.Hidden, 0) << hex;
    }
}

} // namespace
