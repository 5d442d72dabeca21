#include "transitions/wipe_blinds.h"

#include <algorithm>
#include <cstring>

#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// The parameters as SetParam stores them, also when a caller wrote the
// fields directly: no division may meet a zero.
std::int64_t Strip(const TCustomWipe& w) { return std::max(w.Params[0], 2); }
std::int64_t Span(const TCustomWipe& w) { return std::max(w.Params[1], 1); }

// The progress value of both blinds and the delay of line j of a strip.
std::int64_t BlindLevel(const TCustomWipe& w, std::int32_t position) {
    return wipe::Scale(Span(w) + 2 * Strip(w) - 2, position, w.Duration);
}

std::int64_t BlindDelay(std::int64_t j, std::int64_t strip, bool reversed) {
    return 2 * (reversed ? strip - j - 1 : j);
}

}  // namespace

int TWipeBlindH::MaskHeight() const { return 1; }

bool TWipeBlindH::BuildMask() {
    const std::int64_t v = BlindLevel(*this, Elapsed());
    if (!NewLevel(v)) return false;
    TwoLevel = Span(*this) < 2;
    std::uint8_t* row = MaskRow(0);
    const std::int64_t strip = Strip(*this), span = Span(*this);
    for (int x = 0; x < Width(); ++x) row[x] = wipe::Ramp(v, BlindDelay(x % strip, strip, Flag != 0), span);
    return true;
}

// Rows past the screen's height are never shown, so the mask stops there:
// a strip wider than the screen needs no rows beyond it.
int TWipeBlindV::MaskHeight() const { return int(std::min<std::int64_t>(Strip(*this), Height())); }

bool TWipeBlindV::BuildMask() {
    const std::int64_t v = BlindLevel(*this, Elapsed());
    if (!NewLevel(v)) return false;
    TwoLevel = Span(*this) < 2;
    const std::int64_t strip = Strip(*this), span = Span(*this);
    for (int j = 0; j < Mask.Height(); ++j) {
        const std::uint8_t value = wipe::Ramp(v, BlindDelay(j, strip, Flag != 0), span);
        if (value != 0 && value != 255) TwoLevel = 0;
        std::memset(MaskRow(j), value, std::size_t(Width()));
    }
    return true;
}

}  // namespace vesk
