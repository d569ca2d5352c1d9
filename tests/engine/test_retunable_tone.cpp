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
}

// A shape retunes in place with tables built by the controlling thread: it
// continues its phase to the frame, as the tone told directly does with
// tables of its own (within their rounding), on both channels.
TEST(RetunableTone, AShapeRetunesInPlaceWithTablesBuiltAhead) {
    for (TTGWave wave : {TTGWave::tgSquare, TTGWave::tgTriangle, TTGWave::tgSawtooth}) {
        StreamedToneSettings settings;
        settings.wave = wave;
        settings.frequency = {997123};
        settings.rightLagTenths = 900;
        RetunableTone retuned(settings, FloatStereo());
        StreamedTone direct(settings, FloatStereo());
        std::vector<std::uint8_t> got = Rendered(retuned, 300), want = Rendered(direct, 300);
        ASSERT_EQ(got, want);
        for (std::int64_t f : {12500, 1000500, 19999999}) {
            retuned.PrepareRetune({f});
            EXPECT_TRUE(retuned.Retune({f}));
            direct.SetFrequency({f});
            got = Rendered(retuned, 3000);
            want = Rendered(direct, 3000);
            const auto* a = reinterpret_cast<const float*>(got.data());
            const auto* b = reinterpret_cast<const float*>(want.data());
            float worst = 0;
            for (std::size_t i = 0; i < got.size() / sizeof(float); ++i)
                worst = std::max(worst, std::fabs(a[i] - b[i]));
            EXPECT_LT(worst, 1e-6f) << int(wave) << " at " << f << " mHz";
        }
        EXPECT_EQ(retuned.AskedFrequency(), MilliHertz{19999999});
    }
}

// The sine through its atomic slots, a shape through tables handed over
// and back (the old ones freed by the controlling thread).
TEST(RetunableTone, IsRetunedWhileItRendersOnAnotherThread) {
    for (TTGWave wave : {TTGWave::tgSine, TTGWave::tgSquare}) {
        StreamedToneSettings settings;
        settings.wave = wave;
        RetunableTone tone(settings, FloatStereo());
        std::atomic<bool> done{false};
        std::thread panel([&] {
            for (std::int64_t f = 440000; !done.load(); f += 1001) {
                const MilliHertz frequency{f % 20000000 + 1000};
                tone.PrepareRetune(frequency);
                tone.Retune(frequency);
                tone.Ramp(double(f % 7) / 7, double(f % 5) / 5);
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
        EXPECT_LE(largest, 1.2f) << int(wave); // a square's Gibbs overshoot
        EXPECT_GT(largest, 0.5f) << int(wave);
    }
}

} // namespace
