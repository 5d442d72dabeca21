#pragma once

#include "script/command.h"

namespace vesk {

// Restarts the game at a page: components, variables, tables and history
// formats go, the stack is cleared.
class TComReset final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_RESET; }
    void Fields(TFieldVisitor& v) override {
        v.Str("page", PageName);
        v.Int("target", Target);
        v.Byte("all", All);
    }
    void Execute(TCallMan& cm) override;
    std::string PageName;
    std::int32_t Target = 0;
    std::uint8_t All = 0;  // stored, not used
};

// Moves the flow to a page without touching the components: with All the
// whole stack is abandoned, otherwise only the main flow is redirected and
// the running event pages go on.
class TComPCReset final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_PCRESET; }
    void Fields(TFieldVisitor& v) override {
        v.Str("page", PageName);
        v.Int("target", Target);
        v.Byte("all", All);
    }
    void Execute(TCallMan& cm) override;
    std::string PageName;
    std::int32_t Target = 0;
    std::uint8_t All = 1;

private:
    void ResetAll(TCallMan& cm);
    void Redirect(TCallMan& cm);
};

}  // namespace vesk
