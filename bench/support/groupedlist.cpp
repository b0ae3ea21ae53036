#include "bench/support/groupedlist.h"

#include "engine/run/kvlengine.h"
#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldatasetlist.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "script/grammar/qsgrammars.h"

#include <fstream>
#include <iterator>

namespace benchsupport {

namespace {

constexpr int kSites = 20;
constexpr const char *kNames[] = {"ID", "TITLE", "START_EVENT", "END_EVENT", "SITE"};

const QString kSource = QStringLiteral("EVENTS");
QString field(const char *Name) { return kSource + QStringLiteral(".\"") + QLatin1String(Name) + u'"'; }

TkvlMemoView *memo(TkvlComponent *Band, const QString &Text, double Left, double Width)
{
    auto *m = new TkvlMemoView(Band);
    m->CreateUniqueName();
    m->SetBounds(Left, 0, Width, Band->Height());
    m->SetText(Text);
    return m;
}

void build(TkvlReport &Report)
{
    auto *page = new TkvlReportPage(&Report);
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    auto band = [&](TkvlBand *b, const char *Name, double Top) {
        b->SetName(QLatin1String(Name));
        b->SetBounds(0, Top, 700, 20);
        return b;
    };
    memo(band(new TkvlPageHeader(page), "PageHeader1", 0), QStringLiteral("Pagina [Page#]"), 0, 200);
    auto *group = static_cast<TkvlGroupHeader *>(band(new TkvlGroupHeader(page), "GroupHeader1", 40));
    group->Condition = field("SITE");
    memo(group, QStringLiteral("[") + field("SITE") + u']', 0, 300);
    auto *data = static_cast<TkvlMasterData *>(band(new TkvlMasterData(page), "MasterData1", 80));
    data->SetDataSetName(kSource);
    memo(data, QStringLiteral("[") + field("ID") + u']', 0, 60);
    memo(data, QStringLiteral("[") + field("TITLE") + u']', 60, 240);
    memo(data, QStringLiteral("[") + field("START_EVENT") + QStringLiteral(" #ddd/mm/yyyy]"), 300, 120);
    memo(data, QStringLiteral("[") + field("END_EVENT") + QStringLiteral(" #ddd/mm/yyyy]"), 420, 120);
    memo(data, QStringLiteral("[") + field("SITE") + u']', 540, 160);
    memo(band(new TkvlGroupFooter(page), "GroupFooter1", 120), QStringLiteral("Eventi: [COUNT(MasterData1)]"), 0,
         300);
}

} // namespace

GeneratedRows::GeneratedRows(int Rows) : TkvlDataSet(nullptr)
{
    RangeEnd = reCount;
    RangeEndCount = Rows;
}

Variant GeneratedRows::GetValue(const QString &FieldName)
{
    const int i = RecNo();
    switch (column(FieldName)) {
    case 0:
        return i + 1;
    case 1:
        return QStringLiteral("Evento %1").arg(i + 1);
    case 2:
        return Variant::fromDate(45000 + i % 365);
    case 3:
        return Variant::fromDate(45000.5 + i % 365);
    case 4:
        return QStringLiteral("Sede %1").arg(int((long long)i * kSites / RangeEndCount), 2, 10, QChar(u'0'));
    default:
        return Variant::null();
    }
}

TkvlFieldType GeneratedRows::GetFieldType(const QString &FieldName)
{
    const int c = column(FieldName);
    return c == 1 || c == 4 ? fftString : c == 2 || c == 3 ? fftDateTime : fftNumeric;
}

int GeneratedRows::FieldsCount() { return int(std::size(kNames)); }

void GeneratedRows::GetFieldList(TStringList &List)
{
    List.Clear();
    for (const char *n : kNames)
        List.Add(QLatin1String(n));
}

int GeneratedRows::column(const QString &FieldName)
{
    for (int c = 0; c < int(std::size(kNames)); ++c)
        if (FieldName.compare(QLatin1String(kNames[c]), Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

GroupedList::GroupedList(int Rows) : source(Rows)
{
    source.SetName(QStringLiteral("fEVENTS"));
    source.SetUserName(kSource);
    report.DataSets()->Add(&source);
    build(report);
    TkvlEngineOptions *o = report.EngineOptions();
    o->UseFileCache = true;
    o->MaxMemSize = 10;
    report.PreviewOptions()->PagesInCache = 50;
    o->TempDir = dir.path();
    o->NewSilentMode = simSilent;
}

void registerEngineClasses()
{
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    kvlInitResources();
    qsRegisterStandardLanguages();
    kvlRegisterBandEngine();
    kvlRegisterPreviewPagesStore();
}

long statusKb(const char *Key)
{
    std::ifstream f("/proc/self/status");
    std::string line;
    const std::string key = std::string(Key) + ":";
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    return 0;
}

double peakMb() { return double(statusKb("VmHWM")) / 1024.0; }
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

} // namespace benchsupport
