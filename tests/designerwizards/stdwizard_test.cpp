// The standard report wizard's rules without its window: field lists, column widths, the
// report Finish lays out, the style sheet and the empty reports.
#include "designer/core/stdwizard.h"
#include "tests/designerwizards/wizardfixture.h"
#include "tests/document/documentfixture.h"

#include "report/bands/kvlband.h"
#include "report/data/kvldatasetlist.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/styles/kvlstyles.h"
#include "platform/gfx/tfont.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr double u = 3.77953;
// A page 100 mm wide with 10 mm margins: 80 mm printable.
const double W = 80 * 96 / 25.4;

// Names are 10 pixels a character, data 5.
double fakeMeasure(TkvlCustomMemoView &, bool Header, const QString &Text)
{
    return Text.size() * (Header ? 10.0 : 5.0);
}

template <class T>
std::vector<T *> childrenOf(TkvlComponent *Parent)
{
    std::vector<T *> out;
    for (TkvlComponent *c : Parent->Objects())
        if (auto *t = rtl_cast<T>(c))
            out.push_back(t);
    return out;
}

struct Rect {
    double l, t, w, h;
};

void expectRect(const TkvlComponent *c, Rect r)
{
    EXPECT_NEAR(c->Left(), r.l, 1e-6) << c->Name().toStdString();
    EXPECT_NEAR(c->Top(), r.t, 1e-6) << c->Name().toStdString();
    EXPECT_NEAR(c->Width(), r.w, 1e-6) << c->Name().toStdString();
    EXPECT_NEAR(c->Height(), r.h, 1e-6) << c->Name().toStdString();
}

class StdWizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerReportClassesOnce();
        kvlLoadWizardStyleSheet(sheet, dir.path());
    }

    TkvlReportPage *emptyPage(bool DotMatrix = false)
    {
        kvlMakeEmptyReport(nullptr, report, DotMatrix);
        auto *page = rtl_cast<TkvlReportPage>(report.Object(1));
        page->SetOrientation(poPortrait);
        page->SetPaperWidth(100);
        page->SetPaperHeight(200);
        page->LeftMargin = page->RightMargin = 10;
        return page;
    }

    TkvlBand *band(TkvlReportPage *Page, const rtl::ClassInfo *Kind, int Nth = 0)
    {
        for (TkvlComponent *c : Page->Objects())
            if (c->ClassType() == Kind && Nth-- == 0)
                return static_cast<TkvlBand *>(c);
        return nullptr;
    }

    TkvlStdWizardChoice choice(TkvlDataSet *Source, QStringList Fields)
    {
        TkvlStdWizardChoice c;
        c.DataSet = Source;
        c.Fields = std::move(Fields);
        c.Styles = sheet.Items(0);
        return c;
    }

    QTemporaryDir dir;
    TkvlStyleSheet sheet;
    TkvlReport report{nullptr};
};

} // namespace

TEST(WizardColumns, FitTable)
{
    struct Case {
        const char *name;
        std::vector<TkvlWizardColumn> in;
        double page;
        bool fit;
        std::vector<double> widths;
    };
    const Case cases[] = {
        // Names alone (300) are wider than the page: each name scaled by 200 / 300.
        {"names overflow", {{100, 50}, {200, 300}}, 200, true, {200.0 / 3, 400.0 / 3}},
        // Names fit (100 of 150); only the first column's data is wider than its name, so it
        // gives up the whole 50 of excess; the tie on the second keeps its width.
        {"only data overflows", {{50, 150}, {50, 50}}, 150, true, {100, 50}},
        // Two columns with excess 60 and 20 share a cut of 40 as 3 : 1.
        {"excess shared", {{40, 100}, {40, 60}, {80, 10}}, 200, true, {70, 50, 80}},
        {"no fit asked", {{50, 150}, {50, 50}}, 150, false, {150, 50}},
        {"already fits", {{50, 150}, {50, 50}}, 250, true, {150, 50}},
    };
    for (const Case &c : cases) {
        std::vector<TkvlWizardColumn> cols = c.in;
        kvlFitWizardColumns(cols, c.page, c.fit);
        double total = 0;
        for (size_t i = 0; i < cols.size(); ++i) {
            EXPECT_NEAR(cols[i].Width, c.widths[i], 1e-9) << c.name << " column " << i;
            total += cols[i].Width;
        }
        if (c.fit && std::string(c.name) != "already fits") {
            EXPECT_NEAR(total, c.page, 1e-9) << c.name;
        }
    }
}

