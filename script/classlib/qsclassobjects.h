#pragma once
// The objects scripts make from the general and ini-file classes: persistent wrappers over
// the platform's lists, streams and ini files, so that they travel through the handle
// table and are created by their class's factory like every other host object.
#include "platform/rtl/inifile.h"
#include "platform/rtl/reflect/persistent.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"
#include "script/xml/qsxml.h"

#include <memory>
#include <vector>

namespace qscl {

// The root class scripts name; it carries no data of its own.
class TObject : public TPersistent
{
    LIRRA_CLASS(TObject, TPersistent)
};

// A list of object references, kept as their handles.
class TList : public TPersistent
{
    LIRRA_CLASS(TList, TPersistent)
public:
    std::vector<int32_t> Items;
};

class TStrings : public TPersistent
{
    LIRRA_CLASS(TStrings, TPersistent)
public:
    void Assign(TPersistent *Source) override;
    // Told after every change a script makes (a control showing the list refills itself).
    virtual void Changed() noexcept {}
    ::TStringList List;
};

// A list a member is changing: the list hears of it once the member is done, also when
// the member failed halfway.
class EditedList
{
public:
    explicit EditedList(TStrings &strings) : FStrings(strings) {}
    EditedList(const EditedList &) = delete;
    EditedList &operator=(const EditedList &) = delete;
    ~EditedList() { FStrings.Changed(); }
    ::TStringList &List() { return FStrings.List; }
    ::TStringList *operator->() { return &FStrings.List; }

private:
    TStrings &FStrings;
};

class TStringList : public TStrings
{
    LIRRA_CLASS(TStringList, TStrings)
};

// A stream: the platform stream it owns, made by the concrete class.
class TStream : public TPersistent
{
    LIRRA_CLASS(TStream, TPersistent)
public:
    ::TStream &Stream() const;
    std::unique_ptr<::TStream> FStream;
};

class TFileStream : public TStream
{
    LIRRA_CLASS(TFileStream, TStream)
};

class TMemoryStream : public TStream
{
    LIRRA_CLASS(TMemoryStream, TStream)
public:
    TMemoryStream() { FStream = std::make_unique<::TMemoryStream>(); }
    ::TMemoryStream &Memory() const { return static_cast<::TMemoryStream &>(*FStream); }
};

// An element of an XML tree made by a script. It owns its children; freeing an element
// takes it out of its parent's list first, so that no list keeps a freed element, and the
// handles of freed elements go stale like those of any other object.
class TqsXMLItem : public TPersistent
{
    LIRRA_CLASS(TqsXMLItem, TPersistent)
public:
    ~TqsXMLItem() override;

    QString Name, Text;
    int Data = 0;

    TqsXMLItem *Parent() const { return FParent; }
    int Count() const { return int(FItems.size()); }
    TqsXMLItem *Items(int index) const;
    TqsXMLItem *Add();
    // Moves item (with its children) from its old parent to index in this element; an
    // element cannot become a child of itself or of its own descendants.
    void InsertItem(int index, TqsXMLItem *item);
    void Clear();
    int Find(const QString &name) const;
    TqsXMLItem *FindItem(const QString &name);
    TqsXMLItem *Root();

    // The engine's elements (deep copies both ways).
    void CopyTo(::TqsXMLItem &target) const;
    void CopyFrom(const ::TqsXMLItem &source);

private:
    void Detach();
    std::vector<TqsXMLItem *> FItems; // owned
    TqsXMLItem *FParent = nullptr;
};

class TqsXMLDocument : public TPersistent
{
    LIRRA_CLASS(TqsXMLDocument, TPersistent)
public:
    TqsXMLDocument();
    ~TqsXMLDocument() override;
    // The root element; one made afresh when a script freed the old one.
    TqsXMLItem &Root();
    QByteArray SaveToBytes() const;
    void LoadFromBytes(const QByteArray &bytes);

private:
    // A script may free the root: the document then sees its handle stale.
    TqsXMLItem *LiveRoot() const;
    TqsXMLItem *FRoot = nullptr;
    int32_t FRootHandle = 0;
};

// An ini file opened by the script's constructor call with its file name.
class TCustomIniFile : public TPersistent
{
    LIRRA_CLASS(TCustomIniFile, TPersistent)
public:
    virtual void Open(const QString &fileName);
    ::TCustomIniFile &Ini() const;
    std::unique_ptr<::TCustomIniFile> FIni;
};

class TMemIniFile : public TCustomIniFile
{
    LIRRA_CLASS(TMemIniFile, TCustomIniFile)
public:
    void Open(const QString &fileName) override { FIni = std::make_unique<::TMemIniFile>(fileName); }
};

class TIniFile : public TCustomIniFile
{
    LIRRA_CLASS(TIniFile, TCustomIniFile)
public:
    void Open(const QString &fileName) override { FIni = std::make_unique<::TIniFile>(fileName); }
};

} // namespace qscl
