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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        ThreePageSheetReport r;
        auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlXLSXExport>();
        f->ShowDialog = false;
        f->ShowProgress = false;
        f->SingleSheet = c.Single;
        f->ChunkSize = c.Chunk;
        f->FileName = dir.filePath(QStringLiteral("eventi.xlsx"));
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

} // namespace
