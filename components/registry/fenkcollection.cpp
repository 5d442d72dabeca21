#include "components/registry/fenkcollection.h"

#include <utility>

#include "archive/vrfiles.h"
#include "common/error.h"
#include "common/stream.h"
#include "common/stream_io.h"
#include "gfx/fenks.h"

namespace vesk {

TFenkItem::TFenkItem(std::string key, std::string file, bool masks, bool offsets)
    : THashCollectionItem(std::move(key)), file_(std::move(file)), masks_(masks), offsets_(offsets) {}

void TFenkItem::LoadPlaceholder(int bitCount) {
    TFenkItemFrame f;
    f.Surface = std::make_unique<TDIBX>(8, 8, bitCount);
    f.Surface->Fill(0);
    f.TransColor = 0;
    f.Surface->TransparentColor = f.Surface->ColorToPixel(0);
    if (masks_) {
        // Keyed on black, the placeholder's mask is clear everywhere.
        f.Mask = std::make_unique<TDIBX>(8, 8, 8);
        f.Mask->Fill(0);
    }
    frames_.push_back(std::move(f));
}

void TFenkItem::Load(std::int32_t idCode, int bitCount) {
    frames_.clear();
    width_ = height_ = duration_ = 0;
    TFenkFrameList list(idCode);
    bool decoded = false;
    if (VrFileManager().Exists(file_)) {
        // A damaged picture shows as the placeholder, like a missing one:
        // a game never stops over a picture.
        try {
            TMemoryStream data;
            VrFileManager().Read(file_, data);
            list.LoadFromNamedStream(file_, data, false, false);
            if (masks_) list.BuildMasks(false);
            decoded = list.Count() > 0;
        } catch (const EVeskError&) {
            decoded = false;
        }
    }
    if (!decoded) {
        LoadPlaceholder(bitCount);
    } else {
        for (int i = 0; i < list.Count(); ++i) {
            TFenkFrame& fr = list[i];
            TFenkItemFrame f;
            if (offsets_) {
                const TRect kept = fr.Trim();
                f.Left = kept.Left;
                f.Top = kept.Top;
            }
            f.Surface = std::make_unique<TDIBX>();
            f.Surface->SetBitCount(bitCount);
            list.CopyToSurface(i, *f.Surface);
            f.TransColor = fr.TransColor;
            f.Surface->TransparentColor = fr.TransColor < 0 ? -1 : f.Surface->ColorToPixel(fr.TransColor);
            if (fr.Image.HasAlpha()) {
                f.Mask = std::make_unique<TDIBX>();
                list.CopyMaskTo(i, *f.Mask);
            }
            f.Delay = fr.Delay > 0 ? fr.Delay : 1;
            frames_.push_back(std::move(f));
        }
    }
    width_ = frames_.front().Surface->Width();
    height_ = frames_.front().Surface->Height();
    for (const TFenkItemFrame& f : frames_) duration_ += f.Delay;
}

TFenkRef& TFenkRef::operator=(TFenkRef&& other) noexcept {
    if (this != &other) {
        Reset();
        owner_ = other.owner_;
        item_ = std::exchange(other.item_, nullptr);
    }
    return *this;
}

void TFenkRef::Reset() {
    if (item_ && owner_) owner_->Release(item_);
    item_ = nullptr;
}

std::string TFenkCollection::Key(const std::string& file, bool masks, bool offsets) {
    return file + (masks ? "?m" : "") + (offsets ? "?t" : "");
}

TFenkItem* TFenkCollection::FindItem(const std::string& key) const {
    const int i = Find(key);
    return i < 0 ? nullptr : static_cast<TFenkItem*>(&Item(i));
}

TFenkRef TFenkCollection::Acquire(const std::string& file, bool masks, bool offsets) {
    const std::string key = Key(file, masks, offsets);
    TFenkItem* item = FindItem(key);
    if (!item) {
        auto made = std::make_unique<TFenkItem>(key, file, masks, offsets);
        made->Load(IdCode, DecodeBitCount());
        item = static_cast<TFenkItem*>(&Add(std::move(made)));
    }
    ++item->users_;
    return TFenkRef(this, item);
}

void TFenkCollection::Release(TFenkItem* item) {
    if (--item->users_ > 0) return;
    for (int i = 0; i < Count(); ++i)
        if (&Item(i) == item) return Delete(i);
}

void TFenkCollection::SetScreenDepth(bool on) {
    if (on == screenDepth_) return;
    screenDepth_ = on;
    ReloadSurfaces();
}

void TFenkCollection::SetBitCount(int bitCount) {
    if (bitCount == bitCount_) return;
    bitCount_ = bitCount;
    ReloadSurfaces();
}

void TFenkCollection::ReleaseSurfaces() {
    for (int i = 0; i < Count(); ++i) static_cast<TFenkItem&>(Item(i)).ReleaseSurfaces();
}

void TFenkCollection::ReloadSurfaces() {
    for (int i = 0; i < Count(); ++i) static_cast<TFenkItem&>(Item(i)).Load(IdCode, DecodeBitCount());
}

void TFenkCollection::SaveToStream(TStream& s) const { WriteFlag(s, screenDepth_); }

void TFenkCollection::LoadFromStream(TStream& s, int version) {
    if (version > 100) SetScreenDepth(ReadFlag(s));
}

}  // namespace vesk
