#include "transitions/wipe_curtains.h"

#include <algorithm>
#include <cstring>

#include "transitions/wipe_math.h"

namespace vesk {

namespace {

struct TCurtain {
    std::int64_t block, span;  // Params[0] and Params[1], at least 1 each

    explicit TCurtain(const TCustomWipe& w) : block(std::max(w.Params[0], 1)), span(std::max(w.Params[1], 1)) {}

    // The progress value over `lines` lines.
    std::int64_t Level(std::int64_t lines, const TCustomWipe& w) const {
        const std::int64_t blocks = (lines + block - 1) / block;
        return wipe::Scale((blocks + block - 2) * 16 + span, w.Elapsed(), w.Duration);
    }
    std::uint8_t Value(std::int64_t v, std::int64_t line) const {
        return wipe::Ramp(v, (line / block + line % block) * 16, span);
    }
};

}  // namespace

void TWipeOrderHMask::SetParam(int index, std::int32_t value) { TCustomWipe::SetParam(index, std::max(value, 1)); }

int TWipeCurtainH::MaskHeight() const { return 1; }

bool TWipeCurtainH::BuildMask() {
    const TCurtain c(*this);
    const int w = Width();
    const std::int64_t v = c.Level(w, *this);
    if (!NewLevel(v)) return false;
    TwoLevel = c.span < 2;
    std::uint8_t* row = MaskRow(0);
    for (int x = 0; x < w; ++x) row[x] = c.Value(v, Flag ? w - x - 1 : x);
    return true;
}

bool TWipeCurtainV::BuildMask() {
    const TCurtain c(*this);
    const int h = Height();
    const std::int64_t v = c.Level(h, *this);
    if (!NewLevel(v)) return false;
    TwoLevel = c.span < 2;
    for (int y = 0; y < h; ++y) std::memset(MaskRow(y), c.Value(v, Flag ? h - y - 1 : y), std::size_t(Width()));
    return true;
}

}  // namespace vesk
