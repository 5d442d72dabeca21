#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "common/stream_io.h"
#include "components/kinds/kinds.h"
#include "components/properties/propids.h"
#include "components/properties/propnames.h"
#include "components/registry/vbaselist.h"
#include "components/registry/vport.h"
#include "script/callman.h"
#include "script/com_component.h"
#include "script/com_flip.h"
#include "script/com_message.h"
#include "script/com_vars.h"
#include "script/page.h"
#include "script/prop_apply.h"
#include "transitions/wipe.h"
#include "transitions/wipe_kinds.h"
#include "values/compiler.h"
#include "values/param_collection.h"

namespace vesk {
namespace {

class TTestHost final : public TScriptHost {
public:
    bool QuitRequested() const override { return quit; }
    void SetQuitRequested(bool flag) override { quit = flag; }
    void PostClose() override {}
    std::uint32_t PlayClock() const override { return clock; }
    std::int32_t LastFrameMs() const override { return 16; }
    void ShowWarning(const std::string&) override {}
    bool quit = false;
    std::uint32_t clock = 0;
};

class TTestPages final : public TPageSource {
public:
    bool PageExists(const std::string& name) override { return pages.count(name) > 0; }
    std::unique_ptr<TStream> OpenPage(const std::string& name) override {
        auto s = std::make_unique<TMemoryStream>();
        const std::string& bytes = pages.at(name);
        s->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        s->SetPosition(0);
        return s;
    }
    void PageTooOld(const std::string&) override {}
    std::map<std::string, std::string> pages;
};

TOpList Op(const std::string& text) {
    TBuildVeskParser b;
    b.Compile(text);
    auto op = std::make_unique<TVeskParser>();
    b.WriteTo(*op);
    return op;
}

// A list that is present but yields no value.
TOpList NoValue() { return std::make_unique<TVeskParser>(); }

class ComponentCommands : public ::testing::Test {
protected:
    ComponentCommands() { TParamCollection::SetGlobal(&vars); }
    ~ComponentCommands() override { TParamCollection::SetGlobal(nullptr); }

    TVeskControl& AddBox(const std::string& name, TVeskControl* parent = nullptr) {
        TVeskControl& c = *registry.CreateKind(LT_BOX)->AsControl();
        c.SetName(name);
        if (parent) c.SetParent(parent);
        return c;
    }
    TVeskControl& AddCabinet(const std::string& name, TVeskControl& parent) {
        TVeskControl& c = *registry.CreateKind(LT_CABINET)->AsControl();
        c.SetName(name);
        c.SetParent(&parent);
        return c;
    }
    // The names of the children, sorted.
    static std::string ChildNames(const TVeskControl& c) {
        std::vector<std::string> names;
        for (int i = 0; i < c.ChildCount(); ++i) names.push_back(c.Child(i)->Name());
        std::sort(names.begin(), names.end());
        std::string s;
        for (const std::string& n : names) s += (s.empty() ? "" : ",") + n;
        return s;
    }
    void SetStr(const std::string& name, const std::string& value) {
        TParamCollectionItem& v = vars.AddOfKind(PT_STR);
        v.SetVarName(name);
        v.Value().SetStr(value);
    }
    // Runs one command the way the interpreter does on a single pass.
    template <typename T>
    void RunOnce(T& command) {
        cm.CommandIndex = 0;
        command.Execute(cm);
    }

