#pragma once

#include <memory>
#include <string>
#include <vector>

#include "script/page.h"
#include "script/script_host.h"

namespace vesk {

// The pages the interpreter has loaded, most recently made current first.
class TPageCache {
public:
    static constexpr int kLimit = 10;

    explicit TPageCache(TPageSource& source) : source_(source) {}

    // The cached page of that name (byte comparison) or a newly loaded one.
    // With makeCurrent the page moves to the front and the cache is trimmed
    // from the back to kLimit pages, stopping at the running page; without,
    // a new page goes to the back and nothing is trimmed. A page that fails
    // to load is dropped and the error propagates.
    TPage* Get(const std::string& name, bool makeCurrent, const TPage* running);

    int Count() const { return static_cast<int>(pages_.size()); }
    const TPage& At(int i) const { return *pages_.at(static_cast<std::size_t>(i)); }
    void Clear() { pages_.clear(); }

private:
    std::unique_ptr<TPage> Load(const std::string& name);

    TPageSource& source_;
    std::vector<std::unique_ptr<TPage>> pages_;
};

}  // namespace vesk
