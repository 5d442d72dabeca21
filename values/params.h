#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/stream.h"

namespace vesk {

// Kind codes of values. The same byte appears in compiled pages, in save
// files and as the answer of the built-in GetVarType, so the numbers are fixed.
constexpr std::uint8_t PT_NONE = 0;   // reference to an element of another variable
constexpr std::uint8_t PT_INT = 1;    // signed 32-bit integer
constexpr std::uint8_t PT_FLOAT = 2;  // 80-bit extended real
constexpr std::uint8_t PT_BOOL = 3;   // flag, one byte 0 or 1
constexpr std::uint8_t PT_STR = 4;    // Shift-JIS byte string

// Reals are x87 extended values, kept as such so stored files round-trip.
using Extended = long double;

// Label shown for a kind ("整数", "実数", "フラグ", "文字列"; "" for references
// and unknown codes), Shift-JIS.
const std::string& KindLabel(std::uint8_t kind);

class TParamCollection;
class TParamCollectionItem;

// A script value: an array of one or more elements with an optional list of
// dimensions. A scalar is a one-element value without dimensions. Every
// operation is virtual and declared here in a fixed order; the kinds
// override what they store, references forward to their target and system
// variables compute their answer.
class TCustomParam {
public:
    TCustomParam() = default;
    virtual ~TCustomParam() = default;
    TCustomParam(const TCustomParam&) = delete;
    TCustomParam& operator=(const TCustomParam&) = delete;

    virtual int Count() const = 0;
    virtual void SetCount(int n) = 0;
    virtual std::uint8_t Kind() const = 0;
    virtual bool AsBool() const { return GetBoolAt(0); }
    virtual Extended AsFloat() const { return GetFloatAt(0); }
    virtual std::int32_t AsInt() const { return GetIntAt(0); }
    virtual std::string AsStr() const { return GetStrAt(0); }
    virtual void SetBool(bool b);
    virtual void SetFloat(Extended x);
    virtual void SetInt(std::int32_t i);
    virtual void SetStr(const std::string& s);
    virtual std::int32_t GetIntAt(int i) const = 0;
    virtual void SetIntAt(int i, std::int32_t v) = 0;
    virtual Extended GetFloatAt(int i) const = 0;
    virtual void SetFloatAt(int i, Extended x) = 0;
    virtual bool GetBoolAt(int i) const = 0;
    virtual void SetBoolAt(int i, bool b) = 0;
    virtual std::string GetStrAt(int i) const = 0;
    virtual void SetStrAt(int i, const std::string& s) = 0;
    virtual int DimCount() const;
    virtual int DimSize(int d) const;
    virtual void Assign(const TCustomParam& src);
    virtual void SetDims(const std::vector<std::int32_t>& dims);
    virtual void FillInt(std::int32_t) {}
    virtual void FillFloat(Extended) {}
    virtual void FillBool(bool) {}
    virtual void FillStr(const std::string&) {}
    virtual void CopyMem(const TCustomParam& src);
    virtual void SaveToStream(TStream& s) const;
    virtual void LoadFromStream(TStream& s);
    virtual void ClearDims();
    virtual int IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const;

    // Copies between values of any kinds: takes the source's dimension sizes,
    // then converts every element to this value's own kind.
    void ConvertFrom(const TCustomParam& src);

    // The stored dimension list (empty for a value without dimensions).
    const std::vector<std::int32_t>& Dims() const { return dims_; }

    // Whether this is a TParamVar or a TParamSystem. The evaluator asks for
    // every operand of every operation, so this is a tag, not a cast.
    bool IsReference() const { return tag_ == TClassTag::Reference; }
    bool IsSystemValue() const { return tag_ == TClassTag::System; }

protected:
    enum class TClassTag : std::uint8_t { Elements, Reference, System };
    explicit TCustomParam(TClassTag tag) : tag_(tag) {}

    // Raises "配列の添字が不正です" unless 0 <= i < Count().
    void CheckIndex(int i) const;
    // Stream helpers for the dimension block that every value starts with.
    void SaveDims(TStream& s) const;
    void LoadDims(TStream& s);

