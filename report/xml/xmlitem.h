#pragma once
// One element of the library's XML files: a name, the raw attribute text of its start tag
// and its children. Attribute values are escaped inside Text and decoded only on request.
#include <QString>

#include <cstdint>
#include <new>
#include <stdexcept>

class TkvlXMLArena;

class TkvlXMLItem
{
public:
    TkvlXMLItem() = default;
    // Frees the children and leaves the parent's list.
    ~TkvlXMLItem();
    TkvlXMLItem(const TkvlXMLItem &) = delete;
    TkvlXMLItem &operator=(const TkvlXMLItem &) = delete;
    // Elements read from a file live in their load's block storage: deleting one runs its
    // destructor and gives the memory back only for an element made with new.
    void operator delete(TkvlXMLItem *Item, std::destroying_delete_t);

    TkvlXMLItem *Add();
    TkvlXMLItem *Add(const QString &Name);
    // A child made in Arena, its attribute text kept there as UTF-8 bytes (decoded when
    // first asked for), so that writing many elements allocates nothing per element.
    TkvlXMLItem *AddInArena(TkvlXMLArena &Arena, const QString &Name, QStringView Text);
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

    int Count() const { return FCount; }
    // An index outside 0 .. Count-1 raises std::out_of_range.
    TkvlXMLItem *Items(int Index) const
    {
        if (Index < 0 || Index >= FCount)
            throw std::out_of_range("List index out of bounds");
        return FList[Index];
    }
    TkvlXMLItem *Parent() const { return FParent; }

    const QString &Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    const QString &Text() const
    {
        if (FRaw)
            decodeRaw();
        return FText;
    }
    void SetText(const QString &Value)
    {
        FRaw = nullptr;
        FText = Value;
    }
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
    friend class TkvlXMLWriter;

    // Which stream of the document holds an unloaded element.
    enum class Holder : uint8_t { None, LoadStream, SwapFile };

    void appendOwned(TkvlXMLItem *Item);
    void detach();
    // Makes the child list one of this element's own with room for one more.
    void reserveOne();
    void freeList();
    // The attribute text of a loaded element stays as read until it is first asked for.
    void decodeRaw() const;
    // For the reader: the attribute text's bytes (kept in the arena), UTF-8 or single-byte.
    void setRaw(const char *Data, int Size, bool Ansi)
    {
        FRaw = Size > 0 ? Data : nullptr;
        FRawSize = Size;
        FRawAnsi = Ansi;
        FText.clear();
    }
    // For the reader: children read in one go, their list kept in the arena.
    void adoptList(TkvlXMLItem **List, int Count)
    {
        FList = List;
        FCount = Count;
        FCapacity = 0;
    }

    QString FName;
    mutable QString FText;
    QString FValue;
    void *FData = nullptr;
    // Children: FCapacity > 0 means a heap list of this element's own; a list without
    // capacity belongs to the arena and is copied on the first change.
    TkvlXMLItem **FList = nullptr;
    int FCount = 0;
    int FCapacity = 0;
    TkvlXMLItem *FParent = nullptr;
    TkvlXMLArena *FArena = nullptr;  // the storage this element lives in; nil: made with new
    mutable const char *FRaw = nullptr;
    int64_t FOffset = 0;
    int FRawSize = 0;
    bool FRawAnsi = false;
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
// The same scan over the bytes of an undecoded text, for a name of ASCII characters.
bool FindAttr(const char *Text, qsizetype Size, QLatin1StringView Name, AttrSpan &Span);

} // namespace xml_detail
