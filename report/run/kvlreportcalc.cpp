// The report's side of its script: registering the objects and functions, compiling,
// resolving names to values and evaluating expressions through the expression cache.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/objecthandles.h"
#include "report/core/kvlresourcetext.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/options/kvloptions.h"
#include "report/run/kvlexpressioncache.h"
#include "report/run/kvlfiletrust.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/vars/kvlvariables.h"
#include "script/core/qsscript.h"
#include "script/items/qsclasses.h"
#include "script/items/qsitems.h"

TqsScript *const TkvlReport::CalcMarker = reinterpret_cast<TqsScript *>(uintptr_t(1));

namespace {

// Nested evaluations (an expression whose function asks for another one) are bounded so
// that a runaway chain is one error instead of a stack overflow.
constexpr int MaxCalcDepth = 64;

bool isAggregateCall(const QString &Text)
{
    const qsizetype p = Text.indexOf(u'(');
    if (p < 0)
        return false;
    const QString word = Text.left(p).trimmed().toUpper();
    return word == QLatin1String("SUM") || word == QLatin1String("MIN") || word == QLatin1String("MAX") ||
           word == QLatin1String("AVG") || word == QLatin1String("COUNT");
}

Variant nullFor(TkvlFieldType Type)
{
    switch (Type) {
    case fftNumeric: return Variant(0);
    case fftString: return Variant(QString());
    case fftBoolean: return Variant(false);
    case fftDateTime: return Variant::fromDate(0);
    }
    return Variant::null();
}

// The band an aggregate's band argument names: an object reference, a band name or nothing.
TkvlBand *bandOf(TkvlReport *Report, const Variant &v)
{
    if (v.isString())
        return rtl_cast<TkvlBand>(Report->FindObject(v.toString()));
    if (!v.isOrdinal())
        return nullptr;
    return rtl::variantToObject<TkvlBand>(v);
}

// Script items are named by identifiers (dotted at most): a text with any other character,
// such as an arithmetic expression, is never one.
bool mayNameScriptItem(QStringView Text)
{
    for (const QChar c : Text)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$'))
            return false;
    return !Text.isEmpty();
}

} // namespace

// ---- names --------------------------------------------------------------------------------

TkvlReport::NameInfo *TkvlReport::ParseName(const QString &Name)
{
    const QChar *data = Name.constData();
    const auto where = quintptr(data);
    NameCache::Recent &recent = FNameCache.Recents[((where >> 4) ^ (where >> 10)) % FNameCache.Recents.size()];
    if (recent.Data == data && recent.Found && QStringView(recent.Found->first) == QStringView(Name))
        return &recent.Found->second;
    auto it = FNameCache.ByText.find(Name);
    if (it == FNameCache.ByText.end())
        it = parseNewName(Name);
    if (it != FNameCache.ByText.end())
        recent = {data, &*it};
    return it == FNameCache.ByText.end() ? nullptr : &it->second;
}

std::unordered_map<QString, TkvlReport::NameInfo>::iterator TkvlReport::parseNewName(const QString &Name)
{
    NameInfo info;
    TkvlDataSet *ds = nullptr;
    GetDatasetAndField(Name, ds, info.Field);
    if (ds) {
        info.IsField = true;
        info.DataSet = ds;
    } else if (!info.Field.isEmpty()) {
        return FNameCache.ByText.end();  // a source that may yet be added: not remembered
    } else {
        info.SysVar = FSysVariables.IndexOf(Name);
        info.MayNameScriptItem = mayNameScriptItem(Name);
    }
    return FNameCache.ByText.emplace(Name, std::move(info)).first;
}

bool TkvlReport::DoGetValue(const QString &Name, Variant &Value) { return DoGetValue(Name, Value, ParseName(Name)); }

