// Operators written for page decorations, frames, lines, shapes and check boxes. The page is
// A4 (794 x 1123 pixels, 595.50 x 842.25 points) with margins of 10 mm, so a position of
// (px, py) pixels lands on (0.75 px + 0.5, 841.75 - 0.75 py) points.
#include "tests/pdf/pdffixture.h"

#include "platform/rtl/color.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlline.h"
#include "report/views/kvlshape.h"

#include <functional>

namespace {

struct Case {
    const char *name;
    std::function<TkvlComponent *(PdfFixture &)> make;
    std::vector<const char *> expected;     // pieces of operator text, each must appear
    std::vector<const char *> absent = {};  // and these must not
};

TkvlShapeView *shape(PdfFixture &f, TkvlShapeKind kind, TColor color, int curve = 0)
{
    auto *s = new TkvlShapeView(f.report.get());
    s->SetBounds(100, 100, 40, 20);
    s->Shape = kind;
    s->SetColor(color);
    s->Curve = curve;
    return s;
}

TkvlCustomLineView *line(PdfFixture &f, double w, double h, TkvlFrameStyle style, double width)
{
    auto *l = new TkvlLineView(f.report.get());
    l->SetBounds(100, 100, w, h);
    l->Frame()->SetStyle(style);
    l->Frame()->SetWidth(width);
    return l;
}

TkvlMemoView *framedMemo(PdfFixture &f, double width, TkvlFrameStyle style)
{
    TkvlMemoView *m = f.NewMemo(QString(), 100, 100, 200, 50);
    m->Frame()->SetTyp(kvlFrameAll);
    m->Frame()->SetWidth(width);
    m->Frame()->SetStyle(style);
    return m;
}

} // namespace

