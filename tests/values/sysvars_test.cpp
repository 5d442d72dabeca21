#include "values/sysvars.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numbers>

#include "common/cp932.h"
#include "common/error.h"
#include "values/compiler.h"
#include "values/vesk_parser.h"

using namespace vesk;

namespace {

struct TFakeCall : TSysCallSource {
    std::unique_ptr<TCustomParam> result;
    std::uint8_t declared = PT_NONE;
    std::vector<std::string> params;
    TCustomParam* Result() override { return result.get(); }
    std::uint8_t ResultKind() override { return result ? declared : PT_NONE; }
    int ParamCount() override { return static_cast<int>(params.size()); }
    std::string ParamStr(int i) override { return params.at(static_cast<std::size_t>(i)); }
    std::string Sender() override { return "btn"; }
};

struct TFakeInput : TSysInputSource {
    bool lclick = false;
    std::int32_t x = 0, y = 0;
    int mouseWrites = 0;
    std::map<int, bool> held, clicked, repeated;
    bool LClick() override { return lclick; }
    void SetLClick(bool b) override { lclick = b; }
    std::int32_t MouseX() override { return x; }
    std::int32_t MouseY() override { return y; }
    void SetMouseX(std::int32_t v) override { x = v, ++mouseWrites; }
    void SetMouseY(std::int32_t v) override { y = v, ++mouseWrites; }
    bool KeyPush(int k) override { return held.at(k); }  // at(): only asked in range
    bool KeyClick(int k) override { return clicked[k]; }
    bool KeyRepeat(int k) override { return repeated[k]; }
};

struct TFakeClock : TSysClockSource {
    std::int32_t tick = 0;
    int nowCalls = 0;
    TLocalTime now;
    std::int32_t TickCount() override { return tick; }
    TLocalTime Now() override {
        ++nowCalls;
        return now;
    }
};

struct TFakeDisplay : TSysDisplaySource {
    bool full = false;
    int fullWrites = 0;
    bool FullScreen() override { return full; }
    void SetFullScreen(bool b) override { full = b, ++fullWrites; }
};

struct TFakeFonts : TSysFontSource {
    std::vector<std::string> FaceNames(bool fixedOnly) override {
        if (fixedOnly) return {"mono"};
        return {"b", "A", "mono", "C"};
    }
};

struct TFakeSound : TSysSoundSource {
    std::vector<std::string> ports;
    int MidiPortCount() override { return static_cast<int>(ports.size()); }
    std::string MidiPortName(int i) override { return ports.at(static_cast<std::size_t>(i)); }
};

struct SystemVariables : ::testing::Test {
    TSystemSources sources;
    TFakeCall call;
    TFakeInput input;
    TFakeClock clock;
    TFakeDisplay display;
    TFakeFonts fonts;
    TFakeSound sound;
    TParamCollection vars{SystemVariableFactory(sources)};

    SystemVariables() {
        sources.SetCall(&call);
        sources.SetInput(&input);
        sources.SetClock(&clock);
        sources.SetDisplay(&display);
        sources.SetFonts(&fonts);
        sources.SetSound(&sound);
        for (int k = 0; k < kKeyStateCount; ++k) input.held[k] = false;
    }

    TCustomParam& Sys(const char* name) { return vars.Find(name)->Value(); }

    // Compiles and runs text over the table, returning "____arg" if any.
    std::unique_ptr<TCustomParam> Run(const std::string& text) {
        TVeskParser list;
        CompileExpression(text, list);
        list.Evaluate(vars);
        return list.TakeResult();
    }
};

}  // namespace

