#include "designer/core/vareditor.h"

#include "report/vars/kvlvariables.h"

namespace {

constexpr int kMaxName = 254;

bool isCategory(const QString &Name) { return TkvlVariables::IsCategory(Name); }

} // namespace

QString kvlUniqueVarName(const TkvlVariables &Vars, const QString &Base)
{
    for (int n = 1;; ++n) {
        const QString name = Base + QString::number(n);
        if (Vars.IndexOf(name) < 0)
            return name;
    }
}

QString kvlNewCategory(TkvlVariables &Vars)
{
    const QString name = kvlUniqueVarName(Vars, QStringLiteral(" New Category"));
    TkvlVariable *v = Vars.Add();
    v->SetName(name);
    v->SetValue(Variant(QString()));
    return name.mid(1);
}

QString kvlNewVariable(TkvlVariables &Vars, const QString &Category)
{
    const QString name = kvlUniqueVarName(Vars, QStringLiteral("New Variable"));
    if (!Category.isEmpty()) {
        Vars.AddVariable(Category, name, Variant(QString()));
        return Vars.IndexOf(name) >= 0 ? name : QString();
    }
    // No category: after the last entry before the first category.
    int at = 0;
    while (at < Vars.Count() && !isCategory(Vars.Items(at)->Name()))
        ++at;
    TkvlVariable *v = at >= Vars.Count() ? Vars.Add() : Vars.Insert(at);
    v->SetName(name);
    v->SetValue(Variant(QString()));
    return name;
}

bool kvlRenameEntry(TkvlVariables &Vars, const QString &Old, const QString &New, bool Category)
{
    const QString from = Category ? u' ' + Old : Old;
    const QString to = Category ? u' ' + New : New;
    const int self = Vars.IndexOf(from);
    if (self < 0)
        return false;
    for (int i = 0; i < Vars.Count(); ++i)
        if (i != self && Vars.Items(i)->Name().compare(to, Qt::CaseInsensitive) == 0)
            return false;
    Vars.Items(self)->SetName(to);
    return true;
}

QStringList kvlDictionaryLines(const TkvlVariables &Vars)
{
    QStringList lines;
    lines.reserve(Vars.Count());
    for (int i = 0; i < Vars.Count(); ++i) {
        const QString &n = Vars.Items(i)->Name();
        lines << (isCategory(n) ? n.mid(1) : u' ' + n);
    }
    return lines;
}

void kvlDictionaryFromLines(TkvlVariables &Vars, const QStringList &Lines)
{
    TkvlVariables rebuilt;
    for (const QString &line : Lines) {
        if (line.trimmed().isEmpty())
            continue;
        const QString name = isCategory(line) ? line.mid(1, kMaxName) : u' ' + line.left(kMaxName);
        const int old = Vars.IndexOf(name);
        TkvlVariable *v = rebuilt.Add();
        v->SetName(name);
        v->SetValue(old >= 0 ? Vars.Items(old)->Value() : Variant(QString()));
    }
    Vars.Assign(&rebuilt);
}

void kvlLoadVariablesKeeping(TkvlVariables &Vars, const QString &FileName)
{
    TkvlVariables fresh;
    fresh.LoadFromFile(FileName);
    Vars.Assign(&fresh);
}
