#include "export/truetype/truetypecollection.h"

#include "platform/gfx/fontdesc.h"
#include "platform/rtl/exceptions.h"

namespace ttf {

namespace {

// Names some systems give fonts in their own script, and the faces they mean.
struct Substitution {
    const char16_t *name;
    const char16_t *face;
};
constexpr Substitution kSubstitutions[] = {
    {u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", u"MS Gothic"},
    {u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", u"MS PGothic"},
    {u"\uFF2D\uFF33 \u660E\u671D", u"MS Mincho"},
    {u"\uFF2D\uFF33 \uFF30\u660E\u671D", u"MS PMincho"},
    {u"\u30E1\u30A4\u30EA\u30AA", u"Meiryo"},
    {u"Tahoma Bold", u"Tahoma Negreta"},
};

// Bitmap strikes, device metrics and the signature never reach a subset.
const std::vector<uint32_t> kSkipList = {Tag("EBLC"), Tag("EBDT"), Tag("hdmx"), Tag("VDMX"), Tag("DSIG")};

} // namespace

TrueTypeCollection::TrueTypeCollection() = default;
TrueTypeCollection::~TrueTypeCollection() = default;

void TrueTypeCollection::Initialize(const QByteArray &data, ChecksumFaultAction OnChecksumFault)
{
    fonts_collection.clear();
    m_postScriptOutlines = false;
    m_data = data;
    m_data.detach();
    FontBuffer buf(reinterpret_cast<uint8_t *>(m_data.data()), size_t(m_data.size()));
    if (m_data.size() < 4)
        RaiseFormatError();
    const uint32_t kind = buf.u32(0);
    if (kind == 0x00010000) {
        fonts_collection.push_back(std::make_unique<TrueTypeFont>(buf, 0, OnChecksumFault));
    } else if (kind == Tag("ttcf")) {
        const uint32_t version = buf.u32(4);
        if (version != 0x00010000 && version != 0x00020000)
            throw Exception(QStringLiteral("Unknown font collection version"));
        const uint32_t numFonts = buf.u32(8);
        buf.at(12, uint64_t(numFonts) * 4);
        for (uint32_t i = 0; i < numFonts; ++i)
            fonts_collection.push_back(
                std::make_unique<TrueTypeFont>(buf, buf.u32(12 + 4 * uint64_t(i)), OnChecksumFault));
    } else if (kind == Tag("OTTO")) {
        m_postScriptOutlines = true;
    } else {
        RaiseFormatError();
    }
}

QString TrueTypeCollection::Target(const gfx::FontDesc &font)
{
    for (const Substitution &s : kSubstitutions)
        if (font.name == QStringView(s.name))
            return QString::fromUtf16(s.face);
    QString target = font.name;
    if (font.bold())
        target += QLatin1String(" Bold");
    if (font.italic())
        target += QLatin1String(" Italic");
    return target;
}

TrueTypeFont *TrueTypeCollection::LoadFont(const gfx::FontDesc &font, int faceIndex)
{
    if (fonts_collection.empty())
        return nullptr;
    const QString target = Target(font);
    TrueTypeFont *found = nullptr;
    if (faceIndex >= 0 && size_t(faceIndex) < fonts_collection.size()) {
        found = fonts_collection[size_t(faceIndex)].get();
        found->PrepareFont(kSkipList);
    } else {
        for (const auto &f : fonts_collection) {
            f->PrepareFont(kSkipList);
            if (f->GetFullName() == target) {
                found = f.get();
                break;
            }
        }
        if (!found)
            found = fonts_collection.front().get();
    }
    if (found->get_SfntVersion() == Tag("OTTO")) {
        // A face of a collection with PostScript outlines.
        m_postScriptOutlines = true;
        return nullptr;
    }
    const QString fullName = found->GetFullName();
    found->FSubstitutionName = fullName == target ? QString() : target + QLatin1String(" - ") + fullName;
    return found;
}

QByteArray TrueTypeCollection::PackFont(TrueTypeFont *ttf, const std::vector<uint32_t> &usedAlphabet)
{
    for (uint32_t g : usedAlphabet)
        ttf->AddCharacterToKeepList(uint16_t(g));
    return ttf->PackFont(true);
}

TrueTypeFont *TrueTypeCollection::get_Item(const QString &familyName) const
{
    for (const auto &f : fonts_collection)
        if (f->prepared() && f->GetUniqueID() == familyName)
            return f.get();
    throw Exception(QStringLiteral("Font not found in collection"));
}

} // namespace ttf
