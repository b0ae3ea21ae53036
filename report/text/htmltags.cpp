#include "report/text/htmltags.h"

#include "platform/gfx/fontdesc.h"
#include "platform/rtl/numeric.h"

namespace {

char16_t lower(char16_t c) { return c >= 'A' && c <= 'Z' ? char16_t(c + 32) : c; }

// Line[i..] starts with the ASCII word w, case-insensitively.
bool startsWith(QStringView line, qsizetype i, const char *w)
{
    for (; *w; ++w, ++i)
        if (i >= line.size() || lower(line[i].unicode()) != char16_t(*w))
            return false;
    return true;
}

int hexDigit(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// A colour value of the font tag: "#RRGGBB" in double quotes, or a bare colour name.
bool parseColor(QStringView v, TColor &out)
{
    if (v.size() >= 4 && v.front() == u'"' && v[1] == u'#' && v.back() == u'"') {
        const QStringView hex = v.mid(2, v.size() - 3);
        if (hex.size() != 6)
            return false;
        int rgb = 0;
        for (QChar c : hex) {
            const int d = hexDigit(c.unicode());
            if (d < 0)
                return false;
            rgb = rgb * 16 + d;
        }
        out = TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
        return true;
    }
    if (v.isEmpty())
        return false;
    QString ident = QStringLiteral("cl");
    ident += v;
    return rtl::IdentToColor(ident, out);
}

} // namespace

void TkvlHTMLTagsList::SetDefaults(uint8_t Style, TColor Color, int Size, bool AllowTags)
{
    FTags.clear();
    FAllowTags = AllowTags;
    FStyle = FDefStyle = Style;
    FColor = FDefColor = Color;
    FSize = FDefSize = Size;
    FAddY = 0;
    FDontWRAP = false;
    FSubStyle = ssNormal;
    FPosition = 1;
}

void TkvlHTMLTagsList::AddTags(int Count)
{
    if (Count <= 0)
        return;
    TkvlHTMLTag t{.Position = FPosition, .Size = FSize, .Color = FColor, .AddY = FAddY,
                  .Style = FStyle, .SubType = FSubStyle, .DontWRAP = FDontWRAP};
    t.Small = FSize != FDefSize;
    if (!FAllowTags)
        t.Default = true;
    else if (!FTags.empty())
        t.Default = FTags.back().SameFormat(t);
    else
        t.Default = FStyle == FDefStyle && FColor == FDefColor && FSize == FDefSize;
    // The formatting holds for the whole run: after its first character each one is the same
    // as the one before it.
    const size_t at = FTags.size();
    FTags.resize(at + size_t(Count), t);
    TkvlHTMLTag *p = FTags.data() + at;
    for (int k = 1; k < Count; ++k) {
        p[k].Position = FPosition + k;
        p[k].Default = true;
    }
    FPosition += Count;
}

int TkvlHTMLTagsList::MatchTag(QStringView line, qsizetype i)
{
    const bool closing = i + 1 < line.size() && line[i + 1] == u'/';
    const qsizetype n = i + (closing ? 2 : 1);
    struct Simple {
        const char *name;   // with the closing '>'
        uint8_t style;
    };
    static constexpr Simple kStyles[] = {
        {"b>", gfx::StyleBold}, {"i>", gfx::StyleItalic}, {"u>", gfx::StyleUnderline},
        {"strike>", gfx::StyleStrikeOut},
    };
    for (const Simple &s : kStyles) {
        if (startsWith(line, n, s.name)) {
            FStyle = closing ? uint8_t(FStyle & ~s.style) : uint8_t(FStyle | s.style);
            return int(n - i + qsizetype(strlen(s.name)));
        }
    }
    const bool sub = startsWith(line, n, "sub>");
    if (sub || startsWith(line, n, "sup>")) {
        if (closing) {
            FSize = FDefSize;
            FAddY = 0;
            FSubStyle = ssNormal;
        } else {
            FSize = int(rtl::Round(FDefSize / 1.5));
            FAddY = sub ? 1 : 0;
            FSubStyle = sub ? ssSubscript : ssSuperscript;
        }
        return int(n - i + 4);
    }
    if (startsWith(line, n, "nowrap>")) {
        FDontWRAP = !closing;
        return int(n - i + 7);
    }
    if (closing) {
        if (!startsWith(line, n, "font>"))
            return 0;
        FColor = FDefColor;
        return int(n - i + 5);
    }
    if (!startsWith(line, n, "font color="))
        return 0;
    qsizetype v = n + 11;
    while (v < line.size() && line[v] == u' ')
        ++v;
    const qsizetype end = line.indexOf(u'>', v);
    TColor c;
    if (end < 0 || !parseColor(line.mid(v, end - v), c))
        return 0;
    FColor = c;
    return int(end + 1 - i);
}

void TkvlHTMLTagsList::ExpandHTMLTags(QStringView Line, std::vector<char16_t> &Out)
{
    const size_t before = Out.size();
    const qsizetype n = Line.size();
    const char16_t *chars = Line.utf16();
    for (qsizetype i = 0; i < n;) {
        if (FAllowTags && chars[i] == u'<') {
            if (const int len = MatchTag(Line, i)) {
                FPosition += len;
                i += len;
                continue;
            }
        }
        // A run of characters up to the next possible tag, taken in one piece.
        qsizetype j = i + 1;
        if (FAllowTags)
            while (j < n && chars[j] != u'<')
                ++j;
        else
            j = n;
        Out.insert(Out.end(), chars + i, chars + j);
        AddTags(int(j - i));
        i = j;
    }
    if (Out.size() == before) {   // nothing visible: one blank stands for the line
        Out.push_back(u' ');
        AddTags(1);
        --FPosition;
    }
}

QString kvlDeleteTags(QStringView Text)
{
    TkvlHTMLTagsList parser;
    parser.SetDefaults(0, 0, 10, true);
    std::vector<char16_t> out;
    out.reserve(size_t(Text.size()));
    parser.ExpandHTMLTags(Text, out);
    if (out.size() == 1 && out[0] == u' ' && !Text.contains(u' '))
        return QString();
    return QString(reinterpret_cast<const QChar *>(out.data()), qsizetype(out.size()));
}
