#pragma once
// Comma-separated text: every page is laid into a grid, every grid row becomes one line in
// which each grid object gives its text once, in the cell where it starts.
#include "export/common/exportoutput.h"
#include "report/seams/kvlexportfilter.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

class TkvlIEMatrix;

class TkvlCSVExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TkvlCSVExport, TkvlCustomExportFilter)
public:
    explicit TkvlCSVExport(TComponent *AOwner);
    ~TkvlCSVExport() override;

    QString Separator;  // the system's list separator by default
    bool OEMCodepage = false;
    bool UTF8 = false;
    bool NoSysSymbols = true;
    bool ForcedQuotes = false;
    bool OpenAfterExport = false;

    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(TkvlPage *Page, int Index) override;
    void ExportObject(TkvlComponent *Obj) override;
    void FinishPage(TkvlPage *Page, int Index) override;
    void Finish() override;

    // The grid of the page in progress (between Start and Finish).
    TkvlIEMatrix *Matrix() const { return FMatrix.get(); }
    // Text (one cell's value, already in the output encoding) as it is written, appended to
    // Out: system characters dropped on request, quoted when it holds the separator, a quote
    // or a control character, and followed by Sep.
    static void PrepareString(QByteArray &Out, QByteArrayView Text, QByteArrayView Sep, bool NoSysSymbols,
                              bool ForcedQuotes);
    // Text in the output encoding: UTF-8, or the ANSI page (then OEM page on request).
    void Encode(QByteArray &Out, QStringView Text) const;

private:
    void ExportPage(TStream &Out);

    std::unique_ptr<TkvlIEMatrix> FMatrix;
    TkvlExportOutput FOutput;
    QByteArray FValueSep, FCellSep, FRow, FText;
};

// Start-up: the filter class enters the class registry.
void kvlRegisterCSVExportClasses();
