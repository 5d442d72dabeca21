// Rotated images: where the turned picture lands about its anchor, the
// rectangle it is hit and redrawn in, and the mask hit through the turn,
// the zoom and the flips.
#include <gtest/gtest.h>

#include "tests/components/scene_fixture.h"

namespace vesk {
namespace {

using namespace vesk::test;

// A 4 x 2 picture whose every pixel tells where it came from: red grows
// with the column, green with the row.
std::int32_t Tell(int x, int y) { return 0x20 * (x + 1) | (0x50 * (y + 1)) << 8; }

struct Rotated : TScene {
    TVeskControl* img = nullptr;
    TVeskControl* under = nullptr;
    Rotated() {
        // Column 0 transparent, for the mask hit.
        MakeFenk("mem:rot.fnk", {{4, 2, Tell, 100, [](int x, int) { return x == 0 ? 0 : 255; }}});
        under = &Box("under", 0, 0, 64, 48, -1);
        img = &Make(LT_IMAGES, "img", 20, 20, -1, -1);
        SetInt(*img, PR_PRIORITY, 1);
        SetStr(*img, PR_SOURCE, "mem:rot.fnk");
        // The anchor is source pixel (1, 1), placed at (20, 20).
        SetInt(*img, PR_OFFSETX, 1);
        SetInt(*img, PR_OFFSETY, 1);
        SetInt(*img, PR_ANGLE, 64);  // a quarter turn, clockwise on the screen
    }
    // What the screen shows at (x, y): the source pixel it came from, or
    // (-1, -1) for the black background.
    std::pair<int, int> Source(int x, int y) {
        const TPixel p = Pixel(x, y);
        if (p == 0) return {-1, -1};
        for (int sy = 0; sy < 2; ++sy)
            for (int sx = 0; sx < 4; ++sx)
                if (p == Native(Tell(sx, sy))) return {sx, sy};
        return {-9, -9};
    }
    TVeskControl* Hit(int x, int y) { return r.Base(0).HitTest(x, y, kHitLeftPress); }
};

TEST_F(Rotated, AQuarterTurnLaysTheRowsDownTheColumnsAboutTheAnchor) {
    // Turned clockwise about (20, 20): the picture's top row (row 0) runs
    // down column 21, row 1 down column 20; column c of the picture lies
    // on screen row 19 + c, so the anchor pixel (1, 1) stays at (20, 20).
    struct Case {
        int x, y;
        std::pair<int, int> source;
    };
    const Case cases[] = {
        {20, 20, {1, 1}}, {21, 20, {1, 0}}, {21, 19, {0, 0}}, {21, 22, {3, 0}}, {20, 22, {3, 1}},
        {20, 19, {0, 1}}, {19, 20, {-1, -1}}, {22, 20, {-1, -1}}, {20, 18, {-1, -1}}, {20, 23, {-1, -1}},
    };
    SetInt(*img, PR_CAPTUREMASK, 0);
    SetStr(*img, PR_SOURCE, "");
    MakeFenk("mem:rot_opaque.fnk", {{4, 2, Tell}});
    SetStr(*img, PR_SOURCE, "mem:rot_opaque.fnk");
    for (const Case& c : cases) EXPECT_EQ(Source(c.x, c.y), c.source) << c.x << "," << c.y;

    // The hit rectangle is the turned picture's box, and just that.
    EXPECT_EQ(img->HitRect(), MakeRect(20, 19, 22, 23));
    EXPECT_EQ(Hit(20, 19), img);
    EXPECT_EQ(Hit(21, 22), img);
    EXPECT_EQ(Hit(19, 20), under);
    EXPECT_EQ(Hit(22, 20), under);
    EXPECT_EQ(Hit(20, 23), under);
    EXPECT_EQ(Hit(20, 18), under);
}

TEST_F(Rotated, MovingATurnedPictureLeavesNothingBehind) {
    SetStr(*img, PR_SOURCE, "");
    MakeFenk("mem:rot_opaque2.fnk", {{4, 2, Tell}});
    SetStr(*img, PR_SOURCE, "mem:rot_opaque2.fnk");
    ASSERT_EQ(Source(21, 19), (std::pair<int, int>{0, 0}));
    SetInt(*img, PR_LEFT, 40);
    // Only the old and new boxes are redrawn; each pixel of the old place
    // must be among them.
    for (int x = 19; x <= 22; ++x)
        for (int y = 18; y <= 23; ++y) EXPECT_EQ(Source(x, y), (std::pair<int, int>{-1, -1})) << x << "," << y;
    EXPECT_EQ(Source(41, 19), (std::pair<int, int>{0, 0}));
}

TEST_F(Rotated, TheMaskHitTurnsThePointBackThroughZoomAndFlips) {
    SetInt(*img, PR_CAPTUREMASK, 1);
    // Picture column 0 (transparent) lies on screen row 19.
    EXPECT_EQ(Hit(20, 19), under);
    EXPECT_EQ(Hit(21, 19), under);
    EXPECT_EQ(Hit(20, 20), img);
    EXPECT_EQ(Hit(21, 22), img);

    // Mirrored, the anchor pixel is still (1, 1) at (20, 20), and the
    // picture's column c lies on row 21 - c: column 0 on row 21.
    SetInt(*img, PR_FLIPH, 1);
    EXPECT_EQ(img->HitRect(), MakeRect(20, 18, 22, 22));
    EXPECT_EQ(Source(20, 20), (std::pair<int, int>{1, 1}));
    EXPECT_EQ(Source(21, 18), (std::pair<int, int>{3, 0}));
    EXPECT_EQ(Source(20, 21), (std::pair<int, int>{-1, -1}));  // column 0, transparent
    EXPECT_EQ(Hit(20, 21), under);
    EXPECT_EQ(Hit(20, 20), img);
    EXPECT_EQ(Hit(21, 18), img);
    SetInt(*img, PR_FLIPH, 0);

    // At twice the size each picture pixel is 2 x 2 on the screen; the
    // anchor (1, 1) begins at (20, 20): column 0 covers rows 18-19.
    SetInt(*img, PR_ZOOMX, 512);
    SetInt(*img, PR_ZOOMY, 512);
    r.UpdatePass(15);
    EXPECT_EQ(img->HitRect(), MakeRect(19, 18, 23, 26));
    EXPECT_EQ(Hit(22, 18), under);
    EXPECT_EQ(Hit(19, 19), under);
    EXPECT_EQ(Hit(22, 20), img);
    EXPECT_EQ(Hit(19, 25), img);
    EXPECT_EQ(Hit(23, 20), under);  // outside the box
}

}  // namespace
}  // namespace vesk
