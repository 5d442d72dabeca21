// The picture kinds: the cache, image size and animation, tiles, the image
// hit test, selection images with their map files.
#include <gtest/gtest.h>

#include "common/error.h"
#include "common/stream.h"
#include "common/stream_io.h"
#include "components/kinds/mapfile.h"
#include "components/kinds/vimages.h"
#include "components/kinds/vmapimage.h"
#include "tests/components/scene_fixture.h"
#include "values/ope_data.h"
#include "values/param_collection.h"

namespace vesk {
namespace {

using namespace vesk::test;
using Button = platform::TPlatformEvent::Button;

constexpr std::int32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

auto Solid(std::int32_t colour) {
    return [colour](int, int) { return colour; };
}

using Images = TScene;

TEST_F(Images, TheCacheSharesPicturesAndFreesThemWithTheLastUser) {
    MakeFenk("mem:share.fnk", {{4, 3, Solid(kRed)}});
    TVeskControl& a = Make(LT_IMAGES, "a", 0, 0, -1, -1);
    TVeskControl& b = Make(LT_IMAGES, "b", 0, 0, -1, -1);
    SetStr(a, PR_SOURCE, "mem:share.fnk");
    SetStr(b, PR_SOURCE, "MEM:SHARE.FNK");  // names are case-insensitive
    EXPECT_EQ(r.Images().Count(), 1);
    ASSERT_NE(r.Images().FindItem("mem:share.fnk"), nullptr);
    EXPECT_EQ(r.Images().FindItem("mem:share.fnk")->Users(), 2);
    EXPECT_EQ(a.GetWidth(), 4);
    EXPECT_EQ(a.GetHeight(), 3);
    {
        // A mask-carrying use is a picture of its own.
        TFenkRef masked = r.Images().Acquire("mem:share.fnk", true);
        EXPECT_EQ(r.Images().Count(), 2);
        ASSERT_NE(masked->Frame(0).Mask, nullptr);
        EXPECT_EQ(masked->Frame(0).Mask->GetPixel(1, 1), 255u);
    }
    EXPECT_EQ(r.Images().Count(), 1);
    r.Destroy(a);
    EXPECT_EQ(r.Images().FindItem("mem:share.fnk")->Users(), 1);
    SetStr(b, PR_SOURCE, "other.png");  // not a layered image: nothing shown
    EXPECT_EQ(r.Images().Count(), 0);
    EXPECT_EQ(b.GetWidth(), 0);

    // A file the project does not list is a black 8 x 8 keyed on black.
    TFenkRef missing = r.Images().Acquire("mem:nowhere.fnk");
    ASSERT_EQ(missing->FrameCount(), 1);
    EXPECT_EQ(missing->Width(), 8);
    EXPECT_EQ(missing->Frame(0).TransColor, 0);
    EXPECT_EQ(missing->Frame(0).Surface->GetPixel(3, 3), 0u);
}

TEST_F(Images, SizeFollowsTheZoomUntilSetExplicitly) {
    MakeFenk("mem:zoom.fnk", {{10, 6, Solid(kRed)}});
    TVeskControl& img = Make(LT_IMAGES, "img", 0, 0, -1, -1);
    SetStr(img, PR_SOURCE, "mem:zoom.fnk");
    SetInt(img, PR_ZOOMX, 512);
    EXPECT_EQ(img.GetWidth(), 10);  // recomputed by the next update
    r.UpdatePass(15);
    EXPECT_EQ(img.GetWidth(), 20);
    EXPECT_EQ(img.GetHeight(), 6);
    EXPECT_EQ(Pixel(19, 5), Native(kRed));
    EXPECT_EQ(Pixel(20, 5), 0u);
    SetInt(img, PR_WIDTH, 15);
    EXPECT_EQ(Int(img, PR_ZOOMX), 0);
    EXPECT_EQ(Int(img, PR_ORIGWIDTH), 10);
    r.UpdatePass(15);
    EXPECT_EQ(img.GetWidth(), 15);
    EXPECT_EQ(Pixel(14, 5), Native(kRed));
    EXPECT_EQ(Pixel(15, 5), 0u);
    SetInt(img, PR_ZOOMX, -4);  // zooms below 1 become 1
    EXPECT_EQ(Int(img, PR_ZOOMX), 1);

    // A flip recomputes the size at once.
    SetInt(img, PR_ZOOMX, 768);
    EXPECT_EQ(img.GetWidth(), 15);
    SetInt(img, PR_FLIPH, 1);
    EXPECT_EQ(img.GetWidth(), 30);
}

TEST_F(Images, AZoomChangeRedrawsTheOldPlaceAsTheAnchorMoves) {
    MakeFenk("mem:anchor.fnk", {{4, 4, Solid(kRed)}});
    TVeskControl& img = Make(LT_IMAGES, "img", 10, 10, -1, -1);
    SetStr(img, PR_SOURCE, "mem:anchor.fnk");
    SetInt(img, PR_OFFSETX, 2);  // the picture lies at x 8-11
    EXPECT_EQ(Pixel(8, 10), Native(kRed));
    // Half size: the anchor offset is 1 at once, the width 2 from the
    // update on, so the picture lies at x 9-10.
    SetInt(img, PR_ZOOMX, 128);
    r.UpdatePass(15);
    const std::vector<TPixel> row = {0, Native(kRed), Native(kRed), 0, 0};
    for (int x = 8; x < 13; ++x) EXPECT_EQ(Pixel(x, 10), row[static_cast<std::size_t>(x - 8)]) << x;
}

TEST_F(Images, FramesAdvanceByTheirDelaysThenPlayEndOnceOrDestruction) {
    MakeFenk("mem:anim.fnk", {{2, 2, Solid(kRed)}, {2, 2, Solid(kGreen)}, {2, 2, Solid(kBlue)}});
    TVeskControl& ends = Make(LT_IMAGES, "ends", 0, 0, -1, -1);
    SetStr(ends, PR_SOURCE, "mem:anim.fnk");
    SetStr(ends, PR_ONPLAYEND, "end");
    TVeskControl& gone = Make(LT_IMAGES, "gone", 10, 0, -1, -1);
    SetStr(gone, PR_SOURCE, "mem:anim.fnk");
    SetInt(gone, PR_AUTOSCRAP, 1);
    const TObjectId goneId = gone.Id();
    // 100 ms a frame, updates of 50 ms: frame 1 after 2 updates, the last
    // after 4, its time out after 6.
    const std::vector<int> indexAfter = {0, 1, 1, 2, 2, 2};
    for (std::size_t u = 0; u < indexAfter.size(); ++u) {
        r.UpdatePass(50);
        EXPECT_EQ(Int(ends, PR_INDEX), indexAfter[u]) << u;
        EXPECT_EQ(r.FindById(goneId) != nullptr, u < 5) << u;
    }
    EXPECT_EQ(Pixel(1, 1), Native(kBlue));
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONPLAYEND}));
    EXPECT_FALSE(Int(ends, PR_PLAYING));
    r.UpdatePass(50);
    r.UpdatePass(50);
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONPLAYEND}));  // once
    EXPECT_EQ(Int(ends, PR_INDEX), 2);

    // With repeat the list wraps to frame 0 and never ends.
    SetInt(ends, PR_REPEAT, 1);
    r.UpdatePass(50);
    EXPECT_EQ(Int(ends, PR_INDEX), 0);
    EXPECT_TRUE(Int(ends, PR_PLAYING));
}

