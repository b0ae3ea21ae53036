// PDF export of 1, 10 and 100 pages of 60 memos (40 to 120 characters, Arial 10, every fifth
// bold), fed as the export driver feeds them, against its peer in the same run: QPdfWriter
// and a QPainter drawing each memo's text with drawText in the same font and size, as a Qt
// program would. Prints milliseconds and bytes per page of each.
#include "bench/pdf/painterpeer.h"
#include "bench/support/ratioreporter.h"
#include "export/pdf/pdfexport.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/views/kvlviews.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kMemos = 60;

const char *const kWords[] = {"evento", "riunione", "sede", "calendario", "settimana", "titolo", "inizio",
                              "fine", "Città", "perché", "sala", "ordine", "giorno", "ufficio"};

// One prepared page: memos in a column, texts of 40 to 120 characters.
struct Page {
    TkvlReportPage page{nullptr};
    std::vector<TkvlMemoView *> memos;
    explicit Page(int seed)
    {
        page.SetSizeAndDimensions(9, 210, 297);
        page.LeftMargin = page.RightMargin = page.TopMargin = page.BottomMargin = 10;
        for (int i = 0; i < kMemos; ++i) {
            auto *m = new TkvlMemoView(&page);
            TFont f;
            f.SetName(QStringLiteral("Arial"));
            f.SetSize(10);
            if (i % 5 == 0)
                f.SetStyle(FontStyleBit(fsBold));
            m->SetFont(&f);
            m->SetBounds(0, i * 17, 720, 17);
            m->WordWrap = false;
            QString text;
            const int length = 40 + (i * 37 + seed * 11) % 81;
            for (int w = i + seed; text.size() < length; ++w)
                text += QLatin1String(kWords[w % 14]) + QLatin1Char(' ');
            m->SetText(text.left(length));
            memos.push_back(m);
        }
    }
};

// Ten distinct pages, repeated.
std::vector<std::unique_ptr<Page>> &pages()
{
    static std::vector<std::unique_ptr<Page>> p = [] {
        std::vector<std::unique_ptr<Page>> v;
        for (int i = 0; i < 10; ++i)
            v.push_back(std::make_unique<Page>(i));
        return v;
    }();
    return p;
}

std::map<int, double> bytesOurs, bytesPeer;

void BM_PdfExport(benchmark::State &state)
{
    const int n = int(state.range(0));
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlPDFExport>();
    f->ShowDialog = false;
    qint64 size = 0;
    for (auto _ : state) {
        TMemoryStream out;
        f->Stream = &out;
        f->Start();
        for (int i = 0; i < n; ++i) {
            Page &p = *pages()[size_t(i % 10)];
            f->StartPage(&p.page, i);
            for (TkvlMemoView *m : p.memos)
                f->ExportObject(m);
            f->FinishPage(&p.page, i);
        }
        f->Finish();
        size = out.Size();
    }
    bytesOurs[n] = double(size) / n;
}

void BM_QPdfWriter(benchmark::State &state)
{
    const int n = int(state.range(0));
    qint64 size = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setResolution(96);
            QPainter painter(&writer);
            painter.translate(38, 38);   // the margins of 10 mm
            benchsupport::PainterPeer peer(painter);
            for (int i = 0; i < n; ++i) {
                if (i > 0)
                    writer.newPage();
                Page &p = *pages()[size_t(i % 10)];
                for (TkvlMemoView *m : p.memos)
                    peer.Draw(m);
            }
        }
        size = buffer.size();
    }
    bytesPeer[n] = double(size) / n;
}

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    rtl::RegisterRootClasses();
    kvlRegisterObjectTreeClasses();
    kvlRegisterViewClasses();
    kvlRegisterMemoClasses();
    kvlRegisterPageClasses();
    kvlRegisterPDFExportClasses();
    // Ours and the peer interleaved, size by size.
    for (int n : {1, 10, 100}) {
        benchmark::RegisterBenchmark("BM_PdfExport", BM_PdfExport)->Arg(n)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_QPdfWriter", BM_QPdfWriter)->Arg(n)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");   // past the console reporter's last colour code
    for (int n : {1, 10, 100}) {
        const auto ours = reporter.times.find("BM_PdfExport/" + std::to_string(n));
        const auto peer = reporter.times.find("BM_QPdfWriter/" + std::to_string(n));
        if (ours == reporter.times.end() || peer == reporter.times.end())
            continue;
        std::printf("%4d pages: PDF export %.3f ms/page, %.0f bytes/page; QPdfWriter %.3f ms/page, %.0f bytes/page;"
                    " %.2fx its pages per second at %.2fx its bytes per page\n",
                    n, ours->second / n, bytesOurs[n], peer->second / n, bytesPeer[n], peer->second / ours->second,
                    bytesPeer[n] > 0 ? bytesOurs[n] / bytesPeer[n] : 0);
    }
    return 0;
}
