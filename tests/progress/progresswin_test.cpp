// The small windows under the offscreen platform, driven by real key and mouse events.
#include "platform/ui/fakes.h"
#include "report/progress/kvlwindows.h"
#include "report/resources/kvlresources.h"
#include "report/widgets/kvldialogpageform.h"
#include "report/widgets/kvlinheritform.h"
#include "report/widgets/kvlpasswordform.h"
#include "report/widgets/kvlpopupform.h"
#include "report/widgets/kvlprogressform.h"
#include "report/widgets/kvlwidgetwindows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A main window that is active when the progress window is made.
class ProgressWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner.resize(300, 200);
        owner.show();
        owner.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    }
    QWidget owner;
};

TEST_F(ProgressWindow, ExecuteShowsTheMessageAndDisablesTheActiveWindow)
{
    TkvlProgressForm p;
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_EQ(p.size(), QSize(271, 101));
    p.Execute(10, QStringLiteral("Preparazione"), true, true);
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.LMessage()->text(), QStringLiteral("Preparazione"));
    EXPECT_EQ(p.CancelB()->text(), QStringLiteral("Annulla"));
    EXPECT_EQ(p.Bar()->maximum(), 10);
    EXPECT_EQ(p.LMessage()->y(), 15);
    p.SetShowProgress(false);
    EXPECT_FALSE(p.Bar()->isVisible());
    EXPECT_EQ(p.LMessage()->y(), 35);
    p.SetPosition(10);
    p.Tick();
    EXPECT_EQ(p.Bar()->value(), 10);
    p.Hide();
    EXPECT_TRUE(owner.isEnabled());
}

TEST_F(ProgressWindow, DestroyingItEnablesTheActiveWindow)
{
    {
        TkvlProgressForm p;
        p.Execute(3, {}, false, true);
        EXPECT_FALSE(p.CancelB()->isVisible());
        EXPECT_FALSE(owner.isEnabled());
    }
    EXPECT_TRUE(owner.isEnabled());
}

// Long work checks Terminated after each step; a click on Cancel arrives while a step lets the
// window's events run, and the loop stops at its next check.
TEST_F(ProgressWindow, CancelClickStopsTheLoopAtTheNextStep)
{
    TkvlProgressForm p;
    p.Execute(1000, QStringLiteral("Esportazione"), true, true);
    int steps = 0;
    int clickedAt = -1;
    while (!p.Terminated() && steps < 1000) {
        ++steps;
        if (steps == 5) {
            clickedAt = steps;
            QTimer::singleShot(0, p.CancelB(), [&p] { QTest::mouseClick(p.CancelB(), Qt::LeftButton); });
        }
        p.Tick();
    }
    EXPECT_EQ(steps, clickedAt);
    EXPECT_TRUE(p.Terminated());
    EXPECT_FALSE(p.isVisible());
    EXPECT_TRUE(owner.isEnabled());
    QTest::mouseClick(&owner, Qt::LeftButton); // usable again
}

TEST(PasswordForm, TypedPasswordAndEnter)
{
    kvlRegisterWindowTexts();
    TkvlPasswordForm f;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Password"));
    EXPECT_EQ(f.findChild<QLabel *>(QStringLiteral("PasswordL"))->text(), QStringLiteral("Inserisci la password:"));
    EXPECT_EQ(f.OkB()->text(), QStringLiteral("OK"));
    EXPECT_EQ(f.CancelB()->text(), QStringLiteral("Annulla"));
    EXPECT_EQ(f.PasswordE()->echoMode(), QLineEdit::Password);
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTest::keyClicks(f.PasswordE(), QStringLiteral("segreto"));
    QTest::keyClick(f.PasswordE(), Qt::Key_Return);
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.Password(), QStringLiteral("segreto"));
}

// Through the installed factory: the modal prompt is answered from a timer.
TEST(PasswordForm, FactoryPromptAnswersTypedTextOrNothing)
{
    kvlInstallWidgetWindows();
    for (bool cancel : {false, true}) {
        QTimer::singleShot(0, [cancel] {
            auto *f = dynamic_cast<TkvlPasswordForm *>(QApplication::activeModalWidget());
            ASSERT_NE(f, nullptr);
            QTest::keyClicks(f->PasswordE(), QStringLiteral("abc"));
            if (cancel)
                QTest::mouseClick(f->CancelB(), Qt::LeftButton);
            else
                QTest::keyClick(f->PasswordE(), Qt::Key_Enter);
        });
        const std::optional<QString> typed = kvlWindows().AskPassword();
        if (cancel)
            EXPECT_FALSE(typed.has_value());
        else
            EXPECT_EQ(typed, QStringLiteral("abc"));
    }
    kvlInstallWindows(nullptr);
}

TEST(InheritErrorForm, CaptionsAndAnswers)
{
    kvlRegisterWindowTexts();
    struct Case {
        bool rename, ok;
        TkvlInheritAnswer expected;
    } cases[] = {
        {false, true, TkvlInheritAnswer::Delete},
        {true, true, TkvlInheritAnswer::Rename},
        {true, false, TkvlInheritAnswer::Cancel},
    };
    for (const Case &c : cases) {
        TkvlInheritErrorForm f;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Inherit error"));
        EXPECT_EQ(f.DeleteRB()->text(), QStringLiteral("Delete duplicates"));
        EXPECT_EQ(f.RenameRB()->text(), QStringLiteral("Rename duplicates"));
        EXPECT_TRUE(f.DeleteRB()->isChecked());
        f.show();
        if (c.rename)
            QTest::mouseClick(f.RenameRB(), Qt::LeftButton);
        QTest::mouseClick(c.ok ? f.OkB() : f.CancelB(), Qt::LeftButton);
        EXPECT_EQ(f.Answer(), c.expected);
    }
}

// Controls placed for left-to-right come out mirrored in a right-to-left window.
TEST(SmallWindows, RightToLeftMirrorsTheControls)
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    TkvlProgressForm progress;
    TkvlPasswordForm password;
    QApplication::setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(progress.CancelB()->geometry(), QRect(271 - 100 - 75, 64, 75, 25));
    EXPECT_EQ(password.OkB()->x(), 252 - 88 - 75);
    TkvlPasswordForm leftToRight;
    EXPECT_EQ(leftToRight.OkB()->x(), 88);
}

TEST(PopupForm, LosingActivationClosesFreesAndNotesTheTime)
{
    ui::FakeServices services;
    services.clock.ticks = 7000;
    QPointer<TkvlPopupForm> popup = new TkvlPopupForm;
    popup->resize(120, 80);
    popup->show();
    popup->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(popup));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(kvlPopupFormCloseTime(), 7000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup.isNull(); }));
    services.clock.advance(30);
    EXPECT_TRUE(kvlPopupJustClosed()); // the closing click does not reopen it
}

TEST(PopupForm, KeptWhenClosedWithAModalResult)
{
    TkvlPopupForm popup;
    popup.SetModalResult(1);
    popup.show();
    popup.close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(popup.isVisible()); // still alive: a deleteLater would crash at scope end
}

TEST(DialogForm, ClosesOnlyWhenThePageAllows)
{
    TkvlDialogForm f(false);
    f.resize(200, 150);
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.close());
    bool allow = false;
    f.OnCloseQuery = [&allow] { return allow; };
    EXPECT_FALSE(f.close());
    allow = true;
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
}

} // namespace
