#include "values/params.h"

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "common/stream_io.h"
#include "values/param_convert.h"
#include "values/param_limits.h"

namespace vesk {

const std::string& KindLabel(std::uint8_t kind) {
    static const std::string none;
    switch (kind) {
        case PT_INT: return Sj("整数");
        case PT_FLOAT: return Sj("実数");
        case PT_BOOL: return Sj("フラグ");
        case PT_STR: return Sj("文字列");
        default: return none;
    }
}

std::string JoinInts(const std::vector<std::int32_t>& values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out.push_back(',');
        out += IntToText(values[i]);
    }
    return out;
}

[[noreturn]] void RaiseBadElementCount(const std::vector<std::int32_t>& dims) {
    throw EVeskError(Sj("配列の要素数[") + JoinInts(dims) + Sj("]が不正です"));
}

std::int64_t CheckedElementCount(const std::vector<std::int32_t>& dims) {
    std::int64_t product = 1;
    for (const std::int32_t d : dims) {
        if (d <= 0) RaiseBadElementCount(dims);
        product *= d;
        // A product this large cannot be allocated; refuse it like a bad size
        // instead of letting the allocation take the process down.
        if (product > kMaxElements) RaiseBadElementCount(dims);
    }
    return product;
}

// ---- TCustomParam ---------------------------------------------------------

void TCustomParam::CheckIndex(int i) const {
    if (i < 0 || i >= Count()) throw EVeskError(Sj("配列の添字が不正です"));
}

void TCustomParam::SetBool(bool b) {
    ClearDims();
    SetBoolAt(0, b);
}

void TCustomParam::SetFloat(Extended x) {
    ClearDims();
    SetFloatAt(0, x);
}

void TCustomParam::SetInt(std::int32_t i) {
    ClearDims();
    SetIntAt(0, i);
}

void TCustomParam::SetStr(const std::string& s) {
    ClearDims();
    SetStrAt(0, s);
}

int TCustomParam::DimCount() const { return dims_.empty() ? 1 : static_cast<int>(dims_.size()); }

int TCustomParam::DimSize(int d) const {
    return (d >= 0 && d < static_cast<int>(dims_.size())) ? dims_[static_cast<std::size_t>(d)] : 1;
}

void TCustomParam::Assign(const TCustomParam& src) { ConvertFrom(src); }

void TCustomParam::SetDims(const std::vector<std::int32_t>& dims) {
    const std::int64_t count = CheckedElementCount(dims);
    SetCount(static_cast<int>(count));
    dims_ = dims;
}

void TCustomParam::CopyMem(const TCustomParam&) { throw EVeskError(Sj("CopyMem:変数の型があいません")); }

void TCustomParam::SaveToStream(TStream& s) const { SaveDims(s); }

void TCustomParam::LoadFromStream(TStream& s) { LoadDims(s); }

void TCustomParam::ClearDims() { dims_.clear(); }

int TCustomParam::IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const {
    const std::string needle = (partial && !caseSensitive) ? SjisLower(text) : std::string();
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        const std::string item = GetStrAt(i);
        bool match;
        if (partial)
            match = (caseSensitive ? item.find(text) : SjisLower(item).find(needle)) != std::string::npos;
        else
            match = caseSensitive ? item == text : SjisSameText(item, text);
        if (match) return i;
    }
    return -1;
}

void TCustomParam::ConvertFrom(const TCustomParam& src) {
    std::vector<std::int32_t> dims;
    const int dimCount = src.DimCount();
    dims.reserve(static_cast<std::size_t>(dimCount));
    for (int d = 0; d < dimCount; ++d) dims.push_back(src.DimSize(d));
    SetDims(dims);
    const int n = std::min(src.Count(), Count());
    switch (Kind()) {
        case PT_INT:
            for (int i = 0; i < n; ++i) SetIntAt(i, src.GetIntAt(i));
            break;
        case PT_FLOAT:
            for (int i = 0; i < n; ++i) SetFloatAt(i, src.GetFloatAt(i));
            break;
        case PT_BOOL:
            for (int i = 0; i < n; ++i) SetBoolAt(i, src.GetBoolAt(i));
            break;
        case PT_STR:
            for (int i = 0; i < n; ++i) SetStrAt(i, src.GetStrAt(i));
            break;
        default:
            break;
    }
}

