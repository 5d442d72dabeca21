#include <gtest/gtest.h>

#include "components/kinds/kinds.h"
#include "components/kinds/vitemex.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"

namespace vesk {
namespace {

class Naming : public ::testing::Test {
protected:
    TVeskObject& Make(std::uint8_t kind, const std::string& name = {}) {
        TVeskObject& o = *registry.CreateKind(kind);
        if (!name.empty()) o.SetName(name);
        return o;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < registry.Count(); ++i) names.push_back(registry.Item(i).Name());
        return names;
    }
    TVeskBaseList registry;
};

TEST_F(Naming, AutomaticNamesTakeTheSmallestFreeNumber) {
    TVeskObject& first = Make(LT_IMAGES);
    Make(LT_IMAGES);
    EXPECT_EQ(Names(), (std::vector<std::string>{"object0", "object1"}));
    registry.Destroy(first);
    EXPECT_EQ(Make(LT_SOUND).Name(), "object0");
    Make(LT_TIMER, "object2");
    EXPECT_EQ(Make(LT_BOX).Name(), "object3");
}

TEST_F(Naming, ADisplacedControlTakesTheNextFreeSuffix) {
    TVeskObject& older = Make(LT_IMAGES, "a");
    TVeskObject& newer = Make(LT_IMAGES);
    newer.SetName("a");
    EXPECT_EQ(older.Name(), "a_2");
    EXPECT_EQ(newer.Name(), "a");
    TVeskObject& third = Make(LT_BOX);
    third.SetName("a");
    EXPECT_EQ(newer.Name(), "a_3");
    EXPECT_EQ(older.Name(), "a_2");
    // A number above 1 is stripped before the new suffix is chosen.
    TVeskObject& five = Make(LT_BOX, "a_5");
    Make(LT_BOX).SetName("a_5");
    EXPECT_EQ(five.Name(), "a_4");  // a_2 and a_3 are taken
    TVeskObject& one = Make(LT_BOX, "b_1");
    Make(LT_BOX).SetName("b_1");
    EXPECT_EQ(one.Name(), "b_1_2");  // "_1" is part of the name
    // Setting the current name changes nothing.
    third.SetName("a");
    EXPECT_EQ(third.Name(), "a");
    EXPECT_EQ(registry.FindByName("a"), &third);
}

TEST_F(Naming, AFreedSuffixIsTakenFirst) {
    TVeskObject& five = Make(LT_BOX, "x_5");
    Make(LT_BOX).SetName("x_5");
    EXPECT_EQ(five.Name(), "x_2");
}

TEST_F(Naming, ADisplacedNonVisualComponentIsDestroyedAtTheEndOfTheFrame) {
    TVeskObject& older = Make(LT_SOUND, "bgm");
    TVeskObject& newer = Make(LT_SOUND);
    registry.EventQueue().Add(TTimerData{"ended", older.Id(), PR_ONPLAYEND, 0, {}});
    newer.SetName("bgm");
    EXPECT_EQ(older.Name(), "");
    EXPECT_TRUE(registry.IsPendingDestruction(older));
    EXPECT_EQ(registry.Count(), 2);
    const TObjectId olderId = older.Id();
    registry.DestroyPending();
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.FindById(olderId), nullptr);
    EXPECT_EQ(registry.FindByName("bgm"), &newer);
    EXPECT_EQ(registry.EventQueue().Count(), 0);
}

TEST_F(Naming, DestroyingAControlTakesItsSubtreeAndWaitingEvents) {
    TVeskObject& outer = Make(LT_BOX, "outer");
    TVeskObject& mid = Make(LT_BOX, "mid");
    TVeskObject& leaf = Make(LT_LABEL, "leaf");
    Make(LT_BOX, "other");
    mid.SetParent(outer.AsControl());
    leaf.SetParent(mid.AsControl());
    registry.SetFocused(leaf.AsControl());
    TTimerList& q = registry.EventQueue();
    q.Add(TTimerData{"p", leaf.Id(), PR_ONLBTNUP, 0, {}});
    q.Add(TTimerData{"running", leaf.Id(), PR_ONLBTNUP, 2, {}});  // its page runs on
    q.Add(TTimerData{"q", registry.FindByName("other")->Id(), PR_ONLBTNUP, 0, {}});
    registry.MarkForDestruction(mid);
    registry.Destroy(outer);
    EXPECT_EQ(Names(), (std::vector<std::string>{"other"}));
    EXPECT_EQ(registry.Focused(), nullptr);
    ASSERT_EQ(q.Count(), 2);
    EXPECT_EQ(q.Item(0).Page, "running");
    EXPECT_EQ(q.Item(1).Page, "q");
    registry.DestroyPending();  // mid went with outer; nothing left to do
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_EQ(registry.ActiveBase().ChildCount(), 1);
    // The bases are not destroyed by name or by mark.
    registry.Destroy(registry.Base(0));
    registry.MarkForDestruction(registry.Base(1));
    EXPECT_FALSE(registry.Base(1).Name().empty());
}

TEST_F(Naming, TheFactoryMakesEveryKindOfTheTable) {
    for (int kind = 0; kind < 256; ++kind) {
        std::unique_ptr<TVeskObject> obj = CreateComponent(static_cast<std::uint8_t>(kind), &registry);
        const int id = kind & 0x7F;
        if (id == LT_NONE || id == LT_AUDIO || id == LT_MAP || id > LT_CABINET) {
            EXPECT_EQ(obj, nullptr) << kind;
            continue;
        }
        ASSERT_NE(obj, nullptr) << kind;
        EXPECT_EQ(obj->CompoType(), id);
        const bool nonVisual = id == LT_SOUND || id == LT_TIMER || id == LT_HTTP || id == LT_PROPMOTION;
        EXPECT_EQ(obj->IsControl(), !nonVisual) << ComponentKindName(id);
    }
    // New controls start on the active base.
    registry.SetActiveIndex(1);
    EXPECT_EQ(Make(LT_BOX).Parent(), &registry.Base(1));
}

TEST_F(Naming, FindRulesForTheBases) {
    TVeskObject& box = Make(LT_BOX, "pic");
    EXPECT_EQ(registry.FindComponent(""), &registry.Base(0));
    EXPECT_EQ(registry.FindComponent("\x01"), &registry.Base(1));
    EXPECT_EQ(registry.FindComponent("\x01" "BASE0"), &registry.Base(0));
    EXPECT_EQ(registry.FindComponent("pic"), &box);
    registry.SetActiveIndex(1);
    EXPECT_EQ(registry.FindComponent("\x01" "BASE0"), &registry.Base(1));  // the active one
    EXPECT_EQ(registry.FindControl("\x01" "BASE0"), &registry.Base(0));  // by number
    EXPECT_EQ(registry.FindControl("\x01"), &registry.Base(0));
    EXPECT_EQ(registry.FindControl("nothing"), nullptr);
    Make(LT_TIMER, "t");
    EXPECT_EQ(registry.FindControl("t"), nullptr);
}

}  // namespace
}  // namespace vesk
