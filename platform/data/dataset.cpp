#include "platform/data/dataset.h"

#include "platform/data/dberrors.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"

#include <QHash>
#include <algorithm>

namespace {

QString quoteIdent(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

const Variant &nullValue()
{
    static const Variant v = Variant::null();
    return v;
}

QStringList splitFieldList(const QString &s)
{
    QStringList out;
    for (const QString &part : s.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = part.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

// Ordering used by the index sort: Null first, text by code units.
int compareForSort(const Variant &a, const Variant &b)
{
    const bool an = a.isEmptyOrNull(), bn = b.isEmptyOrNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (a.isString() && b.isString())
        return QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
    try {
        return int(Variant::compare(a, b));
    } catch (const Exception &) {
        return QString::compare(a.toString(), b.toString());
    }
}

} // namespace

// ---------------------------------------------------------------- TField

bool TField::IsText() const
{
    return FType == TFieldType::ftString || FType == TFieldType::ftFixedChar || FType == TFieldType::ftMemo;
}

int TField::DisplayWidth() const
{
    switch (FType) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
        return FSize;
    case TFieldType::ftDateTime:
        return 20;
    case TFieldType::ftLargeint:
        return 15;
    default:
        return 10;
    }
}

const Variant &TField::Value() const
{
    return FDataSet->CurrentValue(FIndex);
}

void TField::SetValue(const Variant &v)
{
    TDataSet &ds = *FDataSet;
    if (ds.FState != TDataSetState::dsEdit && ds.FState != TDataSetState::dsInsert)
        throw EDatabaseError(QStringLiteral("Dataset %1 is not in edit or insert mode").arg(ds.Name));
    Variant value;
    if (v.isEmptyOrNull()) {
        value = Variant::null();
    } else {
        try {
            switch (FType) {
            case TFieldType::ftString:
            case TFieldType::ftFixedChar:
            case TFieldType::ftMemo:
            case TFieldType::ftBlob: {
                QString s = v.toString();
                if (FType == TFieldType::ftFixedChar) {
                    while (s.endsWith(QLatin1Char(' ')))
                        s.chop(1);
                }
                if (FSize > 0 && (FType == TFieldType::ftString || FType == TFieldType::ftFixedChar) && s.size() > FSize)
                    throw EDatabaseError(QStringLiteral("Value too long for field %1 (at most %2 characters)").arg(FName).arg(FSize));
                value = Variant(s);
                break;
            }
            case TFieldType::ftSmallint:
            case TFieldType::ftInteger:
                value = Variant(v.toInt());
                break;
            case TFieldType::ftLargeint:
                value = Variant(static_cast<long long>(v.toInt64()));
                break;
            case TFieldType::ftBoolean:
                value = Variant(v.toBool());
                break;
            case TFieldType::ftFloat:
            case TFieldType::ftFMTBcd:
                value = Variant(v.toDouble());
                break;
            case TFieldType::ftDate:
            case TFieldType::ftTime:
            case TFieldType::ftDateTime:
                value = Variant::fromDate(v.toDate());
                break;
            default:
                value = v;
            }
        } catch (const EDatabaseError &) {
            throw;
        } catch (const Exception &e) {
            throw EDatabaseError(QStringLiteral("Invalid value for field %1: %2").arg(FName, e.message()));
        }
    }
    ds.FBuffer.values[size_t(FIndex)] = value;
    ds.FModified[size_t(FIndex)] = true;
}

QString TField::AsString() const { return Value().toString(); }
int TField::AsInteger() const { return IsNull() ? 0 : Value().toInt(); }
qint64 TField::AsLargeInt() const { return IsNull() ? 0 : Value().toInt64(); }
double TField::AsFloat() const { return IsNull() ? 0.0 : Value().toDouble(); }
double TField::AsDateTime() const { return IsNull() ? 0.0 : Value().toDate(); }
bool TField::AsBoolean() const { return IsNull() ? false : Value().toBool(); }

QByteArray TField::AsBytes() const
{
    const QString s = AsString();
    return FType == TFieldType::ftBlob ? s.toLatin1() : s.toUtf8();
}

void TField::SetAsBytes(const QByteArray &bytes)
{
    SetValue(Variant(FType == TFieldType::ftBlob ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes)));
}

QString TField::TextOf(const Variant &v) const
{
    if (v.isEmptyOrNull())
        return QString();
    switch (FType) {
    case TFieldType::ftDate:
        return DisplayFormat.isEmpty() ? rtl::DateToStr(v.toDate()) : rtl::FormatDateTime(DisplayFormat, v.toDate());
    case TFieldType::ftTime:
        return DisplayFormat.isEmpty() ? rtl::TimeToStr(v.toDate()) : rtl::FormatDateTime(DisplayFormat, v.toDate());
    case TFieldType::ftDateTime:
        return DisplayFormat.isEmpty() ? rtl::DateTimeToStr(v.toDate()) : rtl::FormatDateTime(DisplayFormat, v.toDate());
    case TFieldType::ftFloat:
    case TFieldType::ftFMTBcd:
        return DisplayFormat.isEmpty() ? rtl::FloatToStr(v.toDouble()) : rtl::FormatFloat(DisplayFormat, v.toDouble());
    case TFieldType::ftBoolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

// ---------------------------------------------------------------- TDataSet

TDataSet::TDataSet() = default;

TDataSet::~TDataSet()
{
    // Observers may detach themselves while being told.
    const auto observers = FObservers;
    for (TDataSetObserver *o : observers)
        if (std::find(FObservers.begin(), FObservers.end(), o) != FObservers.end())
            o->DataSetDestroying(*this);
}

void TDataSet::AddObserver(TDataSetObserver *o)
{
    if (o && std::find(FObservers.begin(), FObservers.end(), o) == FObservers.end())
        FObservers.push_back(o);
}

void TDataSet::RemoveObserver(TDataSetObserver *o)
{
    FObservers.erase(std::remove(FObservers.begin(), FObservers.end(), o), FObservers.end());
}

void TDataSet::Notify(void (TDataSetObserver::*fn)(TDataSet &))
{
    const auto observers = FObservers;
    for (TDataSetObserver *o : observers)
        if (std::find(FObservers.begin(), FObservers.end(), o) != FObservers.end())
            (o->*fn)(*this);
}

void TDataSet::DataChanged()
{
    if (FDisableCount > 0) {
        FPendingChange = true;
        return;
    }
    Notify(&TDataSetObserver::DataSetChanged);
}

void TDataSet::Scrolled()
{
    if (FDisableCount > 0) {
        FPendingChange = true;
        return;
    }
    Notify(&TDataSetObserver::DataSetScrolled);
}

void TDataSet::DisableControls()
{
    ++FDisableCount;
}

void TDataSet::EnableControls()
{
    if (FDisableCount == 0)
        return;
    if (--FDisableCount == 0 && FPendingChange) {
        FPendingChange = false;
        Notify(&TDataSetObserver::DataSetChanged);
    }
}

void TDataSet::CheckActive() const
{
    if (FState == TDataSetState::dsInactive)
        throw EDatabaseError(QStringLiteral("Dataset %1 is not open").arg(Name));
}

void TDataSet::CheckBrowse()
{
    CheckActive();
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        return;
    if (std::find(FModified.begin(), FModified.end(), true) != FModified.end())
        Post();
    else
        Cancel();
}

TField *TDataSet::FindField(const QString &name) const
{
    for (const auto &f : FFields)
        if (f->FName.compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TDataSet::FieldByName(const QString &name) const
{
    if (TField *f = FindField(name))
        return f;
    throw EDatabaseError(QStringLiteral("%1: field '%2' not found").arg(Name, name));
}

QStringList TDataSet::FieldNames() const
{
    QStringList out;
    for (const auto &f : FFields)
        out << f->FName;
    return out;
}

// ------------------------------------------------------------ fetching

class TDataSet::Sink : public RowSink
{
public:
    explicit Sink(TDataSet &ds) : m_ds(ds) {}

    void setColumns(const std::vector<ColumnInfo> &c) override { cols = c; }

    void addRow(std::vector<Variant> &&values) override
    {
        auto r = std::make_unique<Row>();
        r->id = m_ds.FNextId++;
        r->values = std::move(values);
        rows.push_back(std::move(r));
    }

    // Takes the fetched rows; field objects of the same name survive, with their settings.
    void apply()
    {
        std::vector<std::unique_ptr<TField>> old = std::move(m_ds.FFields);
        m_ds.FFields.clear();
        for (size_t i = 0; i < cols.size(); ++i) {
            std::unique_ptr<TField> f;
            for (auto &o : old)
                if (o && o->FName.compare(cols[i].name, Qt::CaseInsensitive) == 0) {
                    f = std::move(o);
                    break;
                }
            if (!f)
                f = std::make_unique<TField>();
            f->FDataSet = &m_ds;
            f->FName = cols[i].name;
            f->FOrigin = cols[i].origin;
            f->FIndex = int(i);
            f->FType = cols[i].type;
            f->FSize = cols[i].size;
            f->FScale = cols[i].scale;
            f->FRequired = cols[i].required;
            m_ds.FFields.push_back(std::move(f));
        }
        m_ds.ClearRows();
        m_ds.FRows = std::move(rows);
    }

    std::vector<ColumnInfo> cols;
    std::vector<std::unique_ptr<Row>> rows;

private:
    TDataSet &m_ds;
};

void TDataSet::ClearRows()
{
    FView.clear();
    FRows.clear();
    FCur = 0;
    FEditRow = nullptr;
}

void TDataSet::FetchAll()
{
    // A failed fetch leaves the rows there were.
    Sink sink(*this);
    DoFetch(sink);
    sink.apply();
}

void TDataSet::Open()
{
    if (Active())
        return;
    FetchAll();
    FState = TDataSetState::dsBrowse;
    try {
        ResolveIndex();
        if (FFiltered && FFilterExpr)
            FFilterExpr->Bind([this](const QString &n) { TField *f = FindField(n); return f ? f->FIndex : -1; });
    } catch (...) {
        FState = TDataSetState::dsInactive;
        ClearRows();
        throw;
    }
    RebuildView(nullptr);
    FCur = 0;
    FBof = true;
    FEof = FView.empty();
    Notify(&TDataSetObserver::DataSetAfterOpen);
    if (AfterOpen)
        AfterOpen(*this);
    DataChanged();
}

void TDataSet::Close()
{
    if (!Active())
        return;
    Notify(&TDataSetObserver::DataSetBeforeClose);
    if (BeforeClose)
        BeforeClose(*this);
    FState = TDataSetState::dsInactive;
    ClearRows();
    FBof = FEof = true;
    DataChanged();
}

// ------------------------------------------------------------ view

bool TDataSet::PassesFilter(const Row &r) const
{
    return !FFiltered || !FFilterExpr || FFilterExpr->Evaluate(r.values, FFilterOptions);
}

void TDataSet::RebuildView(const Row *keep)
{
    FView.clear();
    FView.reserve(FRows.size());
    for (const auto &r : FRows)
        if (PassesFilter(*r))
            FView.push_back(r.get());
    if (!FSort.empty()) {
        std::stable_sort(FView.begin(), FView.end(), [this](const Row *a, const Row *b) {
            for (const SortKey &k : FSort) {
                const int c = compareForSort(a->values[size_t(k.field)], b->values[size_t(k.field)]);
                if (c != 0)
                    return k.desc ? c > 0 : c < 0;
            }
            return false;
        });
    }
    FCur = 0;
    if (keep) {
        const int i = ViewIndexOf(keep->id);
        if (i >= 0)
            FCur = i;
    }
    FBof = FCur == 0;
    FEof = FView.empty();
}

void TDataSet::ResolveIndex()
{
    FSort.clear();
    for (const QString &part : splitFieldList(FIndexFieldNames)) {
        QString name = part;
        bool desc = false;
        const int colon = part.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            name = part.left(colon).trimmed();
            const QString opt = part.mid(colon + 1).trimmed().toUpper();
            if (opt == QLatin1String("D"))
                desc = true;
            else if (opt != QLatin1String("A") && !opt.isEmpty())
                throw EDatabaseError(QStringLiteral("Unknown sort option '%1' in '%2'").arg(opt, FIndexFieldNames));
        }
        TField *f = FieldByName(name);
        FSort.push_back({f->FIndex, desc});
    }
}

int TDataSet::ViewIndexOf(qint64 id) const
{
    for (size_t i = 0; i < FView.size(); ++i)
        if (FView[i]->id == id)
            return int(i);
    return -1;
}

void TDataSet::SetFilter(const QString &text)
{
    std::unique_ptr<data::FilterExpr> expr;
    if (!text.trimmed().isEmpty()) {
        expr = data::FilterExpr::Parse(text);
        if (Active())
            expr->Bind([this](const QString &n) { TField *f = FindField(n); return f ? f->FIndex : -1; });
    }
    FFilterText = text;
    FFilterExpr = std::move(expr);
    if (Active() && FFiltered) {
        CheckBrowse();
        RebuildView(nullptr);
        DataChanged();
    }
}

void TDataSet::SetFiltered(bool on)
{
    if (on == FFiltered)
        return;
    if (Active()) {
        CheckBrowse();
        if (on && FFilterExpr)
            FFilterExpr->Bind([this](const QString &n) { TField *f = FindField(n); return f ? f->FIndex : -1; });
    }
    FFiltered = on;
    if (Active()) {
        RebuildView(nullptr);
        DataChanged();
    }
}

void TDataSet::SetFilterOptions(int options)
{
    FFilterOptions = options;
    if (Active() && FFiltered) {
        RebuildView(nullptr);
        DataChanged();
    }
}

void TDataSet::SetIndexFieldNames(const QString &fields)
{
    const QString old = FIndexFieldNames;
    FIndexFieldNames = fields;
    if (!Active())
        return;
    CheckBrowse();
    try {
        ResolveIndex();
    } catch (...) {
        FIndexFieldNames = old;
        ResolveIndex();
        throw;
    }
    const Row *keep = FView.empty() ? nullptr : FView[size_t(FCur)];
    RebuildView(keep);
    DataChanged();
}

// ------------------------------------------------------------ navigation

void TDataSet::First()
{
    CheckBrowse();
    FCur = 0;
    FBof = true;
    FEof = FView.empty();
    Scrolled();
}

void TDataSet::Last()
{
    CheckBrowse();
    FCur = FView.empty() ? 0 : int(FView.size()) - 1;
    FEof = true;
    FBof = FView.empty();
    Scrolled();
}

void TDataSet::Next()
{
    CheckBrowse();
    FBof = false;
    if (FView.empty() || FCur >= int(FView.size()) - 1) {
        FEof = true;
        return;
    }
    ++FCur;
    FEof = false;
    Scrolled();
}

void TDataSet::Prior()
{
    CheckBrowse();
    FEof = false;
    if (FView.empty() || FCur == 0) {
        FBof = true;
        FEof = FView.empty();
        return;
    }
    --FCur;
    FBof = false;
    Scrolled();
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowse();
    const int before = FCur;
    int target = FCur + distance;
    FBof = FEof = false;
    if (target <= 0) {
        target = 0;
        FBof = distance < 0 || FView.empty();
    }
    if (target >= int(FView.size()) - 1) {
        target = qMax(0, int(FView.size()) - 1);
        FEof = distance > 0 || FView.empty();
    }
    FCur = target;
    if (FCur != before)
        Scrolled();
    return FCur - before;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowse();
    if (FView.empty())
        return;
    FCur = qBound(0, recNo - 1, int(FView.size()) - 1);
    FBof = FEof = false;
    Scrolled();
}

// ------------------------------------------------------------ bookmarks

TBookmark TDataSet::GetBookmark() const
{
    if (!Active() || FView.empty())
        return {};
    return {FView[size_t(FCur)]->id};
}

TBookmark TDataSet::BookmarkAt(int row) const
{
    if (!Active() || row < 0 || row >= int(FView.size()))
        return {};
    return {FView[size_t(row)]->id};
}

bool TDataSet::BookmarkValid(TBookmark bm) const
{
    return Active() && !bm.IsNull() && ViewIndexOf(bm.id) >= 0;
}

void TDataSet::GotoBookmark(TBookmark bm)
{
    CheckBrowse();
    const int i = bm.IsNull() ? -1 : ViewIndexOf(bm.id);
    if (i < 0)
        throw EDatabaseError(QStringLiteral("%1: record not found").arg(Name));
    FCur = i;
    FBof = FEof = false;
    Scrolled();
}

int TDataSet::CompareBookmarks(TBookmark a, TBookmark b) const
{
    if (a.IsNull() || b.IsNull())
        return a.IsNull() == b.IsNull() ? 0 : (a.IsNull() ? -1 : 1);
    const int ia = ViewIndexOf(a.id), ib = ViewIndexOf(b.id);
    if (ia >= 0 && ib >= 0)
        return ia < ib ? -1 : (ia > ib ? 1 : 0);
    return a.id < b.id ? -1 : (a.id > b.id ? 1 : 0);
}

// ------------------------------------------------------------ locate

namespace {

struct LocateMatcher
{
    std::vector<int> fields;
    std::vector<Variant> values;
    int options;

    bool matches(const std::vector<Variant> &row) const
    {
        const Qt::CaseSensitivity cs = (options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        for (size_t i = 0; i < fields.size(); ++i) {
            const Variant &v = row[size_t(fields[i])];
            const Variant &want = values[i];
            if (want.isEmptyOrNull() || v.isEmptyOrNull()) {
                if (want.isEmptyOrNull() != v.isEmptyOrNull())
                    return false;
                continue;
            }
            if (v.isString() || want.isString()) {
                const QString a = v.toString(), b = want.toString();
                const bool ok = (options & loPartialKey) ? a.startsWith(b, cs) : a.compare(b, cs) == 0;
                if (!ok)
                    return false;
                continue;
            }
            try {
                if (!Variant::equals(v, want))
                    return false;
            } catch (const Exception &) {
                return false;
            }
        }
        return true;
    }
};

} // namespace

bool TDataSet::Locate(const QString &keyFields, const Variant &values, int options)
{
    CheckBrowse();
    LocateMatcher m;
    m.options = options;
    for (const QString &n : splitFieldList(keyFields))
        m.fields.push_back(FieldByName(n)->FIndex);
    if (m.fields.empty())
        throw EDatabaseError(QStringLiteral("%1: no field to locate on").arg(Name));
    if (values.isArray()) {
        for (int i = values.arrayLowBound(); i <= values.arrayHighBound(); ++i)
            m.values.push_back(values.arrayGet(i));
    } else {
        m.values.push_back(values);
    }
    if (m.values.size() != m.fields.size())
        throw EDatabaseError(QStringLiteral("%1: %2 fields but %3 values to locate").arg(Name).arg(m.fields.size()).arg(m.values.size()));
    for (size_t i = 0; i < FView.size(); ++i) {
        if (m.matches(FView[i]->values)) {
            FCur = int(i);
            FBof = FEof = false;
            Scrolled();
            return true;
        }
    }
    return false;
}

Variant TDataSet::Lookup(const QString &keyFields, const Variant &values, const QString &resultFields)
{
    CheckActive();
    const int cur = FCur;
    const bool bof = FBof, eof = FEof, pending = FPendingChange;
    ++FDisableCount;
    Variant result = Variant::null();
    try {
        if (Locate(keyFields, values, 0)) {
            const QStringList names = splitFieldList(resultFields);
            if (names.size() == 1) {
                result = FieldByName(names.first())->Value();
            } else {
                std::vector<Variant> items;
                for (const QString &n : names)
                    items.push_back(FieldByName(n)->Value());
                result = Variant::arrayOf(std::span<const Variant>(items));
            }
        }
    } catch (...) {
        --FDisableCount;
        FCur = cur;
        FBof = bof;
        FEof = eof;
        FPendingChange = pending;
        throw;
    }
    --FDisableCount;
    // Nothing moved as far as anyone watching can tell.
    FCur = cur;
    FBof = bof;
    FEof = eof;
    FPendingChange = pending;
    return result;
}

// ------------------------------------------------------------ values

const Variant &TDataSet::CurrentValue(int field) const
{
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert)
        return FBuffer.values[size_t(field)];
    if (FState == TDataSetState::dsInactive || FView.empty())
        return nullValue();
    return FView[size_t(FCur)]->values[size_t(field)];
}

const Variant &TDataSet::ValueAt(int row, int field) const
{
    if (row < 0 || row >= int(FView.size()) || field < 0 || field >= int(FFields.size()))
        return nullValue();
    if (FState == TDataSetState::dsEdit && row == FCur)
        return FBuffer.values[size_t(field)];
    return FView[size_t(row)]->values[size_t(field)];
}

QString TDataSet::DisplayTextAt(int row, int field) const
{
    if (field < 0 || field >= int(FFields.size()))
        return QString();
    return FFields[size_t(field)]->TextOf(ValueAt(row, field));
}

// ------------------------------------------------------------ editing

std::vector<int> TDataSet::KeyFieldIndexes() const
{
    std::vector<int> out;
    for (const QString &n : splitFieldList(KeyFields))
        out.push_back(FieldByName(n)->FIndex);
    if (out.empty())
        throw EDatabaseError(QStringLiteral("%1: no key fields to write changes back").arg(Name));
    return out;
}

QString TDataSet::TableForWrite() const
{
    if (!UpdateTableName.trimmed().isEmpty())
        return UpdateTableName.trimmed();
    const std::vector<int> keys = KeyFieldIndexes();
    const QString t = FFields[size_t(keys.front())]->FOrigin;
    if (t.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: the table to write changes to is unknown").arg(Name));
    return t;
}

void TDataSet::Insert()
{
    CheckBrowse();
    if (ReadOnly)
        throw EDatabaseError(QStringLiteral("Dataset %1 is read-only").arg(Name));
    FBuffer.id = 0;
    FBuffer.values.assign(FFields.size(), Variant::null());
    FModified.assign(FFields.size(), false);
    FEditRow = nullptr;
    FState = TDataSetState::dsInsert;
    DataChanged();
}

void TDataSet::Edit()
{
    CheckActive();
    if (FState == TDataSetState::dsEdit || FState == TDataSetState::dsInsert)
        return;
    if (ReadOnly)
        throw EDatabaseError(QStringLiteral("Dataset %1 is read-only").arg(Name));
    if (FView.empty())
        throw EDatabaseError(QStringLiteral("Dataset %1 is empty: nothing to edit").arg(Name));
    FEditRow = FView[size_t(FCur)];
    FBuffer = *FEditRow;
    FModified.assign(FFields.size(), false);
    FState = TDataSetState::dsEdit;
    Notify(&TDataSetObserver::DataSetStateChanged);
}

void TDataSet::Cancel()
{
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        return;
    const bool wasInsert = FState == TDataSetState::dsInsert;
    FState = TDataSetState::dsBrowse;
    FEditRow = nullptr;
    FBuffer.values.clear();
    if (wasInsert)
        DataChanged();
    else
        Notify(&TDataSetObserver::DataSetScrolled);
}

void TDataSet::Post()
{
    CheckActive();
    if (FState != TDataSetState::dsEdit && FState != TDataSetState::dsInsert)
        return;
    if (BeforePost)
        BeforePost(*this);
    const QString table = TableForWrite();
    for (const auto &f : FFields) {
        const bool mine = f->FOrigin.compare(table, Qt::CaseInsensitive) == 0;
        const bool checked = FState == TDataSetState::dsInsert ? mine : mine && FModified[size_t(f->FIndex)];
        if (checked && f->FRequired && FBuffer.values[size_t(f->FIndex)].isEmptyOrNull())
            throw EDatabaseError(QStringLiteral("Field '%1' must have a value").arg(f->FName));
    }

    const std::vector<int> keys = KeyFieldIndexes();
    QString sql;
    std::vector<Variant> values;
    std::vector<TFieldType> types;
    if (FState == TDataSetState::dsInsert) {
        QStringList cols, marks;
        for (const auto &f : FFields) {
            if (!FModified[size_t(f->FIndex)] || f->FOrigin.compare(table, Qt::CaseInsensitive) != 0)
                continue;
            cols << quoteIdent(f->FName);
            marks << QStringLiteral(":P%1").arg(values.size());
            values.push_back(FBuffer.values[size_t(f->FIndex)]);
            types.push_back(f->FType);
        }
        if (cols.isEmpty())
            throw EDatabaseError(QStringLiteral("%1: nothing to insert").arg(Name));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoteIdent(table), cols.join(QLatin1String(", ")),
                                                                   marks.join(QLatin1String(", ")));
    } else {
        QStringList sets;
        for (const auto &f : FFields) {
            if (!FModified[size_t(f->FIndex)] || f->FOrigin.compare(table, Qt::CaseInsensitive) != 0)
                continue;
            sets << QStringLiteral("%1 = :P%2").arg(quoteIdent(f->FName)).arg(values.size());
            values.push_back(FBuffer.values[size_t(f->FIndex)]);
            types.push_back(f->FType);
        }
        if (sets.isEmpty()) {
            Cancel();
            return;
        }
        QStringList where;
        for (int k : keys) {
            const Variant &orig = FEditRow->values[size_t(k)];
            if (orig.isEmptyOrNull()) {
                where << QStringLiteral("%1 IS NULL").arg(quoteIdent(FFields[size_t(k)]->FName));
            } else {
                where << QStringLiteral("%1 = :P%2").arg(quoteIdent(FFields[size_t(k)]->FName)).arg(values.size());
                values.push_back(orig);
                types.push_back(FFields[size_t(k)]->FType);
            }
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(quoteIdent(table), sets.join(QLatin1String(", ")),
                                                              where.join(QLatin1String(" AND ")));
    }

    int affected = 0;
    try {
        DoInTransaction([&] { affected = DoExecuteTyped(sql, values, types); });
    } catch (const std::exception &e) {
        if (OnPostError)
            OnPostError(*this, e);
        throw;
    }
    if (affected == 0)
        throw EDatabaseError(QStringLiteral("%1: the record was not found in %2; it was changed or deleted by another user")
                                 .arg(Name, table));

    if (FState == TDataSetState::dsInsert) {
        auto r = std::make_unique<Row>();
        r->id = FNextId++;
        r->values = std::move(FBuffer.values);
        Row *row = r.get();
        FRows.push_back(std::move(r));
        FState = TDataSetState::dsBrowse;
        FBuffer.values.clear();
        RebuildView(row);
        if (ViewIndexOf(row->id) < 0)
            FCur = qMax(0, qMin(FCur, int(FView.size()) - 1));
        DataChanged();
    } else {
        FEditRow->values = std::move(FBuffer.values);
        Row *row = FEditRow;
        FEditRow = nullptr;
        FState = TDataSetState::dsBrowse;
        FBuffer.values.clear();
        if (FFiltered || !FSort.empty()) {
            RebuildView(row);
            DataChanged();
        } else if (FDisableCount == 0) {
            const auto observers = FObservers;
            for (TDataSetObserver *o : observers)
                o->DataSetRecordChanged(*this, FCur);
        } else {
            FPendingChange = true;
        }
    }
}

bool TDataSet::Delete()
{
    CheckActive();
    if (FState == TDataSetState::dsInsert) {
        // Deleting a row that was never posted only drops it.
        Cancel();
        return false;
    }
    CheckBrowse();
    if (ReadOnly)
        throw EDatabaseError(QStringLiteral("Dataset %1 is read-only").arg(Name));
    if (FView.empty())
        throw EDatabaseError(QStringLiteral("Dataset %1 is empty: nothing to delete").arg(Name));
    if (BeforeDelete && !BeforeDelete(*this))
        return false;
    // The hook may have moved the cursor; the row deleted is the one current now.
    if (FView.empty())
        return false;
    Row *row = FView[size_t(FCur)];
    const QString table = TableForWrite();
    QStringList where;
    std::vector<Variant> values;
    for (int k : KeyFieldIndexes()) {
        const Variant &orig = row->values[size_t(k)];
        if (orig.isEmptyOrNull()) {
            where << QStringLiteral("%1 IS NULL").arg(quoteIdent(FFields[size_t(k)]->FName));
        } else {
            where << QStringLiteral("%1 = :P%2").arg(quoteIdent(FFields[size_t(k)]->FName)).arg(values.size());
            values.push_back(orig);
        }
    }
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(quoteIdent(table), where.join(QLatin1String(" AND ")));
    int affected = 0;
    DoInTransaction([&] { affected = DoExecute(sql, values); });
    if (affected == 0)
        throw EDatabaseError(QStringLiteral("%1: the record was not found in %2; it was changed or deleted by another user")
                                 .arg(Name, table));
    const int at = FCur;
    FView.erase(FView.begin() + at);
    for (auto it = FRows.begin(); it != FRows.end(); ++it)
        if (it->get() == row) {
            FRows.erase(it);
            break;
        }
    FCur = qMin(at, qMax(0, int(FView.size()) - 1));
    FBof = FCur == 0;
    FEof = FView.empty();
    DataChanged();
    return true;
}

// ------------------------------------------------------------ refresh

void TDataSet::Refresh()
{
    CheckBrowse();
    // Keys of the current row and of the rows after it: after the refresh the cursor goes
    // to the first of them that is still there.
    std::vector<int> keys;
    try {
        keys = KeyFieldIndexes();
    } catch (const EDatabaseError &) {
        keys.clear();
    }
    std::vector<std::vector<Variant>> wanted;
    const int oldRecNo = FCur;
    if (!keys.empty() && !FView.empty()) {
        for (size_t i = size_t(FCur); i < FView.size(); ++i) {
            std::vector<Variant> k;
            for (int f : keys)
                k.push_back(FView[i]->values[size_t(f)]);
            wanted.push_back(std::move(k));
        }
    }
    FetchAll();
    ResolveIndex();
    if (FFilterExpr)
        FFilterExpr->Bind([this](const QString &n) { TField *f = FindField(n); return f ? f->FIndex : -1; });
    RebuildView(nullptr);
    FCur = 0;
    if (!wanted.empty()) {
        keys = KeyFieldIndexes();
        QHash<QString, int> pos;
        auto keyText = [](const std::vector<Variant> &k) {
            QString s;
            for (const Variant &v : k) {
                s += QString::number(int(v.type())) + QLatin1Char(':') + v.toString() + QChar(0x1F);
            }
            return s;
        };
        for (size_t i = 0; i < FView.size(); ++i) {
            std::vector<Variant> k;
            for (int f : keys)
                k.push_back(FView[i]->values[size_t(f)]);
            pos.insert(keyText(k), int(i));
        }
        FCur = FView.empty() ? 0 : int(FView.size()) - 1;
        for (const auto &k : wanted) {
            const auto it = pos.constFind(keyText(k));
            if (it != pos.constEnd()) {
                FCur = it.value();
                break;
            }
        }
    } else if (!FView.empty()) {
        FCur = qMin(oldRecNo, int(FView.size()) - 1);
    }
    FBof = FCur == 0;
    FEof = FView.empty();
    DataChanged();
}
