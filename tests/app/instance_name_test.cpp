#include "app/instance_name.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(InstanceName, FollowsTheFolderRule) {
    struct Case {
        const char* folder;
        const char* name;
    } cases[] = {
        // The desktop spellings: letter case and a trailing separator do not
        // make another instance.
        {"C:\\Game", "C:-GAME-"},
        {"c:\\game\\", "C:-GAME-"},
        {"c:\\games\\demo", "C:-GAMES-DEMO-"},
        // The same on this system's paths.
        {"/home/u/Game", "-HOME-U-GAME-"},
        {"/home/u/game/", "-HOME-U-GAME-"},
        {"/", "-"},
        {"", "-"},
        // Other bytes keep their spelling: only ASCII letters change.
        {"/srv/ゲーム", "-SRV-ゲーム-"},
        {"/srv/a-b_c.1", "-SRV-A-B_C.1-"},
    };
    for (const auto& c : cases) EXPECT_EQ(InstanceName(c.folder), c.name) << c.folder;
}

}  // namespace
}  // namespace vesk
