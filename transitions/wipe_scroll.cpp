#include "transitions/wipe_scroll.h"

#include "gfx/dibx.h"
#include "transitions/wipe_math.h"

namespace vesk {

namespace {

// Where the old and the new picture stand along the scrolling axis, a
// distance `a` into a scroll over `size` pixels.
struct TScrollPlaces {
    int old, nw;
    TScrollPlaces(int a, int size, bool reversed) : old(reversed ? a : -a), nw(reversed ? a - size : size - a) {}
};

}  // namespace

bool TWipeScrollH::Step() {
    if (!BeginStep()) return true;
    const int w = Width();
    const TScrollPlaces at(int(wipe::Scale(w, Elapsed(), Duration)), w, Flag != 0);
    ClipToTarget();
    Target->Draw(at.old, 0, false, false, false, Old->BoundsRect(), *Old);
    Target->Draw(at.nw, 0, false, false, false, New->BoundsRect(), *New);
    return false;
}

bool TWipeScrollV::Step() {
    if (!BeginStep()) return true;
    const int h = Height();
    const TScrollPlaces at(int(wipe::Scale(h, Elapsed(), Duration)), h, Flag != 0);
    ClipToTarget();
    Target->Draw(0, at.old, false, false, false, Old->BoundsRect(), *Old);
    Target->Draw(0, at.nw, false, false, false, New->BoundsRect(), *New);
    return false;
}

}  // namespace vesk
