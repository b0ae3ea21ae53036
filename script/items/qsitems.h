#pragma once
// Everything a script names: variables and constants, parameters, script procedures, type
// names, host functions and the string / array index helpers. Every item holds a Variant.
//
// Speed: the plain variable kinds (TqsVariable, TqsStringVariable, TqsParamItem) keep their
// value in FValue and are read through Read() without a virtual call unless a host hook
// is attached; stores pick their conversion from FStore, fixed when the item is typed.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/variant.h"
#include "script/core/qsscript.h"
#include "script/tools/qstools.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TqsParamItem;
class TqsMethodHelper;

// Run-time errors of the script engine itself (string index, recursion depth, array size).
LIRRA_DECLARE_EXCEPTION(EqsRunError, Exception)

// Assignments on the hot path: the inline copy and move constructors, so that scalars are
// copied without a call.
inline void qsAssign(Variant &dst, const Variant &src) noexcept
{
    if (&dst != &src) {
        dst.~Variant();
        new (&dst) Variant(src);
    }
}
inline void qsAssign(Variant &dst, Variant &&src) noexcept
{
    if (&dst != &src) {
        dst.~Variant();
        new (&dst) Variant(std::move(src));
    }
}

// How a store converts the value, chosen from the item's class and type.
enum class TqsStoreKind : unsigned char { Raw, Int, Bool, Float, String, Int64, Virtual, ReadOnly };

class TqsCustomVariable : public TqsScriptItem
{
public:
    enum Kind : unsigned char {
        kVariable, kStringVariable, kParam, kProc, kMethod, kType, kStringHelper, kArrayHelper, kProperty, kClass, kEvent, kOther
    };

    explicit TqsCustomVariable(Kind kind) : FKind(kind) {}
    ~TqsCustomVariable() override;
    bool IsScriptVariable() const override { return true; }

    virtual Variant GetValue() { return Value(); }
    virtual void SetValue(const Variant &value)
    {
        if (!FIsReadOnly)
            Value() = value;
    }

    // The stored value: the slot of the running activation for a procedure's local, else
    // the item's own.
    Variant &Value() { return FFrame ? FFrame->Current[FSlot] : FValue; }

    // Fast read of the plain kinds; anything else goes through GetValue.
    Variant Read()
    {
        if (FKind <= kParam && !FOnGetVarValue)
            return Value();
        return GetValue();
    }
    // Read of an item known to be a plain kind.
    Variant ReadPlain()
    {
        if (!FOnGetVarValue) [[likely]]
            return Value();
        return GetValue();
    }
    // Store with the item's own conversion.
    void Store(const Variant &value)
    {
        if (FStore == TqsStoreKind::Raw || value.varType() == FStoreAsIs) {
            if (!FIsReadOnly)
                qsAssign(Value(), value);
            return;
        }
        StoreConverted(value);
    }
    void StoreConverted(const Variant &value);

    int ParamCount() const { return int(FParams.size()); }
    TqsParamItem *Params(int index) const { return FParams[size_t(index)]; }
    void AddParam(TqsParamItem *p) { FParams.push_back(p); }
    std::vector<TqsParamItem *> TakeParams() { return std::exchange(FParams, {}); }
    int GetNumberOfRequiredParams() const;
    QString GetFullTypeName() const { return qsFullTypeName(FTyp, FTypeName); }
    // The declared type as written (a class name, "Integer", ...).
    const QString &TypeName() const { return FTypeName; }
    TqsTypeRec TypeRec() const { return {FTyp, FTypeName}; }
    // Sets type and type name and chooses the store conversion.
    void SetType(TqsVarType typ, const QString &typeName);
    void SetName(const QString &name)
    {
        FName = name;
        FUppercaseName = name.toUpper();
    }

    const Kind FKind;
    TqsStoreKind FStore = TqsStoreKind::Raw;
    uint16_t FStoreAsIs = 0xFFFF; // the kind of value that FStore keeps as it is (none: no such kind)
    bool FIsMacro = false;
    bool FIsReadOnly = false;
    bool FNeedResult = true;
    TqsVarType FTyp = qvtVariant;
    QString FName, FUppercaseName, FSourcePos, FSourceUnit, FTypeName;
    TqsCustomVariable *FRefItem = nullptr; // Result of a function, helper of an array variable
    // Only through Value() for a variable that may be a procedure's local.
    Variant FValue = Variant::null();
    TqsFrameLayout *FFrame = nullptr; // the procedure's layout when the item has a slot
    int FSlot = 0;
    TqsScript::TqsGetVarValueEvent FOnGetVarValue;

protected:
    std::vector<TqsParamItem *> FParams; // owned
};

