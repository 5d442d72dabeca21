#include <gtest/gtest.h>

#include <numeric>

#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/recording_midi_port.h"
#include "tests/app/test_support.h"
#include "tests/platform/platform_fakes.h"

namespace vesk::platform {
namespace {

using test::TManualClock;
using TBytes = std::vector<std::uint8_t>;

TMidiRecord Sent(std::uint32_t time, TBytes bytes) { return {time, false, std::move(bytes)}; }
TMidiRecord WasReset(std::uint32_t time) { return {time, true, {}}; }

TEST(RecordingMidiPort, KeepsEveryMessageInOrderWithItsBytesAndTime) {
    test::TTempDir dir;
    TManualClock clock;
    const TBytes gsReset = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
    TBytes longSysEx(200);
    std::iota(longSysEx.begin(), longSysEx.end(), std::uint8_t(0));
    for (std::uint8_t& b : longSysEx) b &= 0x7F;
    longSysEx.front() = 0xF0;
    longSysEx.back() = 0xF7;
    {
        TRecordingMidiPort port(clock, OpenFile(dir / "midi.txt", FileMode::Create));
        EXPECT_TRUE(port.SendSysEx(gsReset));
        clock.now = 10;
        EXPECT_TRUE(port.SendShort(0xC3, 0x30, 0x7F));  // the program change's unused byte
        EXPECT_TRUE(port.SendShort(0xB3, 7, 100));
        clock.now = 1500;
        EXPECT_TRUE(port.SendShort(0x93, 0x3C, 0x64));
        EXPECT_TRUE(port.SendShort(0xE3, 0x00, 0x40));
        EXPECT_TRUE(port.SendShort(0xD3, 0x10));
        EXPECT_TRUE(port.SendShort(0x83, 0x3C, 0x00));
        EXPECT_TRUE(port.SendSysEx(longSysEx));
        EXPECT_TRUE(port.SendSysEx(TBytes{0xF7, 0x01}));  // an escape packet
        clock.now = 1510;
        port.Reset();
        EXPECT_EQ(port.Records(), (std::vector<TMidiRecord>{
                                      Sent(0, gsReset),
                                      Sent(10, {0xC3, 0x30}),
                                      Sent(10, {0xB3, 7, 100}),
                                      Sent(1500, {0x93, 0x3C, 0x64}),
                                      Sent(1500, {0xE3, 0x00, 0x40}),
                                      Sent(1500, {0xD3, 0x10}),
                                      Sent(1500, {0x83, 0x3C, 0x00}),
                                      Sent(1500, longSysEx),
                                      Sent(1500, {0xF7, 0x01}),
                                      WasReset(1510),
                                  }));
        EXPECT_EQ(port.WriteError(), "");
    }
    const std::string text = test::ReadFile(dir / "midi.txt");
    const std::string head =
        "0 F0 41 10 42 12 40 00 7F 00 41 F7\n"
        "10 C3 30\n"
        "10 B3 07 64\n"
        "1500 93 3C 64\n"
        "1500 E3 00 40\n"
        "1500 D3 10\n"
        "1500 83 3C 00\n"
        "1500 F0 01 02 03";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::string tail = " 44 45 46 F7\n1500 F7 01\n1510 reset\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(RecordingMidiPort, RefusedMessagesAndAClosedPortSendNothing) {
    TManualClock clock;
    TRecordingMidiPort port(clock);
    struct Short {
        std::uint8_t status, data1, data2;
    } refused[] = {
        {0x7F, 0x00, 0x00},  // a data byte for a status
        {0xF0, 0x00, 0x00},  // system messages are not short messages here
        {0xF8, 0x00, 0x00},
        {0xFF, 0x00, 0x00},
        {0x90, 0x80, 0x40},
        {0x90, 0x3C, 0x80},
        {0xC0, 0x80, 0x00},
        {0xD0, 0xFF, 0x00},
    };
    for (const Short& m : refused)
        EXPECT_FALSE(port.SendShort(m.status, m.data1, m.data2)) << int(m.status) << " " << int(m.data1);
    for (const TBytes& m : {TBytes{}, TBytes{0x90, 0x3C, 0x40}, TBytes{0x41, 0xF7}})
        EXPECT_FALSE(port.SendSysEx(m)) << m.size();
    EXPECT_TRUE(port.Records().empty());

    EXPECT_TRUE(port.IsOpen());
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.SendShort(0x90, 0x3C, 0x40));
    EXPECT_FALSE(port.SendSysEx(TBytes{0xF0, 0xF7}));
    port.Reset();
    EXPECT_TRUE(port.Records().empty());
}

TEST(RecordingMidiPort, AFailedWriteStopsTheTextButNotTheRecords) {
    TManualClock clock;
    TRecordingMidiPort port(clock, std::make_unique<test::TFullStream>());
    EXPECT_TRUE(port.SendShort(0x90, 0x3C, 0x40));
    EXPECT_TRUE(port.SendShort(0x80, 0x3C, 0x00));
    EXPECT_NE(port.WriteError(), "");
    EXPECT_EQ(port.Records().size(), 2u);
}

TEST(NullMidiPort, TheDefaultPortTakesEveryMessageAndTheListIsEmpty) {
    test::TBarePlatform platform;
    EXPECT_TRUE(platform.MidiPorts().empty());
    auto port = platform.OpenMidiPort(-1);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->SendShort(0x90, 0x3C, 0x40));
    EXPECT_TRUE(port->SendSysEx(TBytes{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    port->Reset();
    // The checks hold on every port.
    EXPECT_FALSE(port->SendShort(0x90, 0x80, 0x40));
    port->Close();
    port->Close();
    EXPECT_FALSE(port->SendShort(0x90, 0x3C, 0x40));
}

TEST(MidiPortList, AnIndexOutsideTheListOpensNothingAndSaysWhy) {
    test::TBarePlatform bare;
    THeadlessPlatform headless;
    for (TPlatform* platform : {static_cast<TPlatform*>(&bare), static_cast<TPlatform*>(&headless)}) {
        for (int index : {0, 3, -2}) {
            std::string error;
            EXPECT_EQ(platform->OpenMidiPort(index, &error), nullptr) << index;
            EXPECT_NE(error.find("MIDI port " + std::to_string(index)), std::string::npos) << error;
        }
        EXPECT_EQ(platform->OpenMidiPort(5), nullptr);
    }
}

TEST(HeadlessMidi, PortsOpenedInTurnGoOnWithTheSameFile) {
    test::TTempDir dir;
    TManualClock clock;
    THeadlessPlatform platform;
    EXPECT_NE(platform.OpenMidiPort(-1), nullptr);  // the null port until asked to record
    platform.RecordMidi(OpenFile(dir / "midi.txt", FileMode::Create), clock);
    EXPECT_TRUE(platform.MidiPorts().empty());
    auto first = platform.OpenMidiPort(-1);
    ASSERT_NE(first, nullptr);
    first->SendShort(0x90, 0x3C, 0x40);
    first->Reset();
    first->Close();
    first.reset();
    clock.now = 20;
    auto second = platform.OpenMidiPort(-1);
    second->SendShort(0x80, 0x3C, 0x00);
    EXPECT_EQ(test::ReadFile(dir / "midi.txt"), "0 90 3C 40\n0 reset\n20 80 3C 00\n");
}

}  // namespace
}  // namespace vesk::platform
