#pragma once
// Spreadsheet package export: every page is laid into the export grid; grid rows and
// columns become worksheet rows and columns, grid objects cells or merged ranges, number
// memos number cells and pictures drawings. All pages on one sheet, a sheet per page, or
// sheets of ChunkSize rows.
#include "export/common/exportoutput.h"
#include "export/picture/kvlimageconverter.h"
#include "report/seams/kvlexportfilter.h"

#include <memory>

class TkvlIEMatrix;
class TkvlXLSXWorkbook;

class TkvlXLSXExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TkvlXLSXExport, TkvlCustomExportFilter)
public:
    explicit TkvlXLSXExport(TComponent *AOwner);
    ~TkvlXLSXExport() override;

    int ChunkSize = 0;          // grid rows per worksheet when SingleSheet is off; 0 a sheet per page
    bool EmptyLines = true;     // off: continuous output, empty rows removed
    bool ExportPageBreaks = true;
    bool OpenAfterExport = false;
    TkvlPictureType PictureType = gpPNG;
    bool SingleSheet = true;
    bool Wysiwyg = true;

    TModalResult ShowModal() override;
    bool Start() override;
    void ExportObject(TkvlComponent *Obj) override;
    void FinishPage(TkvlPage *Page, int Index) override;
    void Finish() override;

    TkvlIEMatrix *Matrix() const { return FMatrix.get(); }

private:
    struct PageSetup;
    void WriteSheets(int FirstRow, int LastRow, int Index, bool RowBreaks);
    void Fail(const QString &Message);
    void Cleanup();

    std::unique_ptr<TkvlIEMatrix> FMatrix;
    std::unique_ptr<TkvlXLSXWorkbook> FBook;
    std::unique_ptr<PageSetup> FLastPage;
    TkvlExportOutput FOutput;
    QString FError;
};

// Start-up: the filter class enters the class registry.
void kvlRegisterXLSXExportClasses();
