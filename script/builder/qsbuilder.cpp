#include "script/builder/qsbuilder.h"

#include "script/core/qsmessages.h"
#include "script/items/qsclasses.h"
#include "script/items/qsolehelper.h"
#include "platform/rtl/reflect/component.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/reflect/persistent.h"
#include "script/xml/qsxml.h"

#include <memory>

namespace {

QString nameOf(const TqsXMLItem *xi) { return xi->Name.toLower(); }
QString textOf(const TqsXMLItem *xi) { return xi->Prop(QStringLiteral("text")); }
QString quoted(const QString &name) { return QLatin1Char('\'') + name + QLatin1Char('\''); }

Variant defaultValue(TqsVarType t)
{
    switch (t) {
    case qvtBool: return Variant(false);
    case qvtChar:
    case qvtString: return Variant(QString());
    case qvtInt:
    case qvtFloat:
    case qvtClass:
    case qvtInt64: return Variant(0);
    default: return Variant::null();
    }
}

struct DepthGuard
{
    int &depth;
    explicit DepthGuard(int &d) : depth(d)
    {
        if (++depth > TqsBuilder::MaxDepth) {
            --depth;
            throw Exception(qsMessage(u"SNestingTooDeep"));
        }
    }
    ~DepthGuard() { --depth; }
};

} // namespace

TqsBuilder::TqsBuilder(TqsScript *script, bool needDeclareVars)
    : FScript(script), FNeedDeclareVars(needDeclareVars)
{
    FSourceLines = qsNormalizeLineEnds(script->SourceText()).split(QStringLiteral("\r\n"));
}

TqsXMLItem *TqsBuilder::Child(TqsXMLItem *xi, int index)
{
    if (!xi || index < 0 || index >= xi->Count())
        throw Exception(QStringLiteral("Invalid intermediate program"));
    return xi->Items(index);
}

void TqsBuilder::Fail(const QString &message) { throw Exception(message); }

void TqsBuilder::SetPos(TqsXMLItem *xi)
{
    const QString pos = xi->Prop(QStringLiteral("pos"));
    if (!pos.isEmpty())
        FErrorPos = pos;
}

bool TqsBuilder::ParseILScript(TqsXMLItem *root)
{
    FWithList.clear();
    FScript->ErrorUnit.clear();
    FUnitName.clear();
    try {
        if (!root || nameOf(root) != QLatin1String("program"))
            throw Exception(QStringLiteral("Invalid intermediate program"));
        DoProgram(root, FScript, FScript->Statement());
        FScript->ErrorPos.clear();
        return true;
    } catch (const Exception &e) {
        FScript->ErrorMsg = e.message();
    }
    if (FScript->ErrorMsg.isEmpty())
        FScript->ErrorMsg = QStringLiteral("Error");
    FScript->ErrorPos = FErrorPos;
    FScript->ErrorUnit = FUnitName;
    return false;
}

TqsDesignator *TqsBuilder::BuildDesignator(TqsXMLItem *xi, TqsScript *scope)
{
    FRunTime = true;
    return DoDesignator(xi, scope, emNone);
}

// ---- Programs and declarations

void TqsBuilder::DoProgram(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    DepthGuard depth(FDepth);
    TqsXMLItem *savedRoot = FProgRoot;
    FProgRoot = xi;
    Declare(xi, scope);
    for (int i = 0; i < xi->Count(); ++i)
        DoStmt(xi->Items(i), scope, list);
    FProgRoot = savedRoot;
}

// First pass: procedures and functions at this level and inside compound statements are
// declared before any statement is built, so they may be called before their text.
void TqsBuilder::Declare(TqsXMLItem *xi, TqsScript *scope)
{
    DepthGuard depth(FDepth);
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        const QString n = nameOf(c);
        if (n == QLatin1String("procedure") || n == QLatin1String("function"))
            DeclareProc(c, scope);
        else if (n == QLatin1String("compoundstmt"))
            Declare(c, scope);
    }
}

void TqsBuilder::DeclareProc(TqsXMLItem *xi, TqsScript *scope)
{
    SetPos(xi);
    const bool isProcElement = nameOf(xi) == QLatin1String("procedure");
    QString name, resultType = QStringLiteral("Variant");
    TqsXMLItem *params = nullptr;
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        const QString n = nameOf(c);
        if (n == QLatin1String("name") && name.isEmpty())
            name = textOf(c);
        else if (n == QLatin1String("type"))
            resultType = textOf(c);
        else if (n == QLatin1String("parameters"))
            params = c;
    }
    if (isProcElement && name.isEmpty())
        name = textOf(Child(xi, 0));
    if (name.isEmpty())
        Fail(QStringLiteral("Invalid intermediate program"));
    CheckIdent(scope, name);
    const bool isFunc = !isProcElement && resultType.compare(QLatin1String("void"), Qt::CaseInsensitive) != 0;
    auto proc = std::make_unique<TqsProcVariable>(scope, isFunc);
    proc->SetName(name);
    proc->FSourcePos = xi->Prop(QStringLiteral("pos"));
    proc->FSourceUnit = FUnitName;
    if (isFunc) {
        QString typeName = resultType;
        const TqsVarType t = FindType(typeName, scope);
        proc->SetType(t, typeName);
        proc->FIsReadOnly = true;
        TqsCustomVariable *result = (t == qvtString || t == qvtChar) ? static_cast<TqsCustomVariable *>(new TqsStringVariable)
                                                                      : new TqsVariable;
        result->SetName(QStringLiteral("Result"));
        result->SetType(t, typeName);
        result->Store(defaultValue(t));
        // each call starts from the empty value stored through Result's conversion
        result->FValue = Variant();
        result->Store(Variant());
        proc->FProgram->Add(QStringLiteral("Result"), result);
        proc->FRefItem = result;
    }
    TqsProcVariable *p = proc.get();
    scope->Add(name, proc.release());
    if (params)
        DoParameters(params, p);
}

