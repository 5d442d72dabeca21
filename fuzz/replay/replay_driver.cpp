// A main for a fuzz target outside libFuzzer: feeds every file named on the
// command line, or found under a named folder, to LLVMFuzzerTestOneInput once,
// in name order. The tests replay each seed corpus with it, so every build
// with tests (and its sanitizers) runs the stored inputs and the crashers
// kept as regression files, not only the clang fuzz build.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Optional in a target, as libFuzzer treats it: called once before the first
// input with the command line.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The inputs a path stands for: the file itself, or a folder's files at any
// depth. Empty (with a message) when the path names nothing to replay.
std::vector<fs::path> InputsOf(const fs::path& path) {
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) return {path};
    std::vector<fs::path> files;
    if (!fs::is_directory(path, ec)) {
        std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", path.c_str());
        return files;
    }
    for (fs::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    if (ec) {
        std::fprintf(stderr, "replay: cannot list %s: %s\n", path.c_str(), ec.message().c_str());
        return {};
    }
    if (files.empty()) std::fprintf(stderr, "replay: %s holds no inputs\n", path.c_str());
    std::sort(files.begin(), files.end());
    return files;
}

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
        return false;
    }
    // A buffer of exactly the input's size, so a read past its end is caught
    // by the address sanitizer as it would be under libFuzzer.
    const std::size_t size = bytes.size();
    auto data = std::make_unique<std::uint8_t[]>(size);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), size);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> files = InputsOf(argv[i]);
        if (files.empty()) return 1;
        for (const fs::path& file : files) {
            if (!Replay(file)) return 1;
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    return 0;
}
