// Dialog pages in their real window and dialog controls on it, under the offscreen platform,
// driven by real key and mouse events.
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "report/bands/kvlband.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/pages/kvlreportpage.h"
#include "report/progress/kvlwindows.h"
#include "report/widgets/kvldialogpageform.h"
#include "report/widgets/kvlinheritform.h"
#include "report/widgets/kvlparentform.h"
#include "report/widgets/kvlwidgetwindows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

// Two small kinds: a button, whose caption shows its name, and an edit, whose text is data.
class TkvlTestButtonControl final : public TkvlDialogControl {
    LIRRA_CLASS(TkvlTestButtonControl, TkvlDialogControl)
public:
    explicit TkvlTestButtonControl(TComponent *AOwner) : TkvlDialogControl(AOwner)
    {
        SetControl(std::make_unique<QPushButton>());
    }
};
LIRRA_DEFINE_CLASS(TkvlTestButtonControl)
void TkvlTestButtonControl::DeclareClass(rtl::ClassBuilder<TkvlTestButtonControl> &) {}

class TkvlTestEditControl final : public TkvlDialogControl {
    LIRRA_CLASS(TkvlTestEditControl, TkvlDialogControl)
public:
    explicit TkvlTestEditControl(TComponent *AOwner) : TkvlDialogControl(AOwner)
    {
        CaptionFollowsName = false;
        SetControl(std::make_unique<QLineEdit>());
    }
    QLineEdit *Edit() const { return static_cast<QLineEdit *>(Control()); }
};
LIRRA_DEFINE_CLASS(TkvlTestEditControl)
void TkvlTestEditControl::DeclareClass(rtl::ClassBuilder<TkvlTestEditControl> &) {}

namespace {

// A report with a dialog page whose window is the real one.
class DialogWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        kvlInstallWidgetWindows();
        report = std::make_unique<TkvlReport>(nullptr);
        page = new TkvlDialogPage(report.get());
        form = dynamic_cast<TkvlDialogForm *>(page->Form());
        ASSERT_NE(form, nullptr);
        report->ScriptEvent = [this](const QString &name, Variant &params) {
            calls.push_back(name);
            if (answer)
                answer(name, params);
        };
    }
    void TearDown() override
    {
        report.reset();
        kvlInstallWindows(nullptr);
    }
    void showActive()
    {
        page->Initialize();
        form->Show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }

    std::unique_ptr<TkvlReport> report;
    TkvlDialogPage *page = nullptr;
    TkvlDialogForm *form = nullptr;
    std::vector<QString> calls;
    std::function<void(const QString &, Variant &)> answer;
};

