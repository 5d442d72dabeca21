#pragma once

#include "script/command.h"

namespace vesk {

// Creation commands: a property set (one operation list per property the
// page's mask carries for the kind). Creating the component and applying
// the properties is the registry's work; until it offers creation, these
// commands keep their properties and step on.
class TComComponent : public TCommand {
public:
    using TCommand::TCommand;
    void Fields(TFieldVisitor& v) override { v.Props(Props); }
    TPropertySet Props;
};

#define VESK_COMPONENT_COMMAND(Class, Code)                       \
    class Class final : public TComComponent {                    \
    public:                                                       \
        using TComComponent::TComComponent;                       \
        std::uint8_t Kind() const override { return Code; }       \
    };

VESK_COMPONENT_COMMAND(TComBoxNew, CK_BOXNEW)
VESK_COMPONENT_COMMAND(TComImgNew, CK_IMGNEW)
VESK_COMPONENT_COMMAND(TComMesNew, CK_MESNEW)
VESK_COMPONENT_COMMAND(TComTimer, CK_TIMER)
VESK_COMPONENT_COMMAND(TComMovie, CK_MOVIE)
VESK_COMPONENT_COMMAND(TComCinema, CK_CINEMA)
VESK_COMPONENT_COMMAND(TComCaption, CK_CAPTION)
VESK_COMPONENT_COMMAND(TComMenu, CK_MENU)
VESK_COMPONENT_COMMAND(TComBtnNew, CK_BUTTON)
VESK_COMPONENT_COMMAND(TComParticleNew, CK_PARTICLENEW)
VESK_COMPONENT_COMMAND(TComFireNew, CK_FIRENEW)
VESK_COMPONENT_COMMAND(TComSound, CK_SOUND)
VESK_COMPONENT_COMMAND(TComEditNew, CK_EDITNEW)
VESK_COMPONENT_COMMAND(TComMemoNew, CK_MEMONEW)
VESK_COMPONENT_COMMAND(TComMapImgNew, CK_MAPIMGNEW)
VESK_COMPONENT_COMMAND(TComWaveNew, CK_WAVENEW)
VESK_COMPONENT_COMMAND(TComTileNew, CK_TILENEW)
VESK_COMPONENT_COMMAND(TComSliderNew, CK_SLIDERNEW)
VESK_COMPONENT_COMMAND(TComScrollbarNew, CK_SCROLLBARNEW)
VESK_COMPONENT_COMMAND(TComGaugeNew, CK_GAUGENEW)
VESK_COMPONENT_COMMAND(TComCGCaption, CK_CGCAPTION)
VESK_COMPONENT_COMMAND(TComPrevMenuNew, CK_PREVMENUNEW)

#undef VESK_COMPONENT_COMMAND

// Cabinets move components out of and back onto the screens; only PR_NAME
// of their property set is used.
class TComCabinet : public TComComponent {
public:
    using TComComponent::TComComponent;
    void Fields(TFieldVisitor& v) override {
        v.Props(Props);
        v.Op("invert", Invert);
        v.OpArray("names", Names);
    }
    TOpList Invert;
    std::vector<TOpList> Names;
};

class TComCabinetSave final : public TComCabinet {
public:
    using TComCabinet::TComCabinet;
    std::uint8_t Kind() const override { return CK_SAVECABINET; }
};

class TComCabinetLoad final : public TComCabinet {
public:
    using TComCabinet::TComCabinet;
    std::uint8_t Kind() const override { return CK_LOADCABINET; }
};

}  // namespace vesk
