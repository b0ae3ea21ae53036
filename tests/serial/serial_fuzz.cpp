// Reads arbitrary bytes as a template into a small report: nothing may crash or leak.
#include "standins.h"

#include "platform/rtl/stream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    registerTestClasses();
    TComponent host(nullptr);
    auto *src = new TTestSource(&host);
    src->SetName(QStringLiteral("Source1"));
    TTestReport rep(&host);
    auto *page = new TkvlPage(&rep);
    page->SetName(QStringLiteral("Page1"));
    auto *memo = new TTestMemo(page);
    memo->SetName(QStringLiteral("Memo1"));
    TMemoryStream m(QByteArray(reinterpret_cast<const char *>(Data), qsizetype(Size)));
    try {
        rep.TkvlComponent::LoadFromStream(m);  // the object tree's read, without the document's prompts
    } catch (const std::exception &) {
        // malformed XML is reported by raising
    }
    // Whatever was read must write again.
    TMemoryStream out;
    rep.SaveToStream(out);
    return 0;
}
