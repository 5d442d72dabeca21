#pragma once

#include <memory>

#include "gfx/dibx.h"
#include "gfx/draw_span.h"

namespace vesk::pixel {

// What one transformed draw holds while it runs: copies of a source or mask
// that is also the destination (so rows never read pixels the draw already
// wrote), the locks of all three surfaces and the span drawer over them.
// False when a copy or a lock could not be had; the draw then does nothing.
class LockedDraw {
public:
    LockedDraw(TCustomDIBX& dst, TCustomDIBX& src, TCustomDIBX* mask, Family family, const RowParams& params);

    explicit operator bool() const { return drawer_ != nullptr; }
    SpanDrawer& Drawer() { return *drawer_; }
    bool HasMask() const { return mask_ != nullptr; }

private:
    std::unique_ptr<TDIBX> srcCopy_, maskCopy_;
    std::unique_ptr<LockedSurface> dst_, src_, mask_;
    std::unique_ptr<SpanDrawer> drawer_;
};

}  // namespace vesk::pixel
