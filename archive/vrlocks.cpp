#include <algorithm>
#include <cstdio>

#include "archive/pathnames.h"
#include "archive/vrfiles.h"
#include "common/cp932.h"
#include "common/sjis.h"
#include "common/stream_io.h"
#include "platform/files.h"

namespace vesk {

namespace {

// The extension for the extraction file, so back ends that go by the name
// recognise the format; nothing that could leave the temporary folder.
std::string SafeExtension(const std::string& name) {
    const std::vector<std::string> parts = platform::SplitName(name);
    if (parts.empty()) return "";
    std::string ext = SjisToUtf8(NameExtension(parts.back()));
    const bool plain = std::all_of(ext.begin(), ext.end(), [](char c) { return c != ':' && c != '\0'; });
    return plain && ext.size() <= 16 ? ext : "";
}

}  // namespace

TVrLockData* TVrLockList::Find(std::string_view name) {
    for (auto& item : items_)
        if (SjisSameText(item->Name, name)) return item.get();
    return nullptr;
}

TVrLockData& TVrLockList::Add(const std::string& name, const std::string& tempFolder) {
    auto item = std::make_unique<TVrLockData>();
    item->Name = name;
    const std::string ext = SafeExtension(name);
    // Ids count up from 0, skipping those in use; an id whose file is there
    // already belongs to another player running beside this one (or to one
    // that did not end cleanly), and is skipped too rather than overwritten
    // under the other player's decoder.
    for (std::uint32_t id = 0;; ++id) {
        const bool used = std::any_of(items_.begin(), items_.end(), [&](const auto& i) { return i->Id == id; });
        if (used) continue;
        char stem[16];
        std::snprintf(stem, sizeof stem, "~vk%08X", id);
        const std::string path = tempFolder + stem + ext;
        if (platform::FileExists(path)) continue;
        item->Id = id;
        item->Path = path;
        break;
    }
    items_.push_back(std::move(item));
    return *items_.back();
}

void TVrLockList::Remove(std::uint32_t id) {
    std::erase_if(items_, [&](const auto& i) { return i->Id == id; });
}

void TFolderDiskList::LoadFromStream(TStream& s) {
    pairs_.clear();
    const std::int32_t n = ReadInt32(s);
    CheckCount(s, n, 8);
    for (std::int32_t i = 0; i < n; ++i) {
        Pair p;
        p.Folder = ReadString(s);
        p.Disk = ReadInt32(s);
        pairs_.push_back(std::move(p));
    }
}

void TFolderDiskList::SaveToStream(TStream& s) const {
    WriteInt32(s, static_cast<std::int32_t>(pairs_.size()));
    for (const Pair& p : pairs_) {
        WriteString(s, p.Folder);
        WriteInt32(s, p.Disk);
    }
}

std::int32_t TFolderDiskList::DiskOf(const std::string& name) const {
    std::string cur = SjisUpper(name);
    while (!cur.empty()) {
        const std::string key = WithBackslash(cur);
        for (const Pair& p : pairs_)
            if (SjisSameText(WithBackslash(p.Folder), key)) return p.Disk;
        cur = NameFolder(cur);
    }
    return 0;
}

}  // namespace vesk
