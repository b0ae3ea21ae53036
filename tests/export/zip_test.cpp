// The ZIP package writer, checked with Python's zipfile and Info-ZIP's unzip.
#include "export/zip/kvlzip.h"
#include "exporttestutil.h"
#include "platform/rtl/stream.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace exporttest;

namespace {

// Checks an archive against the folder it was made of: zipfile's own test, every entry's
// method, CRC, sizes, name and bytes, and each central header against its local header.
// Prints "ok" or what differed.
const char *kCheckArchive = R"PY(
import sys, os, zipfile, zlib, struct
path, root, prefix = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(path, 'rb').read()
z = zipfile.ZipFile(path)
problems = []
if z.testzip() is not None: problems.append('testzip ' + z.testzip())
files = []
for d, _, names in os.walk(root):
    for n in names:
        files.append(os.path.relpath(os.path.join(d, n), root).replace(os.sep, '/'))
if sorted(files) != sorted(z.namelist()): problems.append('names %r %r' % (sorted(files), z.namelist()))
for info in z.infolist():
    body = open(os.path.join(root, info.filename), 'rb').read()
    want = 0 if len(body) <= 128 else 8
    if info.compress_type != want: problems.append('method %s %d' % (info.filename, info.compress_type))
    if info.CRC != zlib.crc32(body): problems.append('crc ' + info.filename)
    if info.file_size != len(body): problems.append('size ' + info.filename)
    if z.read(info.filename) != body: problems.append('bytes ' + info.filename)
    if info.extra or info.comment or info.flag_bits: problems.append('extras ' + info.filename)
    # central header fields 10..28 (method, time, date, crc, sizes) equal local 8..26
    lh = info.header_offset
    if data[lh:lh+4] != b'PK\x03\x04': problems.append('local offset ' + info.filename)
    local = data[lh+8:lh+26]
    # find this entry's central header by its offset field
    pos = data.rfind(b'PK\x05\x06')
    count, size, off = struct.unpack('<HII', data[pos+10:pos+20])
    p = off
    found = False
    for _ in range(count):
        if data[p+42:p+46] == struct.pack('<I', lh):
            found = data[p+10:p+28] == local
            break
        n, e, c = struct.unpack('<HHH', data[p+28:p+34])
        p += 46 + n + e + c
    if not found: problems.append('central differs ' + info.filename)
if prefix and z.infolist()[0].header_offset != prefix: problems.append('first offset')
print('ok' if not problems else '\n'.join(problems))
)PY";

class ZipFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        FRoot = FDir.path() + QStringLiteral("/package/");
        // A package-shaped folder, written in an order unlike the sorted one.
        WriteFile(FRoot + QStringLiteral("xl/worksheets/sheet1.xml"), Text(5'000'000));
        WriteFile(FRoot + QStringLiteral("[Content_Types].xml"), Text(129));
        WriteFile(FRoot + QStringLiteral("_rels/.rels.xml"), Text(128));
        WriteFile(FRoot + QStringLiteral("docProps/empty.xml"), QByteArray());
        WriteFile(FRoot + QStringLiteral("xl/media/image1.png"), Noise(3000));
        QDir().mkpath(FRoot + QStringLiteral("xl/empty/deeper"));
    }

    static QByteArray Text(int n)
    {
        QByteArray b;
        b.reserve(n);
        for (int i = 0; b.size() < n; ++i)
            b += "<row r=\"" + QByteArray::number(i) + "\"><c t=\"s\"><v>" + QByteArray::number(i % 97) + "</v></c></row>\n";
        b.truncate(n);
        return b;
    }

    static QByteArray Noise(int n)
    {
        QByteArray b(n, '\0');
        uint32_t x = 12345;
        for (int i = 0; i < n; ++i) {
            x = x * 1103515245u + 12345u;
            b[i] = char(x >> 24);
        }
        return b;
    }

    QByteArray Pack(int prefix = 0)
    {
        TMemoryStream out;
        out.WriteBytes(QByteArray(prefix, 'x'));
        TkvlZipArchive zip;
        zip.RootFolder = FRoot;
        zip.AddDir(FRoot);
        zip.SaveToStream(out);
        return out.Bytes();
    }

    QString Check(const QString &Archive, int Prefix = 0)
    {
        const RunResult r = Python(kCheckArchive, {Archive, FRoot, QString::number(Prefix)});
        return QString::fromUtf8(r.out + r.err).trimmed();
    }

    QTemporaryDir FDir;
    QString FRoot;
};

TEST_F(ZipFolder, PackageFolderPassesZipfileAndUnzip)
{
    const QString archive = FDir.path() + QStringLiteral("/out.zip");
    WriteFile(archive, Pack());
    EXPECT_EQ(Check(archive), QStringLiteral("ok"));
    const RunResult t = RunProgram(QStringLiteral("unzip"), {QStringLiteral("-t"), archive});
    EXPECT_EQ(t.exitCode, 0) << t.out.constData();
    // Sorted walk: names in code-unit order, sub-folders where they fall.
    const RunResult names = Python("import zipfile,sys\nprint(zipfile.ZipFile(sys.argv[1]).namelist())", {archive});
    EXPECT_EQ(names.out.trimmed(), QByteArray("['[Content_Types].xml', '_rels/.rels.xml', 'docProps/empty.xml', "
                                              "'xl/media/image1.png', 'xl/worksheets/sheet1.xml']"));
}

