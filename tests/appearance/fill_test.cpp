#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/appearance/fill.h"
#include "report/appearance/hyperlink.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using gfx::DrawRecord;
using gfx::RecordingCanvas;

namespace {

constexpr QRgb kMarker = 0xFF123456;   // what lies under the fill

// Draws the fill over (x, y)-(x1, y1) on a marker-coloured image.
QImage raster(TkvlCustomFill &fill, int w, int h, int x, int y, int x1, int y1)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kMarker);
    gfx::PainterCanvas c(&img, 96, 96);
    fill.Draw(&c, x, y, x1, y1, 1, 1);
    c.flush();
    return img;
}

QRgb rgbOf(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace

TEST(FillModel, KindsDefaultsAndAssign)
{
    for (TkvlFillType k : {ftBrush, ftGradient, ftGlass}) {
        std::unique_ptr<TkvlCustomFill> f(kvlCreateFill(k));
        EXPECT_EQ(kvlGetFillType(f.get()), k);
    }
    EXPECT_EQ(kvlGetFillType(nullptr), ftBrush);
    TkvlBrushFill b;
    EXPECT_EQ(b.FBackColor, 536870911);
    EXPECT_EQ(b.FStyle, bsSolid);
    TkvlGlassFill g;
    EXPECT_EQ(g.FColor, 8421504);
    const rtl::PropInfo *color = TkvlGlassFill::StaticClass()->findProp(u"Color");
    EXPECT_FALSE(color->isStored(&g));
    g.FColor = 16777215;   // every other colour is stored
    EXPECT_TRUE(color->isStored(&g));

    TkvlGradientFill a, c;
    a.FStartColor = 0x0000FF;
    a.FGradientStyle = gsElliptic;
    c.Assign(&a);
    EXPECT_EQ(c.FStartColor, 0x0000FF);
    EXPECT_EQ(c.FGradientStyle, gsElliptic);
    c.Assign(&b);   // another kind is ignored
    EXPECT_EQ(c.FStartColor, 0x0000FF);
    // White to black: the middle colour is 128 grey.
    TkvlGradientFill wb;
    EXPECT_EQ(wb.GetColor(), 0x808080);
}

TEST(HyperlinkModel, AssignCopiesAllAndSeparatorStoredOnlyWhenChanged)
{
    TkvlHyperlink a, b;
    const rtl::PropInfo *sep = TkvlHyperlink::StaticClass()->findProp(u"ValuesSeparator");
    EXPECT_FALSE(sep->isStored(&a));
    a.FKind = hkDetailPage;
    a.FDetailReport = QStringLiteral("d.kv3");
    a.FDetailPage = QStringLiteral("Page2");
    a.FExpression = QStringLiteral("[x]");
    a.FReportVariable = QStringLiteral("A;B");
    a.FTabCaption = QStringLiteral("T");
    a.FValue = QStringLiteral("1;2");
    a.FValuesSeparator = QStringLiteral(",");
    EXPECT_TRUE(sep->isStored(&a));
    b.Assign(&a);
    EXPECT_EQ(b.FKind, hkDetailPage);
    EXPECT_EQ(b.FDetailReport, a.FDetailReport);
    EXPECT_EQ(b.FDetailPage, a.FDetailPage);
    EXPECT_EQ(b.FExpression, a.FExpression);
    EXPECT_EQ(b.FReportVariable, a.FReportVariable);
    EXPECT_EQ(b.FTabCaption, a.FTabCaption);
    EXPECT_EQ(b.FValue, a.FValue);
    EXPECT_EQ(b.FValuesSeparator, a.FValuesSeparator);
}

TEST(BrushFill, BackgroundThenHatchLinesOnly)
{
    TkvlBrushFill f;
    // clNone with a solid brush paints nothing.
    RecordingCanvas none;
    f.Draw(&none, 0, 0, 10, 10, 1, 1);
    EXPECT_TRUE(none.records().empty());
    EXPECT_EQ(raster(f, 12, 12, 0, 0, 10, 10).pixel(5, 5), kMarker);

    f.FBackColor = 0x0000FF;
    f.FForeColor = 0xFF0000;
    f.FStyle = bsCross;
    const QImage img = raster(f, 20, 20, 2, 2, 18, 18);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 18 && y >= 2 && y < 18;
            const QRgb expect = !inside ? kMarker : gfx::hatchPixel(bsCross, x, y) ? qRgb(0, 0, 255) : qRgb(255, 0, 0);
            ASSERT_EQ(img.pixel(x, y), expect) << x << "," << y;
        }
    // The hatch is drawn with a clear pen over a transparent background.
    RecordingCanvas rec;
    f.Draw(&rec, 2, 2, 18, 18, 1, 1);
    ASSERT_EQ(rec.records().size(), 2u);
    const DrawRecord &h = rec.records()[1];
    EXPECT_EQ(h.kind, DrawRecord::Rectangle);
    EXPECT_EQ(h.rect, QRect(QPoint(2, 2), QPoint(18, 18)));
    EXPECT_EQ(h.state.pen.style, psClear);
    EXPECT_EQ(h.state.bkMode, gfx::BkMode::Transparent);
    EXPECT_EQ(rec.brush().style, bsSolid);   // the style before the hatch is restored
}

