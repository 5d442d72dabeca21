#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vesk {

// How a character looks: what the markup state was at its position.
// Negative colours, sizes of 0 and negative widths stand for the engine's
// defaults. Colours are platform colours 0x00BBGGRR.
struct TDecorate {
    std::int32_t Color = -1;
    std::int32_t BColor = -1;
    std::int32_t SColor = -1;
    std::int32_t Size = 0;
    std::uint8_t Style = 0;
    std::string FontName;
    std::uint8_t NoBreak = 0;
    std::string Ruby;
    std::int32_t Border = -1;
    std::int32_t Shadow = -1;

    // Equal in every field that shows.
    bool SameLook(const TDecorate& o) const {
        return Color == o.Color && BColor == o.BColor && SColor == o.SColor && Size == o.Size && Style == o.Style &&
               FontName == o.FontName && NoBreak == o.NoBreak && Ruby == o.Ruby && Border == o.Border &&
               Shadow == o.Shadow;
    }
};

class TDecorateList;

// A decoration as its list keeps it.
struct TDecorateItem : TDecorate {
    std::int32_t RefCount = 0;
    int Position = 0;
};

// A counted reference to a decoration of a list; copies count too, and the
// last reference to go frees the decoration. The list must outlive it.
class TDecorateRef {
public:
    TDecorateRef() = default;
    TDecorateRef(const TDecorateRef& o);
    TDecorateRef(TDecorateRef&& o) noexcept;
    TDecorateRef& operator=(TDecorateRef o) noexcept;
    ~TDecorateRef();

    explicit operator bool() const { return item_ != nullptr; }
    const TDecorate& operator*() const { return *item_; }
    const TDecorate* operator->() const { return item_; }
    const TDecorate* Get() const { return item_; }
    TDecorateList* List() const { return list_; }

private:
    friend class TDecorateList;
    TDecorateRef(TDecorateList* list, TDecorateItem* item);

    TDecorateList* list_ = nullptr;
    TDecorateItem* item_ = nullptr;
};

// The engine's decorations: one shared record per distinct look, found by
// comparing all fields, with a count of the glyphs that use it. The order
// of the list only matters to the glyph list stream, whose glyphs name
// their decoration by index.
class TDecorateList {
public:
    TDecorateList() = default;
    TDecorateList(const TDecorateList&) = delete;
    TDecorateList& operator=(const TDecorateList&) = delete;
    ~TDecorateList();

    // The decoration that looks like fields, appended when there is none.
    TDecorateRef Share(const TDecorate& fields);
    // Appends fields as a new decoration even when an equal one exists (a
    // stored list names its decorations by position); it starts unused.
    void Append(const TDecorate& fields);
    // A reference to the decoration at index.
    TDecorateRef At(int index);
    // A copy of ref's decoration changed by edit, shared again.
    template <class Edit>
    TDecorateRef Changed(const TDecorateRef& ref, Edit&& edit) {
        TDecorate fields = ref ? *ref : TDecorate{};
        edit(fields);
        return Share(fields);
    }

    int Count() const { return static_cast<int>(items_.size()); }
    const TDecorate& Item(int index) const;
    // Where ref's decoration lies; -1 for none or one of another list.
    int IndexOf(const TDecorateRef& ref) const;
    int RefCount(int index) const;
    // Drops every decoration from index on; only ones that nothing uses any
    // more may go (a failed read takes back what it appended).
    void TruncateTo(int count);
    // Forgets every decoration. References still held become dangling, so
    // the engine frees its glyphs first.
    void Clear();

private:
    friend class TDecorateRef;
    using TItem = TDecorateItem;

    void Release(TItem* item);
    void Remove(TItem* item);
    TItem* Add(const TDecorate& fields, bool index);
    static std::size_t Hash(const TDecorate& d);

    std::vector<std::unique_ptr<TItem>> items_;
    std::unordered_multimap<std::size_t, TItem*> byLook_;
};

}  // namespace vesk
