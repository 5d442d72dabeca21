#include "gfx/pixel_colour.h"

#include <array>

namespace vesk {

std::uint32_t NativeToColour(const TCustomDIBX& s, TPixel v) {
    auto widen = [](std::uint32_t field, int bits) {
        return bits >= 8 ? field & 0xFF : (field << (8 - bits)) | (field >> (2 * bits - 8));
    };
    std::uint32_t r, g, b;
    switch (s.BitCount()) {
        case 32:
        case 24: r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF; break;
        case 16: r = widen((v >> 11) & 0x1F, 5), g = widen((v >> 5) & 0x3F, 6), b = widen(v & 0x1F, 5); break;
        case 15: r = widen((v >> 10) & 0x1F, 5), g = widen((v >> 5) & 0x1F, 5), b = widen(v & 0x1F, 5); break;
        default: {
            std::array<TPaletteEntry, 256> palette{};
            s.GetPaletteEntries(palette, int(v & 0xFF), 1);
            const std::uint32_t e = palette[0];
            r = (e >> 16) & 0xFF, g = (e >> 8) & 0xFF, b = e & 0xFF;
        }
    }
    return r | g << 8 | b << 16;
}

}  // namespace vesk