    TParamCollection vars;
    TVeskBaseList registry;
    TVeskComponentPort port{registry};
    TTestHost host;
    TTestPages pages;
    TCallMan cm{host, pages, port, vars};
};

// ---- applying property sets ----

TEST_F(ComponentCommands, AbsentValuesOfProperties) {
    const std::pair<int, std::int32_t> table[] = {
        {PR_ALPHA, 255},    {PR_ZOOMX, 256},      {PR_ZOOMY, 256},       {PR_COLOR, -1},   {PR_BORDERCOLOR, -1},
        {PR_HOVERCOLOR, -1}, {PR_FONTHEIGHT, 16}, {PR_VOLUME, 1000},     {PR_TEXTDELAY, 256}, {PR_COLCOUNT, 1},
        {PR_ROWCOUNT, 1},   {PR_AMP, 1},          {PR_WAVELEN, 100},     {PR_SMALLCHANGE, 1}, {PR_LARGECHANGE, 1},
        {PR_GLYPHWIDTH, 1}, {PR_GLYPHHEIGHT, 1},  {PR_LEFT, 0},          {PR_BRIGHTNESS, 0}, {PR_INDEX, 0},
    };
    for (auto [prop, value] : table) {
        auto v = AbsentPropertyValue(prop);
        EXPECT_EQ(v->Kind(), PT_INT) << PropertyName(prop);
        EXPECT_EQ(v->AsInt(), value) << PropertyName(prop);
    }
    EXPECT_TRUE(AbsentPropertyValue(PR_VISIBLE)->AsBool());
    EXPECT_TRUE(AbsentPropertyValue(PR_OVERLAY)->AsBool());
    EXPECT_FALSE(AbsentPropertyValue(PR_REPEAT)->AsBool());
    // An event whose kind table entry says flag still takes a page name.
    EXPECT_EQ(AbsentPropertyValue(PR_ONPLAYING)->Kind(), PT_STR);
    EXPECT_EQ(AbsentPropertyValue(PR_ONPLAYING)->AsStr(), "");
    EXPECT_EQ(AbsentPropertyValue(PR_PARAM1)->Kind(), PT_FLOAT);
}

TEST_F(ComponentCommands, BoxNewAppliesItsPropertiesWithTheAbsentDefaults) {
    TComBoxNew box(nullptr);
    box.Props[PR_NAME] = Op("\"panel\"");
    box.Props[PR_LEFT] = Op("10");
    box.Props[PR_WIDTH] = Op("40 + 60");
    box.Props[PR_COLOR] = NoValue();   // present, yields nothing: -1, not the control's 0
    box.Props[PR_ALPHA] = NoValue();
    box.Props[PR_PLUSX] = Op("5");     // never applied by a creation command
    box.Props[PR_ONLBTNUP] = Op("\"menu.vks:ok\"");
    RunOnce(box);
    EXPECT_EQ(cm.CommandIndex, 1);
    TVeskObject* made = registry.FindByName("panel");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->CompoType(), LT_BOX);
    EXPECT_EQ(made->GetLeft(), 10);
    EXPECT_EQ(made->GetWidth(), 100);
    EXPECT_EQ(made->GetColor(), -1);
    EXPECT_EQ(made->GetAlpha(), 255);
    EXPECT_EQ(made->GetPlusX(), 0);
    EXPECT_EQ(made->GetOnLBtnUp(), "menu.vks:ok");
    EXPECT_EQ(made->Parent(), &registry.ActiveBase());
}

TEST_F(ComponentCommands, NamesAndParentsOfCreatedComponents) {
    AddBox("frame");
    SetStr("inactive", "\x01");
    registry.SetActiveIndex(1);
    struct Case {
        const char* name;    // nullptr: no list; "": yields the empty text
        const char* parent;  // nullptr: no list
        const char* expectName;
        std::string expectParent;
    } cases[] = {
        {nullptr, nullptr, "object0", std::string("\x01") + "BASE1"},
        {"", "\"nothing\"", "object1", std::string("\x01") + "BASE1"},
        {"\"a\"", "\"frame\"", "a", "frame"},
        {"\"b\"", "\"\"", "b", std::string("\x01") + "BASE1"},
        {"\"c\"", "inactive", "c", std::string("\x01") + "BASE0"},  // the inactive base
    };
    for (const Case& c : cases) {
        TComImgNew img(nullptr);
        if (c.name) img.Props[PR_NAME] = *c.name ? Op(c.name) : Op("\"\"");
        if (c.parent) img.Props[PR_PARENT] = Op(c.parent);
        RunOnce(img);
        TVeskObject* made = registry.FindByName(c.expectName);
        ASSERT_NE(made, nullptr) << c.expectName;
        EXPECT_EQ(made->CompoType(), LT_IMAGES);
        ASSERT_NE(made->Parent(), nullptr);
        EXPECT_EQ(made->Parent()->Name(), c.expectParent) << c.expectName;
    }
    // Tiles and selection images are made the same way.
    TComTileNew tile(nullptr);
    TComMapImgNew map(nullptr);
    RunOnce(tile);
    RunOnce(map);
    EXPECT_EQ(registry.FindByName("object2")->CompoType(), LT_TILE);
    EXPECT_EQ(registry.FindByName("object3")->CompoType(), LT_MAPIMG);
}

// A control that records what a creation command does to it.
class TRecorder final : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    void SetWidth(const std::int32_t& v) override { log += "W"; TVeskControl::SetWidth(v); }
    void SetLeft(const std::int32_t& v) override { log += "L"; TVeskControl::SetLeft(v); }
    void SetZoomX(const std::int32_t&) override { log += "Z"; }
    void SetSource(const std::string&) override { log += "S"; }
    void BeforeApplyLeft() override { log += "b"; }
    void AppliedProperties() override { log += "."; }
    void TakeExpression(int prop, const TVeskParser& ops) override {
        log += "e" + std::to_string(prop) + (ops.Count() > 0 ? "+" : "");
    }
    std::string log;
};

