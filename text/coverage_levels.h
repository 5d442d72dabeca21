#pragma once

#include <cstdint>

namespace vesk {

// Glyph rasterising qualities: 0 monochrome, 1 five grey levels, 2
// seventeen, 3 sixty-five. Each level becomes a coverage byte through a
// fixed table whose steps are not even: the table, not the level, is what
// games' text was tuned to look like.
constexpr int kQualityCount = 4;

// Coverage 0 … 255 of a rasteriser's grey value 0 … 255 at quality q
// (0 … 3): the grey is first reduced to the quality's levels. Quality 0
// keeps only ink (grey 128 and up) and no ink.
std::uint8_t CoverageOfGrey(int quality, std::uint8_t grey);

// The number of levels of a quality (2, 5, 17, 65).
int LevelCount(int quality);
// The coverage byte of level l at quality q.
std::uint8_t LevelCoverage(int quality, int level);

}  // namespace vesk
