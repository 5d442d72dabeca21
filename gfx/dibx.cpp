// The base of the surface family: fields, clipping and the defaults of a
// surface without pixels. The drawing operations live in the files named
// after them (dibx_fill.cpp, dibx_draw.cpp, ...).
#include "gfx/dibx.h"

#include <algorithm>

namespace vesk {

bool TCustomDIBX::IsEmpty() const { return Width() == 0 || Height() == 0; }
int TCustomDIBX::BitCount() const { return 0; }
void TCustomDIBX::SetBitCount(int) {}
std::uint32_t TCustomDIBX::RedMask() const { return 0; }
std::uint32_t TCustomDIBX::GreenMask() const { return 0; }
std::uint32_t TCustomDIBX::BlueMask() const { return 0; }
int TCustomDIBX::Pitch() const { return 0; }
TPixel TCustomDIBX::GetPixel(int, int) const { return 0; }
void TCustomDIBX::SetPixel(int, int, TPixel) {}
int TCustomDIBX::BlueShift() const { return 0; }
int TCustomDIBX::GreenShift() const { return 0; }
int TCustomDIBX::RedShift() const { return 0; }
int TCustomDIBX::Height() const { return FHeight; }
int TCustomDIBX::Width() const { return FWidth; }
TCustomDIBX* TCustomDIBX::Target() { return nullptr; }
int TCustomDIBX::StorageBitCount() const { return BitCount(); }

void TCustomDIBX::SetSize(int width, int height, int) {
    FWidth = std::max(width, 0);
    FHeight = std::max(height, 0);
    if (FWidth == 0 || FHeight == 0) FWidth = FHeight = 0;
}

std::uint8_t* TCustomDIBX::Lock(int, int) { return nullptr; }
void TCustomDIBX::Unlock() {}

void TCustomDIBX::ResetClip() { ClipRect.Right = 0; }

void TCustomDIBX::AddClip(const TRect& rect) {
    const TRect r{std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, Width()),
                  std::min(rect.Bottom, Height())};
    if (r.IsEmpty()) return;
    if (ClipRect.Right == 0) {
        ClipRect = r;
        return;
    }
    ClipRect = TRect{std::min(ClipRect.Left, r.Left), std::min(ClipRect.Top, r.Top),
                     std::max(ClipRect.Right, r.Right), std::max(ClipRect.Bottom, r.Bottom)};
}

TRect TCustomDIBX::EffectiveClip() const {
    // A clip set by hand past the edges must not let a draw leave the store.
    if (ClipRect.Right == 0) return BoundsRect();
    return Intersect(ClipRect, BoundsRect());
}

std::int32_t TCustomDIBX::ColorToPixel(std::int32_t colour) const { return colour < 0 ? -1 : colour; }

void TCustomDIBX::Fill(TPixel value) { FillRect(BoundsRect(), value); }

void TCustomDIBX::Clear() { FWidth = FHeight = 0; }

void TCustomDIBX::GetPalette(std::span<TPaletteEntry>) const {}
void TCustomDIBX::GetPaletteEntries(std::span<TPaletteEntry>, int, int) const {}
void TCustomDIBX::SetPalette(std::span<const TPaletteEntry>) {}
void TCustomDIBX::SetPaletteEntries(std::span<const TPaletteEntry>, int, int) {}
void TCustomDIBX::Compact() {}

}  // namespace vesk
