#include "platform/gfx/graphic.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/picture.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "platform/ui/fakes.h"
#include "report/appearance/frame.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlpicture.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <memory>

namespace {

struct Sheet {
    double width, height, left, top, right, bottom;
};

void expectSheet(const TkvlReportPage &p, const Sheet &s, const char *where)
{
    EXPECT_DOUBLE_EQ(p.PaperWidth(), s.width) << where;
    EXPECT_DOUBLE_EQ(p.PaperHeight(), s.height) << where;
    EXPECT_DOUBLE_EQ(p.LeftMargin, s.left) << where;
    EXPECT_DOUBLE_EQ(p.TopMargin, s.top) << where;
    EXPECT_DOUBLE_EQ(p.RightMargin, s.right) << where;
    EXPECT_DOUBLE_EQ(p.BottomMargin, s.bottom) << where;
}

void setMargins(TkvlReportPage &p, double left, double top, double right, double bottom)
{
    p.LeftMargin = left;
    p.TopMargin = top;
    p.RightMargin = right;
    p.BottomMargin = bottom;
}

TEST(ReportPage, NewPageIsA4)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    EXPECT_EQ(p->PaperSize(), 9);
    EXPECT_EQ(p->Orientation(), poPortrait);
    expectSheet(*p, {210, 297, 0, 0, 0, 0}, "new");
    EXPECT_EQ(p->Width(), 794);
    EXPECT_EQ(p->Height(), 1123);
    EXPECT_EQ(p->Bin, 7);
    EXPECT_EQ(p->BinOtherPages, 7);
    EXPECT_EQ(p->PageCount(), 1);
    EXPECT_TRUE(p->PrintIfEmpty && p->TitleBeforeHeader && p->ShowTitleOnPreviousPage);
    EXPECT_EQ(p->BaseName(), QStringLiteral("Page"));
}

TEST(ReportPage, DefaultsFromTheVirtualPrinter)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    p->SetPaperSize(5);
    p->SetDefaults();
    EXPECT_EQ(kvlPrinters().GetCurrentPrinter()->Name(), QStringLiteral("Virtuale"));
    EXPECT_EQ(p->PaperSize(), 9);
    expectSheet(*p, {210, 297, 10, 10, 10, 10}, "defaults");
    EXPECT_EQ(p->Height(), 1123);
}

TEST(ReportPage, OrientationTurnsSheetAndMargins)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    setMargins(*p, 10, 20, 30, 40);
    p->SetOrientation(poLandscape);
    expectSheet(*p, {297, 210, 20, 30, 40, 10}, "landscape");
    EXPECT_EQ(p->PaperSize(), 9);  // still A4, not a custom size
    EXPECT_EQ(p->Width(), 1123);
    EXPECT_EQ(p->Height(), 794);
    p->SetOrientation(poLandscape);  // no change
    expectSheet(*p, {297, 210, 20, 30, 40, 10}, "again");
    p->SetOrientation(poPortrait);
    expectSheet(*p, {210, 297, 10, 20, 30, 40}, "back");
    EXPECT_EQ(p->PaperSize(), 9);
    // A table paper chosen in landscape comes turned.
    p->SetOrientation(poLandscape);
    p->SetPaperSize(11);
    EXPECT_DOUBLE_EQ(p->PaperWidth(), 210);
    EXPECT_DOUBLE_EQ(p->PaperHeight(), 148);
}

TEST(ReportPage, PaperNumbersAndSizes)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    p->SetPaperWidth(100.123456789);
    EXPECT_DOUBLE_EQ(p->PaperWidth(), 100.12345679);
    EXPECT_EQ(p->PaperSize(), 256);
    EXPECT_EQ(p->Width(), 378);  // rnd(100.12345679 x 3.77953)
    p->SetPaperSize(300);        // a number above the table's: only the number
    EXPECT_EQ(p->PaperSize(), 300);
    EXPECT_DOUBLE_EQ(p->PaperWidth(), 100.12345679);
    p->SetPaperSize(48);  // not in the table: the size stays
    EXPECT_EQ(p->PaperSize(), 48);
    EXPECT_DOUBLE_EQ(p->PaperHeight(), 297);
    p->SetSizeAndDimensions(256, 99.999999996, 150);
    EXPECT_DOUBLE_EQ(p->PaperWidth(), 100);
    p->SetPageCount(0);
    p->SetPageCount(-2);
    EXPECT_EQ(p->PageCount(), 1);
    p->SetPageCount(3);
    EXPECT_EQ(p->PageCount(), 3);

    EXPECT_DOUBLE_EQ(Round8(0.123456785), 0.12345678);  // ties to even
    EXPECT_DOUBLE_EQ(Round8(0.123456795), 0.1234568);
}

