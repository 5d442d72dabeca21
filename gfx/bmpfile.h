#pragma once

namespace vesk {

class TStream;
class TFenkFrameList;

// Reads a bitmap file ("BM" file header) or a packed DIB (information header
// first) from the stream's position as one frame appended to list. 1-, 4-,
// 8- and 24-bit bitmaps keep their bit count and palette, RLE ones decoded;
// 16-bit ones become 15- or 16-bit frames (other masks 24-bit); 32-bit ones
// give their fourth byte as the alpha companion and become 24-bit. Raises
// EVeskError for damaged data and for sizes past the list's MemoryLimit.
void LoadBmpFrame(TStream& stream, TFenkFrameList& list);

}  // namespace vesk
