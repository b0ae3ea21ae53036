// The fill dialog: the page of the given fill, the active page as the result, the simple fill,
// and the blend typed with either separator or refused.
#include "designer/widgets/filleditorform.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>

using namespace objtest;

namespace {

struct FillWindow : Fixture {
    static void clickTab(TkvlFillEditorForm *f, int Index)
    {
        QTabBar *bar = f->PageControl->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(Index).center());
        ASSERT_EQ(f->PageControl->currentIndex(), Index);
    }
};

TEST_F(FillWindow, OpensOnTheFillsPageAndReturnsThePageActiveOnOk)
{
    TkvlGradientFill gradient;
    gradient.FStartColor = 0x123456;
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlFillEditorForm *>(d);
        EXPECT_EQ(f->PageControl->currentIndex(), int(ftGradient));
        clickTab(f, ftBrush);
        click(child<QWidget>(f, "OKB"));
    });
    std::unique_ptr<TkvlCustomFill> result(kvlEditFill(nullptr, &gradient));
    auto *brush = dynamic_cast<TkvlBrushFill *>(result.get());
    ASSERT_TRUE(brush);
    const TkvlBrushFill defaults;
    EXPECT_EQ(brush->FBackColor, defaults.FBackColor);
    EXPECT_EQ(brush->FForeColor, defaults.FForeColor);
    EXPECT_EQ(brush->FStyle, defaults.FStyle);

    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlFillEditorForm *>(d);
        EXPECT_TRUE(f->PageControl->isTabVisible(ftBrush));
        EXPECT_FALSE(f->PageControl->isTabVisible(ftGradient));
        EXPECT_FALSE(f->PageControl->isTabVisible(ftGlass));
        EXPECT_EQ(f->PageControl->currentIndex(), int(ftBrush));
        click(child<QWidget>(f, "CancelB"));
    });
    EXPECT_EQ(kvlEditFill(nullptr, &gradient, true), nullptr);
}

TEST_F(FillWindow, BlendWithEitherSeparatorConfirmedWithEnter)
{
    TkvlGlassFill glass;
    for (const char *text : {"0,25", "0.25"}) {
        whenModal([text](QDialog *d) {
            auto *f = static_cast<TkvlFillEditorForm *>(d);
            EXPECT_EQ(f->PageControl->currentIndex(), int(ftGlass));
            f->GlassBlendE->setFocus();
            f->GlassBlendE->selectAll();
            QTest::keyClicks(f->GlassBlendE, QString::fromLatin1(text));
            QTest::keyClick(f->GlassBlendE, Qt::Key_Return);
        });
        std::unique_ptr<TkvlCustomFill> result(kvlEditFill(nullptr, &glass));
        auto *g = dynamic_cast<TkvlGlassFill *>(result.get());
        ASSERT_TRUE(g) << text;
        EXPECT_DOUBLE_EQ(g->FBlend, 0.25) << text;
    }
}

TEST_F(FillWindow, ABlendThatIsNoNumberKeepsTheDialogOpen)
{
    TkvlGlassFill glass;
    glass.FBlend = 0.75;
    whenModal([this](QDialog *d) {
        auto *f = static_cast<TkvlFillEditorForm *>(d);
        f->GlassBlendE->setFocus();
        f->GlassBlendE->selectAll();
        QTest::keyClicks(f->GlassBlendE, QStringLiteral("x"));
        QTest::keyClick(f->GlassBlendE, Qt::Key_Return);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(services.messages.shown.size(), 1) << "one error for one Enter";
        click(child<QWidget>(f, "OKB"));
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(services.messages.shown.size(), 2);
        EXPECT_DOUBLE_EQ(static_cast<TkvlGlassFill *>(f->Fill())->FBlend, 0.75);
        click(child<QWidget>(f, "CancelB"));
    });
    EXPECT_EQ(kvlEditFill(nullptr, &glass), nullptr);
}

} // namespace
