#pragma once

#include "text/tag_values.h"
#include "text/wd_glyph.h"

namespace vesk {

// A line break; with the clear flag the next row starts a new page.
class TWdOpeReturn : public TWdGlyph {
public:
    TWdOpeReturn(TQsWord& engine, bool clear) : TWdGlyph(engine), clear_(clear) {}
    explicit TWdOpeReturn(TQsWord& engine) : TWdGlyph(engine) {}
    TWdOpeReturn(const TWdOpeReturn& o, TQsWord& engine) : TWdGlyph(o, engine), clear_(o.clear_) {}

    std::uint8_t ClassCode() const override { return WD_RETURN; }
    // An empty line is as high as a line of default text.
    int Height() const override;
    bool ClearFlag() const override { return clear_; }
    void SetClearFlag(bool v) override { clear_ = v; }
    std::string RevealedText() const override { return "\r\n"; }
    int TextPositionCount() const override { return 1; }

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdOpeReturn>(*this, engine);
    }

private:
    bool clear_ = false;
};

// A line break that a variable insertion made; it never starts a page.
class TWdVarReturn : public TWdOpeReturn {
public:
    explicit TWdVarReturn(TQsWord& engine) : TWdOpeReturn(engine) {}
    TWdVarReturn(const TWdVarReturn& o, TQsWord& engine) : TWdOpeReturn(o, engine) {}

    bool ClearFlag() const override { return false; }
    int TextPositionCount() const override { return 0; }
    bool InsertedByVar() const override { return true; }
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdVarReturn>(*this, engine);
    }
};

// Changes the alignment of the rows that follow (HA_LEFT … HA_CENTER).
class TWdOpeAlign : public TWdGlyph {
public:
    TWdOpeAlign(TQsWord& engine, std::uint8_t align) : TWdGlyph(engine), align_(align) {}
    explicit TWdOpeAlign(TQsWord& engine) : TWdGlyph(engine) {}
    TWdOpeAlign(const TWdOpeAlign& o, TQsWord& engine) : TWdGlyph(o, engine), align_(o.align_) {}

    std::uint8_t ClassCode() const override { return WD_ALIGN; }
    std::uint8_t Align() const override { return align_; }
    void SetAlign(std::uint8_t v) override { align_ = v; }
    int TextPositionCount() const override { return 1; }

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdOpeAlign>(*this, engine);
    }

private:
    std::uint8_t align_ = HA_LEFT;
};

// Starts an indent at the width of the row so far; TWdOpeUndent ends it.
// Neither has data.
template <std::uint8_t StreamCode>
class TWdOpeMark : public TWdGlyph {
public:
    explicit TWdOpeMark(TQsWord& engine) : TWdGlyph(engine) {}
    TWdOpeMark(const TWdOpeMark& o, TQsWord& engine) : TWdGlyph(o, engine) {}

    std::uint8_t ClassCode() const override { return StreamCode; }
    int TextPositionCount() const override { return 1; }
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdOpeMark>(*this, engine);
    }
};
using TWdOpeIndent = TWdOpeMark<WD_INDENT>;
using TWdOpeUndent = TWdOpeMark<WD_UNDENT>;

// A script event raised when the reveal reaches it. An END event's text
// carries the prefix byte 0x01 when it comes from markup; read from a stream
// the prefix is taken off and the END flag set instead.
class TWdOpeEvent : public TWdGlyph {
public:
    TWdOpeEvent(TQsWord& engine, std::string text) : TWdGlyph(engine), text_(std::move(text)) {}
    explicit TWdOpeEvent(TQsWord& engine) : TWdGlyph(engine) {}
    TWdOpeEvent(const TWdOpeEvent& o, TQsWord& engine) : TWdGlyph(o, engine), text_(o.text_), end_(o.end_) {}

    std::uint8_t ClassCode() const override { return WD_EVENT; }
    std::string NameText() const override { return text_; }
    void SetNameText(const std::string& v) override { text_ = v; }
    // The wait of an event answers whether it is an END event.
    std::int32_t Wait() const override { return end_ ? 1 : 0; }
    bool IsEnd() const { return end_; }
    int TextPositionCount() const override { return 1; }

    void WriteData(TStream& s) const override;
    void ReadData(TStream& s, const TGlyphReadContext& context) override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdOpeEvent>(*this, engine);
    }

private:
    std::string text_;
    bool end_ = false;
};

// The filler that layout puts at the start of an indented row.
class TWdSpace : public TWdGlyph {
public:
    explicit TWdSpace(TQsWord& engine) : TWdGlyph(engine) {}
    TWdSpace(const TWdSpace& o, TQsWord& engine) : TWdGlyph(o, engine) {}

    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override {
        return std::make_unique<TWdSpace>(*this, engine);
    }
};

}  // namespace vesk
