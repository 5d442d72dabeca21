#pragma once

#include <atomic>
#include <cstdint>

namespace vesk {

// Set to 1 when the program must end. The entry point, the frame step and
// the interpreter loop test it; the project sets it while it loads, so any
// failure during loading ends the program. Atomic because a failure may be
// reported from a thread other than the main one.
inline std::atomic<std::uint8_t> QuitRequested{0};

}  // namespace vesk
