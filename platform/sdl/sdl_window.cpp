#include "platform/sdl/sdl_window.h"

#include <algorithm>

#include "common/cp932.h"
#include "common/error.h"
#include "platform/sdl/keycodes.h"
#include "platform/sdl/toolbar_labels.h"

namespace vesk::platform {

namespace {

EVeskError SdlError(const char* what) { return EVeskError(std::string(what) + ": " + SDL_GetError()); }

// Floor division, so positions left of or above the picture stay negative.
int FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return static_cast<int>(q);
}

constexpr SDL_Rect kQuitButton{2, 2, 48, kToolButtonHeight};
constexpr SDL_Rect kScreenButton{52, 2, 72, kToolButtonHeight};
constexpr int kLabelPixels = 12;
// Dark grey on the grey face, as the system draws button captions.
constexpr Uint8 kLabelGrey = 0x30;

bool Inside(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

}  // namespace

TSdlWindow::TSdlWindow(int gameWidth, int gameHeight)
    : gameWidth_(std::max(gameWidth, 1)), gameHeight_(std::max(gameHeight, 1)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw SdlError("no video");
    // The monitor stays awake while the game runs, whatever the system's idle setting.
    SDL_DisableScreenSaver();
    windowedWidth_ = gameWidth_;
    windowedHeight_ = gameHeight_ + kDockHeight;
    window_ = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowedWidth_, windowedHeight_,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!window_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw SdlError("cannot create the window");
    }
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw SdlError("cannot create the renderer");
    }
    wakeEvent_ = SDL_RegisterEvents(1);
    MakeTexture();
    MakeLabels();
    Layout();
}

TSdlWindow::~TSdlWindow() {
    ShowDefaultCursor();
    FreeLabels();
    if (texture_) SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The last user of SDL also lets go of what video brought along (the
    // D-Bus connection among others).
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

void TSdlWindow::MakeTexture() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, gameWidth_,
                                 gameHeight_);
    if (!texture_) throw SdlError("cannot create the screen texture");
    lostPicture_ = true;
}

void TSdlWindow::FreeLabels() {
    for (SDL_Texture*& t : labels_) {
        if (t) SDL_DestroyTexture(t);
        t = nullptr;
    }
}

// Each label is a texture of its ink, grey with the coverage as alpha,
// centred in its button.
void TSdlWindow::MakeLabels() {
    FreeLabels();
    const std::string texts[2] = {"終了", "画面切替"};
    const std::vector<TLabelBitmap> bitmaps = RenderLabels(texts, kLabelPixels);
    const SDL_Rect buttons[2] = {kQuitButton, kScreenButton};
    for (int i = 0; i < 2; ++i) {
        const TLabelBitmap& b = bitmaps[static_cast<std::size_t>(i)];
        if (b.Empty()) continue;
        std::vector<std::uint32_t> argb(b.Coverage.size());
        for (std::size_t k = 0; k < argb.size(); ++k)
            argb[k] = static_cast<std::uint32_t>(b.Coverage[k]) << 24 | kLabelGrey * 0x010101u;
        SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, b.Width,
                                           b.Height);
        if (!t) continue;
        SDL_UpdateTexture(t, nullptr, argb.data(), b.Width * 4);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        labels_[i] = t;
        labelRects_[i] = SDL_Rect{buttons[i].x + (buttons[i].w - b.Width) / 2,
                                  buttons[i].y + (buttons[i].h - b.Height) / 2, b.Width, b.Height};
    }
}

void TSdlWindow::SetTitle(const std::string& sjisTitle) { SDL_SetWindowTitle(window_, SjisToUtf8(sjisTitle).c_str()); }

void TSdlWindow::SetGameSize(int width, int height) {
    gameWidth_ = std::max(width, 1);
    gameHeight_ = std::max(height, 1);
    windowedWidth_ = gameWidth_;
    windowedHeight_ = gameHeight_ + kDockHeight;
    MakeTexture();
    if (!fullScreen_) SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
    Layout();
}

void TSdlWindow::SetPosition(int left, int top) { SDL_SetWindowPosition(window_, left, top); }

TScreenRect TSdlWindow::WorkArea() {
    SDL_Rect r{};
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &r) != 0) return {};
    return {r.x, r.y, r.w, r.h};
}

