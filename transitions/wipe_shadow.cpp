#include "transitions/wipe_shadow.h"

#include <algorithm>
#include <cstring>

#include "transitions/wide_kernels.h"
#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// mask = clamp(level + g - 256, 0, 255), the ramp of 768 entries that is 0
// up to 255, rises by one per step and stays at 255 from 512: a saturating
// byte add of level - 256, or subtract of 256 - level, which the
// vectoriser finds in this form.
struct RampRow {
    VESK_WIPE_INLINE void operator()(std::uint8_t* __restrict m, const std::uint8_t* __restrict g, int n,
                                     int level) const {
        if (level >= 256) {
            const auto add = std::uint8_t(level - 256), limit = std::uint8_t(255 - add);
            for (int i = 0; i < n; ++i) m[i] = g[i] > limit ? 255 : std::uint8_t(g[i] + add);
        } else {
            const auto sub = std::uint8_t(std::min(255, 256 - level));
            for (int i = 0; i < n; ++i) m[i] = g[i] > sub ? std::uint8_t(g[i] - sub) : 0;
        }
    }
};

}  // namespace

void TWipeShadow::Prepare() {
    TWipeMask::Prepare();
    wipe::LoadGreyMask(*this, grey_);
}

// The mask rows are made band by band as the composition reaches them.
bool TWipeShadow::BuildMask() {
    const auto level = int(wipe::Scale(512, Elapsed(), Duration));
    if (!NewLevel(level + 255)) return false;
    TwoLevel = 0;
    level_ = level;
    return true;
}

void TWipeShadow::FillMaskRows(int from, int to) {
    const int w = Width();
    for (int y = from; y < std::min(to, grey_.Height); ++y) {
        std::uint8_t* row = MaskRow(y);
        if (level_ + grey_.RowMax[std::size_t(y)] <= 256) std::memset(row, 0, std::size_t(w));
        else if (level_ + grey_.RowMin[std::size_t(y)] >= 511) std::memset(row, 255, std::size_t(w));
        else wipe::RunRow(RampRow{}, row, grey_.Row(y), w, level_);
    }
}

}  // namespace vesk
