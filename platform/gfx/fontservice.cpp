#include "platform/gfx/fontservice.h"
#include "platform/gfx/bidi.h"
#include "platform/rtl/numeric.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <unordered_map>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

namespace gfx {

namespace {
// Font files larger than this are refused rather than read into memory.
constexpr qint64 kMaxFontFile = 256LL * 1024 * 1024;

QString sfntName(FT_Face f, FT_UShort nameId)
{
    const FT_UInt n = FT_Get_Sfnt_Name_Count(f);
    QString fallback;
    for (FT_UInt i = 0; i < n; ++i) {
        FT_SfntName nm;
        if (FT_Get_Sfnt_Name(f, i, &nm) != 0 || nm.name_id != nameId)
            continue;
        if (nm.platform_id == TT_PLATFORM_MICROSOFT && nm.encoding_id <= 1) {
            QString s;
            for (FT_UInt k = 0; k + 1 < nm.string_len; k += 2)
                s.append(QChar(ushort((nm.string[k] << 8) | nm.string[k + 1])));
            if (nm.language_id == 0x409)
                return s;
            if (fallback.isEmpty())
                fallback = s;
        } else if (nm.platform_id == TT_PLATFORM_MACINTOSH && fallback.isEmpty()) {
            fallback = QString::fromLatin1(reinterpret_cast<const char *>(nm.string), int(nm.string_len));
        }
    }
    return fallback;
}

quint32 be32(const uchar *p) { return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3]; }
quint16 be16(const uchar *p) { return quint16((p[0] << 8) | p[1]); }
void put32(QByteArray &b, int at, quint32 v)
{
    b[at] = char(v >> 24); b[at + 1] = char(v >> 16); b[at + 2] = char(v >> 8); b[at + 3] = char(v);
}
} // namespace

// A resolved face: what measurement and drawing need, read once from the file.
struct FontFace {
    QString file;
    int index = 0;
    bool collection = false;
    bool italicStyle = false;
    OutlineMetrics om;
    int hheaAscender = 0, hheaDescender = 0, hheaLineGap = 0;
    std::vector<uint16_t> bmpGlyph;                      // code unit -> glyph
    std::unordered_map<char32_t, uint16_t> astralGlyph;  // beyond the basic plane
    std::vector<uint16_t> advance;                       // glyph -> advance, font units

    mutable QMutex rawMutex;
    mutable QByteArray data;                             // the face as a single font
    mutable std::map<double, QRawFont> raw;
    mutable bool dataRead = false;
    mutable std::shared_ptr<void> shaper;                // made on first use, under rawMutex

    QByteArray faceData() const
    {
        if (!dataRead) {
            dataRead = true;
            QFile f(file);
            if (f.open(QIODevice::ReadOnly) && f.size() <= kMaxFontFile) {
                const QByteArray all = f.readAll();
                data = collection ? extractCollectionFace(all, index) : all;
            }
        }
        return data;
    }
};

int OutlineMetrics::scaled(int units, double em) const
{
    return int(rtl::Round(double(units) * em / unitsPerEm));
}

// ---------------------------------------------------------------------------------------

ScaledFont::ScaledFont(std::shared_ptr<const FontFace> face, double em, const FontDesc &desc)
    : m_face(std::move(face)), m_em(em), m_scale(em / m_face->om.unitsPerEm)
{
    const OutlineMetrics &om = m_face->om;
    TextMetrics &m = m_metrics;
    m.emHeight = int(rtl::Round(em));
    m.ascent = om.scaled(om.winAscent, em);
    m.descent = om.scaled(om.winDescent, em);
    if (desc.height > 0)   // a cell height is kept exactly
        m.descent = desc.height - m.ascent;
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - m.emHeight);
    const int extra = m_face->hheaLineGap - ((om.winAscent + om.winDescent) -
                                             (m_face->hheaAscender - m_face->hheaDescender));
    m.externalLeading = std::max(0, om.scaled(extra, em));
    m.aveCharWidth = om.scaled(om.avgCharWidth, em);
    m.maxCharWidth = om.scaled(om.maxCharWidth, em);
    m.weight = desc.bold() ? std::max(700, om.weight) : om.weight;
    m.underlinePosition = std::max(1, om.scaled(-om.underlinePosition, em));
    m.underlineThickness = std::max(1, om.scaled(om.underlineThickness, em));
    m.strikeOutPosition = om.scaled(om.strikeOutPosition, em);
    m.strikeOutThickness = std::max(1, om.scaled(om.strikeOutSize, em));
    m_syntheticBold = desc.bold() && om.weight < 600;
    m_syntheticItalic = desc.italic() && om.italicAngle == 0 && !m_face->italicStyle;
}

