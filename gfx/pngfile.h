#pragma once

namespace vesk {

class TStream;
class TFenkFrameList;

// Reads a PNG file from the stream's position as one frame appended to list.
// Colour images become 24-bit frames, paletted and grey images 8-bit frames
// with their palette (16-bit channels keep their high byte). An alpha channel
// (or partial palette transparency) becomes the frame's alpha companion; a
// single transparent colour becomes its TransValue: the native value for
// colour images, the palette index for paletted and grey ones. Raises
// EVeskError for damaged data and for sizes past the list's MemoryLimit.
void LoadPngFrame(TStream& stream, TFenkFrameList& list);

}  // namespace vesk
