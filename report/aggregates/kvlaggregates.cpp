#include "report/aggregates/kvlaggregates.h"

#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/vars/kvlvariables.h"

TkvlAggregateFunction kvlAggregateFunction(const QString &Name)
{
    const QString n = Name.trimmed().toUpper();
    if (n == QLatin1String("SUM"))
        return agSum;
    if (n == QLatin1String("AVG"))
        return agAvg;
    if (n == QLatin1String("MIN"))
        return agMin;
    if (n == QLatin1String("MAX"))
        return agMax;
    return agCount;
}

// ---- one item -----------------------------------------------------------------------------

void TkvlAggregateItem::Add(int &Count, Variant &Value, const Variant &V) const
{
    if (AggregateFunction != agAvg || !V.isNull())
        ++Count;
    Merge(Value, V);
}

void TkvlAggregateItem::Merge(Variant &Value, const Variant &V) const
{
    if (V.isNull())
        return;
    if (Value.isNull()) {
        Value = V;
        return;
    }
    switch (AggregateFunction) {
    case agSum:
    case agAvg:
    case agCount: Value = Variant::add(Value, V); break;
    case agMin:
        if (V < Value)
            Value = V;
        break;
    case agMax:
        if (V > Value)
            Value = V;
        break;
    }
}

void TkvlAggregateItem::Calc()
{
    TkvlBand *band = Band.get();
    if (!band || (!band->Visible() && !CountInvisibleBands))
        return;
    Variant v = Variant::null();
    if (AggregateFunction != agCount) {
        Report->CurObject = MemoName;
        v = Report->Calc(Expression);
        if (v.isBoolean())
            v = Variant(v.toBool() ? 1 : 0);
    }
    if (VColumn > 0) {
        if (ItemsArray.empty()) {
            ItemsArray.assign(MaxVColumn + 1, Variant::null());
            ItemsCountArray.assign(MaxVColumn + 1, 0);
        }
        Add(ItemsCountArray[size_t(VColumn)], ItemsArray[size_t(VColumn)], v);
    } else if (Keeping) {
        Add(TempItemsCount, TempItemsValue, v);
    } else {
        LastCount = ItemsCount;
        LastValue = ItemsValue;
        Add(ItemsCount, ItemsValue, v);
    }
}

void TkvlAggregateItem::DeleteValue()
{
    ItemsCount = LastCount;
    ItemsValue = LastValue;
}

void TkvlAggregateItem::Clear()
{
    ItemsCount = 0;
    ItemsValue = Variant::null();
    LastCount = 0;
    LastValue = Variant::null();
    ItemsArray.clear();
    ItemsCountArray.clear();
}

void TkvlAggregateItem::Reset()
{
    if (!DontReset || ItemsCount == 0)
        Clear();
}

void TkvlAggregateItem::StartKeep()
{
    if (!IsPageFooter || Keeping)
        return;
    Keeping = true;
    TempItemsCount = 0;
    TempItemsValue = Variant::null();
}

void TkvlAggregateItem::EndKeep()
{
    if (!IsPageFooter || !Keeping)
        return;
    Keeping = false;
    ItemsCount += TempItemsCount;
    Merge(ItemsValue, TempItemsValue);
}

Variant TkvlAggregateItem::Value() const
{
    Variant value = ItemsValue;
    int count = ItemsCount;
    if (!ItemsArray.empty() && VColumn >= 0 && VColumn <= MaxVColumn) {
        value = ItemsArray[size_t(VColumn)];
        count = ItemsCountArray[size_t(VColumn)];
    }
    Variant result;
    switch (AggregateFunction) {
    case agAvg:
        // No counted value: nothing to divide.
        result = count == 0 || value.isNull() ? Variant(0) : Variant(value.toDouble() / count);
        break;
    case agCount: result = Variant(count); break;
    default: result = value; break;
    }
    return result.isNull() ? Variant(0) : result;
}

// ---- finding the calls --------------------------------------------------------------------

namespace {
// Deep enough for any real template; a chain of variables beyond it is not followed.
constexpr int MaxNesting = 32;

bool isSkipped(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 1 && u <= 31)
        return true;
    if (u >= '0' && u <= '9')
        return true;
    return QStringView(u" !#$%&*+,-./=[]^|").contains(c);
}

