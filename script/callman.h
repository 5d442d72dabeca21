#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/registry/scriptport.h"
#include "script/pagecache.h"
#include "script/script_host.h"
#include "script/stack.h"

namespace vesk {

class TCommand;
class TParamCollection;

// Event nesting states of the interpreter.
enum TCallState : std::int32_t {
    CS_MAIN = 0,      // the main flow runs
    CS_EVENT = 1,     // an event page of level 1 runs
    CS_YIELDED = 2,   // an event page waits; newer events may nest
    CS_NESTED = 3,    // a nested event page runs
};

// The interpreter: runs the pages of the project frame by frame, with the
// call stack, event pages started from the component registry's queue and
// their nesting.
class TCallMan {
public:
    TCallMan(TScriptHost& host, TPageSource& pages, TComponentPort& components, TParamCollection& vars);
    ~TCallMan();

    // Makes the page current at command 0 with a fresh stack and no events
    // in progress. Returns the page.
    TPage* Start(const std::string& name);
    // Runs the interpreter for one frame.
    void Step();

    int ArgCount() const { return static_cast<int>(Args.size()); }
    std::string Arg(int i) const;
    // The Sender's name while an event page runs and the sender still exists.
    std::string SenderName();
    // The return value of the page being run by the top call, or nullptr.
    TCustomParam* TopResult();
    // Kind of the value the running page returns (0 when none runs).
    std::uint8_t ResultKind() const;

    TPage* GetPage(const std::string& name, bool makeCurrent);
    bool PageExists(const std::string& name) { return pages_.PageExists(name); }
    // Pushes a frame that saves the current flow, as a call or an event
    // page does before leaving it.
    TStack& PushCurrent(const std::string& resultName);

    // Called by Reset besides deleting components and variables: the script
    // tables and the message history formats are reset by their owners.
    std::function<void()> ResetOthers;

    TScriptHost& Host() { return host_; }
    TComponentPort& Components() { return components_; }
    TParamCollection& Vars() { return vars_; }

    // Interpreter state, read and changed by the commands.
    TPage* CurrentPage = nullptr;
    std::int32_t CommandIndex = 0;
    bool RunOn = false;
    TStackList Stack;
    bool Entered = false;
    std::vector<std::string> Args;
    std::int32_t State = CS_MAIN;
    TObjectId Sender = kNoObject;
    std::int32_t Level = 2;

private:
    void ExecuteCurrent();
    int RunOneCommand();
    void ReturnFromCall();
    bool TryStartEvent(std::int32_t level);
    TCommand* CurrentCommand() const;

    TScriptHost& host_;
    TPageSource& pages_;
    TComponentPort& components_;
    TParamCollection& vars_;
    TPageCache cache_;
    const TCommand* lastTraced_ = nullptr;
    bool yielded_ = false;            // the command just run yields
    bool stayed_ = false;             // it neither moved nor left its page
    bool returnedFromEvent_ = false;  // the last return ended an event page
};

// Splits an event's page reference into the page and the label: scanning
// from the end, a ':' met before any '.' or '\' separates them (a trail
// byte of a double-byte character never counts). The page's last three
// characters become "vks".
void SplitEventPage(const std::string& ref, std::string& page, std::string& label);

// "%.8x : %s(%d)" with the clock, the page name and the line.
std::string TraceLine(std::uint32_t clock, const std::string& page, std::int32_t line, bool event);

}  // namespace vesk
