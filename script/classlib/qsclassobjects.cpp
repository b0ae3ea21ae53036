#include "script/classlib/qsclassobjects.h"

#include "platform/rtl/objecthandles.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "script/items/qsitems.h"

#include <algorithm>

namespace qscl {

LIRRA_DEFINE_CLASS(TObject)
void TObject::DeclareClass(rtl::ClassBuilder<TObject> &) {}
LIRRA_DEFINE_CLASS(TList)
void TList::DeclareClass(rtl::ClassBuilder<TList> &) {}
LIRRA_DEFINE_CLASS(TStrings)
void TStrings::DeclareClass(rtl::ClassBuilder<TStrings> &) {}
LIRRA_DEFINE_CLASS(TStringList)
void TStringList::DeclareClass(rtl::ClassBuilder<TStringList> &) {}
LIRRA_DEFINE_CLASS(TStream)
void TStream::DeclareClass(rtl::ClassBuilder<TStream> &) {}
LIRRA_DEFINE_CLASS(TFileStream)
void TFileStream::DeclareClass(rtl::ClassBuilder<TFileStream> &) {}
LIRRA_DEFINE_CLASS(TMemoryStream)
void TMemoryStream::DeclareClass(rtl::ClassBuilder<TMemoryStream> &) {}
LIRRA_DEFINE_CLASS(TCustomIniFile)
void TCustomIniFile::DeclareClass(rtl::ClassBuilder<TCustomIniFile> &) {}
LIRRA_DEFINE_CLASS(TMemIniFile)
void TMemIniFile::DeclareClass(rtl::ClassBuilder<TMemIniFile> &) {}
LIRRA_DEFINE_CLASS(TIniFile)
void TIniFile::DeclareClass(rtl::ClassBuilder<TIniFile> &) {}

LIRRA_DEFINE_CLASS(TqsXMLItem)
void TqsXMLItem::DeclareClass(rtl::ClassBuilder<TqsXMLItem> &) {}
LIRRA_DEFINE_CLASS(TqsXMLDocument)
void TqsXMLDocument::DeclareClass(rtl::ClassBuilder<TqsXMLDocument> &) {}

void TStrings::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<TStrings *>(Source)) {
        const bool sorted = List.Sorted();
        List.Assign(s->List);
        List.SetSorted(sorted);
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

::TStream &TStream::Stream() const
{
    // A bare TStream made by a script has nothing to read or write.
    if (!FStream)
        throw EqsRunError(QStringLiteral("Stream not open"));
    return *FStream;
}

// ---- XML trees

TqsXMLItem::~TqsXMLItem()
{
    Detach();
    Clear();
}

void TqsXMLItem::Detach()
{
    if (!FParent)
        return;
    auto &siblings = FParent->FItems;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    FParent = nullptr;
}

TqsXMLItem *TqsXMLItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FItems[size_t(index)];
}

TqsXMLItem *TqsXMLItem::Add()
{
    auto *item = new TqsXMLItem;
    item->FParent = this;
    FItems.push_back(item);
    return item;
}

void TqsXMLItem::InsertItem(int index, TqsXMLItem *item)
{
    if (!item)
        throw EqsRunError(QStringLiteral("No element to insert"));
    for (const TqsXMLItem *p = this; p; p = p->FParent)
        if (p == item)
            throw EqsRunError(QStringLiteral("An element cannot contain itself"));
    // checked before the element leaves its old place, so a bad index moves nothing
    if (index < 0 || index > Count() - (item->FParent == this ? 1 : 0))
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    item->Detach();
    item->FParent = this;
    FItems.insert(FItems.begin() + index, item);
}

void TqsXMLItem::Clear()
{
    std::vector<TqsXMLItem *> items;
    items.swap(FItems);
    for (TqsXMLItem *item : items) {
        item->FParent = nullptr;
        delete item;
    }
}

int TqsXMLItem::Find(const QString &name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Name == name)
            return int(i);
    return -1;
}

TqsXMLItem *TqsXMLItem::FindItem(const QString &name)
{
    const int i = Find(name);
    if (i >= 0)
        return FItems[size_t(i)];
    TqsXMLItem *item = Add();
    item->Name = name;
    return item;
}

TqsXMLItem *TqsXMLItem::Root()
{
    TqsXMLItem *p = this;
    while (p->FParent)
        p = p->FParent;
    return p;
}

void TqsXMLItem::CopyTo(::TqsXMLItem &target) const
{
    target.Clear();
    target.Name = Name;
    target.Text = Text;
    target.Data = Data;
    for (const TqsXMLItem *child : FItems)
        child->CopyTo(*target.Add());
}

void TqsXMLItem::CopyFrom(const ::TqsXMLItem &source)
{
    Clear();
    Name = source.Name;
    Text = source.Text;
    Data = int(source.Data);
    for (int i = 0; i < source.Count(); ++i)
        Add()->CopyFrom(*source.Items(i));
}

TqsXMLDocument::TqsXMLDocument() { Root(); }

TqsXMLDocument::~TqsXMLDocument() { delete LiveRoot(); }

TqsXMLItem *TqsXMLDocument::LiveRoot() const
{
    return FRoot && rtl::ObjectHandles::objectAs<TqsXMLItem>(FRootHandle) == FRoot ? FRoot : nullptr;
}

TqsXMLItem &TqsXMLDocument::Root()
{
    if (TqsXMLItem *root = LiveRoot())
        return *root;
    FRoot = new TqsXMLItem;
    FRootHandle = rtl::ObjectHandles::handleOf(FRoot);
    return *FRoot;
}

QByteArray TqsXMLDocument::SaveToBytes() const
{
    ::TqsXMLDocument doc;
    if (const TqsXMLItem *root = LiveRoot())
        root->CopyTo(*doc.Root());
    return doc.SaveToBytes();
}

void TqsXMLDocument::LoadFromBytes(const QByteArray &bytes)
{
    ::TqsXMLDocument doc;
    doc.LoadFromBytes(bytes);
    Root().CopyFrom(*doc.Root());
}

void TCustomIniFile::Open(const QString &fileName) { FIni = std::make_unique<::TMemIniFile>(fileName); }

::TCustomIniFile &TCustomIniFile::Ini() const
{
    if (!FIni)
        throw EqsRunError(QStringLiteral("Ini file not open"));
    return *FIni;
}

} // namespace qscl
