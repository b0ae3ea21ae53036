// Band output over the real prepared-pages store: objects shifted under growing ones, bands
// split over pages, kept blocks moved whole, page columns, breaks that always make progress,
// vertical bands and subreports. Every case is read back from the store as a page listing.
#include "engine/store/previewpages.h"
#include "platform/ui/fakes.h"
#include "report/bands/kvlsubreport.h"
#include "report/dmp/kvldmpviews.h"
#include "tests/engine/enginefixture.h"
#include "tests/engine/pagelisting.h"

#include <algorithm>

namespace {

// A memo whose content needs a fixed height.
class FixedHeightMemo : public TkvlMemoView {
public:
    using TkvlMemoView::TkvlMemoView;
    double Want = 0;
    double CalcHeight() override { return Want; }
};

class Output : public EngineTest {
protected:
    Output()
    {
        report.SetPreviewPages(&pages);
        engine().PreviewPages = &pages;
        pages.Engine = &engine();
    }
    ~Output() override
    {
        report.SetPreviewPages(nullptr);
        engine().PreviewPages = nullptr;
    }

    TkvlMemoView *memoAt(TkvlComponent *Band, const QString &Text, double Left, double Top, double Width,
                         double Height)
    {
        TkvlMemoView *m = addMemo(Band, Text);
        m->SetBounds(Left, Top, Width, Height);
        return m;
    }
    FixedHeightMemo *growing(TkvlComponent *Band, const QString &Text, double Left, double Top, double Width,
                             double Height, double Want)
    {
        auto *m = new FixedHeightMemo(Band);
        m->CreateUniqueName();
        m->SetBounds(Left, Top, Width, Height);
        m->SetText(Text);
        m->StretchMode = smActualHeight;
        m->Want = Want;
        return m;
    }
    // A data band printing Rows rows without a record source.
    template <class B = TkvlMasterData> B *rows(TkvlComponent *Page, const QString &Name, double Top, int Rows,
                                                const QString &Text = QStringLiteral("[Line#]"), double Height = 20)
    {
        auto *b = addBand<B>(Page, Name, Top, Text, Height);
        b->SetRowCount(Rows);
        return b;
    }
    QString listing(bool WithLeft = false) { return pageListing(pages, WithLeft); }

