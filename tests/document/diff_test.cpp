// Attribute text of prepared copies against their template objects.
#include "platform/gfx/picture.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlfactories.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "tests/document/documentfixture.h"

#include <gtest/gtest.h>

namespace {

// A prepared-pages store that only counts the pictures filed with it.
class CountingPages final : public TkvlCustomPreviewPages {
public:
    using TkvlCustomPreviewPages::TkvlCustomPreviewPages;
    int pictures = 0;
    void AddPicture(TkvlView *Picture) override
    {
        ++pictures;
        static_cast<TkvlPictureView *>(Picture)->ImageIndex = pictures;
    }
    int GetCount() override { return 0; }
    TkvlPage *GetPage(int) override { return nullptr; }
    QPoint GetPageSize(int) override { return {}; }
    void Clear() override {}
    void Initialize() override {}
    void AddObject(TkvlComponent *) override {}
    void AddPage(TkvlPage *) override {}
    void AddSourcePage(TkvlPage *) override {}
    void AddToSourcePage(TkvlComponent *) override {}
    void BeginPass() override {}
    void ClearFirstPassPages() override {}
    void CutObjects(int) override {}
    void Finish() override {}
    void IncLogicalPageNumber() override {}
    void ResetLogicalPageNumber() override {}
    void PasteObjects(double, double) override {}
    void ShiftAnchors(int, int) override {}
    bool BandExists(TkvlBand *) override { return false; }
    int GetCurPosition() override { return 0; }
    int GetAnchorCurPosition() override { return 0; }
    double GetLastY(double) override { return 0; }
    int GetLogicalPageNo() override { return 0; }
    int GetLogicalTotalPages() override { return 0; }
    void AddEmptyPage(int) override {}
    void DeletePage(int) override {}
    void ModifyPage(int, TkvlPage *) override {}
    void DrawPage(int, TCanvas *, double, double, double, double) override {}
    void ObjectOver(int, int, int, TMouseButton, TShiftState, double, double, double, int &,
                    TkvlMouseIntEvents) override
    {
    }
    void AddFrom(TkvlReport *) override {}
    void LoadFromStream(TStream &, bool) override {}
    void SaveToStream(TStream &) override {}
    bool LoadFromFile(const QString &, bool) override { return false; }
    void SaveToFile(const QString &) override {}
    bool Print() override { return false; }
    bool Export(TkvlCustomExportFilter *) override { return false; }
};

class DiffTest : public ::testing::Test {
protected:
    DiffTest() { registerReportClassesOnce(); }
    PinnedNumbers numbers{u'.'};
    TkvlReport report{nullptr};
    TkvlReportPage *page = new TkvlReportPage(&report);

    // Views on the page; bands, which the page would place itself, on their own.
    template <class T> std::pair<T *, T *> makePair()
    {
        TComponent *owner = std::is_base_of_v<TkvlBand, T> ? nullptr : page;
        auto *source = new T(owner);
        auto *copy = new T(owner);
        if (!owner) {
            loose.emplace_back(source);
            loose.emplace_back(copy);
        }
        source->SetBounds(10, 20, 100, 30);
        copy->AssignAll(source);
        return {source, copy};
    }
    std::vector<std::unique_ptr<TkvlComponent>> loose;
};

} // namespace

// Each change writes exactly its own attributes.
TEST_F(DiffTest, ViewsWriteWhatChanged)
{
    struct Case {
        const char *name;
        std::function<void(TkvlMemoView &)> change;
        const char *expected;
    };
    const Case cases[] = {
        {"an identical copy", [](TkvlMemoView &) {}, " u=\"\""},
        {"geometry beyond the tolerance only", [](TkvlMemoView &m) { m.SetBounds(12.5, 20.00001, 100, 31); },
         " l=\"12.5\" h=\"31\" u=\"\""},
        {"an automatic width is never written",
         [](TkvlMemoView &m) {
             m.AutoWidth = true;
             m.SetWidth(250);
         },
         " AutoWidth=\"1\" u=\"\""},
        {"a font inherited from the parent is not written",
         [](TkvlMemoView &m) {
             m.Font()->SetColor(255);
             m.SetParentFont(true);
         },
         " u=\"\""},
        {"an own font writes its differences",
         [](TkvlMemoView &m) {
             TFont f;
             f.Assign(m.Font());
             f.SetColor(255);
             f.SetStyle(1);
             m.SetFont(&f);
         },
         " Font.Color=\"255\" Font.Style=\"1\" ParentFont=\"0\" u=\"\""},
        {"a frame-wide width change repeats only a line with its own width",
         [](TkvlMemoView &m) {
             m.Frame()->SetWidth(2);
             m.Frame()->LeftLine()->SetWidth(1);
         },
         " Frame.Width=\"2\" Frame.LeftLine.Width=\"1\" u=\"\""},
        {"a brush turned gradient writes the kind and every gradient setting",
         [](TkvlMemoView &m) { m.SetFillType(ftGradient); },
         " FillType=\"1\" Fill.StartColor=\"16777215\" Fill.EndColor=\"0\" Fill.GradientStyle=\"0\" u=\"\""},
        {"a link's expression is not written, its value is",
         [](TkvlMemoView &m) { m.Hyperlink()->FExpression = QStringLiteral("[X]"); }, " u=\"\""},
        {"a link's value, escaped",
         [](TkvlMemoView &m) { m.Hyperlink()->FValue = QStringLiteral("a<b"); },
         " Hyperlink.Value=\"a&#60;b\" u=\"\""},
        {"whole numbers as digits, others and from 1E15 on in the general format",
         [](TkvlMemoView &m) {
             m.SetBounds(-3, 999999999999999.0, 1e15, 30.25);
             m.SetTag(-7);
         },
         " l=\"-3\" t=\"999999999999999\" w=\"1E15\" h=\"30.25\" Tag=\"-7\" u=\"\""},
        {"text lines and memo settings",
         [](TkvlMemoView &m) {
             m.SetText(QStringLiteral("one\r\ntwo"));
             m.HAlign = haCenter;
             m.WordWrap = false;
         },
         " HAlign=\"2\" u=\"one&#13;&#10;two\" WordWrap=\"0\""},
    };
    for (const Case &c : cases) {
        auto [source, copy] = makePair<TkvlMemoView>();
        c.change(*copy);
        EXPECT_EQ(copy->Diff(source).toStdString(), c.expected) << c.name;
    }
}

