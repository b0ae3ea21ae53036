#include "script/classlib/qsclassesrtti.h"

#include "platform/rtl/reflect/collection.h"
#include "platform/rtl/reflect/component.h"
#include "script/classlib/qsbind.h"
#include "script/classlib/qsclassobjects.h"
#include "script/core/qsscript.h"

#include <QStringConverter>

namespace qscl {
namespace {

using Call = TqsModuleCall;
#define QS_CALL [](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define QS_SCRIPT_CALL [script](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define QS_GET [](const Variant &self, TqsClassRef, const QString &) -> Variant
#define QS_SET [](const Variant &self, TqsClassRef, const QString &, const Variant &v)

::TStringList &ListOf(const Variant &v) { return Self<TStrings>(v, "TStrings").List; }
EditedList Edit(const Variant &v) { return EditedList(Self<TStrings>(v, "TStrings")); }
::TStream &StreamOf(const Variant &v) { return Self<TStream>(v, "TStream").Stream(); }
::TStream *StreamArg(const Variant &v)
{
    TStream *s = ObjectArg<TStream>(v, "TStream");
    return s ? &s->Stream() : nullptr;
}

void CheckIndex(const ::TStringList &list, int i)
{
    if (i < 0 || i >= list.Count())
        throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(i));
}

QString TextOfBytes(const QByteArray &bytes)
{
    // Files written by other programs may carry a byte-order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

QByteArray BytesOfList(const ::TStringList &list) { return list.Text().toUtf8(); }

void LoadListFromFile(::TStringList &list, const QString &name)
{
    ::TFileStream f(name, fmOpenRead | fmShareDenyWrite);
    list.SetText(TextOfBytes(f.ReadAll()));
}

void SaveListToFile(const ::TStringList &list, const QString &name)
{
    ::TFileStream f(name, fmCreate);
    f.WriteBytes(BytesOfList(list));
}

// Stream Read and Write move one byte per character of the script's text.
Variant StreamRead(::TStream &s, Args &h)
{
    const int64_t count = Int64(h, 1);
    if (count < 0)
        throw EReadError(QStringLiteral("Invalid byte count %1").arg(count));
    const int64_t avail = std::max<int64_t>(0, s.Size() - s.Position());
    QByteArray bytes(qsizetype(std::min(count, avail)), Qt::Uninitialized);
    const int64_t n = s.Read(bytes.data(), bytes.size());
    bytes.truncate(qsizetype(n));
    h.SetVParam(0, Variant(QString::fromLatin1(bytes)));
    return Variant(int(n));
}

Variant StreamWrite(::TStream &s, Args &h)
{
    const QString text = Str(h, 0);
    const int64_t count = Int64(h, 1);
    if (count < 0)
        throw EWriteError(QStringLiteral("Invalid byte count %1").arg(count));
    const qsizetype n = qsizetype(std::min<int64_t>(count, text.size()));
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c > 255)
            throw EWriteError(QStringLiteral("Character %1 at position %2 is not a byte").arg(int(c)).arg(i + 1));
        bytes[i] = char(c);
    }
    return Variant(int(s.Write(bytes.constData(), n)));
}

void AddGeneralConstants(TqsScript *s)
{
    static const struct
    {
        const char *name;
        int value;
    } constants[] = {
        {"fmCreate", 0xFF00},        {"fmOpenRead", 0},          {"fmOpenWrite", 1},    {"fmOpenReadWrite", 2},
        {"fmShareExclusive", 16},    {"fmShareDenyWrite", 32},   {"fmShareDenyNone", 64}, {"soFromBeginning", 0},
        {"soFromCurrent", 1},        {"soFromEnd", 2},
    };
    for (const auto &c : constants)
        s->AddConst(QLatin1String(c.name), QStringLiteral("Integer"), Variant(c.value));
    s->AddEnum(QStringLiteral("TDuplicates"), QStringLiteral("dupIgnore, dupAccept, dupError"));
    s->AddEnum(QStringLiteral("TPrinterOrientation"), QStringLiteral("poPortrait, poLandscape"));
}

