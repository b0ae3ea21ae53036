#include "export/grid/iematrix.h"
#include "tests/exportgrid/gridfixture.h"

#include "platform/gfx/graphic.h"
#include "report/views/kvlline.h"
#include "report/views/kvlshape.h"

#include <gtest/gtest.h>

namespace {

struct Grid : ::testing::Test {
    Grid() { registerGridTestClassesOnce(); }
    TkvlIEMatrix m{false, QString()};
    std::vector<std::unique_ptr<TkvlView>> views;

    TkvlMemoView *Memo(double L, double T, double W, double H, const QString &Text = QString())
    {
        auto *v = NewMemo(nullptr, L, T, W, H, Text);
        views.emplace_back(v);
        return v;
    }
    template <class V> V *View(double L, double T, double W, double H)
    {
        auto *v = new V(nullptr);
        v->SetBounds(L, T, W, H);
        views.emplace_back(v);
        return v;
    }
    TkvlIEMObject *Obj(int i) { return m.GetObjectById(i); }
    std::vector<double> XPos() const
    {
        std::vector<double> r;
        for (int i = 0; i < m.XPosCount(); ++i)
            r.push_back(m.GetXPosById(i));
        return r;
    }
    std::vector<double> YPos() const
    {
        std::vector<double> r;
        for (int i = 0; i < m.YPosCount(); ++i)
            r.push_back(m.GetYPosById(i));
        return r;
    }
};

void SetAllSides(TkvlView *v, double Width, TColor Color)
{
    v->Frame()->SetTyp(kvlFrameAll);
    v->Frame()->SetWidth(Width);
    v->Frame()->SetColor(Color);
}

} // namespace

TEST_F(Grid, StylesAreSharedUnlessACountedFieldDiffers)
{
    TkvlMemoView *a = Memo(0, 0, 50, 20, QStringLiteral("a"));
    TkvlMemoView *b = Memo(0, 20, 50, 20, QStringLiteral("b"));
    a->DisplayFormat()->ThousandSeparator = QStringLiteral(".");
    b->DisplayFormat()->ThousandSeparator = QStringLiteral("'");
    TkvlMemoView *c = Memo(0, 40, 50, 20, QStringLiteral("c"));
    c->DisplayFormat()->DecimalSeparator = QStringLiteral(",");
    TkvlMemoView *d = Memo(0, 60, 50, 20, QStringLiteral("d"));
    d->Font()->SetSize(11);
    for (auto *v : {a, b, c, d})
        m.AddObject(v);
    EXPECT_EQ(Obj(0)->StyleIndex, Obj(1)->StyleIndex);  // the thousands separator alone
    EXPECT_NE(Obj(2)->StyleIndex, Obj(0)->StyleIndex);
    EXPECT_NE(Obj(3)->StyleIndex, Obj(0)->StyleIndex);
    EXPECT_EQ(m.StylesCount(), 3);
}

TEST_F(Grid, LinesBecomeFramedCellsOfAtLeastOnePixel)
{
    struct Case {
        double l, t, w, h;
        double left, top, width, height;
        TkvlFrameTyp frame;
    };
    const Case cases[] = {
        {10, 20, 100, 0, 10, 20, 100, 1, kvlFrameBit(ftTop)},    // horizontal
        {10, 20, 0, 80, 10, 20, 1, 80, kvlFrameBit(ftLeft)},     // vertical
        {110, 20, -100, 0, 10, 20, 100, 1, kvlFrameBit(ftTop)},  // drawn right to left
        {10, 100, 0, -80, 10, 20, 1, 80, kvlFrameBit(ftLeft)},   // drawn upwards
        {10, 20, 0, 0, 10, 20, 1, 1, kvlFrameBit(ftLeft)},       // a point
    };
    for (const Case &c : cases) {
        m.Clear();
        m.AddObject(View<TkvlLineView>(c.l, c.t, c.w, c.h));
        ASSERT_EQ(m.ObjectsCount(), 1);
        const TkvlIEMObject *o = Obj(0);
        EXPECT_EQ(o->Left, c.left) << c.l << "," << c.w << "," << c.h;
        EXPECT_EQ(o->Top, c.top) << c.t << "," << c.h;
        EXPECT_EQ(o->Width, c.width) << c.w;
        EXPECT_EQ(o->Height, c.height) << c.h;
        EXPECT_EQ(o->Style->FrameTyp, c.frame) << c.w << "," << c.h;
        EXPECT_TRUE(o->IsText);
    }
}

