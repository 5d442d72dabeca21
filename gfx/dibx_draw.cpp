// Unscaled copies: Draw and Assign.
#include <cstring>

#include "gfx/dibx.h"
#include "gfx/draw_unscaled.h"

namespace vesk {

using namespace pixel;

void TCustomDIBX::Draw(int x, int y, bool flipV, bool flipH, bool transparent, const TRect& srcRect,
                       TCustomDIBX& src) {
    UnscaledDraw d{x, y, srcRect, flipV, flipH, Family::Copy, {}};
    if (transparent && src.TransparentColor != -1) {
        d.family = Family::KeyCopy;
        d.params.key = std::uint32_t(src.TransparentColor);
    }
    DrawUnscaled(*this, src, nullptr, d);
}

void TCustomDIBX::Assign(TCustomDIBX& src) {
    auto* to = dynamic_cast<TDIBX*>(this);
    auto* from = dynamic_cast<TDIBX*>(&src);
    if (to && from && to != from && to->Width() == from->Width() && to->Height() == from->Height() &&
        to->Pitch() == from->Pitch() && !to->IsEmpty()) {
        const std::size_t bytes = std::size_t(to->RowBytes()) * std::size_t(to->Height());
        std::memcpy(to->ScanLine(to->Height() - 1), from->ScanLine(from->Height() - 1), bytes);
        return;
    }
    Draw(0, 0, false, false, false, src.BoundsRect(), src);
}

}  // namespace vesk
