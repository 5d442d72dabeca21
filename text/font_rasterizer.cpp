#include "text/font_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>

#include "common/cp932.h"
#include "common/error.h"
#include "text/char_code.h"
#include "text/coverage_levels.h"
#include "text/fontpixel.h"
#include "text/tag_values.h"

namespace vesk {

namespace {

struct TFaceDeleter {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using TFacePtr = std::unique_ptr<FT_FaceRec_, TFaceDeleter>;

struct TLibraryDeleter {
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
using TLibraryPtr = std::unique_ptr<FT_LibraryRec_, TLibraryDeleter>;

// The slant of synthesised italics: tan 12°, as FreeType's own oblique.
constexpr FT_Fixed kItalicShear = 0x0366A;

int RoundDiv(std::int64_t n, std::int64_t d) { return static_cast<int>((2 * n + (n >= 0 ? d : -d)) / (2 * d)); }

// The Unicode code point of a Shift-JIS glyph code, 0 when it has none.
char32_t CodePoint(std::uint16_t code) {
    if (code < 0x80) return code;
    const std::string utf8 = SjisToUtf8(CodeText(code));
    // The converter puts "?" for bytes that are no character; no character
    // code of 0x80 and up holds a "?" byte of its own.
    if (utf8.empty() || utf8.find('?') != std::string::npos) return 0;
    const auto b = static_cast<unsigned char>(utf8[0]);
    const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length == 0 || utf8.size() < std::size_t(length)) return 0;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(utf8[std::size_t(k)]) & 0x3F);
    return c;
}

// What the selected font gives every glyph of it.
struct TSelected {
    std::string Name;
    std::int32_t Height = 0;
    std::uint8_t Style = 0;
    FT_Face Face = nullptr;
    TFontFile File;
    int Ascent = 0;
    int UnderlineSize = 0;
    int StrikePosition = 0, StrikeSize = 0;
    bool SynthBold = false, SynthItalic = false;
};

}  // namespace

struct TFontRasterizer::TImpl {
    std::unique_ptr<TFontFaceResolver> Resolver;
    TLibraryPtr Library;
    // Opened faces by file; a file that failed to open is kept as null so
    // that it is not tried at every selection.
    std::map<std::pair<std::string, int>, TFacePtr> Faces;
    TSelected Selected;
    bool HasSelection = false;

    FT_Face Open(const std::optional<TFontFile>& file) {
        if (!file || !Library) return nullptr;
        auto [it, fresh] = Faces.try_emplace({file->Path, file->Index});
        if (fresh) {
            FT_Face face = nullptr;
            if (FT_New_Face(Library.get(), file->Path.c_str(), file->Index, &face) == 0) {
                it->second.reset(face);
                // Only outline faces with a Unicode map can serve Shift-JIS text.
                if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) it->second.reset();
            }
        }
        return it->second.get();
    }

