#include <gtest/gtest.h>

#include <cstdio>

#include "common/error.h"
#include "common/stream_io.h"
#include "components/kinds/kinds.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"
#include "values/params.h"

namespace vesk {
namespace {

void SetStr(TVeskObject& o, int prop, const std::string& s) {
    TParamStr v;
    v.SetStr(s);
    SetProp(o, prop, v);
}
void SetInt(TVeskObject& o, int prop, std::int32_t x) {
    TParamInt v;
    v.SetInt(x);
    SetProp(o, prop, v);
}
std::string Str(TVeskObject& o, int prop) {
    TParamStr v;
    GetProp(v, o, prop);
    return v.AsStr();
}
std::int32_t Int(TVeskObject& o, int prop) {
    TParamInt v;
    GetProp(v, o, prop);
    return v.AsInt();
}

std::vector<std::uint8_t> Save(const TVeskBaseList& r) {
    TMemoryStream s;
    r.SaveToStream(s);
    return s.Bytes();
}

void Load(TVeskBaseList& r, const std::vector<std::uint8_t>& bytes, int version) {
    TMemoryStream s(bytes);
    r.LoadFromStream(s, version);
    EXPECT_EQ(s.Remaining(), 0);
}

// A scene with a nested tree on both bases, non-visual components, queued
// events and focus; every control field has a value of its own.
void BuildScene(TVeskBaseList& r) {
    r.SetSize(800, 600);
    TVeskObject& back = *r.CreateKind(LT_BOX);
    SetStr(back, PR_NAME, "back");
    SetStr(back, PR_TAG, "tagged");
    SetInt(back, PR_PRIORITY, 4);
    back.SetPriorityOffset(-2);
    const int ints[] = {PR_LEFT,    PR_TOP,     PR_WIDTH,    PR_HEIGHT,    PR_OFFSETX, PR_OFFSETY,
                        PR_PLUSX,   PR_PLUSY,   PR_CLIPLEFT, PR_CLIPTOP,   PR_CLIPWIDTH, PR_CLIPHEIGHT,
                        PR_COLOR,   PR_IGNOREMOUSE};
    int n = 1;
    for (int prop : ints) SetInt(back, prop, n++);
    const int pages[] = {PR_ONMOUSEMOVE, PR_ONMOUSEIN,  PR_ONMOUSEOUT, PR_ONLBTNDOWN,  PR_ONLBTNUP,
                         PR_ONRBTNDOWN,  PR_ONRBTNUP,   PR_ONWHEELDOWN, PR_ONWHEELUP,  PR_ONKEYDOWN,
                         PR_ONKEYUP,     PR_ONKEYREPEAT, PR_ONFOCUSIN,  PR_ONFOCUSOUT, PR_CURSOR};
    for (int prop : pages) SetStr(back, prop, "page" + std::to_string(prop));
    SetInt(back, PR_POSZOOMED, 1);
    SetInt(back, PR_ANIPAUSED, 1);
    SetInt(back, PR_HANDLEKEY, 1);
    back.AsControl()->SetMotionPos(70, 80);
    back.AsControl()->SetRect({5, 6, 7, 8});

    TVeskObject& child = *r.CreateKind(LT_IMAGES);
    SetStr(child, PR_NAME, "child");
    SetStr(child, PR_PARENT, "back");
    SetInt(child, PR_VISIBLE, 0);
    TVeskObject& grandchild = *r.CreateKind(LT_LABEL);
    SetStr(grandchild, PR_PARENT, "child");
    SetInt(grandchild, PR_PRIORITY, -3);
    TVeskObject& sibling = *r.CreateKind(LT_TILE);
    SetStr(sibling, PR_NAME, "sib");
    SetStr(sibling, PR_PARENT, "child");

    TVeskObject& far = *r.CreateKind(LT_CABINET);
    SetStr(far, PR_NAME, "far");
    SetStr(far, PR_PARENT, "\x01");

    TVeskObject& bgm = *r.CreateKind(LT_SOUND);
    SetStr(bgm, PR_NAME, "bgm");
    SetInt(bgm, PR_PRIORITY, 9);
    r.CreateKind(LT_TIMER);

    r.EventQueue().Add(TTimerData{"onclick:lbl", back.Id(), PR_ONLBTNUP, 0, {"12", "34"}});
    r.EventQueue().Add(TTimerData{"tick", r.FindByName("object0")->Id(), PR_ONNOTIFY, 3, {}});
    r.EventQueue().Add(TTimerData{"gone", 9999, PR_ONPLAYEND, 0, {}});
    r.EventQueue().Add(TTimerData{"base", r.Base(1).Id(), PR_ONWHEELUP, 0, {"x"}});
    // Switching bases drops a focus left on the other one, so the focus is
    // set last: a saved game may still hold it.
    r.SetActiveIndex(1);
    r.SetFocused(back.AsControl());
}

TEST(StateStream, RoundTripKeepsEveryFieldAndRewritesTheSameBytes) {
    TVeskBaseList original;
    BuildScene(original);
    const auto bytes = Save(original);

    TVeskBaseList loaded;
    loaded.CreateKind(LT_BOX);  // loading empties the registry first
    Load(loaded, bytes, kStateVersion);
    EXPECT_EQ(Save(loaded), bytes);

    EXPECT_EQ(loaded.Width(), 800);
    EXPECT_EQ(loaded.ActiveIndex(), 1);
    TVeskObject& back = *loaded.FindByName("back");
    EXPECT_EQ(back.CompoType(), LT_BOX);
    EXPECT_EQ(back.Parent(), &loaded.Base(0));
    EXPECT_EQ(Str(back, PR_TAG), "tagged");
    EXPECT_EQ(back.PriorityOffset(), -2);
    EXPECT_EQ(Int(back, PR_CLIPHEIGHT), 12);
    EXPECT_EQ(Int(back, PR_IGNOREMOUSE), 14);
    EXPECT_EQ(Str(back, PR_ONFOCUSOUT), "page149");
    EXPECT_EQ(back.AsControl()->MotionY(), 80);
    EXPECT_EQ(loaded.Focused(), back.AsControl());

    TVeskControl& child = *loaded.FindByName("child")->AsControl();
    EXPECT_EQ(child.Parent(), &back);
    EXPECT_FALSE(child.GetVisible());
    ASSERT_EQ(child.ChildCount(), 2);
    EXPECT_EQ(child.Child(0)->CompoType(), LT_LABEL);  // priority -3 sorts first
    EXPECT_EQ(child.Child(1)->Name(), "sib");
    EXPECT_EQ(loaded.FindByName("far")->Parent(), &loaded.Base(1));
    EXPECT_EQ(loaded.FindByName("bgm")->Priority(), 9);

    TTimerList& q = loaded.EventQueue();
    ASSERT_EQ(q.Count(), 4);
    EXPECT_EQ(q.Item(0).Sender, back.Id());
    EXPECT_EQ(q.Item(0).Args, (std::vector<std::string>{"12", "34"}));
    EXPECT_EQ(q.Item(0).Code, PR_ONLBTNUP);
    EXPECT_EQ(q.Item(1).Level, 3);
    EXPECT_EQ(q.Item(1).Sender, loaded.FindByName("object0")->Id());
    EXPECT_EQ(q.Item(2).Sender, kNoObject);
    EXPECT_EQ(q.Item(3).Sender, loaded.Base(1).Id());
}

TEST(StateStream, PendingSystemNamedAndKindlessObjectsAreNotSaved) {
    TVeskBaseList r;
    TVeskObject& kept = *r.CreateKind(LT_BOX);
    SetStr(kept, PR_NAME, "kept");
    TVeskObject& sys = *r.CreateKind(LT_BOX);
    SetStr(sys, PR_NAME, "\x01helper");
    SetStr(*r.CreateKind(LT_BOX), PR_PARENT, "\x01helper");
    r.MarkForDestruction(*r.CreateKind(LT_IMAGES));
    r.MarkForDestruction(*r.CreateKind(LT_TIMER));
    r.CreateKind(LT_SOUND);
    r.Adopt(std::make_unique<TVeskControl>(&r));  // kind 0
    TVeskBaseList loaded;
    Load(loaded, Save(r), kStateVersion);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.Item(0).Name(), "kept");
    EXPECT_EQ(loaded.Item(1).CompoType(), LT_SOUND);
}

// Writes the bytes of an older layout by hand.
struct OldWriter {
    TMemoryStream s;
    int version;
    void Object(const std::string& name, std::int32_t priority, std::int32_t offset, const std::string& tag) {
        WriteString(s, name);
        WriteInt32(s, priority);
        if (version > 103) WriteInt32(s, offset);
        if (version >= 120) WriteString(s, tag);
    }
    // A control with left 10, top 20, the mouse pages "m0" … "m8" and the
    // key pages "k0" … "k4" where the layout has them.
    void Control(const std::string& name, std::int32_t children) {
        Object(name, 1, 2, "t");
        for (std::int32_t v : {10, 20, 30, 40, 1, 2}) WriteInt32(s, v);
        WriteFlag(s, false);
        if (version >= 130)
            for (std::int32_t v : {3, 4, 5, 6}) WriteInt32(s, v);
        if (version > 103) {
            for (std::int32_t v : {7, 8, 9, 10}) WriteInt32(s, v);
            WriteFlag(s, true);
        }
        WriteFlag(s, true);
        WriteInt32(s, 0xFF);
        for (std::int32_t v : {0, 0, 1, 1}) WriteInt32(s, v);
        WriteByte(s, 2);
        WriteString(s, "hand.cur");
        for (int i = 0; i < 9; ++i)
            if (i != 1 || version > 101) WriteString(s, "m" + std::to_string(i));
        if (version > 117) {
            WriteFlag(s, true);
            for (int i = 0; i < 5; ++i) WriteString(s, "k" + std::to_string(i));
        }
        WriteInt32(s, children);
    }
    void Header(std::int32_t width, std::int32_t height) {
        WriteInt32(s, width);
        WriteInt32(s, height);
        WriteInt32(s, 0);  // active base
    }
    std::vector<std::uint8_t> Registry() {
        Header(320, 240);
        Control("\x01" "BASE0", 1);
        WriteByte(s, LT_CABINET);  // a kind that adds no fields of its own
        Control("pic", 0);
        Control("\x01" "BASE1", 0);
        WriteInt32(s, 1);
        WriteByte(s, LT_TIMER);
        Object("clock", 0, 0, "");
        WriteInt32(s, 1);
        WriteString(s, "page");
        WriteString(s, "pic");
        WriteByte(s, PR_ONLBTNUP);
        if (version > 113) WriteInt32(s, 0);
        else WriteByte(s, 1);
        WriteInt32(s, 0);
        if (version > 118) WriteString(s, "pic");
        return s.Bytes();
    }
};

TEST(StateStream, OlderLayoutsAreReadByTheirOwnRules) {
    for (int version : {100, 101, 102, 103, 104, 113, 114, 117, 118, 119, 120, 129, 130, 138}) {
        SCOPED_TRACE(version);
        OldWriter w{{}, version};
        TVeskBaseList r;
        Load(r, w.Registry(), version);
        ASSERT_EQ(r.Count(), 2);
        TVeskObject& pic = *r.FindByName("pic");
        EXPECT_EQ(pic.Parent(), &r.Base(0));
        EXPECT_EQ(r.Base(0).Name(), "\x01" "BASE0");
        EXPECT_EQ(Int(pic, PR_TOP), 20);
        EXPECT_EQ(Int(pic, PR_COLOR), 0xFF);
        EXPECT_EQ(Str(pic, PR_CURSOR), "hand.cur");
        EXPECT_EQ(Str(pic, PR_ONMOUSEIN), version > 101 ? "m1" : "");
        EXPECT_EQ(Str(pic, PR_ONWHEELUP), "m8");
        EXPECT_EQ(pic.PriorityOffset(), version > 103 ? 2 : 0);
        EXPECT_EQ(Str(pic, PR_TAG), version >= 120 ? "t" : "");
        EXPECT_EQ(Int(pic, PR_PLUSY), version >= 130 ? 6 : 0);
        EXPECT_EQ(pic.AsControl()->MotionX(), version >= 130 ? 3 : 0);
        EXPECT_EQ(Int(pic, PR_CLIPWIDTH), version > 103 ? 9 : 0);
        EXPECT_EQ(Int(pic, PR_ANIPAUSED), version > 103 ? 1 : 0);
        EXPECT_EQ(Int(pic, PR_HANDLEKEY), version > 117 ? 1 : 0);
        EXPECT_EQ(Str(pic, PR_ONFOCUSIN), version > 117 ? "k3" : "");
        EXPECT_EQ(Int(pic, PR_IGNOREMOUSE), 2);
        ASSERT_EQ(r.EventQueue().Count(), 1);
        EXPECT_EQ(r.EventQueue().Item(0).Level, version > 113 ? 0 : 1);
        EXPECT_EQ(r.EventQueue().Item(0).Sender, pic.Id());
        EXPECT_EQ(r.Focused(), version > 118 ? pic.AsControl() : nullptr);
        EXPECT_EQ(r.FindByName("clock")->CompoType(), LT_TIMER);
    }
}

TEST(StateStream, FocusOnAControlThatIsGoneStaysEmpty) {
    OldWriter w{{}, kStateVersion};
    auto bytes = w.Registry();
    bytes.resize(bytes.size() - 3);  // the focus name "pic" becomes "zzz"
    bytes.insert(bytes.end(), {'z', 'z', 'z'});
    TVeskBaseList r;
    Load(r, bytes, kStateVersion);
    EXPECT_EQ(r.Focused(), nullptr);
}

TEST(StateStream, DamagedStreamsFailWithAnError) {
    TVeskBaseList original;
    BuildScene(original);
    const auto bytes = Save(original);
    // Every truncation fails cleanly and leaves a usable registry.
    for (std::size_t n = 0; n < bytes.size(); n += 7) {
        TVeskBaseList r;
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        TMemoryStream s(cut);
        EXPECT_THROW(r.LoadFromStream(s, kStateVersion), EVeskError) << n;
        r.CreateKind(LT_BOX);
        EXPECT_NO_THROW(Save(r));
    }
    // A kind byte that names no kind, or a non-visual kind among children.
    for (std::uint8_t kind : {std::uint8_t{0}, std::uint8_t{LT_MAP}, std::uint8_t{28}, std::uint8_t{LT_SOUND}}) {
        OldWriter w{{}, kStateVersion};
        auto b = w.Registry();
        // The kind byte of "pic" follows base 0's child count.
        OldWriter head{{}, kStateVersion};
        head.Header(320, 240);
        head.Control("\x01" "BASE0", 1);
        b[head.s.Bytes().size()] = kind;
        TVeskBaseList r;
        TMemoryStream s(b);
        EXPECT_THROW(r.LoadFromStream(s, kStateVersion), EVeskError) << int(kind);
    }
}

TEST(StateStream, AbsurdCountsAndDepthsAreRefused) {
    // A screen larger than any project may have, or a negative one.
    for (auto [w, h] : {std::pair{0x7FFFFFFF, 8}, std::pair{8, -1}}) {
        OldWriter big{{}, kStateVersion};
        big.Header(w, h);
        TVeskBaseList r;
        TMemoryStream s(big.s.Bytes());
        EXPECT_THROW(r.LoadFromStream(s, kStateVersion), EStreamError) << w << "x" << h;
    }

    OldWriter w{{}, kStateVersion};
    w.Header(8, 8);
    w.Control("\x01" "BASE0", 0x7FFFFFFF);
    TVeskBaseList r;
    TMemoryStream s(w.s.Bytes());
    EXPECT_THROW(r.LoadFromStream(s, kStateVersion), EStreamError);

    // Boxes nested far deeper than any scene.
    OldWriter deep{{}, kStateVersion};
    deep.Header(8, 8);
    deep.Control("\x01" "BASE0", 1);
    for (int i = 0; i < 400; ++i) {
        WriteByte(deep.s, LT_CABINET);
        deep.Control("n" + std::to_string(i), 1);
    }
    TMemoryStream ds(deep.s.Bytes());
    EXPECT_THROW(r.LoadFromStream(ds, kStateVersion), EStreamError);
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

// The fuzzer's seeds are hand-made streams of three layouts; each must read
// through to its end, so the fuzzer starts from inputs that go deep.
TEST(StateStream, FuzzSeedsReadCompletely) {
    for (int version : {101, 117, 138}) {
        SCOPED_TRACE(version);
        TMemoryStream file;
        const std::string path = std::string(VESK_SOURCE_DIR) + "/fuzz/corpus/component_state/version_" +
                                 std::to_string(version);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        std::vector<std::uint8_t> bytes;
        for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(f);
        ASSERT_EQ(90 + bytes[0], version);
        bytes.erase(bytes.begin());
        TVeskBaseList r;
        Load(r, bytes, version);
        ASSERT_NE(r.FindByName("cap"), nullptr);
        EXPECT_EQ(r.FindByName("cap")->Parent(), r.FindByName("pic"));
        EXPECT_EQ(Str(*r.FindByName("pic"), PR_ONLBTNUP), "m4");
        EXPECT_EQ(r.FindByName("bgm")->Priority(), 3);
        EXPECT_EQ(r.EventQueue().Item(0).Args.size(), 2u);
    }
}

}  // namespace
}  // namespace vesk
