// The PDF settings dialog with fake services: properties in and out, the outline box
// following the preview, the quality box, and Cancel in the save dialog.
#include "export/dialogs/pdfexportdialog.h"
#include "tests/pdf/pdffixture.h"

#include "platform/ui/fakes.h"
#include "report/options/kvloptions.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

void Click(QWidget *Button) { QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2)); }

ui::FileDialogResult Chosen(const QString &File)
{
    ui::FileDialogResult answer;
    answer.accepted = !File.isEmpty();
    if (answer.accepted)
        answer.files = QStringList{File};
    return answer;
}

} // namespace

struct PdfDialog : PdfFixture {
    ui::FakeServices services;
};

TEST_F(PdfDialog, PropertiesGoInAndComeOutThroughTheTabs)
{
    report->PreviewOptions()->OutlineVisible = true;
    filter->Title = QStringLiteral("Eventi");
    filter->UserPassword = QStringLiteral("u");
    filter->Quality = 80;
    filter->SetProtectionFlags(kvlPDFEncAll);
    TkvlPDFExportDialog dialog;
    dialog.Load(*filter);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Esportazione in formato PDF"));
    const QStringList tabs = {QStringLiteral("Esporta"), QStringLiteral("Informazioni"), QStringLiteral("Sicurezza"),
                              QStringLiteral("Visualizzazione")};
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(dialog.PageControl()->tabText(i), tabs[i]);
    EXPECT_EQ(dialog.HideMenubarCB()->text(), QStringLiteral("Nascondi i menù"));
    EXPECT_TRUE(dialog.OutlineCB()->isChecked());
    EXPECT_TRUE(dialog.OutlineCB()->isEnabled());
    EXPECT_EQ(dialog.Quality()->value(), 80);
    EXPECT_EQ(dialog.TitleE()->text(), QStringLiteral("Eventi"));
    EXPECT_EQ(dialog.UserPassE()->echoMode(), QLineEdit::Password);

    // Letters never reach the quality box.
    dialog.Quality()->selectAll();
    QTest::keyClicks(dialog.Quality(), QStringLiteral("abc"));
    EXPECT_EQ(dialog.Quality()->value(), 80);
    dialog.Quality()->selectAll();
    QTest::keyClicks(dialog.Quality(), QStringLiteral("55"));

    Click(dialog.OutlineCB());
    Click(dialog.TransparentCB());
    dialog.PageControl()->setCurrentIndex(1);
    dialog.AuthorE()->selectAll();
    QTest::keyClicks(dialog.AuthorE(), QStringLiteral("Dante"));
    dialog.PageControl()->setCurrentIndex(2);
    QTest::keyClicks(dialog.OwnPassE(), QStringLiteral("segreta"));
    Click(dialog.PrintCB());
    dialog.PageControl()->setCurrentIndex(3);
    Click(dialog.FitWindowCB());

    services.files.answers << Chosen(QStringLiteral("/tmp/scelto.pdf"));
    QTest::mouseClick(dialog.OkB(), Qt::LeftButton);
    ASSERT_EQ(dialog.Apply(*filter), mrOk);
    EXPECT_EQ(filter->Quality, 55);
    EXPECT_FALSE(filter->Outline);
    EXPECT_TRUE(filter->Transparency);
    EXPECT_EQ(filter->Author, QStringLiteral("Dante"));
    EXPECT_EQ(filter->OwnerPassword, QStringLiteral("segreta"));
    EXPECT_EQ(filter->UserPassword, QStringLiteral("u"));
    EXPECT_EQ(filter->ProtectionFlags(), kvlPDFEncAll & ~kvlPDFEncBit(ePrint));
    EXPECT_TRUE(filter->FitWindow);
    EXPECT_FALSE(filter->HideToolbar);
    EXPECT_EQ(filter->FileName, QStringLiteral("/tmp/scelto.pdf"));
}

TEST_F(PdfDialog, AnOutlineThePreviewHidesCannotBeChosen)
{
    report->PreviewOptions()->OutlineVisible = false;
    filter->Outline = true;
    TkvlPDFExportDialog dialog;
    dialog.Load(*filter);
    EXPECT_FALSE(dialog.OutlineCB()->isChecked());
    EXPECT_FALSE(dialog.OutlineCB()->isEnabled());
    services.files.answers << Chosen(QStringLiteral("/tmp/x.pdf"));
    ASSERT_EQ(dialog.Apply(*filter), mrOk);
    EXPECT_FALSE(filter->Outline);
}

TEST_F(PdfDialog, CancelInTheSaveDialogCancelsButKeepsTheSettings)
{
    filter->FileName.clear();
    TkvlPDFExportDialog dialog;
    dialog.Load(*filter);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    Click(dialog.PDFACB());
    services.files.answers << Chosen(QString());
    EXPECT_EQ(dialog.Apply(*filter), mrCancel);
    EXPECT_TRUE(filter->PdfA);
    EXPECT_TRUE(filter->FileName.isEmpty());
}
