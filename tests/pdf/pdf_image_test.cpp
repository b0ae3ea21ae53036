// Views drawn as images: masks, sharing within a page, bitmap and display sizes, the frame,
// and the blend a reader makes of a half-transparent picture.
#include "tests/pdf/pdffixture.h"

#include "platform/gfx/graphic.h"
#include "platform/rtl/color.h"
#include "report/views/kvlpicture.h"

#include <QImage>
#include <QPainter>
#include <map>
#include <set>

namespace {

struct ImageRow {
    int page = 0;
    QByteArray type;   // "image" or "smask"
    int width = 0, height = 0;
    int object = 0;
};

// The images of a file as pdfimages lists them, one row per use on a page.
std::vector<ImageRow> listImages(const QString &File)
{
    std::vector<ImageRow> rows;
    const QList<QByteArray> lines = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), File}).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].simplified().split(' ');
        if (f.size() < 12)
            continue;
        rows.push_back({f[0].toInt(), f[2], f[3].toInt(), f[4].toInt(), f[10].toInt()});
    }
    return rows;
}

// Image and mask objects written (pdfimages gives a mask the number of its image).
std::pair<int, int> imageObjects(const QByteArray &Pdf)
{
    return {int(Pdf.count("/Filter /DCTDecode")), int(Pdf.count("/ColorSpace /DeviceGray"))};
}

// A W x H picture of one colour; Alpha below 255 makes it see-through.
QImage solid(int W, int H, QColor Color)
{
    QImage img(W, H, QImage::Format_ARGB32);
    img.fill(Color);
    return img;
}

// A disc on a clear ground: the same mask whatever its colour.
QImage disc(QColor Color)
{
    QImage img(40, 40, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Color);
    p.drawEllipse(5, 5, 30, 30);
    return img;
}

} // namespace

struct PdfImages : PdfFixture {
    TkvlPictureView *NewPicture(const QImage &Image, double X, double Y, double W, double H, bool Transparent = false)
    {
        auto *v = new TkvlPictureView(report.get());
        v->SetBounds(X, Y, W, H);
        if (!Image.isNull()) {
            TBitmap b(Image);
            v->Picture()->SetGraphic(&b);
        }
        v->Transparent = Transparent;
        v->TransparentColor = clNone;
        return v;
    }
};

TEST_F(PdfImages, MasksFollowTransparencyAndEqualImagesAreSharedWithinAPageOnly)
{
    struct Case {
        const char *name;
        bool transparency;
        int masks;   // mask objects in the file
    } cases[] = {
        {"Transparency off: no mask", false, 0},
        {"Transparency on", true, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        filter->Transparency = c.transparency;
        TkvlReportPage *p1 = NewPage(), *p2 = NewPage();
        const QImage logo = disc(Qt::darkGreen);
        const QByteArray pdf = Export({{p1, {NewPicture(logo, 10, 10, 40, 40, true), NewPicture(logo, 100, 10, 40, 40, true)}},
                                       {p2, {NewPicture(logo, 10, 10, 40, 40, true)}}});
        const QString file = Save(pdf);
        EXPECT_EQ(exporttest::RunProgram(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}).exitCode, 0);
        // One image for page 1 (used twice), one for page 2, and their masks.
        EXPECT_EQ(imageObjects(pdf), std::make_pair(2, c.masks));
        std::map<int, std::set<int>> imagesOnPage;
        int uses = 0;
        for (const ImageRow &r : listImages(file)) {
            if (r.type == "image") {
                imagesOnPage[r.page].insert(r.object);
                ++uses;
            }
        }
        EXPECT_EQ(uses, 3);
        EXPECT_EQ(imagesOnPage[1].size(), 1u);
        EXPECT_FALSE(pdf.contains("/Matte"));
    }
}

TEST_F(PdfImages, EqualMasksUnderDifferentColoursShareOneMask)
{
    filter->Transparency = true;
    TkvlReportPage *page = NewPage();
    const QByteArray pdf = Export({{page, {NewPicture(disc(Qt::red), 10, 10, 40, 40, true),
                                           NewPicture(disc(Qt::blue), 100, 10, 40, 40, true)}}});
    EXPECT_EQ(imageObjects(pdf), std::make_pair(2, 1));
    EXPECT_EQ(listImages(Save(pdf)).size(), 4u);   // each image with its mask
}