    std::vector<std::int32_t> dims_;

private:
    TClassTag tag_ = TClassTag::Elements;
};

// Values that hold their own element array. T is the element storage.
template <typename T>
class TParamArray : public TCustomParam {
public:
    TParamArray() : items_(1) {}
    int Count() const override { return static_cast<int>(items_.size()); }
    void SetCount(int n) override;
    void Assign(const TCustomParam& src) override;
    void CopyMem(const TCustomParam& src) override;
    void ClearDims() override;

protected:
    std::vector<T> items_;
};

class TParamInt final : public TParamArray<std::int32_t> {
public:
    std::uint8_t Kind() const override { return PT_INT; }
    std::int32_t GetIntAt(int i) const override;
    void SetIntAt(int i, std::int32_t v) override;
    Extended GetFloatAt(int i) const override;
    void SetFloatAt(int i, Extended x) override;
    bool GetBoolAt(int i) const override;
    void SetBoolAt(int i, bool b) override;
    std::string GetStrAt(int i) const override;
    void SetStrAt(int i, const std::string& s) override;
    void FillInt(std::int32_t v) override;
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;
};

class TParamFloat final : public TParamArray<Extended> {
public:
    std::uint8_t Kind() const override { return PT_FLOAT; }
    std::int32_t GetIntAt(int i) const override;
    void SetIntAt(int i, std::int32_t v) override;
    Extended GetFloatAt(int i) const override;
    void SetFloatAt(int i, Extended x) override;
    bool GetBoolAt(int i) const override;
    void SetBoolAt(int i, bool b) override;
    std::string GetStrAt(int i) const override;
    void SetStrAt(int i, const std::string& s) override;
    void FillFloat(Extended x) override;
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;
};

// Flags are stored as bytes 0 or 1.
class TParamFlag final : public TParamArray<std::uint8_t> {
public:
    std::uint8_t Kind() const override { return PT_BOOL; }
    std::int32_t GetIntAt(int i) const override;
    void SetIntAt(int i, std::int32_t v) override;
    Extended GetFloatAt(int i) const override;
    void SetFloatAt(int i, Extended x) override;
    bool GetBoolAt(int i) const override;
    void SetBoolAt(int i, bool b) override;
    std::string GetStrAt(int i) const override;
    void SetStrAt(int i, const std::string& s) override;
    void FillBool(bool b) override;
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;
};
using TParamBool = TParamFlag;

class TParamStr final : public TParamArray<std::string> {
public:
    std::uint8_t Kind() const override { return PT_STR; }
    std::int32_t GetIntAt(int i) const override;
    void SetIntAt(int i, std::int32_t v) override;
    Extended GetFloatAt(int i) const override;
    void SetFloatAt(int i, Extended x) override;
    bool GetBoolAt(int i) const override;
    void SetBoolAt(int i, bool b) override;
    std::string GetStrAt(int i) const override;
    void SetStrAt(int i, const std::string& s) override;
    const std::string& StrAt(int i) const;  // GetStrAt without the copy
    void FillStr(const std::string& s) override;
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;
    int IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const override;
};

// A reference to one element of another variable, or (as an operand of an
// operation) a variable operand naming a variable. The evaluator resolves it
// before each operation and clears the resolution afterwards; every value
// operation forwards to the resolved variable's value at Index. Unresolved,
// it reads as 0, 0.0, false and "", has kind 0, and ignores writes.
class TParamVar final : public TCustomParam {
public:
    TParamVar() : TCustomParam(TClassTag::Reference) {}
    explicit TParamVar(std::string varName, std::int32_t index = 0);

    const std::string& VarName() const { return varName_; }
    void SetVarName(std::string name);
    // The same with the bucket already known (copying another reference's).
    void SetVarName(std::string name, int bucket);
    std::int32_t Index() const { return index_; }
    void SetIndex(std::int32_t index) { index_ = index; }
    std::uint8_t Reserved() const { return reserved_; }
    // Bucket of VarName in the variable table's index, computed once.
    int Bucket() const { return bucket_; }

    TParamCollectionItem* Target() const { return target_; }
    TCustomParam* TargetValue() const;
    // Looks VarName up in the table and binds to it; raises
    // "\"%s\" 変数がありません" when absent. A target that is itself a
    // reference hands its element index on and is resolved in turn.
    void Resolve(TParamCollection& table);
    // Drops the binding (and that of a reference it forwards through).
    void Unresolve();
    // Binds directly (stream reads and the evaluator's array elements).
    void Bind(TParamCollectionItem* target) { target_ = target; }

