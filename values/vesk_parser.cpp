#include "values/vesk_parser.h"

#include "common/stream_io.h"

namespace vesk {

TOpeData& TVeskParser::Add(std::unique_ptr<TOpeData> op) {
    ops_.push_back(std::move(op));
    return *ops_.back();
}

TOpeData& TVeskParser::Add(std::uint8_t ope, std::string dest, std::uint8_t funcIndex) {
    return Add(std::make_unique<TOpeData>(ope, std::move(dest), funcIndex));
}

void TVeskParser::Clear() {
    ops_.clear();
    result_.reset();
}

void TVeskParser::LoadFromStream(TStream& s) {
    Clear();
    const std::int32_t count = ReadInt32(s);
    // Code byte, destination length and operand count at the least.
    CheckCount(s, count, 9);
    std::vector<std::unique_ptr<TOpeData>> ops;
    ops.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        auto op = std::make_unique<TOpeData>();
        op->LoadFromStream(s);
        ops.push_back(std::move(op));
    }
    ops_ = std::move(ops);
}

void TVeskParser::SaveToStream(TStream& s) const {
    WriteInt32(s, Count());
    for (const auto& op : ops_) op->SaveToStream(s);
}

void TVeskParser::Assign(const TVeskParser& other) {
    if (&other == this) return;
    std::vector<std::unique_ptr<TOpeData>> ops;
    ops.reserve(other.ops_.size());
    for (const auto& op : other.ops_) ops.push_back(op->Clone());
    ops_ = std::move(ops);
}

}  // namespace vesk
