#pragma once

#include <cstdint>
#include <string_view>

// Resources: bytes compiled into the executable, looked up by name and type
// (the splash archive "MADEWITH" of type "DATA", the archive "DUMMY" of type
// "BINTYPE"). The CMake function vesk_add_resource (cmake/VeskResources.cmake)
// turns a file into a generated source that registers its bytes when the
// program starts:
//
//     vesk_add_resource(veskplay MADEWITH DATA ${CMAKE_SOURCE_DIR}/demo/madewith.dat)
//
// Names and types are compared without regard to ASCII letter case.
//
// A shared library carries resources of its own the same way; it exports its
// lookup under kResourceLookupSymbol (vesk_add_resource_module), so an
// archive can be opened from a resource of another module.
namespace vesk {

// The lookup a module exports: 1 with the bytes of the resource, or 0.
using TResourceLookup = int (*)(const char* name, const char* type, const void** data, std::int64_t* size);
inline constexpr const char* kResourceLookupSymbol = "veskFindResource";

struct TResourceData {
    const std::uint8_t* data = nullptr;
    std::int64_t size = 0;
};

// Registers bytes that live for the whole program (static data). A second
// registration of the same name and type replaces the first.
void RegisterResource(std::string_view name, std::string_view type, const void* data, std::int64_t size);
// Removes a registration (for tests).
void UnregisterResource(std::string_view name, std::string_view type);
// The registered bytes, or {nullptr, 0} when there is no such resource.
TResourceData FindResource(std::string_view name, std::string_view type);

// Registers a resource from a static initialiser: used by generated sources.
struct TResourceRegistration {
    TResourceRegistration(const char* name, const char* type, const void* data, std::int64_t size) {
        RegisterResource(name, type, data, size);
    }
};

}  // namespace vesk
