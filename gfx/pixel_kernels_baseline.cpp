// The row kernels for baseline x86-64 (SSE2), the set every processor runs.
#include <cstdint>

#include "gfx/pixel_kernels.h"

namespace vesk::pixel::baseline {
constexpr const char* kKernelName = "baseline";
#include "gfx/pixel_kernels.inc"
namespace {
void SpecialiseBytes32(KernelSet<u32>&) {}
}  // namespace
}  // namespace vesk::pixel::baseline

namespace vesk::pixel {
const PixelKernels& BaselineKernels() { return baseline::KernelTable(); }
}  // namespace vesk::pixel
