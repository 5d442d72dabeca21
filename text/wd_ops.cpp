#include "text/wd_ops.h"

#include "common/stream_io.h"
#include "text/qsword.h"
#include "text/wd_composite.h"

namespace vesk {

namespace {

// Marks an END event in the stream, in front of its text.
constexpr char kEndPrefix = 0x01;

}  // namespace

int TWdOpeReturn::Height() const {
    // An indent filler is no text: an empty line of an indented block is
    // as high as any other empty line.
    const TWdComposite* row = Parent();
    if (!row) return TWdGlyph::Height();
    for (int i = 0; i < row->ChildCount(); ++i) {
        const TWdGlyph* c = row->Child(i);
        if (c != this && c->ClassCode() != 0) return TWdGlyph::Height();
    }
    return Engine().DefaultSize;
}

void TWdOpeReturn::WriteData(TStream& s) const { WriteFlag(s, clear_); }
void TWdOpeReturn::ReadData(TStream& s, const TGlyphReadContext&) { clear_ = ReadFlag(s); }

void TWdOpeAlign::WriteData(TStream& s) const { WriteByte(s, align_); }
void TWdOpeAlign::ReadData(TStream& s, const TGlyphReadContext&) { align_ = ReadByte(s); }

void TWdOpeEvent::WriteData(TStream& s) const { WriteString(s, end_ ? kEndPrefix + text_ : text_); }

void TWdOpeEvent::ReadData(TStream& s, const TGlyphReadContext&) {
    text_ = ReadString(s);
    end_ = !text_.empty() && text_[0] == kEndPrefix;
    if (end_) text_.erase(0, 1);
}

}  // namespace vesk
