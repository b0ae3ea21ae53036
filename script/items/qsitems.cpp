#include "script/items/qsitems.h"

#include "script/stmt/qsstmt.h"

#include <algorithm>
#include <memory>

TqsCustomVariable::~TqsCustomVariable()
{
    for (TqsParamItem *p : FParams)
        delete p;
}

int TqsCustomVariable::GetNumberOfRequiredParams() const
{
    int n = 0;
    for (const TqsParamItem *p : FParams)
        if (!p->FIsOptional)
            ++n;
    return n;
}

void TqsCustomVariable::SetType(TqsVarType typ, const QString &typeName)
{
    FTyp = typ;
    FTypeName = typeName;
    if (FKind == kStringVariable)
        FStore = TqsStoreKind::String;
    else if (FKind != kVariable)
        FStore = TqsStoreKind::Virtual;
    else
        switch (typ) {
        case qvtInt: FStore = TqsStoreKind::Int; break;
        case qvtBool: FStore = TqsStoreKind::Bool; break;
        case qvtFloat: FStore = TqsStoreKind::Float; break;
        case qvtString: FStore = TqsStoreKind::String; break;
        case qvtInt64: FStore = TqsStoreKind::Int64; break;
        default: FStore = TqsStoreKind::Raw; break;
        }
    if (FKind == kParam)
        FStore = TqsStoreKind::Raw;
    switch (FStore) {
    case TqsStoreKind::Int: FStoreAsIs = varInteger; break;
    case TqsStoreKind::Bool: FStoreAsIs = varBoolean; break;
    case TqsStoreKind::Float: FStoreAsIs = varDouble; break;
    case TqsStoreKind::String: FStoreAsIs = varUString; break;
    case TqsStoreKind::Int64: FStoreAsIs = varInt64; break;
    default: FStoreAsIs = 0xFFFF; break;
    }
}

void TqsCustomVariable::StoreConverted(const Variant &value)
{
    if (FIsReadOnly)
        return;
    Variant &FValue = Value();
    switch (FStore) {
    case TqsStoreKind::Raw: qsAssign(FValue, value); return;
    case TqsStoreKind::Int:
        if (value.type() == varInteger)
            qsAssign(FValue, value);
        else
            qsAssign(FValue, Variant(value.toInt()));
        return;
    case TqsStoreKind::Bool: qsAssign(FValue, Variant(value.toBool())); return;
    case TqsStoreKind::Float:
        if (value.type() == varDouble || value.type() == varDate)
            qsAssign(FValue, value);
        else
            qsAssign(FValue, Variant(value.toDouble()));
        return;
    case TqsStoreKind::String:
        if (value.isString())
            qsAssign(FValue, value);
        else
            qsAssign(FValue, Variant(value.toString()));
        return;
    case TqsStoreKind::Int64: qsAssign(FValue, Variant(qint64(value.toInt64()))); return;
    case TqsStoreKind::ReadOnly: return;
    case TqsStoreKind::Virtual: SetValue(value); return;
    }
}

Variant TqsVariable::GetValue()
{
    if (FOnGetVarValue) {
        Variant v = Variant::null();
        FOnGetVarValue(FName, FTyp, v, Value());
        if (!v.isNull())
            return v;
    }
    return Value();
}

Variant TqsParamItem::GetValue()
{
    if (FOnGetVarValue) {
        Variant v = Variant::null();
        FOnGetVarValue(FName, FTyp, v, Value());
        if (!v.isNull())
            return v;
    }
    return Value();
}

// ---- Script procedures

void qsTakeSlot(TqsFrameLayout &layout, TqsScriptItem *item)
{
    auto *v = static_cast<TqsCustomVariable *>(item);
    if (layout.Sealed || v->FKind > TqsCustomVariable::kParam || v->FIsReadOnly || v->FFrame)
        return;
    layout.Home.push_back(std::exchange(v->FValue, Variant::null()));
    layout.Current = layout.Home.data(); // nothing runs before the layout is sealed
    v->FFrame = &layout;
    v->FSlot = int(layout.Home.size() - 1);
}

TqsProcVariable::TqsProcVariable(TqsScript *declaringScope, bool isFunc)
    : TqsCustomVariable(kProc), FProgram(new TqsScript), FIsFunc(isFunc)
{
    FProgram->Parent = declaringScope;
    FProgram->UseClassLateBinding = declaringScope->UseClassLateBinding;
    FProgram->SyntaxType = declaringScope->SyntaxType;
    FProgram->FrameLayout = &FLayout;
    FIsReadOnly = true;
}

TqsProcVariable::~TqsProcVariable()
{
    // The parameter list owns the parameters: take them out of the scope first.
    for (TqsParamItem *p : FParams)
        FProgram->Remove(p);
    delete FProgram;
}

Variant TqsProcVariable::Invoke(Variant *args, size_t n)
{
    TqsRunState &rs = FProgram->RunState();
    if (rs.CallDepth == 0)
        rs.StopAsked = false; // the host starts a new run
    TqsActivation activation(this, rs);
    n = std::min(n, FParams.size());
    bool byRef = false;
    for (size_t i = 0; i < n; ++i) {
        qsAssign(activation.Param(i), std::move(args[i]));
        byRef |= FParams[i]->FIsVarParam;
    }
    Variant result = activation.Run();
    if (byRef)
        for (size_t i = 0; i < n; ++i)
            if (FParams[i]->FIsVarParam)
                qsAssign(args[i], std::move(activation.Param(i)));
    return result;
}

