// Dialog pages on the fake window: bounds and client size, creation, and the window's events
// running the report's script procedures.
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/stream.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvldialogpage.h"
#include "report/progress/kvlfakewindows.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class DialogPage : public ::testing::Test {
protected:
    void SetUp() override { kvlRegisterObjectTreeClasses(); }

    TkvlFakeWindows windows;
    TkvlReport report{nullptr};
};

TEST_F(DialogPage, IsMadeWithItsWindowAndDefaults)
{
    for (bool threadSafe : {false, true}) {
        report.EngineOptions()->EnableThreadSafe = threadSafe;
        auto *page = new TkvlDialogPage(&report);
        ASSERT_EQ(page->Form(), windows.lastDialog);
        EXPECT_EQ(page->Form()->ThreadSafe(), threadSafe);
        EXPECT_EQ(page->Tag(), 0);
        EXPECT_EQ(page->Font()->Name(), QStringLiteral("Tahoma"));
        EXPECT_EQ(page->Font()->Size(), 8);
        EXPECT_EQ(page->BorderStyle(), bsSizeable);
        EXPECT_EQ(page->Position, poScreenCenter);
        EXPECT_EQ(page->ClientWidth(), 0);
        delete page;
    }
}

// The fake window's frame adds 8 to the width and 31 to the height.
TEST_F(DialogPage, WindowFollowsRoundedBoundsAndClientSize)
{
    auto *page = new TkvlDialogPage(&report);
    page->SetBounds(10.5, 20.5, 300.5, 200.4);
    EXPECT_EQ(page->Form()->Bounds(), QRect(10, 20, 300, 200));  // ties to even
    page->SetClientWidth(400);
    page->SetClientHeight(250);
    EXPECT_EQ(page->Form()->ClientSize(), QSize(400, 250));
    EXPECT_EQ(page->Width(), 408);
    EXPECT_EQ(page->Height(), 281);
    EXPECT_EQ(page->Left(), 10.5);
}

TEST_F(DialogPage, LoadedClientSizeWinsOverOuterSize)
{
    auto *page = new TkvlDialogPage(&report);
    page->SetName(QStringLiteral("Dialog1"));
    page->SetCaption(QStringLiteral("Scelta"));
    page->SetClientWidth(400);
    page->SetClientHeight(300);
    TMemoryStream m;
    page->SaveToStream(m);
    QByteArray bytes = m.Bytes();
    // Another outer size in the template: the client size still decides.
    ASSERT_TRUE(bytes.contains("Width=\"408\""));
    bytes.replace("Width=\"408\"", "Width=\"999\"");

    auto *loaded = new TkvlDialogPage(&report);
    TMemoryStream in(bytes);
    loaded->LoadFromStream(in);
    EXPECT_EQ(loaded->Form()->ClientSize(), QSize(400, 300));
    EXPECT_EQ(loaded->Width(), 408);
    EXPECT_EQ(loaded->Form()->Caption(), QStringLiteral("Scelta"));
}

// Records the script procedures the report is asked to run and answers as the test says.
struct ScriptStandIn {
    std::vector<QString> calls;
    std::function<void(const QString &, Variant &)> answer;
    void install(TkvlReport &r)
    {
        r.ScriptEvent = [this](const QString &name, Variant &params) {
            calls.push_back(name);
            if (answer)
                answer(name, params);
        };
    }
};

class Listener final : public TkvlReportComponent, public TkvlDialogActivation {
public:
    using TkvlReportComponent::TkvlReportComponent;
    void Draw(TCanvas *, double, double, double, double) override {}
    void DialogActivated(TkvlDialogPage *Page) override { activatedBy = Page; }
    TkvlDialogPage *activatedBy = nullptr;
};

TEST_F(DialogPage, ShowModalRunsTheEventsAndKeepsTheUsersBounds)
{
    ScriptStandIn script;
    script.install(report);
    auto *page = new TkvlDialogPage(&report);
    page->OnShow = QStringLiteral("DialogShow");
    page->OnActivate = QStringLiteral("DialogActivate");
    page->OnHide = QStringLiteral("DialogHide");
    auto *inner = new Listener(page);
    auto *fake = windows.lastDialog;
    fake->WhileModal = [](TkvlFakeDialogWindow &w) {
        w.UserMoves(QRect(50, 60, 320, 240));
        w.SetModalResult(mrOk);
    };
    EXPECT_EQ(page->ShowModal(), mrOk);
    EXPECT_EQ(script.calls, (std::vector<QString>{"DialogShow", "DialogActivate", "DialogHide"}));
    EXPECT_EQ(inner->activatedBy, page);
    EXPECT_EQ(page->Left(), 50);
    EXPECT_EQ(page->Height(), 240);
    EXPECT_TRUE(fake->stayOnTop());
    EXPECT_EQ(page->ModalResult(), mrOk);
}