bool TkvlReport::DoGetValue(const QString &Name, Variant &Value, NameInfo *Info)
{
    Value = Variant::null();
    if (const auto &legacy = kvlKV2Events().OnGetValue) {
        Variant v;
        legacy(this, Name, v);
        if (!v.isEmpty()) {
            Value = v;
            return true;
        }
    }

    static const NameInfo unresolved;
    const NameInfo &info = Info ? *Info : unresolved;
    if (info.IsField) {
        if (TkvlDataSet *ds = info.DataSet.get()) {
            Value = ds->GetValue(info.Field);
            if (Value.isNull() && FEngineOptions->ConvertNulls)
                Value = nullFor(ds->GetFieldType(info.Field));
            return true;
        }
    }
    if (info.SysVar >= 0) {
        TkvlCustomEngine *e = FEngine.get();
        TkvlCustomPreviewPages *pp = FPreviewPages;
        switch (info.SysVar) {
        case 0: Value = e ? Variant::fromDate(e->StartDate) : Variant::null(); break;
        case 1: Value = e ? Variant::fromDate(e->StartTime) : Variant::null(); break;
        case 2: Value = pp ? Variant(pp->GetLogicalPageNo()) : Variant::null(); break;
        case 3: Value = pp ? Variant(pp->CurPage + 1) : Variant::null(); break;
        case 4: Value = pp ? Variant(pp->GetLogicalTotalPages()) : Variant::null(); break;
        case 5: Value = e ? Variant(e->TotalPages) : Variant::null(); break;
        case 6: Value = e ? Variant(e->CurLine) : Variant::null(); break;
        case 7: Value = e ? Variant(e->CurLineThrough) : Variant::null(); break;
        default: Value = kvlGlobalVariables().Variables(QStringLiteral("CopyName0")); break;
        }
        return true;
    }

    if (OnGetValue || OnNewGetValue) {
        Variant v;
        if (OnGetValue)
            OnGetValue(Name, v);
        if (OnNewGetValue)
            OnNewGetValue(this, Name, v);
        if (!v.isEmpty()) {
            Value = v;
            return true;
        }
    }

    // The variables are searched again only after their names have changed.
    const uint64_t variablesAt = FVariables->NamesGeneration();
    if (!Info || Info->NoVariableAt != variablesAt) {
        if (lookUpVariable(Name, Value))
            return true;
        if (Info)
            Info->NoVariableAt = variablesAt;
    }

    TkvlVariables &globals = kvlGlobalVariables();
    const uint64_t globalsAt = globals.NamesGeneration();
    if (!Info || Info->NoGlobalAt != globalsAt) {
        const int gi = globals.IndexOf(Name);
        if (gi >= 0) {
            Value = globals.Items(gi)->Value();
            return true;
        }
        if (Info)
            Info->NoGlobalAt = globalsAt;
    }

    if (!kvlKV2Events().OnGetScriptValue && info.MayNameScriptItem) {
        auto *item = dynamic_cast<TqsCustomVariable *>(FScript->Find(Name));
        if (item && !dynamic_cast<TqsProcVariable *>(item) && !dynamic_cast<TqsMethodHelper *>(item) &&
            !dynamic_cast<TqsClassVariable *>(item) && !dynamic_cast<TqsTypeVariable *>(item)) {
            Value = item->GetValue();
            return true;
        }
    }
    return false;
}

bool TkvlReport::lookUpVariable(const QString &Name, Variant &Value)
{
    const int vi = FVariables->IndexOf(Name);
    if (vi >= 0) {
        const Variant &v = FVariables->Items(vi)->Value();
        if (!v.isString() || v.toString().contains(QLatin1String("\r\n"))) {
            Value = v;
            return true;
        }
        const QString text = v.toString();
        if (text.trimmed().isEmpty())
            return true;  // Null: nothing to evaluate
        for (const QString &inUse : FVariablesInUse)
            if (inUse.compare(Name, Qt::CaseInsensitive) == 0) {
                FErrors.Add(QStringLiteral("Riferimento circolare nella variabile ") + Name);
                return true;
            }
        FVariablesInUse.push_back(Name);
        struct Pop {
            std::vector<QString> &v;
            ~Pop() { v.pop_back(); }
        } pop{FVariablesInUse};
        Value = Calc(text);
        return true;
    }

    return false;
}

