#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/registry/input_state.h"
#include "app/loopthread.h"
#include "app/screenman.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace vesk {

// What the frame step drives: the registry, the interpreter and the
// presentation plug in here; an empty hook does nothing.
struct TFrameHooks {
    std::function<bool()> HasProject;        // empty: there is a project
    std::function<void()> StartOfFrame;      // the registry's input pass, after the input is latched
    std::function<void()> Interpreter;       // one frame of the script interpreter
    std::function<void()> Update;            // the components' update pass
    std::function<bool()> PerformLoadSave;   // true when a game load was performed
    std::function<void(TScreenManager&)> Draw;  // composes into the back buffer, marks changed rects
    std::function<void()> Presented;         // after the flip: the drawn regions are clean again
    std::function<void()> StepDone;          // after every frame step, whichever way it ended
    std::function<bool()> PauseWhenInactive; // the project's flag; empty: false
    std::function<std::string()> Title;      // the project title (Shift-JIS)
};

// The main window: the window's events into the input state, the quit
// question, full-screen switching, activation with pause-when-inactive, and
// the frame step that the frame thread has run on the main thread.
class TFormView {
public:
    TFormView(platform::TPlatformWindow& window, TScreenManager& screen, TInputState& input,
              TFrameTiming& timing, TFrameHooks hooks, platform::TClock& clock);
    ~TFormView();

    // One frame step, in its order.
    void FrameStep();
    // The window closes as its close handler does, without a question (the
    // game terminated, a scripted close, the frame limit of a test run).
    void RequestClose() { closeRequested_ = true; }
    // Handles one window event.
    void HandleEvent(const platform::TPlatformEvent& event);
    // The quit question; true when the player chose to end (a close is
    // then pending).
    bool AskQuit();
    // Toggles between windowed and full screen; false when full screen was
    // refused or fell back to windowed.
    bool ToggleFullScreen();

    // Runs the frame thread and the message loop until the window closes.
    void Run();
    // The frame thread (started by Run; exposed for tests).
    TLoopThread& Loop() { return *loop_; }
    bool CloseRequested() const { return closeRequested_; }
    bool SplashDone() const { return splashDone_; }
    // The game starts without the splash: its script runs from the first
    // frame step.
    void SkipSplash() { splashDone_ = true; }

private:
    void SplashStep();
    void Step();

    platform::TPlatformWindow& window_;
    TScreenManager& screen_;
    TInputState& input_;
    TFrameTiming& timing_;
    TFrameHooks hooks_;
    platform::TClock& clock_;
    std::unique_ptr<TLoopThread> loop_;

    bool switching_ = false;  // a display change is in progress: no frame steps
    bool splashDone_ = false;
    bool closeRequested_ = false;
    bool paused_ = false;
    std::int32_t skipDraw_ = 0;
};

// The quit question's text for a project title (Shift-JIS): Japanese under
// a Japanese locale, else English.
std::string QuitQuestion(const std::string& sjisTitle, bool japanese);

}  // namespace vesk
