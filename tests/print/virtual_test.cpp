// The printer list of a machine without printers: no scheduler answers.
#include "platform/print/cups/cupsprintsystem.h"
#include "platform/ui/fakes.h"
#include "platform/ui/services.h"
#include "report/printers/kvlprinters.h"

#include <gtest/gtest.h>

namespace {

// The desktop's print system, with no scheduler answering.
class CupsSystem final : public ::testing::Environment {
public:
    void SetUp() override { print::installCupsPrintSystem(); }
};
const auto *const gCupsSystem = ::testing::AddGlobalTestEnvironment(new CupsSystem);

TEST(VirtualPrinter, IsTheOnlyPrinterWithTheTablePapers)
{
    TkvlPrinters &list = kvlPrinters();
    EXPECT_EQ(list.Printers(), QStringList{QStringLiteral("Virtuale")});
    EXPECT_FALSE(list.HasPhysicalPrinters());
    EXPECT_EQ(list.PrinterIndex(), 0);
    TkvlCustomPrinter *p = list.GetCurrentPrinter();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Initialized());
    EXPECT_EQ(p->DPI(), QPoint(600, 600));
    EXPECT_EQ(p->DefPaper(), 9);
    EXPECT_EQ(p->DefOrientation(), poPortrait);
    EXPECT_DOUBLE_EQ(p->PaperWidth(), 210);
    EXPECT_DOUBLE_EQ(p->PaperHeight(), 297);

    // The custom entry, then papers 1 to 68 without 48 and 49.
    QList<int> expected{256};
    for (int n = 1; n <= 68; ++n)
        if (n != 48 && n != 49)
            expected.append(n);
    QList<int> numbers;
    for (const auto &e : p->Papers())
        numbers.append(e.number);
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(p->Papers().front().name, QStringLiteral("Personalizzata"));
    ASSERT_EQ(p->Bins().size(), 1);
    EXPECT_EQ(p->Bins().front(), (print::NumberedName{7, QStringLiteral("Default")}));
    EXPECT_EQ(list.Items(-1), nullptr);
    EXPECT_EQ(list.Items(1), nullptr);
    EXPECT_EQ(list.IndexOf(QStringLiteral("VIRTUALE")), 0);
}

TEST(VirtualPrinter, NamesAndNumbers)
{
    TkvlCustomPrinter *p = kvlPrinters().GetCurrentPrinter();
    struct Case {
        const char *name;
        int paper, bin;
    } cases[] = {
        {"nessuna carta", 256, 7},
        {"personalizzata", 256, 7},
        {"DEFAULT", 256, 7},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(p->PaperNameToNumber(QString::fromLatin1(c.name)), c.paper) << c.name;
        EXPECT_EQ(p->BinNameToNumber(QString::fromLatin1(c.name)), c.bin) << c.name;
    }
    EXPECT_EQ(p->PaperIndex(9), 9);  // after the custom entry and papers 1 to 8
    EXPECT_EQ(p->PaperIndex(48), -1);
    EXPECT_EQ(p->BinIndex(7), 0);
    EXPECT_EQ(p->BinIndex(1), -1);
}

TEST(VirtualPrinter, ViewSettings)
{
    TkvlCustomPrinter *p = kvlPrinters().GetCurrentPrinter();
    struct Case {
        int paper;
        double width, height;
        TPrinterOrientation orientation;
        int wantPaper;
        double wantWidth, wantHeight;
    } cases[] = {
        {9, 1, 1, poPortrait, 9, 210, 297},          // table size wins over the given one
        {9, 1, 1, poLandscape, 9, 297, 210},
        {5, 0, 0, poLandscape, 5, 355.6, 215.9},
        {256, 100, 150, poLandscape, 256, 100, 150},  // custom: the given size, as given
        {48, 120, 80, poPortrait, 256, 120, 80},      // not in the table: custom
    };
    for (const Case &c : cases) {
        p->SetViewParams(c.paper, c.width, c.height, c.orientation);
        EXPECT_EQ(p->Paper(), c.wantPaper) << c.paper;
        EXPECT_EQ(p->Orientation(), c.orientation);
        EXPECT_DOUBLE_EQ(p->PaperWidth(), c.wantWidth) << c.paper;
        EXPECT_DOUBLE_EQ(p->PaperHeight(), c.wantHeight) << c.paper;
        EXPECT_EQ(p->LeftMargin(), 5);
        EXPECT_EQ(p->BottomMargin(), 5);
    }
    p->SetPrintParams(9, 0, 0, poPortrait, 4, 0, 1);
    EXPECT_EQ(p->Bin(), 4);
    // Nothing to print on: a job does not start.
    EXPECT_FALSE(p->BeginDoc());
    EXPECT_EQ(p->Canvas()->Canvas(), nullptr);
}

TEST(PaperTable, Dimensions)
{
    struct Case {
        int paper;
        bool found;
        double width, height;
    } cases[] = {
        {1, true, 215.9, 279.4}, {4, true, 431.8, 279.4}, {9, true, 210, 297},   {26, true, 863.6, 1117.6},
        {47, true, 220, 220},    {50, true, 235.5, 304.8}, {68, true, 322, 445}, {0, false, 0, 0},
        {48, false, 0, 0},       {49, false, 0, 0},       {69, false, 0, 0},     {256, false, 0, 0},
    };
    for (const Case &c : cases) {
        double w = -1, h = -1;
        EXPECT_EQ(kvlGetPaperDimensions(c.paper, w, h), c.found) << c.paper;
        if (c.found) {
            EXPECT_DOUBLE_EQ(w, c.width) << c.paper;
            EXPECT_DOUBLE_EQ(h, c.height) << c.paper;
        }
    }
    EXPECT_EQ(kvlPaperTableNumbers().size(), 66);
}

} // namespace
