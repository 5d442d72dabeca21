#include "values/sysvar_sources.h"

namespace vesk {

namespace {

TSysCallSource gNullCall;
TSysInputSource gNullInput;
TSysClockSource gNullClock;
TSysProjectSource gNullProject;
TSysDisplaySource gNullDisplay;
TSysFontSource gNullFonts;
TSysHistorySource gNullHistory;
TSysSoundSource gNullSound;

}  // namespace

TSystemSources::TSystemSources()
    : call_(&gNullCall), input_(&gNullInput), clock_(&gNullClock), project_(&gNullProject),
      display_(&gNullDisplay), fonts_(&gNullFonts), history_(&gNullHistory), sound_(&gNullSound) {}

void TSystemSources::SetCall(TSysCallSource* s) { call_ = s ? s : &gNullCall; }
void TSystemSources::SetInput(TSysInputSource* s) { input_ = s ? s : &gNullInput; }
void TSystemSources::SetClock(TSysClockSource* s) {
    clock_ = s ? s : &gNullClock;
    timeValid_ = false;
}
void TSystemSources::SetProject(TSysProjectSource* s) { project_ = s ? s : &gNullProject; }
void TSystemSources::SetDisplay(TSysDisplaySource* s) { display_ = s ? s : &gNullDisplay; }
void TSystemSources::SetFonts(TSysFontSource* s) { fonts_ = s ? s : &gNullFonts; }
void TSystemSources::SetHistory(TSysHistorySource* s) { history_ = s ? s : &gNullHistory; }
void TSystemSources::SetSound(TSysSoundSource* s) { sound_ = s ? s : &gNullSound; }

const TLocalTime& TSystemSources::LocalTime() {
    const std::int32_t tick = clock_->TickCount();
    if (!timeValid_ || tick != timeTick_) {
        time_ = clock_->Now();
        timeTick_ = tick;
        timeValid_ = true;
    }
    return time_;
}

}  // namespace vesk
