#pragma once

#include <mutex>

#include "plugin/vesk/vesk_api.h"

namespace vesk::plugin {

// What veskInit was given: the window handles (by reference, since the
// player hands them again after a display switch), the sound device slot
// and the player's stream callbacks.
struct TPluginState {
    bool initialised = false;
    void* const* mainWindow = nullptr;
    void* const* panel = nullptr;
    void* instance = nullptr;
    void** soundDevice = nullptr;
    TVeskFreeObject freeObject = nullptr;
    TVeskStreamRead streamRead = nullptr;
    TVeskStreamGetPosition streamGetPosition = nullptr;
    TVeskStreamSetPosition streamSetPosition = nullptr;
    TVeskSaveFpuWord saveFpu = nullptr;
    TVeskRestoreFpuWord restoreFpu = nullptr;
};

TPluginState& State();
std::mutex& StateLock();

}  // namespace vesk::plugin
