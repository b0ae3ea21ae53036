#include "export/xlsx/xlsxrules.h"

#include "export/xlsx/xlsxoffice.h"

namespace xlsx {

void AppendA1(QByteArray &Out, int Col, int Row)
{
    char letters[4];
    int n = 0;
    for (int c = Col + 1; c > 0 && n < 4; c = (c - 1) / 26)
        letters[n++] = char('A' + (c - 1) % 26);
    while (n > 0)
        Out.append(letters[--n]);
    char digits[12];
    int d = 0;
    for (unsigned r = unsigned(Row) + 1; r > 0; r /= 10)
        digits[d++] = char('0' + r % 10);
    while (d > 0)
        Out.append(digits[--d]);
}

QByteArray A1(int Col, int Row)
{
    QByteArray out;
    AppendA1(out, Col, Row);
    return out;
}

QString ClearFormat(const QString &S)
{
    QString out;
    for (QChar c : S)
        if (c == u' ' || c == u'#' || c == u',' || c == u'.' || c == u'0')
            out += c;
    return out;
}

QString ConvertFormat(const QString &Format)
{
    if (Format.isEmpty())
        return QString();
    // The digits between the first '.' and the last character give the decimals.
    int decimals = 0;
    const qsizetype dot = Format.indexOf(u'.');
    if (dot >= 0 && dot + 1 < Format.size() - 1)
        decimals = Format.mid(dot + 1, Format.size() - dot - 2).toInt();
    const QString fraction = decimals > 0 ? u'.' + QString(decimals, u'0') : QString();
    if (!Format.contains(u'%')) {
        if (Format.contains(u'E') || Format.contains(u'e'))
            return Format;
        if (Format.contains(u'#') || Format.contains(u'0'))
            return ClearFormat(Format);
        return QStringLiteral("#,##0.00");
    }
    switch (Format.back().unicode()) {
    case u'f': return u'0' + fraction;
    case u'g': return fraction;
    case u'm': return QStringLiteral("#,##0.00");
    case u'n': return QStringLiteral("#,##0") + fraction;
    default: return QString();
    }
}

bool ParseNumberText(QStringView Text, QChar DecSep, QChar ThSep, QByteArray &Value)
{
    // Every character written stands for one read, so the text's length is room enough:
    // the characters go straight into the buffer, which is cut to its length at the end.
    const qsizetype n = Text.size();
    Value.resize(n);
    char *const start = Value.data();
    char *out = start;
    auto put = [&out](char c) { *out++ = c; };
    auto fail = [&Value] {
        Value.resize(0);
        return false;
    };
    qsizetype i = 0;
    auto isDigit = [&](qsizetype at) { return at < n && Text[at] >= u'0' && Text[at] <= u'9'; };
    if (i < n && (Text[i] == u'+' || Text[i] == u'-')) {
        if (Text[i] == u'-')
            put('-');
        ++i;
    }
    // Whole part: digits, a thousands separator only between digits and before three of them.
    int digits = 0, group = -1;
    while (i < n) {
        if (isDigit(i)) {
            put(char(Text[i].unicode()));
            ++digits;
            if (group >= 0)
                ++group;
            ++i;
        } else if (Text[i] == ThSep && ThSep != DecSep && digits > 0 && (group < 0 || group == 3)) {
            if (group < 0 && digits > 3)
                return fail();
            group = 0;
            ++i;
        } else {
            break;
        }
    }
    if (group >= 0 && group != 3)
        return fail();
    if (i < n && Text[i] == DecSep) {
        put('.');
        ++i;
        while (isDigit(i)) {
            put(char(Text[i].unicode()));
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return fail();
    if (i < n && (Text[i] == u'e' || Text[i] == u'E')) {
        put('E');
        ++i;
        if (i < n && (Text[i] == u'+' || Text[i] == u'-'))
            put(char(Text[i++].unicode()));
        if (!isDigit(i))
            return fail();
        while (isDigit(i))
            put(char(Text[i++].unicode()));
    }
    if (i != n)
        return fail();
    Value.resize(out - start);
    return true;
}

int Palette::Add(int Rgb)
{
    int best = -1, bestDistance = 0;
    for (size_t k = 0; k < FEntries.size(); ++k) {
        const int d = ColorDistance(FEntries[k], Rgb);
        if (best < 0 || d < bestDistance) {
            best = int(k);
            bestDistance = d;
        }
    }
    if (best >= 0 && bestDistance == 0)
        return best;
    if (FEntries.size() < 56) {
        FEntries.push_back(Rgb);
        return int(FEntries.size()) - 1;
    }
    return best;
}

} // namespace xlsx