void AddObjectClasses(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TObject::StaticClass(), QString())) {
        c->AddConstructor(QStringLiteral("constructor Create"),
                          QS_SCRIPT_CALL { (void)h; return rtl::objectToVariant(ConstructNamed(script, self)); });
        c->AddMethod(QStringLiteral("procedure Free"), QS_CALL {
            (void)h;
            TPersistent *obj = ObjectArg<TPersistent>(self, "TObject");
            // a handler run while its object is being freed cannot free it a second time
            if (auto *c = dynamic_cast<TComponent *>(obj); c && c->HasState(csDestroying))
                return Variant(0);
            delete obj;
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("function ClassName: String"),
                     QS_CALL { (void)h; return Variant(Self<TPersistent>(self, "TObject").ClassName()); });
    }
    if (TqsClassVariable *c = script->AddClass(TPersistent::StaticClass(), QStringLiteral("TObject")))
        c->AddMethod(QStringLiteral("procedure Assign(Source: TPersistent)"), QS_CALL {
            Self<TPersistent>(self, "TPersistent").Assign(ObjectArg<TPersistent>(h.GetVParam(0), "TPersistent"));
            return Variant(0);
        });
    script->AddClass(TCollectionItem::StaticClass(), QStringLiteral("TPersistent"));
    if (TqsClassVariable *c = script->AddClass(TCollection::StaticClass(), QStringLiteral("TPersistent"))) {
        c->AddMethod(QStringLiteral("procedure Clear"), QS_CALL {
            (void)h;
            Self<TCollection>(self, "TCollection").Clear();
            return Variant(0);
        });
        c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"),
                       QS_GET { return Variant(Self<TCollection>(self, "TCollection").Count()); });
        c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TCollectionItem"),
                              QS_CALL {
                                  auto &col = Self<TCollection>(self, "TCollection");
                                  const int i = Int(h, 0);
                                  if (i < 0 || i >= col.Count())
                                      throw EqsRunError(QStringLiteral("List index out of bounds (%1)").arg(i));
                                  return rtl::objectToVariant(col.Items(i));
                              },
                              true);
    }
}

void AddListClass(TqsScript *script)
{
    TqsClassVariable *c = script->AddClass(TList::StaticClass(), QStringLiteral("TObject"));
    if (!c)
        return;
    auto items = [](const Variant &self) -> std::vector<int32_t> & { return Self<TList>(self, "TList").Items; };
    auto checked = [](std::vector<int32_t> &v, int i, bool end) {
        if (i < 0 || i > int(v.size()) - (end ? 0 : 1))
            throw EStringListError(QStringLiteral("List index out of bounds (%1)").arg(i));
        return size_t(i);
    };
    c->AddMethod(QStringLiteral("function Add(Item: TObject): Integer"), [items](const Variant &self, TqsClassRef, const QString &, Args &h) {
        auto &v = items(self);
        v.push_back(h.GetVParam(0).toInt());
        return Variant(int(v.size()) - 1);
    });
    c->AddMethod(QStringLiteral("procedure Clear"), [items](const Variant &self, TqsClassRef, const QString &, Args &) {
        items(self).clear();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"), [items, checked](const Variant &self, TqsClassRef, const QString &, Args &h) {
        auto &v = items(self);
        v.erase(v.begin() + ptrdiff_t(checked(v, Int(h, 0), false)));
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function IndexOf(Item: TObject): Integer"), [items](const Variant &self, TqsClassRef, const QString &, Args &h) {
        auto &v = items(self);
        const auto it = std::find(v.begin(), v.end(), h.GetVParam(0).toInt());
        return Variant(it == v.end() ? -1 : int(it - v.begin()));
    });
    c->AddMethod(QStringLiteral("procedure Insert(Index: Integer; Item: TObject)"), [items, checked](const Variant &self, TqsClassRef, const QString &, Args &h) {
        auto &v = items(self);
        v.insert(v.begin() + ptrdiff_t(checked(v, Int(h, 0), true)), h.GetVParam(1).toInt());
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function Remove(Item: TObject): Integer"), [items](const Variant &self, TqsClassRef, const QString &, Args &h) {
        auto &v = items(self);
        const auto it = std::find(v.begin(), v.end(), h.GetVParam(0).toInt());
        if (it == v.end())
            return Variant(-1);
        const int i = int(it - v.begin());
        v.erase(it);
        return Variant(i);
    });
    c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), [items](const Variant &self, TqsClassRef, const QString &) {
        return Variant(int(items(self).size()));
    });
    c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TObject"),
                          [items, checked](const Variant &self, TqsClassRef, const QString &name, Args &h) {
                              auto &v = items(self);
                              const size_t i = checked(v, Int(h, 0), false);
                              if (name.endsWith(QLatin1String(".SET"))) {
                                  v[i] = h.GetVParam(1).toInt();
                                  return Variant(0);
                              }
                              return Variant(v[i]);
                          });
}

