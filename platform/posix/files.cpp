#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "common/cp932.h"
#include "common/error.h"

namespace vesk::platform {

namespace {

// A file as a stream over a POSIX descriptor.
class TFileStream : public TStream {
public:
    explicit TFileStream(int fd) : fd_(fd) {}
    ~TFileStream() override { ::close(fd_); }

    std::int64_t Read(void* buffer, std::int64_t count) override {
        std::int64_t done = 0;
        auto* p = static_cast<char*>(buffer);
        while (done < count) {
            const ssize_t n = ::read(fd_, p + done, static_cast<std::size_t>(count - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += n;
        }
        return done;
    }

    std::int64_t Write(const void* buffer, std::int64_t count) override {
        std::int64_t done = 0;
        const auto* p = static_cast<const char*>(buffer);
        while (done < count) {
            const ssize_t n = ::write(fd_, p + done, static_cast<std::size_t>(count - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += n;
        }
        return done;
    }

    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
        std::int64_t base = 0;
        if (origin == SeekOrigin::Current) base = ::lseek(fd_, 0, SEEK_CUR);
        if (origin == SeekOrigin::End) base = Size();
        // Like the memory streams, a position before the start is the start.
        const std::int64_t target = std::max<std::int64_t>(0, base + offset);
        return ::lseek(fd_, static_cast<off_t>(target), SEEK_SET);
    }

    std::int64_t Size() override {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 ? st.st_size : 0;
    }

    void SetSize(std::int64_t size) override {
        if (::ftruncate(fd_, static_cast<off_t>(std::max<std::int64_t>(size, 0))) != 0)
            throw EStreamError("file size cannot be changed");
    }

private:
    int fd_;
};

bool StatPath(const std::string& path, struct stat& st) { return !path.empty() && ::stat(path.c_str(), &st) == 0; }

// The on-disk spelling of a component inside folder, or "".
std::string MatchComponent(const std::string& folder, const std::string& component) {
    struct stat st {};
    if (StatPath(folder + component, st)) return component;
    for (const DirEntry& e : ListDir(folder.empty() ? "./" : folder))
        if (SameNativeText(e.name, component)) return e.name;
    return "";
}

// Walks the components of a virtual name below folder; when create is set,
// a component that is not there keeps its converted spelling.
std::string Walk(const std::string& folder, std::string_view sjisName, bool create) {
    if (!IsSafeName(sjisName)) return "";
    std::string path = WithSlash(folder);
    const std::vector<std::string> parts = SplitName(sjisName);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string native = SjisToUtf8(parts[i]);
        if (native == ".") continue;
        std::string found = MatchComponent(path, native);
        if (found.empty()) {
            if (!create) return "";
            found = native;
        }
        path += found;
        if (i + 1 < parts.size()) path += '/';
    }
    return path;
}

}  // namespace

std::unique_ptr<TStream> OpenFile(const std::string& path, FileMode mode, bool writeThrough) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case FileMode::Read: flags |= O_RDONLY; break;
        case FileMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
        case FileMode::ReadWrite: flags |= O_RDWR; break;
    }
    if (writeThrough && mode != FileMode::Read) flags |= O_DSYNC;
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) throw EStreamError(Utf8ToSjis(path) + ": " + Utf8ToSjis(std::strerror(errno)));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EStreamError(Utf8ToSjis(path) + ": is a folder");
    }
    return std::make_unique<TFileStream>(fd);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return StatPath(path, st) && S_ISREG(st.st_mode);
}

