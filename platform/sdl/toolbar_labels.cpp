#include "platform/sdl/toolbar_labels.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <memory>

namespace vesk::platform {

namespace {

// The code points of a UTF-8 text; a broken sequence is skipped a byte at a time.
std::vector<char32_t> CodePoints(const std::string& text) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
            ++i;
            continue;
        }
        char32_t c = length == 1 ? b : b & (0x7F >> length);
        for (int k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(c);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

// The file and face index of the Gothic face for Japanese; an empty file
// when fontconfig knows none. A configuration of our own, dropped at once,
// keeps the library's process-wide state untouched.
std::pair<std::string, int> FindGothicFace() {
    std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> config(FcInitLoadConfigAndFonts(), FcConfigDestroy);
    if (!config) return {};
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>("IPAGothic"));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(FcFontMatch(config.get(), pattern.get(), &result),
                                                                  FcPatternDestroy);
    FcChar8* file = nullptr;
    int index = 0;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return {};
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return {reinterpret_cast<const char*>(file), index};
}

struct TGlyph {
    int left = 0, top = 0;  // of the bitmap, from the pen on the baseline (y down)
    TLabelBitmap bitmap;
};

TLabelBitmap Render(FT_Face face, const std::string& text) {
    std::vector<TGlyph> glyphs;
    int pen = 0;
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    for (const char32_t c : CodePoints(text)) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& b = slot->bitmap;
        if (b.pixel_mode == FT_PIXEL_MODE_GRAY && b.width > 0 && b.rows > 0) {
            TGlyph g;
            g.left = pen + slot->bitmap_left;
            g.top = -slot->bitmap_top;
            g.bitmap.Width = static_cast<int>(b.width);
            g.bitmap.Height = static_cast<int>(b.rows);
            g.bitmap.Coverage.resize(static_cast<std::size_t>(b.width) * b.rows);
            for (unsigned y = 0; y < b.rows; ++y)
                std::copy_n(b.buffer + static_cast<std::ptrdiff_t>(y) * b.pitch, b.width,
                            g.bitmap.Coverage.begin() + static_cast<std::ptrdiff_t>(y) * b.width);
            x0 = std::min(x0, g.left);
            y0 = std::min(y0, g.top);
            x1 = std::max(x1, g.left + g.bitmap.Width);
            y1 = std::max(y1, g.top + g.bitmap.Height);
            glyphs.push_back(std::move(g));
        }
        pen += static_cast<int>(slot->advance.x >> 6);
    }
    TLabelBitmap out;
    if (glyphs.empty()) return out;
    out.Width = x1 - x0;
    out.Height = y1 - y0;
    out.Coverage.assign(static_cast<std::size_t>(out.Width) * out.Height, 0);
    // Overlapping glyphs keep the stronger coverage.
    for (const TGlyph& g : glyphs)
        for (int y = 0; y < g.bitmap.Height; ++y)
            for (int x = 0; x < g.bitmap.Width; ++x) {
                std::uint8_t& d = out.Coverage[static_cast<std::size_t>(g.top - y0 + y) * out.Width + (g.left - x0 + x)];
                d = std::max(d, g.bitmap.Coverage[static_cast<std::size_t>(y) * g.bitmap.Width + x]);
            }
    // Trim the rows and columns FreeType left without ink.
    int l = out.Width, t = out.Height, r = -1, bt = -1;
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            if (out.Coverage[static_cast<std::size_t>(y) * out.Width + x] != 0) {
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), bt = std::max(bt, y);
            }
    if (r < 0) return {};
    TLabelBitmap trimmed;
    trimmed.Width = r - l + 1;
    trimmed.Height = bt - t + 1;
    trimmed.Coverage.resize(static_cast<std::size_t>(trimmed.Width) * trimmed.Height);
    for (int y = 0; y < trimmed.Height; ++y)
        std::copy_n(out.Coverage.begin() + static_cast<std::ptrdiff_t>(t + y) * out.Width + l, trimmed.Width,
                    trimmed.Coverage.begin() + static_cast<std::ptrdiff_t>(y) * trimmed.Width);
    return trimmed;
}

}  // namespace

std::vector<TLabelBitmap> RenderLabels(std::span<const std::string> texts, int pixelSize) {
    std::vector<TLabelBitmap> out(texts.size());
    const auto [file, index] = FindGothicFace();
    if (file.empty()) return out;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return out;
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), index, &face) == 0) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) == 0)
            for (std::size_t i = 0; i < texts.size(); ++i) out[i] = Render(face, texts[i]);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return out;
}

}  // namespace vesk::platform
