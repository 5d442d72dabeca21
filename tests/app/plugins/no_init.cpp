// A media library of the right version that lacks its start-up function.
#include "plugin/vesk/vesk_api.h"

extern "C" {
int32_t veskVersion(void) { return 108; }
void veskFinal(void) {}
}
