#include "script/headless_run.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "archive/vrfiles.h"
#include "common/cp932.h"
#include "common/quit.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "script/call_source.h"
#include "script/plain_port.h"
#include "script/project.h"
#include "values/param_collection.h"
#include "values/sysvars.h"

namespace vesk {

namespace {

// The fixed clock of a headless run and the trace file.
class THeadlessHost final : public TScriptHost {
public:
    explicit THeadlessHost(std::FILE* trace) : trace_(trace) {}
    bool QuitRequested() const override { return vesk::QuitRequested.load() != 0; }
    void SetQuitRequested(bool flag) override { vesk::QuitRequested = flag ? 1 : 0; }
    void PostClose() override { closeRequested = true; }
    std::uint32_t PlayClock() const override { return clock; }
    std::int32_t LastFrameMs() const override { return lastFrame; }
    void ShowWarning(const std::string& text) override {
        platform::ShowMessageBox(text, Sj("警告"), platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    }
    bool HasTrace() const override { return trace_ != nullptr; }
    void Trace(const std::string& line) override {
        std::fwrite(line.data(), 1, line.size(), trace_);
        std::fputc('\n', trace_);
    }

    std::uint32_t clock = 0;
    std::int32_t lastFrame = 0;
    bool closeRequested = false;

private:
    std::FILE* trace_;
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

void DumpVariables(const TParamCollection& vars, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "veskplay: cannot write %s\n", path.c_str());
        return;
    }
    for (int i = 0; i < vars.Count(); ++i) {
        const TParamCollectionItem& item = vars[i];
        if (TParamCollection::IsSystem(item)) continue;
        const TCustomParam& v = item.Value();
        std::fprintf(f, "%s\t%d", SjisToUtf8(item.Name()).c_str(), v.Kind());
        for (int e = 0; e < v.Count(); ++e) std::fprintf(f, "\t%s", SjisToUtf8(v.GetStrAt(e)).c_str());
        std::fputc('\n', f);
    }
    std::fclose(f);
}

class THeadlessClock final : public TSysClockSource {
public:
    explicit THeadlessClock(const THeadlessHost& host) : host_(host) {}
    std::int32_t TickCount() override { return static_cast<std::int32_t>(host_.clock); }
    std::int32_t PCTickCount() override { return static_cast<std::int32_t>(host_.clock); }
    std::int32_t UpdateCount() override { return frames; }
    std::int32_t frames = 0;

private:
    const THeadlessHost& host_;
};

// Nothing can ever run again: no page, no event page, nothing queued.
bool Idle(TCallMan& cm, TComponentPort& port) {
    return !cm.CurrentPage && cm.State == CS_MAIN && cm.Stack.Empty() && !port.EventQueue().FirstPending();
}

}  // namespace

bool ParseHeadlessArgs(const std::vector<std::string>& args, THeadlessOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--headless") continue;
        if (a == "--frames" || a == "--step-ms") {
            if (!value(v)) return std::fprintf(stderr, "veskplay: %s needs a value\n", a.c_str()), false;
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (*end || n < 0 || n > 100000000) return std::fprintf(stderr, "veskplay: bad %s value\n", a.c_str()), false;
            (a == "--frames" ? o.Frames : o.StepMs) = static_cast<int>(n);
        } else if (a == "--trace" || a == "--dump-vars" || a == "--events") {
            std::string& target = a == "--trace" ? o.TraceFile : a == "--dump-vars" ? o.DumpVarsFile : o.EventsFile;
            if (!value(target)) return std::fprintf(stderr, "veskplay: %s needs a file\n", a.c_str()), false;
        } else if (a.rfind("--", 0) == 0) {
            return std::fprintf(stderr, "veskplay: unknown option %s\n", a.c_str()), false;
        } else if (o.ContentFolder.empty() && platform::DirExists(a)) {
            o.ContentFolder = a;
        } else {
            o.Archives.push_back(a);
        }
    }
    return true;
}

int RunHeadless(const THeadlessOptions& o) {
    std::multimap<int, TPostedEvent> events;
    if (!o.EventsFile.empty() && !ReadEvents(o.EventsFile, events)) return 2;
    std::FILE* trace = nullptr;
    if (!o.TraceFile.empty() && !(trace = std::fopen(o.TraceFile.c_str(), "wb"))) {
        std::fprintf(stderr, "veskplay: cannot write %s\n", o.TraceFile.c_str());
        return 2;
    }

    THeadlessHost host(trace);
    TPlainComponentPort port;
    TSystemSources sources;
    THeadlessClock clock(host);
    TCallManSource call;
    sources.SetClock(&clock);
    sources.SetCall(&call);
    TParamCollection vars(SystemVariableFactory(sources));
    TParamCollection* previous = TParamCollection::Global();
    TParamCollection::SetGlobal(&vars);
    TVrFileManager files;
    files.AddMemoryArchive();
    if (!o.ContentFolder.empty()) files.SetContentFolder(platform::AbsolutePath(o.ContentFolder));
    for (const std::string& a : o.Archives) files.AddArchiveFile(a);

    THeadlessOptions opts = o;
    if (opts.ExeFolder.empty()) opts.ExeFolder = platform::FolderOf(platform::ExecutablePath());
    std::vector<std::string> args;
    if (!o.ContentFolder.empty()) args.push_back(platform::WithSlash(platform::AbsolutePath(o.ContentFolder)));

    int status = 0;
    {
        auto project = std::make_unique<TProject>(host, port, vars, files, TProject::Options{args, opts.ExeFolder});
        if (!project->Loaded() || host.QuitRequested()) {
            status = 1;
        } else {
            TCallMan& cm = *project->CallMan();
            call.Bind(&cm);
            for (int frame = 0; o.Frames < 0 || frame < o.Frames; ++frame) {
                auto [first, last] = events.equal_range(frame);
                for (auto it = first; it != last; ++it) {
                    TTimerData d;
                    d.Page = it->second.page;
                    d.Sender = port.AddObject(it->second.sender);
                    d.Args = it->second.args;
                    port.EventQueue().Add(std::move(d));
                }
                host.clock += static_cast<std::uint32_t>(o.StepMs);
                host.lastFrame = o.StepMs;
                cm.Step();
                ++clock.frames;
                if (host.QuitRequested() || host.closeRequested) break;
                if (o.Frames < 0 && Idle(cm, port) && events.upper_bound(frame) == events.end()) break;
            }
            // Closing as the window does: the exit page runs to its end.
            host.SetQuitRequested(true);
        }
        project.reset();
        call.Bind(nullptr);
    }
    if (!o.DumpVarsFile.empty() && status == 0) DumpVariables(vars, o.DumpVarsFile);
    if (trace) std::fclose(trace);
    TParamCollection::SetGlobal(previous);
    return status;
}

}  // namespace vesk
