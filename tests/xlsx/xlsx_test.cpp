#include "export/xlsx/xlsxexport.h"
#include "export/xlsx/xlsxrules.h"
#include "tests/exportgrid/gridfixture.h"

#include "platform/rtl/formatsettings.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/views/kvlpicture.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TkvlXLSXExport> NewFilter(const QString &FileName)
{
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->UseFileCache = false;
    f->FileName = FileName;
    return f;
}

// The workbook as openpyxl and zipfile read it.
QJsonObject ReadBook(const QString &File)
{
    const QString script = QStringLiteral(XLSX_TEST_DIR "/readxlsx.py");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {script, File});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QJsonObject Cell(const QJsonObject &Book, int Sheet, const char *Ref)
{
    return Book[QStringLiteral("sheets")].toArray()[Sheet].toObject()[QStringLiteral("cells")].toObject()
        [QLatin1String(Ref)].toObject();
}

TkvlMemoView *NumberMemo(TkvlComponent *Parent, double T, const QString &Text, TkvlFormatKind Kind,
                         const QString &Format = QStringLiteral("%2.2f"), const QString &Dec = QStringLiteral(","),
                         const QString &Th = QStringLiteral("."))
{
    TkvlMemoView *m = NewMemo(Parent, 0, T, 200, 20, Text);
    m->DisplayFormat()->Kind = Kind;
    m->DisplayFormat()->FormatStr = Format;
    m->DisplayFormat()->DecimalSeparator = Dec;
    m->DisplayFormat()->ThousandSeparator = Th;
    return m;
}

struct Xlsx : ::testing::Test {
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    HandMadePages pages;
    QTemporaryDir dir;
    QString Path(const char *Name) const { return dir.filePath(QLatin1String(Name)); }
};

} // namespace

TEST(XlsxRules, CellReferences)
{
    const std::pair<int, const char *> cases[] = {{0, "A1"},     {25, "Z1"},     {26, "AA1"},  {27, "AB1"},
                                                  {701, "ZZ1"},  {702, "AAA1"}, {16383, "XFD1"}};
    for (const auto &[col, want] : cases)
        EXPECT_EQ(xlsx::A1(col, 0), QByteArray(want)) << col;
    EXPECT_EQ(xlsx::A1(2, 1048575), QByteArray("C1048576"));
}

TEST(XlsxRules, NumberFormatCodes)
{
    const std::pair<const char *, const char *> cases[] = {
        {"%2.2f", "0.00"}, {"%g", ""},       {"%0.3n", "#,##0.000"}, {"%m", "#,##0.00"}, {"%d", ""},
        {"", ""},          {"0.00E+00", "0.00E+00"}, {"#,##0.00 kg", "#,##0.00 "},  {"abc", "#,##0.00"},
    };
    for (const auto &[format, want] : cases)
        EXPECT_EQ(xlsx::ConvertFormat(QLatin1String(format)), QLatin1String(want)) << format;
}

TEST(XlsxRules, OnlyRealNumbersPass)
{
    struct Case {
        const char *text;
        char dec, th;
        const char *want;  // nullptr: not a number
    };
    const Case cases[] = {
        {"1.234,56", ',', '.', "1234.56"}, {"-1.234.567", ',', '.', "-1234567"}, {"1E5", '.', ',', "1E5"},
        {"+2.5e-3", '.', ',', "2.5E-3"},   {"1234,5", ',', '.', "1234.5"},        {",5", ',', '.', ".5"},
        {"-", '.', ',', nullptr},          {"1-2", '.', ',', nullptr},            {"E", '.', ',', nullptr},
        {"1.2.3", '.', ',', nullptr},      {"12 kg", '.', ',', nullptr},          {"1,23", '.', ',', nullptr},
        {"1E", '.', ',', nullptr},         {"", '.', ',', nullptr},               {"1.2345,6", ',', '.', nullptr},
    };
    QByteArray value;
    for (const Case &c : cases) {
        const bool ok = xlsx::ParseNumberText(QString::fromLatin1(c.text), QLatin1Char(c.dec), QLatin1Char(c.th), value);
        EXPECT_EQ(ok, c.want != nullptr) << c.text;
        if (c.want && ok) {
            EXPECT_EQ(value, QByteArray(c.want)) << c.text;
        }
    }
}

