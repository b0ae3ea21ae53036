#pragma once
// Escaping of attribute values in the library's XML files.
#include <QString>

// Escapes NUL, LF, CR, '"', '&', '<' and '>' as decimal character references; an "&quot;"
// already in the text is taken as escaped and written as "&#34;".
QString kvlStrToXML(const QString &S);
// Resolves decimal character references and &quot; &amp; &lt; &gt;. A reference that is not
// well formed (no digits, no ';', beyond U+10FFFF) stays as text.
QString kvlXMLToStr(const QString &S);

// The bytes the files hold for a text: UTF-8, with a lone surrogate (which UTF-8 cannot
// carry) written as U+FFFD.
qsizetype kvlUtf8Size(QStringView S);
// Writes them at To, which has room for kvlUtf8Size(S) bytes; returns the end.
char *kvlToUtf8(QStringView S, char *To);

class Variant;
// A value as attribute text: integers in decimal, floats in the general format and dates in
// the short date format of the current format settings, Booleans as "1"/"0", strings
// escaped; anything else (Empty, Null, objects) as the empty text.
QString kvlValueToXML(const Variant &V);
