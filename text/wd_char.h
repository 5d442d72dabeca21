#pragma once

#include "gfx/rect.h"
#include "text/wd_glyph.h"

namespace vesk {

// One character: a single byte, or lead byte × 256 + trail byte.
class TWdChar : public TWdReal {
public:
    TWdChar(TQsWord& engine, std::uint16_t code, TDecorateRef decoration)
        : TWdReal(engine), code_(code), decoration_(std::move(decoration)) {}
    explicit TWdChar(TQsWord& engine) : TWdReal(engine) {}
    TWdChar(const TWdChar& o, TQsWord& engine);

    std::uint8_t ClassCode() const override { return WD_CHAR; }
    const TDecorateRef* Decoration() const override { return &decoration_; }
    std::uint16_t Code() const override { return code_; }
    void SetCode(std::uint16_t v) override { code_ = v; }
    std::string Text() const override;
    std::string RevealedText() const override { return Text(); }
    int TextPositionCount() const override { return 1; }
    // A cell as wide and high as the size, widened for italics, raised for
    // ruby, grown by the border on both sides and by the shadow once.
    void Measure() override;

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override;

    // Where the character was drawn last, for redraws.
    TRect DrawnRect{};

protected:
    TDecorateRef* MutableDecoration() override { return &decoration_; }

private:
    std::uint16_t code_ = 0;
    TDecorateRef decoration_;
};

// A character that a variable insertion made.
class TWdVarChar : public TWdChar {
public:
    using TWdChar::TWdChar;
    TWdVarChar(const TWdVarChar& o, TQsWord& engine) : TWdChar(o, engine) {}

    int TextPositionCount() const override { return 0; }
    bool InsertedByVar() const override { return true; }
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override;
};

}  // namespace vesk
