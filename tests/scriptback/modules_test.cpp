// Host classes as binding modules register them: generated declarations and the dispatch
// contract, seen from scripts.
#include "backtest.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/component.h"
#include "script/items/qsclasses.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// What reached a module: "CLASS NAME(arg,arg,...)" per call.
struct Recorder
{
    QStringList calls;
    Variant answer = Variant(0);

    TqsModuleCall call()
    {
        return [this](const Variant &, TqsClassRef cls, const QString &name, TqsMethodHelper &h) {
            QStringList args;
            for (int i = 0; i <= h.ParamCount(); ++i)
                args << h.GetVParam(i).toString();
            calls << cls->name() + QLatin1Char(' ') + name + QLatin1Char('(') + args.join(u',') + QLatin1Char(')');
            return answer;
        };
    }
};

// A script with TPersistent and TComponent registered in that order and a component
// "Obj" to reach members through.
class Modules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        script = backtest::make("DozovoZozedi", QString());
        persistent = script->AddClass(TPersistent::StaticClass(), QString());
        component = script->AddClass(TComponent::StaticClass(), QStringLiteral("TPersistent"));
        ASSERT_NE(persistent, nullptr);
        ASSERT_NE(component, nullptr);
        script->AddObject(QStringLiteral("Obj"), &obj);
        script->AddVariable(QStringLiteral("r"), QStringLiteral("Variant"), Variant::null());
    }
    // Runs the body of a program; the compile error, else empty.
    QString Run(const char *body)
    {
        script->Lines = QStringLiteral("begin\n%1\nend.").arg(QLatin1String(body)).split(QLatin1Char('\n'));
        return backtest::run(*script);
    }
    Variant R() { return script->Variables(QStringLiteral("r")); }

    std::unique_ptr<TqsScript> script;
    TqsClassVariable *persistent = nullptr, *component = nullptr;
    TComponent obj{nullptr};
    Recorder rec;
};

TEST_F(Modules, GeneratedDeclarationsGiveTheirSignatures)
{
    struct Case
    {
        TqsMethodHelper *member;
        const char *declaration;
        const char *name;
        const char *params; // "type" per parameter, '*' before a var parameter
        TqsVarType result;
        const char *resultType;
    };
    const Case cases[] = {
        {persistent->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), rec.call()),
         "function Create(AOwner: TComponent): Constructor", "Create", "TComponent", qvtConstructor, "Constructor"},
        {persistent->AddIndexProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TPersistent"),
                                      rec.call(), true),
         "function Items(p0: Integer): TPersistent", "Items", "Integer", qvtClass, "TPersistent"},
        {persistent->AddDefaultProperty(QStringLiteral("Cells"), QStringLiteral("Integer, String"), QStringLiteral("Variant"),
                                        rec.call(), false),
         "function Cells(p0: Integer; p1: String): Variant", "Cells", "Integer String", qvtVariant, "Variant"},
        {persistent->AddMethod(QStringLiteral("procedure Swap(var a: Integer; b: Extended)"), rec.call()),
         "procedure Swap(var a: Integer; b: Extended)", "Swap", "*Integer Extended", qvtClass, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.declaration);
        EXPECT_EQ(c.member->FSyntax, QLatin1String(c.declaration));
        EXPECT_EQ(c.member->FName, QLatin1String(c.name));
        QStringList params;
        for (int i = 0; i < c.member->ParamCount(); ++i)
            params << (c.member->Params(i)->FIsVarParam ? QStringLiteral("*") : QString()) + c.member->Params(i)->GetFullTypeName();
        EXPECT_EQ(params.join(u' '), QLatin1String(c.params));
        EXPECT_EQ(c.member->FTyp, c.result);
        EXPECT_EQ(c.member->FTypeName, QLatin1String(c.resultType));
    }
    EXPECT_EQ(persistent->FDefProperty, persistent->Find(u"cells"));
    EXPECT_TRUE(persistent->Find(u"Items")->FIsReadOnly);
}

TEST_F(Modules, InheritedMembersReachTheModuleWithTheirOwnClass)
{
    persistent->AddMethod(QStringLiteral("function FindObject(Name: String): TPersistent"), rec.call());
    persistent->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"),
                               [&](const Variant &, TqsClassRef cls, const QString &name, TqsMethodHelper &h) {
                                   rec.calls << cls->name() + QLatin1Char(' ') + name;
                                   EXPECT_EQ(rtl::variantToObject<TComponent>(h.GetVParam(0)), &obj);
                                   return rtl::objectToVariant(&obj);
                               });
    ASSERT_EQ(Run("r := Obj.FindObject('Memo1');\n"
                  "r := TComponent.Create(Obj);"),
              QString());
    EXPECT_EQ(rec.calls, (QStringList{QStringLiteral("TPersistent FINDOBJECT(Memo1,)"), QStringLiteral("TPersistent CREATE")}));
    EXPECT_EQ(rtl::variantToObject<TComponent>(R()), &obj);
}

