#include <cstdio>

#include "archive/vrcollection.h"
#include "common/cp932.h"
#include "tools/verb_args.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

const char* const kUsage =
    "usage: vesk list ARCHIVE\n"
    "\n"
    "Lists the entries of an archive (or of a game with an appended archive):\n"
    "the bytes each takes, \"stored\" or \"zlib\", its CRC-32 and its name.\n";

int List(const TVerbArgs& a) {
    if (a.positional.size() != 1) throw EUsage("give one ARCHIVE");
    auto archive = OpenArchiveForTool(a.positional[0]);
    std::printf("version %d, %d entries\n", archive->Version(), archive->EntryCount());
    for (int i = 0; i < archive->EntryCount(); ++i) {
        const TVrFile& f = (*archive)[i];
        std::printf("%12lld %-6s %08X %s\n", static_cast<long long>(f.Length), f.Stored ? "stored" : "zlib",
                    f.Crc, SjisToUtf8(f.Name()).c_str());
    }
    return 0;
}

const VerbRegistration kList({"list", "list the entries of an archive", [](const std::vector<std::string>& args) {
                                  return RunVerb("list", kUsage, args, {}, List);
                              }});

}  // namespace

}  // namespace vesk::tool
