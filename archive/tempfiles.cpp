#include "archive/tempfiles.h"

#include <algorithm>
#include <mutex>

#include "platform/files.h"

namespace vesk {

namespace {

struct TempList {
    std::mutex lock;
    std::vector<std::string> paths;
};

TempList& List() {
    static TempList list;
    return list;
}

}  // namespace

void AddTempFile(const std::string& path) {
    TempList& l = List();
    std::lock_guard<std::mutex> guard(l.lock);
    if (std::find(l.paths.begin(), l.paths.end(), path) == l.paths.end()) l.paths.push_back(path);
}

void DeleteTempFiles() {
    TempList& l = List();
    std::lock_guard<std::mutex> guard(l.lock);
    // A file that is gone already is done with; one that would not go stays
    // listed for the next try.
    std::erase_if(l.paths, [](const std::string& p) { return platform::DeleteFile(p) || !platform::FileExists(p); });
}

std::vector<std::string> TempFiles() {
    TempList& l = List();
    std::lock_guard<std::mutex> guard(l.lock);
    return l.paths;
}

}  // namespace vesk
