// The outline and the links of an export of some pages of a prepared report, and the
// archival mode's metadata and output intent, read back by qpdf and Python.
#include "tests/pdf/pdffixture.h"

#include "engine/store/previewpages.h"
#include "export/pdf/resources/pdfresources.h"
#include "report/appearance/hyperlink.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlpicture.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/color.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

// Outline lines "depth title -> page y" and link lines "page N: uri U | page P y Y | nowhere",
// in the file's order, from qpdf's description of the file.
const char kReader[] = R"py(
import json, subprocess, sys
args = ["qpdf", "--json", sys.argv[1]]
if len(sys.argv) > 2:
    args.insert(1, "--password=" + sys.argv[2])
j = json.loads(subprocess.run(args, check=True, capture_output=True).stdout)
objs = j["qpdf"][1]
pages = {p["object"]: p["pageposfrom1"] for p in j["pages"]}
def walk(items, depth):
    for o in items:
        d = o["dest"]
        print(depth, o["title"], "->", o["destpageposfrom1"], d[3] if len(d) > 3 else "")
        walk(o["kids"], depth + 1)
walk(j["outlines"], 0)
for p in j["pages"]:
    page = objs["obj:" + p["object"]]["value"]
    for ref in page.get("/Annots", []):
        a = objs["obj:" + ref]["value"]
        if "/A" in a:
            print("page", p["pageposfrom1"], "uri", a["/A"]["/URI"][2:])
        elif "/Dest" in a:
            print("page", p["pageposfrom1"], "to", pages[a["/Dest"][0]], "y", a["/Dest"][3])
        else:
            print("page", p["pageposfrom1"], "nowhere")
)py";

} // namespace

struct PdfLinks : PdfFixture {
    TkvlCustomPreviewPages *store = nullptr;

    // Five prepared pages with an outline and an anchor "fine" on the third.
    void Prepare()
    {
        store = report->PreviewPages();
        ASSERT_TRUE(store);
        for (int i = 0; i < 5; ++i)
            store->AddPage(nullptr);
        TkvlCustomOutline &o = *store->Outline;
        auto item = [&](int Page, const QString &Text, int Top) {
            store->CurPage = Page;
            o.AddItem(Text, Top);
        };
        o.LevelRoot();
        item(0, QStringLiteral("Uno"), 0);       // not exported: left out with its child
        item(2, QStringLiteral("Uno.a"), 0);
        o.LevelRoot();
        item(1, QStringLiteral("Due (è)"), 0);
        item(2, QStringLiteral("Due.a"), 100);
        o.LevelUp();
        item(4, QStringLiteral("Due.b"), 0);     // not exported
        o.LevelRoot();
        item(2, QStringLiteral("Tre"), 100);
        store->CurPage = 2;
        static_cast<TkvlPreviewPages *>(store)->AddAnchor(QStringLiteral("fine"));
    }

    TkvlMemoView *Linked(const QString &Url, double Y)
    {
        TkvlMemoView *m = NewMemo(QStringLiteral("link"), 10, Y, 100, 20);
        m->SetURL(Url);
        return m;
    }

    // Pages 2 and 3 of the five, as the driver sends them for the page list "2-3".
    QString ExportPagesTwoAndThree(const std::vector<TkvlComponent *> &OnPageTwo)
    {
        filter->PageNumbers = QStringLiteral("2-3");
        return Save(Export({{NewPage(), OnPageTwo}, {NewPage(), {}}}));
    }
};

TEST_F(PdfLinks, OutlineAndLinksPointAtTheExportedPages)
{
    Prepare();
    filter->Outline = true;
    TkvlMemoView *detail = NewMemo(QStringLiteral("d"), 10, 300, 100, 20);
    detail->Hyperlink()->FKind = hkDetailPage;
    detail->Hyperlink()->FValue = QStringLiteral("Page2");
    const QString file = ExportPagesTwoAndThree({
        Linked(QStringLiteral("http://example.com/a(b)?q=é"), 0),
        Linked(QStringLiteral("#fine"), 30),
        Linked(QStringLiteral("#manca"), 60),   // no such anchor
        Linked(QStringLiteral("@5"), 90),       // a page not exported: no destination
        Linked(QStringLiteral("@x"), 120),
        Linked(QStringLiteral("@0"), 150),
        Linked(QStringLiteral("@3"), 180),
        Linked(QStringLiteral("@99"), 210),     // beyond the last page: the last page
        detail,
    });
    EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}).exitCode, 0);
    const exporttest::RunResult r = exporttest::Python(kReader, {file});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    // 842.25 points high: an item 100 pixels down is at 767; the pages' tops (less the
    // offset of positions, 0.5) at 842.
    EXPECT_EQ(r.out, QByteArray("0 Due (\xC3\xA8) -> 1 842\n"
                                "1 Due.a -> 2 767\n"
                                "0 Tre -> 2 767\n"
                                "page 1 uri http://example.com/a(b)?q=%C3%A9\n"
                                "page 1 to 2 y 842\n"
                                "page 1 nowhere\n"
                                "page 1 to 2 y 842\n"
                                "page 1 nowhere\n"));
}

