#pragma once

#include "script/command.h"

namespace vesk {

// Conditions: If runs its block when the condition holds, else scans its
// Elseif and Else commands at the same Indent. An Elseif or Else reached in
// the normal flow skips its block.
class TComIf final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_IF; }
    void Fields(TFieldVisitor& v) override { v.Op("if", Condition); }
    void Execute(TCallMan& cm) override;
    TOpList Condition;
};

class TComElseif final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_ELSEIF; }
    void Fields(TFieldVisitor& v) override { v.Op("if", Condition); }
    void Execute(TCallMan& cm) override;
    TOpList Condition;
};

class TComElse final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_ELSE; }
    bool ContinueAfter() const override { return true; }
    void Execute(TCallMan& cm) override;
};

class TComLabel final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_LABEL; }
    bool IsLabel(const std::string& name) const override { return name == Name; }
    void Fields(TFieldVisitor& v) override { v.Str("name", Name); }
    std::string Name;
};

class TComComment final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_COMMENT; }
    bool ContinueAfter() const override { return false; }
    bool IsMuted() const override { return true; }
    void Fields(TFieldVisitor& v) override { v.Str("text", Text); }
    std::string Text;
};

class TComJump final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_JUMP; }
    void Fields(TFieldVisitor& v) override {
        v.Str("page", PageName);
        v.Int("target", Target);
        v.Op("if", Condition);
    }
    void Execute(TCallMan& cm) override;
    std::string PageName;
    std::int32_t Target = 0;
    TOpList Condition;
};

class TComCall final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_CALL; }
    void Fields(TFieldVisitor& v) override {
        v.Str("page", PageName);
        v.Int("target", Target);
        v.Str("result", ResultName);
        v.Op("if", Condition);
        v.OpArray("args", Arguments);
    }
    void Execute(TCallMan& cm) override;
    std::string PageName;
    std::int32_t Target = 0;
    std::string ResultName;
    TOpList Condition;
    std::vector<TOpList> Arguments;
};

class TComExit final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_EXIT; }
    void Fields(TFieldVisitor& v) override { v.Op("if", Condition); }
    void Execute(TCallMan& cm) override;
    TOpList Condition;
};

// Loops: WhileInit once, While tests at the top and leaves by Exit,
// WhileLoop steps and goes back to Target; Break and Continue jump to their
// targets, and a negative target ends the page.
class TComWhile final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_WHILE; }
    void Fields(TFieldVisitor& v) override {
        v.Op("if", Condition);
        v.Int("exit", ExitIndex);
    }
    void Execute(TCallMan& cm) override;
    TOpList Condition;
    std::int32_t ExitIndex = 0;
};

class TComWhileInit final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_WHILEINIT; }
    bool ContinueAfter() const override { return true; }
    void Fields(TFieldVisitor& v) override { v.Op("do", Init); }
    void Execute(TCallMan& cm) override;
    TOpList Init;
};

class TComWhileLoop final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_WHILELOOP; }
    void Fields(TFieldVisitor& v) override {
        v.Op("do", Step);
        v.Int("target", Target);
    }
    void Execute(TCallMan& cm) override;
    TOpList Step;
    std::int32_t Target = 0;
};

class TComBreak final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_BREAK; }
    void Fields(TFieldVisitor& v) override {
        v.Op("if", Condition);
        v.Int("target", Target);
    }
    void Execute(TCallMan& cm) override;
    TOpList Condition;
    std::int32_t Target = 0;
};

class TComContinue final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_CONTINUE; }
    void Fields(TFieldVisitor& v) override {
        v.Op("if", Condition);
        v.Int("target", Target);
    }
    void Execute(TCallMan& cm) override;
    TOpList Condition;
    std::int32_t Target = 0;
};

}  // namespace vesk
