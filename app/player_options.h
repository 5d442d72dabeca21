#pragma once

#include <string>
#include <vector>

#include "app/screenshot.h"
#include "platform/headless/headless_platform.h"

namespace vesk {

// The player's command line: its own options first, then the arguments of
// the game (a content folder, an archive file, or "/config"). "--" ends the
// options, so a folder whose name begins with "--" can still be given.
struct TPlayerOptions {
    bool headless = false;
    std::vector<platform::THeadlessAnswer> answers;  // --answer
    int frames = -1;                                 // --frames N, -1: until the game ends
    int stepMs = 16;                                 // --step-ms MS: headless clock step per frame
    std::string traceFile;                           // --trace FILE
    std::string dumpVarsFile;                        // --dump-vars FILE
    std::string eventsFile;                          // --events FILE
    std::string inputFile;                           // --input FILE (headless)
    std::vector<TScreenshotRequest> screenshots;     // --screenshot F:FILE
    bool help = false;
    std::vector<std::string> arguments;              // the game's arguments
};

// Parses argv without the program name. Raises EVeskError with a message
// for an unknown option or a malformed value.
TPlayerOptions ParsePlayerOptions(const std::vector<std::string>& argv);

// The usage text for --help and for a wrong command line.
const char* PlayerUsage();

// True when the first argument asks for the settings dialog: "/config" in
// any letter case.
bool IsConfigArgument(const std::vector<std::string>& arguments);

}  // namespace vesk
