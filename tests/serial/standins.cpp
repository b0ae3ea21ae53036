#include "standins.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/appearance/frame.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"
#include "report/serial/collectionio.h"
#include "report/serial/xmlserializer.h"

#include <QIODevice>

LIRRA_DEFINE_CLASS(TTestSource)
LIRRA_DEFINE_CLASS(TTestReport)
LIRRA_DEFINE_CLASS(TTestMemo)
LIRRA_DEFINE_CLASS(TTestKinds)

void TTestSource::DeclareClass(rtl::ClassBuilder<TTestSource> &) {}

void TTestReport::DeclareClass(rtl::ClassBuilder<TTestReport> &b)
{
    b.prop<&TTestReport::DataSet>("DataSet");
    b.prop<[](TTestReport &r) { return r.EngineOptions(); }>("EngineOptions");
}

TTestReport::TTestReport(TComponent *AOwner) : TkvlReport(AOwner)
{
    SetkvComponentStyle(kvComponentStyle() | kvlBit(csHandlesNestedProperties));
}

namespace {
TkvlReportLists listsOf(TTestReport *r)
{
    TkvlReportLists l;
    l.Datasets = r->DataSets();
    l.Variables = &r->Variables;
    l.Styles = &r->Styles;
    l.AncestorVariables = r->ParentVariables;
    l.AncestorStyles = r->ParentStyles;
    l.HasParentTemplate = r->ParentVariables || r->ParentStyles;
    return l;
}
} // namespace

void TTestReport::GetAncestor(const QString &Name, TPersistent *&Ancestor)
{
    if (!ParentReport)
        return;
    if (Name.compare(this->Name(), Qt::CaseInsensitive) == 0)
        Ancestor = ParentReport;
    else
        Ancestor = ParentReport->FindObject(Name);
}

void TTestReport::WriteNestedProperties(TkvlXMLItem *Item) { kvlWriteReportLists(this, listsOf(this), Item); }
bool TTestReport::ReadNestedProperty(TkvlXMLItem *Item) { return kvlReadReportList(this, listsOf(this), Item); }

void TTestMemo::DeclareClass(rtl::ClassBuilder<TTestMemo> &b)
{
    using T = TTestMemo;
    b.publish("Left");
    b.publish("Top");
    b.publish("Width");
    b.publish("Height");
    b.publish("Font");
    b.publish("ParentFont");
    b.prop<&T::Style, &T::SetStyle>("Style");
}

TTestMemo::TTestMemo(TComponent *AOwner) : TkvlView(AOwner) {}

void TTestMemo::SetStyle(const QString &Value)
{
    FStyle = Value;
    auto *r = rtl_cast<TTestReport>(GetReport());
    const TkvlStyleItem *s = r ? r->Styles.Find(Value) : nullptr;
    if (s && s->ApplyFont)
        SetFont(s->Font());
}

void TTestKinds::DeclareClass(rtl::ClassBuilder<TTestKinds> &b)
{
    using T = TTestKinds;
    static const rtl::TypeInfo *kind = rtl::EnumType(QStringLiteral("TTestColorKind"), {"tkRed", "tkGreen", "tkBlue"});
    static const rtl::TypeInfo *opts = rtl::SetType(QStringLiteral("TTestColorKinds"), kind);
    b.publish("Left");
    b.prop<&T::Count>("Count").def(5);
    b.prop<&T::Plain>("Plain");
    b.prop<&T::Big>("Big").def(int64_t(0));
    b.prop<&T::Letter>("Letter", rtl::types::Char()).def('a');
    b.prop<&T::Kind>("Kind", kind).def(tkGreen);
    b.prop<&T::Flag>("Flag").def(true);
    b.prop<&T::Options>("Options", opts).def(0);
    b.prop<&T::Ratio>("Ratio");
    b.prop<&T::When>("When", rtl::types::TDateTime());
    b.prop<&T::Caption>("Caption");
    b.prop<&T::Data>("Data", rtl::types::Variant());
    b.prop<&T::Memo>("Memo");
    b.prop<&T::Frame>("Frame");
    b.prop<&T::Link>("Link");
    b.prop<&T::OnClick>("OnClick", kvltypes::Event("TkvlNotifyEvent"));
    b.method("OnHost", rtl::types::TNotifyEvent());
}

TTestKinds::TTestKinds(TComponent *AOwner) : TkvlView(AOwner), FFrame(new TkvlFrame) {}
TTestKinds::~TTestKinds() { delete FFrame; }

void TTestKinds::DefineProperties(TFiler &Filer)
{
    auto *a = rtl_cast<TTestKinds>(Filer.Ancestor);
    Filer.DefineProperty(
        QStringLiteral("Hidden"),
        [this](TReader &r) {
            Hidden = r.ReadInteger();
            HiddenText = r.ReadString();
        },
        [this](TWriter &w) {
            w.WriteInteger(Hidden);
            w.WriteString(HiddenText);
        },
        a ? (a->Hidden != Hidden || a->HiddenText != HiddenText) : (Hidden != 0 || !HiddenText.isEmpty()));
    Filer.DefineProperty(
        QStringLiteral("Extra"), [this](TReader &r) { kvlReadCollection(&Extra, r, this); },
        [this](TWriter &w) { kvlWriteCollection(&Extra, w, this); }, Extra.Count() > 0);
    Filer.DefineBinaryProperty(
        QStringLiteral("Blob"), [this](QIODevice &d) { Blob = d.readAll(); },
        [this](QIODevice &d) { d.write(Blob); }, !Blob.isEmpty());
}

namespace {
QString memoGet(TPersistent *m)
{
    const QStringList &l = static_cast<TTestMemo *>(m)->Lines;
    QString t;
    for (const QString &s : l)
        t += s + QStringLiteral("\r\n");
    return t;
}
void memoSet(TPersistent *m, const QString &t)
{
    QStringList l = t.split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.back().isEmpty())
        l.removeLast();
    static_cast<TTestMemo *>(m)->Lines = l;
}
} // namespace

void registerTestClasses()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlRegisterObjectTreeClasses();
        kvlRegisterVariableClasses();
        kvlRegisterStyleClasses();
        kvlRegisterDataSetClasses();
        rtl::RegisterClasses({TTestSource::StaticClass(), TTestReport::StaticClass(), TTestMemo::StaticClass(),
                              TTestKinds::StaticClass()});
        kvlSetMemoTextAccess({TTestMemo::StaticClass(), memoGet, memoSet});
        return true;
    }();
    (void)done;
}
