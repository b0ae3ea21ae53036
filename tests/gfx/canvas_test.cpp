#include "platform/gfx/fontservice.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/recordingcanvas.h"

#include <QImage>
#include <gtest/gtest.h>

using gfx::PainterCanvas;
using gfx::RecordingCanvas;

namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000, kBlack = 0;

// A white image with a canvas on it; pixels read back as 'W', 'R', 'B', 'K' or '?'.
struct Surface {
    QImage img;
    std::unique_ptr<PainterCanvas> canvas;
    explicit Surface(int w = 16, int h = 16) : img(w, h, QImage::Format_RGB32)
    {
        img.fill(Qt::white);
        canvas = std::make_unique<PainterCanvas>(&img, 96, 96);
    }
    char at(int x, int y)
    {
        canvas->flush();
        const QRgb p = img.pixel(x, y);
        if (p == qRgb(255, 255, 255)) return 'W';
        if (p == qRgb(255, 0, 0)) return 'R';
        if (p == qRgb(0, 0, 255)) return 'B';
        if (p == qRgb(0, 0, 0)) return 'K';
        return '?';
    }
    std::string row(int y, int x0, int x1)
    {
        std::string s;
        for (int x = x0; x <= x1; ++x)
            s += at(x, y);
        return s;
    }
    std::string col(int x, int y0, int y1)
    {
        std::string s;
        for (int y = y0; y <= y1; ++y)
            s += at(x, y);
        return s;
    }
    int count(char c)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += at(x, y) == c;
        return n;
    }
};

void solidPen(TCanvas *c, TColor color, int width = 1)
{
    gfx::Pen p;
    p.color = color;
    p.width = width;
    c->setPen(p);
}

} // namespace

TEST(PainterCanvas, RectanglesLeaveOutTheRightAndBottomEdges)
{
    Surface s;
    s.canvas->brush() = {kRed, bsSolid};
    s.canvas->fillRect(QRect(QPoint(2, 2), QPoint(4, 4)));   // 2..4
    EXPECT_EQ(s.row(3, 1, 5), "WRRRW");

    Surface t;
    t.canvas->brush() = {kRed, bsSolid};
    t.canvas->pen().style = psClear;
    t.canvas->rectangle(2, 2, 6, 6);   // no pen: 2..4
    EXPECT_EQ(t.row(3, 1, 6), "WRRRWW");
    EXPECT_EQ(t.col(3, 1, 6), "WRRRWW");

    Surface u;
    u.canvas->brush() = {kRed, bsSolid};
    solidPen(u.canvas.get(), kBlue);
    u.canvas->rectangle(2, 2, 6, 6);   // outline on 2 and 5
    EXPECT_EQ(u.row(3, 1, 6), "WBRRBW");
    EXPECT_EQ(u.row(2, 1, 6), "WBBBBW");
    EXPECT_EQ(u.row(5, 1, 6), "WBBBBW");
}

TEST(PainterCanvas, LineToLeavesOutItsEndPoint)
{
    struct Case { QPoint a, b; int lit; };
    const Case cases[] = {{{1, 1}, {9, 1}, 8}, {{9, 3}, {1, 3}, 8}, {{2, 2}, {2, 12}, 10}, {{0, 0}, {7, 7}, 7},
                          {{3, 3}, {3, 3}, 0}, {{0, 10}, {12, 4}, 12}};
    for (const Case &c : cases) {
        Surface s;
        solidPen(s.canvas.get(), kBlack);
        s.canvas->moveTo(c.a.x(), c.a.y());
        s.canvas->lineTo(c.b.x(), c.b.y());
        EXPECT_EQ(s.count('K'), c.lit) << c.a.x() << "," << c.a.y() << " " << c.b.x() << "," << c.b.y();
        if (c.lit) {
            EXPECT_EQ(s.at(c.a.x(), c.a.y()), 'K');
            EXPECT_EQ(s.at(c.b.x(), c.b.y()), 'W');
        }
        EXPECT_EQ(s.canvas->penPos(), c.b);
    }
}