TEST(XlsxRules, PaletteKeepsAtMost56Colours)
{
    xlsx::Palette p;
    EXPECT_EQ(p.Add(0xFFFFFF), 0);
    EXPECT_EQ(p.Add(0xFF0000), 1);
    EXPECT_EQ(p.Add(0xFFFFFF), 0);
    for (int i = 0; p.Entries().size() < 56; ++i)
        p.Add(0x000100 * (i + 1));
    EXPECT_EQ(p.Add(0xFE0000), 1);  // full: the nearest entry
    EXPECT_EQ(p.Entries().size(), 56u);
}

TEST_F(Xlsx, CellsValuesTypesFormatsAndMergedRanges)
{
    TkvlBand *b = pages.AddPage();
    // Three columns made by the row above the spanning memo.
    NewMemo(b, 0, 0, 100, 20, QStringLiteral("a"));
    NewMemo(b, 100, 0, 100, 20, QStringLiteral("b"));
    NewMemo(b, 200, 0, 100, 20, QStringLiteral("c"));
    NewMemo(b, 0, 20, 300, 20, QStringLiteral("spanning"));
    NumberMemo(b, 40, QStringLiteral("1.234,56"), fkNumeric);
    NumberMemo(b, 60, QStringLiteral("1.234,56"), fkText);
    NumberMemo(b, 80, QStringLiteral("12 kg"), fkNumeric);
    NumberMemo(b, 100, QStringLiteral("1E5"), fkNumeric, QStringLiteral("%g"), QStringLiteral("."),
               QStringLiteral(","));
    NumberMemo(b, 120, QStringLiteral("1.2.3"), fkNumeric, QStringLiteral("%2.2f"), QStringLiteral("."),
               QStringLiteral(","));
    NumberMemo(b, 140, QStringLiteral("1-2"), fkNumeric, QStringLiteral("%2.2f"), QStringLiteral("."),
               QStringLiteral(","));
    NewMemo(b, 0, 160, 200, 40, QStringLiteral("ab\tc\r\nsecond & <line>"));
    TkvlMemoView *red = NewMemo(b, 0, 200, 200, 20, QStringLiteral("red"));
    red->SetColor(clRed);
    TkvlMemoView *turned = NewMemo(b, 0, 220, 200, 60, QStringLiteral("up"));
    turned->SetRotation(270);

    auto f = NewFilter(Path("cells.xlsx"));
    ASSERT_TRUE(RunExport(*f, pages));
    const QJsonObject book = ReadBook(f->FileName);
    const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Page 1"));

    // Rows by memo: the grid has one row per 20 units here, after the three heading cells.
    auto rowOf = [&](const QString &text) {
        const QJsonObject cells = sheets[0].toObject()[QStringLiteral("cells")].toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it)
            if (it.value().toObject()[QStringLiteral("value")].toVariant().toString() == text)
                return it.key();
        return QString();
    };
    const QJsonObject cells = sheets[0].toObject()[QStringLiteral("cells")].toObject();
    struct Want {
        int row;  // sheet row (from 1) in column A
        QJsonValue value;
        const char *type, *format;
    };
    const Want wants[] = {
        {3, 1234.56, "n", "0.00"},         {4, QStringLiteral("1.234,56"), "s", "@"},
        {5, QStringLiteral("12 kg"), "s", "0.00"}, {6, 100000.0, "n", "General"},
        {7, QStringLiteral("1.2.3"), "s", "0.00"}, {8, QStringLiteral("1-2"), "s", "0.00"},
        {9, QStringLiteral("abc\nsecond & <line>"), "s", "@"},
    };
    for (const Want &w : wants) {
        const QString ref = QStringLiteral("A%1").arg(w.row);
        const QJsonObject c = cells[ref].toObject();
        EXPECT_EQ(c[QStringLiteral("value")], w.value) << ref.toStdString();
        EXPECT_EQ(c[QStringLiteral("type")].toString(), QLatin1String(w.type)) << ref.toStdString();
        EXPECT_EQ(c[QStringLiteral("format")].toString(), QLatin1String(w.format)) << ref.toStdString();
    }
    const QJsonArray merged = sheets[0].toObject()[QStringLiteral("merged")].toArray();
    EXPECT_TRUE(merged.contains(QStringLiteral("A2:C2"))) << QJsonDocument(merged).toJson().toStdString();
    EXPECT_EQ(rowOf(QStringLiteral("spanning")), QStringLiteral("A2"));

    const QJsonObject redCell = cells[rowOf(QStringLiteral("red"))].toObject();
    EXPECT_EQ(redCell[QStringLiteral("fill")].toString().right(6).toUpper(), QStringLiteral("FF0000"));
    const QJsonObject up = cells[rowOf(QStringLiteral("up"))].toObject();
    EXPECT_EQ(up[QStringLiteral("h")].toString(), QStringLiteral("right"));
    EXPECT_EQ(up[QStringLiteral("v")].toString(), QStringLiteral("top"));
    EXPECT_EQ(up[QStringLiteral("rot")].toInt(), 180);
}

