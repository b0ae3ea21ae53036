#include "script/report/kvlclassrtti.h"

#include "engine/store/previewpages.h"
#include "platform/rtl/datetime.h"
#include "report/appearance/fill.h"
#include "report/appearance/frame.h"
#include "report/appearance/hyperlink.h"
#include "report/bands/kvlband.h"
#include "report/bands/kvlsubreport.h"
#include "report/controls/kvldialogcontrol.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldbdataset.h"
#include "report/data/kvldialogcomponent.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvldialogpage.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlengine.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlhighlight.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "engine/run/kvlengine.h"
#include "script/classlib/qsbind.h"
#include "script/classlib/qsclassesrtti.h"
#include "script/classlib/qsclassobjects.h"
#include "script/core/qsscript.h"
#include "script/items/qsclasses.h"
#include "script/report/kvlrttiobjects.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kvlrtti {
namespace {

using qscl::Args;
using qscl::Bool;
using qscl::FileArg;
using qscl::Float;
using qscl::Int;
using qscl::Self;
using qscl::Str;

#define KV_CALL [](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define KV_SCRIPT_CALL [script](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define KV_MODULE_CALL [module](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define KV_INDEX [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant
#define KV_GET [](const Variant &self, TqsClassRef, const QString &) -> Variant
#define KV_SET [](const Variant &self, TqsClassRef, const QString &, const Variant &v)

Variant Ref(TPersistent *obj) { return rtl::objectToVariant(obj); }
bool IsSet(const QString &name) { return name.endsWith(QLatin1String(".SET")); }

// An object argument of a member: nil gives nullptr; a stale or forged handle or an object
// of another class is a script error naming the member.
template<class T>
T *Arg(const Variant &value, const char *member, const char *expected)
{
    if (value.isEmptyOrNull() || (value.isOrdinal() && value.toInt64() == 0))
        return nullptr;
    if (value.isOrdinal())
        if (T *obj = rtl::ObjectHandles::objectAs<T>(value.toInt64()))
            return obj;
    throw EqsRunError(QStringLiteral("%1: invalid object reference %2, %3 expected")
                          .arg(QLatin1String(member), value.toString(), QLatin1String(expected)));
}

template<class T>
T &NeedArg(const Variant &value, const char *member, const char *expected)
{
    if (T *obj = Arg<T>(value, member, expected))
        return *obj;
    throw EqsRunError(QStringLiteral("%1: %2 expected, nil given").arg(QLatin1String(member), QLatin1String(expected)));
}

::TStream &StreamArg(const Variant &value, const char *member)
{
    return NeedArg<qscl::TStream>(value, member, "TStream").Stream();
}

// The lines of a string list argument: a wide string list or a string list of the class library.
void LinesFrom(const Variant &value, const char *member, TkvlWideStrings &dest)
{
    if (value.isOrdinal() && value.toInt64() != 0) {
        if (auto *w = rtl::ObjectHandles::objectAs<TWideStrings>(value.toInt64())) {
            if (&w->List() != &dest)
                dest.Assign(w->List());
            return;
        }
        if (auto *s = rtl::ObjectHandles::objectAs<qscl::TStrings>(value.toInt64())) {
            dest.Assign(s->List);
            return;
        }
    }
    if (value.isOrdinal() && value.toInt64() == 0) {
        dest.Clear();
        return;
    }
    throw EqsRunError(QStringLiteral("%1: invalid object reference %2, TWideStrings expected")
                          .arg(QLatin1String(member), value.toString()));
}

// While a report runs, its engine walks the report, its pages and their bands: freeing or
// replacing their contents then would pull the ground from under it.
void CheckNotRunning(TkvlComponent &c, const char *member)
{
    TkvlReport *r = c.Report();
    const bool running = r && r->Engine() && r->Engine()->Running;
    if (running && (&c == r || rtl_cast<TkvlPage>(&c) || rtl_cast<TkvlBand>(&c)))
        throw EqsRunError(QStringLiteral("%1: %2 is in use by the running report")
                              .arg(QLatin1String(member), c.Name().isEmpty() ? c.ClassName() : c.Name()));
}

// Engine calls that place bands need a run in progress.
TkvlCustomEngine &RunningEngine(const Variant &self, const char *member)
{
    auto &e = Self<TkvlCustomEngine>(self, "TkvlCustomEngine");
    if (!e.Running)
        throw EqsRunError(QStringLiteral("%1: the report is not running").arg(QLatin1String(member)));
    return e;
}

// Text of a script string as bytes, one per character.
QByteArray BytesOf(const QString &text, const char *member)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 255)
            throw EqsRunError(QStringLiteral("%1: character %2 at position %3 is not a byte")
                                  .arg(QLatin1String(member)).arg(int(c)).arg(i + 1));
        bytes[i] = char(c);
    }
    return bytes;
}

void AddConstants(TqsScript *s)
{
    const QString ext = QStringLiteral("Extended");
    s->AddConst(QStringLiteral("kv01cm"), ext, Variant(3.77953));
    s->AddConst(QStringLiteral("kv1cm"), ext, Variant(37.7953));
    s->AddConst(QStringLiteral("kv01in"), ext, Variant(9.6));
    // Two of them hold integer values although declared Extended.
    auto integral = [s, &ext](const QString &name, int value) {
        if (TqsCustomVariable *v = s->AddConst(name, ext, Variant(value)))
            v->FValue = Variant(value);
    };
    integral(QStringLiteral("kv1in"), 96);
    s->AddConst(QStringLiteral("kv1CharX"), ext, Variant(9.6));
    integral(QStringLiteral("kv1CharY"), 17);
    const QString integer = QStringLiteral("Integer");
    s->AddConst(QStringLiteral("clTransparent"), integer, Variant(0x1FFFFFFF));
    s->AddConst(QStringLiteral("crHand"), integer, Variant(150));
    s->AddConst(QStringLiteral("crZoom"), integer, Variant(151));
    s->AddConst(QStringLiteral("crFormat"), integer, Variant(152));
}

