#include "archive/bigstreams.h"

#include <algorithm>
#include <cstdio>

#include "common/cp932.h"
#include "common/error.h"
#include "platform/files.h"

namespace vesk {

namespace {

constexpr int kMaxVolumes = 999;

}  // namespace

std::string TBigFileStream::VolumeName(const std::string& path, int n) {
    char number[8];
    std::snprintf(number, sizeof number, ".%03d", n);
    return platform::ChangeExtension(path, number);
}

TBigFileStream::TBigFileStream(const std::string& path, Mode mode, std::int64_t volumeSize)
    : path_(path), mode_(mode), volumeSize_(volumeSize > 0 ? volumeSize : kVolumeSize) {
    if (mode == Mode::Read) {
        pieces_.push_back(platform::OpenFile(path, platform::FileMode::Read));
        // A piece that is not full is the last one; volumes left beside a
        // smaller file belong to some older copy and are not read.
        while (static_cast<int>(pieces_.size()) <= kMaxVolumes && pieces_.back()->Size() == volumeSize_) {
            const std::string next = VolumeName(path, static_cast<int>(pieces_.size()));
            if (!platform::FileExists(next)) break;
            pieces_.push_back(platform::OpenFile(next, platform::FileMode::Read));
        }
    } else {
        for (int n = 1; n <= kMaxVolumes; ++n) platform::DeleteFile(VolumeName(path, n));
        pieces_.push_back(platform::OpenFile(path, platform::FileMode::Create));
    }
}

TBigFileStream::~TBigFileStream() = default;

TStream& TBigFileStream::Piece(int index) {
    while (static_cast<int>(pieces_.size()) <= index) {
        const int n = static_cast<int>(pieces_.size());
        if (n > kMaxVolumes) throw EStreamError(Utf8ToSjis(path_) + ": too many volumes");
        pieces_.push_back(platform::OpenFile(VolumeName(path_, n), platform::FileMode::Create));
    }
    return *pieces_[static_cast<std::size_t>(index)];
}

std::int64_t TBigFileStream::Size() {
    if (pieces_.empty()) return 0;
    return volumeSize_ * static_cast<std::int64_t>(pieces_.size() - 1) + pieces_.back()->Size();
}

std::int64_t TBigFileStream::Read(void* buffer, std::int64_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const std::int64_t index = pos_ / volumeSize_;
        if (index >= static_cast<std::int64_t>(pieces_.size())) break;
        TStream& piece = *pieces_[static_cast<std::size_t>(index)];
        const std::int64_t within = pos_ % volumeSize_;
        const std::int64_t want = std::min(count - done, volumeSize_ - within);
        piece.SetPosition(within);
        const std::int64_t got = piece.Read(out + done, want);
        done += got;
        pos_ += got;
        if (got < want) break;
    }
    return done;
}

std::int64_t TBigFileStream::Write(const void* buffer, std::int64_t count) {
    if (mode_ != Mode::Create) return 0;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        const int index = static_cast<int>(pos_ / volumeSize_);
        // Every piece before the one written to must be full, so the fixed
        // volume size keeps mapping positions.
        for (int i = 0; i < index; ++i) {
            TStream& before = Piece(i);
            if (before.Size() < volumeSize_) before.SetSize(volumeSize_);
        }
        TStream& piece = Piece(index);
        const std::int64_t within = pos_ % volumeSize_;
        const std::int64_t want = std::min(count - done, volumeSize_ - within);
        piece.SetPosition(within);
        const std::int64_t put = piece.Write(in + done, want);
        done += put;
        pos_ += put;
        if (put < want) break;
    }
    return done;
}

std::int64_t TBigFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current) base = pos_;
    if (origin == SeekOrigin::End) base = Size();
    pos_ = std::max<std::int64_t>(0, base + offset);
    return pos_;
}

}  // namespace vesk