void TCustomParam::SaveDims(TStream& s) const {
    WriteInt32(s, static_cast<std::int32_t>(dims_.size()));
    for (const std::int32_t d : dims_) WriteInt32(s, d);
}

void TCustomParam::LoadDims(TStream& s) {
    const std::int32_t n = ReadInt32(s);
    CheckCount(s, n, 4);
    std::vector<std::int32_t> dims(static_cast<std::size_t>(n));
    for (auto& d : dims) d = ReadInt32(s);
    CheckedElementCount(dims);
    dims_ = std::move(dims);
}

// ---- element arrays -------------------------------------------------------

namespace {

// A reference is followed to the value it names, so copying "from a
// variable" copies that variable whether the operand was bound or not.
const TCustomParam& Deref(const TCustomParam& src) {
    if (auto* ref = AsReference(&src))
        if (TCustomParam* target = ref->TargetValue()) return *target;
    return src;
}

// Reads the element count that follows the dimension block and checks it
// against the dimensions and what the stream still holds.
std::int32_t ReadElementCount(TStream& s, const std::vector<std::int32_t>& dims, std::int64_t itemSize) {
    const std::int32_t count = ReadInt32(s);
    CheckCount(s, count, itemSize);
    if (count > kMaxElements) throw EStreamError("value has too many elements");
    if (!dims.empty() && CheckedElementCount(dims) != count)
        throw EStreamError("value element count does not match its dimensions");
    return count;
}

}  // namespace

template <typename T>
void TParamArray<T>::SetCount(int n) {
    if (n < 0 || n > kMaxElements) RaiseBadElementCount({n});
    items_.resize(static_cast<std::size_t>(n));
}

template <typename T>
void TParamArray<T>::Assign(const TCustomParam& source) {
    const TCustomParam& src = Deref(source);
    if (auto* same = dynamic_cast<const TParamArray<T>*>(&src)) {
        if (same == this) return;
        items_ = same->items_;
        dims_ = same->dims_;
        return;
    }
    // Another kind: keep the shape, convert every element.
    const int n = src.Count();
    if (n < 0 || n > kMaxElements) RaiseBadElementCount({n});
    std::vector<std::int32_t> dims = src.Dims();
    items_.assign(static_cast<std::size_t>(n), T{});
    dims_.clear();
    if (!dims.empty() && CheckedElementCount(dims) == n) dims_ = std::move(dims);
    for (int i = 0; i < n; ++i) {
        switch (Kind()) {
            case PT_INT: SetIntAt(i, src.GetIntAt(i)); break;
            case PT_FLOAT: SetFloatAt(i, src.GetFloatAt(i)); break;
            case PT_BOOL: SetBoolAt(i, src.GetBoolAt(i)); break;
            default: SetStrAt(i, src.GetStrAt(i)); break;
        }
    }
}

template <typename T>
void TParamArray<T>::CopyMem(const TCustomParam& source) {
    const TCustomParam& src = Deref(source);
    if (!dynamic_cast<const TParamArray<T>*>(&src)) throw EVeskError(Sj("CopyMem:変数の型があいません"));
    Assign(src);
}

template <typename T>
void TParamArray<T>::ClearDims() {
    if (dims_.empty()) return;
    dims_.clear();
    items_.resize(1);
}

template class TParamArray<std::int32_t>;
template class TParamArray<Extended>;
template class TParamArray<std::uint8_t>;
template class TParamArray<std::string>;

// ---- TParamInt ------------------------------------------------------------

