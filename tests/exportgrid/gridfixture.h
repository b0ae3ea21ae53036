#pragma once
// Hand-made prepared pages for the grid and the filters: views on report pages, fed in the
// export driver's order of calls.
#include "report/bands/kvlband.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TkvlCustomExportFilter;

void registerGridTestClassesOnce();

// Memos in Arial 10 without gaps, so that laid-out text is the text itself.
TkvlMemoView *NewMemo(TkvlComponent *Parent, double L, double T, double W, double H, const QString &Text);

struct HandMadePages {
    HandMadePages();
    ~HandMadePages();
    // A new page with one band covering it; views go onto the band.
    TkvlBand *AddPage();
    std::vector<std::unique_ptr<TkvlReportPage>> Pages;
};

// The driver's order: Start, then per page StartPage, the page background, each band and its
// views, FinishPage; Finish. Returns Start's answer (no Finish when it is false).
bool RunExport(TkvlCustomExportFilter &Filter, HandMadePages &Pages, bool FailBeforeFinish = false);

// Rows of a CSV file as /usr/bin/python3's csv module reads them.
QList<QStringList> PythonCsvRows(const QString &File, const QString &Encoding, const QString &Delimiter);
