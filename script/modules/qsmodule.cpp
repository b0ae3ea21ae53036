#include "script/modules/qsmodule.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/reflect/persistent.h"

namespace {

TPersistent *Object(const Variant &handle)
{
    return rtl::ObjectHandles::objectAs<TPersistent>(handle.isEmptyOrNull() ? 0 : handle.toInt64());
}

// Ancestor chains are short; the bound only stops a chain that names itself.
constexpr int MaxAncestorDepth = 64;

} // namespace

// ---- Properties

TqsPropertyHelper::TqsPropertyHelper(const QString &name, const QString &typeName, const TqsScript *script)
    : TqsCustomVariable(kOther)
{
    SetName(name);
    SetType(StrToVarType(typeName, script), typeName);
}

Variant TqsPropertyHelper::GetValue()
{
    Variant v(0);
    if (FPublished) {
        if (TPersistent *obj = Object(FParentValue))
            v = FPublished->getValue(obj);
    } else if (FOnGetValueNew) {
        v = FOnGetValueNew(FParentValue, FClassRef, FUppercaseName);
    }
    // A Boolean property may come back as a number: 0 is False, anything else True.
    if (FTyp == qvtBool && !v.isBoolean())
        return Variant(!v.isEmptyOrNull() && v.toInt64() != 0);
    return v;
}

void TqsPropertyHelper::SetValue(const Variant &value)
{
    if (FIsReadOnly)
        return;
    if (FPublished) {
        if (TPersistent *obj = Object(FParentValue))
            FPublished->setValue(obj, value);
    } else if (FOnSetValueNew) {
        FOnSetValueNew(FParentValue, FClassRef, FUppercaseName, value);
    }
}

TqsEventHelper::TqsEventHelper(const QString &name, const QString &eventClass)
    : TqsCustomVariable(kOther), FEvent(eventClass)
{
    SetName(name);
    SetType(qvtString, QString());
}

// ---- Index properties

TqsIndexMethodHelper::TqsIndexMethodHelper(const QString &syntax, const TqsScript *script, TqsClassRef cls,
                                           TqsModuleCall event)
    : TqsMethodHelper(syntax, script), FClassRef(cls), FEvent(std::move(event)), FValueParam(new TqsParamItem)
{
    FGetName = FUppercaseName + QLatin1String(".GET");
    FSetName = FUppercaseName + QLatin1String(".SET");
    FValueParam->SetType(FTyp, FTypeName);
    FParams.reserve(FParams.size() + 1);
}

TqsIndexMethodHelper::~TqsIndexMethodHelper() { delete FValueParam; }

Variant TqsIndexMethodHelper::GetValue()
{
    if (!FEvent)
        return Variant(0);
    return FEvent(FParentValue, FClassRef, FGetName, *this);
}

void TqsIndexMethodHelper::SetValue(const Variant &value)
{
    if (FIsReadOnly || !FEvent)
        return;
    // The value rides after the indices for the length of the call only.
    FValueParam->FValue = value;
    FParams.push_back(FValueParam);
    struct Pop
    {
        std::vector<TqsParamItem *> &params;
        ~Pop() { params.pop_back(); }
    } pop{FParams};
    FEvent(FParentValue, FClassRef, FSetName, *this);
}

// ---- Classes

QString qsIndexPropertySyntax(const QString &name, const QString &params, const QString &typeName)
{
    QStringList list;
    int i = 0;
    for (const QString &t : params.split(QLatin1Char(','), Qt::SkipEmptyParts))
        list << QStringLiteral("p%1: %2").arg(i++).arg(t.trimmed());
    return QStringLiteral("function ") + name + QLatin1Char('(') + list.join(QLatin1String("; ")) + QLatin1String("): ") +
           typeName;
}

QString qsConstructorSyntax(const QString &syntax)
{
    const qsizetype blank = syntax.indexOf(QLatin1Char(' '));
    const QString rest = blank < 0 ? QString() : syntax.mid(blank + 1);
    return QStringLiteral("function ") + rest + QLatin1String(": Constructor");
}