void TqsBuilder::DoParameters(TqsXMLItem *xi, TqsProcVariable *proc)
{
    bool groupByRef = false;
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *g = xi->Items(i);
        const QString n = nameOf(g);
        if (n == QLatin1String("varparams")) {
            groupByRef = true;
            continue;
        }
        if (n != QLatin1String("var"))
            continue;
        bool nameByRef = false;
        int identIndex = 0;
        for (int j = 0; j < g->Count(); ++j) {
            TqsXMLItem *c = g->Items(j);
            const QString cn = nameOf(c);
            if (cn == QLatin1String("varparam"))
                nameByRef = true;
            else if (cn == QLatin1String("ident")) {
                SetPos(c);
                CheckIdent(proc->FProgram, textOf(c));
                auto *p = static_cast<TqsParamItem *>(CreateVar(g, proc->FProgram, groupByRef || nameByRef, true, nullptr, identIndex));
                proc->AddParam(p);
                proc->FProgram->Add(p->FName, p);
                nameByRef = false;
                ++identIndex;
            }
        }
        groupByRef = false;
    }
}

void TqsBuilder::DoVar(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    int identIndex = 0;
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        if (nameOf(c) != QLatin1String("ident"))
            continue;
        SetPos(c);
        CheckIdent(scope, textOf(c));
        TqsCustomVariable *v = CreateVar(xi, scope, false, false, list, identIndex++);
        (void)v;
    }
}

TqsCustomVariable *TqsBuilder::CreateVar(TqsXMLItem *xi, TqsScript *scope, bool byRef, bool isParam,
                                         TqsStatement *list, int identIndex)
{
    // Which children belong to this name: those between its ident and the next one, and
    // when the type is written after the names, also the tail after the last name.
    int typeIdx = -1, firstIdent = -1;
    std::vector<int> idents;
    for (int i = 0; i < xi->Count(); ++i) {
        const QString n = nameOf(xi->Items(i));
        if (n == QLatin1String("type") && typeIdx < 0)
            typeIdx = i;
        else if (n == QLatin1String("ident")) {
            idents.push_back(i);
            if (firstIdent < 0)
                firstIdent = i;
        }
    }
    if (identIndex >= int(idents.size()))
        Fail(QStringLiteral("Invalid intermediate program"));
    const bool shared = !(typeIdx >= 0 && typeIdx < firstIdent);
    const int me = idents[size_t(identIndex)];
    const int next = identIndex + 1 < int(idents.size()) ? idents[size_t(identIndex) + 1] : xi->Count();
    std::vector<TqsXMLItem *> owned;
    for (int i = me + 1; i < next; ++i)
        owned.push_back(xi->Items(i));
    if (shared && next < xi->Count())
        for (int i = idents.back() + 1; i < xi->Count(); ++i)
            owned.push_back(xi->Items(i));
    TqsXMLItem *ident = xi->Items(me);
    const QString name = textOf(ident);

    QString typeName = typeIdx >= 0 ? textOf(xi->Items(typeIdx)) : QStringLiteral("Variant");
    const TqsVarType basic = FindType(typeName, scope);
    Variant start = defaultValue(basic);
    TqsVarType typ = basic;
    TqsArrayHelper *helper = nullptr;
    TqsXMLItem *init = nullptr;
    for (TqsXMLItem *c : owned) {
        const QString n = nameOf(c);
        if (n == QLatin1String("init"))
            init = c;
        if (n != QLatin1String("array"))
            continue;
        SetPos(c);
        std::vector<std::pair<int, int>> bounds;
        qint64 elements = 1;
        for (int d = 0; d < c->Count(); ++d) {
            TqsXMLItem *dim = c->Items(d);
            if (nameOf(dim) != QLatin1String("dim"))
                continue;
            SetPos(dim);
            std::vector<int> vals;
            for (int k = 0; k < dim->Count(); ++k) {
                std::unique_ptr<TqsExpression> e(DoExpression(dim->Items(k), scope));
                vals.push_back(e->GetValue().toInt());
            }
            if (vals.empty())
                Fail(QStringLiteral("Invalid intermediate program"));
            const std::pair<int, int> b = vals.size() == 1 ? std::pair<int, int>{0, vals[0] - 1} : std::pair<int, int>{vals[0], vals[1]};
            if (b.second < b.first - 1)
                throw EqsRunError(QStringLiteral("Invalid array bounds"));
            elements *= qint64(b.second) - b.first + 1;
            if (elements > qsMaxArrayElements)
                throw EqsRunError(QStringLiteral("Array too large"));
            bounds.push_back(b);
        }
        if (bounds.empty())
            bounds.push_back({0, 0});
        if (int(bounds.size()) > qsMaxArrayDims)
            throw EqsRunError(QStringLiteral("Too many array dimensions"));
        start = Variant::createArray(std::span<const std::pair<int, int>>(bounds));
        helper = new TqsArrayHelper(int(bounds.size()));
        helper->SetType(basic, typeName);
        scope->Add(QString(), helper);
        typ = qvtArray;
    }

    std::unique_ptr<TqsCustomVariable> item;
    if (isParam)
        item.reset(new TqsParamItem);
    else if (typ == qvtChar || typ == qvtString)
        item.reset(new TqsStringVariable);
    else
        item.reset(new TqsVariable);
    item->SetName(name);
    item->SetType(typ, typ == qvtArray ? QString() : typeName);
    item->FRefItem = helper;
    item->FSourcePos = ident->Prop(QStringLiteral("pos"));
    item->FSourceUnit = FUnitName;
    item->FOnGetVarValue = FScript->OnGetVarValue;
    if (isParam)
        item->FValue = start;
    else
        item->Store(start);
    if (isParam) {
        auto *p = static_cast<TqsParamItem *>(item.get());
        p->FIsVarParam = byRef;
        if (init && init->Count() > 0) {
            SetPos(init);
            std::unique_ptr<TqsExpression> e(DoExpression(Child(init, 0), scope));
            CheckTypeCompatibility(p, e.get());
            p->FDefValue = e->GetValue();
            p->FValue = p->FDefValue;
            p->FIsOptional = true;
        }
        return item.release();
    }
    TqsCustomVariable *v = item.release();
    scope->Add(name, v);
    if (init && init->Count() > 0 && list) {
        SetPos(init);
        auto *stmt = new TqsAssignmentStmt(scope, init->Prop(QStringLiteral("pos")), FUnitName);
        list->Add(stmt);
        stmt->FDesignator = new TqsDesignator(scope);
        stmt->FDesignator->FItems.push_back({v, false, {}, ident->Prop(QStringLiteral("pos"))});
        stmt->FDesignator->Finalize();
        stmt->FExpression = DoExpression(Child(init, 0), scope);
        CheckTypeCompatibility(v, stmt->FExpression);
        stmt->Optimize();
    }
    return v;
}

