#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "common/stream.h"
#include "components/objects/objectid.h"
#include "components/properties/propaccess.h"
#include "values/params.h"
#include "values/vesk_parser.h"

namespace vesk {

class TVeskBaseList;
class TVeskControl;

// Accessor value types of the property list.
using TPropInt = std::int32_t;
using TPropBool = bool;
using TPropStr = std::string;

// The first byte of the names the system gives its own objects (the screen
// bases, internal helpers): scripts cannot address them and they are never
// saved.
inline constexpr char kSystemNameMark = '\x01';
inline bool IsSystemName(const std::string& name) { return !name.empty() && name[0] == kSystemNameMark; }

// The root of every scriptable object: its identity (name, kind, registry)
// and the property vocabulary through which scripts read and write every
// attribute. Each property has a virtual getter returning the base default
// and a setter ignoring the write; kinds override the pairs they implement.
class TVeskObject {
public:
    // The registry may be null for objects that live outside one. The
    // registry names and lists the object when it adopts it.
    explicit TVeskObject(TVeskBaseList* owner) : owner_(owner) {}
    virtual ~TVeskObject() = default;
    TVeskObject(const TVeskObject&) = delete;
    TVeskObject& operator=(const TVeskObject&) = delete;

    TVeskBaseList* Owner() const { return owner_; }
    TObjectId Id() const { return id_; }

    const std::string& Name() const { return name_; }
    // Renames with the collision rules: another control of that name is
    // renamed to "<name>_2" (or _3 …), another non-visual component is marked
    // for destruction.
    void SetName(const std::string& name);
    const std::string& Tag() const { return tag_; }
    void SetTag(const std::string& tag) { tag_ = tag; }
    std::int32_t Priority() const { return priority_; }
    // A different value resets the priority offset and re-sorts the siblings.
    void SetPriority(std::int32_t priority);
    std::int32_t PriorityOffset() const { return priorityOffset_; }
    void SetPriorityOffset(std::int32_t offset);
    bool HasSystemName() const { return IsSystemName(name_); }

    virtual std::uint8_t CompoType() const { return 0; }
    virtual bool IsControl() const { return false; }
    virtual TVeskControl* AsControl() { return nullptr; }
    // Every kind takes an automatic name "objectN" when created, except those
    // that are named by the object that makes them.
    virtual bool WantsAutoName() const { return true; }

    virtual TVeskControl* Parent() const { return nullptr; }
    // Re-parents a control; ignored by objects that have no parent.
    virtual void SetParent(TVeskControl*) {}
    // Reports the object's screen area as dirty; controls implement it.
    virtual void Invalidate() {}

    // Per-property accessors (see components/propaccess.h).
#define VESK_DECLARE_ACCESSORS(id, Name, Type, Default)      \
    virtual TProp##Type Get##Name() const { return Default; } \
    virtual void Set##Name(const TProp##Type&) {}
    VESK_PROPERTIES(VESK_DECLARE_ACCESSORS)
#undef VESK_DECLARE_ACCESSORS
#define VESK_DECLARE_GETTER(id, Name, Type, Default) \
    virtual TProp##Type Get##Name() const { return Default; }
    VESK_READONLY_PROPERTIES(VESK_DECLARE_GETTER)
#undef VESK_DECLARE_GETTER
    // Shared pairs: the nine frame images TL, TC, TR, CL, CC, CR, BL, BC, BR
    // (index 0–8); the frame alignments by grid cell (horizontal 1, 4, 7;
    // vertical 3, 4, 5); the particle parameters (index 0–2); the caret.
    virtual std::string GetBorderSource(int) const { return {}; }
    virtual void SetBorderSource(int, const std::string&) {}
    virtual std::int32_t GetBorderHAlign(int) const { return 0; }
    virtual void SetBorderHAlign(int, std::int32_t) {}
    virtual std::int32_t GetBorderVAlign(int) const { return 0; }
    virtual void SetBorderVAlign(int, std::int32_t) {}
    virtual Extended GetParam(int) const { return 0; }
    virtual void SetParam(int, Extended) {}
    virtual std::pair<std::int32_t, std::int32_t> GetCaretPos() const { return {0, 0}; }

    // ---- What a creation command does besides setting properties. ----
    // The kinds that evaluate an expression of their own keep the command's
    // operation list: ImgNew's PR_DELAY (evaluated each time the last frame
    // is entered); ParticleNew's PR_APPEARX, PR_APPEARY and PR_DELAY.
    virtual void TakeExpression(int /*prop*/, const TVeskParser& /*ops*/) {}
    // Runs before PR_LEFT is applied: images recompute their scaled size
    // and offsets when that is due.
    virtual void BeforeApplyLeft() {}
    // After the last property: images update their drawing area.
    virtual void AppliedProperties() {}

    // State stream: the object part (name, priority, priority offset, tag);
    // kinds extend it. version is the save format's version number.
    virtual void SaveToStream(TStream& s) const;
    virtual void LoadFromStream(TStream& s, int version);

protected:
    friend class TVeskBaseList;
    // The name without collision rules, for the registry's own bookkeeping.
    void SetRawName(std::string name) { name_ = std::move(name); }
    // Sorting position changed: the parent re-sorts and the area is redrawn.
    virtual void OrderChanged() {}

private:
    TVeskBaseList* owner_;
    TObjectId id_ = kNoObject;
    std::string name_;
    std::string tag_;
    std::int32_t priority_ = 0;
    std::int32_t priorityOffset_ = 0;
};

// Property dispatch, the only way script code touches an object's state.
// GetProp stores the property into dest through dest's own conversion; ids
// outside 0–162 raise "GetPropエラー". SetProp reads value in the property's
// type; ids outside 0–162 and PR_APPEARX/PR_APPEARY raise "SetPropエラー",
// the read-only ids are ignored.
void GetProp(TCustomParam& dest, TVeskObject& obj, int prop);
void SetProp(TVeskObject& obj, int prop, const TCustomParam& value);

}  // namespace vesk
