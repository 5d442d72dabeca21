#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "platform/midi_port.h"
#include "platform/msgbox.h"
#include "platform/window.h"

// The desktop services the engine sees. One backend is installed per
// process: SDL for a player on a desktop, headless for tests, tools and
// scripted runs.
namespace vesk::platform {

class TPlatform {
public:
    virtual ~TPlatform() = default;

    virtual const char* Name() const = 0;

    // Whether a person answers the message boxes. Prompts that repeat until
    // the user acts (insert the disc, retry) try only once otherwise.
    virtual bool Interactive() const = 0;

    // Shows a modal message box; texts are Shift-JIS.
    virtual MsgResult MessageBox(const std::string& text, const std::string& caption,
                                 MsgButtons buttons, MsgIcon icon) = 0;

    // A hidden main window for a game screen of that size, or nullptr when
    // there is no display to open one on (the player then runs headless).
    virtual std::unique_ptr<TPlatformWindow> CreateMainWindow(int /*gameWidth*/, int /*gameHeight*/) {
        return nullptr;
    }

    // The sound output, playing format and pulled through fill; it opens
    // paused. nullptr, with the reason in *error when given, when no device
    // can be opened. A format outside its ranges or an empty fill raises
    // std::invalid_argument. The default is the null device.
    std::unique_ptr<TAudioDevice> OpenAudioDevice(const TAudioFormat& format, TAudioFill fill,
                                                  std::string* error = nullptr);

    // The names (Shift-JIS) of the MIDI output ports one can choose, in the
    // system's order. None by default.
    virtual std::vector<std::string> MidiPorts() { return {}; }

    // Opens entry index of MidiPorts(), or for -1 the platform's default
    // port (the one the sequencer's "MIDI mapper" stands for). nullptr, with
    // the reason in *error when given, for an index outside the list or a
    // port that cannot be opened.
    std::unique_ptr<TMidiPort> OpenMidiPort(int index, std::string* error = nullptr);

protected:
    // The backends' halves of the two above, called with checked arguments:
    // a valid format and a fill, an index of -1 or within MidiPorts(). By
    // default every port is the null port.
    virtual std::unique_ptr<TAudioDevice> OpenCheckedAudioDevice(const TAudioFormat& format, TAudioFill fill,
                                                                 std::string* error);
    virtual std::unique_ptr<TMidiPort> OpenCheckedMidiPort(int index, std::string* error);
};

// The installed backend. Until one is installed the headless backend with
// its default answers serves, so tools and tests never meet a missing one.
TPlatform& Platform();

// Makes platform the process's backend (ShowMessageBox goes to it) and
// returns the previous one; nullptr goes back to the default.
std::unique_ptr<TPlatform> InstallPlatform(std::unique_ptr<TPlatform> platform);

}  // namespace vesk::platform
