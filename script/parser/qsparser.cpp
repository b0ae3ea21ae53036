#include "script/parser/qsparser.h"

#include <algorithm>

namespace {

bool isDigit(char16_t c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char16_t c)
{
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char16_t c)
{
    if (isDigit(c))
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

bool isPunctuation(char16_t c)
{
    return c > ' ' && c < 127 && !isDigit(c) && !((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

void appendCode(QString &out, uint code)
{
    if (code > 0x10FFFF)
        out += QChar(QChar::ReplacementCharacter);
    else if (code > 0xFFFF) {
        out += QChar(QChar::highSurrogate(code));
        out += QChar(QChar::lowSurrogate(code));
    } else
        out += QChar(char16_t(code));
}

// Adds a digit to a character code, saturating beyond the last character.
uint addDigit(uint code, uint base, uint digit)
{
    return code > 0x10FFFF ? code : code * base + digit;
}

} // namespace

TqsParser::TqsParser()
{
    Reset();
    SetText(QString());
}

void TqsParser::Clear()
{
    FKeywords.clear();
    SpecStrChar = false;
    CommentLine1 = QStringLiteral("//");
    SetCommentBlock1(QStringLiteral("{,}"));
    SetCommentBlock2(QStringLiteral("(*,*)"));
    HexSequence = QStringLiteral("$");
    ConstructCharset(QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz"));
    SkipChar.clear();
    SkipEOL = true;
    StringQuotes = QStringLiteral("'");
    SkipSpace = true;
}

void TqsParser::Reset()
{
    Clear();
    CommentLine2.clear();
    CaseSensitive = false;
}

void TqsParser::SetCommentBlock1(const QString &value)
{
    FCommentBlock1 = value;
    const QStringList parts = value.split(QLatin1Char(','));
    FCommentBlock11 = parts.value(0);
    FCommentBlock12 = parts.value(1);
}

void TqsParser::SetCommentBlock2(const QString &value)
{
    FCommentBlock2 = value;
    const QStringList parts = value.split(QLatin1Char(','));
    FCommentBlock21 = parts.value(0);
    FCommentBlock22 = parts.value(1);
}

void TqsParser::ConstructCharset(const QString &chars)
{
    std::fill(std::begin(FIdent), std::end(FIdent), 0);
    for (QChar c : chars)
        AddIdentChar(c.unicode() & 0xFF);
}

void TqsParser::AddIdentChar(int c)
{
    if (c >= 0 && c < 256)
        FIdent[c >> 6] |= uint64_t(1) << (c & 63);
}

void TqsParser::AddKeyword(const QString &word)
{
    auto less = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    const auto it = std::lower_bound(FKeywords.begin(), FKeywords.end(), word, less);
    FKeywords.insert(it, word);
}

bool TqsParser::IsKeyWord(QStringView s) const
{
    if (CaseSensitive) {
        for (const QString &k : FKeywords)
            if (s == k)
                return true;
        return false;
    }
    qsizetype lo = 0, hi = FKeywords.size() - 1;
    while (lo <= hi) {
        const qsizetype mid = (lo + hi) / 2;
        const int c = s.compare(FKeywords[mid], Qt::CaseInsensitive);
        if (c == 0)
            return true;
        if (c < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return false;
}

void TqsParser::SetText(const QString &value)
{
    FText = value;
    FText += QChar(0);
    FData = reinterpret_cast<const char16_t *>(FText.constData());
    FSize = int(value.size());
    FPosition = FLastPosition = 1;
    FOpenComment = 0;
    FYList.clear();
    if (UseY) {
        FYList.push_back(0);
        for (int i = 0; i < FSize; ++i)
            if (FData[i] == '\n')
                FYList.push_back(i + 1);
    }
}

bool TqsParser::MatchAt(int pos, QStringView s) const
{
    if (s.isEmpty() || At(pos) != s[0].unicode() || pos + s.size() - 1 > FSize)
        return false;
    return QStringView(FData + pos - 1, s.size()) == s;
}

// A line-comment opener made of identifier characters (a word such as "rem") opens a
// comment only as a whole word, in any letter case; other openers match exactly.
bool TqsParser::LineCommentAt(int pos, const QString &opener) const
{
    if (opener.isEmpty() || pos + opener.size() - 1 > FSize)
        return false;
    const char16_t first = opener[0].unicode();
    const char16_t here = At(pos);
    if (here != first && !(first < 128 && here < 128 && (here | 0x20) == (first | 0x20) && (first | 0x20) >= 'a'
                           && (first | 0x20) <= 'z'))
        return false;
    if (!(IsIdentChar(first) || first >= 127))
        return MatchAt(pos, opener);
    if (QStringView(FData + pos - 1, opener.size()).compare(opener, Qt::CaseInsensitive) != 0)
        return false;
    const char16_t next = At(pos + int(opener.size()));
    return !(IsIdentChar(next) || next >= 127);
}

void TqsParser::SkipSpaces()
{
    const char16_t cont = SkipChar.isEmpty() ? 0 : SkipChar[0].unicode();
    bool pendingEol = false;
    for (;;) {
        while (FPosition <= FSize) {
            const char16_t c = At(FPosition);
            if (c > ' ' || (c == '\r' && !SkipEOL))
                break;
            ++FPosition;
        }
        if (cont && FPosition <= FSize && At(FPosition) == cont) {
            // A continuation character joins the next line; anywhere else it is dropped.
            ++FPosition;
            pendingEol = true;
            continue;
        }
        if (FPosition < FSize) {
            const bool lc1 = LineCommentAt(FPosition, CommentLine1);
            if (lc1 || LineCommentAt(FPosition, CommentLine2)) {
                const bool startsLine = FPosition == 1 || At(FPosition - 1) == '\n';
                const bool keepEol = !SkipEOL && !startsLine;
                while (FPosition <= FSize) {
                    const char16_t c = At(FPosition);
                    if (c == '\n' || (keepEol && c == '\r'))
                        break;
                    ++FPosition;
                }
                continue;
            }
            const QString *closer = nullptr;
            int openLen = 0;
            if (MatchAt(FPosition, FCommentBlock11)) {
                closer = &FCommentBlock12;
                openLen = int(FCommentBlock11.size());
            } else if (MatchAt(FPosition, FCommentBlock21)) {
                closer = &FCommentBlock22;
                openLen = int(FCommentBlock21.size());
            }
            if (closer) {
                const int opener = FPosition;
                FPosition += openLen;
                if (!closer->isEmpty())
                    while (FPosition <= FSize && !MatchAt(FPosition, *closer))
                        ++FPosition;
                if (FPosition <= FSize && !closer->isEmpty())
                    FPosition += int(closer->size());
                else {
                    FPosition = FSize + 1; // unterminated: the comment runs to the end
                    FOpenComment = opener;
                }
                continue;
            }
        }
        if (pendingEol) {
            pendingEol = false;
            if (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n')) {
                while (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n'))
                    ++FPosition;
                continue;
            }
        }
        break;
    }
    FLastPosition = FPosition;
}

bool TqsParser::GetEOL()
{
    SkipSpaces();
    if (FPosition > FSize || (At(FPosition) != '\r' && At(FPosition) != '\n'))
        return false;
    while (FPosition <= FSize && (At(FPosition) == '\r' || At(FPosition) == '\n'))
        ++FPosition;
    return true;
}

QStringView TqsParser::GetWordView()
{
    if (SkipSpace)
        SkipSpaces();
    else
        FLastPosition = FPosition;
    const int start = FPosition;
    if (start > FSize)
        return {};
    const char16_t first = At(start);
    if (!((IsIdentChar(first) && !isDigit(first)) || first >= 127))
        return {};
    int p = start + 1;
    while (p <= FSize && (IsIdentChar(At(p)) || At(p) >= 127))
        ++p;
    FPosition = p;
    return QStringView(FData + start - 1, p - start);
}

QStringView TqsParser::GetIdentView()
{
    const QStringView w = GetWordView();
    if (!w.isEmpty() && IsKeyWord(w))
        return {};
    return w;
}

QStringView TqsParser::GetCharView()
{
    if (FPosition > FSize || !isPunctuation(At(FPosition)))
        return {};
    ++FPosition;
    return QStringView(FData + FPosition - 2, 1);
}

QString TqsParser::GetString()
{
    if (SkipSpace)
        SkipSpaces();
    const char16_t quote = StringQuotes.isEmpty() ? 0 : StringQuotes[0].unicode();
    QString text;
    bool any = false;
    int p = FPosition;
    for (;;) {
        const char16_t c = At(p);
        if (quote && c == quote && p <= FSize) {
            const qsizetype mark = text.size();
            int i = p + 1;
            bool closed = false;
            while (i <= FSize) {
                char16_t ch = At(i);
                if (ch < 32 && ch != '\t')
                    break;
                if (SpecStrChar && ch == '\\') {
                    const char16_t e = At(i + 1);
                    if ((e < 32 && e != '\t') || i + 1 > FSize)
                        break; // never past a line end or the end of the text
                    i += 2;
                    if (e == 'n' || e == 'N')
                        text += QChar('\n');
                    else if (e == 'r' || e == 'R')
                        text += QChar('\r');
                    else if (e == 'x' || e == 'X') {
                        uint code = 0;
                        bool digits = false;
                        while (i <= FSize && isHexDigit(At(i))) {
                            code = addDigit(code, 16, hexValue(At(i)));
                            digits = true;
                            ++i;
                        }
                        if (digits)
                            appendCode(text, code);
                    } else
                        text += QChar(e);
                    continue;
                }
                if (ch == quote) {
                    if (!SpecStrChar && i + 1 <= FSize && At(i + 1) == quote) {
                        text += QChar(quote);
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                text += QChar(ch);
                ++i;
            }
            if (!closed) {
                text.truncate(mark);
                break;
            }
            p = i;
            any = true;
            continue;
        }
        if (c == '#' && p <= FSize) {
            int i = p + 1;
            uint code = 0;
            bool digits = false;
            if (MatchAt(i, HexSequence)) {
                i += int(HexSequence.size());
                while (i <= FSize && isHexDigit(At(i))) {
                    code = addDigit(code, 16, hexValue(At(i)));
                    digits = true;
                    ++i;
                }
            } else {
                while (i <= FSize && isDigit(At(i))) {
                    code = addDigit(code, 10, At(i) - '0');
                    digits = true;
                    ++i;
                }
            }
            if (!digits)
                break;
            appendCode(text, code);
            p = i;
            any = true;
            continue;
        }
        break;
    }
    if (!any)
        return QString();
    FPosition = p;
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

bool TqsParser::ReadUInt(int &pos) const
{
    int p = pos;
    if (MatchAt(p, HexSequence)) {
        p += int(HexSequence.size());
        const int start = p;
        while (p <= FSize && isHexDigit(At(p)))
            ++p;
        if (p == start)
            return false;
    } else {
        const int start = p;
        while (p <= FSize && isDigit(At(p)))
            ++p;
        if (p == start)
            return false;
    }
    pos = p;
    return true;
}

QString TqsParser::GetNumber()
{
    if (SkipSpace)
        SkipSpaces();
    int p = FPosition;
    if (!ReadUInt(p))
        return QString();
    // A real: the point needs a digit after it, else the token is the integer alone
    // (so a range of two integers keeps its two points).
    bool real = true;
    if (At(p) == '.' && p <= FSize) {
        if (isDigit(At(p + 1))) {
            p += 2;
            while (p <= FSize && isDigit(At(p)))
                ++p;
        } else
            real = false;
    }
    if (real && p <= FSize && (At(p) == 'E' || At(p) == 'e')) {
        int q = p + 1;
        if (At(q) == '+' || At(q) == '-')
            ++q;
        if (isDigit(At(q))) {
            while (q <= FSize && isDigit(At(q)))
                ++q;
            p = q;
        }
    }
    QString token(reinterpret_cast<const QChar *>(FData + FPosition - 1), p - FPosition);
    FPosition = p;
    if (HexSequence != QLatin1String("$") && !HexSequence.isEmpty())
        token.replace(HexSequence, QStringLiteral("$"));
    return token;
}

QString TqsParser::GetFRString()
{
    const int start = FPosition;
    int p = FPosition;
    int level = 1;
    bool inSingle = false, inDouble = false;
    while (p <= FSize) {
        const char16_t c = At(p);
        if (inDouble) {
            if (c == '"')
                inDouble = false;
        } else if (inSingle) {
            if (c == '\'')
                inSingle = false;
        } else if (c == '<' || c == '[') {
            ++level;
        } else if (c == '>' || c == ']') {
            if (--level == 0)
                break;
        } else if (c == '"') {
            inDouble = true;
        } else if (c == '\'') {
            inSingle = true;
        }
        ++p;
    }
    FPosition = p;
    return QString(reinterpret_cast<const QChar *>(FData + start - 1), p - start);
}

void TqsParser::XYAt(int position, int &line, int &column) const
{
    if (FYList.empty()) {
        line = 1;
        column = position;
        return;
    }
    // Last line whose 0-based start lies before the 1-based position.
    const auto it = std::lower_bound(FYList.begin(), FYList.end(), position);
    const qsizetype idx = std::max<qsizetype>(0, (it - FYList.begin()) - 1);
    line = int(idx) + 1;
    column = position - FYList[idx];
}

QString TqsParser::GetXYPosition() const
{
    int l, c;
    GetXY(l, c);
    return QString::number(l) + QLatin1Char(':') + QString::number(c);
}

int TqsParser::GetPlainPosition(QPoint p) const
{
    if (p.y() <= 0 || p.y() > int(FYList.size()))
        return -1;
    return p.x() + FYList[p.y() - 1];
}
