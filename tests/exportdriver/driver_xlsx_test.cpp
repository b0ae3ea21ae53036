// A prepared report exported through the export driver into the spreadsheet filter in each
// sheet mode, read back by openpyxl.
#include "tests/exportdriver/driverreports.h"

#include "export/xlsx/xlsxexport.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// The workbook as openpyxl reads it (the spreadsheet tests' reader).
QJsonObject ReadBook(const QString &File)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(XLSX_TEST_DIR "/readxlsx.py"), File});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QString ValueText(const QJsonValue &V)
{
    return V.isDouble() ? QString::number(V.toDouble(), 'f', 2) : V.toString();
}

TEST(XlsxThroughTheDriver, EverySheetModeReadsBackWithItsCellsTypesAndRanges)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    struct Case {
        const char *Name;
        bool Single;
        int Chunk;
        QList<QList<int>> Sheets;  // the pages whose texts each sheet holds
        int Breaks;                // row breaks on the first sheet
    };
    const Case cases[] = {
        {"one sheet", true, 0, {{1, 2, 3}}, 2},
        {"a sheet per page", false, 0, {{1}, {2}, {3}}, 0},
        {"sheets of 1000 rows", false, 1000, {{1, 2, 3}}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ThreePageSheetReport r;
        auto f = QuietXlsxExport(dir.filePath(QStringLiteral("eventi.xlsx")));
        f->SingleSheet = c.Single;
        f->ChunkSize = c.Chunk;
        ASSERT_TRUE(r.report->Export(f.get())) << r.report->Errors().Text().toStdString();
        const QJsonObject book = ReadBook(f->FileName);
        const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
        ASSERT_EQ(sheets.size(), c.Sheets.size());
        EXPECT_EQ(sheets[0].toObject()[QStringLiteral("breaks")].toArray().size(), c.Breaks);
        for (qsizetype s = 0; s < sheets.size(); ++s) {
            const QJsonObject sheet = sheets[s].toObject();
            const QJsonObject cells = sheet[QStringLiteral("cells")].toObject();
            QStringList got, want;
            for (int n : c.Sheets[s])
                want << ThreePageSheetReport::PageTexts(n);
            for (auto it = cells.begin(); it != cells.end(); ++it) {
                const QJsonObject cell = it.value().toObject();
                const QString text = ValueText(cell[QStringLiteral("value")]);
                if (text.isEmpty())
                    continue;  // the covered cells of a merged range
                got << text;
                const bool number = text.startsWith(u'1') || text.startsWith(u'2');
                EXPECT_EQ(cell[QStringLiteral("type")].toString(), number ? u"n" : u"s") << text.toStdString();
                if (number) {
                    EXPECT_EQ(cell[QStringLiteral("format")].toString(), QStringLiteral("0.00"));
                }
                if (text.startsWith(QLatin1String("Totale"))) {
                    EXPECT_EQ(cell[QStringLiteral("fill")].toString().right(6).toUpper(), QStringLiteral("FFFF00"));
                }
                if (text.startsWith(QLatin1String("Ruotato"))) {
                    EXPECT_EQ(cell[QStringLiteral("rot")].toInt(), 90);
                }
            }
            got.sort();
            want.sort();
            EXPECT_EQ(got, want) << "sheet " << s;
            // One merged range per page: the total across the three columns (at least).
            EXPECT_EQ(sheet[QStringLiteral("merged")].toArray().size(), c.Sheets[s].size());
        }
        const QJsonArray media = book[QStringLiteral("media")].toArray();
        EXPECT_FALSE(media.isEmpty());  // the picture of each page
    }
}

// The records a sheet holds, in row order: (row, "Riga N", N.25), only from rows where the
// name is a string and the value a number.
struct SheetRow {
    int Row;
    QString Name;
    double Value;
    bool operator==(const SheetRow &) const = default;
};