uint32_t ScaledFont::glyphIndex(char32_t cp) const
{
    if (cp < 0x10000)
        return m_face->bmpGlyph.empty() ? 0 : m_face->bmpGlyph[cp];
    const auto it = m_face->astralGlyph.find(cp);
    return it == m_face->astralGlyph.end() ? 0 : it->second;
}

int ScaledFont::glyphAdvanceUnits(uint32_t glyph) const
{
    const auto &adv = m_face->advance;
    return glyph < adv.size() ? adv[glyph] : 0;
}

void ScaledFont::glyphIndexes(QStringView text, uint32_t *out) const
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out[i] = glyphIndex(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            out[++i] = 0xFFFFFFFFu;
        } else {
            out[i] = glyphIndex(u);
        }
    }
}

int ScaledFont::advances(QStringView text, int *out) const
{
    const qsizetype n = text.size();
    const uint16_t *bmp = m_face->bmpGlyph.data();
    const auto &adv = m_face->advance;
    int sum = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        uint32_t g;
        bool pair = false;
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            g = glyphIndex(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            pair = true;
        } else {
            g = bmp ? bmp[u] : 0;
        }
        const int a = g < adv.size() ? int(std::nearbyint(adv[g] * m_scale)) : 0;
        sum += a;
        if (out) {
            out[i] = a;
            if (pair)
                out[i + 1] = 0;
        }
        if (pair)
            ++i;
    }
    return sum;
}

int ScaledFont::unitsPerEm() const { return m_face->om.unitsPerEm; }

std::shared_ptr<void> ScaledFont::shaper(std::shared_ptr<void> (*make)(const QByteArray &)) const
{
    QMutexLocker lock(&m_face->rawMutex);
    if (!m_face->shaper)
        m_face->shaper = make(m_face->faceData());
    return m_face->shaper;
}

int ScaledFont::displayAdvances(QStringView text, int *out) const
{
    if (!hasRightToLeft(text))
        return advances(text, out);
    if (out)
        return shapedAdvances(*this, text, out);
    thread_local std::vector<int> work;
    work.resize(size_t(text.size()));
    return shapedAdvances(*this, text, work.data());
}

QRawFont ScaledFont::rawFont() const
{
    QMutexLocker lock(&m_face->rawMutex);
    auto it = m_face->raw.find(m_em);
    if (it != m_face->raw.end())
        return it->second;
    const QByteArray data = m_face->faceData();
    QRawFont f;
    if (!data.isEmpty())
        f.loadFromData(data, m_em, QFont::PreferNoHinting);
    m_face->raw.emplace(m_em, f);
    return f;
}

// ---------------------------------------------------------------------------------------

struct FontService::Impl {
    QMutex mutex;
    FT_Library ft = nullptr;
    FcConfig *config = nullptr;
    QHash<QString, std::shared_ptr<const FontFace>> byRequest;  // name|bold|italic
    QHash<QString, std::shared_ptr<const FontFace>> byFile;     // file|index
    QHash<QString, std::shared_ptr<const ScaledFont>> scaled;   // request|em
    std::shared_ptr<const FontFace> empty = std::make_shared<FontFace>();

    std::shared_ptr<const FontFace> load(const QString &file, int index);
    bool match(const QString &family, bool bold, bool italic, QString &file, int &index);
};