TEST(GradientFill, HorizontalStripes)
{
    TkvlGradientFill f;   // white to black
    RecordingCanvas rec;
    f.Draw(&rec, 0, 0, 512, 3, 1, 1);
    ASSERT_EQ(rec.records().size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const DrawRecord &r = rec.records()[size_t(i)];
        EXPECT_EQ(r.rect, QRect(2 * i, 0, 2, 3));
        EXPECT_EQ(r.state.brush.color, 0x010101 * (255 - i));
    }
    const QImage img = raster(f, 512, 3, 0, 0, 512, 3);
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(511, 2), qRgb(0, 0, 0));
}

TEST(GradientFill, CentreStylesPutTheEndColourInTheMiddle)
{
    TkvlGradientFill f;
    f.FStartColor = 0x0000FF;   // red
    f.FEndColor = 0xFF0000;     // blue
    f.FGradientStyle = gsVertCenter;
    const QImage v = raster(f, 3, 6, 0, 0, 3, 4);
    EXPECT_EQ(v.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(v.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(v.pixel(1, 2), qRgb(0, 0, 255));
    EXPECT_EQ(v.pixel(1, 3), qRgb(255, 0, 0));
    EXPECT_EQ(v.pixel(1, 4), kMarker);
    f.FGradientStyle = gsHorizCenter;
    const QImage h = raster(f, 8, 2, 0, 0, 5, 2);
    EXPECT_EQ(h.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(h.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(h.pixel(4, 1), qRgb(255, 0, 0));
    EXPECT_EQ(h.pixel(5, 1), kMarker);
}

TEST(GradientFill, EveryStyleStaysInsideItsAreaAtTinySizes)
{
    struct Size { int w, h; };
    const Size sizes[] = {{0, 0}, {1, 1}, {1, 6}, {6, 1}, {0, 5}, {5, 0}, {7, 6}};
    for (int style = gsHorizontal; style <= gsHorizCenter; ++style)
        for (const Size s : sizes) {
            TkvlGradientFill f;
            f.FStartColor = 0x0000FF;
            f.FEndColor = 0x00FF00;
            f.FGradientStyle = TkvlGradientStyle(style);
            const QImage img = raster(f, 12, 12, 3, 3, 3 + s.w, 3 + s.h);
            int painted = 0;
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x) {
                    const bool inside = x >= 3 && x < 3 + s.w && y >= 3 && y < 3 + s.h;
                    if (img.pixel(x, y) != kMarker) {
                        ++painted;
                        EXPECT_TRUE(inside) << "style " << style << " size " << s.w << "x" << s.h << " at " << x << "," << y;
                    }
                }
            if (s.w == 0 || s.h == 0) {
                EXPECT_EQ(painted, 0) << "style " << style;
            }
            // A centre gradient one pixel across is the start colour.
            if ((style == gsVertCenter && s.h == 1 && s.w > 0) || (style == gsHorizCenter && s.w == 1 && s.h > 0)) {
                EXPECT_EQ(img.pixel(3, 3), qRgb(255, 0, 0)) << "style " << style;
                EXPECT_EQ(painted, s.w * s.h) << "style " << style;
            }
        }
}

TEST(GradientFill, EllipticAndRectangleGoFromTheEdgeToTheCentre)
{
    for (TkvlGradientStyle st : {gsElliptic, gsRectangle}) {
        TkvlGradientFill f;   // white outside, black centre
        f.FGradientStyle = st;
        const QImage img = raster(f, 100, 60, 0, 0, 100, 60);
        EXPECT_LT(qGray(img.pixel(50, 30)), 30) << st;
        EXPECT_GT(qGray(img.pixel(2, 30)), qGray(img.pixel(30, 30))) << st;
    }
}

TEST(GlassFill, LightHalfOverTheBaseColour)
{
    struct Case { TkvlGlassFillOrientation o; QPoint light, base; };
    const Case cases[] = {{foHorizontal, {5, 4}, {5, 5}}, {foHorizontalMirror, {5, 5}, {5, 4}},
                          {foVertical, {4, 5}, {5, 5}}, {foVerticalMirror, {5, 5}, {4, 5}}};
    for (const Case &c : cases) {
        TkvlGlassFill g;   // grey 128, blend 0.5: 128 + rnd(63.5) = 192
        g.FOrientation = c.o;
        const QImage img = raster(g, 12, 12, 0, 0, 10, 10);
        EXPECT_EQ(img.pixel(c.light), qRgb(192, 192, 192)) << c.o;
        EXPECT_EQ(img.pixel(c.base), qRgb(128, 128, 128)) << c.o;
        EXPECT_EQ(img.pixel(10, 10), kMarker);
    }
    TkvlGlassFill flat;
    flat.FBlend = 0;
    const QImage img = raster(flat, 12, 12, 0, 0, 10, 10);
    EXPECT_EQ(img.pixel(1, 1), qRgb(128, 128, 128));
    EXPECT_EQ(img.pixel(8, 8), qRgb(128, 128, 128));

    TkvlGlassFill none;
    none.FColor = gfx::kColorNone;
    RecordingCanvas rec;
    none.Draw(&rec, 0, 0, 10, 10, 1, 1);
    EXPECT_TRUE(rec.records().empty());
}

TEST(GlassFill, HatchDarkensEachChannelWithoutBorrowing)
{
    struct Case { TColor color; TColor hatch; };
    // 0x000003: red 3 clamps to 0 rather than borrowing from green and blue.
    const Case cases[] = {{0x000003, 0x000000}, {0x808080, 0xBABABA}, {0x0A0B0C, 0x04050600 >> 8}};
    for (const Case &c : cases) {
        TkvlGlassFill g;
        g.FColor = c.color;
        g.FBlend = c.color == 0x808080 ? 0.5 : 0;
        g.FHatch = true;
        RecordingCanvas rec;
        g.Draw(&rec, 0, 0, 10, 10, 1, 1);
        ASSERT_EQ(rec.records().size(), 3u);
        const DrawRecord &h = rec.records()[2];
        EXPECT_EQ(h.state.brush.style, bsBDiagonal);
        EXPECT_EQ(h.state.brush.color, c.hatch) << std::hex << c.color;
        EXPECT_EQ(h.state.pen.style, psClear);
    }
    TkvlGlassFill g;
    g.FHatch = true;
    const QImage img = raster(g, 12, 12, 0, 0, 10, 10);
    EXPECT_EQ(img.pixel(7, 0), rgbOf(0xBABABA));   // a hatch pixel in the light half
}
