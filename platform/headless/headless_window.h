#pragma once

#include <vector>

#include "platform/window.h"

namespace vesk::platform {

// A cursor as the headless window was asked to show it; Width 0 is the
// default arrow.
struct THeadlessCursor {
    int Width = 0, Height = 0, HotX = 0, HotY = 0;
    std::vector<std::uint32_t> Pixels;
};

// The main window of a run without a display: no events, nothing shown, no
// display modes, so full screen is always refused. The frame step drives it
// exactly as it drives a real window. It keeps the cursor it was last asked
// to show and counts the changes, so runs and tests can see the cursor.
class THeadlessWindow final : public TPlatformWindow {
public:
    void SetTitle(const std::string&) override {}
    void SetGameSize(int, int) override {}
    void SetPosition(int, int) override {}
    void Show() override {}
    bool PollEvent(TPlatformEvent&) override { return false; }
    bool WaitEvent(TPlatformEvent&, int) override { return false; }
    void Wake() override {}
    void Present(const std::uint32_t*, int, std::span<const TScreenRect>) override {}
    std::vector<TDisplayMode> DisplayModes() override { return {}; }
    TDisplayFormat DesktopFormat() override { return {}; }
    bool SetFullScreen(const TDisplayMode*) override { return false; }
    bool FullScreen() const override { return false; }
    void WarpMouse(int, int) override {}
    bool ShowCursor(std::span<const std::uint32_t> pixels, int width, int height, int hotX, int hotY) override {
        cursor_ = {width, height, hotX, hotY, {pixels.begin(), pixels.end()}};
        ++cursorChanges_;
        return true;
    }
    void ShowDefaultCursor() override {
        cursor_ = {};
        ++cursorChanges_;
    }
    void* NativeHandle() override { return nullptr; }

    const THeadlessCursor& Cursor() const { return cursor_; }
    int CursorChanges() const { return cursorChanges_; }

private:
    THeadlessCursor cursor_;
    int cursorChanges_ = 0;
};

}  // namespace vesk::platform
