#include "script/headless_run.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "common/cp932.h"
#include "common/quit.h"
#include "components/vport.h"
#include "media/veskdll.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "script/game_session.h"

namespace vesk {

namespace {

// The fixed clock of a headless run, the trace file and the log library.
class THeadlessHost final : public TScriptHost {
public:
    THeadlessHost(std::FILE* trace, TVeskLog* log) : trace_(trace), log_(log) {}
    bool QuitRequested() const override { return vesk::QuitRequested.load() != 0; }
    void SetQuitRequested(bool flag) override { vesk::QuitRequested = flag ? 1 : 0; }
    void PostClose() override { closeRequested = true; }
    std::uint32_t PlayClock() const override { return clock; }
    std::int32_t LastFrameMs() const override { return lastFrame; }
    void ShowWarning(const std::string& text) override {
        platform::ShowMessageBox(text, Sj("警告"), platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    }
    bool HasTrace() const override { return trace_ || log_; }
    void Trace(const std::string& line) override {
        if (trace_) {
            std::fwrite(line.data(), 1, line.size(), trace_);
            std::fputc('\n', trace_);
        }
        if (log_) log_->Write(line);
    }

    std::uint32_t clock = 0;
    std::int32_t lastFrame = 0;
    bool closeRequested = false;

private:
    std::FILE* trace_;
    TVeskLog* log_;
};

struct TPostedEvent {
    std::string sender, page;
    std::vector<std::string> args;
};

bool ReadEvents(const std::string& path, std::multimap<int, TPostedEvent>& out) {
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

// The sender of a posted event: the component of that name, or a plain
// object made and named for it.
TObjectId SenderNamed(TVeskBaseList& registry, const std::string& name) {
    if (TVeskObject* obj = registry.FindByName(name)) return obj->Id();
    TVeskObject& obj = registry.Adopt(std::make_unique<TVeskObject>(&registry));
    obj.SetName(name);
    return obj.Id();
}

void PostEvents(const std::multimap<int, TPostedEvent>& events, int frame, TVeskBaseList& registry) {
    auto [first, last] = events.equal_range(frame);
    for (auto it = first; it != last; ++it) {
        TTimerData d;
        d.Page = it->second.page;
        d.Sender = SenderNamed(registry, it->second.sender);
        d.Args = it->second.args;
        registry.EventQueue().Add(std::move(d));
    }
}

}  // namespace

int RunHeadlessGame(const THeadlessOptions& o, TVrFileManager& files, const std::vector<std::string>& args,
                    const std::string& exeFolder, TVeskLog* log, const std::function<void()>& started) {
    std::multimap<int, TPostedEvent> events;
    if (!o.EventsFile.empty() && !ReadEvents(o.EventsFile, events)) return 2;
    std::FILE* trace = nullptr;
    if (!o.TraceFile.empty() && !(trace = std::fopen(o.TraceFile.c_str(), "wb"))) {
        std::fprintf(stderr, "veskplay: cannot write %s\n", o.TraceFile.c_str());
        return 2;
    }

    THeadlessHost host(trace, log);
    TVeskBaseList registry;
    TVeskComponentPort port(registry);
    int status = 0;
    {
        TGameSession game(host, port, files, TProject::Options{args, exeFolder});
        if (!game.Loaded() || host.QuitRequested()) {
            std::fprintf(stderr, "veskplay: the game could not be started\n");
            status = 1;
        } else {
            registry.SetSize(game.Project()->Settings().ScreenWidth, game.Project()->Settings().ScreenHeight);
            if (started) started();
            for (int frame = 0; o.Frames < 0 || frame < o.Frames; ++frame) {
                PostEvents(events, frame, registry);
                host.clock += static_cast<std::uint32_t>(o.StepMs);
                host.lastFrame = o.StepMs;
                game.Step();
                registry.UpdatePass(o.StepMs);
                if (host.QuitRequested() || host.closeRequested) break;
                if (o.Frames < 0 && game.Idle() && events.upper_bound(frame) == events.end()) break;
            }
        }
        // Closing as the window does: the exit page runs to its end and the
        // status data is written; the variables are dumped as they are then.
        game.Close();
        if (status == 0 && !o.DumpVarsFile.empty() && !DumpVariables(game.Vars(), o.DumpVarsFile)) status = 2;
    }
    if (trace && std::fclose(trace) != 0) status = status ? status : 2;
    return status;
}

int RunHeadless(const THeadlessOptions& o, const std::string& contentFolder, const std::vector<std::string>& archives) {
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
