#pragma once

#include <memory>
#include <string>

namespace vesk::platform {

// A shared library loaded by path; unloaded when the object goes.
class TDynamicLibrary {
public:
    // Loads the library; nullptr when it cannot be loaded, with the loader's
    // reason in *error when given.
    static std::unique_ptr<TDynamicLibrary> Open(const std::string& path,
                                                 std::string* error = nullptr);
    ~TDynamicLibrary();

    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

    // The address of an exported symbol, or nullptr.
    void* Symbol(const char* name) const;

    template <typename F>
    F Function(const char* name) const {
        return reinterpret_cast<F>(Symbol(name));
    }

    const std::string& Path() const { return path_; }

    // Only Open makes one; the key keeps the constructor usable by make_unique.
    struct Key {};
    TDynamicLibrary(Key, void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}

private:

    void* handle_;
    std::string path_;
};

}  // namespace vesk::platform
