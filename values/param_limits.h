#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// The largest element count a value may have. Scripts and stored files name
// sizes freely; a size no game could use is refused like a non-positive one
// rather than exhausting memory.
constexpr std::int64_t kMaxElements = 1 << 24;

// Decimal integers joined by "," (dimension lists and index lists in error
// texts).
std::string JoinInts(const std::vector<std::int32_t>& values);

// Raises "配列の要素数[%s]が不正です" with the list.
[[noreturn]] void RaiseBadElementCount(const std::vector<std::int32_t>& dims);

// Product of a dimension list; raises as above for an entry below 1 or a
// product above kMaxElements.
std::int64_t CheckedElementCount(const std::vector<std::int32_t>& dims);

}  // namespace vesk
