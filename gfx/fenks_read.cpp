// Reading the "Fenk" layered image format, every version from 0 (no
// signature) to 106.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/rands.h"
#include "common/stream.h"
#include "common/stream_io.h"
#include "gfx/dibsfc.h"
#include "gfx/fenkblocks.h"
#include "gfx/fenkcompose.h"
#include "gfx/fenkjpeg.h"
#include "gfx/fenks.h"
#include "gfx/fenkzlib.h"

namespace vesk {

namespace {

// Smallest possible stored frame and layer, to check counts against what is
// left before anything is allocated for them.
constexpr std::int64_t kMinFrameBytes = 4 + 4 + 4 + 1 + 4 + 4 + 4 + 4 + 4;
constexpr std::int64_t kMinLayerBytes = 4 + 4 + 1 + 4 + 4 + 4 + 4;

struct TFenkHeader {
    int version = 0;
    std::int32_t frameCount = 0;
    bool scrambled = false;
    int compression = FK_ZLIB;
    std::int32_t backColor = 0;
    std::int32_t blockWidth = 0;
    std::int32_t blockHeight = 0;
    bool firstLayerOpaque = false;
};

// Bytes of one stored data block: a view into the stream's own memory when
// it has it, else a copy.
class TDataBytes {
public:
    TDataBytes(TStream& s, std::int32_t size) {
        if (size < 0) throw EVeskError("negative data size in layered image");
        CheckCount(s, size, 1);
        n_ = static_cast<std::size_t>(size);
        if (auto* mem = dynamic_cast<TMemoryStream*>(&s)) {
            p_ = mem->Data() + mem->Position();
            s.Seek(size, SeekOrigin::Current);
        } else {
            copy_.resize(n_);
            if (n_ > 0) s.ReadBuffer(copy_.data(), size);
            p_ = copy_.data();
        }
    }
    const std::uint8_t* data() const { return p_; }
    std::size_t size() const { return n_; }

private:
    const std::uint8_t* p_ = nullptr;
    std::size_t n_ = 0;
    std::vector<std::uint8_t> copy_;
};

class TFenkReader {
public:
    TFenkReader(TFenkFrameList& list, TStream& s, bool firstFrameOnly, bool keepLayers)
        : list_(list), s_(s), firstFrameOnly_(firstFrameOnly), keepLayers_(keepLayers) {}

    void Run() {
        ReadSignature();
        ReadHeader();
        list_.BackColor = h_.backColor;
        list_.Version = h_.version;
        list_.FirstLayerOpaque = h_.firstLayerOpaque;
        const int count = firstFrameOnly_ && h_.frameCount > 1 ? 1 : h_.frameCount;
        for (int i = 0; i < count; ++i) {
            auto frame = std::make_unique<TFenkFrame>();
            TFenkFrame& f = *frame;
            list_.AddFrame(std::move(frame));
            ReadFrame(i, f);
        }
        if (!keepLayers_) {
            for (int i = 0; i < list_.Count(); ++i) list_[i].Layers.clear();
        }
    }

private:
    bool Blocks() const { return h_.version >= 103 && h_.blockWidth > 0 && h_.blockHeight > 0; }

    // Layers are needed after their frame only when kept, or when later
    // frames may copy blocks from them.
    bool LayersOutliveFrame() const { return keepLayers_ || Blocks(); }

    void Charge(std::int64_t bytes) {
        used_ += bytes;
        if (used_ > list_.MemoryLimit) throw EVeskError("layered image needs more memory than allowed");
    }

    void ChargePixels(const TDIBSurface& image) {
        pixels_ += std::int64_t{image.Width()} * image.Height();
        if (pixels_ > list_.PixelLimit) throw EVeskError("layered image has more pixels than allowed");
    }

    void NewBitmap(TDIBSurface& b, std::int32_t w, std::int32_t h, int bits, bool zero) {
        Charge(TDIBSurface::BytesFor(w, h, bits));
        if (zero) {
            b.SetSize(w, h, bits);
        } else {
            b.SetSizeForOverwrite(w, h, bits);
        }
    }