void TqsBuilder::DoConst(TqsXMLItem *xi, TqsScript *scope)
{
    TqsXMLItem *ident = Child(xi, 0);
    SetPos(ident);
    const QString name = textOf(ident);
    CheckIdent(scope, name);
    std::unique_ptr<TqsExpression> e(DoExpression(Child(xi, 1), scope));
    auto *v = (e->FTyp == qvtString || e->FTyp == qvtChar) ? static_cast<TqsCustomVariable *>(new TqsStringVariable)
                                                           : new TqsVariable;
    v->SetName(name);
    v->SetType(e->FTyp, e->FTypeName);
    v->FSourcePos = ident->Prop(QStringLiteral("pos"));
    v->FSourceUnit = FUnitName;
    try {
        v->FValue = e->GetValue();
    } catch (...) {
        delete v;
        throw;
    }
    v->FIsReadOnly = true;
    scope->Add(name, v);
}

void TqsBuilder::DoUses(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    const QString savedUnit = FUnitName;
    FUnitName = xi->Prop(QStringLiteral("unit"));
    QString text;
    if (FScript->OnGetILUnit)
        FScript->OnGetILUnit(FScript, FUnitName, text);
    if (!text.isEmpty()) {
        TqsXMLDocument doc;
        doc.LoadFromBytes(text.toUtf8());
        DoProgram(doc.Root(), scope, list);
    } else {
        for (int i = 0; i < xi->Count(); ++i) {
            TqsXMLItem *c = xi->Items(i);
            if (nameOf(c) == QLatin1String("program"))
                DoProgram(c, scope, list);
        }
    }
    FUnitName = savedUnit;
}

// ---- Names and types

void TqsBuilder::CheckIdent(TqsScript *scope, const QString &name)
{
    if (scope->FindLocal(name))
        Fail(qsMessage(u"SIdRedeclared") + quoted(name));
}

TqsCustomVariable *TqsBuilder::FindVar(TqsScript *scope, const QString &name)
{
    if (auto *v = dynamic_cast<TqsCustomVariable *>(scope->Find(name)))
        return v;
    if (FNeedDeclareVars)
        Fail(qsMessage(u"SIdUndeclared") + quoted(name));
    // Undeclared names are globals of the script being compiled.
    auto *v = new TqsVariable;
    v->SetName(name);
    v->SetType(qvtVariant, QStringLiteral("Variant"));
    v->FOnGetVarValue = FScript->OnGetVarValue;
    FScript->Add(name, v);
    return v;
}

TqsXMLItem *TqsBuilder::TypesOf(TqsXMLItem *program)
{
    const auto it = FTypes.constFind(program);
    if (it != FTypes.constEnd())
        return *it;
    // The copy of the language's types follows the statements: look from the end.
    TqsXMLItem *types = nullptr;
    for (int i = program->Count() - 1; i >= 0 && !types; --i)
        if (program->Items(i)->Name.compare(QLatin1String("types"), Qt::CaseInsensitive) == 0)
            types = program->Items(i);
    FTypes.insert(program, types);
    return types;
}

TqsVarType TqsBuilder::FindType(QString &name, TqsScript *scope)
{
    // Aliases of the language ("int" = Integer) travel with the program.
    TqsXMLItem *root = FProgRoot;
    while (root && root->Parent() && nameOf(root) != QLatin1String("program"))
        root = root->Parent();
    if (root) {
        if (TqsXMLItem *types = TypesOf(root)) {
            for (int i = 0; i < types->Count(); ++i)
                if (types->Items(i)->Name.compare(name, Qt::CaseInsensitive) == 0) {
                    name = types->Items(i)->Prop(QStringLiteral("type"));
                    break;
                }
        }
    }
    const TqsVarType t = StrToVarType(name, scope);
    if (t == qvtClass && !scope->FindClass(name))
        Fail(qsMessage(u"SUnknownType") + quoted(name));
    if (auto *item = dynamic_cast<TqsCustomVariable *>(scope->Find(name)))
        name = item->FName;
    return t;
}

void TqsBuilder::CheckTypeCompatibility(const TqsCustomVariable *target, const TqsCustomVariable *expr)
{
    if (!AssignCompatible(target->TypeRec(), expr->TypeRec(), FScript))
        Fail(qsMessage(u"SIncompatibleTypes") + QStringLiteral(": '") + target->GetFullTypeName() + QStringLiteral("', '")
             + expr->GetFullTypeName() + QLatin1Char('\''));
}

TqsDesignator *TqsBuilder::LateBound(TqsDesignator *d, TqsXMLItem *source)
{
    for (TqsDesignatorItem &item : d->FItems)
        for (TqsExpression *e : item.FArgs)
            delete e;
    d->FItems.clear();
    d->FLateBindingXmlSource = source;
    d->FNeedDeclareVars = FNeedDeclareVars;
    d->SetType(qvtVariant, QStringLiteral("Variant"));
    d->FIsReadOnly = false;
    d->FDKind = TqsDesignator::dkOther;
    return d;
}

