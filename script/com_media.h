#pragma once

#include "script/command.h"

namespace vesk {

// Media commands. They hold every stored field, so pages load, save and
// dump whole; executing one steps on to the next command, as no media
// playback is bound to them.

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

}  // namespace vesk
