#pragma once

#include <memory>
#include <string>

#include "platform/msgbox.h"
#include "platform/window.h"

// The desktop services the engine sees. One backend is installed per
// process: SDL for a player on a desktop, headless for tests, tools and
// scripted runs. The audio device joins this interface with the media
// managers.
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
};

// The installed backend. Until one is installed the headless backend with
// its default answers serves, so tools and tests never meet a missing one.
TPlatform& Platform();

// Makes platform the process's backend (ShowMessageBox goes to it) and
// returns the previous one; nullptr goes back to the default.
std::unique_ptr<TPlatform> InstallPlatform(std::unique_ptr<TPlatform> platform);

}  // namespace vesk::platform