TEST_F(DialogWindow, TypedKeysGoThroughTheScriptFirst)
{
    page->SetClientWidth(300);
    page->SetClientHeight(120);
    auto *edit = new TkvlTestEditControl(page);
    edit->SetBounds(10, 10, 200, 24);
    page->OnKeyPress = QStringLiteral("KeyPress");
    answer = [](const QString &, Variant &params) {
        const QString k = params.arrayGet(1).toString();
        params.arrayPut(1, k == QLatin1String("x") ? Variant(QString()) : Variant(k.toUpper()));
    };
    showActive();
    edit->Edit()->setFocus();
    QTest::keyClicks(edit->Edit(), QStringLiteral("axb"));
    EXPECT_EQ(edit->Edit()->text(), QStringLiteral("AB"));
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(DialogWindow, EscapeClosesOnlyWhenKeysAndCloseQueryAllow)
{
    page->SetClientWidth(200);
    page->SetClientHeight(100);
    page->OnKeyDown = QStringLiteral("KeyDown");
    page->OnCloseQuery = QStringLiteral("CloseQuery");
    bool swallowEscape = true, canClose = false;
    answer = [&](const QString &name, Variant &params) {
        if (name == QLatin1String("KeyDown") && swallowEscape && params.arrayGet(1).toInt() == 27)
            params.arrayPut(1, Variant(0));
        if (name == QLatin1String("CloseQuery"))
            params.arrayPut(1, Variant(canClose));
    };
    showActive();
    struct Step {
        bool swallow, allow, closed;
    } steps[] = {{true, true, false}, {false, false, false}, {false, true, true}};
    for (const Step &s : steps) {
        swallowEscape = s.swallow;
        canClose = s.allow;
        QTest::keyClick(form, Qt::Key_Escape);
        EXPECT_EQ(!form->isVisible(), s.closed) << s.swallow << s.allow;
    }
    EXPECT_EQ(page->ModalResult(), mrCancel);
}

// The modal run is ended from a timer, as a click on an OK button would.
TEST_F(DialogWindow, ShowModalAnswersTheModalResultAndStaysOnTopAfterwards)
{
    page->SetCaption(QStringLiteral("Parametri"));
    page->SetClientWidth(240);
    page->SetClientHeight(90);
    auto *ok = new TkvlTestButtonControl(page);
    ok->SetBounds(80, 50, 75, 25);
    QObject::connect(static_cast<QPushButton *>(ok->Control()), &QPushButton::clicked, form,
                     [this] { page->SetModalResult(mrOk); });
    page->OnShow = QStringLiteral("Show");
    QTimer::singleShot(0, form, [ok] { QTest::mouseClick(ok->Control(), Qt::LeftButton); });
    EXPECT_EQ(page->ShowModal(), mrOk);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Parametri"));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(calls.front(), QStringLiteral("Show"));
}

TEST_F(DialogWindow, ControlsLiveOnTheWindowOfTheirParent)
{
    auto *reportPage = new TkvlReportPage(report.get());
    auto *band = new TkvlReportTitle(reportPage);
    auto *outer = new TkvlTestButtonControl(page);
    auto *control = new TkvlTestButtonControl(page);
    struct Case {
        TkvlComponent *parent;
        QWidget *window;
    } cases[] = {
        {band, kvlParentForm()},
        {page, form},
        {outer, outer->Control()},
        {band, kvlParentForm()},
    };
    for (const Case &c : cases) {
        control->SetParent(c.parent);
        EXPECT_EQ(control->Control()->parentWidget(), c.window) << c.parent->ClassName().toStdString();
    }
    // The hidden window lets go of its controls at shutdown; their objects still own them.
    QPointer<QWidget> widget = control->Control();
    EmptyParentForm();
    ASSERT_FALSE(widget.isNull());
    EXPECT_EQ(widget->parentWidget(), nullptr);
    control->SetParent(page);
    EXPECT_EQ(widget->parentWidget(), form);
}

TEST_F(DialogWindow, CaptionFollowsARenameUnlessChangedBefore)
{
    auto *button = new TkvlTestButtonControl(page);
    button->CreateUniqueName();
    EXPECT_EQ(button->Name(), QStringLiteral("TestButton1"));
    EXPECT_EQ(button->Caption(), QStringLiteral("TestButton1"));
    button->SetName(QStringLiteral("OkButton"));
    EXPECT_EQ(button->Caption(), QStringLiteral("OkButton"));
    button->SetCaption(QStringLiteral("Conferma"));
    button->SetName(QStringLiteral("ConfirmButton"));
    EXPECT_EQ(button->Caption(), QStringLiteral("Conferma"));

    auto *edit = new TkvlTestEditControl(page);
    edit->SetName(QStringLiteral("Edit1"));
    EXPECT_EQ(edit->Edit()->text(), QString());
}

TEST_F(DialogWindow, ControlStateIsTheWidgets)
{
    auto *edit = new TkvlTestEditControl(page);
    edit->SetBounds(10.5, 11.5, 100.4, 20.6);
    EXPECT_EQ(edit->Control()->geometry(), QRect(10, 12, 100, 21));
    edit->SetEnabled(false);
    edit->SetHint(QStringLiteral("Nome del cliente"));
    EXPECT_FALSE(edit->Control()->isEnabled());
    EXPECT_EQ(edit->Control()->toolTip(), QStringLiteral("Nome del cliente"));
    edit->SetShowHint(false);
    EXPECT_EQ(edit->Control()->toolTip(), QString());
    edit->SetTabStop(false);
    EXPECT_FALSE(edit->TabStop());
    EXPECT_NE(edit->Control()->focusPolicy(), Qt::NoFocus);  // still takes clicks
    edit->SetVisible(false);
    EXPECT_TRUE(edit->Control()->isHidden());

    // Font: its own, or the page's through the window.
    edit->Font()->SetStyle(FontStyleBit(fsBold));
    EXPECT_TRUE(edit->Control()->font().bold());
    edit->SetParentFont(true);
    EXPECT_EQ(edit->Control()->font().family(), form->font().family());
    EXPECT_EQ(edit->Control()->font().pixelSize(), 11);  // Tahoma 8 at 96 pixels per inch
}

TEST_F(DialogWindow, DrawPaintsTheControlAtItsRoundedAbsolutePlace)
{
    auto *outer = new TkvlTestButtonControl(page);
    outer->SetBounds(10.5, 20, 200, 100);
    auto *label = new TkvlTestButtonControl(outer);
    label->SetBounds(5, 6.5, 40, 20);
    label->SetColor(0x0000FF);  // red in Windows order
    static_cast<QPushButton *>(label->Control())->setFlat(true);
    gfx::RecordingCanvas canvas;
    label->Draw(&canvas, 3, 3, 100, 100);
    const auto &records = canvas.records();
    auto image = std::find_if(records.begin(), records.end(),
                              [](const gfx::DrawRecord &r) { return r.kind == gfx::DrawRecord::Image; });
    ASSERT_NE(image, records.end());
    EXPECT_EQ(image->rect, QRect(16, 26, 40, 20));  // 15.5 to 16, 26.5 to 26: ties to even
    EXPECT_EQ(image->image.size(), QSize(40, 20));
    EXPECT_EQ(QColor(image->image.pixel(2, 2)), QColor(Qt::red));
}

// A template read on another thread makes its dialog pages there: no widgets for them.
TEST_F(DialogWindow, PageMadeOffTheInterfaceThreadGetsAWindowlessForm)
{
    TkvlDialogWindow *made = nullptr;
    std::thread reader([&] {
        auto *other = new TkvlDialogPage(report.get());
        made = other->Form();
    });
    reader.join();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(dynamic_cast<QWidget *>(made), nullptr);
}

TEST(InheritQuestion, InstalledFactoryAsksWithTheRealWindow)
{
    kvlInstallWidgetWindows();
    QTimer::singleShot(0, [] {
        auto *f = dynamic_cast<TkvlInheritErrorForm *>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        QTest::mouseClick(f->RenameRB(), Qt::LeftButton);
        QTest::mouseClick(f->OkB(), Qt::LeftButton);
    });
    EXPECT_EQ(kvlWindows().AskInherit(), TkvlInheritAnswer::Rename);
    kvlInstallWindows(nullptr);
}

} // namespace