TEST_F(ComponentCommands, CreationOrderAndHooks) {
    auto& r = static_cast<TRecorder&>(registry.Adopt(std::make_unique<TRecorder>(&registry)));
    TPropertySet props;
    props[PR_LEFT] = Op("1");
    props[PR_WIDTH] = Op("2");
    props[PR_ZOOMX] = Op("3");
    props[PR_SOURCE] = Op("\"a.png\"");
    ApplyPropertySet(r, props, registry);
    // Source, then zoom, size, the hook before the position, the position,
    // and the end hook.
    EXPECT_EQ(r.log, "SZWbL.");

    r.log.clear();
    TComImgNew img(nullptr);
    img.Props[PR_DELAY] = Op("100");
    img.Prepare(r);
    EXPECT_EQ(r.log, "e26+");
}

// ---- Flip ----

class FlipTest : public ComponentCommands {
protected:
    FlipTest() {
        registry.SetSize(64, 48);
        AddBox("bg");
        AddBox("msg");
        AddBox("face");
        SetStr("lines", "msg\r\nface");
    }
    TComFlip flip{nullptr};
};

TEST_F(FlipTest, SelectionModesMoveTheChosenComponents) {
    struct Case {
        const char* mode;  // nullptr: no selection
        std::string leftOnScreen, moved;
    } cases[] = {
        {"1", "bg", "face,msg"},
        {"0", "face,msg", "bg"},
        {"2", "bg,face,msg", ""},
        {nullptr, "bg,face,msg", ""},
    };
    for (const Case& c : cases) {
        TComFlip f(nullptr);
        if (c.mode) f.SelectMode = Op(c.mode);
        f.Names.push_back(Op("lines"));
        f.Duration = Op("0");
        registry.Reset();
        registry.SetActiveIndex(0);
        AddBox("bg");
        AddBox("msg");
        AddBox("face");
        f.Enter(cm);
        EXPECT_EQ(ChildNames(registry.Base(0)), c.leftOnScreen) << (c.mode ? c.mode : "none");
        EXPECT_EQ(ChildNames(registry.Base(1)), c.moved) << (c.mode ? c.mode : "none");
    }
}

TEST_F(FlipTest, WithoutDurationItFinishesInItsFirstPass) {
    flip.SelectMode = Op("1");
    flip.Names.push_back(Op("lines"));
    flip.Duration = Op("0");
    flip.Enter(cm);
    EXPECT_FALSE(flip.Yields());
    RunOnce(flip);
    EXPECT_EQ(cm.CommandIndex, 1);
    EXPECT_EQ(registry.ActiveIndex(), 1);
    EXPECT_EQ(ChildNames(registry.ActiveBase()), "face,msg");
}

