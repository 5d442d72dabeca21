// The SDL main window in a real X server (Xvfb): its size, the presented
// picture read back, real X input through xdotool, full screen.

#include "platform/sdl/sdl_window.h"

#include <gtest/gtest.h>

#include <functional>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/screenman.h"
#include "components/registry/input_state.h"
#include "platform/sdl/toolbar_labels.h"
#include "tests/app/wait_until.h"
#include "tests/platform/xvfb_fixture.h"

namespace vesk::platform {
namespace {

using Kind = TPlatformEvent::Kind;

class SdlWindowTest : public ::testing::Test {
protected:
    void Open(const std::string& screen, int gameWidth, int gameHeight) {
        x_ = std::make_unique<test::TXvfb>(screen);
        ASSERT_TRUE(x_->Started()) << x_->error;
#if defined(__SANITIZE_ADDRESS__)
        // SDL's video (the D-Bus screen-saver inhibition, the X libraries it
        // loads and unloads again) keeps memory to the end of the process
        // that is not ours to free; the leak check ignores what this thread
        // allocates while a window is open. The screen manager's and the
        // input state's own leaks are checked in the tests without SDL.
        __lsan_disable();
        lsanDisabled_ = true;
#endif
        // SDL drops a click that comes within a few milliseconds of the window
        // taking the focus, taking it for the click that gave the focus; the
        // test's clicks follow the focus as fast as the machine allows.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        window = std::make_unique<TSdlWindow>(gameWidth, gameHeight);
        window->SetTitle("vesk-window-test");
        window->SetPosition(0, 0);
        window->Show();
        id = test::WaitForWindow("vesk-window-test");
        ASSERT_FALSE(id.empty()) << "the window never appeared";
        // The shown window gets the keyboard; until SDL has taken that focus
        // in, clicks and full-screen switches do not reliably reach it.
        ASSERT_TRUE(Pump([&] { return SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_INPUT_FOCUS; }))
            << "the window never got the focus";
    }
    void TearDown() override {
        screen.reset();
        window.reset();
        x_.reset();
#if defined(__SANITIZE_ADDRESS__)
        if (lsanDisabled_) __lsan_enable();
#endif
    }

    // Takes the window's events into the input state until done() or the
    // time is up; answers done().
    bool Pump(const std::function<bool()>& done) {
        TPlatformEvent e;
        return test::WaitUntil([&] {
            while (window->PollEvent(e)) {
                events.push_back(e.kind);
                input.Apply(e);
            }
            return done();
        });
    }

    // Until the window has the size and has laid its picture out in it.
    bool Resize(int w, int h) {
        SDL_SetWindowSize(window->Handle(), w, h);
        return Pump([&] {
            const SDL_Rect p = window->PictureRect();
            return p.w != 0 && (p.x + p.w <= w) && ClientSize() == std::pair{w, h};
        });
    }
    std::pair<int, int> ClientSize() const {
        int w = 0, h = 0;
        SDL_GetWindowSize(window->Handle(), &w, &h);
        return {w, h};
    }

    // A picture with a different value at every pixel.
    void Paint(TDIBX& b) {
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, static_cast<std::uint32_t>(x * 0x010307 + y * 0x0B0D00));
    }
    // Whether the read-back picture shows the back buffer, scaled by a
    // whole factor.
    ::testing::AssertionResult ShowsBackBuffer(int factor) {
        TDIBX& b = screen->BackBuffer();
        const std::vector<std::uint32_t> shown = window->ReadPicture();
        const SDL_Rect p = window->PictureRect();
        if (p.w != b.Width() * factor || p.h != b.Height() * factor)
            return ::testing::AssertionFailure() << "picture " << p.w << "x" << p.h;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                const std::uint32_t want = b.GetPixel(x / factor, y / factor) & 0xFFFFFF;
                const std::uint32_t got = shown[static_cast<std::size_t>(y) * p.w + x] & 0xFFFFFF;
                if (got != want)
                    return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex << got
                                                         << " instead of " << want;
            }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<test::TXvfb> x_;
    std::unique_ptr<TSdlWindow> window;
    std::unique_ptr<TScreenManager> screen;
    TInputState input;
    std::vector<Kind> events;
    std::string id;
    bool lsanDisabled_ = false;
};

TEST_F(SdlWindowTest, OpensAtTheGameSizePlusTheToolbar) {
    Open("1024x768x24", 320, 240);
    EXPECT_EQ(ClientSize(), (std::pair{320, 240 + kDockHeight}));
    const std::string geometry = test::Shell("xdotool getwindowgeometry " + id);
    EXPECT_NE(geometry.find("320x262"), std::string::npos) << geometry;
    const SDL_Rect p = window->PictureRect();
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, kDockHeight);
    EXPECT_EQ(p.w, 320);
    EXPECT_EQ(p.h, 240);
}

