#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/error.h"
#include "components/kinds/kinds.h"
#include "components/properties/propids.h"
#include "components/registry/vport.h"
#include "values/params.h"

namespace vesk {
namespace {

TEST(ComponentPort, ScriptsReachRealObjectsByName) {
    TVeskBaseList registry;
    TVeskComponentPort port(registry);
    TVeskObject& pic = *registry.CreateKind(LT_IMAGES);
    pic.SetName("pic");
    TVeskObject& inner = *registry.CreateKind(LT_BOX);
    inner.SetParent(pic.AsControl());

    const TObjectId id = port.FindComponent("pic");
    ASSERT_EQ(id, pic.Id());
    // Scripts never reach the bases, not even through the names that the
    // registry's own lookup maps to them.
    for (const std::string name : {"", "\x01", "\x01" "BASE0", "\x01" "BASE1", "missing"})
        EXPECT_EQ(port.FindComponent(name), kNoObject);

    TParamInt left;
    left.SetInt(33);
    port.SetProp(id, PR_LEFT, left);
    EXPECT_EQ(pic.GetLeft(), 33);
    TParamStr read;
    port.GetProp(read, id, PR_LEFT);
    EXPECT_EQ(read.AsStr(), "33");
    port.GetProp(read, inner.Id(), PR_PARENT);
    EXPECT_EQ(read.AsStr(), "pic");
    EXPECT_THROW(port.GetProp(read, id, 163), EVeskError);
    EXPECT_THROW(port.SetProp(id, 200, left), EVeskError);
    EXPECT_THROW(port.SetProp(id, PR_APPEARY, left), EVeskError);

    // Renaming through the port is what the script sees next.
    TParamStr name;
    name.SetStr("renamed");
    port.SetProp(id, PR_NAME, name);
    EXPECT_EQ(port.NameOf(id), "renamed");
    EXPECT_EQ(port.FindComponent("renamed"), id);

    EXPECT_EQ(&port.EventQueue(), &registry.EventQueue());
    const TObjectId innerId = inner.Id();
    port.DeleteComponent(id);
    EXPECT_FALSE(port.Exists(id));
    EXPECT_FALSE(port.Exists(innerId));
    EXPECT_EQ(port.NameOf(id), "");
    // A component that has gone reads nothing and takes no writes.
    read.SetStr("kept");
    port.GetProp(read, id, PR_NAME);
    EXPECT_EQ(read.AsStr(), "kept");
    EXPECT_NO_THROW(port.SetProp(id, PR_LEFT, left));

    registry.CreateKind(LT_SOUND);
    port.DeleteAll();
    EXPECT_EQ(registry.Count(), 0);
    EXPECT_EQ(registry.Base(0).ChildCount(), 0);
}

}  // namespace
}  // namespace vesk