TEST_F(PdfLinks, WithoutItemsOnTheExportedPagesThereIsNoOutline)
{
    store = report->PreviewPages();
    for (int i = 0; i < 5; ++i)
        store->AddPage(nullptr);
    store->Outline->LevelRoot();
    store->Outline->AddItem(QStringLiteral("Altrove"), 0);   // on page 1
    filter->Outline = true;
    filter->Compressed = false;
    const QByteArray pdf = exporttest::ReadFile(ExportPagesTwoAndThree({}));
    EXPECT_TRUE(pdf.contains("/PageMode /UseOutlines"));
    EXPECT_FALSE(pdf.contains("/Outlines"));
}

TEST_F(PdfLinks, AProtectedFileReadsAsWrittenOnceDeciphered)
{
    Prepare();
    filter->Outline = true;
    filter->UserPassword = QStringLiteral("u");
    filter->OwnerPassword = QStringLiteral("o");
    const QString file = ExportPagesTwoAndThree({Linked(QStringLiteral("http://example.com/a(b)\\c?q=é"), 0),
                                                 Linked(QStringLiteral("@3"), 30)});
    const exporttest::RunResult r = exporttest::Python(kReader, {file, QStringLiteral("u")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("0 Due (\xC3\xA8) -> 1 842\n"
                                "1 Due.a -> 2 767\n"
                                "0 Tre -> 2 767\n"
                                "page 1 uri http://example.com/a(b)\\c?q=%C3%A9\n"
                                "page 1 to 2 y 842\n"));
}

TEST_F(PdfFixture, AnArchivalFileDescribesItselfAlikeInItsInformationAndItsMetadata)
{
    filter->PdfA = true;
    filter->Title = QStringLiteral("Eventi & <scadenze>");
    filter->Author = QStringLiteral("Dùccio");
    filter->Subject = QStringLiteral("Oggetto");
    filter->Keywords = QStringLiteral("a, b");
    filter->Creator = QStringLiteral("LirraCal");
    filter->Producer = QStringLiteral("LirraCal PDF");
    filter->UserPassword = QStringLiteral("ignorata");
    const QString file = Save(Export({{NewPage(), {NewMemo(QStringLiteral("Archivio"), 10, 10, 300, 40)}}}));
    const exporttest::RunResult check = exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file});
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();

    const exporttest::RunResult r = exporttest::Python(R"py(
import io, json, re, subprocess, sys
import xml.etree.ElementTree as ET
from PIL import ImageCms
f = sys.argv[1]
q = subprocess.run(["qpdf", "--json", "--json-key=qpdf", f], capture_output=True)
assert q.returncode == 0, q.stderr
j = json.loads(q.stdout)
objs = j["qpdf"][1]
trailer = objs["trailer"]["value"]
assert "/Encrypt" not in trailer, "encrypted"
info = {k: v[2:] for k, v in objs["obj:" + trailer["/Info"]]["value"].items()}
root = objs["obj:" + trailer["/Root"]]["value"]
def data(ref):
    return subprocess.run(["qpdf", "--show-object=" + ref.split()[0], "--filtered-stream-data", f],
                          check=True, capture_output=True).stdout
xmp = data(root["/Metadata"])
ns = {"rdf": "http://www.w3.org/1999/02/22-rdf-syntax-ns#", "dc": "http://purl.org/dc/elements/1.1/",
      "xmp": "http://ns.adobe.com/xap/1.0/", "pdf": "http://ns.adobe.com/pdf/1.3/",
      "pdfaid": "http://www.aiim.org/pdfa/ns/id/"}
x = ET.fromstring(xmp[xmp.index(b"<x:xmpmeta"):xmp.index(b"</x:xmpmeta>") + 12])
def one(path):
    return x.find(".//" + path, ns).text
def pdfdate(d):
    m = re.fullmatch(r"D:(\d{4})(\d\d)(\d\d)(\d\d)(\d\d)(\d\d)([+-])(\d\d)'(\d\d)'", d)
    assert m, d
    g = m.groups()
    return "%s-%s-%sT%s:%s:%s%s%s:%s" % g
checks = [
    (one("dc:title/rdf:Alt/rdf:li"), info["/Title"]),
    (one("dc:creator/rdf:Seq/rdf:li"), info["/Author"]),
    (one("dc:description/rdf:Alt/rdf:li"), info["/Subject"]),
    (one("pdf:Keywords"), info["/Keywords"]),
    (one("xmp:CreatorTool"), info["/Creator"]),
    (one("pdf:Producer"), info["/Producer"]),
    (one("xmp:CreateDate"), pdfdate(info["/CreationDate"])),
    (one("xmp:ModifyDate"), pdfdate(info["/ModDate"])),
    (one("pdfaid:part"), "2"),
    (one("pdfaid:conformance"), "B"),
]
for got, want in checks:
    print("ok" if got == want else "differs: %r %r" % (got, want))
print(info["/Title"])
intent = objs["obj:" + root["/OutputIntents"][0]]["value"]
print(intent["/S"], intent["/OutputConditionIdentifier"])
profile = ImageCms.ImageCmsProfile(io.BytesIO(data(intent["/DestOutputProfile"])))
print(ImageCms.getProfileDescription(profile).strip(), profile.profile.xcolor_space.strip(), profile.profile.version)
)py", {file});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray(QByteArray("ok\n").repeated(10) + "Eventi & <scadenze>\n"
                                "/GTS_PDFA1 u:sRGB IEC61966-2.1\nsRGB IEC61966-2.1 RGB 2.1\n"));
}

