#pragma once

#include <array>
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
// The property's display label, Shift-JIS ("X座標" for PR_LEFT); "" outside.
const std::string& PropertyLabel(int id);
// Whether objects of that kind (LT_BOX …) give the property a meaning of
// their own; for the others it reads as the base default and ignores writes.
bool PropertyImplementedBy(int id, std::uint8_t kind);
// Whether scripts may write the property (false for the read-only ones and
// for PR_APPEARX and PR_APPEARY).
bool PropertyWritable(int id);

// The order in which creation commands apply the property expressions they
// carry: name, parent and source first, zoom before size, size before position.
const std::array<std::uint8_t, kPropertyCount>& CreationOrder();

}  // namespace vesk
