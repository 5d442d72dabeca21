// Operation lists read from arbitrary bytes, written back, copied and run
// over a small table of variables.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "values/param_collection.h"
#include "values/vesk_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vesk;
    TConstMemoryStream in(data, static_cast<std::int64_t>(size));
    TVeskParser list;
    try {
        list.LoadFromStream(in);
    } catch (const EVeskError&) {
        return 0;
    }
    TMemoryStream out;
    list.SaveToStream(out);
    TVeskParser copy;
    copy.Assign(list);

    // A dozen doubling concatenations already make strings of megabytes;
    // longer lists are read and written but not run.
    if (list.Count() > 12) return 0;
    TParamCollection vars;
    vars.AddNamed(PT_INT, "i").Value().SetInt(1);
    vars.AddNamed(PT_FLOAT, "r").Value().SetFloat(2.5L);
    vars.AddNamed(PT_BOOL, "f").Value().SetBool(true);
    vars.AddNamed(PT_STR, "s").Value().SetStr("abc");
    vars.AddNamed(PT_INT, "a").Value().SetDims({2, 3});
    vars.AddNamed(PT_NONE, "ref");
    copy.Evaluate(vars);
    if (copy.Result()) (void)copy.Result()->AsStr();
    // Temporaries are gone afterwards, whatever the list did.
    for (int i = 0; i < vars.Count(); ++i)
        if (vars[i].Name().starts_with("____")) __builtin_trap();
    return 0;
}
