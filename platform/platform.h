#pragma once

#include <memory>
#include <string>

#include "platform/msgbox.h"

// The desktop services the engine sees. One backend is installed per
// process: SDL for a player on a desktop, headless for tests, tools and
// scripted runs. The window, its events and the audio device join this
// interface with the main window and the media managers.
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
};

// The installed backend. Until one is installed the headless backend with
// its default answers serves, so tools and tests never meet a missing one.
TPlatform& Platform();

// Makes platform the process's backend (ShowMessageBox goes to it) and
// returns the previous one; nullptr goes back to the default.
std::unique_ptr<TPlatform> InstallPlatform(std::unique_ptr<TPlatform> platform);

}  // namespace vesk::platform
