#include "transitions/wipe_zoomin.h"

#include <algorithm>

#include "gfx/dibx.h"
#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// The start and length along one axis of the part of the source that fills
// the screen: `zoom` of the screen's size, centred between the screen's
// centre and the point as `k` goes from 0 to 1, kept on the picture.
void Window(int size, std::int32_t point, double zoom, double k, int& start, int& length) {
    length = int(std::max<std::int64_t>(1, wipe::Round(size * zoom)));
    const std::int64_t at = wipe::Round((point - size / 2.0) * k) + size / 2 - length / 2;
    start = int(at < 0 ? 0 : at + length > size ? size - length : at);
}

}  // namespace

bool TWipeZoomin::Step() {
    if (!BeginStep()) return true;
    const double c = 2 * Progress();
    const bool second = c > 1;
    const double zoom = second ? c - 1 : 1 - c, k = second ? 2 - c : c;
    int x, y, sw, sh;
    Window(Width(), Params[0], zoom, k, x, sw);
    Window(Height(), Params[1], zoom, k, y, sh);
    TCustomDIBX& src = second ? *New : *Old;
    ClipToTarget();
    Target->StretchDraw(Target->BoundsRect(), src, 255, false, false, false, TRect{x, y, x + sw, y + sh});
    return false;
}

}  // namespace vesk
