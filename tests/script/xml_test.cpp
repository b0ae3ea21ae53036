// The script engine's XML layer: escaping, attribute access, tree copies, reading and
// writing.
#include "platform/rtl/exceptions.h"
#include "script/xml/qsxml.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString readWithHeader(const QByteArray &body, TqsXMLDocument &doc)
{
    try {
        doc.LoadFromBytes(QByteArrayLiteral("<?xml version=\"1.0\"?>") + body);
    } catch (const Exception &e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(QsXmlText, EscapesExactlyTheSpecialCharacters)
{
    struct Case
    {
        QString text, xml;
    } cases[] = {
        {QStringLiteral("say \"hi\""), QStringLiteral("say &#34;hi&#34;")},
        {QStringLiteral("a\r\nb"), QStringLiteral("a&#13;&#10;b")},
        {QStringLiteral("<a & b>"), QStringLiteral("&#60;a &#38; b&#62;")},
        {QStringLiteral("it's\tok \u00e8\u20ac"), QStringLiteral("it's\tok \u00e8\u20ac")},
        {QString(QChar(0)) + QStringLiteral("x"), QString(QChar(0)) + QStringLiteral("x")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(StrToXML(c.text), c.xml) << qPrintable(c.text);
        EXPECT_EQ(XMLToStr(c.xml), c.text) << qPrintable(c.xml);
    }
}

TEST(QsXmlText, LiteralsThatLookEscapedSurviveARoundTrip)
{
    // Script string literals reach the intermediate program through this escaping.
    for (const QString &s : {QStringLiteral("'&#65;'"), QStringLiteral("&quot;"), QStringLiteral("&amp;&lt;"),
                             QStringLiteral("a&"), QStringLiteral("&#x41;")})
        EXPECT_EQ(XMLToStr(StrToXML(s)), s) << qPrintable(s);
}

TEST(QsXmlText, DecodesOnlyNumericReferencesAndQuot)
{
    struct Case
    {
        QString xml, text;
    } cases[] = {
        {QStringLiteral("&lt;&gt;&amp;"), QStringLiteral("&lt;&gt;&amp;")},
        {QStringLiteral("&#60;"), QStringLiteral("<")},
        {QStringLiteral("a&quot;b"), QStringLiteral("a\"b")},
        {QStringLiteral("&#128512;"), QString::fromUtf8("\xF0\x9F\x98\x80")},
        {QStringLiteral("&#65"), QStringLiteral("&#65")},          // no ";": left as text
        {QStringLiteral("&#9999999;"), QStringLiteral("&#9999999;")}, // beyond the last character
        {QStringLiteral("&#6a;"), QStringLiteral("&#6a;")},
        {QStringLiteral("&#0;z"), QString(QChar(0)) + QStringLiteral("z")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(XMLToStr(c.xml), c.text) << qPrintable(c.xml);
}

TEST(QsXmlItem, PropFindsOnlyRealAttributeNames)
{
    TqsXMLItem item;
    item.Text = QStringLiteral("Name=\"x Left=\" Left=\"1\" Top=\"2\"");
    EXPECT_EQ(item.Prop(QStringLiteral("left")), QStringLiteral("1"));
    EXPECT_EQ(item.Prop(QStringLiteral("eft")), QString());
    EXPECT_EQ(item.Prop(QStringLiteral("Name")), QStringLiteral("x Left="));
    EXPECT_FALSE(item.PropExists(QStringLiteral("Width")));

    item.SetProp(QStringLiteral("Left"), QStringLiteral("a\"b"));
    EXPECT_EQ(item.Text, QStringLiteral("Name=\"x Left=\" Left=\"a&#34;b\" Top=\"2\""));
    item.SetProp(QStringLiteral("Width"), QStringLiteral("3"));
    EXPECT_EQ(item.Text, QStringLiteral("Name=\"x Left=\" Left=\"a&#34;b\" Top=\"2\" Width=\"3\""));
    EXPECT_EQ(item.Prop(QStringLiteral("LEFT")), QStringLiteral("a\"b"));
}

TEST(QsXmlItem, AssignMakesAnIndependentDeepCopy)
{
    auto *source = new TqsXMLItem;
    source->Name = QStringLiteral("a");
    source->Text = QStringLiteral("x=\"1\"");
    source->Data = 7;
    TqsXMLItem *b = source->Add();
    b->Name = QStringLiteral("b");
    b->Add()->Name = QStringLiteral("c");
    TqsXMLItem copy;
    copy.Assign(source);
    delete source;
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Name, QStringLiteral("a"));
    EXPECT_EQ(copy.Data, 7);
    EXPECT_EQ(copy[0]->Parent(), &copy);
    ASSERT_EQ(copy[0]->Count(), 1);
    EXPECT_EQ(copy[0]->Items(0)->Name, QStringLiteral("c"));
    copy.Assign(nullptr); // nothing copied from nil
    EXPECT_EQ(copy.Count(), 1);
}

TEST(QsXmlItem, SetParentLeavesTheOldListButDoesNotJoinTheNewOne)
{
    TqsXMLItem a, b;
    TqsXMLItem *child = a.Add();
    child->SetParent(&b);
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(child->Parent(), &b);
    b.AddItem(child);
    EXPECT_EQ(b.IndexOf(child), 0);
    EXPECT_EQ(b.FindItem(QStringLiteral("NEW"))->Name, QStringLiteral("NEW"));
    EXPECT_EQ(b.Find(QStringLiteral("new")), 1);
    EXPECT_EQ(child->Root(), &b);
}

TEST(QsXmlDocument, WritesOneLineOrIndentedLines)
{
    TqsXMLDocument doc;
    doc.Root()->Name = QStringLiteral("language");
    doc.Root()->SetProp(QStringLiteral("text"), QStringLiteral("L"));
    TqsXMLItem *p = doc.Root()->Add();
    p->Name = QStringLiteral("parser");
    p->Add()->Name = QStringLiteral("keywords");
    EXPECT_EQ(doc.SaveToBytes(), QByteArrayLiteral("<?xml version=\"1.0\"?><language text=\"L\"><parser><keywords/></parser></language>"));
    doc.AutoIndent = true;
    EXPECT_EQ(doc.SaveToBytes(), QByteArrayLiteral("<?xml version=\"1.0\"?>\r\n<language text=\"L\">\r\n  <parser>\r\n"
                                                   "    <keywords/>\r\n  </parser>\r\n</language>\r\n"));
}

TEST(QsXmlDocument, ReadsWhatItWritesIncludingNulAndQuotes)
{
    TqsXMLDocument doc;
    doc.Root()->Name = QStringLiteral("program");
    TqsXMLItem *s = doc.Root()->Add();
    s->Name = QStringLiteral("string");
    const QString text = QStringLiteral("'a") + QChar(0) + QStringLiteral("\"b&#65;\u00e8'");
    s->SetProp(QStringLiteral("text"), text);
    TqsXMLDocument back;
    back.LoadFromBytes(doc.SaveToBytes());
    ASSERT_EQ(back.Root()->Count(), 1);
    EXPECT_EQ(back.Root()->Items(0)->Prop(QStringLiteral("text")), text);
}

TEST(QsXmlDocument, ReaderAcceptsAndRejects)
{
    TqsXMLDocument doc;
    // Comments are skipped, text between tags is dropped, missing end tags at the end
    // are tolerated.
    EXPECT_EQ(readWithHeader("<!-- a -- b --><a>text<b/><!--x > <y> ---> -->--><c d=\"1\"></c>", doc), QString());
    EXPECT_EQ(doc.Root()->Name, QStringLiteral("a"));
    ASSERT_EQ(doc.Root()->Count(), 2);
    EXPECT_EQ(doc.Root()->Items(1)->Prop(QStringLiteral("d")), QStringLiteral("1"));

    const QString invalid = QStringLiteral("Invalid file format");
    EXPECT_EQ(readWithHeader("<a><b/></c>", doc), invalid);
    EXPECT_EQ(readWithHeader("<a x=\"<\"/>", doc), invalid);
    EXPECT_EQ(readWithHeader("<a x=\"1\"", doc), invalid);
    EXPECT_EQ(readWithHeader("<a>< ></a>", doc), invalid); // a blank tag is an end tag without a name
    // a slash inside a name could not be written back as the same element
    EXPECT_EQ(readWithHeader(QByteArray("<a// \0>", 7), doc), invalid);
    EXPECT_EQ(readWithHeader("<a/b x=\"1\"/>", doc), invalid);
    try {
        doc.LoadFromBytes("<a/>");
        ADD_FAILURE() << "no header accepted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.message(), invalid);
    }
    // Hostile nesting is refused, not recursed into.
    EXPECT_EQ(readWithHeader(QByteArray("<a>").repeated(TqsXMLReader::MaxDepth + 10), doc), invalid);
    EXPECT_EQ(readWithHeader(QByteArray("<a>").repeated(2000), doc), QString());
}

TEST(QsXmlDocument, ReaderLeavesTheStreamAfterTheLastTag)
{
    QByteArray bytes("<?xml version=\"1.0\"?><a><b/></a>TAIL");
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    TqsXMLDocument doc;
    doc.LoadFromStream(&buf);
    EXPECT_EQ(buf.readAll(), QByteArray("TAIL"));
}

TEST(QsXmlDocument, FileRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.xml"));
    TqsXMLDocument doc;
    doc.Root()->Name = QStringLiteral("r");
    doc.Root()->SetProp(QStringLiteral("v"), QStringLiteral("\u00e8"));
    doc.SaveToFile(path);
    TqsXMLDocument back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Root()->Prop(QStringLiteral("v")), QStringLiteral("\u00e8"));
    EXPECT_THROW(back.LoadFromFile(dir.filePath(QStringLiteral("missing.xml"))), Exception);
}
