#pragma once
// Root of every object with published properties.
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classinfo.h"

#include <QString>
#include <cstdint>
#include <functional>

class QIODevice;
class TPersistent;
class TCollection;

// Readers and writers of named, typed values of non-published data; the serializer supplies
// the implementations (and their encoding). Reading a value of another type raises.
class TReader {
public:
    virtual ~TReader() = default;
    virtual int64_t ReadInteger() = 0;
    virtual double ReadFloat() = 0;
    virtual QString ReadString() = 0;
    virtual bool ReadBoolean() = 0;
    virtual void ReadCollection(TCollection *Collection) = 0;
};

class TWriter {
public:
    virtual ~TWriter() = default;
    virtual void WriteInteger(int64_t Value) = 0;
    virtual void WriteFloat(double Value) = 0;
    virtual void WriteString(const QString &Value) = 0;
    virtual void WriteBoolean(bool Value) = 0;
    virtual void WriteCollection(TCollection *Collection) = 0;
};

// Declares the reflection members of a class: put it first in the class body.
//   class TFont : public TPersistent {
//       LIRRA_CLASS(TFont, TPersistent)
//   public: ...
// and in the .cpp: LIRRA_DEFINE_CLASS(TFont) plus TFont::DeclareClass (classbuilder.h).
#define LIRRA_CLASS(Cls, Base)                                                                 \
public:                                                                                        \
    using inherited = Base;                                                                    \
    static const ::rtl::ClassInfo *StaticClass();                                              \
    const ::rtl::ClassInfo *ClassType() const override { return Cls::StaticClass(); }          \
    static void DeclareClass(::rtl::ClassBuilder<Cls> &b);                                     \
                                                                                               \
private:

// Hook for data that is not a published property (pictures, positions on a data page, ...).
// The serializer implements it; an object calls DefineProperty/DefineBinaryProperty for each
// value it carries, with `hasData` false when there is nothing to write (or nothing that
// differs from Ancestor).
class TFiler {
public:
    virtual ~TFiler() = default;
    // The ancestor being compared against while writing (nullptr when none).
    TPersistent *Ancestor = nullptr;
    virtual void DefineProperty(const QString &name, const std::function<void(TReader &)> &read,
                                const std::function<void(TWriter &)> &write, bool hasData) = 0;
    virtual void DefineBinaryProperty(const QString &name, const std::function<void(QIODevice &)> &read,
                                      const std::function<void(QIODevice &)> &write, bool hasData) = 0;
};

// Tracked by the object-handle table, so that scripts can hold any persistent object as a
// handle that goes stale when the object dies.
class TPersistent : public rtl::HandleTracked {
public:
    TPersistent() = default;
    virtual ~TPersistent();
    TPersistent(const TPersistent &) = delete;
    TPersistent &operator=(const TPersistent &) = delete;

    static const rtl::ClassInfo *StaticClass();
    static void DeclareClass(rtl::ClassBuilder<TPersistent> &b);
    virtual const rtl::ClassInfo *ClassType() const;
    const QString &ClassName() const { return ClassType()->name(); }
    bool InheritsFrom(const rtl::ClassInfo *cls) const { return ClassType()->inheritsFrom(cls); }
    template <class T> bool Is() const { return ClassType()->inheritsFrom(T::StaticClass()); }

    // Copies Source into this object; the base asks Source->AssignTo(this), which raises
    // EConvertError "Cannot assign a X to a Y".
    virtual void Assign(TPersistent *Source);
    // Non-published data for the serializer (see TFiler).
    virtual void DefineProperties(TFiler &Filer);
    // The object that owns this one (for name paths); nullptr for roots.
    virtual TPersistent *GetOwner() const { return nullptr; }
    virtual QString GetNamePath() const { return ClassName(); }

protected:
    virtual void AssignTo(TPersistent *Dest);
};

// Checked down-cast by run-time class; nullptr when obj is nullptr or of another class.
template <class T> T *rtl_cast(TPersistent *obj)
{
    return obj && obj->Is<T>() ? static_cast<T *>(obj) : nullptr;
}
template <class T> const T *rtl_cast(const TPersistent *obj)
{
    return obj && obj->Is<T>() ? static_cast<const T *>(obj) : nullptr;
}
