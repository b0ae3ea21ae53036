#include "export/truetype/truetypefont.h"

#include "export/truetype/cmaptable.h"
#include "export/truetype/fontheader.h"
#include "export/truetype/glyphsubstitution.h"
#include "export/truetype/glyphtable.h"
#include "export/truetype/horizontalheader.h"
#include "export/truetype/horizontalmetrix.h"
#include "export/truetype/indextolocation.h"
#include "export/truetype/kerningtable.h"
#include "export/truetype/maximumprofile.h"
#include "export/truetype/nametable.h"
#include "export/truetype/os2windowsmetrics.h"
#include "export/truetype/postscript.h"
#include "export/truetype/preprogram.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/services.h"

#include <algorithm>
#include <unordered_set>

namespace ttf {

namespace {

// Composite glyphs nest; deeper than this is a loop or a damaged font.
constexpr int kMaxComponentDepth = 32;

// The checksum constant of the whole font.
constexpr uint32_t kFontChecksum = 0xB1B0AFBA;

std::unique_ptr<TrueTypeTable> MakeTable(const TableEntry &e)
{
    switch (e.tag) {
    case Tag("cmap"): return std::make_unique<CmapTableClass>(e);
    case Tag("head"): return std::make_unique<FontHeaderClass>(e);
    case Tag("glyf"): return std::make_unique<GlyphTableClass>(e);
    case Tag("GSUB"): return std::make_unique<GlyphSubstitutionClass>(e);
    case Tag("hhea"): return std::make_unique<HorizontalHeaderClass>(e);
    case Tag("hmtx"): return std::make_unique<HorizontalMetrixClass>(e);
    case Tag("loca"): return std::make_unique<IndexToLocationClass>(e);
    case Tag("kern"): return std::make_unique<KerningTableClass>(e);
    case Tag("name"): return std::make_unique<NameTableClass>(e);
    case Tag("post"): return std::make_unique<PostScriptClass>(e);
    case Tag("maxp"): return std::make_unique<MaximumProfileClass>(e);
    case Tag("OS/2"): return std::make_unique<OS2WindowsMetricsClass>(e);
    case Tag("prep"): return std::make_unique<PreProgramClass>(e);
    default: return std::make_unique<TrueTypeTable>(e);
    }
}

template<class T>
void Keep(T *&slot, TrueTypeTable *t)
{
    slot = static_cast<T *>(t);
}

} // namespace

TrueTypeFont::TrueTypeFont(FontBuffer buffer, uint32_t selector, ChecksumFaultAction action)
    : m_buffer(buffer), m_selector(selector), checksum_action(action), dir(std::make_unique<TableDirectory>())
{
}

TrueTypeFont::~TrueTypeFont() = default;

void TrueTypeFont::PrepareFont(const std::vector<uint32_t> &skip_list)
{
    if (m_prepared)
        return;
    LoadDescriptors(skip_list);
    LoadCoreTables();
    CheckTablesChecksum();
    m_prepared = true;
}

void TrueTypeFont::LoadDescriptors(const std::vector<uint32_t> &skip_list)
{
    const uint8_t *p = m_buffer.at(m_selector, 12);
    dir->sfntversion = be32(p);
    dir->numTables = be16(p + 4);
    dir->searchRange = be16(p + 6);
    dir->entrySelector = be16(p + 8);
    dir->rangeShift = be16(p + 10);
    ListOfTables.clear();
    std::unordered_set<uint32_t> seen;
    for (uint32_t i = 0; i < dir->numTables; ++i) {
        const TrueTypeTable record(m_buffer, uint64_t(m_selector) + 12 + 16 * uint64_t(i));
        if (std::find(skip_list.begin(), skip_list.end(), record.tag()) != skip_list.end())
            continue;
        if (!seen.insert(record.tag()).second)
            RaiseFormatError();   // a tag listed twice
        ListOfTables.push_back(MakeTable(record.entry));
    }
    dir->numTables = uint16_t(ListOfTables.size());
}

uint32_t TrueTypeFont::get_SfntVersion() const { return dir->sfntversion; }

TrueTypeTable *TrueTypeFont::get_Table(uint32_t tag) const
{
    for (const auto &t : ListOfTables)
        if (t->tag() == tag)
            return t.get();
    return nullptr;
}

void TrueTypeFont::LoadCoreTables()
{
    for (const auto &t : ListOfTables) {
        TrueTypeTable *p = t.get();
        switch (p->tag()) {
        case Tag("cmap"): Keep(cmap_table, p); break;
        case Tag("head"): Keep(font_header, p); break;
        case Tag("glyf"): Keep(glyph_table, p); break;
        case Tag("GSUB"): Keep(gsub_table, p); break;
        case Tag("hhea"): Keep(horizontal_header, p); break;
        case Tag("hmtx"): Keep(horizontal_metrix_table, p); break;
        case Tag("loca"): Keep(index_to_location, p); break;
        case Tag("kern"): Keep(kerning_table, p); break;
        case Tag("name"): Keep(name_table, p); break;
        case Tag("post"): Keep(postscript, p); break;
        case Tag("maxp"): Keep(profile, p); break;
        case Tag("OS/2"): Keep(windows_metrix, p); break;
        case Tag("prep"): Keep(preprogram_table, p); break;
        default: break;
        }
    }
    // Tables that others depend on load first, whatever the directory's order.
    for (const auto &t : ListOfTables)
        if (t.get() != index_to_location && t.get() != horizontal_metrix_table &&
            t.get() != cmap_table)
            t->Load(m_buffer);
    if (index_to_location) {
        if (!font_header)
            RaiseFormatError();
        index_to_location->LoadIndexToLocation(m_buffer, *font_header);
    }
    if (horizontal_metrix_table) {
        horizontal_metrix_table->NumberOfMetrics = horizontal_header ? horizontal_header->numberOfHMetrics : 0;
        horizontal_metrix_table->Load(m_buffer);
    }
    if (cmap_table)
        cmap_table->LoadCmapTable(m_buffer);
}

void TrueTypeFont::CheckTablesChecksum()
{
    if (checksum_action == ChecksumFaultAction_IgnoreChecksum)
        return;
    for (const auto &t : ListOfTables) {
        const uint32_t sum = CalcChecksum(t->bytes(m_buffer), t->entry.length);
        if (sum == t->entry.checkSum)
            continue;
        const QString text = QStringLiteral("Table ID \"%1\" checksum error.%2 %3")
                                 .arg(t->get_TAGLINE())
                                 .arg(sum)
                                 .arg(t->entry.checkSum);
        if (checksum_action == ChecksumFaultAction_ThrowException)
            throw Exception(text);
        // One warning per font: the first damaged table names the fault.
        ui::MessageRequest box;
        box.caption = QStringLiteral("Font table checksum error");
        box.text = text;
        box.buttons = ui::mbYes | ui::mbNo;
        ui::messageBoxes().Show(box);
        return;
    }
}

void TrueTypeFont::AddCharacterToKeepList(uint16_t value)
{
    if (std::find(ListOfUsedGlyphs.begin(), ListOfUsedGlyphs.end(), value) == ListOfUsedGlyphs.end())
        ListOfUsedGlyphs.push_back(value);
}

void TrueTypeFont::set_UsedGlyphs(const std::vector<int64_t> &list)
{
    for (int64_t v : list)
        if (v < 0 || v > 0xFFFF)
            throw Exception(QStringLiteral("Format error"));
    ListOfUsedGlyphs.clear();
    for (int64_t v : list)
        AddCharacterToKeepList(uint16_t(v));
}

uint32_t TrueTypeFont::GlyphCount() const
{
    uint32_t n = index_to_location ? index_to_location->glyphCount() : 0;
    if (profile)
        n = std::min<uint32_t>(n, profile->numGlyphs);
    return n;
}

// A glyph's own advance: entries past numberOfHMetrics repeat the last advance.
int TrueTypeFont::Width(uint32_t glyph) const
{
    const HorizontalMetrixClass *h = horizontal_metrix_table;
    int advance;
    if (h && h->NumberOfMetrics)
        advance = h->GetItem(std::min(glyph, h->NumberOfMetrics - 1));
    else
        advance = windows_metrix ? windows_metrix->xAvgCharWidth : 0;
    return advance * 1000 / font_header->unitsPerEm;
}

void TrueTypeFont::AddGlyph(uint32_t glyph, int depth)
{
    if (m_widthByGlyph[glyph] >= 0)
        return;
    if (depth > kMaxComponentDepth)
        RaiseFormatError();
    uint32_t location;
    const uint32_t size = index_to_location->GetGlyph(glyph, *font_header, location);
    for (uint16_t c : glyph_table->CheckGlyph(location, size)) {
        if (c >= GlyphCount())
            RaiseFormatError();
        AddGlyph(c, depth + 1);
    }
    const int w = Width(glyph);
    m_widthByGlyph[glyph] = w;
    Indices.push_back(uint16_t(glyph));
}

void TrueTypeFont::BuildGlyphIndexList(const std::vector<uint16_t> &list, bool glyphIds)
{
    Indices.clear();
    m_widthByGlyph.assign(GlyphCount(), -1);
    for (uint16_t v : list) {
        const uint32_t g = glyphIds ? v : (cmap_table ? cmap_table->GetGlyphIndex(v) : 0);
        if (g < GlyphCount())
            AddGlyph(g, 0);
    }
}

void TrueTypeFont::ReorderGlyphTable(bool glyphIds)
{
    if (!glyph_table)
        throw Exception(QStringLiteral("Glyph table not found"));
    if (!index_to_location || !font_header)
        RaiseFormatError();
    std::vector<uint16_t> keep = ListOfUsedGlyphs;
    std::sort(keep.begin(), keep.end());
    BuildGlyphIndexList(keep, glyphIds);
    std::vector<uint16_t> kept = Indices;
    std::sort(kept.begin(), kept.end());

    const bool isShort = font_header->get_indexToLocFormat() == IndexToLoc_ShortType;
    if (!isShort && font_header->get_indexToLocFormat() != IndexToLoc_LongType)
        throw Exception(QStringLiteral("Unknown IndexToLoc value"));
    const size_t entries = index_to_location->entryCount();
    std::vector<uint32_t> loca(entries, 0);
    QByteArray &glyphs = glyph_table->packed;
    glyphs.clear();
    uint32_t total = 0;
    for (uint16_t g : kept) {
        uint32_t location;
        total += index_to_location->GetGlyph(g, *font_header, location);
    }
    glyphs.reserve(total);
    uint32_t len = 0, next = 0;
    for (uint16_t g : kept) {
        uint32_t location;
        const uint32_t size = index_to_location->GetGlyph(g, *font_header, location);
        for (; next <= g; ++next)
            loca[next] = len;
        glyphs.append(reinterpret_cast<const char *>(glyph_table->GlyphData(location, size)), size);
        len += size;
    }
    for (; next < entries; ++next)
        loca[next] = len;

    QByteArray &out = index_to_location->packed;
    out = QByteArray(qsizetype(index_to_location->entry.length), '\0');
    auto *p = reinterpret_cast<uint8_t *>(out.data());
    for (size_t i = 0; i < entries; ++i) {
        if (isShort)
            put16(p + 2 * i, uint16_t(loca[i] / 2));
        else
            put32(p + 4 * i, loca[i]);
    }
    glyph_table->hasPacked = index_to_location->hasPacked = true;
}

QByteArray TrueTypeFont::PackFont(bool glyphIds)
{
    if (!m_prepared)
        RaiseFormatError();
    std::vector<TrueTypeTable *> order;
    for (const auto &t : ListOfTables)
        order.push_back(t.get());
    std::stable_sort(order.begin(), order.end(),
                     [](const TrueTypeTable *a, const TrueTypeTable *b) { return a->entry.offset < b->entry.offset; });
    ReorderGlyphTable(glyphIds);

    const uint32_t numTables = uint32_t(order.size());
    QByteArray out;
    uint32_t pos = 12 + 16 * numTables;
    out.resize(pos, '\0');
    for (TrueTypeTable *t : order) {
        const uint32_t start = pos;
        pos = t->Save(m_buffer, out, pos);
        if (pos % 4)
            throw Exception(QStringLiteral("Align error"));
        // Every table gets the checksum of what was written.
        t->saved.checkSum =
            CalcChecksum(reinterpret_cast<const uint8_t *>(out.constData()) + start, t->saved.length);
    }
    glyph_table->hasPacked = index_to_location->hasPacked = false;

    std::vector<TrueTypeTable *> byTag = order;
    std::sort(byTag.begin(), byTag.end(), [](const TrueTypeTable *a, const TrueTypeTable *b) { return a->tag() < b->tag(); });
    auto *head = reinterpret_cast<uint8_t *>(out.data());
    // The subset holds TrueType outlines whatever the face's version field said.
    put32(head, 0x00010000);
    put16(head + 4, uint16_t(numTables));
    uint16_t entrySelector = 0;
    while (numTables >> (entrySelector + 1))
        ++entrySelector;
    const uint32_t searchRange = numTables ? 16u << entrySelector : 0;
    put16(head + 6, uint16_t(searchRange));
    put16(head + 8, entrySelector);
    put16(head + 10, uint16_t(numTables * 16 - searchRange));
    uint8_t *rec = head + 12;
    for (const TrueTypeTable *t : byTag)
        rec = t->StoreDescriptor(rec);

    const uint32_t sum = CalcChecksum(reinterpret_cast<const uint8_t *>(out.constData()), size_t(pos));
    font_header->SaveFontHeader(out, kFontChecksum - sum);
    return out;
}

int TrueTypeFont::get_GlyphWidth(uint32_t glyph) const
{
    return glyph < m_widthByGlyph.size() && m_widthByGlyph[glyph] > 0 ? m_widthByGlyph[glyph] : 0;
}

QString TrueTypeFont::GetFamilyName() const { return name_table ? name_table->get_Item(NameID_FamilyName) : QString(); }
QString TrueTypeFont::GetFullName() const { return name_table ? name_table->get_Item(NameID_FullName) : QString(); }
QString TrueTypeFont::GetUniqueID() const { return name_table ? name_table->get_Item(NameID_UniqueID) : QString(); }

} // namespace ttf
