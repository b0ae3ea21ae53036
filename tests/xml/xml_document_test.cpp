#include "tests/base/qt_print.h"
#include "report/xml/xmlarena.h"
#include "report/xml/xmldocument.h"
#include "tests/fulldisk.h"
#include "platform/rtl/stream.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace {

const QByteArray kHeader = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>";

void load(TkvlXMLDocument &doc, const QByteArray &bytes)
{
    TMemoryStream in(bytes);
    doc.LoadFromStream(&in);
}

QByteArray save(TkvlXMLDocument &doc)
{
    TMemoryStream out;
    doc.SaveToStream(out);
    return out.Bytes();
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The tree as text: name, attribute text in brackets, children in parentheses; an unloaded
// element shows as name*.
QString shape(const TkvlXMLItem *item)
{
    QString s = item->Name();
    if (item->Unloadable() && !item->Loaded())
        s += QLatin1Char('*');
    if (!item->Text().isEmpty())
        s += QLatin1Char('[') + item->Text() + QLatin1Char(']');
    if (item->Count()) {
        s += QLatin1Char('(');
        for (int i = 0; i < item->Count(); ++i)
            s += (i ? QStringLiteral(",") : QString()) + shape(item->Items(i));
        s += QLatin1Char(')');
    }
    return s;
}

} // namespace

TEST(XmlReader, Documents)
{
    struct Case { QByteArray in; QString shape; bool invalid; } cases[] = {
        {kHeader + "<a x=\"1\"><b/><c y=\"2\"/></a>", u"a[x=\"1\"](b,c[y=\"2\"])"_qs, false},
        {"\xEF\xBB\xBF" + kHeader + "\r\n<a>\r\n  <b></b>\r\n</a>\r\n", u"a(b)"_qs, false},
        {"<!-- lead --->still-->" + kHeader + "<!-- <x> --><a><!--c--><b/></a>", u"a(b)"_qs, false},
        {kHeader + "<a>text is skipped<b>and lost</b></A>", u"a(b)"_qs, false},
        {kHeader + "<a><b/>", u"a(b)"_qs, false},                    // end tags missing at the end
        {kHeader + "<a  x=\"1\" >", u"a[ x=\"1\"]"_qs, false},       // one trailing blank dropped
        {kHeader + "<a\tb x=\"1\"/>", u"a\tb[x=\"1\"]"_qs, false},  // only a blank ends the name
        {kHeader + "<a><b><></a>", u"a(b)"_qs, false},                // an empty tag closes unchecked
        {kHeader + "<a><b/></c>", u"a(b)"_qs, true},
        {kHeader + "<a><b x=\"<\"/></a>", {}, true},
        {kHeader + "<a><b x=\"1\"", {}, true},
        {kHeader + "<a><!-- never closed", {}, true},
        {"<a/>", {}, true},
        {"", {}, true},
    };
    for (const auto &c : cases) {
        TkvlXMLDocument doc;
        if (c.invalid) {
            EXPECT_THROW(load(doc, c.in), TkvlInvalidXMLException) << c.in.constData();
            continue;
        }
        load(doc, c.in);
        EXPECT_EQ(shape(doc.Root()), c.shape) << c.in.constData();
    }
}

TEST(XmlReader, MalformedKeepsTreeSoFar)
{
    TkvlXMLDocument doc;
    try {
        load(doc, kHeader + "<a><b/><c></d>");
        FAIL() << "no exception";
    } catch (const TkvlInvalidXMLException &e) {
        EXPECT_STREQ(e.what(), "Invalid file format");
    }
    EXPECT_EQ(shape(doc.Root()), u"a(b,c)"_qs);
}

