#include "common/hash.h"

#include <stdexcept>

#include "common/sjis.h"

namespace vesk {

void THashCollectionItem::SetName(const std::string& name) {
    if (name == name_) return;
    if (owner_) owner_->Unlink(*this);
    name_ = name;
    if (owner_) owner_->Link(*this);
}

int THashCollection::Hash(std::string_view name) {
    const std::string lower = SjisLower(name);
    const std::size_t len = lower.size();
    std::uint32_t h = static_cast<std::uint32_t>(len) * 16;
    if (len >= 2) {
        h += static_cast<unsigned char>(lower[len - 2]);
        h += static_cast<unsigned char>(lower[0]);
    }
    return static_cast<int>(h & 0xFF);
}

THashCollectionItem& THashCollection::Add(std::unique_ptr<THashCollectionItem> item) {
    return Insert(Count(), std::move(item));
}

THashCollectionItem& THashCollection::Insert(int index, std::unique_ptr<THashCollectionItem> item) {
    if (index < 0 || index > Count()) index = Count();
    THashCollectionItem& ref = *item;
    ref.owner_ = this;
    items_.insert(items_.begin() + index, std::move(item));
    for (int i = index + 1; i < Count(); ++i) items_[static_cast<std::size_t>(i)]->cachedIndex_ = i;
    ref.cachedIndex_ = index;
    Link(ref);
    return ref;
}

int THashCollection::Find(std::string_view name) const {
    auto it = byName_.find(SjisLower(name));
    return it == byName_.end() || it->second.empty() ? -1 : it->second.back()->cachedIndex_;
}

void THashCollection::Delete(int index) { Extract(index); }

std::unique_ptr<THashCollectionItem> THashCollection::Extract(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("THashCollection index");
    auto pos = items_.begin() + index;
    std::unique_ptr<THashCollectionItem> item = std::move(*pos);
    for (auto it = pos + 1; it != items_.end(); ++it) --(*it)->cachedIndex_;
    Unlink(*item);
    items_.erase(pos);
    item->owner_ = nullptr;
    item->cachedIndex_ = -1;
    return item;
}

void THashCollection::Clear() {
    items_.clear();
    byName_.clear();
    for (auto& head : heads_) head = nullptr;
}

void THashCollection::Link(THashCollectionItem& item) {
    item.bucket_ = Hash(item.name_);
    THashCollectionItem*& head = heads_[item.bucket_];
    item.prev_ = nullptr;
    item.next_ = head;
    if (head) head->prev_ = &item;
    head = &item;
    item.key_ = SjisLower(item.name_);
    byName_[item.key_].push_back(&item);
}

void THashCollection::Unlink(THashCollectionItem& item) {
    if (item.prev_)
        item.prev_->next_ = item.next_;
    else
        heads_[item.bucket_] = item.next_;
    if (item.next_) item.next_->prev_ = item.prev_;
    item.prev_ = item.next_ = nullptr;
    auto it = byName_.find(item.key_);
    if (it != byName_.end()) {
        std::erase(it->second, &item);
        if (it->second.empty()) byName_.erase(it);
    }
}

}  // namespace vesk
