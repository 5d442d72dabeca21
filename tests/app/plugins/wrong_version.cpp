// A media library of another version: everything else is as it should be.
#include "plugin/vesk/vesk_api.h"

extern "C" {
int32_t veskVersion(void) { return 107; }
int32_t veskInit(void* const*, void* const*, void*, void**, TVeskFreeObject, TVeskStreamRead,
                 TVeskStreamGetPosition, TVeskStreamSetPosition, TVeskSaveFpuWord,
                 TVeskRestoreFpuWord, int32_t) {
    return 1;
}
void veskFinal(void) {}
}
