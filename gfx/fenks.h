#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/dibsfc.h"

namespace vesk {

class TStream;
class TCustomDIBX;

// How the pixel data of a layered image is packed (byte 22 of the header).
constexpr int FK_ZLIB = 0;    // every data block is a zlib stream
constexpr int FK_STORED = 1;  // stored as is
constexpr int FK_JPEG = 2;    // colour data JPEG, alpha data zlib

// One layer of a frame: a bitmap of the frame's size and bit count with an
// optional alpha companion, drawn onto the frame image with its opacity and
// colour key.
struct TFenkLayer {
    std::string Name = "Layer";
    std::unique_ptr<TDIBSurface> Bitmap = std::make_unique<TDIBSurface>();
    bool Visible = true;
    std::int32_t TransValue = -1;  // native value or palette index; -1 none
    std::int32_t Opacity = 255;
    bool UseAlpha = false;  // with alpha data, the alpha replaces the key
};

// One animation frame: its layers and their composite.
class TFenkFrame {
public:
    std::vector<std::unique_ptr<TFenkLayer>> Layers;
    std::string Name;
    std::int32_t TransValue = 0;  // palette index (8 bits or less) or native value; -1 none
    std::int32_t Delay = 100;     // milliseconds
    TDIBSurface Image;            // the composite, with an optional alpha companion
    std::int32_t TransColor = -1; // TransValue as a platform colour, -1 none
    std::vector<TRect> DrawRects;
    std::vector<TRect> AuxRects;

    // Makes colour the frame's key: TransColor and the matching TransValue
    // of the image's format. -1 removes the key.
    void SetTransColor(std::int32_t colour);

    // Creates the alpha companion from the colour key when there is none.
    void BuildMask(bool withLayers);
    // Cuts the image to its visible content and returns the rectangle kept
    // (the whole image when nothing was cut).
    TRect Trim();
};

// Options of the writer beyond the compression and quality of SaveToStream.
struct TFenkSaveOptions {
    int Compression = FK_ZLIB;
    int Quality = 70;
    // Block de-duplication: blocks of this size that repeat an earlier block
    // of the same bitmap, or the same place of an earlier frame, are stored
    // as a reference. 0 stores whole rows.
    std::int32_t BlockWidth = 0;
    std::int32_t BlockHeight = 0;
    // Scrambled with the list's identification code; by default exactly
    // when the code is not 0.
    std::optional<bool> Scrambled;
};

// A layered image: an ordered list of frames, read from and written to the
// "Fenk" format, or loaded from PNG, BMP and DIB files.
class TFenkFrameList {
public:
    // Everything one load may allocate for its bitmaps, so that a small
    // damaged file cannot claim gigabytes through its sizes and counts.
    static constexpr std::int64_t kDefaultMemoryLimit = std::int64_t{1} << 30;
    // Every pixel one load may decode or compose, counted once per frame
    // and once per layer: a few hundred bytes can declare hundreds of empty
    // layers on a huge low-depth frame, each of which costs a full pass.
    static constexpr std::int64_t kDefaultPixelLimit = std::int64_t{1} << 32;

    explicit TFenkFrameList(std::int32_t idCode = 0) : IdCode(idCode) {}

    std::int32_t BackColor = 0;  // platform colour, the canvas of every frame
    int Version = 0;             // of the last file read; 0 without signature
    std::int32_t IdCode;         // identification code, 0 none
    bool FirstLayerOpaque = false;
    std::int64_t MemoryLimit = kDefaultMemoryLimit;
    std::int64_t PixelLimit = kDefaultPixelLimit;

    int Count() const { return static_cast<int>(frames_.size()); }
    TFenkFrame& operator[](int i) { return *frames_.at(static_cast<std::size_t>(i)); }
    const TFenkFrame& operator[](int i) const { return *frames_.at(static_cast<std::size_t>(i)); }
    void Clear() { frames_.clear(); }

    // Appends an empty frame: Delay 100, TransColor -1, TransValue 0.
    TFenkFrame& AddFrame();
    void AddFrame(std::unique_ptr<TFenkFrame> frame) { frames_.push_back(std::move(frame)); }

    void LoadFromStream(TStream& stream, bool firstFrameOnly, bool keepLayers);
    // Chooses the reader by the name's lower-cased extension: ".fnk", ".png",
    // ".bmp" and ".dib"; any other extension leaves the list empty.
    void LoadFromNamedStream(const std::string& name, TStream& stream, bool firstFrameOnly, bool keepLayers);
    void LoadFromFile(const std::string& fileName, bool firstFrameOnly, bool keepLayers);

    void SaveToFile(const std::string& fileName);  // zlib, JPEG quality 70
    void SaveToStream(TStream& stream, int compression, int quality);
    void SaveToStream(TStream& stream, const TFenkSaveOptions& options);

    void BuildMasks(bool withLayers);

    // Copies frame i into a surface at the surface's bit count, with its
    // draw lists; the caller sets the surface's colour key from TransColor.
    void CopyToSurface(int frame, TCustomDIBX& surface) const;
    // Makes mask an 8-bit copy of frame i's alpha companion, when it has one.
    void CopyMaskTo(int frame, TCustomDIBX& mask) const;

private:
    std::vector<std::unique_ptr<TFenkFrame>> frames_;
};

}  // namespace vesk