TEST_F(Images, TheLastFrameWaitIsEvaluatedWhenTheLastFrameIsEntered) {
    TParamCollection vars;
    TParamCollection::SetGlobal(&vars);
    MakeFenk("mem:wait.fnk", {{2, 2, Solid(kRed)}, {2, 2, Solid(kGreen)}, {2, 2, Solid(kBlue)}});
    TVeskObject& img = *r.CreateKind(LT_IMAGES);
    TVeskParser wait;
    wait.Add(ocTo, "____arg").AddInt(100);
    img.TakeExpression(PR_DELAY, wait);
    SetStr(img, PR_ONPLAYEND, "end");
    SetStr(img, PR_SOURCE, "mem:wait.fnk");
    // Frames 0 and 1 take 2 updates each; the last 100 + 100 ms, 4 updates.
    for (int u = 0; u < 7; ++u) r.UpdatePass(50);
    EXPECT_TRUE(Events().empty());
    r.UpdatePass(50);
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONPLAYEND}));
    TParamCollection::SetGlobal(nullptr);
}

TEST_F(Images, BrightnessAddsGreyToACopy) {
    MakeFenk("mem:bright.fnk", {{4, 4, Solid(0x000080)}});
    TVeskControl& img = Make(LT_IMAGES, "img", 0, 0, -1, -1);
    SetStr(img, PR_SOURCE, "mem:bright.fnk");
    SetInt(img, PR_BRIGHTNESS, 0x90);
    EXPECT_EQ(Pixel(1, 1), 0xFF9090u);  // 0x80 + 0x90 saturates
    SetInt(img, PR_BRIGHTNESS, -0x90);
    EXPECT_EQ(Pixel(1, 1), 0x000000u);
    SetInt(img, PR_BRIGHTNESS, 0);
    EXPECT_EQ(Pixel(1, 1), 0x800000u);
}