TEST_F(SystemVariables, FiftyInOrderWithTheirKinds) {
    // '-' for the two that take the kind of what they forward to.
    const std::pair<const char*, char> expected[] = {
        {"@Result", '-'},      {"@LClick", 'B'},           {"@RClick", 'B'},           {"@LPush", 'B'},
        {"@RPush", 'B'},       {"@MouseX", 'I'},           {"@MouseY", 'I'},           {"@TextDelay", 'I'},
        {"@HistoryCount", 'I'}, {"@ParamCount", 'I'},      {"@ParamStr", 'S'},         {"@Sender", 'S'},
        {"@ScrWidth", 'I'},    {"@ScrHeight", 'I'},        {"@TickCount", 'I'},        {"@PCTickCount", 'I'},
        {"@UpdateCount", 'I'}, {"@Year", 'I'},             {"@Month", 'I'},            {"@Day", 'I'},
        {"@Week", 'I'},        {"@Hour", 'I'},             {"@Min", 'I'},              {"@Sec", 'I'},
        {"@Fonts", 'S'},       {"@FixedFonts", 'S'},       {"@FullScr", 'B'},          {"@Cursor", 'S'},
        {"@SelStr", 'S'},      {"@SelIndex", 'I'},         {"@Pi", 'F'},               {"@CGDither", 'B'},
        {"@1Hour", 'F'},       {"@1Min", 'F'},             {"@1Sec", 'F'},             {"@KeyPush", 'B'},
        {"@KeyClick", 'B'},    {"@DisplayModeCount", 'I'}, {"@DisplayModeIndex", 'I'}, {"@Title", 'S'},
        {"@SoundON", 'B'},     {"@ActiveCompo", 'S'},      {"@KeyRepeat", 'B'},        {"@HistoryMaxCount", 'I'},
        {"@Temp", '-'},        {"@MidiPort", 'S'},         {"@MidiPorts", 'S'},        {"@WheelDown", 'B'},
        {"@WheelUp", 'B'},     {"@IsDebug", 'B'},
    };
    const std::map<char, std::uint8_t> kinds{{'-', PT_NONE}, {'I', PT_INT}, {'F', PT_FLOAT}, {'B', PT_BOOL}, {'S', PT_STR}};
    ASSERT_EQ(std::size(expected), 50u);
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(expected[i].first);
        const TParamCollectionItem& item = vars[i];
        EXPECT_EQ(item.Name(), expected[i].first);
        auto* sys = dynamic_cast<const TParamSystemVar*>(item.ValuePtr());
        ASSERT_NE(sys, nullptr);
        EXPECT_EQ(sys->Index(), i);
        EXPECT_EQ(sys->Kind(), kinds.at(expected[i].second));
    }
}

TEST_F(SystemVariables, ArraysUseTheIndexOthersIgnoreIt) {
    input.held[13] = true;   // Enter held
    input.held[256] = true;  // wheel turned down
    input.clicked[65] = true;
    input.repeated[40] = true;
    TCustomParam& push = Sys("@KeyPush");
    EXPECT_TRUE(push.GetBoolAt(13));
    EXPECT_TRUE(push.GetBoolAt(256));
    EXPECT_FALSE(push.GetBoolAt(257));
    EXPECT_FALSE(push.GetBoolAt(300));  // out of range reads false, the source is not asked
    EXPECT_FALSE(push.GetBoolAt(-1));
    EXPECT_FALSE(push.AsBool());        // as a scalar
    EXPECT_EQ(push.GetIntAt(13), 1);
    EXPECT_EQ(push.Count(), 258);
    EXPECT_EQ(push.DimCount(), 1);
    EXPECT_EQ(push.DimSize(0), 258);
    EXPECT_EQ(push.DimSize(1), 1);
    EXPECT_TRUE(Sys("@KeyClick").GetBoolAt(65));
    EXPECT_FALSE(Sys("@KeyClick").GetBoolAt(13));
    EXPECT_TRUE(Sys("@KeyRepeat").GetBoolAt(40));

    call.params = {"first", "second"};
    TCustomParam& params = Sys("@ParamStr");
    EXPECT_EQ(params.AsStr(), "");  // as a scalar, even with parameters
    EXPECT_EQ(params.GetStrAt(0), "first");
    EXPECT_EQ(params.GetStrAt(1), "second");
    EXPECT_EQ(params.GetStrAt(2), "");
    EXPECT_EQ(params.Count(), 2);
    EXPECT_EQ(Sys("@ParamCount").AsInt(), 2);
    EXPECT_EQ(params.IndexOfStr("SECOND", false, false), 1);

    sound.ports = {"port A", "port B"};
    TCustomParam& ports = Sys("@MidiPorts");
    EXPECT_EQ(ports.AsStr(), "port A");  // as a scalar: the first port
    EXPECT_EQ(ports.GetStrAt(1), "port B");
    EXPECT_EQ(ports.GetStrAt(2), "");
    EXPECT_EQ(ports.Count(), 2);
    sound.ports.clear();
    EXPECT_EQ(ports.Count(), 0);
    EXPECT_EQ(ports.AsStr(), "");

    input.x = 123;
    EXPECT_EQ(Sys("@MouseX").GetIntAt(7), 123);
    EXPECT_EQ(Sys("@MouseX").AsInt(), 123);
    EXPECT_EQ(Sys("@MouseX").Count(), 1);
    EXPECT_EQ(Sys("@Sender").GetStrAt(3), "btn");
}

