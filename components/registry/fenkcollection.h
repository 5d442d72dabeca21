#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/hash.h"
#include "gfx/dibx.h"

namespace vesk {

class TStream;
class TFenkCollection;

// One frame of a cached picture, ready to draw: the surface at the decode
// depth (its TransparentColor is the frame's key), an optional 8-bit mask,
// the display time and, for "?t" items, where the frame's content sits in
// the picture's canvas.
struct TFenkItemFrame {
    std::unique_ptr<TDIBX> Surface;
    std::unique_ptr<TDIBX> Mask;
    std::int32_t TransColor = -1;  // platform colour, -1 none
    std::int32_t Delay = 1;        // milliseconds, at least 1
    std::int32_t Left = 0, Top = 0;
};

// A decoded picture shared by every image that shows it, keyed by the file
// name and its suffixes: "?m" asks for a mask on every frame, "?t" keeps
// each frame's offset inside the canvas.
class TFenkItem final : public THashCollectionItem {
public:
    TFenkItem(std::string key, std::string file, bool masks, bool offsets);

    const std::string& FileName() const { return file_; }
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    const TFenkItemFrame& Frame(int i) const { return frames_.at(static_cast<std::size_t>(i)); }
    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t Duration() const { return duration_; }
    int Users() const { return users_; }

    // Decodes the file (or makes the black placeholder) at bitCount.
    void Load(std::int32_t idCode, int bitCount);
    void ReleaseSurfaces() { frames_.clear(); }

private:
    friend class TFenkCollection;
    void LoadPlaceholder(int bitCount);

    std::string file_;
    bool masks_, offsets_;
    std::vector<TFenkItemFrame> frames_;
    std::int32_t width_ = 0, height_ = 0, duration_ = 0;
    int users_ = 0;
};

// A counted use of a cached picture; the item goes when its last use ends.
class TFenkRef {
public:
    TFenkRef() = default;
    TFenkRef(TFenkCollection* owner, TFenkItem* item) : owner_(owner), item_(item) {}
    TFenkRef(TFenkRef&& other) noexcept : owner_(other.owner_), item_(other.item_) { other.item_ = nullptr; }
    TFenkRef& operator=(TFenkRef&& other) noexcept;
    TFenkRef(const TFenkRef&) = delete;
    TFenkRef& operator=(const TFenkRef&) = delete;
    ~TFenkRef() { Reset(); }

    void Reset();
    explicit operator bool() const { return item_ != nullptr; }
    const TFenkItem* operator->() const { return item_; }
    const TFenkItem& operator*() const { return *item_; }
    const TFenkItem* Get() const { return item_; }

private:
    TFenkCollection* owner_ = nullptr;
    TFenkItem* item_ = nullptr;
};

// The cache of decoded layered images. A picture is read through the
// virtual file manager only when the project lists it; any other name gives
// one black 8 x 8 frame keyed on black.
class TFenkCollection final : public THashCollection {
public:
    // The identification code of the project's pictures.
    std::int32_t IdCode = 0;

    // A use of the picture file with the given suffixes, loading it when no
    // image holds it yet.
    TFenkRef Acquire(const std::string& file, bool masks = false, bool offsets = false);
    static std::string Key(const std::string& file, bool masks, bool offsets);
    TFenkItem* FindItem(const std::string& key) const;

    // Surfaces are decoded at the screen's depth when the flag is set, at
    // 32 bits otherwise; changing either reloads every item.
    void SetScreenDepth(bool on);
    int BitCount() const { return bitCount_; }
    void SetBitCount(int bitCount);
    int DecodeBitCount() const { return screenDepth_ ? bitCount_ : 32; }

    void ReleaseSurfaces();
    void ReloadSurfaces();

    // The flag travels with a saved game as one byte (format versions
    // above 100).
    void SaveToStream(TStream& s) const;
    void LoadFromStream(TStream& s, int version);

private:
    friend class TFenkRef;
    void Release(TFenkItem* item);

    bool screenDepth_ = true;
    int bitCount_ = 32;
};

}  // namespace vesk
