#pragma once

#include <vector>

#include "gfx/rect.h"

namespace vesk {

// A base's dirty rectangles. Nearby rectangles are merged as they come in so
// that the draw pass runs few clipped passes over the scene.
class TClipList {
public:
    // Rectangles closer than this on every side are merged into their union.
    static constexpr int kNearness = 20;

    // An empty rectangle adds nothing. A rectangle near one already listed
    // (the first such in list order) replaces it by their union, added by
    // the same rule; one inside the near rectangle adds nothing.
    void Add(const TRect& rect);
    void Clear();
    const std::vector<TRect>& Rects() const { return rects_; }
    bool Changed() const { return changed_; }
    void ResetChanged() { changed_ = false; }

    // Two rectangles are near unless one lies more than kNearness pixels
    // to the left, right, above or below the other.
    static bool Near(const TRect& a, const TRect& b);

private:
    std::vector<TRect> rects_;
    bool changed_ = false;
};

}  // namespace vesk
