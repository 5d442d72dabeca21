#pragma once

#include "components/kinds.h"
#include "script/command.h"

namespace vesk {

class TVeskControl;

// Creation commands: a property set (one operation list per property the
// page's mask carries for the kind). Each creates one component of its kind
// with the registry and applies the properties. The kinds whose components
// are not built yet keep their properties and step on.
class TComComponent : public TCommand {
public:
    using TCommand::TCommand;
    void Fields(TFieldVisitor& v) override { v.Props(Props); }
    void Execute(TCallMan& cm) override;
    // The component kind created; 0 for commands that only step on.
    virtual std::uint8_t ComponentKind() const { return 0; }
    TPropertySet Props;
};

#define VESK_COMPONENT_COMMAND(Class, Code, Creates)                           \
    class Class final : public TComComponent {                                 \
    public:                                                                    \
        using TComComponent::TComComponent;                                    \
        std::uint8_t Kind() const override { return Code; }                    \
        std::uint8_t ComponentKind() const override { return Creates; }        \
    };

VESK_COMPONENT_COMMAND(TComBoxNew, CK_BOXNEW, LT_BOX)
VESK_COMPONENT_COMMAND(TComImgNew, CK_IMGNEW, LT_IMAGES)
VESK_COMPONENT_COMMAND(TComMesNew, CK_MESNEW, 0)
VESK_COMPONENT_COMMAND(TComTimer, CK_TIMER, 0)
VESK_COMPONENT_COMMAND(TComMovie, CK_MOVIE, 0)
VESK_COMPONENT_COMMAND(TComCinema, CK_CINEMA, 0)
VESK_COMPONENT_COMMAND(TComCaption, CK_CAPTION, 0)
VESK_COMPONENT_COMMAND(TComMenu, CK_MENU, 0)
VESK_COMPONENT_COMMAND(TComBtnNew, CK_BUTTON, 0)
VESK_COMPONENT_COMMAND(TComParticleNew, CK_PARTICLENEW, 0)
VESK_COMPONENT_COMMAND(TComFireNew, CK_FIRENEW, 0)
VESK_COMPONENT_COMMAND(TComSound, CK_SOUND, 0)
VESK_COMPONENT_COMMAND(TComEditNew, CK_EDITNEW, 0)
VESK_COMPONENT_COMMAND(TComMemoNew, CK_MEMONEW, 0)
VESK_COMPONENT_COMMAND(TComMapImgNew, CK_MAPIMGNEW, LT_MAPIMG)
VESK_COMPONENT_COMMAND(TComWaveNew, CK_WAVENEW, 0)
VESK_COMPONENT_COMMAND(TComTileNew, CK_TILENEW, LT_TILE)
VESK_COMPONENT_COMMAND(TComSliderNew, CK_SLIDERNEW, 0)
VESK_COMPONENT_COMMAND(TComScrollbarNew, CK_SCROLLBARNEW, 0)
VESK_COMPONENT_COMMAND(TComGaugeNew, CK_GAUGENEW, 0)
VESK_COMPONENT_COMMAND(TComCGCaption, CK_CGCAPTION, 0)
VESK_COMPONENT_COMMAND(TComPrevMenuNew, CK_PREVMENUNEW, 0)

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

protected:
    // Whether a child moves: its name is one of the names' texts, unless
    // the command inverts the choice.
    bool Selected(const TVeskControl& child) const;
    // Evaluates the invert flag and the names, once per execution.
    void EvaluateChoice();

private:
    bool invert_ = false;
    std::vector<std::string> chosen_;
};

class TComCabinetSave final : public TComCabinet {
public:
    using TComCabinet::TComCabinet;
    std::uint8_t Kind() const override { return CK_SAVECABINET; }
    void Execute(TCallMan& cm) override;
};

class TComCabinetLoad final : public TComCabinet {
public:
    using TComCabinet::TComCabinet;
    std::uint8_t Kind() const override { return CK_LOADCABINET; }
    void Execute(TCallMan& cm) override;
};

}  // namespace vesk