TEST_F(PdfFixture, ViewsBecomeTheirOperators)
{
    const std::vector<Case> cases = {
        {"rectangle filled red",
         [](PdfFixture &f) { return shape(f, skRectangle, 0x0000FF); },
         {"[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n1.00 0.00 0.00 rg\r\n75.50 751.75 \r\n30.00 15.00 re\r\nB\r\n"}},
        {"rectangle without fill is stroked",
         [](PdfFixture &f) { return shape(f, skRectangle, clNone); },
         {"30.00 15.00 re\r\nS\r\n"}, {" rg"}},
        {"system colour resolved",
         [](PdfFixture &f) { return shape(f, skRectangle, clBtnFace); },
         {"0.94 0.94 0.94 rg"}},
        {"grey $808080",
         [](PdfFixture &f) { return shape(f, skRectangle, 0x808080); },
         {"0.50 0.50 0.50 rg"}},
        {"rounded corners of 7.48 pixels with Curve 0",
         [](PdfFixture &f) { return shape(f, skRoundRectangle, clNone, 0); },
         {"81.11 751.75 m\r\n", "\r\nS\r\n"}},
        {"rounded corners of Curve x 3.74 pixels",
         [](PdfFixture &f) { return shape(f, skRoundRectangle, 0xFFFFFF, 2); },
         {"1 1 1 rg", "81.11 751.75 m\r\n", "\r\nB\r\n"}},
        {"ellipse starts at the middle of its right side",
         [](PdfFixture &f) { return shape(f, skEllipse, clNone); },
         {"105.50 759.25 m\r\n", " c\r\n"}},
        {"triangle",
         [](PdfFixture &f) { return shape(f, skTriangle, clNone); },
         {"90.50 766.75 m 105.50 751.75 l 75.50 751.75 l 90.50 766.75 l\r\nS\r\n"}},
        {"diamond",
         [](PdfFixture &f) { return shape(f, skDiamond, 0); },
         {"90.50 766.75 m 105.50 759.25 l 90.50 751.75 l 75.50 759.25 l 90.50 766.75 l\r\nB\r\n"}},
        {"diagonals are never filled",
         [](PdfFixture &f) { return shape(f, skDiagonal1, 0xFF); },
         {"75.50 751.75 m\r\n105.50 766.75 l\r\nS\r\n"}, {" rg", "B\r\n"}},
        {"dash of width 2",
         [](PdfFixture &f) { return line(f, 100, 0, fsDash, 2); },
         {"[12.00 ] 0 d\r\n0 0 0 RG\r\n1.50 w\r\n75.50 766.75 m\r\n150.50 766.75 l\r\nS\r\n"}},
        {"dots",
         [](PdfFixture &f) { return line(f, 100, 0, fsDot, 1); },
         {"[2.00 6.00 ] 0 d"}},
        {"dash dot dot",
         [](PdfFixture &f) { return line(f, 100, 0, fsDashDotDot, 1); },
         {"[6.00 6.00 2.00 6.00 2.00 6.00 ] 0 d"}},
        {"a dash of width 0 is solid",
         [](PdfFixture &f) { return line(f, 100, 0, fsDash, 0); },
         {"[] 0 d\r\n"}, {"[0.00"}},
        {"a line of negative width runs left",
         [](PdfFixture &f) { return line(f, -40, 20, fsSolid, 1); },
         {"75.50 766.75 m\r\n45.50 751.75 l\r\n"}},
        {"arrow at the end of a vertical line has a horizontal base",
         [](PdfFixture &f) {
             auto *l = line(f, 0, 100, fsSolid, 1);
             l->ArrowEnd = true;
             return l;
         },
         {"79.25 706.75 m\r\n75.50 691.75 l\r\n71.75 706.75 l\r\nS\r\n"}},
        {"solid arrow at the start of a horizontal line",
         [](PdfFixture &f) {
             auto *l = line(f, 100, 0, fsSolid, 1);
             l->ArrowStart = true;
             l->ArrowSolid = true;
             return l;
         },
         {"90.50 763.00 m\r\n75.50 766.75 l\r\n90.50 770.50 l\r\n1 j\r\n0 0 0 rg\r\nb\r\n"}},
        {"a line of length 0 gets no arrow",
         [](PdfFixture &f) {
             auto *l = line(f, 0, 0, fsSolid, 1);
             l->ArrowStart = l->ArrowEnd = true;
             return l;
         },
         {"75.50 766.75 m\r\n75.50 766.75 l\r\nS\r\n"}, {"j\r\n", "nan", "inf"}},
        {"frame of width 1 on the edges",
         [](PdfFixture &f) { return framedMemo(f, 1, fsSolid); },
         {"0.75 w\r\n75.50 766.75 m\r\n75.50 729.25 l\r\n", "75.50 766.75 m\r\n225.50 766.75 l\r\n"}},
        {"frame of width 3: the top line covers the side lines' half widths",
         [](PdfFixture &f) { return framedMemo(f, 3, fsSolid); },
         {"2.25 w\r\n74.38 766.75 m\r\n226.63 766.75 l\r\n"}},
        {"double frame: the inner left line joins the inner top and bottom",
         [](PdfFixture &f) { return framedMemo(f, 1, fsDouble); },
         {"75.50 766.75 m\r\n75.50 729.25 l\r\n", "77.00 765.25 m\r\n77.00 730.75 l\r\n"}},
        {"a frame of colour clNone draws nothing",
         [](PdfFixture &f) {
             TkvlMemoView *m = framedMemo(f, 1, fsSolid);
             m->Frame()->SetColor(clNone);
             return m;
         },
         {"q\r\n"}, {" l\r\n"}},
        {"checked cross",
         [](PdfFixture &f) {
             auto *c = new TkvlCheckBoxView(f.report.get());
             c->SetBounds(100, 100, 20, 20);
             return c;
         },
         {"[] 0 d\r\n0 0 0 RG\r\n1.50 w ", "4.50 w 2 J 79.25 763.00 m 86.75 755.50 l 86.75 763.00 m 79.25 755.50 l "}},
        {"checked plus",
         [](PdfFixture &f) {
             auto *c = new TkvlCheckBoxView(f.report.get());
             c->SetBounds(100, 100, 20, 20);
             c->CheckStyle = csPlus;
             return c;
         },
         {"78.50 759.25 m 87.50 759.25 l 83.00 763.75 m 83.00 754.75 l "}},
        {"unchecked and empty draws its frame only",
         [](PdfFixture &f) {
             auto *c = new TkvlCheckBoxView(f.report.get());
             c->SetBounds(100, 100, 20, 20);
             c->Checked = false;
             c->Frame()->SetTyp(kvlFrameBit(ftTop));
             return c;
         },
         {"0 0 0 RG\r\n[] 0 d\r\n0.75 w\r\n75.50 766.75 m 90.50 766.75 l \r\nS\r\n"}, {" J "}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TkvlReportPage *page = NewPage();
        const QByteArray content = Content(page, {c.make(*this)});
        for (const char *e : c.expected)
            EXPECT_TRUE(content.contains(e)) << "missing: " << e << "\nin:\n" << content.constData();
        for (const char *a : c.absent)
            EXPECT_FALSE(content.contains(a)) << "present: " << a << "\nin:\n" << content.constData();
    }
}

TEST_F(PdfFixture, PageColourAndFrameAreDrawnInsideTheMargins)
{
    TkvlReportPage *page = NewPage();
    page->SetColor(0x808080);
    page->Frame()->SetTyp(kvlFrameBit(ftLeft));
    const QByteArray content = Content(page, {});
    // Margins of 10 mm: 28.35 points.
    EXPECT_TRUE(content.startsWith("0.00 w\r\n0.50 0.50 0.50 RG\r\n0.50 0.50 0.50 rg\r\n28.35 28.35 m\r\n"
                                   "567.15 28.35 l\r\n567.15 813.90 l\r\n28.35 813.90 l\r\nB\r\n"))
        << content.constData();
    // The frame: 10 mm as 37.7953 pixels, in points.
    EXPECT_TRUE(content.contains("28.35 813.90 m\r\n28.35 28.35 l\r\nS\r\n")) << content.constData();
}