TEST_F(Modules, IndexPropertiesAreReadAndWrittenByTheirSuffixedNames)
{
    component->AddDefaultProperty(QStringLiteral("Strings"), QStringLiteral("Integer"), QStringLiteral("String"), rec.call(),
                                  false);
    component->AddIndexProperty(QStringLiteral("Cells"), QStringLiteral("Integer, Integer"), QStringLiteral("String"),
                                rec.call(), false);
    TqsMethodHelper *items = component->AddIndexProperty(QStringLiteral("Items"), QStringLiteral("Integer"),
                                                         QStringLiteral("Variant"), rec.call(), true);
    rec.answer = Variant(QStringLiteral("v"));
    EXPECT_TRUE(Run("Obj.Items[1] := 5;").startsWith(QStringLiteral("Left side cannot be assigned to")));
    items->SetValue(Variant(5)); // a late-bound write to it is ignored
    ASSERT_EQ(Run("Obj[2] := 'x';\n"
                  "Obj.Strings[3] := 'y';\n"
                  "Obj.Cells[1, 2] := Obj[4];\n"
                  "r := Obj.Items[6] + Obj.Cells[7, 8];"),
              QString());
    EXPECT_EQ(rec.calls, (QStringList{
                             QStringLiteral("TComponent STRINGS.SET(2,x)"),
                             QStringLiteral("TComponent STRINGS.SET(3,y)"),
                             QStringLiteral("TComponent STRINGS.GET(4,)"),
                             QStringLiteral("TComponent CELLS.SET(1,2,v)"),
                             QStringLiteral("TComponent ITEMS.GET(6,)"),
                             QStringLiteral("TComponent CELLS.GET(7,8,)"),
                         }));
    EXPECT_EQ(R().toString(), QStringLiteral("vv"));
}

TEST_F(Modules, PropertiesNormaliseBooleansAndIgnoreWritesWhenReadOnly)
{
    Variant answer(1);
    QStringList writes;
    TqsPropertyHelper *visible = component->AddProperty(
        QStringLiteral("Visible"), QStringLiteral("Boolean"),
        [&](const Variant &, TqsClassRef, const QString &name) { return name == u"VISIBLE" ? answer : Variant(0); });
    component->AddProperty(
        QStringLiteral("Count"), QStringLiteral("Integer"), [](const Variant &, TqsClassRef, const QString &) { return Variant(3); },
        [&](const Variant &instance, TqsClassRef cls, const QString &name, const Variant &v) {
            EXPECT_EQ(rtl::variantToObject<TComponent>(instance), &obj);
            writes << cls->name() + QLatin1Char(' ') + name + QLatin1Char('=') + v.toString();
        });
    EXPECT_TRUE(Run("Obj.Visible := False;").startsWith(QStringLiteral("Left side cannot be assigned to")));
    visible->SetValue(Variant(false)); // a late-bound write to it is ignored
    ASSERT_EQ(Run("Obj.Count := Obj.Count + 2;\n"
                  "r := Obj.Visible;"),
              QString());
    EXPECT_EQ(writes, QStringList{QStringLiteral("TComponent COUNT=5")});
    EXPECT_EQ(R().varType(), varBoolean);
    EXPECT_TRUE(R().toBool());
    answer = Variant(0);
    script->Execute();
    EXPECT_EQ(R().varType(), varBoolean);
    EXPECT_FALSE(R().toBool());
}

TEST_F(Modules, PublishedPropertiesGoThroughTheClassMetadata)
{
    EXPECT_EQ(component->Find(u"Name"), nullptr) << "a property that is never stored is not registered";
    ASSERT_EQ(Run("Obj.Tag := 42;\n"
                  "r := Obj.Tag + 1;"),
              QString());
    EXPECT_EQ(obj.Tag(), 42);
    EXPECT_EQ(R().toInt(), 43);

    // nil reads nothing and writes nothing
    auto *tag = dynamic_cast<TqsPropertyHelper *>(component->Find(u"Tag"));
    ASSERT_NE(tag, nullptr);
    tag->FParentValue = Variant(0);
    tag->SetValue(Variant(7));
    EXPECT_TRUE(tag->GetValue().isNull());
    EXPECT_EQ(obj.Tag(), 42);
}

TEST_F(Modules, ALaterRegistrationOfAKnownClassChangesNothing)
{
    persistent->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Variant"), rec.call(),
                                   false);
    const size_t members = persistent->FMembers.size();
    EXPECT_EQ(script->AddClass(TPersistent::StaticClass(), QString()), nullptr);
    EXPECT_EQ(script->Find(u"TPersistent"), persistent);
    EXPECT_EQ(persistent->FMembers.size(), members);

    // A class registered after its ancestor takes the ancestor's default property; one
    // registered before does not.
    TqsScript other;
    other.AddRTTI();
    auto *early = other.AddClass(TComponent::StaticClass(), QStringLiteral("TPersistent"));
    auto *base = other.AddClass(TPersistent::StaticClass(), QString());
    base->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Variant"), rec.call(), false);
    EXPECT_EQ(early->FDefProperty, nullptr);
    TqsScript third;
    third.AddRTTI();
    third.AddClass(TPersistent::StaticClass(), QString())
        ->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Variant"), rec.call(), false);
    auto *late = third.AddClass(TComponent::StaticClass(), QStringLiteral("TPersistent"));
    ASSERT_NE(late->FDefProperty, nullptr);
    EXPECT_EQ(late->FDefProperty, third.FindClass(u"TPersistent")->FDefProperty);
}

} // namespace
