// Placement, dirty rectangles, drawing order, clipping, hit tests, mouse and
// key dispatch, focus, the update pass and cabinets.
#include <gtest/gtest.h>

#include "components/kinds/vcustomimage.h"
#include "components/registry/cliplist.h"
#include "components/registry/vbaselist.h"
#include "tests/components/scene_fixture.h"

namespace vesk {
namespace {

using namespace vesk::test;
using Button = platform::TPlatformEvent::Button;

TEST(ClipList, NearRectanglesMergeRecursivelyFarOnesStay) {
    struct Case {
        const char* what;
        std::vector<TRect> add;
        std::vector<TRect> expect;
    };
    const std::vector<Case> cases = {
        {"15 px apart: their union", {Bounds(0, 0, 10, 10), Bounds(25, 0, 10, 10)}, {MakeRect(0, 0, 35, 10)}},
        {"25 px apart: both", {Bounds(0, 0, 10, 10), Bounds(35, 0, 10, 10)},
         {Bounds(0, 0, 10, 10), Bounds(35, 0, 10, 10)}},
        {"25 px below: both", {Bounds(0, 0, 10, 10), Bounds(0, 35, 10, 10)},
         {Bounds(0, 0, 10, 10), Bounds(0, 35, 10, 10)}},
        {"exactly 20 px: near", {Bounds(0, 0, 10, 10), Bounds(30, 0, 10, 10)}, {MakeRect(0, 0, 40, 10)}},
        {"inside: nothing added", {Bounds(0, 0, 10, 10), Bounds(2, 2, 3, 3)}, {Bounds(0, 0, 10, 10)}},
        {"empty: nothing added", {Bounds(0, 0, 10, 10), Bounds(50, 50, 0, 4)}, {Bounds(0, 0, 10, 10)}},
        // The union with the first grows near the third, which it swallows too.
        {"recursive union", {Bounds(0, 0, 10, 10), Bounds(60, 0, 10, 10), Bounds(30, 0, 10, 10)},
         {MakeRect(0, 0, 70, 10)}},
        // At the edge of the coordinate range the nearness test must not overflow.
        {"edge of the range", {MakeRect(0, 0, 0x7FFFFFFF, 10), MakeRect(0x7FFFFFF0, 40, 0x7FFFFFFF, 50)},
         {MakeRect(0, 0, 0x7FFFFFFF, 10), MakeRect(0x7FFFFFF0, 40, 0x7FFFFFFF, 50)}},
    };
    for (const Case& c : cases) {
        TClipList list;
        for (const TRect& r : c.add) list.Add(r);
        EXPECT_EQ(list.Rects(), c.expect) << c.what;
    }
    TClipList list;
    EXPECT_FALSE(list.Changed());
    list.Add(Bounds(0, 0, 4, 4));
    EXPECT_TRUE(list.Changed());
    list.ResetChanged();
    list.Add(Bounds(1, 1, 2, 2));  // inside: no append
    EXPECT_FALSE(list.Changed());
    list.Clear();
    EXPECT_TRUE(list.Changed());
}

using Placement = TScene;

TEST_F(Placement, OffsetZoomFlipPlusAndParentScroll) {
    TVeskControl& parent = Box("parent", 10, 5, 30, 30, 0);
    TVeskControl& child = Box("child", 3, 4, 5, 5, 0, "parent");
    EXPECT_EQ(child.ScreenX(), 13);
    EXPECT_EQ(child.ScreenY(), 9);
    SetInt(child, PR_OFFSETX, 2);
    SetInt(child, PR_PLUSX, 5);
    EXPECT_EQ(child.ScreenX(), 10 + 3 - 2 + 5);
    EXPECT_EQ(child.ParentRelX(), 3 - 2 + 5);

    // An image: zoom 512 scales the offset, and the position with POSZOOMED.
    TVeskControl& img = Make(LT_IMAGES, "img", 10, 0, 8, 8);
    SetInt(img, PR_ZOOMX, 512);
    SetInt(img, PR_OFFSETX, 3);
    EXPECT_EQ(img.ScreenX(), 10 - 6);
    SetInt(img, PR_POSZOOMED, 1);
    EXPECT_EQ(img.ScreenX(), 20 - 6);
    // Flipped, the anchor is mirrored: width - scaled offset - 1 (without
    // the 1 relative to the parent).
    SetInt(img, PR_POSZOOMED, 0);
    SetInt(img, PR_ZOOMX, 256);
    SetInt(img, PR_WIDTH, 8);
    SetInt(img, PR_FLIPH, 1);
    EXPECT_EQ(img.ScreenX(), 10 - (8 - 3 - 1));
    EXPECT_EQ(img.ParentRelX(), 10 - (8 - 3));

    // A tile ignores its offset and moves its children by its scroll.
    TVeskControl& tile = Make(LT_TILE, "tile", 20, 0, 10, 10);
    SetInt(tile, PR_OFFSETX, 4);
    SetInt(tile, PR_SCROLLX, 7);
    TVeskControl& inTile = Box("inTile", 3, 0, 2, 2, 0, "tile");
    EXPECT_EQ(tile.ScreenX(), 20);
    EXPECT_EQ(inTile.ScreenX(), 3 + 20 - 7);
    (void)parent;
}

TEST_F(Placement, SettersInvalidateTheOldAndTheNewArea) {
    r.DrawPass();
    r.ClearDirty();
    TVeskControl& b = Box("b", 2, 2, 4, 4, 0xFF);
    r.ClearDirty();
    SetInt(b, PR_LEFT, 40);
    EXPECT_EQ(r.DirtyRects(0), (std::vector<TRect>{Bounds(2, 2, 4, 4), Bounds(40, 2, 4, 4)}));
    r.ClearDirty();
    SetInt(b, PR_LEFT, 40);  // unchanged: nothing to redraw
    EXPECT_TRUE(r.DirtyRects(0).empty());
    // A child is invalidated only as far as it shows inside its parent.
    Box("c", 2, 2, 10, 10, 0, "b");
    r.ClearDirty();
    SetInt(*r.FindByName("c"), PR_COLOR, 5);
    EXPECT_EQ(r.DirtyRects(0), (std::vector<TRect>{MakeRect(42, 4, 44, 6)}));
}

TEST_F(Placement, GeometryAtTheEndsOfTheRangeIsClampedNotWrapped) {
    TVeskControl& far = Box("far", 0x7FFFFFF0, -0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF, 0xFF);
    Box("kid", 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 5, 0, "far");
    SetInt(far, PR_PLUSX, 0x7FFFFFFF);
    EXPECT_EQ(far.ScreenBounds().Right, kCoordLimit);
    EXPECT_EQ(Pixel(1, 1), 0u);
    EXPECT_EQ(r.Base(0).HitTest(1, 1, kHitNoPress), &r.Base(0));
}

using Drawing = TScene;

TEST_F(Drawing, SiblingsByPriorityThenNameChildrenCutAtTheParent) {
    SetInt(r.Base(0), PR_COLOR, 0x000000);
    TVeskControl& b = Box("b", 0, 0, 8, 8, 0x0000FF);  // red
    TVeskControl& a = Box("a", 0, 0, 8, 8, 0x00FF00);  // green
    EXPECT_EQ(Pixel(4, 4), 0xFF0000u);  // equal priority: "b" after "a"
    SetInt(a, PR_PRIORITY, 10);
    SetInt(b, PR_PRIORITY, 5);
    EXPECT_EQ(Pixel(4, 4), 0x00FF00u);  // 10 above 5 whatever the names

    Box("parent", 10, 10, 20, 20, 0xFF0000);  // blue
    Box("kid", 15, 15, 20, 20, 0xFFFFFF, "parent");
    EXPECT_EQ(Pixel(28, 28), 0xFFFFFFu);
    EXPECT_EQ(Pixel(32, 32), 0x000000u);  // outside the parent: cut
    EXPECT_EQ(Pixel(12, 12), 0x0000FFu);
    EXPECT_EQ(r.Base(0).HitTest(28, 28, kHitNoPress), r.FindByName("kid"));
    EXPECT_EQ(r.Base(0).HitTest(32, 32, kHitNoPress), &r.Base(0));

    // Clip windows cut a child further.
    TVeskControl& clipped = *r.FindByName("kid")->AsControl();
    SetInt(clipped, PR_CLIPLEFT, 0);
    SetInt(clipped, PR_CLIPTOP, 0);
    SetInt(clipped, PR_CLIPWIDTH, 2);
    SetInt(clipped, PR_CLIPHEIGHT, 2);
    EXPECT_EQ(Pixel(26, 26), 0xFFFFFFu);
    EXPECT_EQ(Pixel(28, 28), 0x0000FFu);
}

TEST_F(Drawing, BoxArithmeticPerAlphaRange) {
    SetInt(r.Base(0), PR_COLOR, 0x101010);
    TVeskControl& add = Box("add", 0, 0, 10, 10, 0x808080);
    SetInt(add, PR_ALPHA, 300);  // adds 128 * 44 / 256 = 22 per channel
    EXPECT_EQ(Pixel(5, 5), 0x262626u);
    SetInt(add, PR_ALPHA, 512);  // 512 and above draw nothing
    EXPECT_EQ(Pixel(5, 5), 0x101010u);

    TVeskControl& framed = Box("framed", 20, 0, 10, 10, 0x00FF00);
    SetInt(framed, PR_BORDERWIDTH, 2);
    SetInt(framed, PR_BORDERCOLOR, 0x0000FF);
    EXPECT_EQ(Pixel(20, 0), 0xFF0000u);
    EXPECT_EQ(Pixel(21, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(22, 2), 0x00FF00u);
    EXPECT_EQ(Pixel(27, 7), 0x00FF00u);
    EXPECT_EQ(Pixel(28, 7), 0xFF0000u);
    SetInt(framed, PR_ALPHA, 256 + 128);  // adds 255 * 128 / 256 = 0x7F
    EXPECT_EQ(Pixel(20, 0), 0x8F1010u);
    EXPECT_EQ(Pixel(25, 5), 0x108F10u);
}

using Mouse = TScene;

TEST_F(Mouse, IgnoreAllAndLeftClickModesPassClicksThrough) {
    TVeskControl& button = Box("button", 10, 10, 20, 20, 0);
    SetStr(button, PR_ONLBTNDOWN, "down");
    SetStr(button, PR_ONRBTNDOWN, "rdown");
    TVeskControl& mes = Box("mes", 0, 0, 64, 48, 0);
    SetInt(mes, PR_PRIORITY, 5);
    SetStr(mes, PR_ONLBTNDOWN, "mesdown");
    SetStr(mes, PR_ONRBTNDOWN, "mesrdown");

    SetInt(mes, PR_IGNOREMOUSE, IM_ALL);
    Click(15, 15);
    Click(15, 15, Button::Right);
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONLBTNDOWN, "button", {"5", "5"}},
                                             {PR_ONRBTNDOWN, "button", {"5", "5"}}}));
    r.EventQueue().Clear();

    SetInt(mes, PR_IGNOREMOUSE, IM_LCLICK);
    Click(15, 15);
    Click(15, 15, Button::Right);
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONLBTNDOWN, "button", {"5", "5"}},
                                             {PR_ONRBTNDOWN, "mes", {"15", "15"}}}));
}

