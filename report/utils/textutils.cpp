#include "report/utils/textutils.h"

#include "platform/rtl/format.h"

#include <algorithm>

QString ChangeChars(const QString &Str, QChar FromChar, QChar ToChar)
{
    QString s = Str;
    s.replace(FromChar, ToChar);
    return s;
}

QString kvlUnixPath2WinPath(const QString &Path) { return Path; }

void kvlParseDilimitedText(QStringList &List, const QString &Text, QChar Delimiter)
{
    List.clear();
    const qsizetype n = Text.size();
    if (n == 0 || (n == 1 && Text[0] == Delimiter))
        return;
    qsizetype from = 0; // start of the current piece (0-based)
    for (qsizetype i = 0; i < n; ++i) {
        if (i == n - 1) {
            if (!List.isEmpty() || (Text[i] == Delimiter && i > from))
                List.append(Text.mid(from));
        } else if (Text[i] == Delimiter) {
            if (i > from)
                List.append(Text.mid(from, i - from));
            from = i + 1;
        }
    }
}

void kvlSetCommaText(const QString &Text, QStringList &List, QChar Comma)
{
    List.clear();
    if (Text.isEmpty())
        return;
    List = Text.split(Comma);
    if (Text.endsWith(Comma))
        List.removeLast();
}

void kvlParsePageNumbers(const QString &PageNumbers, QStringList &List, int Total)
{
    List.clear();
    QString s = PageNumbers;
    s.remove(u' ');
    if (s.isEmpty())
        return;
    if (s.endsWith(u'-'))
        s += QString::number(Total);
    s += u',';

    QString piece;
    bool inRange = false;
    int first = 0;
    for (QChar c : std::as_const(s)) {
        if (c == u'-') {
            first = rtl::StrToInt(piece);
            inRange = true;
            piece.clear();
        } else if (c == u',') {
            const int last = rtl::StrToInt(piece);
            if (inRange) {
                // Clamped so that a range like 1-999999999 cannot outgrow the report.
                const int end = std::min(last, Total);
                for (int p = first; p <= end; ++p)
                    List.append(QString::number(p));
            } else {
                List.append(QString::number(last));
            }
            inRange = false;
            piece.clear();
        } else {
            piece += c;
        }
    }
}

QString kvlGetBrackedVariableW(const QString &Str, const QString &OpenBracket, const QString &CloseBracket,
                               int &i, int &j, bool *closed)
{
    j = i;
    if (closed)
        *closed = false;
    const int n = int(Str.size());
    if (n == 0 || i < 1 || i > n || OpenBracket.isEmpty() || CloseBracket.isEmpty())
        return QString();

    int depth = 0;
    bool inDouble = false;
    bool inSingle = false;
    int k = i;
    for (; k <= n; ++k) {
        const QStringView rest = QStringView(Str).mid(k - 1);
        if (!inDouble && !inSingle) {
            if (rest.startsWith(OpenBracket))
                ++depth;
            else if (rest.startsWith(CloseBracket))
                --depth;
        }
        const QChar c = Str[k - 1];
        if (c == u'"' && !inSingle)
            inDouble = !inDouble;
        else if (c == u'\'' && !inDouble)
            inSingle = !inSingle;
        if (depth == 0)
            break;
    }
    if (depth != 0 || k == i)
        return QString(); // no opening delimiter at i, or no matching closing one

    const int start = i + int(OpenBracket.size()); // 1-based first character of the content
    const QString result = Str.mid(start - 1, k - start);
    j = k + int(CloseBracket.size()) - 1;
    if (closed)
        *closed = true;
    return result;
}
