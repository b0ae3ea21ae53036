// Hostile prepared-report files: loading and building every page never crashes.
#include "engine/store/previewpages.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/options/kvloptions.h"
#include "report/core/kvlobjects.h"

#include <cstddef>
#include <cstdint>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlRegisterPreviewPagesStore();
        return true;
    }();
    (void)ready;
    TkvlReport report(nullptr);
    report.EngineOptions()->NewSilentMode = simSilent;
    auto *store = static_cast<TkvlPreviewPages *>(report.PreviewPages());
    TMemoryStream in(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        store->LoadFromStream(in);
    } catch (const std::exception &) {
        return 0;
    }
    for (int i = 0; i < store->GetCount() && i < 64; ++i) {
        store->GetPage(i);
        store->GetPageSize(i);
    }
    return 0;
}
