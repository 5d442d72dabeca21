#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/recording_audio_device.h"
#include "tests/app/test_support.h"
#include "tests/platform/platform_fakes.h"

namespace vesk::platform {
namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t U16(const std::string& b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// Reads a WAV file back, checking every field of its header against the
// format and the file's own length, and returns its samples.
std::vector<std::int16_t> ReadWav(const std::string& path, const TAudioFormat& format) {
    const std::string b = test::ReadFile(path);
    EXPECT_GE(b.size(), 44u);
    if (b.size() < 44) return {};
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(U32(b, 4), b.size() - 8);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(b, 16), 16u);
    EXPECT_EQ(U16(b, 20), 1u);  // PCM
    EXPECT_EQ(U16(b, 22), format.Channels);
    EXPECT_EQ(U32(b, 24), std::uint32_t(format.SampleRate));
    EXPECT_EQ(U32(b, 28), std::uint32_t(format.SampleRate * format.Channels * 2));
    EXPECT_EQ(U16(b, 32), format.Channels * 2);
    EXPECT_EQ(U16(b, 34), 16u);
    EXPECT_EQ(b.substr(36, 4), "data");
    EXPECT_EQ(U32(b, 40), b.size() - 44);
    std::vector<std::int16_t> samples((b.size() - 44) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::int16_t(U16(b, 44 + 2 * i));
    return samples;
}

// A fill that writes a running count (negative on odd samples, so both
// bytes and the sign reach the file) and keeps the size of every call.
struct TCountingFill {
    std::vector<std::size_t> calls;
    int next = 1;
    TAudioFill Fill() {
        return [this](std::span<std::int16_t> s) {
            calls.push_back(s.size());
            for (std::int16_t& v : s) {
                v = std::int16_t(next % 2 ? -next * 37 : next * 37);
                ++next;
            }
        };
    }
};

std::vector<std::int16_t> Counted(int from, int count) {
    std::vector<std::int16_t> out;
    for (int n = from; n < from + count; ++n) out.push_back(std::int16_t(n % 2 ? -n * 37 : n * 37));
    return out;
}

class RecordingAudioTest : public ::testing::Test {
protected:
    std::unique_ptr<TRecordingAudioDevice> Open(TAudioFill fill) {
        return std::make_unique<TRecordingAudioDevice>(format_, std::move(fill), OpenFile(wav_, FileMode::Create));
    }
    test::TTempDir dir_;
    std::string wav_ = dir_ / "out.wav";
    TAudioFormat format_{.SampleRate = 22050, .Channels = 2, .FramesPerBuffer = 100};
    TCountingFill fill_;
};

TEST_F(RecordingAudioTest, PullsExactlyTheFramesAskedInBuffersOfTheDeviceSize) {
    auto device = Open(fill_.Fill());
    EXPECT_TRUE(device->Paused());  // opens paused, as a real device does
    device->Resume();
    device->Render(250);
    device->Render(0);
    device->Render(30);
    EXPECT_EQ(fill_.calls, (std::vector<std::size_t>{200, 200, 100, 60}));
    EXPECT_EQ(device->FramesRendered(), 280);
    device->Close();
    EXPECT_EQ(ReadWav(wav_, format_), Counted(1, 560));
}

TEST_F(RecordingAudioTest, PausedPlaysSilenceWithoutCallingTheFill) {
    auto device = Open(fill_.Fill());
    device->Render(10);  // still paused since opening
    device->Resume();
    device->Render(5);
    device->Pause();
    device->Pause();
    device->Render(3);
    EXPECT_TRUE(device->Paused());
    device->Resume();  // one Resume undoes any number of Pauses
    EXPECT_FALSE(device->Paused());
    device->Render(2);
    EXPECT_EQ(fill_.calls, (std::vector<std::size_t>{10, 4}));
    device->Close();
    std::vector<std::int16_t> expected(20, 0);
    const auto first = Counted(1, 10), second = Counted(11, 4);
    expected.insert(expected.end(), first.begin(), first.end());
    expected.insert(expected.end(), 6, 0);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(ReadWav(wav_, format_), expected);
}

// The device reuses its buffer, so what a short fill leaves must be
// cleared, not the previous buffer's sound.
TEST_F(RecordingAudioTest, WhatTheFillLeavesUnwrittenIsSilence) {
    int call = 0;
    auto device = Open([&call](std::span<std::int16_t> s) {
        const std::size_t written = ++call == 1 ? s.size() : 4;
        for (std::size_t i = 0; i < written; ++i) s[i] = 1000;
    });
    device->Resume();
    device->Render(100);
    device->Render(100);
    device->Close();
    const auto samples = ReadWav(wav_, format_);
    ASSERT_EQ(samples.size(), 400u);
    std::vector<std::int16_t> expected(200, 1000);
    expected.insert(expected.end(), 4, 1000);
    expected.insert(expected.end(), 196, 0);
    EXPECT_EQ(samples, expected);
}

// The header is brought up to date after every render, so a run that stops
// without closing its device leaves a whole file.
TEST_F(RecordingAudioTest, TheFileIsWholeWhileTheDeviceIsOpenAndAfterClosingTwice) {
    auto device = Open(fill_.Fill());
    EXPECT_TRUE(ReadWav(wav_, format_).empty());
    device->Resume();
    device->Render(7);
    EXPECT_EQ(ReadWav(wav_, format_), Counted(1, 14));
    device->Close();
    device->Close();
    device->Render(50);
    device->Resume();
    EXPECT_EQ(fill_.calls.size(), 1u);
    EXPECT_EQ(device->FramesRendered(), 7);
    EXPECT_EQ(ReadWav(wav_, format_), Counted(1, 14));
}

TEST_F(RecordingAudioTest, MonoAndNoFile) {
    format_.Channels = 1;
    auto device = Open(fill_.Fill());
    device->Resume();
    device->Render(3);
    device.reset();
    EXPECT_EQ(ReadWav(wav_, format_), Counted(1, 3));

    TRecordingAudioDevice dropped(format_, fill_.Fill(), nullptr);
    dropped.Resume();
    dropped.Render(150);
    EXPECT_EQ(fill_.calls, (std::vector<std::size_t>{3, 100, 50}));
    EXPECT_THROW(dropped.Render(-1), std::invalid_argument);
}

TEST_F(RecordingAudioTest, TheLockKeepsTheFillOut) {
    std::atomic<int> calls = 0;
    TRecordingAudioDevice device(format_, [&calls](std::span<std::int16_t>) { ++calls; }, nullptr);
    device.Resume();
    std::thread puller;
    {
        TAudioDeviceLock hold(device);
        TAudioDeviceLock nested(device);
        puller = std::thread([&device] { device.Render(100); });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(calls, 0);
    }
    puller.join();
    EXPECT_EQ(calls, 1);
}

TEST(AudioDeviceArguments, BadFormatsAndAMissingFillAreRefusedWithTheFieldNamed) {
    struct Case {
        TAudioFormat format;
        const char* field;
    } cases[] = {
        {{.Channels = 0}, "channel count 0"},
        {{.Channels = 6}, "channel count 6"},
        {{.BitsPerSample = 8}, "bits per sample 8"},
        {{.BitsPerSample = 24}, "bits per sample 24"},
        {{.SampleRate = 0}, "sample rate 0"},
        {{.SampleRate = 1000000}, "sample rate 1000000"},
        {{.FramesPerBuffer = 0}, "frames per buffer 0"},
        {{.FramesPerBuffer = 65536}, "frames per buffer 65536"},
    };
    const TAudioFill fill = [](std::span<std::int16_t>) {};
    test::TBarePlatform bare;
    THeadlessPlatform headless;
    for (const Case& c : cases) {
        for (TPlatform* platform : {static_cast<TPlatform*>(&bare), static_cast<TPlatform*>(&headless)}) {
            try {
                platform->OpenAudioDevice(c.format, fill);
                ADD_FAILURE() << c.field << " was accepted by " << platform->Name();
            } catch (const std::invalid_argument& e) {
                EXPECT_NE(std::strstr(e.what(), c.field), nullptr) << e.what();
            }
        }
        EXPECT_THROW(TRecordingAudioDevice(c.format, fill, nullptr), std::invalid_argument) << c.field;
    }
    EXPECT_THROW(bare.OpenAudioDevice({}, nullptr), std::invalid_argument);
    EXPECT_THROW(TRecordingAudioDevice({}, nullptr, nullptr), std::invalid_argument);
}

TEST(NullAudioDevice, TakesEveryCallAndConsumesNothing) {
    test::TBarePlatform platform;
    int calls = 0;
    const TAudioFormat format{.SampleRate = 48000, .Channels = 1, .FramesPerBuffer = 512};
    auto device = platform.OpenAudioDevice(format, [&calls](std::span<std::int16_t>) { ++calls; });
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Format(), format);
    EXPECT_TRUE(device->Paused());
    device->Resume();
    EXPECT_FALSE(device->Paused());
    {
        TAudioDeviceLock hold(*device);
    }
    device->Pause();
    EXPECT_TRUE(device->Paused());
    device->Close();
    device->Close();
    EXPECT_EQ(calls, 0);
}

TEST(HeadlessAudio, TheFrameStepPullsTheDeviceTheEngineOwns) {
    test::TTempDir dir;
    THeadlessPlatform platform;
    platform.RenderAudio(100);  // nothing open yet
    platform.RecordAudio(OpenFile(dir / "mix.wav", FileMode::Create));
    TCountingFill fill;
    const TAudioFormat format{.FramesPerBuffer = 64};
    auto device = platform.OpenAudioDevice(format, fill.Fill());
    ASSERT_NE(device, nullptr);
    device->Resume();
    platform.RenderAudio(100);
    EXPECT_EQ(fill.calls, (std::vector<std::size_t>{128, 72}));
    device.reset();
    platform.RenderAudio(100);
    EXPECT_EQ(fill.calls.size(), 2u);
    EXPECT_EQ(ReadWav(dir / "mix.wav", format), Counted(1, 200));

    // Without a file the sound is pulled all the same, so it takes the same
    // time to play.
    TCountingFill unkept;
    auto second = platform.OpenAudioDevice(format, unkept.Fill());
    second->Resume();
    platform.RenderAudio(10);
    EXPECT_EQ(unkept.calls, (std::vector<std::size_t>{20}));
}

TEST(HeadlessAudio, AWavFileThatCannotBeWrittenOpensNoDeviceAndSaysWhy) {
    THeadlessPlatform platform;
    platform.RecordAudio(std::make_unique<test::TFullStream>());
    std::string error;
    EXPECT_EQ(platform.OpenAudioDevice({}, [](std::span<std::int16_t>) {}, &error), nullptr);
    EXPECT_NE(error, "");
}

}  // namespace
}  // namespace vesk::platform