TEST_F(Mouse, ReleaseOutsideStillReachesTheCapturedControl) {
    TVeskControl& b = Box("b", 10, 10, 20, 20, 0);
    SetStr(b, PR_ONLBTNUP, "up");
    in.MouseMove(15, 15);
    in.MouseDown(Button::Left);
    Frame();
    EXPECT_FALSE(in.LClick());  // consumed by the control
    in.MouseMove(2, 3);
    Frame();  // still held: the capture keeps the target
    EXPECT_TRUE(Events().empty());
    in.MouseUp();
    Frame();
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONLBTNUP, "b", {"-8", "-7"}}}));
}

TEST_F(Mouse, PausedControlSwallowsTheClickOnTheBaseItStays) {
    TVeskControl& b = Box("b", 10, 10, 20, 20, 0);
    SetStr(b, PR_ONLBTNDOWN, "down");
    SetInt(b, PR_PAUSED, 1);
    in.MouseMove(15, 15);
    in.MouseDown(Button::Left);
    Frame();
    EXPECT_TRUE(Events().empty());
    EXPECT_FALSE(in.LClick());
    in.MouseUp();
    Frame();
    EXPECT_TRUE(Events().empty());

    // A click on the bare base is left for the scripts.
    in.MouseMove(50, 40);
    in.MouseDown(Button::Left);
    Frame();
    EXPECT_TRUE(in.LClick());
}