TEST_F(FlipTest, WithDurationItCoversTheScreenAndTakesItsPhases) {
    flip.SelectMode = Op("1");
    flip.Names.push_back(Op("\"msg\""));
    flip.Duration = Op("500");
    flip.Enter(cm);
    EXPECT_TRUE(flip.Yields());
    // The picture of the screen stays on the old base, on top.
    const TVeskObject* snapshot = registry.FindByName(TVeskBaseList::kSnapshotName);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->Parent(), &registry.Base(0));
    EXPECT_EQ(snapshot->GetWidth(), registry.Width());
    EXPECT_EQ(ChildNames(registry.Base(1)), "msg");
    for (int pass = 0; pass < 2; ++pass) {
        RunOnce(flip);
        EXPECT_EQ(cm.CommandIndex, 0) << pass;
        EXPECT_EQ(registry.ActiveIndex(), 0);
    }
    RunOnce(flip);  // no transition runs: the flip ends
    EXPECT_EQ(cm.CommandIndex, 1);
    EXPECT_EQ(registry.ActiveIndex(), 1);
    EXPECT_EQ(registry.FindByName(TVeskBaseList::kSnapshotName), nullptr);
}

TEST_F(FlipTest, ClearEmptiesTheOldBaseKeepingCabinetsUnlessAborted) {
    for (bool abort : {false, true}) {
        registry.Reset();
        registry.SetActiveIndex(0);
        AddBox("bg");
        AddBox("inner", &AddBox("outer"));
        AddCabinet("cab", registry.Base(0));
        TComFlip f(nullptr);
        f.Clear = Op("TRUE");
        f.SelectMode = Op("1");
        f.Names.push_back(Op("\"outer\""));
        f.Enter(cm);  // no duration: Phase 3
        cm.CommandIndex = 0;
        if (abort) f.Abort(cm);
        else f.Execute(cm);
        EXPECT_EQ(cm.CommandIndex, abort ? 0 : 1);
        EXPECT_EQ(registry.ActiveIndex(), 1);
        // The moved box and its child are on the new screen; the old one
        // keeps its cabinet only when the flip ended normally.
        EXPECT_EQ(ChildNames(registry.Base(1)), "outer") << abort;
        EXPECT_NE(registry.FindByName("inner"), nullptr);
        EXPECT_EQ(ChildNames(registry.Base(0)), abort ? "" : "cab") << abort;
        EXPECT_EQ(registry.FindByName("bg"), nullptr);
    }
}

// A blinds flip that moves msg, clears the old screen and runs 100 ms.
struct FlipWithTransition : FlipTest {
    FlipWithTransition() {
        flip.WipeKind = Op("2");
        flip.Duration = Op("100");
        flip.SelectMode = Op("1");
        flip.Names.push_back(Op("\"msg\""));
        flip.Clear = Op("TRUE");
        host.clock = 1000;
    }
    // Runs the passes of the first two frames: the transition's time
    // starts at the second (clock 1016).
    void EnterAndStart() {
        flip.Enter(cm);
        RunOnce(flip);
        host.clock += 16;
        RunOnce(flip);
    }
    // One pass at the given time after the start.
    void PassAt(std::uint32_t sinceStart) {
        host.clock = 1016 + sinceStart;
        RunOnce(flip);
    }
    void ExpectFinished() {
        EXPECT_EQ(cm.CommandIndex, 1);
        EXPECT_EQ(registry.Transition(), nullptr);
        EXPECT_EQ(registry.ActiveIndex(), 1);
        EXPECT_EQ(registry.FindByName(TVeskBaseList::kSnapshotName), nullptr);
        EXPECT_EQ(ChildNames(registry.Base(0)), "");  // cleared
        EXPECT_EQ(ChildNames(registry.Base(1)), "msg");
    }
};

// The transition runs from the screen being left (which keeps the snapshot
// and stays active) to the other one, advanced to the time since the start
// while that is below its duration; then the flip ends on the other base.
TEST_F(FlipWithTransition, ItRunsByThePlayClockAndEndsOnTheOtherBase) {
    flip.Enter(cm);
    TCustomWipe* w = registry.Transition();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Duration, 100);
    EXPECT_EQ(w->Position, 0);
    EXPECT_EQ(w->Old, registry.BaseSurface(0));
    EXPECT_EQ(w->New, registry.BaseSurface(1));
    EXPECT_EQ(registry.ActiveIndex(), 0);
    EXPECT_NE(registry.FindByName(TVeskBaseList::kSnapshotName), nullptr);
    RunOnce(flip);
    host.clock += 16;
    RunOnce(flip);
    EXPECT_EQ(w->Position, 0);
    for (const std::uint32_t t : {40u, 99u}) {
        PassAt(t);
        EXPECT_EQ(cm.CommandIndex, 0) << t;
        ASSERT_EQ(registry.Transition(), w) << t;
        EXPECT_EQ(w->Position, static_cast<std::int32_t>(t));
    }
    PassAt(100);
    ExpectFinished();
}

