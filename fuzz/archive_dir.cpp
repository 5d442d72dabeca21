// Archive directories and entries from arbitrary bytes: every lie must end
// in EVeskError, never a crash, a hang or a huge allocation.
#include <cstdint>
#include <memory>

#include "archive/vrcollection.h"
#include "common/error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        vesk::TVrFileCollection archive;
        archive.OpenStream(std::make_unique<vesk::TConstMemoryStream>(data, static_cast<std::int64_t>(size)));
        for (int i = 0; i < archive.EntryCount(); ++i) {
            vesk::TMemoryStream content;
            try {
                archive.ReadEntry(archive[i], content);
            } catch (const vesk::EVeskError&) {
            }
        }
    } catch (const vesk::EVeskError&) {
    }
    return 0;
}