// Loaded elements are edited, deleted and moved like made ones, and a moved one outlives
// the document it was read by (the sanitized run of this test catches stale memory).
TEST(XmlReader, LoadedElementsBehaveAsMadeOnes)
{
    TkvlXMLItem kept;
    {
        TkvlXMLDocument doc;
        load(doc, kHeader + "<r><a x=\"1\"><b/></a><c y=\"&#60;\" z=\"2\"/><d/><e/></r>");
        TkvlXMLItem *r = doc.Root();
        EXPECT_EQ(r->Items(1)->Prop(u"y"_qs), u"<"_qs);
        delete r->Items(1);  // from the middle of a list as read
        r->Items(1)->SetProp(u"w"_qs, u"3"_qs);
        r->Items(2)->SetText(u"v=\"4\""_qs);
        r->InsertItem(0, r->Add(u"f"_qs));
        EXPECT_EQ(shape(r), u"r(f,a[x=\"1\"](b),d[w=\"3\"],e[v=\"4\"])"_qs);
        kept.AddItem(r->Items(1));
        kept.AddItem(r->Items(1));
        r->Items(0)->AddItem(kept.Items(1));  // back into the document's tree
        EXPECT_EQ(shape(r), u"r(f(d[w=\"3\"]),e[v=\"4\"])"_qs);
        // Saving writes texts that were never decoded as they were read.
        EXPECT_EQ(save(doc), kHeader + "<r><f><d w=\"3\"/></f><e v=\"4\"/></r>");
    }
    EXPECT_EQ(shape(&kept), u"(a[x=\"1\"](b))"_qs);
    EXPECT_EQ(kept.Items(0)->Items(0)->Parent(), kept.Items(0));
}

TEST(XmlReader, HostileNestingAndSizes)
{
    TkvlXMLDocument doc;
    QByteArray deep = kHeader;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    EXPECT_THROW(load(doc, deep), TkvlInvalidXMLException);

    // Nesting within the limit reads, and the writer writes it back without recursion trouble.
    QByteArray ok = kHeader;
    for (int i = 0; i < TkvlXMLReader::kMaxDepth; ++i)
        ok += "<a>";
    load(doc, ok);
    TkvlXMLDocument copy;
    load(copy, save(doc));
    int depth = 0;
    for (TkvlXMLItem *i = copy.Root(); i->Count(); i = i->Items(0))
        ++depth;
    EXPECT_EQ(depth, TkvlXMLReader::kMaxDepth - 1);
}

TEST(XmlReader, HeaderSelectsEncoding)
{
    struct Case { QByteArray header; bool old; } cases[] = {
        {"<?xml version=\"1.0\"?>", true},
        {"<?xml version=\"1.0\" encoding=\"cp1252\"?>", true},
        {kHeader, false},
        {"<?xml version=\"1.1\"?>", false},
        {"<?xml encoding=\"utf-8\"?>", false},
    };
    for (const auto &c : cases) {
        TkvlXMLDocument doc;
        // The name is single-byte in both forms; the attribute text follows the header.
        load(doc, c.header + "<n\xE9 a=\"\xC3\xA9\xE9\"><c a=\"\xC3\xA9\xE9\"/></n\xE9>");
        EXPECT_EQ(doc.OldVersion(), c.old) << c.header.constData();
        EXPECT_EQ(doc.Root()->Name(), u"n\u00e9"_qs);
        const QString expected = c.old ? u"\u00c3\u00a9\u00e9"_qs : u"\u00e9\ufffd"_qs;
        EXPECT_EQ(doc.Root()->Prop(u"a"_qs), expected) << c.header.constData();
        ASSERT_EQ(doc.Root()->Count(), 1);
        EXPECT_EQ(doc.Root()->Items(0)->Prop(u"a"_qs), expected) << c.header.constData();
    }
}

TEST(XmlReader, LeavesStreamAfterLastTag)
{
    TMemoryStream in(kHeader + "<a><b/></a>TRAILING" + QByteArray(9000, 'x'));
    TkvlXMLDocument doc;
    doc.LoadFromStream(&in);
    EXPECT_EQ(in.Position(), kHeader.size() + 11);
}

