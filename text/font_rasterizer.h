#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "text/font_faces.h"

namespace vesk {

struct TFontPixel;

// What a font gives every line set in it, in pixels. The cell is one em
// high (the faces games name are made so), so Height is the height asked
// for; synthesised styles overhang nothing.
struct TFontMetrics {
    std::int32_t Height = 0;
    std::int32_t Ascent = 0;
    std::int32_t Descent = 0;
    std::int32_t Overhang = 0;
    std::int32_t UnderlineSize = 0;
    std::int32_t StrikePosition = 0, StrikeSize = 0;
};

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

    // The metrics of a face name at a height and style, selecting that
    // font; the same errors as Rasterize. Heights the cache does not draw
    // give zero metrics.
    TFontMetrics Metrics(const std::string& faceName, std::int32_t height, std::uint8_t style);

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