TEST_F(Mouse, HoverInMoveOutAndWheel) {
    TVeskControl& b = Box("b", 10, 10, 10, 10, 0);
    SetStr(b, PR_ONMOUSEIN, "in");
    SetStr(b, PR_ONMOUSEMOVE, "move");
    SetStr(b, PR_ONMOUSEOUT, "out");
    SetStr(b, PR_ONWHEELDOWN, "wheel");
    in.MouseMove(12, 13);
    Frame();
    in.Wheel(true);
    Frame();
    in.MouseMove(40, 40);
    Frame();
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONMOUSEIN, "b", {}},
                                             {PR_ONMOUSEMOVE, "b", {"2", "3"}},
                                             {PR_ONWHEELDOWN, "b", {}},
                                             {PR_ONMOUSEOUT, "b", {}}}));
    EXPECT_EQ(r.ActiveBase().CursorName(), "");
    SetStr(b, PR_CURSOR, "hand.cur");
    in.MouseMove(11, 11);
    Frame();
    EXPECT_EQ(r.ActiveBase().CursorName(), "hand.cur");
}

using Keys = TScene;

TEST_F(Keys, DownAndRepeatTogetherThenAfter300AndEvery50) {
    TVeskControl& b = Box("b", 0, 0, 5, 5, 0);
    SetStr(b, PR_ONKEYDOWN, "kd");
    SetStr(b, PR_ONKEYREPEAT, "kr");
    SetStr(b, PR_ONKEYUP, "ku");
    SetInt(b, PR_HANDLEKEY, 1);
    in.KeyDown(65);
    std::vector<int> repeatFrames;
    for (int frame = 0; frame <= 45; ++frame) {
        Frame(10);
        if (frame == 0) {
            EXPECT_EQ(Events()[0], (TEntry{PR_ONKEYDOWN, "b", {"65"}}));
        }
        for (const TEntry& e : Events())
            if (e.code == PR_ONKEYREPEAT) repeatFrames.push_back(frame);
        r.EventQueue().Clear();
    }
    EXPECT_EQ(repeatFrames, (std::vector<int>{0, 30, 35, 40, 45}));
    in.KeyUp(65);
    Frame(10);
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONKEYUP, "b", {"65"}}}));
}

