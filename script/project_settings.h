#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/vrfiles.h"
#include "common/stream.h"
#include "values/params.h"

namespace vesk {

inline constexpr std::int32_t kProjectFormat = 113;

// A global variable the project declares, with its initial value (none for
// a kind without one).
struct TProjectGlobal {
    std::uint8_t Kind = PT_INT;
    std::string Name;
    std::unique_ptr<TCustomParam> Value;
};

// The settings of the project file "vesk.vkp", as stored.
struct TProjectSettings {
    std::int32_t Format = kProjectFormat;
    std::string Title;
    std::int32_t ScreenWidth = 640, ScreenHeight = 480;
    std::int32_t FullWidth = 640, FullHeight = 480;
    std::string StartPage;
    std::string ExitPage;
    std::string RegistryKey;
    std::int32_t Reserved = 0;
    bool SaveStatus = true;
    bool SleepInIdle = true;
    std::string MediaExtensions = ".wav.wma.ogg.mid";
    bool PauseWhenInactive = false;
    std::string DiscText;  // Shift-JIS; empty means the built-in text
    std::string QuitText;
    std::vector<TProjectGlobal> Globals;
    TFolderDiskList FolderDisks;

    // Reads every version up to 113, applying each older version's
    // defaults; answers false (and reads no further) for a newer format.
    bool LoadFromStream(TStream& s);
    // Writes the newest format.
    void SaveToStream(TStream& s) const;
};

}  // namespace vesk
