// The print, page-settings and find dialogs, shown offscreen and driven with keys and clicks.
// Printers come from a print system of three queues that lives in the test.
#include "engine/store/previewpages.h"
#include "engine/widgets/kvlpagesettingsform.h"
#include "engine/widgets/kvlprintdialog.h"
#include "engine/widgets/kvlsearchdialog.h"
#include "platform/print/printdevice.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/printers/kvlprinters.h"
#include "report/resources/kvlresources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// ---- three queues: Alfa (A4, A5, Letter), Beta (Letter, A4), Gamma (Letter) ----

class Queue final : public print::Printer {
public:
    Queue(const QString &Name, QList<print::NumberedName> Papers) : FName(Name), FPapers(std::move(Papers)) {}
    const QString &name() const override { return FName; }
    bool open() override { return true; }
    bool isOpen() const override { return true; }
    const QList<print::NumberedName> &papers() const override { return FPapers; }
    const QList<print::NumberedName> &bins() const override { return FBins; }
    const print::PageSetup &defaults() const override { return FDefaults; }
    std::optional<print::PageMetrics> metrics(const print::PageSetup &Setup) const override
    {
        double w = Setup.widthMm, h = Setup.heightMm;
        kvlGetPaperDimensions(Setup.paper, w, h);
        if (Setup.landscape)
            std::swap(w, h);
        const double k = 300 / 25.4;
        print::PageMetrics m;
        m.dpiX = m.dpiY = 300;
        m.paperWidth = int(w * k + 0.5);
        m.paperHeight = int(h * k + 0.5);
        m.offsetX = m.offsetY = int(5 * k + 0.5);
        m.printableWidth = m.paperWidth - 2 * m.offsetX;
        m.printableHeight = m.paperHeight - 2 * m.offsetY;
        return m;
    }
    bool beginDoc(const QString &, const QString &, const print::PageSetup &) override { return false; }
    void setPageSetup(const print::PageSetup &) override {}
    bool beginPage() override { return false; }
    QPainter *painter() const override { return nullptr; }
    bool endPage() override { return false; }
    bool endDoc() override { return false; }
    void abort() override {}
    bool printing() const override { return false; }
    QString lastError() const override { return {}; }
    bool beginRawDoc(const QString &) override { return false; }
    bool writeRawDoc(const QByteArray &) override { return false; }
    bool endRawDoc() override { return false; }

private:
    QString FName;
    QList<print::NumberedName> FPapers, FBins;
    print::PageSetup FDefaults;
};

class Queues final : public print::PrintSystem {
public:
    QStringList printerNames() override { return {QStringLiteral("Alfa"), QStringLiteral("Beta"), QStringLiteral("Gamma")}; }
    QString defaultPrinterName() override { return QStringLiteral("Alfa"); }
    std::unique_ptr<print::Printer> printer(const QString &Name) override
    {
        const print::NumberedName a4{9, QStringLiteral("A4")}, a5{11, QStringLiteral("A5")},
            letter{1, QStringLiteral("Letter")};
        if (Name == QLatin1String("Alfa"))
            return std::make_unique<Queue>(Name, QList<print::NumberedName>{a4, a5, letter});
        if (Name == QLatin1String("Beta"))
            return std::make_unique<Queue>(Name, QList<print::NumberedName>{letter, a4});
        return std::make_unique<Queue>(Name, QList<print::NumberedName>{letter});
    }
};

class Environment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        print::installPrintSystem(&queues);
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlRegisterPreviewPagesStore();
    }
    Queues queues;
};
[[maybe_unused]] ::testing::Environment *const gEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

void Click(QWidget *W) { QTest::mouseClick(W, Qt::LeftButton, {}, QPoint(6, W->height() / 2)); }

// Moves a drop-down list one entry down or up, as the user does with the arrow keys.
void Step(QComboBox *Box, int Steps)
{
    Box->setFocus();
    for (int i = 0; i < std::abs(Steps); ++i)
        QTest::keyClick(Box, Steps > 0 ? Qt::Key_Down : Qt::Key_Up);
}

