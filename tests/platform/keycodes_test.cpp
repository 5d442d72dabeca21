#include "platform/sdl/keycodes.h"

#include <gtest/gtest.h>

namespace vesk::platform {
namespace {

TEST(VirtualKeys, TheCodesScriptsTestFor) {
    const std::pair<SDL_Scancode, int> cases[] = {
        {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_SPACE, 32},
        {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9},
        {SDL_SCANCODE_LEFT, 37},   {SDL_SCANCODE_UP, 38},       {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_DOWN, 40},   {SDL_SCANCODE_A, 65},        {SDL_SCANCODE_Z, 90},
        {SDL_SCANCODE_M, 77},      {SDL_SCANCODE_0, 48},        {SDL_SCANCODE_1, 49},
        {SDL_SCANCODE_9, 57},      {SDL_SCANCODE_F1, 112},      {SDL_SCANCODE_F11, 122},
        {SDL_SCANCODE_F12, 123},   {SDL_SCANCODE_LSHIFT, 16},   {SDL_SCANCODE_RSHIFT, 16},
        {SDL_SCANCODE_LCTRL, 17},  {SDL_SCANCODE_RCTRL, 17},    {SDL_SCANCODE_LALT, 18},
        {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_HOME, 36},
        {SDL_SCANCODE_END, 35},    {SDL_SCANCODE_INSERT, 45},   {SDL_SCANCODE_DELETE, 46},
        {SDL_SCANCODE_KP_0, 96},   {SDL_SCANCODE_KP_9, 105},    {SDL_SCANCODE_KP_PLUS, 107},
    };
    for (const auto& [sc, vk] : cases) {
        SCOPED_TRACE(SDL_GetScancodeName(sc));
        EXPECT_EQ(VirtualKeyFromScancode(sc), vk);
    }
}

TEST(VirtualKeys, UnknownAndOutOfRangeScancodesHaveNoCode) {
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyFromScancode(static_cast<SDL_Scancode>(-1)), 0);
    EXPECT_EQ(VirtualKeyFromScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
}

TEST(VirtualKeys, EveryCodeIsBelow256AndMapsBackToAKeyOfTheSameCode) {
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
        const int vk = VirtualKeyFromScancode(static_cast<SDL_Scancode>(sc));
        ASSERT_LT(vk, 256);
        if (vk) {
            EXPECT_EQ(VirtualKeyFromScancode(ScancodeFromVirtualKey(vk)), vk);
        }
    }
    EXPECT_EQ(ScancodeFromVirtualKey(0), SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(ScancodeFromVirtualKey(300), SDL_SCANCODE_UNKNOWN);
}

}  // namespace
}  // namespace vesk::platform
