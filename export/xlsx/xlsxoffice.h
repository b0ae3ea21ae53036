#pragma once
// The package utilities the spreadsheet writer uses, behind a header of its own: the
// utilities' header and the grid's cannot share one translation unit.
#include "platform/rtl/color.h"

#include <QString>

namespace xlsx {

// Text for an XML attribute or element: escaped, without the characters XML forbids.
QString EscapeXml(const QString &S);
// 0xRRGGBB of a colour, system colours resolved.
int ColorRgb(TColor Color);
int ColorDistance(int A, int B);
// A new private folder for the package's parts, ending in '/'; raises when it cannot be made.
QString NewPackageFolder(const QString &TempDir);
// Makes the package's folder of pictures ("xl/media"); raises when it cannot be made.
void MakeMediaDir(const QString &Root);

} // namespace xlsx
