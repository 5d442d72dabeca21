#include "text/wd_glyph.h"

#include <algorithm>

#include "common/stream_io.h"
#include "text/qsword.h"
#include "text/wd_composite.h"

namespace vesk {

TWdGlyph::TWdGlyph(const TWdGlyph& o, TQsWord& engine)
    : engine_(&engine), left_(o.left_), top_(o.top_), width_(o.width_), height_(o.height_) {}

const TWdGlyph* TWdGlyph::Page() const { return parent_ ? parent_->Page() : nullptr; }

void TWdGlyph::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

int TWdGlyph::X() const { return (parent_ ? parent_->X() : 0) + left_; }
int TWdGlyph::Y() const { return (parent_ ? parent_->Y() : 0) + top_; }

int TWdGlyph::YInPage() const {
    if (!parent_ || Page() == this) return 0;
    return top_ + parent_->YInPage();
}

const std::string& TWdGlyph::Link() const {
    static const std::string none;
    return none;
}

TWdGlyph* TWdGlyph::FirstTextGlyph() { return TextPositionCount() == 1 ? this : nullptr; }
TWdGlyph* TWdGlyph::LastTextGlyph() { return TextPositionCount() == 1 ? this : nullptr; }

template <class Edit>
void TWdGlyph::EditDecoration(Edit&& edit) {
    TDecorateRef* d = MutableDecoration();
    if (d) *d = engine_->Decorations().Changed(*d, edit);
}

namespace {

// The fields of a glyph without a decoration of its own.
const TDecorate& Fields(const TDecorateRef* d) {
    static const TDecorate none;
    return d && *d ? **d : none;
}

}  // namespace

std::string TWdGlyph::FontName() const { return Fields(Decoration()).FontName; }
void TWdGlyph::SetFontName(const std::string& v) { EditDecoration([&](TDecorate& d) { d.FontName = v; }); }
std::int32_t TWdGlyph::Size() const { return Fields(Decoration()).Size; }
void TWdGlyph::SetSize(std::int32_t v) { EditDecoration([&](TDecorate& d) { d.Size = v; }); }
std::uint8_t TWdGlyph::Style() const { return Fields(Decoration()).Style; }
void TWdGlyph::SetStyle(std::uint8_t v) { EditDecoration([&](TDecorate& d) { d.Style = v; }); }
std::int32_t TWdGlyph::Color() const { return Fields(Decoration()).Color; }
void TWdGlyph::SetColor(std::int32_t v) { EditDecoration([&](TDecorate& d) { d.Color = v; }); }
std::int32_t TWdGlyph::BorderColor() const { return Fields(Decoration()).BColor; }
void TWdGlyph::SetBorderColor(std::int32_t v) { EditDecoration([&](TDecorate& d) { d.BColor = v; }); }
std::int32_t TWdGlyph::ShadowColor() const { return Fields(Decoration()).SColor; }
void TWdGlyph::SetShadowColor(std::int32_t v) { EditDecoration([&](TDecorate& d) { d.SColor = v; }); }
std::uint8_t TWdGlyph::NoBreak() const { return Fields(Decoration()).NoBreak; }
void TWdGlyph::SetNoBreak(std::uint8_t v) { EditDecoration([&](TDecorate& d) { d.NoBreak = v; }); }
std::string TWdGlyph::Ruby() const { return Fields(Decoration()).Ruby; }
void TWdGlyph::SetRuby(const std::string& v) { EditDecoration([&](TDecorate& d) { d.Ruby = v; }); }

std::int32_t TWdGlyph::BorderWidth() const {
    const std::int32_t v = Fields(Decoration()).Border;
    return v < 0 ? engine_->DefaultBorderWidth : v;
}
void TWdGlyph::SetBorderWidth(std::int32_t v) { EditDecoration([&](TDecorate& d) { d.Border = v; }); }

std::int32_t TWdGlyph::ShadowWidth() const {
    const std::int32_t v = Fields(Decoration()).Shadow;
    return v < 0 ? engine_->DefaultShadowWidth : v;
}
void TWdGlyph::SetShadowWidth(std::int32_t v) { EditDecoration([&](TDecorate& d) { d.Shadow = v; }); }

TWdReal::TWdReal(const TWdReal& o, TQsWord& engine)
    : TWdGlyph(o, engine), link_(o.link_), wait_(o.wait_), alpha_(o.alpha_), hover_(o.hover_) {}

void TWdReal::SetAlpha(int v) { alpha_ = std::clamp(v, 0, 255); }

void TWdReal::WriteLinkAndWait(TStream& s) const {
    WriteString(s, link_);
    WriteInt32(s, wait_);
}

void TWdReal::ReadLinkAndWait(TStream& s) {
    link_ = ReadString(s);
    wait_ = ReadInt32(s);
}

TDecorateRef DecorationFor(TQsWord& engine, const TDecorateRef& d) {
    if (!d || d.List() == &engine.Decorations()) return d;
    return engine.Decorations().Share(*d);
}

}  // namespace vesk
