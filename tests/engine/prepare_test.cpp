// A whole preparation with nothing stood in: the report's script evaluates the template's
// expressions, the aggregate list gives the group totals, the prepared-pages store keeps the
// pages, and the pages are read back from the store.
#include "engine/run/kvlengine.h"
#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldbdataset.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/bands/kvlband.h"
#include "platform/rtl/stream.h"
#include "report/resources/kvlresources.h"
#include "script/grammar/qsgrammars.h"
#include "platform/ui/fakes.h"
#include "tests/dataset/memdataset.h"
#include "tests/engine/pagelisting.h"
#include "tests/testsupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <map>

namespace {

void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        qsRegisterStandardLanguages();
        kvlRegisterBandEngine();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)done;
}

class Prepare : public ::testing::TestWithParam<bool> {};

TEST_P(Prepare, TheGroupListComesOutOfTheStoreWithItsTotals)
{
    registerOnce();
    ui::FakeServices fakes;
    const bool doublePass = GetParam();
    MemDataSet data;
    data.columns = {{QStringLiteral("ID"), TFieldType::ftInteger},
                    {QStringLiteral("CITY"), TFieldType::ftString},
                    {QStringLiteral("MONTH"), TFieldType::ftString},
                    {QStringLiteral("AMOUNT"), TFieldType::ftFloat},
                    {QStringLiteral("FLAG"), TFieldType::ftBoolean}};
    data.rows = {{1, "Bari", "Gen", 10.0, true}, {2, "Bari", "Gen", 20.0, true}, {3, "Bari", "Feb", 5.0, true},
                 {4, "Roma", "Feb", 7.0, true},  {5, "Roma", "Mar", 1.0, true},  {6, "Roma", "Mar", 2.0, true}};

    TkvlReport report{nullptr};
    ASSERT_NE(report.Engine(), nullptr);
    ASSERT_NE(report.PreviewPages(), nullptr);
    // The record source belongs to the host, as the calendar's data module's do.
    TkvlDBDataset source(nullptr);
    source.SetName(QStringLiteral("fEVENTS"));
    source.SetUserName(QStringLiteral("EVENTS"));
    source.SetDataSet(&data);
    report.LoadFromFile(testsupport::dataFile(QStringLiteral("engine/grouplist-fields.kv3")), true);
    ASSERT_EQ(report.Errors().Count(), 0) << report.Errors().Text().toStdString();
    report.DataSets()->Add(&source);
    report.EngineOptions()->DoublePass = doublePass;

    const bool prepared = report.PrepareReport();
    QStringList shown;
    for (const ui::MessageRequest &m : fakes.messages.shown)
        shown << m.text;
    ASSERT_TRUE(prepared) << shown.join(u'\n').toStdString();
    EXPECT_TRUE(shown.isEmpty()) << shown.join(u'\n').toStdString();

    QFile f(testsupport::dataFile(QStringLiteral("engine/grouplist-pages.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString expected = QString::fromUtf8(f.readAll());
    expected.replace(QStringLiteral("TOTAL"), doublePass ? QStringLiteral("3") : QStringLiteral("0"));
    EXPECT_EQ(pageListing(*report.PreviewPages()).toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Passes, Prepare, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Double" : "Single"; });

// One template page of endless height printed three times, each time with one more line: each
// prepared page keeps the height of its own content, also after the pages are saved and read back.
TEST(PrepareEndless, EachPageOfOneTemplatePageKeepsItsOwnHeight)
{
    registerOnce();
    ui::FakeServices fakes;
    TkvlReport report{nullptr};
    auto *page = new TkvlReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetSizeAndDimensions(256, 200 / kvlPixelsPerMm, 100 / kvlPixelsPerMm);
    page->LeftMargin = page->RightMargin = 0;
    page->TopMargin = page->BottomMargin = 5;
    page->EndlessHeight = true;
    page->SetPageCount(3);
    auto *line = new TkvlChild(page);
    line->SetName(QStringLiteral("Line"));
    line->SetBounds(0, 0, 200, 20);
    auto *memo = new TkvlMemoView(line);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 0, 200, 20);
    memo->SetText(QStringLiteral("x"));
    int built = 0;
    report.Engine()->OnManualBuild = [&](TkvlPage *) {
        ++built;
        for (int i = 0; i < built; ++i)
            report.Engine()->ShowBand(line);
    };

    ASSERT_TRUE(report.PrepareReport());
    auto *store = static_cast<TkvlPreviewPages *>(report.PreviewPages());
    ASSERT_EQ(store->GetCount(), 3);
    const auto heights = [&] {
        std::vector<int> h;
        for (int i = 0; i < store->GetCount(); ++i)
            h.push_back(store->GetPageSize(i).y());
        return h;
    };
    // 20 pixels a line and 10 mm of margins (37.8 pixels).
    const std::vector<int> expected{58, 78, 98};
    EXPECT_EQ(heights(), expected);
    TMemoryStream s;
    store->SaveToStream(s);
    s.Seek(0, soBeginning);
    store->LoadFromStream(s);
    EXPECT_EQ(heights(), expected);
    EXPECT_EQ(pageListing(*store).count(QStringLiteral(" x\n")), 6);
}

} // namespace
