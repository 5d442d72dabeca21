#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// Component kinds. The number is the byte that precedes each component in a
// saved game and the kind index of the creation commands, so it never changes.
inline constexpr std::uint8_t LT_NONE = 0;  // object base, screen bases, internal objects
inline constexpr std::uint8_t LT_AUDIO = 1;  // reported by no object; keeps the numbers stable
inline constexpr std::uint8_t LT_BOX = 2;
inline constexpr std::uint8_t LT_BUTTON = 3;
inline constexpr std::uint8_t LT_CINEMA = 4;
inline constexpr std::uint8_t LT_EDIT = 5;
inline constexpr std::uint8_t LT_FIRE = 6;
inline constexpr std::uint8_t LT_HTTP = 7;
inline constexpr std::uint8_t LT_IMAGES = 8;
inline constexpr std::uint8_t LT_LABEL = 9;
inline constexpr std::uint8_t LT_MAP = 10;  // reported by no object
inline constexpr std::uint8_t LT_MEMO = 11;
inline constexpr std::uint8_t LT_MENU = 12;
inline constexpr std::uint8_t LT_MES = 13;
inline constexpr std::uint8_t LT_PARTICLE = 14;
inline constexpr std::uint8_t LT_TIMER = 15;
inline constexpr std::uint8_t LT_VIDEO = 16;
inline constexpr std::uint8_t LT_SOUND = 17;
inline constexpr std::uint8_t LT_MAPIMG = 18;
inline constexpr std::uint8_t LT_WAVE = 19;
inline constexpr std::uint8_t LT_TILE = 20;
inline constexpr std::uint8_t LT_SLIDER = 21;
inline constexpr std::uint8_t LT_SCROLLBAR = 22;
inline constexpr std::uint8_t LT_GAUGE = 23;
inline constexpr std::uint8_t LT_CGLABEL = 24;
inline constexpr std::uint8_t LT_PREVMENU = 25;
inline constexpr std::uint8_t LT_PROPMOTION = 26;
inline constexpr std::uint8_t LT_CABINET = 27;
inline constexpr int kKindCount = 28;

// "LT_BOX" for 2; "?" outside the table.
const char* ComponentKindName(int kind);
// The kind's display label ("矩形サーフェス" for LT_BOX), Shift-JIS; "" outside.
const std::string& ComponentKindLabel(int kind);

// Values of the enumerated properties.
inline constexpr int FS_BOLD = 0, FS_ITALIC = 1, FS_UNDERLINE = 2, FS_STRIKEOUT = 3;  // bit numbers
inline constexpr int IM_NONE = 0, IM_ALL = 1, IM_CLICK = 2, IM_LCLICK = 3, IM_RCLICK = 4;
inline constexpr int HA_LEFT = 0, HA_CENTER = 1, HA_RIGHT = 2;
inline constexpr int VA_TOP = 0, VA_CENTER = 1, VA_BOTTOM = 2;
inline constexpr int OT_HORIZONTAL = 0, OT_VERTICAL = 1;
inline constexpr int PM_NONE = 0, PM_SNOW = 1, PM_STAR = 2, PM_FLUFF = 3, PM_TWISTER = 4;

// The label of one value of an enumerated property, Shift-JIS: for
// PR_FONTSTYLE and PR_FONTHOVERSTYLE the value is a bit number, for
// PR_IGNOREMOUSE, PR_HALIGN, PR_ORIENTATION and PR_PARTMOTION the value
// itself, for PR_BORDERVALIGNL … PR_BORDERVALIGNR a vertical alignment. ""
// for other properties and values.
const std::string& ValueLabel(int prop, int value);

}  // namespace vesk
