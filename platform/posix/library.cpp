#include "platform/library.h"

#include <dlfcn.h>

namespace vesk::platform {

std::unique_ptr<TDynamicLibrary> TDynamicLibrary::Open(const std::string& path, std::string* error) {
    // RTLD_LOCAL keeps the library's symbols out of the global scope, so two
    // libraries exporting the same names (a test's wrong-version library and
    // the real one) never resolve into each other. RTLD_NODELETE keeps the
    // code mapped after the last close: a thread the library started, or a
    // callback it registered with a system library, may still run in it.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        if (error) {
            const char* why = dlerror();
            *error = why ? why : "cannot load " + path;
        }
        return nullptr;
    }
    return std::make_unique<TDynamicLibrary>(Key{}, handle, path);
}

TDynamicLibrary::~TDynamicLibrary() { dlclose(handle_); }

void* TDynamicLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace vesk::platform
