#pragma once
// Declaring a class and its published properties.
//
// Header:
//     class TkvlFrame : public TPersistent {
//         LIRRA_CLASS(TkvlFrame, TPersistent)
//     public:
//         TColor Color() const; void SetColor(TColor);
//         ...
//     };
// Source (the class lists its properties once, in stored order):
//     LIRRA_DEFINE_CLASS(TkvlFrame)
//     void TkvlFrame::DeclareClass(rtl::ClassBuilder<TkvlFrame> &b)
//     {
//         using T = TkvlFrame;
//         b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).def(0);
//         b.prop<&T::FDropShadow>("DropShadow").def(false);           // field, read and write
//         b.prop<&T::ShadowWidth, &T::SetShadowWidth>("ShadowWidth").stored<&T::IsSWStored>();
//         b.prop<&T::Style, &T::SetStyle>("Style", StyleType).def(fsSolid);
//         b.prop<&T::LeftLine>("LeftLine");                              // owned object, read only
//         b.description([] { return QStringLiteral("..."); });
//     }
// Getters may be a data member, a member function or a captureless lambda taking (T&) or
// (const T&); setters a data member, a member function or a lambda taking (T&, value).
// Omitting the setter makes the property read-only (owned objects and string lists are
// still changed through their getter). The type may be left out for int32_t (Integer),
// int64_t, double (Extended), QString, bool (Boolean), QChar (Char) and pointers to
// declared classes (Class, or Component for components); give it for everything named
// (TColor, enumerations, sets, event names).
//
// Modifiers: .def(v) declared default (ordinals; a float default is also accepted),
// .stored(false) never stored, .stored<&T::Pred>() stored when the predicate holds.
//
// Factories come from the constructors: components need (TComponent *owner) and, for the
// designer, may add (TComponent *owner, const rtl::TDesignInfo *design); collection items
// need (TCollection *); other persistent classes a default constructor. Abstract classes
// get none.
//
// A class may declare a property without publishing it (declare<...>(...)); a descendant
// then publishes it with b.publish("Name"), which appends it to the descendant's list (and
// may give it its own default or stored test). Publishing a name that an ancestor already
// published replaces it in place with the new default/stored settings. A DeclareClass must
// not call its own class's StaticClass(); use b.selfType() for properties of its own class.
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/collection.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/reflect/persistent.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <type_traits>