    int Count() const override;
    void SetCount(int n) override;
    std::uint8_t Kind() const override;
    bool AsBool() const override;
    Extended AsFloat() const override;
    std::int32_t AsInt() const override;
    std::string AsStr() const override;
    void SetBool(bool b) override;
    void SetFloat(Extended x) override;
    void SetInt(std::int32_t i) override;
    void SetStr(const std::string& s) override;
    std::int32_t GetIntAt(int i) const override;
    void SetIntAt(int i, std::int32_t v) override;
    Extended GetFloatAt(int i) const override;
    void SetFloatAt(int i, Extended x) override;
    bool GetBoolAt(int i) const override;
    void SetBoolAt(int i, bool b) override;
    std::string GetStrAt(int i) const override;
    void SetStrAt(int i, const std::string& s) override;
    int DimCount() const override;
    int DimSize(int d) const override;
    void Assign(const TCustomParam& src) override;
    void SetDims(const std::vector<std::int32_t>& dims) override;
    void FillInt(std::int32_t v) override;
    void FillFloat(Extended x) override;
    void FillBool(bool b) override;
    void FillStr(const std::string& s) override;
    void CopyMem(const TCustomParam& src) override;
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;
    void ClearDims() override;
    int IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const override;

    // Reading a stream binds a non-empty target name at once; the table to
    // look in is given here (values created by a table get it set). A value
    // read without a table binds later with BindLoadedTarget.
    void SetTable(TParamCollection* table) { table_ = table; }
    void BindLoadedTarget(TParamCollection& table);

private:
    void ResolveAt(TParamCollection& table, int depth);

    std::string varName_;
    std::string loadedTarget_;
    TParamCollectionItem* target_ = nullptr;  // not owned
    TParamCollection* table_ = nullptr;       // not owned
    std::uint8_t reserved_ = 0;
    std::int32_t index_ = 0;
    int bucket_ = 0;
};

// A system variable ("@Result" … "@IsDebug"): one byte selects which of the
// fifty it is. This base answers like a variable with no owner (kind 0,
// reads 0, 0.0, false and "", writes ignored); the system-variable module
// derives the real behaviour and hands it to the table through its factory.
// Only the dimension block is streamed, and system variables are never
// saved anyway.
class TParamSystem : public TCustomParam {
public:
    explicit TParamSystem(std::uint8_t index) : TCustomParam(TClassTag::System), index_(index) {}
    std::uint8_t Index() const { return index_; }

    int Count() const override { return 1; }
    void SetCount(int) override {}
    std::uint8_t Kind() const override { return PT_NONE; }
    void SetBool(bool) override {}
    void SetFloat(Extended) override {}
    void SetInt(std::int32_t) override {}
    void SetStr(const std::string&) override {}
    std::int32_t GetIntAt(int) const override { return 0; }
    void SetIntAt(int, std::int32_t) override {}
    Extended GetFloatAt(int) const override { return 0; }
    void SetFloatAt(int, Extended) override {}
    bool GetBoolAt(int) const override { return false; }
    void SetBoolAt(int, bool) override {}
    std::string GetStrAt(int) const override { return {}; }
    void SetStrAt(int, const std::string&) override {}
    void Assign(const TCustomParam&) override {}
    void SetDims(const std::vector<std::int32_t>&) override {}
    void CopyMem(const TCustomParam&) override {}
    void SaveToStream(TStream& s) const override;
    void LoadFromStream(TStream& s) override;
    void ClearDims() override {}

private:
    std::uint8_t index_;
};

inline TParamVar* AsReference(TCustomParam* p) {
    return p && p->IsReference() ? static_cast<TParamVar*>(p) : nullptr;
}
inline const TParamVar* AsReference(const TCustomParam* p) {
    return p && p->IsReference() ? static_cast<const TParamVar*>(p) : nullptr;
}

// The kind factory: an empty value for a kind byte (low seven bits: 0
// reference, 1 integer, 2 real, 3 flag, 4 string); nullptr for other codes.
std::unique_ptr<TCustomParam> CreateParam(std::uint8_t kind);

}  // namespace vesk
