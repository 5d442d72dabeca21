#pragma once

#include <algorithm>
#include <cstdint>

namespace vesk {

// A rectangle in pixels: Left and Top inclusive, Right and Bottom exclusive.
// Stored as four signed 32-bit values wherever it is streamed.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }

    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect MakeRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return TRect{left, top, right, bottom};
}

inline TRect Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    return TRect{left, top, left + width, top + height};
}

// The common part of two rectangles; empty (Right <= Left or Bottom <= Top)
// when they do not overlap.
inline TRect Intersect(const TRect& a, const TRect& b) {
    return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                 std::min(a.Bottom, b.Bottom)};
}

}  // namespace vesk
