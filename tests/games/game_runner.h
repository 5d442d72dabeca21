#pragma once

#include <map>
#include <string>
#include <vector>

namespace vesk::test {

// What a run of a test game left: its exit status, the dumped variables and
// the trace lines. Events lines are "FRAME SENDER PAGE[:LABEL] [ARG...]".
struct TGameRun {
    int status = -1;
    std::map<std::string, std::string> vars;  // name -> "kind\tvalue..."
    std::vector<std::string> varOrder;
    std::vector<std::string> trace;
    std::string errors;  // the player's standard error (PlayGame only)
};

// Runs the tool; answers its exit status and fills output with what it printed.
int RunTool(const std::string& args, std::string* output = nullptr);
// Builds tests/games/NAME with the vesk tool into a fresh folder.
std::string BuildGame(const std::string& name);

// Builds the game and runs it headless inside the test process.
TGameRun RunGame(const std::string& name, int frames = -1, int stepMs = 16, const std::string& events = {});

// Runs a built game folder with the real player, `veskplay --headless`, as
// a user would; player names the executable (the build's own by default);
// options are further options for it, already quoted for the shell.
TGameRun PlayFolder(const std::string& folder, int frames = -1, int stepMs = 16, const std::string& events = {},
                    const std::string& player = {}, const std::string& options = {});
// Builds the game and plays it with the real player.
TGameRun PlayGame(const std::string& name, int frames = -1, int stepMs = 16, const std::string& events = {},
                  const std::string& options = {});

}  // namespace vesk::test
