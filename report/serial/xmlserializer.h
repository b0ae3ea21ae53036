#pragma once
// Report objects as elements of the library's XML files and back: templates (.kv3), single
// objects as one-line attribute text (prepared pages, property diffs) and the items of the
// report's lists.
//
// Reading is tolerant: unknown attributes are skipped, and every problem (bad numbers,
// unknown identifiers, unknown classes, references that do not resolve) adds one message to
// Errors instead of stopping the load.
#include "platform/rtl/reflect/fixups.h"
#include "platform/rtl/stringlist.h"

#include <QHash>
#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

class TStream;
class TPersistent;
class TComponent;
class TkvlComponent;
class TkvlXMLItem;

class TkvlXMLSerializer {
public:
    explicit TkvlXMLSerializer(TStream *Stream = nullptr);
    ~TkvlXMLSerializer();
    TkvlXMLSerializer(const TkvlXMLSerializer &) = delete;
    TkvlXMLSerializer &operator=(const TkvlXMLSerializer &) = delete;

    // Sorted, each message once.
    TStringList Errors;
    // References read, resolved by FixupReferences.
    rtl::FixupList Fixups;
    // Names FixupReferences could not bind, in the order met.
    QStringList UnresolvedReferences;
    // Names are resolved against it; the first root written or read when not set.
    TComponent *Owner = nullptr;
    TStream *Stream = nullptr;

    bool SerializeDefaultValues = false;
    bool HandleNestedProperties = false;
    bool SaveAncestorOnly = false;
    // The document read was of the old single-byte form.
    bool OldFormat = false;

    std::function<void(const QString &Name, TPersistent *&Ancestor)> OnGetAncestor;
    std::function<void(TkvlXMLItem *Item)> OnGetCustomData;
    std::function<void(TkvlXMLItem *Item)> OnSaveCustomData;

    // Attribute text of Obj, each attribute preceded by one blank; names get the prefix Add.
    QString ObjToXML(TPersistent *Obj, const QString &Add = QString(), TPersistent *Ancestor = nullptr);
    // Appends the same text to Out.
    void AppendObjXML(QString &Out, TPersistent *Obj, QStringView Add, TPersistent *Ancestor);
    // Applies an attribute text to Obj.
    void XMLToObj(QStringView Text, TPersistent *Obj);

    // Without Item: a document of its own, saved to Stream.
    void WriteRootComponent(TkvlComponent *Root, bool SaveChildren = true, TkvlXMLItem *Item = nullptr,
                            bool Streaming = false);
    // Without Item: the document is loaded from Stream. Malformed XML raises.
    void ReadRootComponent(TkvlComponent *Root, TkvlXMLItem *Item = nullptr);

    // Class name followed by the attribute text.
    QString WriteComponentStr(TPersistent *Obj);
    // "<" + that text + "/>" in UTF-8 to Stream.
    void WriteComponent(TPersistent *Obj);
    // An object of the class named first in Text, owned by Root, with the attributes applied;
    // nullptr for an empty text or an unknown class (listed in Errors).
    TPersistent *ReadComponentStr(TComponent *Root, QStringView Text, bool DontFixup = false);
    // One element from Stream.
    TPersistent *ReadComponent(TComponent *Root);
    // Applies the text to any object and resolves its references at once.
    void ReadPersistentStr(TComponent *Root, TPersistent *Obj, QStringView Text);

    // Sets each pending reference; "nil" clears it. Names that are not found and objects of a
    // class the property cannot hold leave it unchanged without an error (a template may name
    // a record source the report is not offered): they are listed in UnresolvedReferences.
    void FixupReferences();
    void CopyFixupList(rtl::FixupList &List) { List.append(Fixups); }
    void ClearFixups() { Fixups.clear(); }

    void AddError(const QString &Message) { Errors.Add(Message); }

private:
    void writeItem(TkvlComponent *Obj, TkvlXMLItem *Item, bool IsRoot, bool SaveChildren, bool Streaming);
    void readItem(TkvlXMLItem *Item, TkvlComponent *Parent, int Depth);
    void applyAttr(TPersistent *Obj, QStringView Name, QStringView Value);
    void applyProp(TPersistent *Obj, const rtl::PropInfo *Prop, QStringView Value);
    // Value within ±Limit; else the nearest bound, with a message naming the property.
    double bounded(double Value, double Limit, QStringView Name, QStringView Text);
    TComponent *findReference(const QString &Name) const;

    TComponent *findExisting(const QString &Name);
    bool offerNested(TkvlComponent *Obj, TkvlXMLItem *Child);

    std::vector<rtl::ComponentRef<TkvlComponent>> FRead;  // objects read, in order
    // The owner's components by case-folded name, filled once per read.
    QHash<QString, rtl::ComponentRef<TComponent>> FByName;
    TComponent *FByNameOwner = nullptr;
    TComponent *FHolder = nullptr;  // component whose attributes are being applied
    int FWriteDepth = 0;            // nested objects being written
};

// Memo views carry their lines as the attribute Text. The memo unit registers its class
// and how to get and set its whole text (lines joined with CR LF).
struct TkvlMemoTextAccess {
    const rtl::ClassInfo *MemoClass = nullptr;
    QString (*GetText)(TPersistent *Memo) = nullptr;
    void (*SetText)(TPersistent *Memo, const QString &Text) = nullptr;
};
void kvlSetMemoTextAccess(const TkvlMemoTextAccess &Access);
const TkvlMemoTextAccess &kvlMemoTextAccess();
