#include "app/screenshot.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "gfx/dibx.h"
#include "platform/files.h"

namespace vesk {
namespace {

TEST(Screenshot, Arguments) {
    TScreenshotRequest r;
    ASSERT_TRUE(ParseScreenshotArg("12:shots/a:b.png", r));
    EXPECT_EQ(r.Frame, 12);
    EXPECT_EQ(r.File, "shots/a:b.png");  // only the first colon separates
    for (const char* bad : {"", "12", ":a.png", "12:", "-1:a.png", "x:a.png", "1x:a.png", "99999999999:a.png"})
        EXPECT_FALSE(ParseScreenshotArg(bad, r)) << bad;
}

TEST(Screenshot, TheFrameReadsBackFromThePng) {
    const std::string path = platform::TempFolder() + "vesk_screenshot_test.png";
    for (int bits : {32, 16}) {
        SCOPED_TRACE(bits);
        TDIBX frame(5, 3, bits);
        frame.Fill(frame.ColorToPixel(0x000000));
        frame.SetPixel(0, 0, frame.ColorToPixel(0x0000FF));  // platform colours are 0x00BBGGRR: red
        frame.SetPixel(4, 2, frame.ColorToPixel(0xFF0000));  // blue
        SaveScreenshot(frame, path);
        TDIBX back(1, 1, 32);
        auto stream = platform::OpenFile(path, platform::FileMode::Read);
        back.LoadFromStream(stream.get(), 0);
        ASSERT_EQ(back.Width(), 5);
        ASSERT_EQ(back.Height(), 3);
        EXPECT_EQ(back.GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(back.GetPixel(4, 2) & 0xFFFFFF, 0x0000FFu);
        EXPECT_EQ(back.GetPixel(2, 1) & 0xFFFFFF, 0u);
    }
    platform::DeleteFile(path);
    EXPECT_THROW(SaveScreenshot(TDIBX(2, 2, 32), "/nonexistent/dir/x.png"), EVeskError);
}

}  // namespace
}  // namespace vesk
