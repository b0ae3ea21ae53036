#include "platform/rtl/reflect/classinfo.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/variant.h"

#include <unordered_map>
#include <deque>
#include <memory>
#include <mutex>
#include <shared_mutex>

namespace rtl {

namespace {

[[noreturn]] void wrongKind(const PropInfo *p, const char *what)
{
    throw EPropertyError(QStringLiteral("Property %1 (%2) has no %3").arg(p->name(), p->typeName(), QLatin1String(what)));
}

[[noreturn]] void readOnly(const PropInfo *p)
{
    throw EPropertyError(QStringLiteral("Property %1 is read-only").arg(p->name()));
}

struct Registry {
    std::shared_mutex lock;
    std::unordered_multimap<uint32_t, const ClassInfo *> byHash;  // NameHash of the name
    std::vector<const ClassInfo *> order;
};

Registry &registry()
{
    static Registry r;
    return r;
}

const ClassInfo *findLocked(const Registry &r, QStringView name, uint32_t hash)
{
    auto [b, e] = r.byHash.equal_range(hash);
    for (auto it = b; it != e; ++it)
        if (SameName(it->second->name(), name))
            return it->second;
    return nullptr;
}

} // namespace

// ---- PropInfo ---------------------------------------------------------------------------

int64_t PropInfo::getOrd(TPersistent *obj) const
{
    if (!FGetOrd)
        wrongKind(this, "ordinal value");
    return FGetOrd(obj);
}

void PropInfo::setOrd(TPersistent *obj, int64_t value) const
{
    if (!FSetOrd) {
        if (!FGetOrd)
            wrongKind(this, "ordinal value");
        readOnly(this);
    }
    switch (FType->kind()) {
    case TypeKind::Enumeration:
        if (FType->isBoolean())
            value = value != 0 ? 1 : 0;
        else if (value < 0 || value >= FType->enumCount())
            throw EPropertyError(QStringLiteral("%1 is not a value of %2").arg(value).arg(FType->name()));
        break;
    case TypeKind::Set:
        value = int64_t(uint64_t(value) & FType->setMask());
        break;
    case TypeKind::Integer:
        value = int32_t(uint32_t(uint64_t(value)));
        break;
    case TypeKind::Char:
        value = value & 0xFFFF;
        break;
    default:
        break;
    }
    FSetOrd(obj, value);
}

void PropInfo::setOrdText(TPersistent *obj, QStringView text) const
{
    int64_t v;
    if (!type()->textToOrd(text, v))
        throw EPropertyError(QStringLiteral("'%1' is not a valid value of %2").arg(text.toString(), type()->name()));
    setOrd(obj, v);
}

double PropInfo::getFloat(TPersistent *obj) const
{
    if (!FGetFloat)
        wrongKind(this, "float value");
    return FGetFloat(obj);
}

void PropInfo::setFloat(TPersistent *obj, double value) const
{
    if (!FSetFloat) {
        if (!FGetFloat)
            wrongKind(this, "float value");
        readOnly(this);
    }
    FSetFloat(obj, value);
}

QString PropInfo::getStr(TPersistent *obj) const
{
    if (!FGetStr)
        wrongKind(this, "text value");
    return FGetStr(obj);
}

void PropInfo::setStr(TPersistent *obj, const QString &value) const
{
    if (!FSetStr) {
        if (!FGetStr)
            wrongKind(this, "text value");
        readOnly(this);
    }
    FSetStr(obj, value);
}

TPersistent *PropInfo::getObject(TPersistent *obj) const
{
    if (!FGetObj)
        wrongKind(this, "object value");
    return FGetObj(obj);
}

void PropInfo::setObject(TPersistent *obj, TPersistent *value) const
{
    if (!FSetObj) {
        if (!FGetObj)
            wrongKind(this, "object value");
        readOnly(this);
    }
    if (value && allowedClass() && !value->InheritsFrom(allowedClass()))
        throw EPropertyError(QStringLiteral("Property %1 cannot hold a %2").arg(FName, value->ClassName()));
    FSetObj(obj, value);
}

void *PropInfo::getListObject(TPersistent *obj) const
{
    if (!FGetList)
        wrongKind(this, "list");
    return FGetList(obj);
}

void PropInfo::getVariant(TPersistent *obj, Variant &out) const
{
    if (!FGetVar)
        wrongKind(this, "variant value");
    FGetVar(obj, out);
}

void PropInfo::setVariant(TPersistent *obj, const Variant &value) const
{
    if (!FSetVar) {
        if (!FGetVar)
            wrongKind(this, "variant value");
        readOnly(this);
    }
    FSetVar(obj, value);
}

Variant PropInfo::getValue(TPersistent *obj) const
{
    switch (kind()) {
    case TypeKind::Integer:
    case TypeKind::Char:
        return Variant(int(getOrd(obj)));
    case TypeKind::Int64:
        return Variant(static_cast<long long>(getOrd(obj)));
    case TypeKind::Enumeration:
        if (FType->isBoolean())
            return Variant(getOrd(obj) != 0);
        return Variant(int(getOrd(obj)));
    case TypeKind::Set:
        return Variant(int(uint32_t(getOrd(obj))));
    case TypeKind::Float:
        if (FType == types::TDateTime())
            return Variant::fromDate(getFloat(obj));
        return Variant(getFloat(obj));
    case TypeKind::String:
        return Variant(getStr(obj));
    case TypeKind::Class:
    case TypeKind::Component:
        return objectToVariant(getObject(obj));
    case TypeKind::StringList:
        if (FGetVar) {
            Variant v;
            FGetVar(obj, v);
            return v;
        }
        return Variant(getStr(obj));
    case TypeKind::Variant: {
        Variant v;
        getVariant(obj, v);
        return v;
    }
    default:
        return Variant();
    }
}

void PropInfo::setValue(TPersistent *obj, const Variant &value) const
{
    switch (kind()) {
    case TypeKind::Integer:
    case TypeKind::Char:
    case TypeKind::Int64:
        setOrd(obj, value.toInt64());
        return;
    case TypeKind::Enumeration:
    case TypeKind::Set:
        if (value.isString())
            setOrdText(obj, value.toString());
        else if (FType->isBoolean())
            setOrd(obj, value.toBool() ? 1 : 0);
        else
            setOrd(obj, value.toInt64());
        return;
    case TypeKind::Float:
        setFloat(obj, value.toDouble());
        return;
    case TypeKind::String:
    case TypeKind::StringList:
        setStr(obj, value.toString());
        return;
    case TypeKind::Class:
    case TypeKind::Component: {
        TPersistent *o = variantToObject<TPersistent>(value);
        if (!o && !value.isEmptyOrNull() && value.toInt64() != 0)
            throw EPropertyError(QStringLiteral("Invalid object reference for property %1").arg(FName));
        setObject(obj, o);
        return;
    }
    case TypeKind::Variant:
        setVariant(obj, value);
        return;
    default:
        throw EPropertyError(QStringLiteral("Property %1 cannot be set").arg(FName));
    }
}

// ---- ClassInfo --------------------------------------------------------------------------

bool ClassInfo::isComponent() const { return FType->kind() == TypeKind::Component; }

TPersistent *ClassInfo::create(TPersistent *owner) const
{
    if (!FCreate)
        throw EClassNotFound(QStringLiteral("Cannot create an instance of the abstract class %1").arg(FName));
    return FCreate(owner);
}

TPersistent *ClassInfo::designCreate(TComponent *owner, uint16_t flags) const
{
    if (FDesignCreate)
        return FDesignCreate(owner, flags);
    return create(owner);
}

const PropInfo *ClassInfo::findDeclared(QStringView name) const
{
    for (const ClassInfo *c = this; c; c = c->FParent)
        for (auto it = c->FDeclared.rbegin(); it != c->FDeclared.rend(); ++it)
            if (SameName((*it)->name(), name))
                return *it;
    return nullptr;
}

void ClassInfo::addPublished(const PropInfo *p)
{
    for (auto &q : FProps)
        if (SameName(q->name(), p->name())) {
            q = p;
            return;
        }
    FProps.push_back(p);
}

void ClassInfo::rebuildIndex()
{
    size_t n = 8;
    while (n < FProps.size() * 2)
        n *= 2;
    FIndex.assign(n, int16_t(-1));
    for (size_t i = 0; i < FProps.size(); ++i) {
        size_t s = FProps[i]->hash() & (n - 1);
        while (FIndex[s] >= 0)
            s = (s + 1) & (n - 1);
        FIndex[s] = int16_t(i);
    }
}

int ClassInfo::indexOf(QStringView name, uint32_t hash) const
{
    const size_t mask = FIndex.size() - 1;
    for (size_t s = hash & mask;; s = (s + 1) & mask) {
        const int16_t i = FIndex[s];
        if (i < 0)
            return -1;
        const PropInfo *p = FProps[size_t(i)];
        if (p->hash() == hash && SameName(p->name(), name))
            return i;
    }
}

// ---- registry ---------------------------------------------------------------------------

void RegisterClass(const ClassInfo *cls)
{
    if (!cls)
        return;
    Registry &r = registry();
    std::unique_lock lock(r.lock);
    if (findLocked(r, cls->name(), cls->hash()))
        return;
    r.byHash.emplace(cls->hash(), cls);
    r.order.push_back(cls);
}

void RegisterClasses(std::initializer_list<const ClassInfo *> classes)
{
    for (const ClassInfo *c : classes)
        RegisterClass(c);
}

void UnregisterClass(const ClassInfo *cls)
{
    if (!cls)
        return;
    Registry &r = registry();
    std::unique_lock lock(r.lock);
    auto [b, e] = r.byHash.equal_range(cls->hash());
    for (auto it = b; it != e; ++it)
        if (it->second == cls) {
            r.byHash.erase(it);
            std::erase(r.order, cls);
            return;
        }
}

const ClassInfo *FindClass(QStringView name)
{
    Registry &r = registry();
    std::shared_lock lock(r.lock);
    return findLocked(r, name, NameHash(name));
}

const ClassInfo *GetClass(QStringView name)
{
    const ClassInfo *c = FindClass(name);
    if (!c)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(name.toString()));
    return c;
}