TEST(XmlWriter, IndentedOutput)
{
    TkvlXMLDocument doc;
    doc.SetAutoIndent(true);
    TkvlXMLItem *r = doc.Root();
    r->SetName(u"TkvlReport"_qs);
    r->SetText(u"Name=\"R\""_qs);
    TkvlXMLItem *page = r->Add(u"TkvlReportPage"_qs);
    page->SetText(u" Name=\"Page1\""_qs);
    TkvlXMLItem *band = page->Add(u"TkvlBand"_qs);
    band->SetProp(u"Name"_qs, u"B\u00e8"_qs);
    band->Add(u"TkvlMemoView"_qs)->SetProp(u"Text"_qs, u"a<b\r\n"_qs);
    page->Add(u"TkvlLine"_qs);
    r->Add(u"v"_qs)->SetValue(u"x<y"_qs);

    const QByteArray expected = kHeader + "\r\n"
        "<TkvlReport Name=\"R\">\r\n"
        "  <TkvlReportPage Name=\"Page1\">\r\n"
        "    <TkvlBand Name=\"B\xC3\xA8\">\r\n"
        "      <TkvlMemoView Text=\"a&#60;b&#13;&#10;\"/>\r\n"
        "    </TkvlBand>\r\n"
        "    <TkvlLine/>\r\n"
        "  </TkvlReportPage>\r\n"
        "  <v>x&#60;y</v>\r\n"
        "</TkvlReport>\r\n";
    EXPECT_EQ(save(doc), expected);

    doc.SetAutoIndent(false);
    const QByteArray flat = save(doc);
    EXPECT_FALSE(flat.contains('\n'));
    EXPECT_FALSE(flat.contains('\r'));
    EXPECT_TRUE(flat.startsWith(QByteArray(kHeader + "<TkvlReport Name=\"R\"><TkvlReportPage Name=\"Page1\">")));

    // What the writer wrote reads back to the same tree.
    TkvlXMLDocument back;
    load(back, expected);
    EXPECT_EQ(shape(back.Root()), u"TkvlReport[Name=\"R\"](TkvlReportPage[Name=\"Page1\"](TkvlBand[Name=\"B\u00e8\"]"
                                  "(TkvlMemoView[Text=\"a&#60;b&#13;&#10;\"]),TkvlLine),v)"_qs);
    EXPECT_EQ(back.Root()->Items(0)->Items(0)->Items(0)->Prop(u"Text"_qs), u"a<b\r\n"_qs);
}

// Elements kept in an arena as UTF-8 bytes read and write as elements given the same text.
TEST(XmlWriter, ArenaElementsWriteAsMadeOnes)
{
    struct Case {
        QString text, decoded;
    } cases[] = {
        {u"l=\"1\" u=\"caff\u00e8 \u20ac\""_qs, u"l=\"1\" u=\"caff\u00e8 \u20ac\""_qs},
        {u"u=\"\U0001F600\""_qs, u"u=\"\U0001F600\""_qs},
        // A lone surrogate cannot be UTF-8: both write U+FFFD.
        {u"u=\""_qs + QChar(0xD800) + u"\""_qs, u"u=\"\uFFFD\""_qs},
        {QString(), QString()},
    };
    for (const Case &c : cases) {
        TkvlXMLDocument made, kept;
        made.Root()->SetName(u"p"_qs);
        kept.Root()->SetName(u"p"_qs);
        made.Root()->Add(u"m"_qs)->SetText(c.text);
        auto *arena = new TkvlXMLArena;
        TkvlXMLItem *e = kept.Root()->AddInArena(*arena, u"m"_qs, c.text);
        arena->Release();  // the element keeps it
        EXPECT_EQ(save(kept), save(made)) << c.text.toStdString();
        EXPECT_EQ(e->Text(), c.decoded);
        e->SetProp(u"t"_qs, u"5"_qs);
        EXPECT_EQ(e->Prop(u"t"_qs), u"5"_qs);
    }
}

