#include "platform/sdl/keycodes.h"

#include <array>
#include <utility>

namespace vesk::platform {

namespace {

// Scancodes name physical positions of a US layout, as the key codes do,
// so one table serves every keyboard layout.
constexpr std::pair<SDL_Scancode, int> kFixed[] = {
    {SDL_SCANCODE_BACKSPACE, 8},      {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_KP_5, 101},         {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_KP_ENTER, 13},      {SDL_SCANCODE_LSHIFT, 16},
    {SDL_SCANCODE_RSHIFT, 16},        {SDL_SCANCODE_LCTRL, 17},
    {SDL_SCANCODE_RCTRL, 17},         {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},          {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20},      {SDL_SCANCODE_LANG2, 21},
    {SDL_SCANCODE_LANG1, 25},         {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_INTERNATIONAL4, 28}, {SDL_SCANCODE_INTERNATIONAL5, 29},
    {SDL_SCANCODE_SPACE, 32},         {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},      {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36},          {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},            {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},          {SDL_SCANCODE_SELECT, 41},
    {SDL_SCANCODE_EXECUTE, 43},       {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, 45},        {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_HELP, 47},          {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},          {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_SLEEP, 95},         {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_KP_1, 97},          {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99},          {SDL_SCANCODE_KP_4, 100},
    {SDL_SCANCODE_KP_6, 102},         {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},         {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106},  {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},     {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},   {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},       {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},        {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},        {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},  {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226}, {SDL_SCANCODE_INTERNATIONAL1, 226},
    {SDL_SCANCODE_INTERNATIONAL3, 220},
};

struct TTable {
    std::array<unsigned char, SDL_NUM_SCANCODES> toVk{};

    TTable() {
        for (int i = 0; i < 26; ++i) toVk[SDL_SCANCODE_A + i] = static_cast<unsigned char>('A' + i);
        // Scancodes run 1..9, 0; the codes are the digits' characters.
        for (int i = 0; i < 9; ++i) toVk[SDL_SCANCODE_1 + i] = static_cast<unsigned char>('1' + i);
        toVk[SDL_SCANCODE_0] = '0';
        for (int i = 0; i < 12; ++i) toVk[SDL_SCANCODE_F1 + i] = static_cast<unsigned char>(112 + i);
        for (int i = 0; i < 12; ++i) toVk[SDL_SCANCODE_F13 + i] = static_cast<unsigned char>(124 + i);
        for (const auto& [sc, vk] : kFixed) toVk[sc] = static_cast<unsigned char>(vk);
    }
};

const TTable& Table() {
    static const TTable table;
    return table;
}

}  // namespace

int VirtualKeyFromScancode(SDL_Scancode scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    return Table().toVk[scancode];
}

SDL_Scancode ScancodeFromVirtualKey(int vk) {
    if (vk <= 0 || vk > 255) return SDL_SCANCODE_UNKNOWN;
    const TTable& t = Table();
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc)
        if (t.toVk[sc] == vk) return static_cast<SDL_Scancode>(sc);
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace vesk::platform
