#include "script/items/qsclasses.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/reflect/persistent.h"
#include "script/core/qsmessages.h"

TPersistent *qsObjectOf(const Variant &value)
{
    if (value.isEmptyOrNull())
        return nullptr;
    if (!value.isOrdinal())
        throw EqsRunError(qsMessage(u"SClassRequired"));
    return rtl::variantToObject<TPersistent>(value);
}

// ---- Properties

Variant TqsPropertyHelper::GetValue()
{
    Variant v = Variant::null();
    TPersistent *obj = FPropInfo ? qsObjectOf(FParentValue) : nullptr;
    if (FPropInfo && obj) {
        if (!obj->ClassType()->findProp(FPropInfo->name()))
            return Variant::null();
        v = FPropInfo->getValue(obj);
    } else if (FOnGetValueNew)
        v = FOnGetValueNew(FParentValue, FClassRef, FUppercaseName);
    if (FTyp == qvtBool && !v.isBoolean() && !v.isEmptyOrNull())
        v = Variant(!(v.isOrdinal() && v.toInt64() == 0));
    return v;
}

void TqsPropertyHelper::SetValue(const Variant &value)
{
    if (FIsReadOnly)
        return;
    TPersistent *obj = FPropInfo ? qsObjectOf(FParentValue) : nullptr;
    if (FPropInfo && obj)
        FPropInfo->setValue(obj, FTyp == qvtBool ? Variant(value.toBool()) : value);
    else if (FOnSetValueNew)
        FOnSetValueNew(FParentValue, FClassRef, FUppercaseName, value);
}

namespace {

TqsVarType propType(const rtl::PropInfo *p, QString &typeName)
{
    typeName = p->typeName();
    switch (p->kind()) {
    case rtl::TypeKind::Char: return qvtChar;
    case rtl::TypeKind::Enumeration:
        if (typeName.compare(QLatin1String("Boolean"), Qt::CaseInsensitive) == 0
            || typeName.compare(QLatin1String("bool"), Qt::CaseInsensitive) == 0)
            return qvtBool;
        return qvtEnum;
    case rtl::TypeKind::Set: return qvtEnum;
    case rtl::TypeKind::Float: return qvtFloat;
    case rtl::TypeKind::String:
    case rtl::TypeKind::StringList: return qvtString;
    case rtl::TypeKind::Class:
    case rtl::TypeKind::Component:
        if (p->allowedClass())
            typeName = p->allowedClass()->name();
        return qvtClass;
    case rtl::TypeKind::Variant: return qvtVariant;
    case rtl::TypeKind::Int64: return qvtInt64;
    default: return qvtInt;
    }
}

} // namespace

// ---- Events

void TqsEventHelper::SetValue(const Variant &value)
{
    if (!FEvent || !FScope)
        return;
    const QString name = value.toString();
    if (name == QLatin1String("0")) {
        FEvent(FParentValue, nullptr);
        return;
    }
    auto *proc = dynamic_cast<TqsProcVariable *>(FScope->Find(name));
    if (!proc)
        throw Exception(qsMessage(u"SEventError"));
    TqsCustomEvent *bridge = FEvent(FParentValue, proc);
    if (!bridge)
        return;
    FScope->Add(QString(), bridge);
    bridge->Install();
}

Variant TqsCustomEvent::CallHandler(std::span<Variant> params)
{
    return FHandler->Invoke(params.data(), params.size());
}

// ---- Classes

TqsComponentHelper::TqsComponentHelper(TComponent *component) : TqsCustomVariable(kOther)
{
    SetName(component->Name());
    SetType(qvtClass, component->ClassName());
    FValue = rtl::objectToVariant(component);
    FIsReadOnly = true;
}

TqsEventHelper *TqsClassVariable::AddEvent(const QString &name, TqsEventFactory event)
{
    auto *h = new TqsEventHelper;
    h->SetName(name);
    h->SetType(qvtString, QStringLiteral("String"));
    h->FEvent = std::move(event);
    FMembers.push_back(h);
    return h;
}

TqsComponentHelper *TqsClassVariable::AddComponent(TComponent *component)
{
    auto *h = new TqsComponentHelper(component);
    FMembers.push_back(h);
    return h;
}

TqsClassVariable::TqsClassVariable(const rtl::ClassInfo *cls, TqsScript *program)
    : TqsCustomVariable(kClass), FClassRef(cls), FProgram(program)
{
    SetName(cls->name());
    SetType(qvtClass, cls->name());
    FIsReadOnly = true;
    auto *cast = new TqsParamItem; // T(x)
    cast->FIsOptional = true;
    AddParam(cast);
    // Stored published properties first, events (method kind) left out.
    for (const rtl::PropInfo *p : cls->props()) {
        if (p->kind() == rtl::TypeKind::Method || p->storedMode() == rtl::StoredMode::Never)
            continue;
        auto *h = new TqsPropertyHelper;
        QString typeName;
        const TqsVarType t = propType(p, typeName);
        h->SetName(p->name());
        h->SetType(t, typeName);
        h->FClassRef = cls;
        h->FPropInfo = p;
        h->FIsReadOnly = !p->isWritable();
        FMembers.push_back(h);
    }
}

TqsClassVariable::~TqsClassVariable()
{
    for (TqsCustomVariable *m : FMembers)
        delete m;
    delete FDefaultCreate;
}

