// The workspace's drawing as pixels and recorded calls: grids, handles, columns, corner marks; and
// painting leaves the report as it was.
#include "tests/designerworkspace/wsfixture.h"
#include "tests/testsupport.h"

#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/stream.h"
#include "report/appearance/frame.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace {

using wstest::Workspace;
using gfx::DrawRecord;

std::vector<const DrawRecord *> lines(const gfx::RecordingCanvas &c, gfx::RasterOp rop)
{
    std::vector<const DrawRecord *> out;
    for (const DrawRecord &r : c.records())
        if (r.kind == DrawRecord::Line && r.state.rop == rop)
            out.push_back(&r);
    return out;
}

TEST(WorkspaceDrawing, CentimetreGridLinesEveryFiveMillimetresEveryCentimetreDarker)
{
    Workspace w;
    QImage img(200, 100, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        gfx::PainterCanvas c(&img, 96, 96);
        w.ws.DrawBackground(&c, 200, 100);
    }
    const QRgb dark = qRgb(0xE8, 0xE8, 0xE8), light = qRgb(0xF8, 0xF8, 0xF8), white = qRgb(0xFF, 0xFF, 0xFF);
    // 5 mm = 18.8977 pixels at scale 1; lines at Round(k * 3.77953) for k = 0, 5, 10, ...
    const std::vector<std::pair<int, QRgb>> expected = {
        {0, dark}, {19, light}, {38, dark}, {57, light}, {76, dark}, {94, light},
        {113, dark}, {132, light}, {151, dark}, {170, light}, {189, dark}};
    std::vector<std::pair<int, QRgb>> vertical;
    for (int x = 0; x < 200; ++x)
        if (img.pixel(x, 50) != white)  // row 50 holds no horizontal line
            vertical.push_back({x, img.pixel(x, 50)});
    EXPECT_EQ(vertical, expected);
    // Where two lines cross, the one of the later step is on top.
    EXPECT_EQ(img.pixel(57, 38), light);  // vertical of step 15 over horizontal of step 10
    EXPECT_EQ(img.pixel(38, 57), light);  // horizontal of step 15 over vertical of step 10
    EXPECT_EQ(img.pixel(19, 38), dark);
    EXPECT_EQ(img.pixel(99, 99), white);
}

TEST(WorkspaceDrawing, DotGridOnlyWhenItsScaledStepExceedsTwoPixels)
{
    const struct {
        double scale, step;
        size_t rows;  // one row picture per grid row below the height
    } cases[] = {{0.5, 4, 0}, {1, 4, 25}, {0.5, 8, 25}, {1, 0, 0}};
    for (const auto &c : cases) {
        Workspace w;
        w.ws.SetGridType(gt1pt);
        w.ws.FGridX = w.ws.FGridY = c.step;
        w.ws.SetScale(c.scale);
        gfx::RecordingCanvas canvas;
        w.ws.DrawBackground(&canvas, 100, 100);
        size_t rows = 0;
        for (const DrawRecord &r : canvas.records())
            rows += r.kind == DrawRecord::Image;
        EXPECT_EQ(rows, c.rows) << c.scale << " " << c.step;
    }
}

