// Host classes through the class registry and binding-module call-backs.
#include "backtest.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "script/items/qsclasses.h"

#include <gtest/gtest.h>

namespace {

class TGadget : public TComponent {
    LIRRA_CLASS(TGadget, TComponent)
public:
    explicit TGadget(TComponent *AOwner) : TComponent(AOwner) {}
    int32_t FWidth = 0;
    bool FVisible = true;
    QString FCaption;
};

class TBigGadget : public TGadget {
    LIRRA_CLASS(TBigGadget, TGadget)
public:
    explicit TBigGadget(TComponent *AOwner) : TGadget(AOwner) {}
};

class TForm : public TComponent {
    LIRRA_CLASS(TForm, TComponent)
public:
    explicit TForm(TComponent *AOwner) : TComponent(AOwner) {}
};

class TMyForm : public TForm {
    LIRRA_CLASS(TMyForm, TForm)
public:
    explicit TMyForm(TComponent *AOwner) : TForm(AOwner) {}
};

} // namespace

LIRRA_DEFINE_CLASS(TGadget)
LIRRA_DEFINE_CLASS(TBigGadget)
LIRRA_DEFINE_CLASS(TForm)
LIRRA_DEFINE_CLASS(TMyForm)

void TForm::DeclareClass(rtl::ClassBuilder<TForm> &) {}
void TMyForm::DeclareClass(rtl::ClassBuilder<TMyForm> &) {}

void TGadget::DeclareClass(rtl::ClassBuilder<TGadget> &b)
{
    b.prop<&TGadget::FWidth>("Width").def(0);
    b.prop<&TGadget::FVisible>("Visible").def(true);
    b.prop<&TGadget::FCaption>("Caption");
}

void TBigGadget::DeclareClass(rtl::ClassBuilder<TBigGadget> &) {}

TEST(QsClasses, PublishedPropertiesConstructorsAndCallbacks)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var g: TGadget; r: String; b: TBigGadget;\n"
        "begin\n"
        "  g := TGadget.Create(nil);\n"
        "  g.Width := 5; g.Caption := 'x';\n"
        "  with g do Width := Width + 1;\n"
        "  r := IntToStr(g.Width) + g.Caption + VarToStr(g.Visible) + VarToStr(g is TGadget) + VarToStr(g is TBigGadget);\n"
        "  Form.Items[2] := 'q'; r := r + Form.Items[2] + Form[7];\n"
        "  r := r + Form.Child.Caption;\n"
        "  b := TBigGadget.Create(Form); g := b; r := r + IntToStr(Form.ComponentCount);\n"
        "  g.Free;\n"
        "end."));
    TqsClassVariable *gadget = s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
    ASSERT_NE(gadget, nullptr);
    QStringList calls;
    gadget->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("String"),
                               [&](const Variant &instance, TqsClassRef, const QString &name, TqsMethodHelper &h) {
                                   EXPECT_NE(rtl::variantToObject<TGadget>(instance), nullptr);
                                   calls << name + QLatin1Char(':') + h.GetVParam(0).toString() + QLatin1Char('=')
                                                + h.GetVParam(1).toString();
                                   return Variant(QStringLiteral("<") + h.GetVParam(0).toString() + QStringLiteral(">"));
                               });
    gadget->AddProperty(QStringLiteral("ComponentCount"), QStringLiteral("Integer"),
                        [](const Variant &instance, TqsClassRef, const QString &) {
                            return Variant(rtl::variantToObject<TComponent>(instance)->ComponentCount());
                        });
    EXPECT_NE(s->AddClass(TBigGadget::StaticClass(), QStringLiteral("TGadget")), nullptr);
    EXPECT_EQ(s->AddClass(TGadget::StaticClass(), QString()), nullptr); // present
    TGadget form(nullptr);
    form.SetName(QStringLiteral("Form"));
    auto *child = new TGadget(&form);
    child->SetName(QStringLiteral("Child"));
    child->FCaption = QStringLiteral("c");
    s->AddObject(QStringLiteral("Form"), &form);
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("6xTrueTrueFalse<2><7>c2"));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("ITEMS.SET:2=q"), QStringLiteral("ITEMS.GET:2="), QStringLiteral("ITEMS.GET:7=")}));
    EXPECT_EQ(form.ComponentCount(), 1); // the big gadget was freed
    // the first gadget was made without owner and is still alive: free it through its handle
    delete rtl::variantToObject<TGadget>(s->Variables(QStringLiteral("g")));
}

