#include "script/stack.h"

#include "common/cp932.h"
#include "common/error.h"
#include "values/param_collection.h"

namespace vesk {

void TStack::CopyFrom(const TStack& other) {
    PageName = other.PageName;
    ReturnIndex = other.ReturnIndex;
    Entered = other.Entered;
    ResultName = other.ResultName;
    Args = other.Args;
    Sender = other.Sender;
    RunOn = other.RunOn;
    FromEvent = other.FromEvent;
    State.reset();
    if (other.State) State = std::make_unique<TMemoryStream>(other.State->Bytes());
    Result.reset();
    if (other.Result) {
        Result = CreateParam(other.Result->Kind());
        if (Result) Result->Assign(*other.Result);
    }
}

TStack& TStackList::Push(std::unique_ptr<TStack> frame) {
    frames_.push_back(std::move(frame));
    SyncDepth();
    return *frames_.back();
}

std::unique_ptr<TStack> TStackList::Pop() {
    if (frames_.empty()) throw EVeskError(Sj("スタックエラー"));
    std::unique_ptr<TStack> frame = std::move(frames_.back());
    frames_.pop_back();
    spare_.CopyFrom(*frame);
    SyncDepth();
    return frame;
}

void TStackList::Clear() {
    frames_.clear();
    SyncDepth();
}

void TStackList::SyncDepth() { vars_.CurrentDepth = Count(); }

}  // namespace vesk
