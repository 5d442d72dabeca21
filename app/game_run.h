#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/loopthread.h"
#include "app/screenman.h"
#include "app/screenshot.h"
#include "app/view.h"
#include "archive/vrfiles.h"
#include "components/input_state.h"
#include "components/vbaselist.h"
#include "components/vport.h"
#include "platform/clock.h"
#include "platform/headless/headless_window.h"
#include "script/game_session.h"

namespace vesk {

class TVeskLog;

// How a game run goes. Every option works in a window too, except the
// clock step, which belongs to a run without one (there the frame thread's
// clock rules).
struct THeadlessOptions {
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

// The game objects of one player run, built once whether the game runs in a
// window or headless: the registry sized to the project's screen, the
// component port over it, the game session (variable table, project), the
// input state that the window's handlers feed and the system variables and
// the registry read, the screen manager, and the main window's frame step.
// Creating it loads the project; destroying it closes the game in the close
// handler's order (frame thread, project with its exit page and status data,
// variable table, registry, screen manager).
class TGameRun final : private TScriptHost {
public:
    // window is the main window; nullptr for a run without a display. trace
    // (may be null) receives the trace lines, as does log when given.
    TGameRun(TVrFileManager& files, TProject::Options options, platform::TPlatformWindow* window,
             std::FILE* trace, TVeskLog* log);
    ~TGameRun() override;
    TGameRun(const TGameRun&) = delete;
    TGameRun& operator=(const TGameRun&) = delete;

    // False when the project could not load (or did not leave the quit flag
    // clear); nothing else exists then.
    bool Loaded() const { return view_ != nullptr; }

    // Only when Loaded.
    TFormView& View() { return *view_; }
    TScreenManager& Screen() { return *screen_; }
    TGameSession& Session() { return *session_; }
    TVeskBaseList& Registry() { return registry_; }
    TInputState& Input() { return input_; }
    TFrameTiming& Timing() { return timing_; }

    // Called after every frame step (screenshots, frame limits).
    std::function<void()> StepDone;

    // The window's close handler for the game: the frame thread stops, the
    // exit page runs to its end and the status data is written. Later
    // calls do nothing.
    void Close();

private:
    // ---- TScriptHost: the quit flag, the frame clock, the trace. ----
    bool QuitRequested() const override;
    void SetQuitRequested(bool flag) override;
    void PostClose() override;
    std::uint32_t PlayClock() const override { return timing_.PlayClock.load(); }
    std::int32_t LastFrameMs() const override { return static_cast<std::int32_t>(timing_.LastFrameMs.load()); }
    void ShowWarning(const std::string& text) override;
    bool HasTrace() const override { return trace_ || log_; }
    void Trace(const std::string& line) override;

    TFrameHooks Hooks();

    std::FILE* trace_;
    TVeskLog* log_;
    platform::TSystemClock clock_;
    TFrameTiming timing_;
    TInputState input_;
    platform::THeadlessWindow headlessWindow_;
    // Declared so that they go in the shutdown order: the session (project,
    // then variable table) before the registry, the registry before the
    // screen manager.
    std::unique_ptr<TScreenManager> screen_;
    TVeskBaseList registry_;
    TVeskComponentPort port_{registry_};
    std::unique_ptr<TGameSession> session_;
    std::unique_ptr<TFormView> view_;
    bool closePosted_ = false;  // a close asked for before the window existed
};

// The registry's parts of the main window's frame step: its input pass
// after the input is latched, its update pass, its drawing composed into the
// screen manager's back buffer, its dirty lists emptied after the flip.
// Elapsed times are the timing's last frame.
TFrameHooks RegistryFrameHooks(TVeskBaseList& registry, const TFrameTiming& timing);

// The draw part of the frame step: the registry draws, and the regions of
// the active base that changed are copied from its surface into the screen
// manager's back buffer and marked for the next presentation. A registry
// that has not drawn yet (no surface) changes nothing.
void ComposeFrame(TVeskBaseList& registry, TScreenManager& screen);

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
int RunGame(const THeadlessOptions& options, TVrFileManager& files, const std::vector<std::string>& args,
            const std::string& exeFolder, TVeskLog* log, platform::TPlatformWindow* window,
            const std::function<void()>& started = {});

// RunGame without a window.
int RunHeadlessGame(const THeadlessOptions& options, TVrFileManager& files, const std::vector<std::string>& args,
                    const std::string& exeFolder, TVeskLog* log, const std::function<void()>& started = {});

// The same run inside this process with a file manager of its own: the
// content folder (native path) first, then the archives. For tests and
// tools that play a built game without starting the player.
int RunHeadless(const THeadlessOptions& options, const std::string& contentFolder,
                const std::vector<std::string>& archives = {});

}  // namespace vesk