TEST(QsClasses, TypeChecksAndMessages)
{
    struct Case
    {
        const char *source, *msg;
    } cases[] = {
        {"var g: TGadget;\nbegin g := 1.5 end.", "Incompatible types: 'TGadget', 'Extended'"},
        {"var g: TGadget;\nbegin g.Nothing := 1 end.", "Undeclared identifier: 'Nothing'"},
        {"var g: TGadget;\nbegin g[1] := 1 end.", "Class TGadget does not have a default property"},
        {"var g: TGadget; b: TBigGadget;\nbegin b := g end.", "Incompatible types: 'TBigGadget', 'TGadget'"},
        {"var g: TGadget; b: TBigGadget;\nbegin g := b end.", ""},
    };
    for (const Case &c : cases) {
        auto s = backtest::make("DozovoZozedi", QString::fromLatin1(c.source));
        s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
        s->AddClass(TBigGadget::StaticClass(), QStringLiteral("TGadget"));
        s->Compile();
        EXPECT_EQ(s->ErrorMsg, QString::fromLatin1(c.msg)) << c.source;
    }
}

// Members of a Variant are resolved when first evaluated, by the object it then holds.
TEST(QsClasses, LateBindingOnVariants)
{
    auto s = backtest::make("JScript", QStringLiteral(
        "var v, r, e = \"\";\n"
        "v = TGadget.Create(nil);\n"
        "v.Width = 3;\n"
        "with (v) { Caption = \"z\"; Width = Width + 1; }\n"
        "r = VarToStr(v.Width) + v.Caption;\n"
        "v.Free();\n"
        "v = Null;\n"
        "try { v.Width = 1; } except { e = ExceptionMessage; }"));
    s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("4z"));
    EXPECT_EQ(s->Variables(QStringLiteral("e")).toString(), QStringLiteral("Undeclared identifier: 'Width'"));
}

TEST(QsClasses, FormsBringTheirComponents)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var r: String;\nbegin r := MyForm.Button1.Caption; MyForm.Button1.Width := 9 end."));
    s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
    TMyForm form(nullptr);
    form.SetName(QStringLiteral("MyForm"));
    auto *button = new TGadget(&form);
    button->SetName(QStringLiteral("Button1"));
    button->FCaption = QStringLiteral("ok");
    TBigGadget plain(nullptr);
    plain.SetName(QStringLiteral("Plain"));
    s->AddComponent(&plain); // an unregistered class that is no form: nothing at all
    EXPECT_FALSE(s->Find(u"Plain"));
    s->AddForm(&form);
    ASSERT_NE(s->FindClass(u"TMyForm"), nullptr);
    EXPECT_EQ(s->FindClass(u"TMyForm")->FAncestor, QStringLiteral("TForm"));
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(button->FWidth, 9);
}

namespace {
// A bridge that remembers the installed handler per object.
struct TestBridge : TqsCustomEvent
{
    using TqsCustomEvent::TqsCustomEvent;
    static inline TestBridge *installed = nullptr;
    void Install() override { installed = this; }
};
} // namespace

TEST(QsClasses, EventsTakeScriptProcedures)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var n: Integer;\n"
        "procedure Click(Sender: Variant; var Handled: Boolean); begin n := n + 1; Handled := True end;\n"
        "begin n := 0; Form.OnClick := @Click end."));
    TqsClassVariable *gadget = s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
    int cleared = 0;
    gadget->AddEvent(QStringLiteral("OnClick"), [&](const Variant &instance, TqsProcVariable *handler) -> TqsCustomEvent * {
        if (!handler) {
            ++cleared;
            return nullptr;
        }
        return new TestBridge(instance, handler);
    });
    TGadget form(nullptr);
    s->AddObject(QStringLiteral("Form"), &form);
    TestBridge::installed = nullptr;
    ASSERT_EQ(backtest::run(*s), QString());
    ASSERT_NE(TestBridge::installed, nullptr);
    EXPECT_EQ(rtl::variantToObject<TGadget>(TestBridge::installed->FInstance), &form);
    Variant args[] = {TestBridge::installed->FInstance, Variant(false)};
    TestBridge::installed->CallHandler(args);
    EXPECT_EQ(s->Variables(QStringLiteral("n")).toInt(), 1);
    EXPECT_TRUE(args[1].identical(Variant(true))); // the by-reference argument came back

    // "0" clears; a name that is no procedure is refused
    for (const char *value : {"'0'", "'n'"}) {
        auto t = backtest::make("DozovoZozedi", QStringLiteral("var n: Integer;\nbegin Form.OnClick := %1 end.").arg(QLatin1String(value)));
        t->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"))
            ->AddEvent(QStringLiteral("OnClick"), [&](const Variant &, TqsProcVariable *handler) -> TqsCustomEvent * {
                if (!handler)
                    ++cleared;
                return nullptr;
            });
        t->AddObject(QStringLiteral("Form"), &form);
        ASSERT_TRUE(t->Compile());
        if (QLatin1String(value) == QLatin1String("'0'"))
            t->Execute();
        else {
            try {
                t->Execute();
                ADD_FAILURE() << "no error";
            } catch (const Exception &e) {
                EXPECT_EQ(e.message(), QStringLiteral("Event handler must be a procedure"));
            }
        }
    }
    EXPECT_EQ(cleared, 1);
}