    ui::FakeServices fakes;
    TkvlPreviewPages pages{&report};
};

// ---- shift ---------------------------------------------------------------------------------

TEST_F(Output, ObjectsBelowAGrowingMemoMoveByTheirShiftMode)
{
    struct Case {
        const char *Title;
        TkvlShiftMode Mode;
        double Top;       // of the object below the memo growing from 20 to 50
        double Expected;  // its top on the page
    };
    const Case cases[] = {
        {"always, near", smAlways, 30, 60},
        {"overlapped, reached", smWhenOverlapped, 30, 50},
        {"never", smDontShift, 30, 30},
        {"always, far", smAlways, 80, 110},
        {"overlapped, not reached", smWhenOverlapped, 80, 80},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        pages.Clear();
        auto *page = addPage();
        auto *band = rows(page, QStringLiteral("Band"), 0, 1, {}, 200);
        growing(band, QStringLiteral("A"), 0, 0, 200, 20, 50);
        memoAt(band, QStringLiteral("B"), 0, c.Top, 200, 20)->ShiftMode = c.Mode;
        ASSERT_TRUE(run());
        EXPECT_EQ(listing().toStdString(),
                  QStringLiteral("page 1\n0 A\n%1 B\n").arg(c.Expected).toStdString());
        delete page;
    }
}

TEST_F(Output, AnObjectUnderTwoGrowingOnesFollowsBoth)
{
    struct Case {
        const char *Title;
        TkvlShiftMode Mode;
        double Expected;
    };
    // A grows by 30 and B by 10 above C, which spans both.
    const Case cases[] = {{"always: the sum", smAlways, 70}, {"overlapped: the lower bottom", smWhenOverlapped, 50}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        pages.Clear();
        auto *page = addPage();
        auto *band = rows(page, QStringLiteral("Band"), 0, 1, {}, 200);
        growing(band, QStringLiteral("A"), 0, 0, 100, 20, 50);
        growing(band, QStringLiteral("B"), 100, 0, 100, 20, 30);
        memoAt(band, QStringLiteral("C"), 0, 30, 200, 20)->ShiftMode = c.Mode;
        ASSERT_TRUE(run());
        EXPECT_EQ(listing().toStdString(), QStringLiteral("page 1\n0 A\n0 B\n%1 C\n").arg(c.Expected).toStdString());
        delete page;
    }
}

TEST_F(Output, ObjectsAreOrderedByTheirNumericTop)
{
    auto *page = addPage();
    auto *band = rows(page, QStringLiteral("Band"), 100, 1, {}, 100);
    // Written as text, -0.25 would sort after 9.75 and B would lose its parent.
    growing(band, QStringLiteral("A"), 0, -0.25, 200, 10, 40);
    memoAt(band, QStringLiteral("B"), 0, 9.75, 200, 20);
    ASSERT_TRUE(run());
    EXPECT_EQ(listing().toStdString(), "page 1\n0 A\n40 B\n");
}

TEST_F(Output, ADotMatrixFrameBottomLineTakesACharacterRowOfItsOwn)
{
    auto *page = addPage();
    auto *band = rows(page, QStringLiteral("Band"), 0, 1, {}, 100);
    band->Stretched = true;
    auto *m = new TkvlDMPMemoView(band);
    m->CreateUniqueName();
    m->SetBounds(0, 0, 200, 34);
    m->SetText(QStringLiteral("D"));
    m->Frame()->SetTyp(kvlFrameBit(ftBottom));
    rows(page, QStringLiteral("After"), 200, 1, QStringLiteral("after"));
    ASSERT_TRUE(run());
    // The band grew to the memo's bottom (34) and one character row (17).
    EXPECT_EQ(listing().toStdString(), "page 1\n0 D\n51 after\n");
}

// ---- split and breaks ----------------------------------------------------------------------

TEST_F(Output, ALongMemoSplitsOverPagesWithTheObjectBelowAfterItsLastPart)
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QString::number(i);
    // A page with room for 50 lines and the object below.
    TkvlMemoView probe(nullptr);
    probe.SetBounds(0, 0, 200, 20);
    probe.SetText(lines.mid(0, 50).join(u'\n'));
    auto *page = addPage(probe.CalcHeight() + 21);
    auto *band = rows(page, QStringLiteral("Band"), 0, 1, {}, 40);
    band->AllowSplit = true;
    band->Stretched = true;
    growing(band, lines.join(u'\n'), 0, 0, 200, 20, 0)->Want = [&] {
        probe.SetText(lines.join(u'\n'));
        return probe.CalcHeight();
    }();
    static_cast<FixedHeightMemo *>(band->Object(0))->StretchMode = smActualHeight;
    memoAt(band, QStringLiteral("END"), 0, 20, 200, 20);

    ASSERT_TRUE(run());
    ASSERT_EQ(pages.GetCount(), 4) << listing().toStdString();
    QStringList printed;
    for (int p = 0; p < 4; ++p) {
        double partBottom = 0, endTop = -1;
        for (TkvlComponent *c : pages.GetPage(p)->GetAllObjects())
            if (auto *m = rtl_cast<TkvlCustomMemoView>(c)) {
                if (m->Text().trimmed() == QLatin1String("END")) {
                    endTop = m->GetAbsTop();
                } else {
                    printed << m->Text().trimmed().split(QStringLiteral("\r\n"));
                    partBottom = m->GetAbsTop() + m->Height();
                }
            }
        EXPECT_EQ(endTop >= 0, p == 3) << "page " << p + 1;
        if (p == 3) {
            EXPECT_GE(endTop, partBottom - 1);
        }
    }
    EXPECT_EQ(printed, lines);
}

