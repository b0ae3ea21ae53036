// Dot-matrix pages and objects: the character grid (9.6 x 17 pixels), the page's paper in
// whole cells, the print style passed down, printer commands.
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreportunit.h"
#include "report/registry/kvlregistries.h"

#include <gtest/gtest.h>
#include <set>

namespace {

class DMPTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlRegisterDMPClasses();
    }
    TkvlReport report{nullptr};
    TkvlDMPPage *page = new TkvlDMPPage(&report);
};

// Cells of the sheet: millimetres to pixels (3.77953 per mm), then cells.
double cellsWide(const TkvlReportPage &p) { return p.PaperWidth() * 3.77953 / 9.6; }
double cellsHigh(const TkvlReportPage &p) { return p.PaperHeight() * 3.77953 / 17; }

TkvlDMPPage *dmpPage(TkvlReport &r)
{
    for (TkvlComponent *c : r.Objects())
        if (auto *p = rtl_cast<TkvlDMPPage>(c))
            return p;
    return nullptr;
}

// The dot-matrix page's element of a saved template.
std::string pageElement(const QByteArray &Template)
{
    const qsizetype at = Template.indexOf("<TkvlDMPPage");
    return at < 0 ? std::string() : Template.mid(at, Template.indexOf('>', at) - at).toStdString();
}

} // namespace

TEST_F(DMPTest, MemoSnapsOntoTheGrid)
{
    struct Case {
        const char *what;
        TkvlAlign align;
        double left, top, width, height;
        double eLeft, eTop, eWidth, eHeight;
    };
    const Case cases[] = {
        {"left 50: 5.2 cells round to 5", baNone, 50, 0, 0, 40, 48, 0, 0, 34},
        {"right-aligned left 50: 5 whole cells", baRight, 50, 0, 0, 40, 48, 0, 0, 34},
        {"left 53: 5.52 cells round to 6", baNone, 53, 0, 0, 0, 57.6, 0, 0, 0},
        {"right-aligned left 53: the whole cells below", baRight, 53, 0, 0, 0, 48, 0, 0, 0},
        {"top and sizes round", baNone, 0, 26, 100, 25, 0, 34, 96, 17},
        {"half a cell rounds to even", baNone, 14.4, 8.5, 4.8, 25.5, 19.2, 0, 0, 34},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *m = new TkvlDMPMemoView(page);
        m->SetAlign(c.align);
        m->SetBounds(c.left, c.top, c.width, c.height);
        EXPECT_DOUBLE_EQ(m->Left(), c.eLeft);
        EXPECT_DOUBLE_EQ(m->Top(), c.eTop);
        EXPECT_DOUBLE_EQ(m->Width(), c.eWidth);
        EXPECT_DOUBLE_EQ(m->Height(), c.eHeight);
        m->SetBoundsDirect(c.left, c.top, c.width, c.height);
        EXPECT_EQ(m->Left(), c.left);
        EXPECT_EQ(m->Height(), c.height);
        delete m;
    }
}

TEST_F(DMPTest, LinesRunThroughTheMiddleOfCells)
{
    struct Case {
        const char *what;
        TkvlAlign align;
        double left, top, width;
        double eLeft, eTop, eWidth;
    };
    const Case cases[] = {
        {"top 40: two cells and a half", baNone, 0, 40, 0, 4.8, 42.5, 0},
        {"left 14: one whole cell and a half", baNone, 14, 0, 14, 14.4, 8.5, 9.6},
        {"left of a right-aligned line rounds, less half a cell", baRight, 14, 0, 0, 4.8, 8.5, 0},
        {"a negative left: the whole cells toward zero, less half a cell", baNone, -14, 0, 0, -14.4, 8.5, 0},
        {"width of a full-width line: the cells below", baWidth, 0, 0, 14, 4.8, 8.5, 9.6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *l = new TkvlDMPLineView(page);
        l->SetAlign(c.align);
        l->SetBounds(c.left, c.top, c.width, 5);
        EXPECT_DOUBLE_EQ(l->Left(), c.eLeft);
        EXPECT_DOUBLE_EQ(l->Top(), c.eTop);
        EXPECT_DOUBLE_EQ(l->Width(), c.eWidth);
        EXPECT_EQ(l->Height(), 5);  // not snapped
        delete l;
    }
    auto *cmd = new TkvlDMPCommand(page);
    cmd->SetBounds(53, 26, 3, 3);
    EXPECT_DOUBLE_EQ(cmd->Left(), 57.6);
    EXPECT_DOUBLE_EQ(cmd->Top(), 34);
}

TEST_F(DMPTest, BandsOnTheDotMatrixPageSnapToItsCells)
{
    auto *band = new TkvlMasterData(page);
    band->SetTop(40);
    band->SetHeight(26);
    EXPECT_DOUBLE_EQ(band->Top(), 34);
    EXPECT_DOUBLE_EQ(band->Height(), 34);
}

// A4 on the virtual printer: 210 x 297 mm is 82.68 x 66.03 cells.
TEST_F(DMPTest, DefaultsGiveWholeCellsOnA4AndSurviveSaveAndReload)
{
    page->SetPaperSize(5);
    page->SetDefaults();
    ASSERT_EQ(kvlPrinters().GetCurrentPrinter()->Name(), QStringLiteral("Virtuale"));
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_NEAR(cellsWide(*page), 82, 1e-9);
    EXPECT_NEAR(cellsHigh(*page), 66, 1e-9);
    EXPECT_NEAR(page->PaperWidth(), 208.28, 0.001);
    EXPECT_NEAR(page->LeftMargin, 2.54, 1e-5);
    EXPECT_NEAR(page->RightMargin, 2.54, 1e-5);
    EXPECT_NEAR(page->TopMargin, 17 / 3.77953, 1e-12);
    EXPECT_NEAR(page->BottomMargin, 4.4979, 1e-4);
    EXPECT_EQ(page->Width(), 787);    // 787.2 pixels
    EXPECT_EQ(page->Height(), 1122);  // 66 x 17

    TMemoryStream saved;
    report.SaveToStream(saved);
    TkvlReport again(nullptr);
    TMemoryStream in(saved.Bytes());
    again.LoadFromStream(in);
    EXPECT_EQ(again.Errors().Text(), QString());
    TkvlDMPPage *p = dmpPage(again);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PaperSize(), 9);
    EXPECT_NEAR(cellsWide(*p), 82, 1e-9);
    EXPECT_NEAR(cellsHigh(*p), 66, 1e-9);
    EXPECT_NEAR(p->LeftMargin, 2.54, 1e-5);
    EXPECT_EQ(p->Width(), 787);
    TMemoryStream savedAgain;
    again.SaveToStream(savedAgain);
    ASSERT_NE(pageElement(saved.Bytes()), std::string());
    EXPECT_EQ(pageElement(savedAgain.Bytes()), pageElement(saved.Bytes()));
}

