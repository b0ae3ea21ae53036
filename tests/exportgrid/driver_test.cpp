// A prepared report exported through the report's export driver into the CSV and DOCX filters,
// and the files read back by Python (csv, python-docx).
#include "export/csv/csvexport.h"
#include "export/docx/docxexport.h"
#include "export/pdf/pdfexport.h"
#include "export/xlsx/xlsxexport.h"
#include "tests/engine/preparedfixture.h"
#include "tests/exportgrid/gridfixture.h"

#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Three prepared pages: a page header "Elenco" across two columns, a data row "dN" and
// "Evento N" (with a memo hidden from export beside them), a page footer "Pagina N di
// [TOTALPAGES#]" across both columns; the bands follow each other without gaps.
struct ThreePages {
    ThreePages()
    {
        preparedtest::registerOnce();
        report = std::make_unique<TkvlReport>(nullptr);
        report->EngineOptions()->NewSilentMode = simSilent;
        report->EngineOptions()->EnableThreadSafe = true;
        auto *page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetPaperSize(9);
        page->LeftMargin = page->TopMargin = 10;
        auto *header = new TkvlPageHeader(page);
        header->SetName(QStringLiteral("H"));
        header->SetBounds(0, 0, 600, 20);
        preparedtest::newMemo(header, QStringLiteral("Hdr"), 0, 0, 500, 20, QStringLiteral("Elenco"));
        auto *data = new TkvlMasterData(page);
        data->SetName(QStringLiteral("D"));
        data->SetBounds(0, 20, 600, 20);
        auto *day = preparedtest::newMemo(data, QStringLiteral("Day"), 0, 0, 200, 20);
        auto *event = preparedtest::newMemo(data, QStringLiteral("Event"), 200, 0, 300, 20);
        auto *hidden = preparedtest::newMemo(data, QStringLiteral("Hidden"), 500, 0, 100, 20, QStringLiteral("no"));
        hidden->Visibility = kvlBit(vsPreview) | kvlBit(vsPrint);
        auto *footer = new TkvlPageFooter(page);
        footer->SetName(QStringLiteral("F"));
        footer->SetBounds(0, 40, 600, 20);
        auto *foot = preparedtest::newMemo(footer, QStringLiteral("Ftr"), 0, 0, 500, 20);
        for (TkvlMemoView *m : {day, event, foot}) {
            m->Font()->SetName(QStringLiteral("Arial"));
            m->GapX = m->GapY = 0;
        }
        auto *store = static_cast<TkvlPreviewPages *>(report->PreviewPages());
        store->Initialize();
        store->BeginPass();
        store->AddSourcePage(page);
        for (int n = 1; n <= 3; ++n) {
            store->AddPage(page);
            day->SetText(QStringLiteral("d%1").arg(n));
            event->SetText(QStringLiteral("Evento %1").arg(n));
            foot->SetText(QStringLiteral("Pagina %1 di [TOTALPAGES#]").arg(n));
            store->AddObject(header);
            store->AddObject(data);
            store->AddObject(footer);
        }
        store->Finish();
    }
    std::unique_ptr<TkvlReport> report;
};

// The non-empty cell texts of each table of a word-processing file, a merged cell once.
QList<QStringList> PythonDocxTables(const QString &File)
{
    const QString script = QStringLiteral(
        "import docx, json, sys\n"
        "tables = []\n"
        "for t in docx.Document(sys.argv[1]).tables:\n"
        "    seen, texts = [], []\n"
        "    for row in t.rows:\n"
        "        for c in row.cells:\n"
        "            if any(tc is c._tc for tc in seen): continue\n"
        "            seen.append(c._tc)\n"
        "            if c.text: texts.append(c.text)\n"
        "    tables.append(texts)\n"
        "print(json.dumps(tables))\n");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, File});
    p.waitForFinished(60000);
    QList<QStringList> tables;
    for (const auto &t : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList texts;
        for (const auto &c : t.toArray())
            texts << c.toString();
        tables << texts;
    }
    if (p.exitCode() != 0)
        tables << QStringList{QStringLiteral("python failed:"), QString::fromUtf8(p.readAllStandardError())};
    return tables;
}

