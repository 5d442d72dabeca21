#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace vesk::platform {

// The stream an audio device plays: interleaved signed 16-bit samples in the
// machine's byte order (left, right, left, ... in stereo). The player's
// mixer writes 44100 Hz stereo, so those are the defaults.
struct TAudioFormat {
    int SampleRate = 44100;  // frames per second, 8000 to 192000
    int Channels = 2;        // 1 or 2: the only layouts the mixer writes
    int BitsPerSample = 16;  // 16 only: every backend plays it, the mixer makes it
    // The frames the device asks for at a time, 1 to 65535. It sets the
    // latency: one buffer is FramesPerBuffer / SampleRate seconds of sound.
    int FramesPerBuffer = 4096;

    friend bool operator==(const TAudioFormat&, const TAudioFormat&) = default;
};

// The mixer's side of the stream: fills a buffer of whole frames. The buffer
// arrives cleared to silence, so a callback with less to give writes only
// what it has (or nothing) and the rest plays silent. Its size can differ
// from one call to the next; it is never more than FramesPerBuffer frames.
//
// It runs on the device's thread (a real device's audio thread; the caller's
// thread for a device that is pulled on demand), never twice at once, and
// must neither call its device nor wait for anything the main thread may
// hold for long: a late buffer is a gap in the sound.
using TAudioFill = std::function<void(std::span<std::int16_t> samples)>;

// What every device is opened with: raises std::invalid_argument, naming
// the field, unless each field of the format lies in its range above, and
// when the fill is empty.
void CheckAudioArguments(const TAudioFormat& format, const TAudioFill& fill);

// One open output stream, pulled by the device: while it plays, the device
// calls the fill callback for every buffer it needs. A device opens paused,
// so the mixer can finish setting up before the first call; nothing calls
// the callback any more once Close returns.
class TAudioDevice {
public:
    // Closes the device.
    virtual ~TAudioDevice() = default;

    // The format the device plays, which is the one asked for except that a
    // backend may choose its own FramesPerBuffer.
    virtual const TAudioFormat& Format() const = 0;

    // While paused the device plays silence without calling the callback.
    // Pausing twice needs one Resume.
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual bool Paused() const = 0;

    // Lock waits for a running callback to return and keeps the next one from
    // starting until the matching Unlock; the main thread takes it around
    // changes to what the callback reads. Locks nest on one thread. Hold it
    // briefly: the sound stops while it is held.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

    // Stops the stream and lets the device go; later calls do nothing.
    virtual void Close() = 0;
};

// Holds a device's lock for a scope.
class TAudioDeviceLock {
public:
    explicit TAudioDeviceLock(TAudioDevice& device) : device_(device) { device_.Lock(); }
    ~TAudioDeviceLock() { device_.Unlock(); }
    TAudioDeviceLock(const TAudioDeviceLock&) = delete;
    TAudioDeviceLock& operator=(const TAudioDeviceLock&) = delete;

private:
    TAudioDevice& device_;
};

}  // namespace vesk::platform
