#include "tests/engine/enginefixture.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreportunit.h"
#include "report/resources/kvlresources.h"
#include "tests/testsupport.h"

namespace {

void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        kvlRegisterDMPClasses();
        kvlRegisterBandEngine();
        return true;
    }();
    (void)done;
}

} // namespace

ReportClassesRegistered::ReportClassesRegistered() { registerOnce(); }

void FooterTotals::AddValue(TkvlBand *, int)
{
    const double v = Source ? Source->GetValue(QStringLiteral("AMOUNT")).toDouble() : 0;
    for (auto &[band, total] : Totals)
        total += v;
}

void FooterTotals::Reset(TkvlBand *ParentBand)
{
    if (auto it = Totals.find(ParentBand); it != Totals.end())
        it->second = 0;
}

Variant FooterTotals::GetValue(TkvlBand *ParentBand, int, const QString &, const QString &, TkvlBand *, int)
{
    auto it = Totals.find(ParentBand);
    return it == Totals.end() ? Variant::null() : Variant(it->second);
}

std::vector<std::vector<Variant>> numberedRows(int N)
{
    std::vector<std::vector<Variant>> rows;
    for (int i = 1; i <= N; ++i)
        rows.push_back({i, "C", "M", double(i), i % 2 == 1});
    return rows;
}

EngineTest::EngineTest()
{
    if (!report.Engine())
        ADD_FAILURE() << "no engine";
    report.SetPreviewPages(&store);
    engine().PreviewPages = &store;
    store.Engine = &engine();
    auto t = std::make_unique<FooterTotals>();
    totals = t.get();
    engine().SetAggregates(std::move(t));
    report.Evaluator = [this](const QString &e) -> Variant {
        if (lookup)
            if (std::optional<Variant> v = lookup(e))
                return *v;
        if (auto it = values.constFind(e); it != values.constEnd())
            return *it;
        if (e == QLatin1String("Line#"))
            return engine().CurLine;
        if (e == QLatin1String("Page#"))
            return store.CurPage + 1;
        if (e == QLatin1String("TotalPages"))
            return engine().TotalPages;
        if (e.startsWith(QLatin1String("SUM(")))
            return engine().GetAggregateValue(QStringLiteral("SUM"), e.mid(4, e.size() - 5), nullptr, 0);
        if (fieldSource && fieldSource->HasField(e))
            return fieldSource->GetValue(e);
        return Variant::null();
    };
    report.ScriptEvent = [this](const QString &Event, Variant &Params) {
        events << Event;
        if (onEvent)
            onEvent(Event, Params);
    };
}

EngineTest::~EngineTest()
{
    report.SetPreviewPages(nullptr);
    engine().PreviewPages = nullptr;
}

TkvlReportPage *EngineTest::addPage(double HeightPx)
{
    auto *page = new TkvlReportPage(&report);
    page->CreateUniqueName();
    page->LeftMargin = page->RightMargin = page->TopMargin = page->BottomMargin = 0;
    page->SetSizeAndDimensions(256, 200 / kvlPixelsPerMm, HeightPx / kvlPixelsPerMm);
    return page;
}

TkvlMemoView *EngineTest::addMemo(TkvlComponent *Band, const QString &Text)
{
    auto *m = new TkvlMemoView(Band);
    m->CreateUniqueName();
    m->SetBounds(0, 0, 200, Band->Height());
    m->SetText(Text);
    return m;
}

TkvlDBDataset *EngineTest::addSource(const QString &Name, std::vector<std::vector<Variant>> Rows)
{
    auto data = std::make_unique<MemDataSet>();
    data->Name = Name;
    data->columns = {{QStringLiteral("ID"), TFieldType::ftInteger},
                     {QStringLiteral("CITY"), TFieldType::ftString},
                     {QStringLiteral("MONTH"), TFieldType::ftString},
                     {QStringLiteral("AMOUNT"), TFieldType::ftFloat},
                     {QStringLiteral("FLAG"), TFieldType::ftBoolean}};
    data->rows = std::move(Rows);
    auto *src = new TkvlDBDataset(&report);
    src->SetName(QStringLiteral("f") + Name);
    src->SetUserName(Name);
    src->SetDataSet(data.get());
    report.DataSets()->Add(src);
    datasets.push_back(std::move(data));
    if (!fieldSource)
        fieldSource = src;
    totals->Source = fieldSource;
    return src;
}

void EngineTest::load(const QString &File)
{
    report.LoadFromFile(testsupport::dataFile(QStringLiteral("engine/") + File), true);
    ASSERT_EQ(report.Errors().Count(), 0) << report.Errors().Text().toStdString();
}

void EngineTest::bindSources()
{
    for (TkvlComponent *c : report.GetAllObjects())
        if (auto *b = rtl_cast<TkvlDataBand>(c); b && !b->DataSetName().isEmpty() && !b->DataSet())
            if (TkvlDataSetItem *item = report.DataSets()->Find(b->DataSetName()))
                b->SetDataSet(item->DataSet());
}

QString EngineTest::texts() const
{
    QStringList pages;
    for (int i = 0; i < int(store.Pages.size()); ++i)
        pages << store.AddedTexts(i).join(QLatin1Char('|'));
    return pages.join(QLatin1String(" / "));
}
