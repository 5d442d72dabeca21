#include "transitions/wipe_kinds.h"

#include "gfx/dibx.h"
#include "transitions/wipe_blinds.h"
#include "transitions/wipe_blocks.h"
#include "transitions/wipe_blur.h"
#include "transitions/wipe_circle.h"
#include "transitions/wipe_crack.h"
#include "transitions/wipe_curtains.h"
#include "transitions/wipe_dither.h"
#include "transitions/wipe_fade.h"
#include "transitions/wipe_flash.h"
#include "transitions/wipe_grids.h"
#include "transitions/wipe_mosaic.h"
#include "transitions/wipe_pies.h"
#include "transitions/wipe_ripple.h"
#include "transitions/wipe_rubber.h"
#include "transitions/wipe_scroll.h"
#include "transitions/wipe_shadow.h"
#include "transitions/wipe_shadow_white.h"
#include "transitions/wipe_smallbig.h"
#include "transitions/wipe_spot.h"
#include "transitions/wipe_sudare.h"
#include "transitions/wipe_twist.h"
#include "transitions/wipe_zoomin.h"

namespace vesk {

namespace {

constexpr std::array<TWipeKindInfo, kWipeKindCount> kKinds = {{
    {WP_NONE, "WP_NONE", "なし", "", 0, 0, false},
    {WP_FADE, "WP_FADE", "フェード", "TWipeFade", 0, 0, false},
    {WP_BLINDH, "WP_BLINDH", "ブラインド横", "TWipeBlindH", 20, 1, true},
    {WP_BLINDV, "WP_BLINDV", "ブラインド縦", "TWipeBlindV", 20, 1, true},
    {WP_CURTAINH, "WP_CURTAINH", "カーテン横", "TWipeCurtainH", 30, 1, true},
    {WP_CURTAINV, "WP_CURTAINV", "カーテン縦", "TWipeCurtainV", 30, 1, true},
    {WP_SCROLLH, "WP_SCROLLH", "スクロール横", "TWipeScrollH", 0, 0, false},
    {WP_SCROLLV, "WP_SCROLLV", "スクロール縦", "TWipeScrollV", 0, 0, false},
    {WP_GRID, "WP_GRID", "格子", "TWipeGrid", 80, 30, true},
    {WP_GRIDH, "WP_GRIDH", "格子(横)", "TWipeGridH", 80, 30, true},
    {WP_GRIDV, "WP_GRIDV", "格子(縦)", "TWipeGridV", 80, 30, true},
    {WP_DITHER, "WP_DITHER", "ディザ", "TWipeDither", 0, 0, true},
    {WP_WHITE, "WP_WHITE", "ホワイト", "TWipeWhite", 0, 0, false},
    {WP_BLACK, "WP_BLACK", "ブラック", "TWipeBlack", 0, 0, false},
    {WP_FLASH, "WP_FLASH", "フラッシュ", "TWipeFlash", 0, 0, false},
    {WP_MOSAIC, "WP_MOSAIC", "モザイク", "TWipeMosaic", 0, 0, false},
    {WP_SUDAREH, "WP_SUDAREH", "すだれ横", "TWipeSudareH", 0, 0, false},
    {WP_SUDAREV, "WP_SUDAREV", "すだれ縦", "TWipeSudareV", 0, 0, false},
    {WP_SPOT, "WP_SPOT", "スポットライト", "TWipeSpot", 0, 0, false},
    {WP_MASKFADE, "WP_MASKFADE", "マスクフェード", "TWipeShadow", 0, 0, true},
    {WP_MASKWHITE, "WP_MASKWHITE", "マスクホワイト", "TWipeShadowWhite", 0, 0, false},
    {WP_MASKBLACK, "WP_MASKBLACK", "マスクブラック", "TWipeShadowBlack", 0, 0, false},
    {WP_SMALL, "WP_SMALL", "表画面縮小", "TWipeSmall", 0, 0, false},
    {WP_BIG, "WP_BIG", "裏画面拡大", "TWipeBig", 0, 0, false},
    {WP_RIPPLE, "WP_RIPPLE", "波紋", "TWipeRipple", 5, 0, false},
    {WP_BLURWHITE, "WP_BLURWHITE", "白ぼかし", "TWipeBlurWhite", 0, 0, false},
    {WP_BLURBLACK, "WP_BLURBLACK", "黒ぼかし", "TWipeBlurBlack", 0, 0, false},
    {WP_TWISTH, "WP_TWISTH", "ひねり横", "TWipeTwistH", 0, 0, false},
    {WP_TWISTV, "WP_TWISTV", "ひねり縦", "TWipeTwistV", 0, 0, false},
    {WP_CRACK, "WP_CRACK", "チップ落下", "TWipeCrack", 64, 3, false},
    // The zoom's centre is the screen's centre once a project is loaded;
    // until then it is (0, 0).
    {WP_ZOOMIN, "WP_ZOOMIN", "ズームイン", "TWipeZoomin", 0, 0, false},
    {WP_CLOCKHAND, "WP_CLOCKHAND", "時計の針", "TWipeClockhand", 0, 0, true},
    {WP_RUBBERH, "WP_RUBBERH", "ゴム(横)", "TWipeRubberH", 0, 0, false},
    {WP_RUBBERV, "WP_RUBBERV", "ゴム(縦)", "TWipeRubberV", 0, 0, false},
    {WP_FAN, "WP_FAN", "扇", "TWipeFan", 0, 0, true},
    {WP_WFAN, "WP_WFAN", "扇(両側)", "TWipeWFan", 0, 0, true},
    {WP_CIRCLE, "WP_CIRCLE", "円", "TWipeCircle", 0, 0, true},
    {WP_BLOCKCOIL, "WP_BLOCKCOIL", "ブロック(とぐろ)", "TWipeBlockCoil", 60, 0, true},
    {WP_BLOCKRANDOM, "WP_BLOCKRANDOM", "ブロック(ランダム)", "TWipeBlockRandom", 60, 0, true},
}};

template <class T>
std::unique_ptr<TCustomWipe> Make(TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw) {
    return std::make_unique<T>(target, old, nw);
}

using TMaker = std::unique_ptr<TCustomWipe> (*)(TCustomDIBX&, TCustomDIBX&, TCustomDIBX&);

constexpr std::array<TMaker, kWipeKindCount> kMakers = {
    nullptr,
    Make<TWipeFade>,
    Make<TWipeBlindH>,
    Make<TWipeBlindV>,
    Make<TWipeCurtainH>,
    Make<TWipeCurtainV>,
    Make<TWipeScrollH>,
    Make<TWipeScrollV>,
    Make<TWipeGrid>,
    Make<TWipeGridH>,
    Make<TWipeGridV>,
    Make<TWipeDither>,
    Make<TWipeWhite>,
    Make<TWipeBlack>,
    Make<TWipeFlash>,
    Make<TWipeMosaic>,
    Make<TWipeSudareH>,
    Make<TWipeSudareV>,
    Make<TWipeSpot>,
    Make<TWipeShadow>,
    Make<TWipeShadowWhite>,
    Make<TWipeShadowBlack>,
    Make<TWipeSmall>,
    Make<TWipeBig>,
    Make<TWipeRipple>,
    Make<TWipeBlurWhite>,
    Make<TWipeBlurBlack>,
    Make<TWipeTwistH>,
    Make<TWipeTwistV>,
    Make<TWipeCrack>,
    Make<TWipeZoomin>,
    Make<TWipeClockhand>,
    Make<TWipeRubberH>,
    Make<TWipeRubberV>,
    Make<TWipeFan>,
    Make<TWipeWFan>,
    Make<TWipeCircle>,
    Make<TWipeBlockCoil>,
    Make<TWipeBlockRandom>,
};

TWipeDefaults MakeDefaults() {
    TWipeDefaults d{};
    for (const TWipeKindInfo& k : kKinds) d[k.Code] = {k.Param0, k.Param1};
    return d;
}

}  // namespace

const std::array<TWipeKindInfo, kWipeKindCount>& WipeKinds() { return kKinds; }

const TWipeKindInfo* FindWipeKind(std::string_view name) {
    for (const TWipeKindInfo& k : kKinds)
        if (name == k.Name) return &k;
    return nullptr;
}

TWipeDefaults& WipeDefaults() {
    static TWipeDefaults defaults = MakeDefaults();
    return defaults;
}

std::unique_ptr<TCustomWipe> CreateWipe(int kind, TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw) {
    if (kind <= WP_NONE || kind >= kWipeKindCount) return nullptr;
    std::unique_ptr<TCustomWipe> wipe = kMakers[std::size_t(kind)](target, old, nw);
    wipe->SetParam(0, WipeDefaults()[std::size_t(kind)][0]);
    wipe->SetParam(1, WipeDefaults()[std::size_t(kind)][1]);
    return wipe;
}

}  // namespace vesk
