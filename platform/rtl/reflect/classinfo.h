#pragma once
// Classes and their published properties: the registry that the serializer, the script
// bindings and the object inspector read.
//
// A ClassInfo describes one class: name, parent, factory, its published properties in
// stored order (oldest base class first, each class in declaration order), and class
// operations. It is built once, on first use of Cls::StaticClass(), from the class's own
// DeclareClass function (see classbuilder.h for how a class declares itself). FindClass()
// only knows the classes handed to RegisterClass(), which the program does explicitly at
// start-up.
//
// Property access is through typed accessors that never allocate for scalars
// (getOrd/getFloat/getStr/getObject, ...). Lookup by name is case-insensitive and hashed;
// callers on hot paths hash the name once with PropKey, or keep the property's index.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/reflect/typeinfo.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <span>
#include <vector>

class TPersistent;
class TComponent;
class Variant;

namespace rtl {

class ClassInfo;
template <class T> class ClassBuilder;
template <class T> class PropDecl;

// A property name with its case-insensitive hash computed once.
struct PropKey {
    QString name;
    uint32_t hash;
    explicit PropKey(QString n) : name(std::move(n)), hash(NameHash(name)) {}
};

enum class StoredMode : uint8_t { Always, Never, Predicate };

class PropInfo {
public:
    const QString &name() const { return FName; }
    uint32_t hash() const { return FHash; }
    // An object property declared without an explicit type learns its class on first use,
    // so a class may publish a reference to one of its own descendants.
    const TypeInfo *type() const { return FType ? FType : FTypeFn(); }
    TypeKind kind() const { return FKind; }
    const QString &typeName() const { return type()->name(); }
    // The class whose declaration made this property (an ancestor for inherited ones).
    const ClassInfo *declaringClass() const { return FDeclaring; }
    // For Class and Component properties: the class a value must be (or derive from).
    const ClassInfo *allowedClass() const { return type()->classInfo(); }

    bool isReadable() const { return FGetOrd || FGetFloat || FGetStr || FGetObj || FGetVar; }
    bool isWritable() const { return FSetOrd || FSetFloat || FSetStr || FSetObj || FSetVar || FStrListText; }

    // Declared default: ordinal kinds compare getOrd() with defaultOrd(); a float default,
    // when declared, with defaultFloat(). No default means "always stored".
    bool hasDefault() const { return FHasDefault; }
    int64_t defaultOrd() const { return FDefaultOrd; }
    double defaultFloat() const { return FDefaultFloat; }

    StoredMode storedMode() const { return FStored; }
    bool isStored(TPersistent *obj) const
    {
        return FStored == StoredMode::Always || (FStored == StoredMode::Predicate && FStoredFn(obj));
    }

    // Typed access. Calling an accessor the property's kind does not have, or a setter on a
    // read-only property, throws EPropertyError.
    // Ordinal kinds (Integer, Int64, Char, Enumeration incl. Boolean, Set).
    int64_t getOrd(TPersistent *obj) const;
    // Enumerations must be in range, sets are masked to their members, Integer wraps to 32 bits.
    void setOrd(TPersistent *obj, int64_t value) const;
    double getFloat(TPersistent *obj) const;
    void setFloat(TPersistent *obj, double value) const;
    // String kinds; for StringList the whole text (each line followed by CR LF).
    QString getStr(TPersistent *obj) const;
    void setStr(TPersistent *obj, const QString &value) const;
    // Class and Component kinds. setObject refuses an object outside allowedClass().
    TPersistent *getObject(TPersistent *obj) const;
    void setObject(TPersistent *obj, TPersistent *value) const;
    // StringList: the list object itself (its C++ type is the declaring class's business).
    void *getListObject(TPersistent *obj) const;
    // Variant kind.
    void getVariant(TPersistent *obj, Variant &out) const;
    void setVariant(TPersistent *obj, const Variant &value) const;

    // The value as a Variant, for scripts and generic callers (include variant.h to use):
    // Integer and Char as Integer, Int64 as Int64, Boolean as Boolean, other enumerations
    // and sets as their ordinal / bit mask (Integer), floats as Double (TDateTime as Date),
    // strings as String, objects as Integer handles (rtl::ObjectHandles), string lists as a
    // handle of the list when it is tracked, else as their text. Method kind: Empty.
    // Scalars never allocate.
    Variant getValue(TPersistent *obj) const;
    // The reverse; enumerations and sets also take their identifier text, objects take a
    // handle (0 for nil; a stale or foreign handle raises EPropertyError).
    void setValue(TPersistent *obj, const Variant &value) const;

    // Sets an ordinal property from text (identifiers, decimal ordinals, Boolean 1/0, set
    // masks: TypeInfo::textToOrd). Throws EPropertyError when the text is not a value.
    void setOrdText(TPersistent *obj, QStringView text) const;

private:
    template <class T> friend class ClassBuilder;
    template <class T> friend class PropDecl;
    friend class ClassInfo;

    QString FName;
    uint32_t FHash = 0;
    const TypeInfo *FType = nullptr;             // null while the class type is resolved lazily
    const TypeInfo *(*FTypeFn)() = nullptr;      // resolves it then
    TypeKind FKind = TypeKind::Unknown;
    const ClassInfo *FDeclaring = nullptr;

