// Cursor, icon and animated cursor files: any bytes give a picture with its
// hot spot inside it, or an EVeskError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "common/error.h"
#include "gfx/cursorfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const vesk::TCursorImage c = vesk::ReadCursorFile({data, size});
        const bool sound = c.Width >= 1 && c.Height >= 1 && c.Width <= vesk::kMaxCursorSide &&
                           c.Height <= vesk::kMaxCursorSide &&
                           c.Pixels.size() == static_cast<std::size_t>(c.Width) * c.Height && c.HotX >= 0 &&
                           c.HotY >= 0 && c.HotX < c.Width && c.HotY < c.Height;
        if (!sound) std::abort();
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
