// Loading and saving a document of 0.5, 5 and 50 MB (about 2,500 elements per 0.5 MB), against
// two other loaders of whole element trees in the same process: pugixml and libxml2. Each load
// also runs once the heap has been used (many small blocks allocated and half of them freed),
// as in a program that has been working for a while. Qt's stream reader merely tokenizing the
// file is a further yardstick.
#include "bench/support/ratioreporter.h"
#include "report/xml/xmldocument.h"
#include "platform/rtl/stream.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <pugixml.hpp>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Fixture {
    QString file;
    int64_t size = 0;

    explicit Fixture(int64_t target)
    {
        // The process id keeps two runs at once from writing or removing each other's files.
        file = QDir::tempPath() + QStringLiteral("/lirra_bench_xml_%1_%2.xml").arg(target).arg(QCoreApplication::applicationPid());
        TkvlXMLDocument doc;
        doc.SetAutoIndent(true);
        TkvlXMLItem *root = doc.Root();
        root->SetName(QStringLiteral("TkvlReport"));
        root->SetText(QStringLiteral("Name=\"Report1\" DotMatrixReport=\"0\" IniFile=\"\\Software\\Reports\""));
        int n = 0;
        auto addPage = [&](int p) {
            TkvlXMLItem *page = root->Add(QStringLiteral("TkvlReportPage"));
            page->SetProp(QStringLiteral("Name"), QStringLiteral("Page%1").arg(p));
            page->SetProp(QStringLiteral("PaperWidth"), QStringLiteral("210"));
            for (int b = 0; b < 20; ++b) {
                TkvlXMLItem *band = page->Add(QStringLiteral("TkvlMasterData"));
                band->SetText(QStringLiteral("Name=\"MasterData%1\" Height=\"18,89765\" Left=\"0\" Top=\"%2\" Width=\"718,1107\"")
                                  .arg(++n).arg(b * 20));
                for (int m = 0; m < 10; ++m) {
                    TkvlXMLItem *memo = band->Add(QStringLiteral("TkvlMemoView"));
                    memo->SetText(QStringLiteral("Name=\"Memo%1\" Left=\"%2\" Top=\"0\" Width=\"64,25197\" Height=\"18,89765\" "
                                                 "Font.Name=\"Arial\" Font.Height=\"-13\" Frame.Typ=\"15\"")
                                      .arg(++n).arg(m * 70));
                    memo->SetProp(QStringLiteral("Text"),
                                  QStringLiteral("[Events.\"Descrizione\"] \u2014 citt\u00e0 & \"dintorni\"\r\nriga %1").arg(n));
                }
            }
        };
        // One page tells the size of a page; then enough pages for the target size.
        addPage(0);
        TMemoryStream probe;
        doc.SaveToStream(probe);
        const int pages = int(target / probe.Size()) + 1;
        for (int p = 1; p < pages; ++p)
            addPage(p);
        TFileStream out(file, fmCreate);
        doc.SaveToStream(out);
        size = out.Size();
    }
    ~Fixture()
    {
        QFile::remove(file);
        QFile::remove(file + QLatin1String(".marked"));
    }
};

// The file of about Kilobytes KB.
Fixture &fixture(int64_t kilobytes = 50000)
{
    static std::map<int64_t, std::unique_ptr<Fixture>> files;
    auto &f = files[kilobytes];
    if (!f)
        f = std::make_unique<Fixture>(kilobytes * 1000);
    return *f;
}

// A heap that has been used: a million small blocks of mixed sizes, every other one freed,
// the rest kept until the end of the program.
void useHeap()
{
    static std::vector<std::string> kept;
    if (!kept.empty())
        return;
    std::mt19937 random(7);
    std::vector<std::string> all;
    all.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        all.emplace_back(size_t(24 + random() % 200), 'x');
    for (size_t i = 0; i < all.size(); i += 2)
        kept.push_back(std::move(all[i]));
    all.clear();
    // The allocator sorts freed blocks into its bins on larger requests, at most 10,000 per
    // request: sort all of them here (the blocks are held so that none is handed back at
    // once), so that the loader that happens to run first does not pay it for the others.
    std::vector<std::unique_ptr<char[]>> large;
    for (int i = 0; i < 200; ++i) {
        large.emplace_back(new char[size_t(4) << 10]);
        benchmark::DoNotOptimize(large.back().get());
    }
}

void prepare(benchmark::State &state, Fixture *&f)
{
    f = &fixture(state.range(0));
    if (state.range(1))
        useHeap();
}

void setRate(benchmark::State &state, int64_t bytes)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.counters["MB/s"] = benchmark::Counter(double(bytes) / 1e6 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
    state.counters["MB"] = double(bytes) / 1e6;
}

