// Frame operations: masks from colour keys and trimming to the content.

#include <gtest/gtest.h>

#include "gfx/fenks.h"

using namespace vesk;

namespace {

TEST(FenkFrame, BuildMaskClearsKeyPixelsAndFallsBackToTheFrameKeyForLayers) {
    TFenkFrame f;
    f.Image.SetSize(3, 1, 16);
    f.Image.SetPixel(0, 0, 0xF800);
    f.Image.SetPixel(1, 0, 0x07E0);
    f.TransValue = 0xF800;
    auto own = std::make_unique<TFenkLayer>();
    own->Bitmap->SetSize(3, 1, 16);
    own->TransValue = 0x07E0;
    own->Bitmap->SetPixel(1, 0, 0x07E0);
    auto inherits = std::make_unique<TFenkLayer>();
    inherits->Bitmap->SetSize(3, 1, 16);
    inherits->Bitmap->SetPixel(2, 0, 0xF800);
    f.Layers.push_back(std::move(own));
    f.Layers.push_back(std::move(inherits));
    f.BuildMask(true);
    const TDIBSurface* a = f.Image.Alpha();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->GetPixel(0, 0), 0u);
    EXPECT_EQ(a->GetPixel(1, 0), 255u);
    EXPECT_EQ(a->GetPixel(2, 0), 255u);
    EXPECT_EQ(f.Layers[0]->Bitmap->Alpha()->GetPixel(1, 0), 0u);
    EXPECT_EQ(f.Layers[0]->Bitmap->Alpha()->GetPixel(0, 0), 255u);
    EXPECT_EQ(f.Layers[1]->Bitmap->Alpha()->GetPixel(2, 0), 0u);

    // An existing companion is kept; without a key the new one is opaque.
    f.Image.Alpha()->SetPixel(1, 0, 9);
    f.BuildMask(false);
    EXPECT_EQ(f.Image.Alpha()->GetPixel(1, 0), 9u);
    TFenkFrame plain;
    plain.Image.SetSize(2, 2, 32);
    plain.TransValue = -1;
    plain.BuildMask(false);
    EXPECT_EQ(plain.Image.Alpha()->GetPixel(1, 1), 255u);
}

TEST(FenkFrame, TrimCutsToTheContentAndMovesTheRectangles) {
    TFenkFrame f;
    f.Image.SetSize(10, 8, 8);
    f.Image.Fill(4);
    f.TransValue = 4;
    f.Image.SetPixel(2, 3, 1);
    f.Image.SetPixel(6, 5, 1);
    f.DrawRects = {{0, 0, 4, 4}, {7, 6, 10, 8}, {3, 4, 9, 9}};
    f.AuxRects = {{0, 0, 1, 1}};
    const TRect offset = f.Trim();
    EXPECT_EQ(offset, (TRect{2, 3, 7, 6}));
    EXPECT_EQ(f.Image.Width(), 5);
    EXPECT_EQ(f.Image.Height(), 3);
    EXPECT_EQ(f.Image.GetPixel(0, 0), 1u);
    EXPECT_EQ(f.Image.GetPixel(4, 2), 1u);
    // (0,0,4,4) meets the content in (2,3,4,4); (7,6,10,8) misses it;
    // (3,4,9,9) gives (3,4,7,6). Moved by (2,3).
    ASSERT_EQ(f.DrawRects.size(), 2u);
    EXPECT_EQ(f.DrawRects[0], (TRect{0, 0, 2, 1}));
    EXPECT_EQ(f.DrawRects[1], (TRect{1, 1, 5, 3}));
    EXPECT_TRUE(f.AuxRects.empty());
}

TEST(FenkFrame, TrimUsesAlphaFirstAndGivesOneByOneForNothing) {
    TFenkFrame f;
    f.Image.SetSize(4, 4, 32);
    f.TransValue = -1;
    EXPECT_EQ(f.Trim(), (TRect{0, 0, 4, 4})) << "no alpha and no key: nothing trimmed";
    TDIBSurface& a = f.Image.CreateAlpha(0);
    a.SetPixel(3, 1, 1);
    EXPECT_EQ(f.Trim(), (TRect{3, 1, 4, 2}));
    EXPECT_EQ(f.Image.Alpha()->Width(), 1);

    TFenkFrame all;
    all.Image.SetSize(5, 3, 24);
    all.Image.Fill(0x123456);
    all.TransValue = 0x123456;
    EXPECT_EQ(all.Trim(), (TRect{0, 0, 1, 1}));
    EXPECT_EQ(all.Image.Width(), 1);
    EXPECT_EQ(all.Image.Height(), 1);
}

TEST(FenkFrame, SetTransColorKeepsValueAndColourInStep) {
    TFenkFrame f;
    f.Image.SetSize(1, 1, 16);
    f.SetTransColor(0x00FF00FF);  // magenta: native 0xF81F, shown as 0xFF00FF
    EXPECT_EQ(f.TransValue, 0xF81F);
    EXPECT_EQ(f.TransColor, 0x00FF00FF);
    f.SetTransColor(-1);
    EXPECT_EQ(f.TransValue, -1);
    EXPECT_EQ(f.TransColor, -1);
    TFenkFrameList list;
    TFenkFrame& added = list.AddFrame();
    EXPECT_EQ(added.Delay, 100);
    EXPECT_EQ(added.TransColor, -1);
    EXPECT_EQ(added.TransValue, 0);
}

}  // namespace