bool DirExists(const std::string& path) {
    struct stat st {};
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool IsLink(const std::string& path) {
    struct stat st {};
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return !p.empty() && ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::int64_t FileSize(const std::string& path) {
    struct stat st {};
    return StatPath(path, st) && S_ISREG(st.st_mode) ? st.st_size : -1;
}

bool DeleteFile(const std::string& path) { return !path.empty() && ::unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool MakeDir(const std::string& path) {
    if (path.empty() || DirExists(path)) return !path.empty();
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    const std::string parent = FolderOf(p);
    if (!parent.empty() && parent != p && !DirExists(parent)) MakeDir(parent);
    return ::mkdir(p.c_str(), 0777) == 0 || DirExists(p);
}

bool SetExecutable(const std::string& path, bool executable) {
    struct stat st {};
    if (!StatPath(path, st)) return false;
    mode_t m = st.st_mode & 07777;
    if (executable) {
        // Execute for everyone who may read it, as a compiler's output gets.
        m |= (m & 0444) >> 2;
    } else {
        m &= ~mode_t(0111);
    }
    return ::chmod(path.c_str(), m) == 0;
}

bool IsExecutable(const std::string& path) { return FileExists(path) && ::access(path.c_str(), X_OK) == 0; }

void ClearReadOnly(const std::string& path) {
    struct stat st {};
    if (StatPath(path, st) && !(st.st_mode & S_IWUSR)) ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
}

std::uint32_t FileDosTime(const std::string& path) {
    struct stat st {};
    if (!StatPath(path, st)) return 0;
    std::tm t {};
    const std::time_t secs = st.st_mtime;
    if (!::localtime_r(&secs, &t)) return 0;
    if (t.tm_year < 80) return (0u << 25) | (1u << 21) | (1u << 16);  // before 1980: 1980-01-01 00:00
    const std::uint32_t date = (std::uint32_t(t.tm_year - 80) << 9) | (std::uint32_t(t.tm_mon + 1) << 5) | std::uint32_t(t.tm_mday);
    const std::uint32_t time = (std::uint32_t(t.tm_hour) << 11) | (std::uint32_t(t.tm_min) << 5) | std::uint32_t(t.tm_sec / 2);
    return (date << 16) | time;
}

std::vector<DirEntry> ListDir(const std::string& folder) {
    std::vector<DirEntry> out;
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return out;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        out.push_back({name, DirExists(WithSlash(folder) + name)});
    }
    ::closedir(d);
    std::sort(out.begin(), out.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    return out;
}

std::string ResolveName(const std::string& folder, std::string_view sjisName) {
    std::string path = Walk(folder, sjisName, false);
    return FileExists(path) ? path : "";
}

std::string ResolveFolder(const std::string& folder, std::string_view sjisName) {
    std::string path = Walk(folder, sjisName, false);
    return DirExists(path) ? WithSlash(path) : "";
}

std::string NativeName(const std::string& folder, std::string_view sjisName) { return Walk(folder, sjisName, true); }

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf)) return path;
    return WithSlash(buf) + path;
}

std::string TempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string t = env && *env && DirExists(env) ? env : "/tmp";
    return WithSlash(t);
}

std::string ExecutablePath() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "";
}

namespace {

// Mount points in the table escape space, tab, newline and backslash as
// three octal digits.
std::string UnescapeMount(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1]))) {
            out += static_cast<char>(std::strtol(s.substr(i + 1, 3).c_str(), nullptr, 8));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> CdromRoots() {
    std::vector<std::string> roots;
    std::ifstream in("/proc/self/mounts");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        if (type == "iso9660" || type == "udf") roots.push_back(WithSlash(UnescapeMount(mountPoint)));
    }
    return roots;
}

std::int64_t DiskSize(const std::string& path) {
    struct statvfs st {};
    if (::statvfs(path.c_str(), &st) != 0) return 0;
    return static_cast<std::int64_t>(st.f_blocks) * static_cast<std::int64_t>(st.f_frsize);
}

TFileMapping::~TFileMapping() {
    if (data_) ::munmap(const_cast<std::uint8_t*>(data_), std::size_t(size_));
}

std::shared_ptr<const TFileMapping> MapFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    void* p = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        p = ::mmap(nullptr, std::size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);  // the mapping keeps the file
    if (p == MAP_FAILED) return nullptr;
    return std::make_shared<const TFileMapping>(static_cast<const std::uint8_t*>(p), std::int64_t(st.st_size));
}

}  // namespace vesk::platform