    void ReadSignature() {
        const std::int64_t start = s_.Position();
        char sig[7];
        const std::int64_t got = s_.Read(sig, sizeof sig);
        if (got == 7 && std::memcmp(sig, "Fenk", 4) == 0) {
            int v = 0;
            for (int i = 4; i < 7; ++i) {
                if (sig[i] < '0' || sig[i] > '9') throw EVeskError("unknown layered image version");
                v = v * 10 + (sig[i] - '0');
            }
            h_.version = v;
        } else {
            // Data without a signature is the oldest format, from its first byte.
            s_.SetPosition(start);
            h_.version = 0;
        }
    }

    void ReadHeader() {
        if (h_.version >= 103) {
            const std::int32_t size = ReadInt32(s_);
            CheckCount(s_, size, 1);
            std::uint8_t b[40] = {};
            const std::int32_t head = std::min<std::int32_t>(size, 40);
            s_.ReadBuffer(b, head);
            s_.Seek(size - head, SeekOrigin::Current);
            auto i32 = [&](int at) {
                std::int32_t v;
                std::memcpy(&v, b + at, 4);
                return v;
            };
            h_.frameCount = i32(16);
            h_.scrambled = b[21] != 0;
            h_.compression = b[22];
            h_.backColor = i32(24);
            h_.blockWidth = i32(28);
            h_.blockHeight = i32(32);
            h_.firstLayerOpaque = h_.version >= 105 && b[36] != 0;
        } else {
            h_.frameCount = ReadInt32(s_);
            ReadByte(s_);
            if (h_.version >= 102) h_.backColor = ReadInt32(s_);
        }
        if (h_.compression > FK_JPEG) throw EVeskError("unknown compression in layered image");
        CheckCount(s_, h_.frameCount, kMinFrameBytes);
    }

    void ReadFrame(int index, TFenkFrame& f) {
        f.Name = ReadString(s_);
        f.TransValue = ReadInt32(s_);
        f.Delay = ReadInt32(s_);
        ReadByte(s_);
        ReadInt32(s_);
        const std::int32_t layerCount = ReadInt32(s_);
        const std::int32_t w = ReadInt32(s_);
        const std::int32_t h = ReadInt32(s_);
        const std::int32_t bits = ReadInt32(s_);
        if (!TDIBSurface::ValidBitCount(bits)) throw EVeskError("unsupported bit count " + std::to_string(bits));
        if (w <= 0 || h <= 0 || w > TDIBSurface::kMaxSide || h > TDIBSurface::kMaxSide)
            throw EVeskError("invalid image size " + std::to_string(w) + "x" + std::to_string(h));
        // Every path below writes each pixel of a 32-bit image (which has no
        // row padding); other images start zeroed so their padding is too.
        NewBitmap(f.Image, w, h, bits, bits != 32);
        ChargePixels(f.Image);
        if (bits <= 8) {
            const int n = 1 << bits;
            CheckCount(s_, n, 4);
            for (int i = 0; i < n; ++i) f.Image.SetPaletteEntry(i, ReadUInt32(s_));
        }
        f.TransColor = f.TransValue >= 0 ? f.Image.ColorOf(static_cast<std::uint32_t>(f.TransValue)) : -1;
        CheckCount(s_, layerCount, kMinLayerBytes);

        const std::uint32_t canvas = f.Image.NativeOf(list_.BackColor);
        bool painted = false;
        bool firstVisible = true;
        for (int i = 0; i < layerCount; ++i) {
            ChargePixels(f.Image);
            auto layer = std::make_unique<TFenkLayer>();
            ReadLayerHead(*layer);
            // A layer that will be copied over the whole image and dropped
            // right after is decoded straight into the image. Alpha data
            // read later can only make such a layer more of a copy (its key
            // goes), and an alpha-drawn layer is excluded up front.
            const bool direct = !LayersOutliveFrame() && layer->Visible && (i == 0 || !layer->UseAlpha) &&
                                (layer->TransValue < 0 || (firstVisible && list_.FirstLayerOpaque)) &&
                                layer->Opacity >= 255;
            ReadLayerData(index, f, *layer, direct, firstVisible);
            if (direct) {
                painted = true;
                firstVisible = false;
                continue;
            }
            if (layer->Visible) {
                const bool consume = !LayersOutliveFrame();
                if (!painted && !FenkLayerCoversImage(*layer, i, firstVisible, list_.FirstLayerOpaque))
                    f.Image.Fill(canvas);
                painted = true;
                ComposeFenkLayer(f.Image, *layer, i, firstVisible, list_.FirstLayerOpaque, consume);
                firstVisible = false;
            }
            if (LayersOutliveFrame()) {
                f.Layers.push_back(std::move(layer));
            } else {
                used_ -= LayerBytes(*layer);
            }
        }
        if (!painted) f.Image.Fill(canvas);
        if (h_.version >= 104) {
            ReadRects(f.DrawRects);
            ReadRects(f.AuxRects);
        }
    }

