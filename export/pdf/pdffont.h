#pragma once
// One font of a PDF document: text turned into glyph runs of the report font's own file
// (shaped as the preview shapes it), the glyphs used with their widths and text, and the
// embedded subset written at the end of the export.
#include "platform/gfx/fontdesc.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

class TFont;
class TStringList;
namespace gfx { class ScaledFont; }
namespace ttf { class TrueTypeCollection; class TrueTypeFont; }

// Fonts without bold or italic faces of their own: styles are simulated and every style
// shares one PDF font.
bool kvlPDFFontNeedsStyleSimulation(const QString &Name);

class TkvlPDFFont {
public:
    // Font: the report font. Errors receives one warning when its face cannot be embedded
    // and the default face stands in, or when the TrueType reader rejects the face and the
    // next face fontconfig offers for the family stands in.
    TkvlPDFFont(const TFont &Font, int Index, TStringList *Errors);
    ~TkvlPDFFont();
    TkvlPDFFont(const TkvlPDFFont &) = delete;
    TkvlPDFFont &operator=(const TkvlPDFFont &) = delete;

    // A line as glyphs, in visual order, with its advance width in thousandths of an em
    // (the sum of the widths written for its glyphs) and its number of blanks.
    struct Run {
        QByteArray codes;              // four hexadecimal digits per glyph
        std::vector<uint8_t> blank;    // per glyph: it shows a blank
        long long width = 0;
        int spaces = 0;
        int glyphCount() const { return int(blank.size()); }
    };
    // Runs are kept by text, so a line met again costs one lookup. The run stays valid until
    // the next call.
    const Run &RemapString(const QString &Text, bool RTL);

    // Same PDF font for a report font of this name and style.
    bool Matches(const QString &FontName, uint8_t Style) const;
    bool Simulated() const { return FSimulated; }
    // PDF name, escaped for a name object (without "/" and without the subset tag).
    QByteArray GetFontName() const;

    QByteArray Name;        // resource name "/F" + index
    int Reference = 0;      // object number of the top-level font object
    bool Saved = false;     // Reference reserved

    // Embedded data: the subset of the used glyphs (the face itself when it cannot be
    // subset), with its tag "ABCDEF" made from the glyph set.
    QByteArray PackTTFFont();
    QByteArray SubsetTag() const;

    const std::vector<uint32_t> &UsedAlphabet() const { return FUsed; }
    const std::vector<int> &Widths() const { return FWidths; }
    const std::vector<QString> &UsedText() const { return FUsedText; }

    struct Metrics {
        int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
        int italicAngle = 0, ascent = 0, descent = 0, leading = 0, capHeight = 0;
        int weight = 400, avgWidth = 0, maxWidth = 0;
    };
    // Thousandths of an em.
    Metrics FontMetrics() const;

private:
    int Record(uint32_t Glyph, int Advance, QStringView Text);
    // Reads Data as the face of Desc; false when the TrueType reader rejects it.
    bool ReadFace(const QByteArray &Data, const gfx::FontDesc &Desc);

    QString FReportName;    // the report font's name (as compared)
    uint8_t FStyle = 0;
    bool FSimulated = false;
    gfx::FontDesc FDesc;    // the face written: the report's, or the default face
    std::shared_ptr<const gfx::ScaledFont> FScaled;   // at an em of 1000 units
    QByteArray FFaceData;
    std::unique_ptr<ttf::TrueTypeCollection> FCollection;  // FFaceData as read for subsetting
    ttf::TrueTypeFont *FFace = nullptr;                       // its face; null when rejected

    std::vector<uint32_t> FUsed;
    std::vector<int> FWidths;
    std::vector<QString> FUsedText;
    QHash<uint32_t, int> FIndexOf;
    QHash<QString, Run> FRuns[2];
};
