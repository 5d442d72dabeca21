// Rotated, stretched, tiled, wrapped, supersampled and palette draws. Small
// cases are written out by hand; larger ones are compared with reference
// implementations written here straight from the rules, one pixel at a
// time, by pixel hash.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dibx_test_util.h"
#include "gfx/dibx.h"

using namespace vesk;
using vesk::test::MakeSurface;
using vesk::test::PixelHash;
using vesk::test::Pixels;
using V = std::vector<std::uint32_t>;

namespace {

std::unique_ptr<TDIBX> Pattern(int w, int h, int bits, std::uint32_t seed) {
    auto s = std::make_unique<TDIBX>(w, h, bits);
    const std::uint32_t mask = bits >= 32 ? 0xFFFFFFFFu : (1u << (bits == 15 ? 15 : bits)) - 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            s->SetPixel(x, y, (seed >> 8) & mask);
        }
    return s;
}

// Rotation with Alpha 255, straight from the rules: bounding box from the
// four scaled corners, inverse mapping computed afresh for every pixel.
void RefRotate(TCustomDIBX& dst, int X, int Y, bool flipV, bool flipH, int angle, int pivotY, int pivotX,
               const TRect& sr, TCustomDIBX& src, int scaleY, int scaleX) {
    const double th = angle * 2 * M_PI / 256, sx = scaleX / 256.0, sy = scaleY / 256.0;
    const double c = std::cos(th), s = std::sin(th);
    const int W = sr.Width(), H = sr.Height();
    double xs[4], ys[4];
    const double px[4] = {-pivotX * sx, W * sx - pivotX * sx - 1, -pivotX * sx, W * sx - pivotX * sx - 1};
    const double py[4] = {-pivotY * sy, -pivotY * sy, H * sy - pivotY * sy - 1, H * sy - pivotY * sy - 1};
    for (int k = 0; k < 4; ++k) xs[k] = X + px[k] * c - py[k] * s, ys[k] = Y + px[k] * s + py[k] * c;
    const int x0 = int(std::trunc(*std::min_element(xs, xs + 4))), y0 = int(std::trunc(*std::min_element(ys, ys + 4)));
    const int x1 = int(std::trunc(*std::max_element(xs, xs + 4) + 1)), y1 = int(std::trunc(*std::max_element(ys, ys + 4) + 1));
    const long long dudx = (long long)(65536 * c / sx), dvdx = (long long)(-65536 * s / sy);
    const long long dudy = (long long)(65536 * s / sx), dvdy = (long long)(65536 * c / sy);
    const TRect clip = dst.EffectiveClip();
    for (int y = std::max(y0, clip.Top); y < std::min(y1, clip.Bottom); ++y)
        for (int x = std::max(x0, clip.Left); x < std::min(x1, clip.Right); ++x) {
            const long long u = pivotX * 65536LL + (x - X) * dudx + (y - Y) * dudy;
            const long long v = pivotY * 65536LL + (x - X) * dvdx + (y - Y) * dvdy;
            if (u < 0 || v < 0) continue;
            const long long cu = u >> 16, cv = v >> 16;
            if (cu >= W || cv >= H) continue;
            const int col = flipH ? sr.Right - 1 - int(cu) : sr.Left + int(cu);
            const int row = flipV ? sr.Bottom - 1 - int(cv) : sr.Top + int(cv);
            dst.SetPixel(x, y, src.GetPixel(col, row));
        }
}

// Nearest stretch with Alpha 255, from the rules.
void RefStretch(TCustomDIBX& dst, const TRect& dr, TCustomDIBX& src, bool flipV, bool flipH, const TRect& sr) {
    const double qx = double(sr.Width()) / dr.Width(), qy = double(sr.Height()) / dr.Height();
    const TRect c = Intersect(dr, dst.EffectiveClip());
    const double cx = (c.Left - dr.Left) * qx, cy = (c.Top - dr.Top) * qy;
    const long long fx = (long long)((cx - std::floor(cx)) * 65536), fy = (long long)((cy - std::floor(cy)) * 65536);
    const long long stepX = (long long)(qx * 65536), stepY = (long long)(qy * 65536);
    for (int j = 0; j < c.Height(); ++j) {
        long long rp = flipV ? (sr.Bottom - (long long)std::floor(cy)) * 65536 - 1 - fy - j * stepY
                             : (sr.Top + (long long)std::floor(cy)) * 65536 + fy + j * stepY;
        const long long row = rp >> 16;
        if (row < sr.Top || row >= sr.Bottom) continue;
        for (int i = 0; i < c.Width(); ++i) {
            const long long cp = flipH ? (sr.Right - (long long)std::floor(cx)) * 65536 - fx - 1 - i * stepX
                                       : (sr.Left + (long long)std::floor(cx)) * 65536 + fx + i * stepX;
            dst.SetPixel(c.Left + i, c.Top + j, src.GetPixel(int(cp >> 16), int(row)));
        }
    }
}

}  // namespace

