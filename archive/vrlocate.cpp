#include <string>

#include "archive/bigstreams.h"
#include "archive/installset.h"
#include "archive/vrfiles.h"
#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"
#include "platform/msgbox.h"

namespace vesk {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

// The install set of a folder or disc, when the file is there and readable.
bool ReadInstallSet(const std::string& path, TVeskInstallSet& set) {
    try {
        TBigFileStream f(path, TBigFileStream::Mode::Read);
        set.LoadFromStream(f);
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

// The project's text with its "%d" replaced by n. The text comes from game
// data, so it is never used as a format string.
std::string WithNumber(const std::string& text, int n) {
    std::string out = text;
    const std::size_t at = out.find("%d");
    if (at != std::string::npos) out.replace(at, 2, std::to_string(n));
    return out;
}

}  // namespace

bool TVrFileManager::LocateData(const std::string& exeFolder, const TVrDiscPrompt& prompt) {
    const std::string exe = platform::WithSlash(exeFolder);
    if (!platform::ResolveName(exe, "install.dat").empty() && contentFolder_.empty()) SetContentFolder(exe);
    if (!Exists("install.dat")) {
        platform::ShowMessageBox(Sj("インストールし直してください"), Sj("情報"), MsgButtons::Ok, MsgIcon::Information);
        return false;
    }
    TVeskInstallSet installed;
    {
        TMemoryStream m;
        Read("install.dat", m);
        installed.LoadFromStream(m);
    }
    if (std::string dat = platform::ResolveName(exe, "game.dat"); !dat.empty()) AddArchiveFile(dat);
    if (installed.Installed == 1) return true;

    for (;;) {
        for (const std::string& root : ScanDiscs()) {
            if (platform::DiskSize(root) <= 0) continue;
            const std::string dat = platform::ResolveName(root, "game.dat");
            const std::string set = platform::ResolveName(root, "install.dat");
            TVeskInstallSet disc;
            if (dat.empty() || set.empty() || !ReadInstallSet(set, disc)) continue;
            if (disc.SetName == installed.SetName) {
                AddArchiveFile(dat);
                return true;
            }
        }
        const bool asked = platform::MessageBoxesAreInteractive();
        if (platform::ShowMessageBox(Sj("ディスクを入れてください"), Sj("情報"), MsgButtons::OkCancel,
                                     MsgIcon::Information) == MsgResult::Ok) {
            if (!asked) return false;  // nobody can insert a disc: do not ask for ever
            continue;
        }
        if (platform::ShowMessageBox(prompt.Quit, prompt.Title, MsgButtons::OkCancel, MsgIcon::Question) ==
                MsgResult::Ok ||
            !asked)
            return false;
    }
}

bool TVrFileManager::RequestDisk(int n, const TVrDiscPrompt& prompt) {
    ScanDiscs();
    for (int i = ArchiveCount() - 1; i >= 0; --i) {
        const std::string& path = Archive(i).Path();
        for (const std::string& root : cdromRoots_) {
            if (!Archive(i).IsResource() && path.size() >= root.size() &&
                platform::SameNativeText(std::string_view(path).substr(0, root.size()), root)) {
                RemoveArchive(i);
                break;
            }
        }
    }
    for (;;) {
        const bool asked = platform::MessageBoxesAreInteractive();
        if (platform::ShowMessageBox(WithNumber(prompt.InsertDisk, n), prompt.Title, MsgButtons::OkCancel,
                                     MsgIcon::Information) == MsgResult::Ok) {
            int registered = 0;
            for (const std::string& root : ScanDiscs()) {
                const std::string dat = platform::ResolveName(root, "game.dat");
                const std::string set = platform::ResolveName(root, "install.dat");
                TVeskInstallSet disc;
                if (dat.empty() || set.empty() || !ReadInstallSet(set, disc)) continue;
                if (disc.SetName == prompt.Title && disc.DiskIndex == n - 1 && AddArchiveFile(dat) >= 0) ++registered;
            }
            if (registered > 0) return true;
            if (!asked) return false;
            continue;
        }
        if (platform::ShowMessageBox(prompt.Quit, prompt.Title, MsgButtons::OkCancel, MsgIcon::Question) ==
                MsgResult::Ok ||
            !asked) {
            if (prompt.OnQuit) prompt.OnQuit();
            return false;
        }
    }
}

}  // namespace vesk