TEST_F(SdlWindowTest, ThePresentedFrameReadsBackAsTheBackBufferAlsoScaled) {
    Open("1024x768x24", 64, 48);
    screen = std::make_unique<TScreenManager>(window.get(), 64, 48, 64, 48);
    EXPECT_EQ(screen->SurfaceBitCount(), 32);
    Paint(screen->BackBuffer());
    screen->Present();
    EXPECT_TRUE(ShowsBackBuffer(1));

    // Only the changed rectangle is sent; the rest stays as presented.
    screen->BackBuffer().FillRect(MakeRect(10, 5, 20, 15), 0xFF8000);
    screen->AddChangedRect(MakeRect(10, 5, 20, 15));
    screen->Present();
    EXPECT_TRUE(ShowsBackBuffer(1));
    screen->BackBuffer().FillRect(MakeRect(0, 0, 64, 48), 0x00FF00);  // changed, never reported
    EXPECT_FALSE(ShowsBackBuffer(1));
    Paint(screen->BackBuffer());
    screen->BackBuffer().FillRect(MakeRect(10, 5, 20, 15), 0xFF8000);

    ASSERT_TRUE(Resize(128, 96 + kDockHeight));  // twice the size: sharp pixels
    EXPECT_TRUE(ShowsBackBuffer(2));

    ASSERT_TRUE(Resize(400, 96 + kDockHeight));  // wider than the aspect: bars left and right
    const SDL_Rect p = window->PictureRect();
    EXPECT_EQ(p.w, 128);
    EXPECT_EQ(p.h, 96);
    EXPECT_EQ(p.x, (400 - 128) / 2);
    EXPECT_EQ(p.y, kDockHeight);
}

TEST_F(SdlWindowTest, SixteenBitFramesAreShownInTrueColour) {
    Open("1024x768x24", 32, 16);
    screen = std::make_unique<TScreenManager>(window.get(), 32, 16, 32, 16, 16);
    screen->BackBuffer().Fill(0xF800);  // full red in 5-6-5
    screen->Present();
    const std::vector<std::uint32_t> shown = window->ReadPicture();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0] & 0xFFFFFF, 0xFF0000u);
}

