#include "script/flip_snapshot.h"

#include "components/vbaselist.h"
#include "components/vcustomimage.h"

namespace vesk {

void MakeFlipSnapshot(TVeskBaseList& registry) {
    // The registry draws everything first and names the picture 0x01 0x01.
    registry.MakeSnapshot();
}

}  // namespace vesk
