#include "transitions/wipe_dither.h"

#include <algorithm>
#include <cstring>

#include "common/rands.h"
#include "transitions/wipe_math.h"

namespace vesk {

int TWipeDither::MaskHeight() const { return kTile; }

void TWipeDither::Prepare() {
    TWipeMask::Prepare();
    // The same order in every run: the stored permutation generator with a
    // fixed seed.
    TQsRandom random(12341);
    random.Reset(kTile * kTile);
    for (auto& cell : order_) {
        const int c = random.Next();
        cell = std::uint16_t(c);  // column c mod 64, row c div 64
    }
}

bool TWipeDither::BuildMask() {
    constexpr int kCells = kTile * kTile;
    const auto v = int(wipe::Scale(kCells, Elapsed(), Duration));
    if (!NewLevel(v)) return false;
    std::array<std::uint8_t, kCells> tile;
    // Whichever side has fewer cells is written cell by cell.
    if (v > kCells / 2 - 1) {
        tile.fill(255);
        for (int i = kCells - 1; i >= v; --i) tile[order_[std::size_t(i)]] = 0;
    } else {
        tile.fill(0);
        for (int i = 0; i < v; ++i) tile[order_[std::size_t(i)]] = 255;
    }
    TwoLevel = 1;
    const int w = Width();
    for (int y = 0; y < Mask.Height(); ++y) {
        std::uint8_t* row = MaskRow(y);
        for (int x = 0; x < w; x += kTile)
            std::memcpy(row + x, tile.data() + y * kTile, std::size_t(std::min(kTile, w - x)));
    }
    return true;
}

}  // namespace vesk
