#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

enum class SeekOrigin { Begin, Current, End };

// A seekable byte stream. Every stored format is read from and written to a
// stream; the virtual file manager is what turns names into streams.
class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to count bytes; returns how many were read.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position and returns the new one.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t pos) { Seek(pos, SeekOrigin::Begin); }
    std::int64_t Remaining();

    // Like Read and Write, but a short transfer raises EStreamError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    // Copies count bytes from source's position; count 0 copies the whole
    // source from its beginning. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream over a growable byte buffer it owns.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    void Clear();
    const std::uint8_t* Data() const { return data_.data(); }
    std::uint8_t* Data() { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    std::vector<std::uint8_t>& Bytes() { return data_; }
    std::string AsString() const { return std::string(data_.begin(), data_.end()); }

private:
    std::vector<std::uint8_t> data_;
    std::int64_t pos_ = 0;
};

// A read-only stream over bytes owned by someone else (resources compiled
// into the executable, memory-mapped data).
class TConstMemoryStream : public TStream {
public:
    TConstMemoryStream(const void* data, std::int64_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override { return size_; }

private:
    const std::uint8_t* data_;
    std::int64_t size_;
    std::int64_t pos_ = 0;
};

}  // namespace vesk