TEST(PdfProfile, TheEmbeddedProfileConvertsLikeTheReferenceSRGB)
{
    // Colours through our profile into the colour library's own sRGB come out unchanged.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("srgb.icc"));
    exporttest::WriteFile(file, pdf::resources::SRGBProfile());
    const exporttest::RunResult r = exporttest::Python(R"py(
import sys
from PIL import Image, ImageCms
ours = ImageCms.getOpenProfile(sys.argv[1])
t = ImageCms.buildTransform(ours, ImageCms.createProfile("sRGB"), "RGB", "RGB")
cols = [(0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255), (128, 64, 32), (10, 200, 90)]
im = Image.new("RGB", (len(cols), 1))
for i, c in enumerate(cols):
    im.putpixel((i, 0), c)
out = ImageCms.applyTransform(im, t)
print(ours.profile.device_class, max(abs(a - b) for i, c in enumerate(cols) for a, b in zip(c, out.getpixel((i, 0)))))
)py", {file});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> f = r.out.trimmed().split(' ');
    ASSERT_EQ(f.size(), 2) << r.out.constData();
    EXPECT_EQ(f[0], "mntr");
    EXPECT_LE(f[1].toInt(), 1);
}

TEST_F(PdfLinks, AProtectedExportRendersAndReadsAsTheUnprotectedOne)
{
    Prepare();
    filter->Outline = true;
    filter->Transparency = true;
    QImage logo(30, 30, QImage::Format_ARGB32);
    logo.fill(QColor(0, 128, 0, 100));
    auto picture = [&](double X, bool Transparent) {
        auto *v = new TkvlPictureView(report.get());
        v->SetBounds(X, 400, 30, 30);
        TBitmap b(logo);
        v->Picture()->SetGraphic(&b);
        v->Transparent = Transparent;
        return v;
    };
    TkvlMemoView *hatched = NewMemo(QStringLiteral("tratteggio"), 10, 500, 100, 30);
    hatched->SetBrushStyle(bsBDiagonal);
    hatched->SetColor(clBlue);
    TkvlMemoView *tagged = NewMemo(QStringLiteral("<b>grassetto</b> e no"), 200, 500, 150, 30);
    tagged->AllowHTMLTags = true;
    const std::vector<TkvlComponent *> objects = {
        picture(10, false), picture(60, true), picture(110, true), hatched, tagged,
        Linked(QStringLiteral("http://example.com/?q=è"), 0), Linked(QStringLiteral("#fine"), 30),
        Linked(QStringLiteral("@3"), 60)};
    const QString plain = ExportPagesTwoAndThree(objects);
    const QString plainCopy = dir + QStringLiteral("/plain.pdf");
    ASSERT_TRUE(QFile::rename(plain, plainCopy));

    filter->UserPassword = QStringLiteral("utente");
    filter->OwnerPassword = QStringLiteral("padrone");
    filter->SetProtectionFlags(kvlPDFEncAll & ~kvlPDFEncBit(ePrint));
    const QString locked = ExportPagesTwoAndThree(objects);
    const exporttest::RunResult show = exporttest::RunProgram(
        QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), QStringLiteral("--password=utente"), locked});
    EXPECT_TRUE(show.out.contains("print high resolution: not allowed")) << show.out.constData();
    const QString opened = dir + QStringLiteral("/opened.pdf");
    ASSERT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--decrypt"),
                                                              QStringLiteral("--password=utente"), locked, opened})
                  .exitCode,
              0);

    const exporttest::RunResult a = exporttest::Python(kReader, {plainCopy});
    const exporttest::RunResult b = exporttest::Python(kReader, {opened});
    EXPECT_EQ(a.out, b.out);
    EXPECT_TRUE(a.out.contains("uri http://example.com/?q=%C3%A8")) << a.out.constData();
    auto render = [](const QString &File) {
        return RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), File});
    };
    const QByteArray pixels = render(plainCopy);
    ASSERT_FALSE(pixels.isEmpty());
    EXPECT_TRUE(pixels == render(opened));

    // The same report in the archival mode: no protection, and a file qpdf finds sound.
    filter->PdfA = true;
    const QString archival = ExportPagesTwoAndThree(objects);
    const exporttest::RunResult check =
        exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), archival});
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
    EXPECT_EQ(exporttest::Python(kReader, {archival}).out, a.out);
    EXPECT_TRUE(render(archival) == pixels);
}
