#pragma once

#include <string>

#include "common/error.h"

namespace vesk::tool {

// An error in an author's source, "file:line: message" (UTF-8).
class TSourceError : public EVeskError {
public:
    TSourceError(const std::string& file, int line, const std::string& message)
        : EVeskError(file + ":" + std::to_string(line) + ": " + message) {}
};

}  // namespace vesk::tool