TEST_F(PdfImages, BitmapSizesOfHatchedAndTaggedMemos)
{
    TkvlReportPage *page = NewPage();
    TkvlMemoView *hatched = NewMemo(QStringLiteral("a"), 10, 10, 10, 10);
    hatched->SetBrushStyle(bsDiagCross);
    hatched->SetColor(clRed);
    TkvlMemoView *tagged = NewMemo(QStringLiteral("<b>a</b>"), 100, 10, 10, 10);
    tagged->AllowHTMLTags = true;
    const std::vector<ImageRow> rows = listImages(Save(Export({{page, {hatched, tagged}}})));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::make_pair(rows[0].width, rows[0].height), std::make_pair(10, 10));
    EXPECT_EQ(std::make_pair(rows[1].width, rows[1].height), std::make_pair(30, 30));
}

TEST_F(PdfImages, DisplaySizeOfAPictureInItsBox)
{
    // A 50 x 50 picture in a 200 x 100 box at (0, 0) of an A4 page (842.25 points high); the
    // image is anchored at the box's top-left corner.
    struct Case {
        const char *name;
        bool stretched, keepAspect;
        const char *cm;
    } cases[] = {
        {"stretched, aspect kept: as high as the box", true, true, "75.00 0 0 75.00 0.50 766.75 cm"},
        {"stretched freely: the whole box", true, false, "150.00 0 0 75.00 0.50 766.75 cm"},
        {"not stretched: its own size", false, true, "37.50 0 0 37.50 0.50 804.25 cm"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TkvlPictureView *v = NewPicture(solid(50, 50, Qt::blue), 0, 0, 200, 100);
        v->Stretched = c.stretched;
        v->KeepAspectRatio = c.keepAspect;
        const QByteArray content = Content(NewPage(), {v});
        const QByteArray expected = QByteArray("q\r\n") + c.cm + "\r\n/Im0 Do\r\nQ\r\n";
        EXPECT_TRUE(content.contains(expected)) << content.constData();
    }
}

TEST_F(PdfImages, TheFrameKeepsItsSideWidthsAndAnEmptyPictureDrawsOnlyItsFrame)
{
    TkvlPictureView *empty = NewPicture(QImage(), 0, 0, 100, 100);
    empty->Frame()->SetTyp(kvlFrameAll);
    empty->Frame()->SetWidth(3);
    TkvlPictureView *full = NewPicture(solid(20, 20, Qt::blue), 200, 0, 100, 100);
    full->Frame()->SetTyp(kvlFrameAll);
    full->Frame()->SetWidth(2);
    full->Frame()->LeftLine()->SetWidth(5);
    const QByteArray content = Content(NewPage(), {empty, full});
    EXPECT_EQ(content.count("/Im"), 1);
    EXPECT_TRUE(content.contains("\r\n2.25 w\r\n"));   // 3 pixels
    EXPECT_TRUE(content.contains("\r\n3.75 w\r\n"));   // the left side's 5
    EXPECT_EQ(empty->Frame()->Width(), 3);
    EXPECT_EQ(full->Frame()->Width(), 2);
    EXPECT_EQ(full->Frame()->LeftLine()->Width(), 5);
    EXPECT_EQ(full->Frame()->TopLine()->Width(), 2);
}

TEST_F(PdfImages, AHalfTransparentPictureBlendsWithWhatIsUnderIt)
{
    filter->Transparency = true;
    filter->Quality = 100;
    TkvlMemoView *red = NewMemo(QString(), 0, 0, 96, 96);
    red->SetColor(clRed);
    TkvlPictureView *blue = NewPicture(solid(96, 96, QColor(0, 0, 255, 128)), 0, 0, 96, 96, true);
    const QString file = Save(Export({{NewPage(), {red, blue}}}));
    // The centre of the one-inch square at the page's top-left corner, at 72 dpi.
    const exporttest::RunResult r = exporttest::Python(R"py(
import subprocess, sys
from PIL import Image
subprocess.run(["pdftoppm", "-r", "72", "-png", "-singlefile", sys.argv[1], sys.argv[1] + "-p"], check=True)
im = Image.open(sys.argv[1] + "-p.png").convert("RGB")
print(*im.getpixel((36, 36)))
)py", {file});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> rgb = r.out.trimmed().split(' ');
    ASSERT_EQ(rgb.size(), 3);
    EXPECT_NEAR(rgb[0].toInt(), 127, 8);
    EXPECT_NEAR(rgb[1].toInt(), 0, 8);
    EXPECT_NEAR(rgb[2].toInt(), 128, 8);
}