// Parameters 1 and 2 become the kind's parameters 0 and 1 through its
// rules, only when present; the flag and the mask name are passed on.
TEST_F(FlipWithTransition, ItPassesTheParametersFlagAndMask) {
    struct Case {
        const char *param1, *param2, *flag, *mask;
        std::int32_t p0, p1;
        std::uint8_t wipeFlag;
        std::string maskName;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, 20, 1, 0, ""},  // the kind's defaults
        {"7", "3", "TRUE", "\"m.png\"", 7, 3, 1, "m.png"},
        {"1", "0", "FALSE", "\"\"", 2, 1, 0, ""},           // clamped by the kind
        {"-5", "2147483647", "1", nullptr, 2, 2147483647, 1, ""},
    };
    for (const Case& c : cases) {
        TComFlip f(nullptr);
        f.WipeKind = Op("2");
        f.Duration = Op("100");
        f.SelectMode = Op("1");
        if (c.param1) f.Param1 = Op(c.param1);
        if (c.param2) f.Param2 = Op(c.param2);
        if (c.flag) f.Transition = Op(c.flag);
        if (c.mask) f.MaskSource = Op(c.mask);
        f.Enter(cm);
        const TCustomWipe* w = registry.Transition();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->GetParam(0), c.p0) << (c.param1 ? c.param1 : "-");
        EXPECT_EQ(w->GetParam(1), c.p1) << (c.param2 ? c.param2 : "-");
        EXPECT_EQ(w->Flag, c.wipeFlag);
        EXPECT_EQ(w->MaskName, c.maskName);
        f.Abort(cm);
        registry.SetActiveIndex(0);
    }
}

// No transition without a selection, without a duration or for a kind
// that names none; the kind is taken as a byte.
TEST_F(FlipTest, ATransitionNeedsASelectionADurationAndAKind) {
    struct Case {
        const char *kind, *time, *select;
        bool made;
    } cases[] = {
        {"1", "100", "1", true},      {"257", "100", "1", true}, {"1", "100", nullptr, false},
        {"1", "0", "1", false},       {"1", nullptr, "1", false}, {"0", "100", "1", false},
        {"39", "100", "1", false},    {"-1", "100", "1", false},
    };
    for (const Case& c : cases) {
        TComFlip f(nullptr);
        f.WipeKind = Op(c.kind);
        if (c.time) f.Duration = Op(c.time);
        if (c.select) f.SelectMode = Op(c.select);
        f.Enter(cm);
        EXPECT_EQ(registry.Transition() != nullptr, c.made) << c.kind << " " << (c.time ? c.time : "-");
        f.Abort(cm);
        registry.SetActiveIndex(0);
    }
}

TEST_F(FlipWithTransition, ADurationOfOneMillisecondEndsInTheThirdPass) {
    flip.Duration = Op("1");
    EnterAndStart();
    EXPECT_EQ(cm.CommandIndex, 0);
    ASSERT_NE(registry.Transition(), nullptr);
    PassAt(16);
    ExpectFinished();
}

// Aborted in the middle, the flip ends the transition and switches at
// once, the index staying where it is.
TEST_F(FlipWithTransition, AbortEndsTheTransitionAndSwitches) {
    EnterAndStart();
    PassAt(50);
    cm.CommandIndex = 0;
    flip.Abort(cm);
    EXPECT_EQ(cm.CommandIndex, 0);
    EXPECT_EQ(registry.Transition(), nullptr);
    EXPECT_EQ(registry.ActiveIndex(), 1);
    EXPECT_EQ(registry.FindByName(TVeskBaseList::kSnapshotName), nullptr);
    EXPECT_EQ(ChildNames(registry.Base(0)), "");
}

