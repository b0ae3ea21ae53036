#pragma once
// Small text routines shared by the report library: character replacement, delimited lists,
// page ranges and bracketed expressions.
#include <QChar>
#include <QString>
#include <QStringList>

// Every FromChar replaced by ToChar.
QString ChangeChars(const QString &Str, QChar FromChar, QChar ToChar);

// Paths are kept as they are: '/' is the separator of this system, and turning it into '\'
// would break the path.
QString kvlUnixPath2WinPath(const QString &Path);

// Cuts Text at Delimiter into non-empty pieces. A text without a delimiter gives no pieces
// (callers test for the delimiter first); a final delimiter stays in the last piece.
void kvlParseDilimitedText(QStringList &List, const QString &Text, QChar Delimiter);

// Cuts Text at every Comma, empty pieces included; a final Comma adds no empty line. No quoting.
void kvlSetCommaText(const QString &Text, QStringList &List, QChar Comma);

// Expands a page list such as "1,3-5,8-" into page numbers as decimal text, in the order
// written. A trailing range runs to Total, and no range runs past Total. Raises
// EConvertError when a piece is not a number.
void kvlParsePageNumbers(const QString &PageNumbers, QStringList &List, int Total);

// The expression between the opening delimiter at position i (1-based) and its matching
// closing delimiter; nested delimiters are counted and delimiters inside single- or
// double-quoted text are ignored. When a match is found, j is the position of the closing
// delimiter's last character and *closed (when given) is true. Without an opening delimiter
// at i, or without a matching closing one, the result is empty, j = i and *closed is false,
// so the caller leaves the text alone.
QString kvlGetBrackedVariableW(const QString &Str, const QString &OpenBracket, const QString &CloseBracket,
                               int &i, int &j, bool *closed = nullptr);
