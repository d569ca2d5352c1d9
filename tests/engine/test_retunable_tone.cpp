// SPDX-License-Identifier: GPL-3.0-or-later
// A streamed tone retuned from another thread: the feed takes each request
// at its next Render, as the tone itself would have taken it there, and the
// two threads never wait for each other (run under ThreadSanitizer too).
#include "engine/RetunableTone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

WaveFormat FloatStereo() {
    WaveFormat format{true, true, false}; // 44100
    format.wide = WideSamples::Float32;
    return format;
}

std::vector<std::uint8_t> Rendered(FrameSource& source, std::size_t frames) {
    std::vector<std::uint8_t> out(frames * std::size_t(source.Format().BytesPerFrame()));
    source.Render(frames, out.data());
    return out;
}

// Each request is taken whole at the next Render: the same frames as the
// tone told directly between the same Renders.
TEST(RetunableTone, TakesEachRequestAtTheNextRenderAsTheToneWould) {
    StreamedToneSettings settings;
    settings.frequency = {997123};
    RetunableTone retuned(settings, FloatStereo());
    StreamedTone direct(settings, FloatStereo());
    EXPECT_EQ(Rendered(retuned, 300), Rendered(direct, 300));
    EXPECT_TRUE(retuned.Retune({12500}));
    retuned.Ramp(0.25);
    direct.SetFrequency({12500});
    direct.SetPeak(0.25, retuned.RampFrames());
    EXPECT_EQ(Rendered(retuned, 1000), Rendered(direct, 1000));
    // A shape would build tables in the feed: only its own frequency is taken.
    settings.wave = TTGWave::tgSquare;
    RetunableTone square(settings, FloatStereo());
    EXPECT_TRUE(square.Retune({997123}));
    EXPECT_FALSE(square.Retune({997124}));
    EXPECT_EQ(square.AskedFrequency(), MilliHertz{997123});
}

TEST(RetunableTone, IsRetunedWhileItRendersOnAnotherThread) {
    StreamedToneSettings settings;
    RetunableTone tone(settings, FloatStereo());
    std::atomic<bool> done{false};
    std::thread panel([&] {
        for (std::int64_t f = 440000; !done.load(); f += 1001) {
            tone.Retune({f % 20000000 + 1000});
            tone.Ramp(double(f % 7) / 7);
        }
    });
    std::vector<float> out(512 * 2);
    float largest = 0;
    for (int i = 0; i < 2000; ++i) {
        tone.Render(512, reinterpret_cast<std::uint8_t*>(out.data()));
        for (float x : out)
            largest = std::max(largest, std::fabs(x));
    }
    done = true;
    panel.join();
    EXPECT_LE(largest, 1.0f);
    EXPECT_GT(largest, 0.5f);
}

} // namespace
