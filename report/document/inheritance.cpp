// Template inheritance: the parent template loaded into the report with a private copy of
// it, the ancestor lookup for writing differences, and turning a report into one that
// inherits from a template.
#include "report/document/inheritance.h"

#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlsubreport.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/progress/kvlwindows.h"
#include "report/styles/kvlstyles.h"
#include "report/utils/silentmode.h"
#include "report/vars/kvlvariables.h"
#include "script/core/qsscript.h"

#include <QDir>
#include <QFileInfo>
#include <unordered_map>
#include <unordered_set>

QString kvlParentTemplatePath(const TkvlReport *Report, const QString &Path)
{
    if (Path.startsWith(u'/'))
        return Path;
    if (!Report->FileName.isEmpty()) {
        const QString nextTo = QFileInfo(Report->FileName).absoluteDir().filePath(Path);
        if (QFileInfo(nextTo).isFile())
            return QDir::cleanPath(nextTo);
    }
    return QDir::cleanPath(Report->GetApplicationFolder() + Path);
}

void TkvlReport::GetAncestor(const QString &Name, TPersistent *&Ancestor)
{
    if (!FParentReportObject)
        return;
    if (Name == this->Name())
        Ancestor = FParentReportObject.get();
    else
        Ancestor = FParentReportObject->FindObject(Name);
}

namespace {
void setInherited(TkvlReport *r, bool Value)
{
    for (TkvlComponent *c : r->GetAllObjects())
        c->Ancestor = Value;
    r->Ancestor = Value;
    for (int i = 0; i < r->Variables().Count(); ++i)
        r->Variables().Items(i)->IsInherited = Value;
    for (int i = 0; i < r->Styles().Count(); ++i)
        r->Styles().Items(i)->IsInherited = Value;
}
} // namespace

void TkvlReport::SetParentReport(const QString &Value)
{
    ParentReport = Value;
    FParentReportObject.reset();
    if (FParentScriptSaved)
        FScript->Parent = FSaveParentScript;
    if (Value.isEmpty()) {
        setInherited(this, false);
        return;
    }

    const QString path = kvlParentTemplatePath(this, Value);
    // A parent that cannot be found leaves the report as it is (a missing file is no
    // message, as for LoadFromFile): loading would empty it.
    if (!OnLoadTemplate && !QFileInfo(path).isFile())
        return;
    const QString key = QFileInfo(path).absoluteFilePath();
    const bool cycle = std::find(FLoadingParents.begin(), FLoadingParents.end(), key) != FLoadingParents.end() ||
                       (!FileName.isEmpty() && QFileInfo(FileName).absoluteFilePath() == key);
    if (cycle) {
        FErrors.Add(QStringLiteral("Ereditarietà circolare dei modelli: ") + Value);
        return;
    }

    const QString ownFileName = FileName;
    TStream *const loadStream = LoadStream;
    const bool streamLoaded = StreamLoaded;
    const QStringList errorsBefore = FErrors.toQStringList();
    const size_t depth = FLoadingParents.size();
    if (depth == 0 && !ownFileName.isEmpty())
        FLoadingParents.push_back(QFileInfo(ownFileName).absoluteFilePath());
    FLoadingParents.push_back(key);
    struct PopLoading {
        std::vector<QString> &v;
        size_t size;
        ~PopLoading() { v.resize(size); }
    } pop{FLoadingParents, depth};
    // The load in progress (if any) reports what the parent's load met, once.
    const TkvlSilentMode silentMode = FEngineOptions->NewSilentMode;
    FEngineOptions->NewSilentMode = simSilent;

    if (OnLoadTemplate)
        OnLoadTemplate(this, path);
    else
        LoadFromFile(path);
    FEngineOptions->NewSilentMode = silentMode;
    LoadStream = loadStream;
    StreamLoaded = streamLoaded;
    // The parent's load emptied the list: what was there comes back beside the parent's.
    for (const QString &e : errorsBefore)
        FErrors.Add(e);

    auto copy = std::make_unique<TkvlReport>(nullptr);
    copy->FileName = FileName;
    copy->OnLoadTemplate = OnLoadTemplate;
    copy->Script()->OnGetUnit = FScript->OnGetUnit;
    copy->FLoadingParents = FLoadingParents;
    copy->EngineOptions()->NewSilentMode = simSilent;
    copy->AssignAll(this);
    copy->FLoadingParents.clear();
    for (int i = 0; i < copy->Errors().Count(); ++i)
        FErrors.Add(copy->Errors()[i]);
    FParentReportObject.reset();
    if (FParentScriptSaved)
        FScript->Parent = FSaveParentScript;
    FParentReportObject = std::move(copy);
    FileName = ownFileName;

    for (TkvlComponent *c : FParentReportObject->Objects())
        if (auto *page = rtl_cast<TkvlReportPage>(c))
            page->SetPaperSize(256);
    setInherited(this, true);
    ParentReport = Value;
}