TEST(PainterCanvas, StyledAndUserDashedPens)
{
    Surface s(40, 4);
    gfx::Pen p;
    p.style = psUserStyle;
    p.dashCount = 2;
    p.dashes = {2, 3};   // pixels, not pen widths
    s.canvas->setPen(p);
    s.canvas->setBkMode(gfx::BkMode::Transparent);
    s.canvas->moveTo(0, 1);
    s.canvas->lineTo(12, 1);
    EXPECT_EQ(s.row(1, 0, 12), "KKWWWKKWWWKKW");

    // Opaque background paints the gaps in the background colour.
    Surface o(40, 4);
    gfx::Pen d;
    d.style = psDot;
    o.canvas->setPen(d);
    o.canvas->setBkColor(kRed);
    o.canvas->moveTo(0, 1);
    o.canvas->lineTo(12, 1);
    EXPECT_EQ(o.row(1, 0, 12), "KKKRRRKKKRRRW");

    // A geometric pen of width 3 with square caps reaches half its width past both ends.
    Surface g(20, 10);
    gfx::Pen w;
    w.width = 3;
    w.geometric = true;
    w.cap = gfx::PenCap::Square;
    g.canvas->setPen(w);
    g.canvas->moveTo(5, 5);
    g.canvas->lineTo(10, 5);
    EXPECT_EQ(g.row(5, 2, 12), "WWKKKKKKKKW");
    EXPECT_EQ(g.col(7, 2, 8), "WWKKKWW");
    // Flat caps stop at the ends: the same band without the half width past them.
    w.cap = gfx::PenCap::Flat;
    Surface f(20, 10);
    f.canvas->setPen(w);
    f.canvas->moveTo(5, 5);
    f.canvas->lineTo(10, 5);
    EXPECT_EQ(f.row(5, 3, 11), "WWKKKKKKW");
}

TEST(PainterCanvas, HatchBrushFollowsTheBackgroundMode)
{
    Surface s;
    s.canvas->brush() = {kBlue, bsHorizontal};
    s.canvas->setBkMode(gfx::BkMode::Transparent);
    s.canvas->fillRect(QRect(0, 0, 16, 16));
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(s.at(3, y), gfx::hatchPixel(bsHorizontal, 3, y) ? 'B' : 'W');

    Surface o;
    o.canvas->brush() = {kBlue, bsDiagCross};
    o.canvas->setBkMode(gfx::BkMode::Opaque);
    o.canvas->setBkColor(kRed);
    o.canvas->fillRect(QRect(0, 0, 16, 16));
    EXPECT_EQ(o.count('W'), 0);
    EXPECT_EQ(o.at(0, 0), 'B');
    EXPECT_EQ(o.at(1, 0), 'R');
}

TEST(PainterCanvas, ClipSaveRestoreAndExclusion)
{
    Surface s;
    s.canvas->brush() = {kRed, bsSolid};
    s.canvas->saveClip();
    s.canvas->intersectClipRect(QRect(QPoint(4, 4), QPoint(7, 7)));
    s.canvas->excludeClipRect(QRect(QPoint(5, 5), QPoint(5, 5)));
    EXPECT_TRUE(s.canvas->rectVisible(QRect(6, 6, 3, 3)));
    EXPECT_FALSE(s.canvas->rectVisible(QRect(10, 10, 3, 3)));
    s.canvas->fillRect(QRect(0, 0, 16, 16));
    s.canvas->restoreClip();
    EXPECT_EQ(s.count('R'), 15);
    EXPECT_EQ(s.at(5, 5), 'W');
    s.canvas->fillRect(QRect(0, 0, 1, 1));
    EXPECT_EQ(s.at(0, 0), 'R');
}

