#pragma once

#include <cstdint>

namespace vesk {

// Whether objects of that kind (LT_BOX …) give the property a meaning of
// their own; for the others it reads as the base default and ignores writes.
bool PropertyImplementedBy(int id, std::uint8_t kind);
// Whether scripts may write the property (false for the read-only ones and
// for PR_APPEARX and PR_APPEARY).
bool PropertyWritable(int id);

}  // namespace vesk