TEST_F(Grid, RectanglesAreReplacedByLinesOrOneFramedCell)
{
    auto *open = View<TkvlShapeView>(10, 10, 100, 50);
    open->SetColor(clNone);
    m.AddObject(open);
    ASSERT_EQ(m.ObjectsCount(), 4);
    const double edges[4][4] = {{10, 10, 100, 1}, {10, 10, 1, 50}, {10, 60, 100, 1}, {110, 10, 1, 50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Obj(i)->Left, edges[i][0]) << i;
        EXPECT_EQ(Obj(i)->Top, edges[i][1]) << i;
        EXPECT_EQ(Obj(i)->Width, edges[i][2]) << i;
        EXPECT_EQ(Obj(i)->Height, edges[i][3]) << i;
        EXPECT_TRUE(Obj(i)->Memo.isEmpty());
    }

    m.Clear();
    auto *filled = View<TkvlShapeView>(10, 10, 100, 50);
    filled->SetColor(0x00FFFF);
    m.AddObject(filled);
    ASSERT_EQ(m.ObjectsCount(), 1);
    const TkvlIEMObject *o = Obj(0);
    EXPECT_EQ(o->Style->FrameTyp, kvlFrameAll);
    EXPECT_EQ(o->Style->Font.Size(), 1);
    EXPECT_EQ(o->Style->Color, 0x00FFFF);
    EXPECT_EQ(o->Width, 100);
    EXPECT_EQ(o->Height, 50);
}

TEST_F(Grid, DropShadowAddsTwoStripsAndLeavesTheViewAsFound)
{
    TkvlMemoView *v = Memo(10, 20, 100, 50, QStringLiteral("x"));
    v->Frame()->SetDropShadow(true);
    v->Frame()->SetShadowWidth(4);
    v->Frame()->SetShadowColor(0x808080);
    m.AddObject(v);
    ASSERT_EQ(m.ObjectsCount(), 3);
    struct Box { double l, t, w, h; } const want[] = {{10, 20, 96, 46}, {106, 24, 4, 46}, {14, 66, 96, 4}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Obj(i)->Left, want[i].l) << i;
        EXPECT_EQ(Obj(i)->Top, want[i].t) << i;
        EXPECT_EQ(Obj(i)->Width, want[i].w) << i;
        EXPECT_EQ(Obj(i)->Height, want[i].h) << i;
    }
    EXPECT_EQ(Obj(0)->Memo, QStringList{QStringLiteral("x")});
    EXPECT_EQ(Obj(1)->Style->Color, 0x808080);
    EXPECT_EQ(v->Width(), 100);
    EXPECT_EQ(v->Height(), 50);
    EXPECT_TRUE(v->Frame()->DropShadow());
}

TEST_F(Grid, NegativePositionsStartAtTheEdgeAndPagesStackWithTheirMargins)
{
    m.AddObject(Memo(-5, 0, 50, 500));
    EXPECT_EQ(Obj(0)->Left, 0);
    m.AddPage(poPortrait, 700, 1000, 20, 5, 10, 6, true, 0);
    m.AddObject(Memo(0, 10, 50, 20));
    EXPECT_EQ(Obj(1)->Top, 510);
    m.AddPage(poLandscape, 700, 1000, 20, 5, 10, 6, true, 1);
    EXPECT_EQ(m.GetPageBreak(0), 500);
    EXPECT_EQ(m.GetPageBreak(1), 530);
    EXPECT_EQ(m.GetPageLMargin(0), 20);
    EXPECT_EQ(m.GetPageRMargin(0), 10);
    EXPECT_FALSE(m.GetPageMirrorMargin(0));
    EXPECT_EQ(m.GetPageLMargin(1), 10);
    EXPECT_EQ(m.GetPageRMargin(1), 20);
    EXPECT_TRUE(m.GetPageMirrorMargin(1));
    EXPECT_EQ(m.GetPageOrientation(1), poLandscape);
    EXPECT_EQ(m.GetPageBreak(2), 0);
    EXPECT_EQ(m.GetIEPages(2), nullptr);

    // A cleared grid starts from nothing: the next page ends where its own content does.
    m.Clear();
    m.AddObject(Memo(0, 10, 50, 20));
    m.AddPage(poPortrait, 700, 1000, 20, 5, 10, 6, false, 0);
    EXPECT_EQ(m.GetPageBreak(0), 30);
    EXPECT_EQ(m.MaxWidth(), 50);
}