namespace {

// What a report font asks fontconfig for: the family in the style, scalable.
FcPattern *requestPattern(FcConfig *config, const QString &family, bool bold, bool italic)
{
    FcPattern *pat = FcPatternCreate();
    const QByteArray fam = family.toUtf8();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8 *>(fam.constData()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    return pat;
}

} // namespace

bool FontService::Impl::match(const QString &family, bool bold, bool italic, QString &file, int &index)
{
    if (!config)
        return false;
    FcPattern *pat = requestPattern(config, family, bold, italic);
    FcResult res = FcResultNoMatch;
    FcPattern *m = FcFontMatch(config, pat, &res);
    bool ok = false;
    if (m) {
        FcChar8 *f = nullptr;
        int idx = 0;
        if (FcPatternGetString(m, FC_FILE, 0, &f) == FcResultMatch) {
            FcPatternGetInteger(m, FC_INDEX, 0, &idx);
            file = QString::fromUtf8(reinterpret_cast<const char *>(f));
            index = idx & 0xFFFF;   // the upper bits name a variation instance
            ok = true;
        }
        FcPatternDestroy(m);
    }
    FcPatternDestroy(pat);
    return ok;
}

std::shared_ptr<const FontFace> FontService::Impl::load(const QString &file, int index)
{
    const QString key = file + QLatin1Char('|') + QString::number(index);
    if (auto it = byFile.constFind(key); it != byFile.constEnd())
        return *it;
    auto face = std::make_shared<FontFace>();
    face->file = file;
    face->index = index;
    FT_Face f = nullptr;
    const QByteArray path = QFile::encodeName(file);
    if (ft && FT_New_Face(ft, path.constData(), index, &f) == 0) {
        OutlineMetrics &om = face->om;
        face->collection = f->num_faces > 1 || index > 0;
        if (!face->collection) {
            QFile fh(file);
            char tag[4] = {};
            if (fh.open(QIODevice::ReadOnly) && fh.read(tag, 4) == 4 && memcmp(tag, "ttcf", 4) == 0)
                face->collection = true;
        }
        om.unitsPerEm = f->units_per_EM ? f->units_per_EM : 1000;
        om.xMin = int(f->bbox.xMin); om.yMin = int(f->bbox.yMin);
        om.xMax = int(f->bbox.xMax); om.yMax = int(f->bbox.yMax);
        om.familyName = QString::fromUtf8(f->family_name ? f->family_name : "");
        om.styleName = QString::fromUtf8(f->style_name ? f->style_name : "");
        om.fullName = sfntName(f, TT_NAME_ID_FULL_NAME);
        om.postScriptName = QString::fromLatin1(FT_Get_Postscript_Name(f) ? FT_Get_Postscript_Name(f) : "");
        om.fixedPitch = FT_IS_FIXED_WIDTH(f);
        face->italicStyle = (f->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        om.underlinePosition = f->underline_position;
        om.underlineThickness = f->underline_thickness;
        const auto *hhea = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
        const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
        const auto *post = static_cast<const TT_Postscript *>(FT_Get_Sfnt_Table(f, FT_SFNT_POST));
        if (hhea) {
            face->hheaAscender = hhea->Ascender;
            face->hheaDescender = hhea->Descender;
            face->hheaLineGap = hhea->Line_Gap;
            om.maxCharWidth = hhea->advance_Width_Max;
        } else {
            face->hheaAscender = f->ascender;
            face->hheaDescender = f->descender;
            om.maxCharWidth = int(f->max_advance_width);
        }
        if (os2 && os2->version != 0xFFFF) {
            om.winAscent = os2->usWinAscent;
            om.winDescent = os2->usWinDescent;
            om.ascender = os2->sTypoAscender;
            om.descender = os2->sTypoDescender;
            om.lineGap = os2->sTypoLineGap;
            om.weight = os2->usWeightClass;
            om.avgCharWidth = os2->xAvgCharWidth;
            om.strikeOutPosition = os2->yStrikeoutPosition;
            om.strikeOutSize = os2->yStrikeoutSize;
            if (os2->version >= 1) {
                om.codePageRange1 = uint32_t(os2->ulCodePageRange1);
                om.codePageRange2 = uint32_t(os2->ulCodePageRange2);
            }
            if (os2->version >= 2) {
                om.capHeight = os2->sCapHeight;
                om.xHeight = os2->sxHeight;
                om.defaultChar = os2->usDefaultChar;
            }
        } else {
            om.winAscent = face->hheaAscender;
            om.winDescent = -face->hheaDescender;
            om.ascender = face->hheaAscender;
            om.descender = face->hheaDescender;
            om.lineGap = face->hheaLineGap;
            om.strikeOutPosition = om.unitsPerEm / 4;
            om.strikeOutSize = om.unitsPerEm / 20;
        }
        if (om.capHeight == 0)
            om.capHeight = om.yMax;
        if (post)
            om.italicAngle = double(post->italicAngle) / 65536.0;
        // Character map and unscaled advances, read once.
        FT_Select_Charmap(f, FT_ENCODING_UNICODE);
        face->bmpGlyph.assign(0x10000, 0);
        FT_UInt gi = 0;
        for (FT_ULong c = FT_Get_First_Char(f, &gi); gi != 0; c = FT_Get_Next_Char(f, c, &gi)) {
            if (gi > 0xFFFF)
                continue;
            if (c < 0x10000)
                face->bmpGlyph[c] = uint16_t(gi);
            else if (c <= 0x10FFFF)
                face->astralGlyph.emplace(char32_t(c), uint16_t(gi));
        }
        const FT_Long ng = std::min<FT_Long>(f->num_glyphs, 0x10000);
        face->advance.assign(size_t(ng), 0);
        std::vector<FT_Fixed> adv(static_cast<size_t>(ng));
        if (ng > 0 && FT_Get_Advances(f, 0, FT_UInt(ng), FT_LOAD_NO_SCALE, adv.data()) == 0)
            for (FT_Long g = 0; g < ng; ++g)
                face->advance[size_t(g)] = uint16_t(std::clamp<FT_Fixed>(adv[size_t(g)], 0, 0xFFFF));
        FT_Done_Face(f);
    }
    byFile.insert(key, face);
    return face;
}

FontService::FontService() : d(std::make_unique<Impl>())
{
    FT_Init_FreeType(&d->ft);
    // A configuration of our own, so that nothing else in the process can swap it away.
    d->config = FcInitLoadConfigAndFonts();
}

FontService::~FontService()
{
    if (d->config)
        FcConfigDestroy(d->config);
    if (d->ft)
        FT_Done_FreeType(d->ft);
}

FontService &FontService::instance()
{
    static FontService s;
    return s;
}

std::shared_ptr<const FontFace> FontService::face(const FontDesc &desc)
{
    QString key = desc.name.toLower();
    key += QLatin1Char('|');
    key += QChar(u'0' + (desc.style & (StyleBold | StyleItalic)));
    QMutexLocker lock(&d->mutex);
    if (auto it = d->byRequest.constFind(key); it != d->byRequest.constEnd())
        return *it;
    QString file;
    int index = 0;
    std::shared_ptr<const FontFace> f;
    if (d->match(desc.name, desc.bold(), desc.italic(), file, index))
        f = d->load(file, index);
    if (!f || f->advance.empty()) {
        // An unusable face: fall back to the default sans face.
        if (d->match(QStringLiteral("Arial"), desc.bold(), desc.italic(), file, index))
            f = d->load(file, index);
    }
    if (!f)
        f = d->empty;
    d->byRequest.insert(key, f);
    return f;
}

QStringList FontService::fallbackFamilies(const FontDesc &desc)
{
    QStringList out;
    QMutexLocker lock(&d->mutex);
    if (!d->config)
        return out;
    FcPattern *pat = requestPattern(d->config, desc.name, desc.bold(), desc.italic());
    FcResult res = FcResultNoMatch;
    if (FcFontSet *set = FcFontSort(d->config, pat, FcTrue, nullptr, &res)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8 *family = nullptr;
            FcBool scalable = FcFalse;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch
                || (FcPatternGetBool(set->fonts[i], FC_SCALABLE, 0, &scalable) == FcResultMatch && !scalable))
                continue;
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(family));
            if (!out.contains(name, Qt::CaseInsensitive))
                out << name;
        }
        FcFontSetDestroy(set);
    }
    FcPatternDestroy(pat);
    return out;
}

