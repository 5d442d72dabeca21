#pragma once

#include <memory>
#include <vector>

#include "text/wd_glyph.h"

namespace vesk {

class TVeskParser;

// A variable insertion: an expression whose value is shown in its place.
// The engine expands it before layout into the characters and line breaks
// that follow it in the glyph list, decorated, linked and timed as the
// insertion says.
class TWdOpeVar : public TWdGlyph {
public:
    TWdOpeVar(TQsWord& engine, std::string expression, TDecorateRef decoration, std::string link,
              std::int32_t wait);
    explicit TWdOpeVar(TQsWord& engine);
    TWdOpeVar(const TWdOpeVar& o, TQsWord& engine);
    ~TWdOpeVar() override;

    std::uint8_t ClassCode() const override { return WD_VAR; }
    const TDecorateRef* Decoration() const override { return &decoration_; }
    std::string NameText() const override { return expression_; }
    void SetNameText(const std::string& v) override;
    const std::string& Link() const override { return link_; }
    void SetLink(const std::string& v) override { link_ = v; }
    std::int32_t Wait() const override { return wait_; }
    void SetWait(std::int32_t v) override { wait_ = v; }
    int TextPositionCount() const override { return 1; }

    // The glyphs that show the insertion's value now: from the engine's
    // name/value list when it names the expression, else from evaluating
    // it (nothing when it does not compile or gives no value). CR becomes a
    // line break; other control characters are left out.
    std::vector<std::unique_ptr<TWdGlyph>> Expand();
    // What the engine inserted after this glyph (not owned), kept for the
    // history lines and the display state.
    const std::vector<const TWdGlyph*>& Inserted() const { return inserted_; }
    void SetInserted(std::vector<const TWdGlyph*> glyphs) { inserted_ = std::move(glyphs); }

    void AddVarLines(std::vector<std::string>& lines) const override;

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdOpeVar>(*this, engine);
    }

protected:
    TDecorateRef* MutableDecoration() override { return &decoration_; }

private:
    std::string Value() const;

    std::string expression_;
    // Lists stored before expression texts were kept hold the compiled
    // expression instead; it is evaluated as it is.
    std::unique_ptr<TVeskParser> compiled_;
    TDecorateRef decoration_;
    std::string link_;
    std::int32_t wait_ = 0;
    std::vector<const TWdGlyph*> inserted_;
};

}  // namespace vesk
