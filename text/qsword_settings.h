#pragma once

#include <cstdint>
#include <string>

namespace vesk {

class TStreamSync;

// What the owner of a text engine sets: the look characters fall back to,
// the geometry of the pages, the reveal's timing and where the page lies on
// the owner's surface. Colours are platform colours 0x00BBGGRR.
struct TQsWordSettings {
    TQsWordSettings();

    std::string DefaultFontName;  // "ＭＳ ゴシック"; empty means that face too
    std::int32_t DefaultSize = 12;
    std::int32_t DefaultColor = 0xFFFFFF;
    std::int32_t DefaultBorderColor = 0x808080;
    std::int32_t DefaultShadowColor = 0;
    std::int32_t DefaultBorderWidth = 0;
    std::int32_t DefaultShadowWidth = 0;
    std::int32_t LinkColor = 0xFF0000;       // blue
    std::int32_t LinkHoverColor = 0x008000;  // green

    // The right bound of every row; 0 lets rows run and then becomes the
    // widest row's width.
    std::int32_t WrapWidth = 0;
    // With paging on, rows that would pass it start the next page; it is
    // also the height of the window the page shows through.
    std::int32_t PageHeight = 0;
    std::int32_t LineSpacing = 0;
    bool Paging = true;

    // Milliseconds for a revealed glyph to reach full alpha; 0 or less
    // shows it at once.
    std::int32_t FadeTime = 1;
    // 256 takes the glyphs' waits as written; a negative factor ignores
    // them and shows the page at once.
    std::int32_t SpeedFactor = 256;
    bool Paused = false;
    bool EventsEnabled = false;

    std::int32_t OriginX = 0, OriginY = 0;
    std::int32_t RenderQuality = 3;
    // Strength of inline images: 255 their glyph's own alpha, below that
    // scaled by value / 256, above 256 drawn additively.
    std::int32_t ImageAlpha = 255;

    // Where the next glyph will show: after the last revealed one, relative
    // to the origin, with the height of its row.
    std::int32_t CaretX = 0, CaretY = 0, CaretHeight = 0;

    // The settings record of the owner's save data. The owner's save
    // version decides which of the later fields a record has: the default
    // shadow colour from 110, the two default widths above 110; fields a
    // record lacks keep their values.
    void Sync(TStreamSync& sync);
};

}  // namespace vesk
