#pragma once

#include <memory>
#include <string>

#include "common/stream.h"
#include "platform/library.h"
#include "plugin/vesk/vesk_api.h"

namespace vesk {

// The media plug-in library, bound by name from the player's folder. The
// library keeps the player's callbacks from veskInit to veskFinal.
class TVeskDll {
public:
    static constexpr const char* kFileName = "libvesk.so";
    static constexpr int kVersion = VESK_PLUGIN_VERSION;

    // Binds the library in folder. When it is missing (or cannot be loaded)
    // or is of another version, shows the failure box and returns nullptr;
    // the player then ends.
    static std::unique_ptr<TVeskDll> Bind(const std::string& folder);

    // veskInit with the window and panel handles and the player's stream
    // callbacks; once, before any media manager. False when the library
    // refuses.
    bool Init(void* mainWindow, void* panel);
    // The handles again after a display switch; the library holds them by
    // reference.
    void SetHandles(void* mainWindow, void* panel);
    // veskFinal, once, at the end of the media shutdown.
    void Final();

    bool Initialised() const { return initialised_; }
    // The sound device slot the player fills with its first plug-in sound.
    void*& SoundDevice() { return soundDevice_; }

    ~TVeskDll();  // finalises when Final was not called

    TVeskDll(const TVeskDll&) = delete;
    TVeskDll& operator=(const TVeskDll&) = delete;

    struct Key {};
    TVeskDll(Key, std::unique_ptr<platform::TDynamicLibrary> library, TVeskInit init,
             TVeskFinal final);

    // The callbacks the library reads the player's streams with. A stream is
    // handed over with HandOverStream; the library frees it through the
    // free-object callback.
    static void* HandOverStream(std::unique_ptr<TStream> stream);
    static void FreeObject(void* object);
    static int32_t StreamRead(void* stream, void* buffer, int32_t count);
    static int64_t StreamGetPosition(void* stream);
    static void StreamSetPosition(void* stream, int64_t position);
    static uint32_t SaveFpuWord();
    static void RestoreFpuWord(uint32_t word);

private:
    std::unique_ptr<platform::TDynamicLibrary> library_;
    TVeskInit init_;
    TVeskFinal final_;
    bool initialised_ = false;
    void* mainWindow_ = nullptr;
    void* panel_ = nullptr;
    void* soundDevice_ = nullptr;
};

// The optional log library: present beside the player, it receives the
// trace lines into "dbglog.txt" in the player's folder.
class TVeskLog {
public:
    static constexpr const char* kFileName = "libvesklog.so";
    static constexpr const char* kLogName = "dbglog.txt";

    // Binds the library in folder and starts its log there; nullptr when the
    // library is absent or lacks one of its three functions.
    static std::unique_ptr<TVeskLog> Bind(const std::string& folder);

    void Write(const std::string& sjisText);

    ~TVeskLog();  // VeskLogFinal

    TVeskLog(const TVeskLog&) = delete;
    TVeskLog& operator=(const TVeskLog&) = delete;

    struct Key {};
    TVeskLog(Key, std::unique_ptr<platform::TDynamicLibrary> library, TVeskLogWrite write,
             TVeskLogFinal final);

private:
    std::unique_ptr<platform::TDynamicLibrary> library_;
    TVeskLogWrite write_;
    TVeskLogFinal final_;
};

// The process's log binding, set by the start-up while the library is
// bound; TraceLine writes to it and does nothing without it.
void SetTraceLog(TVeskLog* log);
void TraceLine(const std::string& sjisText);

}  // namespace vesk
