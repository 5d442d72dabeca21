#include "common/stream.h"

#include <algorithm>
#include <cstring>

#include "common/error.h"

namespace vesk {

std::int64_t TStream::Size() {
    const std::int64_t pos = Position();
    const std::int64_t end = Seek(0, SeekOrigin::End);
    SetPosition(pos);
    return end;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("stream size cannot be changed"); }

std::int64_t TStream::Remaining() { return std::max<std::int64_t>(0, Size() - Position()); }

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count < 0 || Read(buffer, count) != count) throw EStreamError("stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count < 0 || Write(buffer, count) != count) throw EStreamError("stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 20)));
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

namespace {

std::int64_t SeekWithin(std::int64_t pos, std::int64_t size, std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current) base = pos;
    if (origin == SeekOrigin::End) base = size;
    const std::int64_t target = base + offset;
    return target < 0 ? 0 : target;
}

}  // namespace

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    const std::int64_t n = std::clamp<std::int64_t>(Size() - pos_, 0, std::max<std::int64_t>(count, 0));
    if (n > 0) std::memcpy(buffer, data_.data() + pos_, static_cast<std::size_t>(n));
    pos_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const std::int64_t end = pos_ + count;
    if (end > Size()) data_.resize(static_cast<std::size_t>(end));
    std::memcpy(data_.data() + pos_, buffer, static_cast<std::size_t>(count));
    pos_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    pos_ = SeekWithin(pos_, Size(), offset, origin);
    return pos_;
}

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    pos_ = std::min(pos_, Size());
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

std::int64_t TConstMemoryStream::Read(void* buffer, std::int64_t count) {
    const std::int64_t n = std::clamp<std::int64_t>(size_ - pos_, 0, std::max<std::int64_t>(count, 0));
    if (n > 0) std::memcpy(buffer, data_ + pos_, static_cast<std::size_t>(n));
    pos_ += n;
    return n;
}

std::int64_t TConstMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    pos_ = SeekWithin(pos_, size_, offset, origin);
    return pos_;
}

}  // namespace vesk
