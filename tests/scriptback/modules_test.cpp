// Host classes as binding modules register them: generated declarations and the dispatch
// contract.
#include "backtest.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/component.h"
#include "script/modules/qsmodule.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

struct Recorded
{
    TqsClassRef classType = nullptr;
    QString name;
    QStringList args;
};

// A module call-back that records what reached it and answers 0 like a module that
// does not know the name.
TqsModuleCall Recorder(Recorded &r)
{
    return [&r](const Variant &, TqsClassRef cls, const QString &name, TqsMethodHelper &h) {
        r = {cls, name, {}};
        for (int i = 0; i <= h.ParamCount(); ++i)
            r.args << h.GetVParam(i).toString();
        return Variant(0);
    };
}

class Modules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        script.AddRTTI();
        persistent = qsAddClass(&script, TPersistent::StaticClass(), QString());
        component = qsAddClass(&script, TComponent::StaticClass(), QStringLiteral("TPersistent"));
        ASSERT_NE(persistent, nullptr);
        ASSERT_NE(component, nullptr);
    }
    TqsScript script;
    TqsClassVariable *persistent = nullptr, *component = nullptr;
    Recorded rec;
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
        {persistent->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), Recorder(rec)),
         "function Create(AOwner: TComponent): Constructor", "Create", "TComponent", qvtConstructor, "Constructor"},
        {persistent->AddIndexProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TPersistent"),
                                      Recorder(rec), true),
         "function Items(p0: Integer): TPersistent", "Items", "Integer", qvtClass, "TPersistent"},
        {persistent->AddDefaultProperty(QStringLiteral("Cells"), QStringLiteral("Integer, String"), QStringLiteral("Variant"),
                                        Recorder(rec), false),
         "function Cells(p0: Integer; p1: String): Variant", "Cells", "Integer String", qvtVariant, "Variant"},
        {persistent->AddMethod(QStringLiteral("procedure Swap(var a: Integer; b: Extended)"), Recorder(rec)),
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
    persistent->AddMethod(QStringLiteral("function FindObject(Name: String): TPersistent"), Recorder(rec));
    auto *m = dynamic_cast<TqsMethodHelper *>(component->Find(u"findobject"));
    ASSERT_NE(m, nullptr);
    m->Params(0)->FValue = Variant("Memo1");
    EXPECT_EQ(m->GetValue().toInt(), 0);
    EXPECT_EQ(rec.classType, TPersistent::StaticClass());
    EXPECT_EQ(rec.name, QStringLiteral("FINDOBJECT"));
    EXPECT_EQ(rec.args.first(), QStringLiteral("Memo1"));
}

TEST_F(Modules, IndexPropertiesAreReadAndWrittenByTheirSuffixedNames)
{
    TqsIndexMethodHelper *strings = component->AddDefaultProperty(QStringLiteral("Strings"), QStringLiteral("Integer"),
                                                                  QStringLiteral("String"), Recorder(rec), false);
    strings->Params(0)->FValue = Variant(2);
    strings->SetValue(Variant("x"));
    EXPECT_EQ(rec.name, QStringLiteral("STRINGS.SET"));
    EXPECT_EQ(rec.args.mid(0, 2), (QStringList{QStringLiteral("2"), QStringLiteral("x")}));
    EXPECT_EQ(strings->ParamCount(), 1) << "the stored value rides only for the call";

    strings->GetValue();
    EXPECT_EQ(rec.name, QStringLiteral("STRINGS.GET"));

    TqsIndexMethodHelper *items = component->AddIndexProperty(QStringLiteral("Items"), QStringLiteral("Integer"),
                                                              QStringLiteral("Variant"), Recorder(rec), true);
    rec = {};
    items->SetValue(Variant(1));
    EXPECT_TRUE(rec.name.isEmpty()) << "a read-only index property is not written";
}

TEST_F(Modules, PropertiesNormaliseBooleansAndIgnoreWritesWhenReadOnly)
{
    Variant answer(1);
    int writes = 0;
    TqsPropertyHelper *visible = component->AddProperty(
        QStringLiteral("Visible"), QStringLiteral("Boolean"),
        [&](const Variant &, TqsClassRef, const QString &name) { return name == u"VISIBLE" ? answer : Variant(0); });
    EXPECT_TRUE(visible->FIsReadOnly);
    EXPECT_EQ(visible->GetValue().varType(), varBoolean);
    EXPECT_TRUE(visible->GetValue().toBool());
    answer = Variant(0);
    EXPECT_FALSE(visible->GetValue().toBool());
    visible->SetValue(Variant(true));

    TqsPropertyHelper *count = component->AddProperty(
        QStringLiteral("Count"), QStringLiteral("Integer"), [](const Variant &, TqsClassRef, const QString &) { return Variant(3); },
        [&](const Variant &, TqsClassRef cls, const QString &name, const Variant &v) {
            ++writes;
            EXPECT_EQ(cls, TComponent::StaticClass());
            EXPECT_EQ(name, QStringLiteral("COUNT"));
            EXPECT_EQ(v.toInt(), 5);
        });
    count->SetValue(Variant(5));
    EXPECT_EQ(writes, 1);
}

TEST_F(Modules, PublishedPropertiesGoThroughTheClassMetadata)
{
    TComponent owner(nullptr);
    auto *tag = dynamic_cast<TqsPropertyHelper *>(component->Find(u"Tag"));
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(component->Find(u"Name"), nullptr) << "a property that is never stored is not registered";
    tag->FParentValue = Variant(rtl::ObjectHandles::handleOf(&owner));
    tag->SetValue(Variant(42));
    EXPECT_EQ(owner.Tag(), 42);
    EXPECT_EQ(tag->GetValue().toInt(), 42);
    tag->FParentValue = Variant(0); // nil reads 0 and writes nothing
    EXPECT_EQ(tag->GetValue().toInt(), 0);
}

TEST_F(Modules, ALaterRegistrationOfAKnownClassChangesNothing)
{
    TqsIndexMethodHelper *def = persistent->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"),
                                                               QStringLiteral("Variant"), Recorder(rec), false);
    const int members = persistent->MemberCount();
    EXPECT_EQ(qsAddClass(&script, TPersistent::StaticClass(), QString()), nullptr);
    EXPECT_EQ(script.Find(u"TPersistent"), persistent);
    EXPECT_EQ(persistent->MemberCount(), members);

    // A class registered after its ancestor takes the ancestor's default property.
    TqsScript other;
    other.AddRTTI();
    auto *base = qsAddClass(&other, TPersistent::StaticClass(), QString());
    base->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Variant"), Recorder(rec), false);
    auto *derived = qsAddClass(&other, TComponent::StaticClass(), QStringLiteral("TPersistent"));
    EXPECT_EQ(derived->FDefProperty, base->FDefProperty);
    EXPECT_NE(def, nullptr);
}

} // namespace