TEST_F(Images, TilesWrapFromTheirScrollAndSpaceByTheirDistance) {
    // Columns 0-1 red, 2-3 green.
    MakeFenk("mem:tile.fnk", {{4, 4, [](int x, int) { return x < 2 ? kRed : kGreen; }}});
    TVeskControl& tile = Make(LT_TILE, "tile", 0, 0, 12, 4);
    SetStr(tile, PR_SOURCE, "mem:tile.fnk");
    EXPECT_EQ(tile.GetWidth(), 12);  // a tile keeps its size
    SetInt(tile, PR_SCROLLX, 2);
    const std::vector<TPixel> wrapped = {Native(kGreen), Native(kRed), Native(kGreen), Native(kRed),
                                         Native(kGreen), Native(kRed)};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Pixel(i * 2, 1), wrapped[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(Pixel(12, 1), 0u);

    SetInt(tile, PR_SCROLLX, 0);
    SetInt(tile, PR_DISTANCEX, 6);  // pitch 6: two empty columns after each copy
    const std::vector<TPixel> spaced = {Native(kRed), Native(kGreen), 0, Native(kRed), Native(kGreen), 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Pixel(i * 2, 1), spaced[static_cast<std::size_t>(i)]) << i;
}

TEST_F(Images, CaptureMaskLetsClicksThroughTransparentPixels) {
    // Columns 0-1 opaque, 2-3 transparent.
    MakeFenk("mem:mask.fnk", {{4, 4, Solid(kRed), 100, [](int x, int) { return x < 2 ? 255 : 0; }}});
    TVeskControl& under = Box("under", 10, 10, 8, 4, 0);
    SetStr(under, PR_ONLBTNDOWN, "under");
    TVeskControl& img = Make(LT_IMAGES, "img", 10, 10, -1, -1);
    SetInt(img, PR_PRIORITY, 1);
    SetStr(img, PR_SOURCE, "mem:mask.fnk");
    EXPECT_EQ(r.Base(0).HitTest(13, 11, kHitLeftPress), &img);  // PR_CAPTUREMASK off: the whole rectangle hits
    SetInt(img, PR_CAPTUREMASK, 1);
    EXPECT_EQ(r.Base(0).HitTest(11, 11, kHitLeftPress), &img);
    EXPECT_EQ(r.Base(0).HitTest(13, 11, kHitLeftPress), &under);
    Click(13, 11);
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONLBTNDOWN, "under", {"3", "1"}}}));
    // Zoomed, the point maps back through the zoom: 3 * 256 / 512 = 1.
    SetInt(img, PR_ZOOMX, 512);
    r.UpdatePass(15);
    EXPECT_EQ(r.Base(0).HitTest(13, 11, kHitLeftPress), &img);
    EXPECT_EQ(r.Base(0).HitTest(15, 11, kHitLeftPress), &under);
}

