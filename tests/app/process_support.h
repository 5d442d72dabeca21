#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace vesk::test {

// A real child process with its standard streams on pipes: the start-up
// tests run the built player as a user would.
class TChild {
public:
    // Starts program with args; env entries "NAME=value" are added to (or
    // replace) the test's own environment.
    TChild(const std::string& program, const std::vector<std::string>& args,
           const std::vector<std::string>& env = {}) {
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            dup2(err[1], 2);
            for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }
    ~TChild() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            Wait();
        }
        for (int fd : {in_, out_, err_})
            if (fd >= 0) close(fd);
    }

    // Asks the child to end (SIGTERM) and waits for it.
    int Terminate() {
        if (pid_ <= 0 || exited_) return -1;
        kill(pid_, SIGTERM);
        return Wait();
    }

    void Write(const std::string& text) {
        if (in_ >= 0 && ::write(in_, text.data(), text.size()) < 0) CloseInput();
    }
    void CloseInput() {
        if (in_ >= 0) close(in_);
        in_ = -1;
    }

    // Reads standard error until it contains text or the time runs out.
    bool WaitForError(const std::string& text, int milliseconds = 20000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (err.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now()).count();
            if (left <= 0 || !Pump(static_cast<int>(left))) return err.find(text) != std::string::npos;
        }
        return true;
    }

    // Takes in what the child has written so far, without waiting for more.
    void ReadAvailable() {
        while (Pump(0)) {
        }
    }

    // Reads both streams to their end and returns the exit code (-1 for a
    // signal).
    int Wait() {
        CloseInput();
        while (Pump(-1)) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out, err;

private:
    // One poll round; false when both streams have ended or nothing came.
    bool Pump(int timeoutMs) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (out_ < 0 && err_ < 0) return false;
        if (poll(fds, 2, timeoutMs) <= 0) return false;
        char buf[4096];
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            int& fd = i == 0 ? out_ : err_;
            if (n <= 0) {
                close(fd);
                fd = -1;
            } else {
                (i == 0 ? out : err).append(buf, static_cast<std::size_t>(n));
            }
        }
        return out_ >= 0 || err_ >= 0;
    }

    pid_t pid_ = -1;
    bool exited_ = false;
    int in_ = -1, out_ = -1, err_ = -1;
};

}  // namespace vesk::test