// Runs a Python script on File; its standard output, or what went wrong.
QByteArray RunPython(const QString &Script, const QString &File)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), Script, File});
    p.waitForFinished(60000);
    if (p.exitCode() != 0)
        return "python failed: " + p.readAllStandardError();
    return p.readAllStandardOutput();
}

// The non-empty cell values of each non-empty row of every worksheet, as openpyxl reads them.
QList<QStringList> OpenpyxlRows(const QString &File)
{
    const QByteArray out = RunPython(QStringLiteral("import openpyxl, json, sys\n"
                                                    "rows = []\n"
                                                    "for ws in openpyxl.load_workbook(sys.argv[1]).worksheets:\n"
                                                    "    for r in ws.iter_rows(values_only=True):\n"
                                                    "        v = [str(c) for c in r if c is not None and str(c) != '']\n"
                                                    "        if v: rows.append(v)\n"
                                                    "print(json.dumps(rows))\n"),
                                     File);
    QList<QStringList> rows;
    for (const auto &r : QJsonDocument::fromJson(out).array()) {
        QStringList values;
        for (const auto &c : r.toArray())
            values << c.toString();
        rows << values;
    }
    if (rows.isEmpty())
        rows << QStringList{QString::fromUtf8(out)};
    return rows;
}

// The words of each page of a PDF file as pdftotext reads them in content order.
QList<QStringList> PdfPageWords(const QString &File)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), File, QStringLiteral("-")});
    p.waitForFinished(60000);
    QList<QStringList> pages;
    const QStringList texts = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    for (const QString &t : texts)
        if (!t.trimmed().isEmpty())
            pages << t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return pages;
}

int QpdfCheck(const QString &File)
{
    QProcess p;
    p.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), File});
    p.waitForFinished(60000);
    return p.exitCode();
}

} // namespace

