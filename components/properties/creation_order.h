#pragma once

#include <array>
#include <cstdint>

#include "components/properties/propids.h"

namespace vesk {

// The order in which creation commands apply the property expressions they
// carry: name, parent and source first, zoom before size, size before position.
const std::array<std::uint8_t, kPropertyCount>& CreationOrder();

}  // namespace vesk
