#include "text/char_look.h"

#include <algorithm>

#include "text/font_faces.h"
#include "text/font_rasterizer.h"
#include "text/fontpixel.h"
#include "text/qsword.h"
#include "text/tag_values.h"

namespace vesk {

int TCharLook::CellWidth() const { return Size + ((Style & FS_ITALIC) ? Size / 5 : 0) + 2 * Border + Shadow; }
int TCharLook::CellHeight() const { return Size + RubyBand + 2 * Border + Shadow; }

TCharLook LookOf(const TWdGlyph& g) {
    const TQsWord& e = g.Engine();
    TCharLook l;
    l.FontName = g.FontName();
    if (l.FontName.empty()) l.FontName = e.DefaultFontName.empty() ? DefaultFaceName() : e.DefaultFontName;
    l.Style = g.Style();
    if (!g.Link().empty()) l.Style |= FS_UNDERLINE;
    const std::int32_t size = g.Size() != 0 ? g.Size() : e.DefaultSize;
    l.Size = std::clamp<std::int32_t>(size, 1, kMaxGlyphHeight);
    l.Border = std::clamp<std::int32_t>(g.BorderWidth(), 0, kMaxOutlineWidth);
    l.Shadow = std::clamp<std::int32_t>(g.ShadowWidth(), 0, kMaxOutlineWidth);
    if (!g.Ruby().empty()) l.RubyBand = std::max(1, l.Size / 2);
    l.BorderColor = g.BorderColor() != -1 ? g.BorderColor() : e.DefaultBorderColor;
    l.ShadowColor = g.ShadowColor() != -1 ? g.ShadowColor() : e.DefaultShadowColor;
    return l;
}

std::int32_t TextColourOf(const TWdGlyph& g) {
    const TQsWord& e = g.Engine();
    if (g.Hover()) return e.LinkHoverColor;
    if (g.Color() != -1) return g.Color();
    return g.Link().empty() ? e.DefaultColor : e.LinkColor;
}

}  // namespace vesk