    int64_t (*FGetOrd)(TPersistent *) = nullptr;
    void (*FSetOrd)(TPersistent *, int64_t) = nullptr;
    double (*FGetFloat)(TPersistent *) = nullptr;
    void (*FSetFloat)(TPersistent *, double) = nullptr;
    QString (*FGetStr)(TPersistent *) = nullptr;
    void (*FSetStr)(TPersistent *, const QString &) = nullptr;
    TPersistent *(*FGetObj)(TPersistent *) = nullptr;
    void (*FSetObj)(TPersistent *, TPersistent *) = nullptr;
    void *(*FGetList)(TPersistent *) = nullptr;
    bool FStrListText = false;  // setStr on a string list goes through FSetStr
    void (*FGetVar)(TPersistent *, Variant &) = nullptr;
    void (*FSetVar)(TPersistent *, const Variant &) = nullptr;

    bool FHasDefault = false;
    int64_t FDefaultOrd = 0;
    double FDefaultFloat = 0;
    StoredMode FStored = StoredMode::Always;
    bool (*FStoredFn)(TPersistent *) = nullptr;
};

class ClassInfo {
public:
    const QString &name() const { return FName; }
    uint32_t hash() const { return FHash; }
    const ClassInfo *parent() const { return FParent; }
    // The type of properties holding this class: Component kind for components, else Class.
    const TypeInfo *type() const { return FType; }
    bool isComponent() const;
    bool inheritsFrom(const ClassInfo *ancestor) const
    {
        return ancestor && ancestor->FDepth <= FDepth && FLineage[size_t(ancestor->FDepth)] == ancestor;
    }
    int depth() const { return FDepth; }

    // Factory: components take a TComponent owner (or nullptr), collection items their
    // TCollection, other persistent objects ignore the owner. Abstract classes have none.
    bool canCreate() const { return FCreate != nullptr; }
    TPersistent *create(TPersistent *owner = nullptr) const;
    // The designer's constructor: component kinds may read the flags (a shape its kind);
    // classes without one are made by create().
    TPersistent *designCreate(TComponent *owner, uint16_t flags) const;

    // Published properties in stored order.
    std::span<const PropInfo *const> props() const { return {FProps.data(), FProps.size()}; }
    int propCount() const { return int(FProps.size()); }
    const PropInfo *prop(int index) const { return FProps[size_t(index)]; }
    int indexOfProp(QStringView name) const { return indexOf(name, NameHash(name)); }
    int indexOfProp(const PropKey &key) const { return indexOf(key.name, key.hash); }
    const PropInfo *findProp(QStringView name) const
    {
        const int i = indexOfProp(name);
        return i < 0 ? nullptr : FProps[size_t(i)];
    }
    const PropInfo *findProp(const PropKey &key) const
    {
        const int i = indexOfProp(key);
        return i < 0 ? nullptr : FProps[size_t(i)];
    }
    // Every property the class or an ancestor declared, published or not (derived classes
    // publish from these).
    const PropInfo *findDeclared(QStringView name) const;

    // Class operations.
    QString description() const { return FDescription ? FDescription() : FName; }

    ClassInfo(const ClassInfo &) = delete;
    ClassInfo &operator=(const ClassInfo &) = delete;

private:
    template <class T> friend class ClassBuilder;
    ClassInfo() = default;
    int indexOf(QStringView name, uint32_t hash) const;
    void addPublished(const PropInfo *p);  // appends or replaces a same-named one in place
    void rebuildIndex();

    QString FName;
    uint32_t FHash = 0;
    const ClassInfo *FParent = nullptr;
    const TypeInfo *FType = nullptr;
    int FDepth = 0;
    std::vector<const ClassInfo *> FLineage;  // root .. this
    TPersistent *(*FCreate)(TPersistent *) = nullptr;
    TPersistent *(*FDesignCreate)(TComponent *, uint16_t) = nullptr;
    QString (*FDescription)() = nullptr;
    std::vector<const PropInfo *> FProps;
    std::vector<const PropInfo *> FDeclared;  // own declarations, published or not
    std::vector<int16_t> FIndex;              // open-addressing table of FProps positions
};

// The class registry used to create objects by class name.
void RegisterClass(const ClassInfo *cls);
void RegisterClasses(std::initializer_list<const ClassInfo *> classes);
void UnregisterClass(const ClassInfo *cls);
const ClassInfo *FindClass(QStringView name);  // case-insensitive; nullptr when unknown
const ClassInfo *GetClass(QStringView name);   // throws EClassNotFound when unknown
std::vector<const ClassInfo *> RegisteredClasses();  // in registration order
// Registers TPersistent, TComponent, TCollection and TCollectionItem.
void RegisterRootClasses();

// Resolves a dotted name ("Font.Name", "Frame.LeftLine.Color") against an object: each
// part before the last must be a published Class property (an owned persistent object,
// never a component reference) holding an object; the last part is looked up in that
// object's run-time class. Returns false (and leaves the outputs alone) when a part is
// missing.
bool ResolvePropPath(TPersistent *root, QStringView path, TPersistent *&target, const PropInfo *&prop);

} // namespace rtl

// Errors of the reflection layer.
LIRRA_DECLARE_EXCEPTION(EPropertyError, Exception)   // unknown value, read-only, wrong kind
LIRRA_DECLARE_EXCEPTION(EClassNotFound, Exception)   // no such registered class, or abstract
LIRRA_DECLARE_EXCEPTION(EComponentError, Exception)  // invalid or duplicate component names
