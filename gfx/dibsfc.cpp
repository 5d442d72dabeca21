#include "gfx/dibsfc.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/cp932.h"
#include "common/error.h"

namespace vesk {

namespace {

std::uint32_t Widen5(std::uint32_t v) { return (v << 3) | (v >> 2); }
std::uint32_t Widen6(std::uint32_t v) { return (v << 2) | (v >> 4); }

std::int32_t PackColour(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return static_cast<std::int32_t>(r | (g << 8) | (b << 16));
}

}  // namespace

bool TDIBSurface::ValidBitCount(int bitCount) {
    switch (bitCount) {
        case 1: case 4: case 8: case 15: case 16: case 24: case 32: return true;
        default: return false;
    }
}

int TDIBSurface::RowBytesFor(std::int32_t width, int bitCount) {
    const int storage = bitCount == 15 ? 16 : bitCount;
    return static_cast<int>(((static_cast<std::int64_t>(width) * storage + 31) / 32) * 4);
}

std::int64_t TDIBSurface::BytesFor(std::int32_t width, std::int32_t height, int bitCount) {
    if (!ValidBitCount(bitCount) || width > kMaxSide || height > kMaxSide) return -1;
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::int64_t>(RowBytesFor(width, bitCount)) * height;
}

void TDIBSurface::Allocate(std::int32_t width, std::int32_t height, int bitCount, bool zero) {
    const std::int64_t bytes = BytesFor(width, height, bitCount);
    if (!ValidBitCount(bitCount)) throw EVeskError("unsupported bit count " + std::to_string(bitCount));
    if (bytes < 0 || bytes > kMaxBytes)
        throw EVeskError("image too large: " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                         std::to_string(bitCount));
    if (bitCount > 8) palette_.fill(0);
    alpha_.reset();
    if (bytes == 0) {
        width_ = height_ = 0;
        rowBytes_ = 0;
        bits_.reset();
        byteSize_ = 0;
        bitCount_ = bitCount;
        return;
    }
    const auto n = static_cast<std::size_t>(bytes);
    if (n != byteSize_ || !bits_) {
        bits_ = zero ? std::make_unique<std::uint8_t[]>(n) : std::make_unique_for_overwrite<std::uint8_t[]>(n);
        byteSize_ = n;
    } else if (zero) {
        std::memset(bits_.get(), 0, n);
    }
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    rowBytes_ = RowBytesFor(width, bitCount);
}

void TDIBSurface::SetSize(std::int32_t width, std::int32_t height, int bitCount) {
    Allocate(width, height, bitCount, true);
}

void TDIBSurface::SetSizeForOverwrite(std::int32_t width, std::int32_t height, int bitCount) {
    Allocate(width, height, bitCount, false);
}

std::uint8_t* TDIBSurface::ScanLine(std::int32_t y) {
    return const_cast<std::uint8_t*>(static_cast<const TDIBSurface*>(this)->ScanLine(y));
}

const std::uint8_t* TDIBSurface::ScanLine(std::int32_t y) const {
    if (y < 0 || y >= height_) {
        char text[128];
        std::snprintf(text, sizeof text, Sj("スキャンラインのインデックスが範囲を越えました (%d)").c_str(), y);
        throw EVeskError(text);
    }
    return bits_.get() + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(rowBytes_);
}

std::uint32_t TDIBSurface::KeyMask() const {
    switch (bitCount_) {
        case 1: return 0x1;
        case 4: return 0xF;
        case 8: return 0xFF;
        case 15: case 16: return 0xFFFF;
        default: return 0xFFFFFF;
    }
}

std::uint32_t TDIBSurface::RedMask() const {
    switch (bitCount_) {
        case 15: return 0x7C00;
        case 16: return 0xF800;
        case 24: case 32: return 0xFF0000;
        default: return 0;
    }
}

std::uint32_t TDIBSurface::GreenMask() const {
    switch (bitCount_) {
        case 15: return 0x03E0;
        case 16: return 0x07E0;
        case 24: case 32: return 0x00FF00;
        default: return 0;
    }
}

std::uint32_t TDIBSurface::BlueMask() const {
    switch (bitCount_) {
        case 15: case 16: return 0x001F;
        case 24: case 32: return 0x0000FF;
        default: return 0;
    }
}

std::uint32_t TDIBSurface::GetPixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint8_t* row = ScanLine(y);
    switch (bitCount_) {
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
        case 8: return row[x];
        case 15: case 16: {
            const std::uint8_t* p = row + 2 * x;
            return p[0] | (p[1] << 8);
        }
        case 24: {
            const std::uint8_t* p = row + 3 * x;
            return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
        }
        default: {
            std::uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);
            return v;
        }
    }
}

