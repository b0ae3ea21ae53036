// Shapes, lines and check boxes through the recorder.
#include "report/data/kvldataset.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "tests/views/viewfixture.h"

#include <gtest/gtest.h>

using gfx::DrawRecord;
using gfx::RecordingCanvas;

namespace {

class ShapesTest : public ::testing::Test {
protected:
    void SetUp() override { registerViewClassesOnce(); }
    template <class V> V *make(double l, double t, double w, double h)
    {
        auto *v = new V(&report);
        v->SetBounds(l, t, w, h);
        return v;
    }
    ViewReport report;
};

std::vector<QPoint> pts(std::initializer_list<QPoint> l) { return l; }

} // namespace

TEST_F(ShapesTest, EachShapeDrawsItsFigureInTheDeviceRectangle)
{
    struct Case {
        TkvlShapeKind shape;
        DrawRecord::Kind kind;
        QRect rect;
        std::vector<QPoint> points;
    } cases[] = {
        {skRectangle, DrawRecord::Rectangle, QRect(QPoint(10, 20), QPoint(110, 60)), {}},
        {skRoundRectangle, DrawRecord::RoundRect, QRect(QPoint(10, 20), QPoint(110, 60)), {}},
        {skEllipse, DrawRecord::Ellipse, QRect(QPoint(10, 20), QPoint(110, 60)), {}},
        {skTriangle, DrawRecord::Polygon, {}, pts({{110, 60}, {10, 60}, {60, 20}, {110, 60}})},
        {skDiamond, DrawRecord::Polygon, {}, pts({{60, 20}, {110, 40}, {60, 60}, {10, 40}})},
        {skDiagonal1, DrawRecord::Line, {}, pts({{10, 60}, {110, 20}})},
        {skDiagonal2, DrawRecord::Line, {}, pts({{10, 20}, {110, 60}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.shape));
        auto *v = make<TkvlShapeView>(10, 20, 100, 40);
        v->Shape = c.shape;
        v->Frame()->SetColor(0x0000FF);
        v->SetColor(0x00FF00);
        RecordingCanvas rec;
        v->Draw(&rec, 1, 1, 0, 0);
        const auto recs = recordsOf(rec, c.kind);
        ASSERT_EQ(recs.size(), 1u);
        if (!c.rect.isNull()) {
            EXPECT_EQ(recs[0].rect, c.rect);
        }
        if (!c.points.empty()) {
            EXPECT_EQ(recs[0].points, c.points);
        }
        EXPECT_EQ(recs[0].state.pen.color, 0x0000FF);
        if (c.kind != DrawRecord::Line) {
            EXPECT_EQ(recs[0].state.brush, (gfx::Brush{0x00FF00, bsSolid}));
        }
        delete v;
    }
}

TEST_F(ShapesTest, RoundedCornersFollowCurveOrAQuarterOfTheShorterSide)
{
    struct Case {
        int curve;
        double scale;
        int corner;
    } cases[] = {{0, 1, 10}, {0, 2, 20}, {2, 1, 20}, {2, 2, 40}};
    for (const Case &c : cases) {
        auto *v = make<TkvlShapeView>(0, 0, 100, 40);
        v->Shape = skRoundRectangle;
        v->Curve = c.curve;
        RecordingCanvas rec;
        v->Draw(&rec, c.scale, c.scale, 0, 0);
        const auto recs = recordsOf(rec, DrawRecord::RoundRect);
        ASSERT_EQ(recs.size(), 1u);
        EXPECT_EQ(recs[0].a, c.corner) << c.curve << " at " << c.scale;
        EXPECT_EQ(recs[0].b, c.corner);
        delete v;
    }
}

TEST_F(ShapesTest, DoubleFramesDrawASecondFigureInsideWithoutMovingTheObject)
{
    auto *v = make<TkvlShapeView>(10, 20, 100, 40);
    v->Frame()->SetStyle(fsDouble);
    RecordingCanvas rec;
    v->Draw(&rec, 1, 1, 0, 0);
    const auto rects = recordsOf(rec, DrawRecord::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].rect, QRect(QPoint(10, 20), QPoint(110, 60)));
    EXPECT_EQ(rects[1].rect, QRect(QPoint(12, 22), QPoint(108, 58)));
    EXPECT_EQ(rects[0].state.pen.style, psSolid);
    EXPECT_EQ(v->Frame()->Style(), fsDouble);
    EXPECT_EQ(v->GetRealBounds(), (TkvlRect{10, 20, 110, 60}));

    // Triangle: in by 4 frame widths at the top and sides, 2 at the bottom.
    v->Shape = skTriangle;
    v->Frame()->SetWidth(2);
    rec.clear();
    v->Draw(&rec, 1, 1, 0, 0);
    const auto polys = recordsOf(rec, DrawRecord::Polygon);
    ASSERT_EQ(polys.size(), 2u);
    EXPECT_EQ(polys[1].points, pts({{102, 56}, {18, 56}, {60, 28}, {102, 56}}));

    // No room for an inner figure: only the outer one.
    v->Shape = skRectangle;
    v->SetBounds(0, 0, 6, 6);
    rec.clear();
    v->Draw(&rec, 1, 1, 0, 0);
    EXPECT_EQ(recordsOf(rec, DrawRecord::Rectangle).size(), 1u);
    delete v;
}

