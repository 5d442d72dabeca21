// Compiled into a shared library that carries resources (see
// vesk_add_resource_module): exports the library's own lookup so a player can
// open archives from its resources.
#include "archive/resources.h"

extern "C" __attribute__((visibility("default"))) int veskFindResource(const char* name, const char* type,
                                                                        const void** data, std::int64_t* size) {
    if (!name || !type || !data || !size) return 0;
    const vesk::TResourceData res = vesk::FindResource(name, type);
    if (!res.data) return 0;
    *data = res.data;
    *size = res.size;
    return 1;
}

// The exported function must have the type the reader looks up.
[[maybe_unused]] static constexpr vesk::TResourceLookup kLookupType = &veskFindResource;
