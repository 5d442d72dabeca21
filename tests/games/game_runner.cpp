#include "tests/games/game_runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/game_driver.h"

namespace vesk::test {

namespace fs = std::filesystem;

namespace {

// Runs a shell command; answers its exit status and what it printed.
int Shell(const std::string& cmd, std::string* output) {
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int status = pclose(p);
    if (output) *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> out;
    std::ifstream in(path);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// The dump and trace files of a run in folder.
void ReadResults(const std::string& folder, TGameRun& r) {
    for (const std::string& l : Lines(folder + "/vars.txt")) {
        const auto tab = l.find('\t');
        r.varOrder.push_back(l.substr(0, tab));
        r.vars[l.substr(0, tab)] = tab == std::string::npos ? "" : l.substr(tab + 1);
    }
    r.trace = Lines(folder + "/trace.txt");
}

std::string WriteEvents(const std::string& folder, const std::string& events) {
    if (events.empty()) return {};
    const std::string path = folder + "/events.txt";
    std::ofstream(path) << events;
    return path;
}

}  // namespace

int RunTool(const std::string& args, std::string* output) {
    return Shell(std::string(VESK_BINARY_DIR) + "/vesk " + args + " 2>&1", output);
}

std::string BuildGame(const std::string& name) {
    const fs::path out = fs::temp_directory_path() / ("vesk_games_" + std::to_string(getpid())) / name;
    fs::remove_all(out);
    std::string log;
    const int rc = RunTool("build " + std::string(VESK_SOURCE_DIR) + "/tests/games/" + name + " -o " + out.string(), &log);
    EXPECT_EQ(rc, 0) << log;
    return out.string();
}

TGameRun RunGame(const std::string& name, int frames, int stepMs, const std::string& events) {
    const std::string folder = BuildGame(name);
    TRunOptions o;
    o.Frames = frames;
    o.StepMs = stepMs;
    o.TraceFile = folder + "/trace.txt";
    o.DumpVarsFile = folder + "/vars.txt";
    o.EventsFile = WriteEvents(folder, events);
    TGameRun r;
    r.status = RunHeadless(o, folder);
    ReadResults(folder, r);
    return r;
}

TGameRun PlayFolder(const std::string& folder, int frames, int stepMs, const std::string& events,
                    const std::string& player, const std::string& options) {
    fs::remove(folder + "/vars.txt");
    fs::remove(folder + "/trace.txt");
    std::string cmd = Quoted(player.empty() ? std::string(VESK_BINARY_DIR) + "/veskplay" : player) + " --headless";
    if (frames >= 0) cmd += " --frames " + std::to_string(frames);
    cmd += " --step-ms " + std::to_string(stepMs);
    cmd += " --trace " + Quoted(folder + "/trace.txt") + " --dump-vars " + Quoted(folder + "/vars.txt");
    const std::string eventsFile = WriteEvents(folder, events);
    if (!eventsFile.empty()) cmd += " --events " + Quoted(eventsFile);
    if (!options.empty()) cmd += " " + options;
    // Standard output only carries the start-up report; standard error is
    // what a test looks at.
    cmd += " " + Quoted(folder) + " 2>&1 >/dev/null";
    TGameRun r;
    r.status = Shell(cmd, &r.errors);
    ReadResults(folder, r);
    return r;
}

TGameRun PlayGame(const std::string& name, int frames, int stepMs, const std::string& events,
                  const std::string& options) {
    return PlayFolder(BuildGame(name), frames, stepMs, events, {}, options);
}

}  // namespace vesk::test
