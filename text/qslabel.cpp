#include "text/qslabel.h"

#include <algorithm>
#include <cstring>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "common/stream_sync.h"
#include "gfx/draw_options.h"
#include "text/char_code.h"
#include "text/font_rasterizer.h"
#include "text/fontpixel_manager.h"

namespace vesk {

namespace {

int Outline(std::int32_t width) { return std::clamp<std::int32_t>(width, 0, kMaxOutlineWidth); }

// The metrics block: the measured values as 32-bit fields, the rest zero.
void StoreMetrics(std::array<std::uint8_t, 212>& block, const TFontMetrics& m) {
    block.fill(0);
    const std::int32_t fields[] = {m.Height, m.Ascent, m.Descent, m.Overhang, m.UnderlineSize, m.StrikePosition,
                                   m.StrikeSize};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        for (int b = 0; b < 4; ++b) block[4 * i + std::size_t(b)] = std::uint8_t(std::uint32_t(fields[i]) >> (8 * b));
}

}  // namespace

TQsLabelLook::TQsLabelLook() : FontName(Sj("ＭＳ Ｐゴシック")) {}

void TQsLabelLook::Sync(TStreamSync& s) {
    s.Int(Quality);
    if (!s.Since(109)) Quality = Quality > 1 ? 3 : 0;
    s.Int(BorderWidth);
    s.Int(Alpha);
    s.Int(FontHeight);
    s.String(FontName);
    s.Int(TextColor);
    s.Int(BorderColor);
    s.Byte(Style);
    s.Bytes(Metrics.data(), std::int64_t(Metrics.size()));
    if (s.Since(122)) {
        s.Int(ShadowWidth);
        s.Int(ShadowColor);
    }
}

bool TQsLabelLook::SameFont(const TQsLabelLook& o) const {
    return FontHeight == o.FontHeight && FontName == o.FontName && Style == o.Style && BorderWidth == o.BorderWidth &&
           ShadowWidth == o.ShadowWidth;
}

void TQsLabelDIB::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    dirty_ = true;
    if (list_->measured_) {
        std::unordered_map<std::uint16_t, int> plain;
        list_->MeasureLabel(*this, plain);
    }
}

TQsLabelList::TQsLabelList() = default;
TQsLabelList::~TQsLabelList() = default;

TFontPixelManager& TQsLabelList::Cache() const {
    TFontPixelManager* cache = GlyphCache ? GlyphCache : TFontPixelManager::Global();
    if (!cache) throw EVeskError("the caption list has no glyph cache");
    return *cache;
}

void TQsLabelList::SetLook(const TQsLabelLook& look) {
    if (!look_.SameFont(look)) measured_ = false;
    look_ = look;
    MarkAllDirty();
}

void TQsLabelList::SetFontHeight(std::int32_t height) {
    TQsLabelLook look = look_;
    look.FontHeight = height;
    SetLook(look);
}

TQsLabelDIB& TQsLabelList::Label(int index) {
    if (index < 0 || index >= Count()) throw EVeskError("caption index out of range: " + std::to_string(index));
    EnsureMeasured();
    return *labels_[std::size_t(index)];
}

TQsLabelDIB& TQsLabelList::Add(const std::string& text) {
    labels_.push_back(std::make_unique<TQsLabelDIB>(*this, text));
    TQsLabelDIB& label = *labels_.back();
    if (measured_) {
        std::unordered_map<std::uint16_t, int> plain;
        MeasureLabel(label, plain);
    }
    return label;
}

int TQsLabelList::WidestWidth() {
    EnsureMeasured();
    int widest = 0;
    for (const auto& l : labels_) widest = std::max(widest, l->Width());
    return widest;
}

void TQsLabelList::EnsureMeasured() {
    if (!measured_) Measure();
}

void TQsLabelList::Measure() {
    const TFontMetrics m = Cache().Rasterizer().Metrics(look_.FontName, look_.FontHeight, look_.Style);
    StoreMetrics(look_.Metrics, m);
    overhang_ = m.Overhang;
    lineHeight_ = m.Height + 2 * Outline(look_.BorderWidth) + Outline(look_.ShadowWidth);
    std::unordered_map<std::uint16_t, int> plain;
    for (auto& l : labels_) MeasureLabel(*l, plain);
    measured_ = true;
}

