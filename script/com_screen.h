#pragma once

#include "script/command.h"

namespace vesk {

// Screen, media and history commands. Their behaviour belongs to the
// component registry, the transitions, the media and the history; these
// classes hold every stored field so pages load, save and dump whole, and
// step on until those parts are attached.

// Flip: moves the selected components of the screen to the other base and
// switches to it, through a transition when it has a duration. Phase 0 and
// 1 take a pass each (the start of the transition is timed from the second);
// Phase 2 lasts while the transition runs; Phase 3 (no duration) finishes
// in the first pass.
class TComFlip final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_FLIP; }
    void Enter(TCallMan& cm) override;
    void Execute(TCallMan& cm) override;
    void Abort(TCallMan& cm) override;
    bool Yields() const override { return yields_; }
    bool BlocksEvents() const override { return holdEvents_; }
    void SaveState(TStream& s) override;
    void LoadState(TStream& s) override;
    void Fields(TFieldVisitor& v) override {
        v.Op("kind", WipeKind);
        v.Op("time", Duration);
        v.Op("transition", Transition);
        v.Op("select", SelectMode);
        v.OpArray("names", Names);
        v.Op("clear", Clear);
        v.Op("param1", Param1);
        v.Op("param2", Param2);
        v.Op("mask", MaskSource, 101);
        v.Op("hold", Hold, 107);
    }
    TOpList WipeKind, Duration, Transition, SelectMode;
    std::vector<TOpList> Names;
    TOpList Clear, Param1, Param2, MaskSource, Hold;

private:
    // Switches to the other base, drops the snapshot and, with Clear,
    // empties the base left behind (its cabinets too when withCabinets).
    void Finish(TCallMan& cm, bool withCabinets);

    int phase_ = 0;
    std::uint8_t wipeKind_ = 0;
    std::int32_t durationMs_ = 1;
    bool yields_ = false;
    bool holdEvents_ = false;
    bool clear_ = false;
    std::uint32_t start_ = 0;
};

class TComMovieStop final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_MOVIESTOP; }
    void Fields(TFieldVisitor& v) override {
        v.Op("object", Component);
        v.Op("fade", Fade);
        v.Op("wait", WaitOp);
        v.Op("hold", Hold, 107);
    }
    TOpList Component, Fade, WaitOp, Hold;
};

class TComMediaPlay final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_MEDIAPLAY; }
    void Fields(TFieldVisitor& v) override { v.Op("object", Component); }
    TOpList Component;
};

class TComTextIns final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_TEXTINS; }
    void Fields(TFieldVisitor& v) override {
        v.Str("text", Text);
        v.Op("box", Box);
        v.Op("read", ReadTracking);
        v.Op("wait", WaitOp);
        v.Op("hold", Hold, 107);
    }
    std::string Text;  // the message in the text engine's stored form
    TOpList Box, ReadTracking, WaitOp, Hold;
};

class TComTextClr final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_TEXTCLR; }
    void Fields(TFieldVisitor& v) override { v.Op("box", Box); }
    TOpList Box;
};

class TComCallHist final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_CALLHIST; }
    void Fields(TFieldVisitor& v) override {
        v.Op("box", Box);
        v.Op("first", First);
        v.Op("count", EntryCount);
        v.Op("flag", Flag);
        v.Op("format", Format, 111);
    }
    TOpList Box, First, EntryCount, Flag, Format;
};

class TComClrHist final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_CLRHIST; }
};

class TComEntryHist final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_FORMATHIST; }
    void Fields(TFieldVisitor& v) override {
        v.Op("object", Component);
        v.Op("format", Format, 111);
    }
    TOpList Component, Format;
};

class TComClrRead final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_CLRREAD; }
};

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

// Saves and loads only record a request that the project performs at the
// end of the frame; both end the frame's work.
class TComGameSave final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_GAMESAVE; }
    bool ContinueAfter() const override { return false; }
    void Fields(TFieldVisitor& v) override {
        v.Op("slot", Slot);
        v.Str("page", ResumePage);
        v.Int("index", ResumeIndex, 105);
        v.Op("title", Title);
    }
    TOpList Slot;
    std::string ResumePage;
    std::int32_t ResumeIndex = 0;
    TOpList Title;
};

class TComGameLoad final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_GAMELOAD; }
    bool ContinueAfter() const override { return false; }
    void Fields(TFieldVisitor& v) override { v.Op("slot", Slot); }
    TOpList Slot;
};

}  // namespace vesk