Variant TqsProcVariable::Call()
{
    struct Guard
    {
        TqsProcVariable *self;
        TqsScript *main;
        TqsScript *savedRunning;
        bool wasExecuting;
        unsigned char savedCtl;
        ~Guard()
        {
            TqsScript *scope = self->FProgram;
            // An outer activation of the same scope keeps its flags, and a termination
            // asked for meanwhile.
            if (wasExecuting)
                scope->FCtl = savedCtl | (scope->FCtl & TqsScript::cfTerminated ? TqsScript::cfTerminated | TqsScript::cfExit : 0);
            else
                scope->FCtl = 0;
            scope->IsRunning = wasExecuting;
            if (main)
                main->ProgRunning = savedRunning;
            self->FExecuting = wasExecuting;
        }
    };
    TqsScript *main = FProgram->Parent;
    while (main && !main->MainProg)
        main = main->Parent;
    Guard g{this, main, main ? main->ProgRunning : nullptr, FExecuting, FProgram->FCtl};
    FExecuting = true;
    if (main)
        main->ProgRunning = FProgram;
    FProgram->FCtl = 0;
    FProgram->IsRunning = true;
    FProgram->Statement()->Execute();
    return FIsFunc && FRefItem ? FRefItem->Value() : Variant::null();
}

// ---- Host functions

TqsMethodHelper::TqsMethodHelper(const QString &syntax, const TqsScript *script) : TqsCustomVariable(kMethod)
{
    FSyntax = syntax;
    TqsCustomVariable *parsed = ParseMethodSyntax(syntax, script);
    SetName(parsed->FName);
    FTyp = parsed->FTyp;
    FTypeName = parsed->FTypeName;
    FIsMacro = parsed->FIsMacro;
    FParams = parsed->TakeParams();
    delete parsed;
    FStore = TqsStoreKind::Virtual;
    FIsReadOnly = true;
}

Variant TqsMethodHelper::GetValue()
{
    if (FOnCallNew)
        return FOnCallNew(FParentValue, CallName(), *this);
    if (FOnCall) {
        const int n = ParamCount();
        Variant args = n ? Variant::createArray({{0, n - 1}}) : Variant::createArray({{0, -1}});
        for (int i = 0; i < n; ++i)
            args.arrayPut(i, Params(i)->FValue);
        Variant v = FOnCall(FParentValue, CallName(), args);
        for (int i = 0; i < n; ++i)
            if (Params(i)->FIsVarParam)
                Params(i)->FValue = args.arrayGet(i);
        return v;
    }
    return Variant(0);
}

void TqsMethodHelper::SetValue(const Variant &value)
{
    if (!FIndexMethod || FIsReadOnly)
        return;
    const QString &name = FSetName;
    if (FOnCallNew) {
        FSetValue = value;
        struct Reset
        {
            Variant &v;
            ~Reset() { v = Variant::null(); }
        } reset{FSetValue};
        FOnCallNew(FParentValue, name, *this);
    } else if (FOnCall) {
        const int n = ParamCount();
        Variant args = Variant::createArray({{0, n}});
        for (int i = 0; i < n; ++i)
            args.arrayPut(i, Params(i)->FValue);
        args.arrayPut(n, value);
        FOnCall(FParentValue, name, args);
    }
}

void TqsMethodHelper::SetIndexMethod()
{
    FIndexMethod = true;
    FGetName = FUppercaseName + QLatin1String(".GET");
    FSetName = FUppercaseName + QLatin1String(".SET");
}

Variant TqsMethodHelper::GetVParam(int index) const
{
    if (index == ParamCount())
        return FSetValue;
    if (index < 0 || index >= ParamCount())
        return Variant::null();
    return Params(index)->FValue;
}

void TqsMethodHelper::SetVParam(int index, const Variant &value)
{
    if (index >= 0 && index < ParamCount())
        Params(index)->FValue = value;
}

TqsStringHelper::TqsStringHelper() : TqsCustomVariable(kStringHelper)
{
    SetName(QStringLiteral("__StringHelper"));
    FTyp = qvtChar;
    auto *p = new TqsParamItem;
    p->SetType(qvtInt, QString());
    AddParam(p);
}

TqsArrayHelper::TqsArrayHelper(int dims) : TqsCustomVariable(kArrayHelper)
{
    // -1: three indexes, the second and third optional
    const int n = dims < 0 ? 3 : dims;
    for (int i = 0; i < n; ++i) {
        auto *p = new TqsParamItem;
        p->SetType(qvtInt, QString());
        p->FIsOptional = dims < 0 && i > 0;
        AddParam(p);
    }
}

// ---- String characters

namespace {
qsizetype charIndex(const QString &s, const Variant &index)
{
    const int i = index.toInt();
    if (i < 1 || i > s.size())
        throw EqsRunError(QStringLiteral("String index out of range (%1)").arg(i));
    return i - 1;
}
} // namespace

Variant qsStringChar(const Variant &s, const Variant &index)
{
    const QString text = s.toString();
    return Variant(text.at(charIndex(text, index)));
}

Variant qsStringPutChar(const Variant &s, const Variant &index, const Variant &value)
{
    QString text = s.toString();
    const qsizetype i = charIndex(text, index);
    const QString v = value.toString();
    if (v.isEmpty())
        throw EqsRunError(QStringLiteral("String index out of range (%1)").arg(i + 1));
    text[i] = v.at(0);
    return Variant(std::move(text));
}

void qsTextTooLong()
{
    throw EqsRunError(QStringLiteral("Text too long: a script text holds at most %1 characters").arg(qsMaxTextLength));
}

void qsCheckJoinSlow(const Variant &a, const Variant &b)
{
    // Other values give short texts; only the lengths of texts add up.
    qsCheckTextLength(a.isString() ? a.toString().size() : 0, b.isString() ? b.toString().size() : 0);
}