bool endsWord(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 1 && u <= 31)
        return true;
    return QStringView(u" !#$%&(*+,-./=[]^|").contains(c);
}

// Index of the quote closing the string that opens at From (the text's end when none).
qsizetype skipQuoted(const QString &s, qsizetype From)
{
    const QChar q = s[From];
    qsizetype i = From + 1;
    while (i < s.size() && s[i] != q)
        ++i;
    return i;
}

// Index of the parenthesis closing the one at From, quoted text ignored; -1 when none.
qsizetype matchingParen(const QString &s, qsizetype From)
{
    int depth = 0;
    for (qsizetype i = From; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"')
            i = skipQuoted(s, i);
        else if (c == u'(')
            ++depth;
        else if (c == u')' && --depth == 0)
            return i;
    }
    return -1;
}

// The arguments between the parentheses at Open and Close, split at top-level commas.
QStringList splitArguments(const QString &s, qsizetype Open, qsizetype Close)
{
    QStringList args;
    int depth = 0;
    qsizetype start = Open + 1;
    for (qsizetype i = Open + 1; i < Close; ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"')
            i = skipQuoted(s, i);
        else if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (c == u',' && depth == 0) {
            args << s.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    const QString last = s.mid(start, Close - start).trimmed();
    if (!args.isEmpty() || !last.isEmpty())
        args << last;
    return args;
}

// The expressions of a memo text between Open and Close, nested pairs balanced.
QStringList memoExpressions(const QString &Text, const QString &Open, const QString &Close)
{
    QStringList out;
    if (Open.isEmpty() || Close.isEmpty())
        return out;
    qsizetype i = 0;
    while ((i = Text.indexOf(Open, i)) >= 0) {
        int depth = 1;
        qsizetype j = i + Open.size();
        const qsizetype start = j;
        while (j < Text.size() && depth > 0) {
            if (Open != Close && Text.mid(j, Open.size()) == Open) {
                ++depth;
                j += Open.size();
            } else if (Text.mid(j, Close.size()) == Close) {
                --depth;
                j += depth > 0 ? Close.size() : 0;
            } else {
                ++j;
            }
        }
        if (depth > 0)
            break;
        out << Text.mid(start, j - start);
        i = j + Close.size();
    }
    return out;
}

TkvlBand *bandOfView(TkvlComponent *c)
{
    for (TkvlComponent *p = c ? c->Parent() : nullptr; p; p = p->Parent())
        if (auto *b = rtl_cast<TkvlBand>(p))
            return b;
    return nullptr;
}

// The band that prints a memo's totals: its own band, except for a memo the engine moved from
// a horizontal total band (summary, page footer, footer, group footer) into a vertical band,
// whose totals belong to that horizontal band.
TkvlBand *totalsBandOfView(TkvlComponent *c)
{
    TkvlBand *band = bandOfView(c);
    if (!band || !band->Vertical() || !c)
        return band;
    auto *from = rtl_cast<TkvlBand>(c->OriginalBand.get());
    if (from && (from->Is<TkvlReportSummary>() || from->Is<TkvlPageFooter>() || from->Is<TkvlFooter>()
                 || from->Is<TkvlGroupFooter>()))
        return from;
    return band;
}
} // namespace

class TkvlAggregateFinder {
public:
    TkvlAggregateFinder(TkvlAggregateList &List, TkvlCustomMemoView *Memo, TkvlBand *DataBand)
        : FList(List), FReport(List.Report()), FMemo(Memo), FDataBand(DataBand)
    {
    }

    void SearchExpression(const QString &Text, int Depth)
    {
        if (Depth > MaxNesting)
            return;
        if (FollowName(Text.trimmed(), Depth))
            return;
        Scan(Text, Depth);
    }

private:
    // True when Name is a variable (its text searched) or a field reference.
    bool FollowName(const QString &Name, int Depth)
    {
        if (Name.isEmpty())
            return false;
        const int vi = FReport->Variables().IndexOf(Name);
        if (vi >= 0 && !TkvlVariables::IsCategory(Name)) {
            for (const QString &v : FPath)
                if (v.compare(Name, Qt::CaseInsensitive) == 0)
                    return true;  // already followed on this path
            const Variant value = FReport->Variables().Items(vi)->Value();
            if (value.isString()) {
                FPath.push_back(Name);
                SearchExpression(value.toString(), Depth + 1);
                FPath.pop_back();
            }
            return true;
        }
        TkvlDataSet *ds = nullptr;
        QString field;
        FReport->GetDatasetAndField(Name, ds, field);
        return ds && !field.isEmpty();
    }

    void Scan(const QString &s, int Depth)
    {
        qsizetype i = 0;
        while (i < s.size()) {
            const QChar c = s[i];
            if (isSkipped(c)) {
                ++i;
            } else if (c == u'\'' || c == u'"') {
                i = skipQuoted(s, i) + 1;
            } else if (c == u'(') {
                qsizetype close = matchingParen(s, i);
                if (close < 0)
                    close = s.size();
                SearchExpression(s.mid(i + 1, close - i - 1), Depth + 1);
                i = close + 1;
            } else if (c == u'<') {
                qsizetype close = s.indexOf(u'>', i + 1);
                if (close < 0)
                    close = s.size();
                SearchExpression(s.mid(i + 1, close - i - 1), Depth + 1);
                i = close + 1;
            } else {
                qsizetype j = i;
                while (j < s.size() && !endsWord(s[j]))
                    ++j;
                const QString word = s.mid(i, j - i);
                const QString upper = word.toUpper();
                const bool aggregate = upper == QLatin1String("SUM") || upper == QLatin1String("MIN") ||
                                       upper == QLatin1String("MAX") || upper == QLatin1String("AVG") ||
                                       upper == QLatin1String("COUNT");
                if (aggregate && j < s.size() && s[j] == u'(') {
                    qsizetype close = matchingParen(s, j);
                    if (close < 0)
                        return;  // an unfinished call holds no item
                    AddCall(upper, splitArguments(s, j, close), s.mid(i, close - i + 1).trimmed());
                    i = close + 1;
                    continue;
                }
                if (!aggregate)
                    FollowName(word, Depth + 1);
                i = j > i ? j : i + 1;
            }
        }
    }

    void AddCall(const QString &Function, const QStringList &Args, const QString &CallText)
    {
        auto item = std::make_unique<TkvlAggregateItem>();
        item->Report = FReport;
        item->AggregateFunction = kvlAggregateFunction(Function);
        const bool count = item->AggregateFunction == agCount;
        const int first = count ? 0 : 1;
        if (!count)
            item->Expression = Args.value(0);
        const QString bandName = Args.value(first);
        const int flags = Args.value(first + 1).toInt();
        item->CountInvisibleBands = flags & 1;
        item->DontReset = flags & 2;
        item->Band = bandName.isEmpty() ? FDataBand : rtl_cast<TkvlBand>(FReport->FindObject(bandName));
        item->ParentBand = totalsBandOfView(FMemo);
        item->IsPageFooter = item->ParentBand.get() && item->ParentBand->Is<TkvlPageFooter>();
        item->MemoName = FMemo ? FMemo->Name() : QString();
        item->OriginalName = CallText;
        FList.FItems.push_back(std::move(item));
    }

    TkvlAggregateList &FList;
    TkvlReport *FReport;
    TkvlCustomMemoView *FMemo;
    TkvlBand *FDataBand;
    std::vector<QString> FPath;  // variables followed to get here
};

// ---- the list -----------------------------------------------------------------------------

TkvlAggregateList::TkvlAggregateList(TkvlReport *AReport) : FReport(AReport) {}
TkvlAggregateList::~TkvlAggregateList() = default;

void TkvlAggregateList::Clear() { FItems.clear(); }

void TkvlAggregateList::AddMemoItems(TkvlCustomMemoView *Memo, TkvlBand *DataBand)
{
    if (!Memo || !Memo->AllowExpressions)
        return;
    const QString delims = Memo->ExpressionDelimiters();
    const qsizetype comma = delims.indexOf(u',');
    const QString open = comma < 0 ? delims : delims.left(comma);
    const QString close = comma < 0 ? QString() : delims.mid(comma + 1);
    TkvlAggregateFinder finder(*this, Memo, DataBand);
    for (const QString &e : memoExpressions(Memo->Text(), open, close))
        finder.SearchExpression(e, 0);
}

namespace {
void searchChain(TkvlAggregateList &List, TkvlBand *Band, TkvlBand *DataBand)
{
    int guard = 0;
    for (TkvlBand *b = Band; b && guard < 1000; b = b->Child(), ++guard)
        for (TkvlComponent *c : b->Objects())
            if (auto *m = rtl_cast<TkvlCustomMemoView>(c))
                List.AddMemoItems(m, DataBand);
}

void searchDataBand(TkvlAggregateList &List, TkvlBand *DataBand, int Depth)
{
    if (!DataBand || Depth > 16)
        return;
    searchChain(List, DataBand->Footer.get(), DataBand);
    if (TkvlBand *g = DataBand->Group.get())
        for (const auto &gh : g->SubBands)
            if (gh)
                searchChain(List, gh->Footer.get(), DataBand);
    for (const auto &sub : DataBand->SubBands)
        searchDataBand(List, sub.get(), Depth + 1);
    if (DataBand->Vertical())
        for (TkvlComponent *c : DataBand->Objects())
            if (auto *m = rtl_cast<TkvlCustomMemoView>(c))
                List.AddMemoItems(m, DataBand);
}
} // namespace

void TkvlAggregateList::AddItems(TkvlReportPage *Page)
{
    if (!Page)
        return;
    for (const auto &b : Page->SubBands)
        searchDataBand(*this, b.get(), 0);
    for (const auto &b : Page->VSubBands)
        searchDataBand(*this, b.get(), 0);
    TkvlBand *first = nullptr;
    for (TkvlComponent *c : Page->Objects())
        if (auto *d = rtl_cast<TkvlDataBand>(c)) {
            first = d;
            break;
        }
    if (!Page->SubBands.empty() && Page->SubBands.front())
        first = Page->SubBands.front().get();
    if (!first)
        return;
    searchChain(*this, Page->FindBand<TkvlPageFooter>(), first);
    searchChain(*this, Page->FindBand<TkvlColumnFooter>(), first);
    searchChain(*this, Page->FindBand<TkvlReportSummary>(), first);
}

void TkvlAggregateList::AddValue(TkvlBand *Band, int VColumn)
{
    if (VColumn < 0 || VColumn > TkvlAggregateItem::MaxVColumn) {
        // The totals keep what they have; the run hears of it once.
        FReport->Errors().Add(QStringLiteral("Colonna verticale %1 oltre il limite di %2: totali non aggiornati")
                                  .arg(VColumn)
                                  .arg(TkvlAggregateItem::MaxVColumn));
        return;
    }
    for (auto &item : FItems)
        if (item->Band.get() == Band) {
            item->VColumn = VColumn;
            item->Calc();
        }
}

void TkvlAggregateList::DeleteValue(TkvlBand *Band)
{
    for (auto &item : FItems)
        if (item->Band.get() == Band)
            item->DeleteValue();
}

void TkvlAggregateList::Reset(TkvlBand *ParentBand)
{
    for (auto &item : FItems)
        if (item->ParentBand.get() == ParentBand)
            item->Reset();
}

void TkvlAggregateList::StartKeep()
{
    for (auto &item : FItems)
        item->StartKeep();
}

void TkvlAggregateList::EndKeep()
{
    for (auto &item : FItems)
        item->EndKeep();
}

void TkvlAggregateList::ClearValues()
{
    for (auto &item : FItems)
        item->Clear();
}

Variant TkvlAggregateList::GetValue(TkvlBand *ParentBand, int VColumn, const QString &Name, const QString &Expression,
                                    TkvlBand *Band, int Flags)
{
    const TkvlAggregateFunction f = kvlAggregateFunction(Name);
    const QString expr = Expression.trimmed();
    for (auto &item : FItems)
        if (item->ParentBand.get() == ParentBand && item->AggregateFunction == f &&
            item->Expression.trimmed().compare(expr, Qt::CaseInsensitive) == 0 &&
            (!Band || item->Band.get() == Band) && item->Flags() == (Flags & 3)) {
            item->VColumn = VColumn;
            return item->Value();
        }
    return Variant::null();
}

Variant TkvlAggregateList::GetValue(TkvlBand *ParentBand, const QString &ComplexName, int VColumn)
{
    const QString name = ComplexName.trimmed();
    for (auto &item : FItems)
        if (item->ParentBand.get() == ParentBand && item->OriginalName.compare(name, Qt::CaseInsensitive) == 0) {
            item->VColumn = VColumn;
            return item->Value();
        }
    return Variant::null();
}
