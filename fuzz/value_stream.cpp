// Values and variable-table sections read from arbitrary bytes. The first
// byte picks what is read: a single value of one kind, a game section (with
// the save version from the second byte) or a status section.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "common/error.h"
#include "common/stream.h"
#include "values/param_collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    using namespace vesk;
    TConstMemoryStream in(data + 2, static_cast<std::int64_t>(size - 2));
    try {
        TParamCollection vars;
        switch (data[0] % 3) {
            case 0: {
                auto value = CreateParam(data[1]);
                if (!value) return 0;
                value->LoadFromStream(in);
                TMemoryStream out;
                value->SaveToStream(out);
                value->ClearDims();
                (void)value->AsStr();
                break;
            }
            case 1:
                vars.LoadGameSection(in, 90 + data[1]);
                break;
            default:
                vars.LoadStatusSection(in);
                break;
        }
        // Whatever was loaded must write back and answer reads.
        TMemoryStream out;
        vars.SaveGameSection(out);
        vars.SaveStatusSection(out);
        for (int i = 0; i < vars.Count(); ++i) (void)vars[i].Value().AsStr();
    } catch (const EVeskError&) {
    }
    return 0;
}
