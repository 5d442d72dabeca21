#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "tools/verbs.h"

namespace vesk::tool {

namespace {

std::vector<Verb>& Registry() {
    static std::vector<Verb> verbs;
    return verbs;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: vesk VERB [ARGS...]\n\nverbs:\n");
    for (const Verb& v : Verbs()) std::fprintf(out, "  %-8s %s\n", v.name, v.summary);
    std::fprintf(out, "\n`vesk VERB --help` describes a verb.\n");
}

}  // namespace

const std::vector<Verb>& Verbs() { return Registry(); }

VerbRegistration::VerbRegistration(const Verb& verb) { Registry().push_back(verb); }

}  // namespace vesk::tool

int main(int argc, char** argv) {
    using namespace vesk::tool;
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty() || all[0] == "--help" || all[0] == "-h" || all[0] == "help") {
        PrintUsage(all.empty() ? stderr : stdout);
        return all.empty() ? 2 : 0;
    }
    for (const Verb& v : Verbs()) {
        if (all[0] != v.name) continue;
        try {
            return v.run(std::vector<std::string>(all.begin() + 1, all.end()));
        } catch (const std::exception& e) {
            // Engine messages are Shift-JIS; the terminal wants UTF-8.
            std::fprintf(stderr, "vesk %s: %s\n", v.name, vesk::SjisToUtf8(e.what()).c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "vesk: unknown verb '%s'\n", all[0].c_str());
    PrintUsage(stderr);
    return 2;
}
