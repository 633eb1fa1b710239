#include "engine/media/RowVariant.h"

#include <atomic>

namespace {

RowVariant WidestAvailable() {
    return RowVariantAvailable(RowVariant::kAvx2) ? RowVariant::kAvx2 : RowVariant::kBaseline;
}

std::atomic<RowVariant>& Active() {
    static std::atomic<RowVariant> active{WidestAvailable()};
    return active;
}

}  // namespace

bool RowVariantAvailable(RowVariant variant) {
    if (variant == RowVariant::kBaseline) {
        return true;
    }
#if defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

RowVariant ActiveRowVariant() {
    return Active().load(std::memory_order_relaxed);
}

bool SetRowVariant(RowVariant variant) {
    if (!RowVariantAvailable(variant)) {
        return false;
    }
    Active().store(variant, std::memory_order_relaxed);
    return true;
}
