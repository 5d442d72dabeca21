#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/rect.h"

namespace vesk {

class TStream;

// Native pixel values are what a surface stores: 32-bit 0x00RRGGBB (the
// fourth byte rides along through every blend), 24-bit 0xRRGGBB, 16-bit
// 5-6-5, 15-bit 5-5-5, and 8/4/1-bit indexes or levels. Platform colours
// (0x00BBGGRR, -1 = none) become native values through ColorToPixel; every
// drawing operation takes native values.
using TPixel = std::uint32_t;

// Palette entries of 1/4/8-bit stores: one 32-bit value per entry, laid in
// memory as blue, green, red, reserved (so 0x00RRGGBB read little-endian).
using TPaletteEntry = std::uint32_t;

// The three native colours of a four-level glyph draw (levels 1, 2, 3).
using TGlyphColours = std::array<TPixel, 3>;

// Surfaces larger than this are refused with an error instead of being
// allocated: no picture a game shows comes near it, and a damaged size field
// must not take the process down.
inline constexpr std::int64_t kMaxSurfaceBytes = std::int64_t{256} << 20;
inline constexpr std::int32_t kMaxSurfaceSide = 32768;

// The surface family. Every pixel the player shows is drawn through these
// operations. The base owns the clip, the colour key and the two rectangle
// lists, and implements every drawing operation on top of Lock/Pitch and the
// channel masks, so the operations work on any kind that gives pixel access.
// The base's own pixel access gives nothing (bit count 0, no pixels).
//
// Blends divide by 256 with a shift, never by 255, and the rules for which
// pixels are skipped are exact: authored fades depend on both.
//
// Arguments X, Y are where the top-left corner of SrcRect lands; FlipV and
// FlipH mirror the source; Transparent skips source pixels equal to Src's
// TransparentColor; Alpha, Intensity and mask values are 0..255 unless noted
// (Alpha 256..511 adds with intensity Alpha - 256 where an operation says so).
// Masks are 8-bit surfaces with the geometry of the source: the mask value
// for source pixel (u, v) is mask pixel (u, v).
//
// There are no device contexts or canvases: a surface is plain memory and
// is presented by the screen manager from its pixels.
class TCustomDIBX {
public:
    // The clipping rectangle; ClipRect.Right == 0 means none, i.e. the
    // effective clip is the whole surface.
    TRect ClipRect{};
    // Native colour key used when this surface is the source of a draw;
    // -1 = none.
    std::int32_t TransparentColor = -1;
    // Parts of the surface that image components draw (empty = all of it),
    // copied from a layered-image frame; AuxRects is carried along.
    std::vector<TRect> DrawRects;
    std::vector<TRect> AuxRects;

    TCustomDIBX() = default;  // Create
    virtual ~TCustomDIBX() = default;
    TCustomDIBX(const TCustomDIBX&) = delete;
    TCustomDIBX& operator=(const TCustomDIBX&) = delete;

