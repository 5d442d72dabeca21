#include "transitions/wipe_shadow.h"

#include <cstring>

#include "transitions/wide_kernels.h"
#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// mask = clamp(level + g - 256, 0, 255): the ramp of 768 entries that is 0
// up to 255, rises by one per step and stays at 255 from 512.
struct RampRow {
    VESK_WIPE_INLINE void operator()(std::uint8_t* m, const std::uint8_t* g, int n, int level) const {
        for (int i = 0; i < n; ++i) {
            const int v = level + g[i] - 256;
            m[i] = std::uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
        }
    }
};

}  // namespace

void TWipeShadow::Prepare() {
    TWipeMask::Prepare();
    wipe::LoadGreyMask(*this, grey_);
}

bool TWipeShadow::BuildMask() {
    const auto level = int(wipe::Scale(512, Elapsed(), Duration));
    if (!NewLevel(level + 255)) return false;
    TwoLevel = 0;
    const int w = Width();
    for (int y = 0; y < grey_.Height; ++y) {
        std::uint8_t* row = MaskRow(y);
        if (level + grey_.RowMax[std::size_t(y)] <= 256) std::memset(row, 0, std::size_t(w));
        else if (level + grey_.RowMin[std::size_t(y)] >= 511) std::memset(row, 255, std::size_t(w));
        else wipe::RunRow(RampRow{}, row, grey_.Row(y), w, level);
    }
    return true;
}

}  // namespace vesk
