// The component part of a saved game read from arbitrary bytes. The first
// byte picks the save version (90 … 149), so every older layout is reached.
#include <cstddef>
#include <cstdint>

#include "common/error.h"
#include "common/stream.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"
#include "values/params.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    using namespace vesk;
    TConstMemoryStream in(data + 1, static_cast<std::int64_t>(size - 1));
    TVeskBaseList registry;
    try {
        registry.LoadFromStream(in, 90 + data[0] % 60);
    } catch (const EVeskError&) {
    }
    // Whatever was loaded, even partly, must answer reads, write back in the
    // newest layout, read that again and go away cleanly.
    TParamStr value;
    for (int i = 0; i < registry.Count(); ++i)
        for (int prop = 0; prop < kPropertyCount; ++prop) GetProp(value, registry.Item(i), prop);
    TMemoryStream out;
    registry.SaveToStream(out);
    out.SetPosition(0);
    TVeskBaseList again;
    again.LoadFromStream(out, kStateVersion);
    registry.DestroyPending();
    return 0;
}
