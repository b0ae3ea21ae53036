// The running side of TqsScript: registration, build, execution, calls, Evaluate,
// termination and the line hook.
#include "script/builder/qsbuilder.h"
#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/reflect/persistent.h"
#include "script/compiler/qsilparser.h"
#include "script/items/qsclasses.h"
#include "script/core/qslanguages.h"
#include "script/xml/qsxml.h"

#include <QIODevice>
#include <algorithm>
#include <climits>
#include <memory>

namespace {
// Items of binding modules carry this stamp.
const void *const RTTIMarker = reinterpret_cast<const void *>(1);
} // namespace

TqsStatement *TqsScript::CreateStatement()
{
    FStatement = new TqsStatement(this, QString(), QString());
    return FStatement;
}

void TqsScript::DestroyRuntime()
{
    Clear();
    ClearRTTI();
    delete FStatement;
    FStatement = nullptr;
    SetOnRunLine({});
}

void TqsScript::BuildProgram(TqsILParser &parser)
{
    TqsBuilder builder(this, parser.NeedDeclareVars());
    builder.ParseILScript(parser.ILScript().Root());
}

bool TqsScript::SetILCode(QIODevice *stream)
{
    ErrorMsg.clear();
    ErrorPos.clear();
    ErrorUnit.clear();
    TqsILParser parser(this);
    parser.SelectLanguage(SyntaxType);
    TqsXMLDocument doc;
    try {
        doc.LoadFromStream(stream);
    } catch (const Exception &e) {
        ErrorMsg = e.message();
        return false;
    }
    TqsBuilder builder(this, parser.NeedDeclareVars());
    return builder.ParseILScript(doc.Root());
}

// ---- Registration

TqsCustomVariable *TqsScript::AddConst(const QString &name, const QString &typ, const Variant &value)
{
    TqsCustomVariable *v = AddVariable(name, typ, value);
    if (v) {
        v->FIsReadOnly = true;
        v->FOnGetVarValue = nullptr;
    }
    return v;
}

TqsCustomVariable *TqsScript::AddVariable(const QString &name, const QString &typ, const Variant &value)
{
    if (Find(name))
        return nullptr;
    const TqsVarType t = StrToVarType(typ, this);
    TqsCustomVariable *v = (t == qvtString || t == qvtChar) ? static_cast<TqsCustomVariable *>(new TqsStringVariable)
                                                            : new TqsVariable;
    v->SetName(name);
    v->SetType(t, typ);
    v->FOnGetVarValue = OnGetVarValue;
    try {
        v->Store(value);
    } catch (...) {
        delete v;
        throw;
    }
    Add(name, v);
    return v;
}

TqsCustomVariable *TqsScript::AddType(const QString &name, TqsVarType parentType)
{
    if (Find(name))
        return nullptr;
    auto *t = new TqsTypeVariable;
    t->SetName(name);
    t->SetType(parentType, name);
    Add(name, t);
    return t;
}

namespace {
void addEnumValues(TqsScript *s, const QString &typeName, const QString &names, bool doubling)
{
    auto *type = new TqsVariable;
    type->SetName(typeName);
    type->SetType(qvtEnum, typeName);
    s->Add(typeName, type);
    int value = doubling ? 1 : 0;
    for (const QString &raw : names.split(QLatin1Char(','))) {
        const QString n = raw.trimmed();
        if (n.isEmpty())
            continue;
        auto *v = new TqsVariable;
        v->SetName(n);
        v->SetType(qvtEnum, typeName);
        v->FValue = Variant(value);
        v->FIsReadOnly = true;
        s->Add(n, v);
        value = doubling ? value * 2 : value + 1;
    }
}
} // namespace

void TqsScript::AddEnum(const QString &typeName, const QString &names) { addEnumValues(this, typeName, names, false); }
void TqsScript::AddEnumSet(const QString &typeName, const QString &names) { addEnumValues(this, typeName, names, true); }

TqsMethodHelper *TqsScript::AddMethod(const QString &syntax,
                                      std::function<Variant(const Variant &, const QString &, TqsMethodHelper &)> callEvent,
                                      const QString &category, const QString &description)
{
    auto *m = new TqsMethodHelper(syntax, this);
    m->FOnCallNew = std::move(callEvent);
    m->FCategory = category;
    m->FDescription = description.isEmpty() ? m->FName : description;
    Add(m->FName, m);
    return m;
}