void AddTypes(TqsScript *s)
{
    const struct
    {
        const char *type;
        bool set;
        const char *values;
    } types[] = {
        {"TkvlStretchMode", false, "smDontStretch, smActualHeight, smMaxHeight"},
        {"TkvlShiftMode", false, "smDontShift, smAlways, smWhenOverlapped"},
        {"TkvlDuplexMode", false, "dmNone, dmVertical, dmHorizontal, dmSimplex"},
        {"TkvlAlign", false, "baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient"},
        {"TkvlFrameStyle", false, "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble"},
        {"TkvlFrameTypes", true, "ftLeft, ftRight, ftTop, ftBottom"},
        {"TkvlHAlign", false, "haLeft, haRight, haCenter, haBlock"},
        {"TkvlVAlign", false, "vaTop, vaBottom, vaCenter"},
        {"TkvlRestrictions", true, "rfDontModify, rfDontSize, rfDontMove, rfDontDelete"},
        {"TkvlShapeKind", false, "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2"},
        {"TkvlPreviewButtons", true,
         "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit, pbNavigator, "
         "pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail"},
        {"TkvlZoomMode", false, "zmDefault, zmWholePage, zmPageWidth, zmManyPages"},
        {"TkvlPrintPages", false, "ppAll, ppOdd, ppEven"},
        {"TkvlDMPFontStyles", true,
         "fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, fsx12cpi, fsx15cpi"},
        {"TkvlRangeBegin", false, "rbFirst, rbCurrent"},
        {"TkvlRangeEnd", false, "reLast, reCurrent, reCount"},
        {"TkvlFieldType", false, "fftNumeric, fftString, fftBoolean"},
        {"TkvlFormatKind", false, "fkText, fkNumeric, fkDateTime, fkBoolean"},
        {"TkvlFillType", false, "ftBrush, ftGradient, ftGlass"},
        {"TkvlPrintMode", false, "pmDefault, pmSplit, pmJoin, pmScale"},
        {"TkvlVisibilityTypes", true, "vsPreview, vsExport, vsPrint"},
    };
    for (const auto &t : types) {
        if (t.set)
            s->AddEnumSet(QLatin1String(t.type), QLatin1String(t.values));
        else
            s->AddEnum(QLatin1String(t.type), QLatin1String(t.values));
    }
}

// ---- classes whose members the module answers ----------------------------------------------

