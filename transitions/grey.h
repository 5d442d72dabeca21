#pragma once

#include "gfx/dibx.h"

namespace vesk::wipe {

// grey(k): the native value of the colour with red, green and blue all k.
inline TPixel Grey(const TCustomDIBX& s, int k) {
    return TPixel(s.ColorToPixel(std::int32_t(std::uint32_t(k) * 0x010101u)));
}

// Brightens the whole surface by grey(k), each channel saturating, or
// darkens it, each channel floored at 0.
inline void Tint(TCustomDIBX& s, int k, bool darken) {
    if (darken) s.SubRect(s.BoundsRect(), Grey(s, k));
    else s.AddRect(s.BoundsRect(), Grey(s, k));
}

}  // namespace vesk::wipe
