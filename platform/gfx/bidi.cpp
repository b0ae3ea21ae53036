#include "platform/gfx/bidi.h"

#include "platform/gfx/fontservice.h"
#include "platform/rtl/numeric.h"

#include <QFont>
#include <QGlyphRun>
#include <QTextLayout>
#include <algorithm>
#include <hb.h>
#include <numeric>

namespace gfx {

namespace {

bool rightToLeft(QChar c)
{
    switch (c.direction()) {
    case QChar::DirR: case QChar::DirAL: case QChar::DirRLE: case QChar::DirRLO:
    case QChar::DirRLI:
        return true;
    default:
        return false;
    }
}

} // namespace

bool hasRightToLeft(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x0590 && rightToLeft(c))
            return true;
    return false;
}

void visualOrder(QStringView text, std::vector<int> &order) { visualOrder(text, true, order); }

void visualOrder(QStringView text, bool rightToLeftBase, std::vector<int> &order)
{
    const int n = int(text.size());
    order.resize(size_t(n));
    std::iota(order.begin(), order.end(), 0);
    if (n == 0 || (!rightToLeftBase && !hasRightToLeft(text)))
        return;
    // The bidirectional algorithm as the text engine runs it: where each character's glyph
    // lands on an unbounded line tells its place. The face does not matter for the order.
    const QString s = text.toString();
    QTextLayout layout(s, QFont());
    QTextOption option;
    option.setTextDirection(rightToLeftBase ? Qt::RightToLeft : Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setLineWidth(1e7);
    layout.endLayout();
    std::vector<double> x(size_t(n), 0);
    double last = 0;
    for (int i = 0; i < n; ++i) {
        const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
        if (!runs.isEmpty() && !runs.front().positions().isEmpty()) {
            last = runs.front().positions().front().x();
            if (runs.front().isRightToLeft())
                last = runs.front().positions().back().x();
        }
        x[size_t(i)] = last;   // no glyph of its own (a mark, a ligature part): its neighbour's
    }
    // Ties (one glyph for several characters) keep the direction of the characters.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (x[size_t(a)] != x[size_t(b)])
            return x[size_t(a)] < x[size_t(b)];
        return rightToLeft(text[a]) ? a > b : a < b;
    });
}

namespace {

// The face's shaper, made once per face and kept with it.
struct HbFont {
    QByteArray data;
    hb_blob_t *blob = nullptr;
    hb_face_t *face = nullptr;
    hb_font_t *font = nullptr;
    explicit HbFont(const QByteArray &d)
        : data(d)
    {
        blob = hb_blob_create(data.constData(), unsigned(data.size()), HB_MEMORY_MODE_READONLY,
                              nullptr, nullptr);
        face = hb_face_create(blob, 0);
        font = hb_font_create(face);
        const unsigned upem = hb_face_get_upem(face);
        hb_font_set_scale(font, int(upem), int(upem));
    }
    ~HbFont()
    {
        hb_font_destroy(font);
        hb_face_destroy(face);
        hb_blob_destroy(blob);
    }
};

void shapeRuns(const ScaledFont &font, QStringView text, bool rightToLeftBase, bool kerning,
               std::vector<ShapedGlyph> &out)
{
    out.clear();
    const int n = int(text.size());
    if (n == 0)
        return;
    thread_local std::vector<int> order;
    visualOrder(text, rightToLeftBase, order);
    const std::shared_ptr<void> shaper = font.shaper([](const QByteArray &data) {
        return std::static_pointer_cast<void>(std::make_shared<HbFont>(data));
    });
    const HbFont *hb = static_cast<const HbFont *>(shaper.get());
    const double scale = font.em() / double(font.unitsPerEm());
    auto px = [&](hb_position_t v) { return int(rtl::Round(v * scale)); };
    hb_buffer_t *buf = hb_buffer_create();
    // Runs of characters that follow each other in the text, one way or the other.
    for (int k = 0; k < n;) {
        int e = k + 1;
        int step = 0;
        if (e < n && std::abs(order[size_t(e)] - order[size_t(k)]) == 1) {
            step = order[size_t(e)] - order[size_t(k)];
            while (e < n && order[size_t(e)] - order[size_t(e - 1)] == step)
                ++e;
        }
        const bool rtl = step < 0 || (step == 0 && rightToLeft(text[order[size_t(k)]]));
        const int first = std::min(order[size_t(k)], order[size_t(e - 1)]);
        const int count = e - k;
        hb_buffer_clear_contents(buf);
        hb_buffer_add_utf16(buf, reinterpret_cast<const uint16_t *>(text.utf16()), n,
                            unsigned(first), count);
        hb_buffer_set_direction(buf, rtl ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_guess_segment_properties(buf);
        if (hb && hb->font) {
            static const hb_feature_t noKerning{HB_TAG('k', 'e', 'r', 'n'), 0, 0, ~0u};
            hb_shape(hb->font, buf, kerning ? nullptr : &noKerning, kerning ? 0 : 1);
        }
        unsigned len = 0;
        const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buf, &len);
        const hb_glyph_position_t *pos = hb_buffer_get_glyph_positions(buf, nullptr);
        for (unsigned g = 0; g < len; ++g) {
            ShapedGlyph sg;
            sg.glyph = info[g].codepoint;
            sg.cluster = int(info[g].cluster);
            sg.advance = px(pos[g].x_advance);
            sg.xOffset = px(pos[g].x_offset);
            sg.yOffset = -px(pos[g].y_offset);
            out.push_back(sg);
        }
        k = e;
    }
    hb_buffer_destroy(buf);
}

} // namespace

void shapeLine(const ScaledFont &font, QStringView text, std::vector<ShapedGlyph> &out)
{
    shapeRuns(font, text, true, true, out);
}

void shapeGlyphs(const ScaledFont &font, QStringView text, bool rightToLeftBase,
                 std::vector<ShapedGlyph> &out)
{
    shapeRuns(font, text, rightToLeftBase, false, out);
}

int shapedAdvances(const ScaledFont &font, QStringView text, int *out)
{
    thread_local std::vector<ShapedGlyph> glyphs;
    shapeLine(font, text, glyphs);
    std::fill(out, out + text.size(), 0);
    int sum = 0;
    for (const ShapedGlyph &g : glyphs) {
        if (g.cluster >= 0 && g.cluster < text.size())
            out[g.cluster] += g.advance;
        sum += g.advance;
    }
    return sum;
}

} // namespace gfx
