#pragma once

#include "components/kinds/kinds.h"
#include "components/objects/vcontrol.h"

namespace vesk {

// A cabinet (kind CABINET): a place to keep controls out of the scene. It
// counts as invisible (Showing) whatever PR_VISIBLE holds and draws nothing,
// so what lies inside is neither drawn nor hit; the registry gives it no
// idle events and no updates either.
class TVeskCabinet : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_CABINET; }
    bool IsCabinet() const override { return true; }
    void Draw(TCustomDIBX&) override {}
};

}  // namespace vesk
