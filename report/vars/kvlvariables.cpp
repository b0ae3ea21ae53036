#include "report/vars/kvlvariables.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/serial/collectionio.h"
#include "report/serial/xmlserializer.h"
#include "report/xml/xmldocument.h"

LIRRA_DEFINE_CLASS(TkvlVariable)
LIRRA_DEFINE_CLASS(TkvlVariables)
LIRRA_DEFINE_CLASS(TkvlArray)

void TkvlVariable::DeclareClass(rtl::ClassBuilder<TkvlVariable> &b)
{
    using T = TkvlVariable;
    b.prop<&T::Name, &T::SetName>("Name");
    b.prop<&T::Value, &T::SetValue>("Value", rtl::types::Variant());
}

void TkvlVariables::DeclareClass(rtl::ClassBuilder<TkvlVariables> &) {}
void TkvlArray::DeclareClass(rtl::ClassBuilder<TkvlArray> &) {}

TkvlVariable::TkvlVariable(TCollection *ACollection) : TkvlCollectionItem(ACollection) {}

void TkvlVariable::Assign(TPersistent *Source)
{
    if (auto *v = rtl_cast<TkvlVariable>(Source)) {
        SetItemName(v->FName);
        FValue = v->FValue;
        IsInherited = v->IsInherited;
    }
}

// ---- TkvlVariables -----------------------------------------------------------------------

TkvlVariables::TkvlVariables(TPersistent *Owner) : TkvlCollection(TkvlVariable::StaticClass(), Owner) {}

int TkvlVariables::IndexOf(const QString &Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Variant TkvlVariables::Variables(const QString &Name) const
{
    const int i = IndexOf(Name);
    return i < 0 ? Variant::null() : Items(i)->Value();
}

void TkvlVariables::SetVariables(const QString &Name, const Variant &Value)
{
    const int i = IndexOf(Name);
    TkvlVariable *v = i < 0 ? Add() : Items(i);
    if (i < 0)
        v->SetName(Name);
    v->SetValue(Value);
}

void TkvlVariables::GetCategoriesList(QStringList &List, bool ClearList) const
{
    if (ClearList)
        List.clear();
    for (int i = 0; i < Count(); ++i) {
        const QString &n = Items(i)->Name();
        if (IsCategory(n))
            List.append(n.mid(1, 255));
    }
}

int TkvlVariables::categoryIndex(const QString &Category) const
{
    for (int i = 0; i < Count(); ++i) {
        const QString &n = Items(i)->Name();
        if (IsCategory(n) && QStringView(n).mid(1, 255).compare(Category, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// An entry without a name ends a category, as a marker does.
int TkvlVariables::categoryEnd(int Marker) const
{
    int i = Marker + 1;
    while (i < Count()) {
        const QString &n = Items(i)->Name();
        if (n.isEmpty() || IsCategory(n))
            break;
        ++i;
    }
    return i;
}

void TkvlVariables::GetVariablesList(const QString &Category, QStringList &List) const
{
    List.clear();
    const int start = Category.isEmpty() ? -1 : categoryIndex(Category);
    if (!Category.isEmpty() && start < 0)
        return;
    const int end = categoryEnd(start);
    for (int i = start + 1; i < end; ++i)
        List.append(Items(i)->Name());
}

void TkvlVariables::DeleteCategory(const QString &Name)
{
    const int start = categoryIndex(Name);
    if (start < 0)
        return;
    const int end = categoryEnd(start);
    BeginUpdate();
    for (int i = end - 1; i >= start; --i)
        Delete(i);
    EndUpdate();
}

void TkvlVariables::DeleteVariable(const QString &Name)
{
    const int i = IndexOf(Name);
    if (i >= 0)
        Delete(i);
}

void TkvlVariables::AddVariable(const QString &Category, const QString &Name, const Variant &Value)
{
    const int start = categoryIndex(Category);
    if (start < 0)
        return;
    const int existing = IndexOf(Name);
    if (existing >= 0) {
        Items(existing)->SetValue(Value);
        return;
    }
    const int end = categoryEnd(start);
    TkvlVariable *v = end >= Count() ? Add() : Insert(end);
    v->SetName(Name);
    v->SetValue(Value);
}

void TkvlVariables::LoadFromFile(const QString &FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TkvlVariables::LoadFromStream(TStream &Stream)
{
    Clear();
    TkvlXMLDocument doc;
    doc.LoadFromStream(&Stream, false);
    LoadFromXMLItem(doc.Root(), doc.OldVersion());
}

void TkvlVariables::LoadFromXMLItem(TkvlXMLItem *Item, bool OldXMLFormat)
{
    Clear();
    if (!Item || Item->Name().compare(QLatin1String("variables"), Qt::CaseInsensitive) != 0)
        return;
    kvlReadItems(this, Item, OldXMLFormat);
}

void TkvlVariables::SaveToFile(const QString &FileName)
{
    // Through the document, so the old file is replaced only by a complete new one.
    TkvlXMLDocument doc;
    doc.SetAutoIndent(true);
    SaveToXMLItem(doc.Root());
    doc.SaveToFile(FileName);
}

void TkvlVariables::SaveToStream(TStream &Stream)
{
    TkvlXMLDocument doc;
    doc.SetAutoIndent(true);
    SaveToXMLItem(doc.Root());
    doc.SaveToStream(Stream);
}

void TkvlVariables::SaveToXMLItem(TkvlXMLItem *Item)
{
    Item->SetName(QStringLiteral("variables"));
    kvlWriteItems(this, Item);
}

// ---- TkvlArray ---------------------------------------------------------------------------

TkvlArray::TkvlArray(TPersistent *Owner) : TCollection(TkvlVariable::StaticClass(), Owner) {}

int TkvlArray::IndexOf(const Variant &Key) const
{
    const QString k = Key.isEmptyOrNull() ? QString() : Key.toString();
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Name().compare(k, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Variant TkvlArray::Variables(const Variant &Key) const
{
    const int i = IndexOf(Key);
    return i < 0 ? Variant::null() : Items(i)->Value();
}

void TkvlArray::SetVariables(const Variant &Key, const Variant &Value)
{
    const int i = IndexOf(Key);
    TkvlVariable *v = i < 0 ? static_cast<TkvlVariable *>(Add()) : Items(i);
    if (i < 0)
        v->SetName(Key.isEmptyOrNull() ? QString() : Key.toString());
    v->SetValue(Value);
}

void kvlRegisterVariableClasses()
{
    rtl::RegisterClasses({TkvlCollectionItem::StaticClass(), TkvlCollection::StaticClass(),
                          TkvlVariable::StaticClass(), TkvlVariables::StaticClass(), TkvlArray::StaticClass()});
}
