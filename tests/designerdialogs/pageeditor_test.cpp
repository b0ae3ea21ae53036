// The page setup: lengths in the designer's unit, paper turning, columns, and what OK writes
// to the page and to the pages of its subreports.
#include "designer/core/pageeditor.h"
#include "designer/widgets/pageeditorform.h"
#include "report/bands/kvlsubreport.h"
#include "report/pages/kvlreportpage.h"
#include "report/printers/kvlprinters.h"
#include "tests/designerdialogs/dialogstest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace dialogstest;

namespace {

TEST(PageUnits, ConvertBothWays)
{
    struct {
        TkvlRulerUnits units;
        double mm;
        bool x;
        double shown, back;
    } cases[] = {
        {ruCM, 297, true, 29.7, 297},
        {ruInches, 25.4, false, 1, 25.4},
        {ruPixels, 25.4, true, 96, 25.4},
        // whole characters: 9.6 pixels wide, 17 high
        {ruChars, 100, true, 39, 39 * 9.6 * 25.4 / 96},
        {ruChars, 100, false, 22, 22 * 17 * 25.4 / 96},
    };
    for (const auto &c : cases) {
        const double shown = kvlMmToUnits(c.units, c.mm, c.x);
        EXPECT_NEAR(shown, c.shown, 1e-9) << c.units << ' ' << c.mm;
        EXPECT_NEAR(kvlUnitsTomm(c.units, shown, c.x), c.back, 1e-9) << c.units << ' ' << c.mm;
    }
}

struct PageEditor : Fixture {
    PageEditor()
    {
        page = new TkvlReportPage(report.get());
        page->SetOrientation(poPortrait);
        page->SetSizeAndDimensions(kvlA4Paper, 210, 297);
        page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 10;
    }
    // Two subreports on the page, each printing a page of its own.
    std::vector<TkvlReportPage *> subreportPages()
    {
        std::vector<TkvlReportPage *> pages;
        for (int i = 0; i < 2; ++i) {
            auto *p = new TkvlReportPage(report.get());
            (new TkvlSubreport(page))->SetPage(p);
            pages.push_back(p);
        }
        return pages;
    }
    static QStringList positions(const TkvlReportPage *P)
    {
        QStringList l;
        const TStringList &s = const_cast<TkvlReportPage *>(P)->ColumnPositions();
        for (int i = 0; i < s.Count(); ++i)
            l << s[i];
        return l;
    }
    TkvlReportPage *page;
};

TEST_F(PageEditor, A4InCentimetresTurnsWithTheOrientation)
{
    TkvlPageEditorForm d(page, ruCM);
    Show(d);
    // the virtual printer's papers carry numbers only
    EXPECT_EQ(d.SizeCB()->currentIndex(), kvlPrinters().GetCurrentPrinter()->PaperIndex(kvlA4Paper));
    EXPECT_EQ(d.WidthE()->text(), QStringLiteral("21"));
    EXPECT_EQ(d.HeightE()->text(), QStringLiteral("29,70"));
    EXPECT_EQ(d.MarginLeftE()->text(), QStringLiteral("1"));
    EXPECT_EQ(d.Tray1CB()->currentText(), QStringLiteral("Default"));
    Click(d.LandscapeRB());
    EXPECT_EQ(d.WidthE()->text(), QStringLiteral("29,70"));
    EXPECT_EQ(d.HeightE()->text(), QStringLiteral("21"));
    Click(d.OKB());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(page->Orientation(), poLandscape);
    EXPECT_EQ(page->PaperSize(), kvlA4Paper);
    EXPECT_DOUBLE_EQ(page->PaperWidth(), 297);
    EXPECT_DOUBLE_EQ(page->PaperHeight(), 210);
}

TEST_F(PageEditor, ACustomSizeTurnsAndTypingChoosesTheCustomPaper)
{
    TkvlPageEditorForm d(page, ruCM);
    Show(d);
    Retype(d.WidthE(), QStringLiteral("10"));
    EXPECT_EQ(d.SizeCB()->currentText(), QStringLiteral("Personalizzata"));
    Retype(d.HeightE(), QStringLiteral("5"));
    Click(d.LandscapeRB());
    EXPECT_EQ(d.WidthE()->text(), QStringLiteral("5"));
    EXPECT_EQ(d.HeightE()->text(), QStringLiteral("10"));
    Click(d.OKB());
    EXPECT_EQ(page->PaperSize(), kvlCustomPaper);
    EXPECT_DOUBLE_EQ(page->PaperWidth(), 50);
    EXPECT_DOUBLE_EQ(page->PaperHeight(), 100);
}

TEST_F(PageEditor, ColumnsSpreadOverThePrintableWidth)
{
    TkvlPageEditorForm d(page, ruCM);
    Show(d);
    d.Tabs()->setCurrentIndex(1);
    d.UpDown1()->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(d.UpDown1(), Qt::Key_Up);
    EXPECT_EQ(d.ColumnWidthE()->text(), QStringLiteral("6,33"));
    EXPECT_EQ(d.ColumnPositionsM()->toPlainText(), QStringLiteral("0\n6,33\n12,67"));
    Click(d.OKB());
    EXPECT_EQ(page->Columns(), 3);
    EXPECT_DOUBLE_EQ(page->ColumnWidth, 63.3);  // as the edit shows it
    EXPECT_EQ(positions(page), (QStringList{"0", "63,30", "126,70"}));

    // Back to 0: the width of one column.
    TkvlPageEditorForm again(page, ruCM);
    Show(again);
    again.UpDown1()->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(again.UpDown1(), Qt::Key_Down);
    EXPECT_EQ(again.UpDown1()->value(), 0);
    EXPECT_EQ(again.ColumnWidthE()->text(), QStringLiteral("19"));
    EXPECT_EQ(again.ColumnPositionsM()->toPlainText(), QStringLiteral("0"));
}

TEST_F(PageEditor, OkReachesTheSubreportPages)
{
    const auto subPages = subreportPages();
    TkvlPageEditorForm d(page, ruCM);
    Show(d);
    Click(d.LandscapeRB());
    Retype(d.MarginTopE(), QStringLiteral("2,5"));
    d.UpDown1()->setFocus();
    QTest::keyClick(d.UpDown1(), Qt::Key_Up);
    QTest::keyClick(d.UpDown1(), Qt::Key_Up);
    Click(d.MirrorMarginsCB());
    Step(d.DuplexCB(), 2);
    Click(d.OKB());
    for (TkvlReportPage *p : {page, subPages[0], subPages[1]}) {
        EXPECT_EQ(p->Orientation(), poLandscape);
        EXPECT_DOUBLE_EQ(p->PaperWidth(), 297);
        EXPECT_DOUBLE_EQ(p->TopMargin, 25);
        EXPECT_EQ(p->Columns(), 2);
        EXPECT_NEAR(p->ColumnWidth, 138.5, 0.01);
        EXPECT_EQ(positions(p), (QStringList{"0", "138,50"}));
        EXPECT_TRUE(p->MirrorMargins);
        EXPECT_EQ(int(p->Duplex), 2);
    }
}

TEST_F(PageEditor, CancelAndBadNumbersLeaveThePage)
{
    const auto before = kvlPageSetupOf(page);
    auto unchanged = [&] {
        const auto now = kvlPageSetupOf(page);
        EXPECT_EQ(now.Orientation, before.Orientation);
        EXPECT_EQ(now.Width, before.Width);
        EXPECT_EQ(now.LeftMargin, before.LeftMargin);
        EXPECT_EQ(now.RightMargin, before.RightMargin);
        EXPECT_EQ(now.Columns, before.Columns);
    };
    {
        TkvlPageEditorForm d(page, ruCM);
        Show(d);
        Click(d.LandscapeRB());
        Retype(d.MarginLeftE(), QStringLiteral("3"));
        Click(d.CancelB());
        EXPECT_FALSE(d.isVisible());
        unchanged();
    }
    {
        // A margin that is no number: shown, focused, nothing written, the dialog stays.
        TkvlPageEditorForm d(page, ruCM);
        Show(d);
        Click(d.LandscapeRB());
        Retype(d.MarginRightE(), QStringLiteral("x"));
        Click(d.OKB());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(services.messages.shown.size(), 1u);
        EXPECT_TRUE(d.MarginRightE()->hasFocus());
        unchanged();
    }
    {
        // A bad column position on the other tab brings that tab forward.
        TkvlPageEditorForm d(page, ruCM);
        Show(d);
        d.ColumnPositionsM()->setFocus();
        QTest::keyClick(d.ColumnPositionsM(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(d.ColumnPositionsM(), Qt::Key_Return);
        QTest::keyClicks(d.ColumnPositionsM(), QStringLiteral("uno"));
        d.Tabs()->setCurrentIndex(0);
        Click(d.OKB());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Tabs()->currentIndex(), 1);
        EXPECT_TRUE(d.ColumnPositionsM()->hasFocus());
        unchanged();
    }
}

} // namespace
