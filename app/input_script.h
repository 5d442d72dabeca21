#pragma once

#include <string>
#include <vector>

#include "platform/window.h"

namespace vesk {

class TInputState;

// One line of a headless run's input file: the event happens before the
// frame step of that number (counted from 0).
struct TScriptedInput {
    int Frame = 0;
    platform::TPlatformEvent Event;
};

// Reads an input file's text, one event a line:
//   FRAME mousemove X Y | ldown | lup | rdown | rup | wheel N | keydown VK |
//   keyup VK | close
// "#" starts a comment; blank lines are skipped. X and Y are game-screen
// coordinates; a positive N turns the wheel up (away from the player) N
// notches, a negative one down; VK is a virtual-key code 1..255. Raises
// EVeskError naming the line for anything else. The result is ordered by
// frame, lines of one frame in file order.
std::vector<TScriptedInput> ParseInputScript(const std::string& text);

// Reads the file (native path) and parses it; raises EVeskError when it
// cannot be read.
std::vector<TScriptedInput> ReadInputScript(const std::string& path);

// Hands a parsed input file to the input state frame by frame.
class TInputFeed {
public:
    explicit TInputFeed(std::vector<TScriptedInput> events) : events_(std::move(events)) {}
    // Applies the events of this frame and of earlier frames not yet given;
    // true when one of them closes the window.
    bool Feed(int frame, TInputState& input);
    // Whether events of this frame or later are still to come.
    bool Pending() const { return next_ < events_.size(); }

private:
    std::vector<TScriptedInput> events_;
    std::size_t next_ = 0;
};

}  // namespace vesk