TEST(WizardFields, ListRules)
{
    FixtureSource src(QStringLiteral("Customers"), {"A", "B", "C", "D"}, {1, 1, 1, 1});
    TkvlStdWizardFields f;
    f.SetSource(&src);
    EXPECT_EQ(f.Fields(), QStringList({"A", "B", "C", "D"}));

    // Rows given out of order move in list order; the first moved row's place is current.
    EXPECT_EQ(f.AddFields({3, 1}), 1);
    EXPECT_EQ(f.Selected(), QStringList({"B", "D"}));
    EXPECT_EQ(f.Fields(), QStringList({"A", "C"}));
    // The last entry moved: the current row falls back to the new last one.
    EXPECT_EQ(f.AddFields({1}), 0);
    EXPECT_EQ(f.Available(), QStringList({"B", "D", "C"}));

    // Groups come out of the available fields; a removed group becomes the last column.
    EXPECT_EQ(f.AddGroup(0), 0);
    EXPECT_EQ(f.AddGroup(1), 0);
    EXPECT_EQ(f.Groups(), QStringList({"B", "C"}));
    EXPECT_EQ(f.MoveGroup(0, 1), 1);
    EXPECT_EQ(f.Groups(), QStringList({"C", "B"}));
    EXPECT_EQ(f.RemoveGroup(0), 0);
    EXPECT_EQ(f.Available(), QStringList({"D", "C"}));
    EXPECT_EQ(f.Groups(), QStringList({"B"}));

    // Any change of the selected fields discards the groups.
    f.AddFields({0});
    EXPECT_TRUE(f.Groups().isEmpty());
    EXPECT_EQ(f.Available(), QStringList({"B", "D", "C", "A"}));
    f.AddGroup(0);
    EXPECT_EQ(f.MoveField(0, -1), 0);  // nothing above the first
    EXPECT_EQ(f.Groups(), QStringList({"B"}));
    EXPECT_EQ(f.MoveField(0, 1), 1);
    EXPECT_TRUE(f.Groups().isEmpty());
    EXPECT_EQ(f.Selected(), QStringList({"D", "B", "C", "A"}));

    // All fields come back in the source's order.
    f.RemoveAllFields();
    f.AddFields({2});
    f.AddAllFields();
    EXPECT_EQ(f.Selected(), QStringList({"A", "B", "C", "D"}));
    EXPECT_TRUE(f.Fields().isEmpty());
    EXPECT_EQ(f.RemoveFields({0, 3}), 0);
    EXPECT_EQ(f.Fields(), QStringList({"A", "D"}));
}

