#include "export/dialogs/xlsxexportdialog.h"
#include "export/resources/exportstrings.h"
#include "export/xlsx/xlsxexport.h"

#include "platform/ui/fakes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Click(QWidget *Button) { QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2)); }

struct XlsxDialog : ::testing::Test {
    XlsxDialog()
    {
        kvlAddExportStrings();
        filter->FileName = QStringLiteral("/tmp/eventi.xlsx");
        filter->SingleSheet = false;
        filter->ChunkSize = 100;
    }
    ui::FakeServices services;
    std::unique_ptr<TkvlXLSXExport> filter = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
};

} // namespace

TEST_F(XlsxDialog, ReportPagesAfterRowsPerSheetAndContinuousOutputReachTheFilter)
{
    TkvlXLSXExportDialog dialog;
    dialog.Load(*filter);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Microsoft Excel 2007 XML"));
    EXPECT_TRUE(dialog.RowsCountRB()->isChecked());
    EXPECT_EQ(dialog.edChunk()->text(), QStringLiteral("100"));
    EXPECT_TRUE(dialog.PageBreaksCB()->isChecked());

    Click(dialog.RPagesRB());
    Click(dialog.ContinuousCB());
    ui::FileDialogResult answer;
    answer.accepted = true;
    answer.files = QStringList{QStringLiteral("/tmp/scelto.xlsx")};
    services.files.answers << answer;
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    ASSERT_EQ(dialog.Apply(*filter), mrOk);

    EXPECT_FALSE(filter->SingleSheet);
    EXPECT_EQ(filter->ChunkSize, 0);
    EXPECT_FALSE(filter->EmptyLines);
    EXPECT_FALSE(filter->ExportPageBreaks);  // a continuous sheet has no page ends
    EXPECT_EQ(filter->FileName, QStringLiteral("/tmp/scelto.xlsx"));
}

TEST_F(XlsxDialog, RowsCountTakesTheTypedNumber)
{
    filter->ChunkSize = 0;
    filter->SingleSheet = true;
    TkvlXLSXExportDialog dialog;
    dialog.Load(*filter);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.NotSplitRB()->isChecked());
    Click(dialog.RowsCountRB());
    dialog.edChunk()->selectAll();
    QTest::keyClicks(dialog.edChunk(), QStringLiteral("50"));
    ui::FileDialogResult answer;
    answer.accepted = true;
    answer.files = QStringList{QStringLiteral("/tmp/scelto.xlsx")};
    services.files.answers << answer;
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    ASSERT_EQ(dialog.Apply(*filter), mrOk);
    EXPECT_FALSE(filter->SingleSheet);
    EXPECT_EQ(filter->ChunkSize, 50);
}