Variant TqsClassVariable::GetValue()
{
    TqsParamItem *cast = Params(0);
    if (!cast->FValue.isNull()) {
        Variant v = std::move(cast->FValue);
        cast->FValue = Variant::null();
        return v;
    }
    return Variant(FName);
}

TqsMethodHelper *TqsClassVariable::AddMethod(const QString &syntax, TqsModuleCall callEvent)
{
    auto *m = new TqsMethodHelper(syntax, FProgram);
    if (callEvent) {
        // The member keeps the class it was registered for: an inherited member reaches the
        // module with the ancestor's class.
        m->FOnCallNew = [cls = FClassRef, event = std::move(callEvent)](const Variant &instance, const QString &name,
                                                                       TqsMethodHelper &h) { return event(instance, cls, name, h); };
    }
    FMembers.push_back(m);
    return m;
}

TqsMethodHelper *TqsClassVariable::AddMethod(const QString &syntax, TqsMethodHelper::TqsCallEventOld callEvent)
{
    auto *m = new TqsMethodHelper(syntax, FProgram);
    m->FOnCall = std::move(callEvent);
    FMembers.push_back(m);
    return m;
}

QString qsConstructorSyntax(const QString &syntax)
{
    const qsizetype blank = syntax.indexOf(QLatin1Char(' '));
    return QStringLiteral("function") + (blank < 0 ? QString() : syntax.mid(blank)) + QStringLiteral(": Constructor");
}

QString qsIndexPropertySyntax(const QString &name, const QString &params, const QString &type)
{
    QStringList ps;
    const QStringList types = params.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < types.size(); ++i)
        ps << QStringLiteral("p%1: %2").arg(i).arg(types[i].trimmed());
    return QStringLiteral("function %1(%2): %3").arg(name, ps.join(QStringLiteral("; ")), type);
}

TqsMethodHelper *TqsClassVariable::AddConstructor(const QString &syntax, TqsModuleCall callEvent)
{
    return AddMethod(qsConstructorSyntax(syntax), std::move(callEvent));
}

TqsPropertyHelper *TqsClassVariable::AddProperty(const QString &name, const QString &type, TqsModuleGetProp get,
                                                 TqsModuleSetProp set)
{
    auto *h = new TqsPropertyHelper;
    h->SetName(name);
    h->SetType(StrToVarType(type, FProgram), type);
    h->FClassRef = FClassRef;
    h->FIsReadOnly = !set;
    h->FOnGetValueNew = std::move(get);
    h->FOnSetValueNew = std::move(set);
    FMembers.push_back(h);
    return h;
}

TqsMethodHelper *TqsClassVariable::AddIndexProperty(const QString &name, const QString &params, const QString &type,
                                                    TqsModuleCall callEvent, bool isReadOnly)
{
    TqsMethodHelper *m = AddMethod(qsIndexPropertySyntax(name, params, type), std::move(callEvent));
    m->SetIndexMethod();
    m->FIsReadOnly = isReadOnly;
    return m;
}

TqsMethodHelper *TqsClassVariable::AddDefaultProperty(const QString &name, const QString &params, const QString &type,
                                                      TqsModuleCall callEvent, bool isReadOnly)
{
    FDefProperty = AddIndexProperty(name, params, type, std::move(callEvent), isReadOnly);
    return FDefProperty;
}

TqsCustomVariable *TqsClassVariable::Find(QStringView name) const
{
    for (const TqsClassVariable *c = this; c;) {
        for (TqsCustomVariable *m : c->FMembers)
            if (QStringView(m->FName).compare(name, Qt::CaseInsensitive) == 0)
                return m;
        if (c->FAncestor.isEmpty() || !c->FProgram)
            break;
        auto *next = dynamic_cast<TqsClassVariable *>(c->FProgram->Find(c->FAncestor));
        c = next == c ? nullptr : next;
    }
    return nullptr;
}

bool TqsClassVariable::InheritsFrom(const TqsClassVariable *ancestor) const
{
    if (!ancestor)
        return false;
    if (FClassRef && ancestor->FClassRef && FClassRef->inheritsFrom(ancestor->FClassRef))
        return true;
    // Script classes may name an ancestor the host class does not derive from (every
    // class-library class descends from TObject): follow the registered ancestors too.
    for (const TqsClassVariable *c = this; c; ) {
        if (c == ancestor || c->FName.compare(ancestor->FName, Qt::CaseInsensitive) == 0)
            return true;
        if (c->FAncestor.isEmpty() || !c->FProgram)
            break;
        auto *next = dynamic_cast<TqsClassVariable *>(c->FProgram->Find(c->FAncestor));
        c = next == c ? nullptr : next;
    }
    return false;
}

TqsMethodHelper *TqsClassVariable::DefaultConstructor()
{
    if (!FClassRef || !FClassRef->canCreate())
        return nullptr;
    if (!FDefaultCreate) {
        const rtl::ClassInfo *cls = FClassRef;
        FDefaultCreate = new TqsMethodHelper(QStringLiteral("function Create(AOwner: Variant = 0): Constructor"), FProgram);
        FDefaultCreate->FOnCallNew = [cls](const Variant &, const QString &, TqsMethodHelper &h) {
            const Variant owner = h.GetVParam(0);
            TPersistent *o = owner.isOrdinal() && owner.toInt64() != 0 ? qsObjectOf(owner) : nullptr;
            return rtl::objectToVariant(cls->create(o));
        };
    }
    return FDefaultCreate;
}
