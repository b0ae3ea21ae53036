#pragma once
// Host classes as binding modules register them: the class descriptor, its members and the
// call-back forms through which a module answers.
//
// Dispatch contract of a module's call-backs:
//  - the result starts as 0, so a name a module does not handle answers 0;
//  - ClassType is the class given to qsAddClass for the descriptor that holds the member
//    (an inherited member arrives with the ancestor's class, not the instance's);
//  - names arrive in upper case; index and default properties as "NAME.GET" / "NAME.SET";
//  - argument i is caller.GetVParam(i); for ".SET" the stored value follows the indices;
//    SetVParam on a var parameter is copied back into the caller's variable;
//  - an object travels as an Integer handle (rtl::ObjectHandles), nil as 0.
#include "script/items/qsitems.h"

#include <functional>
#include <vector>

namespace rtl {
class ClassInfo;
class PropInfo;
} // namespace rtl

using TqsClassRef = const rtl::ClassInfo *;
using TqsModuleCall =
    std::function<Variant(const Variant &instance, TqsClassRef classType, const QString &methodName, TqsMethodHelper &caller)>;
using TqsModuleGetProp = std::function<Variant(const Variant &instance, TqsClassRef classType, const QString &propName)>;
using TqsModuleSetProp =
    std::function<void(const Variant &instance, TqsClassRef classType, const QString &propName, const Variant &value)>;

// A property of a host class: through the module's GetProp / SetProp, or, for published
// properties, straight through the class's property metadata.
class TqsPropertyHelper : public TqsCustomVariable
{
public:
    TqsPropertyHelper(const QString &name, const QString &typeName, const TqsScript *script);
    Variant GetValue() override;
    void SetValue(const Variant &value) override; // ignored when read-only

    TqsClassRef FClassRef = nullptr;
    const rtl::PropInfo *FPublished = nullptr;
    TqsModuleGetProp FOnGetValueNew;
    TqsModuleSetProp FOnSetValueNew;
    Variant FParentValue; // the object, while reached through it
};

// An event property; scripts assign a procedure name to it.
class TqsEventHelper : public TqsCustomVariable
{
public:
    TqsEventHelper(const QString &name, const QString &eventClass);
    Variant GetValue() override { return Variant(QString()); }

    TqsClassRef FClassRef = nullptr;
    QString FEvent; // the bridge class of the event type
};

// An index or default property: a method read as "NAME.GET" and written as "NAME.SET".
class TqsIndexMethodHelper : public TqsMethodHelper
{
public:
    TqsIndexMethodHelper(const QString &syntax, const TqsScript *script, TqsClassRef cls, TqsModuleCall event);
    ~TqsIndexMethodHelper() override;
    Variant GetValue() override;
    void SetValue(const Variant &value) override;

    TqsClassRef FClassRef;

private:
    TqsModuleCall FEvent;
    QString FGetName, FSetName; // made once, not per call
    TqsParamItem *FValueParam;  // the stored value's slot during a ".SET" call
};

// A host class registered into a script.
class TqsClassVariable : public TqsCustomVariable
{
public:
    TqsClassVariable(TqsClassRef cls, const QString &ancestor, TqsScript *program);
    ~TqsClassVariable() override;

    // "constructor Create(AOwner: TComponent)" is registered as
    // "function Create(AOwner: TComponent): Constructor".
    TqsMethodHelper *AddConstructor(const QString &syntax, TqsModuleCall event);
    TqsMethodHelper *AddMethod(const QString &syntax, TqsModuleCall event);
    TqsPropertyHelper *AddProperty(const QString &name, const QString &typeName, TqsModuleGetProp get,
                                   TqsModuleSetProp set = {});
    // params: comma-separated index types, "Integer, Integer".
    TqsIndexMethodHelper *AddIndexProperty(const QString &name, const QString &params, const QString &typeName,
                                           TqsModuleCall event, bool readOnly);
    TqsIndexMethodHelper *AddDefaultProperty(const QString &name, const QString &params, const QString &typeName,
                                             TqsModuleCall event, bool readOnly);
    TqsEventHelper *AddEvent(const QString &name, const QString &eventClass);
    // A published property read through the class's metadata (qsAddClass).
    void AddPublished(TqsPropertyHelper *property) { Own(property); }

    // The member of that name (first registered wins), else the registered ancestor's.
    TqsCustomVariable *Find(QStringView name) const;
    int MemberCount() const { return int(FMembers.size()); }
    TqsCustomVariable *Members(int index) const { return FMembers[size_t(index)]; }
    TqsClassVariable *AncestorClass() const;

    QString FAncestor;
    TqsClassRef FClassRef;
    TqsIndexMethodHelper *FDefProperty = nullptr; // not owned when taken from the ancestor
    TqsScript *FProgram;

private:
    template <class T>
    T *Own(T *member)
    {
        FMembers.push_back(member);
        return member;
    }
    std::vector<TqsCustomVariable *> FMembers; // owned, in registration order
};

// The declaration an index property is registered with:
// "function Items(p0: Integer; p1: Integer): TypeName".
QString qsIndexPropertySyntax(const QString &name, const QString &params, const QString &typeName);
// A constructor declaration as a function returning the type Constructor.
QString qsConstructorSyntax(const QString &syntax);

// Registers a host class unless its name is already known (then nullptr and nothing
// changes). Every stored published property becomes a member read and written through the
// class's metadata; the ancestor's default property is taken over when the ancestor is
// registered.
TqsClassVariable *qsAddClass(TqsScript *script, TqsClassRef cls, const QString &ancestor);
