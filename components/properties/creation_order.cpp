#include "components/properties/creation_order.h"

namespace vesk {

const std::array<std::uint8_t, kPropertyCount>& CreationOrder() {
    static const auto order = [] {
        // Ranges of ids, first and last included, in the order they are
        // applied.
        constexpr int ranges[][2] = {
            {PR_NAME, PR_SOURCE},
            {PR_ZOOMX, PR_ZOOMX},
            {PR_ZOOMY, PR_ZOOMY},
            {PR_POSZOOMED, PR_POSZOOMED},
            {PR_WIDTH, PR_HEIGHT},
            {PR_LEFT, PR_TOP},
            {PR_COLOR, PR_COLOR},
            {PR_BARSIZE, PR_BARSIZE},
            {PR_BORDERWIDTH, PR_OFFSETY},
            {PR_PLUSX, PR_PLUSY},
            {PR_FONTNAME, PR_HOVERCOLOR},
            {PR_FONTHOVERBORDER, PR_FONTHOVERSHADOWCOLOR},
            {PR_ANTIALIAS, PR_REPEAT},
            {PR_REPEATPOS, PR_REPEATPOS},
            {PR_BALANCE, PR_CARETY},
            {PR_CARETHEIGHT, PR_CARETHEIGHT},
            {PR_IGNOREMOUSE, PR_CURSOR},
            {PR_ONPLAYSTART, PR_GLYPHHEIGHT},
            {PR_CLICKEDSOURCE, PR_CAPTURELINK},
            {PR_MUTEONLOAD, PR_MUTEONLOAD},
        };
        std::array<std::uint8_t, kPropertyCount> ids{};
        std::size_t n = 0;
        for (const auto& r : ranges)
            for (int id = r[0]; id <= r[1]; ++id) ids.at(n++) = static_cast<std::uint8_t>(id);
        return ids;
    }();
    return order;
}

}  // namespace vesk
