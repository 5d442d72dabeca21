#include <cstdio>
#include <string>
#include <vector>

#include "archive/bigstreams.h"
#include "archive/vrcollection.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"
#include "tools/verb_args.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

const char* const kUsage =
    "usage: vesk pack FOLDER -o FILE\n"
    "\n"
    "Packs every file below FOLDER into the archive FILE. Entry names are the\n"
    "files' paths relative to FOLDER with \"\\\" separators, in Shift-JIS.\n"
    "Media (.wav .wma .ogg .mpg .mpeg .m1v .wmv .asf .dat) and files of 5 MiB\n"
    "and more are stored; layered images (.fnk) are compressed when their own\n"
    "pixels are not; anything else is compressed unless that saves less than\n"
    "a tenth. Archives above 1 GiB continue in volumes FILE.001, FILE.002, ...\n";

// Collects the files below folder as (virtual name, native path) pairs.
void Collect(const std::string& folder, const std::string& prefix, const std::string& skip,
             std::vector<std::string>& names) {
    for (const platform::DirEntry& e : platform::ListDir(folder)) {
        const std::string native = folder + e.name;
        if (platform::IsLink(native)) continue;  // an archive holds its folder, not what links point at
        const std::string name = prefix + Utf8ToSjis(e.name);
        if (SjisToUtf8(name.substr(prefix.size())) != e.name)
            throw EVeskError(Utf8ToSjis(native) + ": the name cannot be written in Shift-JIS");
        if (e.isDir) {
            Collect(native + "/", name + "\\", skip, names);
        } else if (native != skip) {
            names.push_back(name);
        }
    }
}

int Pack(const TVerbArgs& a) {
    if (a.positional.size() != 1) throw EUsage("give one FOLDER");
    const std::string out = a.Option("-o");
    if (out.empty()) throw EUsage("give the archive with -o FILE");
    const std::string folder = platform::WithSlash(a.positional[0]);
    if (!platform::DirExists(folder)) throw EVeskError(Utf8ToSjis(folder) + ": no such folder");

    std::vector<std::string> names;
    Collect(folder, "", platform::AbsolutePath(out), names);
    // The output may sit inside the folder; never pack it into itself.
    std::erase_if(names, [&](const std::string& n) {
        return platform::AbsolutePath(platform::ResolveName(folder, n)) == platform::AbsolutePath(out);
    });

    TVrFileCollection archive;
    archive.SetFolder(folder);
    for (const std::string& n : names) archive.AddNamedEntry(n);
    try {
        TBigFileStream file(out, TBigFileStream::Mode::Create);
        archive.Write(file);
    } catch (...) {
        platform::DeleteFile(out);
        throw;
    }
    std::printf("%s: %d entries\n", out.c_str(), archive.EntryCount());
    return 0;
}

const VerbRegistration kPack({"pack", "pack a folder into an archive",
                              [](const std::vector<std::string>& args) {
                                  return RunVerb("pack", kUsage, args, {"-o"}, Pack);
                              }});

}  // namespace

}  // namespace vesk::tool
