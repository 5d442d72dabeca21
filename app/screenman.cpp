#include "app/screenman.h"

#include <algorithm>

namespace vesk {

using platform::TDisplayFormat;
using platform::TDisplayMode;
using platform::TScreenRect;

TModeChoice ChooseModes(const std::vector<TDisplayMode>& offered, int screenWidth, int screenHeight,
                        int preferredWidth, int preferredHeight, int desktopBits) {
    TModeChoice c;
    for (const TDisplayMode& m : offered) {
        // A mode with a nonsensical (negative) size is never usable.
        if (m.Width <= 0 || m.Height <= 0 || m.Width < screenWidth || m.Height < screenHeight || m.Bits < 16)
            continue;
        c.Modes.push_back(m);
        const int index = static_cast<int>(c.Modes.size()) - 1;
        if (c.Best < 0) {
            c.Best = index;
            continue;
        }
        const TDisplayMode& best = c.Modes[static_cast<std::size_t>(c.Best)];
        const auto preferred = [&](const TDisplayMode& x) {
            return x.Width == preferredWidth && x.Height == preferredHeight;
        };
        if (!preferred(m)) continue;
        if (!preferred(best) || (m.Bits == desktopBits && best.Bits != desktopBits) ||
            (m.Bits == desktopBits && best.Bits == desktopBits && m.Refresh < best.Refresh))
            c.Best = index;
    }
    return c;
}

int BackBufferBits(const TDisplayFormat& display, bool fullScreen) {
    if (display.Is555 || (fullScreen && display.Bits < 16)) return 15;
    return display.Bits > 16 ? 32 : 16;
}

TScreenManager::TScreenManager(platform::TPlatformWindow* window, int screenWidth, int screenHeight,
                               int preferredWidth, int preferredHeight, int forcedBits)
    : window_(window), width_(screenWidth), height_(screenHeight), forcedBits_(forcedBits) {
    if (window_) {
        const TDisplayFormat desktop = window_->DesktopFormat();
        if (desktop.Bits > 0) desktopBits_ = desktop.Bits;
        TModeChoice c = ChooseModes(window_->DisplayModes(), width_, height_, preferredWidth, preferredHeight,
                                    desktopBits_);
        modes_ = std::move(c.Modes);
        best_ = c.Best;
    }
    SetModeIndex(-1);
}

void TScreenManager::RecreateSurfaces() {
    isFullScreen_ = false;
    TDisplayFormat format = window_ ? window_->DesktopFormat() : TDisplayFormat{};
    if (modeIndex_ >= 0) {
        if (modeIndex_ < ModeCount() && window_ && window_->SetFullScreen(&modes_[static_cast<std::size_t>(modeIndex_)])) {
            isFullScreen_ = true;
            format = window_->DesktopFormat();
        } else {
            // The display could not take the mode: windowed, with border and toolbar.
            modeIndex_ = -1;
            if (window_) window_->SetFullScreen(nullptr);
        }
    }
    const int bits = forcedBits_ ? forcedBits_ : BackBufferBits(format, isFullScreen_);
    // The frame survives a switch that keeps the depth; a new depth starts
    // from a black frame that the next draw fills.
    if (!backBuffer_ || backBuffer_->BitCount() != bits) backBuffer_ = std::make_unique<TDIBX>(width_, height_, bits);
    bitCount_ = bits;
    wholeFrame_ = true;
    if (SurfacesRecreated) SurfacesRecreated(bits);
}

void TScreenManager::SetModeIndex(int index) {
    if (index == modeIndex_) return;
    if (index < 0 && isFullScreen_ && window_) window_->SetFullScreen(nullptr);
    modeIndex_ = index < 0 ? -1 : index;
    RecreateSurfaces();
}

bool TScreenManager::ToggleFullScreen() {
    if (isFullScreen_) {
        SetModeIndex(-1);
        return true;
    }
    if (best_ < 0) return false;
    SetModeIndex(best_);
    return modeIndex_ == best_;
}

void TScreenManager::SetFullScreen(bool on) {
    if (on != isFullScreen_) ToggleFullScreen();
}

void TScreenManager::SetDisplayModeIndex(std::int32_t index) {
    if (index < -1 || index >= ModeCount()) return;
    best_ = index;
    if (isFullScreen_ && index >= 0 && index != modeIndex_) SetModeIndex(index);
}

void TScreenManager::AddChangedRect(const TRect& r) {
    const TRect c = Intersect(r, TRect{0, 0, width_, height_});
    if (!c.IsEmpty()) changed_.push_back(c);
}

// Widens the presented parts of a 15/16-bit frame to 32 bits, in the same
// bottom-up layout.
const std::uint32_t* TScreenManager::PixelsForPresent(int& stride) {
    TDIBX& b = *backBuffer_;
    if (bitCount_ == 32) {
        stride = b.RowBytes() / 4;
        return reinterpret_cast<const std::uint32_t*>(b.Bits().data());
    }
    stride = width_;
    converted_.resize(static_cast<std::size_t>(width_) * height_);
    const bool is565 = bitCount_ == 16;
    for (const TScreenRect& r : presented_) {
        for (int y = r.Top; y < r.Top + r.Height; ++y) {
            const auto* src = reinterpret_cast<const std::uint16_t*>(b.ScanLine(y)) + r.Left;
            std::uint32_t* dst = converted_.data() + static_cast<std::size_t>(height_ - 1 - y) * width_ + r.Left;
            for (int x = 0; x < r.Width; ++x) {
                const std::uint32_t p = src[x];
                const std::uint32_t r5 = is565 ? (p >> 11) & 31 : (p >> 10) & 31;
                const std::uint32_t g = is565 ? (p >> 5) & 63 : (p >> 5) & 31;
                const std::uint32_t b5 = p & 31;
                const std::uint32_t g8 = is565 ? (g << 2) | (g >> 4) : (g << 3) | (g >> 2);
                dst[x] = ((r5 << 3 | r5 >> 2) << 16) | (g8 << 8) | (b5 << 3 | b5 >> 2);
            }
        }
    }
    return converted_.data();
}

void TScreenManager::Present(int scalePercent, const TRect& update) {
    presented_.clear();
    if (!backBuffer_ || width_ <= 0 || height_ <= 0) return;
    const auto add = [&](const TRect& r) {
        const TRect c = Intersect(r, TRect{0, 0, width_, height_});
        if (!c.IsEmpty()) presented_.push_back({c.Left, c.Top, c.Width(), c.Height()});
    };
    if (wholeFrame_ || scalePercent % 100 != 0) {
        add(TRect{0, 0, width_, height_});
    } else if (!update.IsEmpty()) {
        add(update);
    } else {
        for (const TRect& r : changed_) add(r);
    }
    changed_.clear();
    if (presented_.empty()) return;
    wholeFrame_ = false;
    if (!window_) return;
    int stride = 0;
    const std::uint32_t* pixels = PixelsForPresent(stride);
    window_->Present(pixels, stride, presented_);
}

}  // namespace vesk