TEST(ReportPage, Columns)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    p->LeftMargin = 10;
    p->RightMargin = 10;
    p->SetColumns(3);
    EXPECT_DOUBLE_EQ(p->ColumnWidth, 190.0 / 3);
    ASSERT_EQ(p->ColumnPositions().Count(), 3);
    const double want[] = {0, 190.0 / 3, 2 * 190.0 / 3};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(p->ColumnPositions()[i].toDouble(), want[i], 1e-9) << i;
    p->SetColumns(0);
    EXPECT_EQ(p->ColumnPositions().Count(), 0);
}

TEST(ReportPage, AlignChildrenLaysBandsOverThePrintableArea)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    p->LeftMargin = p->RightMargin = p->TopMargin = p->BottomMargin = 10;
    p->SetColumns(2);  // 95 mm each
    auto *title = new TkvlReportTitle(p);
    auto *data = new TkvlMasterData(p);
    auto *vertical = new TkvlMasterData(p);
    vertical->SetVertical(true);
    vertical->SetTop(100);
    vertical->SetWidth(50);
    title->SetLeft(4);
    p->AlignChildren();
    const double printableW = 190 * 3.77953, printableH = 277 * 3.77953;
    EXPECT_DOUBLE_EQ(title->Width(), printableW - 4);
    EXPECT_DOUBLE_EQ(data->Width(), 95 * 3.77953);
    EXPECT_DOUBLE_EQ(vertical->Height(), printableH - 100);
    EXPECT_EQ(vertical->Width(), 50);
    EXPECT_EQ(p->Width(), 794);  // back to the whole sheet
    EXPECT_EQ(p->Height(), 1123);
    p->SetColumns(1);
    p->AlignChildren();
    EXPECT_DOUBLE_EQ(data->Width(), printableW);

    EXPECT_EQ(p->FindBand<TkvlDataBand>(), data);
    EXPECT_EQ(p->FindBand<TkvlReportTitle>(), title);
    EXPECT_EQ(p->FindBand<TkvlPageFooter>(), nullptr);
}

// A picture of one colour.
void fillPicture(TPicture &pic, int w, int h, QRgb rgb)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(rgb);
    const TBitmap bmp(img);
    pic.SetGraphic(&bmp);
}

TEST(ReportPage, BackPictureInsideTheMargins)
{
    TkvlReport report(nullptr);
    auto *p = new TkvlReportPage(&report);
    setMargins(*p, 10, 20, 30, 40);
    fillPicture(*p->BackPicture(), 40, 40, qRgb(255, 0, 0));
    // At half scale the printable area runs from (18.9, 37.8) to (340.2, 485.7).
    auto draw = [&] {
        QImage img(397, 562, QImage::Format_RGB32);
        img.fill(Qt::white);
        gfx::PainterCanvas c(&img, 96, 96);
        p->Draw(&c, 0.5, 0.5, 0, 0);
        return img;
    };
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    struct Case {
        const char *what;
        bool visible, printable, printing, stretched;
        QRgb margin, corner, middle;  // at (10, 30), (30, 50), (200, 300)
    } cases[] = {
        {"stretched over the printable area", true, true, false, true, white, red, red},
        {"at its own size", true, true, false, false, white, red, white},
        {"hidden", false, true, false, true, white, white, white},
        {"printing, not printable", true, false, true, true, white, white, white},
        {"preview of one not printable", true, false, false, true, white, red, red},
        {"printing", true, true, true, true, white, red, red},
    };
    for (const Case &c : cases) {
        p->BackPictureVisible = c.visible;
        p->BackPicturePrintable = c.printable;
        p->IsPrinting = c.printing;
        p->BackPictureStretched = c.stretched;
        const QImage img = draw();
        EXPECT_EQ(img.pixel(10, 30), c.margin) << c.what;
        EXPECT_EQ(img.pixel(30, 50), c.corner) << c.what;
        EXPECT_EQ(img.pixel(200, 300), c.middle) << c.what;
        EXPECT_EQ(img.pixel(350, 300), white) << c.what;  // right margin
    }

    // Without a picture the colour fills the printable area.
    p->IsPrinting = false;
    p->BackPictureStretched = true;
    p->BackPicture()->Clear();
    p->SetColor(0xFF0000);  // blue
    const QImage img = draw();
    EXPECT_EQ(img.pixel(200, 300), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(10, 30), white);
}

