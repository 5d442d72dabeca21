#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "gfx/dibx.h"

namespace vesk::test {

// A surface of w x h pixels at the given bit count whose pixels are listed
// row by row.
inline std::unique_ptr<TDIBX> MakeSurface(int w, int h, int bits, std::initializer_list<std::uint32_t> pixels = {}) {
    auto s = std::make_unique<TDIBX>(w, h, bits);
    s->Fill(0);
    int i = 0;
    for (std::uint32_t p : pixels) {
        s->SetPixel(i % w, i / w, p);
        ++i;
    }
    return s;
}

inline std::vector<std::uint32_t> Pixels(const TCustomDIBX& s) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) out.push_back(s.GetPixel(x, y));
    return out;
}

// FNV-1a over the native values, row by row: a golden image in one number.
inline std::uint64_t PixelHash(const TCustomDIBX& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t v : Pixels(s))
        for (int k = 0; k < 4; ++k) {
            h ^= (v >> (8 * k)) & 0xFF;
            h *= 1099511628211ull;
        }
    return h;
}

}  // namespace vesk::test