TEST(XmlWriter, MarkerIsReadBack)
{
    TkvlXMLDocument doc;
    TkvlXMLItem *r = doc.Root();
    r->SetName(u"r"_qs);
    TkvlXMLItem *plain = r->Add(u"page0"_qs);
    plain->SetUnloadable(true);
    plain->Add(u"o"_qs);
    TkvlXMLItem *withText = r->Add(u"page1"_qs);
    withText->SetText(u"a=\"1\""_qs);
    withText->SetUnloadable(true);
    withText->Add(u"o"_qs);
    const QByteArray bytes = save(doc);
    EXPECT_TRUE(bytes.contains("<page0 ld=\"0\"><o/></page0><page1 a=\"1\" ld=\"0\">")) << bytes.constData();

    TkvlXMLDocument full;
    load(full, bytes);
    EXPECT_EQ(shape(full.Root()), u"r(page0(o),page1[a=\"1\"](o))"_qs);

    // Reading starts at the stream's position; unloaded elements come back from there.
    auto *stream = new TMemoryStream("leading bytes" + bytes);
    stream->SetPosition(13);
    TkvlXMLDocument partial;
    partial.LoadFromStream(stream, true);
    EXPECT_EQ(shape(partial.Root()), u"r(page0*,page1*[a=\"1\"])"_qs);
    partial.LoadItem(partial.Root()->Items(1));
    EXPECT_EQ(shape(partial.Root()), u"r(page0*,page1[a=\"1\"](o))"_qs);
}

TEST(XmlWriter, TextEndingInSlashKeepsChildren)
{
    // The reader takes a final '/' for an empty element, after dropping one final blank.
    for (const QString &text : {u"x/"_qs, u"x/ "_qs, u"a=\"/\" y/  "_qs}) {
        TkvlXMLDocument doc;
        doc.Root()->SetName(u"a"_qs);
        doc.Root()->SetText(text);
        doc.Root()->Add(u"b"_qs);
        TkvlXMLDocument back;
        load(back, save(doc));
        EXPECT_EQ(back.Root()->Count(), 1) << text.toStdString();
        EXPECT_TRUE(back.Root()->Text().startsWith(text.trimmed())) << text.toStdString();
    }
}

class XmlPartialLoading : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath(u"report.kp3"_qs);
        writeFile(file, kHeader + "\r\n<preparedreport><previewpages>"
                                  "<page0 ld=\"0\"><a x=\"1\"/><b><c/></b></page0>"
                                  "<page1 LD=\"0\"><d/></page1>"
                                  "<page2><e/></page2>"
                                  "</previewpages><anchors/></preparedreport>");
    }
    QTemporaryDir dir;
    QString file;
};