TEST_F(ZipFolder, EntriesFromMemoryComeFirstAndPassLikeFiles)
{
    // The same package, three parts handed over as bytes, the rest packed from the folder.
    TMemoryStream out;
    TkvlZipArchive zip;
    zip.RootFolder = FRoot;
    for (const char *name : {"xl/worksheets/sheet1.xml", "[Content_Types].xml", "_rels/.rels.xml"}) {
        QFile f(FRoot + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        zip.AddData(QLatin1String(name), f.readAll());
    }
    zip.AddFile(FRoot + QStringLiteral("docProps/empty.xml"));
    zip.AddFile(FRoot + QStringLiteral("xl/media/image1.png"));
    EXPECT_EQ(zip.GetCount(), 5);
    zip.SaveToStream(out);
    const QString archive = FDir.path() + QStringLiteral("/mixed.zip");
    WriteFile(archive, out.Bytes());
    EXPECT_EQ(Check(archive), QStringLiteral("ok"));
    const RunResult names = Python("import zipfile,sys\nprint(zipfile.ZipFile(sys.argv[1]).namelist())", {archive});
    EXPECT_EQ(names.out.trimmed(), QByteArray("['xl/worksheets/sheet1.xml', '[Content_Types].xml', '_rels/.rels.xml', "
                                              "'docProps/empty.xml', 'xl/media/image1.png']"));
}

TEST_F(ZipFolder, SameFolderPacksToIdenticalArchives)
{
    EXPECT_EQ(Pack(), Pack());
}

TEST_F(ZipFolder, ArchiveAfterExistingBytesCountsOffsetsFromTheStreamStart)
{
    const QString archive = FDir.path() + QStringLiteral("/prefixed.zip");
    WriteFile(archive, Pack(1000));
    EXPECT_EQ(Check(archive, 1000), QStringLiteral("ok"));
}

TEST_F(ZipFolder, EntryTimeIsTheLocalModificationTimeClampedToTheDosRange)
{
    const QString file = FRoot + QStringLiteral("_rels/.rels.xml");
    struct Case {
        time_t mtime;
        const char *expected;  // date_time as zipfile reads it
    };
    const Case cases[] = {
        {0, "(1980, 1, 1, 0, 0, 0)"},
        {time_t(7258118400LL), "(2107, 12, 31, 23, 59, 58)"},  // 2200-01-01
    };
    for (const Case &c : cases) {
        struct utimbuf t{c.mtime, c.mtime};
        ASSERT_EQ(utime(QFile::encodeName(file).constData(), &t), 0);
        const QString archive = FDir.path() + QStringLiteral("/t.zip");
        WriteFile(archive, Pack());
        const RunResult r = Python("import zipfile,sys\nprint(zipfile.ZipFile(sys.argv[1]).getinfo('_rels/.rels.xml').date_time)",
                                   {archive});
        EXPECT_EQ(r.out.trimmed(), QByteArray(c.expected));
    }
    // An ordinary time is the local time, seconds halved.
    const RunResult r = Python(R"PY(
import zipfile, sys, os, time
z = zipfile.ZipFile(sys.argv[1])
t = time.localtime(os.stat(sys.argv[2]).st_mtime)
want = (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec // 2 * 2)
print(z.getinfo('[Content_Types].xml').date_time == want)
)PY",
                               {FDir.path() + QStringLiteral("/t.zip"), FRoot + QStringLiteral("[Content_Types].xml")});
    EXPECT_EQ(r.out.trimmed(), QByteArray("True"));
}

TEST(Zip, EmptyFolderGivesOnlyTheEndRecordAtTheStreamPosition)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("/a/b"));
    TMemoryStream out;
    out.WriteBytes(QByteArray(7, 'x'));
    TkvlZipArchive zip;
    zip.AddDir(dir.path());
    EXPECT_EQ(zip.GetCount(), 0);
    zip.SaveToStream(out);
    const QByteArray expected = QByteArray(7, 'x') + QByteArray::fromHex("504b0506000000000000000000000000070000000000");
    EXPECT_EQ(out.Bytes().toHex(), expected.toHex());
}

TEST(Zip, MissingFilesAreListedNotPacked)
{
    TkvlZipArchive zip;
    zip.AddFile(QStringLiteral("/nonexistent/file.xml"));
    zip.AddDir(QStringLiteral("/nonexistent/folder"));
    EXPECT_EQ(zip.GetCount(), 0);
    ASSERT_EQ(zip.Errors().Count(), 1);
    EXPECT_EQ(zip.Errors()[0], QStringLiteral("File /nonexistent/file.xml not found!"));
}

TEST(Zip, FieldsThatWouldOverflowRaiseInsteadOfWrapping)
{
    QTemporaryDir dir;
    const QString small = dir.path() + QStringLiteral("/small.xml");
    WriteFile(small, "x");
    {
        TkvlZipArchive zip;
        for (int i = 0; i < 65536; ++i)
            zip.AddFile(small);
        TMemoryStream out;
        EXPECT_THROW(zip.SaveToStream(out), EkvlZipError);
        EXPECT_EQ(out.Size(), 0);  // refused before anything was written
    }
    // A sparse file of 4 GiB is refused from its size, before it is read.
    const QString big = dir.path() + QStringLiteral("/big.bin");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(1) << 32));
    }
    TkvlZipArchive zip;
    zip.AddFile(big);
    TMemoryStream out;
    EXPECT_THROW(zip.SaveToStream(out), EkvlZipError);
}

TEST(Zip, FileGoneBeforeSavingRaisesTheStreamError)
{
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/gone.xml");
    WriteFile(file, "part");
    TkvlZipArchive zip;
    zip.AddFile(file);
    QFile::remove(file);
    TMemoryStream out;
    EXPECT_THROW(zip.SaveToStream(out), EStreamError);
}

} // namespace
