#include "values/ope_data.h"

#include "common/error.h"
#include "common/hash.h"
#include "common/stream_io.h"
#include "values/param_collection.h"

namespace vesk {

const char* OpeCodeName(std::uint8_t code) {
    static const char* const names[] = {
        "ocNone", "ocTo",    "ocPlus",   "ocMinus",  "ocMul",    "ocDiv",      "ocMod",
        "ocOr",   "ocAnd",   "ocXor",    "ocDimTo",  "ocFunc",   "ocEqual",    "ocBig",
        "ocSmall", "ocEBig", "ocESmall", "ocShiftL", "ocShiftR", "ocComboStr", "ocNEqual",
    };
    return code <= kLastOpeCode ? names[code] : "";
}

TOpeData::TOpeData(std::uint8_t ope, std::string dest, std::uint8_t funcIndex) : Ope(ope), FuncIndex(funcIndex) {
    SetDest(std::move(dest));
}

void TOpeData::SetDest(std::string dest) {
    dest_ = std::move(dest);
    destBucket_ = THashCollection::Hash(dest_);
    destIsTemp_ = dest_.starts_with(kTempPrefix);
}

TOpeData& TOpeData::AddInt(std::int32_t v) {
    auto p = std::make_unique<TParamInt>();
    p->SetInt(v);
    Operands.push_back(std::move(p));
    return *this;
}

TOpeData& TOpeData::AddFloat(Extended x) {
    auto p = std::make_unique<TParamFloat>();
    p->SetFloat(x);
    Operands.push_back(std::move(p));
    return *this;
}

TOpeData& TOpeData::AddBool(bool b) {
    auto p = std::make_unique<TParamFlag>();
    p->SetBool(b);
    Operands.push_back(std::move(p));
    return *this;
}

TOpeData& TOpeData::AddStr(std::string s) {
    auto p = std::make_unique<TParamStr>();
    p->SetStr(s);
    Operands.push_back(std::move(p));
    return *this;
}

TOpeData& TOpeData::AddVar(std::string name) {
    Operands.push_back(std::make_unique<TParamVar>(std::move(name)));
    return *this;
}

namespace {

// The operand kind written for an operand: constants by their kind,
// everything else as a variable name.
std::uint8_t OperandKind(const TCustomParam& p) {
    if (AsReference(&p)) return PT_NONE;
    return p.Kind();
}

}  // namespace

std::unique_ptr<TOpeData> TOpeData::Clone() const {
    auto copy = std::make_unique<TOpeData>(Ope, dest_, FuncIndex);
    for (const auto& operand : Operands) {
        if (auto* var = AsReference(operand.get())) {
            copy->AddVar(var->VarName());
            continue;
        }
        std::unique_ptr<TCustomParam> p = CreateParam(operand->Kind());
        p->Assign(*operand);
        copy->Operands.push_back(std::move(p));
    }
    return copy;
}

void TOpeData::SaveToStream(TStream& s) const {
    WriteByte(s, Ope);
    WriteString(s, dest_);
    WriteInt32(s, static_cast<std::int32_t>(Operands.size()));
    if (Ope == ocFunc) WriteByte(s, FuncIndex);
    for (const auto& operand : Operands) {
        const std::uint8_t kind = OperandKind(*operand);
        WriteByte(s, kind);
        switch (kind) {
            case PT_INT: WriteInt32(s, operand->AsInt()); break;
            case PT_FLOAT: WriteExtended(s, operand->AsFloat()); break;
            case PT_BOOL: WriteFlag(s, operand->AsBool()); break;
            case PT_STR: WriteString(s, operand->AsStr()); break;
            default: WriteString(s, static_cast<const TParamVar&>(*operand).VarName()); break;
        }
    }
}

void TOpeData::LoadFromStream(TStream& s) {
    Ope = ReadByte(s);
    SetDest(ReadString(s));
    const std::int32_t count = ReadInt32(s);
    // Each operand takes its kind byte and at least one byte of payload.
    CheckCount(s, count, 2);
    FuncIndex = Ope == ocFunc ? ReadByte(s) : 0;
    Operands.clear();
    Operands.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        switch (ReadByte(s)) {
            case PT_INT: AddInt(ReadInt32(s)); break;
            case PT_FLOAT: AddFloat(ReadExtended(s)); break;
            case PT_BOOL: AddBool(ReadFlag(s)); break;
            case PT_STR: AddStr(ReadString(s)); break;
            default: AddVar(ReadString(s)); break;
        }
    }
}

}  // namespace vesk
