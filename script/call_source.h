#pragma once

#include "script/callman.h"
#include "values/sysvar_sources.h"

namespace vesk {

// What "@Result", "@ParamCount", "@ParamStr" and "@Sender" read: the running
// call of the interpreter.
class TCallManSource final : public TSysCallSource {
public:
    explicit TCallManSource(TCallMan* cm = nullptr) : cm_(cm) {}
    void Bind(TCallMan* cm) { cm_ = cm; }

    TCustomParam* Result() override { return cm_ ? cm_->TopResult() : nullptr; }
    std::uint8_t ResultKind() override { return cm_ ? cm_->ResultKind() : PT_NONE; }
    int ParamCount() override { return cm_ ? cm_->ArgCount() : 0; }
    std::string ParamStr(int i) override { return cm_ ? cm_->Arg(i) : std::string(); }
    std::string Sender() override { return cm_ ? cm_->SenderName() : std::string(); }

private:
    TCallMan* cm_;
};

}  // namespace vesk
