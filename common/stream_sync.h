#pragma once

#include <cstdint>
#include <string>

#include "common/stream_io.h"

namespace vesk {

// One pass over a stored state in either direction, so a record's reader
// and writer are the same function and cannot drift apart. Reading follows
// the version the record was written with; writing always produces the
// newest form, so every field gated by a version is written.
class TStreamSync {
public:
    static TStreamSync Reader(TStream& s, int version) { return TStreamSync(s, false, version); }
    static TStreamSync Writer(TStream& s) { return TStreamSync(s, true, 0); }

    bool Writing() const { return writing_; }
    int Version() const { return version_; }
    // Whether a field that versions from v on is in the record.
    bool Since(int v) const { return writing_ || version_ >= v; }

    void Int(std::int32_t& v) {
        if (writing_) WriteInt32(s_, v);
        else v = ReadInt32(s_);
    }
    void Flag(bool& v) {
        if (writing_) WriteFlag(s_, v);
        else v = ReadFlag(s_);
    }
    void Byte(std::uint8_t& v) {
        if (writing_) WriteByte(s_, v);
        else v = ReadByte(s_);
    }
    void String(std::string& v) {
        if (writing_) WriteString(s_, v);
        else v = ReadString(s_);
    }
    // A block of fixed size, stored as it is.
    void Bytes(void* data, std::int64_t size) {
        if (writing_) s_.WriteBuffer(data, size);
        else s_.ReadBuffer(data, size);
    }
    TStream& Stream() { return s_; }

private:
    TStreamSync(TStream& s, bool writing, int version) : s_(s), writing_(writing), version_(version) {}

    TStream& s_;
    bool writing_;
    int version_;
};

}  // namespace vesk
