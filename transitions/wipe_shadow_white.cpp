#include "transitions/wipe_shadow_white.h"

#include <cstring>

#include "gfx/colour_tables.h"
#include "transitions/grey_rows.h"
#include "transitions/locked_frames.h"
#include "transitions/wipe_math.h"

namespace vesk {

void TWipeShadowWhite::Prepare() { wipe::LoadGreyMask(*this, grey_); }

bool TWipeShadowWhite::Step() {
    if (!BeginStep()) return true;
    // The picture is read in Prepare; a step without it uses the uniform
    // one rather than a table of the wrong size.
    if (grey_.Width != Width() || grey_.Height != Height()) Prepare();
    const auto q = int(wipe::Scale(768, Elapsed(), Duration));
    const wipe::TLockedFrames frames(*this);
    if (!frames) return false;
    const int w = Width();
    const bool is32 = BitCount() == 32, darken = Darkens();
    const std::size_t rowBytes = std::size_t(w) * (is32 ? 4 : 2);
    const wipe::Fields16 f(*Target);
    const std::uint16_t* grey16 = ColourTables().GreyPixels16.data();
    for (int y = 0; y < Height(); ++y) {
        const std::uint8_t* g = grey_.Row(y);
        // Every level of the row clamps to 0 (the old picture as it is) or
        // to 511 (the new one as it is).
        if (q + grey_.RowMax[std::size_t(y)] <= 256)
            std::memcpy(frames.Target<std::uint8_t>(y), frames.Old<std::uint8_t>(y), rowBytes);
        else if (q + grey_.RowMin[std::size_t(y)] >= 767)
            std::memcpy(frames.Target<std::uint8_t>(y), frames.New<std::uint8_t>(y), rowBytes);
        else if (is32)
            wipe::ShadowRow(frames.Target<std::uint32_t>(y), frames.Old<std::uint32_t>(y),
                            frames.New<std::uint32_t>(y), g, w, q, darken);
        else
            wipe::ShadowRow(frames.Target<std::uint16_t>(y), frames.Old<std::uint16_t>(y),
                            frames.New<std::uint16_t>(y), g, w, q, darken, f, grey16);
    }
    return false;
}

}  // namespace vesk
