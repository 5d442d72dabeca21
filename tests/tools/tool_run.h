#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace vesk::tool::test {

// Runs the built tool with a shell command line; answers its exit status
// and fills out with its standard output and standard error together.
inline int Vesk(const std::string& args, std::string& out) {
    const std::string cmd = std::string(VESK_BINARY_DIR) + "/vesk " + args + " 2>&1";
    out.clear();
    FILE* p = popen(cmd.c_str(), "r");
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vesk::tool::test