// A bottom-aligned object goes out with the piece it is placed in, at that piece's bottom:
// beside the long memo it fits the first piece; under the memo it is pushed into the last
// piece, where it sits below a longer memo beside when there is one.
TEST_F(Output, ABottomAlignedObjectOfASplitBandGoesWithItsPiece)
{
    auto numbered = [](const char *Prefix, int Count) {
        QStringList l;
        for (int i = 1; i <= Count; ++i)
            l << QLatin1String(Prefix) + QString::number(i);
        return l.join(u'\n');
    };
    // Memos 100 wide on a page with room for 50 of their lines and one more object.
    auto heightOf = [](const QString &Text) {
        TkvlMemoView probe(nullptr);
        probe.SetBounds(0, 0, 100, 20);
        probe.SetText(Text);
        return probe.CalcHeight();
    };
    struct Case {
        const char *Title;
        double Left;     // of the bottom-aligned object, 20 high at the band's bottom (top 20)
        int RightLines;  // lines of a second memo at the right (0: none)
        int Page;        // where it prints
    };
    const Case cases[] = {
        {"beside the memo: the first piece", 100, 0, 1},
        {"under the memo: the last piece", 0, 0, 4},
        {"under the shorter of two memos: the last piece", 0, 190, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        pages.Clear();
        auto *page = addPage(heightOf(numbered("", 50)) + 21);
        auto *band = rows(page, QStringLiteral("Band"), 0, 1, {}, 40);
        band->AllowSplit = true;
        band->Stretched = true;
        const QString left = numbered("", 170);
        growing(band, left, 0, 0, 100, 20, heightOf(left));
        if (c.RightLines > 0) {
            const QString right = numbered("r", c.RightLines);
            growing(band, right, 100, 0, 100, 20, heightOf(right));
        }
        memoAt(band, QStringLiteral("B"), c.Left, 20, 100, 20)->SetAlign(baBottom);
        ASSERT_TRUE(run());
        ASSERT_EQ(pages.GetCount(), 4) << listing().toStdString();
        for (int p = 0; p < 4; ++p) {
            const TkvlCustomMemoView *b = nullptr;
            double leftBottom = 0, pieceBottom = 0;
            for (TkvlComponent *o : pages.GetPage(p)->GetAllObjects())
                if (auto *m = rtl_cast<TkvlCustomMemoView>(o)) {
                    const double bottom = m->GetAbsTop() + m->Height();
                    pieceBottom = std::max(pieceBottom, bottom);
                    if (m->Text().trimmed() == QLatin1String("B"))
                        b = m;
                    else if (m->GetAbsLeft() < 1)
                        leftBottom = bottom;
                }
            ASSERT_EQ(b != nullptr, p + 1 == c.Page) << "page " << p + 1 << "\n" << listing().toStdString();
            if (!b)
                continue;
            EXPECT_NEAR(b->GetAbsTop() + b->Height(), pieceBottom, 0.5);
            if (c.Left < 1) {
                EXPECT_GE(b->GetAbsTop(), leftBottom - 0.5) << "over the memo's last part";
            }
        }
        delete page;
    }
}

// The first row does not fit under its header: header and row go to the next page together,
// where the header is not printed a second time; it is printed again on the page after.
TEST_F(Output, AHeaderKeptWithItsFirstRowTravelsWithIt)
{
    auto *page = addPage(100);
    rows(page, QStringLiteral("Top"), 0, 1, QStringLiteral("top"), 70);
    addBand<TkvlHeader>(page, QStringLiteral("Head"), 80, QStringLiteral("H"))->ReprintOnNewPage = true;
    auto *data = rows(page, QStringLiteral("Data"), 110, 5);
    data->KeepHeader = true;
    ASSERT_TRUE(run());
    EXPECT_EQ(listing().toStdString(), "page 1\n0 top\npage 2\n0 H\n20 1\n40 2\n60 3\n80 4\npage 3\n0 H\n20 5\n");
}

TEST_F(Output, ABandThatDoesNotFitMovesToTheNextColumnThenPage)
{
    auto *page = addPage(100);
    page->SetColumns(2);
    rows(page, QStringLiteral("Band"), 0, 7, QStringLiteral("[Line#]"), 30);
    ASSERT_TRUE(run());
    EXPECT_EQ(listing(true).toStdString(), "page 1\n0 0 1\n0 100 4\n30 0 2\n30 100 5\n60 0 3\n60 100 6\n"
                                           "page 2\n0 0 7\n");
}

class KeptGroup : public Output, public ::testing::WithParamInterface<int> {};

// The block of group header and rows does not fit below the first band: it moves whole to the
// next column (two page columns) or page (one).
TEST_P(KeptGroup, MovesWholeWithItsOutlineAndAnchors)
{
    const int columns = GetParam();
    auto *page = addPage(200);
    page->SetColumns(columns);
    rows(page, QStringLiteral("Top"), 0, 1, QStringLiteral("top"), 120);
    auto *group = addBand<TkvlGroupHeader>(page, QStringLiteral("Group"), 150, QStringLiteral("G"));
    group->Condition = QStringLiteral("CITY");
    group->KeepTogether = true;
    group->OutlineText = QStringLiteral("CITY");
    auto *data = addBand<TkvlMasterData>(page, QStringLiteral("Data"), 180, QStringLiteral("[ID]"));
    data->SetDataSet(addSource(QStringLiteral("ROWS"), numberedRows(4)));
    data->OutlineText = QStringLiteral("ID");
    data->OnAfterPrint = QStringLiteral("Anchor");
    onEvent = [&](const QString &Event, Variant &) {
        if (Event == QLatin1String("Anchor"))
            pages.AddAnchor(QStringLiteral("row ") + report.Calc(QStringLiteral("ID")).toString());
    };

    ASSERT_TRUE(run());
    const int blockPage = columns == 1 ? 1 : 0;
    EXPECT_EQ(listing(true).toStdString(),
              columns == 1 ? "page 1\n0 0 top\npage 2\n0 0 G\n20 0 1\n40 0 2\n60 0 3\n80 0 4\n"
                           : "page 1\n0 0 top\n0 100 G\n20 100 1\n40 100 2\n60 100 3\n80 100 4\n");
    pages.Outline->LevelRoot();
    ASSERT_EQ(pages.Outline->GetCount(), 1);
    QString text;
    int onPage = -1, top = -1;
    pages.Outline->GetItem(0, text, onPage, top);
    EXPECT_EQ(text, QStringLiteral("C"));
    EXPECT_EQ(onPage, blockPage);
    EXPECT_EQ(top, 0);
    pages.Outline->LevelDown(0);
    ASSERT_EQ(pages.Outline->GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        pages.Outline->GetItem(i, text, onPage, top);
        EXPECT_EQ(text, QString::number(i + 1));
        EXPECT_EQ(onPage, blockPage) << text.toStdString();
        EXPECT_EQ(top, 20 * (i + 1)) << text.toStdString();
    }
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(pages.GetAnchorPage(QStringLiteral("row %1").arg(i)), blockPage + 1) << i;
}

INSTANTIATE_TEST_SUITE_P(Columns, KeptGroup, ::testing::Values(1, 2),
                         [](const auto &info) { return info.param == 1 ? "ToNextPage" : "ToNextColumn"; });

TEST_F(Output, RepeatedValuesComeBackAtTheTopOfTheNextPage)
{
    auto *page = addPage(60);
    auto *data = addBand<TkvlMasterData>(page, QStringLiteral("Data"), 0);
    data->SetDataSet(addSource(QStringLiteral("ROWS"), numberedRows(4)));
    memoAt(data, QStringLiteral("[ID]"), 0, 0, 100, 20);
    memoAt(data, QStringLiteral("[CITY]"), 100, 0, 100, 20)->SuppressRepeated = true;
    ASSERT_TRUE(run());
    EXPECT_EQ(listing(true).toStdString(), "page 1\n0 0 1\n0 100 C\n20 0 2\n20 100 \n40 0 3\n40 100 \n"
                                           "page 2\n0 0 4\n0 100 C\n");
}

TEST_F(Output, StartNewPageBreaksBeforeEveryRowButTheFirst)
{
    auto *page = addPage();
    rows(page, QStringLiteral("Band"), 0, 3)->StartNewPage = true;
    ASSERT_TRUE(run());
    EXPECT_EQ(listing().toStdString(), "page 1\n0 1\npage 2\n0 2\npage 3\n0 3\n");
}

TEST_F(Output, APagePrintedOnThePreviousOneGoesOnBelowIt)
{
    struct Case {
        const char *Title;
        bool WithTitle;
        double Height;
        const char *Expected;
    };
    const Case cases[] = {
        {"plain", false, 1000, "page 1\n0 a1\n20 a2\n40 b1\n60 b2\n"},
        {"with its report title", true, 1000, "page 1\n0 a1\n20 a2\n40 T\n60 b1\n80 b2\n"},
        {"its first band not fitting", false, 50, "page 1\n0 a1\n20 a2\npage 2\n0 b1\n20 b2\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        pages.Clear();
        auto *first = addPage(c.Height);
        rows(first, QStringLiteral("A"), 0, 2, QStringLiteral("a[Line#]"));
        auto *second = addPage(c.Height);
        second->PrintOnPreviousPage = true;
        if (c.WithTitle)
            addBand<TkvlReportTitle>(second, QStringLiteral("Title"), 0, QStringLiteral("T"));
        rows(second, QStringLiteral("B"), 40, 2, QStringLiteral("b[Line#]"));
        ASSERT_TRUE(run());
        EXPECT_EQ(listing().toStdString(), c.Expected);
        delete first;
        delete second;
    }
}

// ---- no endless pages ----------------------------------------------------------------------

TEST_F(Output, ContentTallerThanThePageEndsWithFinitePages)
{
    struct Case {
        const char *Title;
        std::function<void(TkvlReportPage *)> Build;
        bool Succeeds;
        int Pages;
    };
    const Case cases[] = {
        {"a line of text taller than the page",
         [&](TkvlReportPage *p) {
             auto *b = rows(p, QStringLiteral("Band"), 0, 2);
             b->Stretched = true;
             auto *m = static_cast<TkvlMemoView *>(b->Object(0));
             m->Font()->SetSize(800);
             m->StretchMode = smActualHeight;
         },
         true, 2},
        {"a band taller than the room below the page header",
         [&](TkvlReportPage *p) {
             addBand<TkvlPageHeader>(p, QStringLiteral("Header"), 0, QStringLiteral("H"), 100);
             rows(p, QStringLiteral("Band"), 200, 2, QStringLiteral("[Line#]"), 950);
         },
         true, 2},
        {"a kept group taller than the page",
         [&](TkvlReportPage *p) {
             rows(p, QStringLiteral("Top"), 0, 1, QStringLiteral("top"), 100);
             auto *g = addBand<TkvlGroupHeader>(p, QStringLiteral("Group"), 150, QStringLiteral("G"));
             g->Condition = QStringLiteral("CITY");
             g->KeepTogether = true;
             auto *d = addBand<TkvlMasterData>(p, QStringLiteral("Data"), 180, QStringLiteral("[ID]"));
             d->SetDataSet(addSource(QStringLiteral("ROWS"), numberedRows(60)));
         },
         true, 3},
        {"a page header taller than the page",
         [&](TkvlReportPage *p) {
             addBand<TkvlPageHeader>(p, QStringLiteral("Header"), 0, QStringLiteral("H"), 1200);
             rows(p, QStringLiteral("Band"), 1300, 5);
         },
         false, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        pages.Clear();
        report.Errors().Clear();
        report.Terminated = false;
        auto *page = addPage(1000);
        c.Build(page);
        EXPECT_EQ(run(), c.Succeeds);
        EXPECT_EQ(pages.GetCount(), c.Pages) << listing().toStdString();
        EXPECT_EQ(report.Errors().Count(), c.Succeeds ? 0 : 1);
        delete page;
    }
}

// ---- columns -------------------------------------------------------------------------------

TEST_F(Output, PageColumnsEndWithTheirColumnFooter)
{
    auto *page = addPage(100);
    page->SetColumns(3);
    addBand<TkvlColumnFooter>(page, QStringLiteral("Footer"), 0, QStringLiteral("CF"));
    rows(page, QStringLiteral("Band"), 40, 9);
    ASSERT_TRUE(run());
    EXPECT_EQ(listing(true).toStdString(),
              "page 1\n0 0 1\n0 67 5\n0 133 9\n20 0 2\n20 67 6\n20 133 CF\n40 0 3\n40 67 7\n"
              "60 0 4\n60 67 8\n80 0 CF\n80 67 CF\n");
}

TEST_F(Output, ATwoColumnBandWrapsAndCutsItsLastRowToTheNextPage)
{
    auto *page = addPage(100);
    auto *band = rows(page, QStringLiteral("Band"), 0, 9, QStringLiteral("[Line#]"), 30);
    band->Columns = 2;
    band->ColumnWidth = 100;
    for (TkvlComponent *c : band->Objects())
        c->SetWidth(100);
    ASSERT_TRUE(run());
    EXPECT_EQ(listing(true).toStdString(), "page 1\n0 0 1\n0 100 2\n30 0 3\n30 100 4\n60 0 5\n60 100 6\n"
                                           "page 2\n0 0 7\n0 100 8\n30 0 9\n");
}

// ---- vertical bands ------------------------------------------------------------------------

class VerticalBands : public Output, public ::testing::WithParamInterface<bool> {};

TEST_P(VerticalBands, CellsRunAcrossPagesWithTheirHeaderReprinted)
{
    const bool endless = GetParam();
    auto *page = addPage();
    page->SetSizeAndDimensions(256, 500 / kvlPixelsPerMm, 1000 / kvlPixelsPerMm);
    page->EndlessWidth = endless;
    auto *header = addBand<TkvlHeader>(page, QStringLiteral("VHeader"), 0);
    header->SetVertical(true);
    header->SetBounds(0, 0, 50, 1000);
    header->ReprintOnNewPage = true;
    auto *cells = addBand<TkvlMasterData>(page, QStringLiteral("VData"), 0);
    cells->SetVertical(true);
    cells->SetBounds(50, 0, 200, 1000);
    cells->SetRowCount(3);
    auto *row = rows(page, QStringLiteral("Row"), 40, 2, {});
    memoAt(row, QStringLiteral("HDR"), 0, 0, 50, 20);
    memoAt(row, QStringLiteral("[Line#]"), 50, 0, 200, 20);

    ASSERT_TRUE(run()) << report.Errors().Text().toStdString();
    if (endless) {
        EXPECT_EQ(listing(true).toStdString(), "page 1\n0 0 HDR\n0 50 1\n0 250 2\n0 450 3\n"
                                               "20 0 HDR\n20 50 1\n20 250 2\n20 450 3\n");
        // Widened by the cell that did not fit.
        EXPECT_NEAR(pages.GetPageSize(0).x(), 700, 2);
    } else {
        EXPECT_EQ(listing(true).toStdString(), "page 1\n0 0 HDR\n0 50 1\n0 250 2\n20 0 HDR\n20 50 1\n20 250 2\n"
                                               "page 2\n0 0 HDR\n0 50 3\n20 0 HDR\n20 50 3\n");
    }
    // The template is as it was.
    EXPECT_EQ(row->ObjectCount(), 2);
    EXPECT_EQ(cells->ObjectCount(), 0);
}

TEST_F(Output, VerticalGroupsPrintTheirHeaderAndFooterCells)
{
    auto *page = addPage();
    page->SetSizeAndDimensions(256, 1000 / kvlPixelsPerMm, 1000 / kvlPixelsPerMm);
    auto vertical = [&](TkvlBand *b, double Left, double Width) {
        b->SetVertical(true);
        b->SetBounds(Left, 0, Width, 1000);
        return b;
    };
    auto *group = static_cast<TkvlGroupHeader *>(vertical(addBand<TkvlGroupHeader>(page, QStringLiteral("VGroup"), 0), 0, 50));
    group->Condition = QStringLiteral("CITY");
    auto *cells = static_cast<TkvlMasterData *>(vertical(addBand<TkvlMasterData>(page, QStringLiteral("VData"), 0), 50, 100));
    cells->SetDataSet(addSource(QStringLiteral("ROWS"), {{1, "Bari", "Gen", 1.0, true},
                                                         {2, "Bari", "Gen", 2.0, true},
                                                         {3, "Roma", "Feb", 3.0, true}}));
    vertical(addBand<TkvlGroupFooter>(page, QStringLiteral("VFooter"), 0), 150, 50);
    auto *row = rows(page, QStringLiteral("Row"), 40, 1, {});
    memoAt(row, QStringLiteral("[CITY]"), 0, 0, 50, 20);
    memoAt(row, QStringLiteral("[ID]"), 50, 0, 100, 20);
    memoAt(row, QStringLiteral("end"), 150, 0, 50, 20);

    ASSERT_TRUE(run()) << report.Errors().Text().toStdString();
    EXPECT_EQ(listing(true).toStdString(),
              "page 1\n0 0 Bari\n0 50 1\n0 150 2\n0 250 end\n0 300 Roma\n0 350 3\n0 450 end\n");
}

// Rows whose vertical cells run onto a page across, under a column footer: the footer comes
// once under the rows of each page, the page across included, also when the rows break to a
// second page.
TEST_F(Output, AColumnFooterComesOnceOnEachPageAcross)
{
    auto *page = addPage();
    page->SetSizeAndDimensions(256, 500 / kvlPixelsPerMm, 60 / kvlPixelsPerMm);
    auto *header = addBand<TkvlHeader>(page, QStringLiteral("VHeader"), 0);
    header->SetVertical(true);
    header->SetBounds(0, 0, 50, 1000);
    header->ReprintOnNewPage = true;
    auto *cells = addBand<TkvlMasterData>(page, QStringLiteral("VData"), 0);
    cells->SetVertical(true);
    cells->SetBounds(50, 0, 200, 1000);
    cells->SetRowCount(3);
    auto *row = rows(page, QStringLiteral("Row"), 40, 3, {});
    memoAt(row, QStringLiteral("R"), 0, 0, 50, 20);
    memoAt(row, QStringLiteral("[Line#]"), 50, 0, 200, 20);
    auto *footer = addBand<TkvlColumnFooter>(page, QStringLiteral("Footer"), 100);
    memoAt(footer, QStringLiteral("CF"), 0, 0, 300, 10);

    ASSERT_TRUE(run()) << report.Errors().Text().toStdString();
    // 60 pixels of page: two rows and the footer's 10.
    EXPECT_EQ(listing(true).toStdString(), "page 1\n0 0 R\n0 50 1\n0 250 2\n20 0 R\n20 50 1\n20 250 2\n40 0 CF\n"
                                           "page 2\n0 0 R\n0 50 3\n20 0 R\n20 50 3\n40 0 CF\n"
                                           "page 3\n0 0 R\n0 50 1\n0 250 2\n20 0 CF\n"
                                           "page 4\n0 0 R\n0 50 3\n20 0 CF\n");
}

INSTANTIATE_TEST_SUITE_P(Width, VerticalBands, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Endless" : "Fixed"; });

// ---- subreports ----------------------------------------------------------------------------

class Subreports : public Output {
protected:
    // A page printed by a subreport: one data band of Rows rows showing Prefix and the line.
    TkvlReportPage *subPage(const QString &Prefix, int Rows)
    {
        auto *p = addPage();
        rows(p, p->Name() + QStringLiteral("Rows"), 0, Rows, Prefix + QStringLiteral("[Line#]"));
        return p;
    }
    TkvlSubreport *subreport(TkvlBand *Band, TkvlReportPage *Page, double Left, double Top)
    {
        auto *s = new TkvlSubreport(Band);
        s->CreateUniqueName();
        s->SetBounds(Left, Top, 100, 20);
        s->SetPage(Page);
        return s;
    }
};

TEST_F(Subreports, OutputGoesOnBelowTheLongerOfTwoSideBySide)
{
    auto *main = addPage(400);
    auto *band = rows(main, QStringLiteral("Main"), 0, 1, {}, 40);
    memoAt(band, QStringLiteral("M"), 0, 0, 200, 20);
    rows(main, QStringLiteral("After"), 100, 1, QStringLiteral("AFTER"));
    subreport(band, subPage(QStringLiteral("a"), 3), 0, 20);
    subreport(band, subPage(QStringLiteral("b"), 25), 100, 20);

    ASSERT_TRUE(run()) << report.Errors().Text().toStdString();
    QString expected = QStringLiteral("page 1\n0 0 M\n");
    for (int i = 1; i <= 19; ++i) {
        const int y = 20 * i;
        if (i <= 3)
            expected += QStringLiteral("%1 0 a%2\n").arg(y).arg(i);
        expected += QStringLiteral("%1 100 b%2\n").arg(y).arg(i);
    }
    expected += QStringLiteral("page 2\n");
    for (int i = 20; i <= 25; ++i)
        expected += QStringLiteral("%1 100 b%2\n").arg(20 * (i - 20)).arg(i);
    expected += QStringLiteral("120 0 AFTER\n");
    EXPECT_EQ(listing(true).toStdString(), expected.toStdString());
}

TEST_F(Subreports, OnTheParentItGrowsTheBandAndLeavesTheTemplateAsItWas)
{
    auto *main = addPage();
    auto *band = rows(main, QStringLiteral("Main"), 0, 1, {}, 40);
    band->Stretched = true;
    memoAt(band, QStringLiteral("P"), 0, 0, 200, 20);
    subreport(band, subPage(QStringLiteral("s"), 3), 0, 20)->PrintOnParent = true;
    rows(main, QStringLiteral("After"), 100, 1, QStringLiteral("AFTER"));

    ASSERT_TRUE(run()) << report.Errors().Text().toStdString();
    EXPECT_EQ(listing().toStdString(), "page 1\n0 P\n20 s1\n40 s2\n60 s3\n80 AFTER\n");
    EXPECT_EQ(band->ObjectCount(), 2);
    EXPECT_EQ(band->Height(), 40);
}

TEST_F(Subreports, ASubreportOfItsOwnPageIsNamedInOneError)
{
    auto *main = addPage();
    auto *band = rows(main, QStringLiteral("Main"), 0, 1, QStringLiteral("M"));
    auto *inner = subPage(QStringLiteral("s"), 2);
    subreport(band, inner, 0, 0);
    auto *self = subreport(static_cast<TkvlBand *>(inner->Object(0)), inner, 100, 0);

    EXPECT_FALSE(run());
    ASSERT_EQ(report.Errors().Count(), 1);
    EXPECT_TRUE(report.Errors()[0].contains(self->Name())) << report.Errors()[0].toStdString();
    EXPECT_EQ(pages.GetCount(), 1);
}

} // namespace