TEST_F(DialogPage, CloseQueryAsksTheScript)
{
    ScriptStandIn script;
    script.install(report);
    auto *page = new TkvlDialogPage(&report);
    page->Initialize();
    TkvlDialogWindow *w = page->Form();
    EXPECT_TRUE(w->CanClose());  // no procedure: the page lets it close
    page->OnCloseQuery = QStringLiteral("DialogCloseQuery");
    for (bool allow : {false, true}) {
        script.answer = [&](const QString &, Variant &params) {
            EXPECT_EQ(rtl::variantToObject<TkvlDialogPage>(params.arrayGet(0)), page);
            EXPECT_TRUE(params.arrayGet(1).toBool());
            params.arrayPut(1, Variant(allow));
        };
        EXPECT_EQ(w->CanClose(), allow);
    }
}

TEST_F(DialogPage, KeyProceduresChangeOrSwallowTheKey)
{
    ScriptStandIn script;
    script.install(report);
    auto *page = new TkvlDialogPage(&report);
    page->OnKeyDown = QStringLiteral("KeyDown");
    page->OnKeyUp = QStringLiteral("KeyUp");
    page->OnKeyPress = QStringLiteral("KeyPress");
    page->Initialize();
    TkvlDialogWindow *w = page->Form();

    const TShiftState shiftCtrlLeft = (1u << ssShift) | (1u << ssCtrl) | (1u << ssLeft);
    script.answer = [](const QString &name, Variant &params) {
        if (name == QLatin1String("KeyPress")) {
            const QString k = params.arrayGet(1).toString();
            params.arrayPut(1, k == QLatin1String("x") ? Variant(QString()) : Variant(k.toUpper()));
        } else {
            EXPECT_EQ(params.arrayGet(2).toInt(), 1 + 4 + 8);
            params.arrayPut(1, params.arrayGet(1).toInt() == 13 ? Variant(0) : Variant(9));
        }
    };
    struct Case {
        uint16_t key;
        uint16_t expected;
    } keys[] = {{13, 0}, {65, 9}};
    for (const Case &c : keys) {
        uint16_t down = c.key, up = c.key;
        w->OnKeyDown(down, shiftCtrlLeft);
        w->OnKeyUp(up, shiftCtrlLeft);
        EXPECT_EQ(down, c.expected);
        EXPECT_EQ(up, c.expected);
    }
    QChar typed(u'a'), swallowed(u'x');
    w->OnKeyPress(typed);
    w->OnKeyPress(swallowed);
    EXPECT_EQ(typed, QChar(u'A'));
    EXPECT_EQ(swallowed, QChar(0));
}

// The report's procedures in a real script: a key-press procedure with a var parameter.
TEST_F(DialogPage, EventsReachARealScriptProcedure)
{
    qsRegisterStandardLanguages();
    TqsScript script;
    script.AddRTTI();
    script.SyntaxType = QStringLiteral("DozovoZozedi");
    script.Lines = QStringLiteral("procedure DialogKeyPress(Sender: Variant; var Key: String);\n"
                                  "begin if Key = 'q' then Key := '' else Key := Key + Key end;\n"
                                  "begin end.")
                       .split(QLatin1Char('\n'));
    ASSERT_TRUE(script.Compile()) << script.ErrorMsg.toStdString();
    report.ScriptEvent = [&script](const QString &name, Variant &params) { script.CallFunction1(name, params); };
    auto *page = new TkvlDialogPage(&report);
    page->OnKeyPress = QStringLiteral("DialogKeyPress");
    page->Initialize();
    QChar k(u'q'), z(u'z');
    page->Form()->OnKeyPress(k);
    page->Form()->OnKeyPress(z);
    EXPECT_EQ(k, QChar(0));
    EXPECT_EQ(z, QChar(u'z'));  // the first character of what came back
}

} // namespace
