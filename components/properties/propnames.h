#pragma once

#include <cstdint>
#include <string>

#include "components/properties/propids.h"

namespace vesk {

// "PR_LEFT" for id 3; "?" outside the table.
const char* PropertyName(int id);
// The property's value kind (PT_INT, PT_FLOAT, PT_BOOL or PT_STR), 0 outside.
std::uint8_t PropertyKind(int id);
// The id whose name matches text, with or without the "PR_" prefix and
// ignoring ASCII case ("PR_LEFT", "left"); -1 when none does.
int PropertyByName(const std::string& text);

}  // namespace vesk