TEST_F(StdWizardTest, TabularRowsWithoutFit)
{
    TkvlReportPage *page = emptyPage();
    // Names of 12 characters (120 px) over data of 10 (50 px): two columns a row on 302 px;
    // the last field's data (400 px) is wider than the page and takes a row of its own.
    FixtureSource src(QStringLiteral("Customers"), {"CompanyName1", "CompanyName2", "CompanyName3", "Notes"},
                      {10, 10, 10, 80});
    TkvlStdWizardChoice c = choice(&src, {"CompanyName1", "CompanyName2", "CompanyName3", "Notes"});
    c.FitWidth = false;
    FakeDesigner designer(&report);
    kvlStdWizardFinish(&designer, report, c, fakeMeasure);
    EXPECT_EQ(designer.locks, 1);
    EXPECT_EQ(designer.reloads, 1);

    TkvlBand *header = band(page, TkvlPageHeader::StaticClass());
    ASSERT_TRUE(header);
    auto hm = childrenOf<TkvlCustomMemoView>(header);
    ASSERT_EQ(hm.size(), 5u);
    expectRect(header, {0, 30, W, 3 * 6 * u});
    expectRect(hm[0], {0, 0, W, 3 * 6 * u});  // the header line takes the band's height
    EXPECT_EQ(hm[0]->Style(), QStringLiteral("Header line"));
    expectRect(hm[1], {0, 0, 120, 6 * u});
    expectRect(hm[2], {120, 0, 120, 6 * u});
    expectRect(hm[3], {0, 6 * u, 120, 6 * u});
    expectRect(hm[4], {0, 12 * u, 400, 6 * u});
    EXPECT_EQ(hm[4]->Text().trimmed(), QStringLiteral("Notes"));

    TkvlBand *data = band(page, TkvlMasterData::StaticClass());
    ASSERT_TRUE(data);
    EXPECT_NEAR(data->Top(), 30 + 3 * 6 * u, 1e-6);
    EXPECT_NEAR(data->Height(), 3 * 5 * u, 1e-6);
    auto dm = childrenOf<TkvlCustomMemoView>(data);
    ASSERT_EQ(dm.size(), 4u);
    expectRect(dm[1], {120, 0, 120, 5 * u});
    expectRect(dm[2], {0, 5 * u, 120, 5 * u});
    expectRect(dm[3], {0, 10 * u, 400, 5 * u});
    EXPECT_EQ(dm[3]->DataField, QStringLiteral("Notes"));
    EXPECT_EQ(dm[3]->DataSet(), &src);
    EXPECT_EQ(rtl_cast<TkvlMasterData>(data)->DataSet(), &src);
}

TEST_F(StdWizardTest, FirstFieldWiderThanPageStartsOnSecondRow)
{
    TkvlReportPage *page = emptyPage();
    FixtureSource src(QStringLiteral("S"), {"Notes"}, {80});
    TkvlStdWizardChoice c = choice(&src, {"Notes"});
    c.FitWidth = false;
    kvlStdWizardFinish(nullptr, report, c, fakeMeasure);
    auto hm = childrenOf<TkvlCustomMemoView>(band(page, TkvlPageHeader::StaticClass()));
    expectRect(hm[1], {0, 6 * u, 400, 6 * u});
    auto dm = childrenOf<TkvlCustomMemoView>(band(page, TkvlMasterData::StaticClass()));
    expectRect(dm[0], {0, 5 * u, 400, 5 * u});
}

TEST_F(StdWizardTest, FitFillsThePageExactly)
{
    TkvlReportPage *page = emptyPage();
    struct Case {
        const char *name;
        QStringList fields;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"even the names overflow", {"AAAAAAAAAAAAAAAAAAAA", "BBBBBBBBBBBBBBBBBBBB"}, {1, 1}},  // 2 x 200 px
        {"only data overflows", {"Id", "Description"}, {4, 100}},
    };
    for (const Case &k : cases) {
        emptyPage();
        page = rtl_cast<TkvlReportPage>(report.Object(1));
        FixtureSource src(QStringLiteral("S"), k.fields, k.widths);
        kvlStdWizardFinish(nullptr, report, choice(&src, k.fields), fakeMeasure);
        auto dm = childrenOf<TkvlCustomMemoView>(band(page, TkvlMasterData::StaticClass()));
        ASSERT_EQ(dm.size(), 2u) << k.name;
        EXPECT_NEAR(dm[0]->Width() + dm[1]->Width(), W, 1e-6) << k.name;
        EXPECT_NEAR(dm[1]->Left(), dm[0]->Width(), 1e-6) << k.name;
        EXPECT_NEAR(dm[1]->Top(), 0, 1e-6) << k.name << ": one row";
    }
    // Names fit: "Id" keeps its own 20 px (its data, 20 px, is no wider).
    auto dm = childrenOf<TkvlCustomMemoView>(band(page, TkvlMasterData::StaticClass()));
    EXPECT_NEAR(dm[0]->Width(), 20, 1e-6);
}

