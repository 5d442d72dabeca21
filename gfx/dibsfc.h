#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gfx/rect.h"

namespace vesk {

// The loader bitmap: a device-independent bitmap in plain memory. Rows are
// stored bottom-up and addressed top-down, so Pitch is negative and row y
// starts at ScanLine(0) + y * Pitch, each row padded to 4 bytes. Bit counts
// 1, 4, 8, 15, 16, 24 and 32; 15 is a 16-bit store with 5-5-5 masks. Pixel
// values are native: palette indexes up to 8 bits, packed 5-5-5 / 5-6-5
// fields, 0x00RRGGBB for 24 and 32 bits (the fourth byte of a 32-bit pixel
// is kept as it is).
class TDIBSurface {
public:
    // Every bitmap refuses to grow past this many bytes, so that a damaged
    // or hostile size field is an error instead of an enormous allocation.
    static constexpr std::int64_t kMaxBytes = std::int64_t{256} << 20;
    static constexpr std::int32_t kMaxSide = 32767;

    TDIBSurface() = default;
    TDIBSurface(const TDIBSurface&) = delete;
    TDIBSurface& operator=(const TDIBSurface&) = delete;

    static bool ValidBitCount(int bitCount);
    // Bytes a bitmap of this size would need; -1 when the size or bit count
    // is not one a bitmap can have.
    static std::int64_t BytesFor(std::int32_t width, std::int32_t height, int bitCount);
    static int RowBytesFor(std::int32_t width, int bitCount);

    // (Re)allocates the store filled with zero bytes; a size of 0 or less in
    // either direction empties the bitmap. Raises EVeskError for unknown bit
    // counts and sizes past kMaxBytes. The palette is kept when the bit
    // count stays at 8 or less, else cleared; the alpha companion goes.
    void SetSize(std::int32_t width, std::int32_t height, int bitCount);
    // The same, leaving the store's bytes undefined: for decoders that
    // write every byte of every row (padding included) right away.
    void SetSizeForOverwrite(std::int32_t width, std::int32_t height, int bitCount);
    void Clear() { SetSize(0, 0, bitCount_); }

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    int BitCount() const { return bitCount_; }
    int StorageBitCount() const { return bitCount_ == 15 ? 16 : bitCount_; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
    int RowBytes() const { return rowBytes_; }
    std::ptrdiff_t Pitch() const { return -static_cast<std::ptrdiff_t>(rowBytes_); }
    std::size_t ByteSize() const { return byteSize_; }

    // Row y, top-down. Raises EVeskError for a row outside the bitmap.
    std::uint8_t* ScanLine(std::int32_t y);
    const std::uint8_t* ScanLine(std::int32_t y) const;
    // The whole store, lowest address first (that is the bottom row).
    std::uint8_t* Bits() { return bits_.get(); }
    const std::uint8_t* Bits() const { return bits_.get(); }

    // The bits of a stored pixel that a colour key is compared with: all of
    // them, except the meaningless fourth byte of a 32-bit pixel.
    std::uint32_t KeyMask() const;
    std::uint32_t RedMask() const;
    std::uint32_t GreenMask() const;
    std::uint32_t BlueMask() const;

    // Native pixel access; outside the bitmap GetPixel gives 0 and SetPixel
    // does nothing.
    std::uint32_t GetPixel(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value);
    void Fill(std::uint32_t value);

    // Palette of bitmaps of 8 bits or less: 2^bits entries, each four bytes
    // blue, green, red, reserved in memory, so a value reads 0xXXRRGGBB.
    int PaletteSize() const { return bitCount_ <= 8 && bitCount_ > 0 ? 1 << bitCount_ : 0; }
    std::uint32_t PaletteEntry(int index) const { return palette_[static_cast<std::size_t>(index) & 0xFF]; }
    void SetPaletteEntry(int index, std::uint32_t bgrx) { palette_[static_cast<std::size_t>(index) & 0xFF] = bgrx; }
    void CopyPalette(const TDIBSurface& from) { palette_ = from.palette_; }
    void SetGreyPalette();

    // Platform colour (0x00BBGGRR) of a native value, and the native value
    // of a platform colour (the nearest palette entry for 8 bits or less).
    // Channels narrower than 8 bits widen by repeating their top bits, so
    // white stays white and NativeOf(ColorOf(v)) == v for every field value.
    std::int32_t ColorOf(std::uint32_t native) const;
    std::uint32_t NativeOf(std::int32_t colour) const;
    int NearestPaletteIndex(std::int32_t colour) const;

    // The optional 8-bit alpha companion of the same size: 0 transparent,
    // 255 opaque.
    TDIBSurface* Alpha() { return alpha_.get(); }
    const TDIBSurface* Alpha() const { return alpha_.get(); }
    bool HasAlpha() const { return alpha_ != nullptr; }
    TDIBSurface& CreateAlpha(std::uint8_t fill);
    void SetAlpha(std::unique_ptr<TDIBSurface> alpha);
    std::unique_ptr<TDIBSurface> TakeAlpha() { return std::move(alpha_); }
    void DropAlpha() { alpha_.reset(); }

    TRect ClipRect;

    // A deep copy: pixels, palette and alpha companion.
    std::unique_ptr<TDIBSurface> Clone() const;
    // Cuts the bitmap (and its companion) to rect, which must lie inside.
    void Crop(const TRect& rect);
    // Exchanges the stores of two bitmaps, so a decoded layer can become a
    // frame image without copying its pixels.
    void Swap(TDIBSurface& other) noexcept;

    // The store already is plain memory; kept so callers read as the
    // surfaces they mirror.
    void Compact() {}

private:
    void Allocate(std::int32_t width, std::int32_t height, int bitCount, bool zero);

    std::int32_t width_ = 0, height_ = 0;
    int bitCount_ = 8;
    int rowBytes_ = 0;
    std::size_t byteSize_ = 0;
    std::unique_ptr<std::uint8_t[]> bits_;
    std::array<std::uint32_t, 256> palette_{};
    std::unique_ptr<TDIBSurface> alpha_;
};

}  // namespace vesk