TEST(DibxRotate, IdentityReproducesTheSource) {
    auto src = MakeSurface(3, 2, 32, {1, 2, 3, 4, 5, 6});
    auto dst = MakeSurface(5, 4, 32);
    dst->DrawRotate(1, 1, 255, false, false, false, 0, 0, 0, src->BoundsRect(), *src, 256, 256);
    EXPECT_EQ(Pixels(*dst), (V{0, 0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 4, 5, 6, 0, 0, 0, 0, 0, 0}));
}

TEST(DibxRotate, QuarterTurnByHand) {
    // 64/256 of a turn: destination (x, y) shows source column y - Y, row X - x.
    auto src = MakeSurface(3, 2, 32, {1, 2, 3, 4, 5, 6});
    auto dst = MakeSurface(4, 4, 32);
    dst->DrawRotate(2, 0, 255, false, false, false, 64, 0, 0, src->BoundsRect(), *src, 256, 256);
    EXPECT_EQ(Pixels(*dst), (V{0, 4, 1, 0, 0, 5, 2, 0, 0, 6, 3, 0, 0, 0, 0, 0}));
}

TEST(DibxRotate, AlphaAboveTwoFiftyFiveAdds) {
    auto src = MakeSurface(1, 1, 32, {0x00FF0000});
    auto dst = MakeSurface(1, 1, 32, {0x00010101});
    dst->DrawRotate(0, 0, 300, false, false, false, 0, 0, 0, src->BoundsRect(), *src, 256, 256);
    EXPECT_EQ(dst->GetPixel(0, 0), 0x002C0101u);  // (44 * 255) >> 8 = 43, plus 1
    dst->DrawRotate(0, 0, 255, false, false, false, 0, 0, 0, src->BoundsRect(), *src, 0, 256);  // scale 0
    EXPECT_EQ(dst->GetPixel(0, 0), 0x002C0101u);
}

TEST(DibxRotate, MatchesTheReferenceAtSeveralSizes) {
    struct C {
        int w, h, bits, x, y, angle, px, py, sx, sy;
        bool flipV, flipH;
        TRect clip;
    } cases[] = {
        {7, 5, 32, 10, 10, 21, 3, 2, 256, 256, false, false, {}},
        {16, 9, 32, 12, 8, 100, 8, 4, 300, 200, true, false, {}},
        {16, 9, 16, 3, 3, 37, 2, 1, 512, 256, false, true, {}},
        {33, 20, 8, -5, 30, 180, 16, 10, 256, 256, true, true, {}},
        {33, 20, 24, 20, 20, 220, 0, 0, 128, 384, false, false, {4, 6, 30, 25}},
        {40, 40, 32, 60, -10, 13, 20, 20, 256, 256, false, false, {}},  // mostly off the surface
    };
    for (const C& c : cases) {
        auto src = Pattern(c.w, c.h, c.bits, 5);
        auto got = Pattern(48, 40, c.bits, 9);
        auto want = Pattern(48, 40, c.bits, 9);
        got->ClipRect = want->ClipRect = c.clip;
        got->DrawRotate(c.x, c.y, 255, c.flipV, c.flipH, false, c.angle, c.py, c.px, src->BoundsRect(), *src, c.sy, c.sx);
        RefRotate(*want, c.x, c.y, c.flipV, c.flipH, c.angle, c.py, c.px, src->BoundsRect(), *src, c.sy, c.sx);
        EXPECT_EQ(PixelHash(*got), PixelHash(*want)) << c.w << "x" << c.h << " angle " << c.angle;
    }
}

TEST(DibxStretch, DoublesHalvesAndMirrorsByHand) {
    auto src = MakeSurface(2, 1, 32, {1, 2});
    auto dst = MakeSurface(4, 1, 32);
    dst->StretchDraw(TRect{0, 0, 4, 1}, *src, 255, false, false, false, src->BoundsRect());
    EXPECT_EQ(Pixels(*dst), (V{1, 1, 2, 2}));
    dst->StretchDraw(TRect{0, 0, 4, 1}, *src, 255, false, true, false, src->BoundsRect());
    EXPECT_EQ(Pixels(*dst), (V{2, 2, 1, 1}));
    auto wide = MakeSurface(4, 1, 32, {1, 2, 3, 4});
    auto two = MakeSurface(2, 1, 32);
    two->StretchDraw(TRect{0, 0, 2, 1}, *wide, 255, false, false, false, wide->BoundsRect());
    EXPECT_EQ(Pixels(*two), (V{1, 3}));
    // A cut at the left keeps the mapping of the rest.
    dst->Fill(0);
    dst->StretchDraw(TRect{-1, 0, 3, 1}, *src, 255, false, false, false, src->BoundsRect());
    EXPECT_EQ(Pixels(*dst), (V{1, 2, 2, 0}));
}

