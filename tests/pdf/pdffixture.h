#pragma once
// Reports of a few views on one A4 page, exported the way the export driver runs a filter,
// and the independent tools that read the result.
#include "export/pdf/pdfexport.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "tests/export/exporttestutil.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

struct PdfFixture : ::testing::Test {
    PdfFixture();
    ~PdfFixture() override;

    // A page of A4 with margins of 10 mm.
    TkvlReportPage *NewPage();
    TkvlMemoView *NewMemo(const QString &Text, double X, double Y, double W, double H, int Size = 10,
                          const QString &FontName = QStringLiteral("Arial"));
    // Start, then per page StartPage, ExportObject for each of its objects, FinishPage; Finish.
    // Pages[i] holds the objects of page i. Returns the file's bytes.
    QByteArray Export(const std::vector<std::pair<TkvlReportPage *, std::vector<TkvlComponent *>>> &Pages);
    // The content written for one page's objects (before it is compressed).
    QByteArray Content(TkvlReportPage *Page, const std::vector<TkvlComponent *> &Objects);
    // The file written to disk for the command-line tools.
    QString Save(const QByteArray &Pdf, const QString &Name = QStringLiteral("t.pdf"));

    std::unique_ptr<TkvlReport> report;
    std::unique_ptr<TkvlPDFExport> filter;
    QString dir;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Tool output (stdout); empty when the tool is missing or fails.
QByteArray RunTool(const QString &Program, const QStringList &Args);
