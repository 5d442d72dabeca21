#include "app/player_options.h"

#include <gtest/gtest.h>

#include "common/error.h"

namespace vesk {
namespace {

using platform::MsgResult;

TEST(PlayerOptions, HeadlessOptionsThenTheGamesArguments) {
    const TPlayerOptions o = ParsePlayerOptions(
        {"--headless", "--answer", "cancel,ok", "--frames", "120", "--screenshot",
         "1:shots/start.png", "--screenshot", "30:b.png", "game", "--frames"});
    EXPECT_TRUE(o.headless);
    ASSERT_EQ(o.answers.size(), 2u);
    EXPECT_EQ(o.answers[0].result, MsgResult::Cancel);
    EXPECT_EQ(o.answers[1].result, MsgResult::Ok);
    EXPECT_EQ(o.frames, 120);
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[0].Frame, 1);
    EXPECT_EQ(o.screenshots[0].File, "shots/start.png");
    EXPECT_EQ(o.screenshots[1].Frame, 30);
    // Options end at the first argument of the game.
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"game", "--frames"}));
}

TEST(PlayerOptions, HeadlessRunOptions) {
    const TPlayerOptions o = ParsePlayerOptions({"--step-ms", "40", "--trace", "t.txt", "--dump-vars", "v.txt",
                                                 "--events", "e.txt", "--input", "i.txt", "game"});
    EXPECT_EQ(o.stepMs, 40);
    EXPECT_EQ(o.traceFile, "t.txt");
    EXPECT_EQ(o.dumpVarsFile, "v.txt");
    EXPECT_EQ(o.eventsFile, "e.txt");
    EXPECT_EQ(o.inputFile, "i.txt");
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"game"}));
    const TPlayerOptions d = ParsePlayerOptions({});
    EXPECT_EQ(d.stepMs, 16);
    EXPECT_EQ(d.frames, -1);
}

TEST(PlayerOptions, DoubleDashEndsTheOptions) {
    const TPlayerOptions o = ParsePlayerOptions({"--", "--headless"});
    EXPECT_FALSE(o.headless);
    EXPECT_EQ(o.arguments, (std::vector<std::string>{"--headless"}));
    EXPECT_TRUE(ParsePlayerOptions({}).arguments.empty());
}

TEST(PlayerOptions, WrongCommandLinesAreErrors) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--frames"},         {"--frames", "-1"},        {"--frames", "12x"},
        {"--answer", "maybe"}, {"--answer", "ok,"},       {"--screenshot", "1"},
        {"--screenshot", "x:a.png"}, {"--screenshot", "3:"}, {"--fullscreen"},
        {"--step-ms", "x"},   {"--step-ms"},             {"--trace"}, {"--dump-vars"}, {"--events"}, {"--input"},
    };
    for (const auto& argv : wrong) EXPECT_THROW(ParsePlayerOptions(argv), EVeskError) << argv[0];
}

TEST(PlayerOptions, ConfigInAnyLetterCase) {
    for (const char* a : {"/config", "/CONFIG", "/Config", "/cOnFiG"})
        EXPECT_TRUE(IsConfigArgument({a})) << a;
    for (const char* a : {"config", "/configure", "-config", "/confi"})
        EXPECT_FALSE(IsConfigArgument({a})) << a;
    EXPECT_FALSE(IsConfigArgument({}));
    // Only the first argument asks for the dialog.
    EXPECT_FALSE(IsConfigArgument({"game", "/config"}));
}

}  // namespace
}  // namespace vesk
