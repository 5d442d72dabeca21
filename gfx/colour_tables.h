#pragma once

#include <array>
#include <cstdint>

namespace vesk {

// Process-wide colour tables of 256 entries for effects that look a level
// up per pixel (the spotlight and mask transitions, the fire surface). They
// depend on the bit count of the screen's surfaces, so they are built once
// when drawing starts (32 bits, no screen yet) and again once the screen
// exists; later display-mode changes do not rebuild them.
struct TColourTables {
    std::array<std::uint16_t, 256> GreyPixels16;  // grey k on a 15- or 16-bit store
    std::array<std::uint32_t, 256> GreyPixels32;  // grey k on a 32-bit store
    std::array<std::uint16_t, 256> FirePixels16;  // the fire palette on a 15- or 16-bit store
};

// The fire palette, 0x00RRGGBB: black through red and orange to pale yellow.
extern const std::array<std::uint32_t, 256> kFirePalette;

// Rebuilds the tables for surfaces of surfaceBitCount bits (32 when there is
// no screen): 15 gives the 5-5-5 forms, anything else the 5-6-5 forms. Until
// the first call the tables hold the 32-bit build.
void BuildColourTables(int surfaceBitCount);

const TColourTables& ColourTables();

}  // namespace vesk
