#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "script/status_record.h"
#include "values/param_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vesk::TMemoryStream s;
    s.Write(data, static_cast<std::int64_t>(size));
    s.SetPosition(0);
    vesk::TParamCollection vars;
    vesk::TStatusTail tail;
    try {
        const std::int32_t version = vesk::ReadStatusHead(s);
        vars.LoadStatusSection(s);
        tail.Keep(s, version);
        vesk::TMemoryStream out;
        vesk::WriteStatusRecord(out, vars, tail);
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
