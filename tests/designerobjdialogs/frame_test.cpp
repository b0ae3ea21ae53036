// The frame dialog: sides switched with the current line, all and none, widths typed with
// either separator, a width that is no number refused, and Cancel.
#include "designer/core/colortable.h"
#include "designer/widgets/colorcombo.h"
#include "designer/widgets/frameeditorform.h"
#include "designer/widgets/linestyle.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

using namespace objtest;

namespace {

using FrameRules = Fixture;

TEST_F(FrameRules, ClickingASideRestylesItBeforeRemovingIt)
{
    const TkvlFrameLineValues dash{fsDash, 1, 0};
    TkvlFrame f;
    f.SetTyp(kvlFrameBit(ftTop));  // a solid top
    // Switching it off in another style restyles it and keeps it on.
    kvlFrameLineClicked(f, ftTop, false, dash);
    EXPECT_TRUE(f.Has(ftTop));
    EXPECT_EQ(f.TopLine()->Style(), fsDash);
    // The same click again removes it.
    kvlFrameLineClicked(f, ftTop, false, dash);
    EXPECT_FALSE(f.Has(ftTop));
    // A width shown rounded still matches.
    const TkvlFrameLineValues third{fsSolid, 1.0 / 3 + 1e-9, 0};
    f.LeftLine()->SetWidth(1.0 / 3);
    f.SetTyp(kvlFrameBit(ftLeft));
    kvlFrameLineClicked(f, ftLeft, false, third);
    EXPECT_FALSE(f.Has(ftLeft));
}

TEST_F(FrameRules, AllAppliesTheLineAndNoneKeepsTheSideStyles)
{
    TkvlFrame f;
    kvlFrameAllSides(f, {fsDot, 2.5, 0xFF});
    EXPECT_EQ(f.Typ(), kvlFrameAll);
    for (const TkvlFrameLine *l : {f.LeftLine(), f.RightLine(), f.TopLine(), f.BottomLine()}) {
        EXPECT_EQ(l->Style(), fsDot);
        EXPECT_DOUBLE_EQ(l->Width(), 2.5);
        EXPECT_EQ(l->Color(), 0xFF);
    }
    kvlFrameNoSides(f);
    EXPECT_EQ(f.Typ(), 0u);
    EXPECT_EQ(f.BottomLine()->Style(), fsDot);
}

struct FrameWindow : Fixture {
    TkvlFrame edited;
    // Runs Steps in the dialog opened on `edited`, then presses OK (or Cancel).
    bool run(std::function<void(TkvlFrameEditorForm *)> Steps, bool Ok = true)
    {
        whenModal([Steps, Ok](QDialog *d) {
            auto *f = static_cast<TkvlFrameEditorForm *>(d);
            Steps(f);
            click(child<QWidget>(f, Ok ? "OkB" : "CancelB"));
        });
        return kvlEditFrame(nullptr, &edited);
    }
    static void typeWidth(TkvlFrameEditorForm *f, const QString &Text)
    {
        f->LineWidthCB->lineEdit()->selectAll();
        QTest::keyClicks(f->LineWidthCB->lineEdit(), Text);
    }
};

TEST_F(FrameWindow, WidthsTypedWithEitherSeparatorGiveTheSameSide)
{
    for (const char *text : {"1,5", "1.5"}) {
        edited.SetTyp(0);
        ASSERT_TRUE(run([text](TkvlFrameEditorForm *f) {
            typeWidth(f, QString::fromLatin1(text));
            click(f->FrameTopB);
            EXPECT_TRUE(f->FrameTopB->isChecked());
        }));
        EXPECT_EQ(edited.Typ(), kvlFrameBit(ftTop)) << text;
        EXPECT_DOUBLE_EQ(edited.TopLine()->Width(), 1.5) << text;
    }
}

TEST_F(FrameWindow, ButtonsAllNoneAndSecondClick)
{
    edited.SetTyp(kvlFrameBit(ftTop));
    ASSERT_TRUE(run([](TkvlFrameEditorForm *f) {
        EXPECT_TRUE(f->FrameTopB->isChecked());
        // Dash chosen: the pressed top becomes dashed and stays on, then goes.
        QTest::mouseClick(f->LineStyleC, Qt::LeftButton, {}, kvlLineRows::RowRect(fsDash, f->LineStyleC->size()).center());
        ASSERT_EQ(f->LineStyleC->Style(), int(fsDash));
        click(f->FrameTopB);
        EXPECT_TRUE(f->FrameTopB->isChecked());
        EXPECT_EQ(f->Frame.TopLine()->Style(), fsDash);
        click(f->FrameTopB);
        EXPECT_FALSE(f->FrameTopB->isChecked());
        click(f->FrameAllB);
        for (QToolButton *b : {f->FrameTopB, f->FrameBottomB, f->FrameLeftB, f->FrameRightB})
            EXPECT_TRUE(b->isChecked());
        click(f->FrameNoB);
        EXPECT_FALSE(f->FrameLeftB->isChecked());
        click(f->ShadowCB);
        EXPECT_TRUE(f->ShadowWidthCB->isEnabled());
    }));
    EXPECT_EQ(edited.Typ(), 0u);
    EXPECT_EQ(edited.LeftLine()->Style(), fsDash) << "None keeps the styles All gave";
    EXPECT_TRUE(edited.DropShadow());
}

TEST_F(FrameWindow, AWidthThatIsNoNumberIsRefusedAndCancelTouchesNothing)
{
    edited.SetTyp(kvlFrameBit(ftLeft));
    edited.SetWidth(2);
    EXPECT_FALSE(run(
        [this](TkvlFrameEditorForm *f) {
            typeWidth(f, QStringLiteral("x"));
            click(f->FrameTopB);
            EXPECT_EQ(services.messages.shown.size(), 1);
            EXPECT_FALSE(f->Frame.Has(ftTop));
            EXPECT_FALSE(f->FrameTopB->isChecked());
            typeWidth(f, QStringLiteral("3"));
            click(f->FrameAllB);
            EXPECT_EQ(f->Frame.Typ(), kvlFrameAll);
        },
        false));
    EXPECT_EQ(edited.Typ(), kvlFrameBit(ftLeft));
    EXPECT_DOUBLE_EQ(edited.Width(), 2);
}

} // namespace
