#include "components/kinds/vitemex.h"

namespace vesk {

std::unique_ptr<TVeskObject> CreateComponent(std::uint8_t kind, TVeskBaseList* owner) {
    switch (kind & 0x7F) {
        case LT_BOX: return std::make_unique<TVeskBox>(owner);
        case LT_BUTTON: return std::make_unique<TVeskButton>(owner);
        case LT_CABINET: return std::make_unique<TVeskCabinet>(owner);
        case LT_CGLABEL: return std::make_unique<TVeskCGLabel>(owner);
        case LT_CINEMA: return std::make_unique<TVeskCinema>(owner);
        case LT_EDIT: return std::make_unique<TVeskEdit>(owner);
        case LT_FIRE: return std::make_unique<TVeskFire>(owner);
        case LT_GAUGE: return std::make_unique<TVeskGauge>(owner);
        case LT_HTTP: return std::make_unique<TVeskHttp>(owner);
        case LT_IMAGES: return std::make_unique<TVeskImages>(owner);
        case LT_LABEL: return std::make_unique<TVeskLabel>(owner);
        case LT_MAPIMG: return std::make_unique<TVeskMapImage>(owner);
        case LT_MEMO: return std::make_unique<TVeskMemo>(owner);
        case LT_MENU: return std::make_unique<TVeskMenu>(owner);
        case LT_MES: return std::make_unique<TVeskMes>(owner);
        case LT_PARTICLE: return std::make_unique<TVeskParticle>(owner);
        case LT_PREVMENU: return std::make_unique<TVeskPrevMenu>(owner);
        case LT_PROPMOTION: return std::make_unique<TVeskPropMotion>(owner);
        case LT_SCROLLBAR: return std::make_unique<TVeskScrollbar>(owner);
        case LT_SLIDER: return std::make_unique<TVeskSlider>(owner);
        case LT_SOUND: return std::make_unique<TVeskSound>(owner);
        case LT_TILE: return std::make_unique<TVeskTile>(owner);
        case LT_TIMER: return std::make_unique<TVeskTimer>(owner);
        case LT_VIDEO: return std::make_unique<TVeskVideo>(owner);
        case LT_WAVE: return std::make_unique<TVeskWave>(owner);
        default: return nullptr;
    }
}

}  // namespace vesk
