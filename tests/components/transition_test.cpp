// The registry's screen transition: made by a switch of the active base,
// drawn after both bases in every draw pass, ended by its caller or with
// the surfaces it draws from, and reading its mask pictures through the
// virtual file manager with the project's identification code.

#include <gtest/gtest.h>

#include "archive/vrfiles.h"
#include "tests/components/scene_fixture.h"
#include "transitions/wipe.h"
#include "transitions/wipe_kinds.h"

namespace vesk {
namespace {

using test::Native;
using test::SetInt;

constexpr std::int32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x00FF00;

// Base 0 is red and active, base 1 blue. The mask fade without a picture
// shows the old picture at its start and the new one from half its time.
struct Transitions : test::TScene {
    Transitions() {
        Box("red", 0, 0, 64, 48, kRed);
        Box("blue", 0, 0, 64, 48, kBlue, std::string(1, '\x01'));
        r.DrawPass();
    }
    TCustomWipe& Start(int kind = WP_MASKFADE, std::int32_t duration = 1000) {
        TCustomWipe* w = r.SwitchActive(0, kind, false, duration, true);
        EXPECT_NE(w, nullptr);
        r.StartTransition();
        return *w;
    }
    // The screen as the transition drew it in a new draw pass.
    TPixel Shown(std::int32_t x, std::int32_t y) {
        r.DrawPass();
        r.ClearDirty();
        EXPECT_EQ(r.TransitionRect(), Bounds(0, 0, 64, 48));
        return r.ScreenSurface()->GetPixel(x, y) & 0xFFFFFF;
    }
    static void PutMemFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        TVrFileManager& files = VrFileManager();
        if (files.ArchiveCount() == 0) files.AddMemoryArchive();
        files.CreateMemFile(name).Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
};

TEST_F(Transitions, ASwitchWithAKindDrawsFromTheBaseLeftToTheOther) {
    TCustomWipe& w = Start();
    EXPECT_EQ(r.Transition(), &w);
    EXPECT_EQ(r.ActiveIndex(), 0);
    EXPECT_EQ(w.Target, r.ScreenSurface());
    EXPECT_EQ(w.Old, r.BaseSurface(0));
    EXPECT_EQ(w.New, r.BaseSurface(1));
    EXPECT_EQ(w.Duration, 1000);
    EXPECT_EQ(w.Position, 0);
    EXPECT_EQ(Shown(10, 10), Native(kRed));
    w.Position = 500;
    EXPECT_EQ(Shown(10, 10), Native(kBlue));
    // Both bases draw before the step: a change on the base being shown
    // appears through the transition's next picture (a mask kind draws
    // only when its mask changes).
    SetInt(*r.FindByName("blue"), PR_COLOR, kGreen);
    w.Position = 600;
    EXPECT_EQ(Shown(10, 10), Native(kGreen));

    r.EndTransition();
    EXPECT_EQ(r.Transition(), nullptr);
    r.DrawPass();
    EXPECT_TRUE(r.TransitionRect().IsEmpty());
    EXPECT_EQ(r.DirtyRects(0), (std::vector<TRect>{Bounds(0, 0, 64, 48)}));
}

// A step that leaves the target alone (the circle draws nothing while its
// radius is 0) shows the picture being left, not an empty screen.
TEST_F(Transitions, AStepThatDrawsNothingShowsTheOldPicture) {
    Start(WP_CIRCLE);
    EXPECT_EQ(Shown(32, 24), Native(kRed));
}

TEST_F(Transitions, SwitchesMakeKeepOrEndTheTransition) {
    struct Case {
        const char* what;
        int kind;
        bool force;
        bool made, running;  // a new one made; one running afterwards
    } cases[] = {
        {"kind, not forced", WP_FADE, false, false, true},
        {"kind, forced", WP_FADE, true, true, true},
        {"none, not forced", WP_NONE, false, false, true},
        {"none, forced", WP_NONE, true, false, false},
        {"unknown kind, forced", 39, true, false, false},
    };
    for (const Case& c : cases) {
        Start(WP_MASKFADE, 700);
        r.ClearDirty();
        const TCustomWipe* w = r.SwitchActive(1, c.kind, false, 300, c.force);
        EXPECT_EQ(w != nullptr, c.made) << c.what;
        EXPECT_EQ(r.ActiveIndex(), 1) << c.what;
        ASSERT_EQ(r.Transition() != nullptr, c.running) << c.what;
        // A kept transition keeps its settings; a new one runs from the
        // base now active to the other.
        if (c.running) {
            EXPECT_EQ(r.Transition()->Duration, c.made ? 300 : 700) << c.what;
        }
        if (c.made) {
            EXPECT_EQ(w->Old, r.BaseSurface(1)) << c.what;
        }
        EXPECT_EQ(r.DirtyRects(0), (std::vector<TRect>{Bounds(0, 0, 64, 48)})) << c.what;
        r.EndTransition();
        r.SetActiveIndex(0);
    }
}

// Whatever replaces or frees the bases' surfaces ends the transition, and
// the next draw pass draws the bases alone.
TEST_F(Transitions, ATransitionEndsWithTheSurfacesItDrawsFrom) {
    struct Case {
        const char* what;
        void (*change)(TVeskBaseList&);
    } cases[] = {
        {"reset", [](TVeskBaseList& r) { r.Reset(); }},
        {"size", [](TVeskBaseList& r) { r.SetSize(32, 16); }},
        {"depth", [](TVeskBaseList& r) { r.SetBitCount(16); }},
        {"display change",
         [](TVeskBaseList& r) {
             r.ReleaseSurfaces();
             r.ReloadSurfaces();
         }},
    };
    for (const Case& c : cases) {
        Start();
        c.change(r);
        EXPECT_EQ(r.Transition(), nullptr) << c.what;
        r.DrawPass();
        EXPECT_TRUE(r.TransitionRect().IsEmpty()) << c.what;
        r.SetSize(64, 48);
        r.SetBitCount(32);
    }
}

// A grey picture of the screen's size: black top half, white bottom half.
// Its rows are stored scrambled, so read with another code it would show
// them in another order.
std::vector<std::uint8_t> HalfMask(std::int32_t idCode) {
    TFenkFrameList list(idCode);
    TFenkFrame& frame = list.AddFrame();
    frame.Image.SetSize(64, 48, 8);
    frame.Image.SetGreyPalette();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) frame.Image.SetPixel(x, y, y < 24 ? 0 : 255);
    TMemoryStream bytes;
    list.SaveToStream(bytes, FK_ZLIB, 70);
    return bytes.Bytes();
}

// At half the time the white half of the mask shows the new picture and
// the black half still the old one.
TEST_F(Transitions, MaskPicturesAreReadThroughTheFileManagerWithTheProjectsCode) {
    r.Images().IdCode = 0x5151;
    PutMemFile("mem:half.fnk", HalfMask(0x5151));
    TCustomWipe* w = r.SwitchActive(0, WP_MASKFADE, false, 1000, true);
    ASSERT_NE(w, nullptr);
    w->SetMaskName("mem:half.fnk");
    r.StartTransition();
    w->Position = 500;
    for (int y = 0; y < 48; ++y) ASSERT_EQ(Shown(10, y), Native(y < 24 ? kRed : kBlue)) << y;
    VrFileManager().DeleteMemFile("mem:half.fnk");
}

// A picture that cannot be read or is missing leaves a transition that runs as without one: all new at half the time.
TEST_F(Transitions, UnreadableMaskPicturesLeaveAPlainTransition) {
    r.Images().IdCode = 0x5151;
    std::vector<std::uint8_t> cut = HalfMask(0x5151);
    cut.resize(cut.size() / 2);
    PutMemFile("mem:cut.fnk", cut);
    PutMemFile("mem:noise.png", std::vector<std::uint8_t>(200, 0x5A));
    for (const char* name : {"mem:cut.fnk", "mem:noise.png", "mem:missing.fnk"}) {
        TCustomWipe* w = r.SwitchActive(0, WP_MASKFADE, false, 1000, true);
        ASSERT_NE(w, nullptr);
        w->SetMaskName(name);
        EXPECT_NO_THROW(r.StartTransition()) << name;
        ASSERT_EQ(r.Transition(), w) << name;
        w->Position = 500;
        EXPECT_EQ(Shown(10, 10), Native(kBlue)) << name;
        EXPECT_EQ(Shown(10, 40), Native(kBlue)) << name;
    }
    for (const char* name : {"mem:cut.fnk", "mem:noise.png"}) VrFileManager().DeleteMemFile(name);
}

}  // namespace
}  // namespace vesk
