// MD5 and the ZIP writer beside in-process peers on the same bytes in memory, at 1x, 10x and
// 100x input, ours and the peer in turns at each size:
//   MD5 of 2.56, 25.6 and 256 MiB: ours vs OpenSSL's MD5;
//   a package of 0.5, 5 and 50 MB (worksheet XML, shared strings, incompressible media)
//   zipped into memory: ours vs zlib's raw deflate of each entry at the same level (6) with
//   its CRC-32, one stream reset per entry. The summary prints both, the ratio, and the size
//   of our archive against the peer's deflated bytes.
#include "bench/support/ratioreporter.h"
#include "export/crypto/kvlcrypto.h"
#include "export/zip/kvlzip.h"
#include "platform/rtl/stream.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

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

void BM_MD5_OpenSSL(benchmark::State &state)
{
    const QByteArray &data = Md5Input(state.range(0));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    for (auto _ : state) {
        if (!EVP_Digest(data.constData(), size_t(data.size()), digest, &size, EVP_md5(), nullptr)) {
            state.SkipWithError("OpenSSL's MD5 failed");
            break;
        }
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}

using Package = std::vector<std::pair<QString, QByteArray>>;

// A package of about Bytes bytes: worksheet XML (most of it), shared strings, styles and a
// few media files of incompressible bytes.
const Package &PackageOf(int64_t bytes)
{
    static std::map<int64_t, Package> cache;
    auto found = cache.find(bytes);
    if (found != cache.end())
        return found->second;
    Package p;
    p.emplace_back(QStringLiteral("[Content_Types].xml"), QByteArray(900, 'c'));
    p.emplace_back(QStringLiteral("_rels/.rels"), QByteArray(600, 'r'));
    const int64_t media = bytes / 10;
    for (int i = 0; i < 4; ++i)
        p.emplace_back(QStringLiteral("xl/media/image%1.png").arg(i + 1), Bytes(media / 4 + i));
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
        p.emplace_back(QStringLiteral("xl/worksheets/sheet%1.xml").arg(s + 1), xml);
    }
    return cache.emplace(bytes, std::move(p)).first->second;
}

std::map<int64_t, int64_t> gZipBytes, gDeflateBytes;

void BM_Zip_Ours(benchmark::State &state)
{
    const Package &package = PackageOf(state.range(0));
    int64_t size = 0;
    for (auto _ : state) {
        TkvlZipArchive zip;
        for (const auto &[name, data] : package)
            zip.AddData(name, data);
        TMemoryStream out;
        zip.SaveToStream(out);
        size = out.Size();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
    gZipBytes[state.range(0)] = size;
}

void BM_Zip_Zlib(benchmark::State &state)
{
    const Package &package = PackageOf(state.range(0));
    z_stream z{};
    if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        state.SkipWithError("zlib could not start");
        return;
    }
    QByteArray out, packed;
    for (auto _ : state) {
        out.resize(0);
        for (const auto &entry : package) {
            const QByteArray &data = entry.second;
            const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(data.constData()),
                                    uInt(data.size()));
            benchmark::DoNotOptimize(crc);
            deflateReset(&z);
            packed.resize(qsizetype(deflateBound(&z, uLong(data.size()))));
            z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
            z.avail_in = uInt(data.size());
            z.next_out = reinterpret_cast<Bytef *>(packed.data());
            z.avail_out = uInt(packed.size());
            if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
                state.SkipWithError("zlib failed");
                break;
            }
            out.append(packed.constData(), qsizetype(z.total_out));
        }
    }
    deflateEnd(&z);
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
    gDeflateBytes[state.range(0)] = out.size();
}

constexpr int64_t kMiB = 1 << 20;

} // namespace

int main(int argc, char **argv)
{
    const int64_t md5Sizes[] = {256 * kMiB / 100, 256 * kMiB / 10, 256 * kMiB};
    const int64_t zipSizes[] = {500'000, 5'000'000, 50'000'000};
    for (int64_t n : md5Sizes) {
        benchmark::RegisterBenchmark("BM_MD5_Ours", BM_MD5_Ours)->Arg(n)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_MD5_OpenSSL", BM_MD5_OpenSSL)->Arg(n)->Unit(benchmark::kMillisecond);
    }
    for (int64_t n : zipSizes) {
        benchmark::RegisterBenchmark("BM_Zip_Ours", BM_Zip_Ours)->Arg(n)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_Zip_Zlib", BM_Zip_Zlib)->Arg(n)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");   // past the console reporter's last colour code
    auto pair = [&](const char *What, const char *Ours, const char *Peer, int64_t n) {
        const auto o = reporter.times.find(std::string(Ours) + "/" + std::to_string(n));
        const auto p = reporter.times.find(std::string(Peer) + "/" + std::to_string(n));
        if (o == reporter.times.end() || p == reporter.times.end())
            return false;
        std::printf("%s %10lld bytes: ours %9.3f ms, peer %9.3f ms, ours/peer %.2f", What, (long long)n, o->second,
                    p->second, o->second / p->second);
        return true;
    };
    for (int64_t n : md5Sizes)
        if (pair("MD5", "BM_MD5_Ours", "BM_MD5_OpenSSL", n))
            std::printf("\n");
    for (int64_t n : zipSizes)
        if (pair("ZIP", "BM_Zip_Ours", "BM_Zip_Zlib", n))
            std::printf("; archive %lld bytes, deflated entries %lld bytes\n", (long long)gZipBytes[n],
                        (long long)gDeflateBytes[n]);
    return 0;
}
