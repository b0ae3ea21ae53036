#include "export/xlsx/xlsxoffice.h"

#include "export/office/kvlofficeopen.h"

namespace xlsx {

QString EscapeXml(const QString &S) { return EscapeXMLText(S); }
int ColorRgb(TColor Color) { return RGBSwap(Color); }
int ColorDistance(int A, int B) { return Distance(A, B); }
QString NewPackageFolder(const QString &TempDir) { return CreatePackageFolder(TempDir); }

void MakePackageDirs(const QString &Root)
{
    CreateDirs(Root, {QStringLiteral("xl"), QStringLiteral("xl/_rels"), QStringLiteral("_rels"),
                      QStringLiteral("xl/worksheets"), QStringLiteral("xl/worksheets/_rels"),
                      QStringLiteral("xl/drawings"), QStringLiteral("xl/drawings/_rels"),
                      QStringLiteral("xl/media"), QStringLiteral("docProps")});
}

} // namespace xlsx
