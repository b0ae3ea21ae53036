// Event bridges on offscreen widgets driven with real key and mouse events: copied-back
// arguments, re-entrant handlers, handlers that raise, and events that arrive after the
// script or the control is gone.
#include "tests/forms/formsfixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QAbstractScrollArea>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

using formstest::ScriptFixture;
using EventBridges = ScriptFixture;

const char *const kForm =
    "var f: TForm; e: TEdit; b: TButton; log: String; depth, btn, shf: Integer; allow: Boolean;\n"
    "procedure KeyPress(Sender: TObject; var Key: Char);\n"
    "begin if Key = 'a' then Key := 'b'; if Key = 'x' then Key := Chr(0); if Key = 'e' then Key := '' end;\n"
    "procedure Change(Sender: TObject);\n"
    "var mine: String;\n"
    "begin depth := depth + 1; mine := IntToStr(depth); if depth < 3 then e.Text := e.Text + mine; log := log + mine end;\n"
    "procedure MouseDown(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);\n"
    "begin btn := Button; shf := Shift end;\n"
    "procedure CloseQuery(Sender: TObject; var CanClose: Boolean);\n"
    "begin CanClose := allow end;\n"
    "procedure Boom(Sender: TObject);\n"
    "begin log := log + 'boom'; StrToInt('nessun numero') end;\n"
    "begin f := TForm.Create(nil); e := TEdit.Create(f); e.Parent := f; b := TButton.Create(f); b.Parent := f;\n"
    " b.SetBounds(10, 40, 80, 24); f.Caption := 'Prova';\n"
    " e.OnKeyPress := @KeyPress; e.OnMouseDown := @MouseDown; f.OnCloseQuery := @CloseQuery; b.OnClick := @Boom;\n"
    " f.Show end.";

TEST_F(EventBridges, KeysAreReplacedSwallowedOrLeft)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm)), QString());
    auto *edit = qobject_cast<QLineEdit *>(WidgetOf("e"));
    ASSERT_NE(edit, nullptr);
    // a becomes b, x is swallowed, an empty text leaves e as typed
    QTest::keyClicks(edit, QStringLiteral("axce"));
    EXPECT_EQ(edit->text(), QStringLiteral("bce"));
}

TEST_F(EventBridges, MouseDownPassesTheButtonAndShiftMask)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm)), QString());
    QTest::mousePress(WidgetOf("e"), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(3, 3));
    EXPECT_EQ(Var("btn"), QStringLiteral("1"));
    // ssShift 1 + ssCtrl 4, with ssRight for the button held
    EXPECT_EQ(script->Variables(QStringLiteral("shf")).toInt() & 7, 5);
    QTest::mouseRelease(WidgetOf("e"), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(3, 3));
}

// The mouse on a memo or list box lands on its viewport, and moves without a button held
// are asked for once OnMouseMove is assigned: both reach the control, at its coordinates.
TEST_F(EventBridges, MouseEventsOfScrollingControlsAndPlainMoves)
{
    ASSERT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var f: TForm; m: TMemo; l: TListBox; e: TEdit; s: TScrollBox; log: String;\n"
                                 "procedure Down(Sender: TObject; Button: TMouseButton; Shift: TShiftState; X, Y: Integer);\n"
                                 "begin log := log + 'down' + IntToStr(X) + ',' + IntToStr(Y) + ' ' end;\n"
                                 "procedure Clicked(Sender: TObject); begin log := log + 'click ' end;\n"
                                 "procedure Moved(Sender: TObject; Shift: TShiftState; X, Y: Integer);\n"
                                 "begin log := log + 'move' + IntToStr(Shift) + ' ' end;\n"
                                 "begin f := TForm.Create(nil); f.SetBounds(0, 0, 300, 300);\n"
                                 " m := TMemo.Create(f); m.Parent := f; m.SetBounds(0, 0, 100, 100); m.OnMouseDown := @Down;\n"
                                 " l := TListBox.Create(f); l.Parent := f; l.SetBounds(0, 110, 100, 100); l.OnClick := @Clicked;\n"
                                 " e := TEdit.Create(f); e.Parent := f; e.SetBounds(110, 0, 100, 24); e.OnMouseMove := @Moved;\n"
                                 " s := TScrollBox.Create(f); s.Parent := f; s.SetBounds(110, 110, 100, 100); s.OnMouseDown := @Down; f.Show end.")),
              QString());
    auto *memo = qobject_cast<QAbstractScrollArea *>(WidgetOf("m"));
    ASSERT_NE(memo, nullptr);
    const QPoint inMemo(40, 30);
    QTest::mousePress(memo->viewport(), Qt::LeftButton, {}, memo->viewport()->mapFrom(memo, inMemo));
    QTest::mouseRelease(memo->viewport(), Qt::LeftButton, {}, memo->viewport()->mapFrom(memo, inMemo));
    EXPECT_EQ(Var("log"), QStringLiteral("down40,30 "));

    // a press the scroll box's inside leaves unhandled passes on to the box: seen once
    script->SetVariables(QStringLiteral("log"), Variant(QString()));
    auto *box = qobject_cast<QAbstractScrollArea *>(WidgetOf("s"));
    ASSERT_NE(box, nullptr);
    QWidget *inside = box->viewport()->childAt(20, 20);
    QTest::mousePress(inside ? inside : box->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(Var("log"), QStringLiteral("down%1,%2 ").arg(box->viewport()->x() + 20).arg(box->viewport()->y() + 20));

    script->SetVariables(QStringLiteral("log"), Variant(QString()));
    auto *list = qobject_cast<QAbstractScrollArea *>(WidgetOf("l"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Var("log"), QStringLiteral("click "));

    script->SetVariables(QStringLiteral("log"), Variant(QString()));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), QPointF(20, 10), QPointF(20, 10), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(WidgetOf("e"), &move);
    EXPECT_EQ(Var("log"), QStringLiteral("move0 "));
    EXPECT_TRUE(WidgetOf("e")->hasMouseTracking());
}

