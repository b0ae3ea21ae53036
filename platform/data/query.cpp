#include "platform/data/query.h"

#include "platform/data/connection.h"
#include "platform/data/datasource.h"
#include "platform/data/dberrors.h"
#include "platform/data/sqlparams.h"
#include "platform/data/valueconv.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// Firebird SQL type codes as the driver reports them (the lowest bit marks "nullable").
enum : int {
    kText = 452,
    kVarying = 448,
    kShort = 500,
    kLong = 496,
    kInt64 = 580,
    kFloat = 482,
    kDouble = 480,
    kTimestamp = 510,
    kDate = 570,
    kTime = 560,
    kBlob = 520,
    kBoolean = 32764,
};

TFieldType typeOf(const QSqlField &f, int &size, int &scale)
{
    const int sqlType = f.typeID() & ~1;
    size = 0;
    scale = 0;
    switch (sqlType) {
    case kText:
        size = f.length() / 4; // UTF8: four bytes per character
        return TFieldType::ftFixedChar;
    case kVarying:
        size = f.length() / 4;
        return TFieldType::ftString;
    case kShort:
    case kLong:
    case kInt64:
        scale = f.precision();
        if (scale > 0)
            return TFieldType::ftFMTBcd;
        return sqlType == kShort ? TFieldType::ftSmallint : sqlType == kLong ? TFieldType::ftInteger : TFieldType::ftLargeint;
    case kFloat:
    case kDouble:
        return TFieldType::ftFloat;
    case kTimestamp:
        return TFieldType::ftDateTime;
    case kDate:
        return TFieldType::ftDate;
    case kTime:
        return TFieldType::ftTime;
    case kBlob:
        return f.precision() > 0 ? TFieldType::ftMemo : TFieldType::ftBlob;
    case kBoolean:
        return TFieldType::ftBoolean;
    default:
        break;
    }
    switch (f.metaType().id()) {
    case QMetaType::Int: return TFieldType::ftInteger;
    case QMetaType::LongLong: return TFieldType::ftLargeint;
    case QMetaType::Double: return TFieldType::ftFloat;
    case QMetaType::Bool: return TFieldType::ftBoolean;
    case QMetaType::QDateTime: return TFieldType::ftDateTime;
    case QMetaType::QDate: return TFieldType::ftDate;
    case QMetaType::QTime: return TFieldType::ftTime;
    case QMetaType::QString: return TFieldType::ftString;
    default: return TFieldType::ftUnknown;
    }
}

} // namespace

// Hears the master's moves and its source's life.
class TQuery::MasterLink : public TDataSourceListener
{
public:
    explicit MasterLink(TQuery &Owner) : FOwner(Owner) {}
    void DataSetAfterOpen(TDataSet &) override { FOwner.MasterMoved(); }
    void DataSetChanged(TDataSet &) override { FOwner.MasterMoved(); }
    void DataSetRecordChanged(TDataSet &, int) override { FOwner.MasterMoved(); }
    void DataSetScrolled(TDataSet &) override { FOwner.MasterMoved(); }
    void DataSourceDataSetChanged(TDataSource &) override { FOwner.MasterMoved(); }
    void DataSourceDestroying(TDataSource &) override { FOwner.FMaster = nullptr; }

private:
    TQuery &FOwner;
};

TQuery::TQuery(TConnection *connection) : FConnection(connection), FMasterLink(std::make_unique<MasterLink>(*this)) {}

TQuery::~TQuery()
{
    if (FMaster)
        FMaster->RemoveListener(FMasterLink.get());
}

void TQuery::SetDataSource(TDataSource *source)
{
    if (source == FMaster)
        return;
    if (FMaster)
        FMaster->RemoveListener(FMasterLink.get());
    FMaster = source;
    if (FMaster) {
        FMaster->AddListener(FMasterLink.get());
        MasterMoved();
    }
}

namespace {

bool sameValue(const Variant &a, const Variant &b)
{
    if (a.isEmptyOrNull() || b.isEmptyOrNull())
        return a.isEmptyOrNull() == b.isEmptyOrNull();
    if (a.type() != b.type())
        return false;
    try {
        return Variant::equals(a, b);
    } catch (const Exception &) {
        return false;
    }
}

} // namespace