TEST_F(ShapesTest, HatchesGoOverTheColourAndOtherFillsInsideAClipPath)
{
    auto *v = make<TkvlShapeView>(0, 0, 50, 50);
    v->Frame()->SetColor(0x0000FF);
    v->SetBrushStyle(bsCross);
    v->SetColor(0x00FF00);
    RecordingCanvas rec;
    v->Draw(&rec, 1, 1, 0, 0);
    auto rects = recordsOf(rec, DrawRecord::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].state.brush, (gfx::Brush{0x00FF00, bsSolid}));
    EXPECT_EQ(rects[1].state.brush, (gfx::Brush{0x0000FF, bsCross}));
    EXPECT_EQ(rects[1].state.bkMode, gfx::BkMode::Transparent);

    v->SetFillType(ftGradient);
    v->Shape = skEllipse;
    rec.clear();
    v->Draw(&rec, 1, 1, 0, 0);
    // The gradient is painted inside the outline once, then the outline with a clear brush.
    EXPECT_EQ(recordsOf(rec, DrawRecord::FillRect).size(), 256u);
    const auto clips = recordsOf(rec, DrawRecord::IntersectClipPath);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_TRUE(clips[0].path.contains(QPointF(25, 25)));
    EXPECT_FALSE(clips[0].path.contains(QPointF(1, 1)));
    const auto ellipses = recordsOf(rec, DrawRecord::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses.back().state.brush.style, bsClear);
    delete v;
}

TEST_F(ShapesTest, PaletteFlagsChooseShapeAndArrows)
{
    const rtl::TDesignInfo diamond{4};
    TkvlShapeView s(&report, &diamond);
    EXPECT_EQ(s.Shape, skDiamond);
    struct Case {
        uint16_t flags;
        bool diagonal, start, end;
    } cases[] = {{0, false, false, false}, {1, true, false, false}, {2, true, false, true},
                 {3, true, true, false}, {4, true, true, true}};
    for (const Case &c : cases) {
        const rtl::TDesignInfo d{c.flags};
        TkvlLineView l(&report, &d);
        EXPECT_EQ(l.Diagonal, c.diagonal) << c.flags;
        EXPECT_EQ(l.ArrowStart, c.start) << c.flags;
        EXPECT_EQ(l.ArrowEnd, c.end) << c.flags;
    }
}

TEST_F(ShapesTest, EdgeLinesAreFlattenedBeforeDrawing)
{
    struct Case {
        double w, h, w1, h1;
        TkvlFrameType side;
    } cases[] = {{10, 30, 0, 30, ftLeft}, {30, 10, 30, 0, ftTop}, {20, 20, 0, 20, ftLeft}};
    for (const Case &c : cases) {
        auto *l = make<TkvlLineView>(5, 5, c.w, c.h);
        RecordingCanvas rec;
        l->Draw(&rec, 1, 1, 0, 0);
        EXPECT_EQ(l->Width(), c.w1);
        EXPECT_EQ(l->Height(), c.h1);
        EXPECT_EQ(l->Frame()->Typ(), kvlFrameBit(c.side));
        delete l;
    }
}

