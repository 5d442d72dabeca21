#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <vector>

#include "common/cp932.h"
#include "common/error.h"
#include "values/func_dispatch.h"
#include "values/param_collection.h"
#include "values/param_limits.h"
#include "values/vesk_parser.h"

namespace vesk {

namespace {

// Temporaries made by one evaluation. The bucket is kept beside the entry so
// that deleting them never has to touch an entry something else has freed.
struct TCreatedTemp {
    TParamCollectionItem* item;
    int bucket;
};

class TCreatedTemps {
public:
    void Add(TParamCollectionItem* item) {
        const TCreatedTemp t{item, item->Bucket()};
        if (size_ < kInline)
            inline_[size_] = t;
        else
            more_.push_back(t);
        ++size_;
    }

    // Deletes the temporaries, newest first, each only while it is still an
    // entry of the table.
    void DeleteAll(TParamCollection& vars) {
        for (std::size_t i = size_; i-- > 0;) {
            const TCreatedTemp& t = i < kInline ? inline_[i] : more_[i - kInline];
            for (THashCollectionItem* it = vars.BucketHead(t.bucket); it; it = it->Next()) {
                if (it == t.item) {
                    vars.Delete(it->CachedIndex());
                    break;
                }
            }
        }
        size_ = 0;
        more_.clear();
    }

private:
    static constexpr std::size_t kInline = 8;
    TCreatedTemp inline_[kInline];
    std::vector<TCreatedTemp> more_;
    std::size_t size_ = 0;
};

[[noreturn]] void RaiseInvalid(const TOpeData& op) {
    std::string text = Sj("不正な式\r\n\r\n代入先:") + op.Dest() + Sj("演算タイプ:") + OpeCodeName(op.Ope);
    for (const auto& operand : op.Operands) {
        text += "\r\n";
        text += operand->AsStr();
    }
    throw EVeskError(text);
}

const TCustomParam& Operand(const TOpeData& op, std::size_t i) {
    if (i >= op.Operands.size()) RaiseInvalid(op);
    return *op.Operands[i];
}

// Clears every binding an operation made, whichever way it ends.
class TBindings {
public:
    explicit TBindings(TOpeData& op) : op_(op) {}
    ~TBindings() {
        for (auto& operand : op_.Operands)
            if (auto* var = AsReference(operand.get())) var->Unresolve();
        if (dest_) dest_->Unresolve();
    }
    void ResolveOperands(TParamCollection& table) {
        for (auto& operand : op_.Operands)
            if (auto* var = AsReference(operand.get())) var->Resolve(table);
    }
    void ResolveDest(TParamVar& ref, TParamCollection& table) {
        dest_ = &ref;
        ref.Resolve(table);
    }

private:
    TOpeData& op_;
    TParamVar* dest_ = nullptr;
};

std::string IndexText(const std::string& name, const std::vector<std::int32_t>& indices, const char* what) {
    return name + "[" + JoinInts(indices) + "]\r\n" + Sj(what);
}

// The element reference an ocDimTo temporary holds: operand 0 names the
// array, the others are its indices, the last varying fastest.
std::unique_ptr<TParamVar> ElementReference(const TOpeData& op) {
    const TParamVar* array = AsReference(&Operand(op, 0));
    if (!array) RaiseInvalid(op);
    const std::size_t count = op.Operands.size() - 1;
    auto indices = [&] {
        std::vector<std::int32_t> list;
        for (std::size_t i = 1; i <= count; ++i) list.push_back(op.Operands[i]->AsInt());
        return list;
    };
    const TCustomParam& value = *array;  // forwards to the resolved array
    const int dimCount = value.DimCount();
    if (count != static_cast<std::size_t>(dimCount))
        throw EVeskError(IndexText(array->VarName(), indices(), "添え字が不正です"));
    // flat = sum of index j times the sizes of the dimensions after j, in
    // wrapping arithmetic: a flat index out of range is caught below or at
    // element access, never by undefined behaviour here.
    std::uint64_t flat = 0;
    std::uint64_t stride = 1;
    for (int j = dimCount - 1; j >= 0; --j) {
        const auto index = static_cast<std::int64_t>(op.Operands[static_cast<std::size_t>(j) + 1]->AsInt());
        flat += static_cast<std::uint64_t>(index) * stride;
        stride *= static_cast<std::uint64_t>(value.DimSize(j));
    }
    const auto signedFlat = static_cast<std::int64_t>(flat);
    if (signedFlat >= value.Count()) throw EVeskError(IndexText(array->VarName(), indices(), "要素数を超えています"));
    auto ref = std::make_unique<TParamVar>();
    ref->SetVarName(array->VarName(), array->Bucket());
    ref->SetIndex(signedFlat < std::numeric_limits<std::int32_t>::min() ? -1 : static_cast<std::int32_t>(signedFlat));
    return ref;
}

std::uint8_t ArithmeticKind(const TOpeData& op, bool strings) {
    const std::uint8_t k = Operand(op, 0).Kind();
    if (strings && k == PT_STR) return PT_STR;
    return k == PT_FLOAT ? PT_FLOAT : PT_INT;
}

// Creates the temporary named by Dest with the kind the operator gives it.
TParamCollectionItem& CreateTemp(TParamCollection& vars, const TOpeData& op) {
    std::uint8_t kind = PT_INT;
    switch (op.Ope) {
        case ocTo: kind = Operand(op, 0).Kind(); break;
        case ocPlus: kind = ArithmeticKind(op, true); break;
        case ocMinus:
        case ocMul:
        case ocDiv: kind = ArithmeticKind(op, false); break;
        case ocMod:
        case ocOr:
        case ocAnd:
        case ocXor:
        case ocShiftL:
        case ocShiftR: kind = PT_INT; break;
        case ocEqual:
        case ocBig:
        case ocSmall:
        case ocEBig:
        case ocESmall:
        case ocNEqual: kind = PT_BOOL; break;
        case ocComboStr: kind = PT_STR; break;
        case ocFunc: {
            TFuncDispatcher* functions = vars.Functions();
            if (!functions) throw EVeskError(Sj("組み込み関数がありません"));
            kind = functions->ResultKind(op.FuncIndex, op.Operands);
            break;
        }
        case ocDimTo: return vars.AddNamed(op.Dest(), ElementReference(op));
        default: RaiseInvalid(op);
    }
    return vars.AddNamed(kind, op.Dest());
}

[[noreturn]] void RaiseZeroDivide() { throw EVeskError(Sj("0 で除算しました")); }

std::int32_t Wrap(std::uint32_t v) { return static_cast<std::int32_t>(v); }

void Arithmetic(const TOpeData& op, TCustomParam& dest, std::uint8_t destKind) {
    const TCustomParam& a = Operand(op, 0);
    const TCustomParam& b = Operand(op, 1);
    if (destKind == PT_FLOAT) {
        const Extended x = a.AsFloat(), y = b.AsFloat();
        Extended r = 0;
        switch (op.Ope) {
            case ocPlus: r = x + y; break;
            case ocMinus: r = x - y; break;
            case ocMul: r = x * y; break;
            default:
                if (y == 0) RaiseZeroDivide();
                r = x / y;
                break;
        }
        dest.SetFloat(r);
        return;
    }
    const std::int32_t x = a.AsInt(), y = b.AsInt();
    const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
    std::int32_t r = 0;
    switch (op.Ope) {
        case ocPlus: r = Wrap(ux + uy); break;
        case ocMinus: r = Wrap(ux - uy); break;
        case ocMul: r = Wrap(ux * uy); break;
        default:
            // The processor traps on both a zero divisor and the one quotient
            // that does not fit.
            if (y == 0 || (x == std::numeric_limits<std::int32_t>::min() && y == -1)) RaiseZeroDivide();
            r = x / y;
            break;
    }
    dest.SetInt(r);
}

template <typename T>
bool Compare(std::uint8_t ope, const T& a, const T& b) {
    switch (ope) {
        case ocEqual: return a == b;
        case ocNEqual: return a != b;
        case ocBig: return a > b;
        case ocSmall: return a < b;
        case ocEBig: return a >= b;
        default: return a <= b;
    }
}

bool Comparison(const TOpeData& op) {
    const TCustomParam& a = Operand(op, 0);
    const TCustomParam& b = Operand(op, 1);
    switch (a.Kind()) {
        case PT_STR: {
            // std::string compares as unsigned bytes, shorter prefix first.
            return Compare(op.Ope, a.AsStr(), b.AsStr());
        }
        case PT_FLOAT: return Compare(op.Ope, a.AsFloat(), b.AsFloat());
        case PT_BOOL: return Compare(op.Ope, a.AsBool() ? 1 : 0, b.AsBool() ? 1 : 0);
        default: return Compare(op.Ope, a.AsInt(), b.AsInt());
    }
}

void Perform(TParamCollection& vars, TOpeData& op, TParamCollectionItem& destItem) {
    TCustomParam& dest = destItem.Value();
    const std::uint8_t kind = dest.Kind();
    switch (op.Ope) {
        case ocTo: {
            const TCustomParam& a = Operand(op, 0);
            switch (kind) {
                case PT_INT: dest.SetInt(a.AsInt()); break;
                case PT_FLOAT: dest.SetFloat(a.AsFloat()); break;
                case PT_BOOL: dest.SetBool(a.AsBool()); break;
                case PT_STR: dest.SetStr(a.AsStr()); break;
                default: break;
            }
            break;
        }
        case ocPlus:
        case ocMinus:
        case ocMul:
        case ocDiv: Arithmetic(op, dest, kind); break;
        case ocMod: {
            const std::int32_t x = Operand(op, 0).AsInt(), y = Operand(op, 1).AsInt();
            if (y == 0 || (x == std::numeric_limits<std::int32_t>::min() && y == -1)) RaiseZeroDivide();
            dest.SetInt(x % y);
            break;
        }
        case ocOr: dest.SetInt(Operand(op, 0).AsInt() | Operand(op, 1).AsInt()); break;
        case ocAnd: dest.SetInt(Operand(op, 0).AsInt() & Operand(op, 1).AsInt()); break;
        case ocXor: dest.SetInt(Operand(op, 0).AsInt() ^ Operand(op, 1).AsInt()); break;
        case ocShiftL: {
            const auto x = static_cast<std::uint32_t>(Operand(op, 0).AsInt());
            dest.SetInt(Wrap(x << (Operand(op, 1).AsInt() & 31)));
            break;
        }
        case ocShiftR: {
            const auto x = static_cast<std::uint32_t>(Operand(op, 0).AsInt());
            dest.SetInt(Wrap(x >> (Operand(op, 1).AsInt() & 31)));
            break;
        }
        case ocComboStr: dest.SetStr(Operand(op, 0).AsStr() + Operand(op, 1).AsStr()); break;
        case ocEqual:
        case ocBig:
        case ocSmall:
        case ocEBig:
        case ocESmall:
        case ocNEqual: dest.SetBool(Comparison(op)); break;
        case ocDimTo: break;
        case ocFunc: {
            TFuncDispatcher* functions = vars.Functions();
            if (!functions) throw EVeskError(Sj("組み込み関数がありません"));
            functions->Call(destItem, op.FuncIndex, static_cast<int>(op.Operands.size()) - 1, op.Operands);
            break;
        }
        default: RaiseInvalid(op);
    }
}

void Execute(TParamCollection& vars, TOpeData& op, TCreatedTemps& created) {
    TBindings bindings(op);
    bindings.ResolveOperands(vars);
    TParamCollectionItem* dest = vars.FindInBucket(op.Dest(), op.DestBucket());
    if (!dest && op.DestIsTemp()) {
        dest = &CreateTemp(vars, op);
        created.Add(dest);
    }
    if (!dest) throw EVeskError("\"" + op.Dest() + Sj("\" 変数がありません"));
    if (auto* ref = AsReference(dest->ValuePtr()); ref && !ref->VarName().empty())
        bindings.ResolveDest(*ref, vars);
    Perform(vars, op, *dest);
}

}  // namespace

void TVeskParser::Evaluate(TParamCollection& vars) {
    result_.reset();
    lastError_.clear();
    TCreatedTemps created;
    bool failed = false;
    try {
        for (auto& op : ops_) Execute(vars, *op, created);
    } catch (const std::exception& e) {
        // Script errors inside an expression end it silently; what earlier
        // operations stored stays stored.
        failed = true;
        lastError_ = e.what();
    }
    // A list stopped by an error has no result, even when "____arg" was
    // already made (by the failing assignment itself, or by an enclosing
    // evaluation whose value this list must not pass off as its own).
    if (!failed && !ops_.empty()) {
        const TOpeData& last = *ops_.back();
        if (last.Ope == ocTo && last.Dest() == "____arg") {
            try {
                result_ = vars.CopyOf("____arg");
            } catch (const std::exception&) {
                result_.reset();
            }
        }
    }
    created.DeleteAll(vars);
}

void TVeskParser::Evaluate() {
    TParamCollection* vars = TParamCollection::Global();
    if (!vars) {
        result_.reset();
        return;
    }
    Evaluate(*vars);
}

}  // namespace vesk
