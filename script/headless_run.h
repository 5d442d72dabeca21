#pragma once

#include <functional>
#include <string>
#include <vector>

#include "archive/vrfiles.h"

namespace vesk {

class TVeskLog;

// A run of the game without window or sound: the frame step with a fixed
// clock step, until a number of frames or until the game ends.
struct THeadlessOptions {
    int Frames = -1;                    // -1: until the game terminates or nothing can run
    int StepMs = 16;
    std::string TraceFile;              // interpreter trace lines, Shift-JIS as the log receives them
    std::string DumpVarsFile;           // user variables at the end, UTF-8
    // Events posted into the queue before a frame, one per line:
    // "FRAME SENDER PAGE[:LABEL] [ARG...]" (the sender is created as a plain
    // named object when missing).
    std::string EventsFile;
};

// Runs the game whose content is registered with files: the project loads
// (args and exeFolder as the player got them), the frames run, and the game
// closes as the main window does. Trace lines go to the trace file and, when
// log is given, to the log library. Answers the process exit status: 0 when
// the game ran, 1 when the project could not be loaded (the message went to
// standard error), 2 for files that cannot be read or written. started runs
// once the project has loaded, before the first frame (the player's media
// start-up follows the project's creation).
int RunHeadlessGame(const THeadlessOptions& options, TVrFileManager& files,
                    const std::vector<std::string>& args, const std::string& exeFolder, TVeskLog* log,
                    const std::function<void()>& started = {});

// The same run inside this process with a file manager of its own: the
// content folder (native path) first, then the archives. For tests and
// tools that play a built game without starting the player.
int RunHeadless(const THeadlessOptions& options, const std::string& contentFolder,
                const std::vector<std::string>& archives = {});

}  // namespace vesk
