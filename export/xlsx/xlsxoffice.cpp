#include "export/xlsx/xlsxoffice.h"

#include "export/office/kvlofficeopen.h"

namespace xlsx {

QString EscapeXml(const QString &S) { return EscapeXMLText(S); }
int ColorRgb(TColor Color) { return RGBSwap(Color); }
int ColorDistance(int A, int B) { return Distance(A, B); }
QString NewPackageFolder(const QString &TempDir) { return CreatePackageFolder(TempDir); }

void MakeMediaDir(const QString &Root) { CreateDirs(Root, {QStringLiteral("xl"), QStringLiteral("xl/media")}); }

} // namespace xlsx
