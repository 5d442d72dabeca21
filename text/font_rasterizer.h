#pragma once

#include <memory>

#include "text/font_faces.h"

namespace vesk {

struct TFontPixel;

// Glyph bitmaps and metrics from outline fonts, through FreeType. It keeps
// one font selected (face name, height, style) and replaces it only when a
// glyph needs another; faces without bold or italic styles are emboldened
// and slanted here.
class TFontRasterizer {
public:
    explicit TFontRasterizer(std::unique_ptr<TFontFaceResolver> resolver);
    ~TFontRasterizer();
    TFontRasterizer(const TFontRasterizer&) = delete;
    TFontRasterizer& operator=(const TFontRasterizer&) = delete;

    // Gives glyph (whose code, font name, height and style are set) its
    // coverage at quality and its metrics. A character the font cannot
    // outline stays empty. Returns the quality used: 0 when the grey form
    // failed and the monochrome one was taken instead. Raises
    // "Error:GetOutlineTextMetrics" when neither the face asked for nor the
    // default face can be opened.
    int Rasterize(TFontPixel& glyph, int quality);

    // The file of the font selected last (for diagnostics and tests).
    const TFontFile& SelectedFile() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

// Heights beyond this give empty glyphs: no text a game shows comes near,
// and a damaged size must not make the cache hold gigabytes.
inline constexpr int kMaxGlyphHeight = 512;

}  // namespace vesk
