#include "components/properties/propsupport.h"

#include "components/kinds/kinds.h"
#include "components/properties/propids.h"

namespace vesk {

namespace {

constexpr std::uint32_t K(std::uint8_t kind) { return 1u << kind; }

constexpr std::uint32_t kAllControls =
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_EDIT) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_LABEL) |
    K(LT_MEMO) | K(LT_MENU) | K(LT_MES) | K(LT_PARTICLE) | K(LT_VIDEO) | K(LT_MAPIMG) | K(LT_WAVE) |
    K(LT_TILE) | K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE) | K(LT_CGLABEL) | K(LT_PREVMENU) | K(LT_CABINET);
// Every kind an object reports, the object base and the screen bases (LT_NONE)
// included: they all carry a name, a priority, a tag and a kind.
constexpr std::uint32_t kEveryKind = (K(LT_CABINET) << 1) - 1;

// Which kinds give each property a meaning of their own; the rest read the
// base default and ignore writes.
constexpr std::uint32_t kImplementedBy[kPropertyCount] = {
    kEveryKind,  // PR_NAME
    kAllControls,  // PR_PARENT
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_HTTP) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_PARTICLE) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_MAPIMG) | K(LT_TILE) | K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE) | K(LT_CGLABEL) | K(LT_PREVMENU),  // PR_SOURCE
    kAllControls,  // PR_LEFT
    kAllControls,  // PR_TOP
    kAllControls,  // PR_WIDTH
    kAllControls,  // PR_HEIGHT
    K(LT_BUTTON) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_VIDEO) | K(LT_TILE),  // PR_ZOOMX
    kAllControls,  // PR_COLOR
    K(LT_BOX) | K(LT_MENU),  // PR_BORDERWIDTH
    K(LT_BOX) | K(LT_MENU),  // PR_BORDERCOLOR
    K(LT_BOX) | K(LT_BUTTON) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_MENU) | K(LT_MES) | K(LT_PARTICLE) | K(LT_VIDEO) | K(LT_MAPIMG) | K(LT_TILE) | K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE) | K(LT_CGLABEL),  // PR_ALPHA
    kEveryKind,  // PR_PRIORITY
    kAllControls,  // PR_OFFSETX
    kAllControls,  // PR_OFFSETY
    K(LT_BUTTON) | K(LT_EDIT) | K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU) | K(LT_MES),  // PR_FONTNAME
    K(LT_BUTTON) | K(LT_EDIT) | K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU) | K(LT_MES),  // PR_FONTHEIGHT
    K(LT_BUTTON) | K(LT_EDIT) | K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU),  // PR_FONTSTYLE
    K(LT_LABEL) | K(LT_MENU) | K(LT_MES) | K(LT_CGLABEL),  // PR_LINESPACE
    K(LT_BUTTON) | K(LT_EDIT) | K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU) | K(LT_MES),  // PR_FONTCOLOR
    K(LT_MES),  // PR_FONTLINKCOLOR
    K(LT_MENU) | K(LT_MES),  // PR_FONTBORDERCOLOR
    K(LT_MENU) | K(LT_MES),  // PR_FONTHOVERCOLOR
    K(LT_MENU),  // PR_FONTHOVERSTYLE
    K(LT_MENU),  // PR_HOVERCOLOR
    K(LT_BUTTON) | K(LT_LABEL) | K(LT_MENU) | K(LT_MES),  // PR_ANTIALIAS
    K(LT_MENU) | K(LT_MES) | K(LT_TIMER) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_WAVE) | K(LT_GAUGE),  // PR_DELAY
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_EDIT) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU) | K(LT_MES) | K(LT_PARTICLE) | K(LT_TIMER) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_MAPIMG) | K(LT_WAVE) | K(LT_TILE) | K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE) | K(LT_CGLABEL) | K(LT_PREVMENU) | K(LT_PROPMOTION),  // PR_PAUSED
    K(LT_CINEMA) | K(LT_VIDEO) | K(LT_SOUND),  // PR_VOLUME
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_MAPIMG) | K(LT_TILE),  // PR_REPEAT
    K(LT_VIDEO) | K(LT_SOUND),  // PR_BALANCE
    K(LT_BUTTON) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_VIDEO) | K(LT_TILE),  // PR_ANGLE
    K(LT_MES),  // PR_ONPLAYING
    K(LT_BUTTON) | K(LT_EDIT) | K(LT_MEMO) | K(LT_MES) | K(LT_TIMER) | K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_ONNOTIFY
    kAllControls,  // PR_ONMOUSEMOVE
    kAllControls,  // PR_ONMOUSEOUT
    kAllControls,  // PR_ONLBTNDOWN
    kAllControls,  // PR_ONLBTNUP
    kAllControls,  // PR_ONRBTNDOWN
    kAllControls,  // PR_ONRBTNUP
    kAllControls,  // PR_ONWHEELDOWN
    kAllControls,  // PR_ONWHEELUP
    K(LT_BUTTON) | K(LT_IMAGES) | K(LT_MAPIMG) | K(LT_TILE),  // PR_BRIGHTNESS
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_HTTP) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_MES) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_PREVMENU),  // PR_ONPLAYEND
    K(LT_BUTTON) | K(LT_CINEMA) | K(LT_IMAGES) | K(LT_MENU) | K(LT_MES) | K(LT_PARTICLE) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_TILE),  // PR_INDEX
    K(LT_BUTTON) | K(LT_CINEMA) | K(LT_IMAGES) | K(LT_MENU) | K(LT_MES) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_TILE) | K(LT_PREVMENU),  // PR_COUNT
    K(LT_MES),  // PR_ONLINK
    kAllControls,  // PR_VISIBLE
    0,  // PR_COLCOUNT
    K(LT_MENU),  // PR_ROWCOUNT
    K(LT_BUTTON) | K(LT_EDIT) | K(LT_HTTP) | K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU) | K(LT_MES) | K(LT_CGLABEL) | K(LT_PREVMENU),  // PR_TEXT
    K(LT_MENU),  // PR_MARGINX
    K(LT_MENU),  // PR_MARGINY
    K(LT_LABEL) | K(LT_MEMO) | K(LT_MENU) | K(LT_CGLABEL),  // PR_HALIGN
    K(LT_MENU),  // PR_BORDERSOURCETL
    K(LT_MENU),  // PR_BORDERSOURCETC
    K(LT_MENU),  // PR_BORDERSOURCETR
    K(LT_MENU),  // PR_BORDERSOURCECL
    K(LT_MENU),  // PR_BORDERSOURCECC
    K(LT_MENU),  // PR_BORDERSOURCECR
    K(LT_MENU),  // PR_BORDERSOURCEBL
    K(LT_MENU),  // PR_BORDERSOURCEBC
    K(LT_MENU),  // PR_BORDERSOURCEBR
    K(LT_MENU),  // PR_BORDERHALIGNT
    K(LT_MENU),  // PR_BORDERHALIGNC
    K(LT_MENU),  // PR_BORDERHALIGNB
    K(LT_MENU),  // PR_BORDERVALIGNL
    K(LT_MENU),  // PR_BORDERVALIGNC
    K(LT_MENU),  // PR_BORDERVALIGNR
    K(LT_MENU),  // PR_SCROLLSOURCE
    K(LT_MENU),  // PR_CHECKSOURCE
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_MENU) | K(LT_TIMER) | K(LT_VIDEO) | K(LT_SOUND) | K(LT_MAPIMG) | K(LT_PREVMENU),  // PR_AUTOSCRAP
    K(LT_MENU) | K(LT_MAPIMG) | K(LT_PREVMENU),  // PR_ONSELECT
    K(LT_MENU) | K(LT_MAPIMG) | K(LT_PREVMENU),  // PR_RCLICKSCRAP
    K(LT_MENU),  // PR_ONOPENING
    K(LT_MENU),  // PR_ONOPENED
    K(LT_MENU),  // PR_ONCLOSING
    K(LT_MENU),  // PR_ONCLOSED
    K(LT_MES),  // PR_CARETX
    K(LT_MES),  // PR_CARETY
    kAllControls,  // PR_IGNOREMOUSE
    K(LT_MES),  // PR_TEXTPAUSED
    K(LT_MES),  // PR_TEXTDELAY
    K(LT_BUTTON) | K(LT_MAPIMG),  // PR_HOVERSOURCE
    K(LT_BUTTON),  // PR_PRESSEDSOURCE
    K(LT_BUTTON),  // PR_GROUPINDEX
    K(LT_BUTTON),  // PR_ALLOWALLUP
    K(LT_BUTTON),  // PR_SELECTED
    K(LT_BUTTON) | K(LT_IMAGES) | K(LT_VIDEO) | K(LT_TILE) | K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_CAPTUREMASK
    K(LT_FIRE),  // PR_POWER
    K(LT_BUTTON) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_VIDEO) | K(LT_TILE) | K(LT_CGLABEL),  // PR_ORIGWIDTH
    K(LT_BUTTON) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_MENU) | K(LT_VIDEO) | K(LT_TILE) | K(LT_CGLABEL),  // PR_ORIGHEIGHT
    0,  // PR_APPEARX
    0,  // PR_APPEARY
    K(LT_PARTICLE),  // PR_PARTMOTION
    K(LT_PARTICLE),  // PR_PARAM1
    K(LT_PARTICLE),  // PR_PARAM2
    K(LT_MENU),  // PR_TOPINDEX
    K(LT_EDIT) | K(LT_MEMO),  // PR_READONLY
    kAllControls,  // PR_CURSOR
    kAllControls,  // PR_POSZOOMED
    K(LT_MES),  // PR_ONPLAYSTART
    K(LT_PARTICLE),  // PR_PARAM3
    kAllControls,  // PR_ONMOUSEIN
    K(LT_MENU) | K(LT_MAPIMG) | K(LT_PREVMENU),  // PR_ONMAPIN
    K(LT_MENU) | K(LT_MAPIMG) | K(LT_PREVMENU),  // PR_ONMAPOUT
    K(LT_MAPIMG),  // PR_MAPSOURCE
    K(LT_WAVE),  // PR_AMP
    K(LT_WAVE),  // PR_WAVELEN
    K(LT_TILE),  // PR_SCROLLX
    K(LT_MES) | K(LT_TILE),  // PR_SCROLLY
    K(LT_BUTTON) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_VIDEO) | K(LT_TILE),  // PR_FLIPH
    K(LT_BUTTON) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_VIDEO) | K(LT_TILE),  // PR_FLIPV
    K(LT_BOX) | K(LT_BUTTON) | K(LT_CINEMA) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_MENU) | K(LT_MES) | K(LT_PARTICLE) | K(LT_VIDEO) | K(LT_MAPIMG) | K(LT_WAVE) | K(LT_TILE) | K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE) | K(LT_CGLABEL) | K(LT_PREVMENU),  // PR_ONIDLE
    K(LT_TILE),  // PR_DISTANCEX
    K(LT_TILE),  // PR_DISTANCEY
    kAllControls,  // PR_CLIPLEFT
    kAllControls,  // PR_CLIPTOP
    kAllControls,  // PR_CLIPWIDTH
    kAllControls,  // PR_CLIPHEIGHT
    K(LT_PARTICLE) | K(LT_GAUGE),  // PR_DURATION
    K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_THUMBSOURCE
    K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_BUTTONSOURCE
    K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE),  // PR_MIN
    K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE),  // PR_MAX
    K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE),  // PR_VALUE
    K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE),  // PR_ORIENTATION
    K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_SMALLCHANGE
    K(LT_SCROLLBAR),  // PR_LARGECHANGE
    K(LT_CGLABEL),  // PR_MAPTEXT
    K(LT_CGLABEL),  // PR_GLYPHWIDTH
    K(LT_CGLABEL),  // PR_GLYPHHEIGHT
    K(LT_BUTTON) | K(LT_FIRE) | K(LT_IMAGES) | K(LT_LABEL) | K(LT_VIDEO) | K(LT_TILE),  // PR_ZOOMY
    K(LT_BUTTON),  // PR_CLICKEDSOURCE
    kAllControls | K(LT_SOUND),  // PR_ANIPAUSED
    K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_ONHOLD
    K(LT_SLIDER) | K(LT_SCROLLBAR),  // PR_ONRELEASE
    K(LT_GAUGE),  // PR_REVERSE
    kAllControls | K(LT_SOUND),  // PR_PLAYING
    K(LT_CINEMA) | K(LT_VIDEO) | K(LT_SOUND),  // PR_REWINDONLOAD
    kEveryKind,  // PR_COMPOTYPE
    K(LT_MENU) | K(LT_MES),  // PR_FONTSHADOWCOLOR
    K(LT_MENU) | K(LT_MES),  // PR_FONTBORDER
    K(LT_MENU) | K(LT_MES),  // PR_FONTSHADOW
    kAllControls,  // PR_ONKEYDOWN
    kAllControls,  // PR_ONKEYUP
    kAllControls,  // PR_ONKEYREPEAT
    kAllControls,  // PR_HANDLEKEY
    kAllControls,  // PR_ONFOCUSIN
    kAllControls,  // PR_ONFOCUSOUT
    K(LT_VIDEO),  // PR_OVERLAY
    kEveryKind,  // PR_TAG
    K(LT_MES),  // PR_CAPTURELINK
    K(LT_MENU),  // PR_FONTHOVERBORDER
    K(LT_MENU),  // PR_FONTHOVERBORDERCOLOR
    K(LT_MENU),  // PR_FONTHOVERSHADOW
    K(LT_MENU),  // PR_FONTHOVERSHADOWCOLOR
    K(LT_SLIDER) | K(LT_SCROLLBAR) | K(LT_GAUGE),  // PR_BARSIZE
    K(LT_CINEMA) | K(LT_VIDEO) | K(LT_SOUND),  // PR_MUTEONLOAD
    kAllControls,  // PR_PLUSX
    kAllControls,  // PR_PLUSY
    K(LT_MES),  // PR_CARETHEIGHT
    K(LT_SOUND),  // PR_REPEATPOS
};

}  // namespace

bool PropertyImplementedBy(int id, std::uint8_t kind) {
    if (id < 0 || id >= kPropertyCount || kind > LT_CABINET) return false;
    return (kImplementedBy[id] >> kind & 1u) != 0;
}

bool PropertyWritable(int id) {
    switch (id) {
        case PR_CARETX:
        case PR_CARETY:
        case PR_APPEARX:
        case PR_APPEARY:
        case PR_PLAYING:
        case PR_COMPOTYPE:
        case PR_CARETHEIGHT: return false;
        default: return id >= 0 && id < kPropertyCount;
    }
}

}  // namespace vesk
