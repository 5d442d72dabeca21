#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "text/fontpixel.h"

namespace vesk {

class TFontFaceResolver;
class TFontRasterizer;

// The glyph cache: the 256 glyphs used last, looked up by character code,
// face name, height, style and quality. One process-wide instance serves
// the text engine and the caption labels.
class TFontPixelManager {
public:
    static constexpr int kCapacity = 256;

    // Over the installed fonts (fontconfig), or over the given resolver.
    TFontPixelManager();
    explicit TFontPixelManager(std::unique_ptr<TFontFaceResolver> resolver);
    ~TFontPixelManager();
    TFontPixelManager(const TFontPixelManager&) = delete;
    TFontPixelManager& operator=(const TFontPixelManager&) = delete;

    // The process-wide cache, set by start-up (and by tests that need one).
    static TFontPixelManager* Global();
    static void SetGlobal(TFontPixelManager* manager);

    // The quality the next glyphs are made with (0 … 3); callers set it
    // before each lookup. It drops to 0 when a grey glyph cannot be made.
    std::int32_t Quality = 3;

    // The glyph of code in fontName (Shift-JIS, compared byte by byte),
    // style and height at the current quality; made on a miss, when the
    // least recently used glyph past the 256th is freed. The reference
    // stays valid until that glyph falls out of the cache.
    const TFontPixel& GetGlyph(std::uint16_t code, const std::string& fontName, std::uint8_t style,
                               std::int32_t height);

    int Count() const { return static_cast<int>(recent_.size()); }
    // Whether the glyph is cached at the current quality; its place in the
    // recency order does not change.
    bool Holds(std::uint16_t code, const std::string& fontName, std::uint8_t style, std::int32_t height) const;
    // Glyphs made since creation.
    std::int64_t Misses() const { return misses_; }
    // The rasteriser behind the cache.
    TFontRasterizer& Rasterizer() { return *rasterizer_; }

private:
    using TList = std::list<TFontPixel>;

    TList::iterator Find(std::uint16_t code, const std::string& fontName, std::uint8_t style,
                         std::int32_t height) const;

    std::unique_ptr<TFontRasterizer> rasterizer_;
    // Most recent first; list nodes keep their place in memory, so the
    // buckets can point at them.
    mutable TList recent_;
    std::array<std::vector<TList::iterator>, 256> buckets_;
    std::int64_t misses_ = 0;
};

}  // namespace vesk
