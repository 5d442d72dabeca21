#include "script/command.h"

#include "common/error.h"
#include "common/stream_io.h"
#include "script/callman.h"
#include "values/param_collection.h"

namespace vesk {

namespace {

std::unique_ptr<TVeskParser> ReadOpList(TStream& s) {
    auto op = std::make_unique<TVeskParser>();
    op->LoadFromStream(s);
    return op;
}

void WriteOpList(TStream& s, const TOpList& op) {
    if (op) op->SaveToStream(s);
    else WriteInt32(s, 0);
}

class TFieldReader final : public TFieldVisitor {
public:
    TFieldReader(TStream& s, int format, const TPropertyMask& mask) : s_(s), format_(format), mask_(mask) {}
    void Op(const char*, TOpList& op, int minFormat) override {
        op = format_ >= minFormat ? ReadOpList(s_) : std::make_unique<TVeskParser>();
    }
    void Str(const char*, std::string& v) override { v = ReadString(s_); }
    void Int(const char*, std::int32_t& v, int minFormat) override {
        if (format_ >= minFormat) v = ReadInt32(s_);
    }
    void Byte(const char*, std::uint8_t& v) override { v = ReadByte(s_); }
    void OpArray(const char*, std::vector<TOpList>& ops) override {
        const std::int32_t n = ReadInt32(s_);
        CheckCount(s_, n, 4);  // every list holds at least its count
        ops.clear();
        ops.reserve(static_cast<std::size_t>(n));
        for (std::int32_t i = 0; i < n; ++i) ops.push_back(ReadOpList(s_));
    }
    void Props(TPropertySet& props) override {
        for (int p = 0; p < kPropertyCount; ++p) props[p] = MaskHas(mask_, p) ? ReadOpList(s_) : nullptr;
    }

private:
    TStream& s_;
    int format_;
    const TPropertyMask& mask_;
};

class TFieldWriter final : public TFieldVisitor {
public:
    TFieldWriter(TStream& s, int format, const TPropertyMask& mask) : s_(s), format_(format), mask_(mask) {}
    void Op(const char*, TOpList& op, int minFormat) override {
        if (format_ >= minFormat) WriteOpList(s_, op);
    }
    void Str(const char*, std::string& v) override { WriteString(s_, v); }
    void Int(const char*, std::int32_t& v, int minFormat) override {
        if (format_ >= minFormat) WriteInt32(s_, v);
    }
    void Byte(const char*, std::uint8_t& v) override { WriteByte(s_, v); }
    void OpArray(const char*, std::vector<TOpList>& ops) override {
        WriteInt32(s_, static_cast<std::int32_t>(ops.size()));
        for (const auto& op : ops) WriteOpList(s_, op);
    }
    void Props(TPropertySet& props) override {
        for (int p = 0; p < kPropertyCount; ++p)
            if (MaskHas(mask_, p)) WriteOpList(s_, props[p]);
    }

private:
    TStream& s_;
    int format_;
    const TPropertyMask& mask_;
};

}  // namespace

void TCommand::LoadFromStream(TStream& s, int format, const TPropertyMask& mask) {
    Indent = ReadInt32(s);
    Mute = ReadFlag(s);
    Continue = ReadFlag(s);
    Line = ReadInt32(s);
    TFieldReader reader(s, format, mask);
    Fields(reader);
}

void TCommand::SaveToStream(TStream& s, int format, const TPropertyMask& mask) {
    WriteInt32(s, Indent);
    WriteFlag(s, Mute);
    WriteFlag(s, Continue);
    WriteInt32(s, Line);
    TFieldWriter writer(s, format, mask);
    Fields(writer);
}

void TCommand::Execute(TCallMan& cm) { ++cm.CommandIndex; }

TCustomParam* EvalOp(const TOpList& op) {
    if (!op || op->Count() == 0) return nullptr;
    op->Evaluate();
    return op->Result();
}

bool OpTrue(const TOpList& op) {
    const TCustomParam* v = EvalOp(op);
    return v && v->AsBool();
}

std::int32_t OpInt(const TOpList& op, std::int32_t absent) {
    const TCustomParam* v = EvalOp(op);
    return v ? v->AsInt() : absent;
}

bool OpBool(const TOpList& op, bool absent) {
    const TCustomParam* v = EvalOp(op);
    return v ? v->AsBool() : absent;
}

std::string OpStr(const TOpList& op, const std::string& absent) {
    const TCustomParam* v = EvalOp(op);
    return v ? v->AsStr() : absent;
}

}  // namespace vesk