void TDIBSurface::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* row = ScanLine(y);
    switch (bitCount_) {
        case 1: {
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<std::uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
            break;
        }
        case 4: {
            std::uint8_t& b = row[x >> 1];
            b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (value & 0xF))
                        : static_cast<std::uint8_t>((b & 0x0F) | ((value & 0xF) << 4));
            break;
        }
        case 8: row[x] = static_cast<std::uint8_t>(value); break;
        case 15: case 16:
            row[2 * x] = static_cast<std::uint8_t>(value);
            row[2 * x + 1] = static_cast<std::uint8_t>(value >> 8);
            break;
        case 24:
            row[3 * x] = static_cast<std::uint8_t>(value);
            row[3 * x + 1] = static_cast<std::uint8_t>(value >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(value >> 16);
            break;
        default: std::memcpy(row + 4 * x, &value, 4); break;
    }
}

void TDIBSurface::Fill(std::uint32_t value) {
    if (IsEmpty()) return;
    std::uint8_t* p = bits_.get();
    switch (bitCount_) {
        case 1: std::memset(p, value ? 0xFF : 0, byteSize_); break;
        case 4: std::memset(p, static_cast<int>((value & 0xF) * 0x11), byteSize_); break;
        case 8: std::memset(p, static_cast<int>(value & 0xFF), byteSize_); break;
        case 15: case 16: {
            const auto lo = static_cast<std::uint8_t>(value), hi = static_cast<std::uint8_t>(value >> 8);
            if (lo == hi) {
                std::memset(p, lo, byteSize_);
                break;
            }
            for (std::size_t i = 0; i + 1 < byteSize_; i += 2) {
                p[i] = lo;
                p[i + 1] = hi;
            }
            break;
        }
        case 24:
            for (std::int32_t y = 0; y < height_; ++y) {
                std::uint8_t* row = p + static_cast<std::size_t>(y) * rowBytes_;
                for (std::int32_t x = 0; x < width_; ++x) {
                    row[3 * x] = static_cast<std::uint8_t>(value);
                    row[3 * x + 1] = static_cast<std::uint8_t>(value >> 8);
                    row[3 * x + 2] = static_cast<std::uint8_t>(value >> 16);
                }
            }
            break;
        default: {
            auto* px = reinterpret_cast<std::uint32_t*>(p);
            const std::size_t n = byteSize_ / 4;
            for (std::size_t i = 0; i < n; ++i) px[i] = value;
            break;
        }
    }
}

void TDIBSurface::SetGreyPalette() {
    const int n = PaletteSize();
    for (int i = 0; i < n; ++i) {
        const std::uint32_t level = n > 1 ? static_cast<std::uint32_t>(i * 255 / (n - 1)) : 0;
        palette_[static_cast<std::size_t>(i)] = level | (level << 8) | (level << 16);
    }
}

