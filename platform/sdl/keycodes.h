#pragma once

#include <SDL.h>

namespace vesk::platform {

// The virtual-key code scripts see for a physical key ("@KeyPush" and the
// key events): Enter 13, Space 32, arrows 37..40, digits 48..57, letters
// 65..90, F1..F24 112..135, the keypad 96..111 and so on. Left and right
// Shift, Ctrl and Alt report the common codes 16, 17 and 18. 0 for a key
// without a code.
int VirtualKeyFromScancode(SDL_Scancode scancode);

// The scancode that produces the code (the first one in the table), or
// SDL_SCANCODE_UNKNOWN; for tests that type keys by code.
SDL_Scancode ScancodeFromVirtualKey(int vk);

}  // namespace vesk::platform