void BM_XmlLoad(benchmark::State &state)
{
    Fixture *f;
    prepare(state, f);
    for (auto _ : state) {
        TkvlXMLDocument doc;
        TFileStream in(f->file, fmOpenRead);
        doc.LoadFromStream(&in);
        benchmark::DoNotOptimize(doc.Root()->Count());
    }
    setRate(state, f->size);
}

void BM_PugixmlLoad(benchmark::State &state)
{
    Fixture *f;
    prepare(state, f);
    const QByteArray name = QFile::encodeName(f->file);
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_file(name.constData()))
            state.SkipWithError("pugixml could not read the file");
        benchmark::DoNotOptimize(doc.first_child());
    }
    setRate(state, f->size);
}

void BM_Libxml2Load(benchmark::State &state)
{
    Fixture *f;
    prepare(state, f);
    const QByteArray name = QFile::encodeName(f->file);
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadFile(name.constData(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE);
        if (!doc)
            state.SkipWithError("libxml2 could not read the file");
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    setRate(state, f->size);
}

void BM_XmlLoadPartial(benchmark::State &state)
{
    // The same file with every page marked for partial loading.
    Fixture &f = fixture();
    static const QString marked = [&] {
        TkvlXMLDocument doc;
        TFileStream in(f.file, fmOpenRead);
        doc.LoadFromStream(&in);
        for (int i = 0; i < doc.Root()->Count(); ++i)
            doc.Root()->Items(i)->SetUnloadable(true);
        const QString name = f.file + QLatin1String(".marked");
        TFileStream out(name, fmCreate);
        doc.SaveToStream(out);
        return name;
    }();
    int64_t size = QFileInfo(marked).size();
    for (auto _ : state) {
        TkvlXMLDocument doc;
        doc.LoadFromFile(marked);
        benchmark::DoNotOptimize(doc.Root()->Count());
    }
    setRate(state, size);
}

void BM_XmlSave(benchmark::State &state)
{
    Fixture &f = fixture();
    TkvlXMLDocument doc;
    doc.SetAutoIndent(true);
    {
        TFileStream in(f.file, fmOpenRead);
        doc.LoadFromStream(&in);
    }
    const QString out = f.file + QLatin1String(".out");
    int64_t size = 0;
    for (auto _ : state) {
        TFileStream s(out, fmCreate);
        doc.SaveToStream(s);
        size = s.Size();
    }
    QFile::remove(out);
    setRate(state, size);
}

void BM_QXmlStreamReaderTokenize(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        QFile file(f.file);
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader r(&file);
        int64_t tokens = 0;
        while (!r.atEnd()) {
            r.readNext();
            ++tokens;
        }
        if (r.hasError())
            state.SkipWithError("QXmlStreamReader could not read the file");
        benchmark::DoNotOptimize(tokens);
    }
    setRate(state, f.size);
}

} // namespace

// Arguments: the file's size in KB, and whether the heap was used first. The three loaders run
// in turns at each size; the used-heap runs come last, since the heap stays used.
int main(int argc, char **argv)
{
    const char *const loaders[] = {"BM_XmlLoad", "BM_PugixmlLoad", "BM_Libxml2Load"};
    void (*const functions[])(benchmark::State &) = {BM_XmlLoad, BM_PugixmlLoad, BM_Libxml2Load};
    for (int heap : {0, 1})
        for (int kb : {500, 5000, 50000})
            for (int i = 0; i < 3; ++i)
                benchmark::RegisterBenchmark(loaders[i], functions[i])
                    ->Args({kb, heap})
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(3);
    benchmark::RegisterBenchmark("BM_XmlLoadPartial", BM_XmlLoadPartial)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_XmlSave", BM_XmlSave)->Unit(benchmark::kMillisecond)->Iterations(3);
    benchmark::RegisterBenchmark("BM_QXmlStreamReaderTokenize", BM_QXmlStreamReaderTokenize)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");   // past the console reporter's last colour code
    const auto time = [&](const std::string &Name) {
        for (const auto &[name, ms] : reporter.times)
            if (name == Name || name.rfind(Name + "/", 0) == 0)
                return ms;
        return 0.0;
    };
    for (int heap : {0, 1})
        for (int kb : {500, 5000, 50000}) {
            const std::string args = "/" + std::to_string(kb) + "/" + std::to_string(heap);
            const double ours = time(loaders[0] + args), pugi = time(loaders[1] + args), xml2 = time(loaders[2] + args);
            if (ours <= 0)
                continue;
            std::printf("load %5d KB%s: ours %.2f ms, pugixml %.2f ms (ours/peer %.2f), libxml2 %.2f ms (ours/peer %.2f)\n",
                        kb, heap ? " (used heap)" : "", ours, pugi, pugi > 0 ? ours / pugi : 0, xml2,
                        xml2 > 0 ? ours / xml2 : 0);
        }
    return 0;
}
