#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// The numbered property vocabulary shared by every scriptable object: ids
// 0 (PR_NAME) to 162 (PR_REPEATPOS), each with one value kind.
inline constexpr int kPropertyCount = 163;

// "PR_LEFT" for id 3; "?" outside the table.
const char* PropertyName(int id);
// The property's value kind (1 integer, 2 real, 3 flag, 4 string), 0 outside.
std::uint8_t PropertyKind(int id);
// The id whose name matches text, with or without the "PR_" prefix and
// ignoring ASCII case ("PR_LEFT", "left"); -1 when none does.
int PropertyByName(const std::string& text);

}  // namespace vesk
