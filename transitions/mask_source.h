#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vesk {

class TStream;

// Where a transition finds its mask picture by name: the project's files
// through the virtual file manager in the player, anything a test likes.
class TWipeMaskSource {
public:
    virtual ~TWipeMaskSource() = default;

    // Whether a file of this name exists (the project's file-exists test).
    virtual bool Exists(const std::string& name) = 0;
    // The whole file; may raise EVeskError when it cannot be read.
    virtual std::unique_ptr<TStream> Open(const std::string& name) = 0;
    // The identification code that layered images of the project are
    // scrambled with.
    virtual std::int32_t IdCode() const = 0;
};

}  // namespace vesk
