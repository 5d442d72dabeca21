#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vesk {

class TVeskControl;

// A control's binding to an animation timeline: the timeline player moves
// the control (its motion position and priority offset) frame by frame.
// Controls only drive it; the player that reads motion files supplies the
// implementation through the registry's motion factory.
class TVeskMotion {
public:
    virtual ~TVeskMotion() = default;
    // One update of elapsedMs; true in the update in which the timeline
    // reached its end (reported once, again only after a re-anchoring).
    virtual bool Step(std::int32_t elapsedMs) = 0;
    virtual bool Ended() const = 0;
    virtual std::int32_t FrameCount() const = 0;
    // Positions the clock at ms (PR_INDEX of images seeks by frame).
    virtual void Seek(double ms) = 0;
    // Plays an ended motion again from its start (PR_REPEAT set to true).
    virtual void Restart() = 0;
};

// Makes the motion of a motion file for a control; nullptr when the file
// cannot be played. Without a factory no control gets a motion.
using TMotionFactory = std::function<std::unique_ptr<TVeskMotion>(TVeskControl&, const std::string& file)>;

}  // namespace vesk
