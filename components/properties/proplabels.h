#pragma once

#include <string>

namespace vesk {

// The property's display label, Shift-JIS ("X座標" for PR_LEFT); "" outside.
const std::string& PropertyLabel(int id);

}  // namespace vesk
