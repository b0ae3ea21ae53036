#pragma once
// Host classes in scripts: a class item per registered class, with its members (published
// properties read through the class registry, properties and methods of binding modules).
// Objects travel in Variants as handles.
//
// Dispatch contract of a binding module's call-backs:
//  - ClassType is the class the member's descriptor was registered for (an inherited member
//    arrives with the ancestor's class, not the instance's);
//  - names arrive in upper case; index and default properties as "NAME.GET" / "NAME.SET";
//  - argument i is caller.GetVParam(i); for ".SET" the stored value follows the indices;
//    SetVParam on a var parameter is copied back into the caller's variable;
//  - a name the module does not handle answers 0.
#include "script/items/qsitems.h"

#include <functional>
#include <span>
#include <vector>

namespace rtl {
class ClassInfo;
class PropInfo;
} // namespace rtl
class TPersistent;

using TqsClassRef = const rtl::ClassInfo *;
// The call-back forms of binding modules: the object's handle (Null for a constructor's
// class call), the registering class, the upper-case name and the helper or value.
using TqsModuleCall =
    std::function<Variant(const Variant &instance, TqsClassRef classType, const QString &name, TqsMethodHelper &caller)>;
using TqsModuleGetProp = std::function<Variant(const Variant &instance, TqsClassRef classType, const QString &propName)>;
using TqsModuleSetProp =
    std::function<void(const Variant &instance, TqsClassRef classType, const QString &propName, const Variant &value)>;

class TqsPropertyHelper : public TqsCustomVariable
{
public:
    TqsPropertyHelper() : TqsCustomVariable(kProperty) {}
    // A Boolean property reads 0 as False and any other value as True.
    Variant GetValue() override;
    // Ignored when read-only.
    void SetValue(const Variant &value) override;

    TqsClassRef FClassRef = nullptr;
    const rtl::PropInfo *FPropInfo = nullptr; // a published property
    TqsModuleGetProp FOnGetValueNew;
    TqsModuleSetProp FOnSetValueNew;
    Variant FParentValue;
};

class TComponent;

// Bridge between an event of a host object and a script procedure. The bridges of the
// event types derive from it; the scope where the event was assigned owns the bridge.
class TqsCustomEvent : public TqsScriptItem
{
public:
    TqsCustomEvent(const Variant &instance, TqsProcVariable *handler) : FInstance(instance), FHandler(handler) {}
    // Sets the object's event to this bridge's handler.
    virtual void Install() = 0;
    // Runs the handler with the arguments (beyond its parameters ignored); by-reference
    // parameters are copied back into params. Locals of a running handler are kept.
    Variant CallHandler(std::span<Variant> params);

    Variant FInstance;
    TqsProcVariable *FHandler;
};

// Makes the bridge of an event type for (object, procedure); with a null procedure it
// clears the object's event and answers nullptr.
using TqsEventFactory = std::function<TqsCustomEvent *(const Variant &instance, TqsProcVariable *handler)>;

// An event member: assigning a procedure's name (or @Proc) installs a bridge; "0" clears.
class TqsEventHelper : public TqsCustomVariable
{
public:
    TqsEventHelper() : TqsCustomVariable(kEvent) {}
    Variant GetValue() override { return Variant(QString()); }
    void SetValue(const Variant &value) override;

    TqsEventFactory FEvent;
    Variant FParentValue;
    TqsScript *FScope = nullptr; // the scope evaluating the designator
};

// A component owned by a registered form: named as the component, typed by its class, its
// value the component's handle (nil once the component is gone).
class TqsComponentHelper : public TqsCustomVariable
{
public:
    explicit TqsComponentHelper(TComponent *component);
    Variant GetValue() override { return FValue; }
    void SetValue(const Variant &) override {}
};

class TqsClassVariable : public TqsCustomVariable
{
public:
    TqsClassVariable(const rtl::ClassInfo *cls, TqsScript *program);
    ~TqsClassVariable() override;

    // The value: a typecast T(x) gives x; otherwise the class reference (its name).
    Variant GetValue() override;
    void SetValue(const Variant &) override {}

    TqsMethodHelper *AddMethod(const QString &syntax, TqsModuleCall callEvent);
    TqsMethodHelper *AddMethod(const QString &syntax, TqsMethodHelper::TqsCallEventOld callEvent);
    // "constructor Create(AOwner: TComponent)" is registered as
    // "function Create(AOwner: TComponent): Constructor".
    TqsMethodHelper *AddConstructor(const QString &syntax, TqsModuleCall callEvent);
    // Read-only without a set call-back.
    TqsPropertyHelper *AddProperty(const QString &name, const QString &type, TqsModuleGetProp get,
                                   TqsModuleSetProp set = {});
    // params: comma-separated index types ("Integer, String"). Registered as
    // "function Name(p0: Integer; p1: String): Type" marked as index method; reads call
    // NAME.GET, writes NAME.SET.
    TqsMethodHelper *AddIndexProperty(const QString &name, const QString &params, const QString &type,
                                      TqsModuleCall callEvent, bool isReadOnly = false);
    TqsMethodHelper *AddDefaultProperty(const QString &name, const QString &params, const QString &type,
                                        TqsModuleCall callEvent, bool isReadOnly = false);

    TqsComponentHelper *AddComponent(TComponent *component);
    TqsEventHelper *AddEvent(const QString &name, TqsEventFactory event);
    // Member by name (first registered wins), else the registered ancestor's.
    TqsCustomVariable *Find(QStringView name) const;
    // Creates an instance through the registry's factory (owner from the first argument
    // when it holds a component) and answers its handle.
    TqsMethodHelper *DefaultConstructor();
    bool InheritsFrom(const TqsClassVariable *ancestor) const;

    TqsClassRef FClassRef;
    QString FAncestor;
    TqsMethodHelper *FDefProperty = nullptr; // not owned when taken over from the ancestor
    std::vector<TqsCustomVariable *> FMembers; // owned
    TqsScript *FProgram;

private:
    TqsMethodHelper *FDefaultCreate = nullptr;
};

// The declaration an index property is registered with (see AddIndexProperty).
QString qsIndexPropertySyntax(const QString &name, const QString &params, const QString &type);
// A constructor's declaration as a function returning the type Constructor.
QString qsConstructorSyntax(const QString &syntax);

// The object of a handle held in a Variant, nullptr for nil; EqsRunError when the value is
// no object reference.
TPersistent *qsObjectOf(const Variant &value);
