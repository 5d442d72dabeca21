#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vesk {

// The engine's tag numbers. TG_NONE is every tag the engine does not know;
// such tags do nothing.
enum TTagCode : std::uint8_t {
    TG_NONE = 0,
    TG_TEXT = 1,
    TG_A = 2, TG_A_END = 3,
    TG_B = 4, TG_B_END = 5,
    TG_FONT = 6, TG_FONT_END = 7,
    TG_I = 8, TG_I_END = 9,
    TG_S = 10, TG_S_END = 11,
    TG_U = 12, TG_U_END = 13,
    TG_NOBR = 14, TG_NOBR_END = 15,
    TG_RUBY = 16, TG_RUBY_END = 17,
    TG_DIV = 18, TG_DIV_END = 19,
    TG_INDENT = 20,
    TG_UNDENT = 21,
    TG_BR = 22,
    TG_CLEAR = 23,
    TG_EVENT = 24,
    TG_WAIT = 25, TG_WAIT_END = 26,
    TG_VAR = 27,
    TG_IMG = 28,
};

// One parsed tag: its name and its attributes, both looked up without
// regard to case. An attribute written without "=" is present with the
// value "".
class TQsTag {
public:
    // Reads the text of a tag token, "<" and ">" included.
    explicit TQsTag(std::string_view token);

    const std::string& Name() const { return name_; }
    TTagCode Code() const;
    bool Has(std::string_view attribute) const { return Find(attribute) != nullptr; }
    // The attribute's value, or nullptr when the tag does not have it.
    const std::string* Find(std::string_view attribute) const;
    // The value, or "" when absent.
    std::string Value(std::string_view attribute) const;
    // The value as an integer; fallback when absent or not a number.
    std::int32_t IntValue(std::string_view attribute, std::int32_t fallback) const;

    const std::vector<std::pair<std::string, std::string>>& Attributes() const { return attributes_; }

private:
    std::string name_;
    std::vector<std::pair<std::string, std::string>> attributes_;
};

// A "#RRGGBB" colour as a platform colour 0x00BBGGRR; nullopt for anything
// else, which leaves the current colour in force.
std::optional<std::int32_t> ParseTagColour(std::string_view text);

// The escapes of link targets and event texts: a backslash before a double
// quote or a backslash keeps that character, "\n" is CR LF, and any other
// backslash stays as it is.
std::string UnescapeTagValue(std::string_view text);

}  // namespace vesk
