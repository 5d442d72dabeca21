#pragma once

#include <memory>

#include "components/kinds/kinds.h"
#include "components/kinds/vbox.h"
#include "components/kinds/vcabinet.h"
#include "components/kinds/vimages.h"
#include "components/kinds/vmapimage.h"
#include "components/kinds/vtile.h"
#include "components/objects/vcontrol.h"

namespace vesk {

// The kinds that have no behaviour of their own in this player: each class
// reports its kind, carries the properties every control (or every
// component) shares, and is saved and loaded with the common state. They
// draw, play and compute nothing; their own properties read as the base
// defaults and writes to them are ignored.

// Visible kinds.
class TVeskButton : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_BUTTON; }
};

class TVeskCinema : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_CINEMA; }
};

class TVeskEdit : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_EDIT; }
};

class TVeskFire : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_FIRE; }
};

class TVeskLabel : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_LABEL; }
};

class TVeskMemo : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_MEMO; }
};

class TVeskMenu : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_MENU; }
};

class TVeskMes : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_MES; }
};

class TVeskParticle : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_PARTICLE; }
};

class TVeskVideo : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_VIDEO; }
};

class TVeskWave : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_WAVE; }
};

class TVeskSlider : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_SLIDER; }
};

class TVeskScrollbar : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_SCROLLBAR; }
};

class TVeskGauge : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_GAUGE; }
};

class TVeskCGLabel : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_CGLABEL; }
};

class TVeskPrevMenu : public TVeskControl {
public:
    using TVeskControl::TVeskControl;
    std::uint8_t CompoType() const override { return LT_PREVMENU; }
};

// Non-visual kinds.
class TVeskHttp : public TVeskComponent {
public:
    using TVeskComponent::TVeskComponent;
    std::uint8_t CompoType() const override { return LT_HTTP; }
};

class TVeskTimer : public TVeskComponent {
public:
    using TVeskComponent::TVeskComponent;
    std::uint8_t CompoType() const override { return LT_TIMER; }
};

class TVeskSound : public TVeskComponent {
public:
    using TVeskComponent::TVeskComponent;
    std::uint8_t CompoType() const override { return LT_SOUND; }
};

class TVeskPropMotion : public TVeskComponent {
public:
    using TVeskComponent::TVeskComponent;
    std::uint8_t CompoType() const override { return LT_PROPMOTION; }
};

class TVeskBaseList;

// The kind factory: a new, empty object of the kind (the low 7 bits of the
// byte) for the registry, not yet adopted by it; nullptr for LT_NONE,
// LT_AUDIO, LT_MAP and values above LT_CABINET.
std::unique_ptr<TVeskObject> CreateComponent(std::uint8_t kind, TVeskBaseList* owner);

}  // namespace vesk
