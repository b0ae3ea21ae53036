#include "export/csv/csvexport.h"
#include "export/dialogs/csvexportdialog.h"
#include "export/resources/exportstrings.h"

#include "platform/ui/fakes.h"
#include "report/resources/kvlresources.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The texts are in the table before the dialog is made.
struct WithExportStrings {
    WithExportStrings() { kvlAddExportStrings(); }
};

// A button's label, not its empty stretch, takes the click.
void Click(QWidget *Button) { QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2)); }

struct CsvDialog : ::testing::Test, WithExportStrings {
    CsvDialog()
    {
        filter->FileName = QStringLiteral("/tmp/eventi.csv");
        filter->Separator = QStringLiteral(";");
        dialog.Load(*filter);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    ui::FakeServices services;
    std::unique_ptr<TkvlCSVExport> filter = TkvlCustomExportFilter::CreateNoRegister<TkvlCSVExport>();
    TkvlCSVExportDialog dialog;
};

} // namespace

TEST_F(CsvDialog, TypedPagesAndOptionsReachTheFilterAndTheSaveDialogNamesTheFile)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export to CSV"));
    EXPECT_EQ(dialog.OEMCB()->text(), QStringLiteral("Set di caratteri OEM"));
    EXPECT_TRUE(dialog.AllRB()->isChecked());

    // Only digits, ',' and '-' get into the page field, and typing there picks the page choice.
    QTest::keyClicks(dialog.PageNumbersE(), QStringLiteral("1a,3-5x"));
    EXPECT_EQ(dialog.PageNumbersE()->text(), QStringLiteral("1,3-5"));
    EXPECT_TRUE(dialog.PageNumbersRB()->isChecked());
    Click(dialog.OEMCB());
    dialog.SeparatorE()->setFocus();
    QTest::keyClick(dialog.SeparatorE(), Qt::Key_Backspace);
    QTest::keyClicks(dialog.SeparatorE(), QStringLiteral("|"));
    Click(dialog.OpenCB());

    ui::FileDialogResult answer;
    answer.accepted = true;
    answer.files = QStringList{QStringLiteral("/tmp/scelto.csv")};
    services.files.answers << answer;
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Apply(*filter), mrOk);

    EXPECT_EQ(filter->PageNumbers, QStringLiteral("1,3-5"));
    EXPECT_TRUE(filter->OEMCodepage);
    EXPECT_TRUE(filter->OpenAfterExport);
    EXPECT_EQ(filter->Separator, QStringLiteral("|"));
    EXPECT_EQ(filter->FileName, QStringLiteral("/tmp/scelto.csv"));
    ASSERT_EQ(services.files.saved.size(), 1);
    EXPECT_EQ(services.files.saved[0].fileName, QStringLiteral("/tmp/eventi.csv"));
    EXPECT_EQ(services.files.saved[0].filter, QStringLiteral("CSV file (*.csv)|*.csv"));
    EXPECT_EQ(services.files.saved[0].defaultExt, QStringLiteral("csv"));
}

TEST_F(CsvDialog, CancellingTheSaveDialogCancelsTheExport)
{
    Click(dialog.CurPageRB());
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    EXPECT_EQ(dialog.Apply(*filter), mrCancel);  // the fake cancels when it has no answer
    EXPECT_TRUE(filter->CurPage);
    EXPECT_EQ(filter->FileName, QStringLiteral("/tmp/eventi.csv"));
}

TEST_F(CsvDialog, ASlaveExportAsksForNoFileAndNeverOpensIt)
{
    filter->SlaveExport = true;
    filter->OpenAfterExport = true;
    TkvlCSVExportDialog slave;
    slave.Load(*filter);
    slave.show();
    EXPECT_FALSE(slave.OpenCB()->isVisible());
    EXPECT_FALSE(filter->OpenAfterExport);
    QTest::mouseClick(slave.OkB(), Qt::LeftButton);
    EXPECT_EQ(slave.Apply(*filter), mrOk);
    EXPECT_TRUE(services.files.saved.isEmpty());
}

TEST(ExportStrings, EveryNameOfTheBlockAnswersInItalian)
{
    kvlAddExportStrings();
    TkvlResources &res = kvlResources();
    struct Case { const char *name, *text; };
    const Case cases[] = {
        {"8302", " Proprietà di esportazione  "}, {"8706", "Apri il PDF dopo l'esportazione"},
        {"8851", "CSV file (*.csv)|*.csv"},        {"CSVExport", "CSV file"},
        {"9000", "Conteggio righe:"},              {"9203", "Microsoft Word 2007 XML"},
        {"PDFexport", "File PDF"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(res.Get(QString::fromUtf8(c.name)), QString::fromUtf8(c.text)) << c.name;
    // Every name of the block's ranges and keys is present (275 distinct ones).
    const std::pair<int, int> ranges[] = {{8000, 8010}, {8100, 8106}, {8200, 8211}, {8300, 8326}, {8400, 8411},
                                          {8500, 8505}, {8600, 8606}, {8700, 8709}, {8800, 8802}, {8850, 8853},
                                          {8900, 8924}, {8950, 8954}, {8960, 8989}, {9000, 9004}, {9101, 9111},
                                          {9151, 9184}, {9300, 9304}, {9400, 9406}};
    QStringList names = {QStringLiteral("9200"), QStringLiteral("9201"), QStringLiteral("9203"),
                         QStringLiteral("9512"), QStringLiteral("9513")};
    for (const auto &[a, b] : ranges)
        for (int i = a; i <= b; ++i)
            names << QString::number(i);
    for (const char *key : {"RTFexport", "ProgressObjects", "HTMLNavTotal", "SimpleTextExport", "KorvelleFile",
                            "ODTExport", "BiffImg", "xBlank", "expMailAddr", "EMFexportFilter", "SVGExtension"})
        names << QLatin1String(key);
    for (const QString &n : names) {
        EXPECT_GE(res.IndexOf(n), 0) << n.toStdString();
        EXPECT_FALSE(res.Get(n).isEmpty()) << n.toStdString();
    }
}