TEST(WorkspaceDrawing, HandlesAreInvertedSquaresOfThreeFiveOrSevenPixels)
{
    const struct {
        double scale;
        int size;
    } cases[] = {{0.5, 3}, {1, 5}, {2, 7}};
    for (const auto &c : cases) {
        Workspace w;
        auto *m = w.memo(w.page, "Memo1", 100, 100, 60, 20);
        auto *n = w.memo(w.page, "Memo2", 300, 200, 60, 20);
        w.load();
        w.ws.SetScale(c.scale);
        w.select({m});
        gfx::RecordingCanvas one;
        w.ws.DrawSqares(&one);
        const auto xored = lines(one, gfx::RasterOp::Xor);
        ASSERT_EQ(xored.size(), size_t(8 * c.size)) << c.scale;  // corners and edge middles
        for (const DrawRecord *r : xored) {
            EXPECT_EQ(r->points[1].x() - r->points[0].x(), c.size);
            EXPECT_EQ(r->state.pen.color, clWhite);
        }
        // The first handle is centred on the scaled top-left corner.
        const int cx = int(std::nearbyint(100 * c.scale)), half = c.size / 2;
        EXPECT_EQ(xored.front()->points[0], QPoint(cx - half, cx - half));

        w.select({m, n});
        gfx::RecordingCanvas two;
        w.ws.DrawSqares(&two);
        const auto both = lines(two, gfx::RasterOp::Xor);
        ASSERT_EQ(both.size(), size_t(8 * c.size));  // four corners each
        int grip = 0;
        for (const DrawRecord *r : both)
            grip += r->state.pen.color == 0x808000;
        EXPECT_EQ(grip, c.size);  // the bottom-right handle of the right-bottom object
    }
}

TEST(WorkspaceDrawing, ColumnsOfADataBandAreDottedRectangles)
{
    Workspace w;
    auto *band = w.band<TkvlMasterData>("MasterData1", 100, 40);
    band->Columns = 2;
    band->ColumnWidth = 100;
    band->ColumnGap = 20;
    w.load();
    gfx::RecordingCanvas c;
    w.ws.DrawObject(&c, band);
    std::vector<QRect> dotted;
    for (const DrawRecord &r : c.records())
        if (r.kind == DrawRecord::Rectangle && r.state.pen.style == psDot)
            dotted.push_back(r.rect);
    ASSERT_EQ(dotted.size(), 2u);
    EXPECT_EQ(dotted[0].left(), 0);
    EXPECT_EQ(dotted[1].left(), 120);
    EXPECT_EQ(dotted[1].top(), 100);
}

TEST(WorkspaceDrawing, CornerMarksOnlyWithoutAFullFrame)
{
    const struct {
        TkvlFrameTyp frame;
        bool edges;
        int marks;
    } cases[] = {{0, true, 8}, {kvlFrameBit(ftLeft), true, 8}, {kvlFrameAll, true, 0}, {0, false, 0}};
    for (const auto &c : cases) {
        Workspace w;
        auto *m = w.memo(w.page, "Memo1", 100, 100, 60, 20);
        m->Frame()->SetTyp(c.frame);
        w.ws.FShowEdges = c.edges;
        gfx::RecordingCanvas with, without;
        w.ws.DrawObject(&with, m);
        m->Draw(&without, 1, 1, 0, 0);
        EXPECT_EQ(int(lines(with, gfx::RasterOp::Copy).size() - lines(without, gfx::RasterOp::Copy).size()),
                  c.marks)
            << c.frame << c.edges;
    }
}

// Painting reads the report: the template saves to the same bytes before and after.
TEST(WorkspaceDrawing, PaintingLeavesTheTemplateUnchanged)
{
    Workspace w;
    ASSERT_TRUE(w.report->LoadFromFile(QString::fromUtf8(LIRRA_SOURCE_ROOT "/data/LirraCal_Report/Elenco eventi.kv3")));
    auto *page = rtl_cast<TkvlReportPage>(w.report->FindObject(u"Page1"));
    ASSERT_NE(page, nullptr);
    w.ws.SetPage(page);
    w.lists.Load(page);
    w.ws.SetPageDimensions(794, 1123, TkvlMargins{38, 38, 38, 38});
    w.ws.PrepareDraw();
    auto bytes = [&] {
        TMemoryStream s;
        w.report->SaveToStream(s);
        return s.Bytes();
    };
    const QByteArray before = bytes();
    w.select({page->FindObject(u"MTitolo"), page->FindObject(u"MemoTitolo")});
    for (double scale : {1.0, 2.0}) {
        w.ws.SetScale(scale);
        gfx::RecordingCanvas c;
        w.ws.Paint(&c, 800, 600);
        EXPECT_GT(c.records().size(), 50u);
    }
    EXPECT_EQ(bytes(), before);
}

} // namespace