// ---- evaluating ---------------------------------------------------------------------------

Variant TkvlReport::Calc(const QString &Expr, TqsScript *AScript)
{
    if (Evaluator)
        return Evaluator(Expr);
    const bool marker = AScript == CalcMarker;
    if (!AScript || marker)
        AScript = FScript.get();

    auto failed = [&](QString &error) -> Variant {
        if (FEngineOptions->IgnoreDevByZero && error == QLatin1String(rtl::msg::ZeroDivide))
            return Variant::null();
        if (marker)
            error = kvlResourceText(QStringLiteral("clErrorInExp")) + error;
        else if (!CurObject.isEmpty())
            error = CurObject + QStringLiteral(": ") + error;
        FErrors.Add(error);
        throw Exception(error);
    };

    NameInfo *info = ParseName(Expr);
    // A text already found to name nothing that DoGetValue answers (no field, system
    // variable, report or process-wide variable, script item, and no host hook that could
    // answer it now) goes straight to its compiled function of this run.
    if (info && info->FunctionAt == FExpressionCache->Generation() && !info->IsField && info->SysVar < 0
        && FCalcDepth < MaxCalcDepth && !OnGetValue && !OnNewGetValue
        && info->NoVariableAt == FVariables->NamesGeneration()) {
        static TkvlKV2Events &events = kvlKV2Events();
        static TkvlVariables &globals = kvlGlobalVariables();
        if (!events.OnGetValue && info->NoGlobalAt == globals.NamesGeneration()
            && (!info->MayNameScriptItem || events.OnGetScriptValue)
            && (AScript != FScript.get() || FScript->RTTIAdded())) {
            ++FCalcDepth;
            struct Depth {
                int &d;
                ~Depth() { --d; }
            } depth{FCalcDepth};
            QString error;
            Variant result = FExpressionCache->Call(info->Function, error, AScript);
            if (error.isEmpty()) [[likely]]
                return result;
            return failed(error);
        }
    }

    Variant result;
    if (DoGetValue(Expr, result, info))
        return result;

    QString error;
    if (FCalcDepth >= MaxCalcDepth) {
        error = kvlResourceText(QStringLiteral("clExprError")) + QStringLiteral(" '") + Expr +
                QStringLiteral("': expressions nested too deeply");
    } else {
        // Outside a run the system functions are not registered yet.
        if (AScript == FScript.get() && !FScript->RTTIAdded()) [[unlikely]]
            FScript->AddRTTI();
        ++FCalcDepth;
        struct Depth {
            int &d;
            ~Depth() { --d; }
        } depth{FCalcDepth};
        // The function is looked up once per run, then kept with the text's name answers.
        TqsProcVariable *func = nullptr;
        const uint64_t cacheAt = FExpressionCache->Generation();
        if (info && info->FunctionAt == cacheAt) {
            func = info->Function;
        } else {
            func = FExpressionCache->Compiled(Expr, error, AScript);
            if (func && info) {
                info->Function = func;
                info->FunctionAt = cacheAt;
            }
        }
        if (func)
            result = FExpressionCache->Call(func, error, AScript);
    }
    if (error.isEmpty())
        return result;
    return failed(error);
}

// ---- the script ---------------------------------------------------------------------------

