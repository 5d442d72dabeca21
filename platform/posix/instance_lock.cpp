#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/environment.h"

namespace vesk::platform {

namespace {

// Makes the folder (mode 0700) when missing and checks that it is ours and
// closed to others: a lock folder that someone else can write into would
// let them hold our lock.
bool EnsurePrivateFolder(const std::string& path, std::string* error) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error) *error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st{};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid() ||
        (st.st_mode & 0022) != 0) {
        if (error) *error = path + ": not a private folder of this user";
        return false;
    }
    return true;
}

// A file name for an instance name. Separators are already '-', but a name
// may be longer than a file name can be; such names keep their start and
// get a hash of the whole name, so different long names stay different.
std::string LockFileName(const std::string& instanceName) {
    std::string name;
    for (char c : instanceName) name += (c == '/' || c == '\0') ? '-' : c;
    constexpr std::size_t kMax = 200;
    if (name.size() > kMax) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(instanceName));
        name = name.substr(0, kMax) + "~" + hash;
    }
    return name + ".lock";
}

}  // namespace

std::string TInstanceLock::LockFolder() {
    const std::string runtime = XdgRuntimeDir();
    if (!runtime.empty()) return runtime + "/vesk";
    std::string tmp = GetEnv("TMPDIR").value_or("");
    if (tmp.empty() || tmp[0] != '/') tmp = "/tmp";
    while (tmp.size() > 1 && tmp.back() == '/') tmp.pop_back();
    return tmp + "/vesk-" + std::to_string(geteuid());
}

std::string TInstanceLock::LockPath(const std::string& instanceName) {
    return LockFolder() + "/" + LockFileName(instanceName);
}

TInstanceLock::TResult TInstanceLock::Acquire(const std::string& instanceName,
                                              std::unique_ptr<TInstanceLock>& lock,
                                              std::string* error) {
    lock.reset();
    if (!EnsurePrivateFolder(LockFolder(), error)) return TResult::Failed;
    const std::string path = LockPath(instanceName);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        if (error) *error = path + ": " + std::strerror(errno);
        return TResult::Failed;
    }
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const int why = errno;
        close(fd);
        if (why == EWOULDBLOCK) return TResult::Taken;
        if (error) *error = path + ": " + std::strerror(why);
        return TResult::Failed;
    }
    lock = std::make_unique<TInstanceLock>(Key{}, fd);
    return TResult::Acquired;
}

// The file itself stays: removing it while another process has it open
// would let a third process lock a new file of the same name.
TInstanceLock::~TInstanceLock() { close(fd_); }

}  // namespace vesk::platform
