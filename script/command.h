#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"
#include "components/properties/propids.h"
#include "script/command_kinds.h"
#include "values/vesk_parser.h"

namespace vesk {

class TCallMan;
class TPage;

// An operation list that is a command's field. Always present as an object;
// an empty list (or one whose evaluation fails) yields no value.
using TOpList = std::unique_ptr<TVeskParser>;

// The property masks of a page: bit p of byte p / 8 of entry k says whether
// commands of kind k carry an operation list for property p.
inline constexpr int kMaskBytes = 21;
using TPropertyMask = std::array<std::uint8_t, kMaskBytes>;
inline bool MaskHas(const TPropertyMask& m, int prop) { return (m[prop >> 3] >> (prop & 7)) & 1; }
inline void MaskSet(TPropertyMask& m, int prop) { m[prop >> 3] |= std::uint8_t(1u << (prop & 7)); }

// The property set of a component command: one slot per property id; a null
// slot means the page's mask did not carry that property.
using TPropertySet = std::array<TOpList, kPropertyCount>;

// Walks a command's own fields in stream order. Readers, writers and the
// authoring tool's text form are visitors, so each kind lists its fields
// once and all of them agree. A field with a minimum page format is skipped
// (left at its default) for older pages.
class TFieldVisitor {
public:
    virtual ~TFieldVisitor() = default;
    virtual void Op(const char* name, TOpList& op, int minFormat = 0) = 0;
    virtual void Str(const char* name, std::string& s) = 0;
    virtual void Int(const char* name, std::int32_t& v, int minFormat = 0) = 0;
    virtual void Byte(const char* name, std::uint8_t& v) = 0;
    virtual void OpArray(const char* name, std::vector<TOpList>& ops) = 0;
    virtual void Props(TPropertySet& props) = 0;
};

// The base of every command of a page. The common header (Indent, Mute,
// Continue, Line) is read by LoadFromStream before the kind's own fields.
class TCommand {
public:
    explicit TCommand(TPage* page) : page_(page) {}
    virtual ~TCommand() = default;
    TCommand(const TCommand&) = delete;
    TCommand& operator=(const TCommand&) = delete;

    virtual std::uint8_t Kind() const = 0;
    virtual bool ContinueAfter() const { return Continue; }
    virtual bool IsMuted() const { return Mute; }
    virtual void SetMuted(bool flag) { Mute = flag; }
    virtual bool BlocksEvents() const { return false; }
    virtual bool IsLabel(const std::string&) const { return false; }
    void LoadFromStream(TStream& s, int format, const TPropertyMask& mask);
    virtual void Enter(TCallMan&) {}
    // Does the command's work and moves the call manager's CommandIndex (or
    // its CurrentPage); the default only steps to the next command.
    virtual void Execute(TCallMan& cm);
    virtual void SaveState(TStream&) {}
    virtual void LoadState(TStream&) {}
    virtual void Abort(TCallMan&) {}
    virtual bool Yields() const { return false; }

    // The kind's own fields, in stream order.
    virtual void Fields(TFieldVisitor&) {}

    // The header and the kind's fields (the kind byte is the page's).
    void SaveToStream(TStream& s, int format, const TPropertyMask& mask);

    TPage* Page() const { return page_; }

    std::int32_t Indent = 0;
    bool Mute = false;
    bool Continue = true;
    std::int32_t Line = 0;

private:
    TPage* page_;
};

// A command object of the kind's class, or nullptr for an undefined kind.
std::unique_ptr<TCommand> CreateCommand(std::uint8_t kind, TPage* page);

// Evaluation helpers: the value an operation list yields, or nullptr.
TCustomParam* EvalOp(const TOpList& op);
// Present and true.
bool OpTrue(const TOpList& op);
std::int32_t OpInt(const TOpList& op, std::int32_t absent);
bool OpBool(const TOpList& op, bool absent);
std::string OpStr(const TOpList& op, const std::string& absent = {});

}  // namespace vesk
