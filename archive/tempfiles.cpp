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

TempList& ExitList() {
    static TempList list;
    return list;
}

void AddTo(TempList& l, const std::string& path) {
    std::lock_guard<std::mutex> guard(l.lock);
    if (std::find(l.paths.begin(), l.paths.end(), path) == l.paths.end()) l.paths.push_back(path);
}

std::vector<std::string> Copy(TempList& l) {
    std::lock_guard<std::mutex> guard(l.lock);
    return l.paths;
}

}  // namespace

void AddTempFile(const std::string& path) { AddTo(List(), path); }

void DeleteTempFiles() {
    TempList& l = List();
    std::lock_guard<std::mutex> guard(l.lock);
    // A file that is gone already is done with; one that would not go stays
    // listed for the next try.
    std::erase_if(l.paths, [](const std::string& p) { return platform::DeleteFile(p) || !platform::FileExists(p); });
}

std::vector<std::string> TempFiles() { return Copy(List()); }

void AddDeleteAtExit(const std::string& path) { AddTo(ExitList(), path); }

std::vector<std::string> DeleteAtExitFiles() {
    TempList& l = ExitList();
    std::lock_guard<std::mutex> guard(l.lock);
    // There is no later try: the list is emptied, and what would not go is
    // reported to the caller.
    std::vector<std::string> left;
    for (const std::string& p : l.paths)
        if (!platform::DeleteFile(p) && platform::FileExists(p)) left.push_back(p);
    l.paths.clear();
    return left;
}

std::vector<std::string> DeleteAtExitList() { return Copy(ExitList()); }

}  // namespace vesk
