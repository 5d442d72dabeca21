#pragma once

#include <cstdint>

#include "transitions/wipe_pixels.h"

namespace vesk::wipe {

// The row loops of the kinds that lay a grey level over one of the two
// pictures per pixel. grey16 is the shared table of grey levels of 15/16-bit
// stores; on 32-bit stores grey k is 0x00kkkkkk, which the loops compute.

// Spotlight: with n = dist[i], the pixel shows the old picture while
// b < n + 256 and the new one after; while n <= b < n + 512 it is brightened
// by grey(b - n) on the way up and grey(n + 511 - b) on the way down.
void SpotRow(std::uint32_t* d, const std::uint32_t* o, const std::uint32_t* n, const std::int32_t* dist, int w,
             int b);
void SpotRow(std::uint16_t* d, const std::uint16_t* o, const std::uint16_t* n, const std::int32_t* dist, int w,
             int b, const Fields16& f, const std::uint16_t* grey16);

// Mask white and black: s = clamp(q + g[i] - 256, 0, 511); above 255 the
// pixel is the new one with grey(511 - s) added (subtracted when darken),
// else the old one with grey(s).
void ShadowRow(std::uint32_t* d, const std::uint32_t* o, const std::uint32_t* n, const std::uint8_t* g, int w, int q,
               bool darken);
void ShadowRow(std::uint16_t* d, const std::uint16_t* o, const std::uint16_t* n, const std::uint8_t* g, int w, int q,
               bool darken, const Fields16& f, const std::uint16_t* grey16);

}  // namespace vesk::wipe