// Declared variables, constants, enumeration values, host variables.
class TqsVariable : public TqsCustomVariable
{
public:
    TqsVariable() : TqsCustomVariable(kVariable) {}
    Variant GetValue() override;
    void SetValue(const Variant &value) override { Store(value); }

protected:
    explicit TqsVariable(Kind kind) : TqsCustomVariable(kind) {}
};

// Char and String variables: every store keeps the value's text.
class TqsStringVariable : public TqsVariable
{
public:
    TqsStringVariable() : TqsVariable(kStringVariable) { FValue = Variant(QString()); }
};

class TqsParamItem : public TqsCustomVariable
{
public:
    TqsParamItem() : TqsCustomVariable(kParam) {}
    Variant GetValue() override;
    void SetValue(const Variant &value) override { Value() = value; } // as given
    Variant FDefValue;
    bool FIsOptional = false;
    bool FIsVarParam = false;
};

class TqsTypeVariable : public TqsCustomVariable
{
public:
    TqsTypeVariable() : TqsCustomVariable(kType) { FIsReadOnly = true; }
};

class TqsStatement;

// A script procedure or function; its locals are declared in its private scope FProgram
// and live in the slots of its frame layout.
class TqsProcVariable : public TqsCustomVariable
{
public:
    TqsProcVariable(TqsScript *declaringScope, bool isFunc);
    ~TqsProcVariable() override;
    Variant GetValue() override { return Invoke(nullptr, 0); }
    void SetValue(const Variant &) override {}

    // Runs one activation: a new frame of locals, the first n parameters set from args (the
    // others keep their defaults); afterwards the by-reference parameters' values are put
    // back into args. The function's result or Null.
    Variant Invoke(Variant *args, size_t n);

    TqsScript *FProgram; // owned
    bool FIsFunc;
    bool FExecuting = false;

    // Nesting of script calls is bounded so that runaway recursion is a script error.
    static constexpr int MaxCallDepth = 1500;

private:
    friend class TqsActivation;
    // Runs the body in the frame that is current.
    Variant Call();
    TqsFrameLayout FLayout;
};

// One more nested script call for the duration of the guard; runaway recursion is a script error.
class TqsCallDepthGuard
{
public:
    explicit TqsCallDepthGuard(TqsRunState &state) : FState(state)
    {
        if (++FState.CallDepth > TqsProcVariable::MaxCallDepth) {
            --FState.CallDepth;
            throw EqsRunError(QStringLiteral("Stack overflow: script calls nested too deeply"));
        }
    }
    ~TqsCallDepthGuard() { --FState.CallDepth; }
    TqsCallDepthGuard(const TqsCallDepthGuard &) = delete;
    TqsCallDepthGuard &operator=(const TqsCallDepthGuard &) = delete;

private:
    TqsRunState &FState;
};

// One activation of a script procedure: its frame of locals, made from their initial
// values on the caller's stack. The arguments are stored into the frame while the caller's
// frame is still current (they are evaluated there); Run makes the new frame current for
// the body and the previous one current again when it ends.
class TqsActivation
{
public:
    explicit TqsActivation(TqsProcVariable *proc) : TqsActivation(proc, proc->FProgram->RunState()) {}
    // With the run state of the procedure's tree, when the caller has it at hand.
    TqsActivation(TqsProcVariable *proc, TqsRunState &state) : FProc(proc), FLayout(proc->FLayout), FDepth(state)
    {
        // From the first call on, the slots are fixed: a name bound later keeps its own value.
        FLayout.Sealed = true;
        FSize = FLayout.Home.size();
        if (FSize <= InlineSlots) {
            FFrame = reinterpret_cast<Variant *>(FInline);
            std::uninitialized_copy(FLayout.Home.begin(), FLayout.Home.end(), FFrame);
        } else {
            FHeap.reset(new Variant[FSize]);
            FFrame = FHeap.get();
            std::copy(FLayout.Home.begin(), FLayout.Home.end(), FFrame);
        }
    }
    ~TqsActivation()
    {
        if (FEntered)
            FLayout.Current = FOuter;
        if (!FHeap)
            std::destroy_n(FFrame, FSize);
    }
    TqsActivation(const TqsActivation &) = delete;
    TqsActivation &operator=(const TqsActivation &) = delete;

