#pragma once

#include "gfx/dibx.h"

namespace vesk::wipe {

// A box blur of radius r: every 8-bit channel of a pixel becomes the
// integer average (truncated) of that channel over the pixels of the
// (2r + 1) x (2r + 1) square around it that lie inside the picture. 32-bit
// pictures blur all four bytes; other bit counts blur their colours' 8-bit
// channels. The result has src's size and bit count; r <= 0 copies.
void BoxBlur(TCustomDIBX& src, int r, TDIBX& out);

}  // namespace vesk::wipe
