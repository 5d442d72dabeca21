#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vesk {

class TCustomDIBX;
class TCustomWipe;

// The transition kinds by the code a script or a film gives. 0 and codes
// above WP_BLOCKRANDOM mean no transition.
enum : std::uint8_t {
    WP_NONE = 0,
    WP_FADE = 1,
    WP_BLINDH = 2,
    WP_BLINDV = 3,
    WP_CURTAINH = 4,
    WP_CURTAINV = 5,
    WP_SCROLLH = 6,
    WP_SCROLLV = 7,
    WP_GRID = 8,
    WP_GRIDH = 9,
    WP_GRIDV = 10,
    WP_DITHER = 11,
    WP_WHITE = 12,
    WP_BLACK = 13,
    WP_FLASH = 14,
    WP_MOSAIC = 15,
    WP_SUDAREH = 16,
    WP_SUDAREV = 17,
    WP_SPOT = 18,
    WP_MASKFADE = 19,
    WP_MASKWHITE = 20,
    WP_MASKBLACK = 21,
    WP_SMALL = 22,
    WP_BIG = 23,
    WP_RIPPLE = 24,
    WP_BLURWHITE = 25,
    WP_BLURBLACK = 26,
    WP_TWISTH = 27,
    WP_TWISTV = 28,
    WP_CRACK = 29,
    WP_ZOOMIN = 30,
    WP_CLOCKHAND = 31,
    WP_RUBBERH = 32,
    WP_RUBBERV = 33,
    WP_FAN = 34,
    WP_WFAN = 35,
    WP_CIRCLE = 36,
    WP_BLOCKCOIL = 37,
    WP_BLOCKRANDOM = 38,
};

inline constexpr int kWipeKindCount = 39;

// One kind of the catalogue: its name in the editor's vocabulary, its
// Japanese label (UTF-8 here; the player shows it nowhere), its class and
// the parameters it starts with.
struct TWipeKindInfo {
    std::uint8_t Code;
    const char* Name;
    const char* Label;
    const char* ClassName;
    std::int32_t Param0, Param1;
    bool Mask;  // a mask kind (built from TWipeMask)
};

const std::array<TWipeKindInfo, kWipeKindCount>& WipeKinds();
// The kind of a WP_ name (case as written); nullptr when there is none.
const TWipeKindInfo* FindWipeKind(std::string_view name);

// The default parameters of every kind, process-wide and writable: the
// project loader sets the zoom's centre to the screen's centre.
using TWipeDefaults = std::array<std::array<std::int32_t, 2>, kWipeKindCount>;
TWipeDefaults& WipeDefaults();

// A new transition of the kind between the three surfaces, with its two
// parameters set from WipeDefaults through SetParam (0, then 1); none for
// WP_NONE and codes above WP_BLOCKRANDOM.
std::unique_ptr<TCustomWipe> CreateWipe(int kind, TCustomDIBX& target, TCustomDIBX& old, TCustomDIBX& nw);

}  // namespace vesk