namespace {

// The functions every run gives the script, bound to the report they run for.
void addReportFunctions(TqsScript *Script, TkvlReport *Report)
{
    Script->AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                      [Report](const Variant &, const QString &, TqsMethodHelper &h) -> Variant {
                          const QString name = h.GetVParam(0).toString();
                          Variant v;
                          if (Report->DoGetValue(name, v))
                              return v;
                          if (isAggregateCall(name))
                              return Report->Calc(name);
                          if (const auto &legacy = kvlKV2Events().OnGetScriptValue) {
                              legacy(Report, name, v);
                              return v;
                          }
                          Report->Errors().Add(kvlResourceText(QStringLiteral("clUnknownVar")) + u' ' + name);
                          return Variant::null();
                      });
    Script->AddMethod(QStringLiteral("procedure Set(Name: String; Value: Variant)"),
                      [Report](const Variant &, const QString &, TqsMethodHelper &h) -> Variant {
                          Report->Variables().SetVariables(h.GetVParam(0).toString(), h.GetVParam(1));
                          return Variant::null();
                      });
    Script->AddMethod(QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"),
                      [Report](const Variant &, const QString &, TqsMethodHelper &h) -> Variant {
                          try {
                              const bool yes = Variant::equals(Report->Calc(h.GetVParam(0).toString()), Variant(true));
                              return Report->Calc(h.GetVParam(yes ? 1 : 2).toString());
                          } catch (...) {
                              return Variant::null();
                          }
                      });
    auto aggregate = [Report](const Variant &, const QString &Name, TqsMethodHelper &h) -> Variant {
        const bool count = Name == QLatin1String("COUNT");
        const int first = count ? 0 : 1;
        auto evaluated = [&](int i) -> Variant {
            const Variant p = h.GetVParam(i);
            if (!p.isString())
                return p;  // a default value
            const QString text = p.toString();
            return text.trimmed().isEmpty() ? Variant(0) : Report->Calc(text);
        };
        TkvlBand *band = bandOf(Report, evaluated(first));
        const Variant flags = evaluated(first + 1);
        const int f = flags.isNumeric() ? int(flags.toInt64()) : 0;
        TkvlCustomEngine *e = Report->Engine();
        if (!e)
            return Variant::null();
        return e->GetAggregateValue(Name, count ? QString() : h.GetVParam(0).toString(), band, f);
    };
    for (const char *f : {"SUM", "AVG", "MIN", "MAX"})
        Script->AddMethod(QStringLiteral("macrofunction ") + QLatin1String(f) +
                              QStringLiteral("(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"),
                          aggregate);
    Script->AddMethod(QStringLiteral("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"), aggregate);
}

} // namespace

