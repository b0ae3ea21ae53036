#include "export/csv/csvexport.h"
#include "tests/exportgrid/gridfixture.h"

#include "platform/rtl/formatsettings.h"
#include "platform/rtl/stream.h"
#include "platform/ui/fakes.h"
#include "report/views/kvlpicture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray Prepared(const QByteArray &Text, const QByteArray &Sep, bool NoSys = true, bool Forced = false)
{
    QByteArray out("x");  // values are appended to what the row holds
    TkvlCSVExport::PrepareString(out, Text, Sep, NoSys, Forced);
    return out.mid(1);
}

QByteArray ReadFile(const QString &Name)
{
    QFile f(Name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

std::unique_ptr<TkvlCSVExport> NewFilter()
{
    auto f = TkvlCustomExportFilter::CreateNoRegister<TkvlCSVExport>();
    f->ShowDialog = false;
    f->ShowProgress = false;
    f->UseFileCache = false;
    return f;
}

// Exports to memory and gives the bytes.
QByteArray ExportBytes(TkvlCSVExport &f, HandMadePages &pages)
{
    TMemoryStream out;
    f.Stream = &out;
    EXPECT_TRUE(RunExport(f, pages));
    f.Stream = nullptr;
    return out.Bytes();
}

struct Csv : ::testing::Test {
    rtl::ScopedFormatSettings fs{TFormatSettings::english()};
    HandMadePages pages;
    QTemporaryDir dir;
};

} // namespace

TEST(CsvPrepareString, QuotesAndSeparators)
{
    struct Case {
        const char *text, *sep;
        bool noSys, forced;
        QByteArray want;
    };
    const Case cases[] = {
        {"a;b\r\n", ";", true, false, "\"a;b\";"},
        {"say \"hi\"\r\n", ";", true, false, "\"say \"\"hi\"\"\";"},
        {"one\r\ntwo\r\n", ";", true, false, "onetwo;"},
        {"one\r\ntwo\r\n", ";", false, false, "\"one\r\ntwo\";"},
        {"\r\n", ";", true, false, ";"},
        {"", ";", true, false, ";"},
        {"plain", ";", true, true, "\"plain\";"},
        {"x\xe2\x82\xacy", "\xe2\x82\xac", true, false, "\"x\xe2\x82\xacy\"\xe2\x82\xac"},
        {"tab\there", ",", true, false, "tabhere,"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Prepared(c.text, c.sep, c.noSys, c.forced), c.want) << c.text << " / " << c.sep;
}

TEST_F(Csv, RowsEndWithoutTheirLastSeparatorWhateverTheSeparator)
{
    // "a" spans both columns of the second row and two rows; "c" starts the second column.
    TkvlBand *band = pages.AddPage();
    NewMemo(band, 0, 0, 100, 40, QStringLiteral("a"));
    NewMemo(band, 100, 0, 100, 20, QStringLiteral("c"));
    NewMemo(band, 0, 40, 100, 20, QStringLiteral("d"));
    NewMemo(band, 100, 40, 100, 20, QStringLiteral("e"));
    struct Case { const char *sep; QByteArray want; };
    const Case cases[] = {
        // The second row holds only the written "a": a separator, or nothing at all, and the
        // first row's line end stays.
        {";", "a;c\r\n\r\nd;e\r\n"},
        {"", "a,c\r\n\r\nd,e\r\n"},
        {";;", "a;c\r\n\r\nd;e\r\n"},
    };
    for (const Case &c : cases) {
        auto f = NewFilter();
        f->Separator = QString::fromUtf8(c.sep);
        EXPECT_EQ(ExportBytes(*f, pages), c.want) << c.sep;
    }
}

TEST_F(Csv, ASpanningValueIsWrittenOnceAndCellsAfterItGiveTheWholeSeparator)
{
    TkvlBand *band = pages.AddPage();
    NewMemo(band, 0, 0, 300, 20, QStringLiteral("wide"));
    NewMemo(band, 300, 0, 100, 20, QStringLiteral("z"));
    for (int i = 0; i < 4; ++i)
        NewMemo(band, i * 100, 20, 100, 20, QString::number(i));
    auto f = NewFilter();
    f->Separator = QStringLiteral(";;");
    EXPECT_EQ(ExportBytes(*f, pages), QByteArray("wide;;;;;z\r\n0;1;2;3\r\n"));
}

TEST_F(Csv, SeparatorsAndTextInTheOutputsOwnEncodingReadBackByPython)
{
    TkvlBand *band = pages.AddPage();
    NewMemo(band, 0, 0, 300, 20, QStringLiteral("prezzo €5; §2"));
    NewMemo(band, 300, 0, 100, 20, QStringLiteral("plain"));
    struct Case { const char *sep; bool utf8; const char *encoding; };
    const Case cases[] = {
        {"€", true, "utf-8"}, {"€", false, "cp1252"}, {"§", false, "cp1252"}, {";", true, "utf-8"},
        {";", false, "cp1252"},
    };
    for (const Case &c : cases) {
        auto f = NewFilter();
        f->Separator = QString::fromUtf8(c.sep);
        f->UTF8 = c.utf8;
        f->FileName = dir.filePath(QStringLiteral("enc.csv"));
        ASSERT_TRUE(RunExport(*f, pages));
        const QList<QStringList> rows = PythonCsvRows(f->FileName, QLatin1String(c.encoding), f->Separator);
        ASSERT_EQ(rows.size(), 1) << c.sep << c.encoding << rows.value(0).join(u'|').toStdString();
        EXPECT_EQ(rows[0], (QStringList{QStringLiteral("prezzo €5; §2"), QStringLiteral("plain")}))
            << c.sep << " " << c.encoding;
    }
}

TEST_F(Csv, OemOutputIsTheAnsiTextInTheOemPageButNotForUtf8)
{
    TkvlBand *band = pages.AddPage();
    NewMemo(band, 0, 0, 100, 20, QStringLiteral("città"));
    auto f = NewFilter();
    f->OEMCodepage = true;
    EXPECT_EQ(ExportBytes(*f, pages), QByteArray("citt\x85\r\n"));  // à is 0x85 in page 850
    f->UTF8 = true;
    EXPECT_EQ(ExportBytes(*f, pages), QByteArray("citt\xc3\xa0\r\n"));
}

TEST_F(Csv, ThreePagesInTheDriversOrderReadBackByPython)
{
    TkvlBand *p1 = pages.AddPage();
    NewMemo(p1, 0, 0, 500, 20, QStringLiteral("Titolo; anno 2026"));
    NewMemo(p1, 0, 20, 200, 20, QStringLiteral("Data"));
    NewMemo(p1, 200, 20, 300, 20, QStringLiteral("Evento"));
    TkvlBand *p2 = pages.AddPage();
    NewMemo(p2, 0, 0, 200, 20, QStringLiteral("10/12"));
    NewMemo(p2, 200, 0, 300, 40, QStringLiteral("Riunione \"annuale\"\r\nsala €"));
    auto *picture = new TkvlPictureView(p2);
    picture->SetBounds(0, 20, 200, 20);
    TkvlBand *p3 = pages.AddPage();
    NewMemo(p3, 0, 0, 500, 20, QStringLiteral("Fine"));

    const QList<QStringList> want = {
        {QStringLiteral("Titolo; anno 2026"), QString()},  // spans both columns of the next row
        {QStringLiteral("Data"), QStringLiteral("Evento")},
        {QStringLiteral("10/12"), QStringLiteral("Riunione \"annuale\"sala €")},
        {QString(), QString()},  // the picture (no value) beside the written memo
        {QStringLiteral("Fine")},
    };
    for (bool utf8 : {true, false}) {
        auto f = NewFilter();
        f->Separator = QStringLiteral(";");
        f->UTF8 = utf8;
        f->FileName = dir.filePath(QStringLiteral("three.csv"));
        ASSERT_TRUE(RunExport(*f, pages));
        EXPECT_EQ(PythonCsvRows(f->FileName, utf8 ? QStringLiteral("utf-8") : QStringLiteral("cp1252"),
                                QStringLiteral(";")),
                  want)
            << utf8;
    }
}

TEST_F(Csv, AFileThatCannotBeMadeStopsTheExportWithItsName)
{
    pages.AddPage();
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QStringList targets = {dir.filePath(QStringLiteral("missing/out.csv"))};
    if (::geteuid() != 0)  // the superuser writes into read-only folders
        targets << locked + QStringLiteral("/out.csv");
    for (const QString &target : targets) {
        auto f = NewFilter();
        f->FileName = target;
        EXPECT_FALSE(f->Start()) << target.toStdString();
        EXPECT_TRUE(f->StartError().contains(target)) << f->StartError().toStdString();
    }
    EXPECT_TRUE(QDir(locked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Neither file nor stream: nothing to say.
    auto g = NewFilter();
    EXPECT_FALSE(g->Start());
    EXPECT_TRUE(g->StartError().isEmpty());
}

TEST_F(Csv, TheEarlierFileStaysUntilAnExportCompletes)
{
    TkvlBand *band = pages.AddPage();
    NewMemo(band, 0, 0, 100, 20, QStringLiteral("new"));
    const QString name = dir.filePath(QStringLiteral("keep.csv"));
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    auto f = NewFilter();
    f->FileName = name;
    ASSERT_TRUE(RunExport(*f, pages, /*FailBeforeFinish*/ true));
    EXPECT_EQ(ReadFile(name), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.csv")});

    ASSERT_TRUE(RunExport(*f, pages));
    EXPECT_EQ(ReadFile(name), QByteArray("new\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.csv")});
}

TEST_F(Csv, FileNamesAreCompletedAndTheResultOpenedOnRequest)
{
    ui::FakeServices services;
    TkvlBand *band = pages.AddPage();
    NewMemo(band, 0, 0, 100, 20, QStringLiteral("x"));
    auto f = NewFilter();
    f->FileName = QStringLiteral("bare.csv");
    f->DefaultPath = dir.path();
    f->OpenAfterExport = true;
    ASSERT_TRUE(RunExport(*f, pages));
    EXPECT_EQ(f->FileName, dir.filePath(QStringLiteral("bare.csv")));
    EXPECT_EQ(services.shell.documents, QStringList{f->FileName});

    // An export on behalf of another component goes to a private folder of its own.
    auto s = NewFilter();
    s->SlaveExport = true;
    ASSERT_TRUE(RunExport(*s, pages));
    const QFileInfo slave(s->FileName);
    EXPECT_TRUE(slave.exists());
    EXPECT_TRUE(s->FileName.endsWith(QStringLiteral(".csv")));
    EXPECT_NE(slave.absolutePath(), QDir::tempPath());
    EXPECT_EQ(QFile::permissions(slave.absolutePath()) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions());
}