TEST(PainterCanvas, TextSitsBelowItsReferencePointAndHonoursClipping)
{
    Surface s(200, 60);
    gfx::FontDesc f;
    f.height = -30;
    f.color = kBlack;
    s.canvas->setFont(f);
    s.canvas->setBkMode(gfx::BkMode::Transparent);
    s.canvas->textOut(10, 10, u"HH");
    const gfx::TextMetrics &m = s.canvas->textMetrics();
    const int w = s.canvas->textWidth(u"HH");
    // Ink of 'H' lies between the top of the cell and the baseline, inside the advance.
    int inkTop = 1000, inkBottom = -1, inkLeft = 1000, inkRight = -1;
    s.canvas->flush();
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            if (qGray(s.img.pixel(x, y)) < 128) {
                inkTop = std::min(inkTop, y); inkBottom = std::max(inkBottom, y);
                inkLeft = std::min(inkLeft, x); inkRight = std::max(inkRight, x);
            }
    EXPECT_GE(inkTop, 10);
    EXPECT_LE(inkBottom, 10 + m.ascent);
    EXPECT_GE(inkBottom, 10 + m.ascent - 2);
    EXPECT_GE(inkLeft, 10);
    EXPECT_LT(inkRight, 10 + w);

    // Clipped to a rectangle, with an opaque fill of it.
    Surface c(200, 60);
    c.canvas->setFont(f);
    c.canvas->setBkMode(gfx::BkMode::Transparent);
    c.canvas->setBkColor(kRed);
    const QRect clip(10, 10, 8, 40);
    c.canvas->extTextOut(10, 10, gfx::TextClipped | gfx::TextOpaque, &clip, u"HHHH", nullptr);
    c.canvas->flush();
    for (int y = 0; y < 60; ++y)
        for (int x = 18; x < 200; ++x)
            ASSERT_EQ(c.img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    EXPECT_EQ(c.at(10, 49), 'R');
}

TEST(PainterCanvas, ExplicitAdvancesPlaceEachCharacter)
{
    // Two dots placed 50 pixels apart by the advances given.
    Surface s(200, 40);
    gfx::FontDesc f;
    f.height = -20;
    s.canvas->setFont(f);
    s.canvas->setBkMode(gfx::BkMode::Transparent);
    const int dx[2] = {50, 5};
    s.canvas->extTextOut(10, 5, 0, nullptr, u"..", dx);
    s.canvas->flush();
    std::vector<int> inkCols;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 40; ++y)
            if (qGray(s.img.pixel(x, y)) < 128) {
                inkCols.push_back(x);
                break;
            }
    ASSERT_FALSE(inkCols.empty());
    EXPECT_LT(inkCols.front(), 20);
    EXPECT_GE(inkCols.back(), 60);
    EXPECT_LT(inkCols.back(), 70);
}

TEST(RecordingCanvas, ReplayDrawsTheSamePixelsMoved)
{
    RecordingCanvas rec;
    rec.brush() = {kRed, bsSolid};
    solidPen(&rec, kBlue, 3);
    rec.rectangle(2, 2, 12, 10);
    solidPen(&rec, kBlack);
    rec.moveTo(1, 14);
    rec.lineTo(14, 14);
    rec.saveClip();
    rec.intersectClipRect(QRect(0, 0, 5, 5));
    rec.brush() = {kBlue, bsCross};
    rec.fillRect(QRect(0, 0, 16, 16));
    rec.restoreClip();
    gfx::FontDesc f;
    f.height = -12;
    rec.setFont(f);
    rec.textOut(3, 3, u"x");

    Surface direct(40, 40), replayed(40, 40);
    direct.canvas->setBkMode(rec.bkMode());
    auto draw = [&](TCanvas *c, int o) {
        c->brush() = {kRed, bsSolid};
        solidPen(c, kBlue, 3);
        c->rectangle(2 + o, 2 + o, 12 + o, 10 + o);
        solidPen(c, kBlack);
        c->moveTo(1 + o, 14 + o);
        c->lineTo(14 + o, 14 + o);
        c->saveClip();
        c->intersectClipRect(QRect(o, o, 5, 5));
        c->brush() = {kBlue, bsCross};
        c->fillRect(QRect(o, o, 16, 16));
        c->restoreClip();
        gfx::FontDesc g;
        g.height = -12;
        c->setFont(g);
        c->textOut(3 + o, 3 + o, u"x");
    };
    draw(direct.canvas.get(), 7);
    rec.replay(replayed.canvas.get(), QPoint(7, 7));
    direct.canvas->flush();
    replayed.canvas->flush();
    EXPECT_EQ(direct.img, replayed.img);
    // The target keeps its own state.
    EXPECT_EQ(replayed.canvas->brush().color, gfx::Brush().color);
}

