// The row kernels compiled for AVX2 (the build gives this file -mavx2),
// chosen at run time when the processor has it (see pixel_kernels.cpp).
#include <cstdint>

#include "gfx/pixel_kernels.h"

namespace vesk::pixel::avx2 {
constexpr const char* kKernelName = "avx2";
#include "gfx/pixel_kernels.inc"
}  // namespace vesk::pixel::avx2

namespace vesk::pixel {
const PixelKernels& Avx2Kernels() { return avx2::KernelTable(); }
}  // namespace vesk::pixel
