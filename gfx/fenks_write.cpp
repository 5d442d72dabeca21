// Writing the "Fenk" layered image format, always as version 106.

#include <cstring>
#include <vector>

#include "common/cp932.h"
#include "common/error.h"
#include "common/rands.h"
#include "common/stream.h"
#include "common/stream_io.h"
#include "gfx/dibsfc.h"
#include "gfx/fenkblocks.h"
#include "gfx/fenkjpeg.h"
#include "gfx/fenks.h"
#include "gfx/fenkzlib.h"

namespace vesk {

namespace {

constexpr int kWriteVersion = 106;

class TFenkWriter {
public:
    TFenkWriter(const TFenkFrameList& list, TStream& s, const TFenkSaveOptions& o)
        : list_(list), s_(s), blocks_(o.BlockWidth > 0 && o.BlockHeight > 0), index_(o.BlockWidth, o.BlockHeight) {
        scrambled_ = o.Scrambled.value_or(list.IdCode != 0);
        if (scrambled_ && list.IdCode == 0) throw EVeskError(Sj("識別コードを設定してください"));
        if (o.Compression < FK_ZLIB || o.Compression > FK_JPEG) throw EVeskError("unknown compression");
        // Scrambled data is stored: compressing it would gain nothing and
        // the permutation is the only protection of the pixels.
        compression_ = scrambled_ ? FK_STORED : o.Compression;
        quality_ = o.Quality < 0 ? 0 : o.Quality > 100 ? 100 : o.Quality;
        if (blocks_) {
            blockWidth_ = o.BlockWidth;
            blockHeight_ = o.BlockHeight;
        }
    }

    void Run() {
        for (int i = 0; i < list_.Count(); ++i) {
            if (list_[i].Image.IsEmpty()) throw EVeskError("cannot write a frame without an image");
        }
        s_.WriteBuffer("Fenk106", 7);
        WriteInt32(s_, 40);
        std::uint8_t h[40] = {};
        auto put = [&](int at, std::int32_t v) { std::memcpy(h + at, &v, 4); };
        put(0, kWriteVersion);
        if (list_.Count() > 0) {
            put(4, list_[0].Image.Width());
            put(8, list_[0].Image.Height());
            put(12, list_[0].Image.BitCount());
        }
        put(16, list_.Count());
        h[20] = 1;
        h[21] = scrambled_ ? 1 : 0;
        h[22] = static_cast<std::uint8_t>(compression_);
        put(24, list_.BackColor);
        put(28, blockWidth_);
        put(32, blockHeight_);
        h[36] = list_.FirstLayerOpaque ? 1 : 0;
        h[37] = static_cast<std::uint8_t>(quality_);
        s_.WriteBuffer(h, sizeof h);
        for (int i = 0; i < list_.Count(); ++i) WriteFrame(i, list_[i]);
    }

private:
    void WriteFrame(int index, const TFenkFrame& f) {
        const TDIBSurface& image = f.Image;
        WriteString(s_, f.Name);
        // The reader takes this as a native value (a palette index on
        // paletted images), so the key is written in that form; a frame
        // without a key colour, such as a screen capture, writes -1.
        WriteInt32(s_, f.TransColor < 0 ? -1 : f.TransValue);
        WriteInt32(s_, f.Delay);
        WriteByte(s_, 0);
        WriteInt32(s_, 0);
        WriteInt32(s_, f.Layers.empty() ? 1 : static_cast<std::int32_t>(f.Layers.size()));
        WriteInt32(s_, image.Width());
        WriteInt32(s_, image.Height());
        WriteInt32(s_, image.BitCount());
        for (int i = 0; i < image.PaletteSize(); ++i) WriteUInt32(s_, image.PaletteEntry(i));
        if (f.Layers.empty()) {
            // A frame holds only its composite: it is written as one opaque
            // layer, with the image's alpha when it has one.
            TFenkLayer whole;
            whole.UseAlpha = image.HasAlpha();
            WriteLayer(index, 0, whole, image);
        } else {
            for (std::size_t i = 0; i < f.Layers.size(); ++i) {
                const TFenkLayer& layer = *f.Layers[i];
                const TDIBSurface& b = *layer.Bitmap;
                if (b.Width() != image.Width() || b.Height() != image.Height() || b.BitCount() != image.BitCount())
                    throw EVeskError("layer does not match its frame");
                WriteLayer(index, static_cast<int>(i), layer, b);
            }
        }
        WriteRects(f.DrawRects);
        WriteRects(f.AuxRects);
    }

    void WriteRects(const std::vector<TRect>& rects) {
        WriteInt32(s_, static_cast<std::int32_t>(rects.size()));
        for (const TRect& r : rects) {
            WriteInt32(s_, r.Left);
            WriteInt32(s_, r.Top);
            WriteInt32(s_, r.Right);
            WriteInt32(s_, r.Bottom);
        }
    }

    void WriteLayer(int frame, int layerIndex, const TFenkLayer& layer, const TDIBSurface& bitmap) {
        WriteInt32(s_, 0);
        WriteInt32(s_, 0);
        WriteFlag(s_, layer.Visible);
        WriteInt32(s_, layer.TransValue);
        WriteInt32(s_, layer.Opacity);
        WriteFlag(s_, layer.UseAlpha);
        WriteString(s_, layer.Name);
        WriteData(Pack(bitmap, frame, layerIndex, false));
        if (bitmap.HasAlpha()) {
            WriteData(Pack(*bitmap.Alpha(), frame, layerIndex, true));
        } else {
            WriteInt32(s_, 0);
        }
    }

    void WriteData(const std::vector<std::uint8_t>& bytes) {
        WriteInt32(s_, static_cast<std::int32_t>(bytes.size()));
        if (!bytes.empty()) s_.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }

    std::vector<std::uint8_t> Pack(const TDIBSurface& b, int frame, int layer, bool alpha) {
        if (b.IsEmpty()) return {};
        if (compression_ == FK_JPEG && !alpha) return EncodeJpeg(b, quality_);
        std::vector<std::uint8_t> raw;
        if (blocks_) {
            raw = index_.Encode(b, frame, layer, alpha, list_.IdCode, scrambled_);
        } else {
            const auto rowBytes = static_cast<std::size_t>(b.RowBytes());
            raw.resize(rowBytes * static_cast<std::size_t>(b.Height()));
            TQsRandom order(scrambled_ ? list_.IdCode : 0);
            order.Reset(b.Height());
            for (int i = 0; i < b.Height(); ++i)
                std::memcpy(raw.data() + static_cast<std::size_t>(i) * rowBytes, b.ScanLine(order.Next()), rowBytes);
        }
        if (compression_ == FK_STORED) return raw;
        return DeflateFast(raw.data(), raw.size());
    }

    const TFenkFrameList& list_;
    TStream& s_;
    bool scrambled_ = false;
    int compression_ = FK_ZLIB;
    int quality_ = 70;
    bool blocks_;
    std::int32_t blockWidth_ = 0;
    std::int32_t blockHeight_ = 0;
    TFenkBlockIndex index_;
};

}  // namespace

void TFenkFrameList::SaveToStream(TStream& stream, int compression, int quality) {
    TFenkSaveOptions options;
    options.Compression = compression;
    options.Quality = quality;
    SaveToStream(stream, options);
}

void TFenkFrameList::SaveToStream(TStream& stream, const TFenkSaveOptions& options) {
    TFenkWriter(*this, stream, options).Run();
}

}  // namespace vesk
