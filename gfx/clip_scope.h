#pragma once

#include "gfx/dibx.h"

namespace vesk::pixel {

// Confines a surface's clip to a rectangle for the length of a composite
// draw and puts the caller's clip back afterwards, also on errors.
class ClipScope {
public:
    ClipScope(TCustomDIBX& s, const TRect& clip) : surface_(s), saved_(s.ClipRect) { s.ClipRect = clip; }
    ~ClipScope() { surface_.ClipRect = saved_; }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    TCustomDIBX& surface_;
    TRect saved_;
};

}  // namespace vesk::pixel
