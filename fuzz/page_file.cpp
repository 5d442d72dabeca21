#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "script/page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vesk::TConstMemoryStream s(data, static_cast<std::int64_t>(size));
    vesk::TPage page("fuzz.vks");
    try {
        page.LoadFromStream(s);
        vesk::TMemoryStream out;
        page.SaveToStream(out);
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
