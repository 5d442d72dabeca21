// TDIBX: the ordinary surface over a store in plain memory.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/cp932.h"
#include "common/error.h"
#include "gfx/dibx.h"
#include "gfx/pixel_colour.h"
#include "gfx/pixel_rows.h"

namespace vesk {

namespace {

bool ValidBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

int StorageBits(int bits) { return bits == 15 ? 16 : bits; }

[[noreturn]] void RaiseBitCount(int bits) {
    char text[128];
    std::snprintf(text, sizeof text, Sj("ビット数が不正です (%d)").c_str(), bits);
    throw EVeskError(text);
}

[[noreturn]] void RaiseTooLarge(int width, int height) {
    char text[128];
    std::snprintf(text, sizeof text, Sj("画像が大きすぎます (%d x %d)").c_str(), width, height);
    throw EVeskError(text);
}

[[noreturn]] void RaiseScanLine(int y) {
    char text[128];
    std::snprintf(text, sizeof text, Sj("スキャンラインのインデックスが範囲を越えました (%d)").c_str(), y);
    throw EVeskError(text);
}

std::uint32_t NearestIndex(std::uint32_t rgb, int bits, const std::array<TPaletteEntry, 256>& palette) {
    const int r = int(rgb & 0xFF), g = int((rgb >> 8) & 0xFF), b = int((rgb >> 16) & 0xFF);
    const int count = 1 << bits;
    std::uint32_t best = 0;
    long bestDistance = -1;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t e = palette[std::size_t(i)];
        const long dr = long((e >> 16) & 0xFF) - r, dg = long((e >> 8) & 0xFF) - g, db = long(e & 0xFF) - b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) bestDistance = d, best = std::uint32_t(i);
    }
    return best;
}

}  // namespace

int DIBRowBytes(int width, int storageBitCount) {
    return int(((std::int64_t(width) * storageBitCount + 31) / 32) * 4);
}

TDIBX::TDIBX() { Allocate(1, 1, 15); }

TDIBX::TDIBX(int width, int height, int bitCount) : TDIBX() { SetSize(width, height, bitCount); }

void TDIBX::Allocate(int width, int height, int bitCount) {
    if (!ValidBitCount(bitCount)) RaiseBitCount(bitCount);
    if (width > kMaxSurfaceSide || height > kMaxSurfaceSide) RaiseTooLarge(width, height);
    const int rowBytes = DIBRowBytes(width, StorageBits(bitCount));
    if (std::int64_t(rowBytes) * height > kMaxSurfaceBytes) RaiseTooLarge(width, height);
    bits_.assign(std::size_t(rowBytes) * std::size_t(height), 0);
    bitCount_ = bitCount;
    storeWidth_ = width;
    storeHeight_ = height;
    rowBytes_ = rowBytes;
}

int TDIBX::BitCount() const { return bitCount_; }
int TDIBX::StorageBitCount() const { return StorageBits(bitCount_); }
int TDIBX::Pitch() const { return -rowBytes_; }

std::uint32_t TDIBX::RedMask() const {
    return bitCount_ == 16 ? 0xF800u : bitCount_ == 15 ? 0x7C00u : 0xFF0000u;
}
std::uint32_t TDIBX::GreenMask() const {
    return bitCount_ == 16 ? 0x07E0u : bitCount_ == 15 ? 0x03E0u : 0xFF00u;
}
std::uint32_t TDIBX::BlueMask() const { return bitCount_ == 16 || bitCount_ == 15 ? 0x001Fu : 0xFFu; }
int TDIBX::BlueShift() const { return 0; }
int TDIBX::GreenShift() const { return bitCount_ == 16 || bitCount_ == 15 ? 5 : 8; }
int TDIBX::RedShift() const { return bitCount_ == 16 ? 11 : bitCount_ == 15 ? 10 : 16; }

std::uint8_t* TDIBX::ScanLine(int y) {
    if (y < 0 || y >= storeHeight_) RaiseScanLine(y);
    return bits_.data() + std::size_t(storeHeight_ - 1 - y) * std::size_t(rowBytes_);
}

const std::uint8_t* TDIBX::ScanLine(int y) const { return const_cast<TDIBX*>(this)->ScanLine(y); }

