// Headless input files: any bytes give events or an error, nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/input_script.h"
#include "common/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        vesk::ParseInputScript(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
