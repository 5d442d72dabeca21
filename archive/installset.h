#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/stream.h"

namespace vesk {

// The install set, file "install.dat": which disc of which game a folder or
// disc holds, whether the game is fully installed, and the files the game
// created. The installer's own settings are carried over untouched.
class TVeskInstallSet {
public:
    static constexpr int kFormat = 108;

    // Reads any format; old formats leave the newer fields at their defaults.
    // A damaged file raises EStreamError.
    void LoadFromStream(TStream& s);
    // Writes the newest format, "is108".
    void SaveToStream(TStream& s) const;

    // Adds a created file unless present (case-insensitive); true when added.
    bool AddCreatedFile(const std::string& name);

    int Format = 0;  // of the file read; the writer always writes kFormat
    std::int32_t DiskIndex = 0;
    std::string SetName;
    std::uint8_t Installed = 0;  // 1: all data is on the hard disk, no disc is needed
    std::vector<std::string> CreatedFiles;

    // Installer settings, in file order (numbers are the field positions).
    std::string Str3, Str4, Str5;
    std::uint8_t Byte6 = 0;
    std::string Str7;
    std::uint8_t Byte8 = 0;
    std::string Str10;
    std::int32_t Int11 = 0;
    std::uint8_t Byte12 = 0, Byte13 = 0;
    std::string Str14, Str15;
    struct Row {
        std::int64_t v[4] = {};
    };
    std::vector<Row> Rows;  // field 16; field 9 is its count
    Row Values17;
    std::uint8_t Byte18 = 0, Byte19 = 0;
    std::uint8_t Byte22 = 0, Byte23 = 0;
    std::vector<std::string> Strings24;
    std::string Str25, Str26, Str27;
};

}  // namespace vesk