// ---- inheriting from a template -------------------------------------------------------------

namespace {

QString expanded(const QString &Path)
{
    if (Path.size() >= 2 && (Path.startsWith(u'.') || Path.startsWith(u'\\')))
        return QFileInfo(Path).absoluteFilePath();
    return Path.isEmpty() ? Path : QFileInfo(Path).absoluteFilePath();
}

// Merging the report's former self (the copy) into the report, now its parent template.
struct Merge {
    TkvlReport *Report;
    TkvlReport *Copy;
    bool Drop;
    std::unordered_map<const TPersistent *, TkvlComponent *> Made;  // copy's object -> merged object
    std::vector<std::pair<TkvlComponent *, TkvlComponent *>> Created;  // (copy's object, merged one)
    std::unordered_set<const TkvlComponent *> SubreportPages;       // walked with their subreport

    // Merges the children of Source (an object of the copy) under Target.
    void children(TkvlComponent *Source, TkvlComponent *Target)
    {
        const std::vector<TkvlComponent *> list = Source->Objects();
        for (TkvlComponent *src : list) {
            if (SubreportPages.count(src))
                continue;
            TkvlComponent *existing = Report->FindObject(src->Name());
            if (existing && src->Is<TkvlPage>() && existing->Is<TkvlPage>()) {
                children(src, existing);
                continue;
            }
            if (existing && Drop)
                continue;
            auto *obj = static_cast<TkvlComponent *>(src->ClassType()->create(Target));
            if (!obj)
                continue;
            if (obj->Parent() != Target)
                obj->SetParent(Target);
            obj->CreateUniqueName();
            const QString unique = obj->Name();
            obj->Assign(src);
            obj->SetName(existing ? unique : src->Name());
            if (auto *ds = rtl_cast<TkvlDataSet>(obj); ds && existing)
                ds->SetUserName(ds->Name());
            Made[src] = obj;
            Created.emplace_back(src, obj);
            // A subreport prints a page of its own: a new page, named afresh, takes the
            // subreport page's objects, so they never land on a parent page of that name.
            if (auto *sub = rtl_cast<TkvlSubreport>(src); sub && sub->Page()) {
                auto *page = new TkvlReportPage(Report);
                page->Assign(sub->Page());
                page->CreateUniqueName();
                Made[sub->Page()] = page;
                children(sub->Page(), page);
            }
            children(src, obj);
        }
    }

    // A reference to an object of the copy, which is freed after the merge.
    bool intoCopy(TPersistent *Value) const
    {
        for (auto *c = dynamic_cast<TComponent *>(Value); c; c = c->Owner())
            if (c == Copy)
                return true;
        for (auto *c = dynamic_cast<TkvlComponent *>(Value); c; c = c->Parent())
            if (c == Copy)
                return true;
        return false;
    }