std::uint8_t* TDIBX::Lock(int x, int y) {
    if (FWidth == 0 || FHeight == 0) return nullptr;
    std::uint8_t* row = ScanLine(y);
    return row + std::intptr_t(x) * StorageBitCount() / 8;
}

TPixel TDIBX::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
    return pixel::ReadPixel(ScanLine(y), x, StorageBitCount());
}

void TDIBX::SetPixel(int x, int y, TPixel value) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    pixel::WritePixel(ScanLine(y), x, StorageBitCount(), value);
}

void TDIBX::SetSize(int width, int height, int bitCount) {
    if (!ValidBitCount(bitCount)) RaiseBitCount(bitCount);
    if (width <= 0 || height <= 0) {
        // An empty surface keeps a minimal store, like a new one.
        Allocate(1, 1, bitCount);
        FWidth = FHeight = 0;
        return;
    }
    if (width == FWidth && height == FHeight && bitCount == bitCount_) return;
    Allocate(width, height, bitCount);
    FWidth = width;
    FHeight = height;
}

void TDIBX::SetBitCount(int bitCount) {
    if (!ValidBitCount(bitCount)) RaiseBitCount(bitCount);
    if (bitCount == bitCount_) return;
    // Read every pixel as a colour through the old format first.
    const int w = storeWidth_, h = storeHeight_;
    std::vector<std::uint32_t> colours(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            colours[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                NativeToColour(*this, pixel::ReadPixel(ScanLine(y), x, StorageBitCount()));
    Allocate(w, h, bitCount);
    const int newStorage = StorageBitCount();
    for (int y = 0; y < h; ++y) {
        std::uint8_t* dst = ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgb = colours[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            const std::uint32_t v = bitCount <= 8 ? NearestIndex(rgb, bitCount, palette_)
                                                  : std::uint32_t(ColorToPixel(std::int32_t(rgb)));
            pixel::WritePixel(dst, x, newStorage, v);
        }
    }
}

std::int32_t TDIBX::ColorToPixel(std::int32_t colour) const {
    if (colour < 0) return -1;
    const std::uint32_t c = std::uint32_t(colour);
    const std::uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    switch (bitCount_) {
        case 32: return std::int32_t(r << 16 | g << 8 | b);
        case 16: return std::int32_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
        case 15: return std::int32_t((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
        default: return colour;
    }
}

void TDIBX::Fill(TPixel value) {
    if (FWidth == 0 || FHeight == 0) return;
    switch (bitCount_) {
        case 1: std::fill(bits_.begin(), bits_.end(), std::uint8_t(value ? 0xFF : 0)); break;
        case 4: std::fill(bits_.begin(), bits_.end(), std::uint8_t((value & 0x0F) * 0x11)); break;
        case 8: std::fill(bits_.begin(), bits_.end(), std::uint8_t(value)); break;
        case 15:
        case 16: {
            const std::uint16_t v = std::uint16_t(value);
            for (int y = 0; y < storeHeight_; ++y) {
                auto* row = reinterpret_cast<std::uint16_t*>(ScanLine(y));
                std::fill(row, row + rowBytes_ / 2, v);
            }
            break;
        }
        default: FillRect(BoundsRect(), value);
    }
}

void TDIBX::Clear() {
    TCustomDIBX::Clear();
    Allocate(8, 8, bitCount_);
}

void TDIBX::GetPalette(std::span<TPaletteEntry> entries) const { GetPaletteEntries(entries, 0, 256); }

void TDIBX::GetPaletteEntries(std::span<TPaletteEntry> entries, int first, int count) const {
    if (first < 0 || first >= 256) return;
    count = std::min({count, 256 - first, int(entries.size())});
    for (int i = 0; i < count; ++i) entries[std::size_t(i)] = palette_[std::size_t(first + i)];
}

void TDIBX::SetPalette(std::span<const TPaletteEntry> entries) { SetPaletteEntries(entries, 0, 256); }

void TDIBX::SetPaletteEntries(std::span<const TPaletteEntry> entries, int first, int count) {
    if (first < 0 || first >= 256) return;
    count = std::min({count, 256 - first, int(entries.size())});
    for (int i = 0; i < count; ++i) palette_[std::size_t(first + i)] = entries[std::size_t(i)];
}

// The store is plain memory already; there is no platform bitmap to drop.
void TDIBX::Compact() {}

}  // namespace vesk