bool TkvlReport::PrepareScript(TkvlReport *ActiveReport)
{
    if (!ActiveReport)
        ActiveReport = this;
    TkvlReport *parent = FParentReportObject.get();
    if (!FParentScriptSaved && !(parent && FScript->Parent == parent->Script())) {
        FSaveParentScript = FScript->Parent;
        FParentScriptSaved = true;
    }

    // The parent template's script holds the inherited objects and its own routines: it is
    // prepared first, and this report's script sees it as its parent scope.
    if (parent) {
        parent->FSaveParentScript = FSaveParentScript;
        parent->FParentScriptSaved = FParentScriptSaved;
        for (const HostFunction &f : FHostFunctions)
            parent->addHostFunction(f, this);
        if (!parent->PrepareScript(ActiveReport)) {
            FErrors.Add(rtl::Format(kvlResourceText(QStringLiteral("clScrError")),
                                    {Variant(QString(QStringLiteral("Parent report: ") + ParentReport
                                             + QStringLiteral(" Line: ") + parent->Script()->ErrorPos)),
                                     Variant(parent->Script()->ErrorMsg)}));
            return false;
        }
    }

    FExpressionCache->Clear();
    FExpressionCache->ScriptLanguage = ScriptLanguage;
    FNameCache.clear();
    if (FEngine)
        FEngine->NotifyList.clear();
    FScript->ClearItems(ActiveReport);
    FLocalValueVar = FSelfValueVar = nullptr;
    if (!FScript->RTTIAdded())
        FScript->AddRTTI();
    FScript->AddedBy = ActiveReport;
    struct Owner {
        TqsScript *s;
        ~Owner() { s->AddedBy = nullptr; }
    } owner{FScript.get()};
    FScript->MainProg = true;
    FScript->Parent = parent ? parent->Script() : FSaveParentScript;
    // A parent template's script answers to the report being run.
    kvlGuardScriptFiles(FScript.get(), &ActiveReport->FileTrust());

    for (TkvlComponent *c : GetAllObjects()) {
        TkvlComponent *obj = ActiveReport == this ? c : ActiveReport->FindObject(c->Name());
        if (!obj)
            continue;
        obj->IsDesigning = false;
        obj->BeforeStartReport();
        if (!c->Ancestor && !c->Name().isEmpty())
            FScript->AddObject(c->Name(), obj);
    }
    FScript->AddObject(QStringLiteral("Report"), ActiveReport);
    if (ActiveReport->Engine())
        FScript->AddObject(QStringLiteral("Engine"), ActiveReport->Engine());
    if (ActiveReport->PreviewPages() && ActiveReport->PreviewPages()->Outline)
        FScript->AddObject(QStringLiteral("Outline"), ActiveReport->PreviewPages()->Outline.get());
    FScript->AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Variant::null());
    FScript->AddVariable(QStringLiteral("Self"), QStringLiteral("TkvlView"), Variant::null());
    addReportFunctions(FScript.get(), ActiveReport);

    if (const auto &legacy = kvlKV2Events().OnPrepareScript)
        legacy(this);
    FLocalValueVar = dynamic_cast<TqsCustomVariable *>(FScript->FindLocal(QStringLiteral("Value")));
    FSelfValueVar = dynamic_cast<TqsCustomVariable *>(FScript->FindLocal(QStringLiteral("Self")));

    FScript->Lines = FScriptText.toQStringList();
    FScript->SyntaxType = ScriptLanguage;
    const bool compiled = FScript->Compile();
    if (!compiled)
        FErrors.Add(rtl::Format(kvlResourceText(QStringLiteral("clScrError")), {FScript->ErrorPos, FScript->ErrorMsg}));
    return compiled;
}

void TkvlReport::AddFunction(const QString &FuncName, const QString &Category, const QString &Description)
{
    addHostFunction({FuncName, Category, Description}, this);
}

// The function's calls go to Handler's OnUserFunction; a function this report's script has
// already is not added again.
void TkvlReport::addHostFunction(const HostFunction &Function, TkvlReport *Handler)
{
    for (const HostFunction &f : FHostFunctions)
        if (f.Syntax == Function.Syntax)
            return;
    FHostFunctions.push_back(Function);
    FScript->AddMethod(
        Function.Syntax,
        [Handler](const Variant &, const QString &Name, TqsMethodHelper &h) -> Variant {
            const int n = h.ParamCount();
            Variant params = Variant::createArray({{0, n - 1}});
            for (int i = 0; i < n; ++i)
                params.arrayPut(i, h.GetVParam(i));
            Variant result = Handler->OnUserFunction ? Handler->OnUserFunction(Name, params) : Variant::null();
            for (int i = 0; i < n; ++i)
                h.SetVParam(i, params.arrayGet(i));
            return result;
        },
        Function.Category, Function.Description);
}

// ---- script variables "Value" and "Self" ---------------------------------------------------

Variant TkvlReport::LocalValue() const { return FLocalValueVar ? FLocalValueVar->GetValue() : Variant::null(); }

void TkvlReport::SetLocalValue(const Variant &Value)
{
    if (FLocalValueVar)
        FLocalValueVar->SetValue(Value);
}

void TkvlReport::SetSelfValue(TkvlComponent *Value)
{
    FSelfValue = Value;
    if (FSelfValueVar)
        FSelfValueVar->Value() = rtl::objectToVariant(Value);
}