TEST_F(Grid, NearPositionsMergeIntoTheHighestAndLongCellsSplit)
{
    struct Case {
        std::vector<double> lefts;  // memos of width 10 from each left edge
        std::vector<double> columns;
    };
    const Case cases[] = {
        {{100.0, 100.4}, {100.4, 110.4}},
        {{100.0, 100.5}, {100.0, 100.5, 110.0, 110.5}},
        {{100.0, 100.3, 100.6}, {100.6, 110.6}},  // a chain collapses into its highest
    };
    for (const Case &c : cases) {
        TkvlIEMatrix g(false, QString());
        g.Inaccuracy = 0.5;
        for (double l : c.lefts)
            g.AddObject(Memo(l, 0, 10, 10));
        g.Prepare();
        std::vector<double> cols;
        for (int i = 0; i < g.XPosCount(); ++i)
            cols.push_back(g.GetXPosById(i));
        ASSERT_EQ(cols.size(), c.columns.size()) << c.lefts.size();
        for (size_t i = 0; i < cols.size(); ++i)
            EXPECT_NEAR(cols[i], c.columns[i], 1e-9) << i;
    }

    m.Inaccuracy = 0.5;
    m.MaxCellHeight = 500;
    m.AddObject(Memo(0, 0, 10, 1200, QStringLiteral("tall")));
    m.Prepare();
    EXPECT_EQ(YPos(), (std::vector<double>{0, 500, 1000, 1200}));
    // The tall memo keeps its three rows whole.
    int x, y, dx, dy;
    m.GetObjectPos(0, x, y, dx, dy);
    EXPECT_EQ(dy, 3);
    EXPECT_EQ(m.ObjectsCount(), 1);
}

TEST_F(Grid, ALaterMemoCutsTheOneBelowIntoFramedPieces)
{
    TkvlMemoView *r = Memo(0, 0, 300, 300, QStringLiteral("R"));
    SetAllSides(r, 1, 0);
    m.AddObject(r);
    m.AddObject(Memo(100, 100, 100, 100, QStringLiteral("M")));
    m.Inaccuracy = 0.5;
    m.Prepare();
    ASSERT_EQ(m.Width(), 4);
    ASSERT_EQ(m.Height(), 4);
    // No cell still names the covered memo; the upper band, the sides and the part below
    // are pieces, M its own cell.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_NE(m.GetCell(x, y), 0) << x << "," << y;
    EXPECT_EQ(m.GetCell(1, 1), 1);
    EXPECT_EQ(m.GetCell(3, 3), -1);
    const int top = m.GetCell(0, 0), left = m.GetCell(0, 1), right = m.GetCell(2, 1), bottom = m.GetCell(1, 2);
    EXPECT_EQ(m.GetCell(2, 0), top);
    EXPECT_EQ(m.GetCell(0, 2), left);
    EXPECT_EQ(m.GetCell(2, 2), right);
    struct Piece { int k; QStringList text; TkvlFrameTyp frame; int x, y, dx, dy; };
    const TkvlFrameTyp L = kvlFrameBit(ftLeft), T = kvlFrameBit(ftTop), Rt = kvlFrameBit(ftRight),
                       B = kvlFrameBit(ftBottom);
    const Piece pieces[] = {
        {top, {QStringLiteral("R")}, T | L | Rt, 0, 0, 3, 1},
        {left, {}, L | B, 0, 1, 1, 2},
        {right, {}, Rt | B, 2, 1, 1, 2},
        {bottom, {}, B, 1, 2, 1, 1},
    };
    for (const Piece &p : pieces) {
        TkvlIEMObject *o = m.GetObjectById(p.k);
        EXPECT_EQ(o->Memo, p.text) << p.k;
        EXPECT_EQ(o->Style->FrameTyp, p.frame) << p.k;
        int x, y, dx, dy;
        m.GetObjectPos(p.k, x, y, dx, dy);
        EXPECT_EQ(std::vector<int>({x, y, dx, dy}), std::vector<int>({p.x, p.y, p.dx, p.dy})) << p.k;
    }
    EXPECT_TRUE(Obj(0)->Memo.isEmpty());
}

