#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/decorate.h"
#include "text/wd_glyph.h"

namespace vesk {

class TParamCollection;
class TStream;

// The rich-text engine: turns message markup, or a stored glyph list, into
// a flat list of glyphs, one per character plus the line breaks, alignment
// changes, indents, events, variable insertions and images between them.
// The glyphs share their decorations through the engine's list.
class TQsWord {
public:
    TQsWord();
    ~TQsWord();
    TQsWord(const TQsWord&) = delete;
    TQsWord& operator=(const TQsWord&) = delete;

    // What characters fall back to where their decoration says "default".
    std::string DefaultFontName;
    std::int32_t DefaultSize = 12;
    std::int32_t DefaultBorderWidth = 0;
    std::int32_t DefaultShadowWidth = 0;
    // Values for variable insertions, as "name=value" lines (a value's line
    // breaks written as the byte 0x01); set by the owner.
    std::vector<std::string> NameValues;
    // The table insertions are evaluated over; the process-wide one when
    // none is set.
    TParamCollection* Variables = nullptr;

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

    // Frees every glyph, empties the decoration list and the name/value list.
    void Clear();

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
};

}  // namespace vesk
