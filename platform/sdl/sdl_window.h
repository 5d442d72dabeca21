#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/window.h"

namespace vesk::platform {

// The main window on SDL2: a resizable window whose client area holds the
// toolbar strip (windowed only) and the game picture, an SDL texture of the
// game screen's size drawn scaled to the space left with its aspect kept.
// Only the changed rectangles of a frame are uploaded to the texture.
class TSdlWindow final : public TPlatformWindow {
public:
    // A hidden window for a game screen of the given size. Raises
    // EVeskError when SDL has no video or cannot make the window.
    TSdlWindow(int gameWidth, int gameHeight);
    ~TSdlWindow() override;
    TSdlWindow(const TSdlWindow&) = delete;
    TSdlWindow& operator=(const TSdlWindow&) = delete;

    void SetTitle(const std::string& sjisTitle) override;
    void SetGameSize(int width, int height) override;
    void SetPosition(int left, int top) override;
    TScreenRect WorkArea() override;
    void Show() override;
    bool PollEvent(TPlatformEvent& event) override;
    bool WaitEvent(TPlatformEvent& event, int timeoutMs) override;
    void Wake() override;
    void Present(const std::uint32_t* pixels, int stride, std::span<const TScreenRect> rects) override;
    std::vector<TDisplayMode> DisplayModes() override;
    TDisplayFormat DesktopFormat() override;
    bool SetFullScreen(const TDisplayMode* mode) override;
    bool FullScreen() const override { return fullScreen_; }
    void WarpMouse(int x, int y) override;
    bool ShowCursor(std::span<const std::uint32_t> pixels, int width, int height, int hotX, int hotY) override;
    void ShowDefaultCursor() override;
    void* NativeHandle() override { return window_; }

    // Where the game picture lies in the client area (client pixels).
    SDL_Rect PictureRect() const { return picture_; }
    // Client area of the two toolbar buttons; empty while the toolbar is hidden.
    SDL_Rect QuitButtonRect() const;
    SDL_Rect ScreenButtonRect() const;
    // Reads the picture as last presented back from the renderer, scaled as
    // on screen (PictureRect's size), 0x00RRGGBB.
    std::vector<std::uint32_t> ReadPicture();
    // Reads the toolbar strip back as drawn (client width x the dock
    // height, 0x00RRGGBB); empty while the toolbar is hidden.
    std::vector<std::uint32_t> ReadToolbar();
    // Whether a cursor of the game's own is shown.
    bool CustomCursor() const { return cursor_ != nullptr; }
    SDL_Window* Handle() const { return window_; }

private:
    void MakeTexture();
    void MakeLabels();
    void FreeLabels();
    void Layout();
    void Compose();  // the whole client into the back buffer
    void Redraw();
    std::vector<std::uint32_t> ReadBack(const SDL_Rect& area);
    void DrawToolbar();
    bool Translate(const SDL_Event& e, TPlatformEvent& out);
    void MapToGame(int x, int y, TPlatformEvent& out) const;
    bool ToolbarShown() const { return !fullScreen_ || toolbarPeek_; }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int gameWidth_, gameHeight_;
    SDL_Rect picture_{};
    bool fullScreen_ = false;
    bool toolbarPeek_ = false;  // full screen: the pointer is on the top row
    bool lostPicture_ = true;   // the texture holds nothing valid yet
    int windowedWidth_ = 0, windowedHeight_ = 0;
    Uint32 wakeEvent_ = 0;
    // The buttons' labels, as textures of their ink (none without a font).
    SDL_Texture* labels_[2] = {nullptr, nullptr};
    SDL_Rect labelRects_[2]{};
    SDL_Cursor* cursor_ = nullptr;  // the game's cursor; nullptr: the default arrow
};

}  // namespace vesk::platform