TEST_F(SdlWindowTest, XInputArrivesAsGameCoordinatesAndKeyCodes) {
    Open("1024x768x24", 160, 120);
    // Client (100, 22 + 50) is game (100, 50).
    test::Shell("xdotool mousemove --window " + id + " 100 " + std::to_string(kDockHeight + 50));
    EXPECT_TRUE(Pump([&] { return input.MouseX() == 100 && input.MouseY() == 50; })) << input.MouseX() << "," << input.MouseY();
    test::Shell("xdotool mousedown 1");
    EXPECT_TRUE(Pump([&] { return input.LPush(); }));
    test::Shell("xdotool mouseup 1");
    EXPECT_TRUE(Pump([&] { return !input.LPush(); }));
    input.BeginFrame(16);
    EXPECT_TRUE(input.LClick());

    test::Shell("timeout 10 xdotool windowfocus --sync " + id);
    struct TKeyCase {
        const char* name;
        int vk;
    };
    for (const TKeyCase& k : {TKeyCase{"Return", 13}, {"space", 32}, {"a", 65}, {"z", 90}, {"5", 53},
                              {"Left", 37}, {"Down", 40}, {"Escape", 27}, {"F1", 112}, {"Shift_L", 16},
                              {"Control_R", 17}}) {
        SCOPED_TRACE(k.name);
        test::Shell(std::string("xdotool keydown ") + k.name);
        EXPECT_TRUE(Pump([&] { return input.KeyPush(k.vk); }));
        test::Shell(std::string("xdotool keyup ") + k.name);
        EXPECT_TRUE(Pump([&] { return !input.KeyPush(k.vk); }));
        input.BeginFrame(16);
        EXPECT_TRUE(input.KeyClick(k.vk));
    }

    // Scaled three times in a window that is also wider: the picture is
    // centred and positions map back through the scale.
    ASSERT_TRUE(Resize(600, 360 + kDockHeight));
    const SDL_Rect p = window->PictureRect();
    ASSERT_EQ(p.w, 480);
    ASSERT_EQ(p.x, 60);
    test::Shell("xdotool mousemove --window " + id + " " + std::to_string(60 + 3 * 40 + 1) + " " +
                std::to_string(kDockHeight + 3 * 30 + 2));
    EXPECT_TRUE(Pump([&] { return input.MouseX() == 40 && input.MouseY() == 30; })) << input.MouseX() << "," << input.MouseY();
    // Left of the picture is left of the game screen.
    test::Shell("xdotool mousemove --window " + id + " 30 " + std::to_string(kDockHeight + 3));
    EXPECT_TRUE(Pump([&] { return input.MouseX() == -10 && input.MouseY() == 1; })) << input.MouseX() << "," << input.MouseY();
}

TEST_F(SdlWindowTest, ToolbarButtonsAndTheFullScreenKeys) {
    Open("1024x768x24", 160, 120);
    const auto clickAt = [&](const SDL_Rect& r) {
        test::Shell("xdotool mousemove --window " + id + " " + std::to_string(r.x + r.w / 2) + " " +
                    std::to_string(r.y + r.h / 2) + " click 1");
    };
    const auto saw = [&](Kind k) { return std::find(events.begin(), events.end(), k) != events.end(); };
    clickAt(window->QuitButtonRect());
    EXPECT_TRUE(Pump([&] { return saw(Kind::QuitButton); }));
    EXPECT_FALSE(input.LPush());
    EXPECT_FALSE(saw(Kind::MouseDown));  // the toolbar's clicks are not the game's
    clickAt(window->ScreenButtonRect());
    EXPECT_TRUE(Pump([&] { return saw(Kind::ScreenButton); }));

    test::Shell("timeout 10 xdotool windowfocus --sync " + id);
    events.clear();
    test::Shell("xdotool key F11");
    EXPECT_TRUE(Pump([&] { return saw(Kind::ScreenButton); }));
    events.clear();
    test::Shell("xdotool key alt+Return");
    EXPECT_TRUE(Pump([&] { return saw(Kind::ScreenButton); }));
    EXPECT_FALSE(input.KeyClick(13));
}