    // The object a reference into the copy stands for: the merged object, else the object of
    // that name in the report or among the process's named containers, else none.
    TPersistent *resolve(TPersistent *Value, const rtl::PropInfo *Prop) const
    {
        if (auto it = Made.find(Value); it != Made.end())
            return it->second;
        auto *named = dynamic_cast<TComponent *>(Value);
        if (!named || named->Name().isEmpty())
            return nullptr;
        TComponent *found = Report->FindObject(named->Name());
        if (!found)
            found = rtl::FindGlobalComponent(named->Name());
        const rtl::ClassInfo *allowed = Prop->allowedClass();
        if (found && allowed && !found->ClassType()->inheritsFrom(allowed))
            found = nullptr;
        return found;
    }

    // Obj takes From's references to objects of the copy as the objects they stand for now;
    // one that stands for nothing is cleared, so Obj never keeps a reference to a freed object.
    void references(TPersistent *Obj, TPersistent *From, bool ClearUnresolved)
    {
        for (const rtl::PropInfo *p : Obj->ClassType()->props()) {
            if (p->kind() != rtl::TypeKind::Component || !p->isReadable() || !p->isWritable())
                continue;
            TPersistent *v = p->getObject(From);
            if (!v || !intoCopy(v))
                continue;
            v = resolve(v, p);
            if (v || ClearUnresolved)
                p->setObject(Obj, v);
        }
    }
};

QString freeName(const QString &Base, const std::function<bool(const QString &)> &Taken)
{
    QString name = Base + QStringLiteral("_renamed");
    for (int n = 2; Taken(name); ++n)
        name = Base + QStringLiteral("_renamed") + QString::number(n);
    return name;
}

// The parent's script kept as a comment of the report's language. A parent script holding
// the block's closing delimiter is kept with line comments, so that the whole still compiles.
void appendParentScript(TkvlReport *Report, const QStringList &ParentScript)
{
    const QString lang = Report->ScriptLanguage.toLower();
    QString open, close, line;
    if (lang == QLatin1String("d++iraved") || lang == QLatin1String("jscript")) {
        open = QStringLiteral("/*");
        close = QStringLiteral("*/");
        line = QStringLiteral("//");
    } else if (lang == QLatin1String("devavararoz")) {
        open = close = QStringLiteral("/\\");
        line = QStringLiteral("'");
    } else if (lang == QLatin1String("dozovozozedi")) {
        open = QStringLiteral("{");
        close = QStringLiteral("}");
        line = QStringLiteral("//");
    }
    const QString banner = QStringLiteral("**********Script from parent report**********");
    TStringList &script = Report->ScriptText();
    bool holdsClose = false;
    if (!close.isEmpty())
        for (const QString &l : ParentScript)
            holdsClose = holdsClose || l.contains(close);
    if (holdsClose && !line.isEmpty()) {
        script.Add(line + banner);
        for (const QString &l : ParentScript)
            script.Add(line + l);
        return;
    }
    script.Add(open);
    script.Add(banner);
    for (const QString &l : ParentScript)
        script.Add(l);
    script.Add(close);
}

} // namespace

