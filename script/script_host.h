#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/stream.h"

namespace vesk {

// What the interpreter needs from the program around it: the process-wide
// quit flag, the main window, the frame clock, message boxes and the trace
// hook. The player's main window implements it; so do the headless runner
// and the tests.
class TScriptHost {
public:
    virtual ~TScriptHost() = default;

    virtual bool QuitRequested() const = 0;
    virtual void SetQuitRequested(bool flag) = 0;
    // Asks the main window to close (as its close button would).
    virtual void PostClose() = 0;

    // The play clock (sum of accepted frame intervals) and the duration of
    // the last frame, in milliseconds.
    virtual std::uint32_t PlayClock() const = 0;
    virtual std::int32_t LastFrameMs() const = 0;

    // A warning message box (caption "警告", warning icon); Shift-JIS text.
    virtual void ShowWarning(const std::string& text) = 0;

    // The trace hook: present when the log library is loaded.
    virtual bool HasTrace() const { return false; }
    virtual void Trace(const std::string&) {}
};

// Where pages come from: the project answers through the virtual file
// manager, with the disc rules of "page exists".
class TPageSource {
public:
    virtual ~TPageSource() = default;
    virtual bool PageExists(const std::string& name) = 0;
    // The page file's bytes; raises when it cannot be read.
    virtual std::unique_ptr<TStream> OpenPage(const std::string& name) = 0;
    // A page of format below 103 was met: the rebuild message and the
    // program closes. The default only stops the game.
    virtual void PageTooOld(const std::string& name) = 0;
};

}  // namespace vesk
