#include "components/registry/readlist.h"

#include <algorithm>
#include <memory>

#include "common/stream_io.h"

namespace vesk {

namespace {

// Older status records have no read marks.
constexpr std::int32_t kFirstVersionWithMarks = 100;

// The smallest stored item: an empty name and no marks.
constexpr std::int64_t kMinItemBytes = 4 + 4;

struct TStoredItem {
    std::string Name;
    std::vector<TVeskRead::TMark> Marks;
};

}  // namespace

bool TVeskRead::Has(std::int32_t command, std::int32_t page) const {
    return std::find(marks_.begin(), marks_.end(), TMark{command, page}) != marks_.end();
}

void TVeskRead::Add(std::int32_t command, std::int32_t page) {
    if (!Has(command, page)) marks_.emplace_back(command, page);
}

bool TVeskReadList::IsRead(const std::string& page, std::int32_t command, std::int32_t pageIndex) const {
    const TVeskRead* item = FindItem(page);
    return item && item->Has(command, pageIndex);
}

void TVeskReadList::Arm(const std::string& box, const std::string& page, std::int32_t pageIndex,
                        std::int32_t command) {
    armed_ = TArmedMark{page, command, pageIndex, box};
}

void TVeskReadList::Commit(const std::string& box) {
    if (!Armed() || armed_.Box != box) return;
    TVeskRead* item = FindItem(armed_.Page);
    if (!item) item = &AddItem(std::make_unique<TVeskRead>(armed_.Page));
    item->Add(armed_.Command, armed_.PageIndex);
    armed_ = TArmedMark{};
}

void TVeskReadList::SaveToStream(TStream& s) const {
    WriteInt32(s, Count());
    for (int i = 0; i < Count(); ++i) {
        const TVeskRead& item = (*this)[i];
        WriteString(s, item.Name());
        WriteInt32(s, static_cast<std::int32_t>(item.Marks().size()));
        for (const auto& [command, page] : item.Marks()) WriteInt32(s, command);
        for (const auto& [command, page] : item.Marks()) WriteInt32(s, page);
    }
    WriteString(s, armed_.Page);
    WriteInt32(s, armed_.Command);
    WriteInt32(s, armed_.PageIndex);
    WriteString(s, armed_.Box);
}

void TVeskReadList::LoadFromStream(TStream& s, std::int32_t version) {
    // Everything is read before the list changes, so a damaged record
    // costs nothing of the marks already held.
    std::vector<TStoredItem> items;
    TArmedMark armed;
    if (version >= kFirstVersionWithMarks) {
        const std::int32_t count = ReadInt32(s);
        CheckCount(s, count, kMinItemBytes);
        items.resize(static_cast<std::size_t>(count));
        for (TStoredItem& item : items) {
            item.Name = ReadString(s);
            const std::int32_t n = ReadInt32(s);
            CheckCount(s, n, 2 * 4);
            item.Marks.resize(static_cast<std::size_t>(n));
            for (auto& mark : item.Marks) mark.first = ReadInt32(s);
            for (auto& mark : item.Marks) mark.second = ReadInt32(s);
        }
        armed.Page = ReadString(s);
        armed.Command = ReadInt32(s);
        armed.PageIndex = ReadInt32(s);
        armed.Box = ReadString(s);
    }
    Clear();
    for (TStoredItem& stored : items)
        AddItem(std::make_unique<TVeskRead>(std::move(stored.Name), std::move(stored.Marks)));
    armed_ = std::move(armed);
}

}  // namespace vesk
