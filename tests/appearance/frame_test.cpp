#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/appearance/frame.h"

#include <QImage>
#include <gtest/gtest.h>

using gfx::DrawRecord;
using gfx::RecordingCanvas;

namespace {

using Seg = std::pair<QPoint, QPoint>;

std::vector<Seg> lines(const RecordingCanvas &rec, TColor color)
{
    std::vector<Seg> out;
    for (const DrawRecord &r : rec.records())
        if (r.kind == DrawRecord::Line && r.state.pen.color == color)
            out.emplace_back(r.points[0], r.points[1]);
    return out;
}

constexpr TColor kShadow = 0x808080, kLine = 0x0000FF;

} // namespace

TEST(FrameModel, FrameWideSettingsReachEveryLineAndLinesStoreOnlyTheirOwn)
{
    TkvlFrame f;
    EXPECT_EQ(f.Color(), 0);
    EXPECT_EQ(f.ShadowWidth(), 4);
    EXPECT_EQ(f.Width(), 1);
    EXPECT_EQ(f.Typ(), 0u);
    f.SetColor(kLine);
    f.SetWidth(2);
    f.SetStyle(fsDot);
    for (TkvlFrameLine *l : {f.LeftLine(), f.TopLine(), f.RightLine(), f.BottomLine()}) {
        EXPECT_EQ(l->Color(), kLine);
        EXPECT_EQ(l->Width(), 2);
        EXPECT_EQ(l->Style(), fsDot);
        EXPECT_FALSE(l->IsColorStored() || l->IsStyleStored() || l->IsWidthStored());
    }
    f.LeftLine()->SetWidth(1);
    EXPECT_TRUE(f.LeftLine()->IsWidthStored());
    EXPECT_FALSE(f.LeftLine()->IsColorStored());

    TkvlFrame g;
    g.Assign(&f);
    EXPECT_EQ(g.Width(), 2);
    EXPECT_EQ(g.LeftLine()->Width(), 1);
    EXPECT_EQ(g.TopLine()->Style(), fsDot);
    // Setting a line copies it into the owned one.
    g.SetRightLine(f.LeftLine());
    EXPECT_EQ(g.RightLine()->Width(), 1);
    EXPECT_NE(g.RightLine(), f.LeftLine());
    // A source of another class is ignored.
    TkvlFrameLine stranger;
    g.Assign(&stranger);
    EXPECT_EQ(g.Width(), 2);
}

TEST(FrameModel, PublishedPropertiesInStoredOrder)
{
    const rtl::ClassInfo *ci = TkvlFrame::StaticClass();
    QStringList names;
    for (const rtl::PropInfo *p : ci->props())
        names << p->name();
    EXPECT_EQ(names.join(QLatin1Char(',')),
              QStringLiteral("Color,DropShadow,ShadowColor,ShadowWidth,Style,Typ,Width,"
                             "LeftLine,TopLine,RightLine,BottomLine"));
    EXPECT_EQ(ci->findProp(u"Typ")->typeName(), QStringLiteral("TkvlFrameTyp"));
    EXPECT_EQ(ci->findProp(u"Color")->typeName(), QStringLiteral("TColor"));

    TkvlFrame f;
    const rtl::PropInfo *sw = ci->findProp(u"ShadowWidth");
    EXPECT_FALSE(sw->isStored(&f));
    f.SetShadowWidth(5);
    EXPECT_TRUE(sw->isStored(&f));
    ci->findProp(u"Typ")->setOrdText(&f, u"9");
    EXPECT_TRUE(f.Has(ftLeft) && f.Has(ftBottom) && !f.Has(ftTop));
    ci->findProp(u"Style")->setOrdText(&f, u"fsDouble");
    EXPECT_EQ(f.BottomLine()->Style(), fsDouble);
}