    static std::int64_t LayerBytes(const TFenkLayer& layer) {
        const TDIBSurface& b = *layer.Bitmap;
        std::int64_t n = TDIBSurface::BytesFor(b.Width(), b.Height(), b.BitCount());
        if (b.HasAlpha()) n += TDIBSurface::BytesFor(b.Width(), b.Height(), 8);
        return std::max<std::int64_t>(n, 0);
    }

    void ReadRects(std::vector<TRect>& rects) {
        const std::int32_t n = ReadInt32(s_);
        if (n <= 0) return;
        CheckCount(s_, n, 16);
        rects.resize(static_cast<std::size_t>(n));
        for (TRect& r : rects) {
            r.Left = ReadInt32(s_);
            r.Top = ReadInt32(s_);
            r.Right = ReadInt32(s_);
            r.Bottom = ReadInt32(s_);
        }
    }

    void ReadLayerHead(TFenkLayer& layer) {
        ReadInt32(s_);
        ReadInt32(s_);
        layer.Visible = ReadFlag(s_);
        layer.TransValue = ReadInt32(s_);
        layer.Opacity = ReadInt32(s_);
        layer.UseAlpha = h_.version > 100 ? ReadFlag(s_) : false;
        layer.Name = ReadString(s_);
    }

    // Colour data into the layer's bitmap, or with direct into the frame
    // image itself; alpha data into the layer's companion, or with direct
    // into the image's when this first visible layer gives the image alpha.
    void ReadLayerData(int frameIndex, TFenkFrame& f, TFenkLayer& layer, bool direct, bool firstVisible) {
        TDIBSurface& bitmap = direct ? f.Image : *layer.Bitmap;
        const std::int32_t colourSize = ReadInt32(s_);
        {
            TDataBytes colour(s_, colourSize);
            if (!direct) {
                NewBitmap(bitmap, f.Image.Width(), f.Image.Height(), f.Image.BitCount(),
                          colour.size() == 0 || Blocks() || h_.compression == FK_JPEG);
                bitmap.CopyPalette(f.Image);
            } else if (colour.size() == 0) {
                std::memset(bitmap.Bits(), 0, bitmap.ByteSize());  // an absent bitmap is all zero
            }
            if (colour.size() > 0) Unpack(colour, bitmap, false, frameIndex);
        }
        if (h_.version <= 99) return;
        const std::int32_t alphaSize = ReadInt32(s_);
        if (alphaSize <= 0) return;
        TDataBytes alphaData(s_, alphaSize);
        const std::int64_t alphaBytes = TDIBSurface::BytesFor(f.Image.Width(), f.Image.Height(), 8);
        Charge(alphaBytes);
        auto alpha = std::make_unique<TDIBSurface>();
        alpha->SetSize(f.Image.Width(), f.Image.Height(), 8);
        alpha->SetGreyPalette();
        Unpack(alphaData, *alpha, true, frameIndex);
        if (layer.UseAlpha) layer.TransValue = -1;
        if (!direct) {
            bitmap.SetAlpha(std::move(alpha));
        } else if (firstVisible && layer.UseAlpha) {
            f.Image.SetAlpha(std::move(alpha));
        } else {
            used_ -= alphaBytes;
        }
    }

