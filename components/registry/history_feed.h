#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// What a message box hands the message history about a page it shows with
// read tracking on. The history copies no text: it keeps where the text
// lies in the compiled script (the script page, the index of the text
// insertion command in it, the text positions of the page's first and last
// glyph), which message page it was, the box's size at the time and the
// values its variable insertions showed, and lays the text out again from
// the script when it is shown.
struct TMesPageRecord {
    std::string BoxName;
    std::int32_t BoxWidth = 0;
    std::int32_t BoxHeight = 0;
    std::string PageName;
    std::int32_t CommandIndex = 0;
    std::int32_t PageIndex = 0;
    std::int32_t Start = 0;
    std::int32_t End = -1;  // -1: the last glyph of the text
    // One "expression=value" line per variable insertion on the page, a
    // value's line breaks written as the byte 0x01.
    std::string VarText;
};

// The message history as the message boxes feed it; every history format
// receives every page. A recorded page is pending until the box that
// recorded it commits, which it does when it shows another page, gets new
// text or rebuilds its pages, so the page on screen is never yet part of
// the history.
class TMesHistoryFeed {
public:
    virtual ~TMesHistoryFeed() = default;
    virtual void Record(const TMesPageRecord& page) = 0;
    virtual void Commit(const std::string& boxName) = 0;
};

}  // namespace vesk
