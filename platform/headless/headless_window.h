#pragma once

#include "platform/window.h"

namespace vesk::platform {

// The main window of a run without a display: no events, nothing shown, no
// display modes, so full screen is always refused. The frame step drives it
// exactly as it drives a real window.
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
    void* NativeHandle() override { return nullptr; }
};

}  // namespace vesk::platform