TqsCustomVariable *TqsBuilder::FreeHelper(TqsScript *scope)
{
    // Frees the object of the chain value; registered unnamed in the scope.
    auto *m = new TqsMethodHelper(QStringLiteral("procedure Free"), scope);
    m->FOnCallNew = [](const Variant &instance, const QString &, TqsMethodHelper &) {
        delete qsObjectOf(instance);
        return Variant::null();
    };
    scope->Add(QString(), m);
    return m;
}

TqsCustomVariable *TqsBuilder::Helper(TqsScript *scope, const char *name)
{
    auto *h = dynamic_cast<TqsCustomVariable *>(scope->Find(QString::fromLatin1(name)));
    if (!h)
        Fail(qsMessage(u"SIdUndeclared") + quoted(QLatin1String(name)));
    return h;
}

QString TqsBuilder::SourceBetween(const QString &pos, const QString &pos1) const
{
    if (!FUnitName.isEmpty() || pos.isEmpty() || pos1.isEmpty())
        return QString();
    try {
        const QPoint a = qsPosToPoint(pos), b = qsPosToPoint(pos1);
        if (a.y() < 1 || b.y() < a.y() || b.y() > FSourceLines.size())
            return QString();
        QString s;
        for (int line = a.y(); line <= b.y(); ++line) {
            const QString &t = FSourceLines[line - 1];
            const int from = line == a.y() ? a.x() - 1 : 0;
            const int to = line == b.y() ? b.x() - 1 : int(t.size());
            if (line > a.y())
                s += QStringLiteral("\r\n");
            s += t.mid(from, std::max(0, to - from));
        }
        return s.trimmed();
    } catch (const Exception &) {
        return QString();
    }
}

// ---- Expressions

TqsExpression *TqsBuilder::DoExpression(TqsXMLItem *xi, TqsScript *scope)
{
    DepthGuard depth(FDepth);
    SetPos(xi);
    auto e = std::make_unique<TqsExpression>(scope);
    e->FSource = SourceBetween(xi->Prop(QStringLiteral("pos")), xi->Prop(QStringLiteral("pos1")));
    if (nameOf(xi) == QLatin1String("expr"))
        AddExprChildren(e.get(), xi, scope);
    else
        Fail(QStringLiteral("Invalid intermediate program"));
    const QString conflict = e->Finalize();
    if (!conflict.isEmpty()) {
        FErrorPos = conflict;
        Fail(qsMessage(u"SIncompatibleTypes"));
    }
    return e.release();
}

void TqsBuilder::AddExprChildren(TqsExpression *e, TqsXMLItem *xi, TqsScript *scope)
{
    DepthGuard depth(FDepth);
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        SetPos(c);
        e->FCurPos = c->Prop(QStringLiteral("pos"));
        const QString n = nameOf(c);
        if (n == QLatin1String("op")) {
            const QString op = textOf(c).toLower();
            if (i + 1 == xi->Count() && op != QLatin1String(")"))
                continue; // a trailing operator left by a failed alternative
            if (!e->AddOperator(op))
                Fail(QStringLiteral("Invalid intermediate program"));
        } else if (n == QLatin1String("number") || n == QLatin1String("string")) {
            e->AddConst(ParserStringToVariant(textOf(c)));
        } else if (n == QLatin1String("dsgn")) {
            e->AddDesignator(DoDesignator(c, scope, emNone));
        } else if (n == QLatin1String("set")) {
            e->AddSet(DoSet(c, scope));
        } else if (n == QLatin1String("new")) {
            const int d = c->Find(QStringLiteral("dsgn"));
            e->AddDesignator(DoDesignator(Child(c, d), scope, emCreate));
        } else if (n == QLatin1String("expr")) {
            AddExprChildren(e, c, scope);
        }
    }
}

TqsSetExpression *TqsBuilder::DoSet(TqsXMLItem *xi, TqsScript *scope)
{
    auto set = std::make_unique<TqsSetExpression>();
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        const QString n = nameOf(c);
        if (n == QLatin1String("expr"))
            set->FItems.push_back(DoExpression(c, scope));
        else if (n == QLatin1String("range"))
            set->FItems.push_back(nullptr);
    }
    return set.release();
}