TEST_F(Keys, DestroyedFocusStaysEmptyUntilTheNextInputPass) {
    TVeskControl& low = Box("low", 0, 0, 5, 5, 0);
    TVeskControl& high = Box("high", 0, 0, 5, 5, 0);
    SetInt(low, PR_PRIORITY, 1);
    SetInt(high, PR_PRIORITY, 2);
    SetStr(low, PR_ONFOCUSIN, "fin");
    SetInt(low, PR_HANDLEKEY, 1);
    SetInt(high, PR_HANDLEKEY, 1);
    Frame();
    EXPECT_EQ(r.Focused(), &high);  // the topmost focusable
    r.Destroy(high);
    EXPECT_EQ(r.Focused(), nullptr);
    Frame();
    EXPECT_EQ(r.Focused(), &low);
    EXPECT_EQ(Events(), (std::vector<TEntry>{{PR_ONFOCUSIN, "low", {}}}));
    // Hidden, it gives the focus up; nothing else can take it.
    SetInt(low, PR_VISIBLE, 0);
    Frame();
    EXPECT_EQ(r.Focused(), nullptr);
}

using Updates = TScene;

TEST_F(Updates, IdleEventsAndCabinets) {
    TVeskControl& b = Box("b", 0, 0, 5, 5, 0);
    SetStr(b, PR_ONIDLE, "idle");
    Make(LT_CABINET, "cab", 0, 0, 64, 48);
    r.UpdatePass(15);
    r.UpdatePass(15);  // still waiting: not queued twice
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONIDLE}));
    r.EventQueue().Clear();
    SetStr(b, PR_PARENT, "cab");
    r.UpdatePass(15);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(r.Base(0).HitTest(2, 2, kHitNoPress), &r.Base(0));  // stored away: not hit
    SetStr(b, PR_PARENT, "");
    r.UpdatePass(15);
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONIDLE}));
}

