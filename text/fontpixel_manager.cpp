#include "text/fontpixel_manager.h"

#include <algorithm>

#include "text/font_faces.h"
#include "text/font_rasterizer.h"

namespace vesk {

namespace {

TFontPixelManager* gGlobal = nullptr;

}  // namespace

TFontPixelManager::TFontPixelManager() : TFontPixelManager(std::make_unique<TFontconfigResolver>()) {}

TFontPixelManager::TFontPixelManager(std::unique_ptr<TFontFaceResolver> resolver)
    : rasterizer_(std::make_unique<TFontRasterizer>(std::move(resolver))) {}

TFontPixelManager::~TFontPixelManager() = default;

TFontPixelManager* TFontPixelManager::Global() { return gGlobal; }
void TFontPixelManager::SetGlobal(TFontPixelManager* manager) { gGlobal = manager; }

TFontPixelManager::TList::iterator TFontPixelManager::Find(std::uint16_t code, const std::string& fontName,
                                                           std::uint8_t style, std::int32_t height) const {
    for (const TList::iterator& it : buckets_[code & 0xFF]) {
        const TFontPixel& g = *it;
        if (g.Code == code && g.Height == height && g.Style == style && g.Quality == Quality && g.FontName == fontName)
            return it;
    }
    return recent_.end();
}

bool TFontPixelManager::Holds(std::uint16_t code, const std::string& fontName, std::uint8_t style,
                              std::int32_t height) const {
    return Find(code, fontName, style, height) != recent_.end();
}

const TFontPixel& TFontPixelManager::GetGlyph(std::uint16_t code, const std::string& fontName, std::uint8_t style,
                                              std::int32_t height) {
    if (const TList::iterator it = Find(code, fontName, style, height); it != recent_.end()) {
        if (it != recent_.begin()) recent_.splice(recent_.begin(), recent_, it);
        return *it;
    }
    // Surfaces do not move, so the glyph is made in its list node.
    recent_.emplace_front();
    TFontPixel& g = recent_.front();
    g.Code = code;
    g.FontName = fontName;
    g.Style = style;
    g.Height = height;
    try {
        Quality = rasterizer_->Rasterize(g, Quality);
    } catch (...) {
        recent_.pop_front();
        throw;
    }
    g.Quality = Quality;
    ++misses_;
    buckets_[code & 0xFF].push_back(recent_.begin());
    if (Count() > kCapacity) {
        const TList::iterator last = std::prev(recent_.end());
        auto& bucket = buckets_[last->Code & 0xFF];
        bucket.erase(std::find(bucket.begin(), bucket.end(), last));
        recent_.erase(last);
    }
    return recent_.front();
}

}  // namespace vesk