// A key changed by OnKeyDown reaches the control in place of the one pressed.
TEST_F(EventBridges, KeyDownReplacesTheKeyTheControlGets)
{
    ASSERT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var f: TForm; m: TMemo;\n"
                                 "procedure KeyDown(Sender: TObject; var Key: Word; Shift: TShiftState);\n"
                                 "begin if Key = Ord('A') then Key := Ord('B'); if Key = VK_LEFT then Key := VK_HOME end;\n"
                                 "begin f := TForm.Create(nil); m := TMemo.Create(f); m.Parent := f; m.OnKeyDown := @KeyDown; f.Show end.")),
              QString());
    auto *memo = qobject_cast<QPlainTextEdit *>(WidgetOf("m"));
    ASSERT_NE(memo, nullptr);
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("cab"));
    QTest::keyClick(memo, Qt::Key_Left);
    QTest::keyClicks(memo, QStringLiteral("x"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("xcbb"));
}

TEST_F(EventBridges, CloseQueryKeepsTheFormOpenUntilAllowed)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm)), QString());
    QWidget *form = WidgetOf("f");
    ASSERT_TRUE(form->isVisible());
    form->close();
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    script->SetVariables(QStringLiteral("allow"), Variant(true));
    form->close();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(EventBridges, CloseWithCaFreeFreesTheFormAfterItsHandler)
{
    ASSERT_EQ(Run("DozovoZozedi", QStringLiteral("var f: TForm; r: String;\n"
                                                 "procedure Closing(Sender: TObject; var Action: TCloseAction);\n"
                                                 "begin r := TForm(Sender).Caption; Action := caFree end;\n"
                                                 "procedure Gone(Sender: TObject); begin r := r + '-freed' end;\n"
                                                 "begin f := TForm.Create(nil); f.Caption := 'via'; f.OnClose := @Closing; f.OnDestroy := @Gone;\n"
                                                 " f.Show end.")),
              QString());
    QPointer<QWidget> form = WidgetOf("f");
    ASSERT_TRUE(form);
    form->close();
    EXPECT_EQ(Var("r"), QStringLiteral("via")); // the handler ran on a live form
    QTest::qWait(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(WidgetOf("f"), nullptr); // the form's handle is stale
    EXPECT_EQ(Var("r"), QStringLiteral("via-freed"));
    EXPECT_TRUE(form.isNull());
}

// OnDestroy runs while the form and its controls are whole; freeing the form again or
// making it modal from there is refused, not a second free.
TEST_F(EventBridges, OnDestroyRunsBeforeTheFormGoes)
{
    ASSERT_EQ(Run("DozovoZozedi", QStringLiteral("var f: TForm; e: TEdit; log: String;\n"
                                                 "procedure Gone(Sender: TObject);\n"
                                                 "begin log := log + TForm(Sender).Caption + ':' + e.Text; f.Free; log := log + '+';\n"
                                                 " f.ShowModal; log := log + 'modal' end;\n"
                                                 "begin f := TForm.Create(nil); f.Caption := 'via'; e := TEdit.Create(f); e.Parent := f;\n"
                                                 " e.Text := 'ultimo'; f.OnDestroy := @Gone; f.Free; log := log + '|' end.")),
              QString());
    EXPECT_EQ(Var("log"), QStringLiteral("via:ultimo+|"));
    ASSERT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(services.messages.shown[0].text, QStringLiteral("Cannot show a form that is being freed"));
    EXPECT_EQ(WidgetOf("e"), nullptr); // the edit went with its owner
}

TEST_F(EventBridges, AReenteredHandlerKeepsItsLocals)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm)), QString());
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm).replace(QLatin1String("f.Show end."),
                                                                      QLatin1String("e.OnChange := @Change; f.Show end."))),
              QString());
    QTest::keyClick(WidgetOf("e"), Qt::Key_Z, Qt::NoModifier);
    // the innermost activation appends first; each outer one still has its own number
    EXPECT_EQ(Var("log"), QStringLiteral("321"));
    EXPECT_EQ(qobject_cast<QLineEdit *>(WidgetOf("e"))->text(), QStringLiteral("z12"));
}

