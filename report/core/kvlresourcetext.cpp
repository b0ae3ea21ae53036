#include "report/core/kvlresourcetext.h"

#include <atomic>

namespace {
std::atomic<TkvlResourceTextFn> hook{nullptr};
}

void kvlSetResourceTextHook(TkvlResourceTextFn Fn) { hook.store(Fn); }

QString kvlResourceText(const QString &Key)
{
    const TkvlResourceTextFn fn = hook.load();
    return fn ? fn(Key) : Key;
}
