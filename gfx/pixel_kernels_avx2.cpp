// The row kernels compiled for AVX2, chosen at run time when the processor
// has it (see pixel_kernels.cpp).
#include <cstdint>

#include "gfx/pixel_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#pragma GCC push_options
#pragma GCC target("avx2")
#define VESK_HAVE_AVX2_KERNELS 1
#endif

namespace vesk::pixel::avx2 {
constexpr const char* kKernelName = "avx2";
#include "gfx/pixel_kernels.inc"
}  // namespace vesk::pixel::avx2

#ifdef VESK_HAVE_AVX2_KERNELS
#pragma GCC pop_options
#endif

namespace vesk::pixel {
const PixelKernels& Avx2Kernels() { return avx2::KernelTable(); }
}  // namespace vesk::pixel
