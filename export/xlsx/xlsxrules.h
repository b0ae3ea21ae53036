#pragma once
// Small conversions of the spreadsheet writer: cell references, number-format codes, the
// number test of cell texts and the palette.
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <vector>

namespace xlsx {

constexpr int kMaxColumns = 16384;
constexpr int kMaxRows = 1048576;

// Column letters ("A" .. "XFD") followed by Row + 1; Col must be below kMaxColumns.
void AppendA1(QByteArray &Out, int Col, int Row);
QByteArray A1(int Col, int Row);

// The spreadsheet number-format code for a display format string ("%2.2f" -> "0.00");
// empty for the general format.
QString ConvertFormat(const QString &Format);
// S with only spaces, '#', ',', '.' and '0' kept.
QString ClearFormat(const QString &S);

// True when Text is a number written with DecSep and ThSep: an optional sign, digits (in
// groups of three after each thousands separator), at most one decimal separator, and an
// optional exponent with digits. On success Value holds it in the form "-1234.5E3".
bool ParseNumberText(QStringView Text, QChar DecSep, QChar ThSep, QByteArray &Value);

// The indexed palette: at most 56 RGB values (0xRRGGBB).
class Palette {
public:
    // The index of Rgb, of the nearest entry once the palette is full.
    int Add(int Rgb);
    const std::vector<int> &Entries() const { return FEntries; }
    void Clear() { FEntries.clear(); }

private:
    std::vector<int> FEntries;
};

} // namespace xlsx
