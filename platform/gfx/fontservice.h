#pragma once
// Fonts resolved through fontconfig to one file and face, measured from that file and drawn
// as glyph runs of the same file, so screen, paper and exported files agree.
#include "platform/gfx/textmeasure.h"
#include <QByteArray>
#include <QRawFont>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace gfx {

struct FontFace;

// Metrics of a face in font units (as read from its tables).
struct OutlineMetrics {
    int unitsPerEm = 2048;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;   // font bounding box
    double italicAngle = 0;                        // degrees, counter-clockwise
    int ascender = 0, descender = 0, lineGap = 0;  // typographic
    int winAscent = 0, winDescent = 0;             // Windows metrics (descent positive)
    int capHeight = 0, xHeight = 0;
    int weight = 400;
    int avgCharWidth = 0, maxCharWidth = 0;
    int defaultChar = 0;                           // code of the default character
    int underlinePosition = 0, underlineThickness = 0;
    int strikeOutPosition = 0, strikeOutSize = 0;
    bool fixedPitch = false;
    // OS/2 code-page ranges (ulCodePageRange1, 2; version 1 and later), 0 when absent.
    uint32_t codePageRange1 = 0, codePageRange2 = 0;
    QString familyName, styleName, fullName, postScriptName;

    // Windows character set of the first code-page range present; 0 (ANSI) without any.
    int windowsCharset() const;
    // A value in font units at em pixels (or thousandths of an em with em = 1000).
    int scaled(int units, double em) const;
};

// A face at one em size: whole-pixel advances, Windows-style cell metrics, glyph runs.
class ScaledFont : public MeasureFont {
public:
    ScaledFont(std::shared_ptr<const FontFace> face, double em, const FontDesc &desc);
    const TextMetrics &metrics() const override { return m_metrics; }
    int advances(QStringView text, int *out) const override;
    // Text holding right-to-left characters is measured shaped, as it is drawn.
    int displayAdvances(QStringView text, int *out) const override;

    double em() const { return m_em; }
    int unitsPerEm() const;
    // An object made once per face from the face's bytes and kept with it (the shaper of
    // right-to-left text), so that this header needs no shaping library.
    std::shared_ptr<void> shaper(std::shared_ptr<void> (*make)(const QByteArray &)) const;
    // Glyph of a code point (0 = missing).
    uint32_t glyphIndex(char32_t cp) const;
    // Glyph per UTF-16 unit (the second unit of a pair gets 0xFFFFFFFF: no glyph).
    void glyphIndexes(QStringView text, uint32_t *out) const;
    // Unscaled advance of a glyph in font units.
    int glyphAdvanceUnits(uint32_t glyph) const;
    // The same file at this em, unhinted; invalid when the file cannot be loaded.
    QRawFont rawFont() const;
    const FontFace &face() const { return *m_face; }
    // The face found has no bold (italic) of its own: drawing simulates it.
    bool syntheticBold() const { return m_syntheticBold; }
    bool syntheticItalic() const { return m_syntheticItalic; }

private:
    std::shared_ptr<const FontFace> m_face;
    double m_em;
    double m_scale;
    TextMetrics m_metrics;
    bool m_syntheticBold = false;
    bool m_syntheticItalic = false;
};

struct FontFamily {
    QString name;
    bool trueType = true;   // scalable outline font
};

class FontService : public TextMeasurer {
public:
    static FontService &instance();

    std::shared_ptr<const MeasureFont> font(const FontDesc &desc) override;
    std::shared_ptr<const ScaledFont> scaledFont(const FontDesc &desc);

    // The file and face a font resolves to.
    QString fontFile(const FontDesc &desc);
    int faceIndex(const FontDesc &desc);
    bool isCollection(const FontDesc &desc);
    // The font's bytes: with wholeCollection the whole file (a collection file too),
    // otherwise the face alone as a single font. Empty when unreadable.
    QByteArray fontData(const FontDesc &desc, bool wholeCollection);
    OutlineMetrics outlineMetrics(const FontDesc &desc);
    // The families fontconfig offers for the font, best first, each once: where to look when
    // the face the font resolves to cannot be used.
    QStringList fallbackFamilies(const FontDesc &desc);
    // Installed families, sorted case-insensitively, each once.
    std::vector<FontFamily> families();

    // Em height in pixels of a font height (negative em, positive cell height).
    double emHeight(const FontDesc &desc);

    FontService(const FontService &) = delete;
    FontService &operator=(const FontService &) = delete;
    ~FontService() override;

private:
    FontService();
    std::shared_ptr<const FontFace> face(const FontDesc &desc);
    struct Impl;
    std::unique_ptr<Impl> d;
};

// One face of a collection file as a single font file; empty when the data is damaged.
QByteArray extractCollectionFace(const QByteArray &collection, int index);

} // namespace gfx
