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

void TWipeMask::FillMaskRows(int, int) {}

bool TWipeMask::MaskFits() const {
    return Mask.Width() == Width() && Mask.Height() == MaskHeight() && Mask.BitCount() == 8;
}

bool TWipeMask::NewLevel(std::int64_t v) {
    using Limits = std::numeric_limits<std::int32_t>;
    const auto level = std::int32_t(std::clamp<std::int64_t>(v, Limits::min(), Limits::max()));
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
    const wipe::Fields16 f(*Target);
    // Bands of rows small enough that their mask rows and pixels stay in
    // the cache between filling and composing.
    constexpr int kBand = 16;
    for (int y0 = 0; y0 < h; y0 += kBand) {
        const int y1 = std::min(h, y0 + kBand);
        if (mh == h) FillMaskRows(y0, y1);
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* m = mask.Row(y % mh);
            if (BitCount() == 32)
                wipe::ComposeRow(frames.Target<std::uint32_t>(y), frames.Old<std::uint32_t>(y),
                                 frames.New<std::uint32_t>(y), m, w, twoLevel);
            else
                wipe::ComposeRow(frames.Target<std::uint16_t>(y), frames.Old<std::uint16_t>(y),
                                 frames.New<std::uint16_t>(y), m, w, twoLevel, f);
        }
    }
}

}  // namespace vesk
