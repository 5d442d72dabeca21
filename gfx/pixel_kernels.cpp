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

bool CpuHasAvx512() {
#if defined(__x86_64__) || defined(__i386__)
    // The compiler's check also asks the system whether it saves the
    // 512-bit registers, so a kernel never faults on a system that does not.
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq");
    return has;
#else
    return false;
#endif
}

std::vector<const PixelKernels*> AvailableKernelSets() {
    std::vector<const PixelKernels*> sets{&BaselineKernels()};
    if (CpuHasAvx2()) sets.push_back(&Avx2Kernels());
    if (CpuHasAvx512()) sets.push_back(&Avx512Kernels());
    return sets;
}

namespace {

std::atomic<const PixelKernels*> chosen{nullptr};

const PixelKernels& Widest() {
    static const PixelKernels& widest = *AvailableKernelSets().back();
    return widest;
}

}  // namespace

const PixelKernels& Kernels() {
    const PixelKernels* set = chosen.load(std::memory_order_relaxed);
    return set ? *set : Widest();
}

void UseKernels(const PixelKernels* set) { chosen.store(set, std::memory_order_relaxed); }

void UseBaselineKernels(bool baseline) { UseKernels(baseline ? &BaselineKernels() : nullptr); }

}  // namespace vesk::pixel
