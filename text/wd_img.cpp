#include "text/wd_img.h"

#include "common/stream_io.h"

namespace vesk {

void TWdImg::WriteData(TStream& s) const {
    WriteLinkAndWait(s);
    WriteString(s, name_);
    WriteByte(s, align_);
}

void TWdImg::ReadData(TStream& s, const TGlyphReadContext&) {
    ReadLinkAndWait(s);
    name_ = ReadString(s);
    align_ = ReadByte(s);
}

}  // namespace vesk