void AddStringsClasses(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TStrings::StaticClass(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create"),
                          QS_SCRIPT_CALL { (void)h; return rtl::objectToVariant(ConstructNamed(script, self)); });
        c->AddMethod(QStringLiteral("function Add(const S: string): Integer"),
                     QS_CALL { return Variant(Edit(self)->Add(Str(h, 0))); });
        c->AddMethod(QStringLiteral("function AddObject(const S: string; AObject: TObject): Integer"), QS_CALL {
            return Variant(Edit(self)->AddObject(Str(h, 0), reinterpret_cast<void *>(intptr_t(h.GetVParam(1).toInt()))));
        });
        c->AddMethod(QStringLiteral("procedure Clear"), QS_CALL {
            (void)h;
            Edit(self)->Clear();
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"), QS_CALL {
            Edit(self)->Delete(Int(h, 0));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("function IndexOf(const S: string): Integer"),
                     QS_CALL { return Variant(ListOf(self).IndexOf(Str(h, 0))); });
        c->AddMethod(QStringLiteral("function IndexOfName(const Name: string): Integer"),
                     QS_CALL { return Variant(ListOf(self).IndexOfName(Str(h, 0))); });
        c->AddMethod(QStringLiteral("function IndexOfObject(AObject: TObject): Integer"), QS_CALL {
            return Variant(ListOf(self).IndexOfObject(reinterpret_cast<void *>(intptr_t(h.GetVParam(0).toInt()))));
        });
        c->AddMethod(QStringLiteral("procedure Insert(Index: Integer; const S: string)"), QS_CALL {
            Edit(self)->Insert(Int(h, 0), Str(h, 1));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure InsertObject(Index: Integer; const S: string; AObject: TObject)"), QS_CALL {
            Edit(self)->InsertObject(Int(h, 0), Str(h, 1), reinterpret_cast<void *>(intptr_t(h.GetVParam(2).toInt())));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: string)"), QS_SCRIPT_CALL {
            LoadListFromFile(Edit(self).List(), FileArg(script, h, 0, TqsFileAccess::Read));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), QS_CALL {
            EditedList list = Edit(self);
            if (::TStream *s = StreamArg(h.GetVParam(0)))
                list->SetText(TextOfBytes(s->ReadAll()));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: string)"), QS_SCRIPT_CALL {
            SaveListToFile(ListOf(self), FileArg(script, h, 0, TqsFileAccess::Write));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure Move(CurIndex, NewIndex: Integer)"), QS_CALL {
            Edit(self)->Move(Int(h, 0), Int(h, 1));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), QS_CALL {
            const ::TStringList &list = ListOf(self);
            if (::TStream *s = StreamArg(h.GetVParam(0)))
                s->WriteBytes(BytesOfList(list));
            return Variant(0);
        });
        c->AddProperty(QStringLiteral("CommaText"), QStringLiteral("string"),
                       QS_GET { return Variant(ListOf(self).CommaText()); },
                       QS_SET { Edit(self)->SetCommaText(v.toString()); });
        c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), QS_GET { return Variant(ListOf(self).Count()); });
        c->AddProperty(QStringLiteral("Text"), QStringLiteral("string"), QS_GET { return Variant(ListOf(self).Text()); },
                       QS_SET { Edit(self)->SetText(v.toString()); });
        c->AddIndexProperty(QStringLiteral("Names"), QStringLiteral("Integer"), QStringLiteral("string"), QS_CALL {
            ::TStringList &list = ListOf(self);
            CheckIndex(list, Int(h, 0));
            return Variant(list.Names(Int(h, 0)));
        }, true);
        c->AddIndexProperty(QStringLiteral("Objects"), QStringLiteral("Integer"), QStringLiteral("TObject"),
                            [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                                ::TStringList &list = ListOf(self);
                                if (name.endsWith(QLatin1String(".SET"))) {
                                    Edit(self)->SetObjects(Int(h, 0), reinterpret_cast<void *>(intptr_t(h.GetVParam(1).toInt())));
                                    return Variant(0);
                                }
                                return Variant(int(reinterpret_cast<intptr_t>(list.Objects(Int(h, 0)))));
                            });
        c->AddIndexProperty(QStringLiteral("Values"), QStringLiteral("String"), QStringLiteral("string"),
                            [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                                ::TStringList &list = ListOf(self);
                                if (name.endsWith(QLatin1String(".SET"))) {
                                    Edit(self)->SetValues(Str(h, 0), Str(h, 1));
                                    return Variant(0);
                                }
                                return Variant(list.Values(Str(h, 0)));
                            });
        c->AddDefaultProperty(QStringLiteral("Strings"), QStringLiteral("Integer"), QStringLiteral("string"),
                              [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                                  ::TStringList &list = ListOf(self);
                                  if (name.endsWith(QLatin1String(".SET"))) {
                                      Edit(self)->SetStrings(Int(h, 0), Str(h, 1));
                                      return Variant(0);
                                  }
                                  return Variant(list.Strings(Int(h, 0)));
                              });
    }
    if (TqsClassVariable *c = script->AddClass(TStringList::StaticClass(), QStringLiteral("TStrings"))) {
        c->AddMethod(QStringLiteral("function Find(s: String; var Index: Integer): Boolean"), QS_CALL {
            int index = 0;
            const bool found = ListOf(self).Find(Str(h, 0), index);
            h.SetVParam(1, Variant(index));
            return Variant(found);
        });
        c->AddMethod(QStringLiteral("procedure Sort"), QS_CALL {
            (void)h;
            Edit(self)->Sort();
            return Variant(0);
        });
        c->AddProperty(QStringLiteral("Duplicates"), QStringLiteral("TDuplicates"),
                       QS_GET { return Variant(int(ListOf(self).Duplicates())); }, QS_SET {
                           const int d = v.toInt();
                           if (d < dupIgnore || d > dupError)
                               throw EqsRunError(QStringLiteral("Invalid duplicates mode %1").arg(d));
                           ListOf(self).SetDuplicates(TDuplicates(d));
                       });
        c->AddProperty(QStringLiteral("Sorted"), QStringLiteral("Boolean"), QS_GET { return Variant(ListOf(self).Sorted()); },
                       QS_SET { Edit(self)->SetSorted(v.toBool()); });
    }
}