TEST(DibxStretch, MatchesTheReferenceAtSeveralSizes) {
    struct C {
        int bits;
        TRect dest, src;
        bool flipV, flipH;
        TRect clip;
    } cases[] = {
        {32, {3, 2, 40, 30}, {0, 0, 13, 7}, false, false, {}},
        {16, {-10, -5, 30, 33}, {2, 1, 11, 9}, true, false, {}},
        {8, {0, 0, 47, 39}, {0, 0, 13, 9}, false, true, {5, 5, 20, 30}},
        {24, {10, 10, 13, 50}, {1, 0, 12, 9}, true, true, {}},
        {32, {-100, 0, 200, 40}, {0, 0, 13, 9}, false, false, {}},
    };
    for (const C& c : cases) {
        auto src = Pattern(13, 9, c.bits, 3);
        auto got = Pattern(48, 40, c.bits, 4);
        auto want = Pattern(48, 40, c.bits, 4);
        got->ClipRect = want->ClipRect = c.clip;
        got->StretchDraw(c.dest, *src, 255, c.flipV, c.flipH, false, c.src);
        RefStretch(*want, c.dest, *src, c.flipV, c.flipH, c.src);
        EXPECT_EQ(PixelHash(*got), PixelHash(*want)) << c.bits << " bits";
    }
}

TEST(DibxTile, OffsetsAndGapsByHand) {
    auto src = MakeSurface(3, 1, 8, {1, 2, 3});
    auto dst = MakeSurface(8, 1, 8);
    dst->TileDraw(TRect{0, 0, 8, 1}, 0, 0, 1, false, src->BoundsRect(), *src, 0);
    EXPECT_EQ(Pixels(*dst), (V{2, 3, 1, 2, 3, 1, 2, 3}));
    dst->TileDraw(TRect{0, 0, 8, 1}, 0, 0, -3, false, src->BoundsRect(), *src, 0);  // zero-width first tile
    EXPECT_EQ(Pixels(*dst), (V{1, 2, 3, 1, 2, 3, 1, 2}));
    dst->Fill(0);
    dst->TileDraw(TRect{0, 0, 8, 1}, 1, 0, 0, false, src->BoundsRect(), *src, 0);
    EXPECT_EQ(Pixels(*dst), (V{1, 2, 3, 0, 1, 2, 3, 0}));
    dst->Fill(0);
    dst->ClipRect = TRect{2, 0, 6, 1};
    dst->TileDraw(TRect{0, 0, 8, 1}, 0, 0, 0, false, src->BoundsRect(), *src, 0);
    EXPECT_EQ(Pixels(*dst), (V{0, 0, 3, 1, 2, 3, 0, 0}));
    EXPECT_EQ(dst->ClipRect, (TRect{2, 0, 6, 1}));  // the caller's clip is back
}

