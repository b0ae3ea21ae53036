#pragma once
// 'loca': where each glyph starts in 'glyf', short (offset / 2) or long form.
#include "export/truetype/truetypetable.h"

#include <algorithm>
#include <vector>

namespace ttf {

class FontHeaderClass;

class IndexToLocationClass : public TrueTypeTable {
public:
    using TrueTypeTable::TrueTypeTable;
    void LoadIndexToLocation(const FontBuffer &font, const FontHeaderClass &head);
    // Size in bytes of glyph index and its offset in 'glyf' (size 0: an empty glyph).
    uint32_t GetGlyph(uint32_t index, const FontHeaderClass &head, uint32_t &location) const;
    // Glyphs it locates (one entry fewer than it holds).
    uint32_t glyphCount() const;
    size_t entryCount() const { return std::max(ShortIndexToLocation.size(), LongIndexToLocation.size()); }
    uint32_t Save(const FontBuffer &font, QByteArray &out, uint32_t offset) override;

    std::vector<uint16_t> ShortIndexToLocation;
    std::vector<uint32_t> LongIndexToLocation;
    // The entries of the subset, in file order, once the glyph table is rebuilt.
    QByteArray packed;
    bool hasPacked = false;
};

} // namespace ttf
