#include "app/content_registration.h"

#include "archive/resources.h"
#include "platform/files.h"

namespace vesk {

namespace {

bool EndsWithVf(const TResourceData& res) {
    return res.data && res.size >= 2 && res.data[res.size - 2] == 'v' &&
           res.data[res.size - 1] == 'f';
}

}  // namespace

void RegisterContent(TVrFileManager& files, const std::string& exePath,
                     const std::vector<std::string>& arguments) {
    files.SetContentFolder(arguments.empty() ? platform::FolderOf(exePath) : arguments[0]);
    if (arguments.empty()) {
        if (EndsWithVf(FindResource("DUMMY", "BINTYPE")))
            files.AddArchiveResource(exePath, "DUMMY", "BINTYPE");
        files.AddAppendedArchive(exePath);  // nothing without the "vk" trailer
        return;
    }
    for (const std::string& arg : arguments) {
        const std::string gameDat = platform::WithSlash(arg) + "game.dat";
        if (platform::DirExists(arg) && platform::FileExists(gameDat)) files.AddArchiveFile(gameDat);
        if (platform::FileExists(arg)) files.AddAppendedArchive(arg);
    }
}

bool IsOnCdrom(const std::string& exePath, const std::vector<std::string>& cdromRoots) {
    for (const std::string& root : cdromRoots) {
        if (!root.empty() && exePath.compare(0, root.size(), root) == 0) return true;
    }
    return false;
}

}  // namespace vesk
