#include <cstdio>

#include "archive/vrcollection.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"
#include "tools/verb_args.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

const char* const kUsage =
    "usage: vesk unpack ARCHIVE -o DIR\n"
    "\n"
    "Writes every entry of an archive as a file below DIR (created when\n"
    "missing), \"\\\" becoming \"/\". Names that would leave DIR (absolute, with\n"
    "\"..\" or a drive) and paths through symbolic links are refused.\n";

// True when no existing part of path below root is a symbolic link.
bool NoLinks(const std::string& root, const std::string& path) {
    for (std::size_t at = root.size(); at < path.size(); ++at)
        if (path[at] == '/' && platform::IsLink(path.substr(0, at))) return false;
    return !platform::IsLink(path);
}

int Unpack(const TVerbArgs& a) {
    if (a.positional.size() != 1) throw EUsage("give one ARCHIVE");
    const std::string dir = platform::WithSlash(a.Option("-o"));
    if (dir.empty()) throw EUsage("give the target folder with -o DIR");
    auto archive = OpenArchiveForTool(a.positional[0]);
    if (!platform::MakeDir(dir)) throw EVeskError(Utf8ToSjis(dir) + ": cannot create the folder");

    int failed = 0;
    for (int i = 0; i < archive->EntryCount(); ++i) {
        const TVrFile& f = (*archive)[i];
        const std::string shown = SjisToUtf8(f.Name());
        const std::string path = platform::NativeName(dir, f.Name());
        if (path.empty() || !NoLinks(dir, path)) {
            std::fprintf(stderr, "vesk unpack: %s: refused, the name leaves the target folder\n", shown.c_str());
            ++failed;
            continue;
        }
        try {
            TMemoryStream content;
            archive->ReadEntry(f, content);
            platform::MakeDir(platform::FolderOf(path));
            auto out = platform::OpenFile(path, platform::FileMode::Create);
            out->WriteBuffer(content.Data(), content.Size());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vesk unpack: %s: %s\n", shown.c_str(), SjisToUtf8(e.what()).c_str());
            ++failed;
        }
    }
    std::printf("%s: %d entries, %d written\n", dir.c_str(), archive->EntryCount(), archive->EntryCount() - failed);
    return failed ? 1 : 0;
}

const VerbRegistration kUnpack({"unpack", "write the entries of an archive into a folder",
                                [](const std::vector<std::string>& args) {
                                    return RunVerb("unpack", kUsage, args, {"-o"}, Unpack);
                                }});

}  // namespace

}  // namespace vesk::tool
