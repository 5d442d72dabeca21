#include "script/callman.h"

#include <cstdio>

#include "common/error.h"
#include "common/sjis.h"
#include "script/command.h"
#include "values/param_collection.h"

namespace vesk {

TCallMan::TCallMan(TScriptHost& host, TPageSource& pages, TComponentPort& components, TParamCollection& vars)
    : Stack(vars), host_(host), pages_(pages), components_(components), vars_(vars), cache_(pages) {}

TCallMan::~TCallMan() = default;

TPage* TCallMan::GetPage(const std::string& name, bool makeCurrent) {
    return cache_.Get(name, makeCurrent, CurrentPage);
}

TPage* TCallMan::Start(const std::string& name) {
    CurrentPage = GetPage(name, true);
    CommandIndex = 0;
    Entered = false;
    Args.clear();
    State = CS_MAIN;
    Stack.Clear();
    Sender = kNoObject;
    TTimerList& queue = components_.EventQueue();
    for (std::int32_t l = 1; l <= Level; ++l) queue.RemoveLevel(l);
    Level = 2;
    return CurrentPage;
}

std::string TCallMan::Arg(int i) const {
    return i >= 0 && i < ArgCount() ? Args[static_cast<std::size_t>(i)] : std::string();
}

std::string TCallMan::SenderName() {
    if (State == CS_MAIN || Sender == kNoObject || !components_.Exists(Sender)) return {};
    return components_.NameOf(Sender);
}

TCustomParam* TCallMan::TopResult() { return Stack.Empty() ? nullptr : Stack.Top().Result.get(); }

std::uint8_t TCallMan::ResultKind() const { return CurrentPage ? CurrentPage->ResultKind : 0; }

TCommand* TCallMan::CurrentCommand() const {
    return CurrentPage && CurrentPage->Inside(CommandIndex) ? &CurrentPage->Command(CommandIndex) : nullptr;
}

TStack& TCallMan::PushCurrent(const std::string& resultName) {
    auto frame = std::make_unique<TStack>();
    frame->PageName = CurrentPage ? CurrentPage->Name : std::string();
    frame->ReturnIndex = CommandIndex;
    frame->Entered = Entered;
    frame->ResultName = resultName;
    frame->Args = Args;
    frame->Sender = Sender;
    frame->RunOn = RunOn;
    return Stack.Push(std::move(frame));
}

std::string TraceLine(std::uint32_t clock, const std::string& page, std::int32_t line, bool event) {
    char head[32];
    std::snprintf(head, sizeof head, "%.8x : ", clock);
    return std::string(head) + (event ? "<Event>" : "") + page + "(" + std::to_string(line) + ")";
}

// One pass over the current command. Errors the command raises are
// swallowed: scripts never stop the game.
void TCallMan::ExecuteCurrent() {
    TCommand* command = CurrentCommand();
    if (!command) {
        CurrentPage = nullptr;
        return;
    }
    TPage* const page0 = CurrentPage;
    const std::int32_t index0 = CommandIndex;
    bool moved = false;
    try {
        if (host_.HasTrace() && command != lastTraced_) {
            host_.Trace(TraceLine(host_.PlayClock(), page0->Name, command->Line, false));
            lastTraced_ = command;
        }
        if (!Entered) {
            if (command->IsMuted()) {
                ++CommandIndex;
                return;
            }
            command->Enter(*this);
            Entered = true;
        }
        RunOn = command->ContinueAfter();
        yielded_ = command->Yields();
        command->Execute(*this);
    } catch (const std::exception&) {
        // The command's effect stops where the error arose.
    }
    moved = CurrentPage != page0 || CommandIndex != index0;
    // The entered mark belongs to the command it was set for: a command that
    // moved on and then failed must not leave the next one marked entered,
    // or that one would run without its Enter.
    if (moved) Entered = false;
    else if (Entered) stayed_ = true;
}

void TCallMan::ReturnFromCall() {
    vars_.DeleteOwnedBy(Stack.Count());
    std::unique_ptr<TStack> frame = Stack.Pop();
    returnedFromEvent_ = frame->FromEvent;
    if (!frame->ResultName.empty() && frame->Result) {
        try {
            if (TParamCollectionItem* target = vars_.Find(frame->ResultName)) {
                target->Value().ConvertFrom(*frame->Result);
            } else {
                // The value's text goes into a new string variable, which is
                // what assigning it as a quoted literal means; assignment
                // alone would not declare the variable and lose the result.
                TParamCollectionItem& created = vars_.AddOfKind(PT_STR);
                try {
                    created.SetVarName(frame->ResultName);
                } catch (...) {
                    vars_.DeleteItem(created);
                    throw;
                }
                created.Value().SetStr(frame->Result->AsStr());
            }
        } catch (const std::exception&) {
            // A result that cannot be stored is lost, as an assignment
            // failing inside an expression would be.
        }
    }
    CurrentPage = nullptr;
    CommandIndex = frame->ReturnIndex;
    Entered = frame->Entered;
    RunOn = frame->RunOn;
    Args = std::move(frame->Args);
    Sender = frame->Sender;
    // A frame saved while no page ran (an event that arrived after the main
    // flow ended) returns to no page.
    if (!frame->PageName.empty()) {
        try {
            CurrentPage = GetPage(frame->PageName, true);
        } catch (const std::exception&) {
            CurrentPage = nullptr;
        }
    }
    if (frame->State && CurrentCommand()) {
        frame->State->SetPosition(0);
        try {
            CurrentCommand()->LoadState(*frame->State);
        } catch (const std::exception&) {
            Entered = false;  // the command starts over instead
        }
    }
}

int TCallMan::RunOneCommand() {
    if (!CurrentPage) {
        RunOn = false;  // nothing to run: the frame's work is done
        return 0;
    }
    yielded_ = false;
    stayed_ = false;
    ExecuteCurrent();
    // A command that stays where it is without saying so would otherwise
    // be repeated forever within one frame whose clock does not advance.
    int r = yielded_ || stayed_ ? 2 : 0;
    if (stayed_ && State == CS_MAIN) RunOn = false;
    if (CurrentPage) return r;
    if (Stack.Empty()) {
        RunOn = false;
        return r;
    }
    returnedFromEvent_ = false;
    ReturnFromCall();
    if (!returnedFromEvent_) return r;
    if (Sender == kNoObject) return 1;
    return r == 0 ? -1 : r;
}

void SplitEventPage(const std::string& ref, std::string& page, std::string& label) {
    // Find the last separator that is a whole character.
    std::size_t colon = std::string::npos;
    std::size_t i = 0;
    std::vector<std::size_t> singles;
    while (i < ref.size()) {
        const std::size_t len = SjisCharLen(ref, i);
        if (len == 1) singles.push_back(i);
        i += len;
    }
    for (auto it = singles.rbegin(); it != singles.rend(); ++it) {
        const char c = ref[*it];
        if (c == '.' || c == '\\') break;
        if (c == ':') {
            colon = *it;
            break;
        }
    }
    page = colon == std::string::npos ? ref : ref.substr(0, colon);
    label = colon == std::string::npos ? std::string() : ref.substr(colon + 1);
    const std::size_t chars = SjisCharCount(page);
    const std::size_t cut = SjisByteOffset(page, chars >= 3 ? chars - 3 : 0);
    page = page.substr(0, cut) + "vks";
}

bool TCallMan::TryStartEvent(std::int32_t level) {
    if (Entered) {
        const TCommand* command = CurrentCommand();
        if (command && command->BlocksEvents()) return false;
    }
    TTimerList& queue = components_.EventQueue();
    TTimerData* entry = queue.FirstPending();
    if (!entry) return false;
    std::string pageName, label;
    SplitEventPage(entry->Page, pageName, label);
    if (!PageExists(pageName)) return false;
    TPage* page = nullptr;
    try {
        page = GetPage(pageName, true);
    } catch (const std::exception&) {
        // A damaged page would fail every frame: drop the event instead.
        entry->Level = -1;
        queue.RemoveLevel(-1);
        return false;
    }
    TStack& frame = PushCurrent({});
    frame.FromEvent = true;
    if (TCommand* command = Entered ? CurrentCommand() : nullptr) {
        frame.State = std::make_unique<TMemoryStream>();
        try {
            command->SaveState(*frame.State);
        } catch (const std::exception&) {
            frame.State.reset();
        }
    }
    CurrentPage = page;
    const std::int32_t at = label.empty() ? -1 : page->FindLabel(label);
    CommandIndex = at < 0 ? 0 : at;
    if (host_.HasTrace() && page->Inside(CommandIndex))
        host_.Trace(TraceLine(host_.PlayClock(), page->Name, page->Command(CommandIndex).Line, true));
    Entered = false;
    entry->Level = level;
    Args = entry->Args;
    Sender = entry->Sender;
    State = CS_EVENT;
    return true;
}

void TCallMan::Step() {
    // Every frame starts with the flow allowed to run; commands end the
    // frame's work by clearing RunOn or by yielding.
    RunOn = true;
    TTimerList& queue = components_.EventQueue();
    while ((RunOn || State != CS_MAIN) && !host_.QuitRequested()) {
        switch (State) {
        case CS_MAIN:
            if (!TryStartEvent(1)) RunOneCommand();
            break;
        case CS_EVENT: {
            const int r = RunOneCommand();
            if (r == 1) {
                queue.RemoveLevel(1);
                State = CS_MAIN;
                RunOn = true;
            } else if (r == 2) {
                Level = 2;
                State = CS_YIELDED;
                return;
            } else if (State != CS_EVENT) {
                RunOn = true;
            }
            break;
        }
        case CS_YIELDED:
            if (TryStartEvent(Level)) {
                ++Level;
                State = CS_NESTED;
            } else {
                State = Level > 2 ? CS_NESTED : CS_EVENT;
            }
            break;
        case CS_NESTED: {
            const int r = RunOneCommand();
            if (r == 1 || r == -1) {
                --Level;
                queue.RemoveLevel(Level);
                if (Level <= 2) State = CS_YIELDED;
            } else if (r == 2) {
                State = CS_YIELDED;
                return;
            }
            break;
        }
        default:
            State = CS_MAIN;  // a damaged save could hold anything
            break;
        }
    }
}

}  // namespace vesk
