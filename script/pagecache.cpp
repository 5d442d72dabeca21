#include "script/pagecache.h"

#include <algorithm>

namespace vesk {

std::unique_ptr<TPage> TPageCache::Load(const std::string& name) {
    auto page = std::make_unique<TPage>(name);
    std::unique_ptr<TStream> s = source_.OpenPage(name);
    if (!page->LoadFromStream(*s)) source_.PageTooOld(name);
    return page;
}

TPage* TPageCache::Get(const std::string& name, bool makeCurrent, const TPage* running) {
    auto it = std::find_if(pages_.begin(), pages_.end(), [&](const auto& p) { return p->Name == name; });
    std::unique_ptr<TPage> page;
    if (it != pages_.end()) {
        if (!makeCurrent) return it->get();
        page = std::move(*it);
        pages_.erase(it);
    } else {
        page = Load(name);
        if (!makeCurrent) {
            pages_.push_back(std::move(page));
            return pages_.back().get();
        }
    }
    TPage* result = page.get();
    pages_.insert(pages_.begin(), std::move(page));
    while (Count() > kLimit && pages_.back().get() != running) pages_.pop_back();
    return result;
}

}  // namespace vesk