TEST_F(SystemVariables, ReadsConvertByTheirOwnRules) {
    EXPECT_EQ(Sys("@TextDelay").AsStr(), "50");
    EXPECT_TRUE(Sys("@TextDelay").AsBool());
    EXPECT_EQ(Sys("@TextDelay").AsFloat(), 50.0L);
    EXPECT_EQ(Sys("@Pi").AsInt(), 3);
    EXPECT_EQ(Sys("@Pi").AsStr(), "3.14159265358979");
    EXPECT_TRUE(Sys("@Pi").AsBool());
    EXPECT_EQ(Sys("@1Hour").AsFloat(), 1.0L / 24);
    EXPECT_EQ(Sys("@1Min").AsFloat(), 1.0L / 1440);
    EXPECT_EQ(Sys("@1Sec").AsFloat(), 1.0L / 86400);
    input.lclick = true;
    EXPECT_EQ(Sys("@LClick").AsInt(), 1);
    EXPECT_EQ(Sys("@LClick").AsFloat(), 1.0L);
    EXPECT_EQ(Sys("@LClick").AsStr(), "TRUE");
    EXPECT_EQ(Sys("@IsDebug").AsStr(), "FALSE");

    // A string variable reads as a number through the integer parse, and as
    // a flag when it is not empty.
    vars.Cursor = "1.5";
    EXPECT_EQ(Sys("@Cursor").AsInt(), 0);
    EXPECT_EQ(Sys("@Cursor").AsFloat(), 0.0L);
    EXPECT_TRUE(Sys("@Cursor").AsBool());
    vars.Cursor = "$1F";
    EXPECT_EQ(Sys("@Cursor").AsFloat(), 31.0L);
    vars.Cursor = "FALSE";
    EXPECT_TRUE(Sys("@Cursor").AsBool());
    vars.Cursor = "";
    EXPECT_FALSE(Sys("@Cursor").AsBool());

    EXPECT_EQ(Sys("@Fonts").AsStr(), "A\r\nb\r\nC\r\nmono");
    EXPECT_EQ(Sys("@FixedFonts").AsStr(), "mono");
}

