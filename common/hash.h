#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vesk {

class THashCollection;

// An item of a name-hashed collection. Concrete tables derive their own item
// classes from it; the collection owns its items.
class THashCollectionItem {
public:
    THashCollectionItem() = default;
    explicit THashCollectionItem(std::string name) : name_(std::move(name)) {}
    virtual ~THashCollectionItem() = default;
    THashCollectionItem(const THashCollectionItem&) = delete;
    THashCollectionItem& operator=(const THashCollectionItem&) = delete;

    const std::string& Name() const { return name_; }
    // Renaming re-chains the item when the new name differs byte for byte.
    void SetName(const std::string& name);

    int Bucket() const { return bucket_; }
    int CachedIndex() const { return cachedIndex_; }
    THashCollectionItem* Prev() const { return prev_; }
    THashCollectionItem* Next() const { return next_; }
    THashCollection* Collection() const { return owner_; }

    // Copies only the name, so the item is re-hashed.
    virtual void Assign(const THashCollectionItem& other) { SetName(other.Name()); }

private:
    friend class THashCollection;
    std::string name_;
    std::string key_;  // the name as Find compares it, kept while linked
    THashCollection* owner_ = nullptr;
    int bucket_ = 0;
    int cachedIndex_ = -1;
    THashCollectionItem* prev_ = nullptr;
    THashCollectionItem* next_ = nullptr;
};

// An ordered list of named items with a 256-bucket case-insensitive index.
// Each bucket chain starts at the most recently inserted item, so of several
// equal names the newest is found first.
class THashCollection {
public:
    static constexpr int kBuckets = 256;

    THashCollection() = default;
    virtual ~THashCollection() = default;
    THashCollection(const THashCollection&) = delete;
    THashCollection& operator=(const THashCollection&) = delete;

    static int Hash(std::string_view name);

    int Count() const { return static_cast<int>(items_.size()); }
    THashCollectionItem& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

    // Appends the item (or inserts it at index) and chains it at the head of
    // its bucket. Returns the item.
    THashCollectionItem& Add(std::unique_ptr<THashCollectionItem> item);
    THashCollectionItem& Insert(int index, std::unique_ptr<THashCollectionItem> item);

    // Index of the newest item with that name (case-insensitive), or -1.
    int Find(std::string_view name) const;

    // Removes the item at index; later items move up by one.
    void Delete(int index);
    std::unique_ptr<THashCollectionItem> Extract(int index);
    void Clear();

    // The newest item of a bucket, for tables that walk a chain themselves.
    THashCollectionItem* BucketHead(int bucket) const { return heads_[bucket & 0xFF]; }

private:
    friend class THashCollectionItem;
    void Link(THashCollectionItem& item);
    void Unlink(THashCollectionItem& item);

    std::vector<std::unique_ptr<THashCollectionItem>> items_;
    THashCollectionItem* heads_[kBuckets] = {};
    // Find's shortcut: for each case-folded name, its linked items from the
    // oldest to the newest link. Equal names share a bucket, so the newest
    // here is the first of them on the bucket chain, which is what Find
    // answers; the shortcut spares walking chains that the hash (length,
    // first and second-to-last byte) makes long for names of one folder.
    std::unordered_map<std::string, std::vector<THashCollectionItem*>> byName_;
};

// Typed view of a collection whose items are all of one class.
template <typename T>
class THashList : public THashCollection {
public:
    T& operator[](int index) const { return static_cast<T&>(Item(index)); }
    T& AddItem(std::unique_ptr<T> item) { return static_cast<T&>(Add(std::move(item))); }
    T* FindItem(std::string_view name) const {
        const int i = Find(name);
        return i < 0 ? nullptr : &(*this)[i];
    }
};

}  // namespace vesk
