#include "platform/rtl/inifile.h"
#include "script/classlib/qsbind.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/classlib/qsclassobjects.h"
#include "script/core/qsscript.h"

namespace qscl {
namespace {

#define QS_CALL [](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant

::TCustomIniFile &IniOf(const Variant &v) { return Self<TCustomIniFile>(v, "TCustomIniFile").Ini(); }
::TStringList &ListRef(const Variant &v) { return Self<TStrings>(v, "TStrings").List; }
EditedList EditArg(const Variant &v) { return EditedList(Self<TStrings>(v, "TStrings")); }

// Lines "Items0".."ItemsN-1" and "Count". Reading stops after the last "Items" key present,
// so a "Count" written by hand cannot make a huge list of empty lines.
void WriteTStrings(::TCustomIniFile &ini, const QString &section, const ::TStringList &list, bool isClear)
{
    if (isClear)
        ini.EraseSection(section);
    for (int i = 0; i < list.Count(); ++i)
        ini.WriteString(section, QStringLiteral("Items%1").arg(i), list.Strings(i));
    ini.WriteInteger(section, QStringLiteral("Count"), list.Count());
}

void ReadTStrings(const ::TCustomIniFile &ini, const QString &section, ::TStringList &list, bool isClear)
{
    const int count = ini.ReadInteger(section, QStringLiteral("Count"), 0);
    if (isClear)
        list.Clear();
    QStringList keys;
    ini.ReadSection(section, keys);
    int last = -1;
    for (const QString &k : keys)
        if (k.startsWith(QLatin1String("Items"), Qt::CaseInsensitive)) {
            bool ok = false;
            const int i = k.mid(5).toInt(&ok);
            if (ok && i >= 0 && i < count)
                last = std::max(last, i);
        }
    for (int i = 0; i <= last; ++i)
        list.Add(ini.ReadString(section, QStringLiteral("Items%1").arg(i), QString()));
}

void SaveToStream(const TCustomIniFile &ini, ::TStream &stream)
{
    QStringList lines = ini.Ini().GetStrings();
    QString text;
    for (const QString &l : lines)
        text += l + QStringLiteral("\r\n");
    stream.WriteBytes(text.toUtf8());
}

void LoadFromStream(TCustomIniFile &ini, ::TStream &stream)
{
    ::TStringList lines;
    lines.SetText(QString::fromUtf8(stream.ReadAll()));
    ini.Ini().SetStrings(lines.toQStringList());
    // A TIniFile lives on disk; a TMemIniFile keeps the lines in memory until saved.
    if (dynamic_cast<TIniFile *>(&ini))
        ini.Ini().UpdateFile();
}

// The ini classes' constructor: an instance of the class called through, opened on the file.
void AddIniConstructor(TqsClassVariable *c, TqsScript *script)
{
    c->AddConstructor(QStringLiteral("constructor Create(const FileName: String)"),
                      [script](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant {
                          std::unique_ptr<TPersistent> obj(ConstructNamed(script, self));
                          auto *ini = dynamic_cast<TCustomIniFile *>(obj.get());
                          if (!ini)
                              BadObject(self, "TCustomIniFile");
                          // A TIniFile writes each change to disk; the others only read it.
                          const bool writes = dynamic_cast<TIniFile *>(ini) != nullptr;
                          ini->Open(FileArg(script, h, 0, writes ? TqsFileAccess::Write : TqsFileAccess::Read));
                          return rtl::objectToVariant(obj.release());
                      });
}

void AddCustomIniFile(TqsScript *script)
{
    TqsClassVariable *c = script->AddClass(TCustomIniFile::StaticClass(), QStringLiteral("TObject"));
    if (!c)
        return;
    AddIniConstructor(c, script);
    c->AddMethod(QStringLiteral("function ReadInteger(const Section, Ident: String; Default: LongInt): LongInt"),
                 QS_CALL { return Variant(IniOf(self).ReadInteger(Str(h, 0), Str(h, 1), Int(h, 2))); });
    c->AddMethod(QStringLiteral("procedure WriteInteger(const Section, Ident: String; Value: LongInt)"), QS_CALL {
        IniOf(self).WriteInteger(Str(h, 0), Str(h, 1), Int(h, 2));
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function ReadBool(const Section, Ident: String; Default: Boolean): Boolean"),
                 QS_CALL { return Variant(IniOf(self).ReadBool(Str(h, 0), Str(h, 1), Bool(h, 2))); });
    c->AddMethod(QStringLiteral("procedure WriteBool(const Section, Ident: String; Value: Boolean)"), QS_CALL {
        IniOf(self).WriteBool(Str(h, 0), Str(h, 1), Bool(h, 2));
        return Variant(0);
    });
    // Dates, date-times, times and floats share one shape.
    using Reader = double (::TCustomIniFile::*)(const QString &, const QString &, double) const;
    using Writer = void (::TCustomIniFile::*)(const QString &, const QString &, double);
    const struct
    {
        const char *read, *write;
        Reader r;
        Writer w;
        bool date;
    } floats[] = {
        {"function ReadDate(const Section, Name: String; Default: TDateTime): TDateTime",
         "procedure WriteDate(const Section, Name: String; Value: TDateTime)", &::TCustomIniFile::ReadDate,
         &::TCustomIniFile::WriteDate, true},
        {"function ReadDateTime(const Section, Name: String; Default: TDateTime): TDateTime",
         "procedure WriteDateTime(const Section, Name: String; Value: TDateTime)", &::TCustomIniFile::ReadDateTime,
         &::TCustomIniFile::WriteDateTime, true},
        {"function ReadFloat(const Section, Name: String; Default: Double): Double",
         "procedure WriteFloat(const Section, Name: String; Value: Double)", &::TCustomIniFile::ReadFloat,
         &::TCustomIniFile::WriteFloat, false},
        {"function ReadTime(const Section, Name: String; Default: TDateTime): TDateTime",
         "procedure WriteTime(const Section, Name: String; Value: TDateTime);", &::TCustomIniFile::ReadTime,
         &::TCustomIniFile::WriteTime, true},
    };
    for (const auto &f : floats) {
        const Reader r = f.r;
        const Writer w = f.w;
        const bool date = f.date;
        c->AddMethod(QLatin1String(f.read), [r, date](const Variant &self, TqsClassRef, const QString &, Args &h) {
            const double v = (IniOf(self).*r)(Str(h, 0), Str(h, 1), Float(h, 2));
            return date ? Variant::fromDate(v) : Variant(v);
        });
        c->AddMethod(QLatin1String(f.write), [w](const Variant &self, TqsClassRef, const QString &, Args &h) {
            (IniOf(self).*w)(Str(h, 0), Str(h, 1), Float(h, 2));
            return Variant(0);
        });
    }
    c->AddMethod(QStringLiteral("function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer"), QS_CALL {
        const ::TCustomIniFile &ini = IniOf(self);
        TStream *s = ObjectArg<TStream>(h.GetVParam(2), "TStream");
        QByteArray bytes;
        const int n = ini.ReadBinaryStream(Str(h, 0), Str(h, 1), bytes);
        if (s)
            s->Stream().WriteBytes(bytes);
        return Variant(n);
    });
    c->AddMethod(QStringLiteral("procedure WriteBinaryStream(const Section, Name: String; Value: TStream)"), QS_CALL {
        ::TCustomIniFile &ini = IniOf(self);
        TStream *s = ObjectArg<TStream>(h.GetVParam(2), "TStream");
        ini.WriteBinaryStream(Str(h, 0), Str(h, 1), s ? s->Stream().ReadAll() : QByteArray());
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function SectionExists(const Section: String): Boolean"),
                 QS_CALL { return Variant(IniOf(self).SectionExists(Str(h, 0))); });
    c->AddMethod(QStringLiteral("function ValueExists(const Section, Ident: String): Boolean"),
                 QS_CALL { return Variant(IniOf(self).ValueExists(Str(h, 0), Str(h, 1))); });
    c->AddMethod(QStringLiteral("procedure WriteTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True)"),
                 QS_CALL {
                     ::TCustomIniFile &ini = IniOf(self);
                     WriteTStrings(ini, Str(h, 0), ListRef(h.GetVParam(1)), Bool(h, 2));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("function ReadTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True): String;"),
                 QS_CALL {
                     const ::TCustomIniFile &ini = IniOf(self);
                     ReadTStrings(ini, Str(h, 0), EditArg(h.GetVParam(1)).List(), Bool(h, 2));
                     return Variant(0);
                 });
    c->AddProperty(QStringLiteral("FileName"), QStringLiteral("String"),
                   [](const Variant &self, TqsClassRef, const QString &) { return Variant(IniOf(self).FileName()); });
}

// The members TMemIniFile and TIniFile both declare (each class registers its own).
void AddFileMembers(TqsClassVariable *c, bool memory)
{
    c->AddMethod(QStringLiteral("procedure WriteString(const Section, Ident, Value: String)"), QS_CALL {
        IniOf(self).WriteString(Str(h, 0), Str(h, 1), Str(h, 2));
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function ReadString(const Section, Ident, Default: String): String;"),
                 QS_CALL { return Variant(IniOf(self).ReadString(Str(h, 0), Str(h, 1), Str(h, 2))); });
    c->AddMethod(QStringLiteral("procedure ReadSectionValuesEx(const Section: String; Strings: TStrings)"), QS_CALL {
        const ::TCustomIniFile &ini = IniOf(self);
        EditedList out = EditArg(h.GetVParam(1));
        QStringList lines;
        ini.ReadSectionValues(Str(h, 0), lines);
        const ::TStringList temp(lines);
        out->Clear();
        for (int i = 0; i < temp.Count(); ++i)
            out->Add(temp.Values(temp.Names(i)));
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure DeleteKey(const Section, Ident: String)"), QS_CALL {
        IniOf(self).DeleteKey(Str(h, 0), Str(h, 1));
        return Variant(0);
    });
    auto intoList = [](::TStringList &list, const QStringList &lines) {
        list.Clear();
        for (const QString &l : lines)
            list.Add(l);
    };
    c->AddMethod(QStringLiteral("procedure ReadSection(const Section: String; Strings: TStrings)"),
                 [intoList](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     QStringList keys;
                     IniOf(self).ReadSection(Str(h, 0), keys);
                     intoList(EditArg(h.GetVParam(1)).List(), keys);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure ReadSections(Strings: TStrings)"),
                 [intoList](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     QStringList sections;
                     IniOf(self).ReadSections(sections);
                     intoList(EditArg(h.GetVParam(0)).List(), sections);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure ReadSectionValues(const Section: String; Strings: TStrings)"),
                 [intoList](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     QStringList lines;
                     IniOf(self).ReadSectionValues(Str(h, 0), lines);
                     intoList(EditArg(h.GetVParam(1)).List(), lines);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure EraseSection(const Section: String)"), QS_CALL {
        IniOf(self).EraseSection(Str(h, 0));
        return Variant(0);
    });
    if (memory) {
        c->AddMethod(QStringLiteral("procedure Clear"), QS_CALL {
            (void)h;
            static_cast<::TMemIniFile &>(Self<TMemIniFile>(self, "TMemIniFile").Ini()).Clear();
            return Variant(0);
        });
        c->AddMethod(QStringLiteral("procedure GetStrings(List: TStrings)"),
                     [intoList](const Variant &self, TqsClassRef, const QString &, Args &h) {
                         intoList(EditArg(h.GetVParam(0)).List(), IniOf(self).GetStrings());
                         return Variant(0);
                     });
        c->AddMethod(QStringLiteral("procedure SetStrings(List: TStrings)"), QS_CALL {
            IniOf(self).SetStrings(ListRef(h.GetVParam(0)).toQStringList());
            return Variant(0);
        });
    }
    // Nil objects or objects of neither class do nothing.
    c->AddMethod(QStringLiteral("procedure SaveIniFileToStream(oStream: TStream)"), QS_CALL {
        auto *ini = ObjectArg<TCustomIniFile>(self, "TCustomIniFile");
        auto *s = ObjectArg<TStream>(h.GetVParam(0), "TStream");
        if (ini && ini->FIni && s)
            SaveToStream(*ini, s->Stream());
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure LoadIniFileFromStream(oStream: TStream)"), QS_CALL {
        auto *ini = ObjectArg<TCustomIniFile>(self, "TCustomIniFile");
        auto *s = ObjectArg<TStream>(h.GetVParam(0), "TStream");
        if (ini && ini->FIni && s)
            LoadFromStream(*ini, s->Stream());
        return Variant(0);
    });
}

} // namespace
} // namespace qscl

using namespace qscl;

TqsIniFunctions::TqsIniFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    AddCustomIniFile(script);
    if (TqsClassVariable *c = script->AddClass(qscl::TMemIniFile::StaticClass(), QStringLiteral("TCustomIniFile"))) {
        AddIniConstructor(c, script);
        AddFileMembers(c, true);
    }
    if (TqsClassVariable *c = script->AddClass(qscl::TIniFile::StaticClass(), QStringLiteral("TCustomIniFile")))
        AddFileMembers(c, false);
}
