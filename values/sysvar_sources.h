#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "values/params.h"

namespace vesk {

// What the system variables read from the subsystems that own the state.
// Each owner implements its interface and hands it to TSystemSources; until
// it does, the null behaviour here answers 0, false or "" and ignores
// writes, so the variables are always readable.

// The running page call (interpreter).
class TSysCallSource {
public:
    virtual ~TSysCallSource() = default;
    // The result value of the top call frame, or nullptr when there is none.
    virtual TCustomParam* Result() { return nullptr; }
    // The result kind declared by the running page; 0 when none.
    virtual std::uint8_t ResultKind() {
        TCustomParam* r = Result();
        return r ? r->Kind() : PT_NONE;
    }
    virtual int ParamCount() { return 0; }
    // Parameter i (0-based) of the current call; only asked for 0 <= i < ParamCount.
    virtual std::string ParamStr(int) { return {}; }
    // Name of the component whose event started the current call; "" when
    // none or when it no longer exists.
    virtual std::string Sender() { return {}; }
};

// Mouse and keyboard state of the current input screen.
class TSysInputSource {
public:
    virtual ~TSysInputSource() = default;
    virtual bool LClick() { return false; }
    virtual void SetLClick(bool) {}
    virtual bool RClick() { return false; }
    virtual void SetRClick(bool) {}
    // Held and not suppressed by the screen's input-ignore setting.
    virtual bool LPush() { return false; }
    virtual bool RPush() { return false; }
    // Game-screen coordinates; setting one moves the system cursor.
    virtual std::int32_t MouseX() { return 0; }
    virtual std::int32_t MouseY() { return 0; }
    virtual void SetMouseX(std::int32_t) {}
    virtual void SetMouseY(std::int32_t) {}
    // k < 256: virtual-key code; 256 wheel down; 257 wheel up. Only asked
    // for 0 <= k < 258.
    virtual bool KeyPush(int) { return false; }
    virtual bool KeyClick(int) { return false; }
    virtual bool KeyRepeat(int) { return false; }
    virtual bool WheelDown() { return false; }
    virtual bool WheelUp() { return false; }
    // The component holding the input focus; setting it moves the focus
    // when a component of that name can take it.
    virtual std::string ActiveCompo() { return {}; }
    virtual void SetActiveCompo(const std::string&) {}
};

// Local wall-clock time as the date variables show it.
struct TLocalTime {
    std::int32_t Year = 1899, Month = 12, Day = 30;
    std::int32_t Week = 7;  // 1 = Sunday … 7 = Saturday
    std::int32_t Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

// Clocks of the frame loop and the system.
class TSysClockSource {
public:
    virtual ~TSysClockSource() = default;
    // Game clock in milliseconds (gaps of 300 ms or more not counted).
    virtual std::int32_t TickCount() { return 0; }
    // The system millisecond timer.
    virtual std::int32_t PCTickCount() { return 0; }
    // Frame steps since start.
    virtual std::int32_t UpdateCount() { return 0; }
    // The current local time; without a clock, the day the date values
    // count from.
    virtual TLocalTime Now() { return {}; }
};

// Settings of the loaded project.
class TSysProjectSource {
public:
    virtual ~TSysProjectSource() = default;
    virtual std::int32_t ScrWidth() { return 0; }
    virtual std::int32_t ScrHeight() { return 0; }
    virtual std::string Title() { return {}; }
};

// Screen manager and image settings.
class TSysDisplaySource {
public:
    virtual ~TSysDisplaySource() = default;
    virtual bool FullScreen() { return false; }
    virtual void SetFullScreen(bool) {}
    virtual std::int32_t DisplayModeCount() { return 0; }
    virtual std::int32_t DisplayModeIndex() { return 0; }
    // Stores the selection; in full screen, switches when it differs.
    virtual void SetDisplayModeIndex(std::int32_t) {}
    virtual bool CGDither() { return false; }
    // Changes the setting and redraws both screens when it changes.
    virtual void SetCGDither(bool) {}
};

// Installed font faces.
class TSysFontSource {
public:
    virtual ~TSysFontSource() = default;
    // Face names, in any order; only fixed-pitch faces when asked.
    virtual std::vector<std::string> FaceNames(bool /*fixedPitchOnly*/) { return {}; }
};

// The default message history.
class TSysHistorySource {
public:
    virtual ~TSysHistorySource() = default;
    // Entries, or total height in pixels for a history kept laid out.
    virtual std::int32_t HistoryCount() { return 0; }
    virtual std::int32_t HistoryMaxCount() { return 0; }
    // Takes effect at the history's next commit.
    virtual void SetHistoryMaxCount(std::int32_t) {}
};

// Sound output and MIDI ports.
class TSysSoundSource {
public:
    virtual ~TSysSoundSource() = default;
    virtual bool SoundOn() { return false; }
    // Passes the new state to every media manager.
    virtual void SetSoundOn(bool) {}
    virtual std::string MidiPort() { return {}; }
    virtual void SetMidiPort(const std::string&) {}
    virtual int MidiPortCount() { return 0; }
    // Only asked for 0 <= i < MidiPortCount.
    virtual std::string MidiPortName(int) { return {}; }
};

// Where the system variables look. Members point at the owners' sources;
// each starts at a null source. The object must outlive the variable table
// whose system variables it serves.
class TSystemSources {
public:
    TSystemSources();
    TSystemSources(const TSystemSources&) = delete;
    TSystemSources& operator=(const TSystemSources&) = delete;

    // Setting nullptr restores the null source.
    void SetCall(TSysCallSource* s);
    void SetInput(TSysInputSource* s);
    void SetClock(TSysClockSource* s);
    void SetProject(TSysProjectSource* s);
    void SetDisplay(TSysDisplaySource* s);
    void SetFonts(TSysFontSource* s);
    void SetHistory(TSysHistorySource* s);
    void SetSound(TSysSoundSource* s);

    TSysCallSource& Call() const { return *call_; }
    TSysInputSource& Input() const { return *input_; }
    TSysClockSource& Clock() const { return *clock_; }
    TSysProjectSource& Project() const { return *project_; }
    TSysDisplaySource& Display() const { return *display_; }
    TSysFontSource& Fonts() const { return *fonts_; }
    TSysHistorySource& History() const { return *history_; }
    TSysSoundSource& Sound() const { return *sound_; }

    // The local time that the date variables and the built-in date
    // functions share: read again only when the game clock has moved since
    // the last read, so every read within one frame step agrees.
    const TLocalTime& LocalTime();

private:
    TSysCallSource* call_;
    TSysInputSource* input_;
    TSysClockSource* clock_;
    TSysProjectSource* project_;
    TSysDisplaySource* display_;
    TSysFontSource* fonts_;
    TSysHistorySource* history_;
    TSysSoundSource* sound_;

    TLocalTime time_;
    std::int32_t timeTick_ = 0;
    bool timeValid_ = false;
};

}  // namespace vesk