bool TQuery::ParamsFromMaster()
{
    TDataSet *master = FMaster ? FMaster->DataSet() : nullptr;
    if (!master || !master->Active() || master == this)
        return false;
    bool changed = false;
    for (int i = 0; i < FParams.Count(); ++i) {
        TParam &p = FParams[i];
        const TField *f = master->FindField(p.Name());
        if (!f)
            continue;
        const Variant v = master->IsEmpty() ? Variant::null() : f->Value();
        const bool binary = f->DataType() == TFieldType::ftBlob;
        if (sameValue(p.Value(), v) && p.IsBinary() == (binary && !v.isEmptyOrNull()))
            continue;
        if (binary)
            p.SetBinaryValue(v);
        else
            p.SetValue(v);
        changed = true;
    }
    return changed;
}

void TQuery::MasterMoved()
{
    if (!Active() || !ParamsFromMaster())
        return;
    Close();
    Open();
}

TConnection &TQuery::Conn() const
{
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("%1: no connection").arg(Name));
    return *FConnection;
}

void TQuery::SetSQL(const QString &sql)
{
    if (Active())
        Close();
    FSQL = sql;
    FParams.Rebuild(data::ParseSqlParams(sql).names);
}

void TQuery::Open(const QString &sql)
{
    Close();
    SetSQL(sql);
    Open();
}

void TQuery::ExecSQL()
{
    FRowsAffected = Conn().Execute(FSQL, FParams);
}

void TQuery::ExecSQL(const QString &sql)
{
    SetSQL(sql);
    ExecSQL();
}

void TQuery::DoFetch(RowSink &sink)
{
    ParamsFromMaster();
    bool rows = false;
    // Filled while the server is read, off this thread; the sink (which views may be
    // reading meanwhile) gets them once the read is over.
    std::vector<ColumnInfo> cols;
    std::vector<std::vector<Variant>> fetched;
    Conn().Execute(FSQL, FParams, [&cols, &fetched, &rows](QSqlQuery &q) {
        rows = true;
        const QSqlRecord rec = q.record();
        const int n = rec.count();
        cols.resize(static_cast<size_t>(n));
        std::vector<bool> trim(static_cast<size_t>(n), false);
        std::vector<bool> binary(static_cast<size_t>(n), false);
        for (int i = 0; i < n; ++i) {
            const QSqlField f = rec.field(i);
            ColumnInfo &c = cols[size_t(i)];
            c.name = f.name();
            c.origin = f.tableName();
            c.type = typeOf(f, c.size, c.scale);
            c.required = f.requiredStatus() == QSqlField::Required;
            trim[size_t(i)] = c.type == TFieldType::ftFixedChar;
            binary[size_t(i)] = c.type == TFieldType::ftBlob;
        }
        while (q.next()) {
            std::vector<Variant> values;
            values.reserve(size_t(n));
            for (int i = 0; i < n; ++i) {
                const QVariant v = q.value(i);
                if (trim[size_t(i)] && !v.isNull()) {
                    QString s = v.toString();
                    qsizetype len = s.size();
                    while (len > 0 && s.at(len - 1) == QLatin1Char(' '))
                        --len;
                    s.truncate(len);
                    values.emplace_back(std::move(s));
                } else if (binary[size_t(i)] && !v.isNull()) {
                    // One character per byte: the bytes come back unchanged.
                    values.emplace_back(QString::fromLatin1(v.toByteArray()));
                } else {
                    values.push_back(data::FromQVariant(v));
                }
            }
            fetched.push_back(std::move(values));
        }
    });
    if (rows) {
        sink.setColumns(cols);
        for (std::vector<Variant> &values : fetched)
            sink.addRow(std::move(values));
    }
    if (!rows)
        throw EDatabaseError(QStringLiteral("%1: the statement returns no rows to open; run it with ExecSQL").arg(Name));
}

int TQuery::DoExecute(const QString &sql, const std::vector<Variant> &values)
{
    return DoExecuteTyped(sql, values, {});
}

int TQuery::DoExecuteTyped(const QString &sql, const std::vector<Variant> &values, const std::vector<TFieldType> &types)
{
    TParams params;
    QStringList names;
    for (size_t i = 0; i < values.size(); ++i)
        names << QStringLiteral("P%1").arg(i);
    params.Rebuild(names);
    for (size_t i = 0; i < values.size(); ++i) {
        if (i < types.size() && types[i] == TFieldType::ftBlob)
            params[int(i)].SetBinaryValue(values[i]);
        else
            params[int(i)].SetValue(values[i]);
    }
    return Conn().Execute(sql, params);
}

void TQuery::DoInTransaction(const std::function<void()> &fn)
{
    Conn().RunInTransaction(fn);
}
