#pragma once

namespace vesk::platform {

// True when the user's language is Japanese (the first of LC_ALL,
// LC_MESSAGES and LANG that is set begins with "ja"); some questions the
// player asks are worded in English elsewhere.
bool SystemLanguageIsJapanese();

}  // namespace vesk::platform
