#include "export/pdf/pdffont.h"

#include "export/crypto/kvlmd5.h"
#include "export/pdf/pdftext.h"
#include "export/truetype/truetypecollection.h"
#include "platform/gfx/bidi.h"
#include "platform/gfx/fontservice.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/stringlist.h"

#include <algorithm>

namespace {

const char16_t *const kSimulated[] = {
    u"ＭＳ ゴシック", u"ＭＳ Ｐゴシック", u"ＭＳ 明朝", u"ＭＳ Ｐ明朝",
    u"MS UI Gothic", u"Arial Black", u"Arial Unicode MS",
};

// The face written instead of one whose outlines the file format cannot carry.
const char kDefaultFace[] = "Arial";

bool embeddable(const QByteArray &face)
{
    // TrueType outlines only: not PostScript outlines ("OTTO"), nor any other kind of file.
    return face.size() > 12 && (face.startsWith(QByteArrayView("\0\1\0\0", 4)) || face.startsWith("true"));
}

} // namespace

bool kvlPDFFontNeedsStyleSimulation(const QString &Name)
{
    for (const char16_t *s : kSimulated)
        if (Name.compare(QStringView(s), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TkvlPDFFont::TkvlPDFFont(const TFont &Font, int Index, TStringList *Errors)
    : FReportName(Font.Name()), FStyle(uint8_t(Font.Desc().style)),
      FSimulated(kvlPDFFontNeedsStyleSimulation(Font.Name()))
{
    Name = "/F" + QByteArray::number(Index);
    FDesc.name = Font.Name();
    FDesc.style = FSimulated ? 0 : (FStyle & (gfx::StyleBold | gfx::StyleItalic));
    FDesc.charset = Font.Charset();
    FDesc.height = -1000;
    gfx::FontService &fs = gfx::FontService::instance();
    FFaceData = fs.fontData(FDesc, false);
    if (!embeddable(FFaceData)) {
        if (Errors)
            Errors->Add(QStringLiteral("Il carattere \"%1\" non può essere incorporato nel PDF: sostituito da %2")
                            .arg(Font.Name(), QLatin1String(kDefaultFace)));
        FDesc.name = QLatin1String(kDefaultFace);
        FFaceData = fs.fontData(FDesc, false);
    }
    if (!ReadFace(FFaceData, FDesc)) {
        // A damaged face would be embedded as it is and its text not shown: the next face
        // fontconfig offers for the family that the reader takes stands in.
        const QString rejected = fs.fontFile(FDesc);
        QString stand;
        for (const QString &family : fs.fallbackFamilies(FDesc)) {
            gfx::FontDesc d = FDesc;
            d.name = family;
            if (fs.fontFile(d) == rejected)
                continue;
            const QByteArray data = fs.fontData(d, false);
            if (embeddable(data) && ReadFace(data, d)) {
                FDesc = d;
                FFaceData = data;
                stand = family;
                break;
            }
        }
        if (Errors)
            Errors->Add(stand.isEmpty()
                            ? QStringLiteral("Il carattere \"%1\" è danneggiato e nessun altro carattere installato può sostituirlo")
                                  .arg(Font.Name())
                            : QStringLiteral("Il carattere \"%1\" è danneggiato: sostituito da %2").arg(Font.Name(), stand));
    }
    FScaled = fs.scaledFont(FDesc);
}

bool TkvlPDFFont::ReadFace(const QByteArray &Data, const gfx::FontDesc &Desc)
{
    FFace = nullptr;
    if (Data.isEmpty())
        return false;
    try {
        auto coll = std::make_unique<ttf::TrueTypeCollection>();
        coll->Initialize(Data, ttf::ChecksumFaultAction_ThrowException);
        FFace = coll->LoadFont(Desc, 0);
        FCollection = std::move(coll);
    } catch (const Exception &) {
        FFace = nullptr;
    }
    return FFace != nullptr;
}

TkvlPDFFont::~TkvlPDFFont() = default;

bool TkvlPDFFont::Matches(const QString &FontName, uint8_t Style) const
{
    return FontName == FReportName && (FSimulated || Style == FStyle);
}

int TkvlPDFFont::Record(uint32_t Glyph, int Advance, QStringView Text)
{
    auto it = FIndexOf.constFind(Glyph);
    if (it != FIndexOf.constEnd())
        return FWidths[size_t(*it)];
    FIndexOf.insert(Glyph, int(FUsed.size()));
    FUsed.push_back(Glyph);
    FWidths.push_back(Advance);
    FUsedText.push_back(Text.toString());
    return Advance;
}

const TkvlPDFFont::Run &TkvlPDFFont::RemapString(const QString &Line, bool RTL)
{
    QHash<QString, Run> &cache = FRuns[RTL ? 1 : 0];
    auto it = cache.constFind(Line);
    if (it != cache.constEnd())
        return *it;
    // Not without bound: a long report's lines met once (numbers, names, dates) would each
    // keep a run until the end of the export, tens of kilobytes a page.
    constexpr qsizetype kMaxRuns = 4096;
    if (cache.size() >= kMaxRuns)
        cache.clear();
    const QStringView Text = Line;
    Run run;
    thread_local std::vector<gfx::ShapedGlyph> glyphs;
    thread_local std::vector<int> clusters;
    if (FScaled)
        gfx::shapeGlyphs(*FScaled, Text, RTL, glyphs);
    else
        glyphs.clear();
    // Where each cluster's text ends: at the next cluster in the text.
    clusters.clear();
    for (const gfx::ShapedGlyph &g : glyphs)
        clusters.push_back(g.cluster);
    std::sort(clusters.begin(), clusters.end());
    clusters.erase(std::unique(clusters.begin(), clusters.end()), clusters.end());
    // The first glyph of a cluster carries its text; further glyphs of it carry none.
    std::vector<uint8_t> taken(clusters.size(), 0);
    run.codes.reserve(qsizetype(glyphs.size()) * 4);
    for (const gfx::ShapedGlyph &g : glyphs) {
        const size_t ci = size_t(std::lower_bound(clusters.begin(), clusters.end(), g.cluster) - clusters.begin());
        const int end = ci + 1 < clusters.size() ? clusters[ci + 1] : int(Text.size());
        QStringView text;
        if (!taken[ci] && g.cluster >= 0 && g.cluster < end && end <= Text.size()) {
            text = Text.mid(g.cluster, end - g.cluster);
            taken[ci] = 1;
        }
        run.width += Record(g.glyph, g.advance, text);
        pdf::appendHex4(run.codes, g.glyph);
        run.blank.push_back(text.size() == 1 && text[0] == QLatin1Char(' '));
    }
    run.spaces = int(Text.count(QLatin1Char(' ')));
    return *cache.insert(Line, std::move(run));
}

QByteArray TkvlPDFFont::GetFontName() const
{
    QString n = FDesc.name;
    if (!FSimulated && (FStyle & (gfx::StyleBold | gfx::StyleItalic))) {
        n += QLatin1Char(',');
        if (FStyle & gfx::StyleBold)
            n += QLatin1String("Bold");
        if (FStyle & gfx::StyleItalic)
            n += QLatin1String("Italic");
    }
    QByteArray out;
    pdf::appendNameChars(out, n);
    return out;
}

QByteArray TkvlPDFFont::SubsetTag() const
{
    QByteArray ids;
    for (uint32_t g : FUsed)
        ids.append(reinterpret_cast<const char *>(&g), sizeof g);
    uint8_t digest[16];
    MD5Buf(ids.constData(), int(ids.size()), digest);
    QByteArray tag(6, 'A');
    for (int i = 0; i < 6; ++i)
        tag[i] = char('A' + digest[i] % 26);
    return tag;
}

QByteArray TkvlPDFFont::PackTTFFont()
{
    if (FFaceData.isEmpty() || !FFace)
        return FFaceData;
    try {
        const QByteArray packed = FCollection->PackFont(FFace, FUsed);
        if (!packed.isEmpty())
            return packed;
    } catch (const Exception &) {
        // A face that cannot be subset is embedded whole.
    }
    return FFaceData;
}

TkvlPDFFont::Metrics TkvlPDFFont::FontMetrics() const
{
    Metrics m;
    gfx::FontService &fs = gfx::FontService::instance();
    const gfx::OutlineMetrics om = fs.outlineMetrics(FDesc);
    m.xMin = om.scaled(om.xMin, 1000);
    m.yMin = om.scaled(om.yMin, 1000);
    m.xMax = om.scaled(om.xMax, 1000);
    m.yMax = om.scaled(om.yMax, 1000);
    m.italicAngle = int(rtl::Round(om.italicAngle));
    m.capHeight = om.scaled(om.capHeight, 1000);
    if (FScaled) {
        const gfx::TextMetrics &tm = FScaled->metrics();
        m.ascent = tm.ascent;
        m.descent = -tm.descent;
        m.leading = tm.internalLeading;
        m.weight = tm.weight;
        m.avgWidth = tm.aveCharWidth;
        m.maxWidth = tm.maxCharWidth;
    }
    return m;
}