// The shown controls that a fixed client area cuts off or squeezes below the height they need,
// and group boxes that overlap one another.
QStringList Cramped(QDialog &D)
{
    QStringList bad;
    const QRect client = D.rect();
    QList<QPair<QString, QRect>> groups;
    for (QWidget *w : D.findChildren<QWidget *>()) {
        // The dialog's own controls, not the parts inside a spin box or a list.
        if (!w->isVisibleTo(&D) || w->isWindow() ||
            (w->parentWidget() != &D && !qobject_cast<QGroupBox *>(w->parentWidget())))
            continue;
        const QRect r(w->mapTo(&D, QPoint(0, 0)), w->size());
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) + u' ' +
                                                              w->property("text").toString()
                                                        : w->objectName();
        if (!client.contains(r))
            bad << name + QStringLiteral(" outside");
        if (w->height() < w->minimumSizeHint().height())
            bad << name + QStringLiteral(" squeezed");
        if (auto *g = qobject_cast<QGroupBox *>(w)) {
            for (const auto &other : groups)
                if (other.second.intersects(r))
                    bad << g->title() + QStringLiteral(" overlaps ") + other.first;
            groups.append({g->title(), r});
        }
    }
    return bad;
}

QImage Picture(const QIcon &Icon, QSize Size) { return Icon.pixmap(Size).toImage().convertToFormat(QImage::Format_ARGB32); }
QImage Picture(const QLabel *Label) { return Label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32); }

struct Dialogs : ::testing::Test {
    Dialogs()
    {
        TFormatSettings fs = rtl::FormatSettings();
        fs.DecimalSeparator = u',';
        fs.ThousandSeparator = u'.';
        numbers = std::make_unique<rtl::ScopedFormatSettings>(fs);
        kvlPrinters().SetPrinterIndex(0);
        report = std::make_unique<TkvlReport>(nullptr);
    }
    ui::FakeServices services;
    std::unique_ptr<rtl::ScopedFormatSettings> numbers;
    std::unique_ptr<TkvlReport> report;
};

// ---- print dialog ----

struct PrintDialog : Dialogs {
    std::unique_ptr<TkvlPrintDialog> open(TkvlDuplexMode Duplex = dmNone)
    {
        auto d = std::make_unique<TkvlPrintDialog>(report.get(), Duplex);
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        return d;
    }
};

TEST_F(PrintDialog, CurrentPageAndOtherChoicesAreWrittenOnOk)
{
    report->PreviewPages()->CurPreviewPage = 7;
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Stampa"));
    EXPECT_EQ(d->PrintersCB()->currentText(), QStringLiteral("Alfa"));
    EXPECT_FALSE(d->PagPageSizeCB()->isEnabled());
    Click(d->CurPageRB());
    Click(d->CollateCB());
    Step(d->OrderCB(), 1);
    Step(d->DuplexCB(), 2);
    Step(d->PrintPagesCB(), 2);
    Click(d->OkB());
    EXPECT_FALSE(d->isVisible());
    const TkvlPrintOptions *o = report->PrintOptions();
    EXPECT_EQ(o->PageNumbers, QStringLiteral("7"));
    EXPECT_FALSE(o->Collate);
    EXPECT_TRUE(o->Reverse);
    EXPECT_EQ(o->PrintPages, ppEven);
    EXPECT_EQ(d->ADuplexMode(), dmHorizontal);
    // "Default" is no paper name: the printer's first paper, the custom one, keeps its sheet.
    EXPECT_EQ(o->PrintOnSheet, kvlCustomPaper);
}

TEST_F(PrintDialog, TypingPageNumbersSelectsThemAndCancelAfterAPrinterSwitchRestoresThePrinter)
{
    auto d = open();
    QTest::keyClicks(d->PageNumbersE(), QStringLiteral("2-3"));
    EXPECT_TRUE(d->PageNumbersRB()->isChecked());
    Step(d->PrintersCB(), 1);
    EXPECT_EQ(kvlPrinters().GetCurrentPrinter()->Name(), QStringLiteral("Beta"));
    Click(d->CancelB());
    EXPECT_EQ(kvlPrinters().PrinterIndex(), 0);
    EXPECT_EQ(report->PrintOptions()->PageNumbers, QString());
}

