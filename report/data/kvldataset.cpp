#include "report/data/kvldataset.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatasetlist.h"
#include "report/resources/kvlresources.h"

LIRRA_DEFINE_CLASS(TkvlDataSet)
LIRRA_DEFINE_CLASS(TkvlUserDataSet)

namespace kvltypes {

const rtl::TypeInfo *RangeBegin()
{
    static const rtl::TypeInfo *t = rtl::EnumType(QStringLiteral("TkvlRangeBegin"), {"rbFirst", "rbCurrent"});
    return t;
}

const rtl::TypeInfo *RangeEnd()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlRangeEnd"), {"reLast", "reCurrent", "reCount"});
    return t;
}

} // namespace kvltypes

void TkvlDataSet::DeclareClass(rtl::ClassBuilder<TkvlDataSet> &b)
{
    using T = TkvlDataSet;
    b.prop<&T::Enabled>("Enabled").def(true);
    b.prop<&T::RangeBegin>("RangeBegin", kvltypes::RangeBegin()).def(rbFirst);
    b.prop<&T::RangeEnd>("RangeEnd", kvltypes::RangeEnd()).def(reLast);
    b.prop<&T::RangeEndCount>("RangeEndCount").def(0);
    b.prop<&T::UserName, &T::SetUserName>("UserName");
    // Published by the database-bound kinds.
    b.declare<&T::OpenDataSource>("OpenDataSource").def(true);
}

void TkvlUserDataSet::DeclareClass(rtl::ClassBuilder<TkvlUserDataSet> &b)
{
    b.prop<[](TkvlUserDataSet &o) -> TStringList & { return o.Fields(); }>("Fields", rtl::types::TStrings());
}

TkvlDataSet::TkvlDataSet(TComponent *AOwner, const rtl::TDesignInfo *Design) : TkvlDialogComponent(AOwner, Design)
{
    kvlGlobalDataSetList().Add(this);
}

TkvlDataSet::~TkvlDataSet()
{
    kvlGlobalDataSetList().Remove(this);
    // Told now, while references to this source still lead here.
    if (auto *report = rtl_cast<TkvlReport>(Owner()))
        report->DataSetRemoved(this);
}

TkvlReport *TkvlDataSet::ReportRef() const
{
    return FReportRef.get();
}

void TkvlDataSet::SetReportRef(TkvlReport *Value)
{
    FReportRef = Value;
}

QString TkvlDataSet::GetDisplayText(const QString &)
{
    return QString();
}

int TkvlDataSet::GetDisplayWidth(const QString &)
{
    return 10;
}

TkvlFieldType TkvlDataSet::GetFieldType(const QString &)
{
    return fftNumeric;
}

Variant TkvlDataSet::GetValue(const QString &)
{
    return Variant::null();
}

void TkvlDataSet::SetUserName(const QString &Value)
{
    if (Value.trimmed().isEmpty())
        throw Exception(kvlResources().Get(QStringLiteral("prInvProp")));
    FUserName = Value;
}

void TkvlDataSet::SetName(const QString &NewName)
{
    inherited::SetName(NewName);
    if (FUserName.isEmpty() && !NewName.trimmed().isEmpty())
        FUserName = NewName;
}

void TkvlDataSet::Open()
{
    if (OnOpen)
        OnOpen(this);
}

void TkvlDataSet::Close()
{
    if (OnClose)
        OnClose(this);
}

void TkvlDataSet::First()
{
    FRecNo = 0;
    FEof = false;
    if (OnFirst)
        OnFirst(this);
}

void TkvlDataSet::Next()
{
    FEof = false;
    ++FRecNo;
    if (RangeEnd == reCount && FRecNo >= RangeEndCount) {
        FRecNo = RangeEndCount - 1;
        FEof = true;
        return;
    }
    if (OnNext)
        OnNext(this);
}

void TkvlDataSet::Prior()
{
    --FRecNo;
    if (OnPrior)
        OnPrior(this);
}

bool TkvlDataSet::Eof()
{
    bool result = false;
    if (RangeEnd == reCount)
        result = FRecNo >= RangeEndCount || FEof;
    if (OnCheckEOF)
        OnCheckEOF(this, result);
    return result;
}

int TkvlDataSet::RecordCount()
{
    return RangeBegin == rbFirst && RangeEnd == reCount ? RangeEndCount : 0;
}

bool TkvlDataSet::HasField(const QString &FieldName)
{
    TStringList list;
    GetFieldList(list);
    for (int i = 0; i < list.Count(); ++i)
        if (list[i].compare(FieldName, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// ---- user data set ----------------------------------------------------------------------

Variant TkvlUserDataSet::GetValue(const QString &FieldName)
{
    Variant value = Variant::null();
    if (OnGetValue)
        OnGetValue(FieldName, value);
    if (OnNewGetValue)
        OnNewGetValue(this, FieldName, value);
    return value;
}

QString TkvlUserDataSet::GetDisplayText(const QString &FieldName)
{
    return rtl::VarToStr(GetValue(FieldName));
}

void TkvlUserDataSet::GetFieldList(TStringList &List)
{
    List.Clear();
    for (int i = 0; i < FFields.Count(); ++i)
        List.Add(FFields[i]);
}
