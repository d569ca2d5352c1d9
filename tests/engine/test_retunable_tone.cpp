// SPDX-License-Identifier: GPL-3.0-or-later
// A streamed tone retuned from another thread: the feed takes each request
// at its next Render, as the tone itself would have taken it there, and the
// two threads never wait for each other (run under ThreadSanitizer too).
#include "engine/RetunableTone.h"

#include "engine/HarmonicSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <initializer_list>
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

// A low shape retuned while its exact tables, too long to build at once,
// are built in the background: the new frequency plays from the frame of
// the change, at the exact phase, from the series of the highest top
// harmonic held that makes no alias (or a short one built once), then
// from the exact series after a crossfade that stays between the two.
struct BridgedRetuneRow {
    TTGWave wave;
    int rate;
    int lagTenths;                         // of a right channel (0: mono)
    std::initializer_list<int> milliHertz; // the start, then each retune
    int bridgeTop;                         // the series the last one plays first
};

TEST(RetunableTone, ALowShapePlaysAtOnceFromAliasFreeTablesThenFromItsExactOnes) {
    const int quick = RetunableTone::kQuickTop;
    // The tables kept for a change up: those of a tenth above.
    const auto guard = [](std::int64_t milliHertz, int rate) {
        return ChannelTone::TopHarmonic({milliHertz + milliHertz / 10}, rate);
    };
    const BridgedRetuneRow rows[] = {
        // Down: the latest exact tables held, not older ones.
        {TTGWave::tgSawtooth, 96000, 0, {1003, 1002, 1001}, 47904},
        // Up: the tables playing would alias.
        {TTGWave::tgSawtooth, 96000, 0, {1001, 1002}, guard(1001, 96000)},
        // Up by more than the guard: the quick tables.
        {TTGWave::tgSawtooth, 48000, 0, {1001, 2001}, quick},
        // An exact cycle at the start is not held.
        {TTGWave::tgSquare, 192000, 0, {2000, 1500}, guard(2000, 192000)},
        // Back to tables held: exact at once, on both channels.
        {TTGWave::tgTriangle, 44100, 900, {1001, 1003, 1001}, 22027},
    };
    constexpr long double kTurn = 2 * 3.141592653589793238462643383279502884L;
    for (const BridgedRetuneRow& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.wave) << " at " << row.rate << ", to "
                                        << *(row.milliHertz.end() - 1) << " mHz");
        WaveFormat format{row.lagTenths != 0, true, false};
        format.wide = WideSamples::Float32;
        format.rate = row.rate;
        StreamedToneSettings settings;
        settings.wave = row.wave;
        settings.frequency = {*row.milliHertz.begin()};
        settings.rightLagTenths = row.lagTenths;
        RetunableTone tone(settings, format);
        const std::uint64_t units = 1000ULL * std::uint64_t(row.rate);
        const int channels = format.Channels();
        std::uint64_t u = 0;      // the exact phase, in 1 / units of a cycle
        std::int64_t playing = 0; // mHz
        // The largest distance of every `every`-th frame from the series
        // up to `top`, or from between it and the one up to `otherTop` (0:
        // none checked).
        const auto play = [&](std::size_t frames, std::size_t every, int top, int otherTop) {
            const std::vector<std::uint8_t> bytes = Rendered(tone, frames);
            const auto* x = reinterpret_cast<const float*>(bytes.data());
            const HarmonicSeries series = SeriesUpTo(row.wave, top);
            const HarmonicSeries other = SeriesUpTo(row.wave, std::max(otherTop, 1));
            double worst = 0;
            for (std::size_t n = 0; n < frames; ++n, u = (u + std::uint64_t(playing)) % units) {
                if (n % every != 0 || otherTop == 0)
                    continue;
                for (int c = 0; c < channels; ++c) {
                    const double theta = double(kTurn * (static_cast<long double>(u) / units -
                                                         c * row.lagTenths / 3600.0L));
                    const double a = SeriesValue(series, theta), b = SeriesValue(other, theta);
                    const double v = x[n * std::size_t(channels) + std::size_t(c)];
                    worst =
                        std::max(worst, std::max({std::min(a, b) - v, v - std::max(a, b), 0.0}));
                }
            }
            return worst;
        };
        constexpr double kFloatStep = 2e-7;
        for (const int f : row.milliHertz) {
            const int top = ChannelTone::TopHarmonic({f}, row.rate);
            const bool last = f == *(row.milliHertz.end() - 1) && playing != 0;
            tone.HoldExactTables(last);
            if (playing != 0)
                tone.PrepareRetune({f});
            ASSERT_TRUE(tone.Retune({f}));
            playing = f;
            if (last) {
                EXPECT_LT(play(2048, 32, row.bridgeTop, row.bridgeTop), kFloatStep) << "bridging";
                tone.HoldExactTables(false);
            }
            tone.WaitForExactTables();
            // A takeover of the earlier changes is not checked.
            const double fade = play(tone.TakeoverFrames(), 4, last ? row.bridgeTop : 0, top);
            if (last) {
                EXPECT_LT(fade, kFloatStep) << "fading";
            }
            EXPECT_LT(play(2048, 32, top, top), kFloatStep) << "exact";
        }
    }
}

// An output takes back what the server has not played and renders it
// again: frames stepped back to before a takeover, and through its fade,
// come again as they were.
TEST(RetunableTone, FramesSteppedBackOverATakeoverComeAgainAsTheyWere) {
    WaveFormat format{true, true, false};
    format.wide = WideSamples::Float32;
    format.rate = 96000;
    StreamedToneSettings settings;
    settings.wave = TTGWave::tgSawtooth;
    settings.frequency = {1002};
    settings.rightLagTenths = 900;
    RetunableTone tone(settings, format);
    tone.HoldExactTables(true);
    ASSERT_TRUE(tone.Retune({1001}));
    std::vector<std::uint8_t> played = Rendered(tone, 1000);
    tone.HoldExactTables(false);
    tone.WaitForExactTables();
    const std::vector<std::uint8_t> after = Rendered(tone, 2000);
    played.insert(played.end(), after.begin(), after.end());
    ASSERT_EQ(tone.StepBack(2500), 2500u);
    const std::vector<std::uint8_t> again = Rendered(tone, 2500);
    EXPECT_TRUE(
        std::equal(again.begin(), again.end(), played.end() - std::ptrdiff_t(again.size())));
}

// The sine through its atomic slots, a shape through tables handed over
// and back (the old ones freed off the feed), the lowest ones also through
// exact tables built in the background.
TEST(RetunableTone, IsRetunedWhileItRendersOnAnotherThread) {
    const struct {
        TTGWave wave;
        std::int64_t highest; // mHz, above 1 Hz
        int lagTenths;
    } rows[] = {{TTGWave::tgSine, 20000000, 0},
                {TTGWave::tgSquare, 20000000, 0},
                {TTGWave::tgSquare, 2000, 900}};
    for (const auto& [wave, highest, lagTenths] : rows) {
        StreamedToneSettings settings;
        settings.wave = wave;
        settings.rightLagTenths = lagTenths;
        RetunableTone tone(settings, FloatStereo());
        std::atomic<bool> done{false};
        std::thread panel([&] {
            for (std::int64_t f = 440000; !done.load(); f += 1001) {
                const MilliHertz frequency{f % highest + 1000};
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
