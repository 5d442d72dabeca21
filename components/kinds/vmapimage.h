#pragma once

#include <memory>
#include <vector>

#include "components/kinds/kinds.h"
#include "components/kinds/mapfile.h"
#include "components/objects/vcontrol.h"
#include "components/registry/fenkcollection.h"

namespace vesk {

// The selection image (kind MAPIMG, "選択画像"): a picture whose named map
// regions are choices. The region under the mouse (or stepped to with the
// arrow keys) shows the hover picture; clicking it, or Enter / Space, sets
// the selection variables and queues PR_ONSELECT.
class TVeskMapImage : public TVeskControl {
public:
    // Closing states: open, close requested, closing (destroyed next update).
    static constexpr std::int32_t kOpen = 0, kCloseRequested = 100, kClosing = 101;

    explicit TVeskMapImage(TVeskBaseList* owner);
    ~TVeskMapImage() override;
    std::uint8_t CompoType() const override { return LT_MAPIMG; }

    std::string GetSource() const override { return normal_.source; }
    void SetSource(const std::string& v) override;
    std::string GetHoverSource() const override { return hover_.source; }
    void SetHoverSource(const std::string& v) override;
    std::string GetMapSource() const override { return mapSource_; }
    void SetMapSource(const std::string& v) override;
    std::int32_t GetAlpha() const override { return alpha_; }
    void SetAlpha(const std::int32_t& v) override { Change(alpha_, v); }
    std::int32_t GetBrightness() const override { return brightness_; }
    void SetBrightness(const std::int32_t& v) override;
    std::string GetOnMapIn() const override { return onMapIn_; }
    void SetOnMapIn(const std::string& v) override { onMapIn_ = v; }
    std::string GetOnMapOut() const override { return onMapOut_; }
    void SetOnMapOut(const std::string& v) override { onMapOut_ = v; }
    std::string GetOnSelect() const override { return onSelect_; }
    void SetOnSelect(const std::string& v) override { onSelect_ = v; }
    std::string GetOnIdle() const override { return onIdle_; }
    void SetOnIdle(const std::string& v) override { onIdle_ = v; }
    bool GetAutoScrap() const override { return autoScrap_; }
    void SetAutoScrap(const bool& v) override { autoScrap_ = v; }
    bool GetRClickScrap() const override { return rClickScrap_; }
    void SetRClickScrap(const bool& v) override { rClickScrap_ = v; }
    bool GetPaused() const override { return paused_; }
    void SetPaused(const bool& v) override { paused_ = v; }

    const std::vector<TMapRegion>& Regions() const { return regions_; }
    std::int32_t CurrentRegion() const { return current_; }
    void SetCurrentRegion(std::int32_t index);
    std::int32_t Closing() const { return closing_; }

    void Draw(TCustomDIBX& dest) override;
    bool Update(std::int32_t elapsedMs) override;
    void MouseMoved() override;
    void MouseOut() override;
    void MouseLeftDown() override;
    void KeyDown() override;
    void KeyRepeat() override;
    bool RClickDestroy() override;
    bool SuppressesEvents() const override { return suppress_; }
    void ReleaseSurfaces() override;
    void ReloadSurfaces() override { ReleaseSurfaces(); }

protected:
    void SaveOwnState(TStream& s) const override;
    void LoadOwnState(TStream& s, int version) override;

private:
    // One of the two pictures, with its per-frame mask copies cut for a
    // region (normal: everything but the region; hover: only the region).
    struct TPicture {
        std::string source;
        TFenkRef frames;
        std::int32_t index = -1, remain = 0;
        struct TCut {
            std::unique_ptr<TDIBX> mask;
            std::int32_t region = -2;  // the region it was cut for; -2 stale
            std::unique_ptr<TDIBX> bright;  // brightness copy, made on demand
        };
        std::vector<TCut> cuts;
    };
    void LoadPicture(TPicture& p, const std::string& source);
    // Advances a picture's frames; true when the frame changed.
    static bool Advance(TPicture& p, std::int32_t elapsedMs);
    TDIBX* CutMask(TPicture& p, bool inside);
    // Where a frame of either picture is shown: at the control's place,
    // scaled as the control's size scales the normal picture.
    TRect ShownRect(const TCustomDIBX& surface) const;
    void DrawFrame(TCustomDIBX& dest, TPicture& p, bool inside);
    void InvalidateRegion(std::int32_t index);
    void Select();
    void RequestClose();
    std::vector<std::string> RegionArgs(std::int32_t index) const;

    TPicture normal_, hover_;
    std::string mapSource_;
    std::vector<TMapRegion> regions_;
    std::int32_t current_ = -1;
    std::int32_t alpha_ = 0, brightness_ = 0;
    std::string onMapIn_, onMapOut_, onSelect_, onIdle_;
    bool autoScrap_ = false, rClickScrap_ = false, paused_ = false;
    std::int32_t closing_ = kOpen;
    bool suppress_ = false;
};

}  // namespace vesk
