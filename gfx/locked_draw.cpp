#include "gfx/locked_draw.h"

#include "gfx/draw_unscaled.h"

namespace vesk::pixel {

LockedDraw::LockedDraw(TCustomDIBX& dst, TCustomDIBX& srcIn, TCustomDIBX* maskIn, Family family,
                       const RowParams& params) {
    TCustomDIBX* src = &srcIn;
    TCustomDIBX* mask = maskIn;
    if (src == &dst) {
        if (!(srcCopy_ = CopyOfSurface(*src))) return;
        src = srcCopy_.get();
    }
    if (mask == &dst) {
        if (!(maskCopy_ = CopyOfSurface(*mask))) return;
        mask = maskCopy_.get();
    }
    dst_ = std::make_unique<LockedSurface>(dst);
    if (!*dst_) return;
    src_ = std::make_unique<LockedSurface>(*src);
    if (!*src_) return;
    if (mask) {
        mask_ = std::make_unique<LockedSurface>(*mask);
        if (!*mask_) return;
    }
    drawer_ = std::make_unique<SpanDrawer>(*dst_, src_.get(), mask_.get(), family, params);
}

}  // namespace vesk::pixel