// A timeline stand-in: moves the control one pixel an update and ends
// after its frame count.
struct TStepMotion final : TVeskMotion {
    TVeskControl& control;
    int frames, t = 0;
    TStepMotion(TVeskControl& c, int n) : control(c), frames(n) {}
    bool Step(std::int32_t) override {
        if (t >= frames) return false;
        control.SetMotionPos(++t, 0);
        return t == frames;
    }
    bool Ended() const override { return t >= frames; }
    std::int32_t FrameCount() const override { return frames; }
    void Seek(double) override {}
    void Restart() override { t = 0; }
};

TEST_F(Updates, MotionsMoveTheirControlAndEndInDestructionOrPlayEnd) {
    r.SetMotionFactory([](TVeskControl& c, const std::string& file) -> std::unique_ptr<TVeskMotion> {
        if (file != "walk.vkm") return nullptr;
        return std::make_unique<TStepMotion>(c, 3);
    });
    TVeskControl& scrap = Box("scrap", 10, 0, 2, 2, 0);
    SetInt(scrap, PR_AUTOSCRAP, 1);
    SetStr(scrap, PR_SOURCE, "WALK.VKM");  // no motion: the factory knows only "walk.vkm"
    EXPECT_FALSE(scrap.HasMotion());
    SetStr(scrap, PR_SOURCE, "walk.vkm");
    TVeskControl& ends = Box("ends", 10, 0, 2, 2, 0);
    SetStr(ends, PR_ONPLAYEND, "end");
    SetStr(ends, PR_SOURCE, "walk.vkm");
    const TObjectId scrapId = scrap.Id();
    r.UpdatePass(15);
    EXPECT_EQ(ends.ScreenX(), 1);  // the motion position replaces left
    EXPECT_TRUE(Int(ends, PR_PLAYING));
    r.UpdatePass(15);
    EXPECT_NE(r.FindById(scrapId), nullptr);
    r.UpdatePass(15);  // the last frame is reached
    EXPECT_EQ(r.FindById(scrapId), nullptr);
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONPLAYEND}));
    EXPECT_FALSE(Int(ends, PR_PLAYING));
    r.UpdatePass(15);
    EXPECT_EQ(Codes(), (std::vector<int>{PR_ONPLAYEND}));
    SetStr(ends, PR_SOURCE, "");  // dropping the motion puts the control back
    EXPECT_EQ(ends.ScreenX(), 10);
}

TEST_F(Updates, SwitchingBasesRedrawsBothAndDropsFocusElsewhere) {
    TVeskControl& b = Box("b", 0, 0, 5, 5, 0);
    SetInt(b, PR_HANDLEKEY, 1);
    Frame();
    EXPECT_EQ(r.Focused(), &b);
    r.DrawPass();
    r.ClearDirty();
    r.SetActiveIndex(1);
    EXPECT_EQ(r.Focused(), nullptr);
    EXPECT_EQ(r.DirtyRects(0), (std::vector<TRect>{Bounds(0, 0, 64, 48)}));
    EXPECT_EQ(r.DirtyRects(1), (std::vector<TRect>{Bounds(0, 0, 64, 48)}));
    Frame();
    EXPECT_EQ(r.Focused(), nullptr);  // nothing focusable on base 1
    r.SetActiveIndex(0);
    Frame();
    EXPECT_EQ(r.Focused(), &b);
}

TEST_F(Updates, SnapshotCopiesTheDrawnScreen) {
    Box("b", 0, 0, 8, 8, 0x0000FF);
    TVeskCustomImage& snap = r.MakeSnapshot();
    EXPECT_EQ(snap.Name(), std::string("\x01\x01", 2));
    EXPECT_EQ(snap.Parent(), &r.ActiveBase());
    EXPECT_EQ(snap.GetWidth(), 64);
    EXPECT_EQ(snap.Shown()->GetPixel(4, 4) & 0xFFFFFF, 0xFF0000u);
    SetInt(*r.FindByName("b"), PR_COLOR, 0x00FF00);
    // Drawn over everything, the snapshot still shows the old picture.
    EXPECT_EQ(Pixel(4, 4), 0xFF0000u);
    TVeskObject* again = &r.MakeSnapshot();
    EXPECT_EQ(again, r.FindByName(std::string("\x01\x01", 2)));
    EXPECT_EQ(r.Count(), 2);  // the old snapshot was replaced
}

}  // namespace
}  // namespace vesk