TqsClassVariable *TqsScript::AddClass(const rtl::ClassInfo *cls, const QString &ancestor)
{
    if (!cls || Find(cls->name()))
        return nullptr;
    auto *c = new TqsClassVariable(cls, this);
    c->FAncestor = ancestor;
    if (auto *a = dynamic_cast<TqsClassVariable *>(Find(ancestor)))
        c->FDefProperty = a->FDefProperty;
    Add(cls->name(), c);
    return c;
}

void TqsScript::AddComponent(TComponent *form)
{
    if (!form)
        return;
    TqsClassVariable *cls = FindClass(form->ClassName());
    if (!cls) {
        QString ancestor;
        for (const rtl::ClassInfo *c = form->ClassType()->parent(); c && ancestor.isEmpty(); c = c->parent())
            for (const char *name : {"TForm", "TDataModule", "TFrame"})
                if (c->name() == QLatin1String(name))
                    ancestor = c->name();
        if (ancestor.isEmpty())
            return;
        cls = AddClass(form->ClassType(), ancestor);
        if (!cls)
            return;
    }
    for (int i = 0; i < form->ComponentCount(); ++i)
        cls->AddComponent(form->Components(i));
    AddObject(form->Name(), form);
}

TqsCustomVariable *TqsScript::AddObject(const QString &name, TPersistent *obj)
{
    return AddVariable(name, obj ? obj->ClassName() : QStringLiteral("Variant"), rtl::objectToVariant(obj));
}

TqsClassVariable *TqsScript::FindClass(QStringView name) const { return dynamic_cast<TqsClassVariable *>(Find(name)); }

TqsMethodHelper *TqsScript::AddMethod(const QString &syntax,
                                      std::function<Variant(const Variant &, const QString &, Variant &)> callEvent,
                                      const QString &category, const QString &description)
{
    auto *m = new TqsMethodHelper(syntax, this);
    m->FOnCall = std::move(callEvent);
    m->FCategory = category;
    m->FDescription = description.isEmpty() ? m->FName : description;
    Add(m->FName, m);
    return m;
}

void TqsScript::AddRTTI()
{
    if (FRTTIAdded)
        return;
    const void *saved = AddedBy;
    AddedBy = RTTIMarker;
    try {
        for (TqsRTTIModuleClass make : qsRTTIModules())
            Add(QString(), make(this));
    } catch (...) {
        AddedBy = saved;
        throw;
    }
    AddedBy = saved;
    FRTTIAdded = true;
}

void TqsScript::Clear()
{
    if (FStatement)
        FStatement->Clear();
    for (int i = Count() - 1; i >= 0; --i) {
        TqsScriptItem *item = Items(i);
        if (dynamic_cast<TqsRTTIModule *>(item) || item->AddedBy == RTTIMarker)
            continue;
        RemoveAt(i); // by index: a search for the item would make clearing quadratic
        delete item;
        if (i > Count())
            i = Count();
    }
    DropLazy([](const void *addedBy) { return addedBy != RTTIMarker; });
    FUnitLines.clear();
    ErrorMsg.clear();
    ErrorPos.clear();
    ErrorUnit.clear();
}

void TqsScript::ClearItems(const void *owner)
{
    if (FStatement)
        FStatement->Clear();
    for (int i = Count() - 1; i >= 0; --i) {
        TqsScriptItem *item = Items(i);
        if (!item->IsScriptVariable() || item->AddedBy != owner)
            continue;
        RemoveAt(i); // by index: a search for the item would make clearing quadratic
        delete item;
        if (i > Count())
            i = Count();
    }
    DropLazy([owner](const void *addedBy) { return addedBy == owner; });
    FUnitLines.clear();
}

void TqsScript::ClearRTTI()
{
    if (!FRTTIAdded)
        return;
    for (int i = Count() - 1; i >= 0; --i) {
        TqsScriptItem *item = Items(i);
        if (!dynamic_cast<TqsRTTIModule *>(item) && item->AddedBy != RTTIMarker)
            continue;
        RemoveAt(i); // by index: a search for the item would make clearing quadratic
        delete item;
        if (i > Count())
            i = Count();
    }
    DropLazy([](const void *addedBy) { return addedBy == RTTIMarker; });
    FRTTIAdded = false;
}

