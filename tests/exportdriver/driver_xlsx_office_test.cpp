// A prepared report exported through the export driver into the spreadsheet filter, each
// sheet converted to CSV by LibreOffice (slow: one office start per workbook).
#include "tests/exportdriver/driverreports.h"

#include "export/xlsx/xlsxexport.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The non-empty fields of each sheet's CSV, sorted, sheets in name order.
QList<QStringList> SheetsAsCsv(const QString &Book, const QString &Work)
{
    QProcess p;
    p.start(QStringLiteral("soffice"),
            {QStringLiteral("-env:UserInstallation=file://") + Work + QStringLiteral("/profile"),
             QStringLiteral("--headless"), QStringLiteral("--convert-to"),
             // Comma, double quotes, UTF-8, from row 1, formatted as shown, every sheet to a file.
             QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"),
             QStringLiteral("--outdir"), Work + QStringLiteral("/csv"), Book});
    p.waitForFinished(240000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QList<QStringList> sheets;
    const QDir out(Work + QStringLiteral("/csv"));
    for (const QString &name : out.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
        QFile f(out.filePath(name));
        f.open(QIODevice::ReadOnly);
        QStringList fields;
        for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n'))
            for (QString field : line.trimmed().split(u',')) {
                field.remove(u'"');
                if (!field.isEmpty())
                    fields << field;
            }
        fields.sort();
        sheets << fields;
    }
    return sheets;
}

TEST(XlsxThroughTheDriverInAnOffice, EachSheetConvertsToTheExpectedCsv)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    ui::FakeServices services;
    struct Case {
        const char *Name;
        bool Single;
        int Chunk;
        QList<QList<int>> Sheets;  // the pages whose texts each sheet holds
    };
    const Case cases[] = {
        {"one sheet", true, 0, {{1, 2, 3}}},
        {"a sheet per page", false, 0, {{1}, {2}, {3}}},
        {"sheets of 1000 rows", false, 1000, {{1, 2, 3}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        QTemporaryDir dir;
        ThreePageSheetReport r;
        auto f = QuietXlsxExport(dir.filePath(QStringLiteral("eventi.xlsx")));
        f->SingleSheet = c.Single;
        f->ChunkSize = c.Chunk;
        ASSERT_TRUE(r.report->Export(f.get()));
        QList<QStringList> want;
        for (const QList<int> &pages : c.Sheets) {
            QStringList texts;
            for (int n : pages) {
                texts << ThreePageSheetReport::PageTexts(n);
                // The total spans three columns: each of its cells holds the text, the merged
                // range shows it once (readers of the file show the covered cells empty).
                texts << QStringLiteral("Totale pagina %1").arg(n) << QStringLiteral("Totale pagina %1").arg(n);
            }
            texts.sort();
            want << texts;
        }
        const auto show = [](const QList<QStringList> &Sheets) {
            std::string out;
            for (const QStringList &fields : Sheets)
                out += "[" + fields.join(u'|').toStdString() + "]";
            return out;
        };
        EXPECT_EQ(show(SheetsAsCsv(f->FileName, dir.path())), show(want));
    }
}

} // namespace