TEST(CsvThroughTheDriver, PageRangesAndSuppressedHeadersReadBackByPython)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    const QStringList head{QStringLiteral("Elenco"), QString()};
    auto row = [](int N) { return QStringList{QStringLiteral("d%1").arg(N), QStringLiteral("Evento %1").arg(N)}; };
    auto foot = [](int N) { return QStringList{QStringLiteral("Pagina %1 di 3").arg(N), QString()}; };
    struct Case {
        const char *Name;
        QString Pages;
        bool Suppress;
        QList<QStringList> Rows;
    };
    const Case cases[] = {
        {"every page", QString(), false, {head, row(1), foot(1), head, row(2), foot(2), head, row(3), foot(3)}},
        {"pages 2-3, headers and footers once", QStringLiteral("2-3"), true, {head, row(2), row(3), foot(3)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ThreePages r;
        auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlCSVExport>();
        f->ShowDialog = false;
        f->ShowProgress = false;
        f->UseFileCache = false;
        f->Separator = QStringLiteral(";");
        f->UTF8 = true;
        f->PageNumbers = c.Pages;
        f->SuppressPageHeadersFooters = c.Suppress;
        f->FileName = dir.filePath(QStringLiteral("elenco.csv"));
        ASSERT_TRUE(r.report->Export(f.get()));
        EXPECT_EQ(PythonCsvRows(f->FileName, QStringLiteral("utf-8"), QStringLiteral(";")), c.Rows);
    }
}

// A file that cannot be made: the export answers False and says why, once.
TEST(CsvThroughTheDriver, AFileThatCannotBeMadeIsNotASuccess)
{
    ui::FakeServices services;
    QTemporaryDir dir;
    ThreePages r;
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlCSVExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    const QString target = dir.filePath(QStringLiteral("manca/elenco.csv"));
    f->FileName = target;
    EXPECT_FALSE(r.report->Export(f.get()));
    ASSERT_EQ(r.report->Errors().Count(), 1);
    EXPECT_TRUE(r.report->Errors()[0].contains(target)) << r.report->Errors()[0].toStdString();
}

// Each exported page is one table of the document, in order, with the texts of its bands.
TEST(DocxThroughTheDriver, EveryExportedPageIsATableReadByPythonDocx)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    auto page = [](int N, bool Header, bool Footer) {
        QStringList texts;
        if (Header)
            texts << QStringLiteral("Elenco");
        texts << QStringLiteral("d%1").arg(N) << QStringLiteral("Evento %1").arg(N);
        if (Footer)
            texts << QStringLiteral("Pagina %1 di 3").arg(N);
        return texts;
    };
    struct Case {
        const char *Name;
        QString Pages;
        bool Suppress;
        QList<QStringList> Tables;
    };
    const Case cases[] = {
        {"every page", QString(), false, {page(1, true, true), page(2, true, true), page(3, true, true)}},
        {"pages 2-3, headers and footers once", QStringLiteral("2-3"), true, {page(2, true, false), page(3, false, true)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ThreePages r;
        auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlDOCXExport>();
        f->ShowDialog = false;
        f->ShowProgress = false;
        f->PageNumbers = c.Pages;
        f->SuppressPageHeadersFooters = c.Suppress;
        f->FileName = dir.filePath(QStringLiteral("elenco.docx"));
        ASSERT_TRUE(r.report->Export(f.get()));
        EXPECT_EQ(PythonDocxTables(f->FileName), c.Tables);
    }
}

// All pages on one worksheet: each band a row, the header across both columns in one merged cell.
TEST(XlsxThroughTheDriver, PageRangesReadBackByOpenpyxl)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    const QStringList head{QStringLiteral("Elenco")};
    auto row = [](int N) { return QStringList{QStringLiteral("d%1").arg(N), QStringLiteral("Evento %1").arg(N)}; };
    auto foot = [](int N) { return QStringList{QStringLiteral("Pagina %1 di 3").arg(N)}; };
    struct Case {
        const char *Name;
        QString Pages;
        bool Suppress;
        QList<QStringList> Rows;
    };
    const Case cases[] = {
        {"every page", QString(), false, {head, row(1), foot(1), head, row(2), foot(2), head, row(3), foot(3)}},
        {"page 2", QStringLiteral("2"), false, {head, row(2), foot(2)}},
        {"pages 2-3, headers and footers once", QStringLiteral("2-3"), true, {head, row(2), row(3), foot(3)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ThreePages r;
        auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
        f->ShowDialog = false;
        f->ShowProgress = false;
        f->PageNumbers = c.Pages;
        f->EmptyLines = !c.Suppress; // a continuous sheet is what shows headers and footers once
        f->FileName = dir.filePath(QStringLiteral("elenco.xlsx"));
        ASSERT_TRUE(r.report->Export(f.get()));
        EXPECT_EQ(OpenpyxlRows(f->FileName), c.Rows);
    }
}

// One PDF page per exported page, with the texts of its bands in order; qpdf finds the file sound.
TEST(PdfThroughTheDriver, PageRangesReadBackByPdftotextAndChecked)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    auto page = [](int N, bool Header, bool Footer) {
        QStringList words;
        if (Header)
            words << QStringLiteral("Elenco");
        words << QStringLiteral("d%1").arg(N) << QStringLiteral("Evento") << QString::number(N);
        if (Footer)
            words << QStringLiteral("Pagina") << QString::number(N) << QStringLiteral("di") << QStringLiteral("3");
        return words;
    };
    struct Case {
        const char *Name;
        QString Pages;
        bool Suppress;
        QList<QStringList> Words;
    };
    const Case cases[] = {
        {"every page", QString(), false, {page(1, true, true), page(2, true, true), page(3, true, true)}},
        {"pages 2-3, headers and footers once", QStringLiteral("2-3"), true, {page(2, true, false), page(3, false, true)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ThreePages r;
        auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlPDFExport>();
        f->ShowDialog = false;
        f->ShowProgress = false;
        f->PageNumbers = c.Pages;
        f->SuppressPageHeadersFooters = c.Suppress;
        f->FileName = dir.filePath(QStringLiteral("elenco.pdf"));
        ASSERT_TRUE(r.report->Export(f.get()));
        EXPECT_EQ(QpdfCheck(f->FileName), 0);
        EXPECT_EQ(PdfPageWords(f->FileName), c.Words);
    }
}
