#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/screenshot.h"
#include "archive/vrfiles.h"
#include "platform/window.h"

namespace vesk {

class TVeskLog;

// How a game run goes. Every option works in a window too, except the
// clock step, which belongs to a run without one (there the frame thread's
// clock rules).
struct TRunOptions {
    int Frames = -1;                    // -1: until the game terminates (headless: or nothing can run)
    int StepMs = 16;                    // headless: the clock step of a frame
    std::string TraceFile;              // interpreter trace lines, Shift-JIS as the log receives them
    std::string DumpVarsFile;           // user variables at the end, UTF-8
    // Events posted into the queue before a frame, one per line:
    // "FRAME SENDER PAGE[:LABEL] [ARG...]" (the sender is created as a plain
    // named object when missing).
    std::string EventsFile;
    // Mouse and key input before the frames it names (app/input_script.h).
    std::string InputFile;
    // The presented frame after the frame step of that number (from 0).
    std::vector<TScreenshotRequest> Screenshots;
};

// Runs the game whose content is registered with files: the project loads
// (args and exeFolder as the player got them), the frames run, and the game
// closes as the main window does. With a window the frame thread drives the
// frame steps until the window closes; without one the frame steps follow
// one another with the fixed clock step. Trace lines go to the trace file
// and, when log is given, to the log library. Answers the process exit
// status: 0 when the game ran, 1 when the project could not be loaded (the
// message went to standard error), 2 for files that cannot be read or
// written. started runs once the project has loaded, before the first frame
// (the player's media start-up follows the project's creation).
int RunGame(const TRunOptions& options, TVrFileManager& files, const std::vector<std::string>& args,
            const std::string& exeFolder, TVeskLog* log, platform::TPlatformWindow* window,
            const std::function<void()>& started = {});

// RunGame without a window.
int RunHeadlessGame(const TRunOptions& options, TVrFileManager& files, const std::vector<std::string>& args,
                    const std::string& exeFolder, TVeskLog* log, const std::function<void()>& started = {});

// The same run inside this process with a file manager of its own: the
// content folder (native path) first, then the archives. For tests and
// tools that play a built game without starting the player.
int RunHeadless(const TRunOptions& options, const std::string& contentFolder,
                const std::vector<std::string>& archives = {});

}  // namespace vesk
