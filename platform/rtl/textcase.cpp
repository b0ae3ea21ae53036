#include "platform/rtl/textcase.h"

namespace rtl {
namespace {

// Turkish and Azeri pair dotted and dotless i differently from every other language.
bool dottedILocale(const QLocale &locale)
{
    return locale.language() == QLocale::Turkish || locale.language() == QLocale::Azerbaijani;
}

char16_t upperOf(char16_t c, bool dottedI)
{
    if (dottedI && c == u'i')
        return u'\u0130';
    if (c < 0x80)
        return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    return QChar::isSurrogate(c) ? c : char16_t(QChar::toUpper(c));
}

char16_t lowerOf(char16_t c, bool dottedI)
{
    if (dottedI && c == u'I')
        return u'\u0131';
    // Its full mapping has two characters, which leaves Qt's table without the simple one.
    if (c == u'\u0130')
        return u'i';
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return QChar::isSurrogate(c) ? c : char16_t(QChar::toLower(c));
}

template <class Map>
QString mapped(const QString &s, Map map)
{
    QString out(s.size(), Qt::Uninitialized);
    const char16_t *from = reinterpret_cast<const char16_t *>(s.constData());
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < s.size(); ++i)
        to[i] = map(from[i]);
    return out;
}

} // namespace

QString UpperCase(const QString &s, const QLocale &locale)
{
    const bool dottedI = dottedILocale(locale);
    return mapped(s, [dottedI](char16_t c) { return upperOf(c, dottedI); });
}

QString LowerCase(const QString &s, const QLocale &locale)
{
    const bool dottedI = dottedILocale(locale);
    return mapped(s, [dottedI](char16_t c) { return lowerOf(c, dottedI); });
}

QString NameCase(const QString &s, const QLocale &locale)
{
    const bool dottedI = dottedILocale(locale);
    bool start = true;
    return mapped(s, [&](char16_t c) {
        const char16_t r = start ? upperOf(c, dottedI) : lowerOf(c, dottedI);
        start = c == u' ';
        return r;
    });
}

} // namespace rtl
