#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/cp932.h"
#include "common/error.h"
#include "components/kinds/kinds.h"
#include "components/kinds/vitemex.h"
#include "components/properties/creation_order.h"
#include "components/properties/propids.h"
#include "components/properties/proplabels.h"
#include "components/properties/propnames.h"
#include "components/properties/propsupport.h"
#include "components/registry/vbaselist.h"
#include "values/params.h"

namespace vesk {
namespace {

constexpr std::uint8_t KindOf(TPropInt*) { return PT_INT; }
constexpr std::uint8_t KindOf(TPropBool*) { return PT_BOOL; }
constexpr std::uint8_t KindOf(TPropStr*) { return PT_STR; }

TEST(PropertyTable, AccessorTypesMatchTheDeclaredKinds) {
#define CHECK_KIND(id, Name, Type, Default) \
    EXPECT_EQ(KindOf(static_cast<TProp##Type*>(nullptr)), PropertyKind(id)) << PropertyName(id);
    VESK_PROPERTIES(CHECK_KIND)
    VESK_READONLY_PROPERTIES(CHECK_KIND)
#undef CHECK_KIND
    // Page names are strings and the focus flag a flag, whatever older tables declared.
    EXPECT_EQ(PropertyKind(PR_ONPLAYING), PT_STR);
    EXPECT_EQ(PropertyKind(PR_HANDLEKEY), PT_BOOL);
    EXPECT_EQ(PropertyKind(PR_PARAM2), PT_FLOAT);
}

TEST(PropertyTable, LabelsAndKindNames) {
    EXPECT_EQ(PropertyLabel(PR_LEFT), Sj("X座標"));
    EXPECT_EQ(PropertyLabel(PR_FONTHOVERCOLOR), Sj("マウスオーバー時の\r\nフォント色"));
    EXPECT_EQ(PropertyLabel(PR_REPEATPOS), Sj("リピート位置"));
    EXPECT_EQ(PropertyLabel(163), "");
    EXPECT_EQ(ComponentKindLabel(LT_BOX), Sj("矩形サーフェス"));
    EXPECT_EQ(ComponentKindLabel(LT_CABINET), Sj("キャビネット"));
    EXPECT_STREQ(ComponentKindName(LT_MAPIMG), "LT_MAPIMG");
    EXPECT_EQ(ValueLabel(PR_IGNOREMOUSE, IM_LCLICK), Sj("左クリックを無視"));
    EXPECT_EQ(ValueLabel(PR_FONTSTYLE, FS_STRIKEOUT), Sj("抹消線"));
    EXPECT_EQ(ValueLabel(PR_PARTMOTION, PM_TWISTER), Sj("竜巻"));
    EXPECT_EQ(ValueLabel(PR_BORDERVALIGNC, VA_BOTTOM), Sj("下寄せ"));
    EXPECT_EQ(ValueLabel(PR_PARTMOTION, 5), "");
}

TEST(PropertyTable, ImplementingKinds) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        EXPECT_TRUE(PropertyImplementedBy(PR_NAME, static_cast<std::uint8_t>(kind)));
        EXPECT_TRUE(PropertyImplementedBy(PR_COMPOTYPE, static_cast<std::uint8_t>(kind)));
        EXPECT_FALSE(PropertyImplementedBy(PR_COLCOUNT, static_cast<std::uint8_t>(kind)));
    }
    EXPECT_TRUE(PropertyImplementedBy(PR_ANIPAUSED, LT_SOUND));
    EXPECT_TRUE(PropertyImplementedBy(PR_ANIPAUSED, LT_CABINET));
    EXPECT_FALSE(PropertyImplementedBy(PR_ANIPAUSED, LT_TIMER));
    EXPECT_TRUE(PropertyImplementedBy(PR_SCROLLY, LT_MES));
    EXPECT_FALSE(PropertyImplementedBy(PR_SCROLLX, LT_MES));
    EXPECT_FALSE(PropertyImplementedBy(PR_LEFT, LT_SOUND));
    EXPECT_FALSE(PropertyImplementedBy(PR_LEFT, 28));
}

TEST(PropertyTable, CreationOrderIsAPermutationInTheFixedOrder) {
    const auto& order = CreationOrder();
    std::set<int> seen(order.begin(), order.end());
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kPropertyCount));
    EXPECT_EQ(*seen.rbegin(), 162);
    const std::vector<int> head = {PR_NAME, PR_PARENT, PR_SOURCE, PR_ZOOMX, PR_ZOOMY, PR_POSZOOMED,
                                   PR_WIDTH, PR_HEIGHT, PR_LEFT, PR_TOP, PR_COLOR, PR_BARSIZE, PR_BORDERWIDTH};
    for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(order[i], head[i]) << i;
    auto pos = [&](int id) { return std::find(order.begin(), order.end(), id) - order.begin(); };
    EXPECT_EQ(pos(PR_PLUSX), 18);
    EXPECT_EQ(pos(PR_REPEATPOS), 39);
    EXPECT_LT(pos(PR_CARETHEIGHT), pos(PR_IGNOREMOUSE));
    EXPECT_EQ(order.back(), PR_MUTEONLOAD);
}

