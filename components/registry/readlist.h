#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/hash.h"

namespace vesk {

class TStream;

// The read marks of one script page: the message pages shown to their end,
// each as (index of the text-insertion command in the page, message page
// index), in the order they were first read.
class TVeskRead final : public THashCollectionItem {
public:
    using TMark = std::pair<std::int32_t, std::int32_t>;
    explicit TVeskRead(std::string page, std::vector<TMark> marks = {})
        : THashCollectionItem(std::move(page)), marks_(std::move(marks)) {}

    bool Has(std::int32_t command, std::int32_t page) const;
    // Adds the mark unless it is there already.
    void Add(std::int32_t command, std::int32_t page);
    const std::vector<TMark>& Marks() const { return marks_; }

private:
    std::vector<TMark> marks_;
};

// Which message pages the player has read, kept by script page name (found
// without regard to case), so that scripts can skip text already seen. A
// page counts as read only once its typing has finished: showing it arms a
// mark, and the box that armed it commits the mark when its typing ends.
// The list lives for the whole run and travels with the status data.
// Clear (the ClrRead command) empties the items only: the page on screen
// keeps its armed mark and counts as read when its typing ends.
class TVeskReadList final : public THashList<TVeskRead> {
public:
    bool IsRead(const std::string& page, std::int32_t command, std::int32_t pageIndex) const;
    // Arms the mark of a shown page; a mark armed before is forgotten.
    void Arm(const std::string& box, const std::string& page, std::int32_t pageIndex, std::int32_t command);
    // Commits the armed mark into the list and disarms it, but only when it
    // was armed by that box.
    void Commit(const std::string& box);
    bool Armed() const { return !armed_.Page.empty(); }

    // The status data's layout: the items (page name, n, n command indices,
    // n page indices), then the armed mark (page name, command index, page
    // index, box name).
    void SaveToStream(TStream& s) const;
    // Replaces the whole list, armed mark included, by what the stream
    // holds; records before version 100 hold no read marks and leave the
    // list empty. A damaged stream raises EStreamError and leaves the list
    // as it was.
    void LoadFromStream(TStream& s, std::int32_t version);

private:
    struct TArmedMark {
        std::string Page;
        std::int32_t Command = 0;
        std::int32_t PageIndex = 0;
        std::string Box;
    };
    TArmedMark armed_;
};

}  // namespace vesk
