#pragma once

#include <memory>
#include <string>

namespace vesk::platform {

// The single-instance guard: an exclusive lock on a file named after the
// instance name, held while the object lives. The system drops the lock
// when the process ends, however it ends, so a crashed player never blocks
// the next start.
class TInstanceLock {
public:
    enum class TResult { Acquired, Taken, Failed };

    // Tries to take the lock for an instance name; never waits. Taken: another
    // process holds it. Failed: no lock file could be made (the reason is in
    // *error when given).
    static TResult Acquire(const std::string& instanceName, std::unique_ptr<TInstanceLock>& lock,
                           std::string* error = nullptr);

    // The folder holding the lock files: $XDG_RUNTIME_DIR/vesk, else a
    // folder of our own in the temporary folder.
    static std::string LockFolder();

    // The lock file of an instance name.
    static std::string LockPath(const std::string& instanceName);

    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    struct Key {};
    TInstanceLock(Key, int fd) : fd_(fd) {}

private:
    int fd_;
};

}  // namespace vesk::platform
