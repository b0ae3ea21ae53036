#include "export/dialogs/docxexportdialog.h"
#include "export/docx/docxexport.h"
#include "export/resources/exportstrings.h"

#include "platform/ui/fakes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Click(QWidget *Button) { QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2)); }

// The texts are in the table before the filter and the dialog are made.
struct WithExportStrings {
    WithExportStrings() { kvlAddExportStrings(); }
};

struct DocxDialog : ::testing::Test, WithExportStrings {
    DocxDialog()
    {
        filter->FileName = QStringLiteral("/tmp/eventi.docx");
    }
    ui::FakeServices services;
    std::unique_ptr<TkvlDOCXExport> filter = TkvlCustomExportFilter::CreateNoRegister<TkvlDOCXExport>();
};

} // namespace

TEST_F(DocxDialog, TextsComeFromTheTagsAndTheChoicesReachTheFilter)
{
    TkvlDOCXExportDialog dialog;
    dialog.Load(*filter);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Microsoft Word 2007 XML"));
    EXPECT_EQ(dialog.OkB()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.CancelB()->text(), QStringLiteral("Annulla"));
    EXPECT_EQ(dialog.GroupPageRange()->title(), QStringLiteral("Pagine"));
    EXPECT_EQ(dialog.AllRB()->text(), QStringLiteral("Tutte"));
    EXPECT_EQ(dialog.CurPageRB()->text(), QStringLiteral("Pagina corrente"));
    EXPECT_EQ(dialog.PageNumbersRB()->text(), QStringLiteral("Pagine:"));
    EXPECT_EQ(dialog.OpenCB()->text(), QStringLiteral("Apri il PDF dopo l'esportazione"));
    EXPECT_FALSE(dialog.DescrL()->text().isEmpty());

    QTest::keyClicks(dialog.PageNumbersE(), QStringLiteral("2-x3"));
    Click(dialog.OpenCB());
    ui::FileDialogResult answer;
    answer.accepted = true;
    answer.files = QStringList{QStringLiteral("/tmp/scelto.docx")};
    services.files.answers << answer;
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    ASSERT_EQ(dialog.Apply(*filter), mrOk);
    EXPECT_EQ(filter->PageNumbers, QStringLiteral("2-3"));
    EXPECT_TRUE(filter->OpenAfterExport);
    EXPECT_EQ(filter->FileName, QStringLiteral("/tmp/scelto.docx"));
    ASSERT_EQ(services.files.saved.size(), 1);
    EXPECT_EQ(services.files.saved[0].filter, QStringLiteral("Microsoft Word 2007 XML (*.docx)|*.docx|All files|*.*"));
    EXPECT_EQ(services.files.saved[0].defaultExt, QStringLiteral("docx"));
}

TEST_F(DocxDialog, ASlaveExportNeitherOpensNorAsksForAFile)
{
    filter->SlaveExport = true;
    filter->OpenAfterExport = true;
    TkvlDOCXExportDialog dialog;
    dialog.Load(*filter);
    EXPECT_FALSE(dialog.OpenCB()->isEnabled());
    EXPECT_FALSE(filter->OpenAfterExport);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    EXPECT_EQ(dialog.Apply(*filter), mrOk);
    EXPECT_TRUE(services.files.saved.isEmpty());
    EXPECT_FALSE(filter->OpenAfterExport);
}
