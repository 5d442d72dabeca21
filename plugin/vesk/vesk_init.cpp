// Start-up and finalisation of the media plug-in library. The media entry
// points (Ogg, WAV, Windows Media audio, video) build on the player's
// callbacks kept here.

#include <mutex>

#include "plugin/vesk/vesk_api.h"
#include "plugin/vesk/vesk_state.h"

namespace vesk::plugin {

TPluginState& State() {
    static TPluginState state;
    return state;
}

std::mutex& StateLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace vesk::plugin

using vesk::plugin::State;
using vesk::plugin::StateLock;

extern "C" {

int32_t veskVersion(void) { return VESK_PLUGIN_VERSION; }

int32_t veskInit(void* const* mainWindow, void* const* panel, void* instance, void** soundDevice,
                 TVeskFreeObject freeObject, TVeskStreamRead streamRead,
                 TVeskStreamGetPosition streamGetPosition, TVeskStreamSetPosition streamSetPosition,
                 TVeskSaveFpuWord saveFpu, TVeskRestoreFpuWord restoreFpu, int32_t /*reserved*/) {
    // Every stream callback is needed to read the player's data; without one
    // the library could only fail later, inside a decoder thread.
    if (!freeObject || !streamRead || !streamGetPosition || !streamSetPosition) return 0;
    std::lock_guard<std::mutex> guard(StateLock());
    auto& s = State();
    if (s.initialised) return 0;  // once per veskFinal
    s.mainWindow = mainWindow;
    s.panel = panel;
    s.instance = instance;
    s.soundDevice = soundDevice;
    s.freeObject = freeObject;
    s.streamRead = streamRead;
    s.streamGetPosition = streamGetPosition;
    s.streamSetPosition = streamSetPosition;
    s.saveFpu = saveFpu;
    s.restoreFpu = restoreFpu;
    s.initialised = true;
    return 1;
}

void veskFinal(void) {
    std::lock_guard<std::mutex> guard(StateLock());
    State() = {};
}

}  // extern "C"
