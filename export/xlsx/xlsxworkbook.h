#pragma once
// The parts of a spreadsheet package: worksheets from the export grid (cells, merged ranges,
// drawings and their pictures, page set-up, row breaks), and at the end the workbook, its
// styles, shared strings, relationships and properties. The XML parts are kept in memory for
// the ZIP; pictures are written as files into the package folder's "xl/media".
#include "export/picture/kvlimageconverter.h"
#include "export/xlsx/xlsxrules.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <map>
#include <set>
#include <vector>

class TkvlIEMatrix;
class TkvlIEMStyle;

// One worksheet: grid rows FirstRow .. LastRow, page set-up in millimetres.
struct TkvlXLSXSheetRange {
    int FirstRow = 0, LastRow = -1;
    int Index = 1;  // worksheet number, from 1
    double LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    int PaperSize = 0;
    bool Landscape = false;
    bool RowBreaks = false;  // page ends of the grid become row breaks
};

class TkvlXLSXWorkbook {
public:
    // TempDir: where the package folder for the pictures is made, with the first picture
    // (empty for the system's temporary folder).
    TkvlXLSXWorkbook(const QString &TempDir, TkvlPictureType PictureType);
    // The package folder, ending in '/'; empty while no picture was written.
    const QString &Folder() const { return FFolder; }

    // Writes one worksheet of the prepared grid. Raises when the sheet exceeds the
    // spreadsheet's rows or columns, or a part cannot be written.
    void AddSheet(TkvlIEMatrix &Grid, const TkvlXLSXSheetRange &Range);
    int SheetCount() const { return int(FSheets.size()); }
    // Writes the package-level parts; Author goes into the core properties.
    void Finish(const QString &Author);
    // The XML parts written so far, by name within the package, in name order.
    const std::map<QString, QByteArray> &Parts() const { return FParts; }

    // The shared-string index of a memo text (lines ending in CR LF).
    int AddString(const QString &S);
    // The number-format id of a code: 0 for the empty (general) code, else one id per code.
    int NumberFormatId(const QString &Code);
    const xlsx::Palette &Colors() const { return FPalette; }

private:
    int CellXf(const TkvlIEMStyle &Style, int NumFmtId);
    void WriteDrawing(TkvlIEMatrix &Grid, const TkvlXLSXSheetRange &Range, const std::vector<int> &Pictures);
    void WritePart(const QString &Name, const QByteArray &Bytes);
    void EnsureFixedStyles();

    // Elements of a style table, each present once; its index is its id.
    struct Table {
        QStringList Items;
        QHash<QString, int> Index;
        int Add(const QString &S);
    };

    QString FTempDir, FFolder;
    std::map<QString, QByteArray> FParts;
    TkvlPictureType FPictureType;
    Table FFonts, FFills, FBorders, FCellXfs;
    Table FStrings;                   // escaped texts, in order; looked up in FStringIds
    QHash<QString, int> FStringIds;   // the cleaned texts
    QString FClean;
    QStringList FNumFmts;
    QHash<QString, int> FNumFmtIds;
    xlsx::Palette FPalette;
    std::vector<int> FSheets;
    std::set<QString> FMediaExtensions;
    std::vector<int> FDrawings;
    bool FFixedStyles = false;
    QByteArray FCell, FNumber;
};
