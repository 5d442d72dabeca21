#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "components/registry/readlist.h"
#include "script/status_record.h"
#include "values/param_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vesk::TMemoryStream s;
    s.Write(data, static_cast<std::int64_t>(size));
    s.SetPosition(0);
    vesk::TParamCollection vars;
    vesk::TVeskReadList marks;
    vesk::TStatusTail tail;
    try {
        vesk::ReadStatusRecord(s, vars, marks, tail);
        vesk::TMemoryStream out;
        vesk::WriteStatusRecord(out, vars, marks, tail);
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
