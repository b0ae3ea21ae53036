// With the real fonts: breaks checked against the font file read independently, the same
// layout at every zoom and on a printer, right-to-left lines in visual order and shaped.
#include "report/text/kvldrawtext.h"

#include "platform/gfx/bidi.h"
#include "platform/gfx/fontservice.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/gfx/tfont.h"

#include <QRawFont>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QString kSentence = QStringLiteral(
    "La riunione annuale del consiglio direttivo si terrà nella sala grande della sede "
    "centrale, con la presentazione dei risultati e un rinfresco per tutti i partecipanti.");
constexpr int kWidth = 227;   // 60 mm

struct Arial10 {
    TkvlDrawText text;
    TFont font;
    Arial10()
    {
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(10);
        text.SetFont(font);
        text.SetOptions(true, false, false, false, false, true, 0);
        text.SetGaps(0, 0, 0);
    }
};

// Width at 600 dpi from the file itself: design advances scaled to the 83-pixel em and
// rounded per character.
struct FileWidths {
    QRawFont raw;
    explicit FileWidths(const QString &file)
    {
        raw.loadFromFile(file, 2048, QFont::PreferNoHinting);
    }
    int operator()(const QString &s) const
    {
        const QList<quint32> g = raw.glyphIndexesForString(s);
        const QList<QPointF> adv = raw.advancesForGlyphIndexes(g, QRawFont::UseDesignMetrics);
        int sum = 0;   // a.x() is in pixels of a 2048-pixel em
        for (const QPointF &a : adv)
            sum += int(std::nearbyint(a.x() * 83 / 2048));
        return sum;
    }
};

TEST(TextFonts, SentenceBreaksWhereTheFileSaysItFits)
{
    Arial10 a;
    const QRect r(0, 0, kWidth, 1000);
    a.text.SetDimensions(1, 1, 1, r, r);
    a.text.SetText(QStringList{kSentence}, false);
    gfx::FontDesc d;
    const FileWidths width(gfx::FontService::instance().fontFile(d));
    ASSERT_TRUE(width.raw.isValid());
    const int limit = int(std::nearbyint(kWidth * 6.25));
    QStringList lines;
    for (int i = 0; i < a.text.LineCount(); ++i)
        lines << a.text.Line(i);
    EXPECT_EQ(lines.join(QLatin1Char(' ')), kSentence);
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_LE(width(lines[i]), limit) << lines[i].toStdString();
        if (i + 1 < lines.size()) {
            const QString more = lines[i] + QLatin1Char(' ') + lines[i + 1].section(QLatin1Char(' '), 0, 0);
            EXPECT_GT(width(more), limit) << more.toStdString();
        }
    }
    EXPECT_EQ(lines, (QStringList{
                         "La riunione annuale del consiglio",
                         "direttivo si terrà nella sala grande della",
                         "sede centrale, con la presentazione",
                         "dei risultati e un rinfresco per tutti i",
                         "partecipanti.",
                     }));
}

struct Placed {
    QString text;
    std::vector<int> x;   // each character's left edge
};

std::vector<Placed> drawAt(double scale, bool printer)
{
    Arial10 a;
    a.text.SetOptions(true, true, false, false, false, true, 0);
    const QRect original(0, 0, kWidth, 400);
    const double k = printer ? 6.25 : scale;
    const QRect scaled(0, 0, int(std::nearbyint(kWidth * k)), int(std::nearbyint(400 * k)));
    a.text.SetDimensions(k, k, 1, original, scaled);
    a.text.SetText(QStringList{kSentence, QStringLiteral("Seconda riga con <b>grassetto</b> e <i>corsivo</i>.")},
                   false);
    gfx::RecordingCanvas canvas(printer ? 600 : 96, printer ? 600 : 96, printer);
    a.text.DrawText(&canvas, haLeft, vaTop);
    std::vector<Placed> out;
    int lastY = INT_MIN;
    for (const auto &r : canvas.records()) {
        if (r.kind != gfx::DrawRecord::Text)
            continue;
        if (r.b != lastY)
            out.push_back({});
        lastY = r.b;
        int x = r.a;
        for (qsizetype i = 0; i < r.text.size(); ++i) {
            out.back().text += r.text[i];
            out.back().x.push_back(x);
            x += r.dx[size_t(i)];
        }
    }
    return out;
}

TEST(TextFonts, SameBreaksAndProportionalPositionsAtEveryZoomAndOnPaper)
{
    const std::vector<Placed> paper = drawAt(1, true);   // 600 dpi: the layout's own units
    ASSERT_EQ(paper.size(), 7u);
    for (double scale : {1.0, 1.5, 2.0}) {
        const std::vector<Placed> screen = drawAt(scale, false);
        ASSERT_EQ(screen.size(), paper.size()) << scale;
        for (size_t l = 0; l < paper.size(); ++l) {
            ASSERT_EQ(screen[l].text, paper[l].text) << scale;
            for (size_t i = 0; i < paper[l].x.size(); ++i)
                EXPECT_NEAR(screen[l].x[i], paper[l].x[i] / 6.25 * scale, 1.0)
                    << "scale " << scale << " line " << l << " char " << i;
        }
    }
}

TEST(TextFonts, MixedHebrewAndLatinInVisualOrder)
{
    std::vector<int> order;
    gfx::visualOrder(u"abc אבג", order);
    EXPECT_EQ(order, (std::vector<int>{6, 5, 4, 3, 0, 1, 2}));
    gfx::visualOrder(u"שלום 123!", order);   // numbers keep their order, the mark goes left
    EXPECT_EQ(order, (std::vector<int>{8, 5, 6, 7, 4, 3, 2, 1, 0}));

    gfx::FontDesc d;
    d.height = -83;
    const auto font = gfx::FontService::instance().scaledFont(d);
    std::vector<gfx::ShapedGlyph> glyphs;
    const QString line = u"abc אבג"_qs;
    gfx::shapeLine(*font, line, glyphs);
    ASSERT_EQ(glyphs.size(), 7u);
    for (size_t k = 0; k < 7; ++k) {
        EXPECT_EQ(glyphs[k].cluster, (std::vector<int>{6, 5, 4, 3, 0, 1, 2})[k]);
        EXPECT_EQ(glyphs[k].glyph, font->glyphIndex(line[glyphs[k].cluster].unicode()));
    }
}

TEST(TextFonts, ArabicLettersJoined)
{
    gfx::FontDesc d;
    d.name = QStringLiteral("DejaVu Sans");
    d.height = -83;
    const auto font = gfx::FontService::instance().scaledFont(d);
    const QString word = u"كتب"_qs;   // three joining letters: initial, medial, final forms
    std::vector<gfx::ShapedGlyph> glyphs;
    gfx::shapeLine(*font, word, glyphs);
    ASSERT_EQ(glyphs.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(glyphs[k].cluster, int(2 - k));   // read right to left
        EXPECT_NE(glyphs[k].glyph, font->glyphIndex(word[glyphs[k].cluster].unicode()));
        EXPECT_NE(glyphs[k].glyph, 0u);
    }
    // Measured as drawn: the layout of a right-to-left memo sums the joined forms.
    std::vector<int> adv(3);
    int shaped = 0;
    for (const auto &g : glyphs)
        shaped += g.advance;
    EXPECT_EQ(font->displayAdvances(word, adv.data()), shaped);
}

} // namespace
