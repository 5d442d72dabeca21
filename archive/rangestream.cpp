#include "archive/rangestream.h"

#include <algorithm>

namespace vesk {

TRangeStream::TRangeStream(std::unique_ptr<TStream> source, std::int64_t start, std::int64_t length)
    : source_(std::move(source)), start_(std::max<std::int64_t>(start, 0)), length_(length) {
    const std::int64_t end = source_->Size();
    start_ = std::min(start_, end);
    if (length_ <= 0 || length_ > end - start_) length_ = end - start_;
    pos_ = start_;
}

std::int64_t TRangeStream::Read(void* buffer, std::int64_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::int64_t n = std::clamp<std::int64_t>(start_ + length_ - pos_, 0, std::max<std::int64_t>(count, 0));
    if (n == 0) return 0;
    source_->SetPosition(pos_);
    const std::int64_t got = source_->Read(buffer, n);
    pos_ += got;
    return got;
}

std::int64_t TRangeStream::Seek(std::int64_t offset, SeekOrigin origin) {
    std::lock_guard<std::mutex> guard(lock_);
    std::int64_t target = 0;
    switch (origin) {
        case SeekOrigin::Begin: target = start_ + offset; break;
        case SeekOrigin::Current: target = pos_ + offset; break;
        case SeekOrigin::End: target = start_ + length_ + offset; break;
    }
    pos_ = std::clamp(target, start_, start_ + length_);
    return pos_ - start_;
}

}  // namespace vesk
