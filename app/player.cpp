#include "app/player.h"

#include <cstdio>
#include <exception>

#include "app/content_registration.h"
#include "app/game_driver.h"
#include "app/instance_name.h"
#include "archive/installset.h"
#include "archive/tempfiles.h"
#include "archive/vrfiles.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/process_random.h"
#include "common/quit.h"
#include "common/stream.h"
#include "media/veskdll.h"
#include "platform/canonical_path.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/instance_lock.h"

namespace vesk {

namespace {

// What the start-up found: the install set of the located data and the
// settings of "game.ini".
void ReportStart(TVrFileManager& files, const TGameSettings& settings) {
    TMemoryStream installDat;
    TVeskInstallSet set;
    try {
        files.Read("install.dat", installDat);
        set.LoadFromStream(installDat);
    } catch (const std::exception&) {
        // The project found its data some other way (a data disc).
    }
    std::printf("veskplay: data located: install set \"%s\", %s, %d archive(s), content folder %s\n",
                SjisToUtf8(set.SetName).c_str(), set.Installed ? "installed" : "on disc",
                files.ArchiveCount(), files.ContentFolder().c_str());
    std::printf("veskplay: settings: DirectSound %d, DelayTime %d, UseWMP %d\n", settings.DirectSound ? 1 : 0,
                settings.DelayTime, settings.UseWMP ? 1 : 0);
    std::fflush(stdout);
}

TRunOptions RunOptionsOf(const TPlayerOptions& o) {
    TRunOptions h;
    h.Frames = o.frames;
    h.StepMs = o.stepMs;
    h.TraceFile = o.traceFile;
    h.DumpVarsFile = o.dumpVarsFile;
    h.EventsFile = o.eventsFile;
    h.InputFile = o.inputFile;
    h.Screenshots = o.screenshots;
    return h;
}

}  // namespace

TGameSettings ReadGameSettings(const std::string& exeFolder) {
    const std::string path = platform::WithSlash(exeFolder) + "game.ini";
    if (!platform::FileExists(path)) return {};
    const auto file = platform::OpenFile(path, platform::FileMode::Read);
    TMemoryStream text;
    text.CopyFrom(*file, 0);
    return ParseGameSettings(text.AsString());
}

void FinaliseModules() {
    FreeVrFileManager();
    DeleteTempFiles();
    // What could not be deleted stays behind; there is nobody left to tell.
    DeleteAtExitFiles();
}

namespace {

// The objects of one player run, created in the start-up order and freed in
// the shutdown order.
class TPlayer {
public:
    TPlayer(const TPlayerOptions& options, std::string exePath)
        : options_(options), exePath_(std::move(exePath)),
          exeFolder_(platform::FolderOf(exePath_)) {}

    int Run() {
        // The libraries are bound first: without the media library the
        // player cannot run at all, and says so before anything else.
        log_ = TVeskLog::Bind(exeFolder_);
        SetTraceLog(log_.get());
        media_ = TVeskDll::Bind(exeFolder_);
        int exitCode = 1;
        if (media_) {
            try {
                exitCode = Create();
            } catch (const std::exception& e) {
                // An error of the start-up is shown, then the window closes.
                platform::ShowMessageBox(e.what(), "", platform::MsgButtons::Ok,
                                         platform::MsgIcon::Error);
            }
            Close();
        }
        // The media library goes before the log library finishes its log.
        media_.reset();
        SetTraceLog(nullptr);
        log_.reset();
        FinaliseModules();
        return exitCode;
    }

private:
    // The main window's creation handler and the initialisation it runs,
    // then the game's frames and the close handler's freeing of the project
    // (exit page, status data) and of the variable table. Answers the exit
    // status.
    int Create() {
        // The player writes no "veskplay.log"; one left behind would only
        // mislead whoever reads it.
        platform::DeleteFile(exeFolder_ + "veskplay.log");
        ProcessRandom().Seed(platform::MillisecondsSinceMidnight());
        settings_ = ReadGameSettings(exeFolder_);
        TVrFileManager& files = VrFileManager();
        files.AddMemoryArchive();
        RegisterContent(files, exePath_, options_.arguments);

        // The main window, hidden until the project has given it its size
        // and title. Without a display the game runs headless all the same.
        std::unique_ptr<platform::TPlatformWindow> window;
        if (!options_.headless) {
            window = platform::Platform().CreateMainWindow(640, 480);
            if (!window) std::fprintf(stderr, "veskplay: there is no display; the game runs headless\n");
        }
        const int status = RunGame(RunOptionsOf(options_), files, options_.arguments, exeFolder_, log_.get(),
                                   window.get(), [&] {
                                       ReportStart(files, settings_);
                                       // Media start-up: the library gets the window's
                                       // handle and the callbacks once the project exists.
                                       void* handle = window ? window->NativeHandle() : nullptr;
                                       if (!media_->Init(handle, handle))
                                           std::fprintf(stderr, "veskplay: the media library refused to start\n");
                                   });
        return status;
    }

    // The close handler: what exists so far goes in the shutdown order,
    // ending with the media library's finalisation.
    void Close() {
        QuitRequested = 1;
        media_->Final();
    }

    const TPlayerOptions& options_;
    const std::string exePath_;
    const std::string exeFolder_;
    TGameSettings settings_;
    std::unique_ptr<TVeskLog> log_;
    std::unique_ptr<TVeskDll> media_;
};

}  // namespace

int RunPlayer(const TPlayerOptions& options, const std::string& exePath) {
    return TPlayer(options, exePath).Run();
}

int PlayerMain(const std::vector<std::string>& argv, const TPlatformFactory& makePlatform) {
    TPlayerOptions options;
    try {
        options = ParsePlayerOptions(argv);
    } catch (const EVeskError& e) {
        std::fprintf(stderr, "veskplay: %s\n\n%s", e.what(), PlayerUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(PlayerUsage(), stdout);
        return 0;
    }
    platform::InstallPlatform(makePlatform(options));

    // A player started from a disc ends at once, without a word.
    const std::string exePath = platform::ExecutablePath();
    if (IsOnCdrom(exePath, platform::CdromRoots())) return 1;

    // One player per content folder; a second one ends silently. The folder
    // is named by its canonical path, so "game", "./game/" and a link to it
    // are the same instance.
    const std::string folder =
        options.arguments.empty() ? platform::FolderOf(exePath) : options.arguments[0];
    std::unique_ptr<platform::TInstanceLock> lock;
    switch (platform::TInstanceLock::Acquire(InstanceName(platform::CanonicalFolder(folder)), lock)) {
        case platform::TInstanceLock::TResult::Taken: return 0;
        case platform::TInstanceLock::TResult::Failed: return 1;
        case platform::TInstanceLock::TResult::Acquired: break;
    }

    if (IsConfigArgument(options.arguments)) {
        std::fprintf(stderr, "veskplay: this player has no settings dialog\n");
        return 0;
    }
    return RunPlayer(options, exePath);
}

}  // namespace vesk
