// Laying out memos as the band engine does for every printed one (font, options, text and
// height under the lock), against QTextLayout wrapping the same texts at the same width with
// a QFont of the same file and pixel size. Run at 100, 1000 and 10 000 memos; the times of
// the two and their ratio are printed at the end, with the heap allocations of one memo.
#include "bench/support/allocationcount.h"
#include "bench/support/ratioreporter.h"
#include "report/text/kvldrawtext.h"

#include "platform/gfx/fontservice.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/numeric.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QTextLayout>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <new>
#include <random>

namespace {

constexpr int kWidthPx = 227;   // 60 mm at 96 dpi
constexpr int kFontSize = 10;   // points: 83 pixels at 600 dpi

// Event titles and descriptions: 40 to 400 characters of words, every 25th with tags.
const std::vector<QStringList> &memos()
{
    static const std::vector<QStringList> all = [] {
        static const char *words[] = {
            "riunione", "del", "consiglio", "evento", "annuale", "sede", "centrale", "ore",
            "presentazione", "dei", "risultati", "trimestrali", "ufficio", "Milano", "e",
            "Roma", "con", "pranzo", "di", "lavoro", "12", "dicembre", "2026", "18:30",
            "partecipanti:", "direzione,", "commerciale", "amministrazione.", "sala", "B",
        };
        std::mt19937 rng(2026);
        std::vector<QStringList> out;
        for (int m = 0; m < 10000; ++m) {
            const int length = 40 + int(rng() % 361);
            QString s;
            while (s.size() < length) {
                if (!s.isEmpty())
                    s += QLatin1Char(' ');
                s += QLatin1String(words[rng() % (sizeof words / sizeof *words)]);
            }
            s.truncate(length);
            if (m % 25 == 0)
                s = QStringLiteral("<b>Importante:</b> ") + s.left(20) + QStringLiteral("<i>") +
                    s.mid(20) + QStringLiteral("</i>");
            out.push_back(QStringList{s});
        }
        return out;
    }();
    return all;
}

double layOutMemos(TkvlDrawText &text, const TFont &font, int count)
{
    const QRect box(0, 0, kWidthPx, 10000);
    double total = 0;
    for (int i = 0; i < count; ++i) {
        TkvlGraphLock lock;
        text.SetFont(font);
        text.SetOptions(true, true, false, false, false, true, 0);
        text.SetGaps(0, 0, 0);
        text.SetDimensions(1, 1, 1, box, box);
        text.SetText(memos()[size_t(i)], false);
        total += text.CalcHeight();
    }
    return total;
}

TFont &arial10()
{
    static TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(kFontSize);
    return f;
}

void BM_DrawTextLayout(benchmark::State &state)
{
    TkvlDrawText text;
    const int count = int(state.range(0));
    layOutMemos(text, arial10(), count);   // fonts resolved, work arrays grown
    for (auto _ : state)
        benchmark::DoNotOptimize(layOutMemos(text, arial10(), count));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DrawTextLayout)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

QFont sameFileFont()
{
    gfx::FontDesc d;
    d.name = QStringLiteral("Arial");
    const int id = QFontDatabase::addApplicationFont(gfx::FontService::instance().fontFile(d));
    QFont f(QFontDatabase::applicationFontFamilies(id).value(0));
    f.setPixelSize(int(rtl::Round(kFontSize * 600.0 / 72)));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

void BM_QTextLayout(benchmark::State &state)
{
    static const QFont font = sameFileFont();
    const int count = int(state.range(0));
    const qreal width = rtl::Round(kWidthPx * 6.25);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    for (auto _ : state) {
        double total = 0;
        for (int i = 0; i < count; ++i) {
            QTextLayout layout(memos()[size_t(i)].front(), font);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
                line.setLineWidth(width);
            layout.endLayout();
            total += layout.boundingRect().height();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_QTextLayout)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::useOffscreenAndProjectFonts(LIRRA_SOURCE_ROOT);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char *n : {"100", "1000", "10000"}) {
        const auto ours = reporter.times.find(std::string("BM_DrawTextLayout/") + n);
        const auto qt = reporter.times.find(std::string("BM_QTextLayout/") + n);
        if (ours != reporter.times.end() && qt != reporter.times.end())
            std::printf("%6s memos: layout %.2f ms, QTextLayout %.2f ms, ratio %.3f\n", n,
                        ours->second, qt->second, ours->second / qt->second);
    }
    // Allocations of one memo of 400 characters against one of 40, after warming up.
    TkvlDrawText text;
    const QRect box(0, 0, kWidthPx, 10000);
    auto allocationsFor = [&](const QStringList &memo) {
        text.SetFont(arial10());
        text.SetOptions(true, true, false, false, false, true, 0);
        text.SetDimensions(1, 1, 1, box, box);
        text.SetText(memo, false);
        const long before = benchsupport::heapAllocations();
        text.SetFont(arial10());
        text.SetOptions(true, true, false, false, false, true, 0);
        text.SetText(memo, false);
        benchmark::DoNotOptimize(text.CalcHeight());
        return benchsupport::heapAllocations() - before;
    };
    const QStringList shortMemo{QString(40, QLatin1Char('a')).replace(4, 1, QLatin1Char(' '))};
    QString longText;
    while (longText.size() < 400)
        longText += QStringLiteral("parola ");
    std::printf("heap allocations per memo: %ld at 40 characters, %ld at 400\n",
                allocationsFor(shortMemo), allocationsFor(QStringList{longText}));
    return 0;
}