TEST_F(XmlPartialLoading, LoadUnloadAndSave)
{
    TkvlXMLDocument doc;
    doc.SetTempDir(dir.path());
    doc.LoadFromFile(file);
    TkvlXMLItem *pages = doc.Root()->FindItem(u"previewpages"_qs);
    EXPECT_EQ(shape(pages), u"previewpages(page0*,page1*,page2(e))"_qs);

    TkvlXMLItem *page0 = pages->Items(0), *page1 = pages->Items(1);
    doc.LoadItem(page0);
    EXPECT_EQ(shape(page0), u"page0(a[x=\"1\"],b(c))"_qs);

    // Swapping page0 out creates the swap file; page1, still in the loaded file, stays readable.
    doc.UnloadItem(page0);
    EXPECT_EQ(shape(page0), u"page0*"_qs);
    ASSERT_FALSE(doc.TempFileName().isEmpty());
    EXPECT_TRUE(QFileInfo(doc.TempFileName()).fileName().startsWith(u"kv"_qs));
    EXPECT_EQ(QFileInfo(doc.TempFileName()).absolutePath(), QDir(dir.path()).absolutePath());
    doc.LoadItem(page1);
    EXPECT_EQ(shape(page1), u"page1(d)"_qs);
    doc.UnloadItem(page1);
    doc.LoadItem(page0);
    EXPECT_EQ(shape(page0), u"page0(a[x=\"1\"],b(c))"_qs);
    doc.UnloadItem(page0);

    // Saving reads every unloaded element back and leaves them unloaded.
    const QByteArray saved = save(doc);
    EXPECT_EQ(shape(pages), u"previewpages(page0*,page1*,page2(e))"_qs);
    TkvlXMLDocument full;
    load(full, saved);
    EXPECT_EQ(shape(full.Root()),
              u"preparedreport(previewpages(page0(a[x=\"1\"],b(c)),page1(d),page2(e)),anchors)"_qs);

    // Saving over the file the document is reading from, then working on from the new file.
    // A file of the user's bearing the target's name plus ".tmp" is no scratch file of ours.
    const QString swap = doc.TempFileName();
    writeFile(file + u".tmp"_qs, "appunti");
    doc.SaveToFile(file);
    EXPECT_FALSE(QFile::exists(swap));
    EXPECT_EQ(readFile(file + u".tmp"_qs), "appunti");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({u"report.kp3"_qs, u"report.kp3.tmp"_qs}));
    EXPECT_EQ(readFile(file), saved);
    pages = doc.Root()->FindItem(u"previewpages"_qs);
    EXPECT_EQ(shape(pages), u"previewpages(page0*,page1*,page2(e))"_qs);
    doc.LoadItem(pages->Items(1));
    EXPECT_EQ(shape(pages->Items(1)), u"page1(d)"_qs);

    doc.UnloadItem(pages->Items(1));
    const QString swap2 = doc.TempFileName();
    EXPECT_TRUE(QFile::exists(swap2));
    doc.Clear();
    EXPECT_FALSE(QFile::exists(swap2));
    EXPECT_EQ(doc.Root()->Name(), QString());
}

// An element kept in the swap file is saved as it would be from memory, with the start tag
// it has now, indented or not.
TEST_F(XmlPartialLoading, SwappedElementsSaveAsFromMemory)
{
    for (const bool indented : {false, true}) {
        SCOPED_TRACE(indented ? "indented" : "plain");
        TkvlXMLDocument doc;
        doc.SetTempDir(dir.path());
        doc.LoadFromFile(file);
        doc.SetAutoIndent(indented);
        TkvlXMLItem *pages = doc.Root()->FindItem(u"previewpages"_qs);
        TkvlXMLItem *page0 = pages->Items(0), *page2 = pages->Items(2);
        doc.LoadItem(page0);
        page0->Items(0)->SetProp(u"y"_qs, u"<\u00e9>"_qs);
        page2->SetUnloadable(true);
        const QByteArray before = save(doc);

        doc.UnloadItem(page0);
        doc.UnloadItem(page2);
        EXPECT_EQ(save(doc), before);

        // Changed while swapped out: the attributes written are the new ones.
        page0->SetProp(u"n"_qs, u"2"_qs);
        const QByteArray swapped = save(doc);
        EXPECT_NE(swapped, before);
        doc.LoadItem(page0);
        doc.LoadItem(page2);
        EXPECT_EQ(save(doc), swapped);
        EXPECT_TRUE(swapped.contains("n=\"2\""));
    }
}

// Swapped elements larger than the writer's buffer, and more of them than the swap file is
// read ahead at a time, still save byte for byte as from memory; so do texts where ASCII
// runs meet other characters.
TEST_F(XmlPartialLoading, LargeSwappedElementsSaveAsFromMemory)
{
    TkvlXMLDocument doc;
    doc.SetTempDir(dir.path());
    doc.Root()->SetName(u"preparedreport"_qs);
    std::vector<TkvlXMLItem *> pages;
    for (int p = 0; p < 80; ++p) {
        TkvlXMLItem *page = doc.Root()->Add(u"page0"_qs);
        page->SetUnloadable(true);
        // From under the buffer's size to several times it.
        for (int i = 0; i < 1 + p % 7 * 5; ++i)
            page->Add(u"m"_qs + QString::number(i))
                ->SetProp(u"x"_qs, QString(20 + p * 7 + i, QChar(u'a' + i % 26)) + u"\u00e9\u20ac\U0001F600"_qs
                                       + QString(p % 9, u'z'));
        pages.push_back(page);
    }
    const QByteArray before = save(doc);
    ASSERT_GT(before.size(), 300 * 1024);  // more than a block read ahead
    for (TkvlXMLItem *page : pages)
        doc.UnloadItem(page);
    EXPECT_EQ(save(doc), before);
    // Read back in another order than written, then out again.
    for (int p : {59, 3, 30})
        doc.LoadItem(pages[size_t(p)]);
    EXPECT_EQ(save(doc), before);
    for (int p : {30, 59, 3})
        doc.UnloadItem(pages[size_t(p)]);
    EXPECT_EQ(save(doc), before);

    TkvlXMLDocument back;
    load(back, before);
    EXPECT_EQ(back.Root()->Items(5)->Items(3)->Prop(u"x"_qs),
              QString(20 + 5 * 7 + 3, u'd') + u"\u00e9\u20ac\U0001F600"_qs + QString(5, u'z'));
}

