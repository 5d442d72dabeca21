#pragma once

#include <stdexcept>
#include <string>

namespace vesk {

// Every error the engine raises. The message is a Shift-JIS byte string, the
// text the player shows in a message box or swallows inside the interpreter.
class EVeskError : public std::runtime_error {
public:
    explicit EVeskError(const std::string& message) : std::runtime_error(message) {}
};

// A read that runs past the end of a stream, or a length that lies about
// what is left. Stored data is never trusted, so this is the common case of
// a damaged file.
class EStreamError : public EVeskError {
public:
    using EVeskError::EVeskError;
};

}  // namespace vesk