// A saved game holds the flip's transition with the time it had reached.
// Loaded (the registry emptied and restored, its system components gone),
// the flip makes the transition and the snapshot again and runs on from
// that time by the new clock.
TEST_F(FlipWithTransition, ASavedFlipRunsItsTransitionOnAfterLoading) {
    flip.Param1 = Op("7");
    flip.Transition = Op("TRUE");
    flip.MaskSource = Op("\"m.png\"");
    flip.Hold = Op("TRUE");
    EnterAndStart();
    PassAt(40);
    TMemoryStream state, components;
    flip.SaveState(state);
    EXPECT_EQ(state.AsString().substr(0, 9), std::string("vesk101\x01\x01", 9));
    registry.SaveToStream(components);
    components.SetPosition(0);
    registry.LoadFromStream(components, kStateVersion);
    ASSERT_EQ(registry.Transition(), nullptr);
    ASSERT_EQ(registry.FindByName(TVeskBaseList::kSnapshotName), nullptr);

    TComFlip restored(nullptr);
    state.SetPosition(0);
    restored.LoadState(state);
    EXPECT_TRUE(restored.Yields());
    EXPECT_TRUE(restored.BlocksEvents());
    host.clock = 90000;
    cm.CommandIndex = 0;
    restored.Execute(cm);
    const TCustomWipe* w = registry.Transition();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Position, 40);
    EXPECT_EQ(w->Duration, 100);
    EXPECT_EQ(w->GetParam(0), 7);
    EXPECT_EQ(w->Flag, 1);
    EXPECT_EQ(w->MaskName, "m.png");
    EXPECT_EQ(w->Old, registry.BaseSurface(0));
    EXPECT_NE(registry.FindByName(TVeskBaseList::kSnapshotName), nullptr);
    EXPECT_EQ(cm.CommandIndex, 0);
    host.clock = 90000 + 59;
    restored.Execute(cm);
    EXPECT_EQ(registry.Transition(), w);
    EXPECT_EQ(w->Position, 99);
    host.clock = 90000 + 60;
    restored.Execute(cm);
    ExpectFinished();
}

// An event page that interrupts the flip saves and restores its state
// around itself; the transition is still running then and keeps its time.
TEST_F(FlipWithTransition, BackFromAnEventPageTheRunningTransitionGoesOn) {
    EnterAndStart();
    PassAt(30);
    const TCustomWipe* w = registry.Transition();
    TMemoryStream state;
    flip.SaveState(state);
    state.SetPosition(0);
    flip.LoadState(state);
    PassAt(70);
    EXPECT_EQ(registry.Transition(), w);
    EXPECT_EQ(w->Position, 70);
    PassAt(100);
    ExpectFinished();
}

// States of the older layout hold only hold-events and Clear; without the
// version head they hold neither.
TEST_F(FlipTest, OlderStatesKeepHoldAndClear) {
    TComFlip restored(nullptr);
    const std::string v100("vesk100\x01\x01", 9);
    TConstMemoryStream s(v100.data(), 9);
    restored.LoadState(s);
    EXPECT_TRUE(restored.BlocksEvents());
    EXPECT_EQ(s.Position(), 9);
    TComFlip old(nullptr);
    const std::string bare("\x01\x01", 2);
    TConstMemoryStream o(bare.data(), 2);
    old.LoadState(o);
    EXPECT_FALSE(old.BlocksEvents());
    EXPECT_EQ(o.Position(), 0);
}

