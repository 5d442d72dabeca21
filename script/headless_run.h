#pragma once

#include <string>
#include <vector>

namespace vesk {

// A run of the player without window or sound: the frame step with a fixed
// clock step, until a number of frames or until the game ends.
struct THeadlessOptions {
    std::string ContentFolder;          // native path; empty: beside the executable
    std::vector<std::string> Archives;  // further archives to register
    std::string ExeFolder;              // where install.dat and game.dat are looked for
    int Frames = -1;                    // -1: until the game terminates or nothing can run
    int StepMs = 16;
    std::string TraceFile;              // interpreter trace lines
    std::string DumpVarsFile;           // user variables at the end, UTF-8
    // Events posted into the queue before a frame, one per line:
    // "FRAME SENDER PAGE[:LABEL] [ARG...]" (the sender is created as a plain
    // named object when missing).
    std::string EventsFile;
};

// Runs the game; answers the process exit status: 0 when the game ran, 1 when
// the project could not be loaded (its message went to standard error), 2
// for bad options or files.
int RunHeadless(const THeadlessOptions& options);

// Parses "--frames N --step-ms MS --trace FILE --dump-vars FILE --events FILE
// [content folder] [archives...]"; answers false with a message on stderr.
bool ParseHeadlessArgs(const std::vector<std::string>& args, THeadlessOptions& options);

}  // namespace vesk