TEST(FrameDraw, FreeEndsArePulledInJoinedEndsKept)
{
    // Solid, left and top, width 3 at scale 1.
    RecordingCanvas rec;
    TkvlFrame f;
    f.SetColor(kLine);
    f.SetWidth(3);
    f.SetTyp(kvlFrameBit(ftLeft) | kvlFrameBit(ftTop));
    f.Draw(&rec, 10, 10, 50, 40, 1, 1);
    const auto segs = lines(rec, kLine);
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_EQ(segs[0], Seg({10, 10}, {10, 39}));   // left: free bottom pulled up by 3 div 2
    EXPECT_EQ(segs[1], Seg({10, 10}, {49, 10}));   // top: free right end pulled in
    for (const DrawRecord &r : rec.records()) {
        EXPECT_TRUE(r.state.pen.geometric);
        EXPECT_EQ(r.state.pen.width, 3);
        EXPECT_EQ(r.state.pen.cap, gfx::PenCap::Square);
    }

    // A lone side has both ends free; at scale 2 the pull doubles.
    RecordingCanvas rec2;
    f.SetTyp(kvlFrameBit(ftBottom));
    f.Draw(&rec2, 0, 0, 100, 50, 2, 2);
    ASSERT_EQ(lines(rec2, kLine).size(), 1u);
    EXPECT_EQ(lines(rec2, kLine)[0], Seg({3, 50}, {97, 50}));
}

TEST(FrameDraw, DoubleLinesMeetAtJoinedCorners)
{
    RecordingCanvas rec;
    TkvlFrame f;
    f.SetColor(kLine);
    f.SetStyle(fsDouble);
    f.SetTyp(kvlFrameAll);
    f.Draw(&rec, 10, 10, 30, 30, 1, 1);
    const std::vector<Seg> expect = {
        {{9, 9}, {9, 31}},   {{11, 11}, {11, 29}},   // left: outer reaches out, inner stops short
        {{29, 11}, {29, 29}}, {{31, 9}, {31, 31}},   // right
        {{9, 9}, {31, 9}},   {{11, 11}, {29, 11}},   // top
        {{11, 29}, {30, 29}}, {{9, 31}, {32, 31}},   // bottom: one pixel longer with a thin pen
    };
    EXPECT_EQ(lines(rec, kLine), expect);
    // The frame style is not solid: the brush is cleared.
    EXPECT_EQ(rec.records().front().state.brush.style, bsClear);

    // Free ends of double lines: both lines pulled in and kept straight.
    RecordingCanvas one;
    f.SetTyp(kvlFrameBit(ftTop));
    f.SetWidth(2);
    f.Draw(&one, 10, 10, 30, 30, 1, 1);
    const std::vector<Seg> top = {{{11, 8}, {29, 8}}, {{11, 12}, {29, 12}}};
    EXPECT_EQ(lines(one, kLine), top);
}

TEST(FrameDraw, ShadowLiesRightAndBelowScaledByItsWidth)
{
    struct Case { double scale; int thick; };
    for (const Case c : {Case{1, 4}, Case{2, 8}}) {
        RecordingCanvas rec;
        TkvlFrame f;
        f.SetDropShadow(true);
        f.SetShadowColor(kShadow);
        f.SetColor(gfx::kColorNone);   // only the shadow is drawn
        f.SetTyp(kvlFrameAll);
        const int X = 10, Y = 10, X1 = 110, Y1 = 60;
        f.Draw(&rec, X, Y, X1, Y1, c.scale, c.scale);
        const auto segs = lines(rec, kShadow);
        ASSERT_EQ(int(segs.size()), 2 * c.thick) << c.scale;
        EXPECT_EQ(int(rec.records().size()), 2 * c.thick);
        const int s = c.thick;
        for (int i = 0; i < s; ++i) {
            // Vertical band X1 .. X1 + s - 1 from Y + s down; horizontal band Y1 .. Y1 + s - 1 from X + s.
            EXPECT_EQ(segs[size_t(i)], Seg({X1 + i, Y + s}, {X1 + i, Y1}));
            EXPECT_EQ(segs[size_t(s + i)], Seg({X + s, Y1 + i}, {X1 + s, Y1 + i}));
        }
    }
}