TEST(MapFile, RegionShapesAndTheWindingRule) {
    TMapRegion rect{"r", TMapRegion::TShape::Rect, 0, 0, 4, 4, {}};
    TMapRegion ellipse{"e", TMapRegion::TShape::Ellipse, 10, 0, 19, 9, {}};
    // A square walked twice winds twice around its inside: filled by the
    // winding rule, where an even-odd fill would leave it empty.
    TMapRegion twice{"w", TMapRegion::TShape::Polygon, 0, 0, 0, 0,
                     {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}, {10, 10}, {0, 10}}};
    TMapRegion triangle{"t", TMapRegion::TShape::Polygon, 0, 0, 0, 0, {{0, 0}, {10, 0}, {0, 10}}};
    struct Case {
        const TMapRegion& region;
        int x, y;
        bool in;
    };
    const Case cases[] = {
        {rect, 4, 4, true},      {rect, 5, 4, false},     {rect, 0, 0, true},
        {ellipse, 15, 5, true},  {ellipse, 10, 0, false}, {ellipse, 10, 5, true},
        {ellipse, 19, 5, true},  {ellipse, 20, 5, false}, {twice, 5, 5, true},
        {twice, 11, 5, false},   {triangle, 2, 2, true},  {triangle, 8, 8, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.region.Contains(c.x, c.y), c.in) << c.region.Name << c.x << "," << c.y;
    // Vertices at the ends of the 32-bit range stay exact.
    TMapRegion wide{"x", TMapRegion::TShape::Polygon, 0, 0, 0, 0,
                    {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}}};
    EXPECT_TRUE(wide.Contains(0, 0));
    EXPECT_EQ(ellipse.BoundingBox(), MakeRect(10, 0, 20, 10));
    EXPECT_EQ(triangle.BoundingBox(), MakeRect(0, 0, 10, 10));

    TMemoryStream s;
    WriteMapFile(s, {rect, ellipse, triangle});
    s.SetPosition(0);
    const auto back = ReadMapFile(s);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1].Shape, TMapRegion::TShape::Ellipse);
    EXPECT_EQ(back[1].Right, 19);
    EXPECT_EQ(back[2].Points, triangle.Points);

    // Damaged: cut short, or counts far beyond the bytes.
    std::vector<std::uint8_t> bytes = s.Bytes();
    bytes.resize(bytes.size() - 3);
    TMemoryStream cut(bytes);
    EXPECT_THROW(ReadMapFile(cut), EVeskError);
    TMemoryStream huge;
    WriteInt32(huge, 0x7FFFFFFF);
    huge.SetPosition(0);
    EXPECT_THROW(ReadMapFile(huge), EVeskError);
}

struct SelectionImage : TScene {
    TVeskMapImage* map = nullptr;
    SelectionImage() {
        MakeFenk("mem:sel.fnk", {{20, 10, Solid(kRed)}});
        MakeFenk("mem:selhover.fnk", {{20, 10, Solid(kGreen)}});
        TMemoryStream& file = VrFileManager().CreateMemFile("mem:sel.map");
        WriteMapFile(file, {{"left", TMapRegion::TShape::Rect, 0, 0, 9, 9, {}},
                            {"right", TMapRegion::TShape::Rect, 10, 0, 19, 9, {}}});
        TVeskControl& c = Make(LT_MAPIMG, "map", 20, 20, -1, -1);
        map = static_cast<TVeskMapImage*>(&c);
        SetStr(c, PR_SOURCE, "mem:sel.fnk");
        SetStr(c, PR_HOVERSOURCE, "mem:selhover.fnk");
        SetStr(c, PR_MAPSOURCE, "mem:sel.map");
        SetInt(c, PR_ALPHA, 255);
        SetStr(c, PR_ONMAPIN, "in");
        SetStr(c, PR_ONMAPOUT, "out");
        SetStr(c, PR_ONSELECT, "sel");
    }
};

