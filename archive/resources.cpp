#include "archive/resources.h"

#include <map>
#include <mutex>
#include <string>

#include "common/sjis.h"

namespace vesk {

namespace {

struct Registry {
    std::mutex lock;
    std::map<std::string, TResourceData> items;
};

Registry& Resources() {
    static Registry registry;
    return registry;
}

std::string Key(std::string_view name, std::string_view type) { return SjisUpper(type) + '\0' + SjisUpper(name); }

}  // namespace

void RegisterResource(std::string_view name, std::string_view type, const void* data, std::int64_t size) {
    Registry& r = Resources();
    std::lock_guard<std::mutex> guard(r.lock);
    r.items[Key(name, type)] = {static_cast<const std::uint8_t*>(data), size};
}

void UnregisterResource(std::string_view name, std::string_view type) {
    Registry& r = Resources();
    std::lock_guard<std::mutex> guard(r.lock);
    r.items.erase(Key(name, type));
}

TResourceData FindResource(std::string_view name, std::string_view type) {
    Registry& r = Resources();
    std::lock_guard<std::mutex> guard(r.lock);
    auto it = r.items.find(Key(name, type));
    return it == r.items.end() ? TResourceData{} : it->second;
}

}  // namespace vesk