void AddWideStrings(TqsClassVariable *c, TqsScript *script)
{
    auto list = [](const Variant &self) -> TkvlWideStrings & { return Self<TWideStrings>(self, "TWideStrings").List(); };
    c->AddConstructor(QStringLiteral("constructor Create"),
                      KV_SCRIPT_CALL { (void)h; return Ref(qscl::ConstructNamed(script, self)); });
    c->AddMethod(QStringLiteral("function Add(const S: string): Integer"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) { return Variant(list(self).Add(Str(h, 0))); });
    c->AddMethod(QStringLiteral("function AddObject(const S: string; AObject: TObject): Integer"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     return Variant(list(self).AddObject(Str(h, 0), reinterpret_cast<void *>(intptr_t(Int(h, 1)))));
                 });
    c->AddMethod(QStringLiteral("procedure Clear"), [list](const Variant &self, TqsClassRef, const QString &, Args &) {
        list(self).Clear();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure Delete(Index: Integer)"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlWideStrings &l = list(self);
                     const int i = Int(h, 0);
                     if (i < 0 || i >= l.Count())
                         throw EqsRunError(QStringLiteral("List index out of bounds (%1)").arg(i));
                     l.Delete(i);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("function IndexOf(const S: string): Integer"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) { return Variant(list(self).IndexOf(Str(h, 0))); });
    c->AddMethod(QStringLiteral("procedure Insert(Index: Integer; const S: string)"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     list(self).Insert(Int(h, 0), Str(h, 1));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: string)"),
                 [list, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     list(self).LoadFromFile(FileArg(script, h, 0, TqsFileAccess::Read));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlWideStrings &l = list(self);
                     l.LoadFromStream(StreamArg(h.GetVParam(0), "LoadFromStream"));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: string)"),
                 [list, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     list(self).SaveToFile(FileArg(script, h, 0, TqsFileAccess::Write));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"),
                 [list](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     const TkvlWideStrings &l = list(self);
                     l.SaveToStream(StreamArg(h.GetVParam(0), "SaveToStream"));
                     return Variant(0);
                 });
    c->AddProperty(QStringLiteral("Count"), QStringLiteral("Integer"),
                   [list](const Variant &self, TqsClassRef, const QString &) { return Variant(list(self).Count()); });
    c->AddProperty(
        QStringLiteral("Text"), QStringLiteral("string"),
        [list](const Variant &self, TqsClassRef, const QString &) { return Variant(list(self).Text()); },
        [list](const Variant &self, TqsClassRef, const QString &, const Variant &v) { list(self).SetText(v.toString()); });
    c->AddIndexProperty(QStringLiteral("Objects"), QStringLiteral("Integer"), QStringLiteral("TObject"),
                        [list](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                            TkvlWideStrings &l = list(self);
                            if (IsSet(name)) {
                                l.PutObject(Int(h, 0), reinterpret_cast<void *>(intptr_t(Int(h, 1))));
                                return Variant(0);
                            }
                            return Variant(int(reinterpret_cast<intptr_t>(l.GetObject(Int(h, 0)))));
                        });
    c->AddDefaultProperty(QStringLiteral("Strings"), QStringLiteral("Integer"), QStringLiteral("string"),
                          [list](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                              TkvlWideStrings &l = list(self);
                              if (IsSet(name)) {
                                  l.Put(Int(h, 0), Str(h, 1));
                                  return Variant(0);
                              }
                              return Variant(l.Get(Int(h, 0)));
                          });
}

void AddDataSet(TqsClassVariable *c)
{
    auto ds = [](const Variant &self) -> TkvlDataSet & { return Self<TkvlDataSet>(self, "TkvlDataSet"); };
    using Op = void (*)(TkvlDataSet &);
    const std::pair<const char *, Op> procs[] = {
        {"procedure Open", [](TkvlDataSet &d) { d.Open(); }},   {"procedure Close", [](TkvlDataSet &d) { d.Close(); }},
        {"procedure First", [](TkvlDataSet &d) { d.First(); }}, {"procedure Next", [](TkvlDataSet &d) { d.Next(); }},
        {"procedure Prior", [](TkvlDataSet &d) { d.Prior(); }},
    };
    for (const auto &proc : procs) {
        const Op op = proc.second;
        c->AddMethod(QLatin1String(proc.first), [ds, op](const Variant &self, TqsClassRef, const QString &, Args &) {
            op(ds(self));
            return Variant(0);
        });
    }
    c->AddMethod(QStringLiteral("function Eof: Boolean"),
                 [ds](const Variant &self, TqsClassRef, const QString &, Args &) { return Variant(ds(self).Eof()); });
    c->AddMethod(QStringLiteral("function FieldsCount: Integer"),
                 [ds](const Variant &self, TqsClassRef, const QString &, Args &) { return Variant(ds(self).FieldsCount()); });
    c->AddMethod(QStringLiteral("function HasField(const fName: String): Boolean"),
                 [ds](const Variant &self, TqsClassRef, const QString &, Args &h) { return Variant(ds(self).HasField(Str(h, 0))); });
    c->AddMethod(QStringLiteral("function IsBlobField(const fName: String): Boolean"),
                 [ds](const Variant &self, TqsClassRef, const QString &, Args &h) { return Variant(ds(self).IsBlobField(Str(h, 0))); });
    c->AddMethod(QStringLiteral("function RecordCount: Integer"),
                 [ds](const Variant &self, TqsClassRef, const QString &, Args &) { return Variant(ds(self).RecordCount()); });
    c->AddMethod(QStringLiteral("procedure GetFieldList(List: TStrings)"),
                 [ds](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlDataSet &d = ds(self);
                     d.GetFieldList(qscl::EditedList(NeedArg<qscl::TStrings>(h.GetVParam(0), "GetFieldList", "TStrings")).List());
                     return Variant(0);
                 });
    c->AddProperty(QStringLiteral("RecNo"), QStringLiteral("Integer"),
                   [ds](const Variant &self, TqsClassRef, const QString &) { return Variant(ds(self).RecNo()); });
    c->AddIndexProperty(QStringLiteral("DisplayText"), QStringLiteral("String"), QStringLiteral("String"),
                        [ds](const Variant &self, TqsClassRef, const QString &, Args &h) {
                            return Variant(ds(self).GetDisplayText(Str(h, 0)));
                        }, true);
    c->AddIndexProperty(QStringLiteral("DisplayWidth"), QStringLiteral("String"), QStringLiteral("Integer"),
                        [ds](const Variant &self, TqsClassRef, const QString &, Args &h) {
                            return Variant(ds(self).GetDisplayWidth(Str(h, 0)));
                        }, true);
    c->AddIndexProperty(QStringLiteral("FieldType"), QStringLiteral("String"), QStringLiteral("TkvlFieldType"),
                        [ds](const Variant &self, TqsClassRef, const QString &, Args &h) {
                            return Variant(int(uint8_t(ds(self).GetFieldType(Str(h, 0)))));
                        }, true);
    c->AddIndexProperty(QStringLiteral("Value"), QStringLiteral("String"), QStringLiteral("Variant"),
                        [ds](const Variant &self, TqsClassRef, const QString &, Args &h) { return ds(self).GetValue(Str(h, 0)); },
                        true);
}

void AddComponent(TqsClassVariable *c, TkvlClassRTTIFunctions *module)
{
    auto comp = [](const Variant &self) -> TkvlComponent & { return Self<TkvlComponent>(self, "TkvlComponent"); };
    c->AddMethod(QStringLiteral("procedure Clear"), [comp](const Variant &self, TqsClassRef, const QString &, Args &) {
        TkvlComponent &o = comp(self);
        CheckNotRunning(o, "Clear");
        o.Clear();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function FindObject(s: String): TkvlComponent"),
                 [comp](const Variant &self, TqsClassRef, const QString &, Args &h) { return Ref(comp(self).FindObject(Str(h, 0))); });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"),
                 [comp](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlComponent &o = comp(self);
                     ::TStream &s = StreamArg(h.GetVParam(0), "LoadFromStream");
                     CheckNotRunning(o, "LoadFromStream");
                     o.LoadFromStream(s);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)"),
                 [comp](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlComponent &o = comp(self);
                     o.SaveToStream(StreamArg(h.GetVParam(0), "SaveToStream"), Bool(h, 1), false, false);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)"),
                 [comp](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     comp(self).SetBounds(Float(h, 0), Float(h, 1), Float(h, 2), Float(h, 3));
                     return Variant(0);
                 });
    c->AddProperty(QStringLiteral("Objects"), QStringLiteral("TList"),
                   [module](const Variant &self, TqsClassRef, const QString &) {
                       TkvlComponent &o = Self<TkvlComponent>(self, "TkvlComponent");
                       auto &list = static_cast<qscl::TList &>(*module->ListOf(&o, TkvlClassRTTIFunctions::lkObjects));
                       list.Items.clear();
                       for (TkvlComponent *child : o.Objects())
                           list.Items.push_back(rtl::ObjectHandles::handleOf(child));
                       return Ref(&list);
                   });
    c->AddProperty(QStringLiteral("AllObjects"), QStringLiteral("TList"),
                   [module](const Variant &self, TqsClassRef, const QString &) {
                       TkvlComponent &o = Self<TkvlComponent>(self, "TkvlComponent");
                       auto &list = static_cast<qscl::TList &>(*module->ListOf(&o, TkvlClassRTTIFunctions::lkAllObjects));
                       list.Items.clear();
                       for (TkvlComponent *child : o.GetAllObjects())
                           list.Items.push_back(rtl::ObjectHandles::handleOf(child));
                       return Ref(&list);
                   });
    c->AddProperty(
        QStringLiteral("Parent"), QStringLiteral("TkvlComponent"), [comp](const Variant &self, TqsClassRef, const QString &) {
            return Ref(comp(self).Parent());
        },
        [comp](const Variant &self, TqsClassRef, const QString &, const Variant &v) {
            TkvlComponent &o = comp(self);
            o.SetParent(Arg<TkvlComponent>(v, "Parent", "TkvlComponent"));
        });
    c->AddProperty(QStringLiteral("Page"), QStringLiteral("TkvlPage"),
                   [comp](const Variant &self, TqsClassRef, const QString &) { return Ref(comp(self).GetPage()); });
    c->AddProperty(QStringLiteral("AbsLeft"), QStringLiteral("Extended"),
                   [comp](const Variant &self, TqsClassRef, const QString &) { return Variant(comp(self).GetAbsLeft()); });
    c->AddProperty(QStringLiteral("AbsTop"), QStringLiteral("Extended"),
                   [comp](const Variant &self, TqsClassRef, const QString &) { return Variant(comp(self).GetAbsTop()); });
}

void AddMemo(TqsClassVariable *c, TkvlClassRTTIFunctions *module)
{
    auto memo = [](const Variant &self) -> TkvlCustomMemoView & { return Self<TkvlCustomMemoView>(self, "TkvlCustomMemoView"); };
    c->AddMethod(QStringLiteral("function CalcWidth: Extended"),
                 [memo](const Variant &self, TqsClassRef, const QString &, Args &) { return Variant(memo(self).CalcWidth()); });
    // Script strings are Unicode: the text is stored as given.
    c->AddProperty(
        QStringLiteral("Text"), QStringLiteral("String"),
        [memo](const Variant &self, TqsClassRef, const QString &) { return Variant(memo(self).Text()); },
        [memo](const Variant &self, TqsClassRef, const QString &, const Variant &v) { memo(self).SetText(v.toString()); });
    // One character per byte, through the code page of the font's character set.
    c->AddProperty(
        QStringLiteral("AnsiText"), QStringLiteral("String"),
        [memo](const Variant &self, TqsClassRef, const QString &) { return Variant(QString::fromLatin1(memo(self).AnsiText())); },
        [memo](const Variant &self, TqsClassRef, const QString &, const Variant &v) {
            TkvlCustomMemoView &m = memo(self);
            m.SetAnsiText(BytesOf(v.toString(), "AnsiText"));
        });
    c->AddProperty(
        QStringLiteral("Lines"), QStringLiteral("TWideStrings"),
        [module](const Variant &self, TqsClassRef, const QString &) {
            auto &m = Self<TkvlCustomMemoView>(self, "TkvlCustomMemoView");
            return Ref(module->ListOf(&m, TkvlClassRTTIFunctions::lkLines));
        },
        [memo](const Variant &self, TqsClassRef, const QString &, const Variant &v) { LinesFrom(v, "Lines", memo(self).Memo()); });
    c->AddProperty(QStringLiteral("Value"), QStringLiteral("Variant"),
                   [memo](const Variant &self, TqsClassRef, const QString &) { return memo(self).Value; });
}

void AddStyles(TqsClassVariable *c)
{
    TqsScript *script = c->FProgram;
    auto styles = [](const Variant &self) -> TkvlStyles & { return Self<TkvlStyles>(self, "TkvlStyles"); };
    c->AddConstructor(QStringLiteral("constructor Create(AReport: TkvlReport)"), KV_CALL {
        if (self.isOrdinal())
            return Variant(self);
        return Ref(new TkvlStyles(Arg<TkvlReport>(h.GetVParam(0), "Create", "TkvlReport")));
    });
    c->AddMethod(QStringLiteral("function Add: TkvlStyleItem"),
                 [styles](const Variant &self, TqsClassRef, const QString &, Args &) { return Ref(styles(self).Add()); });
    c->AddMethod(QStringLiteral("function Find(const Name: String): TkvlStyleItem"),
                 [styles](const Variant &self, TqsClassRef, const QString &, Args &h) { return Ref(styles(self).Find(Str(h, 0))); });
    c->AddMethod(QStringLiteral("procedure Apply"), [styles](const Variant &self, TqsClassRef, const QString &, Args &) {
        styles(self).Apply();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure GetList(List: TStrings)"),
                 [styles](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlStyles &s = styles(self);
                     qscl::EditedList list(NeedArg<qscl::TStrings>(h.GetVParam(0), "GetList", "TStrings"));
                     QStringList names;
                     s.GetList(names);
                     list->Clear();
                     for (const QString &n : names)
                         list->Add(n);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure LoadFromFile(const FileName: String)"),
                 [styles, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     styles(self).LoadFromFile(FileArg(script, h, 0, TqsFileAccess::Read));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure LoadFromStream(Stream: TStream)"),
                 [styles](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlStyles &s = styles(self);
                     s.LoadFromStream(StreamArg(h.GetVParam(0), "LoadFromStream"));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"),
                 [styles, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     styles(self).SaveToFile(FileArg(script, h, 0, TqsFileAccess::Write));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure SaveToStream(Stream: TStream)"),
                 [styles](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlStyles &s = styles(self);
                     s.SaveToStream(StreamArg(h.GetVParam(0), "SaveToStream"));
                     return Variant(0);
                 });
    // Writing an element through the default property is not answered.
    c->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("TkvlStyleItem"),
                          [styles](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                              if (IsSet(name))
                                  return Variant(0);
                              TkvlStyles &s = styles(self);
                              const int i = Int(h, 0);
                              if (i < 0 || i >= s.Count())
                                  throw EqsRunError(QStringLiteral("List index out of bounds (%1)").arg(i));
                              return Ref(s.Items(i));
                          });
}

void AddReport(TqsClassVariable *c)
{
    TqsScript *script = c->FProgram;
    auto report = [](const Variant &self) -> TkvlReport & { return Self<TkvlReport>(self, "TkvlReport"); };
    // Errors name the expression and are not listed with the run's errors.
    c->AddMethod(QStringLiteral("function Calc(const Expr: String): Variant"),
                 [report](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlReport &r = report(self);
                     TStringList errors;
                     errors.Assign(r.Errors());
                     try {
                         return r.Calc(Str(h, 0), TkvlReport::CalcMarker);
                     } catch (...) {
                         r.Errors().Assign(errors);
                         throw;
                     }
                 });
    c->AddMethod(QStringLiteral("function GetDataset(const Alias: String): TkvlDataset"),
                 [report](const Variant &self, TqsClassRef, const QString &, Args &h) { return Ref(report(self).GetDataset(Str(h, 0))); });
    c->AddMethod(QStringLiteral("function LoadFromFile(const FileName: String): Boolean"),
                 [report, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlReport &r = report(self);
                     CheckNotRunning(r, "LoadFromFile");
                     return Variant(r.LoadFromFile(FileArg(script, h, 0, TqsFileAccess::Read), false));
                 });
    c->AddMethod(QStringLiteral("procedure SaveToFile(const FileName: String)"),
                 [report, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     report(self).SaveToFile(FileArg(script, h, 0, TqsFileAccess::Write));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure ShowReport"), [report](const Variant &self, TqsClassRef, const QString &, Args &) {
        report(self).ShowReport(true);
        return Variant(0);
    });
    c->AddProperty(
        QStringLiteral("Terminated"), QStringLiteral("Boolean"),
        [report](const Variant &self, TqsClassRef, const QString &) { return Variant(report(self).Terminated); },
        [report](const Variant &self, TqsClassRef, const QString &, const Variant &v) { report(self).SetTerminated(v.toBool()); });
    c->AddProperty(QStringLiteral("Variables"), QStringLiteral("TkvlVariables"),
                   [report](const Variant &self, TqsClassRef, const QString &) { return Ref(&report(self).Variables()); });
    c->AddProperty(QStringLiteral("Styles"), QStringLiteral("TkvlStyles"),
                   [report](const Variant &self, TqsClassRef, const QString &) { return Ref(&report(self).Styles()); });
}

void AddEngine(TqsClassVariable *c)
{
    auto store = [](const Variant &self) -> TkvlPreviewPages * {
        return dynamic_cast<TkvlPreviewPages *>(Self<TkvlCustomEngine>(self, "TkvlCustomEngine").PreviewPages);
    };
    c->AddMethod(QStringLiteral("procedure AddAnchor(const Text: String)"),
                 [store](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     if (TkvlPreviewPages *p = store(self))
                         p->AddAnchor(Str(h, 0));
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure NewPage"), KV_CALL {
        (void)h;
        RunningEngine(self, "NewPage").NewPage();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure NewColumn"), KV_CALL {
        (void)h;
        RunningEngine(self, "NewColumn").NewColumn();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure ShowBand(Band: TkvlBand)"), KV_CALL {
        TkvlCustomEngine &e = Self<TkvlCustomEngine>(self, "TkvlCustomEngine");
        TkvlBand &band = NeedArg<TkvlBand>(h.GetVParam(0), "ShowBand", "TkvlBand");
        if (band.Report() != e.Report())
            throw EqsRunError(QStringLiteral("ShowBand: %1 is not a band of the running report").arg(band.Name()));
        RunningEngine(self, "ShowBand").ShowBand(&band);
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure StopReport"), KV_CALL {
        (void)h;
        Self<TkvlCustomEngine>(self, "TkvlCustomEngine").StopReport();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("function FreeSpace: Extended"), KV_CALL {
        (void)h;
        return Variant(RunningEngine(self, "FreeSpace").FreeSpace());
    });
    c->AddMethod(QStringLiteral("function GetAnchorPage(const Text: String): Integer"),
                 [store](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlPreviewPages *p = store(self);
                     return Variant(p ? p->GetAnchorPage(Str(h, 0)) : 0);
                 });
}

void AddOutline(TqsClassVariable *c)
{
    auto outline = [](const Variant &self) -> TkvlCustomOutline & { return Self<TkvlCustomOutline>(self, "TkvlCustomOutline"); };
    c->AddMethod(QStringLiteral("procedure AddItem(const Text: String)"),
                 [outline](const Variant &self, TqsClassRef, const QString &, Args &h) {
                     TkvlCustomOutline &o = outline(self);
                     const TkvlCustomEngine *e = o.Engine();
                     o.AddItem(Str(h, 0), e ? int(std::nearbyint(e->CurY)) : 0);
                     return Variant(0);
                 });
    c->AddMethod(QStringLiteral("procedure LevelRoot"), [outline](const Variant &self, TqsClassRef, const QString &, Args &) {
        outline(self).LevelRoot();
        return Variant(0);
    });
    c->AddMethod(QStringLiteral("procedure LevelUp"), [outline](const Variant &self, TqsClassRef, const QString &, Args &) {
        outline(self).LevelUp();
        return Variant(0);
    });
}

void AddOtherMembers(TqsScript *script, const QString &name, TqsClassVariable *c)
{
    if (name == QLatin1String("TkvlDialogControl")) {
        c->AddMethod(QStringLiteral("procedure SetFocus"), KV_CALL {
            (void)h;
            if (QWidget *w = Self<TkvlDialogControl>(self, "TkvlDialogControl").Control())
                w->setFocus();
            return Variant(0);
        });
    } else if (name == QLatin1String("TkvlView")) {
        c->AddProperty(
            QStringLiteral("TagStr"), QStringLiteral("String"),
            KV_GET { return Variant(Self<TkvlView>(self, "TkvlView").TagStr); },
            KV_SET { Self<TkvlView>(self, "TkvlView").TagStr = v.toString(); });
    } else if (name == QLatin1String("TkvlStretcheable")) {
        c->AddMethod(QStringLiteral("function CalcHeight: Extended"),
                     KV_CALL { (void)h; return Variant(Self<TkvlStretcheable>(self, "TkvlStretcheable").CalcHeight()); });
    } else if (name == QLatin1String("TkvlPictureView")) {
        c->AddMethod(QStringLiteral("procedure LoadFromFile(filename: String)"), KV_SCRIPT_CALL {
            auto &v = Self<TkvlPictureView>(self, "TkvlPictureView");
            v.Picture()->LoadFromFile(FileArg(script, h, 0, TqsFileAccess::Read));
            v.PictureChanged();
            return Variant(0);
        });
    } else if (name == QLatin1String("TkvlBand")) {
        c->AddProperty(QStringLiteral("Overflow"), QStringLiteral("Boolean"),
                       KV_GET { return Variant(Self<TkvlBand>(self, "TkvlBand").Overflow); });
    } else if (name == QLatin1String("TkvlDialogPage")) {
        c->AddMethod(QStringLiteral("function ShowModal: Integer"),
                     KV_CALL { (void)h; return Variant(int(Self<TkvlDialogPage>(self, "TkvlDialogPage").ShowModal())); });
        c->AddProperty(
            QStringLiteral("ModalResult"), QStringLiteral("Integer"),
            KV_GET { return Variant(int(Self<TkvlDialogPage>(self, "TkvlDialogPage").ModalResult())); },
            KV_SET { Self<TkvlDialogPage>(self, "TkvlDialogPage").SetModalResult(v.toInt()); });
    } else if (name == QLatin1String("TkvlEngineOptions")) {
        c->AddProperty(
            QStringLiteral("DestroyForms"), QStringLiteral("Boolean"),
            KV_GET { return Variant(Self<TkvlEngineOptions>(self, "TkvlEngineOptions").DestroyForms); },
            KV_SET { Self<TkvlEngineOptions>(self, "TkvlEngineOptions").DestroyForms = v.toBool(); });
    } else if (name == QLatin1String("TkvlVariables")) {
        c->AddConstructor(QStringLiteral("constructor Create"),
                          KV_SCRIPT_CALL { (void)h; return Ref(qscl::ConstructNamed(script, self)); });
        c->AddDefaultProperty(QStringLiteral("Variables"), QStringLiteral("String"), QStringLiteral("Variant"), KV_INDEX {
            auto &vars = Self<TkvlVariables>(self, "TkvlVariables");
            if (IsSet(name)) {
                vars.SetVariables(Str(h, 0), h.GetVParam(1));
                return Variant(0);
            }
            return vars.Variables(Str(h, 0));
        });
    } else if (name == QLatin1String("TkvlArray")) {
        c->AddConstructor(QStringLiteral("constructor Create"),
                          KV_SCRIPT_CALL { (void)h; return Ref(qscl::ConstructNamed(script, self)); });
        c->AddDefaultProperty(QStringLiteral("Variables"), QStringLiteral("Variant"), QStringLiteral("Variant"), KV_INDEX {
            auto &arr = Self<TkvlArray>(self, "TkvlArray");
            if (IsSet(name)) {
                arr.SetVariables(h.GetVParam(0), h.GetVParam(1));
                return Variant(0);
            }
            return arr.Variables(h.GetVParam(0));
        });
    }
}

// The classes in registration order with the ancestor each is registered under.
struct ClassEntry
{
    const rtl::ClassInfo *(*cls)();
    const char *ancestor;
};

template<class T>
const rtl::ClassInfo *ClassOf()
{
    return T::StaticClass();
}

const ClassEntry Classes[] = {
    {ClassOf<TJPEGImage>, "TGraphic"},
    {ClassOf<TPngImage>, "TGraphic"},
    {ClassOf<TkvlHyperlink>, "TPersistent"},
    {ClassOf<TkvlCustomFill>, "TPersistent"},
    {ClassOf<TkvlBrushFill>, "TkvlCustomFill"},
    {ClassOf<TkvlGradientFill>, "TkvlCustomFill"},
    {ClassOf<TkvlGlassFill>, "TkvlCustomFill"},
    {ClassOf<TkvlFillGaps>, "TPersistent"},
    {ClassOf<TWideStrings>, "TPersistent"},
    {ClassOf<TkvlDataSet>, "TComponent"},
    {ClassOf<TkvlUserDataSet>, "TkvlDataSet"},
    {ClassOf<TkvlCustomDBDataSet>, "TkvlDataSet"},
    {ClassOf<TkvlComponent>, "TComponent"},
    {ClassOf<TkvlReportComponent>, "TkvlComponent"},
    {ClassOf<TkvlDialogComponent>, "TkvlReportComponent"},
    {ClassOf<TkvlDialogControl>, "TkvlReportComponent"},
    {ClassOf<TkvlFrameLine>, "TPersistent"},
    {ClassOf<TkvlFrame>, "TPersistent"},
    {ClassOf<TkvlView>, "TkvlReportComponent"},
    {ClassOf<TkvlShapeView>, "TkvlView"},
    {ClassOf<TkvlStretcheable>, "TkvlView"},
    {ClassOf<TkvlHighlight>, "TPersistent"},
    {ClassOf<TkvlFormat>, "TPersistent"},
    {ClassOf<TkvlCustomMemoView>, "TkvlStretcheable"},
    {ClassOf<TkvlMemoView>, "TkvlCustomMemoView"},
    {ClassOf<TkvlSysMemoView>, "TkvlCustomMemoView"},
    {ClassOf<TkvlDMPMemoView>, "TkvlCustomMemoView"},
    {ClassOf<TkvlCustomLineView>, "TkvlStretcheable"},
    {ClassOf<TkvlLineView>, "TkvlCustomLineView"},
    {ClassOf<TkvlDMPLineView>, "TkvlCustomLineView"},
    {ClassOf<TkvlDMPCommand>, "TkvlView"},
    {ClassOf<TkvlPictureView>, "TkvlView"},
    {ClassOf<TkvlSubreport>, "TkvlView"},
    {ClassOf<TkvlBand>, "TkvlReportComponent"},
    {ClassOf<TkvlDataBand>, "TkvlBand"},
    {ClassOf<TkvlHeader>, "TkvlBand"},
    {ClassOf<TkvlFooter>, "TkvlBand"},
    {ClassOf<TkvlMasterData>, "TkvlDataBand"},
    {ClassOf<TkvlDetailData>, "TkvlDataBand"},
    {ClassOf<TkvlSubdetailData>, "TkvlDataBand"},
    {ClassOf<TkvlDataBand4>, "TkvlDataBand"},
    {ClassOf<TkvlDataBand5>, "TkvlDataBand"},
    {ClassOf<TkvlDataBand6>, "TkvlDataBand"},
    {ClassOf<TkvlPageHeader>, "TkvlBand"},
    {ClassOf<TkvlPageFooter>, "TkvlBand"},
    {ClassOf<TkvlColumnHeader>, "TkvlBand"},
    {ClassOf<TkvlColumnFooter>, "TkvlBand"},
    {ClassOf<TkvlGroupHeader>, "TkvlBand"},
    {ClassOf<TkvlGroupFooter>, "TkvlBand"},
    {ClassOf<TkvlReportTitle>, "TkvlBand"},
    {ClassOf<TkvlReportSummary>, "TkvlBand"},
    {ClassOf<TkvlChild>, "TkvlBand"},
    {ClassOf<TkvlOverlay>, "TkvlBand"},
    {ClassOf<TkvlPage>, "TkvlComponent"},
    {ClassOf<TkvlReportPage>, "TkvlPage"},
    {ClassOf<TkvlDialogPage>, "TkvlPage"},
    {ClassOf<TkvlDMPPage>, "TkvlReportPage"},
    {ClassOf<TkvlDataPage>, "TkvlPage"},
    {ClassOf<TkvlEngineOptions>, "TPersistent"},
    {ClassOf<TkvlPrintOptions>, "TPersistent"},
    {ClassOf<TkvlPreviewOptions>, "TPersistent"},
    {ClassOf<TkvlReportOptions>, "TPersistent"},
    {ClassOf<TkvlVariable>, "TCollectionItem"},
    {ClassOf<TkvlVariables>, "TCollection"},
    {ClassOf<TkvlStyleItem>, "TCollectionItem"},
    {ClassOf<TkvlStyles>, "TCollection"},
    {ClassOf<TkvlArray>, "TCollection"},
    {ClassOf<TkvlReport>, "TkvlComponent"},
    {ClassOf<TkvlPreview>, "TControl"},
    {ClassOf<TkvlCustomEngine>, "TPersistent"},
    {ClassOf<TkvlEngine>, "TkvlCustomEngine"},
    {ClassOf<TkvlCustomOutline>, "TPersistent"},
    {ClassOf<TkvlOutline>, "TkvlCustomOutline"},
    // Registered again further down the list of the library: the names are present by then.
    {ClassOf<TkvlCustomFill>, "TPersistent"},
    {ClassOf<TkvlGlassFill>, "TkvlCustomFill"},
    {ClassOf<TkvlBrushFill>, "TkvlCustomFill"},
    {ClassOf<TkvlGradientFill>, "TkvlCustomFill"},
};

void AddClasses(TqsScript *script, TkvlClassRTTIFunctions *module)
{
    for (const ClassEntry &e : Classes) {
        const rtl::ClassInfo *cls = e.cls();
        const QString &name = cls->name();
        // The wide string list takes its place under the class library's TPersistent only.
        if (cls == TWideStrings::StaticClass() && !script->FindClass(QStringLiteral("TPersistent")))
            continue;
        TqsClassVariable *c = script->AddClass(cls, QLatin1String(e.ancestor));
        if (!c)
            continue;
        if (cls == TWideStrings::StaticClass())
            AddWideStrings(c, script);
        else if (cls == TkvlDataSet::StaticClass())
            AddDataSet(c);
        else if (cls == TkvlComponent::StaticClass())
            AddComponent(c, module);
        else if (cls == TkvlCustomMemoView::StaticClass())
            AddMemo(c, module);
        else if (cls == TkvlStyles::StaticClass())
            AddStyles(c);
        else if (cls == TkvlReport::StaticClass())
            AddReport(c);
        else if (cls == TkvlCustomEngine::StaticClass())
            AddEngine(c);
        else if (cls == TkvlCustomOutline::StaticClass())
            AddOutline(c);
        else
            AddOtherMembers(script, name, c);
    }
}

int DatePart(TqsMethodHelper &h, const char *picture)
{
    const QString text = rtl::FormatDateTime(QLatin1String(picture), h.GetVParam(0).toDouble());
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n : 0;
}

void AddFunctions(TqsScript *s)
{
    const QString date = QStringLiteral("ctDate");
    s->AddMethod(QStringLiteral("function DayOf(Date: TDateTime): Integer"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) { return Variant(DatePart(h, "d")); }, date);
    s->AddMethod(QStringLiteral("function MonthOf(Date: TDateTime): Integer"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) { return Variant(DatePart(h, "m")); }, date);
    s->AddMethod(QStringLiteral("function YearOf(Date: TDateTime): Integer"),
                 [](const Variant &, const QString &, TqsMethodHelper &h) { return Variant(DatePart(h, "yyyy")); }, date);
    // Declarations for the catalogue: a report's script gets the working ones after these.
    auto zero = [](const Variant &, const QString &, TqsMethodHelper &) { return Variant(0); };
    s->AddMethod(QStringLiteral("function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"), zero,
                 QStringLiteral("ctOther"));
    const QString aggregate = QStringLiteral("ctAggregate");
    for (const char *f : {"SUM", "AVG", "MIN", "MAX"})
        s->AddMethod(QStringLiteral("function ") + QLatin1String(f) +
                         QStringLiteral("(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"),
                     zero, aggregate);
    s->AddMethod(QStringLiteral("function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"), zero, aggregate);
}

} // namespace
} // namespace kvlrtti

using namespace kvlrtti;

TkvlClassRTTIFunctions::TkvlClassRTTIFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    AddConstants(script);
    AddTypes(script);
    AddClasses(script, this);
    AddFunctions(script);
    script->AddObject(QStringLiteral("kvlGlobalVariables"), &kvlGlobalVariables());
}

TkvlClassRTTIFunctions::~TkvlClassRTTIFunctions()
{
    for (const auto &[key, handle] : FLists)
        delete rtl::ObjectHandles::objectAs<TPersistent>(handle);
}

TPersistent *TkvlClassRTTIFunctions::ListOf(TPersistent *owner, ListKind kind)
{
    int32_t &handle = FLists[{rtl::ObjectHandles::handleOf(owner), kind}];
    if (auto *list = rtl::ObjectHandles::objectAs<TPersistent>(handle))
        return list;
    TPersistent *list = kind == lkLines ? static_cast<TPersistent *>(new TWideStrings(rtl::ObjectHandles::handleOf(owner)))
                                        : new qscl::TList;
    handle = rtl::ObjectHandles::handleOf(list);
    return list;
}

TkvlChBoxRTTIFunctions::TkvlChBoxRTTIFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    script->AddClass(TkvlCheckBoxView::StaticClass(), QStringLiteral("TkvlView"));
    script->AddEnum(QStringLiteral("TkvlCheckStyle"), QStringLiteral("csCross, csCheck, csLineCross, csPlus"));
    script->AddEnum(QStringLiteral("TkvlUncheckStyle"), QStringLiteral("usEmpty, usCross, usLineCross, usMinus"));
}

void kvlRegisterReportModules(TqsRTTIModuleClass after)
{
    static const bool done = [after] {
        auto &modules = qsRTTIModules();
        auto at = std::find(modules.begin(), modules.end(), after);
        if (at != modules.end())
            ++at;
        else
            at = std::find(modules.begin(), modules.end(), &TqsIniFunctions::Create);
        modules.insert(at, &TkvlClassRTTIFunctions::Create);
        modules.push_back(&TkvlChBoxRTTIFunctions::Create);
        return true;
    }();
    (void)done;
}