TEST_F(SelectionImage, RegionsFollowTheMouseAndASelectionClosesTheImage) {
    EXPECT_EQ(map->GetWidth(), 20);
    ASSERT_EQ(map->Regions().size(), 2u);
    in.MouseMove(22, 22);
    Frame();
    in.MouseMove(32, 22);
    Frame();
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONMAPIN, "map", {"left", "0"}},
                                             {PR_ONMAPOUT, "map", {"left", "0"}},
                                             {PR_ONMAPIN, "map", {"right", "1"}}}));
    // The hover picture shows inside the current region only.
    EXPECT_EQ(Pixel(32, 22), Native(kGreen));
    EXPECT_EQ(Pixel(22, 22), Native(kRed));
    r.EventQueue().Clear();

    SetInt(*map, PR_AUTOSCRAP, 1);
    const TObjectId id = map->Id();
    in.MouseDown(Button::Left);
    Frame();  // the select, and the update that sees the close request
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONSELECT, "map", {"right", "1"}}}));
    EXPECT_EQ(r.SelStr(), "right");
    EXPECT_EQ(r.SelIndex(), 1);
    ASSERT_NE(r.FindById(id), nullptr);
    EXPECT_EQ(map->Closing(), TVeskMapImage::kClosing);
    r.EventQueue().Item(0).Level = 1;  // the interpreter has taken it
    in.MouseUp();
    in.MouseMove(50, 40);
    Frame();  // no events while closing; destroyed by this update
    EXPECT_EQ(r.FindById(id), nullptr);
    EXPECT_EQ(Events().size(), 1u);
}

TEST_F(SelectionImage, ArrowKeysStepThroughRegionsAndWrap) {
    SetInt(*map, PR_BRIGHTNESS, 0x10);  // red 0xFF stays, green and blue gain 0x10
    EXPECT_EQ(Pixel(22, 22), 0xFF1010u);
    SetInt(*map, PR_HANDLEKEY, 1);
    in.KeyDown(0x26);  // Up with no region: the last
    Frame();
    EXPECT_EQ(map->CurrentRegion(), 1);
    in.KeyUp(0x26);
    in.KeyDown(0x28);  // Down from the last: the first
    Frame();
    EXPECT_EQ(map->CurrentRegion(), 0);
    in.KeyUp(0x28);
    in.KeyDown(0x0D);  // Enter selects the current region
    Frame();
    EXPECT_EQ(r.SelStr(), "left");
    EXPECT_EQ(Codes().back(), PR_ONSELECT);
}

