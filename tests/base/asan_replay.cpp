// Driver of the sanitizer runs: feeds every corpus file to LLVMFuzzerTestOneInput, then a
// fixed number of inputs derived from them by seeded mutations (the same inputs on every
// run). Usage: asan_NAME -runs=N folder-or-file...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

// Pieces that reach the readers' interesting paths.
const char *const kTokens[] = {"<", ">", "/>", "</", "<!--", "-->", "--->", "\"", "=", "&#", ";", "&quot;",
                               "&amp;", " ld=\"0\"", "<?xml version=\"1.0\"?>", "\x1f\x8b\x08\x08",
                               "\x78\xda", "\xff\xfe", "&#1114112;", "&#65;", "\0", " "};

Bytes mutate(const Bytes &in, const std::vector<Bytes> &corpus, std::mt19937 &rng)
{
    Bytes b = in;
    const int steps = 1 + int(rng() % 4);
    for (int s = 0; s < steps; ++s) {
        const size_t pos = b.empty() ? 0 : rng() % (b.size() + 1);
        switch (rng() % 7) {
        case 0:  // flip a bit
            if (!b.empty())
                b[pos % b.size()] ^= uint8_t(1u << (rng() % 8));
            break;
        case 1:  // random byte
            b.insert(b.begin() + pos, uint8_t(rng()));
            break;
        case 2: {  // delete a range
            if (b.empty())
                break;
            const size_t n = std::min<size_t>(b.size() - pos % b.size(), 1 + rng() % 16);
            b.erase(b.begin() + pos % b.size(), b.begin() + pos % b.size() + n);
            break;
        }
        case 3: {  // duplicate a range
            if (b.empty())
                break;
            const size_t from = rng() % b.size();
            const size_t n = std::min<size_t>(b.size() - from, 1 + rng() % 64);
            Bytes piece(b.begin() + from, b.begin() + from + n);
            b.insert(b.begin() + pos, piece.begin(), piece.end());
            break;
        }
        case 4:  // truncate
            b.resize(pos);
            break;
        case 5: {  // insert a token
            const char *t = kTokens[rng() % std::size(kTokens)];
            const size_t n = t[0] ? std::strlen(t) : 1;
            b.insert(b.begin() + pos, t, t + n);
            break;
        }
        default: {  // splice with another input
            const Bytes &o = corpus[rng() % corpus.size()];
            if (o.empty())
                break;
            const size_t from = rng() % o.size();
            b.resize(pos);
            b.insert(b.end(), o.begin() + from, o.end());
            break;
        }
        }
    }
    return b;
}

bool readFile(const std::filesystem::path &p, std::vector<Bytes> &out)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    out.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    long runs = 1000;
    std::vector<Bytes> corpus;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-runs=", 6) == 0) {
            runs = std::strtol(argv[i] + 6, nullptr, 10);
            continue;
        }
        const std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            std::vector<std::filesystem::path> files;
            for (const auto &e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file())
                    files.push_back(e.path());
            std::sort(files.begin(), files.end());  // the same order, so the same mutations
            for (const auto &f : files)
                readFile(f, corpus);
        } else if (!readFile(p, corpus)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
    }
    if (corpus.empty()) {
        std::fprintf(stderr, "empty corpus\n");
        return 1;
    }
    for (const Bytes &b : corpus)
        LLVMFuzzerTestOneInput(b.data(), b.size());
    std::mt19937 rng(20261210);
    for (long r = 0; r < runs; ++r) {
        const Bytes b = mutate(corpus[rng() % corpus.size()], corpus, rng);
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    std::printf("ran %zu corpus inputs and %ld mutations\n", corpus.size(), runs);
    return 0;
}