TEST_F(PrintDialog, SheetFollowsModeAndPrinter)
{
    auto d = open();
    // Split with "Default" shown: A4.
    Step(d->PrintModeCB(), 1);
    EXPECT_TRUE(d->PagPageSizeCB()->isEnabled());
    EXPECT_EQ(d->PagPageSizeCB()->currentText(), QStringLiteral("A4"));
    // Beta has A4 too: kept. Gamma lacks it: "Default".
    Step(d->PrintersCB(), 1);
    EXPECT_EQ(d->PagPageSizeCB()->currentText(), QStringLiteral("A4"));
    EXPECT_EQ(d->PagPageSizeCB()->count(), 3);
    Step(d->PrintersCB(), 1);
    EXPECT_EQ(d->PagPageSizeCB()->currentText(), QStringLiteral("Default"));
    // Back on Alfa, A5 chosen; accepted, its number is written.
    Step(d->PrintersCB(), -2);
    Step(d->PagPageSizeCB(), 2);
    EXPECT_EQ(d->PagPageSizeCB()->currentText(), QStringLiteral("A5"));
    Click(d->OkB());
    EXPECT_EQ(report->PrintOptions()->PrintMode, pmSplit);
    EXPECT_EQ(report->PrintOptions()->PrintOnSheet, 11);
}

TEST_F(PrintDialog, ShowingReadsTheOptions)
{
    TkvlPrintOptions *o = report->PrintOptions();
    o->Copies = 4;
    o->PageNumbers = QStringLiteral("5");
    o->PrintMode = pmJoin;
    o->PrintOnSheet = 11;
    auto d = open(dmVertical);
    EXPECT_EQ(d->CopiesE()->value(), 4);
    EXPECT_TRUE(d->PageNumbersRB()->isChecked());
    EXPECT_EQ(d->PrintModeCB()->currentIndex(), int(pmJoin));
    EXPECT_EQ(d->PagPageSizeCB()->currentText(), QStringLiteral("A5"));
    EXPECT_EQ(d->DuplexCB()->currentIndex(), int(dmVertical));
}

TEST_F(PrintDialog, PrintToFileAsksForAPrnFile)
{
    QTemporaryDir dir;
    {
        auto d = open();
        Click(d->FileCB());
        services.files.answers << ui::FileDialogResult{true, {dir.filePath(QStringLiteral("uscita.pdf"))}, 1};
        Click(d->OkB());
        ASSERT_EQ(services.files.saved.size(), 1);
        EXPECT_EQ(services.files.saved.front().title, QStringLiteral("Stampa su file"));
        EXPECT_EQ(d->result(), int(QDialog::Accepted));
        EXPECT_EQ(kvlPrinters().GetCurrentPrinter()->FileName, dir.filePath(QStringLiteral("uscita.prn")));
    }
    {
        // The file dialog cancelled: the print request is cancelled, nothing written.
        auto d = open();
        Click(d->FileCB());
        Click(d->CurPageRB());
        Click(d->OkB());
        EXPECT_EQ(d->result(), int(QDialog::Rejected));
        EXPECT_EQ(report->PrintOptions()->PageNumbers, QString());
        EXPECT_EQ(kvlPrinters().GetCurrentPrinter()->FileName, QString());
    }
}

TEST_F(PrintDialog, FixedClientAreaHoldsEveryControl)
{
    auto d = open();
    EXPECT_EQ(d->size(), QSize(557, 333));
    EXPECT_EQ(d->minimumSize(), d->maximumSize());
    EXPECT_EQ(Cramped(*d).join(u'\n').toStdString(), "");
    // OK and Cancel side by side at the bottom right.
    const QRect ok(d->OkB()->mapTo(d.get(), QPoint()), d->OkB()->size());
    const QRect cancel(d->CancelB()->mapTo(d.get(), QPoint()), d->CancelB()->size());
    EXPECT_EQ(ok.top(), cancel.top());
    EXPECT_LT(ok.right(), cancel.left());
    EXPECT_GT(cancel.right(), 557 - 20);
    EXPECT_GT(ok.bottom(), 333 - 20);
}