// An element renamed while it is out of memory reads back under its new name, whether it
// lies in the swap file or still in the loaded file, and saves under it.
TEST_F(XmlPartialLoading, RenamedWhileOutOfMemory)
{
    for (const bool swapped : {true, false}) {
        SCOPED_TRACE(swapped ? "swap file" : "loaded file");
        TkvlXMLDocument doc;
        doc.SetTempDir(dir.path());
        doc.LoadFromFile(file);
        TkvlXMLItem *page0 = doc.Root()->FindItem(u"previewpages"_qs)->Items(0);
        if (swapped) {
            doc.LoadItem(page0);
            doc.UnloadItem(page0);
        }
        page0->SetName(u"page9"_qs);
        ASSERT_NO_THROW(doc.LoadItem(page0));
        EXPECT_EQ(shape(page0), u"page9(a[x=\"1\"],b(c))"_qs);
        doc.UnloadItem(page0);
        EXPECT_TRUE(save(doc).contains("<page9 ld=\"0\"><a x=\"1\"/><b><c/></b></page9>"));
    }
}

// Swapping an element out and back leaves the tree below it as it was: every element under
// its own parent, and unloadable elements inside it still unloadable, whether they were in
// memory or swapped out themselves when their container went.
TEST_F(XmlPartialLoading, NestedElementsComeBackWhole)
{
    TkvlXMLDocument doc;
    doc.SetTempDir(dir.path());
    TkvlXMLItem *page = doc.Root()->Add(u"page"_qs);
    page->SetUnloadable(true);
    TkvlXMLItem *inMemory = page->Add(u"band"_qs);
    inMemory->SetUnloadable(true);
    inMemory->Add(u"memo"_qs)->Add(u"line"_qs)->SetText(u"t=\"1\""_qs);
    TkvlXMLItem *swappedOut = page->Add(u"band"_qs);
    swappedOut->SetUnloadable(true);
    swappedOut->Add(u"memo"_qs)->SetText(u"t=\"2\""_qs);
    const QByteArray before = save(doc);

    doc.UnloadItem(swappedOut);
    doc.UnloadItem(page);
    doc.LoadItem(page);
    EXPECT_EQ(shape(page), u"page(band(memo(line[t=\"1\"])),band(memo[t=\"2\"]))"_qs);
    std::function<void(const TkvlXMLItem *)> parents = [&](const TkvlXMLItem *item) {
        for (int i = 0; i < item->Count(); ++i) {
            EXPECT_EQ(item->Items(i)->Parent(), item) << item->Items(i)->Name().toStdString();
            parents(item->Items(i));
        }
    };
    parents(doc.Root());
    for (int i = 0; i < 2; ++i) {
        TkvlXMLItem *band = page->Items(i);
        EXPECT_TRUE(band->Unloadable()) << i;
        doc.UnloadItem(band);
        EXPECT_EQ(band->Count(), 0) << i;
        doc.LoadItem(band);
        EXPECT_EQ(band->Count(), 1) << i;
    }
    EXPECT_EQ(save(doc), before);
}

