// PNG and BMP/DIB loading: any bytes give one frame or an EVeskError.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "gfx/fenks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const char* name : {"f.png", "f.bmp"}) {
        vesk::TConstMemoryStream in(data, static_cast<std::int64_t>(size));
        vesk::TFenkFrameList list;
        list.MemoryLimit = 64 << 20;
        try {
            list.LoadFromNamedStream(name, in, false, false);
            if (list.Count() > 0) list[0].Trim();
        } catch (const vesk::EVeskError&) {
        }
    }
    return 0;
}