TEST_F(DMPTest, PaperSettersRoundToWholeCells)
{
    struct Case {
        const char *what;
        std::function<void(TkvlDMPPage &)> set;
        int paper;
        double cellsW, cellsH;
    };
    const Case cases[] = {
        {"A4 by number: 82.68 and 66.03 cells round", [](TkvlDMPPage &p) { p.SetPaperSize(9); }, 9, 83, 66},
        {"A5 by number: 148 x 210 mm", [](TkvlDMPPage &p) { p.SetPaperSize(11); }, 11, 58, 47},
        {"width 100 mm: 39.37 cells", [](TkvlDMPPage &p) { p.SetPaperWidth(100); }, 256, 39, 66},
        {"height 100 mm: 22.23 cells", [](TkvlDMPPage &p) { p.SetPaperHeight(100); }, 256, 83, 22},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        page->SetPaperSize(9);
        c.set(*page);
        EXPECT_EQ(page->PaperSize(), c.paper);
        EXPECT_NEAR(cellsWide(*page), c.cellsW, 1e-9);
        EXPECT_NEAR(cellsHigh(*page), c.cellsH, 1e-9);
    }
}

TEST_F(DMPTest, PageStyleReachesObjectsThatInheritTheFont)
{
    auto *band = new TkvlMasterData(page);
    auto *inheriting = new TkvlDMPMemoView(band);
    auto *line = new TkvlDMPLineView(band);
    auto *own = new TkvlDMPMemoView(band);
    own->SetFontStyle(kvlBit(fsxItalic));
    EXPECT_FALSE(own->ParentFont());
    EXPECT_EQ(page->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(page->Font()->Size(), 12);

    page->SetFontStyle(kvlBit(fsxBold) | kvlBit(fsxCondensed));
    EXPECT_TRUE(page->Font()->HasStyle(fsBold));
    for (TkvlComponent *c : std::initializer_list<TkvlComponent *>{band, inheriting, line}) {
        SCOPED_TRACE(c->ClassName().toStdString());
        EXPECT_TRUE(c->Font()->HasStyle(fsBold));
        EXPECT_EQ(c->Font()->Name(), QStringLiteral("Courier New"));
    }
    EXPECT_EQ(inheriting->FontStyle(), kvlBit(fsxBold) | kvlBit(fsxCondensed));
    EXPECT_EQ(line->FontStyle(), kvlBit(fsxBold) | kvlBit(fsxCondensed));
    EXPECT_EQ(own->FontStyle(), kvlBit(fsxItalic));
    EXPECT_FALSE(own->Font()->HasStyle(fsBold));
    EXPECT_TRUE(own->Font()->HasStyle(fsItalic));

    // Made on the bold page: takes its style at once.
    auto *later = new TkvlDMPMemoView(band);
    EXPECT_EQ(later->FontStyle(), page->FontStyle());
    EXPECT_TRUE(later->Font()->HasStyle(fsBold));
    EXPECT_EQ(later->GapX, 0);
    EXPECT_EQ(later->LineSpacing, 1);
}

TEST_F(DMPTest, CommandBytes)
{
    struct Case {
        const char *command;
        QString bytes;  // empty with error: raises
        bool error;
    };
    const Case cases[] = {
        {"#27#69", QStringLiteral("\x1b" "E"), false},
        {"#27#64", QStringLiteral("\x1b@"), false},
        {"1B40", QStringLiteral("\x1b@"), false},
        {"1b40", QStringLiteral("\x1b@"), false},
        {"1B4", QStringLiteral("\x1b"), false},  // the odd trailing digit is left out
        {"", QString(), false},
        {"#255", QString(QChar(255)), false},
        {"#27##64", QString(), true},  // empty group
        {"#", QString(), true},
        {"#2x", QString(), true},
        {"1G40", QString(), true},
        {"#300", QString(), true},  // not a byte
        {"#-1", QString(), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        TkvlDMPCommand cmd(nullptr);
        cmd.Command = QString::fromLatin1(c.command);
        if (c.error)
            EXPECT_THROW(cmd.ToChr(), EConvertError);
        else
            EXPECT_EQ(cmd.ToChr(), c.bytes);
    }
}

TEST_F(DMPTest, OutBoundTextKeepsTheLinesAndColumnsThatFit)
{
    auto *m = new TkvlDMPMemoView(page);
    m->SetText(QStringLiteral("abcdefgh\r\nij\r\nklmnop\r\nqrs"));
    m->SetWidth(4 * 9.6);
    m->SetHeight(3 * 17);
    EXPECT_EQ(m->GetoutBoundText(), QStringLiteral("abcd\r\nij\r\nklmn\r\n"));
    m->SetHeight(10 * 17);
    EXPECT_EQ(m->GetoutBoundText(), QStringLiteral("abcd\r\nij\r\nklmn\r\nqrs\r\n"));
}

// The frame goes round the cells, half a cell outside the bounds.
TEST_F(DMPTest, FrameIsDrawnHalfACellOutside)
{
    auto *m = new TkvlDMPMemoView(page);
    m->SetBounds(48, 34, 96, 34);
    m->Frame()->SetTyp(kvlFrameAll);
    struct Case {
        double scale, offset;
        int x, y, x1, y1;
    };
    // x: 48 - 4.8 and 48 + 96 + 4.8; y: 34 - 8.5 and 34 + 34 + 8.5 (halves to even).
    for (const Case &c : {Case{1, 0, 43, 26, 149, 76}, Case{2, 10, 96, 61, 308, 163}}) {
        SCOPED_TRACE(c.scale);
        gfx::RecordingCanvas rec;
        m->Draw(&rec, c.scale, c.scale, c.offset, c.offset);
        std::set<int> xs, ys;
        for (const gfx::DrawRecord &r : rec.records()) {
            if (r.kind != gfx::DrawRecord::Line || r.points.size() != 2)
                continue;
            if (r.points[0].x() == r.points[1].x())
                xs.insert(r.points[0].x());
            if (r.points[0].y() == r.points[1].y())
                ys.insert(r.points[0].y());
        }
        EXPECT_EQ(xs, (std::set<int>{c.x, c.x1}));
        EXPECT_EQ(ys, (std::set<int>{c.y, c.y1}));
    }
}

TEST_F(DMPTest, CalculatedSizesAreWholeCells)
{
    auto *m = new TkvlDMPMemoView(page);
    m->SetBounds(0, 0, 20 * 9.6, 17);
    m->SetText(QStringLiteral("one\r\ntwo\r\nthree"));
    const double h = m->CalcHeight(), w = m->CalcWidth();
    EXPECT_NEAR(std::remainder(h, 17), 0, 1e-9) << h;
    EXPECT_NEAR(std::remainder(w, 9.6), 0, 1e-9) << w;
    EXPECT_GE(h, 3 * 17);
    EXPECT_GE(w, 5 * 9.6);
}

TEST_F(DMPTest, RegisteredUnderTheDotMatrixCategory)
{
    EXPECT_NE(rtl::FindClass(u"TkvlDMPPage"), nullptr);
    struct Case {
        const rtl::ClassInfo *cls;
        int image;
        const char *description;
    };
    for (const Case &c : {Case{TkvlDMPMemoView::StaticClass(), 2, "Testo per stampante ad aghi"},
                          Case{TkvlDMPLineView::StaticClass(), 5, "Linea per stampante ad aghi"},
                          Case{TkvlDMPCommand::StaticClass(), 21, "Dot-matrix Command object"}}) {
        SCOPED_TRACE(c.cls->name().toStdString());
        const TkvlObjectItem *item = kvlObjects().Find(c.cls);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->ButtonImageIndex, c.image);
        EXPECT_EQ(item->Category, kvlBit(ctDMP));
        EXPECT_EQ(rtl::FindClass(c.cls->name()), c.cls);
        EXPECT_EQ(c.cls->description(), QString::fromUtf8(c.description));
    }
}
