// Every filter exporting onto a file system with no room left: the export answers false,
// shows one error box in the same words for every filter, and the file that was there
// before stays as it was, with nothing left beside it.
#include "tests/exportdriver/driverreports.h"
#include "tests/fulldisk.h"

#include "export/csv/csvexport.h"
#include "export/docx/docxexport.h"
#include "export/pdf/pdfexport.h"
#include "export/xlsx/xlsxexport.h"
#include "platform/ui/fakes.h"
#include "report/options/kvloptions.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

template <class T> std::unique_ptr<TkvlCustomExportFilter> Quiet(const QString &FileName)
{
    auto f = TkvlCustomExportFilter::CreateNoRegister<T>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->FileName = FileName;
    return f;
}

TEST(ExportOnAFullDisk, EveryFilterAnswersFalseWithOneBoxInTheSameWordsAndKeepsTheOldFile)
{
    struct Case {
        const char *Name;
        std::unique_ptr<TkvlCustomExportFilter> (*Make)(const QString &);
    };
    const Case cases[] = {
        {"eventi.pdf", &Quiet<TkvlPDFExport>},
        {"eventi.xlsx", &Quiet<TkvlXLSXExport>},
        {"eventi.docx", &Quiet<TkvlDOCXExport>},
        {"eventi.csv", &Quiet<TkvlCSVExport>},
    };
    QString firstBox;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        FullDisk disk;
        if (!disk.Mounted())
            GTEST_SKIP() << "this process may not mount a small file system; the full-disk exports are not tried";
        const QString target = disk.Path(QString::fromLatin1(c.Name));
        const QByteArray old = "il file di prima";
        {
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        disk.Fill();
        const QStringList before = disk.Entries();

        ThreePageSheetReport r;
        r.report->EngineOptions()->NewSilentMode = simMessageBoxes;
        ui::FakeServices services;
        auto filter = c.Make(target);
        EXPECT_FALSE(r.report->Export(filter.get()));
        ASSERT_EQ(services.messages.shown.size(), 1);
        const QString box = services.messages.shown[0].text;
        EXPECT_TRUE(box.contains(QStringLiteral("Stream write error"))) << box.toStdString();
        if (firstBox.isEmpty())
            firstBox = box;
        EXPECT_EQ(box, firstBox);

        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), old);
        EXPECT_EQ(disk.Entries(), before);
    }
}

} // namespace
