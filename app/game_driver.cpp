#include "app/game_driver.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "app/game_run.h"
#include "app/input_script.h"
#include "common/cp932.h"
#include "common/error.h"
#include "common/quit.h"
#include "platform/files.h"

namespace vesk {

namespace {

struct TPostedEvent {
    std::string sender, page;
    std::vector<std::string> args;
};
using TPostedEvents = std::multimap<int, TPostedEvent>;

bool ReadEvents(const std::string& path, TPostedEvents& out) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "veskplay: cannot read events file %s\n", path.c_str());
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        int frame = 0;
        TPostedEvent e;
        if (!(words >> frame >> e.sender >> e.page)) {
            std::fprintf(stderr, "veskplay: bad event line: %s\n", line.c_str());
            return false;
        }
        e.sender = Utf8ToSjis(e.sender);
        e.page = Utf8ToSjis(e.page);
        for (std::string a; words >> a;) e.args.push_back(Utf8ToSjis(a));
        out.emplace(frame, std::move(e));
    }
    return true;
}

bool DumpVariables(const TParamCollection& vars, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "veskplay: cannot write %s\n", path.c_str());
        return false;
    }
    for (int i = 0; i < vars.Count(); ++i) {
        const TParamCollectionItem& item = vars[i];
        if (TParamCollection::IsSystem(item)) continue;
        const TCustomParam& v = item.Value();
        std::fprintf(f, "%s\t%d", SjisToUtf8(item.Name()).c_str(), v.Kind());
        for (int e = 0; e < v.Count(); ++e) std::fprintf(f, "\t%s", SjisToUtf8(v.GetStrAt(e)).c_str());
        std::fputc('\n', f);
    }
    return std::fclose(f) == 0;
}

// An event's sender is a component of the registry: a plain named object,
// made when no component of that name exists.
TObjectId Sender(TVeskBaseList& registry, const std::string& name) {
    if (TVeskObject* found = registry.FindByName(name)) return found->Id();
    TVeskObject& obj = registry.Adopt(std::make_unique<TVeskObject>(&registry));
    obj.SetName(name);
    return obj.Id();
}

void PostEvents(const TPostedEvents& events, int frame, TVeskBaseList& registry) {
    auto [first, last] = events.equal_range(frame);
    for (auto it = first; it != last; ++it) {
        TTimerData d;
        d.Page = it->second.page;
        d.Sender = Sender(registry, it->second.sender);
        d.Args = it->second.args;
        registry.EventQueue().Add(std::move(d));
    }
}

// The frames of a run without a window: the fixed clock step, with what
// comes before each frame. Without a frame limit the run ends when nothing
// can run any more and nothing is still to come.
void RunFrames(TGameRun& run, const TRunOptions& o, const std::function<void(int)>& beforeFrame,
               const std::function<bool(int)>& moreToCome) {
    for (int frame = 0; o.Frames < 0 || frame < o.Frames; ++frame) {
        beforeFrame(frame);
        if (run.View().CloseRequested()) break;
        run.Timing().PlayClock += static_cast<std::uint32_t>(o.StepMs);
        run.Timing().LastFrameMs = static_cast<std::uint32_t>(o.StepMs);
        run.View().FrameStep();
        if (QuitRequested.load() != 0 || run.View().CloseRequested()) break;
        if (o.Frames < 0 && run.Session().Idle() && !moreToCome(frame)) break;
    }
}

// Initialisation step 5: the title, the client size of the screen plus the
// toolbar, centred on the desktop's work area.
void ShowMainWindow(platform::TPlatformWindow& window, const TProjectSettings& s) {
    window.SetTitle(s.Title);
    window.SetGameSize(s.ScreenWidth, s.ScreenHeight);
    const platform::TScreenRect work = window.WorkArea();
    if (work.Width > 0 && work.Height > 0)
        window.SetPosition(work.Left + (work.Width - s.ScreenWidth) / 2,
                           work.Top + (work.Height - (s.ScreenHeight + platform::kDockHeight)) / 2);
}

}  // namespace

