#pragma once

#include "components/kinds/kinds.h"
#include "script/command.h"

namespace vesk {

class TVeskBaseList;
class TVeskControl;
class TVeskObject;

// Creation commands: a property set (one operation list per property the
// page's mask carries for the kind). Each creates one component of its kind
// through the registry's kind factory and applies the properties. Commands
// of kinds the player does not create (CreatesKind LT_NONE) keep their
// properties and step on.
class TComComponent : public TCommand {
public:
    using TCommand::TCommand;
    void Fields(TFieldVisitor& v) override { v.Props(Props); }
    void Execute(TCallMan& cm) override;
    // The component kind the command creates; LT_NONE: none.
    virtual std::uint8_t CreatesKind() const { return LT_NONE; }
    // Runs before the properties are applied.
    virtual void Prepare(TVeskObject&) {}
    TPropertySet Props;
};

#define VESK_COMPONENT_COMMAND(Class, Code, Creates)                       \
    class Class final : public TComComponent {                             \
    public:                                                                \
        using TComComponent::TComComponent;                                \
        std::uint8_t Kind() const override { return Code; }                \
        std::uint8_t CreatesKind() const override { return Creates; }      \
    };

VESK_COMPONENT_COMMAND(TComBoxNew, CK_BOXNEW, LT_BOX)
VESK_COMPONENT_COMMAND(TComMesNew, CK_MESNEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComTimer, CK_TIMER, LT_NONE)
VESK_COMPONENT_COMMAND(TComMovie, CK_MOVIE, LT_NONE)
VESK_COMPONENT_COMMAND(TComCinema, CK_CINEMA, LT_NONE)
VESK_COMPONENT_COMMAND(TComCaption, CK_CAPTION, LT_NONE)
VESK_COMPONENT_COMMAND(TComMenu, CK_MENU, LT_NONE)
VESK_COMPONENT_COMMAND(TComBtnNew, CK_BUTTON, LT_NONE)
VESK_COMPONENT_COMMAND(TComParticleNew, CK_PARTICLENEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComFireNew, CK_FIRENEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComSound, CK_SOUND, LT_NONE)
VESK_COMPONENT_COMMAND(TComEditNew, CK_EDITNEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComMemoNew, CK_MEMONEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComMapImgNew, CK_MAPIMGNEW, LT_MAPIMG)
VESK_COMPONENT_COMMAND(TComWaveNew, CK_WAVENEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComTileNew, CK_TILENEW, LT_TILE)
VESK_COMPONENT_COMMAND(TComSliderNew, CK_SLIDERNEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComScrollbarNew, CK_SCROLLBARNEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComGaugeNew, CK_GAUGENEW, LT_NONE)
VESK_COMPONENT_COMMAND(TComCGCaption, CK_CGCAPTION, LT_NONE)
VESK_COMPONENT_COMMAND(TComPrevMenuNew, CK_PREVMENUNEW, LT_NONE)

#undef VESK_COMPONENT_COMMAND

// The image evaluates its own PR_DELAY expression (each time its last frame
// is entered), so it receives a copy of the command's list.
class TComImgNew final : public TComComponent {
public:
    using TComComponent::TComComponent;
    std::uint8_t Kind() const override { return CK_IMGNEW; }
    std::uint8_t CreatesKind() const override { return LT_IMAGES; }
    void Prepare(TVeskObject& obj) override;
};

// Cabinets move components out of and back onto the screens; only PR_NAME
// of their property set is used. A child is selected when whether its name
// is one of the names' texts differs from Invert.
class TComCabinet : public TComComponent {
public:
    using TComComponent::TComComponent;
    void Fields(TFieldVisitor& v) override {
        v.Props(Props);
        v.Op("invert", Invert);
        v.OpArray("names", Names);
    }
    // Moves every selected child of from (last to first) to to.
    void MoveSelected(TVeskControl& from, TVeskControl& to);
    TOpList Invert;
    std::vector<TOpList> Names;
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

// Commands on components that carry no property set. They hold every
// stored field, so pages load, save and dump whole; executing one steps on
// to the next command, as no property motion or menu is bound to them.

class TComPropMotion final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_PROPMOTION; }
    void Fields(TFieldVisitor& v) override {
        v.Op("name", Name);
        v.Op("object", Target);
        v.Op("prop", Property);
        v.Op("value", Value);
        v.Op("time", Duration);
        v.Op("type", MotionType);
        v.Op("paused", Paused, 108);
    }
    TOpList Name, Target, Property, Value, Duration, MotionType, Paused;
};

class TComMenuClose final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_MENUCLOSE; }
    void Fields(TFieldVisitor& v) override { v.Op("menu", Menu); }
    TOpList Menu;
};

}  // namespace vesk