TEST_F(SelectionImage, DrawsByTheAlphaRulesAndStretchesToItsSize) {
    TVeskControl& under = Box("under", 0, 0, 64, 48, 0x404040);
    SetInt(under, PR_PRIORITY, -1);
    map->SetCurrentRegion(1);  // normal picture at x 20-29, hover at 30-39
    struct Case {
        std::int32_t alpha, normal, hover;
    };
    const Case cases[] = {
        {255, kRed, kGreen},
        {128, 0x1F1F9F, 0x1F9F1F},  // (128 * 255 + 127 * 64) >> 8 = 159, 127 * 64 >> 8 = 31
        {384, 0x4040BF, 0x40BF40},  // adds 128 * 255 >> 8 = 127
        {256, 0x404040, 0x404040},  // adds nothing
        {512, 0x404040, 0x404040},  // not drawn
        {0, 0x404040, 0x404040},
    };
    for (const Case& c : cases) {
        SetInt(*map, PR_ALPHA, c.alpha);
        EXPECT_EQ(Pixel(22, 22), Native(c.normal)) << c.alpha;
        EXPECT_EQ(Pixel(32, 22), Native(c.hover)) << c.alpha;
    }
    // A size set apart from the picture's stretches both pictures; the
    // region still cuts them where it lies in the picture.
    SetInt(*map, PR_ALPHA, 255);
    SetInt(*map, PR_WIDTH, 40);
    EXPECT_EQ(Pixel(39, 22), Native(kRed));
    EXPECT_EQ(Pixel(40, 22), Native(kGreen));
    EXPECT_EQ(Pixel(59, 29), Native(kGreen));
    EXPECT_EQ(Pixel(60, 22), Native(0x404040));
    EXPECT_EQ(Pixel(22, 30), Native(0x404040));
}

TEST_F(SelectionImage, RightClickDestroysWithAnEmptySelection) {
    SetInt(*map, PR_RCLICKSCRAP, 1);
    r.SetSelection("old", 3);
    const TObjectId id = map->Id();
    in.MouseMove(60, 5);  // anywhere: the right-click list is walked first
    in.MouseDown(Button::Right);
    Frame();
    EXPECT_EQ(r.SelStr(), "");
    EXPECT_EQ(r.SelIndex(), -1);
    EXPECT_FALSE(in.RClick());  // consumed
    in.MouseUp();
    Frame();
    EXPECT_EQ(r.FindById(id), nullptr);
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

using namespace vesk::test;

using ImageState = TScene;

TEST_F(ImageState, KindsSaveTheirFieldsAndReapplyTheirSourcesOnLoad) {
    MakeFenk("mem:st.fnk", {{4, 4, Solid(kRed)}, {4, 4, Solid(kGreen)}, {4, 4, Solid(kBlue)}});
    MakeFenk("mem:st2.fnk", {{20, 10, Solid(kRed)}});
    TVeskControl& box = Box("box", 1, 2, 3, 4, 0x123456);
    SetInt(box, PR_BORDERWIDTH, 2);
    SetInt(box, PR_BORDERCOLOR, 0x654321);
    SetInt(box, PR_ALPHA, 300);
    SetStr(box, PR_ONIDLE, "idle");
    TVeskControl& img = Make(LT_IMAGES, "img", 5, 6, -1, -1);
    SetStr(img, PR_SOURCE, "mem:st.fnk");
    SetInt(img, PR_INDEX, 2);
    SetInt(img, PR_ZOOMY, 512);
    SetInt(img, PR_ANGLE, 64);
    SetInt(img, PR_FLIPV, 1);
    SetInt(img, PR_BRIGHTNESS, -5);
    SetInt(img, PR_REPEAT, 1);
    SetStr(img, PR_ONPLAYEND, "end");
    r.UpdatePass(10);
    TVeskControl& tile = Make(LT_TILE, "tile", 0, 0, 30, 20);
    SetStr(tile, PR_SOURCE, "mem:st.fnk");
    SetInt(tile, PR_SCROLLY, 7);
    SetInt(tile, PR_DISTANCEX, 9);
    TVeskControl& map = Make(LT_MAPIMG, "map", 0, 0, -1, -1);
    SetStr(map, PR_SOURCE, "mem:st2.fnk");
    SetInt(map, PR_ALPHA, 128);
    SetInt(map, PR_RCLICKSCRAP, 1);
    SetStr(map, PR_ONSELECT, "sel");

    TMemoryStream s;
    r.SaveToStream(s);
    TVeskBaseList loaded;
    s.SetPosition(0);
    loaded.LoadFromStream(s, kStateVersion);
    EXPECT_EQ(s.Remaining(), 0);
    TMemoryStream again;
    loaded.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), s.Bytes());

    TVeskObject& box2 = *loaded.FindByName("box");
    EXPECT_EQ(Int(box2, PR_BORDERCOLOR), 0x654321);
    EXPECT_EQ(Int(box2, PR_ALPHA), 300);
    TVeskObject& img2 = *loaded.FindByName("img");
    EXPECT_EQ(Int(img2, PR_INDEX), 2);
    EXPECT_EQ(Int(img2, PR_HEIGHT), 8);
    EXPECT_EQ(Int(img2, PR_ANGLE), 64);
    EXPECT_EQ(Int(img2, PR_BRIGHTNESS), -5);
    EXPECT_EQ(Int(img2, PR_COUNT), 3);  // the frames came back from the cache
    EXPECT_EQ(Int(*loaded.FindByName("tile"), PR_SCROLLY), 7);
    EXPECT_EQ(Int(*loaded.FindByName("tile"), PR_WIDTH), 30);
    TVeskObject& map2 = *loaded.FindByName("map");
    EXPECT_EQ(Int(map2, PR_WIDTH), 20);
    EXPECT_EQ(Int(map2, PR_RCLICKSCRAP), 1);
}

