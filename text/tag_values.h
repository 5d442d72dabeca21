#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// Alignment codes of rows, images and alignment glyphs.
constexpr std::uint8_t HA_LEFT = 1;
constexpr std::uint8_t HA_RIGHT = 2;
constexpr std::uint8_t HA_CENTER = 3;
constexpr std::uint8_t VA_CENTER = 3;
constexpr std::uint8_t VA_TOP = 4;
constexpr std::uint8_t VA_BOTTOM = 5;

// Style flag bits of decorations and glyph-cache keys.
constexpr std::uint8_t FS_BOLD = 1;
constexpr std::uint8_t FS_ITALIC = 2;
constexpr std::uint8_t FS_UNDERLINE = 4;
constexpr std::uint8_t FS_STRIKEOUT = 8;

// A stack of one markup attribute. Reading an empty stack gives its
// default, and popping one does nothing, so an unbalanced closing tag never
// breaks the state.
template <class T>
class TValueStack {
public:
    explicit TValueStack(T fallback) : default_(std::move(fallback)) {}

    const T& Top() const { return items_.empty() ? default_ : items_.back(); }
    void Push(T v) { items_.push_back(std::move(v)); }
    void Pop() {
        if (!items_.empty()) items_.pop_back();
    }

private:
    T default_;
    std::vector<T> items_;
};

using TIntStack = TValueStack<std::int32_t>;
using TStrStack = TValueStack<std::string>;
using TAlignStack = TValueStack<std::uint8_t>;

// The markup state while a text is parsed: what the next character is
// decorated with. Negative sizes, colours and widths stand for the
// engine's defaults.
struct TTagValList {
    explicit TTagValList(std::int32_t defaultWait) : Wait(defaultWait) {}

    TIntStack Size{0};
    TIntStack Color{-1};
    TIntStack BColor{-1};
    TIntStack SColor{-1};
    TStrStack FontName{std::string()};
    std::uint8_t Style = 0;
    std::uint8_t NoBreak = 0;
    std::string Ruby;
    TAlignStack Align{HA_LEFT};
    std::string Link;
    TIntStack Wait;
    TIntStack Border{-1};
    TIntStack Shadow{-1};
};

}  // namespace vesk
