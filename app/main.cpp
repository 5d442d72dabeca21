// veskplay: the player.

#include <string>
#include <vector>

#include "app/player.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/sdl_platform.h"

int main(int argc, char** argv) {
    using namespace vesk;
    return PlayerMain(std::vector<std::string>(argv + 1, argv + argc),
                      [](const TPlayerOptions& o) -> std::unique_ptr<platform::TPlatform> {
                          if (o.headless)
                              return std::make_unique<platform::THeadlessPlatform>(o.answers);
                          return std::make_unique<platform::TSdlPlatform>(o.answers);
                      });
}
