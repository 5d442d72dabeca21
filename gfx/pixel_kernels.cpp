#include "gfx/pixel_kernels.h"

#include <atomic>

namespace vesk::pixel {

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

namespace {
std::atomic<bool> forceBaseline{false};
}

const PixelKernels& Kernels() {
    if (!forceBaseline.load(std::memory_order_relaxed) && CpuHasAvx2()) return Avx2Kernels();
    return BaselineKernels();
}

void UseBaselineKernels(bool baseline) { forceBaseline.store(baseline, std::memory_order_relaxed); }

}  // namespace vesk::pixel