    std::vector<int> RowOrder(int rows) const {
        std::vector<int> order(static_cast<std::size_t>(rows));
        TQsRandom r(h_.scrambled ? list_.IdCode : 0);
        r.Reset(rows);
        for (int& row : order) row = r.Next();
        return order;
    }

    void Unpack(const TDataBytes& data, TDIBSurface& target, bool alpha, int frameIndex) {
        if (h_.compression == FK_JPEG && !alpha) {
            DecodeJpegInto(data.data(), data.size(), target);
            return;
        }
        if (Blocks()) {
            UnpackBlocks(data, target, alpha, frameIndex);
            return;
        }
        const int rows = target.Height();
        const auto rowBytes = static_cast<std::size_t>(target.RowBytes());
        std::vector<int> order;
        if (h_.scrambled) order = RowOrder(rows);
        auto rowAt = [&](int i) { return target.ScanLine(h_.scrambled ? order[static_cast<std::size_t>(i)] : i); };
        if (h_.compression == FK_STORED) {
            if (data.size() / rowBytes < static_cast<std::size_t>(rows)) throw EVeskError("image data ends early");
            for (int i = 0; i < rows; ++i) std::memcpy(rowAt(i), data.data() + i * rowBytes, rowBytes);
        } else if (!h_.scrambled && InflateWhole(data.data(), data.size(), target.Bits(), target.ByteSize())) {
            // The rows came top row first into a store that keeps the
            // bottom row first: turn them over in place.
            std::vector<std::uint8_t> swap(rowBytes);
            for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
                std::uint8_t* a = target.Bits() + static_cast<std::size_t>(top) * rowBytes;
                std::uint8_t* b = target.Bits() + static_cast<std::size_t>(bottom) * rowBytes;
                std::memcpy(swap.data(), a, rowBytes);
                std::memcpy(a, b, rowBytes);
                std::memcpy(b, swap.data(), rowBytes);
            }
        } else {
            InflateRows(data.data(), data.size(), rowBytes, rows, rowAt);
        }
    }

    void UnpackBlocks(const TDataBytes& data, TDIBSurface& target, bool alpha, int frameIndex) {
        const TFenkBlockGrid grid(target.Width(), target.Height(), h_.blockWidth, h_.blockHeight,
                                  target.StorageBitCount());
        const std::uint8_t* bytes = data.data();
        std::size_t size = data.size();
        std::vector<std::uint8_t> unpacked;
        if (h_.compression != FK_STORED) {
            const std::size_t bound =
                static_cast<std::size_t>(std::min<std::int64_t>(grid.MaxDataBytes(), static_cast<std::int64_t>(InflateBound(size))));
            Charge(static_cast<std::int64_t>(bound));
            unpacked.resize(bound);
            size = InflateInto(bytes, size, unpacked.data(), bound);
            used_ -= static_cast<std::int64_t>(bound);
            bytes = unpacked.data();
        }
        const TFenkBlockSource source = [&](std::int32_t frame, std::int32_t layer) -> const TDIBSurface* {
            if (frame < 0 || frame >= frameIndex) return nullptr;
            const TFenkFrame& f = list_[frame];
            if (layer < 0 || static_cast<std::size_t>(layer) >= f.Layers.size()) return nullptr;
            const TDIBSurface* b = f.Layers[static_cast<std::size_t>(layer)]->Bitmap.get();
            return alpha ? b->Alpha() : b;
        };
        DecodeFenkBlocks(grid, bytes, size, h_.scrambled ? list_.IdCode : 0, h_.scrambled, target, source);
    }

    TFenkFrameList& list_;
    TStream& s_;
    bool firstFrameOnly_;
    bool keepLayers_;
    TFenkHeader h_;
    std::int64_t used_ = 0;
    std::int64_t pixels_ = 0;
};

}  // namespace

void TFenkFrameList::LoadFromStream(TStream& stream, bool firstFrameOnly, bool keepLayers) {
    Clear();
    Version = 0;
    try {
        TFenkReader(*this, stream, firstFrameOnly, keepLayers).Run();
    } catch (...) {
        // A damaged file leaves no half-read frames behind.
        Clear();
        throw;
    }
}

}  // namespace vesk
