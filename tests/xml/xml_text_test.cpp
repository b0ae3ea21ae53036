#include "tests/base/qt_print.h"
#include "report/xml/xmltext.h"

#include <gtest/gtest.h>

namespace {

QString withNul(int length, int at)
{
    QString s(length, QLatin1Char('x'));
    s[at] = QChar(0);
    return s;
}

} // namespace

TEST(XmlText, Escape)
{
    struct Case { QString in, out; } cases[] = {
        {u"plain text"_qs, u"plain text"_qs},
        {u"a&b"_qs, u"a&#38;b"_qs},
        {u"a&quot;b"_qs, u"a&#34;b"_qs},   // taken as already escaped
        {u"a\"b"_qs, u"a&#34;b"_qs},
        {u"<x>"_qs, u"&#60;x&#62;"_qs},
        {u"l1\r\nl2"_qs, u"l1&#13;&#10;l2"_qs},
        {u"tab\t'apos' \u00e9\u20ac"_qs, u"tab\t'apos' \u00e9\u20ac"_qs},
        {u"&amp;"_qs, u"&#38;amp;"_qs},
        // A NUL is kept whatever the length of the text.
        {withNul(31, 5), u"xxxxx&#0;"_qs + QString(25, QLatin1Char('x'))},
        {withNul(32, 5), u"xxxxx&#0;"_qs + QString(26, QLatin1Char('x'))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlStrToXML(c.in), c.out) << c.in.toStdString();
}

TEST(XmlText, Unescape)
{
    struct Case { QString in, out; } cases[] = {
        {u"&#65;&#66;"_qs, u"AB"_qs},
        {u"&quot;&amp;&lt;&gt;"_qs, u"\"&<>"_qs},
        {u"&amp;lt;"_qs, u"&lt;"_qs},            // resumes after the character produced
        {u"&#38;#65;"_qs, u"&#65;"_qs},
        {u"&#128512;"_qs, QString::fromUcs4(U"\U0001F600")},
        {u"&#1114112;"_qs, u"&#1114112;"_qs},     // beyond U+10FFFF stays text
        {u"&#99999999999999999999;"_qs, u"&#99999999999999999999;"_qs},
        {u"&#65"_qs, u"&#65"_qs},                // no ';' before the end
        {u"&#6x;"_qs, u"&#6x;"_qs},
        {u"&#x41;"_qs, u"&#x41;"_qs},
        {u"&#;x"_qs, u"&#;x"_qs},
        {u"&apos; & end&"_qs, u"&apos; & end&"_qs},
        {u"a&#0;b"_qs, u"a"_qs + QChar(0) + u"b"_qs},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kvlXMLToStr(c.in), c.out) << c.in.toStdString();
}

TEST(XmlText, RoundTrip)
{
    const QString texts[] = {
        u"&#65; stays literal"_qs, u"quote \" and <tags> & amps"_qs, u"line\r\nbreaks\n"_qs,
        withNul(40, 39), withNul(3, 0), QString::fromUcs4(U"emoji \U0001F600 \u00e8"), u"&"_qs, u"&#"_qs,
    };
    for (const QString &t : texts)
        EXPECT_EQ(kvlXMLToStr(kvlStrToXML(t)), t) << t.toStdString();
}
