#pragma once

#include <cstdint>

#include "gfx/dibx.h"

namespace vesk {

// The platform colour (0x00BBGGRR) that a native value of s shows: the
// inverse of ColorToPixel, with 5- and 6-bit channels widened by repeating
// their top bits, and indexed stores looked up in their palette.
std::uint32_t NativeToColour(const TCustomDIBX& s, TPixel value);

}  // namespace vesk