TqsDesignator *TqsBuilder::DoDesignator(TqsXMLItem *xi, TqsScript *scope, TqsEmitOp emit)
{
    DepthGuard depth(FDepth);
    SetPos(xi);
    auto d = std::make_unique<TqsDesignator>(scope);
    // Members of an automation object: items whose helper is made once their arguments are known.
    std::vector<std::pair<size_t, QString>> automation;
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        SetPos(c);
        const QString n = nameOf(c);
        const QString pos = c->Prop(QStringLiteral("pos"));
        if (!automation.empty() && n == QLatin1String("node")) {
            // every member after an automation member is one too; an index adds nothing
            if (textOf(c) != QLatin1String("[")) {
                automation.push_back({d->FItems.size(), textOf(c)});
                d->FItems.push_back({nullptr, false, {}, pos});
            }
            continue;
        }
        if (n == QLatin1String("addr")) {
            if (xi->Count() != 2)
                Fail(qsMessage(u"SVarRequired"));
            auto *sv = new TqsStringVariable;
            sv->SetType(qvtString, QStringLiteral("String"));
            sv->FValue = Variant(textOf(Child(xi, 1)));
            sv->FIsReadOnly = true;
            scope->Add(QString(), sv);
            d->FItems.push_back({sv, false, {}, pos});
            break;
        }
        if (n == QLatin1String("expr")) {
            if (d->FItems.empty())
                Fail(QStringLiteral("Invalid intermediate program"));
            d->FItems.back().FArgs.push_back(DoExpression(c, scope));
            continue;
        }
        if (n != QLatin1String("node"))
            continue;
        const QString name = textOf(c);
        if (d->FItems.empty()) {
            // members of the objects of open with statements, innermost first
            bool viaWith = false;
            for (auto it = FWithList.rbegin(); it != FWithList.rend() && !viaWith; ++it) {
                TqsCustomVariable *w = *it;
                if (scope->FindLocal(w->FName) != w)
                    continue;
                if (w->FTyp == qvtVariant) {
                    if (scope->Find(name))
                        break; // a known name wins
                    // the object is known only at run time: w.name is built then
                    auto *copy = new TqsXMLItem;
                    copy->Assign(xi);
                    auto *first = new TqsXMLItem;
                    first->Name = QStringLiteral("node");
                    first->SetProp(QStringLiteral("text"), w->FName);
                    first->SetProp(QStringLiteral("pos"), pos);
                    copy->InsertItem(0, first);
                    return LateBound(d.release(), copy);
                }
                TqsClassVariable *cls = w->FTyp == qvtClass ? scope->FindClass(w->FTypeName) : nullptr;
                if (TqsCustomVariable *m = cls ? cls->Find(name) : nullptr) {
                    d->FItems.push_back({w, false, {}, pos});
                    d->FItems.push_back({m, false, {}, pos});
                    viaWith = true;
                }
            }
            if (viaWith)
                continue;
            TqsCustomVariable *v = FindVar(scope, name);
            d->FItems.push_back({v, false, {}, pos});
            if (emit == emCreate) {
                auto *cls = dynamic_cast<TqsClassVariable *>(v);
                if (!cls)
                    Fail(qsMessage(u"SClassRequired"));
                TqsCustomVariable *ctor = cls->Find(u"Create");
                if (!ctor)
                    ctor = cls->DefaultConstructor();
                if (!ctor)
                    Fail(qsMessage(u"SIdUndeclared") + quoted(QStringLiteral("Create")));
                d->FItems.push_back({ctor, false, {}, pos});
            }
            continue;
        }
        TqsDesignatorItem &prev = d->FItems.back();
        TqsCustomVariable *r = prev.FRef;
        const bool index = name == QLatin1String("[");
        auto *method = r->FKind == TqsCustomVariable::kMethod ? static_cast<TqsMethodHelper *>(r) : nullptr;
        if (method && method->FIndexMethod && !prev.FFlag) {
            // the index of an index property: its arguments follow
            if (!index)
                Fail(qsMessage(u"SIndexRequired"));
            prev.FFlag = true;
            continue;
        }
        if (r->FKind == TqsCustomVariable::kArrayHelper || r->FKind == TqsCustomVariable::kStringHelper) {
            // a further [ after an index: the element's own index
            if (!index)
                Fail(qsMessage(u"SStringError"));
            d->FItems.push_back({Helper(scope, "__ArrayHelper"), false, {}, pos});
            continue;
        }
        TqsVarType typ = r->FTyp;
        QString typeName = r->FTypeName;
        if (typ == qvtVariant && !index && r->FKind <= TqsCustomVariable::kParam) {
            // a Variant holding an object reference is taken as that object's class
            const Variant &cur = r->Value();
            TPersistent *obj = cur.isOrdinal() && cur.toInt64() != 0 ? rtl::variantToObject<TPersistent>(cur) : nullptr;
            if (obj) {
                typ = qvtClass;
                // a class scripts do not know is taken as its nearest known ancestor
                const rtl::ClassInfo *c = obj->ClassType();
                while (c->parent() && !scope->FindClass(c->name()))
                    c = c->parent();
                typeName = c->name();
            } else if (cur.isString())
                typ = qvtString;
            else if (cur.isDispatch()) {
                automation.push_back({d->FItems.size(), name});
                d->FItems.push_back({nullptr, false, {}, pos});
                continue;
            }
        }
        switch (typ) {
        case qvtVariant:
            if (!index) {
                if (FRunTime)
                    Fail(qsMessage(u"SIdUndeclared") + quoted(name)); // still no object to bind the member to
                auto *copy = new TqsXMLItem;
                copy->Assign(xi);
                return LateBound(d.release(), copy);
            }
            d->FItems.push_back({Helper(scope, "__ArrayHelper"), false, {}, pos});
            break;
        case qvtString:
        case qvtChar:
            if (!index)
                Fail(qsMessage(u"SStringError"));
            d->FItems.push_back({Helper(scope, "__StringHelper"), false, {}, pos});
            break;
        case qvtArray:
            if (!index)
                Fail(qsMessage(u"SIndexRequired"));
            d->FItems.push_back({r->FRefItem ? r->FRefItem : Helper(scope, "__ArrayHelper"), false, {}, pos});
            break;
        case qvtClass:
        case qvtConstructor: {
            TqsClassVariable *cls = scope->FindClass(typeName);
            if (!cls)
                Fail(qsMessage(u"SUnknownType") + quoted(typeName));
            if (index) {
                if (!cls->FDefProperty)
                    Fail(qsFormatMessage(u"SClassError", cls->FName));
                d->FItems.push_back({cls->FDefProperty, true, {}, pos});
                break;
            }
            TqsCustomVariable *m = cls->Find(name);
            if (!m && name.compare(QLatin1String("Create"), Qt::CaseInsensitive) == 0)
                m = cls->DefaultConstructor();
            if (!m && name.compare(QLatin1String("Free"), Qt::CaseInsensitive) == 0)
                m = FreeHelper(scope);
            if (!m) {
                // an owned component of the object at hand
                TPersistent *obj = r->FKind <= TqsCustomVariable::kParam && r->Value().isOrdinal() && r->Value().toInt64() != 0
                                       ? rtl::variantToObject<TPersistent>(r->Value())
                                       : nullptr;
                auto *owner = dynamic_cast<TComponent *>(obj);
                TComponent *comp = owner ? owner->FindComponent(name) : nullptr;
                if (!comp && !obj && !FRunTime && FScript->UseClassLateBinding && !FScript->IsRunning) {
                    // the object is set later: its components are looked up at the first use
                    auto *copy = new TqsXMLItem;
                    copy->Assign(xi);
                    return LateBound(d.release(), copy);
                }
                if (!comp)
                    Fail(qsMessage(u"SIdUndeclared") + quoted(name));
                auto *k = new TqsVariable;
                k->SetName(name);
                k->SetType(qvtClass, comp->ClassName());
                k->FValue = rtl::objectToVariant(comp);
                k->FIsReadOnly = true;
                scope->Add(QString(), k);
                // the component stands for the whole chain so far
                for (TqsDesignatorItem &old : d->FItems)
                    for (TqsExpression *e : old.FArgs)
                        delete e;
                d->FItems.clear();
                d->FItems.push_back({k, false, {}, pos});
                break;
            }
            d->FItems.push_back({m, false, {}, pos});
            break;
        }
        default: Fail(qsMessage(u"SArrayRequired"));
        }
    }
    if (d->FItems.empty())
        Fail(QStringLiteral("Invalid intermediate program"));
    for (const auto &[at, member] : automation) {
        TqsDesignatorItem &item = d->FItems[at];
        FErrorPos = item.FSourcePos.isEmpty() ? FErrorPos : item.FSourcePos;
        if (int(item.FArgs.size()) > qsMaxDispatchArgs)
            Fail(qsMessage(u"STooManyParams"));
        auto *helper = new TqsOLEHelper(member, int(item.FArgs.size()), scope);
        scope->Add(QString(), helper);
        item.FRef = helper;
    }
    if (emit == emFree) {
        TqsCustomVariable *last = d->FItems.back().FRef;
        if (last->FTyp != qvtClass && last->FTyp != qvtVariant)
            Fail(qsMessage(u"SClassRequired"));
        d->FItems.push_back({FreeHelper(scope), false, {}, d->FItems.back().FSourcePos});
    }
    d->Finalize();
    for (TqsDesignatorItem &item : d->FItems) {
        TqsCustomVariable *r = item.FRef;
        const bool callable = r->FKind == TqsCustomVariable::kProc || r->FKind == TqsCustomVariable::kMethod
                              || r->FKind == TqsCustomVariable::kStringHelper || r->FKind == TqsCustomVariable::kArrayHelper
                              || r->FKind == TqsCustomVariable::kClass;
        if (!callable)
            continue;
        FErrorPos = item.FSourcePos.isEmpty() ? FErrorPos : item.FSourcePos;
        if (int(item.FArgs.size()) < r->GetNumberOfRequiredParams())
            Fail(qsMessage(u"SNotEnoughParams"));
        if (int(item.FArgs.size()) > r->ParamCount())
            Fail(qsMessage(u"STooManyParams"));
        for (int k = int(item.FArgs.size()); k < r->ParamCount(); ++k) {
            TqsParamItem *p = r->Params(k);
            if (!p->FIsOptional || p->FDefValue.isEmptyOrNull())
                break;
            auto *e = new TqsExpression(scope);
            item.FArgs.push_back(e);
            e->AddConst(p->FDefValue);
            e->Finalize();
        }
        for (size_t k = 0; k < item.FArgs.size(); ++k) {
            TqsExpression *arg = item.FArgs[k];
            if (!arg->FCurPos.isEmpty())
                FErrorPos = arg->FCurPos;
            if (r->FIsMacro)
                continue;
            CheckTypeCompatibility(r->Params(int(k)), arg);
        }
    }
    return d.release();
}

