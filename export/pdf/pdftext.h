#pragma once
// Pieces of PDF syntax appended to a growing byte buffer: numbers with two decimals written
// without locale or temporary strings, names, text strings and glyph codes.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace pdf {

// v with exactly two decimals, "." and no thousands separator ("-1.50", "0.00"); a value
// that is not finite is written as 0.
void appendNum(QByteArray &out, double v);
void appendInt(QByteArray &out, long long v);
// Four upper-case hexadecimal digits.
void appendHex4(QByteArray &out, unsigned v);
// "<FEFF" and four digits per UTF-16 unit, ">".
void appendTextString(QByteArray &out, QStringView text);
// A name's characters (without the leading "/"): UTF-8, "#" and every byte outside "!".."~"
// or a delimiter written as "#" and two upper-case hexadecimal digits.
void appendNameChars(QByteArray &out, QStringView name);

// "D:YYYYMMDDHHmmSS+HH'mm'": the instant with its offset from UTC.
QByteArray dateString(const QDateTime &When);
// "YYYY-MM-DDTHH:mm:SS+HH:mm", the same instant and offset as XMP writes them.
QByteArray xmpDateString(const QDateTime &When);

// Fluent writer over one buffer: w << "text" << num(1.5) << ln.
struct Num { double v; };
struct Int { long long v; };
inline Num num(double v) { return {v}; }
inline Int integer(long long v) { return {v}; }
struct Ln {};
inline constexpr Ln ln{};

class Writer {
public:
    explicit Writer(QByteArray &buffer) : b(buffer) {}
    Writer &operator<<(const char *s) { b.append(s); return *this; }
    Writer &operator<<(const QByteArray &s) { b.append(s); return *this; }
    Writer &operator<<(char c) { b.append(c); return *this; }
    Writer &operator<<(Num n) { appendNum(b, n.v); return *this; }
    Writer &operator<<(Int n) { appendInt(b, n.v); return *this; }
    Writer &operator<<(Ln) { b.append("\r\n", 2); return *this; }
    QByteArray &buffer() { return b; }

private:
    QByteArray &b;
};

} // namespace pdf