double FontService::emHeight(const FontDesc &desc)
{
    if (desc.height < 0)
        return -double(desc.height);
    if (desc.height == 0)
        return 16;
    const auto f = face(desc);
    const int cell = f->om.winAscent + f->om.winDescent;
    return cell > 0 ? double(desc.height) * f->om.unitsPerEm / cell : double(desc.height);
}

std::shared_ptr<const ScaledFont> FontService::scaledFont(const FontDesc &desc)
{
    // The last few fonts of this thread, found without building a key or taking the lock:
    // text layout switches between a handful of fonts all the time.
    struct Recent {
        QString name;
        int height = 0;
        uint8_t style = 0xFF;
        std::shared_ptr<const ScaledFont> font;
    };
    thread_local std::array<Recent, 8> recent;
    thread_local unsigned next = 0;
    const uint8_t style = desc.style & (StyleBold | StyleItalic);
    for (const Recent &r : recent)
        if (r.style == style && r.height == desc.height && r.font && r.name == desc.name)
            return r.font;

    QString key = desc.name.toLower();
    key += QLatin1Char('|');
    key += QChar(u'0' + style);
    key += QLatin1Char('|');
    key += QString::number(desc.height);
    std::shared_ptr<const ScaledFont> s;
    {
        QMutexLocker lock(&d->mutex);
        if (auto it = d->scaled.constFind(key); it != d->scaled.constEnd())
            s = *it;
    }
    if (!s) {
        const auto f = face(desc);
        s = std::make_shared<const ScaledFont>(f, emHeight(desc), desc);
        QMutexLocker lock(&d->mutex);
        d->scaled.insert(key, s);
    }
    Recent &slot = recent[next++ % recent.size()];
    slot.name = desc.name;
    slot.height = desc.height;
    slot.style = style;
    slot.font = s;
    return s;
}

