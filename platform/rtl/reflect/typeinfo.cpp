#include "platform/rtl/reflect/typeinfo.h"

#include <QHash>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace rtl {

namespace {

std::mutex &typeMutex()
{
    static std::mutex m;
    return m;
}

// Every type ever made; never freed (types are process-wide constants).
std::deque<std::unique_ptr<TypeInfo>> &typeStore()
{
    static std::deque<std::unique_ptr<TypeInfo>> s;
    return s;
}

QHash<QString, const TypeInfo *> &namedTypes()
{
    static QHash<QString, const TypeInfo *> h;
    return h;
}

QString foldKey(QStringView name) { return name.toString().toCaseFolded(); }

bool parseInt(QStringView text, int64_t &out)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return false;
    out = v;
    return true;
}

} // namespace

uint32_t NameHash(QStringView name)
{
    uint32_t h = 2166136261u;
    for (QChar c : name) {
        char16_t u = c.unicode();
        if (u < 0x80) {
            if (u >= 'A' && u <= 'Z')
                u = char16_t(u + 32);
        } else {
            u = c.toCaseFolded().unicode();
        }
        h = (h ^ u) * 16777619u;
    }
    return h;
}

bool SameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const QChar *pa = a.data(), *pb = b.data();
    for (qsizetype i = 0, n = a.size(); i < n; ++i) {
        char16_t x = pa[i].unicode(), y = pb[i].unicode();
        if (x == y)
            continue;
        if ((x | y) >= 0x80)  // leave anything beyond ASCII to the full comparison
            return a.mid(i).compare(b.mid(i), Qt::CaseInsensitive) == 0;
        if (x >= 'A' && x <= 'Z')
            x = char16_t(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = char16_t(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

const TypeInfo *makeType(TypeKind kind, const QString &name, std::vector<QString> idents,
                         const TypeInfo *element, const ClassInfo *cls)
{
    std::unique_ptr<TypeInfo> t(new TypeInfo);
    t->FKind = kind;
    t->FName = name;
    t->FIdents = std::move(idents);
    t->FElement = element;
    t->FClass = cls;
    const TypeInfo *r = t.get();
    std::lock_guard lock(typeMutex());
    typeStore().push_back(std::move(t));
    return r;
}

bool TypeInfo::isBoolean() const { return this == types::Boolean(); }

bool TypeInfo::isScriptEvent() const
{
    if (FKind != TypeKind::String)
        return false;
    const QString lower = FName.toLower();
    return lower.startsWith(QLatin1String("tkvl")) && lower.size() >= 9
        && lower.indexOf(QLatin1String("event")) == lower.size() - 5;
}

const QString &TypeInfo::enumName(int ordinal) const
{
    static const QString empty;
    if (ordinal < 0 || ordinal >= int(FIdents.size()))
        return empty;
    return FIdents[size_t(ordinal)];
}

int TypeInfo::enumOrdinal(QStringView ident) const
{
    for (size_t i = 0; i < FIdents.size(); ++i)
        if (SameName(FIdents[i], ident))
            return int(i);
    return -1;
}

uint64_t TypeInfo::setMask() const
{
    if (FKind != TypeKind::Set || !FElement)
        return 0;
    const int n = FElement->enumCount();
    return n >= 64 ? ~uint64_t(0) : ((uint64_t(1) << n) - 1);
}

bool TypeInfo::textToOrd(QStringView text, int64_t &out) const
{
    switch (FKind) {
    case TypeKind::Enumeration: {
        const int o = enumOrdinal(text.trimmed());
        if (o >= 0) {
            out = o;
            return true;
        }
        int64_t v;
        if (!parseInt(text, v))
            return false;
        if (isBoolean()) {
            out = v != 0 ? 1 : 0;
            return true;
        }
        if (v < 0 || v >= enumCount())
            return false;
        out = v;
        return true;
    }
    case TypeKind::Set: {
        int64_t v;
        if (!parseInt(text, v))
            return false;
        out = int64_t(uint64_t(v) & setMask());
        return true;
    }
    case TypeKind::Integer: {
        int64_t v;
        if (!parseInt(text, v) || v < INT32_MIN || v > int64_t(UINT32_MAX))
            return false;
        out = int32_t(uint32_t(v));  // 32-bit wrap, so unsigned texts of colours still fit
        return true;
    }
    case TypeKind::Int64:
    case TypeKind::Char:
        if (!parseInt(text, out))
            return false;
        if (FKind == TypeKind::Char && (out < 0 || out > 0xFFFF))
            return false;
        return true;
    default:
        return false;
    }
}

QString TypeInfo::ordToText(int64_t value) const
{
    if (FKind == TypeKind::Enumeration) {
        const QString &n = enumName(int(value));
        if (!n.isEmpty())
            return n;
    }
    return QString::number(value);
}

QString TypeInfo::setToString(uint64_t mask) const
{
    QString s = QStringLiteral("[");
    bool first = true;
    if (FElement)
        for (int i = 0; i < FElement->enumCount() && i < 64; ++i)
            if (mask & (uint64_t(1) << i)) {
                if (!first)
                    s += QLatin1Char(',');
                s += FElement->enumName(i);
                first = false;
            }
    s += QLatin1Char(']');
    return s;
}

namespace {

// Interns a named type; `same` says whether an existing one agrees with the request.
template <class Make, class Same>
const TypeInfo *intern(const QString &name, Make make, Same same)
{
    const QString key = foldKey(name);
    {
        std::lock_guard lock(typeMutex());
        auto it = namedTypes().constFind(key);
        if (it != namedTypes().constEnd()) {
            if (!same(*it.value()))
                throw std::logic_error("type declared twice with different meanings: " + name.toStdString());
            return it.value();
        }
    }
    const TypeInfo *t = make();
    std::lock_guard lock(typeMutex());
    auto it = namedTypes().constFind(key);  // another thread may have won
    if (it != namedTypes().constEnd())
        return it.value();
    namedTypes().insert(key, t);
    return t;
}

bool sameIdents(const TypeInfo &t, const std::vector<QString> &idents)
{
    if (t.kind() != TypeKind::Enumeration || t.enumCount() != int(idents.size()))
        return false;
    for (size_t i = 0; i < idents.size(); ++i)
        if (t.enumName(int(i)) != idents[i])
            return false;
    return true;
}

} // namespace

const TypeInfo *EnumType(const QString &name, const std::vector<QString> &idents)
{
    return intern(
        name, [&] { return makeType(TypeKind::Enumeration, name, idents); },
        [&](const TypeInfo &t) { return sameIdents(t, idents); });
}

const TypeInfo *EnumType(const QString &name, std::initializer_list<const char *> idents)
{
    std::vector<QString> v;
    v.reserve(idents.size());
    for (const char *s : idents)
        v.push_back(QString::fromLatin1(s));
    return EnumType(name, v);
}

const TypeInfo *SetType(const QString &name, const TypeInfo *element)
{
    if (!element || element->kind() != TypeKind::Enumeration)
        throw std::logic_error("a set needs an enumeration: " + name.toStdString());
    return intern(
        name, [&] { return makeType(TypeKind::Set, name, {}, element); },
        [&](const TypeInfo &t) { return t.kind() == TypeKind::Set && t.elementType() == element; });
}

const TypeInfo *NamedType(TypeKind kind, const QString &name)
{
    return intern(
        name, [&] { return makeType(kind, name); }, [&](const TypeInfo &t) { return t.kind() == kind; });
}

const TypeInfo *MethodType(const QString &name) { return NamedType(TypeKind::Method, name); }

const TypeInfo *FindType(QStringView name)
{
    std::lock_guard lock(typeMutex());
    return namedTypes().value(foldKey(name), nullptr);
}

namespace types {
// Interned too, so FindType("Integer") answers and nobody can redefine them.
#define LIRRA_NAMED(fn, kind, nm)                                                              \
    const TypeInfo *fn()                                                                       \
    {                                                                                          \
        static const TypeInfo *t = NamedType(kind, QStringLiteral(nm));                        \
        return t;                                                                              \
    }
LIRRA_NAMED(Integer, TypeKind::Integer, "Integer")
LIRRA_NAMED(Cardinal, TypeKind::Integer, "Cardinal")
LIRRA_NAMED(Int64, TypeKind::Int64, "Int64")
LIRRA_NAMED(Double, TypeKind::Float, "Double")
LIRRA_NAMED(Extended, TypeKind::Float, "Extended")
LIRRA_NAMED(TDateTime, TypeKind::Float, "TDateTime")
LIRRA_NAMED(String, TypeKind::String, "String")
LIRRA_NAMED(WideString, TypeKind::String, "WideString")
LIRRA_NAMED(Char, TypeKind::Char, "Char")
LIRRA_NAMED(Variant, TypeKind::Variant, "Variant")
LIRRA_NAMED(TColor, TypeKind::Integer, "TColor")
LIRRA_NAMED(TCursor, TypeKind::Integer, "TCursor")
LIRRA_NAMED(TFontCharset, TypeKind::Integer, "TFontCharset")
LIRRA_NAMED(TFontName, TypeKind::String, "TFontName")
LIRRA_NAMED(TStrings, TypeKind::StringList, "TStrings")
LIRRA_NAMED(TNotifyEvent, TypeKind::Method, "TNotifyEvent")
#undef LIRRA_NAMED

const TypeInfo *Boolean()
{
    static const TypeInfo *t = EnumType(QStringLiteral("Boolean"), {"False", "True"});
    return t;
}
} // namespace types

} // namespace rtl
