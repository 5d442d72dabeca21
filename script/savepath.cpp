#include "script/savepath.h"

#include <cstring>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "platform/environment.h"
#include "platform/files.h"

namespace vesk {

namespace {

// Whether a file can be created in folder: the probe file is made, seen and
// removed again.
bool FolderWritable(const std::string& folder) {
    const std::string probe = folder + "save.dat.$$$";
    try {
        platform::OpenFile(probe, platform::FileMode::Create);
    } catch (const std::exception&) {
        return false;
    }
    const bool ok = platform::FileExists(probe);
    platform::DeleteFile(probe);
    return ok;
}

}  // namespace

std::string SaveFolderName(const std::string& sjisTitle) {
    std::string out;
    for (std::size_t i = 0; i < sjisTitle.size();) {
        const std::size_t len = SjisCharLen(sjisTitle, i);
        if (len == 1 && std::strchr("\\/:,;*?\"<>|", sjisTitle[i]) && sjisTitle[i] != '\0') out += '_';
        else out.append(sjisTitle, i, len);
        i += len;
    }
    return out;
}

std::string SaveFilePath(const std::vector<std::string>& args, const std::string& exeFolder,
                         const std::string& sjisTitle) {
    if (!args.empty() && !args[0].empty()) {
        // A game started on an archive file keeps its save file beside it,
        // not inside a folder of the archive's name that cannot exist.
        if (platform::FileExists(args[0])) return platform::FolderOf(args[0]) + "save.dat";
        return platform::WithSlash(args[0]) + "save.dat";
    }
    const std::string exe = platform::WithSlash(exeFolder);
    if (FolderWritable(exe)) return exe + "save.dat";

    const std::string folder =
        platform::WithSlash(platform::WithSlash(platform::XdgDataHome()) + SjisToUtf8(SaveFolderName(sjisTitle)));
    if (!platform::DirExists(folder) && !platform::MakeDir(folder))
        throw EVeskError(Sj("データファイルを作成することができません"));
    const std::string path = folder + "save.dat";
    const std::string old = exe + "save.dat";
    if (platform::FileExists(old) && !platform::FileExists(path)) {
        try {
            auto from = platform::OpenFile(old, platform::FileMode::Read);
            auto to = platform::OpenFile(path, platform::FileMode::Create);
            to->CopyFrom(*from, 0);
        } catch (const std::exception&) {
            platform::DeleteFile(path);  // no half copy left behind
        }
    }
    return path;
}

}  // namespace vesk