TEST_F(PrintDialog, ListsAndCopiesCarryTheirPictures)
{
    auto d = open();
    // Every printer: the preview's printer button picture.
    TImageList &buttons = kvlResources().GetPreviewButtonImages();
    ASSERT_GT(buttons.Count(), 2);
    const QImage printer = buttons.Image(2).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(d->PrintersCB()->count(), 3);
    for (int i = 0; i < d->PrintersCB()->count(); ++i)
        EXPECT_EQ(Picture(d->PrintersCB()->itemIcon(i), printer.size()), printer) << i;
    EXPECT_EQ(d->PrintersCB()->view()->sizeHintForRow(0), 16);
    // Every print mode: a 64 x 32 picture of its own, in rows of 34.
    EXPECT_EQ(d->PrintModeCB()->view()->sizeHintForRow(0), 34);
    ASSERT_EQ(d->PrintModeCB()->count(), 4);
    EXPECT_EQ(d->PrintModeCB()->iconSize(), QSize(64, 32));
    QList<QImage> modes;
    for (int i = 0; i < 4; ++i) {
        const QIcon icon = d->PrintModeCB()->itemIcon(i);
        ASSERT_FALSE(icon.isNull()) << i;
        EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(64, 32)}) << i;
        const QImage img = Picture(icon, QSize(64, 32));
        EXPECT_FALSE(modes.contains(img)) << i;
        modes << img;
    }
    // The copies picture follows the collate box both ways.
    const QImage collated = Picture(d->CopiesPB());
    ASSERT_FALSE(collated.isNull());
    Click(d->CollateCB());
    const QImage separate = Picture(d->CopiesPB());
    EXPECT_NE(separate, collated);
    Click(d->CollateCB());
    EXPECT_EQ(Picture(d->CopiesPB()), collated);
}

// ---- page settings ----

struct PageSettings : Dialogs {
    PageSettings()
    {
        page = new TkvlReportPage(report.get());
        page->SetOrientation(poPortrait);
        page->SetPaperSize(9);
        page->LeftMargin = page->TopMargin = page->RightMargin = page->BottomMargin = 10;
    }
    void units(int Value)
    {
        report->IniFile = dir.filePath(QStringLiteral("impostazioni.ini"));
        QFile f(report->IniFile);
        f.open(QIODevice::WriteOnly);
        f.write("[Form5.TkvlDesignerForm]\nUnits=" + QByteArray::number(Value) + "\n");
    }
    std::unique_ptr<TkvlPageSettingsForm> open()
    {
        auto d = std::make_unique<TkvlPageSettingsForm>(page, report.get());
        d->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        return d;
    }
    static QStringList shown(TkvlPageSettingsForm &D)
    {
        return {D.WidthE()->text(), D.HeightE()->text(), D.MarginLeftE()->text(), D.UnitL1()->text()};
    }
    QTemporaryDir dir;
    TkvlReportPage *page;
};

TEST_F(PageSettings, LengthsShowInTheDesignersUnits)
{
    struct {
        int units;
        QStringList expected;
    } cases[] = {
        {1, {"8,27", "11,69", "0,39", "in"}},
        {0, {"21", "29,70", "1", "cm"}},
        {7, {"21", "29,70", "1", "cm"}},  // no unit the designer writes: centimetres
    };
    for (const auto &c : cases) {
        units(c.units);
        auto d = open();
        EXPECT_EQ(shown(*d), c.expected) << c.units;
        EXPECT_EQ(d->SizeCB()->currentText(), QStringLiteral("A4"));
    }
}

