#include "common/rands.h"

namespace vesk {

void TQsRandom::Reset(int n) { pool_ = TPositionPool(n); }

int TQsRandom::Next() {
    if (pool_.Remaining() == 0) return -1;
    return pool_.Take(static_cast<int>(NextValue() % static_cast<std::uint32_t>(pool_.Remaining())));
}

}  // namespace vesk
