#include "transitions/wipe_mask.h"

#include <algorithm>
#include <limits>

#include "gfx/pixel_rows.h"
#include "transitions/locked_frames.h"
#include "transitions/mask_compose.h"

namespace vesk {

void TWipeMask::SetParam(int index, std::int32_t value) {
    TCustomWipe::SetParam(index, std::max(value, index == 0 ? 2 : 1));
}

int TWipeMask::MaskHeight() const { return Height(); }

void TWipeMask::Prepare() {
    Mask.SetSize(Width(), MaskHeight(), 8);
    Mask.Fill(0);
    // The cleared mask is built afresh at the next step, also when a step
    // prepares it again.
    LastLevel = -1;
}

bool TWipeMask::BuildMask() { return false; }

bool TWipeMask::MaskFits() const {
    return Mask.Width() == Width() && Mask.Height() == MaskHeight() && Mask.BitCount() == 8;
}

bool TWipeMask::NewLevel(std::int64_t v) {
    const auto level = std::int32_t(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    if (level == LastLevel) return false;
    LastLevel = level;
    return true;
}

bool TWipeMask::Step() {
    if (!BeginStep()) return true;
    // A parameter set after Prepare may have changed the mask's height; the
    // mask is then made again rather than read past its rows.
    if (!MaskFits()) Prepare();
    if (!BuildMask()) return false;
    Compose();
    return false;
}

void TWipeMask::Compose() {
    const wipe::TLockedFrames frames(*this);
    const pixel::LockedSurface mask(Mask);
    if (!frames || !mask) return;
    const int w = Width(), h = Height(), mh = Mask.Height();
    const bool twoLevel = TwoLevel != 0;
    if (BitCount() == 32) {
        for (int y = 0; y < h; ++y)
            wipe::ComposeRow(frames.Target<std::uint32_t>(y), frames.Old<std::uint32_t>(y),
                             frames.New<std::uint32_t>(y), mask.Row(y % mh), w, twoLevel);
        return;
    }
    const wipe::Fields16 f(*Target);
    for (int y = 0; y < h; ++y)
        wipe::ComposeRow(frames.Target<std::uint16_t>(y), frames.Old<std::uint16_t>(y), frames.New<std::uint16_t>(y),
                         mask.Row(y % mh), w, twoLevel, f);
}

}  // namespace vesk
