#pragma once

#include <cstdint>
#include <vector>

#include "gfx/dibx.h"

namespace vesk {

// A proxy surface over an area of another surface (the target, not owned)
// whose rows are each shifted horizontally by their own offset: proxy row r
// lies on target row Top + r, moved right by Offsets[r] pixels (negative
// moves left). The wave component draws its picture through it. Rows past
// the end of Offsets are never drawn.
class TDIBXWave : public TCustomDIBX {
public:
    explicit TDIBXWave(TCustomDIBX& target);

    // One offset per proxy row; SetSize resizes it (new rows get 0).
    std::vector<std::int32_t> Offsets;
    // The proxy's area on the target starts here.
    std::int32_t Left = 0;
    std::int32_t Top = 0;

    int BitCount() const override;
    TCustomDIBX* Target() override { return target_; }
    int StorageBitCount() const override;
    void SetSize(int width, int height, int bitCount) override;
    void ResetClip() override;
    void AddClip(const TRect& rect) override;
    std::int32_t ColorToPixel(std::int32_t colour) const override;
    void Fill(TPixel value) override;
    void FillRect(const TRect& rect, TPixel value) override;
    void BlendRect(const TRect& rect, TPixel value, int alpha) override;
    void AddRect(const TRect& rect, TPixel value) override;
    void SubRect(const TRect& rect, TPixel value) override;
    void Assign(TCustomDIBX& src) override;
    void Draw(int x, int y, bool flipV, bool flipH, bool transparent, const TRect& srcRect,
              TCustomDIBX& src) override;
    void DrawMasked(int x, int y, TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect,
                    TCustomDIBX& src) override;
    void DrawAlpha(int x, int y, int alpha, bool flipV, bool flipH, bool transparent, const TRect& srcRect,
                   TCustomDIBX& src) override;
    void DrawAlphaMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH,
                         const TRect& srcRect, TCustomDIBX& src) override;
    void DrawAdd(int x, int y, int intensity, bool flipV, bool flipH, const TRect& srcRect,
                 TCustomDIBX& src) override;
    void DrawAddMasked(int x, int y, int intensity, TCustomDIBX& mask, bool flipV, bool flipH,
                       const TRect& srcRect, TCustomDIBX& src) override;
    void DrawRotate(int x, int y, int alpha, bool flipV, bool flipH, bool transparent, int angle, int pivotY,
                    int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY, int scaleX) override;
    void DrawRotateMasked(int x, int y, int alpha, TCustomDIBX& mask, bool flipV, bool flipH, int angle,
                          int pivotY, int pivotX, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                          int scaleX) override;
    void StretchDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH, bool transparent,
                     const TRect& srcRect) override;
    void StretchDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask, bool flipV,
                           bool flipH, const TRect& srcRect) override;
    void StretchDrawAdd(const TRect& destRect, TCustomDIBX& src, int intensity, bool flipV, bool flipH,
                        bool transparent, const TRect& srcRect) override;
    void StretchDrawAddMasked(const TRect& destRect, TCustomDIBX& src, int intensity, TCustomDIBX& mask,
                              bool flipV, bool flipH, const TRect& srcRect) override;
    void DrawSampledMono(int x, int y, int factor, int alpha, bool flipV, bool flipH, TPixel colour,
                         const TRect& srcRect, TCustomDIBX& src) override;
    void DrawSampledGlyph(int x, int y, int factor, int alpha, bool flipV, bool flipH,
                          const TGlyphColours& colours, const TRect& srcRect, TCustomDIBX& src) override;
    void TileDraw(const TRect& destRect, int gapX, int offsetY, int offsetX, bool transparent, const TRect& srcRect,
                  TCustomDIBX& src, int gapY) override;
    void TileDrawAlpha(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha, bool transparent,
                       const TRect& srcRect, TCustomDIBX& src, int gapY) override;
    void TileDrawAdd(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                     const TRect& srcRect, TCustomDIBX& src, int gapY) override;
    void TileDrawMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, TCustomDIBX& mask,
                        const TRect& srcRect, TCustomDIBX& src, int gapY) override;
    void TileDrawAlphaMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int alpha,
                             TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src, int gapY) override;
    void TileDrawAddMasked(const TRect& destRect, int gapX, int offsetY, int offsetX, int intensity,
                           TCustomDIBX& mask, const TRect& srcRect, TCustomDIBX& src, int gapY) override;
    void TileStretchDraw(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha, bool flipV,
                         bool flipH, bool transparent, const TRect& srcRect, TCustomDIBX& src, int scaleY,
                         int scaleX, int spacingY) override;
    void TileStretchDrawMasked(const TRect& destRect, int spacingX, int offsetY, int offsetX, int alpha,
                               TCustomDIBX& mask, bool flipV, bool flipH, const TRect& srcRect, TCustomDIBX& src,
                               int scaleY, int scaleX, int spacingY) override;
    void FrameTile(const TRect& rect, int width, int offsetY, int offsetX, const TRect& srcRect,
                   TCustomDIBX& src) override;
    void DrawIndexed4(int x, int y, std::span<const std::uint32_t> colourTable, int alpha, bool flipV,
                      bool flipH, const TRect& srcRect, TCustomDIBX& src) override;
    void DrawIndexedAdd(int x, int y, std::span<const std::uint32_t> colourTable, int intensity, bool flipV,
                        bool flipH, int minIndex, const TRect& srcRect, TCustomDIBX& src) override;
    void StretchDrawIndexedAdd(const TRect& destRect, TCustomDIBX& src, std::span<const std::uint32_t> colourTable,
                               int intensity, bool flipV, bool flipH, int minIndex, const TRect& srcRect) override;
    void ScaledTileDraw(const TRect& destRect, TCustomDIBX& src, int alpha, bool flipV, bool flipH,
                        bool transparent, int offsetY, int offsetX, int scaleY, int scaleX) override;
    void ScaledTileDrawMasked(const TRect& destRect, TCustomDIBX& src, int alpha, TCustomDIBX& mask, bool flipV,
                              bool flipH, int offsetY, int offsetX, int scaleY, int scaleX) override;
    void WrapDraw(const TRect& destRect, TCustomDIBX& src, bool flipV, bool flipH, int offsetY,
                  int offsetX) override;
    void DrawCoverage(int x, int y, int alpha, TPixel colour, bool flipV, bool flipH, const TRect& srcRect,
                      TCustomDIBX& src) override;

private:
    TCustomDIBX* target_;
    TRect savedClip_{};
};

}  // namespace vesk
