#pragma once
// Number text as the report library reads and writes it.
#include <QChar>
#include <QString>

// Reads a number written with either ',' or '.' as decimal separator; blanks are ignored.
// Raises EConvertError on text that is not a number.
double kvlStrToFloat(const QString &Text);

// A whole number as plain digits, anything else with two decimals (the process's decimal separator).
QString kvlFloatToStr(double Value);

// Fixed-point text with exactly Prec decimals and the separator Sep, no thousands separator.
QString kvFloat2Str(double Value, int Prec, QChar Sep);