TEST_F(Grid, ATransparentMemoTakesTheColourBelowItsCorner)
{
    struct Case { TColor font; TColor want; };
    const Case cases[] = {{0, 0x00FFFF}, {0x00FFFF, clNone}};  // not when its text is yellow too
    for (const Case &c : cases) {
        TkvlIEMatrix g(false, QString());
        TkvlMemoView *under = Memo(0, 0, 300, 300);
        under->SetColor(0x00FFFF);
        TkvlMemoView *over = Memo(50, 50, 100, 20, QStringLiteral("t"));
        over->SetColor(clNone);
        over->Font()->SetColor(c.font);
        g.AddObject(under);
        g.AddObject(over);
        g.Prepare();
        EXPECT_EQ(g.GetStyle(1, 1)->Color, c.want) << c.font;
    }
}

TEST_F(Grid, SharedEdgesAreDrawnOnceAndEmptyRowsCanGo)
{
    m.FramesOptimization = true;
    m.EmptyLines = false;
    TkvlMemoView *upper = Memo(0, 0, 100, 20, QStringLiteral("u"));
    TkvlMemoView *lower = Memo(0, 20, 100, 20, QStringLiteral("l"));
    TkvlMemoView *right = Memo(100, 0, 100, 20, QStringLiteral("r"));
    TkvlMemoView *apart = Memo(0, 60, 100, 20, QStringLiteral("a"));  // an empty row above it
    for (auto *v : {upper, lower, right, apart}) {
        SetAllSides(v, 1, 0);
        m.AddObject(v);
    }
    m.Prepare();
    const TkvlFrameTyp all = kvlFrameAll;
    EXPECT_EQ(m.GetStyle(0, 0)->FrameTyp, all);
    EXPECT_EQ(m.GetStyle(0, 1)->FrameTyp, all & ~kvlFrameBit(ftTop));
    EXPECT_EQ(m.GetStyle(1, 0)->FrameTyp, all & ~kvlFrameBit(ftLeft));
    // Rows 0-20, 20-40, (40-60 deleted) 60-80 then the closing position.
    EXPECT_EQ(YPos(), (std::vector<double>{0, 20, 40, 60}));
    EXPECT_EQ(m.GetCell(0, 2), 3);
}

TEST_F(Grid, PicturesAreDrawnByTheirBoundsAndTheFrameIsLeftAsFound)
{
    auto *shape = View<TkvlShapeView>(10, 10, 40, 30);
    shape->Shape = skEllipse;
    shape->SetColor(0x0000FF);
    SetAllSides(shape, 2, 0);
    shape->Frame()->LeftLine()->SetWidth(3);
    shape->Frame()->TopLine()->SetWidth(1);
    m.AddObject(shape);
    EXPECT_EQ(shape->Frame()->Width(), 2);
    EXPECT_EQ(shape->Frame()->LeftLine()->Width(), 3);
    EXPECT_EQ(shape->Frame()->TopLine()->Width(), 1);
    EXPECT_EQ(shape->Frame()->RightLine()->Width(), 2);

    TkvlIEMObject *o = Obj(0);
    EXPECT_FALSE(o->IsText);
    EXPECT_GT(o->ImageIndex(), 0);  // stored, not held
    TBitmap *bmp = o->GetImage();
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->width(), 41);
    EXPECT_EQ(bmp->height(), 31);
    EXPECT_EQ(bmp->image().pixelColor(20, 15), QColor(255, 0, 0));  // the ellipse's fill

    m.Clear();
    m.Images = false;
    m.AddObject(shape);
    EXPECT_TRUE(Obj(0)->IsText);
    EXPECT_TRUE(Obj(0)->Memo.isEmpty());
}

TEST_F(Grid, AnObjectOfNoWidthOwnsNoCell)
{
    m.Inaccuracy = 0.5;
    m.AddObject(Memo(0, 0, 100, 20, QStringLiteral("a")));
    m.AddObject(Memo(50, 0, 0, 20, QStringLiteral("zero")));
    m.Prepare();
    for (int x = 0; x < m.Width(); ++x)
        for (int y = 0; y < m.Height(); ++y)
            EXPECT_NE(m.GetCell(x, y), 1);
    EXPECT_EQ(m.GetCell(-1, 0), -1);
    EXPECT_EQ(m.GetObject(99, 99), nullptr);
}