void TParamInt::SetInt(std::int32_t i) {
    ClearDims();
    SetIntAt(0, i);
}
std::int32_t TParamInt::GetIntAt(int i) const {
    CheckIndex(i);
    return items_[static_cast<std::size_t>(i)];
}
void TParamInt::SetIntAt(int i, std::int32_t v) {
    CheckIndex(i);
    items_[static_cast<std::size_t>(i)] = v;
}
Extended TParamInt::GetFloatAt(int i) const { return GetIntAt(i); }
void TParamInt::SetFloatAt(int i, Extended x) { SetIntAt(i, FloatToInt(x)); }
bool TParamInt::GetBoolAt(int i) const { return GetIntAt(i) != 0; }
void TParamInt::SetBoolAt(int i, bool b) { SetIntAt(i, b ? 1 : 0); }
std::string TParamInt::GetStrAt(int i) const { return IntToText(GetIntAt(i)); }
void TParamInt::SetStrAt(int i, const std::string& s) { SetIntAt(i, StrToIntOr0(s)); }
void TParamInt::FillInt(std::int32_t v) { std::fill(items_.begin(), items_.end(), v); }

void TParamInt::SaveToStream(TStream& s) const {
    SaveDims(s);
    WriteInt32(s, Count());
    for (const std::int32_t v : items_) WriteInt32(s, v);
}

void TParamInt::LoadFromStream(TStream& s) {
    LoadDims(s);
    const std::int32_t n = ReadElementCount(s, dims_, 4);
    items_.resize(static_cast<std::size_t>(n));
    for (auto& v : items_) v = ReadInt32(s);
}

// ---- TParamFloat ----------------------------------------------------------

void TParamFloat::SetFloat(Extended x) {
    ClearDims();
    SetFloatAt(0, x);
}
std::int32_t TParamFloat::GetIntAt(int i) const { return FloatToInt(GetFloatAt(i)); }
void TParamFloat::SetIntAt(int i, std::int32_t v) { SetFloatAt(i, v); }
Extended TParamFloat::GetFloatAt(int i) const {
    CheckIndex(i);
    return items_[static_cast<std::size_t>(i)];
}
void TParamFloat::SetFloatAt(int i, Extended x) {
    CheckIndex(i);
    items_[static_cast<std::size_t>(i)] = x;
}
bool TParamFloat::GetBoolAt(int i) const { return GetFloatAt(i) != 0; }
void TParamFloat::SetBoolAt(int i, bool b) { SetFloatAt(i, b ? 1.0L : 0.0L); }
std::string TParamFloat::GetStrAt(int i) const { return FloatToText(GetFloatAt(i)); }
void TParamFloat::SetStrAt(int i, const std::string& s) { SetFloatAt(i, StrToFloatOr0(s)); }
void TParamFloat::FillFloat(Extended x) { std::fill(items_.begin(), items_.end(), x); }

void TParamFloat::SaveToStream(TStream& s) const {
    SaveDims(s);
    WriteInt32(s, Count());
    for (const Extended v : items_) WriteExtended(s, v);
}

void TParamFloat::LoadFromStream(TStream& s) {
    LoadDims(s);
    const std::int32_t n = ReadElementCount(s, dims_, 10);
    items_.resize(static_cast<std::size_t>(n));
    for (auto& v : items_) v = ReadExtended(s);
}

// ---- TParamFlag -----------------------------------------------------------

std::int32_t TParamFlag::GetIntAt(int i) const { return GetBoolAt(i) ? 1 : 0; }
void TParamFlag::SetIntAt(int i, std::int32_t v) { SetBoolAt(i, v != 0); }
Extended TParamFlag::GetFloatAt(int i) const { return GetBoolAt(i) ? 1.0L : 0.0L; }
void TParamFlag::SetFloatAt(int i, Extended x) { SetBoolAt(i, x != 0); }
bool TParamFlag::GetBoolAt(int i) const {
    CheckIndex(i);
    return items_[static_cast<std::size_t>(i)] != 0;
}
void TParamFlag::SetBoolAt(int i, bool b) {
    CheckIndex(i);
    items_[static_cast<std::size_t>(i)] = b ? 1 : 0;
}
std::string TParamFlag::GetStrAt(int i) const { return BoolToText(GetBoolAt(i)); }
void TParamFlag::SetStrAt(int i, const std::string& s) { SetBoolAt(i, TextToBool(s)); }
void TParamFlag::FillBool(bool b) { std::fill(items_.begin(), items_.end(), b ? 1 : 0); }

