// Fuzz target of the font reader and subset builder: any input either raises an error
// or gives, for every face, a subset that reads back and packs again.
#include "export/truetype/truetypecollection.h"
#include "platform/gfx/fontdesc.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/fakes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The glyphs kept: a few low ids, and some taken from the input's size.
std::vector<uint32_t> keepList(size_t size)
{
    std::vector<uint32_t> keep{0, 1, 3, 36, 68, 131, uint32_t(size % 700), 65535};
    return keep;
}

QByteArray subsetOf(const QByteArray &bytes, int face, size_t seed)
{
    ttf::TrueTypeCollection tc;
    tc.Initialize(bytes);
    gfx::FontDesc desc;
    desc.name = QStringLiteral("Liberation Sans");
    ttf::TrueTypeFont *font = tc.LoadFont(desc, face);
    if (!font)
        return {};
    font->GetFamilyName();
    return tc.PackFont(font, keepList(seed));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ui::FakeMessageBoxes boxes;
    ui::install(&boxes);
    boxes.shown.clear();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int face : {-1, 0, 1}) {
        QByteArray subset;
        try {
            subset = subsetOf(bytes, face, size);
        } catch (const Exception &) {
            continue;
        }
        if (subset.isEmpty())
            continue;
        // What the packer writes is a font it reads again without complaint.
        const qsizetype warnings = boxes.shown.size();
        try {
            subsetOf(subset, 0, size);
        } catch (const Exception &e) {
            std::fprintf(stderr, "the subset does not read back: %s\n", e.what());
            std::abort();
        }
        if (boxes.shown.size() != warnings)
            std::abort();
    }
    return 0;
}