    // ---- Virtual operations, kept in their fixed order. ----
    virtual bool IsEmpty() const;
    virtual int BitCount() const;
    virtual void SetBitCount(int bitCount);
    virtual std::uint32_t RedMask() const;
    virtual std::uint32_t GreenMask() const;
    virtual std::uint32_t BlueMask() const;
    virtual int Pitch() const;
    virtual TPixel GetPixel(int x, int y) const;         // 0 outside
    virtual void SetPixel(int x, int y, TPixel value);   // ignored outside
    virtual int BlueShift() const;
    virtual int GreenShift() const;
    virtual int RedShift() const;
    virtual int Height() const;
    virtual int Width() const;
    virtual TCustomDIBX* Target();                       // the wrapped surface of a proxy
    virtual int StorageBitCount() const;                 // 16 for both 15 and 16
    virtual void SetSize(int width, int height, int bitCount);
    // Address of pixel (x, y) (byte x/8 for 1 bit, x/2 for 4, x*3 for 24);
    // nullptr when there are no pixels.
    virtual std::uint8_t* Lock(int x, int y);
    virtual void Unlock();
    virtual void ResetClip();
    virtual void AddClip(const TRect& rect);
    virtual std::int32_t ColorToPixel(std::int32_t colour) const;
    virtual void Fill(TPixel value);
    virtual void FillRect(const TRect& rect, TPixel value);
    virtual void BlendRect(const TRect& rect, TPixel value, int alpha);
    virtual void AddRect(const TRect& rect, TPixel value);
    virtual void SubRect(const TRect& rect, TPixel value);
    virtual void FrameRect(const TRect& rect, int width, TPixel value);
    virtual void BlendFrameRect(const TRect& rect, int width, int alpha, TPixel value);
    virtual void AddFrameRect(const TRect& rect, int width, TPixel value);
    virtual void Assign(TCustomDIBX& src);
    virtual void Draw(int x, int y, bool flipV, bool flipH, bool transparent, const TRect& srcRect,
                      TCustomDIBX& src);
    virtual void DrawMasked(int x, int y, TCustomDIBX& mask, bool flipV, bool flipH,
                            const TRect& srcRect, TCustomDIBX& src);
    virtual void DrawAlpha(int x, int y, int alpha, bool flipV, bool flipH, bool transparent,
                           const TRect& srcRect, TCustomDIBX& src);
    virtual void DrawAlphaMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH,
                                 const TRect& srcRect, TCustomDIBX& src);
    virtual void DrawAdd(int x, int y, int intensity, bool flipV, bool flipH, const TRect& srcRect,
                         TCustomDIBX& src);
    virtual void DrawAddMasked(int x, int y, int intensity, TCustomDIBX& mask, bool flipV, bool flipH,
                               const TRect& srcRect, TCustomDIBX& src);
    // Angle in 256ths of a turn, scales in 256ths, the pivot (source pixels)
    // lands on (X, Y).
    virtual void DrawRotate(int x, int y, int alpha, bool flipV, bool flipH, bool transparent, int angle,
                            int pivotY, int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                            int scaleX);
    virtual void DrawRotateMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH,
                                  int angle, int pivotY, int pivotX, const TRect& srcRect, TCustomDIBX& src,
                                  int scaleY, int scaleX);
    virtual void StretchDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                             bool transparent, const TRect& srcRect);
    virtual void StretchDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask,
                                   bool flipV, bool flipH, const TRect& srcRect);
    virtual void StretchDrawAdd(const TRect& destRect, TCustomDIBX& src, int intensity, bool flipV,
                                bool flipH, bool transparent, const TRect& srcRect);
    virtual void StretchDrawAddMasked(const TRect& destRect, TCustomDIBX& src, int intensity,
                                      TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect);
    // 1-bit source, 0 bits are ink; Factor x Factor source bits per pixel.
    virtual void DrawSampledMono(int x, int y, int factor, int alpha, bool flipV, bool flipH, TPixel colour,
                                 const TRect& srcRect, TCustomDIBX& src);
    // 4-bit source, low two bits select background or one of three colours.
    virtual void DrawSampledGlyph(int x, int y, int factor, int alpha, bool flipV, bool flipH,
                                  const TGlyphColours& colours, const TRect& srcRect, TCustomDIBX& src);
    // Tiling through the unscaled draws (tiles are never mirrored).
    virtual void TileDraw(const TRect& destRect, int gapX, int offsetY, int offsetX, bool transparent,
                          const TRect& srcRect, TCustomDIBX& src, int gapY);
    virtual void TileDrawAlpha(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha,
                               bool transparent, const TRect& srcRect, TCustomDIBX& src, int gapY);
    virtual void TileDrawAdd(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                             const TRect& srcRect, TCustomDIBX& src, int gapY);
    virtual void TileDrawMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, TCustomDIBX& mask,
                                const TRect& srcRect, TCustomDIBX& src, int gapY);
    virtual void TileDrawAlphaMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha,
                                     TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src,
                                     int gapY);
    virtual void TileDrawAddMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                                   TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src,
                                   int gapY);
    // Tiling through the stretch family; Alpha above 255 adds.
    virtual void TileStretchDraw(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha,
                                 bool flipV, bool flipH, bool transparent, const TRect& srcRect,
                                 TCustomDIBX& src, int scaleY, int scaleX, int spacingY);
    virtual void TileStretchDrawMasked(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha,
                                       TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect,
                                       TCustomDIBX& src, int scaleY, int scaleX, int spacingY);
    virtual void FrameTile(const TRect& rect, int width, int offsetY, int offsetX, const TRect& srcRect,
                           TCustomDIBX& src);
    // ColourTable: native values, one entry per index (16 for 4-bit sources).
    virtual void DrawIndexed4(int x, int y, std::span<const std::uint32_t> colourTable, int alpha, bool flipV,
                              bool flipH, const TRect& srcRect, TCustomDIBX& src);
    // ColourTable: 256 native values for an 8-bit source.
    virtual void DrawIndexedAdd(int x, int y, std::span<const std::uint32_t> colourTable, int intensity,
                                bool flipV, bool flipH, int minIndex, const TRect& srcRect,
                                TCustomDIBX& src);
    virtual void StretchDrawIndexedAdd(const TRect& destRect, TCustomDIBX& src,
                                       std::span<const std::uint32_t> colourTable, int intensity, bool flipV,
                                       bool flipH, int minIndex, const TRect& srcRect);
    // Src's whole area repeated at ScaleX/256, ScaleY/256.
    virtual void ScaledTileDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                                bool transparent, int offsetY, int offsetX, int scaleY, int scaleX);
    virtual void ScaledTileDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask,
                                      bool flipV, bool flipH, int offsetY, int offsetX, int scaleY,
                                      int scaleX);
    virtual void WrapDraw(const TRect& destRect, TCustomDIBX& src, bool flipV, bool flipH, int offsetY,
                          int offsetX);
    virtual void LoadFromFile(const std::string& name);               // ".bmp" only
    virtual void LoadFromStream(TStream* stream, std::int32_t idCode);  // BMP, PNG or Fenk
    virtual void SaveToFile(const std::string& name);                 // ".bmp" only
    virtual void Clear();
    virtual void GetPalette(std::span<TPaletteEntry> entries) const;
    virtual void GetPaletteEntries(std::span<TPaletteEntry> entries, int first, int count) const;
    virtual void SetPalette(std::span<const TPaletteEntry> entries);
    virtual void SetPaletteEntries(std::span<const TPaletteEntry> entries, int first, int count);
    // Coverage: an 8-bit surface of levels; Colour is a native value.
    virtual void DrawCoverage(int x, int y, int alpha, TPixel colour, bool flipV, bool flipH,
                              const TRect& srcRect, TCustomDIBX& src);
    virtual void Compact();

    // ---- Helpers (not virtual). ----
    // The clip in force: ClipRect, or the whole surface when there is none.
    TRect EffectiveClip() const;
    TRect BoundsRect() const { return TRect{0, 0, Width(), Height()}; }

