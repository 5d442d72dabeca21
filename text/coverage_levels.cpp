#include "text/coverage_levels.h"

#include <algorithm>
#include <array>
#include <span>

namespace vesk {

namespace {

constexpr std::array<std::uint8_t, 2> kMono{0, 255};
constexpr std::array<std::uint8_t, 5> kGrey2{0, 79, 127, 207, 255};
constexpr std::array<std::uint8_t, 17> kGrey4{0, 43, 55, 67, 79, 91, 103, 115, 159, 171, 183, 195, 207, 219, 231, 243, 255};
constexpr std::array<std::uint8_t, 65> kGrey8{
    0,   18,  21,  24,  27,  30,  33,  36,  55,  58,  61,  64,  67,  70,  73,  76,  79,  82,  85,  88,  91,  94,
    97,  100, 119, 122, 125, 128, 131, 134, 137, 140, 143, 146, 149, 152, 155, 158, 161, 164, 183, 186, 189, 192,
    195, 198, 201, 204, 207, 210, 213, 216, 219, 222, 225, 228, 231, 234, 237, 240, 243, 246, 249, 252, 255};

std::span<const std::uint8_t> Table(int quality) {
    switch (std::clamp(quality, 0, kQualityCount - 1)) {
        case 0: return kMono;
        case 1: return kGrey2;
        case 2: return kGrey4;
        default: return kGrey8;
    }
}

}  // namespace

int LevelCount(int quality) { return static_cast<int>(Table(quality).size()); }

std::uint8_t LevelCoverage(int quality, int level) {
    const auto table = Table(quality);
    return table[static_cast<std::size_t>(std::clamp(level, 0, static_cast<int>(table.size()) - 1))];
}

std::uint8_t CoverageOfGrey(int quality, std::uint8_t grey) {
    const int top = LevelCount(quality) - 1;
    return LevelCoverage(quality, (grey * top + 127) / 255);
}

}  // namespace vesk