std::shared_ptr<const MeasureFont> FontService::font(const FontDesc &desc) { return scaledFont(desc); }

QString FontService::fontFile(const FontDesc &desc) { return face(desc)->file; }
int FontService::faceIndex(const FontDesc &desc) { return face(desc)->index; }
bool FontService::isCollection(const FontDesc &desc) { return face(desc)->collection; }
int OutlineMetrics::windowsCharset() const
{
    // Bits of ulCodePageRange1 and the character set of each; ulCodePageRange2 holds only
    // OEM pages, which have no set of their own but OEM_CHARSET.
    static constexpr struct { int bit; int charset; } kSets[] = {
        {0, 0},    {1, 238},  {2, 204},  {3, 161},  {4, 162},  {5, 177},  {6, 178},  {7, 186},
        {8, 163},  {16, 222}, {17, 128}, {18, 134}, {19, 129}, {20, 136}, {21, 130}, {29, 77},
        {30, 255}, {31, 2},
    };
    for (const auto &s : kSets)
        if (codePageRange1 & (1u << s.bit))
            return s.charset;
    return codePageRange2 ? 255 : 0;
}

OutlineMetrics FontService::outlineMetrics(const FontDesc &desc) { return face(desc)->om; }

QByteArray FontService::fontData(const FontDesc &desc, bool wholeCollection)
{
    const auto f = face(desc);
    if (!wholeCollection || !f->collection) {
        QMutexLocker lock(&f->rawMutex);
        return f->faceData();
    }
    QFile fh(f->file);
    if (!fh.open(QIODevice::ReadOnly) || fh.size() > kMaxFontFile)
        return {};
    return fh.readAll();
}