#define LIRRA_DEFINE_CLASS(Cls)                                                                \
    const ::rtl::ClassInfo *Cls::StaticClass()                                                 \
    {                                                                                          \
        static const ::rtl::ClassInfo *ci = ::rtl::ClassBuilder<Cls>::build(QStringLiteral(#Cls)); \
        return ci;                                                                             \
    }

namespace rtl {

namespace detail {

template <class F> struct LambdaArgs;
template <class C, class R, class... A> struct LambdaArgs<R (C::*)(A...) const> {
    using Ret = R;
    using Args = std::tuple<A...>;
};

// The value type a setter takes.
template <auto S> struct SetterArg;
template <class C, class M, M C::*P>
    requires(!std::is_function_v<M>)
struct SetterArg<P> {
    using type = M;
};
template <class C, class R, class A, R (C::*P)(A)> struct SetterArg<P> {
    using type = std::decay_t<A>;
};
template <auto S>
    requires requires { &decltype(S)::operator(); }
struct SetterArg<S> {
    using type = std::decay_t<std::tuple_element_t<1, typename LambdaArgs<decltype(&decltype(S)::operator())>::Args>>;
};

template <class T, auto G> decltype(auto) callGet(TPersistent *p)
{
    return std::invoke(G, *static_cast<T *>(p));
}

template <class T, auto S, class V> void callSet(TPersistent *p, V &&v)
{
    if constexpr (std::is_member_object_pointer_v<decltype(S)>)
        static_cast<T *>(p)->*S = std::forward<V>(v);
    else
        std::invoke(S, *static_cast<T *>(p), std::forward<V>(v));
}

template <class V>
concept OrdLike = std::is_integral_v<V> || std::is_enum_v<V> || std::is_same_v<V, QChar>
    || requires(const V &v) {
           typename V::enum_type;  // QFlags
           v.toInt();
       };
template <class V>
concept ObjLike = (std::is_pointer_v<V> && std::is_base_of_v<TPersistent, std::remove_cv_t<std::remove_pointer_t<V>>>)
    || requires(const V &v) {
           typename V::element_type;
           { v.get() } -> std::convertible_to<TPersistent *>;
       };
template <class L>
concept ListLike = std::is_same_v<std::remove_cvref_t<L>, QStringList> || requires(const L &l) { l.Text(); };

template <class V> int64_t toOrd(const V &v)
{
    using D = std::decay_t<V>;
    if constexpr (std::is_same_v<D, QChar>)
        return v.unicode();
    else if constexpr (std::is_enum_v<D>)
        return int64_t(std::underlying_type_t<D>(v));
    else if constexpr (requires { typename D::enum_type; })  // QFlags
        return int64_t(uint32_t(v.toInt()));
    else
        return int64_t(v);
}

template <class D> D fromOrd(int64_t v)
{
    if constexpr (std::is_same_v<D, QChar>)
        return QChar(char16_t(v));
    else if constexpr (std::is_same_v<D, bool>)
        return v != 0;
    else if constexpr (std::is_enum_v<D>)
        return D(std::underlying_type_t<D>(v));
    else if constexpr (requires { typename D::enum_type; })
        return D::fromInt(typename D::Int(v));
    else
        return D(v);
}

template <class P> struct ObjElem {
    using type = typename P::element_type;
};
template <class P> struct ObjElem<P *> {
    using type = P;
};

template <class P> TPersistent *toObj(const P &v)
{
    if constexpr (std::is_pointer_v<P>)
        return v;
    else
        return static_cast<TPersistent *>(v.get());
}

// Whole text of a string list: every line followed by CR LF.
QString joinLines(const QStringList &lines);
QStringList splitLines(const QString &text);

template <class L> QString listText(const L &list)
{
    if constexpr (requires { list.Text(); })
        return list.Text();
    else
        return joinLines(list);
}
template <class L> void setListText(L &list, const QString &text)
{
    if constexpr (requires { list.SetText(text); })
        list.SetText(text);
    else
        list = splitLines(text);
}
template <class P> auto &deref(P &&p)
{
    if constexpr (std::is_pointer_v<std::remove_reference_t<P>>)
        return *p;
    else
        return p;
}

template <class V> const TypeInfo *defaultType()
{
    using D = std::remove_cvref_t<V>;
    if constexpr (std::is_same_v<D, bool>)
        return types::Boolean();
    else if constexpr (std::is_same_v<D, int32_t>)
        return types::Integer();
    else if constexpr (std::is_same_v<D, int64_t>)
        return types::Int64();
    else if constexpr (std::is_same_v<D, double>)
        return types::Extended();
    else if constexpr (std::is_same_v<D, QString>)
        return types::String();
    else if constexpr (std::is_same_v<D, QChar>)
        return types::Char();
    else if constexpr (std::is_same_v<D, QStringList>)
        return types::TStrings();
    else
        return nullptr;
}

// Object properties without an explicit type: their class type, asked for only on first
// use. Asking during class building would recurse when a class publishes a reference to
// its own descendant (whose building needs the class being built).
template <class V> struct LazyClassType {
    static constexpr bool known = false;
};
template <class V>
    requires(std::is_pointer_v<V> && requires { std::remove_pointer_t<V>::StaticClass(); })
struct LazyClassType<V> {
    using Elem = std::remove_pointer_t<V>;
    static constexpr bool known = true;
};
template <class V>
    requires(!std::is_pointer_v<V> && requires { V::element_type::StaticClass(); })
struct LazyClassType<V> {
    using Elem = typename V::element_type;
    static constexpr bool known = true;
};
template <class Elem> const TypeInfo *classTypeOf() { return Elem::StaticClass()->type(); }

const TypeInfo *makeClassType(ClassInfo *ci, bool component);
PropInfo *newProp();
[[noreturn]] void declError(const QString &cls, const QString &prop, const char *what);

} // namespace detail

template <class T> class PropDecl {
public:
    explicit PropDecl(PropInfo *p) : FProp(p) {}
    template <class V> PropDecl &def(V v)
    {
        FProp->FHasDefault = true;
        if constexpr (std::is_floating_point_v<V>) {
            FProp->FDefaultFloat = double(v);
            FProp->FDefaultOrd = int64_t(v);
        } else {
            FProp->FDefaultOrd = detail::toOrd(v);
            FProp->FDefaultFloat = double(FProp->FDefaultOrd);
        }
        return *this;
    }
    PropDecl &noDefault()
    {
        FProp->FHasDefault = false;
        return *this;
    }
    PropDecl &stored(bool on)
    {
        FProp->FStored = on ? StoredMode::Always : StoredMode::Never;
        FProp->FStoredFn = nullptr;
        return *this;
    }
    template <auto Pred> PropDecl &stored()
    {
        FProp->FStored = StoredMode::Predicate;
        FProp->FStoredFn = [](TPersistent *p) -> bool { return std::invoke(Pred, *static_cast<T *>(p)); };
        return *this;
    }
    const PropInfo *info() const { return FProp; }

private:
    PropInfo *FProp;
};

template <class T> class ClassBuilder {
public:
    // Builds the class info of T (called once, by T::StaticClass()).
    static const ClassInfo *build(const QString &name)
    {
        auto *ci = new ClassInfo;  // lives for the whole process
        ci->FName = name;
        ci->FHash = NameHash(name);
        if constexpr (!std::is_same_v<T, TPersistent>)
            ci->FParent = T::inherited::StaticClass();
        ci->FDepth = ci->FParent ? ci->FParent->FDepth + 1 : 0;
        if (ci->FParent) {
            ci->FLineage = ci->FParent->FLineage;
            ci->FProps = ci->FParent->FProps;
            ci->FDescription = ci->FParent->FDescription;
        }
        ci->FLineage.push_back(ci);
        ci->FType = detail::makeClassType(ci, std::is_base_of_v<TComponent, T>);
        ci->FCreate = factory();
        ci->FDesignCreate = designFactory();
        ClassBuilder b(ci);
        T::DeclareClass(b);
        ci->rebuildIndex();
        return ci;
    }

    const TypeInfo *selfType() const { return FInfo->FType; }
    const ClassInfo *info() const { return FInfo; }

    // Declares and publishes a property.
    template <auto Get, auto Set = nullptr> PropDecl<T> prop(const char *name, const TypeInfo *type = nullptr)
    {
        PropInfo *p = make<Get, Set>(name, type);
        FInfo->FDeclared.push_back(p);
        FInfo->addPublished(p);
        return PropDecl<T>(p);
    }
    // Declares a property without publishing it (a descendant may publish it).
    template <auto Get, auto Set = nullptr> PropDecl<T> declare(const char *name, const TypeInfo *type = nullptr)
    {
        PropInfo *p = make<Get, Set>(name, type);
        FInfo->FDeclared.push_back(p);
        return PropDecl<T>(p);
    }
    // Publishes a property an ancestor declared (or re-publishes one with new settings).
    PropDecl<T> publish(const char *name)
    {
        const QString n = QString::fromLatin1(name);
        const PropInfo *base = FInfo->FParent ? FInfo->FParent->findDeclared(n) : nullptr;
        if (!base)
            detail::declError(FInfo->FName, n, "publishes a property no ancestor declares");
        PropInfo *p = detail::newProp();
        *p = *base;
        FInfo->FDeclared.push_back(p);
        FInfo->addPublished(p);
        return PropDecl<T>(p);
    }
    // A property of the host program's callbacks (Method kind): listed, never stored.
    PropDecl<T> method(const char *name, const TypeInfo *type)
    {
        PropInfo *p = detail::newProp();
        init(p, name, type);
        p->FStored = StoredMode::Never;
        FInfo->FDeclared.push_back(p);
        FInfo->addPublished(p);
        return PropDecl<T>(p);
    }
    void description(QString (*fn)()) { FInfo->FDescription = fn; }

private:
    explicit ClassBuilder(ClassInfo *ci) : FInfo(ci) {}

    static TPersistent *(*factory())(TPersistent *)
    {
        if constexpr (std::is_abstract_v<T>)
            return nullptr;
        else if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent *>)
            return [](TPersistent *owner) -> TPersistent * {
                TComponent *o = rtl_cast<TComponent>(owner);
                if (owner && !o)
                    throw EComponentError(QStringLiteral("The owner of a component must be a component"));
                return new T(o);
            };
        else if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection *>)
            return [](TPersistent *owner) -> TPersistent * { return new T(rtl_cast<TCollection>(owner)); };
        else if constexpr (!std::is_base_of_v<TComponent, T> && !std::is_base_of_v<TCollectionItem, T>
                           && std::is_default_constructible_v<T>)
            return [](TPersistent *) -> TPersistent * { return new T(); };
        else
            return nullptr;
    }
    static TPersistent *(*designFactory())(TComponent *, uint16_t)
    {
        if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent *, const TDesignInfo *>)
            return [](TComponent *owner, uint16_t flags) -> TPersistent * {
                const TDesignInfo info{flags};
                return new T(owner, &info);
            };
        else
            return nullptr;
    }

    void init(PropInfo *p, const char *name, const TypeInfo *type)
    {
        p->FName = QString::fromLatin1(name);
        p->FHash = NameHash(p->FName);
        p->FType = type;
        p->FDeclaring = FInfo;
        if (!type)
            detail::declError(FInfo->FName, p->FName, "has no type");
        p->FKind = type->kind();
    }

    template <auto Get, auto Set> PropInfo *make(const char *name, const TypeInfo *type)
    {
        using GetRet = decltype(detail::callGet<T, Get>(std::declval<TPersistent *>()));
        using GetVal = std::remove_cvref_t<GetRet>;
        PropInfo *p = detail::newProp();
        if constexpr (detail::LazyClassType<GetVal>::known) {
            if (!type) {
                using Elem = typename detail::LazyClassType<GetVal>::Elem;
                p->FName = QString::fromLatin1(name);
                p->FHash = NameHash(p->FName);
                p->FDeclaring = FInfo;
                p->FTypeFn = &detail::classTypeOf<Elem>;
                p->FKind = std::is_base_of_v<TComponent, Elem> ? TypeKind::Component : TypeKind::Class;
            }
        }
        if (!p->FTypeFn)
            init(p, name, type ? type : detail::defaultType<GetVal>());
        constexpr bool hasSet = !std::is_same_v<decltype(Set), std::nullptr_t>;
        constexpr bool fieldGet = std::is_member_object_pointer_v<decltype(Get)>;

        switch (p->FKind) {
        case TypeKind::Integer:
        case TypeKind::Int64:
        case TypeKind::Char:
        case TypeKind::Enumeration:
        case TypeKind::Set:
            if constexpr (detail::OrdLike<GetVal>) {
                p->FGetOrd = [](TPersistent *o) -> int64_t { return detail::toOrd(detail::callGet<T, Get>(o)); };
                if constexpr (hasSet) {
                    using A = typename detail::SetterArg<Set>::type;
                    p->FSetOrd = [](TPersistent *o, int64_t v) { detail::callSet<T, Set>(o, detail::fromOrd<A>(v)); };
                } else if constexpr (fieldGet) {
                    p->FSetOrd = [](TPersistent *o, int64_t v) {
                        detail::callSet<T, Get>(o, detail::fromOrd<GetVal>(v));
                    };
                }
                return p;
            }
            break;
        case TypeKind::Float:
            if constexpr (std::is_arithmetic_v<GetVal> && !std::is_same_v<GetVal, bool>) {
                p->FGetFloat = [](TPersistent *o) -> double { return double(detail::callGet<T, Get>(o)); };
                if constexpr (hasSet) {
                    using A = typename detail::SetterArg<Set>::type;
                    p->FSetFloat = [](TPersistent *o, double v) { detail::callSet<T, Set>(o, A(v)); };
                } else if constexpr (fieldGet) {
                    p->FSetFloat = [](TPersistent *o, double v) { detail::callSet<T, Get>(o, GetVal(v)); };
                }
                return p;
            }
            break;
        case TypeKind::String:
            // A QChar converts to QString, but a QChar setter or field cannot take one.
            if constexpr (std::is_convertible_v<GetVal, QString> && !std::is_same_v<GetVal, QChar>) {
                p->FGetStr = [](TPersistent *o) -> QString { return detail::callGet<T, Get>(o); };
                if constexpr (hasSet)
                    p->FSetStr = [](TPersistent *o, const QString &v) { detail::callSet<T, Set>(o, v); };
                else if constexpr (fieldGet)
                    p->FSetStr = [](TPersistent *o, const QString &v) { detail::callSet<T, Get>(o, v); };
                return p;
            }
            break;
        case TypeKind::Class:
        case TypeKind::Component:
            if constexpr (detail::ObjLike<GetVal>) {
                p->FGetObj = [](TPersistent *o) -> TPersistent * { return detail::toObj(detail::callGet<T, Get>(o)); };
                if constexpr (hasSet) {
                    using A = typename detail::SetterArg<Set>::type;
                    p->FSetObj = [](TPersistent *o, TPersistent *v) {
                        using Target = std::remove_pointer_t<A>;
                        detail::callSet<T, Set>(o, static_cast<Target *>(v));
                    };
                } else if constexpr (fieldGet) {
                    p->FSetObj = [](TPersistent *o, TPersistent *v) {
                        using Elem = typename detail::ObjElem<GetVal>::type;
                        detail::callSet<T, Get>(o, static_cast<Elem *>(v));
                    };
                }
                return p;
            }
            break;
        case TypeKind::StringList:
            if constexpr (detail::ListLike<std::remove_cvref_t<decltype(detail::deref(std::declval<GetRet>()))>>) {
                p->FGetStr = [](TPersistent *o) -> QString {
                    return detail::listText(detail::deref(detail::callGet<T, Get>(o)));
                };
                p->FGetList = [](TPersistent *o) -> void * {
                    auto &&r = detail::callGet<T, Get>(o);
                    return const_cast<void *>(static_cast<const void *>(&detail::deref(r)));
                };
                p->FStrListText = true;
                using ListT = std::remove_cvref_t<decltype(detail::deref(std::declval<GetRet>()))>;
                if constexpr (std::is_base_of_v<HandleTracked, ListT>)
                    p->FGetVar = [](TPersistent *o, ::Variant &out) {
                        auto &&r = detail::callGet<T, Get>(o);
                        out = objectToVariant(&detail::deref(r));
                    };
                if constexpr (hasSet) {
                    using A = typename detail::SetterArg<Set>::type;
                    p->FSetStr = [](TPersistent *o, const QString &v) {
                        std::remove_cvref_t<std::remove_pointer_t<A>> tmp;
                        detail::setListText(tmp, v);
                        if constexpr (std::is_pointer_v<A>)
                            detail::callSet<T, Set>(o, &tmp);
                        else
                            detail::callSet<T, Set>(o, tmp);
                    };
                } else if constexpr (!std::is_const_v<std::remove_reference_t<GetRet>>
                                     || std::is_pointer_v<GetVal>) {
                    p->FSetStr = [](TPersistent *o, const QString &v) {
                        auto &&r = detail::callGet<T, Get>(o);
                        detail::setListText(detail::deref(r), v);
                    };
                }
                return p;
            }
            break;
        case TypeKind::Variant:
            if constexpr (std::is_same_v<GetVal, ::Variant>) {
                p->FGetVar = [](TPersistent *o, ::Variant &out) { out = detail::callGet<T, Get>(o); };
                if constexpr (hasSet)
                    p->FSetVar = [](TPersistent *o, const ::Variant &v) { detail::callSet<T, Set>(o, v); };
                else if constexpr (fieldGet)
                    p->FSetVar = [](TPersistent *o, const ::Variant &v) { detail::callSet<T, Get>(o, v); };
                return p;
            }
            break;
        default:
            break;
        }
        detail::declError(FInfo->FName, p->FName, "has accessors that do not fit its type");
    }

    ClassInfo *FInfo;
};

} // namespace rtl
