#pragma once
// Host classes in scripts: a class item per registered class, with its members (published
// properties read through the class registry, properties and methods of binding modules).
// Objects travel in Variants as handles.
#include "script/items/qsitems.h"

#include <functional>
#include <span>
#include <vector>

namespace rtl {
class ClassInfo;
class PropInfo;
} // namespace rtl
class TPersistent;

class TqsPropertyHelper : public TqsCustomVariable
{
public:
    // New call-back forms: the object's handle, the upper-case name and the helper.
    using TqsGetEvent = std::function<Variant(const Variant &instance, const QString &name, TqsPropertyHelper &helper)>;
    using TqsSetEvent =
        std::function<void(const Variant &instance, const QString &name, const Variant &value, TqsPropertyHelper &helper)>;

    TqsPropertyHelper() : TqsCustomVariable(kProperty) {}
    Variant GetValue() override;
    void SetValue(const Variant &value) override;

    const rtl::ClassInfo *FClassRef = nullptr;
    const rtl::PropInfo *FPropInfo = nullptr; // a published property
    TqsGetEvent FOnGetValueNew;
    TqsSetEvent FOnSetValueNew;
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

    TqsMethodHelper *AddMethod(const QString &syntax, TqsMethodHelper::TqsCallEvent callEvent);
    TqsMethodHelper *AddMethod(const QString &syntax, TqsMethodHelper::TqsCallEventOld callEvent);
    // A method whose result type is Constructor.
    TqsMethodHelper *AddConstructor(const QString &syntax, TqsMethodHelper::TqsCallEvent callEvent);
    TqsPropertyHelper *AddProperty(const QString &name, const QString &type, TqsPropertyHelper::TqsGetEvent get,
                                   TqsPropertyHelper::TqsSetEvent set = {});
    // "function Name(p0: T0; p1: T1): Type" marked as index method; reads call NAME.GET,
    // writes NAME.SET.
    TqsMethodHelper *AddIndexProperty(const QString &name, const QString &params, const QString &type,
                                      TqsMethodHelper::TqsCallEvent callEvent, bool isReadOnly = false);
    TqsMethodHelper *AddDefaultProperty(const QString &name, const QString &params, const QString &type,
                                        TqsMethodHelper::TqsCallEvent callEvent, bool isReadOnly = false);

    TqsComponentHelper *AddComponent(TComponent *component);
    TqsEventHelper *AddEvent(const QString &name, TqsEventFactory event);
    // Member by name (first registered wins), else the registered ancestor's.
    TqsCustomVariable *Find(QStringView name) const;
    // Creates an instance through the registry's factory (owner from the first argument
    // when it holds a component) and answers its handle.
    TqsMethodHelper *DefaultConstructor();
    bool InheritsFrom(const TqsClassVariable *ancestor) const;

    const rtl::ClassInfo *FClassRef;
    QString FAncestor;
    TqsMethodHelper *FDefProperty = nullptr;
    std::vector<TqsCustomVariable *> FMembers; // owned
    TqsScript *FProgram;

private:
    TqsMethodHelper *FDefaultCreate = nullptr;
};

// The object of a handle held in a Variant, nullptr for nil; EqsRunError when the value is
// no object reference.
TPersistent *qsObjectOf(const Variant &value);