class PropertyDispatch : public ::testing::Test {
protected:
    TVeskObject& Make(std::uint8_t kind) { return *registry.CreateKind(kind); }
    std::int32_t Int(TVeskObject& o, int prop) {
        TParamInt v;
        GetProp(v, o, prop);
        return v.AsInt();
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
    void SetStr(TVeskObject& o, int prop, const std::string& s) {
        TParamStr v;
        v.SetStr(s);
        SetProp(o, prop, v);
    }
    TVeskBaseList registry;
};

TEST_F(PropertyDispatch, UnimplementedPropertiesReadTheBaseDefaults) {
    TVeskObject& timer = Make(LT_TIMER);
    struct Case {
        int prop;
        std::int32_t expected;
    };
    const Case cases[] = {{PR_ALPHA, 255},       {PR_BRIGHTNESS, 255},   {PR_ZOOMX, 256},       {PR_ZOOMY, 256},
                          {PR_TEXTDELAY, 256},   {PR_COLOR, 16777215},   {PR_BORDERCOLOR, -1},  {PR_HOVERCOLOR, -1},
                          {PR_INDEX, -1},        {PR_SMALLCHANGE, 1},    {PR_LARGECHANGE, 1},   {PR_REWINDONLOAD, 1},
                          {PR_OVERLAY, 1},       {PR_PARTMOTION, 1},     {PR_VALUE, 0},         {PR_LEFT, 0},
                          {PR_VISIBLE, 0},       {PR_APPEARX, 0},        {PR_APPEARY, 0},       {PR_CARETY, 0},
                          {PR_COMPOTYPE, LT_TIMER}, {PR_BORDERHALIGNB, 0}};
    for (const Case& c : cases) EXPECT_EQ(Int(timer, c.prop), c.expected) << PropertyName(c.prop);
    TParamFloat f;
    f.SetFloat(9);
    GetProp(f, timer, PR_PARAM3);
    EXPECT_EQ(f.AsFloat(), 0.0L);
    EXPECT_EQ(Str(timer, PR_PARENT), "");
    EXPECT_EQ(Str(timer, PR_BORDERSOURCECC), "");
}

TEST_F(PropertyDispatch, WritesToUnimplementedPropertiesChangeNothing) {
    TVeskObject& box = Make(LT_BOX);
    SetInt(box, PR_VALUE, 7);
    EXPECT_EQ(Int(box, PR_VALUE), 0);
    SetInt(box, PR_WIDTH, 40);
    SetInt(box, PR_HEIGHT, 30);
    // The original size of a kind without an image is its current size.
    EXPECT_EQ(Int(box, PR_ORIGWIDTH), 40);
    EXPECT_EQ(Int(box, PR_ORIGHEIGHT), 30);
}

TEST_F(PropertyDispatch, EveryControlPropertyRoundTripsOnEveryVisibleKind) {
    const std::uint8_t visible[] = {LT_BOX,    LT_BUTTON,  LT_CINEMA, LT_EDIT,   LT_FIRE,      LT_IMAGES,   LT_LABEL,
                                    LT_MEMO,   LT_MENU,    LT_MES,    LT_PARTICLE, LT_VIDEO,   LT_MAPIMG,   LT_WAVE,
                                    LT_TILE,   LT_SLIDER,  LT_SCROLLBAR, LT_GAUGE, LT_CGLABEL, LT_PREVMENU, LT_CABINET};
    for (std::uint8_t kind : visible) {
        TVeskObject& o = Make(kind);
        ASSERT_TRUE(o.IsControl()) << ComponentKindName(kind);
        for (int prop = 0; prop < kPropertyCount; ++prop) {
            const bool everyControl = std::all_of(std::begin(visible), std::end(visible),
                                                  [&](std::uint8_t k) { return PropertyImplementedBy(prop, k); });
            if (!everyControl || !PropertyWritable(prop) || prop == PR_NAME || prop == PR_PARENT) continue;
            switch (PropertyKind(prop)) {
                case PT_INT:
                    SetInt(o, prop, 3);
                    EXPECT_EQ(Int(o, prop), 3) << ComponentKindName(kind) << " " << PropertyName(prop);
                    break;
                case PT_BOOL: {
                    TParamFlag flag;
                    GetProp(flag, o, prop);
                    const bool flipped = !flag.AsBool();
                    flag.SetBool(flipped);
                    SetProp(o, prop, flag);
                    GetProp(flag, o, prop);
                    EXPECT_EQ(flag.AsBool(), flipped) << ComponentKindName(kind) << " " << PropertyName(prop);
                    break;
                }
                case PT_STR:
                    SetStr(o, prop, "page:lbl");
                    EXPECT_EQ(Str(o, prop), "page:lbl") << ComponentKindName(kind) << " " << PropertyName(prop);
                    break;
                default: ADD_FAILURE() << PropertyName(prop);
            }
        }
    }
}

TEST_F(PropertyDispatch, OutOfRangeIdsAndAppearPositionsRaise) {
    TVeskObject& box = Make(LT_BOX);
    TParamInt v;
    for (int prop : {-1, 163, 255}) {
        try {
            GetProp(v, box, prop);
            ADD_FAILURE() << prop;
        } catch (const EVeskError& e) {
            EXPECT_EQ(std::string(e.what()), Sj("GetPropエラー"));
        }
    }
    for (int prop : {-1, 163, PR_APPEARX, PR_APPEARY}) {
        try {
            SetProp(box, prop, v);
            ADD_FAILURE() << prop;
        } catch (const EVeskError& e) {
            EXPECT_EQ(std::string(e.what()), Sj("SetPropエラー"));
        }
    }
}

TEST_F(PropertyDispatch, ReadOnlyWritesAreAcceptedAndIgnored) {
    TVeskObject& box = Make(LT_BOX);
    for (int prop : {PR_PLAYING, PR_COMPOTYPE, PR_CARETX, PR_CARETY, PR_CARETHEIGHT}) {
        EXPECT_FALSE(PropertyWritable(prop));
        EXPECT_NO_THROW(SetInt(box, prop, 1));
    }
    EXPECT_EQ(Int(box, PR_COMPOTYPE), LT_BOX);
    EXPECT_EQ(Int(box, PR_PLAYING), 0);
}

TEST_F(PropertyDispatch, ValuesCrossInTheirOwnConversions) {
    TVeskObject& box = Make(LT_BOX);
    SetStr(box, PR_LEFT, "12");
    EXPECT_EQ(Str(box, PR_LEFT), "12");
    SetStr(box, PR_TAG, "free text");
    EXPECT_EQ(Str(box, PR_TAG), "free text");
    TParamFloat f;
    f.SetFloat(2.5L);
    SetProp(box, PR_TOP, f);  // reals round half to even
    EXPECT_EQ(Int(box, PR_TOP), 2);
}

TEST_F(PropertyDispatch, PrioritySetToItsValueKeepsTheOffset) {
    TVeskObject& box = Make(LT_BOX);
    SetInt(box, PR_PRIORITY, 5);
    box.SetPriorityOffset(3);
    SetInt(box, PR_PRIORITY, 5);
    EXPECT_EQ(box.PriorityOffset(), 3);
    SetInt(box, PR_PRIORITY, 6);
    EXPECT_EQ(box.PriorityOffset(), 0);
    EXPECT_EQ(Int(box, PR_PRIORITY), 6);
}

TEST_F(PropertyDispatch, SiblingsSortBySystemNamePriorityAndName) {
    TVeskObject& b = Make(LT_BOX);
    TVeskObject& a = Make(LT_BOX);
    TVeskObject& hi = Make(LT_BOX);
    TVeskObject& lo = Make(LT_BOX);
    SetStr(b, PR_NAME, "b");
    SetStr(a, PR_NAME, "a");
    SetStr(hi, PR_NAME, "0hi");
    SetStr(lo, PR_NAME, "zlo");
    SetInt(hi, PR_PRIORITY, 10);
    SetInt(lo, PR_PRIORITY, -5);
    // System-named children go below every user object; 0x01 0x01 above all.
    auto top = std::make_unique<TVeskBox>(&registry);
    auto sys = std::make_unique<TVeskBox>(&registry);
    TVeskObject& topRef = registry.Adopt(std::move(top));
    TVeskObject& sysRef = registry.Adopt(std::move(sys));
    SetStr(topRef, PR_NAME, "\x01\x01");
    SetStr(sysRef, PR_NAME, "\x01sys");
    SetInt(sysRef, PR_PRIORITY, 100);
    TVeskControl& base = registry.ActiveBase();
    base.SortChildren();
    std::vector<std::string> names;
    for (int i = 0; i < base.ChildCount(); ++i) names.push_back(base.Child(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"\x01sys", "zlo", "a", "b", "0hi", "\x01\x01"}));
    // Raising a priority re-sorts at once; an offset counts with it.
    SetInt(a, PR_PRIORITY, 11);
    EXPECT_EQ(base.Child(4)->Name(), "a");
    b.SetPriorityOffset(20);
    EXPECT_EQ(base.Child(4)->Name(), "b");
}

