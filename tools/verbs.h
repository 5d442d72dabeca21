#pragma once

#include <string>
#include <vector>

namespace vesk::tool {

// One verb of the `vesk` tool. Each verb lives in its own file and registers
// itself with a static VerbRegistration.
struct Verb {
    const char* name;
    const char* summary;  // one line for `vesk --help`
    int (*run)(const std::vector<std::string>& args);  // args after the verb; returns the exit code
};

const std::vector<Verb>& Verbs();

struct VerbRegistration {
    explicit VerbRegistration(const Verb& verb);
};

}  // namespace vesk::tool