TEST_F(PageSettings, LandscapeTurnsStandardAndCustomSizes)
{
    {
        auto d = open();
        Click(d->LandscapeRB());
        EXPECT_EQ(d->WidthE()->text(), QStringLiteral("29,70"));
        EXPECT_EQ(d->HeightE()->text(), QStringLiteral("21"));
        Click(d->OKB());
        EXPECT_EQ(page->Orientation(), poLandscape);
        EXPECT_EQ(page->PaperSize(), 9);
        EXPECT_EQ(page->PaperWidth(), 297);
    }
    {
        page->SetOrientation(poPortrait);
        page->SetPaperWidth(100);
        page->SetPaperHeight(50);
        auto d = open();
        EXPECT_EQ(d->SizeCB()->currentText(), QStringLiteral("Personalizzata"));
        Click(d->LandscapeRB());
        EXPECT_EQ(d->WidthE()->text(), QStringLiteral("5"));
        EXPECT_EQ(d->HeightE()->text(), QStringLiteral("10"));
    }
}

TEST_F(PageSettings, FixedClientAreaAndTheOrientationPicture)
{
    {
        auto d = open();
        EXPECT_EQ(d->size(), QSize(286, 359));
        EXPECT_EQ(d->minimumSize(), d->maximumSize());
        EXPECT_EQ(Cramped(*d).join(u'\n').toStdString(), "");
        EXPECT_EQ(d->PortraitImg()->pixmap().size(), QSize(26, 32));
        EXPECT_EQ(d->LandscapeImg()->pixmap().size(), QSize(26, 32));
        EXPECT_NE(Picture(d->PortraitImg()), Picture(d->LandscapeImg()));
        EXPECT_TRUE(d->PortraitImg()->isVisible());
        EXPECT_FALSE(d->LandscapeImg()->isVisible());
        Click(d->LandscapeRB());
        EXPECT_FALSE(d->PortraitImg()->isVisible());
        EXPECT_TRUE(d->LandscapeImg()->isVisible());
        Click(d->PortraitRB());
        EXPECT_TRUE(d->PortraitImg()->isVisible());
        EXPECT_FALSE(d->LandscapeImg()->isVisible());
    }
    // A landscape page opens with its own picture.
    page->SetOrientation(poLandscape);
    auto d = open();
    EXPECT_FALSE(d->PortraitImg()->isVisible());
    EXPECT_TRUE(d->LandscapeImg()->isVisible());
}

TEST_F(PageSettings, TypingAWidthChoosesTheCustomPaper)
{
    auto d = open();
    d->WidthE()->selectAll();
    QTest::keyClicks(d->WidthE(), QStringLiteral("12,5"));
    EXPECT_EQ(d->SizeCB()->currentText(), QStringLiteral("Personalizzata"));
    Click(d->ApplyToAllRB());
    Click(d->OKB());
    EXPECT_TRUE(d->NeedRebuild());
    EXPECT_EQ(page->PaperSize(), kvlCustomPaper);
    EXPECT_EQ(page->PaperWidth(), 125);
    EXPECT_EQ(page->PaperHeight(), 297);
}

TEST_F(PageSettings, ABadMarginChangesNothingAndKeepsTheDialogOpen)
{
    auto d = open();
    Click(d->LandscapeRB());
    d->MarginRightE()->selectAll();
    QTest::keyClicks(d->MarginRightE(), QStringLiteral("due"));
    Click(d->OKB());
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(page->Orientation(), poPortrait);
    EXPECT_EQ(page->PaperWidth(), 210);
    EXPECT_EQ(page->RightMargin, 10);
    Click(d->CancelB());
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(page->Orientation(), poPortrait);
}

// ---- find ----

TEST_F(Dialogs, FindDialogOffersTheLastTextSelected)
{
    {
        TkvlSearchDialog d;
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Trova testo"));
        EXPECT_FALSE(d.ReplacePanel()->isVisible());
        QTest::keyClicks(d.TextE(), QStringLiteral("Riepilogo"));
        Click(d.OkB());
    }
    {
        // Cancelled: the remembered text stays.
        TkvlSearchDialog d;
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        QTest::keyClicks(d.TextE(), QStringLiteral("altro"));
        Click(d.CancelB());
    }
    TkvlSearchDialog d;
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.TextE()->text(), QStringLiteral("Riepilogo"));
    EXPECT_EQ(d.TextE()->selectedText(), QStringLiteral("Riepilogo"));
    EXPECT_TRUE(d.TextE()->hasFocus());
}

} // namespace