// ---- Statements

template <class T>
T *TqsBuilder::NewStmt(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    const QString pos = xi->Prop(QStringLiteral("pos"));
    T *s = new T(scope, pos, FUnitName);
    list->Add(s);
    FScript->AddCodeLine(FUnitName, pos);
    return s;
}

void TqsBuilder::DoChildren(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list, int from, int to)
{
    if (to < 0)
        to = xi->Count();
    for (int i = from; i < to; ++i)
        DoStmt(xi->Items(i), scope, list);
}

void TqsBuilder::DoStmt(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    DepthGuard depth(FDepth);
    SetPos(xi);
    const QString n = nameOf(xi);
    if (n == QLatin1String("assignstmt"))
        DoAssign(xi, scope, list);
    else if (n == QLatin1String("callstmt"))
        DoCall(xi, scope, list);
    else if (n == QLatin1String("ifstmt"))
        DoIf(xi, scope, list);
    else if (n == QLatin1String("casestmt"))
        DoCase(xi, scope, list);
    else if (n == QLatin1String("forstmt"))
        DoFor(xi, scope, list, false);
    else if (n == QLatin1String("vbforstmt"))
        DoFor(xi, scope, list, true);
    else if (n == QLatin1String("cppforstmt"))
        DoCppFor(xi, scope, list);
    else if (n == QLatin1String("whilestmt"))
        DoWhile(xi, scope, list);
    else if (n == QLatin1String("repeatstmt"))
        DoRepeat(xi, scope, list);
    else if (n == QLatin1String("trystmt"))
        DoTry(xi, scope, list);
    else if (n == QLatin1String("break"))
        NewStmt<TqsBreakStmt>(xi, scope, list);
    else if (n == QLatin1String("continue"))
        NewStmt<TqsContinueStmt>(xi, scope, list);
    else if (n == QLatin1String("exit"))
        NewStmt<TqsExitStmt>(xi, scope, list);
    else if (n == QLatin1String("return"))
        DoReturn(xi, scope, list);
    else if (n == QLatin1String("with"))
        DoWith(xi, scope, list);
    else if (n == QLatin1String("delete")) {
        auto *s = NewStmt<TqsCallStmt>(xi, scope, list);
        s->FDesignator = DoDesignator(Child(xi, 0), scope, emFree);
    } else if (n == QLatin1String("compoundstmt"))
        DoChildren(xi, scope, list);
    else if (n == QLatin1String("uses"))
        DoUses(xi, scope, list);
    else if (n == QLatin1String("var"))
        DoVar(xi, scope, list);
    else if (n == QLatin1String("const"))
        DoConst(xi, scope);
    else if (n == QLatin1String("procedure") || n == QLatin1String("function")) {
        QString name;
        for (int i = 0; i < xi->Count() && name.isEmpty(); ++i)
            if (nameOf(xi->Items(i)) == QLatin1String("name"))
                name = textOf(xi->Items(i));
        auto *proc = dynamic_cast<TqsProcVariable *>(scope->FindLocal(name));
        if (!proc) // defined inside another statement: never declared by the first pass
            Fail(qsMessage(u"SIdUndeclared") + quoted(name));
        DoProgram(xi, proc->FProgram, proc->FProgram->Statement());
    }
}

