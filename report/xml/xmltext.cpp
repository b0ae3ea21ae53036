#include "report/xml/xmltext.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline bool needsEscape(char16_t c)
{
    return c == 0 || c == 10 || c == 13 || c == 34 || c == 38 || c == 60 || c == 62;
}

void appendReference(QString &out, unsigned code)
{
    char buf[16];
    int n = 0;
    buf[n++] = '&';
    buf[n++] = '#';
    char digits[8];
    int d = 0;
    do {
        digits[d++] = char('0' + code % 10);
        code /= 10;
    } while (code);
    while (d)
        buf[n++] = digits[--d];
    buf[n++] = ';';
    out.append(QLatin1String(buf, n));
}

bool startsWithAt(QStringView s, qsizetype i, QLatin1String what)
{
    return s.size() - i >= what.size() && s.mid(i, what.size()) == what;
}

} // namespace

QString kvlStrToXML(const QString &S)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(S.constData());
    const qsizetype n = S.size();
    qsizetype first = 0;
    while (first < n && !needsEscape(p[first]))
        ++first;
    if (first == n)
        return S;

    QString out;
    out.reserve(n + 16);
    out.append(QStringView(S).left(first));
    const QStringView view(S);
    for (qsizetype i = first; i < n; ++i) {
        const char16_t c = p[i];
        if (!needsEscape(c)) {
            out.append(QChar(c));
        } else if (c == u'&' && startsWithAt(view, i, QLatin1String("&quot;"))) {
            out.append(QLatin1String("&#34;"));
            i += 5;
        } else {
            appendReference(out, c);
        }
    }
    return out;
}

qsizetype kvlUtf8Size(QStringView S)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(S.data());
    const qsizetype n = S.size();
    qsizetype size = n;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x80)
            continue;
        if (c < 0x800)
            size += 1;
        else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
            size += 2, ++i;  // four bytes for the pair
        else
            size += 2;
    }
    return size;
}

char *kvlToUtf8(QStringView S, char *To)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(S.data());
    const qsizetype n = S.size();
    auto *d = reinterpret_cast<uchar *>(To);
    for (qsizetype i = 0; i < n; ++i) {
#if defined(__SSE2__)
        // Attribute texts are mostly ASCII: eight units at a time while they are.
        const __m128i high = _mm_set1_epi16(short(0xFF80));
        while (n - i >= 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128())) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i *>(d), _mm_packus_epi16(v, v));
            i += 8;
            d += 8;
        }
        if (i >= n)
            break;
#endif
        const char16_t c = p[i];
        if (c < 0x80) {
            *d++ = uchar(c);
        } else if (c < 0x800) {
            *d++ = uchar(0xC0 | (c >> 6));
            *d++ = uchar(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, p[++i]);
            *d++ = uchar(0xF0 | (u >> 18));
            *d++ = uchar(0x80 | ((u >> 12) & 0x3F));
            *d++ = uchar(0x80 | ((u >> 6) & 0x3F));
            *d++ = uchar(0x80 | (u & 0x3F));
        } else {
            const char16_t u = QChar::isSurrogate(c) ? char16_t(0xFFFD) : c;
            *d++ = uchar(0xE0 | (u >> 12));
            *d++ = uchar(0x80 | ((u >> 6) & 0x3F));
            *d++ = uchar(0x80 | (u & 0x3F));
        }
    }
    return reinterpret_cast<char *>(d);
}

QString kvlXMLToStr(const QString &S)
{
    const qsizetype n = S.size();
    const char16_t *p = reinterpret_cast<const char16_t *>(S.constData());
    qsizetype amp = S.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return S;

    QString out;
    out.reserve(n);
    out.append(QStringView(S).left(amp));
    const QStringView view(S);
    qsizetype i = amp;
    while (i < n) {
        const char16_t c = p[i];
        if (c != u'&' || i >= n - 1) {
            out.append(QChar(c));
            ++i;
            continue;
        }
        if (p[i + 1] == u'#' && i + 3 < n) {
            // &#digits; with a code no larger than U+10FFFF.
            qsizetype j = i + 2;
            uint32_t code = 0;
            while (j < n && p[j] >= u'0' && p[j] <= u'9' && code <= 0x10FFFF) {
                code = code * 10 + uint32_t(p[j] - u'0');
                ++j;
            }
            if (j > i + 2 && j < n && p[j] == u';' && code <= 0x10FFFF) {
                if (code > 0xFFFF) {
                    out.append(QChar(QChar::highSurrogate(code)));
                    out.append(QChar(QChar::lowSurrogate(code)));
                } else {
                    out.append(QChar(char16_t(code)));
                }
                i = j + 1;
                continue;
            }
        } else if (startsWithAt(view, i, QLatin1String("&quot;"))) {
            out.append(QLatin1Char('"'));
            i += 6;
            continue;
        } else if (startsWithAt(view, i, QLatin1String("&amp;"))) {
            out.append(QLatin1Char('&'));
            i += 5;
            continue;
        } else if (startsWithAt(view, i, QLatin1String("&lt;"))) {
            out.append(QLatin1Char('<'));
            i += 4;
            continue;
        } else if (startsWithAt(view, i, QLatin1String("&gt;"))) {
            out.append(QLatin1Char('>'));
            i += 4;
            continue;
        }
        out.append(QChar(c));
        ++i;
    }
    return out;
}
