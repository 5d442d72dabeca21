#pragma once

#include <map>
#include <string>
#include <vector>

namespace vesk::test {

// Builds tests/games/NAME with the vesk tool into a fresh folder and runs it
// headless. Events lines are "FRAME SENDER PAGE[:LABEL] [ARG...]".
struct TGameRun {
    int status = -1;
    std::map<std::string, std::string> vars;  // name -> "kind\tvalue..."
    std::vector<std::string> varOrder;
    std::vector<std::string> trace;
};

// Runs the tool; answers its exit status and fills output with what it printed.
int RunTool(const std::string& args, std::string* output = nullptr);
std::string BuildGame(const std::string& name);
TGameRun RunGame(const std::string& name, int frames = -1, int stepMs = 16, const std::string& events = {});

}  // namespace vesk::test
