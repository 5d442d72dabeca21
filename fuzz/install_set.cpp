// "install.dat" from arbitrary bytes; whatever reads must write and read back.
#include <cstdint>
#include <cstdlib>

#include "archive/installset.h"
#include "common/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        vesk::TConstMemoryStream in(data, static_cast<std::int64_t>(size));
        vesk::TVeskInstallSet set;
        set.LoadFromStream(in);
        vesk::TMemoryStream out;
        set.SaveToStream(out);
        out.SetPosition(0);
        vesk::TVeskInstallSet back;
        back.LoadFromStream(out);
        if (back.SetName != set.SetName || back.CreatedFiles != set.CreatedFiles || back.Rows.size() != set.Rows.size())
            std::abort();
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
