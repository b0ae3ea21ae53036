#pragma once
// The entry point of font subsetting: a font file or collection, its faces, the face of
// a report font, and the subset of that face.
#include "export/truetype/truetypefont.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace gfx {
struct FontDesc;
}

namespace ttf {

class TrueTypeCollection {
public:
    TrueTypeCollection();
    ~TrueTypeCollection();
    TrueTypeCollection(const TrueTypeCollection &) = delete;
    TrueTypeCollection &operator=(const TrueTypeCollection &) = delete;

    // Reads the faces of a font file or collection. The bytes are copied: faces read from
    // and pack into the collection's own buffer. A font with PostScript outlines ('OTTO')
    // gives no faces; anything unknown raises "TrueType font format error". OnChecksumFault
    // says what a damaged table does when a face is prepared.
    void Initialize(const QByteArray &data, ChecksumFaultAction OnChecksumFault = ChecksumFaultAction_Warn);
    // The buffer held PostScript outlines: no face can be subset, pick another font.
    bool get_PostScriptOutlines() const { return m_postScriptOutlines; }

    // The prepared face of a report font; null when there are none, or when the face has
    // PostScript outlines. faceIndex is the face
    // the font service resolved the font to (-1: find it by its full name).
    TrueTypeFont *LoadFont(const gfx::FontDesc &font, int faceIndex = -1);
    // The subset of ttf keeping the glyph indices of usedAlphabet.
    QByteArray PackFont(TrueTypeFont *ttf, const std::vector<uint32_t> &usedAlphabet);
    // The first face whose unique name is familyName; "Font not found in collection".
    TrueTypeFont *get_Item(const QString &familyName) const;
    const std::vector<std::unique_ptr<TrueTypeFont>> &get_FontCollection() const { return fonts_collection; }

    // The collection's copy of the font bytes.
    const QByteArray &buffer() const { return m_data; }

private:
    static QString Target(const gfx::FontDesc &font);
    QByteArray m_data;
    bool m_postScriptOutlines = false;
    std::vector<std::unique_ptr<TrueTypeFont>> fonts_collection;
};

} // namespace ttf
