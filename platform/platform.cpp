#include "platform/platform.h"

#include <utility>

#include "platform/headless/headless_platform.h"

namespace vesk::platform {

namespace {

std::unique_ptr<TPlatform>& Installed() {
    static std::unique_ptr<TPlatform> platform;
    return platform;
}

}  // namespace

TPlatform& Platform() {
    auto& p = Installed();
    if (!p) p = std::make_unique<THeadlessPlatform>();
    return *p;
}

std::unique_ptr<TPlatform> InstallPlatform(std::unique_ptr<TPlatform> platform) {
    if (platform) {
        SetMessageBoxHandler([](const std::string& text, const std::string& caption,
                                MsgButtons buttons, MsgIcon icon) {
            return Platform().MessageBox(text, caption, buttons, icon);
        }, platform->Interactive());
    } else {
        SetMessageBoxHandler({});
    }
    return std::exchange(Installed(), std::move(platform));
}

}  // namespace vesk::platform
