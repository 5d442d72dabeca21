#pragma once

#include <cstdint>

namespace vesk {

// Components are referred to from outside the registry (event queue entries,
// the interpreter's Sender, saved call frames) by an id the registry hands
// out once and never reuses, so a reference to a deleted component is
// recognised as gone instead of pointing at freed or recycled memory.
using TObjectId = std::uint64_t;
inline constexpr TObjectId kNoObject = 0;

}  // namespace vesk
