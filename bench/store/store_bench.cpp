// The prepared-pages store at 100, 1,000 and 10,000 pages of eight rows (a band and five
// memos each): adding with swapping on (MaxMemSize 4) and off, saving, loading, and 100
// random pages built. Peers in the same run: the XML layer writing and reading the same
// document, and pages rebuilt from elements held in memory (swapping off). Each phase's
// peak resident memory is measured from a reset of the peak (Linux clear_refs).
//
//   bench_store [pages...] [on|off]   default: 100 1000 10000, both
// Run one size and one mode per process for peak figures not spoiled by earlier runs.
#include "../support/ratioreporter.h"

#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/xml/xmldocument.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointF>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

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

// Resets the peak and returns the resident size now (kB).
long resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
    return statusKb("VmRSS");
}
double peakAboveMb(long BaselineKb) { return double(statusKb("VmHWM") - BaselineKb) / 1024.0; }

// Every memo's text and place on a built page.
QString pageSignature(TkvlPreviewPages &Store, int Index)
{
    QString out;
    std::shared_ptr<TkvlPage> page = Store.GetPageShared(Index);
    for (TkvlComponent *c : page->GetAllObjects())
        if (auto *m = rtl_cast<TkvlMemoView>(c))
            out += QStringLiteral("%1@%2,%3;").arg(m->Text()).arg(m->GetAbsLeft()).arg(m->GetAbsTop());
    return out;
}

// Whether every memo of page Index holds the text written for it, at the place of its row and
// column relative to the first memo of the report (Origin, taken from page 0).
bool pageAsWritten(TkvlPreviewPages &Store, int Index, int Rows, int Memos, QPointF &Origin)
{
    std::shared_ptr<TkvlPage> page = Store.GetPageShared(Index);
    int found = 0;
    for (TkvlComponent *c : page->GetAllObjects()) {
        auto *m = rtl_cast<TkvlMemoView>(c);
        if (!m)
            continue;
        const int k = found++;
        const int row = Index * Rows + k / Memos, col = k % Memos;
        if (Index == 0 && k == 0)
            Origin = QPointF(m->GetAbsLeft(), m->GetAbsTop());
        if (m->Text().trimmed() != QStringLiteral("Evento %1 colonna %2").arg(row).arg(col)
            || m->GetAbsLeft() - Origin.x() != 110.0 * col || m->GetAbsTop() - Origin.y() != 30.0 * (k / Memos))
            return false;
    }
    return found == Rows * Memos;
}

struct Run {
    bool identical = true;
    double usPerObject = 0, addPeakMb = 0;
    double saveMBs = 0, savePeakMb = 0, loadMBs = 0, loadPeakMb = 0;
    double msPerPage = 0, pagePeakMb = 0;
    double xmlSaveMBs = 0, xmlLoadMBs = 0;
    double sizeMb = 0;
};

