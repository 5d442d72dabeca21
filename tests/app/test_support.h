#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/platform.h"

namespace vesk::test {

// A fresh folder under the temporary folder, removed with its content.
class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vesk-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Installs a headless backend whose boxes are written to a scratch file and
// kept for inspection; the default backend comes back at the end.
class THeadlessScope {
public:
    explicit THeadlessScope(std::vector<platform::THeadlessAnswer> answers = {},
                            std::FILE* in = nullptr)
        : out_(std::tmpfile()) {
        auto p = std::make_unique<platform::THeadlessPlatform>(std::move(answers), out_, in);
        platform_ = p.get();
        platform::InstallPlatform(std::move(p));
    }
    ~THeadlessScope() {
        platform::InstallPlatform(nullptr);
        std::fclose(out_);
    }
    const std::vector<platform::TShownMessageBox>& Shown() const { return platform_->Shown(); }
    // Everything written so far, UTF-8.
    std::string Output() const {
        std::fflush(out_);
        std::rewind(out_);
        std::string text;
        char buf[512];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, out_)) > 0) text.append(buf, n);
        return text;
    }

private:
    std::FILE* out_;
    platform::THeadlessPlatform* platform_;
};

}  // namespace vesk::test
