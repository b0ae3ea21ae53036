#include "script/catalogue/qscatalogue.h"

#include "platform/rtl/reflect/classinfo.h"
#include "script/xml/qsxml.h"

#include <QHash>

namespace {

const QString Text = QStringLiteral("text");
const QString ItemTag = QStringLiteral("item");

QString MemberText(const TqsCustomVariable *m)
{
    if (dynamic_cast<const TqsPropertyHelper *>(m))
        return QStringLiteral("property ") + m->FName + QLatin1String(": ") + m->GetFullTypeName();
    if (auto *method = dynamic_cast<const TqsMethodHelper *>(m)) {
        if (!method->FIndexMethod)
            return method->FSyntax;
        const QString decl = method->FSyntax.trimmed();
        const qsizetype blank = decl.indexOf(QLatin1Char(' '));
        return QStringLiteral("index property") + (blank < 0 ? QString() : decl.mid(blank));
    }
    return QStringLiteral("event ") + m->FName;
}

void AddMembers(const TqsClassVariable *c, TqsXMLItem *under)
{
    for (const TqsCustomVariable *m : c->FMembers) {
        TqsXMLItem *x = under->Add();
        x->Name = ItemTag;
        x->SetProp(Text, MemberText(m));
    }
}

QString ValueText(TqsCustomVariable *v)
{
    try {
        return v->GetValue().toString();
    } catch (const Exception &) {
        return QString(); // arrays and other values without a text
    }
}

} // namespace

void GenerateXMLContents(const TqsScript *prog, TqsXMLItem *item, bool functionsOnly)
{
    TqsXMLItem *functions = item->FindItem(QStringLiteral("Functions"));
    TqsXMLItem *classes = item->FindItem(QStringLiteral("Classes"));
    TqsXMLItem *types = item->FindItem(QStringLiteral("Types"));
    TqsXMLItem *variables = item->FindItem(QStringLiteral("Variables"));
    TqsXMLItem *constants = item->FindItem(QStringLiteral("Constants"));
    QHash<TqsXMLItem *, QString> enumValues;

    prog->RealiseLazyItems(); // the names no lookup has made yet are listed too
    for (int i = 0; i < prog->Count(); ++i) {
        TqsScriptItem *it = prog->Items(i);
        if (!it->IsScriptVariable())
            continue; // binding-module instances
        if (auto *f = dynamic_cast<TqsMethodHelper *>(it)) {
            // A function registered without a category still needs a named element.
            const QString category = f->FCategory.isEmpty() ? QStringLiteral("ctOther") : f->FCategory;
            TqsXMLItem *cat = functions->FindItem(category);
            cat->SetProp(Text, category);
            TqsXMLItem *x = cat->Add();
            x->Name = ItemTag;
            x->SetProp(Text, f->FSyntax);
            x->SetProp(QStringLiteral("description"), f->FDescription);
            continue;
        }
        if (functionsOnly)
            continue;
        if (auto *c = dynamic_cast<TqsClassVariable *>(it)) {
            TqsXMLItem *x = classes->Add();
            x->Name = ItemTag;
            x->SetProp(Text, c->FName + QLatin1String(" = class(") + c->FAncestor + QLatin1Char(')'));
            AddMembers(c, x);
            continue;
        }
        auto *v = dynamic_cast<TqsVariable *>(it);
        if (!v)
            continue; // procedures, types, helpers
        if (v->FTyp == qvtEnum) {
            TqsXMLItem *t = types->FindItem(v->FTypeName);
            QString &values = enumValues[t];
            if (v->FName.compare(v->FTypeName, Qt::CaseInsensitive) != 0)
                values += (values.isEmpty() ? QString() : QStringLiteral(",")) + v->FName;
            continue;
        }
        TqsXMLItem *x = (v->FIsReadOnly ? constants : variables)->Add();
        x->Name = ItemTag;
        QString text = v->FName + QLatin1String(": ") + v->GetFullTypeName();
        if (v->FIsReadOnly)
            text += QLatin1String(" = ") + ValueText(v);
        x->SetProp(Text, text);
    }

    for (int i = 0; i < types->Count(); ++i) {
        TqsXMLItem *t = types->Items(i);
        if (t->Name == ItemTag)
            continue;
        const QString typeName = t->Name;
        t->SetProp(Text, typeName + QLatin1String(": (") + enumValues.value(t) + QLatin1Char(')'));
        t->Name = ItemTag;
    }
}

void GenerateMembers(const TqsScript *prog, TqsClassRef cls, TqsXMLItem *item)
{
    if (!cls)
        return;
    for (int i = 0; i < prog->Count(); ++i)
        if (auto *c = dynamic_cast<TqsClassVariable *>(prog->Items(i)))
            if (c->FClassRef && cls->inheritsFrom(c->FClassRef))
                AddMembers(c, item);
}