void TSdlWindow::Show() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    Layout();
    Redraw();
}

// The picture fills the space below the toolbar (the whole client in full
// screen) as far as its aspect allows; the rest stays black.
void TSdlWindow::Layout() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    const int top = fullScreen_ ? 0 : kDockHeight;
    const int aw = std::max(w, 1), ah = std::max(h - top, 1);
    int dw = aw, dh = ah;
    if (std::int64_t{aw} * gameHeight_ <= std::int64_t{ah} * gameWidth_)
        dh = static_cast<int>(std::int64_t{aw} * gameHeight_ / gameWidth_);
    else
        dw = static_cast<int>(std::int64_t{ah} * gameWidth_ / gameHeight_);
    dw = std::max(dw, 1);
    dh = std::max(dh, 1);
    picture_ = SDL_Rect{(aw - dw) / 2, top + (ah - dh) / 2, dw, dh};
    // Whole multiples keep every pixel a sharp square; anything else is
    // smoothed rather than left with uneven rows and columns.
    const bool whole = dw % gameWidth_ == 0 && dh % gameHeight_ == 0 && dw / gameWidth_ == dh / gameHeight_;
    SDL_SetTextureScaleMode(texture_, whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
}

SDL_Rect TSdlWindow::QuitButtonRect() const { return ToolbarShown() ? kQuitButton : SDL_Rect{}; }
SDL_Rect TSdlWindow::ScreenButtonRect() const { return ToolbarShown() ? kScreenButton : SDL_Rect{}; }

void TSdlWindow::DrawToolbar() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    SDL_SetRenderDrawColor(renderer_, 0xD4, 0xD0, 0xC8, 0xFF);
    const SDL_Rect strip{0, 0, w, kDockHeight};
    SDL_RenderFillRect(renderer_, &strip);
    for (const SDL_Rect& b : {kQuitButton, kScreenButton}) {
        // A raised button: light top and left edges, dark bottom and right.
        SDL_SetRenderDrawColor(renderer_, 0xFF, 0xFF, 0xFF, 0xFF);
        SDL_RenderDrawLine(renderer_, b.x, b.y, b.x + b.w - 1, b.y);
        SDL_RenderDrawLine(renderer_, b.x, b.y, b.x, b.y + b.h - 1);
        SDL_SetRenderDrawColor(renderer_, 0x80, 0x80, 0x80, 0xFF);
        SDL_RenderDrawLine(renderer_, b.x, b.y + b.h - 1, b.x + b.w - 1, b.y + b.h - 1);
        SDL_RenderDrawLine(renderer_, b.x + b.w - 1, b.y, b.x + b.w - 1, b.y + b.h - 1);
    }
    for (int i = 0; i < 2; ++i)
        if (labels_[i]) SDL_RenderCopy(renderer_, labels_[i], nullptr, &labelRects_[i]);
}

void TSdlWindow::Compose() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 0xFF);
    SDL_RenderClear(renderer_);
    SDL_RenderCopyEx(renderer_, texture_, nullptr, &picture_, 0, nullptr, SDL_FLIP_VERTICAL);
    if (ToolbarShown()) DrawToolbar();
}

void TSdlWindow::Redraw() {
    Compose();
    SDL_RenderPresent(renderer_);
}

// The texture holds the rows as stored, bottom-up, and is drawn flipped:
// every changed rectangle is one upload straight from the surface's memory.
void TSdlWindow::Present(const std::uint32_t* pixels, int stride, std::span<const TScreenRect> rects) {
    const SDL_Rect whole{0, 0, gameWidth_, gameHeight_};
    const auto upload = [&](const SDL_Rect& r) {
        const int storedTop = gameHeight_ - r.y - r.h;
        const SDL_Rect t{r.x, storedTop, r.w, r.h};
        SDL_UpdateTexture(texture_, &t, pixels + static_cast<std::ptrdiff_t>(storedTop) * stride + r.x, stride * 4);
    };
    if (lostPicture_) {
        upload(whole);
        lostPicture_ = false;
    } else {
        for (const TScreenRect& r : rects) {
            SDL_Rect in{r.Left, r.Top, r.Width, r.Height}, clipped;
            if (SDL_IntersectRect(&in, &whole, &clipped)) upload(clipped);
        }
    }
    Redraw();
}