void TqsBuilder::DoAssign(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    // built aside, then placed as the plain or the compound statement
    auto s = std::make_unique<TqsAssignmentStmt>(scope, xi->Prop(QStringLiteral("pos")), FUnitName);
    s->FDesignator = DoDesignator(Child(xi, 0), scope, emNone);
    int exprIdx = 1;
    char mod = ' ';
    if (nameOf(Child(xi, 1)) == QLatin1String("modificator")) {
        const QString m = textOf(xi->Items(1));
        mod = m.isEmpty() ? ' ' : char(m.at(0).toLatin1());
        exprIdx = 2;
    }
    SetPos(Child(xi, 0));
    if (s->FDesignator->FIsReadOnly)
        Fail(qsMessage(u"SLeftCantAssigned"));
    s->FExpression = DoExpression(Child(xi, exprIdx), scope);
    CheckTypeCompatibility(s->FDesignator, s->FExpression);
    if (mod != '+' && mod != '-' && mod != '*' && mod != '/')
        mod = ' ';
    if (mod == ' ' && s->FDesignator->FDKind == TqsDesignator::dkVariable)
        mod = s->FExpression->Optimize(s->FDesignator->FRefItem);
    TqsAssignmentStmt *stmt = s.get();
    if (mod != ' ') {
        stmt = new TqsCompoundAssignStmt(scope, s->FSourcePos, FUnitName);
        stmt->FDesignator = std::exchange(s->FDesignator, nullptr);
        stmt->FExpression = std::exchange(s->FExpression, nullptr);
        s.reset();
    } else
        s.release();
    stmt->FModificator = mod;
    stmt->Optimize();
    list->Add(stmt);
    FScript->AddCodeLine(FUnitName, stmt->FSourcePos);
}

void TqsBuilder::DoCall(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    std::unique_ptr<TqsDesignator> d(DoDesignator(Child(xi, 0), scope, emNone));
    const bool counter = xi->Count() > 1;
    TqsCallStmt *s;
    if (counter && d->FDKind == TqsDesignator::dkVariable) {
        auto *inc = NewStmt<TqsIncStmt>(xi, scope, list);
        inc->FVar = d->FRefItem;
        s = inc;
    } else
        s = NewStmt<TqsCallStmt>(xi, scope, list);
    s->FDesignator = d.release();
    if (counter) {
        const QString m = textOf(xi->Items(1));
        s->FModificator = m.startsWith(QLatin1Char('-')) ? '-' : '+';
        SetPos(Child(xi, 0));
        if (s->FDesignator->FIsReadOnly)
            Fail(qsMessage(u"SLeftCantAssigned"));
    }
}

void TqsBuilder::DoIf(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    auto *s = NewStmt<TqsIfStmt>(xi, scope, list);
    s->FCondition = DoExpression(Child(xi, 0), scope);
    for (int i = 1; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        const QString n = nameOf(c);
        if (n == QLatin1String("thenstmt"))
            DoChildren(c, scope, s);
        else if (n == QLatin1String("elsestmt")) {
            if (!s->FElseStmt)
                s->FElseStmt = new TqsStatement(scope, c->Prop(QStringLiteral("pos")), FUnitName);
            DoChildren(c, scope, s->FElseStmt);
        }
    }
}

void TqsBuilder::DoCase(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    auto *s = NewStmt<TqsCaseStmt>(xi, scope, list);
    s->FCondition = DoExpression(Child(xi, 0), scope);
    for (int i = 1; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        if (nameOf(c) == QLatin1String("caseselector")) {
            // A branch whose statement is empty still takes its values.
            if (c->Count() < 1 || c->Count() > 2)
                continue;
            SetPos(c);
            auto *sel = new TqsCaseSelector(scope, c->Prop(QStringLiteral("pos")), FUnitName);
            s->Add(sel);
            sel->FSetExpression = DoSet(Child(c, 0), scope);
            if (c->Count() == 2)
                DoStmt(c->Items(1), scope, sel);
        } else if (i + 1 == xi->Count()) {
            s->FElseStmt = new TqsStatement(scope, c->Prop(QStringLiteral("pos")), FUnitName);
            DoStmt(c, scope, s->FElseStmt);
        }
    }
}