TEST_F(PropertyDispatch, ParentIsSetAndReadByName) {
    TVeskObject& outer = Make(LT_BOX);
    TVeskObject& inner = Make(LT_IMAGES);
    SetStr(outer, PR_NAME, "outer");
    EXPECT_EQ(Str(inner, PR_PARENT), registry.Base(0).Name());
    SetStr(inner, PR_PARENT, "outer");
    EXPECT_EQ(Str(inner, PR_PARENT), "outer");
    EXPECT_EQ(inner.Parent(), &outer);
    SetStr(inner, PR_PARENT, "nobody");
    EXPECT_EQ(inner.Parent(), &outer);
    // A control cannot go under its own descendant.
    SetStr(outer, PR_PARENT, Str(inner, PR_NAME));
    EXPECT_EQ(outer.Parent(), &registry.Base(0));
    // "\x01" names the inactive base, the base names the bases by number.
    SetStr(inner, PR_PARENT, "\x01");
    EXPECT_EQ(inner.Parent(), &registry.Base(1));
    SetStr(inner, PR_PARENT, registry.Base(0).Name());
    EXPECT_EQ(inner.Parent(), &registry.Base(0));
    SetStr(inner, PR_PARENT, "");
    registry.SetActiveIndex(1);
    SetStr(outer, PR_PARENT, "");
    EXPECT_EQ(outer.Parent(), &registry.Base(1));
    // A screen base never moves.
    SetStr(registry.Base(0), PR_PARENT, "outer");
    EXPECT_EQ(registry.Base(0).Parent(), nullptr);
}

}  // namespace
}  // namespace vesk
