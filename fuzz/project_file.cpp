#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "script/project_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vesk::TConstMemoryStream s(data, static_cast<std::int64_t>(size));
    vesk::TProjectSettings settings;
    try {
        if (settings.LoadFromStream(s)) {
            vesk::TMemoryStream out;
            settings.SaveToStream(out);
        }
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
