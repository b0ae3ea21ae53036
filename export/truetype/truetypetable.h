#pragma once
// One table of a TrueType font: its directory entry, what it reads, how it is written
// into a subset. The typed classes read the fields the subset builder needs.
#include "export/truetype/ttfhelpers.h"

#include <QString>

namespace ttf {

// Offset table at the start of a font (12 bytes).
struct TableDirectory {
    uint32_t sfntversion = 0;
    uint16_t numTables = 0, searchRange = 0, entrySelector = 0, rangeShift = 0;
};

// Table record (16 bytes). tag as Tag() builds it; the rest in host order.
struct TableEntry {
    uint32_t tag = 0;
    uint32_t checkSum = 0, offset = 0, length = 0;
};

class TrueTypeTable {
public:
    explicit TrueTypeTable(const TableEntry &entry) : entry(entry) {}
    // A record read at pos; the table it describes must lie inside the buffer.
    TrueTypeTable(const FontBuffer &font, uint64_t pos);
    virtual ~TrueTypeTable() = default;
    TrueTypeTable(const TrueTypeTable &) = delete;
    TrueTypeTable &operator=(const TrueTypeTable &) = delete;

    // Reads the table's fields from the font.
    virtual void Load(FontBuffer &font);
    // Writes the table at offset of out; the position after it (4-aligned). The base moves
    // the raw bytes. saved describes the copy.
    virtual uint32_t Save(const FontBuffer &font, QByteArray &out, uint32_t offset);

    // The table's bytes (length rounded up to 4, the padding zero) at newOffset of dest.
    // When dest is the font's own buffer and the table stays where it is, nothing moves.
    uint32_t StoreTable(const FontBuffer &source, QByteArray &dest, uint32_t newOffset);
    // The 16-byte record of the written table, in file order; the pointer after it.
    uint8_t *StoreDescriptor(uint8_t *descriptor) const;

    QString get_TAGLINE() const;
    uint32_t tag() const { return entry.tag; }
    // The table's bytes in the font.
    const uint8_t *bytes(const FontBuffer &font) const { return font.at(entry.offset, entry.length); }

    TableEntry entry;   // as in the source directory
    TableEntry saved;   // as written by the last Save

protected:
    // Writes len bytes at offset of out as this table's content.
    uint32_t SaveBytes(QByteArray &out, uint32_t offset, const uint8_t *data, uint32_t len);
};

} // namespace ttf
