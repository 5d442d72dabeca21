#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gfx/dibx.h"
#include "text/decorate.h"
#include "text/qsword_settings.h"
#include "text/wd_glyph.h"
#include "text/wd_page.h"

namespace vesk {

class TFontPixelManager;
class TInlinePictureSource;
class TParamCollection;
class TStream;

// The two surfaces a page is drawn into: colour at the screen's depth and
// an 8-bit alpha of the same size, with the page they hold now.
struct TPageSurfaces {
    TDIBX Colour;
    TDIBX Alpha;
    const TWdPage* Holder = nullptr;

    // Resized when the size or depth differs, then cleared to 0.
    void Prepare(int width, int height, int bitCount);
    void Release();
};

// The rich-text engine: turns message markup, or a stored glyph list, into
// a flat list of glyphs, one per character plus the line breaks, alignment
// changes, indents, events, variable insertions and images between them.
// The glyphs share their decorations through the engine's list. Layout puts
// them on pages (TWdPage), which the engine's settings draw and reveal.
class TQsWord : public TQsWordSettings {
public:
    TQsWord();
    ~TQsWord();
    TQsWord(const TQsWord&) = delete;
    TQsWord& operator=(const TQsWord&) = delete;

    // Values for variable insertions, as "name=value" lines (a value's line
    // breaks written as the byte 0x01); set by the owner.
    std::vector<std::string> NameValues;
    // The table insertions are evaluated over; the process-wide one when
    // none is set.
    TParamCollection* Variables = nullptr;
    // Called with the text of each event the reveal reaches (while events
    // are enabled); an END event's text starts with the byte 0x01.
    std::function<void(const std::string&)> OnEvent;
    // Where inline images come from; without one they are empty.
    TInlinePictureSource* Pictures = nullptr;
    // The glyph cache characters are drawn from; the process-wide one when
    // none is set.
    TFontPixelManager* GlyphCache = nullptr;
    // The depth of the page's colour surface: the screen's.
    int SurfaceBitCount = 32;

    // Replaces the glyphs with those of the markup lines (joined with CR).
    // Raises "<A>タグにHREF値がありません" for a link tag without its
    // target; the glyphs before it stay.
    void Parse(const std::vector<std::string>& lines);

    // Appends a stored glyph list. A damaged list raises EStreamError and
    // leaves the engine as it was.
    void AppendFromStream(TStream& s);
    // Writes the glyphs and decorations in the newest stored form. Glyphs
    // that a variable insertion made are left out: they are made again.
    void SaveToStream(TStream& s) const;

    // Appends copies of other's glyphs first … last; a last outside other's
    // list means up to its end.
    void AppendCopies(const TQsWord& other, int first, int last);
    // Expands the variable insertions among glyphs first … last, or removes
    // what they inserted, processing them from last to first.
    void ExpandVars(int first, int last);
    void RemoveVars(int first, int last);

    // The text position of a glyph: the sum of the counts of those before it.
    int TextPositionOf(int index) const;
    // The glyph at text position p, -1 when the list ends first.
    int GlyphAtTextPosition(int p) const;

    // Lays glyphs first … the glyph at text position lastTextPosition out
    // into new pages appended to pages (to the last glyph when that
    // position is negative or past the list). With a wrap width of 0 the
    // wrap width becomes the widest row's.
    void Layout(TWdPageList& pages, int first = 0, int lastTextPosition = -1);

    // The settings record (TQsWordSettings::Sync); a damaged record raises
    // EStreamError and changes nothing.
    void SaveSettings(TStream& s) const;
    void LoadSettings(TStream& s, int version);

    // Frees every glyph, empties the decoration list and the name/value
    // list. Pages laid out from the glyphs must be gone before.
    void Clear();

    // The glyph cache in use; raises EVeskError when there is none.
    TFontPixelManager& Cache() const;
    TPageSurfaces& Surfaces() { return surfaces_; }
    // Rectangles of the owner's surface that changed since they were last
    // taken.
    void AddDirty(const TRect& r);
    std::vector<TRect> TakeDirtyRects() { return std::exchange(dirty_, {}); }
    // Drops and remakes the page surfaces and the pictures' surfaces.
    void ReleaseSurfaces();
    void ReloadSurfaces();
    // The index of a glyph of this engine, -1 for another.
    int IndexOf(const TWdGlyph* glyph) const;

    int Count() const { return static_cast<int>(glyphs_.size()); }
    TWdGlyph& Glyph(int index) const { return *glyphs_.at(static_cast<std::size_t>(index)); }
    void Append(std::unique_ptr<TWdGlyph> glyph);
    TDecorateList& Decorations() { return decorations_; }
    const TDecorateList& Decorations() const { return decorations_; }

    // The value the name/value list gives name (case-insensitive), if any.
    std::optional<std::string> NameValue(std::string_view name) const;
    // The decoration a stored glyph names: index counts from the first
    // decoration of its list; -1 means none.
    TDecorateRef StoredDecoration(std::int32_t index, const TGlyphReadContext& context);

private:
    void ReadFromStream(TStream& s);
    // Clamps first … last to the list; false when the range is empty.
    bool ClampRange(int& first, int& last) const;

    // Declared before the glyphs, which hold references into it.
    TDecorateList decorations_;
    std::vector<std::unique_ptr<TWdGlyph>> glyphs_;
    TPageSurfaces surfaces_;
    std::vector<TRect> dirty_;
};

}  // namespace vesk
