#pragma once

#include "script/command.h"

namespace vesk {

class TComCalc final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_CALC; }
    void Fields(TFieldVisitor& v) override { v.Op("do", Expression); }
    void Execute(TCallMan& cm) override;
    TOpList Expression;
};

class TComVarNew final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_VARNEW; }
    void Fields(TFieldVisitor& v) override {
        v.Str("name", Name);
        v.Byte("kind", VarKind);
        v.Op("init", Initial);
        v.Byte("scope", Scope);
    }
    void Execute(TCallMan& cm) override;
    std::string Name;
    std::uint8_t VarKind = 1;
    TOpList Initial;
    std::uint8_t Scope = 0;
};

class TComVarDel final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_VARDEL; }
    void Fields(TFieldVisitor& v) override { v.Str("name", Name); }
    void Execute(TCallMan& cm) override;
    std::string Name;
};

class TComGetProp final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_GETPROP; }
    void Fields(TFieldVisitor& v) override {
        v.Op("object", Component);
        v.Op("prop", Property);
        v.Str("var", VarName);
    }
    void Execute(TCallMan& cm) override;
    TOpList Component;
    TOpList Property;
    std::string VarName;
};

class TComSetProp final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_SETPROP; }
    void Fields(TFieldVisitor& v) override {
        v.Op("object", Component);
        v.Op("prop", Property);
        v.Op("value", Value);
    }
    void Execute(TCallMan& cm) override;
    TOpList Component;
    TOpList Property;
    TOpList Value;
};

class TComObjDel final : public TCommand {
public:
    using TCommand::TCommand;
    std::uint8_t Kind() const override { return CK_OBJDEL; }
    void Fields(TFieldVisitor& v) override { v.Op("object", Component); }
    void Execute(TCallMan& cm) override;
    TOpList Component;
};

}  // namespace vesk
