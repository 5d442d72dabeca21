#include "gfx/draw_options.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/gfx/dibx_test_util.h"

namespace vesk {
namespace {

using test::MakeSurface;
using test::Pixels;

// One source pixel 0x00A08040 (second pixel: the colour key 0x00123456)
// drawn over a destination of 0x00204060, so each choice of draw leaves its
// own mark: a blend, a copy, a saturating add, a skipped key.
constexpr std::uint32_t kSrc = 0x00A08040, kKey = 0x00123456, kDest = 0x00204060;

struct Case {
    const char* name;
    TDrawOptions options;
    bool mask;  // a mask of 0xFF, 0x80
    std::uint32_t first, second;
};

std::uint32_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
    std::uint32_t out = 0;
    for (int k = 0; k < 24; k += 8) {
        const std::uint32_t sc = s >> k & 0xFF, dc = d >> k & 0xFF;
        out |= ((a * sc + (255 - a) * dc) >> 8) << k;
    }
    return out;
}

std::uint32_t Add(std::uint32_t s, std::uint32_t d, std::uint32_t strength) {
    std::uint32_t out = 0;
    for (int k = 0; k < 24; k += 8) {
        const std::uint32_t sum = (d >> k & 0xFF) + ((s >> k & 0xFF) * strength >> 8);
        out |= std::min<std::uint32_t>(sum, 255) << k;
    }
    return out;
}

TEST(DrawOptions, AlphaAndMaskPickTheDraw) {
    const Case cases[] = {
        {"opaque copy", {.Alpha = 255}, false, kSrc, kKey},
        {"opaque keyed", {.Alpha = 255, .Keyed = true}, false, kSrc, kDest},
        {"translucent keyed", {.Alpha = 128, .Keyed = true}, false, Blend(kSrc, kDest, 128), kDest},
        {"nothing below 1", {.Alpha = 0}, false, kDest, kDest},
        {"additive skips the key always", {.Alpha = 256 + 128}, false, Add(kSrc, kDest, 128), kDest},
        {"masked opaque ignores the key", {.Alpha = 255, .Keyed = true}, true, kSrc, Blend(kKey, kDest, 0x80)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto src = MakeSurface(2, 1, 32, {kSrc, kKey});
        src->TransparentColor = static_cast<std::int32_t>(kKey);
        auto mask = MakeSurface(2, 1, 8, {0xFF, 0x80});
        auto dest = MakeSurface(2, 1, 32, {kDest, kDest});
        TDrawOptions o = c.options;
        if (c.mask) o.Mask = mask.get();
        DrawSurface(*dest, 0, 0, *src, src->BoundsRect(), o);
        const std::vector<std::uint32_t> want{c.first, c.second};
        EXPECT_EQ(Pixels(*dest), want);
    }
}

TEST(DrawOptions, FlipsAndStretchFollowTheOptions) {
    auto src = MakeSurface(2, 1, 32, {kSrc, kKey});
    auto dest = MakeSurface(4, 1, 32, {kDest, kDest, kDest, kDest});
    DrawSurface(*dest, 2, 0, *src, src->BoundsRect(), {.FlipH = true});
    EXPECT_EQ(Pixels(*dest), (std::vector<std::uint32_t>{kDest, kDest, kKey, kSrc}));

    StretchSurface(*dest, MakeRect(0, 0, 4, 1), *src, src->BoundsRect(), {});
    EXPECT_EQ(Pixels(*dest), (std::vector<std::uint32_t>{kSrc, kSrc, kKey, kKey}));
}

TEST(DrawOptions, RotationOfAQuarterTurnMovesTheRowIntoAColumn) {
    auto src = MakeSurface(2, 1, 32, {kSrc, kKey});
    auto dest = MakeSurface(3, 3, 32);
    RotateSurface(*dest, *src, src->BoundsRect(), {.AnchorX = 1, .AnchorY = 1, .Angle = 64}, {});
    auto turned = MakeSurface(3, 3, 32);
    turned->DrawRotate(1, 1, 255, false, false, false, 64, 0, 0, src->BoundsRect(), *src, 256, 256);
    EXPECT_EQ(Pixels(*dest), Pixels(*turned));
    EXPECT_NE(Pixels(*dest), Pixels(*MakeSurface(3, 3, 32)));
}

}  // namespace
}  // namespace vesk
