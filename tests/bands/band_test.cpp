#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/appearance/frame.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/data/kvldataset.h"
#include "report/memo/kvlmemo.h"
#include "report/resources/kvlresources.h"

#include <gtest/gtest.h>
#include <memory>

// A page laid out on a character grid.
class TGridPage : public TkvlPage {
    LIRRA_CLASS(TGridPage, TkvlPage)
public:
    using TkvlPage::TkvlPage;
    bool GetCellSize(double &CellWidth, double &CellHeight) const override
    {
        CellWidth = 9.6;
        CellHeight = 16;
        return true;
    }
};

LIRRA_DEFINE_CLASS(TGridPage)
void TGridPage::DeclareClass(rtl::ClassBuilder<TGridPage> &) {}

namespace {

struct Report {
    std::unique_ptr<TkvlReport> report = std::make_unique<TkvlReport>(nullptr);
    TkvlPage *page = new TkvlPage(report.get());
    template <class B> B *band(const char *name = nullptr, TkvlComponent *parent = nullptr)
    {
        auto *b = new B(parent ? parent : page);
        if (name)
            b->SetName(QString::fromLatin1(name));
        return b;
    }
};

TEST(Band, NumberAndNameOfEveryKind)
{
    kvlInitResources();
    struct Case {
        const rtl::ClassInfo *cls;
        int number;
        const char *name;
    } cases[] = {
        {TkvlReportTitle::StaticClass(), 0, "ReportTitle"},
        {TkvlReportSummary::StaticClass(), 1, "ReportSummary"},
        {TkvlPageHeader::StaticClass(), 2, "PageHeader"},
        {TkvlPageFooter::StaticClass(), 3, "PageFooter"},
        {TkvlHeader::StaticClass(), 4, "Header"},
        {TkvlFooter::StaticClass(), 5, "Footer"},
        {TkvlMasterData::StaticClass(), 6, "MasterData"},
        {TkvlDetailData::StaticClass(), 7, "DetailData"},
        {TkvlSubdetailData::StaticClass(), 8, "SubdetailData"},
        {TkvlDataBand4::StaticClass(), 9, "Data4"},
        {TkvlDataBand5::StaticClass(), 10, "Data5"},
        {TkvlDataBand6::StaticClass(), 11, "Data6"},
        {TkvlGroupHeader::StaticClass(), 12, "GroupHeader"},
        {TkvlGroupFooter::StaticClass(), 13, "GroupFooter"},
        {TkvlChild::StaticClass(), 14, "Child"},
        {TkvlColumnHeader::StaticClass(), 15, "ColumnHeader"},
        {TkvlColumnFooter::StaticClass(), 16, "ColumnFooter"},
        {TkvlOverlay::StaticClass(), 17, "Overlay"},
        {TkvlNullBand::StaticClass(), 0, "Null"},
        {TkvlDataBand::StaticClass(), 0, "Data"},
    };
    Report r;
    for (const Case &c : cases) {
        std::unique_ptr<TPersistent> obj(c.cls->create(r.page));
        auto *band = rtl_cast<TkvlBand>(obj.get());
        ASSERT_NE(band, nullptr) << c.name;
        EXPECT_EQ(band->BandNumber(), c.number) << c.name;
        EXPECT_EQ(band->BandName(), QString::fromLatin1(c.name));
        EXPECT_EQ(band->GetDescription(), kvlResourceText(band->Is<TkvlDataBand>() ? QStringLiteral("obDataBand")
                                                                                    : QStringLiteral("obBand")));
    }
}

TEST(Band, PublishedPropertiesInTemplateOrder)
{
    auto names = [](const rtl::ClassInfo *c) {
        QStringList out;
        for (const rtl::PropInfo *p : c->props())
            out << p->name();
        return out.join(QLatin1Char(' '));
    };
    const QString common = QStringLiteral(
        "Name Tag Description FillType Fill FillGap Frame Font Height Left ParentFont Restrictions Top Vertical "
        "Visible Width OnAfterCalcHeight OnAfterPrint OnBeforePrint");
    EXPECT_EQ(names(TkvlPageFooter::StaticClass()), common + QStringLiteral(" PrintOnFirstPage PrintOnLastPage"));
    EXPECT_EQ(names(TkvlChild::StaticClass()),
              common + QStringLiteral(" AllowSplit Child KeepChild PrintChildIfInvisible StartNewPage Stretched"));
    EXPECT_EQ(names(TkvlMasterData::StaticClass()),
              common
                  + QStringLiteral(" AllowSplit Child Columns ColumnWidth ColumnGap DataSet DataSetName "
                                   "FooterAfterEach Filter KeepChild KeepFooter KeepHeader KeepTogether OutlineText "
                                   "PrintChildIfInvisible PrintIfDetailEmpty RowCount StartNewPage Stretched "
                                   "OnMasterDetail"));
    EXPECT_EQ(names(TkvlNullBand::StaticClass()), common);
    const rtl::PropInfo *child = TkvlHeader::StaticClass()->findProp(u"Child");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->allowedClass(), TkvlChild::StaticClass());
    // Defaults that templates leave out.
    Report r;
    auto *header = r.band<TkvlPageHeader>();
    auto *footer = r.band<TkvlPageFooter>();
    EXPECT_TRUE(header->PrintOnFirstPage);
    EXPECT_TRUE(footer->PrintOnFirstPage && footer->PrintOnLastPage);
    EXPECT_EQ(header->OriginalObjectsCount, -1);
    EXPECT_EQ(header->FillType(), ftBrush);
}