void TqsScript::AddCodeLine(const QString &unitName, const QString &sourcePos)
{
    const qsizetype colon = sourcePos.indexOf(QLatin1Char(':'));
    bool ok = false;
    const int line = sourcePos.left(colon < 0 ? sourcePos.size() : colon).toInt(&ok);
    if (ok)
        FUnitLines[unitName.toLower()].insert(line);
}

bool TqsScript::IsExecutableLine(int lineN, const QString &unitName) const
{
    auto it = FUnitLines.constFind(unitName.toLower());
    return it != FUnitLines.constEnd() && it->contains(lineN);
}

Variant TqsScript::Variables(const QString &name) const
{
    if (auto *v = dynamic_cast<TqsCustomVariable *>(Find(name)))
        return v->GetValue();
    return Variant::null();
}

void TqsScript::SetVariables(const QString &name, const Variant &value)
{
    if (auto *v = dynamic_cast<TqsCustomVariable *>(Find(name)))
        v->SetValue(value);
    else
        AddVariable(name, QStringLiteral("Variant"), value);
}

// ---- Line hook

void TqsScript::SetOnRunLine(TqsRunLineEvent hook)
{
    const bool had = bool(FOnRunLine);
    FOnRunLine = std::move(hook);
    if (had != bool(FOnRunLine))
        RunState().LineHooks += had ? -1 : 1;
}

void TqsScript::RunLine(const QString &unitName, const QString &sourcePos)
{
    for (TqsScript *s = this; s; s = s->Parent)
        if (s->FOnRunLine) {
            // a copy: the hook may detach itself while it runs
            const TqsRunLineEvent hook = s->FOnRunLine;
            hook(this, unitName, sourcePos);
            return;
        }
}

// ---- The host's check

void TqsScript::SetOnPoll(TqsPollEvent hook)
{
    TqsRunState &rs = RunState();
    rs.OnPoll = std::move(hook);
    rs.Polling = bool(rs.OnPoll);
    rs.StopAsked = false;
    rs.StepBudget = rs.StepsLeft = TqsRunState::MaxStepBudget;
    rs.LastClock = rs.LastPoll = std::chrono::steady_clock::now();
}

void TqsScript::Poll()
{
    using namespace std::chrono;
    TqsRunState &rs = RunState();
    bool stop = rs.StopAsked;
    if (rs.Polling && !stop) {
        const steady_clock::time_point now = steady_clock::now();
        // Turns that take long (a host call in the body) get fewer of them between clock
        // reads, so that the hook's interval stays bounded; quick ones get more.
        constexpr milliseconds interval(TqsRunState::PollIntervalMs);
        const auto sinceClock = now - rs.LastClock;
        if (sinceClock > interval / 4)
            rs.StepBudget = std::max(16, rs.StepBudget / 2);
        else if (sinceClock < interval / 32)
            rs.StepBudget = std::min(TqsRunState::MaxStepBudget, rs.StepBudget * 2);
        rs.LastClock = now;
        if (now - rs.LastPoll >= interval) {
            const TqsPollEvent hook = rs.OnPoll; // a copy: the hook may set another one
            stop = hook();
            rs.LastPoll = rs.LastClock = steady_clock::now();
            rs.StopAsked = rs.StopAsked || stop;
        }
    }
    rs.StepsLeft = rs.Polling ? rs.StepBudget : INT_MAX;
    if (!stop)
        return;
    // Every list of the scopes on the way up ends at its next statement; the outermost
    // script's procedures too (a caller in another procedure's scope).
    TqsScript *root = this;
    for (TqsScript *s = this; s; s = s->Parent) {
        s->FCtl |= cfExit | cfTerminated;
        root = s;
    }
    root->Terminate();
}

int TqsScript::PollTurns(TqsScript *scope)
{
    scope->Poll();
    return scope->RunState().StepsLeft;
}

// ---- Running

void TqsScript::Execute()
{
    struct Guard
    {
        TqsScript *s;
        ~Guard()
        {
            s->FCtl = 0;
            s->IsRunning = false;
        }
    } guard{this};
    FCtl = 0; // a stray break or continue of an earlier run must not leak into this one
    TqsRunState &rs = RunState();
    if (rs.CallDepth == 0)
        rs.StopAsked = false; // a new run
    IsRunning = true;
    MainProg = true;
    Statement()->Execute();
}