std::vector<SheetRow> RecordsOf(const QJsonObject &Sheet)
{
    std::map<int, SheetRow> rows;
    const QJsonObject cells = Sheet[QStringLiteral("cells")].toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QString ref = it.key();
        const QJsonObject cell = it.value().toObject();
        const int row = ref.mid(1).toInt();
        SheetRow &r = rows.try_emplace(row, SheetRow{row, {}, -1}).first->second;
        if (ref.startsWith(u'A')) {
            EXPECT_EQ(cell[QStringLiteral("type")].toString(), u"s") << ref.toStdString();
            r.Name = cell[QStringLiteral("value")].toString();
        } else if (ref.startsWith(u'B')) {
            EXPECT_EQ(cell[QStringLiteral("type")].toString(), u"n") << ref.toStdString();
            EXPECT_EQ(cell[QStringLiteral("format")].toString(), u"0.00") << ref.toStdString();
            r.Value = cell[QStringLiteral("value")].toDouble();
        } else {
            ADD_FAILURE() << "a cell outside the two columns: " << ref.toStdString();
        }
    }
    std::vector<SheetRow> out;
    for (const auto &[row, r] : rows)
        out.push_back(r);
    return out;
}

std::vector<SheetRow> Records(int First, int Last, int FirstRow)
{
    std::vector<SheetRow> out;
    for (int n = First; n <= Last; ++n)
        out.push_back({FirstRow + n - First, QStringLiteral("Riga %1").arg(n), n + 0.25});
    return out;
}

TEST(XlsxThroughTheDriver, SheetsOfManyRowsHoldEveryRecordInOrder)
{
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    QTemporaryDir dir;
    constexpr int kRecords = 120, kPerPage = 40;
    ManyRowReport r(kRecords, kPerPage);
    struct Case {
        const char *Name;
        bool Single;
        int Chunk;
        bool EmptyLines;
        QList<QPair<int, int>> Sheets;  // the first and last record of each sheet, from its row 1
    };
    const Case cases[] = {
        {"continuous", true, 0, false, {{1, 120}}},
        {"sheets of 50 rows", false, 50, false, {{1, 50}, {51, 100}, {101, 120}}},
        {"a sheet per page", false, 0, true, {{1, 40}, {41, 80}, {81, 120}}},
        {"a negative chunk is a sheet per page", false, -1, true, {{1, 40}, {41, 80}, {81, 120}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        auto f = QuietXlsxExport(dir.filePath(QStringLiteral("righe.xlsx")));
        f->SingleSheet = c.Single;
        f->ChunkSize = c.Chunk;
        f->EmptyLines = c.EmptyLines;
        ASSERT_TRUE(r.report->Export(f.get())) << r.report->Errors().Text().toStdString();
        const QJsonArray sheets = ReadBook(f->FileName)[QStringLiteral("sheets")].toArray();
        ASSERT_EQ(sheets.size(), c.Sheets.size());
        for (qsizetype s = 0; s < sheets.size(); ++s) {
            const QJsonObject sheet = sheets[s].toObject();
            const auto [first, last] = c.Sheets[s];
            EXPECT_EQ(sheet[QStringLiteral("rows")].toInt(), last - first + 1) << "sheet " << s;
            EXPECT_TRUE(RecordsOf(sheet) == Records(first, last, 1)) << "sheet " << s;
        }
    }

    // All pages on one sheet, the space between pages kept: each page's records on rows in a
    // run, a row break after the last row of each page but the last.
    auto f = QuietXlsxExport(dir.filePath(QStringLiteral("pagine.xlsx")));
    ASSERT_TRUE(r.report->Export(f.get())) << r.report->Errors().Text().toStdString();
    const QJsonArray sheets = ReadBook(f->FileName)[QStringLiteral("sheets")].toArray();
    ASSERT_EQ(sheets.size(), 1);
    const std::vector<SheetRow> got = RecordsOf(sheets[0].toObject());
    ASSERT_EQ(got.size(), size_t(kRecords));
    QList<int> pageEnds;
    for (int n = 1; n <= kRecords; ++n) {
        const SheetRow &row = got[size_t(n - 1)];
        EXPECT_EQ(row.Name, QStringLiteral("Riga %1").arg(n));
        EXPECT_DOUBLE_EQ(row.Value, n + 0.25);
        if ((n - 1) % kPerPage != 0) {
            EXPECT_EQ(row.Row, got[size_t(n - 2)].Row + 1) << "record " << n;
        } else if (n > 1) {
            EXPECT_GT(row.Row, got[size_t(n - 2)].Row + 1) << "record " << n;  // the next page's top margin
            pageEnds << got[size_t(n - 2)].Row;
        }
    }
    QList<int> breaks;
    for (const QJsonValue &b : sheets[0].toObject()[QStringLiteral("breaks")].toArray())
        breaks << b.toInt();
    // A break's id is the last row above it: the page's last record, its space below the
    // record being the following page's top margin.
    EXPECT_EQ(breaks, pageEnds);
}

} // namespace
