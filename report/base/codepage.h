#pragma once
// Conversions between UTF-16 and 8-bit text in the code page of a font character set.
// Single-byte pages use built-in tables, multi-byte pages (932, 936, 949, 950, 1361) go
// through iconv; nothing here depends on or changes the process locale.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include "platform/rtl/exceptions.h"

LIRRA_DECLARE_EXCEPTION(ECodePageError, Exception)

// Code page of a character set: 0 and 1 give 1252 (the ANSI page), 2 (symbol) 42, 77 10000,
// 255 850, and the national sets their pages. An unknown set raises ECodePageError.
int CharSetToCodePage(int Charset);

// 8-bit text in CodePage (or, when CodePage is 0, in the page of Charset) to UTF-16.
QString AnsiToUnicode(const QByteArray &S, int Charset, int CodePage = 0);
// UTF-16 to 8-bit text the same way; characters the page lacks become '?'.
QByteArray UnicodeToAnsi(const QString &S, int Charset, int CodePage = 0);
// 8-bit text of the OEM page (850) to the ANSI page (1252).
QByteArray OemToStr(const QByteArray &S);
// Locale identifier for a character set; other sets give the locale of the system.
int GetLocalByCharSet(int Charset);

namespace cp {

constexpr int kAnsiCodePage = 1252;
constexpr int kOemCodePage = 850;

// True for the pages Decode/Encode know: the single-byte pages of the character sets,
// 42 (symbol), the multi-byte pages 932, 936, 949, 950, 1361 and 65001 (UTF-8).
bool IsSupported(int CodePage);
// Unknown pages give an empty result.
QString Decode(const char *Data, qsizetype Size, int CodePage);
inline QString Decode(const QByteArray &Bytes, int CodePage) { return Decode(Bytes.constData(), Bytes.size(), CodePage); }
QByteArray Encode(QStringView Text, int CodePage);

// The ANSI page, the common case of element names and old-form files.
QString FromAnsi(const char *Data, qsizetype Size);
// Appends Text in the ANSI page to Out.
void AppendAnsi(QByteArray &Out, QStringView Text);

} // namespace cp