void TqsBuilder::DoFor(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list, bool vb)
{
    const QString pos = xi->Prop(QStringLiteral("pos"));
    TqsXMLItem *ident = Child(xi, 0);
    SetPos(ident);
    TqsCustomVariable *var = FindVar(scope, textOf(ident));
    const bool numeric = var->FTyp == qvtInt || var->FTyp == qvtFloat || var->FTyp == qvtVariant || var->FTyp == qvtInt64;
    if (var->FKind != TqsCustomVariable::kVariable || !numeric || var->FIsReadOnly)
        Fail(qsMessage(u"SForError"));
    std::vector<TqsXMLItem *> exprs;
    int bodyIdx = -1;
    bool down = false;
    const int maxExprs = vb ? 3 : 2;
    for (int i = 1; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        const QString n = nameOf(c);
        if (n == QLatin1String("downto"))
            down = true;
        else if (n == QLatin1String("expr") && int(exprs.size()) < maxExprs && bodyIdx < 0)
            exprs.push_back(c);
        else if (bodyIdx < 0)
            bodyIdx = i;
    }
    if (exprs.size() < 2)
        Fail(QStringLiteral("Invalid intermediate program"));
    TqsStatement *loop;
    if (vb) {
        auto *s = new TqsVbForStmt(scope, pos, FUnitName);
        list->Add(s);
        s->FVariable = var;
        s->FBeginValue = DoExpression(exprs[0], scope);
        CheckTypeCompatibility(var, s->FBeginValue);
        s->FEndValue = DoExpression(exprs[1], scope);
        CheckTypeCompatibility(var, s->FEndValue);
        if (exprs.size() > 2) {
            s->FStep = DoExpression(exprs[2], scope);
            CheckTypeCompatibility(var, s->FStep);
        }
        loop = s;
    } else {
        auto *s = new TqsForStmt(scope, pos, FUnitName);
        list->Add(s);
        s->FVariable = var;
        s->FDown = down;
        s->FBeginValue = DoExpression(exprs[0], scope);
        CheckTypeCompatibility(var, s->FBeginValue);
        s->FEndValue = DoExpression(exprs[1], scope);
        CheckTypeCompatibility(var, s->FEndValue);
        loop = s;
    }
    FScript->AddCodeLine(FUnitName, pos);
    if (bodyIdx >= 0)
        DoChildren(xi, scope, loop, bodyIdx);
}

void TqsBuilder::DoCppFor(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    auto *s = NewStmt<TqsCppForStmt>(xi, scope, list);
    if (xi->Count() > 0)
        DoStmt(xi->Items(0), scope, s->FFirstStmt);
    if (xi->Count() > 1 && nameOf(xi->Items(1)) == QLatin1String("expr"))
        s->FExpression = DoExpression(xi->Items(1), scope);
    if (xi->Count() > 2)
        DoStmt(xi->Items(2), scope, s->FSecondStmt);
    if (xi->Count() > 3)
        DoChildren(xi, scope, s, 3);
}

void TqsBuilder::DoWhile(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    auto *s = NewStmt<TqsWhileStmt>(xi, scope, list);
    s->FCondition = DoExpression(Child(xi, 0), scope);
    DoChildren(xi, scope, s, 1);
}

void TqsBuilder::DoRepeat(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    auto *s = NewStmt<TqsRepeatStmt>(xi, scope, list);
    int last = xi->Count() - 1;
    if (last >= 0 && nameOf(xi->Items(last)) == QLatin1String("inverse")) {
        s->FInverseCondition = true;
        --last;
    }
    s->FCondition = DoExpression(Child(xi, last), scope);
    DoChildren(xi, scope, s, 0, last);
}

void TqsBuilder::DoTry(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    auto *s = NewStmt<TqsTryStmt>(xi, scope, list);
    for (int i = 0; i < xi->Count(); ++i) {
        TqsXMLItem *c = xi->Items(i);
        const QString n = nameOf(c);
        if (n == QLatin1String("exceptstmt")) {
            s->FIsExcept = true;
            DoChildren(c, scope, s->FExceptStmt);
        } else if (n == QLatin1String("finallystmt")) {
            DoChildren(c, scope, s->FExceptStmt);
        } else {
            DoStmt(c, scope, s);
        }
    }
}

void TqsBuilder::DoReturn(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    if (xi->Count() == 1) {
        TqsXMLItem *e = xi->Items(0);
        auto *s = NewStmt<TqsAssignmentStmt>(xi, scope, list);
        SetPos(e);
        TqsCustomVariable *result = FindVar(scope, QStringLiteral("Result"));
        s->FDesignator = new TqsDesignator(scope);
        s->FDesignator->FItems.push_back({result, false, {}, e->Prop(QStringLiteral("pos"))});
        s->FDesignator->Finalize();
        if (s->FDesignator->FIsReadOnly)
            Fail(qsMessage(u"SLeftCantAssigned"));
        s->FExpression = DoExpression(e, scope);
        CheckTypeCompatibility(s->FDesignator, s->FExpression);
        s->Optimize();
    }
    NewStmt<TqsExitStmt>(xi, scope, list);
}

void TqsBuilder::DoWith(TqsXMLItem *xi, TqsScript *scope, TqsStatement *list)
{
    const size_t pushed = FWithList.size();
    // the last child is the body unless the body is empty
    const bool hasBody = xi->Count() > 0 && nameOf(xi->Items(xi->Count() - 1)) != QLatin1String("dsgn");
    const int designators = hasBody ? xi->Count() - 1 : xi->Count();
    for (int i = 0; i < designators; ++i) {
        TqsXMLItem *c = xi->Items(i);
        SetPos(c);
        auto *s = new TqsWithStmt(scope, c->Prop(QStringLiteral("pos")), FUnitName);
        list->Add(s);
        s->FDesignator = DoDesignator(c, scope, emNone);
        if (s->FDesignator->FTyp != qvtClass && s->FDesignator->FTyp != qvtVariant)
            Fail(qsMessage(u"SClassRequired"));
        QString name;
        for (int n = 0;; ++n) {
            name = QStringLiteral("_WithList_%1").arg(n);
            bool open = false;
            for (TqsCustomVariable *w : FWithList)
                open |= w->FName.compare(name, Qt::CaseInsensitive) == 0;
            if (!open && !scope->FindLocal(name))
                break;
        }
        auto *v = new TqsVariable;
        v->SetName(name);
        v->SetType(s->FDesignator->FTyp, s->FDesignator->FTypeName);
        scope->Add(name, v);
        s->FVariable = v;
        FWithList.push_back(v);
    }
    if (hasBody)
        DoStmt(xi->Items(xi->Count() - 1), scope, list);
    FWithList.resize(pushed);
}