// A Flip carrying Continue 1 in the main flow must not run all its passes
// in one frame: a pass that does not move on ends the frame's work.
TEST_F(FlipTest, ContinueOneStillTakesOneFramePerPass) {
    TPage page("start.vks");
    page.Format = 113;
    auto f = std::make_unique<TComFlip>(&page);
    f->Continue = true;
    f->Duration = Op("500");
    f->SelectMode = Op("1");
    f->Names.push_back(Op("\"msg\""));
    page.Commands.push_back(std::move(f));
    auto calc = std::make_unique<TComCalc>(&page);
    calc->Expression = Op("done = done + 1");
    page.Commands.push_back(std::move(calc));
    TMemoryStream bytes;
    page.SaveToStream(bytes);
    pages.pages["start.vks"] = bytes.AsString();
    TParamCollectionItem& done = vars.AddOfKind(PT_INT);
    done.SetVarName("done");

    cm.Start("start.vks");
    for (int frame = 1; frame <= 2; ++frame) {
        host.clock += 16;
        cm.Step();
        EXPECT_EQ(cm.CommandIndex, 0) << frame;
        EXPECT_EQ(done.Value().AsInt(), 0) << frame;
    }
    host.clock += 16;
    cm.Step();  // the third pass ends the flip and the flow goes on at once
    EXPECT_EQ(registry.ActiveIndex(), 1);
    EXPECT_EQ(done.Value().AsInt(), 1);
}

// ---- cabinets ----

class CabinetTest : public ComponentCommands {
protected:
    CabinetTest() {
        registry.SetActiveIndex(1);  // the inactive base is base 0
        AddBox("a");
        AddBox("b");
        registry.SetActiveIndex(0);  // now a and b lie on the inactive base 1
    }
    template <typename T>
    void Run(const char* name, std::vector<const char*> names, bool invert = false) {
        T c(nullptr);
        if (name) c.Props[PR_NAME] = Op(name);
        if (invert) c.Invert = Op("TRUE");
        for (const char* n : names) c.Names.push_back(Op(n));
        RunOnce(c);
        EXPECT_EQ(cm.CommandIndex, 1);
    }
};

TEST_F(CabinetTest, SaveMovesTheSelectedChildrenOfTheInactiveBase) {
    Run<TComCabinetSave>("\"cab\"", {"\"a\"", "\"zz\""});
    TVeskObject* cab = registry.FindByName("cab");
    ASSERT_NE(cab, nullptr);
    EXPECT_EQ(cab->CompoType(), LT_CABINET);
    EXPECT_EQ(cab->Parent(), &registry.Base(0));
    EXPECT_EQ(ChildNames(*cab->AsControl()), "a");
    EXPECT_EQ(ChildNames(registry.Base(1)), "b");
    // The same cabinet takes more; invert selects the unnamed ones.
    Run<TComCabinetSave>("\"cab\"", {"\"a\""}, true);
    EXPECT_EQ(ChildNames(*cab->AsControl()), "a,b");
    EXPECT_EQ(ChildNames(registry.Base(1)), "");

    Run<TComCabinetLoad>("\"cab\"", {"\"b\""});
    EXPECT_EQ(ChildNames(registry.Base(1)), "b");
    EXPECT_EQ(ChildNames(*cab->AsControl()), "a");
    Run<TComCabinetLoad>("\"cab\"", {"\"b\""}, true);  // takes a, leaving it empty
    EXPECT_EQ(ChildNames(registry.Base(1)), "a,b");
    EXPECT_EQ(registry.FindByName("cab"), nullptr);
}

TEST_F(CabinetTest, NothingSelectedLeavesNoEmptyCabinet) {
    const int before = registry.Count();
    Run<TComCabinetSave>("\"cab\"", {"\"nobody\""});
    Run<TComCabinetSave>(nullptr, {});  // no name, nothing named
    EXPECT_EQ(registry.FindByName("cab"), nullptr);
    EXPECT_EQ(registry.Count(), before);
    EXPECT_EQ(ChildNames(registry.Base(1)), "a,b");
    // A name that is not a cabinet's is not one to load from.
    Run<TComCabinetLoad>("\"a\"", {"\"b\""}, true);
    EXPECT_EQ(ChildNames(registry.Base(1)), "a,b");
}

TEST_F(CabinetTest, AnUnnamedCabinetTakesAnAutomaticName) {
    Run<TComCabinetSave>(nullptr, {"\"b\""});
    TVeskObject* cab = registry.FindByName("object0");
    ASSERT_NE(cab, nullptr);
    EXPECT_EQ(cab->CompoType(), LT_CABINET);
    EXPECT_EQ(ChildNames(*cab->AsControl()), "b");
}

// ---- GetProp, SetProp, ObjDel on registry components ----

