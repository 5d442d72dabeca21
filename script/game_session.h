#pragma once

#include <memory>
#include <string>
#include <vector>

#include "archive/vrfiles.h"
#include "components/registry/scriptport.h"
#include "script/call_source.h"
#include "script/project.h"
#include "script/script_host.h"
#include "values/param_collection.h"
#include "values/sysvars.h"

namespace vesk {

// The game of one player run, as the main window holds it: the variable
// table with its system variables, the project, and the frame step. It is
// created once the content is registered with the file manager; creating it
// loads the project (locating the data, reading the project file, restoring
// the status data, opening the start page). Closing frees the project in the
// close handler's order: the exit page runs to its end, the status data is
// written, then the variable table goes.
class TGameSession final : private TSysClockSource, private TSysProjectSource {
public:
    TGameSession(TScriptHost& host, TComponentPort& components, TVrFileManager& files,
                 TProject::Options options);
    ~TGameSession() override;

    TGameSession(const TGameSession&) = delete;
    TGameSession& operator=(const TGameSession&) = delete;

    // False when the project could not load; the quit flag is then set.
    bool Loaded() const { return project_ && project_->Loaded(); }

    // One frame step after the clock has advanced: the temporary files go,
    // the interpreter runs its frame, the frame counter counts it.
    void Step();
    // Nothing can ever run again: no page, no event page, nothing queued.
    bool Idle() const;
    // The exit page and the status data; later calls do nothing.
    void Close();

    TParamCollection& Vars() { return vars_; }
    // What the system variables read; the player hands in the input state
    // and the screen manager after it has made them (before that they read
    // as nothing there).
    TSystemSources& Sources() { return sources_; }
    TProject* Project() const { return project_.get(); }
    std::int32_t FrameCount() const { return frames_; }

private:
    // What the clock and project system variables read.
    std::int32_t TickCount() override;
    std::int32_t PCTickCount() override;
    std::int32_t UpdateCount() override { return frames_; }
    TLocalTime Now() override;
    std::int32_t ScrWidth() override;
    std::int32_t ScrHeight() override;
    std::string Title() override;

    TScriptHost& host_;
    TComponentPort& components_;
    TSystemSources sources_;
    TCallManSource call_;
    TParamCollection vars_;
    TParamCollection* previousGlobal_;
    std::unique_ptr<TProject> project_;
    std::int32_t frames_ = 0;
};

}  // namespace vesk
