// SPDX-License-Identifier: GPL-3.0-or-later
// The PulseAudio output against a real server (tests/system/sound-server.sh starts
// a private one; without a server the test is skipped). Run under the thread
// sanitizer, it shows that once Stop or the next Play has returned nothing
// reads the old image (or streamed source) any more: each is freed at once,
// also while the server goes away and comes back.

#include "engine/RetunableTone.h"
#include "engine/StreamedTone.h"
#include "engine/WaveHeader.h"
#include "platform/sound/PulseSoundOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::unique_ptr<std::uint8_t[]> SineImage(int frequency, int ms, std::size_t& size) {
    const WaveFormat f{};
    const std::uint32_t L = f.DataLength(ms);
    size = WaveImageSize(L);
    auto img = std::make_unique<std::uint8_t[]>(size);
    std::memset(img.get(), 0, size);
    WriteWaveHeader(img.get(), f, L);
    for (std::uint32_t i = 0; i < L / 2; ++i) {
        const auto s = std::int16_t(20000 * std::sin(2 * M_PI * frequency * i / 96000.0));
        img[44 + 2 * i] = std::uint8_t(s);
        img[45 + 2 * i] = std::uint8_t(std::uint16_t(s) >> 8);
    }
    return img;
}

class PulseOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        output = PulseSoundOutput::Connect();
        if (!output)
            GTEST_SKIP() << "no sound server";
    }
    std::unique_ptr<PulseSoundOutput> output;
};

TEST_F(PulseOutputTest, ImagesMayBeFreedAsSoonAsStopReturns) {
    for (int round = 0; round < 20; ++round) {
        std::size_t size = 0;
        auto img = SineImage(440 + 10 * round, 50, size);
        output->Play({img.get(), size}, 13);
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 3 * 10));
        if (round % 3 == 2)
            output->StopForChange(); // held from the output's own copy
        else if (round % 2)
            output->Stop();
        else
            output->Play({}, 13);           // a new play stops the old one too
        std::memset(img.get(), 0xAB, size); // a write the sanitizer checks
        img.reset();
    }
    output->Stop();
    output->Stop(); // harmless when nothing plays
}

// The same for streamed tones: the output pulls frames from the source on
// its own thread, and no more once Stop, a hold or the next Play returned.
TEST_F(PulseOutputTest, StreamedSourcesMayGoAsSoonAsStopReturns) {
    WaveFormat format;
    format.stereo = true;
    format.wide = WideSamples::Float32;
    for (int round = 0; round < 20; ++round) {
        StreamedToneSettings tone;
        tone.frequency = MilliHertz{997123 + 1000 * round};
        tone.wave = round % 2 ? TTGWave::tgSquare : TTGWave::tgSine;
        auto source = std::make_unique<RetunableTone>(tone, format);
        ASSERT_TRUE(output->PlayStream(*source));
        std::this_thread::sleep_for(std::chrono::milliseconds(round % 3 * 10));
        (void)output->StreamFramesHeard(); // read while the feed thread renders
        // A change rewrites the queue from the source stepped back.
        const MilliHertz retuned{1250500 + 1000 * round};
        source->PrepareRetune(retuned);
        output->ChangeStream([&] {
            source->Retune(retuned);
            source->Ramp(0.5, 0.25);
        });
        if (round % 3 == 2)
            output->StopForChange();
        else if (round % 2)
            output->Stop();
        else
            output->Play({}, 13);
        source.reset(); // the sanitizer sees any read after this
    }
    output->StopAndDrain();
}

// How much of a stream has been heard: nothing told before it plays, then
// a position that grows about as fast as the sound plays, and nothing once
// it is stopped.
TEST_F(PulseOutputTest, TheHeardPositionOfAStreamFollowsItsSound) {
    WaveFormat format;
    format.stereo = true;
    StreamedToneSettings tone;
    tone.frequency = MilliHertz{1000000};
    StreamedTone source(tone, format);
    EXPECT_FALSE(output->StreamFramesHeard());
    ASSERT_TRUE(output->PlayStream(source));
    const auto start = std::chrono::steady_clock::now();
    std::optional<std::uint64_t> first;
    while (!first && std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        first = output->StreamFramesHeard();
    }
    ASSERT_TRUE(first) << "the server never told where it plays";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::optional<std::uint64_t> later = output->StreamFramesHeard();
    ASSERT_TRUE(later);
    const double seconds = double(*later - std::min(*later, *first)) / 96000;
    EXPECT_GT(seconds, 0.2); // a loaded machine's server may lag, never stop
    EXPECT_LT(seconds, 1.2); // nor run far ahead of the clock
    output->Stop();
    EXPECT_FALSE(output->StreamFramesHeard());
}

TEST_F(PulseOutputTest, SynchronousPlayReturnsWhenTheSoundHasEnded) {
    std::size_t size = 0;
    auto img = SineImage(1000, 120, size);
    const auto start = std::chrono::steady_clock::now();
    output->Play({img.get(), size}, 4);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(110));
    img.reset(); // nothing reads it after the play returned
}

// Stops and starts the private server in place (tests/system/sound-server.sh).
bool Server(const char* what) {
    const char* scripts = std::getenv("ORBEL_SYSTEM_TESTS");
    const char* dir = std::getenv("SOUND_SERVER_DIR");
    const std::string command =
        std::string(scripts) + "/sound-server.sh " + what + " " + dir + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

TEST_F(PulseOutputTest, TenThousandCallsWhileTheServerStopsAndStartsAgain) {
    if (!std::getenv("ORBEL_SYSTEM_TESTS") || !std::getenv("SOUND_SERVER_DIR"))
        GTEST_SKIP() << "the server cannot be restarted here";
    std::atomic<int> changes{0};
    output->WatchSoundLost([&](SoundLossChange) { changes.fetch_add(1); });
    std::atomic<bool> restarted{false};
    std::thread server([&] {
        for (int round = 0; round < 2; ++round) {
            EXPECT_TRUE(Server("down"));
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            EXPECT_TRUE(Server("up"));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        restarted = true;
    });
    // The window thread's calls, as the panel makes them, never waiting for
    // the server; each image is overwritten and freed after its Stop.
    std::size_t size = 0;
    auto img = SineImage(1000, 20, size);
    for (int i = 0; i < 10000 || !restarted; ++i) {
        output->SetLevel(0, i % 2 ? 0x7FFF7FFF : 0x7FFF0000);
        output->PlayTone({img.get(), size}, 13, ToneShape{96000.0 / (1000 + i % 7 * 10)});
        if (i % 3 == 0) {
            if (i % 2)
                output->StopForChange();
            else
                output->Stop();
            std::memset(img.get(), 0xAB, size);
            img = SineImage(1000 + i % 7 * 10, 20, size);
        }
        if (i % 50 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    server.join();
    // The server is back: the loop plays again by itself.
    output->Play({img.get(), size}, 13);
    ASSERT_TRUE(output->WaitForServer(std::chrono::seconds(3)));
    for (int i = 0; i < 300 && output->SoundLost(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(output->SoundLost());
    EXPECT_GE(changes.load(), 2); // lost and back, at least once
    output->WatchSoundLost(nullptr);
    output->Stop();
}

TEST_F(PulseOutputTest, LevelIsTheProgramsOwn) {
    EXPECT_EQ(output->ReadLevel(0)->level, 0xFFFFFFFFu);
    output->SetLevel(0, 0x7FFF0000);
    const auto r = output->ReadLevel(0);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->level, 0x7FFF0000u);
    EXPECT_TRUE(r->separateChannels);
}

} // namespace