TEST(XmlSaving, FailedSaveLeavesFileWholeAndNothingBeside)
{
    FullDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "this process may not mount a small file system; the full-disk save is not tried";
    const QString file = disk.Path(u"report.kp3"_qs);
    QByteArray big = kHeader + "\r\n<preparedreport><previewpages><page0 ld=\"0\">";
    for (int i = 0; i < 2000; ++i)
        big += "<a x=\"" + QByteArray::number(i) + "\"/>";
    big += "</page0></previewpages></preparedreport>";
    writeFile(file, big);
    TkvlXMLDocument doc;
    doc.LoadFromFile(file);
    doc.Root()->Items(0)->Add(u"page1"_qs);
    disk.Fill();
    const QStringList before = disk.Entries();
    EXPECT_THROW(doc.SaveToFile(file), EStreamError);
    EXPECT_EQ(readFile(file), big);
    EXPECT_EQ(disk.Entries(), before);
    // The document still works from the file it had.
    TkvlXMLItem *page0 = doc.Root()->Items(0)->Items(0);
    doc.LoadItem(page0);
    EXPECT_EQ(page0->Count(), 2000);
}

TEST_F(XmlPartialLoading, OldFormAndFullLoad)
{
    // Elements reloaded from an old-form file decode as single-byte text too.
    writeFile(file, "<?xml version=\"1.0\"?><r><page0 ld=\"0\"><a t=\"\xE8\"/></page0></r>");
    TkvlXMLDocument doc;
    doc.LoadFromFile(file);
    EXPECT_TRUE(doc.OldVersion());
    doc.LoadItem(doc.Root()->Items(0));
    EXPECT_EQ(doc.Root()->Items(0)->Items(0)->Prop(u"t"_qs), u"\u00e8"_qs);

    // Without partial loading the marker goes and everything is read.
    TMemoryStream in(readFile(file));
    doc.LoadFromStream(&in);
    EXPECT_EQ(shape(doc.Root()), u"r(page0(a[t=\"\u00e8\"]))"_qs);
    EXPECT_FALSE(doc.Root()->Items(0)->Unloadable());
}

// Every spelling of the partial-loading marker the attribute scan accepts is taken away,
// and texts that only look like it stay whole.
TEST(XmlMarker, SpellingsTheAttributeScanAccepts)
{
    struct Case {
        const char *Attrs;
        bool Marker;
        const char *TextAfter;
    } cases[] = {
        {"ld=\"0\"", true, ""},
        {"Ld=\"0\" a=\"1\"", true, " a=\"1\""},  // only a blank before the marker goes
        {"a=\"1\" LD = \"0\"", true, "a=\"1\""},
        {"a=\"1\"ld=\"0\"", true, "a=\"1\""},
        {"a=\"1\"\tld=\t\"0\"", true, "a=\"1\"\t"},
        {"old=\"0\"", false, "old=\"0\""},
        {"ld=\"00\"", false, "ld=\"00\""},
        {"x=\"ld\" y=\"0\"", false, "x=\"ld\" y=\"0\""},
        {"a=\"b ld=\" c=\"0\"", false, "a=\"b ld=\" c=\"0\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Attrs);
        TkvlXMLDocument doc;
        load(doc, kHeader + "<r><p " + c.Attrs + "><c/></p></r>");
        TkvlXMLItem *p = doc.Root()->Items(0);
        EXPECT_EQ(p->Text(), QString::fromUtf8(c.TextAfter));
        EXPECT_EQ(p->Count(), 1);  // a whole load keeps the children

        TMemoryStream in(kHeader + "<r><p " + c.Attrs + "><c/></p></r>");
        TkvlXMLDocument partial;
        TkvlXMLReader reader(in);
        reader.ReadHeader();
        reader.ReadRootItem(partial.Root(), false);
        TkvlXMLItem *q = partial.Root()->Items(0);
        EXPECT_EQ(q->Unloadable(), c.Marker);
        EXPECT_EQ(q->Count(), c.Marker ? 0 : 1);
    }
}
