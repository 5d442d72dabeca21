// Layered-image reader: any bytes give frames or an EVeskError. Decoded
// frames are written back, so the writer sees whatever the reader accepts.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vesk::TConstMemoryStream in(data, static_cast<std::int64_t>(size));
    vesk::TFenkFrameList list(77);  // the seed corpus's scrambled file uses code 77
    list.MemoryLimit = 64 << 20;
    list.PixelLimit = 16 << 20;
    try {
        list.LoadFromStream(in, false, true);
        vesk::TMemoryStream out;
        list.SaveToStream(out, vesk::FK_ZLIB, 70);
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
