#include "common/cp932.h"
#include "common/error.h"
#include "common/stream_io.h"
#include "values/param_collection.h"
#include "values/params.h"

namespace vesk {

namespace {

// References reach their value through at most this many other references;
// only hand-made or damaged lists chain them at all.
constexpr int kMaxReferenceDepth = 16;

}  // namespace

TParamVar::TParamVar(std::string varName, std::int32_t index) : index_(index) { SetVarName(std::move(varName)); }

void TParamVar::SetVarName(std::string name) {
    varName_ = std::move(name);
    bucket_ = THashCollection::Hash(varName_);
    target_ = nullptr;
}

TCustomParam* TParamVar::TargetValue() const { return target_ ? target_->ValuePtr() : nullptr; }

void TParamVar::Resolve(TParamCollection& table) { ResolveAt(table, 0); }

void TParamVar::ResolveAt(TParamCollection& table, int depth) {
    TParamCollectionItem* found = table.FindInBucket(varName_, bucket_);
    if (!found || depth >= kMaxReferenceDepth)
        throw EVeskError("\"" + varName_ + Sj("\" 変数がありません"));
    if (auto* inner = dynamic_cast<TParamVar*>(found->ValuePtr())) {
        if (inner == this) throw EVeskError("\"" + varName_ + Sj("\" 変数がありません"));
        index_ = inner->index_;
        inner->ResolveAt(table, depth + 1);
    }
    target_ = found;
}

void TParamVar::Unresolve() {
    TParamCollectionItem* t = target_;
    target_ = nullptr;
    if (t)
        if (auto* inner = dynamic_cast<TParamVar*>(t->ValuePtr())) inner->Unresolve();
}

void TParamVar::BindLoadedTarget(TParamCollection& table) {
    if (loadedTarget_.empty()) return;
    TParamCollectionItem* found = table.Find(loadedTarget_);
    // Bind only to a value that holds elements itself, so bindings made
    // from stored data can never form a loop.
    if (found && !dynamic_cast<TParamVar*>(found->ValuePtr())) target_ = found;
    loadedTarget_.clear();
}

#define VESK_TARGET(expr, fallback) \
    do {                             \
        if (TCustomParam* t = TargetValue()) return t->expr; \
        return fallback;             \
    } while (0)

int TParamVar::Count() const { VESK_TARGET(Count(), 0); }
void TParamVar::SetCount(int n) { VESK_TARGET(SetCount(n), void()); }
std::uint8_t TParamVar::Kind() const { VESK_TARGET(Kind(), PT_NONE); }
bool TParamVar::AsBool() const { VESK_TARGET(GetBoolAt(index_), false); }
Extended TParamVar::AsFloat() const { VESK_TARGET(GetFloatAt(index_), 0); }
std::int32_t TParamVar::AsInt() const { VESK_TARGET(GetIntAt(index_), 0); }
std::string TParamVar::AsStr() const { VESK_TARGET(GetStrAt(index_), std::string()); }
void TParamVar::SetBool(bool b) { VESK_TARGET(SetBoolAt(index_, b), void()); }
void TParamVar::SetFloat(Extended x) { VESK_TARGET(SetFloatAt(index_, x), void()); }
void TParamVar::SetInt(std::int32_t i) { VESK_TARGET(SetIntAt(index_, i), void()); }
void TParamVar::SetStr(const std::string& s) { VESK_TARGET(SetStrAt(index_, s), void()); }
std::int32_t TParamVar::GetIntAt(int i) const { VESK_TARGET(GetIntAt(i), 0); }
void TParamVar::SetIntAt(int i, std::int32_t v) { VESK_TARGET(SetIntAt(i, v), void()); }
Extended TParamVar::GetFloatAt(int i) const { VESK_TARGET(GetFloatAt(i), 0); }
void TParamVar::SetFloatAt(int i, Extended x) { VESK_TARGET(SetFloatAt(i, x), void()); }
bool TParamVar::GetBoolAt(int i) const { VESK_TARGET(GetBoolAt(i), false); }
void TParamVar::SetBoolAt(int i, bool b) { VESK_TARGET(SetBoolAt(i, b), void()); }
std::string TParamVar::GetStrAt(int i) const { VESK_TARGET(GetStrAt(i), std::string()); }
void TParamVar::SetStrAt(int i, const std::string& s) { VESK_TARGET(SetStrAt(i, s), void()); }
int TParamVar::DimCount() const { VESK_TARGET(DimCount(), 1); }
int TParamVar::DimSize(int d) const { VESK_TARGET(DimSize(d), 1); }
void TParamVar::SetDims(const std::vector<std::int32_t>& dims) { VESK_TARGET(SetDims(dims), void()); }
void TParamVar::FillInt(std::int32_t v) { VESK_TARGET(FillInt(v), void()); }
void TParamVar::FillFloat(Extended x) { VESK_TARGET(FillFloat(x), void()); }
void TParamVar::FillBool(bool b) { VESK_TARGET(FillBool(b), void()); }
void TParamVar::FillStr(const std::string& s) { VESK_TARGET(FillStr(s), void()); }
void TParamVar::CopyMem(const TCustomParam& src) { VESK_TARGET(CopyMem(src), void()); }
void TParamVar::ClearDims() { VESK_TARGET(ClearDims(), void()); }
int TParamVar::IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const {
    VESK_TARGET(IndexOfStr(text, caseSensitive, partial), -1);
}

#undef VESK_TARGET

void TParamVar::Assign(const TCustomParam& src) {
    // A reference copies what it refers to, not the elements behind it.
    if (auto* other = dynamic_cast<const TParamVar*>(&src)) {
        if (other == this) return;
        varName_ = other->varName_;
        bucket_ = other->bucket_;
        index_ = other->index_;
        reserved_ = other->reserved_;
        target_ = other->target_;
        dims_ = other->dims_;
    }
}

void TParamVar::SaveToStream(TStream& s) const {
    SaveDims(s);
    WriteString(s, varName_);
    WriteString(s, target_ ? target_->Name() : std::string());
    WriteByte(s, reserved_);
    WriteInt32(s, index_);
}

void TParamVar::LoadFromStream(TStream& s) {
    LoadDims(s);
    std::string name = ReadString(s);
    std::string target = ReadString(s);
    reserved_ = ReadByte(s);
    index_ = ReadInt32(s);
    SetVarName(std::move(name));
    loadedTarget_ = std::move(target);
    if (table_) BindLoadedTarget(*table_);
}

}  // namespace vesk