bool TqsScript::Run()
{
    if (!Compile())
        return false;
    Execute();
    return true;
}

Variant TqsScript::CallFunction(const QString &name, const Variant &params, bool sGlobal)
{
    auto *proc = dynamic_cast<TqsProcVariable *>(sGlobal ? Find(name) : FindLocal(name));
    if (!proc)
        return Variant::null();
    return CallFunction2(proc, params);
}

Variant TqsScript::CallFunction1(const QString &name, Variant &params, bool sGlobal)
{
    auto *proc = dynamic_cast<TqsProcVariable *>(sGlobal ? Find(name) : FindLocal(name));
    if (!proc)
        return Variant::null();
    return CallWithArray(proc, params, true);
}

Variant TqsScript::CallFunction2(TqsProcVariable *proc, const Variant &params)
{
    Variant copy = params;
    return CallWithArray(proc, copy, false);
}

Variant TqsScript::CallWithArray(TqsProcVariable *proc, Variant &params, bool writeBack)
{
    if (!proc)
        return Variant::null();
    // Arguments beyond the parameters are ignored; a missing one takes its default, else Null.
    int given = 0, lo = 0;
    if (params.isArray() && params.arrayDimCount() == 1) {
        lo = params.arrayLowBound();
        given = params.arrayHighBound() - lo + 1;
    }
    const int n = proc->ParamCount();
    std::vector<Variant> args(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        TqsParamItem *p = proc->Params(i);
        args[size_t(i)] = i < given ? params.arrayGet(lo + i) : (p->FIsOptional ? p->FDefValue : Variant::null());
    }
    Variant result = proc->Invoke(args.data(), args.size());
    if (writeBack)
        for (int i = 0; i < given && i < n; ++i)
            params.arrayPut(lo + i, args[size_t(i)]);
    return result;
}

void TqsScript::Terminate()
{
    FCtl |= cfExit | cfTerminated;
    for (int i = 0; i < Count(); ++i)
        if (auto *p = dynamic_cast<TqsProcVariable *>(Items(i)))
            p->FProgram->Terminate();
}

namespace {
bool hasModules(const TqsScript *s)
{
    for (; s; s = s->Parent)
        if (s->RTTIAdded())
            return true;
    return false;
}
} // namespace

Variant TqsScript::Evaluate(const QString &expression)
{
    EvaluteRiseError = false;
    TqsScript *context = ProgRunning ? ProgRunning : this;
    auto temp = std::make_unique<TqsScript>();
    if (!hasModules(context))
        temp->AddRTTI();
    temp->Parent = context;
    temp->OnGetVarValue = context->OnGetVarValue;
    temp->SyntaxType = SyntaxType;
    temp->ExtendedCharset = ExtendedCharset;
    QString text;
    const QString lang = SyntaxType.toLower();
    if (lang == QLatin1String("dozovozozedi"))
        text = QStringLiteral("function qsEvaluateFUNC: Variant; begin Result := ") + expression + QStringLiteral(" end; begin end.");
    else if (lang == QLatin1String("d++iraved"))
        text = QStringLiteral("Variant qsEvaluateFUNC() { return ") + expression + QStringLiteral("; } {}");
    else if (lang == QLatin1String("devavararoz"))
        text = QStringLiteral("function qsEvaluateFUNC\r\nreturn ") + expression + QStringLiteral("\r\nend function");
    else if (lang == QLatin1String("jscript"))
        text = QStringLiteral("function qsEvaluateFUNC() { return (") + expression + QStringLiteral("); }");
    else
        qsGetLanguage(SyntaxType); // raises for an unregistered language
    temp->Lines = text.split(QStringLiteral("\r\n"));

    // The hook stays off while the wrapper runs, and comes back however it ends.
    struct HookGuard
    {
        TqsScript *s;
        TqsRunLineEvent saved;
        ~HookGuard() { s->SetOnRunLine(std::move(saved)); }
    } hook{this, FOnRunLine};
    SetOnRunLine({});

    if (!temp->Compile()) {
        EvaluteRiseError = true;
        return Variant(temp->ErrorMsg);
    }
    auto *proc = dynamic_cast<TqsProcVariable *>(temp->FindLocal(u"qsEvaluateFUNC"));
    if (!proc)
        return Variant::null();
    return temp->CallFunction2(proc, Variant());
}