TEST_F(ShapesTest, ArrowHeadsPointAlongTheLine)
{
    struct Case {
        const char *what;
        double w, h;
        bool diagonal, start, solid;
        DrawRecord::Kind kind;
        std::vector<QPoint> points;
    } cases[] = {
        // End arrow of a horizontal line: base 20 back from the tip, wings 5 either side.
        {"horizontal end", 100, 0, false, false, false, DrawRecord::Polyline, pts({{80, 45}, {100, 50}, {80, 55}})},
        {"horizontal start", 100, 0, false, true, false, DrawRecord::Polyline, pts({{20, 45}, {0, 50}, {20, 55}})},
        // 45 degrees: base at 100 - 20/sqrt(2) = 85.86; wings 5 * 0.707 across.
        {"diagonal solid", 100, 100, true, false, true, DrawRecord::Polygon, pts({{100, 150}, {89, 132}, {82, 139}})},
        // Ends at most 8 pixels apart horizontally: a vertical head.
        {"steep", 8, 100, true, false, false, DrawRecord::Polyline, pts({{3, 130}, {8, 150}, {13, 130}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *l = make<TkvlLineView>(0, 50, c.w, c.h);
        l->Diagonal = c.diagonal;
        l->ArrowStart = c.start;
        l->ArrowEnd = !c.start;
        l->ArrowSolid = c.solid;
        l->Frame()->SetColor(0xFF0000);
        RecordingCanvas rec;
        l->Draw(&rec, 1, 1, 0, 0);
        const auto recs = recordsOf(rec, c.kind);
        ASSERT_EQ(recs.size(), 1u);
        EXPECT_EQ(recs[0].points, c.points);
        EXPECT_EQ(recs[0].state.pen.color, 0xFF0000);
        if (c.solid) {
            EXPECT_EQ(recs[0].state.brush, (gfx::Brush{0xFF0000, bsSolid}));
        }
        delete l;
    }
}

TEST_F(ShapesTest, ADiagonalLineWithoutColourDrawsNothing)
{
    auto *l = make<TkvlLineView>(0, 0, 50, 50);
    l->Diagonal = true;
    l->ArrowStart = l->ArrowEnd = true;
    l->Frame()->SetColor(clNone);
    RecordingCanvas rec;
    l->Draw(&rec, 1, 1, 0, 0);
    EXPECT_TRUE(rec.records().empty());
    l->Frame()->SetColor(0);
    l->Frame()->SetWidth(0);
    l->Draw(&rec, 1, 1, 0, 0);
    EXPECT_TRUE(rec.records().empty());
    delete l;
}

// ---- check boxes ----------------------------------------------------------------------------

TEST_F(ShapesTest, ANewCheckBoxIsFiveMillimetresSquareAndChecked)
{
    TkvlCheckBoxView c(&report);
    EXPECT_NEAR(c.Width(), 18.89765, 1e-9);
    EXPECT_NEAR(c.Height(), 18.89765, 1e-9);
    EXPECT_TRUE(c.Checked);
    EXPECT_EQ(c.CheckStyle, csCross);
    EXPECT_EQ(c.UncheckStyle, usEmpty);
}

TEST_F(ShapesTest, CheckBoxValueComesFromTheFieldThenTheExpression)
{
    TkvlUserDataSet ds(nullptr);
    Variant field;
    ds.OnGetValue = [&](const QString &, Variant &v) { v = field; };
    report.Values[QStringLiteral("yes")] = Variant(true);
    report.Values[QStringLiteral("no")] = Variant(false);
    struct Case {
        const char *what;
        bool bound;
        Variant value;
        const char *expr;
        bool before, after;
    } cases[] = {
        {"null field", true, Variant::null(), "", true, false},
        {"field 1", true, Variant(1), "", false, true},
        {"field True", true, Variant(true), "", false, true},
        {"field 0", true, Variant(0), "", true, false},
        {"field beats expression", true, Variant(false), "yes", true, false},
        {"expression true", false, Variant(), "yes", false, true},
        {"expression false", false, Variant(), "no", true, false},
        {"neither keeps the value", false, Variant(), "", false, false},
    };
    for (const Case &c : cases) {
        TkvlCheckBoxView cb(&report);
        if (c.bound) {
            cb.SetDataSet(&ds);
            cb.DataField = QStringLiteral("F");
        }
        cb.Expression = QString::fromLatin1(c.expr);
        cb.Checked = c.before;
        field = c.value;
        cb.GetData();
        EXPECT_EQ(cb.Checked, c.after) << c.what;
    }
}

TEST_F(ShapesTest, CheckMarksAreDrawnInTheBoxInCheckColour)
{
    constexpr TColor mark = 0x123456;
    struct Case {
        const char *what;
        bool checked;
        TkvlCheckStyle check;
        TkvlUncheckStyle uncheck;
        std::vector<std::vector<QPoint>> lines;
    } cases[] = {
        {"plus", true, csPlus, usEmpty, {pts({{3, 20}, {38, 20}}), pts({{20, 3}, {20, 38}})}},
        {"line cross", true, csLineCross, usEmpty, {pts({{0, 0}, {40, 40}}), pts({{0, 40}, {40, 0}})}},
        {"minus", false, csCross, usMinus, {pts({{3, 20}, {38, 20}})}},
        {"empty", false, csCross, usEmpty, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *cb = make<TkvlCheckBoxView>(0, 0, 40, 40);
        cb->Checked = c.checked;
        cb->CheckStyle = c.check;
        cb->UncheckStyle = c.uncheck;
        cb->CheckColor = mark;
        cb->Frame()->SetTyp(kvlFrameAll);
        RecordingCanvas rec;
        cb->Draw(&rec, 1, 1, 0, 0);
        std::vector<std::vector<QPoint>> lines;
        for (const DrawRecord &r : rec.records())
            if (r.state.pen.color == mark)
                lines.push_back(r.points);
        EXPECT_EQ(lines, c.lines);
        delete cb;
    }
}

TEST_F(ShapesTest, CheckAndCrossSymbolsStayInsideTheBox)
{
    for (TkvlCheckStyle style : {csCheck, csCross}) {
        auto *cb = make<TkvlCheckBoxView>(10, 10, 40, 40);
        cb->CheckStyle = style;
        cb->CheckColor = 0xFF;
        RecordingCanvas rec;
        cb->Draw(&rec, 1, 1, 0, 0);
        const QRect box(10, 10, 40, 40);
        EXPECT_EQ(recordsOf(rec, DrawRecord::IntersectClipRect).at(0).rect, box);
        int marks = 0;
        QRect ink;
        for (const DrawRecord &r : rec.records())
            if (r.state.pen.color == 0xFF && (r.kind == DrawRecord::Line || r.kind == DrawRecord::Polyline)) {
                ++marks;
                for (const QPoint &p : r.points)
                    ink |= QRect(p, QSize(1, 1));
            }
        EXPECT_EQ(marks, style == csCheck ? 1 : 2);
        // Centred, 3/5 of the height.
        EXPECT_TRUE(box.contains(ink));
        EXPECT_NEAR(ink.center().x(), box.center().x(), 1);
        EXPECT_NEAR(ink.height(), 25, 1);
        delete cb;
    }
}

TEST_F(ShapesTest, KindsPublishTheirPropertiesInTemplateOrder)
{
    const QString base = QStringLiteral(
        "Name Tag Description Align Printable ShiftMode Left Top Width Height GroupIndex Restrictions Visible "
        "OnAfterData OnAfterPrint OnBeforePrint OnMouseEnter OnMouseLeave OnMouseDown OnMouseMove OnMouseUp "
        "OnPreviewClick OnPreviewDblClick Hyperlink Hint ShowHint Visibility ");
    struct Row {
        const rtl::ClassInfo *cls;
        const char *own;
    } rows[] = {
        {TkvlShapeView::StaticClass(), "Color Cursor Curve FillType Fill Frame Shape TagStr URL"},
        {TkvlLineView::StaticClass(),
         "StretchMode Color TagStr ArrowEnd ArrowLength ArrowSolid ArrowStart ArrowWidth Frame Diagonal"},
        {TkvlCheckBoxView::StaticClass(), "BrushStyle CheckColor Checked CheckStyle Color Cursor DataField DataSet "
                                          "DataSetName Expression Frame TagStr UncheckStyle URL"},
        {TkvlPictureView::StaticClass(),
         "Cursor AutoSize Center DataField DataSet DataSetName Frame FillType Fill FileLink ImageIndex "
         "KeepAspectRatio Picture Stretched TagStr HightQuality Transparent TransparentColor URL"},
    };
    for (const Row &r : rows) {
        QStringList got;
        for (const rtl::PropInfo *p : r.cls->props())
            got << p->name();
        EXPECT_EQ(got.join(QLatin1Char(' ')), base + QLatin1String(r.own)) << r.cls->name().toStdString();
    }
    // Values the kinds never store.
    TkvlShapeView s(&report);
    for (const char *name : {"Color", "URL", "Printable"})
        EXPECT_FALSE(TkvlShapeView::StaticClass()->findProp(QString::fromLatin1(name))->isStored(&s)) << name;
    TkvlLineView l(&report);
    l.SetColor(0xFF);
    EXPECT_TRUE(TkvlLineView::StaticClass()->findProp(u"Color")->isStored(&l));
}
