// Rectangle operations: fills, constant blends, saturating add and
// subtract, and the frames built from them.
#include <algorithm>

#include "gfx/dibx.h"
#include "gfx/pixel_rows.h"

namespace vesk {

namespace {

using namespace pixel;

enum class RectOp { Fill, Blend, Add, Sub };

template <class P>
void RunRow(P* d, int n, RectOp op, TPixel value, int alpha, const KernelSet<P>& k, const Channels& c) {
    switch (op) {
        case RectOp::Fill: std::fill(d, d + n, P(value)); break;
        case RectOp::Blend: k.blendValue(d, n, value, alpha, c); break;
        case RectOp::Add: k.addValue(d, n, value, c); break;
        case RectOp::Sub: k.subValue(d, n, value, c); break;
    }
}

void ApplyRect(TCustomDIBX& s, const TRect& rect, RectOp op, TPixel value, int alpha = 0) {
    const TRect r = Intersect(rect, s.EffectiveClip());
    if (r.IsEmpty()) return;
    LockedSurface d(s);
    if (!d) return;
    const PixelKernels& k = Kernels();
    const Channels c = ChannelsOf(s);
    const int n = r.Width();
    ScratchRow<std::uint32_t> scratch;
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint8_t* row = d.Row(y);
        switch (d.Bpp()) {
            case 32: RunRow(reinterpret_cast<std::uint32_t*>(row) + r.Left, n, op, value, alpha, k.bytes32, c); break;
            case 16: RunRow(reinterpret_cast<std::uint16_t*>(row) + r.Left, n, op, value, alpha, k.fields16, c); break;
            case 8: RunRow(row + r.Left, n, op, value, alpha, k.bytes8, c); break;
            default: {
                std::uint32_t* buf = scratch.Get(n);
                UnpackRow(row, r.Left, n, d.Bpp(), buf);
                RunRow(buf, n, op, value, alpha, k.generic, c);
                PackRow(row, r.Left, n, d.Bpp(), buf);
            }
        }
    }
}

// The four bands of a frame of band width w: top and bottom across the
// whole width, left and right only where there is inner height.
template <class F>
void FrameBands(const TRect& rect, int w, F&& band) {
    band(TRect{rect.Left, rect.Top, rect.Right, rect.Top + w});
    band(TRect{rect.Left, rect.Bottom - w, rect.Right, rect.Bottom});
    const int inner = rect.Bottom - rect.Top - 2 * w;
    if (inner > 0) {
        band(TRect{rect.Left, rect.Top + w, rect.Left + w, rect.Top + w + inner});
        band(TRect{rect.Right - w, rect.Top + w, rect.Right, rect.Top + w + inner});
    }
}

}  // namespace

void TCustomDIBX::FillRect(const TRect& rect, TPixel value) { ApplyRect(*this, rect, RectOp::Fill, value); }

void TCustomDIBX::BlendRect(const TRect& rect, TPixel value, int alpha) {
    if (alpha <= 0) return;
    ApplyRect(*this, rect, RectOp::Blend, value, std::min(alpha, 255));
}

void TCustomDIBX::AddRect(const TRect& rect, TPixel value) { ApplyRect(*this, rect, RectOp::Add, value); }

void TCustomDIBX::SubRect(const TRect& rect, TPixel value) { ApplyRect(*this, rect, RectOp::Sub, value); }

void TCustomDIBX::FrameRect(const TRect& rect, int width, TPixel value) {
    FrameBands(rect, width, [&](const TRect& b) { FillRect(b, value); });
}

void TCustomDIBX::BlendFrameRect(const TRect& rect, int width, int alpha, TPixel value) {
    if (alpha <= 0) return;
    FrameBands(rect, width, [&](const TRect& b) { BlendRect(b, value, alpha); });
}

void TCustomDIBX::AddFrameRect(const TRect& rect, int width, TPixel value) {
    FrameBands(rect, width, [&](const TRect& b) { AddRect(b, value); });
}

}  // namespace vesk
