#include "tests/games/game_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/headless_run.h"

namespace vesk::test {

namespace fs = std::filesystem;

int RunTool(const std::string& args, std::string* output) {
    const std::string cmd = std::string(VESK_BINARY_DIR) + "/vesk " + args + " 2>&1";
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int status = pclose(p);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string BuildGame(const std::string& name) {
    const fs::path out = fs::temp_directory_path() / ("vesk_games_" + std::to_string(getpid())) / name;
    fs::remove_all(out);
    std::string log;
    const int rc = RunTool("build " + std::string(VESK_SOURCE_DIR) + "/tests/games/" + name + " -o " + out.string(), &log);
    EXPECT_EQ(rc, 0) << log;
    return out.string();
}

static std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

TGameRun RunGame(const std::string& name, int frames, int stepMs, const std::string& events) {
    const std::string folder = BuildGame(name);
    THeadlessOptions o;
    o.ContentFolder = folder;
    o.ExeFolder = folder;
    o.Frames = frames;
    o.StepMs = stepMs;
    o.TraceFile = folder + "/trace.txt";
    o.DumpVarsFile = folder + "/vars.txt";
    if (!events.empty()) {
        o.EventsFile = folder + "/events.txt";
        std::ofstream(o.EventsFile) << events;
    }
    TGameRun r;
    r.status = RunHeadless(o);
    for (const std::string& l : Lines(o.DumpVarsFile)) {
        const auto tab = l.find('\t');
        r.varOrder.push_back(l.substr(0, tab));
        r.vars[l.substr(0, tab)] = tab == std::string::npos ? "" : l.substr(tab + 1);
    }
    r.trace = Lines(o.TraceFile);
    return r;
}

}  // namespace vesk::test