TEST_F(ImageState, SurfacesGoAndComeBackAroundADisplayChange) {
    MakeFenk("mem:disp.fnk", {{4, 4, Solid(kGreen)}});
    TVeskControl& img = Make(LT_IMAGES, "img", 0, 0, -1, -1);
    SetStr(img, PR_SOURCE, "mem:disp.fnk");
    EXPECT_EQ(Pixel(1, 1), Native(kGreen));
    r.ReleaseSurfaces();
    EXPECT_EQ(r.BaseSurface(0), nullptr);
    EXPECT_EQ(r.Images().FindItem("mem:disp.fnk")->FrameCount(), 0);
    r.ReloadSurfaces();
    EXPECT_EQ(r.DirtyRects(0), (std::vector<TRect>{Bounds(0, 0, 64, 48)}));
    EXPECT_EQ(Pixel(1, 1), Native(kGreen));
    // At 16 bits the bases and the cached frames are re-made at that depth.
    r.SetBitCount(16);
    EXPECT_EQ(r.BaseSurface(0)->BitCount(), 16);
    EXPECT_EQ(r.Images().FindItem("mem:disp.fnk")->Frame(0).Surface->BitCount(), 16);
}

TEST_F(ImageState, ZoomedChildrenOfAZoomedPictureMapThroughItsRealScale) {
    MakeFenk("mem:big.fnk", {{10, 10, Solid(kRed)}});
    MakeFenk("mem:small.fnk", {{2, 2, Solid(kGreen)}});
    TVeskControl& parent = Make(LT_IMAGES, "parent", 0, 0, -1, -1);
    SetStr(parent, PR_SOURCE, "mem:big.fnk");
    TVeskControl& child = Make(LT_IMAGES, "child", 3, 0, -1, -1, "parent");
    SetStr(child, PR_SOURCE, "mem:small.fnk");
    for (TVeskControl* c : {&parent, &child}) {
        SetInt(*c, PR_ZOOMX, 320);
        SetInt(*c, PR_ZOOMY, 320);
    }
    SetInt(child, PR_POSZOOMED, 1);
    r.UpdatePass(10);
    EXPECT_EQ(parent.GetWidth(), 12);  // 10 * 320 / 256
    // Real scale 10 / 12: s = 54613; 3 * 65536 / s = 3 remainder 32769, so
    // the position rounds up to 4 (a plain zoom would give 3 * 1.25 = 3).
    EXPECT_EQ(child.ScreenX(), 4);
    // Far edge 5 * 65536 / s = 6 remainder 2, rounded up to 7: width 3.
    EXPECT_EQ(child.GetWidth(), 3);
}

}  // namespace
}  // namespace vesk
