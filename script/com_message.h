#pragma once

#include "script/command.h"

namespace vesk {

// Message commands: text into message boxes, the message history and the
// read marks. They hold every stored field, so pages load, save and dump
// whole. The player has no message box kind and no history, so the
// commands that address them find no target and step on; ClrRead empties
// the read marks.

// Its state (the box it feeds, whether it waits for the box to run out of
// pages, whether it holds events back meanwhile) travels with saved games,
// so a game saved while a text was showing reads back in step.
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
    void Enter(TCallMan& cm) override;
    bool Yields() const override { return Waiting; }
    bool BlocksEvents() const override { return HoldEvents; }
    void SaveState(TStream& s) override;
    void LoadState(TStream& s) override;

    std::string Text;  // the message in the text engine's stored form
    TOpList Box, ReadTracking, WaitOp, Hold;

    bool Waiting = false;
    bool HoldEvents = false;
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
    void Execute(TCallMan& cm) override;
};

}  // namespace vesk