TEST_F(DiffTest, BandsAlwaysCarryTheirTopAndNullBandsTheirPlace)
{
    auto [source, copy] = makePair<TkvlMasterData>();
    EXPECT_EQ(copy->Diff(source).toStdString(), " t=\"20\"");
    auto [gs, gc] = makePair<TkvlGroupHeader>();
    gc->DrillDown = true;
    gc->DrillName = QStringLiteral("GroupHeader1.3");
    EXPECT_EQ(gc->Diff(gs).toStdString(), " t=\"20\" DrillName=\"GroupHeader1.3\"");
    auto [ns, nc] = makePair<TkvlNullBand>();
    const QString all = nc->AllDiff(ns);
    EXPECT_TRUE(all.endsWith(QStringLiteral(" l=\"10\" t=\"20\""))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("Height=\"30\""))) << all.toStdString();
}

TEST_F(DiffTest, ShapeAndNumbersInTheUsersFormat)
{
    PinnedNumbers italian(u',');
    auto [source, copy] = makePair<TkvlShapeView>();
    copy->SetLeft(12.5);
    copy->Shape = skEllipse;
    EXPECT_EQ(copy->Diff(source).toStdString(), " l=\"12,5\" Shape=\"" + std::to_string(int(skEllipse)) + "\"");
}

// The split state moves on with each part; each part is diffed once.
TEST_F(DiffTest, MemoPartsCarryTheirParagraphFlags)
{
    auto [source, copy] = makePair<TkvlMemoView>();
    copy->LastParaBreak = true;
    EXPECT_EQ(copy->Diff(source).toStdString(), " u=\"\" LastParaBreak=\"1\"");
    EXPECT_TRUE(copy->FirstParaBreak);
    EXPECT_FALSE(copy->LastParaBreak);
    EXPECT_EQ(copy->Diff(source).toStdString(), " u=\"\" FirstParaBreak=\"1\"");
    EXPECT_EQ(copy->Diff(source).toStdString(), " u=\"\"");
}

TEST_F(DiffTest, ChangedPictureIsFiledOnce)
{
    CountingPages pages(&report);
    report.SetPreviewPages(&pages);
    auto [source, copy] = makePair<TkvlPictureView>();
    copy->Picture()->LoadFromBytes(tinyPng());
    copy->PictureChangedFlag = true;
    EXPECT_EQ(copy->Diff(source).toStdString(), "  ImageIndex=\"1\"");
    EXPECT_EQ(copy->Diff(source).toStdString(), "  ImageIndex=\"1\"");
    EXPECT_EQ(pages.pictures, 1);
    copy->Transparent = true;
    copy->TransparentColor = 0;
    EXPECT_EQ(copy->Diff(source).toStdString(), "  ImageIndex=\"1\" Transparent=\"1\" TransparentColor=\"0\"");
    report.SetPreviewPages(nullptr);
}

// The report makes its prepared-pages store through the start-up slot; an empty slot makes none.
TEST(ReportFactoriesTest, StoreComesFromTheSlot)
{
    registerReportClassesOnce();
    kvlPreviewPagesFactory = [](TkvlReport *r) -> std::unique_ptr<TkvlCustomPreviewPages> {
        return std::make_unique<CountingPages>(r);
    };
    {
        TkvlReport r(nullptr);
        ASSERT_NE(r.MainPreviewPages(), nullptr);
        EXPECT_EQ(r.PreviewPages(), r.MainPreviewPages());
        EXPECT_EQ(r.MainPreviewPages()->Report, &r);
        EXPECT_EQ(r.Engine(), nullptr);
    }
    kvlPreviewPagesFactory = nullptr;
    TkvlReport bare(nullptr);
    EXPECT_EQ(bare.PreviewPages(), nullptr);
}