// A name bound late inside a recursion adds an item to the running procedure's scope; the
// activations saved before still get their own locals back.
TEST(QsClasses, LateBindingInsideRecursion)
{
    auto s = backtest::make("DozovoZozedi", QStringLiteral(
        "var r: String;\n"
        "procedure P(n: Integer; v: Variant);\nvar s: String;\n"
        "begin s := 'x' + IntToStr(n); if n > 0 then P(n - 1, v) else r := v.Child.Caption; r := r + s end;\n"
        "begin r := ''; P(2, Form) end."));
    s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
    TGadget form(nullptr);
    auto *child = new TGadget(&form);
    child->SetName(QStringLiteral("Child"));
    child->FCaption = QStringLiteral("c");
    s->AddObject(QStringLiteral("Form"), &form);
    ASSERT_EQ(backtest::run(*s), QString());
    EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("cx0x1x2"));
}

// With class late binding on, a component of an object set only later is found when used.
TEST(QsClasses, ClassLateBindingFindsComponentsOfLaterObjects)
{
    for (bool late : {false, true}) {
        auto s = backtest::make("DozovoZozedi", QStringLiteral("var r: String;\nbegin r := Form.Child.Caption end."));
        s->UseClassLateBinding = late;
        s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
        s->AddVariable(QStringLiteral("Form"), QStringLiteral("TGadget"), Variant(0));
        if (!late) {
            EXPECT_FALSE(s->Compile());
            EXPECT_EQ(s->ErrorMsg, QStringLiteral("Undeclared identifier: 'Child'"));
            continue;
        }
        ASSERT_TRUE(s->Compile()) << qPrintable(s->ErrorMsg);
        TGadget form(nullptr);
        auto *child = new TGadget(&form);
        child->SetName(QStringLiteral("Child"));
        child->FCaption = QStringLiteral("late");
        s->SetVariables(QStringLiteral("Form"), rtl::objectToVariant(&form));
        s->Execute();
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("late"));
    }
}

// A var argument of a host function or member method comes back into its variable before
// the rest of the expression reads that variable: operands are taken left to right.
TEST(QsClasses, HostVarArgumentsAreWrittenBackBeforeTheRestOfTheExpression)
{
    struct Case
    {
        const char *language, *source;
    } cases[] = {
        {"DozovoZozedi", "var g: TGadget; a, b, c, x, y: Integer; r: String;\n"
                         "begin g := TGadget.Create(nil); a := 1; b := 2; c := 3;\n"
                         "x := Bump(a) xor a; y := g.Bump(b) shl (b - 10); r := IntToStr(Bump(c)) + IntToStr(c); g.Free end."},
        {"D++Iraved", "TGadget g; int a, b, c, x, y; string r;\n"
                      "{ g = TGadget.Create(nil); a = 1; b = 2; c = 3;\n"
                      "x = Bump(a) ^ a; y = g.Bump(b) << (b - 10); r = IntToStr(Bump(c)) + IntToStr(c); g.Free; }"},
        {"DevavAraroz", "Dim g, a, b, c, x, y, r\n"
                        "g = TGadget.Create(nil)\na = 1\nb = 2\nc = 3\n"
                        "x = Bump(a) xor a\ny = g.Bump(b) + b\nr = Bump(c) & c\ng.Free"},
        {"JScript", "var g, a = 1, b = 2, c = 3, x, y, r;\n"
                    "g = TGadget.Create(nil);\n"
                    "x = Bump(a) ^ a; y = g.Bump(b) << (b - 10); r = IntToStr(Bump(c)) + IntToStr(c); g.Free();"},
    };
    for (const Case &c : cases) {
        auto s = backtest::make(c.language, QString::fromLatin1(c.source));
        // Bump adds 10 to its var argument and answers 100.
        auto bump = [](TqsMethodHelper &h) {
            h.SetVParam(0, Variant(h.GetVParam(0).toInt() + 10));
            return Variant(100);
        };
        s->AddMethod(QStringLiteral("function Bump(var a: Integer): Integer"),
                     [bump](const Variant &, const QString &, TqsMethodHelper &h) { return bump(h); });
        TqsClassVariable *gadget = s->AddClass(TGadget::StaticClass(), QStringLiteral("TComponent"));
        gadget->AddMethod(QStringLiteral("function Bump(var a: Integer): Integer"),
                          [bump](const Variant &, TqsClassRef, const QString &, TqsMethodHelper &h) { return bump(h); });
        ASSERT_EQ(backtest::run(*s), QString()) << c.language;
        EXPECT_EQ(s->Variables(QStringLiteral("x")).toInt(), 100 ^ 11) << c.language;
        const bool plus = QLatin1String(c.language) == QLatin1String("DevavAraroz");
        EXPECT_EQ(s->Variables(QStringLiteral("y")).toInt(), plus ? 112 : 100 << 2) << c.language;
        EXPECT_EQ(s->Variables(QStringLiteral("r")).toString(), QStringLiteral("10013")) << c.language;
    }
}
