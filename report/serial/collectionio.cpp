#include "report/serial/collectionio.h"

#include "report/core/kvlobjects.h"
#include "report/serial/xmlserializer.h"
#include "report/vars/kvlcollection.h"
#include "report/xml/xmldocument.h"

#include <memory>

namespace {

// The report's serializer while it reads or writes itself, else one of our own that owns
// its references and reports its problems to the report.
class SerializerFor {
public:
    explicit SerializerFor(TkvlComponent *Owner)
    {
        FReport = Owner ? Owner->GetReport() : nullptr;
        if (FReport && FReport->XMLSerializer) {
            FSer = FReport->XMLSerializer;
            return;
        }
        FOwn = std::make_unique<TkvlXMLSerializer>();
        FOwn->Owner = FReport ? static_cast<TComponent *>(FReport) : Owner;
        FSer = FOwn.get();
    }
    ~SerializerFor()
    {
        if (!FOwn)
            return;
        FOwn->FixupReferences();
        if (FReport)
            FReport->Errors().AddStrings(FOwn->Errors);
    }
    TkvlXMLSerializer *operator->() const { return FSer; }

private:
    TkvlReport *FReport = nullptr;
    TkvlXMLSerializer *FSer = nullptr;
    std::unique_ptr<TkvlXMLSerializer> FOwn;
};

} // namespace

void kvlWriteCollection(TCollection *Collection, const QString &Name, TkvlXMLItem *Item, TkvlComponent *Owner,
                        TCollection *Ancestor)
{
    if (!Collection || !Item)
        return;
    SerializerFor s(Owner);
    TkvlXMLItem *list = Item->Add(Name);
    auto *anc = rtl_cast<TkvlCollection>(Ancestor);
    QString text;
    for (int i = 0; i < Collection->Count(); ++i) {
        TCollectionItem *it = Collection->Items(i);
        TkvlCollectionItem *a = nullptr;
        if (anc)
            if (auto *named = rtl_cast<TkvlCollectionItem>(it))
                a = anc->FindByName(named->GetInheritedName());
        text.clear();
        if (a) {
            text += u"InheritedName=\"";
            text += kvlStrToXML(a->GetInheritedName());
            text += u'"';
        }
        s->AppendObjXML(text, it, QStringView(), a);
        list->Add(QStringLiteral("item"))->SetText(text);
    }
}

void kvlReadCollection(TCollection *Collection, TkvlXMLItem *Item, TkvlComponent *Owner, TCollection *Ancestor)
{
    if (!Collection || !Item)
        return;
    SerializerFor s(Owner);
    auto *named = rtl_cast<TkvlCollection>(Collection);
    const bool inherit = named && Ancestor && Owner && Owner->GetIsAncestor();
    static const QString inheritedName = QStringLiteral("InheritedName");
    Collection->BeginUpdate();
    for (int i = 0; i < Item->Count(); ++i) {
        TkvlXMLItem *child = Item->Items(i);
        if (inherit && child->PropExists(inheritedName)) {
            const QString n = child->Prop(inheritedName);
            if (!n.isEmpty()) {
                if (TkvlCollectionItem *existing = named->FindByName(n)) {
                    s->XMLToObj(child->Text(), existing);
                    existing->IsInherited = true;
                }
                continue;
            }
        }
        s->XMLToObj(child->Text(), Collection->Add());
    }
    Collection->EndUpdate();
}

void kvlReadItems(TCollection *Collection, TkvlXMLItem *Item, bool OldFormat)
{
    if (!Collection || !Item)
        return;
    TkvlXMLSerializer s;
    s.OldFormat = OldFormat;
    Collection->BeginUpdate();
    for (int i = 0; i < Item->Count(); ++i) {
        TkvlXMLItem *it = Item->Items(i);
        if (it->Name().compare(QLatin1String("item"), Qt::CaseInsensitive) == 0)
            s.XMLToObj(it->Text(), Collection->Add());
    }
    Collection->EndUpdate();
}

void kvlWriteItems(TCollection *Collection, TkvlXMLItem *Item)
{
    if (!Collection || !Item)
        return;
    TkvlXMLSerializer s;
    for (int i = 0; i < Collection->Count(); ++i)
        Item->Add(QStringLiteral("item"))->SetText(s.ObjToXML(Collection->Items(i)));
}

void kvlWriteCollection(TCollection *Collection, TWriter &Writer, TkvlComponent *)
{
    Writer.WriteCollection(Collection);
}

void kvlReadCollection(TCollection *Collection, TReader &Reader, TkvlComponent *)
{
    Reader.ReadCollection(Collection);
}

void kvlWriteReportLists(TkvlComponent *Report, const TkvlReportLists &Lists, TkvlXMLItem *Item)
{
    if (Lists.Datasets && Lists.Datasets->Count() > 0)
        kvlWriteCollection(Lists.Datasets, QStringLiteral("Datasets"), Item, Report);
    if (Lists.Variables && Lists.Variables->Count() > 0)
        kvlWriteCollection(Lists.Variables, QStringLiteral("Variables"), Item, Report,
                           Lists.HasParentTemplate ? Lists.AncestorVariables : nullptr);
    if (Lists.Styles && Lists.Styles->Count() > 0)
        kvlWriteCollection(Lists.Styles, QStringLiteral("Styles"), Item, Report,
                           Lists.HasParentTemplate ? Lists.AncestorStyles : nullptr);
}

bool kvlReadReportList(TkvlComponent *Report, const TkvlReportLists &Lists, TkvlXMLItem *Item)
{
    const QString &n = Item->Name();
    if (n.compare(QLatin1String("Datasets"), Qt::CaseInsensitive) == 0) {
        if (Lists.Datasets) {
            if (Lists.HasParentTemplate)
                Lists.Datasets->Clear();
            kvlReadCollection(Lists.Datasets, Item, Report);
        }
        return true;
    }
    if (n.compare(QLatin1String("Variables"), Qt::CaseInsensitive) == 0) {
        if (Lists.Variables)
            kvlReadCollection(Lists.Variables, Item, Report,
                              Lists.HasParentTemplate ? Lists.AncestorVariables : nullptr);
        return true;
    }
    if (n.compare(QLatin1String("Styles"), Qt::CaseInsensitive) == 0) {
        if (Lists.Styles)
            kvlReadCollection(Lists.Styles, Item, Report, Lists.HasParentTemplate ? Lists.AncestorStyles : nullptr);
        return true;
    }
    return false;
}
