#include "export/pdf/pdftext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace pdf {

namespace {

const char kHex[] = "0123456789ABCDEF";

void appendUnsigned(QByteArray &out, unsigned long long v)
{
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    while (n)
        out.append(tmp[--n]);
}

} // namespace

void appendInt(QByteArray &out, long long v)
{
    if (v < 0) {
        out.append('-');
        appendUnsigned(out, 0ull - static_cast<unsigned long long>(v));
    } else {
        appendUnsigned(out, static_cast<unsigned long long>(v));
    }
}

void appendNum(QByteArray &out, double v)
{
    // Hundredths rounded half away from zero; beyond what a page can hold the value is
    // clamped so that the integer conversion stays defined.
    if (!std::isfinite(v))
        v = 0;
    double h = std::round(v * 100);
    if (h > 9e17)
        h = 9e17;
    if (h < -9e17)
        h = -9e17;
    long long c = static_cast<long long>(h);
    if (c < 0) {
        out.append('-');
        c = -c;
    }
    appendUnsigned(out, static_cast<unsigned long long>(c / 100));
    const int f = int(c % 100);
    const char frac[3] = {'.', char('0' + f / 10), char('0' + f % 10)};
    out.append(frac, 3);
}

void appendHex4(QByteArray &out, unsigned v)
{
    const char d[4] = {kHex[(v >> 12) & 15], kHex[(v >> 8) & 15], kHex[(v >> 4) & 15], kHex[v & 15]};
    out.append(d, 4);
}

void appendTextString(QByteArray &out, QStringView text)
{
    out.append("<FEFF");
    for (QChar c : text)
        appendHex4(out, c.unicode());
    out.append('>');
}

void appendNameChars(QByteArray &out, QStringView name)
{
    const QByteArray utf8 = name.toUtf8();
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        const bool delimiter = c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' ||
                               c == '{' || c == '}' || c == '/' || c == '%' || c == '#';
        if (c < '!' || c > '~' || delimiter) {
            const char e[3] = {'#', kHex[c >> 4], kHex[c & 15]};
            out.append(e, 3);
        } else {
            out.append(char(c));
        }
    }
}

namespace {
QByteArray offsetText(int Seconds, const char *Separator, const char *Tail)
{
    const int minutes = std::abs(Seconds) / 60;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%c%02d%s%02d%s", Seconds < 0 ? '-' : '+', minutes / 60, Separator, minutes % 60,
                  Tail);
    return buf;
}
} // namespace

QByteArray dateString(const QDateTime &When)
{
    return When.toString(QStringLiteral("'D:'yyyyMMddHHmmss")).toLatin1() + offsetText(When.offsetFromUtc(), "'", "'");
}

QByteArray xmpDateString(const QDateTime &When)
{
    return When.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() +
           offsetText(When.offsetFromUtc(), ":", "");
}

} // namespace pdf