    // Parameter i's value in the new frame.
    Variant &Param(size_t i) { return FFrame[FProc->Params(int(i))->FSlot]; }

    Variant Run()
    {
        FOuter = FLayout.Current;
        FLayout.Current = FFrame;
        FEntered = true;
        Variant result = FProc->Call();
        FLayout.Current = FOuter;
        FEntered = false;
        return result;
    }

private:
    static constexpr size_t InlineSlots = 8;
    TqsProcVariable *FProc;
    TqsFrameLayout &FLayout;
    TqsCallDepthGuard FDepth;
    Variant *FFrame;
    Variant *FOuter = nullptr;
    size_t FSize;
    bool FEntered = false;
    std::unique_ptr<Variant[]> FHeap;
    alignas(Variant) unsigned char FInline[InlineSlots * sizeof(Variant)];
};

// A host function (or a member method): parameters parsed from its declaration, called
// back with the helper itself, from which the arguments are read by index.
class TqsMethodHelper : public TqsCustomVariable
{
public:
    // New call-back form: the chain value ("object"; Null for a plain function), the
    // upper-case name and the helper.
    using TqsCallEvent = std::function<Variant(const Variant &instance, const QString &name, TqsMethodHelper &helper)>;
    // Old form: arguments as a Variant array (by-reference parameters are read back from it).
    using TqsCallEventOld = std::function<Variant(const Variant &instance, const QString &name, Variant &params)>;

    TqsMethodHelper(const QString &syntax, const TqsScript *script);
    Variant GetValue() override;

    // Assignment to an indexed property: the call-back sees NAME.SET with the value at
    // index ParamCount().
    void SetValue(const Variant &value) override;

    // The parameter's value; at index ParamCount() the value being assigned.
    Variant GetVParam(int index) const;
    void SetVParam(int index, const Variant &value);

    // Marks an index or default property: read as NAME.GET, written as NAME.SET.
    void SetIndexMethod();

    QString FCategory, FDescription, FSyntax;
    bool FIndexMethod = false;
    Variant FSetValue;
    TqsCallEvent FOnCallNew;
    TqsCallEventOld FOnCall;
    Variant FParentValue; // chain value while called as a member

private:
    const QString &CallName() const { return FIndexMethod ? FGetName : FUppercaseName; }
    QString FGetName, FSetName; // made once, not per call
};

// Character of a string by its 1-based index; reads and writes outside the characters raise.
class TqsStringHelper : public TqsCustomVariable
{
public:
    TqsStringHelper();
};

// Element of a Variant array; one index per dimension.
class TqsArrayHelper : public TqsCustomVariable
{
public:
    explicit TqsArrayHelper(int dims);
};

// Arrays declared in scripts are bounded: at most 3 dimensions and this many elements.
inline constexpr int qsMaxArrayDims = 3;
inline constexpr qint64 qsMaxArrayElements = 16 * 1024 * 1024;

// Texts that scripts join are bounded too: a join that would pass this many characters
// (256 MB) is a script error instead of growing until memory runs out.
inline constexpr qsizetype qsMaxTextLength = 128 * 1024 * 1024;
[[noreturn]] void qsTextTooLong();
inline void qsCheckTextLength(qsizetype a, qsizetype b)
{
    if (b > qsMaxTextLength - a) [[unlikely]]
        qsTextTooLong();
}
// Before joining two values as + or the text operator may: only texts can be long.
void qsCheckJoinSlow(const Variant &a, const Variant &b);
inline void qsCheckJoin(const Variant &a, const Variant &b)
{
    if (a.isString() || b.isString()) [[unlikely]]
        qsCheckJoinSlow(a, b);
}

// Base of binding modules: the constructor registers names into the script.
class TqsRTTIModule : public TqsScriptItem
{
public:
    explicit TqsRTTIModule(TqsScript *script) : FScript(script) {}
    TqsScript *FScript;
};

using TqsRTTIModuleClass = TqsRTTIModule *(*)(TqsScript *script);
// Process-wide list of binding modules, the system functions first. Filled at start-up.
std::vector<TqsRTTIModuleClass> &qsRTTIModules();

// Value of a string's character for s[i]; raises EqsRunError outside 1..Length.
Variant qsStringChar(const Variant &s, const Variant &index);
// s with its character at index replaced by the first character of value's text.
Variant qsStringPutChar(const Variant &s, const Variant &index, const Variant &value);