TEST(FrameDraw, StyledSidesUseOnePixelPensSideBySide)
{
    RecordingCanvas rec;
    TkvlFrame f;
    f.SetColor(kLine);
    f.SetStyle(fsDash);
    f.SetWidth(3);
    f.SetTyp(kvlFrameBit(ftRight));
    f.Draw(&rec, 0, 0, 20, 20, 1, 1);
    const auto segs = lines(rec, kLine);
    const std::vector<Seg> expect = {{{19, 0}, {19, 20}}, {{20, 0}, {20, 20}}, {{21, 0}, {21, 20}}};
    EXPECT_EQ(segs, expect);
    EXPECT_EQ(rec.records()[0].state.pen.style, psDash);
    EXPECT_EQ(rec.records()[0].state.pen.width, 1);

    // Square dots: a geometric pen with a dash pattern of w, w and flat ends.
    RecordingCanvas sq;
    f.SetStyle(fsSquare);
    f.Draw(&sq, 0, 0, 20, 20, 2, 2);
    ASSERT_EQ(sq.records().size(), 1u);
    const gfx::Pen &p = sq.records()[0].state.pen;
    EXPECT_EQ(p.style, psUserStyle);
    EXPECT_EQ(p.width, 6);
    EXPECT_EQ(p.dashes[0], 6);
    EXPECT_EQ(p.dashes[1], 6);
    EXPECT_EQ(p.cap, gfx::PenCap::Flat);
    // Round dots every two widths.
    RecordingCanvas alt;
    f.SetStyle(fsAltDot);
    f.Draw(&alt, 0, 0, 20, 20, 1, 1);
    const gfx::Pen &a = alt.records()[0].state.pen;
    EXPECT_EQ(a.dashes[0], 0);
    EXPECT_EQ(a.dashes[1], 6);
    EXPECT_EQ(a.cap, gfx::PenCap::Round);
}

TEST(FrameDraw, AbsurdWidthIsClampedToTheRectangle)
{
    RecordingCanvas rec;
    TkvlFrame f;
    f.SetStyle(fsDash);
    f.SetWidth(1e12);
    f.SetDropShadow(true);
    f.SetShadowWidth(1e12);
    f.SetTyp(kvlFrameAll);
    f.Draw(&rec, 0, 0, 30, 20, 1, 1);
    // Each of the 4 sides and the 2 shadow bands at most 31 lines wide.
    EXPECT_LE(rec.records().size(), size_t(6 * 31));
    EXPECT_GT(rec.records().size(), 0u);
}

TEST(FrameDraw, PixelsOfAOnePixelSolidFrame)
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        gfx::PainterCanvas c(&img, 96, 96);
        TkvlFrame f;
        f.SetTyp(kvlFrameAll);
        f.Draw(&c, 2, 2, 12, 12, 1, 1);
    }
    const QRgb K = qRgb(0, 0, 0), W = qRgb(255, 255, 255);
    for (int i = 2; i <= 12; ++i) {
        EXPECT_EQ(img.pixel(i, 2), K) << i;
        EXPECT_EQ(img.pixel(i, 12), K) << i;
        EXPECT_EQ(img.pixel(2, i), K) << i;
        EXPECT_EQ(img.pixel(12, i), K) << i;
    }
    EXPECT_EQ(img.pixel(3, 3), W);
    EXPECT_EQ(img.pixel(11, 11), W);
    EXPECT_EQ(img.pixel(13, 13), W);
    EXPECT_EQ(img.pixel(1, 1), W);
}

TEST(FrameDraw, ThickLineCopiesAroundTheCentre)
{
    struct Case { int w; int lo, hi; };
    for (const Case c : {Case{0, 0, 0}, Case{1, 0, 0}, Case{2, -1, 0}, Case{3, -1, 1}, Case{4, -2, 1}}) {
        RecordingCanvas rec;
        rec.pen().color = kLine;
        kvlDrawThickLine(&rec, 0, 10, 50, 10, c.w);
        const auto segs = lines(rec, kLine);
        ASSERT_EQ(int(segs.size()), c.hi - c.lo + 1) << c.w;
        EXPECT_EQ(segs.front().first.y(), 10 + c.lo);
        EXPECT_EQ(segs.back().first.y(), 10 + c.hi);
    }
}
