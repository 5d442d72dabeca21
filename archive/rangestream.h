#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "common/stream.h"

namespace vesk {

// A read-only window of a source stream, from start S for length L. It owns
// its source and guards it with its own lock, so a decoder thread may read
// it while the main thread reads other files. Positions are relative to S
// and clamped into 0 .. L; writes do nothing.
class TRangeStream : public TStream {
public:
    // A length of 0 means up to the end of the source.
    TRangeStream(std::unique_ptr<TStream> source, std::int64_t start, std::int64_t length);

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override { return length_; }

    std::int64_t Start() const { return start_; }

private:
    std::mutex lock_;
    std::unique_ptr<TStream> source_;
    std::int64_t start_;
    std::int64_t length_;
    std::int64_t pos_ = 0;  // absolute in the source
};

}  // namespace vesk
