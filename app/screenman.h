#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/dibx.h"
#include "gfx/rect.h"
#include "platform/window.h"
#include "values/sysvar_sources.h"

namespace vesk {

// The full-screen modes the game may use and the one it uses: modes at
// least as large as the screen with 16 or more bits; the first of them
// unless one has the preferred size, then the desktop's depth, then the
// lowest refresh rate.
struct TModeChoice {
    std::vector<platform::TDisplayMode> Modes;
    int Best = -1;
};
TModeChoice ChooseModes(const std::vector<platform::TDisplayMode>& offered, int screenWidth, int screenHeight,
                        int preferredWidth, int preferredHeight, int desktopBits);

// The back buffer's bit count for a display format: 15 for a 5-5-5 display,
// 32 above 16 bits, else 16 (full screen: below 16 bits 15 as well).
int BackBufferBits(const platform::TDisplayFormat& display, bool fullScreen);

// Everything between the composed frame and the window: the display modes,
// the back buffer every frame is composed in, the bit count of every
// component surface, the switch between windowed and full screen, and the
// presentation of the changed regions.
class TScreenManager final : public TSysDisplaySource {
public:
    // window may be null (a headless run): then there are no modes and the
    // frame is only kept in the back buffer. forcedBits (15, 16 or 32; 0 for
    // the display's choice) fixes the surface bit count for tests.
    TScreenManager(platform::TPlatformWindow* window, int screenWidth, int screenHeight, int preferredWidth,
                   int preferredHeight, int forcedBits = 0);

    int ScreenWidth() const { return width_; }
    int ScreenHeight() const { return height_; }
    int ModeCount() const { return static_cast<int>(modes_.size()); }
    // Only for 0 <= index < ModeCount.
    const platform::TDisplayMode& GetMode(int index) const { return modes_[static_cast<std::size_t>(index)]; }
    int BestModeIndex() const { return best_; }
    // -2 released, -1 windowed, 0.. full screen in that mode.
    int ModeIndex() const { return modeIndex_; }
    bool IsFullScreen() const { return isFullScreen_; }
    int SurfaceBitCount() const { return bitCount_; }
    TDIBX& BackBuffer() { return *backBuffer_; }

    // Switches to windowed (-1) or to a mode; a failed switch to full screen
    // ends windowed (the caller sees ModeIndex differ from the request).
    void SetModeIndex(int index);
    // The screen's own switch: full screen in the best mode or windowed;
    // refused (false) when there is no usable mode.
    bool ToggleFullScreen();

    // Regions of the back buffer changed since the last presentation.
    void AddChangedRect(const TRect& r);
    // Presents the changed regions (all of it when the scale is not a whole
    // multiple of 100 %, or when the window lost its picture); an update
    // rectangle, when not empty, is presented instead of the list.
    void Present(int scalePercent = 100, const TRect& update = {});
    // The next presentation sends the whole frame (the window lost it).
    void InvalidateAll() { wholeFrame_ = true; }
    // Called after every switch with the surface bit count then in force:
    // the component surfaces follow it (a new depth also starts a new, black
    // back buffer, which only a redraw of everything fills again).
    std::function<void(int bitCount)> SurfacesRecreated;

    // Rectangles the last Present handed to the window.
    const std::vector<platform::TScreenRect>& LastPresented() const { return presented_; }

    // ---- TSysDisplaySource. ----
    bool FullScreen() override { return isFullScreen_; }
    void SetFullScreen(bool on) override;
    std::int32_t DisplayModeCount() override { return ModeCount(); }
    std::int32_t DisplayModeIndex() override { return best_; }
    void SetDisplayModeIndex(std::int32_t index) override;

private:
    void RecreateSurfaces();
    const std::uint32_t* PixelsForPresent(int& stride);

    platform::TPlatformWindow* window_;
    int width_, height_;
    int forcedBits_;
    std::vector<platform::TDisplayMode> modes_;
    int best_ = -1;
    int modeIndex_ = -2;
    bool isFullScreen_ = false;
    int bitCount_ = 32;
    int desktopBits_ = 24;
    std::unique_ptr<TDIBX> backBuffer_;
    std::vector<TRect> changed_;
    bool wholeFrame_ = true;
    std::vector<platform::TScreenRect> presented_;
    std::vector<std::uint32_t> converted_;  // 15/16-bit frames widened for the window
};

}  // namespace vesk