TqsClassVariable::TqsClassVariable(TqsClassRef cls, const QString &ancestor, TqsScript *program)
    : TqsCustomVariable(kOther), FAncestor(ancestor), FClassRef(cls), FProgram(program)
{
    SetName(cls->name());
    SetType(qvtClass, cls->name());
}

TqsClassVariable::~TqsClassVariable()
{
    for (TqsCustomVariable *m : FMembers)
        delete m;
}

TqsMethodHelper *TqsClassVariable::AddConstructor(const QString &syntax, TqsModuleCall event)
{
    return AddMethod(qsConstructorSyntax(syntax), std::move(event));
}

TqsMethodHelper *TqsClassVariable::AddMethod(const QString &syntax, TqsModuleCall event)
{
    auto *m = new TqsMethodHelper(syntax, FProgram);
    const TqsClassRef cls = FClassRef;
    m->FOnCallNew = [cls, event = std::move(event)](const Variant &instance, const QString &name, TqsMethodHelper &h) {
        return event ? event(instance, cls, name, h) : Variant(0);
    };
    return Own(m);
}

TqsPropertyHelper *TqsClassVariable::AddProperty(const QString &name, const QString &typeName, TqsModuleGetProp get,
                                                 TqsModuleSetProp set)
{
    auto *p = new TqsPropertyHelper(name, typeName, FProgram);
    p->FClassRef = FClassRef;
    p->FIsReadOnly = !set;
    p->FOnGetValueNew = std::move(get);
    p->FOnSetValueNew = std::move(set);
    return Own(p);
}

TqsIndexMethodHelper *TqsClassVariable::AddIndexProperty(const QString &name, const QString &params,
                                                         const QString &typeName, TqsModuleCall event, bool readOnly)
{
    auto *m = new TqsIndexMethodHelper(qsIndexPropertySyntax(name, params, typeName), FProgram, FClassRef, std::move(event));
    m->FIsReadOnly = readOnly;
    return Own(m);
}

TqsIndexMethodHelper *TqsClassVariable::AddDefaultProperty(const QString &name, const QString &params,
                                                           const QString &typeName, TqsModuleCall event, bool readOnly)
{
    FDefProperty = AddIndexProperty(name, params, typeName, std::move(event), readOnly);
    return FDefProperty;
}

TqsEventHelper *TqsClassVariable::AddEvent(const QString &name, const QString &eventClass)
{
    auto *e = new TqsEventHelper(name, eventClass);
    e->FClassRef = FClassRef;
    return Own(e);
}

TqsClassVariable *TqsClassVariable::AncestorClass() const
{
    if (FAncestor.isEmpty() || !FProgram)
        return nullptr;
    auto *a = dynamic_cast<TqsClassVariable *>(FProgram->Find(FAncestor));
    return a == this ? nullptr : a;
}

TqsCustomVariable *TqsClassVariable::Find(QStringView name) const
{
    const TqsClassVariable *c = this;
    for (int depth = 0; c && depth < MaxAncestorDepth; ++depth, c = c->AncestorClass())
        for (TqsCustomVariable *m : c->FMembers)
            if (name.compare(m->FName, Qt::CaseInsensitive) == 0)
                return m;
    return nullptr;
}

TqsClassVariable *qsAddClass(TqsScript *script, TqsClassRef cls, const QString &ancestor)
{
    if (!cls || script->Find(cls->name()))
        return nullptr;
    auto *c = new TqsClassVariable(cls, ancestor, script);
    for (const rtl::PropInfo *p : cls->props()) {
        if (p->storedMode() == rtl::StoredMode::Never)
            continue;
        auto *h = new TqsPropertyHelper(p->name(), p->typeName(), script);
        h->FClassRef = cls;
        h->FPublished = p;
        h->FIsReadOnly = !p->isWritable();
        c->AddPublished(h);
    }
    if (auto *a = dynamic_cast<TqsClassVariable *>(script->Find(ancestor)))
        c->FDefProperty = a->FDefProperty;
    script->Add(cls->name(), c);
    return c;
}