protected:
    int FHeight = 0;
    int FWidth = 0;
};

// The ordinary surface: pixels in plain memory, rows stored bottom-up and
// padded to 4 bytes (so Pitch is negative; row y starts at row 0 + y*Pitch),
// plus a palette of 256 entries for 1/4/8-bit stores. A new surface holds a
// 1x1 15-bit store until SetSize is called.
class TDIBX : public TCustomDIBX {
public:
    TDIBX();
    // Convenience: a surface of the given size and bit count.
    TDIBX(int width, int height, int bitCount);

    int BitCount() const override;
    void SetBitCount(int bitCount) override;
    std::uint32_t RedMask() const override;
    std::uint32_t GreenMask() const override;
    std::uint32_t BlueMask() const override;
    int Pitch() const override;
    TPixel GetPixel(int x, int y) const override;
    void SetPixel(int x, int y, TPixel value) override;
    int BlueShift() const override;
    int GreenShift() const override;
    int RedShift() const override;
    int StorageBitCount() const override;
    // Raises EVeskError for a bit count outside 1, 4, 8, 15, 16, 24, 32, and
    // for sizes past kMaxSurfaceSide / kMaxSurfaceBytes. A size of 0 or less
    // in either direction empties the surface.
    void SetSize(int width, int height, int bitCount) override;
    // Raises "スキャンラインのインデックスが範囲を越えました (%d)" for a row
    // outside the store.
    std::uint8_t* Lock(int x, int y) override;
    std::int32_t ColorToPixel(std::int32_t colour) const override;
    void Fill(TPixel value) override;
    void Clear() override;
    void GetPalette(std::span<TPaletteEntry> entries) const override;
    void GetPaletteEntries(std::span<TPaletteEntry> entries, int first, int count) const override;
    void SetPalette(std::span<const TPaletteEntry> entries) override;
    void SetPaletteEntries(std::span<const TPaletteEntry> entries, int first, int count) override;
    void Compact() override;

    // Row y of the store (top-down addressing over the bottom-up rows).
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    // Bytes per stored row, |Pitch|.
    int RowBytes() const { return rowBytes_; }
    // The store of the bitmap behind the surface (|Pitch| * store height).
    std::span<std::uint8_t> Bits() { return bits_; }
    std::span<const std::uint8_t> Bits() const { return bits_; }
    std::span<const TPaletteEntry, 256> Palette() const { return std::span<const TPaletteEntry, 256>(palette_); }

private:
    void Allocate(int width, int height, int bitCount);

    int bitCount_ = 15;
    int storeWidth_ = 1;
    int storeHeight_ = 1;
    int rowBytes_ = 4;
    std::vector<std::uint8_t> bits_;
    std::array<TPaletteEntry, 256> palette_{};
};

// Bytes per row of a store of the given width and storage bit count, padded
// to a multiple of 4.
int DIBRowBytes(int width, int storageBitCount);

}  // namespace vesk
