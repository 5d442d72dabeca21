#include "script/status_record.h"

#include <cstring>

#include "common/stream_io.h"
#include "components/registry/readlist.h"
#include "values/param_collection.h"

namespace vesk {

std::int32_t ReadStatusHead(TStream& s) {
    const std::int64_t start = s.Position();
    char head[9] = {};
    if (s.Read(head, 9) != 9 || std::memcmp(head, "Status", 6) != 0) {
        s.SetPosition(start);
        return 0;
    }
    std::int32_t version = 0;
    for (int i = 6; i < 9; ++i) {
        if (head[i] < '0' || head[i] > '9') return 0;
        version = version * 10 + (head[i] - '0');
    }
    return version;
}

void TStatusTail::Keep(TStream& s, std::int32_t version) {
    kept_ = version == kStatusVersion;
    bytes_.clear();
    if (!kept_) return;
    const std::int64_t left = s.Size() - s.Position();
    bytes_.resize(static_cast<std::size_t>(left > 0 ? left : 0));
    if (s.Read(bytes_.data(), static_cast<std::int64_t>(bytes_.size())) != static_cast<std::int64_t>(bytes_.size())) {
        bytes_.clear();
        kept_ = false;
    }
}

void TStatusTail::Write(TStream& s) const {
    if (kept_) {
        s.Write(bytes_.data(), static_cast<std::int64_t>(bytes_.size()));
        return;
    }
    // Layered-image collection: its decode-at-screen-depth flag, off.
    WriteFlag(s, false);
    // Status tables: the table manager's version and no tables.
    WriteInt32(s, 100);
    WriteInt32(s, 0);
}

void ReadStatusRecord(TStream& s, TParamCollection& vars, TVeskReadList& marks, TStatusTail& tail) {
    const std::int32_t version = ReadStatusHead(s);
    vars.LoadStatusSection(s);
    marks.LoadFromStream(s, version);
    tail.Keep(s, version);
}

void WriteStatusRecord(TStream& s, const TParamCollection& vars, const TVeskReadList& marks,
                       const TStatusTail& tail) {
    const std::string head = "Status" + std::to_string(kStatusVersion);
    s.Write(head.data(), static_cast<std::int64_t>(head.size()));
    vars.SaveStatusSection(s);
    marks.SaveToStream(s);
    tail.Write(s);
}

}  // namespace vesk
