#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"
#include "components/objects/objectid.h"
#include "values/params.h"

namespace vesk {

class TParamCollection;

// One call frame: what the flow had when it left a page for a call or an
// event page, and the called page's return value.
struct TStack {
    std::string PageName;
    std::int32_t ReturnIndex = 0;
    bool Entered = false;
    std::string ResultName;
    std::vector<std::string> Args;
    TObjectId Sender = kNoObject;
    bool RunOn = false;
    std::unique_ptr<TMemoryStream> State;   // SaveState of the command in progress
    std::unique_ptr<TCustomParam> Result;   // of the called page's result kind
    // Pushed by the start of an event page rather than by a call. Only the
    // return from such a frame ends an event page; returns from calls made
    // inside an event page leave the event nesting alone.
    bool FromEvent = false;

    void CopyFrom(const TStack& other);
};

// The call stack. Every push, pop and clear tells the variable table how
// deep the calls are, so local variables see their own depth. A popped
// frame is also copied into the spare frame, which saves carry.
class TStackList {
public:
    explicit TStackList(TParamCollection& vars) : vars_(vars) {}

    int Count() const { return static_cast<int>(frames_.size()); }
    bool Empty() const { return frames_.empty(); }
    TStack& At(int i) { return *frames_.at(static_cast<std::size_t>(i)); }
    TStack& Top() { return *frames_.back(); }
    const TStack& Spare() const { return spare_; }

    TStack& Push(std::unique_ptr<TStack> frame);
    // Raises "スタックエラー" on an empty stack.
    std::unique_ptr<TStack> Pop();
    void Clear();

private:
    void SyncDepth();

    TParamCollection& vars_;
    std::vector<std::unique_ptr<TStack>> frames_;
    TStack spare_;
};

}  // namespace vesk
