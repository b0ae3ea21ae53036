#include "report/base/codepage.h"
#include "report/base/codepage_tables.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cstring>
#include <cerrno>
#include <iconv.h>
#include <memory>
#include <mutex>

namespace cp {
namespace {

const uint16_t *singleByteTable(int CodePage)
{
    switch (CodePage) {
    case 1250: return kPage1250;
    case 1251: return kPage1251;
    case 1252: return kPage1252;
    case 1253: return kPage1253;
    case 1254: return kPage1254;
    case 1255: return kPage1255;
    case 1256: return kPage1256;
    case 1257: return kPage1257;
    case 1258: return kPage1258;
    case 874: return kPage874;
    case 850: return kPage850;
    case 10000: return kPage10000;
    default: return nullptr;
    }
}

const char *iconvName(int CodePage)
{
    switch (CodePage) {
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1361: return "JOHAB";
    default: return nullptr;
    }
}

// Reverse table of a single-byte page: UTF-16 unit -> byte, 0 where the page has no byte
// (the NUL character itself is handled before the lookup).
class ReverseTable
{
public:
    explicit ReverseTable(const uint16_t *Upper)
    {
        FBytes.fill(0);
        for (int b = 1; b < 0x80; ++b)
            FBytes[b] = uint8_t(b);
        for (int b = 0; b < 0x80; ++b)
            FBytes[Upper[b]] = uint8_t(0x80 + b);
    }
    uint8_t operator[](char16_t c) const { return FBytes[c]; }

private:
    std::array<uint8_t, 65536> FBytes;
};

const ReverseTable &reverseTable(int CodePage, const uint16_t *Upper)
{
    // One slot per known page; built on first use.
    static constexpr int kPages[] = {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 874, 850, 10000};
    static std::once_flag once[std::size(kPages)];
    static std::unique_ptr<ReverseTable> tables[std::size(kPages)];
    size_t i = 0;
    while (kPages[i] != CodePage)
        ++i;
    std::call_once(once[i], [&] { tables[i] = std::make_unique<ReverseTable>(Upper); });
    return *tables[i];
}

struct IconvHandle {
    iconv_t h;
    explicit IconvHandle(iconv_t x) : h(x) {}
    ~IconvHandle()
    {
        if (h != iconv_t(-1))
            iconv_close(h);
    }
};

QString decodeIconv(const char *name, const char *Data, qsizetype Size)
{
    IconvHandle cd(iconv_open("UTF-16LE", name));
    if (cd.h == iconv_t(-1))
        return {};
    // Two units per byte cover any page, supplementary characters included.
    QString out(Size * 2 + 2, Qt::Uninitialized);
    char *in = const_cast<char *>(Data);
    size_t inLeft = size_t(Size);
    char *dst = reinterpret_cast<char *>(out.data());
    size_t dstLeft = size_t(out.size()) * 2;
    while (inLeft > 0) {
        if (iconv(cd.h, &in, &inLeft, &dst, &dstLeft) != size_t(-1))
            break;
        if (dstLeft < 2)
            break;
        // An invalid or incomplete sequence becomes one replacement character.
        const char16_t repl = 0xFFFD;
        std::memcpy(dst, &repl, 2);
        dst += 2;
        dstLeft -= 2;
        if (errno == EINVAL)
            break;
        ++in;
        --inLeft;
    }
    out.truncate(qsizetype((dst - reinterpret_cast<char *>(out.data())) / 2));
    return out;
}

QByteArray encodeIconv(const char *name, QStringView Text)
{
    IconvHandle cd(iconv_open(name, "UTF-16LE"));
    if (cd.h == iconv_t(-1))
        return {};
    QByteArray out(Text.size() * 2 + 4, Qt::Uninitialized);
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(Text.data()));
    size_t inLeft = size_t(Text.size()) * 2;
    char *dst = out.data();
    size_t dstLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(cd.h, &in, &inLeft, &dst, &dstLeft) != size_t(-1))
            break;
        if (errno == E2BIG || dstLeft < 1)
            break;  // cannot happen: two bytes per unit suffice
        // A character the page lacks becomes '?'; a pair of surrogates counts as one.
        *dst++ = '?';
        --dstLeft;
        size_t skip = 2;
        if (inLeft >= 4) {
            const char16_t u = char16_t(uint8_t(in[0]) | uint8_t(in[1]) << 8);
            const char16_t v = char16_t(uint8_t(in[2]) | uint8_t(in[3]) << 8);
            if (QChar::isHighSurrogate(u) && QChar::isLowSurrogate(v))
                skip = 4;
        }
        skip = std::min(skip, inLeft);
        in += skip;
        inLeft -= skip;
    }
    iconv(cd.h, nullptr, nullptr, &dst, &dstLeft);  // shift back to the initial state
    out.truncate(dst - out.data());
    return out;
}

} // namespace

bool IsSupported(int CodePage)
{
    return singleByteTable(CodePage) || iconvName(CodePage) || CodePage == 42 || CodePage == 65001;
}

QString FromAnsi(const char *Data, qsizetype Size)
{
    QString out(Size, Qt::Uninitialized);
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < Size; ++i) {
        const uint8_t b = uint8_t(Data[i]);
        d[i] = b < 0x80 ? char16_t(b) : char16_t(kPage1252[b - 0x80]);
    }
    return out;
}

void AppendAnsi(QByteArray &Out, QStringView Text)
{
    const ReverseTable *rev = nullptr;
    for (const QChar ch : Text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            Out.append(char(c));
            continue;
        }
        if (!rev)
            rev = &reverseTable(1252, kPage1252);
        const uint8_t b = (*rev)[c];
        Out.append(b ? char(b) : '?');
    }
}

