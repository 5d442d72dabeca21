// A target for testing the replay driver: it aborts unless
// LLVMFuzzerInitialize ran before the first input and was given the command
// line, which is what libFuzzer promises the targets that define it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
bool initialised = false;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    initialised = argc && *argc >= 2 && argv && *argv && (*argv)[1];
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t) {
    if (!initialised || !data) {
        std::fprintf(stderr, "an input arrived before LLVMFuzzerInitialize\n");
        std::abort();
    }
    return 0;
}