TEST_F(StdWizardTest, ColumnarGroupsAndFooters)
{
    TkvlReportPage *page = emptyPage();
    FixtureSource src(QStringLiteral("Customers"), {"Company", "City", "Site", "Phone"}, {20, 10, 8, 12});
    TkvlStdWizardChoice c = choice(&src, {"Company", "Phone"});
    c.Groups = {"Site", "City"};
    c.Columnar = true;
    kvlStdWizardFinish(nullptr, report, c, fakeMeasure);

    EXPECT_FALSE(band(page, TkvlPageHeader::StaticClass())) << "no column header in columnar layout";
    auto *g0 = rtl_cast<TkvlGroupHeader>(band(page, TkvlGroupHeader::StaticClass(), 0));
    auto *g1 = rtl_cast<TkvlGroupHeader>(band(page, TkvlGroupHeader::StaticClass(), 1));
    ASSERT_TRUE(g0 && g1);
    EXPECT_EQ(g0->Condition, QStringLiteral("Customers.\"Site\""));
    EXPECT_EQ(g1->Condition, QStringLiteral("Customers.\"City\""));
    EXPECT_NEAR(g0->Top(), 30, 1e-6);
    EXPECT_NEAR(g1->Top(), 60, 1e-6);
    auto gm = childrenOf<TkvlCustomMemoView>(g0);
    ASSERT_EQ(gm.size(), 1u);
    EXPECT_EQ(gm[0]->DataField, QStringLiteral("Site"));
    EXPECT_EQ(gm[0]->Style(), QStringLiteral("Group header"));

    TkvlBand *data = band(page, TkvlMasterData::StaticClass());
    EXPECT_NEAR(data->Top(), 90, 1e-6);
    EXPECT_NEAR(data->Height(), 3 * 5 * u, 1e-6) << "one row more than the fields need";
    auto dm = childrenOf<TkvlCustomMemoView>(data);
    ASSERT_EQ(dm.size(), 4u);
    const double hMax = 70;  // "Company"
    expectRect(dm[0], {0, 0, hMax, 5 * u});
    expectRect(dm[1], {5 * u + hMax, 0, 100, 5 * u});
    expectRect(dm[2], {0, 5 * u, hMax, 5 * u});
    expectRect(dm[3], {5 * u + hMax, 5 * u, 60, 5 * u});
    EXPECT_EQ(dm[2]->Text().trimmed(), QStringLiteral("Phone"));
    EXPECT_EQ(dm[3]->DataField, QStringLiteral("Phone"));

    TkvlBand *f0 = band(page, TkvlGroupFooter::StaticClass(), 0);
    TkvlBand *f1 = band(page, TkvlGroupFooter::StaticClass(), 1);
    ASSERT_TRUE(f0 && f1);
    EXPECT_NEAR(f0->Top(), 1000, 1e-6);
    EXPECT_NEAR(f1->Top(), 970, 1e-6);
    EXPECT_TRUE(f0->Objects().empty());
}

