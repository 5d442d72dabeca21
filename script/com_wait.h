#pragma once

#include "script/command.h"

namespace vesk {

// Waits while its condition holds, for a time, or both; keeps event pages
// from starting while it waits when hold-events is set.
class TComWait final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_WAIT; }
    void Fields(TFieldVisitor& v) override {
        v.Op("if", Condition);
        v.Op("time", Time);
        v.Op("hold", Hold, 107);
    }
    void Enter(TCallMan& cm) override;
    void Execute(TCallMan& cm) override;
    bool BlocksEvents() const override { return HoldEvents; }
    bool Yields() const override { return true; }
    void SaveState(TStream& s) override;
    void LoadState(TStream& s) override;

    TOpList Condition;
    TOpList Time;
    TOpList Hold;

    std::int32_t Remaining = 0;
    std::int32_t FirstPass = 0;
    bool HoldEvents = false;
};

// Ends the frame's work here, in the main flow and in event pages alike.
class TComDoEvent final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_DOEVENT; }
    bool ContinueAfter() const override { return false; }
    bool Yields() const override { return true; }
};

// Quits the game: the index stays, the quit flag stops the interpreter.
class TComTerminate final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_TERMINATE; }
    void Execute(TCallMan& cm) override;
};

// Reads the "vesk" + three digits head of a command state; a state without
// it is of version 0 and the stream steps back.
int ReadStateVersion(TStream& s);
void WriteStateVersion(TStream& s, int version = 100);

}  // namespace vesk
