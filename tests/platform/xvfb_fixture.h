#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/app/process_support.h"
#include "tests/app/wait_until.h"

namespace vesk::test {

// Runs a command and returns its standard output, trimmed.
inline std::string Shell(const std::string& command) {
    std::string out;
    if (std::FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// The X window of that title once it is on the screen; empty when none is
// shown before the test's patience runs out.
inline std::string WaitForWindow(const std::string& title) {
    std::string id;
    WaitUntil([&] {
        id = Shell("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null | head -n1");
        return !id.empty();
    });
    return id;
}

// An X server of the test's own (Xvfb on a free display) that DISPLAY
// points at while the test runs.
class TXvfb {
public:
    // screen: "WIDTHxHEIGHTxDEPTH". Check Started() after.
    explicit TXvfb(const std::string& screen) {
        if (Shell("command -v Xvfb").empty() || Shell("command -v xdotool").empty()) {
            error = "Xvfb and xdotool are needed (scripts/install-deps.sh installs them)";
            return;
        }
        // Xvfb picks a free display and writes its number to the pipe. By
        // default a server resets when its last client leaves, and refuses
        // connections while it does: with the test's xdotool calls coming
        // and going, a player started then would find no display.
        int fds[2];
        if (pipe(fds) != 0) return;
        server_ = std::make_unique<TChild>(
            "/usr/bin/Xvfb",
            std::vector<std::string>{"-displayfd", std::to_string(fds[1]), "-noreset", "-nolisten", "tcp",
                                     "-screen", "0", screen});
        close(fds[1]);
        char buf[16] = {};
        const ssize_t n = read(fds[0], buf, sizeof buf - 1);
        close(fds[0]);
        if (n <= 0) {
            error = "Xvfb did not start";
            return;
        }
        display = ":" + std::string(buf, static_cast<std::size_t>(n));
        while (!display.empty() && display.back() == '\n') display.pop_back();
        setenv("DISPLAY", display.c_str(), 1);
    }
    // Ended as a server is asked to end, so that it removes its lock and
    // socket before the next test's server looks for a free display.
    ~TXvfb() {
        if (server_) server_->Terminate();
    }
    bool Started() const { return !display.empty(); }
    // What the server has said so far, for a failure's message.
    std::string Said() {
        if (!server_) return {};
        server_->ReadAvailable();
        return server_->err;
    }

    std::string display, error;

private:
    std::unique_ptr<TChild> server_;
};

}  // namespace vesk::test
