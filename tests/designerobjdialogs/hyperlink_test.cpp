// The hyperlink dialog: what OK writes for each kind, the detail page made invisible, Cancel,
// and the variables of a template file.
#include "designer/widgets/hyperlinkeditorform.h"
#include "engine/widgets/kvlcombobox.h"
#include "report/vars/kvlvariables.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace objtest;

namespace {

struct Hyperlinks : Fixture {
    TkvlReportPage *detail = nullptr;
    Hyperlinks()
    {
        detail = new TkvlReportPage(report.get());
        detail->SetName(QStringLiteral("Page2"));
        report->Variables().SetVariables(QStringLiteral(" Categoria"), Variant());
        report->Variables().SetVariables(QStringLiteral("Cliente"), Variant(1));
    }
    bool run(std::function<void(TkvlHyperlinkEditorForm *)> Steps, bool Ok = true)
    {
        whenModal([Steps, Ok](QDialog *d) {
            auto *f = static_cast<TkvlHyperlinkEditorForm *>(d);
            Steps(f);
            click(child<QWidget>(f, Ok ? "OKB" : "CancelB"));
        });
        return kvlEditHyperlink(nullptr, designer.get(), memo);
    }
};

TEST_F(Hyperlinks, ReportPageMakesThePageInvisibleAndShowsOnlyItsPanel)
{
    ASSERT_TRUE(run([](TkvlHyperlinkEditorForm *f) {
        EXPECT_TRUE(f->KindRB[hkURL]->isChecked());
        click(f->KindRB[hkDetailPage]);
        for (int k = 0; k < 6; ++k)
            EXPECT_EQ(f->KindP[k]->isVisible(), k == hkDetailPage) << k;
        EXPECT_EQ(f->Hint2L->text(), QStringLiteral("Specified page will be generated and opened in a separate preview tab."));
        ASSERT_EQ(f->ReportPageCB->count(), 1) << "the page being edited is not offered";
        EXPECT_EQ(f->ReportPageCB->itemText(0), QStringLiteral("Page2"));
        EXPECT_EQ(f->ReportPageCB->currentIndex(), -1);
        f->ReportPageCB->setFocus();
        QTest::keyClick(f->ReportPageCB, Qt::Key_Down);
        ASSERT_EQ(f->ReportPageParamCB->count(), 1) << "categories are not variables";
        f->ReportPageParamCB->setFocus();
        QTest::keyClicks(f->ReportPageParamCB, QStringLiteral("Cliente"));
        f->ExprE[hkDetailPage]->setFocus();
        QTest::keyClicks(f->ExprE[hkDetailPage], QStringLiteral("<EVENTS.\"ID\">"));
        click(f->ModifyAppearanceCB);
    }));
    const TkvlHyperlink *h = memo->Hyperlink();
    EXPECT_EQ(h->FKind, hkDetailPage);
    EXPECT_EQ(h->FDetailPage, QStringLiteral("Page2"));
    EXPECT_EQ(h->FReportVariable, QStringLiteral("Cliente"));
    EXPECT_EQ(h->FExpression, QStringLiteral("<EVENTS.\"ID\">"));
    EXPECT_FALSE(detail->Visible());
    EXPECT_TRUE(page->Visible());
    EXPECT_EQ(memo->Cursor, kvlHandCursor);
    EXPECT_EQ(memo->Font()->Color(), clNavy);
    EXPECT_TRUE(memo->Font()->HasStyle(fsUnderline));
}

TEST_F(Hyperlinks, UrlKeepsTheDetailPropertiesAndAMissingPageOpensUnselected)
{
    TkvlHyperlink *h = memo->Hyperlink();
    h->FKind = hkDetailPage;
    h->FDetailPage = QStringLiteral("Gone");
    h->FDetailReport = QStringLiteral("other.kv3");
    h->FReportVariable = QStringLiteral("V");
    ASSERT_TRUE(run([](TkvlHyperlinkEditorForm *f) {
        EXPECT_TRUE(f->KindRB[hkDetailPage]->isChecked());
        EXPECT_EQ(f->ReportPageCB->currentIndex(), -1);
        click(f->KindRB[hkURL]);
        f->ValueE[hkURL]->setFocus();
        QTest::keyClicks(f->ValueE[hkURL], QStringLiteral("https://example.org"));
    }));
    EXPECT_EQ(h->FKind, hkURL);
    EXPECT_EQ(h->FValue, QStringLiteral("https://example.org"));
    EXPECT_EQ(h->FDetailPage, QStringLiteral("Gone"));
    EXPECT_EQ(h->FDetailReport, QStringLiteral("other.kv3"));
    EXPECT_EQ(h->FReportVariable, QStringLiteral("V"));
    EXPECT_EQ(memo->Cursor, 0) << "the appearance was not asked for";
}

TEST_F(Hyperlinks, CancelChangesNeitherLinkNorCursorNorFont)
{
    const int32_t color = memo->Font()->Color();
    ASSERT_FALSE(run(
        [](TkvlHyperlinkEditorForm *f) {
            click(f->KindRB[hkDetailPage]);
            click(f->ModifyAppearanceCB);
        },
        false));
    EXPECT_EQ(memo->Hyperlink()->FKind, hkURL);
    EXPECT_EQ(memo->Cursor, 0);
    EXPECT_EQ(memo->Font()->Color(), color);
    EXPECT_FALSE(memo->Font()->HasStyle(fsUnderline));
    EXPECT_TRUE(detail->Visible());
}

TEST_F(Hyperlinks, VariablesOfATemplateFileAndOfABrokenOne)
{
    const QString good = dir.filePath(QStringLiteral("detail.kv3"));
    {
        TkvlReport t(nullptr);
        t.Variables().SetVariables(QStringLiteral(" Gruppo"), Variant());
        t.Variables().SetVariables(QStringLiteral("Anno"), Variant(2026));
        t.Variables().SetVariables(QStringLiteral("Mese"), Variant(12));
        t.SaveToFile(good);
    }
    EXPECT_EQ(kvlFileVariableNames(good), (QStringList{QStringLiteral("Anno"), QStringLiteral("Mese")}));
    const QString broken = dir.filePath(QStringLiteral("broken.kv3"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?><TkvlReport><unclosed");
    f.close();
    EXPECT_TRUE(kvlFileVariableNames(broken).isEmpty());
    EXPECT_TRUE(kvlFileVariableNames(dir.filePath(QStringLiteral("missing.kv3"))).isEmpty());

    // The report file button lists the chosen file's variables.
    services.files.answers = {ui::FileDialogResult{true, {good}, 1}};
    ASSERT_TRUE(run([&good](TkvlHyperlinkEditorForm *f) {
        click(f->KindRB[hkDetailReport]);
        click(f->ReportNameE->Button());
        EXPECT_EQ(f->ReportNameE->currentText(), good);
        EXPECT_EQ(f->ReportParamCB->count(), 2);
        f->ReportParamCB->setFocus();
        QTest::keyClicks(f->ReportParamCB, QStringLiteral("Anno"));
    }));
    EXPECT_EQ(memo->Hyperlink()->FDetailReport, good);
    EXPECT_EQ(memo->Hyperlink()->FReportVariable, QStringLiteral("Anno"));
}

} // namespace
