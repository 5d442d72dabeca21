#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vesk {

// The largest side a cursor or icon picture may have: the icon directory
// stores sides in one byte, 0 meaning 256.
inline constexpr int kMaxCursorSide = 256;

// A cursor picture ready to show: Width x Height pixels 0xAARRGGBB (alpha
// not premultiplied), rows top-down, and the hot spot inside the picture.
struct TCursorImage {
    int Width = 0, Height = 0;
    int HotX = 0, HotY = 0;
    std::vector<std::uint32_t> Pixels;
};

// Reads a cursor file: the Windows ".cur" and ".ico" formats (an icon
// directory of pictures, each a headerless bitmap of 1, 4, 8, 24 or 32 bits
// with its AND mask, or a PNG file) and animated ".ani" cursors, of which
// the first frame is taken. Of several pictures the one nearest 32 x 32
// with the most colours is chosen. A ".cur" carries its hot spot; an icon's
// is its centre. Raises EVeskError for anything that is not such a file or
// is damaged.
TCursorImage ReadCursorFile(std::span<const std::uint8_t> bytes);

}  // namespace vesk