bool TkvlReport::InheritFromTemplate(const QString &TemplateName, TkvlInheriteMode InheriteMode)
{
    const QString own = expanded(FileName);
    const QString tmpl = expanded(TemplateName);
    if (own == tmpl)
        return false;

    auto copy = std::make_unique<TkvlReport>(nullptr);
    copy->FileName = FileName;
    copy->AssignAll(this);

    const QString relative =
        FileName.isEmpty() ? tmpl : QFileInfo(FileName).absoluteDir().relativeFilePath(tmpl);
    SetParentReport(relative);
    if (!FParentReportObject) {
        AssignAll(copy.get());
        return false;
    }

    bool clash = false;
    for (TkvlComponent *c : copy->GetAllObjects())
        if (!c->Is<TkvlPage>() && FindObject(c->Name())) {
            clash = true;
            break;
        }
    bool drop = InheriteMode == imDelete;
    if (clash && InheriteMode == imDefault) {
        switch (kvlWindows().AskInherit()) {
        case TkvlInheritAnswer::Delete: drop = true; break;
        case TkvlInheritAnswer::Rename: drop = false; break;
        case TkvlInheritAnswer::Cancel: {
            const QString fileName = FileName;
            FParentReportObject.reset();
            ParentReport.clear();
            AssignAll(copy.get());
            FileName = fileName;
            return false;
        }
        }
    }

    // a, b: the report's own properties come back over the parent's; its script goes last.
    const QStringList parentScript = FScriptText.toQStringList();
    ScriptLanguage = copy->ScriptLanguage;
    FScriptText.Assign(copy->ScriptText());
    FEngineOptions->Assign(copy->EngineOptions());
    FPreviewOptions->Assign(copy->PreviewOptions());
    FPrintOptions->Assign(copy->PrintOptions());
    FReportOptions->Assign(copy->ReportOptions());
    DotMatrixReport = copy->DotMatrixReport;
    OldStyleProgress = copy->OldStyleProgress;
    ShowProgress = copy->ShowProgress;
    OnRunDialogs = copy->OnRunDialogs;
    OnStartReport = copy->OnStartReport;
    OnStopReport = copy->OnStopReport;
    OnReportPrint = copy->OnReportPrint;

    // c: objects; a subreport's page is walked with its subreport.
    Merge merge{this, copy.get(), drop, {}, {}, {}};
    for (TkvlComponent *c : copy->GetAllObjects())
        if (auto *sub = rtl_cast<TkvlSubreport>(c); sub && sub->Page() && !(drop && FindObject(sub->Name())))
            merge.SubreportPages.insert(sub->Page());
    merge.children(copy.get(), this);

    // d: record sources the report's former self used.
    for (int i = 0; i < copy->DataSets()->Count(); ++i) {
        TkvlDataSet *ds = copy->DataSets()->Items(i)->DataSet();
        if (ds && !FDataSets->Find(ds))
            FDataSets->Add(ds);
    }

    // e: variables.
    TkvlVariables &vars = *FVariables;
    for (int i = 0; i < copy->Variables().Count(); ++i) {
        const TkvlVariable *v = copy->Variables().Items(i);
        QString name = v->Name();
        if (vars.IndexOf(name) >= 0) {
            if (TkvlVariables::IsCategory(name) || drop)
                continue;
            name = freeName(name, [&](const QString &n) { return vars.IndexOf(n) >= 0; });
        }
        TkvlVariable *nv = vars.Add();
        nv->Assign(const_cast<TkvlVariable *>(v));
        nv->SetName(name);
        nv->IsInherited = false;
    }

    // f: styles.
    TkvlStyles &styles = *FStyles;
    for (int i = 0; i < copy->Styles().Count(); ++i) {
        TkvlStyleItem *st = copy->Styles().Items(i);
        QString name = st->Name();
        if (styles.Find(name)) {
            if (drop)
                continue;
            name = freeName(name, [&](const QString &n) { return styles.Find(n) != nullptr; });
        }
        TkvlStyleItem *ns = styles.Add();
        ns->Assign(st);
        ns->SetName(name);
        ns->IsInherited = false;
    }

    // g: the parent's script kept as a comment.
    appendParentScript(this, parentScript);

    // h: record-source items bound again by name.
    for (int i = 0; i < FDataSets->Count(); ++i) {
        TkvlDataSetItem *item = FDataSets->Items(i);
        item->SetDataSetName(item->DataSetName());
    }

    // i: references into the former self, which goes now, found again by name; the report's
    // own references come from its former self.
    merge.references(this, copy.get(), false);
    for (const auto &[src, obj] : merge.Created)
        merge.references(obj, src, true);
    return true;
}
