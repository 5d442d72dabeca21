#include "transitions/wide_kernels.h"

#include "gfx/pixel_kernels.h"

namespace vesk::wipe {

bool UseWideKernels() {
#if VESK_WIPE_HAS_AVX2
    return pixel::CpuHasAvx2() && &pixel::Kernels() != &pixel::BaselineKernels();
#else
    return false;
#endif
}

}  // namespace vesk::wipe