TEST_F(StdWizardTest, TitleFooterNamesAndStyles)
{
    TkvlReportPage *page = emptyPage();
    FixtureSource src(QStringLiteral("Customers"), {"Company"}, {10});
    report.FileName = QStringLiteral("/tmp/old.kv3");
    kvlStdWizardFinish(nullptr, report, choice(&src, {"Company"}), fakeMeasure);
    EXPECT_TRUE(report.FileName.isEmpty());
    ASSERT_EQ(report.DataSets()->Count(), 1);
    EXPECT_EQ(report.DataSets()->Items(0)->DataSet(), &src);

    TkvlBand *title = band(page, TkvlReportTitle::StaticClass());
    expectRect(title, {0, 0, W, 7 * u});
    auto tm = childrenOf<TkvlCustomMemoView>(title);
    ASSERT_EQ(tm.size(), 1u);
    EXPECT_EQ(tm[0]->Text().trimmed(), QStringLiteral("Report"));
    EXPECT_EQ(tm[0]->HAlign, haCenter);
    EXPECT_EQ(tm[0]->VAlign, vaCenter);
    // The style set reached the report and its memos.
    ASSERT_TRUE(report.Styles().Find(QStringLiteral("Title")));
    EXPECT_EQ(tm[0]->Font()->Height(), -16);
    EXPECT_TRUE(tm[0]->Font()->Style() & FontStyleBit(fsBold));

    TkvlBand *footer = band(page, TkvlPageFooter::StaticClass());
    expectRect(footer, {0, 1000, W, 7 * u});
    auto fm = childrenOf<TkvlCustomMemoView>(footer);
    ASSERT_EQ(fm.size(), 3u);
    EXPECT_EQ(fm[0]->Frame()->Typ(), kvlFrameBit(ftTop));
    EXPECT_EQ(fm[0]->Frame()->Width(), 2);
    EXPECT_EQ(fm[1]->Text().trimmed(), QStringLiteral("[Date] [Time]"));
    EXPECT_TRUE(fm[1]->AutoWidth);
    EXPECT_EQ(fm[2]->Text().trimmed(), QStringLiteral("Page [Page#]"));
    EXPECT_EQ(fm[2]->Align(), baRight);
    EXPECT_EQ(fm[2]->HAlign, haRight);
    EXPECT_NEAR(fm[2]->Width(), 2 * 37.7953, 1e-6);
    EXPECT_NEAR(fm[2]->Left() + fm[2]->Width(), W, 1e-6);

    QSet<QString> names;
    for (TkvlComponent *c : report.GetAllObjects()) {
        EXPECT_FALSE(c->Name().isEmpty());
        EXPECT_FALSE(names.contains(c->Name().toLower())) << c->Name().toStdString();
        names.insert(c->Name().toLower());
    }
}

TEST_F(StdWizardTest, DotMatrixAndNoSource)
{
    // Dot-matrix: dot-matrix page and memos, no header line, no styles.
    kvlMakeEmptyReport(nullptr, report, true);
    auto *page = rtl_cast<TkvlDMPPage>(report.Object(1));
    ASSERT_TRUE(page);
    FixtureSource src(QStringLiteral("S"), {"A", "B"}, {3, 3});
    TkvlStdWizardChoice c = choice(&src, {"A", "B"});
    c.DotMatrix = true;
    kvlStdWizardFinish(nullptr, report, c, fakeMeasure);
    EXPECT_TRUE(report.DotMatrixReport);
    EXPECT_EQ(report.Styles().Count(), 0);
    auto hm = childrenOf<TkvlCustomMemoView>(band(page, TkvlPageHeader::StaticClass()));
    ASSERT_EQ(hm.size(), 2u);
    for (TkvlComponent *o : page->GetAllObjects())
        if (auto *m = rtl_cast<TkvlCustomMemoView>(o)) {
            EXPECT_TRUE(m->Is<TkvlDMPMemoView>()) << m->Name().toStdString();
            EXPECT_NE(m->Style(), QStringLiteral("Header line"));
        }

    // No record source: title, the header line alone, an unbound empty data band, footer.
    TkvlReportPage *p = emptyPage();
    kvlStdWizardFinish(nullptr, report, choice(nullptr, {}), fakeMeasure);
    EXPECT_EQ(report.DataSets()->Count(), 0);
    EXPECT_EQ(childrenOf<TkvlCustomMemoView>(band(p, TkvlPageHeader::StaticClass())).size(), 1u);
    auto *data = rtl_cast<TkvlMasterData>(band(p, TkvlMasterData::StaticClass()));
    ASSERT_TRUE(data);
    EXPECT_FALSE(data->DataSet());
    EXPECT_TRUE(data->Objects().empty());
    EXPECT_TRUE(band(p, TkvlPageFooter::StaticClass()));
    EXPECT_TRUE(band(p, TkvlReportTitle::StaticClass()));
}