// The renderer's back buffer is undefined after a present: draw again and
// read before presenting.
std::vector<std::uint32_t> TSdlWindow::ReadBack(const SDL_Rect& area) {
    Compose();
    std::vector<std::uint32_t> out(static_cast<std::size_t>(area.w) * area.h);
    if (SDL_RenderReadPixels(renderer_, &area, SDL_PIXELFORMAT_RGB888, out.data(), area.w * 4) != 0)
        throw SdlError("cannot read the window back");
    SDL_RenderPresent(renderer_);
    return out;
}

std::vector<std::uint32_t> TSdlWindow::ReadPicture() {
    return ReadBack(picture_);
}

std::vector<std::uint32_t> TSdlWindow::ReadToolbar() {
    if (!ToolbarShown()) return {};
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return ReadBack(SDL_Rect{0, 0, w, kDockHeight});
}

std::vector<TDisplayMode> TSdlWindow::DisplayModes() {
    std::vector<TDisplayMode> modes;
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    const int n = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < n; ++i) {
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(display, i, &m) != 0) continue;
        modes.push_back({m.w, m.h, static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8, m.refresh_rate});
    }
    return modes;
}

TDisplayFormat TSdlWindow::DesktopFormat() {
    SDL_DisplayMode m{};
    if (SDL_GetDesktopDisplayMode(std::max(SDL_GetWindowDisplayIndex(window_), 0), &m) != 0) return {};
    const bool is555 = m.format == SDL_PIXELFORMAT_RGB555 || m.format == SDL_PIXELFORMAT_BGR555 ||
                       m.format == SDL_PIXELFORMAT_ARGB1555;
    return {static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8, is555};
}

bool TSdlWindow::SetFullScreen(const TDisplayMode* mode) {
    if (!mode) {
        SDL_SetWindowFullscreen(window_, 0);
        fullScreen_ = false;
        toolbarPeek_ = false;
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
        Layout();
        Redraw();
        return true;
    }
    if (!fullScreen_) SDL_GetWindowSize(window_, &windowedWidth_, &windowedHeight_);
    bool done = false;
    SDL_DisplayMode want{0, mode->Width, mode->Height, mode->Refresh, nullptr}, got{};
    const int display = std::max(SDL_GetWindowDisplayIndex(window_), 0);
    if (SDL_GetClosestDisplayMode(display, &want, &got) && got.w == mode->Width && got.h == mode->Height)
        done = SDL_SetWindowDisplayMode(window_, &got) == 0 && SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0;
    // Without the exact mode the desktop's own mode serves, the picture
    // scaled into it.
    if (!done) done = SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    if (!done) {
        SetFullScreen(nullptr);
        return false;
    }
    fullScreen_ = true;
    Layout();
    Redraw();
    return true;
}

void TSdlWindow::WarpMouse(int x, int y) {
    const int cx = picture_.x + FloorDiv(std::int64_t{x} * picture_.w + picture_.w / 2, gameWidth_);
    const int cy = picture_.y + FloorDiv(std::int64_t{y} * picture_.h + picture_.h / 2, gameHeight_);
    SDL_WarpMouseInWindow(window_, cx, cy);
}

bool TSdlWindow::ShowCursor(std::span<const std::uint32_t> pixels, int width, int height, int hotX, int hotY) {
    if (width < 1 || height < 1 || pixels.size() < static_cast<std::size_t>(width) * height || hotX < 0 ||
        hotY < 0 || hotX >= width || hotY >= height) {
        ShowDefaultCursor();
        return false;
    }
    // SDL copies the pixels into the cursor; the surface only lends them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels.data()), width,
                                                              height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Cursor* made = surface ? SDL_CreateColorCursor(surface, hotX, hotY) : nullptr;
    if (surface) SDL_FreeSurface(surface);
    if (!made) {
        ShowDefaultCursor();
        return false;
    }
    SDL_SetCursor(made);
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = made;
    return true;
}

void TSdlWindow::ShowDefaultCursor() {
    if (!cursor_) return;
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_FreeCursor(cursor_);
    cursor_ = nullptr;
}