QString Decode(const char *Data, qsizetype Size, int CodePage)
{
    if (Size <= 0)
        return {};
    if (const uint16_t *table = singleByteTable(CodePage)) {
        QString out(Size, Qt::Uninitialized);
        char16_t *d = reinterpret_cast<char16_t *>(out.data());
        for (qsizetype i = 0; i < Size; ++i) {
            const uint8_t b = uint8_t(Data[i]);
            d[i] = b < 0x80 ? char16_t(b) : char16_t(table[b - 0x80]);
        }
        return out;
    }
    if (CodePage == 42) {
        // Symbol fonts: printable bytes live in the private area U+F020..U+F0FF.
        QString out(Size, Qt::Uninitialized);
        char16_t *d = reinterpret_cast<char16_t *>(out.data());
        for (qsizetype i = 0; i < Size; ++i) {
            const uint8_t b = uint8_t(Data[i]);
            d[i] = b < 0x20 ? char16_t(b) : char16_t(0xF000 + b);
        }
        return out;
    }
    if (CodePage == 65001)
        return QString::fromUtf8(Data, Size);
    if (const char *name = iconvName(CodePage))
        return decodeIconv(name, Data, Size);
    return {};
}

QByteArray Encode(QStringView Text, int CodePage)
{
    if (Text.isEmpty())
        return {};
    if (const uint16_t *table = singleByteTable(CodePage)) {
        const ReverseTable &rev = reverseTable(CodePage, table);
        QByteArray out(Text.size(), Qt::Uninitialized);
        char *d = out.data();
        qsizetype n = 0;
        for (qsizetype i = 0; i < Text.size(); ++i) {
            const char16_t c = Text[i].unicode();
            if (c == 0) {
                d[n++] = 0;
                continue;
            }
            // A surrogate pair is one character the page cannot hold: one '?'.
            if (QChar::isHighSurrogate(c) && i + 1 < Text.size() && Text[i + 1].isLowSurrogate())
                ++i;
            const uint8_t b = rev[c];
            d[n++] = b ? char(b) : '?';
        }
        out.truncate(n);
        return out;
    }
    if (CodePage == 42) {
        QByteArray out;
        out.reserve(Text.size());
        for (const QChar ch : Text) {
            const char16_t c = ch.unicode();
            if (c < 0x100)
                out.append(char(c));
            else if (c >= 0xF020 && c <= 0xF0FF)
                out.append(char(c - 0xF000));
            else
                out.append('?');
        }
        return out;
    }
    if (CodePage == 65001)
        return Text.toUtf8();
    if (const char *name = iconvName(CodePage))
        return encodeIconv(name, Text);
    return {};
}

} // namespace cp

int CharSetToCodePage(int Charset)
{
    switch (Charset) {
    case 0:    // ANSI
    case 1:    // DEFAULT
        return cp::kAnsiCodePage;
    case 2: return 42;        // SYMBOL
    case 77: return 10000;    // MAC
    case 128: return 932;     // SHIFTJIS
    case 129: return 949;     // HANGEUL
    case 130: return 1361;    // JOHAB
    case 134: return 936;     // GB2312
    case 136: return 950;     // CHINESEBIG5
    case 161: return 1253;    // GREEK
    case 162: return 1254;    // TURKISH
    case 163: return 1258;    // VIETNAMESE
    case 177: return 1255;    // HEBREW
    case 178: return 1256;    // ARABIC
    case 186: return 1257;    // BALTIC
    case 204: return 1251;    // RUSSIAN
    case 222: return 874;     // THAI
    case 238: return 1250;    // EASTEUROPE
    case 255: return cp::kOemCodePage;  // OEM
    default:
        throw ECodePageError(QStringLiteral("Unknown character set %1").arg(Charset));
    }
}

QString AnsiToUnicode(const QByteArray &S, int Charset, int CodePage)
{
    if (S.isEmpty())
        return {};
    return cp::Decode(S, CodePage ? CodePage : CharSetToCodePage(Charset));
}

QByteArray UnicodeToAnsi(const QString &S, int Charset, int CodePage)
{
    if (S.isEmpty())
        return {};
    return cp::Encode(S, CodePage ? CodePage : CharSetToCodePage(Charset));
}

QByteArray OemToStr(const QByteArray &S)
{
    if (S.isEmpty())
        return {};
    return cp::Encode(cp::Decode(S, cp::kOemCodePage), cp::kAnsiCodePage);
}

int GetLocalByCharSet(int Charset)
{
    switch (Charset) {
    case 128: return 1041;
    case 129: return 1042;
    case 130: return 2066;
    case 134: return 2052;
    case 136: return 3076;
    case 161: return 1032;
    case 162: return 1055;
    case 163: return 1066;
    case 177: return 1037;
    case 178: return 13313;
    case 186: return 1061;
    case 204: return 1049;
    case 222: return 1054;
    case 238: return 1029;
    default: break;
    }
    // The system's own locale, for the languages the program is used in.
    switch (QLocale::system().language()) {
    case QLocale::Italian: return 1040;
    case QLocale::German: return 1031;
    case QLocale::French: return 1036;
    case QLocale::Spanish: return 3082;
    case QLocale::Portuguese: return 2070;
    case QLocale::Dutch: return 1043;
    default: return QLocale::system().territory() == QLocale::UnitedKingdom ? 2057 : 1033;
    }
}
