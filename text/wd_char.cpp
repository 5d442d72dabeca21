#include "text/wd_char.h"

#include "common/stream_io.h"
#include "text/char_code.h"
#include "text/char_look.h"
#include "text/qsword.h"

namespace vesk {

TWdChar::TWdChar(const TWdChar& o, TQsWord& engine)
    : TWdReal(o, engine), DrawnRect(o.DrawnRect), code_(o.code_), decoration_(DecorationFor(engine, o.decoration_)) {}

std::string TWdChar::Text() const { return CodeText(code_); }

void TWdChar::Measure() {
    const TCharLook look = LookOf(*this);
    SetBounds(Left(), Top(), look.CellWidth(), look.CellHeight());
}

void TWdChar::WriteData(TStream& s) const {
    WriteLinkAndWait(s);
    WriteUInt16(s, code_);
    WriteInt32(s, Engine().Decorations().IndexOf(decoration_));
}

void TWdChar::ReadData(TStream& s, const TGlyphReadContext& context) {
    ReadLinkAndWait(s);
    code_ = ReadUInt16(s);
    decoration_ = Engine().StoredDecoration(ReadInt32(s), context);
}

std::unique_ptr<TWdGlyph> TWdChar::Clone(TQsWord& engine) const { return std::make_unique<TWdChar>(*this, engine); }

std::unique_ptr<TWdGlyph> TWdVarChar::Clone(TQsWord& engine) const {
    return std::make_unique<TWdVarChar>(*this, engine);
}

}  // namespace vesk