void TSdlWindow::MapToGame(int x, int y, TPlatformEvent& out) const {
    out.x = FloorDiv(std::int64_t{x - picture_.x} * gameWidth_, picture_.w);
    out.y = FloorDiv(std::int64_t{y - picture_.y} * gameHeight_, picture_.h);
}

bool TSdlWindow::PollEvent(TPlatformEvent& event) {
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (Translate(e, event)) return true;
    return false;
}

bool TSdlWindow::WaitEvent(TPlatformEvent& event, int timeoutMs) {
    SDL_Event e;
    const Uint32 until = SDL_GetTicks() + static_cast<Uint32>(std::max(timeoutMs, 0));
    for (;;) {
        const int left = static_cast<int>(until - SDL_GetTicks());
        if (left < 0 || !SDL_WaitEventTimeout(&e, std::max(left, 1))) return false;
        if (Translate(e, event)) return true;
    }
}

void TSdlWindow::Wake() {
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
}

bool TSdlWindow::Translate(const SDL_Event& e, TPlatformEvent& out) {
    using Kind = TPlatformEvent::Kind;
    out = TPlatformEvent{};
    if (e.type == wakeEvent_) {
        out.kind = Kind::Wake;
        return true;
    }
    switch (e.type) {
        case SDL_QUIT: out.kind = Kind::Close; return true;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: out.kind = Kind::Close; return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED: out.kind = Kind::Activate; return true;
                case SDL_WINDOWEVENT_FOCUS_LOST: out.kind = Kind::Deactivate; return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_RESTORED:
                    Layout();
                    Redraw();
                    return false;
                default: return false;
            }
            return false;
        case SDL_RENDER_TARGETS_RESET:
        case SDL_RENDER_DEVICE_RESET:
            MakeTexture();
            MakeLabels();
            Layout();
            out.kind = Kind::PresentNeeded;
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int vk = VirtualKeyFromScancode(e.key.keysym.scancode);
            if (e.type == SDL_KEYDOWN && !e.key.repeat &&
                (vk == 122 || (vk == 13 && (e.key.keysym.mod & KMOD_ALT)))) {
                out.kind = Kind::ScreenButton;  // F11, Alt+Enter
                return true;
            }
            if (vk == 0) return false;
            out.kind = e.type == SDL_KEYDOWN ? Kind::KeyDown : Kind::KeyUp;
            out.key = vk;
            out.repeat = e.key.repeat != 0;
            return true;
        }
        case SDL_MOUSEMOTION: {
            if (fullScreen_) {
                // The hidden toolbar shows while the pointer is on the top row.
                const bool peek = e.motion.y == 0 || (toolbarPeek_ && e.motion.y < kDockHeight);
                if (peek != toolbarPeek_) {
                    toolbarPeek_ = peek;
                    Redraw();
                }
            }
            out.kind = Kind::MouseMove;
            MapToGame(e.motion.x, e.motion.y, out);
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            if (ToolbarShown() && e.button.y < kDockHeight) {
                if (!down || e.button.button != SDL_BUTTON_LEFT) return false;
                if (Inside(kQuitButton, e.button.x, e.button.y)) out.kind = Kind::QuitButton;
                else if (Inside(kScreenButton, e.button.x, e.button.y)) out.kind = Kind::ScreenButton;
                return out.kind != Kind::None;
            }
            out.kind = down ? Kind::MouseDown : Kind::MouseUp;
            out.button = e.button.button == SDL_BUTTON_LEFT    ? TPlatformEvent::Button::Left
                         : e.button.button == SDL_BUTTON_RIGHT ? TPlatformEvent::Button::Right
                         : e.button.button == SDL_BUTTON_MIDDLE ? TPlatformEvent::Button::Middle
                                                                : TPlatformEvent::Button::None;
            MapToGame(e.button.x, e.button.y, out);
            return true;
        }
        case SDL_MOUSEWHEEL: {
            int y = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            if (y == 0) return false;
            out.kind = y > 0 ? Kind::WheelUp : Kind::WheelDown;
            return true;
        }
        default: return false;
    }
}

}  // namespace vesk::platform
