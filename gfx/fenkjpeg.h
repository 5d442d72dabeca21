#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

class TDIBSurface;

// JPEG colour data of layered images, through libjpeg-turbo.

// Decodes a JPEG stream into target, which already has the frame's size and
// bit count; the stream must be of that size. 24- and 32-bit bitmaps receive
// the decoder's rows directly (the fourth byte of a 32-bit pixel is 0xFF),
// 16-bit ones its 5-6-5 output, 15-bit ones reduced channels and paletted
// ones the nearest palette entries. Raises EVeskError for damaged data.
void DecodeJpegInto(const std::uint8_t* data, std::size_t size, TDIBSurface& target);

// Encodes the bitmap's colours at quality 0..100 (clamped).
std::vector<std::uint8_t> EncodeJpeg(const TDIBSurface& image, int quality);

}  // namespace vesk
