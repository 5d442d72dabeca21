// Components made by a game's creation commands: their properties as the
// game reads them back, their pixels in presented frames, a click turned
// into the clicked box's event page, a cabinet that finds nothing and a flip
// that moves one box to the other screen.

#include <gtest/gtest.h>

#include "gfx/fenks.h"
#include "tests/games/game_runner.h"

namespace vesk::test {

TEST(GameScene, CreatedBoxesAreDrawnClickedAndStored) {
    const std::string game = BuildGame("scene");
    const std::string input = game + "/input.txt", shot = game + "/shot.png", flipped = game + "/flipped.png";
    {
        std::FILE* f = std::fopen(input.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("3 mousemove 20 20\n4 ldown\n5 lup\n", f);
        std::fclose(f);
    }
    const TGameRun r = PlayFolder(game, 40, 16, {}, {}, "--input '" + input + "' --screenshot '2:" + shot + "' --screenshot '20:" + flipped + "'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.vars.at("w"), "1\t40");
    EXPECT_EQ(r.vars.at("greenParent"), "4\t\x01" "BASE0");
    EXPECT_EQ(r.vars.at("cabinetLeft"), "1\t-1");
    EXPECT_EQ(r.vars.at("hits"), "1\t1");
    // After the flip: red was cleared with the screen it stayed on, green
    // is on the screen now shown.
    EXPECT_EQ(r.vars.at("redAfterFlip"), "1\t-1");
    EXPECT_EQ(r.vars.at("greenAfterFlip"), "4\t\x01" "BASE1");

    TFenkFrameList frames;
    frames.LoadFromFile(shot, true, false);
    ASSERT_EQ(frames.Count(), 1);
    const TDIBSurface& image = frames[0].Image;
    ASSERT_EQ(image.Width(), 160);
    auto colour = [&](int x, int y) { return image.ColorOf(image.GetPixel(x, y)); };
    EXPECT_EQ(colour(20, 20), 0x0000FF);  // red
    EXPECT_EQ(colour(45, 35), 0xFF0000);  // blue, inside its parent
    EXPECT_EQ(colour(55, 35), 0);         // blue cut at the parent's edge
    EXPECT_EQ(colour(5, 5), 0x00FF00);    // green

    TFenkFrameList after;
    after.LoadFromFile(flipped, true, false);
    ASSERT_EQ(after.Count(), 1);
    const TDIBSurface& next = after[0].Image;
    EXPECT_EQ(next.ColorOf(next.GetPixel(5, 5)), 0x00FF00);
    EXPECT_EQ(next.ColorOf(next.GetPixel(20, 20)), 0);
}

}  // namespace vesk::test
