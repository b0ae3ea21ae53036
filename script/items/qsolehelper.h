#pragma once
// Members of automation objects: a value holding a dispatch object has its members called
// by name at run time. The builder makes one TqsOLEHelper per member name of such a chain;
// CreateOleObject makes objects through a registry of named factories.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/variant.h"
#include "script/items/qsitems.h"

#include <cstdint>
#include <functional>

// Failure of an automation call: its error code and the optional source, description and
// help file. Dispatch objects raise it; any other exception of theirs becomes
// CodeException with its text as the description.
class EqsDispatchError : public Exception
{
public:
    static constexpr uint32_t CodeUnknownName = 0x80020006;
    static constexpr uint32_t CodeMemberNotFound = 0x80020003;
    static constexpr uint32_t CodeTypeMismatch = 0x80020005;
    static constexpr uint32_t CodeBadParamCount = 0x8002000E;
    static constexpr uint32_t CodeException = 0x80020009;

    explicit EqsDispatchError(uint32_t code, QString source = {}, QString description = {}, QString helpFile = {});
    const char *className() const override { return "EqsDispatchError"; }

    uint32_t Code;
    QString Source, Description, HelpFile;
};

// The most arguments one automation call carries.
constexpr int qsMaxDispatchArgs = 64;

class TqsOLEHelper : public TqsMethodHelper
{
public:
    // A member with paramCount Variant parameters (the arguments written after its name).
    TqsOLEHelper(const QString &name, int paramCount, const TqsScript *script);

    // A method call or property read.
    Variant GetValue() override;
    // A property write: put, or put by reference when the value is an automation object.
    void SetValue(const Variant &value) override;

    Variant DispatchInvoke(const Variant *params, int paramCount, int flags);
};

// The text of an automation failure: the code, member, system text and the optional lines.
QString qsOleErrorText(const EqsDispatchError &e, const QString &member);

// Named factories of automation objects. The program registers none; a name without a
// factory is an invalid class string.
using TqsDispatchFactory = std::function<rtl::DispatchObject *()>;
void qsRegisterDispatchClass(const QString &name, TqsDispatchFactory factory);
void qsUnregisterDispatchClass(const QString &name);
Variant qsCreateOleObject(const QString &name);
