#include "app/gameini.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(GameIni, DelayTimeIsTruncatedToHundredsAndClamped) {
    struct Case {
        int given, used;
    } cases[] = {
        {1234, 500}, {50, 100}, {250, 200}, {500, 500}, {100, 100}, {199, 100},
        {301, 300},  {0, 100},  {-250, 100}, {-2147483647 - 1, 100}, {2147483647, 500},
    };
    for (const auto& c : cases) EXPECT_EQ(NormaliseDelayTime(c.given), c.used) << c.given;
}

TEST(GameIni, ReadsTheThreeKeys) {
    const TGameSettings s = ParseGameSettings(
        "[Sound]\r\nDirectSound=0\r\nDelayTime=250\r\n[Video]\r\nUseWMP=1\r\n");
    EXPECT_FALSE(s.DirectSound);
    EXPECT_EQ(s.DelayTime, 200);
    EXPECT_TRUE(s.UseWMP);
}

TEST(GameIni, MissingOrBadValuesKeepTheDefaults) {
    for (const char* text : {"", "[Sound]\n", "[Other]\nDelayTime=300\nDirectSound=0\n",
                             "[Sound]\nDelayTime=fast\nDirectSound=yes\n",
                             "[Sound]\nDelayTime=99999999999\n", "DelayTime=300\n"}) {
        const TGameSettings s = ParseGameSettings(text);
        EXPECT_TRUE(s.DirectSound) << text;
        EXPECT_EQ(s.DelayTime, 500) << text;
        EXPECT_FALSE(s.UseWMP) << text;
    }
}

TEST(GameIni, NamesIgnoreCaseAndBlanksAndTheFirstKeyWins) {
    const TGameSettings s = ParseGameSettings(
        "; machine settings\n[ sound ]\n  delaytime = 1234 \nDELAYTIME=100\n"
        "directsound = 2\n[VIDEO]\nusewmp=0x1\n");
    EXPECT_EQ(s.DelayTime, 500);
    EXPECT_TRUE(s.DirectSound);  // any non-zero integer is true
    EXPECT_TRUE(s.UseWMP);
}

TEST(IniFile, IntegersInTheirForms) {
    const TIniFile ini("[S]\na=-42\nb=+7\nc=$1F\nd=0x10\ne=12ab\nf=--1\ng=\nh=-0x10\n");
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), -42);
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), 7);
    EXPECT_EQ(ini.ReadInteger("S", "c", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "d", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "e", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "f", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "g", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "h", 0), -16);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 5), 5);
    EXPECT_EQ(ini.ReadString("s", "A", ""), "-42");
}

}  // namespace
}  // namespace vesk
