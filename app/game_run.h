#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/loopthread.h"
#include "app/screenman.h"
#include "app/view.h"
#include "archive/vrfiles.h"
#include "components/registry/input_state.h"
#include "components/registry/vbaselist.h"
#include "components/registry/vport.h"
#include "platform/clock.h"
#include "platform/headless/headless_window.h"
#include "script/game_session.h"
#include "text/fontpixel_manager.h"

namespace vesk {

class TVeskLog;

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
    // The process's glyph cache, made the text engine's before anything can
    // draw text and withdrawn only after the registry and its components
    // are gone.
    struct TGlyphCacheInstall {
        std::unique_ptr<TFontPixelManager> Cache = std::make_unique<TFontPixelManager>();
        TGlyphCacheInstall() { TFontPixelManager::SetGlobal(Cache.get()); }
        ~TGlyphCacheInstall() { TFontPixelManager::SetGlobal(nullptr); }
        TGlyphCacheInstall(const TGlyphCacheInstall&) = delete;
        TGlyphCacheInstall& operator=(const TGlyphCacheInstall&) = delete;
    } glyphs_;
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

}  // namespace vesk
