#include "text/decorate.h"

#include <functional>

#include "common/error.h"

namespace vesk {

TDecorateRef::TDecorateRef(TDecorateList* list, TDecorateItem* item) : list_(list), item_(item) {
    if (item_) ++item_->RefCount;
}

TDecorateRef::TDecorateRef(const TDecorateRef& o) : TDecorateRef(o.list_, o.item_) {}

TDecorateRef::TDecorateRef(TDecorateRef&& o) noexcept : list_(o.list_), item_(o.item_) {
    o.list_ = nullptr;
    o.item_ = nullptr;
}

TDecorateRef& TDecorateRef::operator=(TDecorateRef o) noexcept {
    std::swap(list_, o.list_);
    std::swap(item_, o.item_);
    return *this;
}

TDecorateRef::~TDecorateRef() {
    if (item_) list_->Release(item_);
}

TDecorateList::~TDecorateList() = default;

std::size_t TDecorateList::Hash(const TDecorate& d) {
    std::size_t h = std::hash<std::string>()(d.FontName) ^ (std::hash<std::string>()(d.Ruby) << 1);
    for (const std::int64_t v : {std::int64_t(d.Color), std::int64_t(d.BColor), std::int64_t(d.SColor),
                                 std::int64_t(d.Size), std::int64_t(d.Style), std::int64_t(d.NoBreak),
                                 std::int64_t(d.Border), std::int64_t(d.Shadow)})
        h = h * 1000003u ^ std::hash<std::int64_t>()(v);
    return h;
}

TDecorateList::TItem* TDecorateList::Add(const TDecorate& fields, bool index) {
    auto item = std::make_unique<TItem>();
    static_cast<TDecorate&>(*item) = fields;
    item->Position = Count();
    TItem* raw = item.get();
    items_.push_back(std::move(item));
    if (index) byLook_.emplace(Hash(fields), raw);
    return raw;
}

TDecorateRef TDecorateList::Share(const TDecorate& fields) {
    const std::size_t h = Hash(fields);
    const auto [first, last] = byLook_.equal_range(h);
    for (auto it = first; it != last; ++it)
        if (it->second->SameLook(fields)) return TDecorateRef(this, it->second);
    return TDecorateRef(this, Add(fields, true));
}

void TDecorateList::Append(const TDecorate& fields) { Add(fields, true); }

TDecorateRef TDecorateList::At(int index) {
    if (index < 0 || index >= Count()) throw EStreamError("decoration index out of range");
    return TDecorateRef(this, items_[static_cast<std::size_t>(index)].get());
}

const TDecorate& TDecorateList::Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

int TDecorateList::IndexOf(const TDecorateRef& ref) const {
    return ref.item_ && ref.list_ == this ? ref.item_->Position : -1;
}

int TDecorateList::RefCount(int index) const { return items_.at(static_cast<std::size_t>(index))->RefCount; }

void TDecorateList::Release(TItem* item) {
    if (--item->RefCount == 0) Remove(item);
}

// The last decoration takes the place of the one removed: positions are
// only names for the stream, so the order need not be kept, and removing
// stays cheap however many looks a text has.
void TDecorateList::Remove(TItem* item) {
    const auto [first, last] = byLook_.equal_range(Hash(*item));
    for (auto it = first; it != last; ++it)
        if (it->second == item) {
            byLook_.erase(it);
            break;
        }
    const std::size_t pos = static_cast<std::size_t>(item->Position);
    if (pos + 1 != items_.size()) {
        std::swap(items_[pos], items_.back());
        items_[pos]->Position = static_cast<int>(pos);
    }
    items_.pop_back();
}

void TDecorateList::TruncateTo(int count) {
    while (Count() > count && items_.back()->RefCount == 0) Remove(items_.back().get());
}

void TDecorateList::Clear() {
    items_.clear();
    byLook_.clear();
}

}  // namespace vesk
