// Selection-image map files read from arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "components/kinds/mapfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vesk;
    TConstMemoryStream in(data, static_cast<std::int64_t>(size));
    try {
        const auto regions = ReadMapFile(in);
        // Every region read must answer the questions a selection image asks.
        for (const TMapRegion& r : regions) {
            (void)r.BoundingBox();
            (void)r.Contains(3, 4);
        }
    } catch (const EVeskError&) {
    }
    return 0;
}
