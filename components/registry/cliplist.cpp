#include "components/registry/cliplist.h"

#include <cstdint>

namespace vesk {

bool TClipList::Near(const TRect& a, const TRect& b) {
    // Widened so that rectangles at the edge of the coordinate range compare
    // without overflow.
    const std::int64_t n = kNearness;
    return !(a.Right + n < b.Left || b.Right + n < a.Left || a.Bottom + n < b.Top || b.Bottom + n < a.Top);
}

void TClipList::Add(const TRect& rect) {
    if (rect.IsEmpty()) return;
    TRect r = rect;
    // Each union swallows one listed rectangle, so this ends after at most
    // as many rounds as there are rectangles.
    for (;;) {
        std::size_t i = 0;
        while (i < rects_.size() && !Near(rects_[i], r)) ++i;
        if (i == rects_.size()) break;
        const TRect near = rects_[i];
        if (r.Left >= near.Left && r.Top >= near.Top && r.Right <= near.Right && r.Bottom <= near.Bottom) return;
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
        r = MakeRect(std::min(r.Left, near.Left), std::min(r.Top, near.Top), std::max(r.Right, near.Right),
                     std::max(r.Bottom, near.Bottom));
    }
    rects_.push_back(r);
    changed_ = true;
}

void TClipList::Clear() {
    rects_.clear();
    changed_ = true;
}

}  // namespace vesk
