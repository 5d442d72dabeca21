// "game.ini" as the player reads it: any bytes give settings in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/gameini.h"
#include "common/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const vesk::TGameSettings s =
            vesk::ParseGameSettings(std::string_view(reinterpret_cast<const char*>(data), size));
        if (s.DelayTime < 100 || s.DelayTime > 500 || s.DelayTime % 100 != 0) std::abort();
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
