// The row kernels compiled for AVX2, chosen at run time when the processor
// has it (see pixel_kernels.cpp). The build gives this one file -mavx2 on
// x86 (CMakeLists.txt), which works the same with every compiler. Because the
// whole file is compiled for AVX2, it must not include headers with inline
// code of their own: the linker could pick this file's AVX2 copy of such a
// function for callers on processors without it. The kernels themselves live
// in a namespace of their own.
#include <cstdint>

#include "gfx/pixel_kernels.h"

namespace vesk::pixel::avx2 {
constexpr const char* kKernelName = "avx2";
#include "gfx/pixel_kernels.inc"
}  // namespace vesk::pixel::avx2

namespace vesk::pixel {
const PixelKernels& Avx2Kernels() { return avx2::KernelTable(); }
}  // namespace vesk::pixel