TEST(Band, ChildChainRefusesLoops)
{
    kvlInitResources();
    Report r;
    auto *a = r.band<TkvlChild>("A");
    auto *b = r.band<TkvlChild>("B");
    auto *c = r.band<TkvlChild>("C");
    auto *title = r.band<TkvlReportTitle>("Title");
    title->SetChild(a);
    a->SetChild(b);
    b->SetChild(c);
    struct Case {
        TkvlBand *band;
        TkvlChild *child;
    } loops[] = {{c, a}, {b, a}, {a, a}, {c, c}};
    for (const Case &l : loops) {
        TkvlChild *before = l.band->Child();
        try {
            l.band->SetChild(l.child);
            ADD_FAILURE() << "no error for " << l.band->Name().toStdString();
        } catch (const EComponentError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Circular child reference is not allowed"));
        }
        EXPECT_EQ(l.band->Child(), before);
    }
    // A chain that does not come back is fine; a freed child leaves no dangling link.
    c->SetChild(nullptr);
    title->SetChild(c);
    EXPECT_EQ(title->Child(), c);
    delete c;
    EXPECT_EQ(title->Child(), nullptr);
    EXPECT_EQ(b->Child(), nullptr);
}

TEST(Band, DataBandWithoutSourceCountsRows)
{
    Report r;
    auto *band = r.band<TkvlMasterData>();
    band->SetRowCount(3);
    TkvlUserDataSet *src = band->VirtualDataSet();
    ASSERT_NE(src, nullptr);
    int rows = 0;
    src->Open();
    for (src->First(); !src->Eof() && rows < 100; src->Next())
        ++rows;
    EXPECT_EQ(rows, 3);
}

TEST(Band, CurrentColumnMovesTheBand)
{
    Report r;
    auto *band = r.band<TkvlMasterData>();
    band->Columns = 3;
    band->ColumnWidth = 200;
    band->ColumnGap = 10;
    struct Case {
        int set, column;
        double left;
    } cases[] = {{1, 1, 0}, {2, 2, 210}, {3, 3, 420}, {4, 1, 0}, {7, 1, 0}};
    for (const Case &c : cases) {
        band->MaxY = 55;
        band->SetCurColumn(c.set);
        EXPECT_EQ(band->CurColumn(), c.column) << c.set;
        EXPECT_DOUBLE_EQ(band->Left(), c.left) << c.set;
        EXPECT_EQ(band->MaxY, c.column == 1 ? 0 : 55) << c.set;
    }
}

TEST(Band, SnapsToTheCharacterGridOfItsPage)
{
    TkvlReport report(nullptr);
    auto *grid = new TGridPage(&report);
    auto *plain = new TkvlPage(&report);
    auto *onGrid = new TkvlHeader(grid);
    auto *free = new TkvlHeader(plain);
    struct Case {
        double value, left, topAndHeight;
    } cases[] = {
        {30, 28.8, 32}, {24, 19.2, 32} /* 2.5 and 1.5 cells: to even */, {8, 9.6, 0} /* half a cell: to even */, {50, 48, 48},
    };
    for (const Case &c : cases) {
        onGrid->SetLeft(c.value);
        onGrid->SetTop(c.value);
        onGrid->SetHeight(c.value);
        EXPECT_DOUBLE_EQ(onGrid->Left(), c.left) << c.value;
        EXPECT_DOUBLE_EQ(onGrid->Top(), c.topAndHeight) << c.value;
        EXPECT_DOUBLE_EQ(onGrid->Height(), c.topAndHeight) << c.value;
        free->SetBounds(c.value, c.value, c.value, c.value);
        EXPECT_EQ(free->Height(), c.value);
    }
}

