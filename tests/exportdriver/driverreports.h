#pragma once
// Prepared reports written into the real prepared-pages store by hand, as the engine writes
// them, for exports through the report's export driver.
#include "export/xlsx/xlsxexport.h"
#include "report/document/kvlreport.h"

#include <QString>
#include <QStringList>
#include <memory>

// Three pages of one data band: "Evento N"; "1.234,5N" under an Italian number format and
// "2,345.6N" under an English one; "Totale pagina N" in bold on yellow across the three
// columns; "Ruotato N" turned by 90 degrees and a blue picture under the English number.
struct ThreePageSheetReport {
    ThreePageSheetReport();
    // The texts of page N (from 1) as a spreadsheet shows them, numbers with two decimals.
    static QStringList PageTexts(int N);
    std::unique_ptr<TkvlReport> report;
};

// Records 1 .. Count on pages of PerPage data bands, one 20-pixel band per record, each a
// grid row of its own: "Riga N" and "N,25" under an Italian number format.
struct ManyRowReport {
    ManyRowReport(int Count, int PerPage);
    std::unique_ptr<TkvlReport> report;
};

// Twenty A4 pages, each with a framed memo in one of the twelve alignments with Italian
// accents, a memo turned by 0, 45, 90, 180 or 270 degrees, a shape (the seven kinds in
// turn), lines with arrow heads, a check box, a memo in a double frame, and on every fifth
// page a Hebrew line.
struct TwentyPageReport {
    static constexpr int kPages = 20;
    TwentyPageReport();
    // The texts of the memos of page N (from 1), in logical order.
    static QStringList PageTexts(int N);
    static QString HebrewText();
    std::unique_ptr<TkvlReport> report;
};

// An XLSX filter that writes FileName without its dialog or progress window.
std::unique_ptr<TkvlXLSXExport> QuietXlsxExport(const QString &FileName);