TEST(ReportPage, PublishedPropertiesInTemplateOrder)
{
    QStringList names;
    for (const rtl::PropInfo *prop : TkvlReportPage::StaticClass()->props())
        names << prop->name();
    EXPECT_EQ(names.join(QLatin1Char(' ')),
              QStringLiteral("Name Tag Font Visible Orientation PaperWidth PaperHeight PaperSize LeftMargin "
                             "RightMargin TopMargin BottomMargin MirrorMargins Columns ColumnWidth ColumnPositions "
                             "Bin BinOtherPages BackPicture BackPictureVisible BackPicturePrintable "
                             "BackPictureStretched PageCount Color DataSet DataSetName Duplex Frame EndlessHeight "
                             "EndlessWidth LargeDesignHeight OutlineText PrintIfEmpty PrintOnPreviousPage "
                             "ShowTitleOnPreviousPage ResetPageNumbers TitleBeforeHeader HGuides VGuides "
                             "OnAfterPrint OnBeforePrint OnManualBuild"));
}

TEST(ReportPage, TemplateRoundTripKeepsBandsAndChildren)
{
    kvlInitResources();
    rtl::RegisterRootClasses();
    kvlRegisterObjectTreeClasses();
    kvlRegisterBandClasses();
    kvlRegisterPageClasses();
    QByteArray xml;
    {
        TkvlReport report(nullptr);
        auto *p = new TkvlReportPage(&report);
        p->SetName(QStringLiteral("Page1"));
        p->LeftMargin = 10;
        p->TopMargin = 20;
        p->SetOrientation(poLandscape);
        auto *header = new TkvlPageHeader(p);
        header->SetName(QStringLiteral("PageHeader1"));
        auto *child = new TkvlChild(p);
        child->SetName(QStringLiteral("Child1"));
        child->SetBounds(0, 40, 700, 30);
        header->SetChild(child);
        static_cast<TkvlBrushFill *>(child->Fill())->FBackColor = 0xFFFFFF;
        child->FillGap()->Left = 4;
        auto *data = new TkvlMasterData(p);
        data->SetName(QStringLiteral("MasterData1"));
        data->SetRowCount(3);
        fillPicture(*p->BackPicture(), 6, 5, qRgb(0, 128, 0));
        p->SetColor(0x00FFFF);
        p->Frame()->SetTyp(kvlFrameBit(ftLeft));
        TMemoryStream m;
        report.SaveToStream(m);
        xml = m.Bytes();
    }
    const QString text = QString::fromUtf8(xml);
    EXPECT_TRUE(text.contains(QLatin1String("Child=\"Child1\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("FillGap.Left=\"4\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Orientation=\"poLandscape\""))) << text.toStdString();

    TkvlReport loaded(nullptr);
    TMemoryStream in(xml);
    loaded.LoadFromStream(in);
    EXPECT_TRUE(loaded.Errors().Count() == 0) << loaded.Errors().Text().toStdString();
    auto *p = rtl_cast<TkvlReportPage>(loaded.FindObject(u"Page1"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PaperSize(), 9);
    EXPECT_EQ(p->Orientation(), poLandscape);
    expectSheet(*p, {297, 210, 20, 0, 0, 10}, "loaded");
    auto *header = rtl_cast<TkvlPageHeader>(loaded.FindObject(u"PageHeader1"));
    auto *child = rtl_cast<TkvlChild>(loaded.FindObject(u"Child1"));
    ASSERT_TRUE(header && child);
    EXPECT_EQ(header->Child(), child);
    EXPECT_EQ(child->FillGap()->Left, 4);
    EXPECT_EQ(static_cast<TkvlBrushFill *>(child->Fill())->FBackColor, 0xFFFFFF);
    auto *data = rtl_cast<TkvlMasterData>(loaded.FindObject(u"MasterData1"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->RowCount(), 3);
    EXPECT_EQ(data->VirtualDataSet()->RangeEndCount, 3);
    EXPECT_EQ(p->Color(), 0x00FFFF);
    EXPECT_EQ(p->Frame()->Typ(), kvlFrameBit(ftLeft));
    ASSERT_EQ(p->BackPicture()->Width(), 6);
    EXPECT_EQ(p->BackPicture()->Height(), 5);
}

// A template from someone else: every count, size and position is bounded on load and every
// refused or bounded value is listed once, the rest of the template still applying.
TEST(ReportPage, HostileTemplateValuesAreBoundedWithOneMessageEach)
{
    kvlInitResources();
    rtl::RegisterRootClasses();
    kvlRegisterObjectTreeClasses();
    kvlRegisterBandClasses();
    kvlRegisterPageClasses();
    QByteArray xml;
    {
        TkvlReport report(nullptr);
        auto *p = new TkvlReportPage(&report);
        p->SetName(QStringLiteral("Page1"));
        auto *data = new TkvlMasterData(p);
        data->SetName(QStringLiteral("MasterData1"));
        data->SetBounds(0, 20, 700, 30);
        TMemoryStream m;
        report.SaveToStream(m);
        xml = m.Bytes();
    }
    struct Case {
        const char *Page;  // attributes given to the page
        const char *Band;  // and to its band
        std::function<void(TkvlReportPage &, TkvlBand &)> Check;
    };
    const double maxPixels = 1e6 * 3.77953;
    const Case cases[] = {
        // 210 mm at 3.77953 pixels each is 793.7 pixels: 793 columns of one pixel.
        {"Columns=\"2147483647\"", "",
         [](TkvlReportPage &p, TkvlBand &) {
             EXPECT_EQ(p.Columns(), 793);
             EXPECT_EQ(p.ColumnPositions().Count(), 793);
         }},
        {"LeftMargin=\"-1e308\"", "", [](TkvlReportPage &p, TkvlBand &) { EXPECT_EQ(p.LeftMargin, -1e6); }},
        {"PaperHeight=\"1e308\"", "", [](TkvlReportPage &p, TkvlBand &) { EXPECT_EQ(p.PaperHeight(), 1e6); }},
        {"TopMargin=\"NaN\"", "", [](TkvlReportPage &p, TkvlBand &) { EXPECT_EQ(p.TopMargin, 0); }},
        {"RightMargin=\"1e400\"", "", [](TkvlReportPage &p, TkvlBand &) { EXPECT_EQ(p.RightMargin, 0); }},
        {"BottomMargin=\"-inf\"", "", [](TkvlReportPage &p, TkvlBand &) { EXPECT_EQ(p.BottomMargin, 0); }},
        {"", "h=\"1e308\"", [&](TkvlReportPage &, TkvlBand &b) { EXPECT_EQ(b.Height(), maxPixels); }},
        {"", "l=\"-1e300\"", [&](TkvlReportPage &, TkvlBand &b) { EXPECT_EQ(b.Left(), -maxPixels); }},
        {"", "t=\"nan\"", [](TkvlReportPage &, TkvlBand &b) { EXPECT_EQ(b.Top(), 20); }},
        {"", "Width=\"Infinity\"", [](TkvlReportPage &, TkvlBand &b) { EXPECT_EQ(b.Width(), 700); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.Page) + c.Band);
        // Last in the element, so the values the template already holds do not follow them.
        QByteArray hostile = xml;
        for (const auto &[tag, attrs] : {std::pair{"<TkvlReportPage ", c.Page}, std::pair{"<TkvlMasterData ", c.Band}}) {
            qsizetype end = hostile.indexOf('>', hostile.indexOf(tag));
            ASSERT_GT(end, 0);
            if (hostile[end - 1] == '/')
                --end;
            hostile.insert(end, QByteArray(" ") + attrs);
        }
        ui::FakeServices services;
        TkvlReport loaded(nullptr);
        TMemoryStream in(hostile);
        loaded.LoadFromStream(in);
        EXPECT_EQ(loaded.Errors().Count(), 1) << loaded.Errors().Text().toStdString();
        EXPECT_EQ(services.messages.shown.size(), 1);
        auto *p = rtl_cast<TkvlReportPage>(loaded.FindObject(u"Page1"));
        auto *b = rtl_cast<TkvlBand>(loaded.FindObject(u"MasterData1"));
        ASSERT_TRUE(p && b);
        c.Check(*p, *b);
        // Whatever was bounded stays drawable: the pixel size is a whole number in range.
        EXPECT_LT(std::fabs(double(p->Height())), 1e7);
    }
}

} // namespace
