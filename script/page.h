#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"
#include "script/command.h"

namespace vesk {

// Page formats the player reads; newer pages are left empty, older ones
// must be rebuilt.
inline constexpr std::int32_t kPageFormatMin = 103;
inline constexpr std::int32_t kPageFormatMax = 113;

// One compiled page: its name, the kind of value it returns, its format,
// the property masks and its commands.
class TPage {
public:
    explicit TPage(std::string name = {}) : Name(std::move(name)) { Masks.fill(TPropertyMask{}); }

    // Reads a page file. Raises "不正なコマンド" for an undefined command kind
    // and EStreamError for a damaged file. Answers false when the format is
    // below 103 (the page stays empty and the caller asks for a rebuild); a
    // format above 113 leaves the page empty and answers true.
    bool LoadFromStream(TStream& s);
    // Writes the page in its Format (the tool writes 113).
    void SaveToStream(TStream& s) const;

    int Count() const { return static_cast<int>(Commands.size()); }
    TCommand& Command(int i) const { return *Commands[static_cast<std::size_t>(i)]; }
    bool Inside(std::int32_t index) const { return index >= 0 && index < Count(); }
    // Index of the first command that is a label of that name, or -1.
    std::int32_t FindLabel(const std::string& name) const;

    std::string Name;
    std::uint8_t ResultKind = 1;
    std::int32_t Format = 104;
    std::array<TPropertyMask, kCommandKindCount> Masks;
    std::vector<std::unique_ptr<TCommand>> Commands;
};

}  // namespace vesk