TEST(RecordingCanvas, ListsTextRecordsWithBounds)
{
    RecordingCanvas rec;
    gfx::FontDesc f;
    f.height = -20;
    rec.setFont(f);
    rec.fillRect(QRect(0, 0, 5, 5));
    rec.textOut(10, 20, u"Hello");
    const int dx[3] = {4, 4, 4};
    rec.extTextOut(0, 0, 0, nullptr, u"abc", dx);
    f.orientation = 900;
    rec.setFont(f);
    rec.textOut(100, 100, u"Up");

    const auto texts = rec.textRecords();
    ASSERT_EQ(texts.size(), 3u);
    const int h = gfx::FontService::instance().font(f)->metrics().height;
    EXPECT_EQ(texts[0].index, 1);
    EXPECT_EQ(texts[0].text, QStringLiteral("Hello"));
    EXPECT_EQ(texts[0].bounds, QRect(10, 20, rec.textWidth(u"Hello"), h));
    EXPECT_EQ(texts[1].bounds, QRect(0, 0, 12, h));
    // Rotated a quarter turn counter-clockwise: the text runs upward from its point.
    const int w = rec.textWidth(u"Up");
    EXPECT_EQ(texts[2].bounds, QRect(100, 100 - w, h, w));
}

TEST(Bitmap, CanvasDrawsIntoTheImageAndTransparentColourIsSkipped)
{
    TBitmap bmp;
    bmp.setSize(4, 4);
    bmp.canvas()->brush() = {kRed, bsSolid};
    bmp.canvas()->fillRect(QRect(1, 1, 2, 2));
    EXPECT_EQ(bmp.image().pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(bmp.image().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(bmp.transparentColor(), 0xFFFFFF);   // lower-left pixel

    Surface s(8, 8);
    s.canvas->brush() = {kBlue, bsSolid};
    s.canvas->fillRect(QRect(0, 0, 8, 8));
    bmp.setTransparent(true);
    bmp.draw(s.canvas.get(), QRect(0, 0, 8, 8));   // stretched twice
    EXPECT_EQ(s.at(0, 0), 'B');
    EXPECT_EQ(s.at(2, 2), 'R');
    EXPECT_EQ(s.at(5, 5), 'R');
    EXPECT_EQ(s.at(7, 7), 'B');
}

TEST(PainterCanvas, AHandedInPainterKeepsItsOwnClipAndOrigin)
{
    QImage img(20, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.translate(2, 2);
        p.setClipRect(QRect(0, 0, 5, 5));   // device 2..6
        PainterCanvas c(&p, 96, 96);
        c.brush() = {kRed, bsSolid};
        c.intersectClipRect(QRect(0, 0, 10, 10));
        c.fillRect(QRect(0, 0, 20, 20));
        c.resetClip();
        c.fillRect(QRect(0, 0, 20, 20));
        EXPECT_FALSE(c.rectVisible(QRect(8, 8, 2, 2)));
    }
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(6, 6), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(7, 7), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(PainterCanvas, RotatedTextInkStaysInsideItsRecordedBounds)
{
    for (int orientation : {900, 2700, 450, 1800}) {
        RecordingCanvas rec;
        gfx::FontDesc f;
        f.height = -24;
        f.orientation = orientation;
        rec.setFont(f);
        rec.setBkMode(gfx::BkMode::Transparent);
        rec.textOut(100, 100, u"HgW");
        const QRect bounds = rec.textRecords().front().bounds.adjusted(-1, -1, 1, 1);
        Surface s(200, 200);
        rec.replay(s.canvas.get());
        s.canvas->flush();
        int ink = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                if (qGray(s.img.pixel(x, y)) < 160) {
                    ++ink;
                    ASSERT_TRUE(bounds.contains(x, y)) << orientation << ": " << x << "," << y;
                }
        EXPECT_GT(ink, 20) << orientation;
    }
}

TEST(PainterCanvas, ShapesStayInsideTheirBoxWithoutItsRightAndBottomEdges)
{
    enum Shape { Ellipse, RoundRect, Polygon };
    for (Shape shape : {Ellipse, RoundRect, Polygon})
        for (bool pen : {true, false}) {
            Surface s(30, 30);
            s.canvas->brush() = {kRed, bsSolid};
            if (pen)
                solidPen(s.canvas.get(), kBlue);
            else
                s.canvas->pen().style = psClear;
            const QPoint tri[3] = {{5, 5}, {24, 5}, {5, 24}};
            switch (shape) {
            case Ellipse: s.canvas->ellipse(5, 5, 25, 25); break;
            case RoundRect: s.canvas->roundRect(5, 5, 25, 25, 8, 8); break;
            case Polygon: s.canvas->polygon(tri, 3); break;
            }
            int minX = 99, minY = 99, maxX = -1, maxY = -1;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 30; ++x)
                    if (s.at(x, y) != 'W') {
                        minX = std::min(minX, x); maxX = std::max(maxX, x);
                        minY = std::min(minY, y); maxY = std::max(maxY, y);
                    }
            EXPECT_GE(minX, 5) << shape << pen;
            EXPECT_GE(minY, 5) << shape << pen;
            EXPECT_LE(maxX, 24) << shape << pen;
            EXPECT_LE(maxY, 24) << shape << pen;
            EXPECT_EQ(s.at(12, 12), 'R') << shape << pen;
            if (pen && shape != Polygon) {
                EXPECT_EQ(minX, 5) << shape;
                EXPECT_EQ(maxX, 24) << shape;
                EXPECT_EQ(s.at(15, 5), 'B') << shape;
            }
        }
}

// Inked extents on a one-pixel-per-unit image: an ellipse stays inside the box its
// rectangle covers with the same pen, and a wide line is symmetric about its path, the
// pen's cap at both ends.
TEST(PainterCanvas, WidePensAreSymmetricAboutThePath)
{
    enum Shape { Ellipse, Rectangle, Line };
    struct Case
    {
        Shape shape;
        QRect coords; // the box, or the line from top-left to bottom-right
        int width;
        gfx::PenCap cap;
        QRect inked;  // first and last inked pixel in each direction
    } cases[] = {
        {Ellipse, QRect(QPoint(10, 10), QPoint(30, 20)), 1, gfx::PenCap::Round, QRect(QPoint(10, 10), QPoint(29, 19))},
        {Rectangle, QRect(QPoint(10, 10), QPoint(30, 20)), 3, gfx::PenCap::Round, QRect(QPoint(9, 9), QPoint(30, 20))},
        {Ellipse, QRect(QPoint(10, 10), QPoint(30, 20)), 3, gfx::PenCap::Round, QRect(QPoint(9, 9), QPoint(30, 20))},
        {Rectangle, QRect(QPoint(10, 10), QPoint(30, 20)), 2, gfx::PenCap::Round, QRect(QPoint(9, 9), QPoint(29, 19))},
        {Ellipse, QRect(QPoint(10, 10), QPoint(30, 20)), 2, gfx::PenCap::Round, QRect(QPoint(9, 9), QPoint(29, 19))},
        {Line, QRect(QPoint(10, 10), QPoint(10, 20)), 3, gfx::PenCap::Round, QRect(QPoint(9, 9), QPoint(11, 21))},
        {Line, QRect(QPoint(10, 10), QPoint(20, 10)), 3, gfx::PenCap::Round, QRect(QPoint(9, 9), QPoint(21, 11))},
        {Line, QRect(QPoint(10, 10), QPoint(10, 20)), 3, gfx::PenCap::Square, QRect(QPoint(9, 9), QPoint(11, 21))},
        {Line, QRect(QPoint(10, 10), QPoint(20, 10)), 3, gfx::PenCap::Flat, QRect(QPoint(10, 9), QPoint(20, 11))},
        {Line, QRect(QPoint(10, 10), QPoint(10, 20)), 5, gfx::PenCap::Round, QRect(QPoint(8, 8), QPoint(12, 22))},
    };
    for (const Case &c : cases) {
        Surface s(40, 40);
        gfx::Pen pen;
        pen.color = kBlack;
        pen.width = c.width;
        pen.cap = c.cap;
        pen.geometric = c.width > 1;
        s.canvas->setPen(pen);
        s.canvas->brush().style = bsClear;
        const QRect &k = c.coords;
        switch (c.shape) {
        case Ellipse: s.canvas->ellipse(k.left(), k.top(), k.right(), k.bottom()); break;
        case Rectangle: s.canvas->rectangle(k.left(), k.top(), k.right(), k.bottom()); break;
        case Line:
            s.canvas->moveTo(k.left(), k.top());
            s.canvas->lineTo(k.right(), k.bottom());
            break;
        }
        int minX = 99, minY = 99, maxX = -1, maxY = -1;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (s.at(x, y) == 'K') {
                    minX = std::min(minX, x); maxX = std::max(maxX, x);
                    minY = std::min(minY, y); maxY = std::max(maxY, y);
                }
        EXPECT_EQ(QRect(QPoint(minX, minY), QPoint(maxX, maxY)), c.inked)
            << "shape " << c.shape << " width " << c.width << " cap " << int(c.cap) << ": " << minX << ".." << maxX << " x "
            << minY << ".." << maxY;
    }
}
