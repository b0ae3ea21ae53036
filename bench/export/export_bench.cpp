// MD5 and the ZIP writer beside their usual command-line peers, at 1x, 10x and 100x input:
//   MD5 in memory vs coreutils md5sum over the same bytes in a file;
//   the ZIP writer vs Info-ZIP "zip -X -6" of the same package folder (no extra fields, so
//   the archive sizes compare: the counter "size_vs_zip" is ours / theirs).
#include "export/crypto/kvlcrypto.h"
#include "export/zip/kvlzip.h"
#include "platform/rtl/stream.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

QTemporaryDir &Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray Bytes(int64_t n)
{
    QByteArray b(n, Qt::Uninitialized);
    uint32_t x = 1;
    for (int64_t i = 0; i < n; ++i) {
        x = x * 1664525u + 1013904223u;
        b[i] = char(x >> 24);
    }
    return b;
}

const QByteArray &Md5Input(int64_t n)
{
    static std::map<int64_t, QByteArray> cache;
    auto it = cache.find(n);
    if (it == cache.end())
        it = cache.emplace(n, Bytes(n)).first;
    return it->second;
}

double RunSeconds(const QByteArray &Command)
{
    const auto t0 = std::chrono::steady_clock::now();
    if (std::system(Command.constData()) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_MD5_Ours(benchmark::State &state)
{
    const QByteArray &data = Md5Input(state.range(0));
    uint8_t digest[16];
    for (auto _ : state) {
        TCryptoHash::Hash(QStringLiteral("MD5"), digest, 16, data.constData(), data.size());
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

void BM_MD5_Md5sum(benchmark::State &state)
{
    const QByteArray &data = Md5Input(state.range(0));
    const QString path = Scratch().path() + QStringLiteral("/md5-%1.bin").arg(state.range(0));
    if (!QFileInfo::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
    const QByteArray cmd = "md5sum " + QFile::encodeName(path) + " > /dev/null";
    for (auto _ : state) {
        const double s = RunSeconds(cmd);
        if (s < 0) {
            state.SkipWithError("md5sum failed");
            break;
        }
        state.SetIterationTime(s);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

// A package folder of about MB megabytes: worksheet XML (most of it), shared strings,
// styles and a few media files of incompressible bytes.
QString Package(int64_t bytes)
{
    const QString root = Scratch().path() + QStringLiteral("/pkg-%1").arg(bytes);
    if (QFileInfo::exists(root))
        return root;
    auto write = [](const QString &path, const QByteArray &b) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(b);
    };
    write(root + QStringLiteral("/[Content_Types].xml"), QByteArray(900, 'c'));
    write(root + QStringLiteral("/_rels/.rels"), QByteArray(600, 'r'));
    const int64_t media = bytes / 10;
    for (int i = 0; i < 4; ++i)
        write(root + QStringLiteral("/xl/media/image%1.png").arg(i + 1), Bytes(media / 4 + i));
    const int sheets = 5;
    for (int s = 0; s < sheets; ++s) {
        QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<worksheet><sheetData>";
        const int64_t want = (bytes - media) / sheets;
        for (int r = 1; xml.size() < want; ++r) {
            xml += "<row r=\"" + QByteArray::number(r) + "\">";
            for (int c = 0; c < 6; ++c)
                xml += "<c r=\"" + QByteArray(1, char('A' + c)) + QByteArray::number(r) + "\" s=\"" +
                       QByteArray::number((r + c) % 7) + "\" t=\"s\"><v>" + QByteArray::number((r * 31 + c) % 5003) +
                       "</v></c>";
            xml += "</row>";
        }
        xml += "</sheetData></worksheet>";
        write(root + QStringLiteral("/xl/worksheets/sheet%1.xml").arg(s + 1), xml);
    }
    return root;
}

void BM_Zip_Ours(benchmark::State &state)
{
    const QString root = Package(state.range(0));
    const QString out = Scratch().path() + QStringLiteral("/ours-%1.zip").arg(state.range(0));
    for (auto _ : state) {
        TkvlZipArchive zip;
        zip.RootFolder = root + u'/';
        zip.AddDir(root);
        zip.SaveToFile(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
    const QString theirs = Scratch().path() + QStringLiteral("/zip-%1.zip").arg(state.range(0));
    if (QFileInfo::exists(theirs))
        state.counters["size_vs_zip"] = double(QFileInfo(out).size()) / double(QFileInfo(theirs).size());
}

void BM_Zip_InfoZip(benchmark::State &state)
{
    const QString root = Package(state.range(0));
    const QString out = Scratch().path() + QStringLiteral("/zip-%1.zip").arg(state.range(0));
    const QByteArray cmd = "cd '" + QFile::encodeName(root) + "' && rm -f '" + QFile::encodeName(out) +
                           "' && zip -X -6 -r -q '" + QFile::encodeName(out) + "' .";
    for (auto _ : state) {
        const double s = RunSeconds(cmd);
        if (s < 0) {
            state.SkipWithError("zip failed");
            break;
        }
        state.SetIterationTime(s);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}

constexpr int64_t kMiB = 1 << 20;

} // namespace

BENCHMARK(BM_MD5_Md5sum)->Arg(256 * kMiB / 100)->Arg(256 * kMiB / 10)->Arg(256 * kMiB)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MD5_Ours)->Arg(256 * kMiB / 100)->Arg(256 * kMiB / 10)->Arg(256 * kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zip_InfoZip)->Arg(500'000)->Arg(5'000'000)->Arg(50'000'000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zip_Ours)->Arg(500'000)->Arg(5'000'000)->Arg(50'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
