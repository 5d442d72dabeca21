#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"

namespace vesk {

// A logical stream made of a file and its volume files: game.dat, then
// game.001, game.002, ... Each piece but the last holds exactly one volume
// (1 GiB), so a game larger than what old media and file systems take can be
// split without changing any offset stored in its archive.
class TBigFileStream : public TStream {
public:
    static constexpr std::int64_t kVolumeSize = 0x40000000;

    enum class Mode { Read, Create };

    // Read opens the file and then its volumes in order, while each piece so
    // far is full; raises EStreamError when the file itself cannot be opened.
    // Create first deletes every existing volume of that name, then creates
    // the file; new volumes are created as writes cross each boundary.
    // volumeSize is a parameter so tests need not write a gigabyte.
    TBigFileStream(const std::string& path, Mode mode, std::int64_t volumeSize = kVolumeSize);
    ~TBigFileStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override;

    const std::string& Path() const { return path_; }
    int VolumeCount() const { return static_cast<int>(pieces_.size()); }

    // The name of volume n (1, 2, ...) of a file: its extension replaced by
    // "." and the three-digit number.
    static std::string VolumeName(const std::string& path, int n);

private:
    TStream& Piece(int index);  // opens (when creating, creates) the piece

    std::string path_;
    Mode mode_;
    std::int64_t volumeSize_;
    std::vector<std::unique_ptr<TStream>> pieces_;
    std::int64_t pos_ = 0;
};

}  // namespace vesk
