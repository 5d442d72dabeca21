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

TParamVar::TParamVar(std::string varName, std::int32_t index) : TCustomParam(TClassTag::Reference), index_(index) {
    SetVarName(std::move(varName));
}

void TParamVar::SetVarName(std::string name) {
    const int bucket = THashCollection::Hash(name);
    SetVarName(std::move(name), bucket);
}

void TParamVar::SetVarName(std::string name, int bucket) {
    varName_ = std::move(name);
    bucket_ = bucket;
    target_ = nullptr;
}

TCustomParam* TParamVar::TargetValue() const { return target_ ? target_->ValuePtr() : nullptr; }

void TParamVar::Resolve(TParamCollection& table) { ResolveAt(table, 0); }

void TParamVar::ResolveAt(TParamCollection& table, int depth) {
    TParamCollectionItem* found = table.FindInBucket(varName_, bucket_);
    if (!found || depth >= kMaxReferenceDepth)
        throw EVeskError("\"" + varName_ + Sj("\" 変数がありません"));
    if (auto* inner = AsReference(found->ValuePtr())) {
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
        if (auto* inner = AsReference(t->ValuePtr())) inner->Unresolve();
}

void TParamVar::BindLoadedTarget(TParamCollection& table) {
    if (loadedTarget_.empty()) return;
    TParamCollectionItem* found = table.Find(loadedTarget_);
    // Bind only to a value that holds elements itself, so bindings made
    // from stored data can never form a loop.
    if (found && !AsReference(found->ValuePtr())) target_ = found;
    loadedTarget_.clear();
}

// Every operation forwards to the bound variable's value; an unbound
// reference answers nothing and ignores writes.

int TParamVar::Count() const {
    const TCustomParam* t = TargetValue();
    return t ? t->Count() : 0;
}

void TParamVar::SetCount(int n) {
    if (TCustomParam* t = TargetValue()) t->SetCount(n);
}

std::uint8_t TParamVar::Kind() const {
    const TCustomParam* t = TargetValue();
    return t ? t->Kind() : PT_NONE;
}

bool TParamVar::AsBool() const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetBoolAt(index_) : false;
}

Extended TParamVar::AsFloat() const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetFloatAt(index_) : 0;
}

std::int32_t TParamVar::AsInt() const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetIntAt(index_) : 0;
}

std::string TParamVar::AsStr() const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetStrAt(index_) : std::string();
}

void TParamVar::SetBool(bool b) {
    if (TCustomParam* t = TargetValue()) t->SetBoolAt(index_, b);
}

void TParamVar::SetFloat(Extended x) {
    if (TCustomParam* t = TargetValue()) t->SetFloatAt(index_, x);
}

void TParamVar::SetInt(std::int32_t i) {
    if (TCustomParam* t = TargetValue()) t->SetIntAt(index_, i);
}

void TParamVar::SetStr(const std::string& s) {
    if (TCustomParam* t = TargetValue()) t->SetStrAt(index_, s);
}

std::int32_t TParamVar::GetIntAt(int i) const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetIntAt(i) : 0;
}

void TParamVar::SetIntAt(int i, std::int32_t v) {
    if (TCustomParam* t = TargetValue()) t->SetIntAt(i, v);
}

Extended TParamVar::GetFloatAt(int i) const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetFloatAt(i) : 0;
}

void TParamVar::SetFloatAt(int i, Extended x) {
    if (TCustomParam* t = TargetValue()) t->SetFloatAt(i, x);
}

bool TParamVar::GetBoolAt(int i) const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetBoolAt(i) : false;
}

void TParamVar::SetBoolAt(int i, bool b) {
    if (TCustomParam* t = TargetValue()) t->SetBoolAt(i, b);
}

std::string TParamVar::GetStrAt(int i) const {
    const TCustomParam* t = TargetValue();
    return t ? t->GetStrAt(i) : std::string();
}

void TParamVar::SetStrAt(int i, const std::string& s) {
    if (TCustomParam* t = TargetValue()) t->SetStrAt(i, s);
}

int TParamVar::DimCount() const {
    const TCustomParam* t = TargetValue();
    return t ? t->DimCount() : 1;
}

int TParamVar::DimSize(int d) const {
    const TCustomParam* t = TargetValue();
    return t ? t->DimSize(d) : 1;
}

void TParamVar::SetDims(const std::vector<std::int32_t>& dims) {
    if (TCustomParam* t = TargetValue()) t->SetDims(dims);
}

void TParamVar::FillInt(std::int32_t v) {
    if (TCustomParam* t = TargetValue()) t->FillInt(v);
}

void TParamVar::FillFloat(Extended x) {
    if (TCustomParam* t = TargetValue()) t->FillFloat(x);
}

void TParamVar::FillBool(bool b) {
    if (TCustomParam* t = TargetValue()) t->FillBool(b);
}

void TParamVar::FillStr(const std::string& s) {
    if (TCustomParam* t = TargetValue()) t->FillStr(s);
}

void TParamVar::CopyMem(const TCustomParam& src) {
    if (TCustomParam* t = TargetValue()) t->CopyMem(src);
}

void TParamVar::ClearDims() {
    if (TCustomParam* t = TargetValue()) t->ClearDims();
}

int TParamVar::IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const {
    const TCustomParam* t = TargetValue();
    return t ? t->IndexOfStr(text, caseSensitive, partial) : -1;
}

void TParamVar::Assign(const TCustomParam& src) {
    // A reference copies what it refers to, not the elements behind it.
    if (auto* other = AsReference(&src)) {
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
