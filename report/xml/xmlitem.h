#pragma once
// One element of the library's XML files: a name, the raw attribute text of its start tag
// and its children. Attribute values are escaped inside Text and decoded only on request.
#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

class TkvlXMLItem
{
public:
    TkvlXMLItem() = default;
    // Frees the children and leaves the parent's list.
    ~TkvlXMLItem();
    TkvlXMLItem(const TkvlXMLItem &) = delete;
    TkvlXMLItem &operator=(const TkvlXMLItem &) = delete;

    TkvlXMLItem *Add();
    TkvlXMLItem *Add(const QString &Name);
    // Takes Item over, leaving its former parent.
    void AddItem(TkvlXMLItem *Item);
    void InsertItem(int Index, TkvlXMLItem *Item);
    // First child whose name equals Name ignoring case, or -1.
    int Find(const QString &Name) const;
    // That child; one of that name is appended when there is none.
    TkvlXMLItem *FindItem(const QString &Name);
    int IndexOf(const TkvlXMLItem *Item) const;
    TkvlXMLItem *Root();
    // Frees the children; an unloadable element also becomes not loaded.
    void Clear();

    // The decoded value of an attribute, or the empty text.
    QString Prop(const QString &Name) const;
    // Replaces the attribute in place, or appends it.
    void SetProp(const QString &Name, const QString &Value);
    bool PropExists(const QString &Name) const;
    void DeleteProp(const QString &Name);

    int Count() const { return FItems ? int(FItems->size()) : 0; }
    // An index outside 0 .. Count-1 raises std::out_of_range.
    TkvlXMLItem *Items(int Index) const
    {
        if (!FItems || Index < 0 || size_t(Index) >= FItems->size())
            throw std::out_of_range("List index out of bounds");
        return (*FItems)[size_t(Index)];
    }
    TkvlXMLItem *Parent() const { return FParent; }

    const QString &Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    const QString &Text() const { return FText; }
    void SetText(const QString &Value) { FText = Value; }
    const QString &Value() const { return FValue; }
    void SetValue(const QString &V) { FValue = V; }
    void *Data() const { return FData; }
    void SetData(void *Value) { FData = Value; }

    // Partial loading: an unloadable element that is not loaded has no children in memory;
    // they are read again from Offset of the stream that holds them.
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool Value) { FLoaded = Value; }
    bool Unloadable() const { return FUnloadable; }
    void SetUnloadable(bool Value) { FUnloadable = Value; }
    int64_t Offset() const { return FOffset; }
    void SetOffset(int64_t Value) { FOffset = Value; }

private:
    friend class TkvlXMLReader;
    friend class TkvlXMLDocument;

    // Which stream of the document holds an unloaded element.
    enum class Holder : uint8_t { None, LoadStream, SwapFile };

    void appendOwned(TkvlXMLItem *Item);
    void detach();

    QString FName, FText, FValue;
    void *FData = nullptr;
    std::unique_ptr<std::vector<TkvlXMLItem *>> FItems;
    TkvlXMLItem *FParent = nullptr;
    int64_t FOffset = 0;
    bool FLoaded = true;
    bool FUnloadable = false;
    Holder FHolder = Holder::None;
};

namespace xml_detail {

// Where an attribute stands in an attribute text: its name starts at NameStart, its value
// runs from ValueStart to the closing quote at ValueEnd.
struct AttrSpan {
    qsizetype NameStart = -1, ValueStart = -1, ValueEnd = -1;
};
// Scans the attribute text pair by pair, so text inside a value never matches a name.
// Names compare ignoring case. A missing '=' or quote ends the scan.
bool FindAttr(QStringView Text, QStringView Name, AttrSpan &Span);

} // namespace xml_detail