void AddStreamClasses(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TStream::StaticClass(), QStringLiteral("TObject"))) {
        c->AddMethod(QStringLiteral("function Read(var Buffer: string; Count: Longint): Longint"),
                     QS_CALL { return StreamRead(StreamOf(self), h); });
        c->AddMethod(QStringLiteral("function Write(Buffer: string; Count: Longint): Longint"),
                     QS_CALL { return StreamWrite(StreamOf(self), h); });
        c->AddMethod(QStringLiteral("function Seek(Offset: Longint; Origin: Word): Longint"), QS_CALL {
            const int origin = Int(h, 1);
            if (origin < soBeginning || origin > soEnd)
                throw EStreamError(QStringLiteral("Invalid seek origin %1").arg(origin));
            return Variant(StreamOf(self).Seek(Int64(h, 0), TSeekOrigin(origin)));
        });
        c->AddMethod(QStringLiteral("function CopyFrom(Source: TStream; Count: Longint): Longint"), QS_CALL {
            ::TStream &dest = StreamOf(self);
            ::TStream *source = StreamArg(h.GetVParam(0));
            if (!source)
                throw EStreamError(QStringLiteral("No source stream"));
            return Variant(dest.CopyFrom(*source, Int64(h, 1)));
        });
        c->AddProperty(QStringLiteral("Position"), QStringLiteral("Longint"),
                       QS_GET { return Variant(StreamOf(self).Position()); },
                       QS_SET { StreamOf(self).SetPosition(v.toInt64()); });
        c->AddProperty(QStringLiteral("Size"), QStringLiteral("Longint"), QS_GET { return Variant(StreamOf(self).Size()); });
    }
    if (TqsClassVariable *c = script->AddClass(TFileStream::StaticClass(), QStringLiteral("TStream")))
        c->AddConstructor(QStringLiteral("constructor Create(Filename: String; Mode: Word)"), QS_SCRIPT_CALL {
            std::unique_ptr<TPersistent> obj(ConstructNamed(script, self));
            auto *stream = dynamic_cast<TStream *>(obj.get());
            if (!stream)
                BadObject(self, "TFileStream");
            const auto mode = uint16_t(Int(h, 1));
            const bool reads = (mode & 0xFF00) != fmCreate && (mode & 3) == fmOpenRead;
            const QString name = FileArg(script, h, 0, reads ? TqsFileAccess::Read : TqsFileAccess::Write);
            stream->FStream = std::make_unique<::TFileStream>(name, mode);
            return rtl::objectToVariant(obj.release());
        });
    if (TqsClassVariable *c = script->AddClass(TMemoryStream::StaticClass(), QStringLiteral("TStream"))) {
        auto memory = [](const Variant &self) -> ::TMemoryStream & { return Self<TMemoryStream>(self, "TMemoryStream").Memory(); };
        c->AddMethod(QStringLiteral("procedure Clear"), [memory](const Variant &self, TqsClassRef, const QString &, Args &) {
            memory(self).Clear();
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [memory](const Variant &self, TqsClassRef, const QString &, Args &h) {
            ::TMemoryStream &m = memory(self);
            if (::TStream *s = StreamArg(h.GetVParam(0)))
                m.LoadFromStream(*s);
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure LoadFromFile(Filename: String)"), [memory, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            memory(self).LoadFromFile(FileArg(script, h, 0, TqsFileAccess::Read));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), [memory](const Variant &self, TqsClassRef, const QString &, Args &h) {
            ::TMemoryStream &m = memory(self);
            if (::TStream *s = StreamArg(h.GetVParam(0)))
                m.SaveToStream(*s);
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure SaveToFile(Filename: String)"), [memory, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            memory(self).SaveToFile(FileArg(script, h, 0, TqsFileAccess::Write));
            return Variant(0);
        });
    }
}