TEST_F(Xlsx, SheetModes)
{
    for (int i = 0; i < 3; ++i) {
        TkvlBand *b = pages.AddPage();
        NewMemo(b, 0, 0, 200, 20, QStringLiteral("page %1 top").arg(i + 1));
        NewMemo(b, 0, 500, 200, 20, QStringLiteral("page %1 bottom").arg(i + 1));
    }
    struct Case {
        const char *name;
        bool single;
        int chunk;
        int sheets;
        int breaks;  // on the first sheet
    };
    const Case cases[] = {
        {"single", true, 0, 1, 2}, {"per page", false, 0, 3, 0}, {"negative chunk", false, -1, 3, 0},
        {"chunks of 4", false, 4, 0, 0},
    };
    for (const Case &c : cases) {
        auto f = NewFilter(Path("modes.xlsx"));
        f->SingleSheet = c.single;
        f->ChunkSize = c.chunk;
        ASSERT_TRUE(RunExport(*f, pages)) << c.name;
        const QJsonObject book = ReadBook(f->FileName);
        const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
        if (c.sheets > 0)
            EXPECT_EQ(sheets.size(), c.sheets) << c.name;
        else
            EXPECT_GE(sheets.size(), 2) << c.name;
        for (int s = 0; s < sheets.size(); ++s)
            EXPECT_EQ(sheets[s].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Page %1").arg(s + 1));
        EXPECT_EQ(sheets[0].toObject()[QStringLiteral("breaks")].toArray().size(), c.breaks) << c.name;
        // Every text appears once over all sheets.
        QStringList texts;
        for (const auto &s : sheets) {
            const QJsonObject cells = s.toObject()[QStringLiteral("cells")].toObject();
            for (const auto &v : cells)
                texts << v.toObject()[QStringLiteral("value")].toString();
        }
        texts.sort();
        EXPECT_EQ(texts, QStringList({QStringLiteral("page 1 bottom"), QStringLiteral("page 1 top"),
                                      QStringLiteral("page 2 bottom"), QStringLiteral("page 2 top"),
                                      QStringLiteral("page 3 bottom"), QStringLiteral("page 3 top")}))
            << c.name;
    }
}

TEST_F(Xlsx, PerPageSheetsWithDifferentFormatsKeepTheirOwnCodes)
{
    TkvlBand *p1 = pages.AddPage();
    NumberMemo(p1, 0, QStringLiteral("1,5"), fkNumeric, QStringLiteral("%2.1f"));
    TkvlBand *p2 = pages.AddPage();
    NumberMemo(p2, 0, QStringLiteral("2,25"), fkNumeric, QStringLiteral("%2.3f"));
    auto f = NewFilter(Path("formats.xlsx"));
    f->SingleSheet = false;
    ASSERT_TRUE(RunExport(*f, pages));
    const QJsonObject book = ReadBook(f->FileName);
    EXPECT_EQ(Cell(book, 0, "A1")[QStringLiteral("format")].toString(), QStringLiteral("0.0"));
    EXPECT_EQ(Cell(book, 0, "A1")[QStringLiteral("value")].toDouble(), 1.5);
    EXPECT_EQ(Cell(book, 1, "A1")[QStringLiteral("format")].toString(), QStringLiteral("0.000"));
    EXPECT_EQ(Cell(book, 1, "A1")[QStringLiteral("value")].toDouble(), 2.25);
}

TEST_F(Xlsx, AuthorAndPictureMedia)
{
    TkvlBand *b = pages.AddPage();
    NewMemo(b, 0, 0, 200, 20, QStringLiteral("x"));
    auto *picture = new TkvlPictureView(b);
    picture->SetBounds(0, 40, 100, 40);
    picture->SetColor(clBlue);
    TkvlReport report(nullptr);
    report.ReportOptions()->Author = QStringLiteral("Niccolò & Figli <srl>");
    QTemporaryDir temp;  // the report's temporary folder: the picture's package folder goes there
    report.EngineOptions()->TempDir = temp.path();
    auto f = NewFilter(Path("author.xlsx"));
    f->Report = &report;
    ASSERT_TRUE(RunExport(*f, pages));
    EXPECT_TRUE(QDir(temp.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    const QJsonObject book = ReadBook(f->FileName);
    EXPECT_EQ(book[QStringLiteral("creator")].toString(), QStringLiteral("Niccolò & Figli <srl>"));
    const QJsonArray media = book[QStringLiteral("media")].toArray();
    ASSERT_FALSE(media.isEmpty());
    const QJsonArray defaults = book[QStringLiteral("defaults")].toArray();
    for (const auto &ext : media)
        EXPECT_TRUE(defaults.contains(ext)) << ext.toString().toStdString();
    EXPECT_EQ(media[0].toString(), QStringLiteral("png"));
}

TEST_F(Xlsx, UnwritableTargetFailsAndLeavesNoFolder)
{
    pages.AddPage();
    auto f = NewFilter(Path("missing/sub/out.xlsx"));
    EXPECT_FALSE(RunExport(*f, pages));
    EXPECT_FALSE(f->StartError().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("missing/sub/out.xlsx")));
}

TEST_F(Xlsx, AnEmptyPageGivesNoSecondBreak)
{
    NewMemo(pages.AddPage(), 0, 0, 200, 20, QStringLiteral("first"));
    pages.AddPage();  // ends where the first page ends
    TkvlBand *third = pages.AddPage();
    NewMemo(third, 0, 0, 200, 20, QStringLiteral("third"));
    NewMemo(third, 0, 40, 200, 20, QStringLiteral("third, below"));
    auto f = NewFilter(Path("empty.xlsx"));
    ASSERT_TRUE(RunExport(*f, pages));
    const QJsonObject sheet = ReadBook(f->FileName)[QStringLiteral("sheets")].toArray()[0].toObject();
    const QJsonArray breaks = sheet[QStringLiteral("breaks")].toArray();
    ASSERT_EQ(breaks.size(), 1) << QJsonDocument(sheet).toJson().toStdString();
    // The break (after sheet row id) lies between the row of "first" and the row of "third".
    const QJsonObject cells = sheet[QStringLiteral("cells")].toObject();
    QString thirdRef;
    for (auto it = cells.begin(); it != cells.end(); ++it)
        if (it.value().toObject()[QStringLiteral("value")].toString() == QStringLiteral("third"))
            thirdRef = it.key();
    const int after = breaks[0].toInt();
    EXPECT_GE(after, 1);
    EXPECT_LT(after, thirdRef.mid(1).toInt());
}

TEST_F(Xlsx, AGridWiderThanASheetStopsWithAnErrorAndLeavesNoFile)
{
    TkvlBand *b = pages.AddPage();
    b->SetBounds(0, 0, 3 * 16400, 100);
    for (int i = 0; i <= 16384; ++i)
        NewMemo(b, 3 * i, 0, 3, 20, QStringLiteral("x"));
    TkvlReport report(nullptr);
    auto f = NewFilter(Path("wide.xlsx"));
    f->Report = &report;
    // The export fails (so the driver reports it once) and names the limit.
    QString message;
    try {
        RunExport(*f, pages);
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    }
    EXPECT_TRUE(message.contains(QStringLiteral("16384"))) << message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(f->FileName));
}
