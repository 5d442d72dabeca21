#include "components/registry/input_state.h"

#include <utility>

namespace vesk {

using platform::TPlatformEvent;

void TInputState::SetActive(bool active) {
    if (active_ && !active) ReleaseAll();
    active_ = active;
}

// Losing the window also loses the key-up and button-up messages: nothing
// stays held while the window is away.
void TInputState::ReleaseAll() {
    for (int vk = 1; vk < 256; ++vk)
        if (keys_[vk].held) KeyUp(vk);
    lHeld_ = rHeld_ = false;
}

void TInputState::Apply(const TPlatformEvent& e) {
    switch (e.kind) {
        case TPlatformEvent::Kind::Activate: SetActive(true); break;
        case TPlatformEvent::Kind::Deactivate: SetActive(false); break;
        case TPlatformEvent::Kind::KeyDown:
            if (!e.repeat) KeyDown(e.key);
            break;
        case TPlatformEvent::Kind::KeyUp: KeyUp(e.key); break;
        case TPlatformEvent::Kind::MouseDown:
            MouseMove(e.x, e.y);
            MouseDown(e.button);
            break;
        case TPlatformEvent::Kind::MouseUp:
            MouseMove(e.x, e.y);
            MouseUp();
            break;
        case TPlatformEvent::Kind::MouseMove: MouseMove(e.x, e.y); break;
        case TPlatformEvent::Kind::WheelDown: Wheel(true); break;
        case TPlatformEvent::Kind::WheelUp: Wheel(false); break;
        default: break;
    }
}

void TInputState::KeyDown(int vk) {
    if (!active_ || !IsKey(vk)) return;
    // A second down without an up in between is a repeat, whoever sent it.
    if (keys_[vk].held) return;
    keys_[vk].held = true;
    rawDown_.push_back(vk);
}

void TInputState::KeyUp(int vk) {
    if (!IsKey(vk) || !keys_[vk].held) return;
    keys_[vk].held = false;
    rawUp_.push_back(vk);
}

void TInputState::MouseDown(TPlatformEvent::Button button) {
    if (!active_) return;
    if (button == TPlatformEvent::Button::Left) {
        lHeld_ = true;
        rHeld_ = false;
        rawLPress_ = true;
    } else if (button == TPlatformEvent::Button::Right) {
        rHeld_ = true;
        lHeld_ = false;
        rawRPress_ = true;
    }
}

void TInputState::MouseUp() { lHeld_ = rHeld_ = false; }

void TInputState::MouseMove(std::int32_t x, std::int32_t y) {
    mouseX_ = x;
    mouseY_ = y;
}

void TInputState::Wheel(bool down) {
    if (!active_) return;
    (down ? rawWheelDown_ : rawWheelUp_) = true;
}

void TInputState::BeginFrame(std::int32_t elapsedMs) {
    lClick_ = std::exchange(rawLPress_, false);
    rClick_ = std::exchange(rawRPress_, false);
    wheelDown_ = std::exchange(rawWheelDown_, false);
    wheelUp_ = std::exchange(rawWheelUp_, false);
    wentDown_.clear();
    wentUp_.clear();
    repeated_.clear();

    for (int vk = 1; vk < 256; ++vk) {
        TKey& k = keys_[vk];
        k.pressed = false;
        k.repeat = false;
        if (!k.held) continue;
        k.countdown -= elapsedMs;
        if (k.countdown <= 0) {
            k.repeat = true;
            k.countdown += kKeyRepeatInterval;
            repeated_.push_back(vk);
        }
    }
    // A key that went down (even when already released again) is pressed
    // and repeating in this frame and starts its repeat delay.
    for (int vk : rawDown_) {
        TKey& k = keys_[vk];
        if (k.pressed) continue;
        k.pressed = true;
        k.countdown = kKeyRepeatDelay;
        wentDown_.push_back(vk);
        if (!k.repeat) {
            k.repeat = true;
            repeated_.push_back(vk);
        }
    }
    wentUp_ = std::move(rawUp_);
    rawDown_.clear();
    rawUp_.clear();
}

void TInputState::SetMouseX(std::int32_t x) {
    mouseX_ = x;
    if (MoveCursor) MoveCursor(mouseX_, mouseY_);
}

void TInputState::SetMouseY(std::int32_t y) {
    mouseY_ = y;
    if (MoveCursor) MoveCursor(mouseX_, mouseY_);
}

bool TInputState::KeyPush(int k) {
    if (k == 256) return wheelDown_;
    if (k == 257) return wheelUp_;
    return IsKey(k) && keys_[k].held;
}

bool TInputState::KeyClick(int k) {
    if (k == 256) return wheelDown_;
    if (k == 257) return wheelUp_;
    return IsKey(k) && keys_[k].pressed;
}

bool TInputState::KeyRepeat(int k) {
    if (k == 256) return wheelDown_;
    if (k == 257) return wheelUp_;
    return IsKey(k) && keys_[k].repeat;
}

}  // namespace vesk
