#pragma once

#include <vector>

#include "platform/window.h"

namespace vesk::test {

// A window that keeps what it was asked to do: the presented picture in
// screen order (top-down), the rectangles of each present, the full-screen
// requests. Full screen succeeds unless told otherwise.
class TFakeWindow final : public platform::TPlatformWindow {
public:
    TFakeWindow(int w, int h) : width(w), height(h), picture(static_cast<std::size_t>(w) * h, 0xDEADBEEF) {}

    void SetTitle(const std::string& t) override { title = t; }
    void SetGameSize(int w, int h) override { width = w, height = h; }
    void SetPosition(int, int) override {}
    void Show() override {}
    bool PollEvent(platform::TPlatformEvent&) override { return false; }
    bool WaitEvent(platform::TPlatformEvent&, int) override { return false; }
    void Wake() override {}
    void Present(const std::uint32_t* pixels, int stride, std::span<const platform::TScreenRect> rects) override {
        presents.emplace_back(rects.begin(), rects.end());
        for (const auto& r : rects)
            for (int y = r.Top; y < r.Top + r.Height; ++y)
                for (int x = r.Left; x < r.Left + r.Width; ++x)
                    picture[static_cast<std::size_t>(y) * width + x] =
                        pixels[static_cast<std::ptrdiff_t>(height - 1 - y) * stride + x];
    }
    std::vector<platform::TDisplayMode> DisplayModes() override { return modes; }
    platform::TDisplayFormat DesktopFormat() override { return format; }
    bool SetFullScreen(const platform::TDisplayMode* mode) override {
        requests.push_back(mode ? *mode : platform::TDisplayMode{});
        full = mode && canFullScreen;
        return !mode || canFullScreen;
    }
    bool FullScreen() const override { return full; }
    void WarpMouse(int x, int y) override { warped = {x, y, 0, 0}; }
    bool ShowCursor(std::span<const std::uint32_t>, int, int, int, int) override { return true; }
    void ShowDefaultCursor() override {}
    void* NativeHandle() override { return nullptr; }

    int width, height;
    std::vector<std::uint32_t> picture;
    std::vector<std::vector<platform::TScreenRect>> presents;
    std::vector<platform::TDisplayMode> modes;
    std::vector<platform::TDisplayMode> requests;  // {} for windowed
    platform::TDisplayFormat format{32, false};
    bool canFullScreen = true, full = false;
    std::string title;
    platform::TDisplayMode warped{};
};

}  // namespace vesk::test