TEST_F(StdWizardTest, FailureStillReloads)
{
    emptyPage();
    FixtureSource src(QStringLiteral("S"), {"A"}, {3});
    FakeDesigner designer(&report);
    const auto failing = [](TkvlCustomMemoView &, bool, const QString &) -> double {
        throw std::runtime_error("measuring failed");
    };
    EXPECT_THROW(kvlStdWizardFinish(&designer, report, choice(&src, {"A"}), failing), std::runtime_error);
    EXPECT_EQ(designer.locks, 1);
    EXPECT_EQ(designer.reloads, 1);
}

TEST_F(StdWizardTest, EmptyReports)
{
    FakeDesigner designer(&report);
    for (bool dmp : {false, true}) {
        report.FileName = QStringLiteral("x.kv3");
        kvlMakeEmptyReport(&designer, report, dmp);
        ASSERT_EQ(report.ObjectCount(), 2);
        EXPECT_TRUE(report.Object(0)->Is<TkvlDataPage>());
        EXPECT_EQ(report.Object(0)->Name(), QStringLiteral("Data"));
        EXPECT_EQ(report.Object(1)->Name(), QStringLiteral("Page1"));
        EXPECT_EQ(report.Object(1)->Is<TkvlDMPPage>(), dmp);
        EXPECT_GT(rtl_cast<TkvlReportPage>(report.Object(1))->PaperWidth(), 0);
        EXPECT_TRUE(report.FileName.isEmpty());
        EXPECT_EQ(report.DotMatrixReport, dmp);
    }
    EXPECT_EQ(designer.reloads, 2);
}

TEST_F(StdWizardTest, StyleSheetSources)
{
    QStringList names;
    sheet.GetList(names);
    EXPECT_EQ(names, QStringList({"Korvelle", "Standard", "Soft gray", "Corporate"}));
    TkvlStyleItem *title = sheet.Find(QStringLiteral("Korvelle"))->Find(QStringLiteral("Title"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->Color(), TColor(8421504));
    EXPECT_EQ(title->Font()->Color(), TColor(16777215));
    TkvlStyleItem *line = sheet.Find(QStringLiteral("Standard"))->Find(QStringLiteral("Header line"));
    EXPECT_EQ(line->Frame()->Typ(), kvlFrameBit(ftBottom));
    EXPECT_EQ(line->Frame()->Width(), 2);

    const auto write = [&](const QByteArray &Bytes) {
        QFile f(dir.filePath(QStringLiteral("wizstyle.xml")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    };
    write("<?xml version=\"1.0\"?><sheet><style Name=\"Mine\"/></sheet>");
    TkvlStyleSheet other;
    kvlLoadWizardStyleSheet(other, dir.path());
    EXPECT_EQ(other.Count(), 0) << "another root gives no sets";
    write("<?xml version=\"1.0\"?><stylesheet><style Name=\"Mine\"><item Name=\"Title\"/></style></stylesheet>");
    kvlLoadWizardStyleSheet(other, dir.path());
    ASSERT_EQ(other.Count(), 1);
    EXPECT_EQ(other.Items(0)->Name, QStringLiteral("Mine"));
    write("<?xml version=\"1.0\"?><stylesheet><style Name=\"Mine\"");
    EXPECT_ANY_THROW(kvlLoadWizardStyleSheet(other, dir.path()));
}