TEST_F(ComponentCommands, PropertyCommandsReachRegistryComponents) {
    TVeskControl& outer = AddBox("outer");
    AddBox("inner", &outer);
    TParamCollectionItem& v = vars.AddOfKind(PT_STR);
    v.SetVarName("v");

    auto get = [&](const char* object, const char* prop) {
        TComGetProp g(nullptr);
        g.Component = Op(object);
        g.Property = Op(prop);
        g.VarName = "v";
        RunOnce(g);
        return v.Value().AsStr();
    };
    auto set = [&](const char* object, const char* prop, const char* value) {
        TComSetProp s(nullptr);
        s.Component = Op(object);
        s.Property = Op(prop);
        s.Value = Op(value);
        RunOnce(s);
    };
    EXPECT_EQ(get("\"inner\"", "1"), "outer");
    EXPECT_EQ(get("\"outer\"", "1"), std::string("\x01") + "BASE0");
    set("\"inner\"", "3", "42");
    EXPECT_EQ(get("\"inner\"", "3"), "42");
    set("\"inner\"", "1", "\"\"");  // the active base
    EXPECT_EQ(get("\"inner\"", "1"), std::string("\x01") + "BASE0");
    set("\"inner\"", "1", "\"outer\"");
    set("\"inner\"", "0", "\"renamed\"");
    EXPECT_EQ(get("\"renamed\"", "1"), "outer");
    EXPECT_EQ(get("\"renamed\"", "140"), "2");  // PR_COMPOTYPE of a box
    // The bases are not script components.
    SetStr("base0", "\x01" "BASE0");
    v.Value().SetStr("kept");
    EXPECT_EQ(get("base0", "5"), "kept");

    TComObjDel del(nullptr);
    del.Component = Op("\"outer\"");
    RunOnce(del);
    EXPECT_EQ(registry.FindByName("outer"), nullptr);
    EXPECT_EQ(registry.FindByName("renamed"), nullptr);  // went with its parent
}

// ---- message commands ----

TEST_F(ComponentCommands, ClrReadEmptiesTheReadMarksAndStepsOn) {
    TVeskReadList& marks = registry.ReadMarks();
    marks.Arm("msg", "start.vks", 0, 3);
    marks.Commit("msg");
    TComClrRead clear(nullptr);
    RunOnce(clear);
    EXPECT_EQ(cm.CommandIndex, 1);
    EXPECT_FALSE(marks.IsRead("start.vks", 3, 0));
    EXPECT_EQ(marks.Count(), 0);
}

// A text insertion's state is read back in step whichever player wrote it:
// a box's name, which names no message box here, the wait and, from version
// 100 on, the hold.
TEST_F(ComponentCommands, TextInsStateKeepsWaitAndHold) {
    TComTextIns ins(nullptr);
    ins.Hold = Op("TRUE");
    ins.Enter(cm);
    EXPECT_TRUE(ins.BlocksEvents());
    EXPECT_FALSE(ins.Yields());
    TMemoryStream s;
    ins.SaveState(s);
    EXPECT_EQ(s.AsString(), std::string("vesk100\0\0\0\0\x00\x01", 13));

    struct Case {
        std::string bytes;
        bool waiting, hold;
    } const cases[] = {
        {std::string("vesk100\x03\0\0\0msg\x01\x01", 16), true, true},
        {std::string("vesk100\x03\0\0\0msg\x01\x00", 16), true, false},
        {std::string("\x03\0\0\0msg\x01", 8), true, false},  // no head: no hold field
    };
    for (const Case& c : cases) {
        TComTextIns restored(nullptr);
        TConstMemoryStream in(c.bytes.data(), static_cast<std::int64_t>(c.bytes.size()));
        restored.LoadState(in);
        EXPECT_EQ(in.Position(), in.Size());
        EXPECT_EQ(restored.Yields(), c.waiting);
        EXPECT_EQ(restored.BlocksEvents(), c.hold);
        // No message box is its target, so it never stays on its index.
        RunOnce(restored);
        EXPECT_EQ(cm.CommandIndex, 1);
    }
}

}  // namespace
}  // namespace vesk