void AddComponentClass(TqsScript *script)
{
    TqsClassVariable *c = script->AddClass(TComponent::StaticClass(), QStringLiteral("TPersistent"));
    if (!c)
        return;
    c->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"), QS_SCRIPT_CALL {
        TComponent *owner = ObjectArg<TComponent>(h.GetVParam(0), "TComponent");
        return rtl::objectToVariant(ConstructNamed(script, self, owner));
    });
    c->AddProperty(QStringLiteral("Owner"), QStringLiteral("TComponent"),
                   QS_GET { return rtl::objectToVariant(Self<TComponent>(self, "TComponent").Owner()); });
}

TqsXMLItem &ItemOf(const Variant &v) { return Self<TqsXMLItem>(v, "TqsXMLItem"); }
Variant Ref(TPersistent *obj) { return rtl::objectToVariant(obj); }

void AddXMLClasses(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TqsXMLItem::StaticClass(), QStringLiteral("TObject"))) {
        c->AddConstructor(QStringLiteral("constructor Create"),
                          QS_SCRIPT_CALL { (void)h; return Ref(ConstructNamed(script, self)); });
        c->AddMethod(QStringLiteral("procedure AddItem(Item: TqsXMLItem)"), QS_CALL {
            TqsXMLItem &item = ItemOf(self);
            item.InsertItem(item.Count(), ObjectArg<TqsXMLItem>(h.GetVParam(0), "TqsXMLItem"));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure Clear"), QS_CALL {
            (void)h;
            ItemOf(self).Clear();
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure InsertItem(Index: Integer; Item: TqsXMLItem)"), QS_CALL {
            ItemOf(self).InsertItem(Int(h, 0), ObjectArg<TqsXMLItem>(h.GetVParam(1), "TqsXMLItem"));
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("function Add: TqsXMLItem"), QS_CALL { (void)h; return Ref(ItemOf(self).Add()); });
        c->AddMethod(QStringLiteral("function Find(const Name: String): Integer"),
                     QS_CALL { return Variant(ItemOf(self).Find(Str(h, 0))); });
        c->AddMethod(QStringLiteral("function FindItem(const Name: String): TqsXMLItem"),
                     QS_CALL { return Ref(ItemOf(self).FindItem(Str(h, 0))); });
        c->AddMethod(QStringLiteral("function Root: TqsXMLItem"), QS_CALL { (void)h; return Ref(ItemOf(self).Root()); });
        c->AddProperty(QStringLiteral("Data"), QStringLiteral("Integer"), QS_GET { return Variant(ItemOf(self).Data); },
                       QS_SET { ItemOf(self).Data = v.toInt(); });
        c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"), QS_GET { return Variant(ItemOf(self).Count()); });
        c->AddProperty(QStringLiteral("Name"), QStringLiteral("String"), QS_GET { return Variant(ItemOf(self).Name); },
                       QS_SET { ItemOf(self).Name = v.toString(); });
        c->AddProperty(QStringLiteral("Parent"), QStringLiteral("TqsXMLItem"), QS_GET { return Ref(ItemOf(self).Parent()); });
        c->AddProperty(QStringLiteral("Text"), QStringLiteral("String"), QS_GET { return Variant(ItemOf(self).Text); },
                       QS_SET { ItemOf(self).Text = v.toString(); });
        c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TqsXMLItem"),
                              QS_CALL { return Ref(ItemOf(self).Items(Int(h, 0))); }, true);
        c->AddIndexProperty(QStringLiteral("Prop"), QStringLiteral("String"), QStringLiteral("String"),
                            [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                                // attributes live in the raw text: the engine's element parses it
                                TqsXMLItem &item = ItemOf(self);
                                ::TqsXMLItem raw;
                                raw.Text = item.Text;
                                if (name.endsWith(QLatin1String(".SET"))) {
                                    raw.SetProp(Str(h, 0), Str(h, 1));
                                    item.Text = raw.Text;
                                    return Variant(0);
                                }
                                return Variant(raw.Prop(Str(h, 0)));
                            });
    }
    if (TqsClassVariable *c = script->AddClass(TqsXMLDocument::StaticClass(), QStringLiteral("TObject"))) {
        auto doc = [](const Variant &v) -> TqsXMLDocument & { return Self<TqsXMLDocument>(v, "TqsXMLDocument"); };
        c->AddConstructor(QStringLiteral("constructor Create"),
                          QS_SCRIPT_CALL { (void)h; return Ref(ConstructNamed(script, self)); });
        c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"), [doc](const Variant &self, TqsClassRef, const QString &, Args &h) {
            const QByteArray bytes = doc(self).SaveToBytes();
            if (::TStream *s = StreamArg(h.GetVParam(0)))
                s->WriteBytes(bytes);
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"), [doc](const Variant &self, TqsClassRef, const QString &, Args &h) {
            TqsXMLDocument &d = doc(self);
            if (::TStream *s = StreamArg(h.GetVParam(0)))
                d.LoadFromBytes(s->ReadAll());
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"), [doc, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            const QByteArray bytes = doc(self).SaveToBytes();
            ::TFileStream f(FileArg(script, h, 0, TqsFileAccess::Write), fmCreate);
            f.WriteBytes(bytes);
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: String)"), [doc, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            TqsXMLDocument &d = doc(self);
            ::TFileStream f(FileArg(script, h, 0, TqsFileAccess::Read), fmOpenRead | fmShareDenyWrite);
            d.LoadFromBytes(f.ReadAll());
            return Variant(0);
        });
        c->AddProperty(QStringLiteral("Root"), QStringLiteral("TqsXMLItem"),
                       [doc](const Variant &self, TqsClassRef, const QString &) { return Ref(&doc(self).Root()); });
    }
}

} // namespace
} // namespace qscl

using namespace qscl;

TqsClassesFunctions::TqsClassesFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    AddGeneralConstants(script);
    AddObjectClasses(script);
    AddListClass(script);
    AddStringsClasses(script);
    AddStreamClasses(script);
    AddComponentClass(script);
    AddXMLClasses(script);
}

void qsRegisterClassLibModules()
{
    static const bool done = [] {
        auto &modules = qsRTTIModules();
        modules.push_back(&TqsClassesFunctions::Create);
        modules.push_back(&TqsGraphicsFunctions::Create);
        modules.push_back(&TqsIniFunctions::Create);
        return true;
    }();
    (void)done;
}
