#include "report/data/kvldbdataset.h"

#include "platform/rtl/format.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/base/widestrings.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldatabase.h"
#include "report/resources/kvlresources.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TkvlCustomDBDataSet)
LIRRA_DEFINE_CLASS(TkvlDBDataset)

namespace {

int compareNames(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

QString quoted(const QString &s)
{
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

// ---- aliases ----------------------------------------------------------------------------

void TkvlCustomDBDataSet::DeclareClass(rtl::ClassBuilder<TkvlCustomDBDataSet> &b)
{
    using T = TkvlCustomDBDataSet;
    b.prop<&T::CloseDataSource>("CloseDataSource");
    b.prop<[](T &o) -> TStringList & { return o.FieldAliases(); }>("FieldAliases", rtl::types::TStrings());
}

QString TkvlCustomDBDataSet::GetAlias(const QString &FieldName) const
{
    for (int i = 0; i < FFieldAliases.Count(); ++i)
        if (compareNames(FFieldAliases.Names(i), FieldName) == 0)
            return FFieldAliases.ValueFromIndex(i);
    return FieldName;
}

QString TkvlCustomDBDataSet::ConvertAlias(const QString &Alias) const
{
    for (int i = 0; i < FFieldAliases.Count(); ++i)
        if (compareNames(FFieldAliases.ValueFromIndex(i), Alias) == 0)
            return FFieldAliases.Names(i);
    return Alias;
}

int TkvlCustomDBDataSet::FieldsCount()
{
    TStringList list;
    GetFieldList(list);
    return list.Count();
}

const TkvlCustomDBDataSet::MapEntry *TkvlCustomDBDataSet::FindMapped(const QString &Name) const
{
    auto it = std::lower_bound(FFieldMap.begin(), FFieldMap.end(), Name,
                               [](const MapEntry &e, const QString &n) { return compareNames(e.Name, n) < 0; });
    return it != FFieldMap.end() && compareNames(it->Name, Name) == 0 ? &*it : nullptr;
}

// ---- the bound dataset ------------------------------------------------------------------

// Follows the bound dataset: its opening and closing during a run, changes of its rows, and
// its destruction.
class TkvlDBDataset::Watcher : public TDataSetObserver {
public:
    explicit Watcher(TkvlDBDataset &Owner) : FOwner(Owner) {}

    void DataSetAfterOpen(TDataSet &) override
    {
        if (FOwner.FHooked)
            FOwner.BuildFieldMap();
    }
    void DataSetBeforeClose(TDataSet &) override
    {
        // The next access opens again; the fields mapped so far go with the rows.
        FOwner.FBookmark = TBookmark();
        FOwner.FInitialized = false;
        FOwner.FFieldMap.clear();
    }
    void DataSetChanged(TDataSet &) override { FOwner.ResolveFields(); }
    void DataSetDestroying(TDataSet &ds) override
    {
        if (FOwner.FDirect == &ds)
            FOwner.FDirect = nullptr;
        FOwner.Forget();
    }

private:
    TkvlDBDataset &FOwner;
};

// Follows the data source: the dataset it points at, and its destruction. The dataset's own
// notifications reach the Watcher directly.
class TkvlDBDataset::SourceLink : public TDataSourceListener {
public:
    explicit SourceLink(TkvlDBDataset &Owner) : FOwner(Owner) {}
    void DataSourceDataSetChanged(TDataSource &) override { FOwner.Rebind(); }
    void DataSourceDestroying(TDataSource &) override
    {
        FOwner.FDataSource = nullptr;
        FOwner.Rebind();
    }

private:
    TkvlDBDataset &FOwner;
};

void TkvlDBDataset::DeclareClass(rtl::ClassBuilder<TkvlDBDataset> &b)
{
    using T = TkvlDBDataset;
    b.publish("OpenDataSource");
    b.prop<&T::BCDToCurrency>("BCDToCurrency");
    // Inside a template the host's components are not there to point at.
    b.prop<&T::DataSource, &T::SetDataSource>("DataSource").stored<&T::IsReferenceStored>();
}

TkvlDBDataset::TkvlDBDataset(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlCustomDBDataSet(AOwner, Design), FWatcher(std::make_unique<Watcher>(*this)),
      FSourceLink(std::make_unique<SourceLink>(*this))
{
}

TkvlDBDataset::~TkvlDBDataset()
{
    if (FDataSet)
        FDataSet->RemoveObserver(FWatcher.get());
    if (FDataSource)
        FDataSource->RemoveListener(FSourceLink.get());
}

void TkvlDBDataset::SetDataSet(TDataSet *Value)
{
    if (Value && FDataSource) {
        FDataSource->RemoveListener(FSourceLink.get());
        FDataSource = nullptr;
    }
    FDirect = Value;
    Rebind();
}

void TkvlDBDataset::SetDataSource(TDataSource *Value)
{
    if (Value == FDataSource)
        return;
    if (FDataSource)
        FDataSource->RemoveListener(FSourceLink.get());
    FDataSource = Value;
    if (FDataSource) {
        FDirect = nullptr;
        FDataSource->AddListener(FSourceLink.get());
    }
    Rebind();
}

void TkvlDBDataset::Rebind()
{
    TDataSet *effective = FDirect ? FDirect : FDataSource ? FDataSource->DataSet() : nullptr;
    if (effective == FDataSet)
        return;
    if (FDataSet)
        FDataSet->RemoveObserver(FWatcher.get());
    Forget();
    FDataSet = effective;
    if (FDataSet)
        FDataSet->AddObserver(FWatcher.get());
}

bool TkvlDBDataset::IsHasMaster()
{
    return FDataSet && FDataSet->MasterSource() != nullptr;
}

void TkvlDBDataset::Forget()
{
    FDataSet = nullptr;
    FFieldMap.clear();
    FBookmark = TBookmark();
    FInitialized = false;
    FHooked = false;
    FRangeStop = false;
}

void TkvlDBDataset::Initialize()
{
    if (!FDataSet)
        throw Exception(rtl::Format(kvlResources().Get(QStringLiteral("dbNotConn")), {Variant(Name())}));
    FHooked = true;
    FInitialized = false;
    FRangeStop = false;
}

void TkvlDBDataset::Finalize()
{
    if (!FDataSet)
        return;
    if (!FBookmark.IsNull()) {
        if (FDataSet->Active() && FDataSet->BookmarkValid(FBookmark))
            FDataSet->GotoBookmark(FBookmark);
        FBookmark = TBookmark();
    }
    if (CloseDataSource)
        Close();
    FHooked = false;
    FInitialized = false;
}

void TkvlDBDataset::Open()
{
    if (FInitialized || !FDataSet)
        return;
    FInitialized = true;
    try {
        FDataSet->Open();
    } catch (...) {
        FInitialized = false;
        throw;
    }
    BuildFieldMap();
    FBookmark = (RangeBegin == rbCurrent || RangeEnd == reCurrent) ? FDataSet->GetBookmark() : TBookmark();
    inherited::Open();
}

void TkvlDBDataset::EnsureOpen()
{
    if (!FInitialized)
        Open();
}

void TkvlDBDataset::Close()
{
    inherited::Close();
    FBookmark = TBookmark();
    FInitialized = false;
    if (FDataSet)
        FDataSet->Close();
}

void TkvlDBDataset::First()
{
    EnsureOpen();
    if (FDataSet) {
        if (RangeBegin == rbCurrent) {
            if (!FBookmark.IsNull() && FDataSet->BookmarkValid(FBookmark))
                FDataSet->GotoBookmark(FBookmark);
        } else {
            FDataSet->First();
        }
    }
    FRangeStop = false;
    inherited::First();
}

void TkvlDBDataset::Next()
{
    EnsureOpen();
    FRangeStop = false;
    if (!FDataSet)
        return;
    if (RangeEnd == reCurrent && !FBookmark.IsNull() && FDataSet->GetBookmark() == FBookmark) {
        FRangeStop = true;
        return;
    }
    FDataSet->Next();
    inherited::Next();
}

void TkvlDBDataset::Prior()
{
    EnsureOpen();
    if (FDataSet)
        FDataSet->Prior();
    inherited::Prior();
}

bool TkvlDBDataset::Eof()
{
    EnsureOpen();
    const bool base = inherited::Eof();
    return base || !FDataSet || FDataSet->Eof() || FRangeStop;
}

int TkvlDBDataset::RecordCount()
{
    EnsureOpen();
    return FDataSet ? FDataSet->RecordCount() : 0;
}

void TkvlDBDataset::GetFieldList(TStringList &List)
{
    List.Clear();
    const TStringList &aliases = FieldAliases();
    if (aliases.Count() > 0) {
        for (int i = 0; i < aliases.Count(); ++i) {
            const QString alias = aliases.ValueFromIndex(i);
            if (!aliases.Names(i).startsWith(QLatin1Char('-')) && !alias.isEmpty())
                List.Add(alias);
        }
    } else if (FDataSet) {
        for (int i = 0; i < FDataSet->FieldCount(); ++i)
            List.Add(FDataSet->Fields(i)->FieldName());
    }
}

void TkvlDBDataset::BuildFieldMap()
{
    FFieldMap.clear();
    TStringList names;
    GetFieldList(names);
    for (int i = 0; i < names.Count(); ++i) {
        const QString &name = names[i];
        auto it = std::lower_bound(FFieldMap.begin(), FFieldMap.end(), name,
                                   [](const MapEntry &e, const QString &n) { return compareNames(e.Name, n) < 0; });
        if (it != FFieldMap.end() && compareNames(it->Name, name) == 0)
            continue;
        const QString field = ConvertAlias(name);
        FFieldMap.insert(it, MapEntry{name, field, FDataSet ? FDataSet->FindField(field) : nullptr});
    }
}

void TkvlDBDataset::ResolveFields()
{
    // A refresh may drop or re-make fields: look each one up again.
    for (MapEntry &e : FFieldMap)
        e.Field = FDataSet ? FDataSet->FindField(e.FieldName) : nullptr;
}

TField *TkvlDBDataset::FieldFor(const QString &FieldName) const
{
    if (const MapEntry *e = FindMapped(FieldName))
        return e->Field;
    return FDataSet ? FDataSet->FindField(ConvertAlias(FieldName)) : nullptr;
}

QString TkvlDBDataset::NotFoundText(const QString &FieldName) const
{
    return kvlResources().Get(QStringLiteral("dbFldNotFound")) + QLatin1Char(' ') + UserName() + QLatin1Char('.')
        + quoted(FieldName);
}

void TkvlDBDataset::ListError(const QString &Text)
{
    if (TkvlReport *report = ReportRef())
        report->Errors().Add(report->CurObject + QStringLiteral(": ") + Text);
}

Variant TkvlDBDataset::GetValue(const QString &FieldName)
{
    EnsureOpen();
    const MapEntry *e = FindMapped(FieldName);
    TField *f = e ? e->Field : nullptr;
    if (!f) {
        ListError(NotFoundText(FieldName));
        return Variant::null();
    }
    const Variant &v = f->Value();
    if (v.isEmptyOrNull())
        return Variant::null();
    switch (f->DataType()) {
    case TFieldType::ftFMTBcd:
        return BCDToCurrency ? Variant::fromCurrency(v.toDouble()) : Variant(v.toDouble());
    case TFieldType::ftBlob:
    case TFieldType::ftMemo:
        return Variant(v.toString());
    default:
        return v;
    }
}

QString TkvlDBDataset::GetDisplayText(const QString &FieldName)
{
    if (!FDataSet || !FDataSet->Active())
        return UserName() + QLatin1Char('.') + quoted(FieldName);
    TField *f = nullptr;
    if (!FFieldMap.empty()) {
        const MapEntry *e = FindMapped(FieldName);
        f = e ? e->Field : nullptr;
    } else {
        f = FDataSet->FindField(FieldName);
    }
    if (!f) {
        const QString text = NotFoundText(FieldName);
        ListError(text);
        return text;
    }
    return f->DisplayText();
}

int TkvlDBDataset::GetDisplayWidth(const QString &FieldName)
{
    const TField *f = FieldFor(FieldName);
    return f ? f->DisplayWidth() : 10;
}

TkvlFieldType TkvlDBDataset::GetFieldType(const QString &FieldName)
{
    const TField *f = FieldFor(FieldName);
    if (!f)
        return fftNumeric;
    switch (f->DataType()) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftMemo:
        return fftString;
    case TFieldType::ftBoolean:
        return fftBoolean;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
        return fftDateTime;
    default:
        return fftNumeric;
    }
}

bool TkvlDBDataset::IsBlobField(const QString &FieldName)
{
    EnsureOpen();
    const MapEntry *e = FindMapped(FieldName);
    return e && e->Field && e->Field->IsBlob();
}

TField *TkvlDBDataset::BlobField(const QString &FieldName)
{
    EnsureOpen();
    const MapEntry *e = FindMapped(FieldName);
    if (!e || !e->Field)
        throw Exception(NotFoundText(FieldName));
    return e->Field->IsBlob() ? e->Field : nullptr;
}

void TkvlDBDataset::AssignBlobTo(const QString &FieldName, TkvlWideStrings &Target)
{
    TField *f = BlobField(FieldName);
    if (!f)
        return;
    if (f->DataType() == TFieldType::ftMemo) {
        Target.SetText(f->AsString());
    } else {
        // Bytes of unknown encoding: the list recognises UTF-16 and UTF-8, else takes 1252.
        TMemoryStream bytes(f->AsBytes());
        Target.LoadFromStream(bytes);
    }
}

void TkvlDBDataset::AssignBlobTo(const QString &FieldName, TStream &Target)
{
    if (TField *f = BlobField(FieldName)) {
        Target.WriteBytes(f->AsBytes());
        Target.SetPosition(0);
    }
}

void kvlRegisterDataSetClasses()
{
    rtl::RegisterClasses({TkvlDialogComponent::StaticClass(), TkvlDataSet::StaticClass(),
                          TkvlUserDataSet::StaticClass(), TkvlCustomDBDataSet::StaticClass(),
                          TkvlDBDataset::StaticClass(), TkvlCustomDatabase::StaticClass()});
}
