#include "components/objects/vobject.h"

#include "common/stream_io.h"
#include "components/registry/vbaselist.h"

namespace vesk {

void TVeskObject::SetName(const std::string& name) {
    if (name == name_) return;
    // An empty name is what destruction leaves behind; it never displaces.
    if (owner_ && !name.empty()) owner_->ResolveNameClash(*this, name);
    name_ = name;
    // Names break ties of the sibling order.
    OrderChanged();
}

void TVeskObject::SetPriority(std::int32_t priority) {
    if (priority == priority_) return;
    priority_ = priority;
    priorityOffset_ = 0;
    OrderChanged();
}

void TVeskObject::SetPriorityOffset(std::int32_t offset) {
    if (offset == priorityOffset_) return;
    priorityOffset_ = offset;
    OrderChanged();
}

void TVeskObject::SaveToStream(TStream& s) const {
    WriteString(s, name_);
    WriteInt32(s, priority_);
    WriteInt32(s, priorityOffset_);
    WriteString(s, tag_);
}

void TVeskObject::LoadFromStream(TStream& s, int version) {
    std::string name = ReadString(s);
    priority_ = ReadInt32(s);
    priorityOffset_ = version > 103 ? ReadInt32(s) : 0;
    tag_ = version >= 120 ? ReadString(s) : std::string();
    // Objects the system named keep their names (the screen bases); the
    // others go through the collision rules, so a damaged stream cannot
    // leave two objects of one name.
    if (!HasSystemName()) SetName(name);
}

}  // namespace vesk
