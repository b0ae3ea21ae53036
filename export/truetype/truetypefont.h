#pragma once
// One face inside a font buffer: prepared once, filled with the glyphs a document uses,
// packed into a subset that keeps those glyphs (and their components) under their own
// indices, with the widths of the kept glyphs in thousandths of an em.
#include "export/truetype/ttfhelpers.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace ttf {

class TrueTypeTable;
class CmapTableClass;
class FontHeaderClass;
class GlyphTableClass;
class GlyphSubstitutionClass;
class HorizontalHeaderClass;
class HorizontalMetrixClass;
class IndexToLocationClass;
class KerningTableClass;
class NameTableClass;
class PostScriptClass;
class MaximumProfileClass;
class OS2WindowsMetricsClass;
class PreProgramClass;
struct TableDirectory;

enum ChecksumFaultAction {
    ChecksumFaultAction_IgnoreChecksum = 0,
    ChecksumFaultAction_ThrowException = 1,
    ChecksumFaultAction_Warn = 2,
};

class TrueTypeFont {
public:
    // buffer: what table offsets count from (the file, or the whole collection);
    // selector: where this face's offset table is in it.
    TrueTypeFont(FontBuffer buffer, uint32_t selector, ChecksumFaultAction action);
    ~TrueTypeFont();
    TrueTypeFont(const TrueTypeFont &) = delete;
    TrueTypeFont &operator=(const TrueTypeFont &) = delete;

    // Reads the directory without the tables whose tags are in skip_list, loads the tables
    // and verifies their checksums.
    void PrepareFont(const std::vector<uint32_t> &skip_list);
    bool prepared() const { return m_prepared; }
    // The version field of the face's offset table (read by PrepareFont).
    uint32_t get_SfntVersion() const;

    void AddCharacterToKeepList(uint16_t value);
    // Replaces the keep list; a value beyond 16 bits raises "Format error".
    void set_UsedGlyphs(const std::vector<int64_t> &list);

    // The subset. With glyphIds the keep list holds glyph indices, else characters.
    QByteArray PackFont(bool glyphIds);

    // Width of a kept glyph by the last pack, in thousandths of an em (0: not kept).
    int get_GlyphWidth(uint32_t glyph) const;
    // Entry i of the kept glyphs, in the order they were added.
    uint16_t get_Glyph(size_t i) const { return Indices[i]; }
    const std::vector<uint16_t> &get_Indices() const { return Indices; }

    QString GetFamilyName() const;
    QString GetFullName() const;
    QString GetUniqueID() const;

    // Tables of the face, null when it has none (or before PrepareFont).
    const std::vector<std::unique_ptr<TrueTypeTable>> &get_ListOfTables() const { return ListOfTables; }
    TrueTypeTable *get_Table(uint32_t tag) const;
    CmapTableClass *cmap_table = nullptr;
    FontHeaderClass *font_header = nullptr;
    GlyphTableClass *glyph_table = nullptr;
    GlyphSubstitutionClass *gsub_table = nullptr;
    HorizontalHeaderClass *horizontal_header = nullptr;
    HorizontalMetrixClass *horizontal_metrix_table = nullptr;
    IndexToLocationClass *index_to_location = nullptr;
    KerningTableClass *kerning_table = nullptr;
    NameTableClass *name_table = nullptr;
    PostScriptClass *postscript = nullptr;
    MaximumProfileClass *profile = nullptr;
    OS2WindowsMetricsClass *windows_metrix = nullptr;
    PreProgramClass *preprogram_table = nullptr;

    // Set by the collection when this face stands in for another font.
    QString FSubstitutionName;

private:
    void LoadDescriptors(const std::vector<uint32_t> &skip_list);
    void LoadCoreTables();
    void CheckTablesChecksum();
    uint32_t GlyphCount() const;
    int Width(uint32_t glyph) const;
    void BuildGlyphIndexList(const std::vector<uint16_t> &list, bool glyphIds);
    void AddGlyph(uint32_t glyph, int depth);
    void ReorderGlyphTable(bool glyphIds);

    FontBuffer m_buffer;
    uint32_t m_selector;
    ChecksumFaultAction checksum_action;
    std::unique_ptr<TableDirectory> dir;
    bool m_prepared = false;
    std::vector<std::unique_ptr<TrueTypeTable>> ListOfTables;
    std::vector<uint16_t> ListOfUsedGlyphs;
    std::vector<uint16_t> Indices;     // kept glyphs in the order they were added
    std::vector<int> m_widthByGlyph;   // glyph -> width, -1 when not kept
};

} // namespace ttf
