#include "platform/locale.h"

#include "platform/environment.h"

namespace vesk::platform {

bool SystemLanguageIsJapanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const auto v = GetEnv(name);
        if (!v || v->empty()) continue;
        return v->compare(0, 2, "ja") == 0;
    }
    return false;
}

}  // namespace vesk::platform
