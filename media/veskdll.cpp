#include "media/veskdll.h"

#include <cfenv>
#include <exception>

#include "common/cp932.h"
#include "platform/msgbox.h"

namespace vesk {

namespace {

std::string InFolder(const std::string& folder, const char* file) {
    if (folder.empty()) return std::string("./") + file;
    return folder + (folder.back() == '/' ? "" : "/") + file;
}

void BindFailure(const std::string& text) {
    platform::ShowMessageBox(text, "Error", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
}

TVeskLog* traceLog = nullptr;

}  // namespace

std::unique_ptr<TVeskDll> TVeskDll::Bind(const std::string& folder) {
    // The texts name the library by its historical file name, which players
    // and authors know from the messages.
    auto library = platform::TDynamicLibrary::Open(InFolder(folder, kFileName));
    if (!library) {
        BindFailure("vesk.dll\n" + Sj("ファイルがありません"));
        return nullptr;
    }
    const auto version = library->Function<TVeskVersion>("veskVersion");
    const auto init = library->Function<TVeskInit>("veskInit");
    const auto final = library->Function<TVeskFinal>("veskFinal");
    // A library without its start-up functions is as unusable as one of
    // another version.
    if (!version || !init || !final || version() != kVersion) {
        BindFailure(Sj("vesk.dllのバージョンがあいません"));
        return nullptr;
    }
    return std::make_unique<TVeskDll>(Key{}, std::move(library), init, final);
}

TVeskDll::TVeskDll(Key, std::unique_ptr<platform::TDynamicLibrary> library, TVeskInit init,
                   TVeskFinal final)
    : library_(std::move(library)), init_(init), final_(final) {}

TVeskDll::~TVeskDll() { Final(); }

bool TVeskDll::Init(void* mainWindow, void* panel) {
    if (initialised_) return true;
    SetHandles(mainWindow, panel);
    initialised_ = init_(&mainWindow_, &panel_, nullptr, &soundDevice_, &FreeObject, &StreamRead,
                         &StreamGetPosition, &StreamSetPosition, &SaveFpuWord, &RestoreFpuWord,
                         0) != 0;
    return initialised_;
}

void TVeskDll::SetHandles(void* mainWindow, void* panel) {
    mainWindow_ = mainWindow;
    panel_ = panel;
}

void TVeskDll::Final() {
    if (!initialised_) return;
    initialised_ = false;
    final_();
}

void* TVeskDll::HandOverStream(std::unique_ptr<TStream> stream) { return stream.release(); }

void TVeskDll::FreeObject(void* object) {
    std::unique_ptr<TStream> owned(static_cast<TStream*>(object));
}

// The callbacks run inside the library, often on its decoder threads: no
// exception may cross back into C code, so a failing stream reads as ended.
int32_t TVeskDll::StreamRead(void* stream, void* buffer, int32_t count) {
    if (!stream || !buffer || count <= 0) return 0;
    try {
        return static_cast<int32_t>(static_cast<TStream*>(stream)->Read(buffer, count));
    } catch (const std::exception&) {
        return 0;
    }
}

int64_t TVeskDll::StreamGetPosition(void* stream) {
    if (!stream) return 0;
    try {
        return static_cast<TStream*>(stream)->Position();
    } catch (const std::exception&) {
        return 0;
    }
}

void TVeskDll::StreamSetPosition(void* stream, int64_t position) {
    if (!stream) return;
    try {
        static_cast<TStream*>(stream)->SetPosition(position);
    } catch (const std::exception&) {
    }
}

// Decoders may change the rounding mode; the player's arithmetic relies on
// rounding to nearest, so the library saves and restores it around them.
uint32_t TVeskDll::SaveFpuWord() { return static_cast<uint32_t>(std::fegetround()); }

void TVeskDll::RestoreFpuWord(uint32_t word) { std::fesetround(static_cast<int>(word)); }

std::unique_ptr<TVeskLog> TVeskLog::Bind(const std::string& folder) {
    auto library = platform::TDynamicLibrary::Open(InFolder(folder, kFileName));
    if (!library) return nullptr;
    const auto init = library->Function<TVeskLogInit>("VeskLogInit");
    const auto write = library->Function<TVeskLogWrite>("VeskLogWrite");
    const auto final = library->Function<TVeskLogFinal>("VeskLogFinal");
    if (!init || !write || !final) return nullptr;
    init(InFolder(folder, kLogName).c_str());
    return std::make_unique<TVeskLog>(Key{}, std::move(library), write, final);
}

TVeskLog::TVeskLog(Key, std::unique_ptr<platform::TDynamicLibrary> library, TVeskLogWrite write,
                   TVeskLogFinal final)
    : library_(std::move(library)), write_(write), final_(final) {}

TVeskLog::~TVeskLog() {
    if (traceLog == this) traceLog = nullptr;
    final_();
}

void TVeskLog::Write(const std::string& sjisText) { write_(sjisText.c_str()); }

void SetTraceLog(TVeskLog* log) { traceLog = log; }

void TraceLine(const std::string& sjisText) {
    if (traceLog) traceLog->Write(sjisText);
}

}  // namespace vesk
