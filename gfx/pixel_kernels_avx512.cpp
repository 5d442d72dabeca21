// The row kernels compiled for AVX-512 (F, BW, VL, DQ) with 512-bit vectors,
// chosen at run time when the processor and the system support them (see
// pixel_kernels.cpp). As with the AVX2 file, the whole file is built with the
// extra instruction sets (CMakeLists.txt), so it includes no header with
// inline code of its own and keeps the kernels in a namespace of their own.
#include <cstdint>

#include "gfx/pixel_kernels.h"

namespace vesk::pixel::avx512 {
constexpr const char* kKernelName = "avx512";
#include "gfx/pixel_kernels.inc"
namespace {
void SpecialiseBytes32(KernelSet<u32>&) {}
}  // namespace
}  // namespace vesk::pixel::avx512

namespace vesk::pixel {
const PixelKernels& Avx512Kernels() { return avx512::KernelTable(); }
}  // namespace vesk::pixel
