// Subsets of Liberation Sans and DejaVu Sans: ours beside the shaping library's subsetter
// (glyph ids retained) on the same glyphs. Counters: the subset's bytes, raw and deflated.
// Cases: the glyphs of an Italian text (81 in Liberation Sans) and 6, 60 and 600 glyphs
// of Latin, Greek and Cyrillic text, to see how cost grows with the glyphs kept.
#include "export/truetype/truetypecollection.h"
#include "platform/gfx/fontdesc.h"
#include "platform/ui/fakes.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <hb-subset.h>
#include <hb.h>
#include <zlib.h>

#include <set>

namespace {

const char *const kFonts[] = {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
                              "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};

// 81 glyphs in Liberation Sans.
const QString kItalian = QStringLiteral(
    "Perché l'Unità d'Italia è così importante? Già nel 1861 più città, caffè e virtù: "
    "Qualità, libertà, fraternità. ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
    "0123456789àèéìòùÀÈÉÌÒÙ«");

QByteArray fontBytes(int font)
{
    QFile f(QString::fromLatin1(kFonts[font]));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Distinct glyphs of the text's characters, at most limit of them, in text order.
std::vector<uint32_t> glyphsOf(const QByteArray &bytes, const std::u32string &text, size_t limit)
{
    hb_blob_t *blob = hb_blob_create(bytes.constData(), unsigned(bytes.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t *face = hb_face_create(blob, 0);
    hb_font_t *font = hb_font_create(face);
    std::vector<uint32_t> out;
    std::set<uint32_t> seen;
    for (char32_t c : text) {
        hb_codepoint_t g = 0;
        if (hb_font_get_nominal_glyph(font, c, &g) && seen.insert(g).second)
            out.push_back(g);
        if (out.size() == limit)
            break;
    }
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return out;
}

std::u32string mixedText()
{
    std::u32string s;
    for (char32_t c = 0x20; c < 0x180; ++c)
        s += c;
    for (char32_t c = 0x391; c < 0x3CF; ++c)
        s += c;
    for (char32_t c = 0x400; c < 0x530; ++c)
        s += c;
    return s;
}

// Glyph set of a case: 0 = the Italian text, else that many glyphs of the mixed text.
std::vector<uint32_t> glyphSet(const QByteArray &bytes, int count)
{
    if (count == 0) {
        const QList<uint> ucs = kItalian.toUcs4();
        return glyphsOf(bytes, std::u32string(ucs.begin(), ucs.end()), SIZE_MAX);
    }
    return glyphsOf(bytes, mixedText(), size_t(count));
}

void report(benchmark::State &state, const QByteArray &subset, size_t glyphs)
{
    uLongf packed = compressBound(uLong(subset.size()));
    QByteArray z(qsizetype(packed), '\0');
    compress2(reinterpret_cast<Bytef *>(z.data()), &packed, reinterpret_cast<const Bytef *>(subset.constData()),
              uLong(subset.size()), Z_DEFAULT_COMPRESSION);
    state.counters["glyphs"] = double(glyphs);
    state.counters["bytes"] = double(subset.size());
    state.counters["deflated"] = double(packed);
}

void BM_Ours(benchmark::State &state)
{
    ui::FakeServices fakes;
    const QByteArray bytes = fontBytes(int(state.range(0)));
    const std::vector<uint32_t> glyphs = glyphSet(bytes, int(state.range(1)));
    QByteArray subset;
    for (auto _ : state) {
        ttf::TrueTypeCollection tc;
        tc.Initialize(bytes);
        subset = tc.PackFont(tc.LoadFont(gfx::FontDesc(), 0), glyphs);
        benchmark::DoNotOptimize(subset.constData());
    }
    report(state, subset, glyphs.size());
}

void BM_Peer(benchmark::State &state)
{
    const QByteArray bytes = fontBytes(int(state.range(0)));
    const std::vector<uint32_t> glyphs = glyphSet(bytes, int(state.range(1)));
    QByteArray subset;
    for (auto _ : state) {
        hb_blob_t *blob =
            hb_blob_create(bytes.constData(), unsigned(bytes.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr);
        hb_face_t *face = hb_face_create(blob, 0);
        hb_subset_input_t *input = hb_subset_input_create_or_fail();
        hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS);
        hb_set_t *set = hb_subset_input_glyph_set(input);
        for (uint32_t g : glyphs)
            hb_set_add(set, g);
        hb_face_t *out = hb_subset_or_fail(face, input);
        hb_blob_t *result = out ? hb_face_reference_blob(out) : hb_blob_get_empty();
        unsigned len = 0;
        const char *data = hb_blob_get_data(result, &len);
        subset = QByteArray(data, qsizetype(len));
        hb_blob_destroy(result);
        hb_face_destroy(out);
        hb_subset_input_destroy(input);
        hb_face_destroy(face);
        hb_blob_destroy(blob);
    }
    report(state, subset, glyphs.size());
}

void Cases(benchmark::internal::Benchmark *b)
{
    b->ArgNames({"font", "glyphs"});
    for (int font : {0, 1})
        for (int count : {0, 6, 60, 600})
            b->Args({font, count});
    b->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_Ours)->Apply(Cases);
BENCHMARK(BM_Peer)->Apply(Cases);
BENCHMARK_MAIN();
