#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/dibx.h"

namespace vesk {

class TFontPixelManager;
class TQsLabelList;
class TStream;
class TStreamSync;

// How the captions of one list look. Colours are platform colours.
struct TQsLabelLook {
    TQsLabelLook();

    std::int32_t Quality = 3;
    std::int32_t BorderWidth = 0;
    std::int32_t Alpha = 255;
    std::int32_t FontHeight = 12;
    std::string FontName;  // "ＭＳ Ｐゴシック"
    std::int32_t TextColor = 0xFFFFFF;
    std::int32_t BorderColor = 0;
    std::uint8_t Style = 0;  // FS_BOLD, FS_ITALIC, FS_UNDERLINE, FS_STRIKEOUT
    // The font's metrics as last measured, in the saved form's fixed size;
    // measuring writes them, nothing reads them back.
    std::array<std::uint8_t, 212> Metrics{};
    std::int32_t ShadowWidth = 0;
    std::int32_t ShadowColor = 0;

    // The owner's save data: quality stored before version 109 counts 3
    // when above 1 and 0 otherwise; the shadow is there from 122 on.
    void Sync(TStreamSync& sync);
    // Whether the two need the captions measured again.
    bool SameFont(const TQsLabelLook& o) const;
};

// One single-line caption: its text drawn into a colour surface and an
// 8-bit alpha surface, with one advance per character.
class TQsLabelDIB {
public:
    explicit TQsLabelDIB(TQsLabelList& list, std::string text) : list_(&list), text_(std::move(text)) {}

    const std::string& Text() const { return text_; }
    // A different text is measured again and drawn again.
    void SetText(const std::string& text);
    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::vector<int>& Advances() const { return advances_; }
    bool Dirty() const { return dirty_; }
    TDIBX& ColourSurface() { return colour_; }
    TDIBX& AlphaSurface() { return alpha_; }

private:
    friend class TQsLabelList;

    TQsLabelList* list_;
    std::string text_;
    TDIBX colour_, alpha_;
    bool dirty_ = true;
    int renderedBits_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<int> advances_;
};

// The captions of a button or list box, drawn from the glyph cache without
// markup. Changing the font, its height, style, border or shadow measures
// every caption again (when next asked); any change of look draws them
// again.
class TQsLabelList {
public:
    TQsLabelList();
    ~TQsLabelList();
    TQsLabelList(const TQsLabelList&) = delete;
    TQsLabelList& operator=(const TQsLabelList&) = delete;

    // The surface captions are drawn onto; their colour surfaces take its
    // depth.
    TCustomDIBX* Target = nullptr;
    // The glyph cache; the process-wide one when none is set.
    TFontPixelManager* GlyphCache = nullptr;

    const TQsLabelLook& Look() const { return look_; }
    void SetLook(const TQsLabelLook& look);
    void SetFontHeight(std::int32_t height);

    void Clear() { labels_.clear(); }
    int Count() const { return static_cast<int>(labels_.size()); }
    // The caption at index, measured; raises EVeskError out of range.
    TQsLabelDIB& Label(int index);
    TQsLabelDIB& Add(const std::string& text);
    int WidestWidth();
    // Takes the font's metrics and every caption's advances; raises
    // EVeskError without a glyph cache.
    void Measure();
    void MarkAllDirty();
    // Draws a caption onto Target at (x, y), rendering it first when its
    // text or look changed or Target's depth did.
    void Draw(int index, int x, int y);

    void Save(TStream& s) const;
    // A damaged record raises EStreamError and changes nothing.
    void Load(TStream& s, int version);

private:
    friend class TQsLabelDIB;
    TFontPixelManager& Cache() const;
    void EnsureMeasured();
    void MeasureLabel(TQsLabelDIB& label, std::unordered_map<std::uint16_t, int>& plain);
    void Render(TQsLabelDIB& label, int bitCount);

    TQsLabelLook look_;
    std::vector<std::unique_ptr<TQsLabelDIB>> labels_;
    bool measured_ = false;
    int lineHeight_ = 0, overhang_ = 0;
};

}  // namespace vesk