std::vector<FontFamily> FontService::families()
{
    std::vector<FontFamily> out;
    QMutexLocker lock(&d->mutex);
    if (!d->config)
        return out;
    FcPattern *pat = FcPatternCreate();
    FcObjectSet *os = FcObjectSetBuild(FC_FAMILY, FC_SCALABLE, nullptr);
    FcFontSet *fs = FcFontList(d->config, pat, os);
    QHash<QString, int> seen;
    if (fs) {
        for (int i = 0; i < fs->nfont; ++i) {
            FcChar8 *fam = nullptr;
            if (FcPatternGetString(fs->fonts[i], FC_FAMILY, 0, &fam) != FcResultMatch)
                continue;
            FcBool scalable = FcTrue;
            FcPatternGetBool(fs->fonts[i], FC_SCALABLE, 0, &scalable);
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(fam));
            const QString k = name.toLower();
            if (auto it = seen.constFind(k); it != seen.constEnd()) {
                out[size_t(*it)].trueType = out[size_t(*it)].trueType || scalable;
                continue;
            }
            seen.insert(k, int(out.size()));
            out.push_back({name, bool(scalable)});
        }
        FcFontSetDestroy(fs);
    }
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    std::sort(out.begin(), out.end(), [](const FontFamily &a, const FontFamily &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return out;
}

QByteArray extractCollectionFace(const QByteArray &all, int index)
{
    const auto *p = reinterpret_cast<const uchar *>(all.constData());
    const qsizetype n = all.size();
    if (n < 12 || memcmp(p, "ttcf", 4) != 0)
        return index == 0 ? all : QByteArray();
    const quint32 count = be32(p + 8);
    if (index < 0 || quint32(index) >= count || 12 + 4 * qsizetype(count) > n)
        return {};
    const quint32 off = be32(p + 12 + 4 * index);
    if (qsizetype(off) + 12 > n)
        return {};
    const quint16 numTables = be16(p + off + 4);
    if (qsizetype(off) + 12 + 16 * qsizetype(numTables) > n)
        return {};
    QByteArray out(all.constData() + off, 12);
    const int dirSize = 12 + 16 * numTables;
    out.append(QByteArray(16 * numTables, '\0'));
    for (int t = 0; t < numTables; ++t) {
        const uchar *rec = p + off + 12 + 16 * t;
        const quint32 toff = be32(rec + 8), tlen = be32(rec + 12);
        if (qsizetype(toff) + qsizetype(tlen) > n)
            return {};
        const int at = int(out.size());
        memcpy(out.data() + 12 + 16 * t, rec, 16);
        put32(out, 12 + 16 * t + 8, quint32(at));
        out.append(all.constData() + toff, qsizetype(tlen));
        while (out.size() % 4)
            out.append('\0');
    }
    Q_UNUSED(dirSize);
    return out;
}

// ---------------------------------------------------------------------------------------

namespace {
class FakeFont : public MeasureFont {
public:
    FakeFont(int adv, int asc, int desc)
        : m_adv(adv)
    {
        m_m.ascent = asc;
        m_m.descent = desc;
        m_m.height = asc + desc;
        m_m.emHeight = asc + desc;
        m_m.aveCharWidth = m_m.maxCharWidth = adv;
    }
    const TextMetrics &metrics() const override { return m_m; }
    int advances(QStringView text, int *out) const override
    {
        if (out)
            std::fill(out, out + text.size(), m_adv);
        return int(text.size()) * m_adv;
    }

private:
    int m_adv;
    TextMetrics m_m;
};
} // namespace

FakeMeasurer::FakeMeasurer(int advance, int ascent, int descent)
    : m_advance(advance), m_ascent(ascent), m_descent(descent)
{
}

std::shared_ptr<const MeasureFont> FakeMeasurer::font(const FontDesc &)
{
    return std::make_shared<FakeFont>(m_advance, m_ascent, m_descent);
}

TextMeasurer *defaultMeasurer() { return &FontService::instance(); }

} // namespace gfx