void TParamFlag::SaveToStream(TStream& s) const {
    SaveDims(s);
    WriteInt32(s, Count());
    for (const std::uint8_t v : items_) WriteByte(s, v);
}

void TParamFlag::LoadFromStream(TStream& s) {
    LoadDims(s);
    const std::int32_t n = ReadElementCount(s, dims_, 1);
    items_.resize(static_cast<std::size_t>(n));
    // Any non-zero byte is a set flag; keep the stored form 0 or 1.
    for (auto& v : items_) v = ReadByte(s) != 0 ? 1 : 0;
}

// ---- TParamStr ------------------------------------------------------------

void TParamStr::SetStr(const std::string& s) {
    ClearDims();
    SetStrAt(0, s);
}
std::int32_t TParamStr::GetIntAt(int i) const { return StrToIntOr0(StrAt(i)); }
void TParamStr::SetIntAt(int i, std::int32_t v) { SetStrAt(i, IntToText(v)); }
Extended TParamStr::GetFloatAt(int i) const { return StrToFloatOr0(StrAt(i)); }
void TParamStr::SetFloatAt(int i, Extended x) { SetStrAt(i, FloatToText(x)); }
bool TParamStr::GetBoolAt(int i) const { return TextToBool(StrAt(i)); }
void TParamStr::SetBoolAt(int i, bool b) { SetStrAt(i, BoolToText(b)); }
std::string TParamStr::GetStrAt(int i) const { return StrAt(i); }
const std::string& TParamStr::StrAt(int i) const {
    CheckIndex(i);
    return items_[static_cast<std::size_t>(i)];
}
void TParamStr::SetStrAt(int i, const std::string& s) {
    CheckIndex(i);
    items_[static_cast<std::size_t>(i)] = s;
}
void TParamStr::FillStr(const std::string& s) { std::fill(items_.begin(), items_.end(), s); }

void TParamStr::SaveToStream(TStream& s) const {
    SaveDims(s);
    WriteInt32(s, Count());
    for (const std::string& v : items_) WriteString(s, v);
}

void TParamStr::LoadFromStream(TStream& s) {
    LoadDims(s);
    const std::int32_t n = ReadElementCount(s, dims_, 4);
    std::vector<std::string> items(static_cast<std::size_t>(n));
    for (auto& v : items) v = ReadString(s);
    items_ = std::move(items);
}

int TParamStr::IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const {
    if (partial || !caseSensitive) return TCustomParam::IndexOfStr(text, caseSensitive, partial);
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text) return static_cast<int>(i);
    return -1;
}

// ---- TParamSystem ---------------------------------------------------------

void TParamSystem::SaveToStream(TStream& s) const { WriteInt32(s, 0); }

void TParamSystem::LoadFromStream(TStream& s) {
    // Only the dimension block; system variables have no stored shape.
    const std::int32_t n = ReadInt32(s);
    CheckCount(s, n, 4);
    for (std::int32_t i = 0; i < n; ++i) ReadInt32(s);
}

// ---- factory --------------------------------------------------------------

std::unique_ptr<TCustomParam> CreateParam(std::uint8_t kind) {
    switch (kind & 0x7F) {
        case PT_NONE: return std::make_unique<TParamVar>();
        case PT_INT: return std::make_unique<TParamInt>();
        case PT_FLOAT: return std::make_unique<TParamFloat>();
        case PT_BOOL: return std::make_unique<TParamFlag>();
        case PT_STR: return std::make_unique<TParamStr>();
        default: return nullptr;
    }
}

}  // namespace vesk