TEST_F(SystemVariables, WritesConvertOrAreIgnored) {
    TCustomParam& delay = Sys("@TextDelay");
    delay.SetStr("12abc");  // a failed parse leaves it unchanged
    EXPECT_EQ(vars.TextDelay, 50);
    delay.SetStr(" $10");
    EXPECT_EQ(vars.TextDelay, 16);
    delay.SetFloat(-2.9L);
    EXPECT_EQ(vars.TextDelay, -2);
    delay.SetBool(true);
    EXPECT_EQ(vars.TextDelay, 1);
    delay.SetIntAt(5, 70);
    EXPECT_EQ(vars.TextDelay, 70);

    // A string written to a flag is parsed as an integer.
    TCustomParam& full = Sys("@FullScr");
    full.SetStr("2");
    EXPECT_TRUE(display.full);
    full.SetStr("TRUE");
    EXPECT_FALSE(display.full);
    full.SetFloat(0.5L);
    EXPECT_TRUE(display.full);
    full.SetInt(0);
    EXPECT_FALSE(display.full);

    Sys("@MouseX").SetStr("x");
    EXPECT_EQ(input.mouseWrites, 0);
    Sys("@MouseY").SetFloat(9.9L);
    EXPECT_EQ(input.y, 9);

    TCustomParam& cursor = Sys("@Cursor");
    cursor.SetFloat(1.5L);
    EXPECT_EQ(vars.Cursor, "1.5");
    cursor.SetBool(false);
    EXPECT_EQ(vars.Cursor, "FALSE");
    Sys("@SelStr").SetInt(-4);
    EXPECT_EQ(vars.SelStr, "-4");
    Sys("@SelIndex").SetStr("7");
    EXPECT_EQ(vars.SelIndex, 7);

    // Read-only variables take writes silently, shape operations change nothing.
    EXPECT_NO_THROW(Sys("@Pi").SetInt(3));
    EXPECT_NO_THROW(Sys("@Year").SetStr("2000"));
    EXPECT_NO_THROW(Sys("@KeyPush").SetBoolAt(13, true));
    EXPECT_EQ(Sys("@Pi").AsStr(), "3.14159265358979");
    Sys("@KeyPush").SetDims({2});
    Sys("@KeyPush").ClearDims();
    EXPECT_EQ(Sys("@KeyPush").Count(), 258);
    EXPECT_EQ(display.fullWrites, 4);
}

// Every variable has a write rule (store or ignore); none of them may fall
// through to the internal error.
TEST_F(SystemVariables, EveryVariableTakesWritesOfEveryKind) {
    for (int i = 0; i < kSystemVariableCount; ++i) {
        SCOPED_TRACE(kSystemVariableNames[i]);
        TCustomParam& v = vars[i].Value();
        EXPECT_NO_THROW(v.SetInt(1));
        EXPECT_NO_THROW(v.SetFloat(1.5L));
        EXPECT_NO_THROW(v.SetBool(true));
        EXPECT_NO_THROW(v.SetStr("1"));
        EXPECT_NO_THROW(v.SetStrAt(0, "1"));
        EXPECT_NO_THROW((void)v.AsStr());
        EXPECT_TRUE(TParamCollection::IsSystem(vars[i]));
    }
}

TEST_F(SystemVariables, TempForwardsToItsTarget) {
    TCustomParam& temp = Sys("@Temp");
    // No target yet.
    EXPECT_EQ(temp.AsInt(), 0);
    EXPECT_EQ(temp.AsStr(), "");
    EXPECT_EQ(temp.Kind(), PT_NONE);
    EXPECT_EQ(temp.Count(), 1);
    EXPECT_NO_THROW(temp.SetInt(5));

    auto& v = vars.AddNamed(PT_INT, "v");
    v.Value().SetDims({3});
    v.Value().SetIntAt(2, 8);
    vars.TempTarget = "V";  // names compare case-insensitively
    EXPECT_EQ(temp.Kind(), PT_INT);
    EXPECT_EQ(temp.Count(), 3);
    EXPECT_EQ(temp.DimSize(0), 3);
    EXPECT_EQ(temp.GetIntAt(2), 8);
    temp.SetIntAt(1, 4);
    EXPECT_EQ(v.Value().GetIntAt(1), 4);
    temp.SetDims({2, 2});
    EXPECT_EQ(v.Value().Count(), 4);
    temp.SetStr("9");  // a scalar store drops the dimensions
    EXPECT_EQ(v.Value().Count(), 1);
    EXPECT_EQ(v.Value().AsInt(), 9);

    vars.TempTarget = "missing";
    EXPECT_EQ(temp.AsInt(), 0);
    // A target that leads back to "@Temp" is no target, not an endless loop.
    vars.TempTarget = "@Temp";
    EXPECT_EQ(temp.AsInt(), 0);
    EXPECT_EQ(temp.Kind(), PT_NONE);
    EXPECT_EQ(temp.Count(), 1);
    EXPECT_NO_THROW(temp.SetInt(1));
}

