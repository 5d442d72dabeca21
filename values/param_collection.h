#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/hash.h"
#include "common/stream.h"
#include "values/params.h"

namespace vesk {

class TFuncDispatcher;

// Declaration scopes (the VarNew command's scope byte).
constexpr std::uint8_t VS_GLOBAL = 0;   // "グローバル": until deleted, reset or game load
constexpr std::uint8_t VS_AUTO = 1;     // "自動破棄": deleted when the declaring call returns
constexpr std::uint8_t VS_LOCAL = 2;    // "ローカル": as VS_AUTO, visible only at its own depth
constexpr std::uint8_t VS_STATUS = 3;   // "ステータス": survives reset and game load

constexpr int kSystemVariableCount = 50;
// "@Result" … "@IsDebug", in the order of creation (which is also the order
// of the system-variable index byte).
extern const char* const kSystemVariableNames[kSystemVariableCount];

// Prefix of the evaluator's temporaries; such names are never valid user
// variable names in source text, but the table holds them like any other.
inline constexpr std::string_view kTempPrefix = "____";

// One variable: a name, an owned value and its scope fields.
class TParamCollectionItem : public THashCollectionItem {
public:
    TParamCollectionItem() = default;
    explicit TParamCollectionItem(std::unique_ptr<TCustomParam> value) : value_(std::move(value)) {}
    TParamCollectionItem(std::string name, std::unique_ptr<TCustomParam> value)
        : THashCollectionItem(std::move(name)), value_(std::move(value)) {}

    TCustomParam& Value() const { return *value_; }
    TCustomParam* ValuePtr() const { return value_.get(); }

    // Names a user variable. Raises "\"%s\"：変数名が不正です" for an empty
    // name, one containing a blank, or one beginning with a digit.
    void SetVarName(const std::string& name);

    std::uint8_t StatusFlag = 0;
    std::uint8_t Attribute = 0;   // stored and restored, no behaviour
    std::int32_t OwnerDepth = -1;
    std::uint8_t IsLocal = 0;

    // One variable entry of a table section: kind, name, value, flags.
    void SaveToStream(TStream& s) const;
    // Reads an entry into a new unnamed item; the caller names and adds it.
    // Returns the item and its stored name.
    static std::unique_ptr<TParamCollectionItem> ReadFromStream(TStream& s, std::string& name);

private:
    std::unique_ptr<TCustomParam> value_;
};

// Creates the value of system variable index (0 … 49) for table. The
// system-variable module supplies the real one; without it every system
// variable is a plain TParamSystem.
using TSystemParamFactory = std::function<std::unique_ptr<TParamSystem>(TParamCollection& table, std::uint8_t index)>;

// The variable table: every named value of the running game, the fifty
// system variables first, and the few process-wide settings that travel
// with it in saves.
class TParamCollection : public THashList<TParamCollectionItem> {
public:
    explicit TParamCollection(const TSystemParamFactory& systemFactory = nullptr);
    ~TParamCollection() override;

    // The process-wide table, set by start-up (and by tests that need one).
    static TParamCollection* Global();
    static void SetGlobal(TParamCollection* table);

    // Lookup with the scope rules: a local of the current depth wins at
    // once; otherwise the last non-local met walking the chain (locals of
    // other depths are invisible).
    TParamCollectionItem* Find(std::string_view name) const;
    // The same with the bucket already known (hot path of the evaluator).
    TParamCollectionItem* FindInBucket(std::string_view name, int bucket) const;
    // The first entry of that name that is a local of the current depth
    // (local = true) or a non-local (local = false).
    TParamCollectionItem* FindForDeclare(std::string_view name, bool local) const;

    // Appends an unnamed entry holding an empty value of kind (kind factory
    // rules); OwnerDepth -1, flags 0. Raises for a kind without a value.
    TParamCollectionItem& AddOfKind(std::uint8_t kind);
    // Appends an entry named name without name validation (temporaries).
    TParamCollectionItem& AddNamed(std::uint8_t kind, const std::string& name);
    TParamCollectionItem& AddNamed(const std::string& name, std::unique_ptr<TCustomParam> value);
    // A standalone copy of a variable's value, nullptr when absent; raises
    // "%s:不正な変数です" for a variable of kind 0.
    std::unique_ptr<TCustomParam> CopyOf(std::string_view name) const;

    // What VarNew does: find (FindForDeclare with local = scope is local),
    // create when absent, and store the initial value with the setter of
    // the declared kind unless the entry found is a status variable.
    TParamCollectionItem& Declare(const std::string& name, std::uint8_t kind, std::uint8_t scope,
                                  const TCustomParam& initial);
    // Removes one entry (VarDel).
    void DeleteItem(TParamCollectionItem& item);
    // Removes every entry owned by the call at depth, last to first.
    void DeleteOwnedBy(std::int32_t depth);
    static bool IsSystem(const TParamCollectionItem& item);
    // Deletes every non-status user variable; @TextDelay 50, @Cursor "".
    void ResetVariables();

    // The game section of a save and its reader for save-format version.
    // The reader returns the six message-history defaults that versions
    // 113 … 134 stored here (the caller hands them to the history).
    void SaveGameSection(TStream& s) const;
    std::optional<std::array<std::int32_t, 6>> LoadGameSection(TStream& s, std::int32_t version);
    void SaveStatusSection(TStream& s) const;
    void LoadStatusSection(TStream& s);

    std::int32_t CurrentDepth = 0;
    std::string SelStr;
    std::int32_t SelIndex = 0;
    std::int32_t TextDelay = 50;
    std::string Cursor;
    std::string TempTarget;  // name of the variable "@Temp" forwards to

    // Built-in calls of operation lists go here; nullptr until the function
    // owner exists, and then a call raises inside the evaluation.
    TFuncDispatcher* Functions() const { return functions_; }
    void SetFunctions(TFuncDispatcher* functions) { functions_ = functions; }

private:
    void SaveSection(TStream& s, std::uint8_t statusFlag) const;
    // Reads a count and that many entries; entries named "" are dropped.
    std::vector<std::unique_ptr<TParamCollectionItem>> ReadEntries(TStream& s);
    void AddEntries(std::vector<std::unique_ptr<TParamCollectionItem>> entries);
    void DeleteUserVariables();
    std::unique_ptr<TCustomParam> CreateValue(std::uint8_t kind);

    TFuncDispatcher* functions_ = nullptr;
};

}  // namespace vesk
