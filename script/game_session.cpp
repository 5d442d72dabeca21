#include "script/game_session.h"

#include "archive/tempfiles.h"
#include "platform/clock.h"

namespace vesk {

TGameSession::TGameSession(TScriptHost& host, TComponentPort& components, TVrFileManager& files,
                           TProject::Options options)
    : host_(host), components_(components), vars_(SystemVariableFactory(sources_)),
      previousGlobal_(TParamCollection::Global()) {
    sources_.SetCall(&call_);
    sources_.SetClock(this);
    sources_.SetProject(this);
    // Compiled operations name their variables; they look them up here.
    TParamCollection::SetGlobal(&vars_);
    try {
        project_ = std::make_unique<TProject>(host_, components_, vars_, files, std::move(options));
    } catch (...) {
        // No destructor runs for a session that was never made.
        TParamCollection::SetGlobal(previousGlobal_);
        throw;
    }
    call_.Bind(project_->CallMan());
}

TGameSession::~TGameSession() {
    Close();
    TParamCollection::SetGlobal(previousGlobal_);
}

void TGameSession::Step() {
    if (!Loaded()) return;
    DeleteTempFiles();
    project_->CallMan()->Step();
    if (host_.QuitRequested()) return;
    ++frames_;
}

bool TGameSession::Idle() const {
    if (!Loaded()) return true;
    const TCallMan& cm = *project_->CallMan();
    return !cm.CurrentPage && cm.State == CS_MAIN && cm.Stack.Empty() &&
           !components_.EventQueue().FirstPending();
}

void TGameSession::Close() {
    if (!project_) return;
    host_.SetQuitRequested(true);
    project_.reset();
    call_.Bind(nullptr);
}

std::int32_t TGameSession::TickCount() { return static_cast<std::int32_t>(host_.PlayClock()); }

TLocalTime TGameSession::Now() {
    const platform::TLocalDateTime t = platform::LocalDateTime();
    TLocalTime local;
    local.Year = t.Year;
    local.Month = t.Month;
    local.Day = t.Day;
    local.Week = t.WeekDay + 1;
    local.Hour = t.Hour;
    local.Min = t.Minute;
    local.Sec = t.Second;
    local.MSec = t.Millisecond;
    return local;
}

std::int32_t TGameSession::PCTickCount() { return static_cast<std::int32_t>(platform::MilliTimer()); }

std::int32_t TGameSession::ScrWidth() { return project_ ? project_->Settings().ScreenWidth : 0; }

std::int32_t TGameSession::ScrHeight() { return project_ ? project_->Settings().ScreenHeight : 0; }

std::string TGameSession::Title() { return project_ ? project_->Settings().Title : std::string(); }

}  // namespace vesk
