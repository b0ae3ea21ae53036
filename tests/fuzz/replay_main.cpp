// Plain driver for libFuzzer targets: feeds every file of the given folders (or files)
// to LLVMFuzzerTestOneInput once, so the checked-in corpora run as ordinary tests.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static int runFile(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", p.c_str());
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return 0;
}

int main(int argc, char **argv)
{
    int files = 0, failures = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto &e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) {
                    failures += runFile(e.path());
                    ++files;
                }
        } else {
            failures += runFile(p);
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    return failures == 0 && files > 0 ? 0 : 1;
}
