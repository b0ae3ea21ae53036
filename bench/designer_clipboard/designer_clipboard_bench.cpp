// The designer's clipboard against the serializer's own element text of the same objects:
// Copy of 10, 100 and 1000 memos in bands against WriteComponentStr of each, Paste against
// ReadComponentStr of each element. The report tree window built for 100, 1000 and 10 000
// objects against a QStandardItemModel filled with the same names in one pass. Each run five
// times, the fastest counting; the ratios are printed at the end.
#include "tests/nulldesigner.h"
#include "bench/support/ratioreporter.h"
#include "designer/core/clipboard.h"
#include "designer/widgets/reporttree.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvldesigner.h"
#include "report/serial/xmlserializer.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

class BenchDesigner final : public TNullDesigner {
public:
    explicit BenchDesigner(TkvlReport *r) : TNullDesigner(nullptr, r, false) {}
    QString InsertExpression(const QString &e) override { return e; }
};

// N memos on bands of 20, all selected; a second report to paste into.
struct Fixture {
    TkvlReport report{nullptr};
    TkvlReportPage *page;
    BenchDesigner designer{&report};
    TkvlReport target{nullptr};
    TkvlReportPage *targetPage;
    BenchDesigner targetDesigner{&target};
    std::vector<TkvlComponent *> objects;

    explicit Fixture(int memos)
    {
        page = new TkvlReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        TkvlBand *band = nullptr;
        for (int i = 0; i < memos; ++i) {
            if (i % 20 == 0) {
                band = new TkvlMasterData(page);
                band->SetName(QStringLiteral("MasterData%1").arg(i / 20 + 1));
                band->SetBounds(0, 20 + (i / 20) * 30, 700, 25);
                objects.push_back(band);
            }
            auto *m = new TkvlMemoView(band);
            m->SetName(QStringLiteral("Memo%1").arg(i + 1));
            m->SetBounds(10 + (i % 20) * 34, 0, 32, 18);
            m->SetText(QStringLiteral("[EVENTS.\"TITOLO\"] %1").arg(i));
            objects.push_back(m);
        }
        designer.SetPage(page);
        designer.SelectedObjects = objects;
        targetPage = new TkvlReportPage(&target);
        targetPage->SetName(QStringLiteral("Page1"));
        targetDesigner.SetPage(targetPage);
    }
};

Fixture &fixture(int memos)
{
    static std::map<int, std::unique_ptr<Fixture>> all;
    auto &f = all[memos];
    if (!f)
        f = std::make_unique<Fixture>(memos);
    return *f;
}

void BM_Copy(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    TkvlClipboard cb(&f.designer);
    for (auto _ : state)
        benchmark::DoNotOptimize(cb.CopyText());
}

void BM_WriteComponentStr(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    for (auto _ : state) {
        TkvlXMLSerializer s;
        QString out;
        for (TkvlComponent *c : f.objects)
            out += u'<' + s.WriteComponentStr(c) + QStringLiteral("/>");
        benchmark::DoNotOptimize(out);
    }
}

void clearTarget(Fixture &f)
{
    f.targetPage->Clear();
    f.targetDesigner.Objects.clear();
    f.targetDesigner.SelectedObjects.clear();
}

void BM_Paste(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    const QString text = TkvlClipboard(&f.designer).CopyText();
    TkvlClipboard cb(&f.targetDesigner);
    for (auto _ : state) {
        cb.PasteText(text);
        state.PauseTiming();
        clearTarget(f);
        state.ResumeTiming();
    }
}

// The serializer reading the same elements and placing them as the paste does.
void BM_ReadComponentStr(benchmark::State &state)
{
    Fixture &f = fixture(int(state.range(0)));
    std::vector<QString> elements;
    {
        TkvlXMLSerializer s;
        for (TkvlComponent *c : f.objects)
            elements.push_back(s.WriteComponentStr(c));
    }
    for (auto _ : state) {
        TkvlXMLSerializer s;
        TkvlComponent *band = nullptr;
        for (const QString &e : elements) {
            auto *obj = static_cast<TkvlComponent *>(s.ReadComponentStr(&f.target, e));
            if (obj->Is<TkvlBand>())
                (band = obj)->SetParent(f.targetPage);
            else
                obj->SetParent(band);
        }
        state.PauseTiming();
        clearTarget(f);
        state.ResumeTiming();
    }
}

// A report of N objects (memos on bands of 20) in a tree window.
struct TreeFixture {
    Fixture objects;
    QWidget owner;
    TkvlReportTreeForm form{&owner, &objects.designer};
    explicit TreeFixture(int n) : objects(n - n / 21) {}
};

TreeFixture &treeFixture(int n)
{
    static std::map<int, std::unique_ptr<TreeFixture>> all;
    auto &f = all[n];
    if (!f)
        f = std::make_unique<TreeFixture>(n);
    return *f;
}

void BM_ReportTree(benchmark::State &state)
{
    TreeFixture &f = treeFixture(int(state.range(0)));
    f.objects.designer.SelectedObjects.clear();
    for (auto _ : state)
        f.form.UpdateItems();
}

void BM_StandardItemModel(benchmark::State &state)
{
    TreeFixture &f = treeFixture(int(state.range(0)));
    QTreeView view;
    for (auto _ : state) {
        QStandardItemModel model;
        std::map<const TkvlComponent *, QStandardItem *> items;
        auto *root = new QStandardItem(QStringLiteral("Report"));
        model.appendRow(root);
        items[&f.objects.report] = root;
        for (TkvlComponent *c : f.objects.report.GetAllObjects()) {
            auto *item = new QStandardItem(c->Name());
            items[c] = item;
            items[c->Parent()]->appendRow(item);
        }
        view.setModel(&model);
        view.expandAll();
        view.setModel(nullptr);
    }
}

BENCHMARK(BM_Copy)->Arg(10)->Arg(100)->Arg(1000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteComponentStr)->Arg(10)->Arg(100)->Arg(1000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Arg(10)->Arg(100)->Arg(1000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadComponentStr)->Arg(10)->Arg(100)->Arg(1000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportTree)->Arg(100)->Arg(1000)->Arg(10000)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardItemModel)->Arg(100)->Arg(1000)->Arg(10000)->Repetitions(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlInitReportUnit();
    std::vector<char *> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    benchsupport::FastestRunReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char *name, const char *arg) {
        const auto it = reporter.fastest.find(std::string(name) + "/" + arg + "/repeats:5");
        return it == reporter.fastest.end() ? 0.0 : it->second;
    };
    for (const char *memos : {"10", "100", "1000"}) {
        const double copy = t("BM_Copy", memos), write = t("BM_WriteComponentStr", memos);
        const double paste = t("BM_Paste", memos), read = t("BM_ReadComponentStr", memos);
        if (write > 0 && read > 0)
            std::printf("%5s memos: Copy %.3f ms / write %.3f ms = %.2fx; Paste %.3f ms / read %.3f ms = %.2fx\n", memos,
                        copy, write, copy / write, paste, read, paste / read);
    }
    for (const char *objects : {"100", "1000", "10000"}) {
        const double tree = t("BM_ReportTree", objects), peer = t("BM_StandardItemModel", objects);
        if (peer > 0)
            std::printf("%5s objects: report tree %.3f ms / item model %.3f ms = %.2fx\n", objects, tree, peer,
                        tree / peer);
    }
    return 0;
}
