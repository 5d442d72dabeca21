#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// An INI text: "[Section]" lines and "key=value" lines below them. Section
// and key names are matched without regard to ASCII letter case, blanks
// around names and values are ignored, and the first of two equal keys
// wins, as the settings readers of the desktop do. Lines starting with ';'
// are comments.
class TIniFile {
public:
    explicit TIniFile(std::string_view text);

    bool HasKey(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // A decimal integer (with optional sign, or hexadecimal after "0x" or
    // "$"); the fallback when the value is missing, malformed or out of the
    // 32-bit range.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t fallback) const;
    // An integer value: 0 is false, any other is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

private:
    struct Entry {
        std::string section, key, value;
    };
    const Entry* Find(std::string_view section, std::string_view key) const;
    std::vector<Entry> entries_;
};

// The machine settings of "game.ini" as the player uses them.
struct TGameSettings {
    bool DirectSound = true;       // [Sound] DirectSound
    std::int32_t DelayTime = 500;  // [Sound] DelayTime, normalised
    bool UseWMP = false;           // [Video] UseWMP
};

// The delay as the wave-out engine uses it: truncated toward zero to a
// multiple of 100, then clamped to 100...500.
std::int32_t NormaliseDelayTime(std::int32_t delay);

// The settings of a "game.ini" text; keys that are missing keep their
// defaults.
TGameSettings ParseGameSettings(std::string_view iniText);

}  // namespace vesk
