// Loading and saving a large document (about 50 MB, a quarter of a million elements), with
// Qt's stream reader merely tokenizing the same file as a yardstick.
#include "report/xml/xmldocument.h"
#include "platform/rtl/stream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    QString file;
    int64_t size = 0;

    Fixture()
    {
        file = QDir::tempPath() + QLatin1String("/lirra_bench_xml.xml");
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
        // Ten pages tell the size of one; then enough pages for 50 MB.
        for (int p = 0; p < 10; ++p)
            addPage(p);
        TMemoryStream probe;
        doc.SaveToStream(probe);
        const int pages = int(50'000'000LL * 10 / probe.Size()) + 1;
        for (int p = 10; p < pages; ++p)
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

Fixture &fixture()
{
    static Fixture f;
    return f;
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
    Fixture &f = fixture();
    for (auto _ : state) {
        TkvlXMLDocument doc;
        TFileStream in(f.file, fmOpenRead);
        doc.LoadFromStream(&in);
        benchmark::DoNotOptimize(doc.Root()->Count());
    }
    setRate(state, f.size);
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

BENCHMARK(BM_XmlLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_XmlLoadPartial)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_XmlSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QXmlStreamReaderTokenize)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