TEST(Band, FillMemoCarriesTheBackground)
{
    struct Case {
        const char *what;
        bool null, white, frame, gradient;
        bool memo;
    } cases[] = {
        {"white brush", false, true, false, false, true},
        {"frame on one side only", false, false, true, false, true},
        {"gradient", false, false, false, true, true},
        {"default background", false, false, false, false, false},
        {"null band", true, true, true, false, false},
    };
    for (const Case &c : cases) {
        Report r;
        TkvlBand *band = c.null ? static_cast<TkvlBand *>(r.band<TkvlNullBand>()) : r.band<TkvlHeader>();
        band->SetBounds(0, 0, 500, 40);
        auto *view = new TkvlMemoView(band);
        if (c.white)
            static_cast<TkvlBrushFill *>(band->Fill())->FBackColor = 0xFFFFFF;
        if (c.frame)
            band->Frame()->SetTyp(kvlFrameBit(ftBottom));
        if (c.gradient)
            band->SetFillType(ftGradient);
        band->CreateFillMemo();
        TkvlMemoView *memo = band->FillMemo();
        ASSERT_EQ(memo != nullptr, c.memo) << c.what;
        if (!memo) {
            EXPECT_EQ(band->ObjectCount(), 1) << c.what;
            continue;
        }
        // Beneath the band's own objects, with the band's background and frame.
        EXPECT_EQ(band->Objects(), (std::vector<TkvlComponent *>{memo, view})) << c.what;
        EXPECT_EQ(memo->FillType(), band->FillType()) << c.what;
        EXPECT_EQ(memo->Frame()->Typ(), band->Frame()->Typ()) << c.what;
        if (!c.gradient) {
            EXPECT_EQ(memo->Color(), c.white ? 0xFFFFFF : clNone) << c.what;
        }
        EXPECT_EQ((TkvlRect{memo->Left(), memo->Top(), memo->Width(), memo->Height()}), (TkvlRect{0, 0, 500, 40}))
            << c.what;
    }
}

TEST(Band, FillMemoLessGapsMadeOnceAndDisposed)
{
    Report r;
    auto *band = r.band<TkvlHeader>();
    band->SetBounds(0, 0, 500, 40);
    static_cast<TkvlBrushFill *>(band->Fill())->FBackColor = 0xFFFFFF;
    band->FillGap()->Left = 10;
    band->FillGap()->Right = 20;
    band->FillGap()->Top = 3;
    band->FillGap()->Bottom = 5;
    band->CreateFillMemo();
    TkvlMemoView *memo = band->FillMemo();
    ASSERT_NE(memo, nullptr);
    // At the top-left gaps, the band's size less the gaps on both sides.
    EXPECT_EQ((TkvlRect{memo->Left(), memo->Top(), memo->Width(), memo->Height()}), (TkvlRect{10, 3, 470, 32}));
    EXPECT_EQ(memo->Owner(), r.report.get());

    // A second pass takes the band's new size into the same memo.
    band->SetHeight(60);
    band->CreateFillMemo();
    EXPECT_EQ(band->FillMemo(), memo);
    EXPECT_EQ(band->ObjectCount(), 1);
    EXPECT_EQ(memo->Height(), 52);

    band->DisposeFillMemo();
    EXPECT_EQ(band->FillMemo(), nullptr);
    EXPECT_EQ(band->ObjectCount(), 0);
    // A memo freed with the band's children leaves no dangling link.
    band->CreateFillMemo();
    band->Clear();
    EXPECT_EQ(band->FillMemo(), nullptr);
    band->DisposeFillMemo();
}

TEST(Band, FillKindFollowsTheAssignedFill)
{
    Report r;
    auto *band = r.band<TkvlHeader>();
    TkvlGlassFill glass;
    glass.FColor = 0x123456;
    band->SetFill(&glass);
    EXPECT_EQ(band->FillType(), ftGlass);
    ASSERT_EQ(kvlGetFillType(band->Fill()), ftGlass);
    EXPECT_EQ(static_cast<TkvlGlassFill *>(band->Fill())->FColor, 0x123456);
    band->SetFillType(ftBrush);
    EXPECT_EQ(kvlGetFillType(band->Fill()), ftBrush);
    EXPECT_EQ(static_cast<TkvlBrushFill *>(band->Fill())->FBackColor, clNone);
}

} // namespace
