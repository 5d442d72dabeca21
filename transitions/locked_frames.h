#pragma once

#include <cstdint>

#include "gfx/pixel_rows.h"
#include "transitions/wipe.h"

namespace vesk::wipe {

// The three surfaces of a transition locked for one step, for the kinds
// that write pixels themselves. Unlocked on every exit path.
class TLockedFrames {
public:
    explicit TLockedFrames(const TCustomWipe& w) : target_(*w.Target), old_(*w.Old), new_(*w.New) {}

    explicit operator bool() const { return target_ && old_ && new_; }

    template <class P>
    P* Target(int y) const {
        return reinterpret_cast<P*>(target_.Row(y));
    }
    template <class P>
    const P* Old(int y) const {
        return reinterpret_cast<const P*>(old_.Row(y));
    }
    template <class P>
    const P* New(int y) const {
        return reinterpret_cast<const P*>(new_.Row(y));
    }

private:
    pixel::LockedSurface target_, old_, new_;
};

}  // namespace vesk::wipe