std::int32_t TDIBSurface::ColorOf(std::uint32_t v) const {
    switch (bitCount_) {
        case 1: case 4: case 8: {
            const std::uint32_t e = palette_[v & static_cast<std::uint32_t>(PaletteSize() - 1)];
            return PackColour((e >> 16) & 0xFF, (e >> 8) & 0xFF, e & 0xFF);
        }
        case 15: return PackColour(Widen5((v >> 10) & 31), Widen5((v >> 5) & 31), Widen5(v & 31));
        case 16: return PackColour(Widen5((v >> 11) & 31), Widen6((v >> 5) & 63), Widen5(v & 31));
        default: return PackColour((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
}

std::uint32_t TDIBSurface::NativeOf(std::int32_t colour) const {
    const auto c = static_cast<std::uint32_t>(colour);
    const std::uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    switch (bitCount_) {
        case 1: case 4: case 8: return static_cast<std::uint32_t>(NearestPaletteIndex(colour));
        case 15: return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        case 16: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        default: return (r << 16) | (g << 8) | b;
    }
}

int TDIBSurface::NearestPaletteIndex(std::int32_t colour) const {
    const auto c = static_cast<std::uint32_t>(colour);
    const int r = static_cast<int>(c & 0xFF), g = static_cast<int>((c >> 8) & 0xFF), b = static_cast<int>((c >> 16) & 0xFF);
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < PaletteSize(); ++i) {
        const std::uint32_t e = palette_[static_cast<std::size_t>(i)];
        const int dr = static_cast<int>((e >> 16) & 0xFF) - r;
        const int dg = static_cast<int>((e >> 8) & 0xFF) - g;
        const int db = static_cast<int>(e & 0xFF) - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

TDIBSurface& TDIBSurface::CreateAlpha(std::uint8_t fill) {
    auto alpha = std::make_unique<TDIBSurface>();
    alpha->SetSize(width_, height_, 8);
    alpha->SetGreyPalette();
    alpha->Fill(fill);
    alpha_ = std::move(alpha);
    return *alpha_;
}

void TDIBSurface::SetAlpha(std::unique_ptr<TDIBSurface> alpha) {
    if (alpha && (alpha->Width() != width_ || alpha->Height() != height_ || alpha->BitCount() != 8))
        throw EVeskError("alpha companion does not match its image");
    alpha_ = std::move(alpha);
}

std::unique_ptr<TDIBSurface> TDIBSurface::Clone() const {
    auto copy = std::make_unique<TDIBSurface>();
    copy->SetSizeForOverwrite(width_, height_, bitCount_);
    if (byteSize_ > 0) std::memcpy(copy->bits_.get(), bits_.get(), byteSize_);
    copy->palette_ = palette_;
    copy->ClipRect = ClipRect;
    if (alpha_) copy->alpha_ = alpha_->Clone();
    return copy;
}

void TDIBSurface::Crop(const TRect& r) {
    if (r.Left < 0 || r.Top < 0 || r.Right > width_ || r.Bottom > height_ || r.IsEmpty())
        throw EVeskError("crop rectangle outside the image");
    TDIBSurface cut;
    cut.SetSize(r.Width(), r.Height(), bitCount_);
    cut.palette_ = palette_;
    const int bytesPerPixel = StorageBitCount() / 8;
    for (std::int32_t y = 0; y < cut.height_; ++y) {
        if (bytesPerPixel > 0) {
            std::memcpy(cut.ScanLine(y), ScanLine(r.Top + y) + static_cast<std::size_t>(r.Left) * bytesPerPixel,
                        static_cast<std::size_t>(cut.width_) * bytesPerPixel);
        } else {
            for (std::int32_t x = 0; x < cut.width_; ++x) cut.SetPixel(x, y, GetPixel(r.Left + x, r.Top + y));
        }
    }
    if (alpha_) alpha_->Crop(r);
    cut.alpha_ = std::move(alpha_);
    Swap(cut);
}

void TDIBSurface::Swap(TDIBSurface& other) noexcept {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(bitCount_, other.bitCount_);
    std::swap(rowBytes_, other.rowBytes_);
    std::swap(byteSize_, other.byteSize_);
    std::swap(bits_, other.bits_);
    std::swap(palette_, other.palette_);
    std::swap(alpha_, other.alpha_);
    std::swap(ClipRect, other.ClipRect);
}

}  // namespace vesk
