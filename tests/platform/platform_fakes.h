#pragma once

#include <cstdint>

#include "common/stream.h"
#include "platform/clock.h"
#include "platform/platform.h"

namespace vesk::test {

// A backend with only what every backend must have, so the interface's
// own defaults (the null devices) are what it opens.
class TBarePlatform final : public platform::TPlatform {
public:
    const char* Name() const override { return "bare"; }
    bool Interactive() const override { return false; }
    platform::MsgResult MessageBox(const std::string&, const std::string&, platform::MsgButtons,
                                   platform::MsgIcon) override {
        return platform::MsgResult::Ok;
    }
};

// A stream that takes nothing, as a full disk does.
class TFullStream final : public TStream {
public:
    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t, SeekOrigin) override { return 0; }
};

// A clock that moves only when the test sets it.
class TManualClock final : public platform::TClock {
public:
    std::uint32_t Now() override { return now; }
    std::uint32_t now = 0;
};

}  // namespace vesk::test