std::vector<const ClassInfo *> RegisteredClasses()
{
    Registry &r = registry();
    std::shared_lock lock(r.lock);
    return r.order;
}

void RegisterRootClasses()
{
    RegisterClasses({TPersistent::StaticClass(), TComponent::StaticClass(), TCollection::StaticClass(),
                     TCollectionItem::StaticClass()});
}

bool ResolvePropPath(TPersistent *root, QStringView path, TPersistent *&target, const PropInfo *&prop)
{
    TPersistent *obj = root;
    qsizetype start = 0;
    while (obj) {
        const qsizetype dot = path.indexOf(QLatin1Char('.'), start);
        const QStringView part = path.mid(start, dot < 0 ? -1 : dot - start);
        const PropInfo *p = obj->ClassType()->findProp(part);
        if (!p)
            return false;
        if (dot < 0) {
            target = obj;
            prop = p;
            return true;
        }
        if (p->kind() != TypeKind::Class)
            return false;  // never walk through references or scalars
        obj = p->getObject(obj);
        start = dot + 1;
    }
    return false;
}

// ---- builder support --------------------------------------------------------------------

namespace detail {

QString joinLines(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines) {
        s += l;
        s += QLatin1String("\r\n");
    }
    return s;
}

QStringList splitLines(const QString &text)
{
    QStringList out;
    const qsizetype n = text.size();
    qsizetype i = 0, start = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n)
        out.append(text.mid(start));
    return out;
}

const TypeInfo *makeClassType(ClassInfo *ci, bool component)
{
    return makeType(component ? TypeKind::Component : TypeKind::Class, ci->name(), {}, nullptr, ci);
}

PropInfo *newProp()
{
    // Property infos live as long as their classes: for the whole process.
    static std::deque<std::unique_ptr<PropInfo>> store;
    static std::mutex m;
    std::lock_guard lock(m);
    store.push_back(std::make_unique<PropInfo>());
    return store.back().get();
}

void declError(const QString &cls, const QString &prop, const char *what)
{
    const QString msg = cls + QLatin1Char('.') + prop + QLatin1Char(' ') + QLatin1String(what);
    throw std::logic_error(msg.toStdString());
}

} // namespace detail

} // namespace rtl
