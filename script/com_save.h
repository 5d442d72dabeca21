#pragma once

#include "script/command.h"

namespace vesk {

// Game save and load. They hold every stored field, so pages load, save and
// dump whole; executing one steps on to the next command and ends the
// frame's work, as no save or load is bound to them.
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