int RunGame(const TRunOptions& o, TVrFileManager& files, const std::vector<std::string>& args,
            const std::string& exeFolder, TVeskLog* log, platform::TPlatformWindow* window,
            const std::function<void()>& started) {
    TPostedEvents events;
    if (!o.EventsFile.empty() && !ReadEvents(o.EventsFile, events)) return 2;
    std::vector<TScriptedInput> scripted;
    if (!o.InputFile.empty()) {
        try {
            scripted = ReadInputScript(o.InputFile);
        } catch (const EVeskError& e) {
            std::fprintf(stderr, "veskplay: %s\n", e.what());
            return 2;
        }
    }
    TInputFeed input(std::move(scripted));
    std::FILE* trace = nullptr;
    if (!o.TraceFile.empty() && !(trace = std::fopen(o.TraceFile.c_str(), "wb"))) {
        std::fprintf(stderr, "veskplay: cannot write %s\n", o.TraceFile.c_str());
        return 2;
    }
    // Whole lines reach the file as they are traced: what a run that is
    // killed or crashes did last is in it, and a watcher sees the frames go.
    if (trace) std::setvbuf(trace, nullptr, _IOLBF, 1 << 16);

    int status = 0;
    {
        TGameRun run(files, TProject::Options{args, exeFolder}, window, trace, log);
        if (!run.Loaded()) {
            std::fprintf(stderr, "veskplay: the game could not be started\n");
            status = 1;
        } else {
            // Before frame step n: the events posted for it and the
            // scripted input up to it; a scripted close closes as the close
            // box's handler does, without a question.
            auto beforeFrame = [&](int n) {
                PostEvents(events, n, run.Registry());
                if (input.Feed(n, run.Input())) run.View().RequestClose();
            };
            int steps = 0;
            run.StepDone = [&] {
                for (const TScreenshotRequest& shot : o.Screenshots) {
                    if (shot.Frame != steps) continue;
                    try {
                        SaveScreenshot(run.Screen().BackBuffer(), shot.File);
                    } catch (const EVeskError& e) {
                        std::fprintf(stderr, "veskplay: screenshot %s: %s\n", shot.File.c_str(), e.what());
                        status = 2;
                    }
                }
                if (++steps == o.Frames) run.View().RequestClose();
                // The frame thread's steps have no loop of their own to
                // prepare them.
                if (window) beforeFrame(steps);
            };
            if (started) started();
            if (!window) {
                RunFrames(run, o, beforeFrame,
                          [&](int n) { return events.upper_bound(n) != events.end() || input.Pending(); });
            } else if (o.Frames != 0) {
                ShowMainWindow(*window, run.Session().Project()->Settings());
                beforeFrame(0);
                run.View().Run();
            }
        }
        // Closing as the window does: the exit page runs to its end and the
        // status data is written; the variables are dumped as they are then.
        run.Close();
        if (status != 1 && !o.DumpVarsFile.empty() && run.Loaded() &&
            !DumpVariables(run.Session().Vars(), o.DumpVarsFile))
            status = 2;
    }
    if (trace && std::fclose(trace) != 0) status = status ? status : 2;
    return status;
}

int RunHeadlessGame(const TRunOptions& o, TVrFileManager& files, const std::vector<std::string>& args,
                    const std::string& exeFolder, TVeskLog* log, const std::function<void()>& started) {
    return RunGame(o, files, args, exeFolder, log, nullptr, started);
}

int RunHeadless(const TRunOptions& o, const std::string& contentFolder, const std::vector<std::string>& archives) {
    TVrFileManager files;
    files.AddMemoryArchive();
    std::vector<std::string> args;
    if (!contentFolder.empty()) {
        const std::string folder = platform::WithSlash(platform::AbsolutePath(contentFolder));
        files.SetContentFolder(folder);
        args.push_back(folder);
    }
    for (const std::string& a : archives) files.AddArchiveFile(a);
    return RunHeadlessGame(o, files, args, contentFolder, nullptr);
}

}  // namespace vesk