TEST_F(SdlWindowTest, FullScreenInTheDisplaysModeAndBack) {
    Open("1024x768x24", 320, 240);
    screen = std::make_unique<TScreenManager>(window.get(), 320, 240, 1024, 768);
    ASSERT_GE(screen->ModeCount(), 1);
    EXPECT_EQ(screen->GetMode(screen->BestModeIndex()).Width, 1024);
    Paint(screen->BackBuffer());
    ASSERT_TRUE(screen->ToggleFullScreen());
    EXPECT_TRUE(window->FullScreen());
    EXPECT_TRUE(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(Pump([&] { return ClientSize() == std::pair{1024, 768}; }));
    EXPECT_EQ(ClientSize(), (std::pair{1024, 768}));
    // No toolbar: the picture fills the screen (the same aspect).
    const SDL_Rect p = window->PictureRect();
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.h, 768);
    EXPECT_EQ(window->QuitButtonRect().w, 0);
    screen->Present();
    EXPECT_EQ(window->ReadPicture().size(), 1024u * 768u);

    ASSERT_TRUE(screen->ToggleFullScreen());
    EXPECT_FALSE(window->FullScreen());
    EXPECT_FALSE(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(Pump([&] { return ClientSize() == std::pair{320, 240 + kDockHeight}; }));
    EXPECT_EQ(ClientSize(), (std::pair{320, 240 + kDockHeight}));
    EXPECT_EQ(window->PictureRect().y, kDockHeight);
}

TEST_F(SdlWindowTest, WithoutAnExactModeTheDesktopModeServes) {
    Open("1024x768x24", 320, 240);
    const TDisplayMode absent{800, 600, 32, 60};
    ASSERT_TRUE(window->SetFullScreen(&absent));
    EXPECT_EQ(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    ASSERT_TRUE(window->SetFullScreen(nullptr));
    EXPECT_FALSE(window->FullScreen());
}

TEST_F(SdlWindowTest, AGameLargerThanTheDisplayStaysWindowed) {
    Open("640x480x24", 800, 600);
    screen = std::make_unique<TScreenManager>(window.get(), 800, 600, 800, 600);
    EXPECT_EQ(screen->ModeCount(), 0);
    EXPECT_FALSE(screen->ToggleFullScreen());
    EXPECT_EQ(screen->ModeIndex(), -1);
    EXPECT_FALSE(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_RESIZABLE);
}

// The labels as FreeType draws them: ink of each text, anti-aliased, small
// enough for its button, the longer text the wider. (Exact glyph shapes
// change with the font's version, so only the shape of the ink is checked.)
TEST(ToolbarLabels, EachTextIsAntiAliasedInkThatFitsItsButton) {
    const std::string texts[] = {"終了", "画面切替", ""};
    const std::vector<TLabelBitmap> labels = RenderLabels(texts, 12);
    ASSERT_EQ(labels.size(), 3u);
    ASSERT_FALSE(labels[0].Empty()) << "no Japanese Gothic face (fonts-ipafont-gothic)";
    ASSERT_FALSE(labels[1].Empty());
    EXPECT_TRUE(labels[2].Empty());
    for (int i = 0; i < 2; ++i) {
        const TLabelBitmap& l = labels[static_cast<std::size_t>(i)];
        SCOPED_TRACE(texts[i]);
        EXPECT_LE(l.Height, kToolButtonHeight - 4);
        EXPECT_GE(l.Height, 8);
        EXPECT_EQ(l.Coverage.size(), static_cast<std::size_t>(l.Width) * l.Height);
        const auto [lo, hi] = std::minmax_element(l.Coverage.begin(), l.Coverage.end());
        EXPECT_EQ(*lo, 0);
        EXPECT_GE(*hi, 200);
        EXPECT_TRUE(std::any_of(l.Coverage.begin(), l.Coverage.end(), [](std::uint8_t c) { return c > 0 && c < 200; }))
            << "not anti-aliased";
        // Trimmed to the ink: every edge row and column has some.
        const auto inkAt = [&](int x, int y) { return l.Coverage[static_cast<std::size_t>(y) * l.Width + x] != 0; };
        bool top = false, bottom = false, left = false, right = false;
        for (int x = 0; x < l.Width; ++x) top = top || inkAt(x, 0), bottom = bottom || inkAt(x, l.Height - 1);
        for (int y = 0; y < l.Height; ++y) left = left || inkAt(0, y), right = right || inkAt(l.Width - 1, y);
        EXPECT_TRUE(top && bottom && left && right);
    }
    EXPECT_LE(labels[0].Width, 48 - 4);
    EXPECT_LE(labels[1].Width, 72 - 4);
    // Four characters against two.
    EXPECT_GT(labels[1].Width, labels[0].Width * 3 / 2);
}

// The strip as the window draws it: in each button, grey ink centred
// within a pixel; nothing but the buttons' edges and labels elsewhere.
TEST_F(SdlWindowTest, ToolbarLabelsAreDrawnCentredInTheirButtons) {
    Open("1024x768x24", 320, 240);
    const std::vector<std::uint32_t> strip = window->ReadToolbar();
    ASSERT_EQ(strip.size(), 320u * kDockHeight);
    const std::uint32_t face = 0xD4D0C8;
    const auto pixel = [&](int x, int y) { return strip[static_cast<std::size_t>(y) * 320 + x] & 0xFFFFFF; };
    const SDL_Rect buttons[] = {window->QuitButtonRect(), window->ScreenButtonRect()};
    const auto interior = [&](int x, int y) {
        for (const SDL_Rect& b : buttons)
            if (x > b.x && y > b.y && x < b.x + b.w - 1 && y < b.y + b.h - 1) return &b - buttons;
        return std::ptrdiff_t{-1};
    };
    const auto edge = [&](int x, int y) {
        for (const SDL_Rect& b : buttons)
            if (x >= b.x && y >= b.y && x < b.x + b.w && y < b.y + b.h && interior(x, y) < 0) return true;
        return false;
    };
    struct TInk {
        int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
        int count = 0, darkest = 0xFF, partial = 0;
        std::vector<std::uint32_t> pixels;
    } ink[2];
    for (int y = 0; y < kDockHeight; ++y)
        for (int x = 0; x < 320; ++x) {
            const std::uint32_t c = pixel(x, y);
            const std::ptrdiff_t in = interior(x, y);
            if (in >= 0) ink[in].pixels.push_back(c);
            if (c == face || edge(x, y)) continue;
            ASSERT_GE(in, 0) << "ink outside the buttons at " << x << "," << y << ": " << std::hex << c;
            TInk& k = ink[in];
            // Darker than the face in every channel: grey laid over it.
            ASSERT_LT(c >> 16, face >> 16);
            ASSERT_LT(c >> 8 & 0xFF, face >> 8 & 0xFF);
            ASSERT_LT(c & 0xFF, face & 0xFF);
            k.x0 = std::min(k.x0, x), k.y0 = std::min(k.y0, y), k.x1 = std::max(k.x1, x), k.y1 = std::max(k.y1, y);
            ++k.count;
            k.darkest = std::min<int>(k.darkest, static_cast<int>(c & 0xFF));
            if ((c & 0xFF) > 0x60) ++k.partial;
        }
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const TInk& k = ink[i];
        const SDL_Rect& b = buttons[i];
        ASSERT_GT(k.count, 20);
        EXPECT_LE(k.darkest, 0x60);
        EXPECT_GT(k.partial, 0);  // anti-aliased edges
        // Centres compared doubled, so a half pixel stays whole.
        EXPECT_LE(std::abs((k.x0 + k.x1 + 1) - (2 * b.x + b.w)), 2) << k.x0 << ".." << k.x1;
        EXPECT_LE(std::abs((k.y0 + k.y1 + 1) - (2 * b.y + b.h)), 2) << k.y0 << ".." << k.y1;
    }
    EXPECT_NE(ink[0].x1 - ink[0].x0, ink[1].x1 - ink[1].x0);
    EXPECT_NE(ink[0].pixels, ink[1].pixels);
}

TEST_F(SdlWindowTest, GameCursorsAndTheDefaultArrow) {
    Open("1024x768x24", 160, 120);
    EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
    std::vector<std::uint32_t> arrow(32 * 32, 0);
    for (int i = 0; i < 32; ++i) arrow[static_cast<std::size_t>(i) * 32 + i] = 0xFFFF0000;
    ASSERT_TRUE(window->ShowCursor(arrow, 32, 32, 5, 7));
    EXPECT_TRUE(window->CustomCursor());
    EXPECT_NE(SDL_GetCursor(), SDL_GetDefaultCursor());
    ASSERT_TRUE(window->ShowCursor(arrow, 16, 64, 0, 63));  // another replaces it
    // A hot spot outside the picture, or too few pixels, cannot be shown.
    EXPECT_FALSE(window->ShowCursor(arrow, 32, 32, 32, 0));
    EXPECT_FALSE(window->CustomCursor());
    EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
    EXPECT_FALSE(window->ShowCursor(std::span(arrow).first(100), 32, 32, 0, 0));
    ASSERT_TRUE(window->ShowCursor(arrow, 32, 32, 5, 7));
    window->ShowDefaultCursor();
    EXPECT_FALSE(window->CustomCursor());
    EXPECT_EQ(SDL_GetCursor(), SDL_GetDefaultCursor());
}

}  // namespace
}  // namespace vesk::platform