Run runOnce(int Pages, bool Swap, const QString &Dir)
{
    constexpr int kRows = 8, kMemos = 5;
    Run out;
    auto report = std::make_unique<TkvlReport>(nullptr);
    report->EngineOptions()->UseFileCache = Swap;
    report->EngineOptions()->MaxMemSize = 4;
    report->EngineOptions()->TempDir = Dir;
    report->EngineOptions()->NewSilentMode = simSilent;
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    auto *band = new TkvlMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 0, 600, 30);
    std::vector<TkvlMemoView *> memos;
    for (int m = 0; m < kMemos; ++m) {
        auto *memo = new TkvlMemoView(band);
        memo->SetName(QStringLiteral("Memo%1").arg(m + 1));
        memo->SetBounds(10 + 110 * m, 4, 100, 20);
        memos.push_back(memo);
    }
    auto *store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
    store->Initialize();
    store->BeginPass();
    store->AddSourcePage(page);

    long base = resetPeak();
    auto t = Clock::now();
    int row = 0;
    for (int p = 0; p < Pages; ++p) {
        store->AddPage(page);
        for (int r = 0; r < kRows; ++r, ++row) {
            band->SetTop(20 + r * 30);
            for (int m = 0; m < kMemos; ++m)
                memos[size_t(m)]->SetText(QStringLiteral("Evento %1 colonna %2").arg(row).arg(m));
            store->AddObject(band);
        }
    }
    out.usPerObject = secondsSince(t) * 1e6 / (double(Pages) * kRows * (kMemos + 1));
    out.addPeakMb = peakAboveMb(base);
    store->Finish();
    std::vector<int> probe = {0, 1, Pages / 2, Pages - 1};
    std::vector<QString> before;
    for (int p : probe)
        before.push_back(pageSignature(*store, p));

    const QString file = Dir + QStringLiteral("/r.kp3");
    base = resetPeak();
    store->SaveToFile(file);
    out.savePeakMb = peakAboveMb(base);
    const double bytes = double(QFile(file).size());
    out.sizeMb = bytes / 1048576.0;

    // The XML layer reading the same file whole, then saves of the store and of the XML layer
    // taking turns, so that both meet the machine in the same state; a save of a small report
    // takes about a millisecond: the best of fifteen each. Making the file counts on both sides.
    {
        TkvlXMLDocument doc;
        {
            TFileStream in(file, fmOpenRead);
            t = Clock::now();
            doc.LoadFromStream(&in, false);
            out.xmlLoadMBs = out.sizeMb / secondsSince(t);
        }
        constexpr int kSaves = 15;
        double save = 1e9, xmlSave = 1e9;
        for (int i = 0; i < kSaves; ++i) {
            // Both write a new file: replacing one costs what the file system charges for
            // freeing the old one's blocks, the same whoever writes.
            QFile::remove(file);
            QFile::remove(Dir + QStringLiteral("/x.xml"));
            t = Clock::now();
            store->SaveToFile(file);
            save = std::min(save, secondsSince(t));
            t = Clock::now();
            {
                TFileStream o(Dir + QStringLiteral("/x.xml"), fmCreate);
                doc.SaveToStream(o);
            }
            xmlSave = std::min(xmlSave, secondsSince(t));
        }
        out.saveMBs = out.sizeMb / save;
        out.xmlSaveMBs = out.sizeMb / xmlSave;
    }
    QFile::remove(Dir + QStringLiteral("/x.xml"));

    store->Clear();
    base = resetPeak();
    t = Clock::now();
    store->LoadFromFile(file);
    out.loadMBs = out.sizeMb / secondsSince(t);
    out.loadPeakMb = peakAboveMb(base);

    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, Pages - 1);
    base = resetPeak();
    t = Clock::now();
    for (int i = 0; i < 100; ++i)
        store->GetPage(pick(rng));
    out.msPerPage = secondsSince(t) * 1e3 / 100;
    out.pagePeakMb = peakAboveMb(base);

    for (size_t i = 0; i < probe.size(); ++i)
        out.identical = out.identical && pageSignature(*store, probe[i]) == before[i];
    // And every page of the reloaded file holds what was written.
    QPointF origin;
    for (int p = 0; p < Pages && out.identical; ++p)
        out.identical = pageAsWritten(*store, p, kRows, kMemos, origin);

    QFile::remove(file);
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    kvlRegisterPreviewPagesStore();
    std::vector<int> sizes;
    std::vector<bool> modes;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "on" || a == "off")
            modes.push_back(a == "on");
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    if (modes.empty())
        modes = {true, false};
    if (sizes.empty())
        sizes = {100, 1000, 10000};
    QTemporaryDir dir;
    // The first pages built and swapped out in a process load fonts, set up the text layout
    // and grow the heap: a small run first (more pages than the cache holds), so that this
    // does not fall on the first size measured.
    runOnce(60, true, dir.path());
    std::printf("reference: 2 us/object, 50 MB/s, 2 ms/page\n");
    std::printf("%6s %5s %9s %8s %8s %8s %8s %8s %7s %8s | peak MB: %6s %6s %6s %6s\n", "pages", "swap",
                "us/obj", "kp3 MB", "save", "xmlsave", "load", "xmlload", "ms/pg", "same", "add", "save", "load", "pages");
    for (int n : sizes)
        for (bool swap : modes) {
            const Run r = runOnce(n, swap, dir.path());
            std::printf("%6d %5s %9.3f %8.2f %8.1f %8.1f %8.1f %8.1f %7.3f %8s | %15.1f %6.1f %6.1f %6.1f\n", n,
                        swap ? "on" : "off", r.usPerObject, r.sizeMb, r.saveMBs, r.xmlSaveMBs, r.loadMBs,
                        r.xmlLoadMBs, r.msPerPage, r.identical ? "yes" : "NO", r.addPeakMb, r.savePeakMb, r.loadPeakMb, r.pagePeakMb);
            std::fflush(stdout);
        }
    return 0;
}