TEST(DibxTile, WrapAndFrameTileByHand) {
    auto src = MakeSurface(3, 2, 8, {1, 2, 3, 4, 5, 6});
    auto dst = MakeSurface(5, 3, 8);
    dst->WrapDraw(TRect{0, 0, 5, 3}, *src, false, false, -1, 1);
    EXPECT_EQ(Pixels(*dst), (V{5, 6, 4, 5, 6, 2, 3, 1, 2, 3, 5, 6, 4, 5, 6}));
    dst->WrapDraw(TRect{0, 0, 5, 3}, *src, false, true, 0, 0);
    EXPECT_EQ(Pixels(*dst), (V{3, 2, 1, 3, 2, 6, 5, 4, 6, 5, 3, 2, 1, 3, 2}));
    // A cut at the left grows the offset: the pattern stays in place.
    dst->Fill(0);
    dst->WrapDraw(TRect{-2, 0, 3, 1}, *src, false, false, 0, 0);
    EXPECT_EQ(Pixels(*dst), (V{3, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    auto frame = MakeSurface(4, 4, 8);
    frame->FrameTile(TRect{0, 0, 4, 4}, 1, 0, 0, src->BoundsRect(), *src);
    EXPECT_EQ(Pixels(*frame), (V{1, 2, 3, 1, 1, 0, 0, 1, 4, 0, 0, 4, 1, 2, 3, 1}));
}

TEST(DibxTile, StretchAndScaledTiles) {
    auto src = MakeSurface(2, 1, 8, {1, 2});
    auto dst = MakeSurface(9, 1, 8);
    // Tiles 4 wide (scale 512), origins every 512 * 3 / 256 = 6 pixels.
    dst->TileStretchDraw(TRect{0, 0, 9, 1}, 3, 0, 0, 255, false, false, false, src->BoundsRect(), *src, 256, 512, 1);
    EXPECT_EQ(Pixels(*dst), (V{1, 1, 2, 2, 0, 0, 1, 1, 2}));
    // Offset 3 moves the first origin back by 3: the tile at -3 shows its last pixel.
    dst->Fill(0);
    dst->TileStretchDraw(TRect{0, 0, 9, 1}, 3, 0, 3, 255, false, false, false, src->BoundsRect(), *src, 256, 512, 1);
    EXPECT_EQ(Pixels(*dst), (V{2, 0, 0, 1, 1, 2, 2, 0, 0}));
    dst->Fill(0);
    dst->ScaledTileDraw(TRect{0, 0, 9, 1}, *src, 255, false, false, false, 0, 0, 256, 512);
    EXPECT_EQ(Pixels(*dst), (V{1, 1, 2, 2, 1, 1, 2, 2, 1}));
}

TEST(DibxGlyph, SampledMonoAveragesInkBits) {
    // A 4x4 block with 8 ink (0) bits: the average of ink and background.
    auto src = std::make_unique<TDIBX>(4, 4, 1);
    src->Fill(1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) src->SetPixel(x, y, 0);
    auto dst = MakeSurface(1, 1, 32, {0x00111111});
    dst->DrawSampledMono(0, 0, 4, 255, false, false, 0x00FFFFFF, src->BoundsRect(), *src);
    EXPECT_EQ(dst->GetPixel(0, 0), 0x00888888u);  // (255*8 + 17*8) >> 4 = 136
    auto half = MakeSurface(1, 1, 32, {0});
    half->DrawSampledMono(0, 0, 4, 128, false, false, 0x000000FF, src->BoundsRect(), *src);
    EXPECT_EQ(half->GetPixel(0, 0), 0x3Fu);  // C = (128*8) >> 8 = 4: (255*4) >> 4 = 63
}

TEST(DibxGlyph, SampledGlyphWeighsThreeColours) {
    auto src = std::make_unique<TDIBX>(2, 2, 4);
    src->SetPixel(0, 0, 1);
    src->SetPixel(1, 0, 1);
    src->SetPixel(0, 1, 2);
    src->SetPixel(1, 1, 0);
    const TGlyphColours colours{0x00FF0000, 0x0000FF00, 0x000000FF};
    auto dst = MakeSurface(1, 1, 32);
    dst->DrawSampledGlyph(0, 0, 2, 255, false, false, colours, src->BoundsRect(), *src);
    EXPECT_EQ(dst->GetPixel(0, 0), 0x007F3F00u);  // red 255*2/4, green 255/4
    src->Fill(1);
    dst->DrawSampledGlyph(0, 0, 2, 255, false, false, colours, src->BoundsRect(), *src);
    EXPECT_EQ(dst->GetPixel(0, 0), 0x00FF0000u);  // a full block of one colour is written as is
}

TEST(DibxIndexed, FourBitIndexesThroughTheTable) {
    auto src = std::make_unique<TDIBX>(4, 1, 4);
    for (int x = 0; x < 4; ++x) src->SetPixel(x, 0, std::uint32_t(x));
    src->TransparentColor = 2;
    std::vector<std::uint32_t> table(16, 0);
    table[0] = 0, table[1] = 0x00FFFFFF, table[2] = 0x00123456, table[3] = 0x00000080;
    auto dst = MakeSurface(4, 1, 32, {5, 5, 5, 0x00FFFFFF});
    dst->DrawIndexed4(0, 0, table, 255, false, false, src->BoundsRect(), *src);
    EXPECT_EQ(Pixels(*dst), (V{0, 0x00FFFFFF, 5, 0x80}));
    auto add = MakeSurface(4, 1, 32, {5, 5, 5, 0x00FFFFFF});
    add->DrawIndexed4(0, 0, table, 256 + 128, false, false, src->BoundsRect(), *src);
    // Entry 0 and the key are skipped; (128*255) >> 8 = 127 is added to 5.
    EXPECT_EQ(Pixels(*add), (V{5, 0x007F7F84, 5, 0x00FFFFFF}));
}

TEST(DibxIndexed, EightBitAddFromMinIndex) {
    auto src = MakeSurface(3, 1, 8, {1, 2, 3});
    std::vector<std::uint32_t> table(256, 0x00000010);
    auto dst = MakeSurface(3, 1, 32, {1, 1, 1});
    dst->DrawIndexedAdd(0, 0, table, 255, false, false, 2, src->BoundsRect(), *src);
    EXPECT_EQ(Pixels(*dst), (V{1, 0x10, 0x10}));  // 1 + (255*16 >> 8 = 15)
    dst->StretchDrawIndexedAdd(TRect{0, 0, 3, 1}, *src, table, 255, false, false, 3, src->BoundsRect());
    EXPECT_EQ(Pixels(*dst), (V{1, 0x10, 0x1F}));
}