void TQsLabelList::MeasureLabel(TQsLabelDIB& label, std::unordered_map<std::uint16_t, int>& plain) {
    TFontPixelManager& cache = Cache();
    cache.Quality = look_.Quality;
    const int extra = overhang_ + 2 * Outline(look_.BorderWidth) + Outline(look_.ShadowWidth);
    const std::string& t = label.text_;
    label.advances_.clear();
    label.width_ = 0;
    for (std::size_t i = 0; i < t.size(); i += SjisCharLen(t, i)) {
        const std::uint16_t code = CharCodeAt(t, i);
        auto it = plain.find(code);
        const TFontPixel* g = nullptr;
        if (it == plain.end()) {
            g = &cache.GetGlyph(code, look_.FontName, look_.Style, look_.FontHeight);
            it = plain.emplace(code, g->CharA + g->CharB + g->CharC + extra).first;
        }
        int advance = it->second;
        // The last character's right bearing may reach past its advance;
        // the caption grows to hold it.
        if (i + SjisCharLen(t, i) >= t.size()) {
            if (!g) g = &cache.GetGlyph(code, look_.FontName, look_.Style, look_.FontHeight);
            if (g->CharC < 0) advance -= g->CharC;
        }
        label.advances_.push_back(advance);
        label.width_ += advance;
    }
    label.height_ = lineHeight_;
}

void TQsLabelList::MarkAllDirty() {
    for (auto& l : labels_) l->dirty_ = true;
}

void TQsLabelList::Render(TQsLabelDIB& label, int bitCount) {
    if (!label.dirty_ && label.renderedBits_ == bitCount) return;
    if (label.colour_.Width() != label.width_ || label.colour_.Height() != label.height_ ||
        label.colour_.BitCount() != bitCount)
        label.colour_.SetSize(label.width_, label.height_, bitCount);
    if (label.alpha_.Width() != label.width_ || label.alpha_.Height() != label.height_ || label.alpha_.BitCount() != 8)
        label.alpha_.SetSize(label.width_, label.height_, 8);
    label.dirty_ = false;
    label.renderedBits_ = bitCount;
    if (label.width_ <= 0 || label.height_ <= 0) return;
    label.colour_.Fill(0);
    label.alpha_.Fill(0);
    TFontPixelManager& cache = Cache();
    const TPixel text = TPixel(label.colour_.ColorToPixel(look_.TextColor));
    const TPixel border = TPixel(label.colour_.ColorToPixel(look_.BorderColor));
    const TPixel shadow = TPixel(label.colour_.ColorToPixel(look_.ShadowColor));
    const std::string& t = label.text_;
    const int n = static_cast<int>(label.advances_.size());
    int x = 0, i = 0;
    for (std::size_t b = 0; b < t.size() && i < n; b += SjisCharLen(t, b), ++i) {
        cache.Quality = look_.Quality;
        const TFontPixel& g = cache.GetGlyph(CharCodeAt(t, b), look_.FontName, look_.Style, look_.FontHeight);
        const int advance = label.advances_[std::size_t(i)];
        g.DrawTo(label.colour_, label.alpha_, false, shadow, border, text, i == n - 1, i == 0,
                 Outline(look_.ShadowWidth), Outline(look_.BorderWidth), Bounds(x, 0, advance, look_.FontHeight));
        x += advance;
    }
}

void TQsLabelList::Draw(int index, int x, int y) {
    if (!Target) throw EVeskError("the caption list has no surface to draw onto");
    TQsLabelDIB& label = Label(index);
    Render(label, Target->BitCount());
    if (label.width_ <= 0 || label.height_ <= 0) return;
    const TRect source = label.colour_.BoundsRect();
    if (Outline(look_.BorderWidth) == 0 && Outline(look_.ShadowWidth) == 0) {
        Target->DrawCoverage(x, y, look_.Alpha, TPixel(Target->ColorToPixel(look_.TextColor)), false, false, source,
                             label.alpha_);
        return;
    }
    TDrawOptions o;
    o.Alpha = look_.Alpha;
    o.Mask = &label.alpha_;
    DrawSurface(*Target, x, y, label.colour_, source, o);
}

void TQsLabelList::Save(TStream& s) const {
    TQsLabelLook copy = look_;
    TStreamSync w = TStreamSync::Writer(s);
    copy.Sync(w);
}

void TQsLabelList::Load(TStream& s, int version) {
    TQsLabelLook read = look_;
    TStreamSync r = TStreamSync::Reader(s, version);
    read.Sync(r);
    look_ = read;
    measured_ = false;
    MarkAllDirty();
}

}  // namespace vesk
