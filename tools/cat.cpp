#include <cstdio>

#include "archive/vrfiles.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"
#include "tools/verb_args.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

const char* const kUsage =
    "usage: vesk cat NAME [ARCHIVE...] [--content DIR]\n"
    "\n"
    "Writes the content of the virtual name NAME (e.g. \"cg\\title.png\") to\n"
    "standard output, looked up as the player does: loose files of the\n"
    "content folder DIR first, then the archives in the order given.\n";

int Cat(const TVerbArgs& a) {
    if (a.positional.empty()) throw EUsage("give a NAME");
    TVrFileManager files;
    if (std::string content = a.Option("--content"); !content.empty()) {
        if (!platform::DirExists(content)) throw EVeskError(Utf8ToSjis(content) + ": no such folder");
        files.SetContentFolder(content);
    }
    for (std::size_t i = 1; i < a.positional.size(); ++i) {
        const std::string& path = a.positional[i];
        if (!platform::FileExists(path)) throw EVeskError(Utf8ToSjis(path) + ": no such file");
        if (files.AddAppendedArchive(path) < 0) files.AddArchiveFile(path);
    }
    TMemoryStream bytes;
    files.Read(Utf8ToSjis(a.positional[0]), bytes);
    if (std::fwrite(bytes.Data(), 1, static_cast<std::size_t>(bytes.Size()), stdout) !=
        static_cast<std::size_t>(bytes.Size()))
        throw EVeskError("write error");
    return 0;
}

const VerbRegistration kCat({"cat", "print a file read through the virtual file manager",
                             [](const std::vector<std::string>& args) {
                                 return RunVerb("cat", kUsage, args, {"--content"}, Cat);
                             }});

}  // namespace

}  // namespace vesk::tool