    void Select(const std::string& name, std::int32_t height, std::uint8_t style) {
        if (HasSelection && Selected.Name == name && Selected.Height == height && Selected.Style == style) return;
        const bool bold = style & FS_BOLD, italic = style & FS_ITALIC;
        std::optional<TFontFile> file = Resolver->Resolve(name, bold, italic);
        FT_Face face = Open(file);
        if (!face) {
            file = Resolver->Resolve(DefaultFaceName(), bold, italic);
            face = Open(file);
        }
        if (!face) throw EVeskError("Error:GetOutlineTextMetrics");

        // The faces games name (MS Gothic and Mincho) have a cell exactly
        // one em high, so the height is taken as the em: the IPA faces that
        // stand in for them then give full-width characters as wide as the
        // height, as the originals do. The ascent is the OS/2 table's
        // Windows ascent where there is one.
        const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        const bool hasOs2 = os2 && os2->version != 0xFFFF;
        const std::int64_t em = face->units_per_EM > 0 ? face->units_per_EM : 1;
        const std::int64_t ascent = hasOs2 && os2->usWinAscent > 0 ? os2->usWinAscent
                                    : face->ascender > 0          ? face->ascender
                                                                  : em * 4 / 5;
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(height)) != 0)
            throw EVeskError("Error:GetOutlineTextMetrics");

        TSelected s;
        s.Name = name;
        s.Height = height;
        s.Style = style;
        s.Face = face;
        s.File = *file;
        s.Ascent = RoundDiv(ascent * height, em);
        s.UnderlineSize = std::max(1, RoundDiv(std::int64_t(face->underline_thickness) * height, em));
        if (hasOs2 && os2->yStrikeoutSize > 0) {
            s.StrikeSize = std::max(1, RoundDiv(std::int64_t(os2->yStrikeoutSize) * height, em));
            s.StrikePosition = RoundDiv(std::int64_t(os2->yStrikeoutPosition) * height, em);
        } else {
            s.StrikeSize = s.UnderlineSize;
            s.StrikePosition = s.Ascent * 3 / 10;
        }
        s.SynthBold = bold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
        s.SynthItalic = italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
        Selected = std::move(s);
        HasSelection = true;
    }

    // Loads and renders glyph index at quality into the face's slot; the
    // advance in pixels, or -1 when the glyph cannot be had in that form.
    int Render(FT_UInt index, int quality) {
        FT_Face face = Selected.Face;
        const bool mono = quality == 0;
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL)) != 0)
            return -1;
        FT_GlyphSlot slot = face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return -1;
        FT_Pos advance = slot->advance.x;
        if (Selected.SynthItalic) {
            FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
        if (Selected.SynthBold) {
            // A 24th of the em, FreeType's own emboldening strength; the
            // advance grows by it as the platform's synthetic bold does.
            const FT_Pos strength = FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / 24;
            FT_Outline_Embolden(&slot->outline, strength);
            advance += strength;
        }
        if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return -1;
        const unsigned char mode = slot->bitmap.pixel_mode;
        if (slot->bitmap.rows > 0 && mode != (mono ? FT_PIXEL_MODE_MONO : FT_PIXEL_MODE_GRAY)) return -1;
        return static_cast<int>((advance + 32) >> 6);
    }

    void Fill(TFontPixel& g, int quality, int advance) {
        const FT_GlyphSlot slot = Selected.Face->glyph;
        const FT_Bitmap& b = slot->bitmap;
        const int w = static_cast<int>(b.width), h = static_cast<int>(b.rows);
        if (w <= 0 || h <= 0) {
            g.RightGap = advance;
            g.CharC = advance;
            return;
        }
        g.Coverage.SetSize(w, h, 8);
        const unsigned char* top = b.pitch >= 0 ? b.buffer : b.buffer - std::ptrdiff_t(h - 1) * b.pitch;
        for (int y = 0; y < h; ++y) {
            const unsigned char* src = top + std::ptrdiff_t(y) * b.pitch;
            std::uint8_t* dst = g.Coverage.ScanLine(y);
            for (int x = 0; x < w; ++x)
                dst[x] = quality == 0 ? ((src[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : CoverageOfGrey(quality, src[x]);
        }
        g.LeftBearing = std::max(0, slot->bitmap_left);
        g.TopOffset = std::max(0, Selected.Ascent - slot->bitmap_top);
        g.RightGap = std::max(0, advance - w - g.LeftBearing);
        g.CharA = slot->bitmap_left;
        g.CharB = w;
        g.CharC = advance - slot->bitmap_left - w;
    }
};

TFontRasterizer::TFontRasterizer(std::unique_ptr<TFontFaceResolver> resolver) : impl_(std::make_unique<TImpl>()) {
    impl_->Resolver = std::move(resolver);
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) impl_->Library.reset(library);
}

TFontRasterizer::~TFontRasterizer() = default;

const TFontFile& TFontRasterizer::SelectedFile() const { return impl_->Selected.File; }

TFontMetrics TFontRasterizer::Metrics(const std::string& faceName, std::int32_t height, std::uint8_t style) {
    if (height <= 0 || height > kMaxGlyphHeight) return {};
    impl_->Select(faceName, height, style);
    const TSelected& s = impl_->Selected;
    return {height, s.Ascent, height - s.Ascent, 0, s.UnderlineSize, s.StrikePosition, s.StrikeSize};
}

int TFontRasterizer::Rasterize(TFontPixel& g, int quality) {
    g.Coverage.SetSize(0, 0, 8);
    if (g.Height <= 0 || g.Height > kMaxGlyphHeight) return quality;
    impl_->Select(g.FontName, g.Height, g.Style);
    const TSelected& s = impl_->Selected;
    if (g.Style & FS_UNDERLINE) g.UnderlineSize = s.UnderlineSize;
    if (g.Style & FS_STRIKEOUT) {
        g.StrikeTop = s.Ascent - s.StrikePosition;
        g.StrikeSize = s.StrikeSize;
    }
    const char32_t c = CodePoint(g.Code);
    const FT_UInt index = c ? FT_Get_Char_Index(s.Face, c) : 0;
    if (index == 0) return quality;
    int advance = impl_->Render(index, quality);
    if (advance < 0 && quality != 0) {
        quality = 0;
        advance = impl_->Render(index, quality);
    }
    if (advance >= 0) impl_->Fill(g, quality, advance);
    return quality;
}

}  // namespace vesk