TEST_F(EventBridges, ARaisingHandlerIsReportedAndTheLoopGoesOn)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm)), QString());
    QTest::mouseClick(WidgetOf("b"), Qt::LeftButton);
    EXPECT_EQ(Var("log"), QStringLiteral("boom"));
    ASSERT_EQ(services.messages.shown.size(), 1);
    EXPECT_TRUE(services.messages.shown[0].text.contains(QLatin1String("nessun numero")));
    EXPECT_EQ(services.messages.shown[0].icon, ui::MsgIcon::Error);
    // the event loop still runs
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QTest::qWait(5);
    EXPECT_TRUE(ran);

    // a key-press procedure without the Key parameter: reported after it ran, key unchanged
    ASSERT_EQ(Run("DozovoZozedi", QStringLiteral("var f: TForm; e: TEdit; n: Integer;\n"
                                                 "procedure Short(Sender: TObject); begin n := n + 1 end;\n"
                                                 "begin f := TForm.Create(nil); e := TEdit.Create(f); e.Parent := f; e.OnKeyPress := @Short end.")),
              QString());
    services.messages.shown.clear();
    QTest::keyClick(WidgetOf("e"), Qt::Key_Q);
    EXPECT_EQ(Var("n"), QStringLiteral("1"));
    EXPECT_EQ(qobject_cast<QLineEdit *>(WidgetOf("e"))->text(), QStringLiteral("q"));
    ASSERT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(services.messages.shown[0].text, QStringLiteral("List index out of bounds (1)"));
}

TEST_F(EventBridges, EventsAfterTheScriptOrTheControlIsGoneDoNothing)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kForm)), QString());
    QPointer<QLineEdit> edit = qobject_cast<QLineEdit *>(WidgetOf("e"));
    QPointer<QWidget> form = WidgetOf("f");
    const int64_t formHandle = script->Variables(QStringLiteral("f")).toInt64();
    script.reset(); // frees the bridges; the form stays, as the script did not free it
    ASSERT_TRUE(edit);
    QTest::keyClicks(edit, QStringLiteral("ax"));
    EXPECT_EQ(edit->text(), QStringLiteral("ax"));

    // the control freed: its widget goes later, and events meanwhile find no control
    auto *e = qobject_cast<QWidget *>(edit.data());
    delete rtl::ObjectHandles::objectAs<qsforms::TControl>(rtl::ObjectHandles::handleOf(qsforms::ControlOf(e)));
    QTest::keyClicks(e, QStringLiteral("a"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(edit.isNull());
    delete rtl::ObjectHandles::objectAs<qsforms::TControl>(formHandle);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

// Qt has no veto before a resize: a refused or changed size is set right after it.
TEST_F(EventBridges, CanResizeChangesOrRefusesTheNewSize)
{
    ASSERT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var f: TForm; m: TMemo;\n"
                                 "procedure CanResize(Sender: TObject; var NewWidth, NewHeight: Integer; var Resize: Boolean);\n"
                                 "begin if NewWidth > 300 then Resize := False else NewHeight := 50 end;\n"
                                 "begin f := TForm.Create(nil); m := TMemo.Create(f); m.Parent := f; m.SetBounds(0, 0, 100, 100);\n"
                                 " m.OnCanResize := @CanResize; f.Show end.")),
              QString());
    QWidget *memo = WidgetOf("m");
    memo->resize(200, 80);
    QTest::qWait(1);
    EXPECT_EQ(memo->size(), QSize(200, 50));
    memo->resize(400, 80);
    QTest::qWait(1);
    EXPECT_EQ(memo->size(), QSize(200, 50));
}

} // namespace