TEST_F(SystemVariables, ResultForwardsToTheCallFrame) {
    TCustomParam& result = Sys("@Result");
    EXPECT_EQ(result.Kind(), PT_NONE);
    EXPECT_EQ(result.AsStr(), "");
    EXPECT_NO_THROW(result.SetStr("x"));

    call.result = CreateParam(PT_STR);
    call.declared = PT_STR;
    result.SetInt(12);
    EXPECT_EQ(call.result->AsStr(), "12");
    EXPECT_EQ(result.Kind(), PT_STR);
    EXPECT_EQ(result.AsInt(), 12);
    result.FillStr("z");
    EXPECT_EQ(call.result->AsStr(), "z");
}

TEST_F(SystemVariables, DateReadsShareOneLocalTimePerClockTick) {
    clock.tick = 100;
    clock.now = {2024, 2, 29, 5, 13, 45, 30, 0};
    EXPECT_EQ(Sys("@Year").AsInt(), 2024);
    EXPECT_EQ(Sys("@Month").AsInt(), 2);
    EXPECT_EQ(Sys("@Day").AsInt(), 29);
    EXPECT_EQ(Sys("@Week").AsInt(), 5);
    EXPECT_EQ(Sys("@Hour").AsInt(), 13);
    EXPECT_EQ(Sys("@Min").AsInt(), 45);
    EXPECT_EQ(Sys("@Sec").AsInt(), 30);
    EXPECT_EQ(clock.nowCalls, 1);
    clock.now.Sec = 31;
    EXPECT_EQ(Sys("@Sec").AsInt(), 30);  // same frame step: the cached time
    clock.tick = 115;
    EXPECT_EQ(Sys("@Sec").AsInt(), 31);
    EXPECT_EQ(clock.nowCalls, 2);
    EXPECT_EQ(Sys("@TickCount").AsInt(), 115);
}

TEST_F(SystemVariables, IndexBeyondTheFiftyIsAnInternalError) {
    TParamSystemVar bad(50, vars, sources);
    for (auto op : std::initializer_list<std::function<void()>>{
             [&] { (void)bad.AsInt(); }, [&] { bad.SetInt(1); }, [&] { (void)bad.Count(); },
             [&] { (void)bad.Kind(); }, [&] { (void)bad.GetStrAt(0); }}) {
        try {
            op();
            ADD_FAILURE() << "no error";
        } catch (const EVeskError& e) {
            EXPECT_EQ(e.what(), Sj("内部エラー"));
        }
    }
}

TEST_F(SystemVariables, ScriptsUseThemLikeVariables) {
    vars.AddNamed(PT_INT, "x");
    input.held[13] = true;
    EXPECT_TRUE(Run("@KeyPush[13]")->AsBool());
    EXPECT_FALSE(Run("@KeyPush[12]")->AsBool());
    Run("@TextDelay = @TextDelay * 2");
    EXPECT_EQ(vars.TextDelay, 100);
    // An assignment stores with the setter of the destination's kind, so the
    // evaluator reads the text by the value rules first ("12abc" is 0, "2" is
    // not "TRUE"); the variables' own string rules apply to string stores.
    Run("@TextDelay = \"12abc\"");
    EXPECT_EQ(vars.TextDelay, 0);
    Run("@FullScr = \"2\"");
    EXPECT_FALSE(display.full);
    Run("@FullScr = 2");
    EXPECT_TRUE(display.full);
    Run("@Pi = 3");
    EXPECT_EQ(Run("@Pi * 2")->AsFloat(), 2 * std::numbers::pi_v<long double>);
    EXPECT_EQ(Run("@Sender ++ \"!\"")->AsStr(), "btn!");
}
