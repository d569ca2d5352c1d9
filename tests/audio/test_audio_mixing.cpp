// SPDX-License-Identifier: GPL-3.0-or-later
// The pure output stage: reading wave images, rendering them as levelled
// stereo, and the fades and crossfades of the mixer.

#include "audio/CrossfadeMixer.h"
#include "audio/QueuePlan.h"
#include "audio/ReadPositionReports.h"
#include "audio/WaveImageView.h"
#include "engine/SoundOutput.h"
#include "engine/StreamedTone.h"
#include "engine/ToneGenTypes.h"
#include "engine/WaveHeader.h"
#include "engine/multitone/MultitoneSource.h"
#include "engine/multitone/TonePlacement.h"
#include "engine/steps/SteppedSweepSource.h"
#include "tests/support/WaveImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

TEST(WaveImageViewTest, ReadsEveryFormatOfTheGenerator) {
    for (bool stereo : {false, true})
        for (bool sixteen : {false, true})
            for (bool hiQ : {false, true}) {
                const WaveFormat f{stereo, sixteen, hiQ};
                const auto img = MakeImage(f, std::vector<std::uint8_t>(f.DataLength(10), 1));
                const auto view = ParseWaveImage(img);
                ASSERT_TRUE(view.has_value());
                EXPECT_EQ(view->channels, f.Channels());
                EXPECT_EQ(view->bitsPerSample, f.BitsPerSample());
                EXPECT_EQ(view->samplesPerSecond, f.SamplesPerSecond());
                EXPECT_EQ(view->data.data(), img.data() + 44);
                EXPECT_EQ(view->data.size(), f.DataLength(10));
            }
}

TEST(WaveImageViewTest, ReadsAndRendersWideSamples) {
    // Full scale, the most negative value and a half, each format's way.
    struct Case {
        WideSamples wide;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {WideSamples::Pcm24, {0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x80, 0x00, 0x00, 0x40}},
        {WideSamples::Float32,
         {0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x80, 0xBF, 0x00, 0x00, 0x00, 0x3F}},
    };
    for (const Case& c : cases) {
        WaveFormat f{};
        f.wide = c.wide;
        std::vector<std::uint8_t> img(WaveImageSize(f, std::uint32_t(c.bytes.size())), 0);
        WriteWaveHeader(img.data(), f, std::uint32_t(c.bytes.size()));
        std::copy(c.bytes.begin(), c.bytes.end(), img.begin() + long(WaveHeaderSize(f)));
        const auto view = ParseWaveImage(img);
        ASSERT_TRUE(view.has_value()) << int(c.wide);
        EXPECT_EQ(view->Frames(), 3u);
        std::vector<std::int16_t> out(6);
        std::size_t position = 0;
        ASSERT_EQ(RenderStereo(*view, position, false, kFullLevel, out.data(), 3), 3u);
        EXPECT_EQ(out, (std::vector<std::int16_t>{32767, 32767, -32767, -32767, 16384, 16384}))
            << int(c.wide);
    }
}

TEST(CrossfadeMixerTest, WideImagesReachTheStreamUnchangedAtFullLevel) {
    // Odd values that a 16-bit stage would round away.
    for (WideSamples wide : {WideSamples::Pcm24, WideSamples::Float32}) {
        WaveFormat f{};
        f.wide = wide;
        std::vector<std::uint8_t> data;
        for (int i = 0; i < 64; ++i) {
            const double v = std::sin(i * 0.37) * 0.9;
            std::uint8_t bytes[4];
            if (wide == WideSamples::Float32) {
                const float x = float(v);
                std::memcpy(bytes, &x, 4);
            } else {
                const auto x = std::uint32_t(std::lround(v * 8388607) + 1);
                bytes[0] = std::uint8_t(x), bytes[1] = std::uint8_t(x >> 8),
                bytes[2] = std::uint8_t(x >> 16);
            }
            data.insert(data.end(), bytes, bytes + f.BytesPerSample());
        }
        std::vector<std::uint8_t> img(WaveImageSize(f, std::uint32_t(data.size())), 0);
        WriteWaveHeader(img.data(), f, std::uint32_t(data.size()));
        std::copy(data.begin(), data.end(), img.begin() + long(WaveHeaderSize(f)));
        const WaveImageView view = *ParseWaveImage(img);
        const StreamSample sample = StreamSampleFor(view);
        EXPECT_EQ(sample, wide == WideSamples::Float32 ? StreamSample::Float32 : StreamSample::S24);
        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        mixer.Start(view, false, kFullLevel);
        std::vector<std::uint8_t> out(StreamFrameBytes(sample) * 64);
        ASSERT_EQ(mixer.Render(out.data(), 64, kFullLevel, sample), 64u);
        const std::size_t bytes = f.BytesPerSample();
        for (std::size_t i = 0; i < 64; ++i)
            for (std::size_t ch = 0; ch < 2; ++ch)
                ASSERT_TRUE(std::equal(data.begin() + long(i * bytes),
                                       data.begin() + long((i + 1) * bytes),
                                       out.begin() + long((2 * i + ch) * bytes)))
                    << "frame " << i << " channel " << ch;
    }
}

TEST(WaveImageViewTest, RefusesWhatIsNotAPlayableWave) {
    const WaveFormat f{};
    const auto good = MakeImage(f, Samples16({1, 2, 3}));
    struct Case {
        std::string name;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"not RIFF", 0, {'R', 'I', 'F', 'X'}},
        {"not WAVE", 8, {'A', 'V', 'I', ' '}},
        {"not PCM", 20, {3, 0}},
        {"three channels", 22, {3, 0}},
        {"20 bits", 34, {20, 0}},
        {"no rate", 24, {0, 0, 0, 0}},
        {"format chunk larger than the image", 16, {0xFF, 0xFF, 0, 0}},
    };
    for (const auto& c : cases) {
        auto img = good;
        std::memcpy(img.data() + c.offset, c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(ParseWaveImage(img).has_value()) << c.name;
    }
    EXPECT_FALSE(ParseWaveImage(std::span(good).first(30)).has_value());
    // A data chunk claiming more than there is plays what is there.
    auto longer = good;
    longer[40] = 0xFF;
    const auto view = ParseWaveImage(longer);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->data.size(), longer.size() - 44);
}

TEST(WaveImageViewTest, RendersMonoToBothChannelsWithTheLevelWord) {
    const auto img = MakeImage(WaveFormat{}, Samples16({32767, -32767, 1000, 0}));
    const auto view = *ParseWaveImage(img);
    struct Case {
        std::uint32_t level;
        std::vector<std::int16_t> expected; // L, R per frame
    };
    const Case cases[] = {
        {0xFFFFFFFF, {32767, 32767, -32767, -32767, 1000, 1000, 0, 0}},
        {0x7FFF0000, {0, 16383, 0, -16383, 0, 500, 0, 0}},
        {0xFFFF7FFF, {16383, 32767, -16383, -32767, 500, 1000, 0, 0}},
        {0x00000000, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        std::vector<std::int16_t> out(8, 99);
        std::size_t pos = 0;
        EXPECT_EQ(RenderStereo(view, pos, false, c.level, out.data(), 4), 4u);
        EXPECT_EQ(out, c.expected) << std::hex << c.level;
    }
}

TEST(WaveImageViewTest, LoopsWithoutAGapAndStopsAtTheEndOtherwise) {
    const auto img = MakeImage(WaveFormat{}, Samples16({1, 2, 3}));
    const auto view = *ParseWaveImage(img);
    std::vector<std::int16_t> out(16, 0);
    std::size_t pos = 1;
    EXPECT_EQ(RenderStereo(view, pos, true, kFullLevel, out.data(), 7), 7u);
    EXPECT_EQ(out, (std::vector<std::int16_t>{2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 0, 0}));
    pos = 1;
    EXPECT_EQ(RenderStereo(view, pos, false, kFullLevel, out.data(), 7), 2u);
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(RenderStereo(view, pos, false, kFullLevel, out.data(), 7), 0u);
}

TEST(WaveImageViewTest, EightBitAndStereoImages) {
    const auto img8 = MakeImage(WaveFormat{true, false, true}, {0x80, 0xFF, 0x00, 0x81});
    const auto v8 = *ParseWaveImage(img8);
    std::vector<std::int16_t> out(4);
    std::size_t pos = 0;
    ASSERT_EQ(RenderStereo(v8, pos, false, kFullLevel, out.data(), 2), 2u);
    EXPECT_EQ(out, (std::vector<std::int16_t>{0, 127 * 256, -128 * 256, 256}));
    // A 16-bit mono image of odd length drops its half frame.
    auto odd = MakeImage(WaveFormat{}, {1, 0, 2});
    EXPECT_EQ(ParseWaveImage(odd)->Frames(), 1u);
}

// A 100 ms mono sine of whole periods, as the generator makes them.
std::vector<std::uint8_t> Sine(int hz, int amplitude) {
    std::vector<std::int16_t> v(9600);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = std::int16_t(std::lround(amplitude * std::sin(2 * M_PI * hz * double(i) / 96000)));
    return MakeImage(WaveFormat{}, Samples16(v));
}

int LargestStep(const std::vector<std::int16_t>& stereo, std::size_t from, std::size_t to) {
    int largest = 0;
    for (std::size_t i = 2 * from + 2; i < 2 * to; ++i)
        largest = std::max(largest, std::abs(stereo[i] - stereo[i - 2]));
    return largest;
}

std::size_t LongestSilence(const std::vector<std::int16_t>& stereo) {
    std::size_t longest = 0, run = 0;
    for (std::size_t i = 0; i + 1 < stereo.size(); i += 2) {
        run = stereo[i] == 0 && stereo[i + 1] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Renders `frames` frames in pieces of `piece`, as a stream asks for them.
std::vector<std::int16_t> RenderFrames(CrossfadeMixer& mixer, std::size_t frames,
                                       std::uint32_t level = kFullLevel, std::size_t piece = 700) {
    std::vector<std::int16_t> out(2 * frames, 0);
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t got =
            mixer.Render(out.data() + 2 * done, std::min(piece, frames - done), level);
        if (got == 0)
            break;
        done += got;
    }
    out.resize(2 * done);
    return out;
}

TEST(CrossfadeMixerTest, ChangesWhilePlayingAreShortCrossfadesWithoutGapsOrJumps) {
    // Old and new tone, and when the change comes (frames after the old
    // tone's start): during its fade-in, right after it, and later.
    struct Case {
        int oldHz, newHz, oldAmplitude, newAmplitude;
        std::size_t changeAt;
    };
    const Case cases[] = {
        {1000, 1100, 16383, 16383, 5000}, {1000, 1010, 16383, 16383, 5037},
        {2000, 1900, 16383, 16383, 4011}, {1000, 1000, 16383, 22936, 6000},
        {1000, 1500, 16383, 16383, 100},  {1500, 1000, 16383, 16383, 384},
    };
    for (const Case& c : cases) {
        const auto oldImage = Sine(c.oldHz, c.oldAmplitude);
        auto newImage = Sine(c.newHz, c.newAmplitude);
        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        ASSERT_LE(mixer.FadeFrames(), 480); // at most 5 ms
        mixer.Start(*ParseWaveImage(oldImage), true, kFullLevel);
        auto out = RenderFrames(mixer, c.changeAt);
        mixer.Start(*ParseWaveImage(newImage), true, kFullLevel);
        const auto after = RenderFrames(mixer, 4000);
        out.insert(out.end(), after.begin(), after.end());
        const std::size_t fade = mixer.FadeFrames();
        // The largest step of either tone on its own, from steady stretches.
        const int own = std::max(LargestStep(out, c.changeAt > 1500 ? c.changeAt - 960 : 0,
                                             std::max<std::size_t>(c.changeAt, 1) - 1),
                                 LargestStep(out, c.changeAt + fade + 10, out.size() / 2));
        const int change = LargestStep(out, c.changeAt - std::min<std::size_t>(c.changeAt, 2),
                                       c.changeAt + fade + 10);
        EXPECT_LE(change, own * 1.1) << c.oldHz << " -> " << c.newHz << " at " << c.changeAt;
        EXPECT_LE(LongestSilence(std::vector<std::int16_t>(out.begin() + 2, out.end())), 1u)
            << c.oldHz << " -> " << c.newHz;
        // After the fade the new tone plays exactly as rendered on its own.
        std::size_t position = fade;
        std::vector<std::int16_t> alone(2 * 1000);
        RenderStereo(*ParseWaveImage(newImage), position, true, kFullLevel, alone.data(), 1000);
        EXPECT_TRUE(std::equal(alone.begin(), alone.end(), after.begin() + 2 * fade));
    }
}

TEST(CrossfadeMixerTest, LoopsFadeInAndOutAndStopCopiesTheTail) {
    auto image = Sine(1000, 20000);
    CrossfadeMixer mixer;
    mixer.SetRate(96000);
    const std::size_t fade = mixer.FadeFrames();
    mixer.Start(*ParseWaveImage(image), true, 0x7FFF7FFF);
    const auto start = RenderFrames(mixer, 2000, 0x7FFF7FFF);
    // Rising over the fade, then the image at the level word.
    EXPECT_LE(std::abs(start[2 * 24]), 10000 * 25 / int(fade + 1) + 1);
    std::size_t position = 0;
    std::vector<std::int16_t> plain(2 * 2000);
    RenderStereo(*ParseWaveImage(image), position, true, 0x7FFF7FFF, plain.data(), 2000);
    EXPECT_TRUE(std::equal(plain.begin() + 2 * fade, plain.end(), start.begin() + 2 * fade));
    EXPECT_NE(start[2 * (fade / 2 + 24)], plain[2 * (fade / 2 + 24)]);

    mixer.Stop(0x7FFF7FFF);
    std::fill(image.begin(), image.end(), 0x55); // released: nothing reads it now
    const auto end = RenderFrames(mixer, 5000, 0x7FFF7FFF);
    EXPECT_EQ(end.size(), 2 * fade); // a fade-out, then nothing
    EXPECT_TRUE(mixer.Silent());
    EXPECT_LE(std::abs(end[2 * (fade - 1)]), 10000 / int(fade + 1) + 1);
    EXPECT_LE(LargestStep(start, fade, 2000), 1400); // 2 pi 1000/96000 * 10000 = 655
    std::vector<std::int16_t> joined(start.end() - 2, start.end());
    joined.insert(joined.end(), end.begin(), end.end());
    EXPECT_LE(LargestStep(joined, 0, joined.size() / 2), 655 + 10000 / int(fade) + 1);
}

TEST(CrossfadeMixerTest, SoundsPlayedOnceAreNotFaded) {
    const auto image = Sine(1000, 20000);
    const auto view = *ParseWaveImage(image);
    CrossfadeMixer mixer;
    mixer.SetRate(96000);
    mixer.Start(view, false, kFullLevel);
    const auto out = RenderFrames(mixer, 20000);
    std::vector<std::int16_t> plain(2 * view.Frames());
    std::size_t position = 0;
    RenderStereo(view, position, false, kFullLevel, plain.data(), view.Frames());
    EXPECT_EQ(out, plain); // bit for bit, start and end included
    EXPECT_TRUE(mixer.Silent());
    EXPECT_FALSE(mixer.HasSound());
}
} // namespace

namespace {
// A 1 s mono image of one periodic waveform starting at phase zero, as the
// generator draws them: sample n has the phase n / P, P = 96000 / hz.
std::vector<std::uint8_t> Periodic(TTGWave wave, int hz) {
    std::vector<std::int16_t> v(96000);
    const double period = 96000.0 / hz;
    for (std::size_t n = 0; n < v.size(); ++n) {
        const double phase = std::fmod(double(n) / period, 1.0);
        double y = 0;
        switch (wave) {
        case TTGWave::tgSine:
            y = std::sin(2 * M_PI * phase);
            break;
        case TTGWave::tgSquare:
            y = phase < 0.5 ? 1 : -1;
            break;
        case TTGWave::tgTriangle:
            y = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
            break;
        default:
            y = 2 * phase - 1;
            break;
        }
        v[n] = std::int16_t(std::lround(12000 * y));
    }
    return MakeImage(WaveFormat{}, Samples16(v));
}

// A stereo image holding one value per channel.
std::vector<std::uint8_t> Constant(std::int16_t left, std::int16_t right) {
    std::vector<std::int16_t> v;
    for (int i = 0; i < 4800; ++i) {
        v.push_back(left);
        v.push_back(right);
    }
    return MakeImage(WaveFormat{true, true, true}, Samples16(v));
}

double CycleDistance(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 1.0);
    return std::min(d, 1.0 - d);
}
} // namespace

TEST(CrossfadeMixerTest, APeriodicToneEntersAtThePhaseTheOldOneReached) {
    // The crossfade: the full 4 ms (384 frames) while the tones drift
    // apart by at most a tenth of a cycle in it, else as long as that takes.
    struct Case {
        TTGWave wave;
        int oldHz, newHz;
        std::size_t changeAt, fade;
    };
    const Case cases[] = {{TTGWave::tgSine, 997, 1009, 5003, 384},
                          {TTGWave::tgSquare, 1201, 773, 7717, 22},
                          {TTGWave::tgTriangle, 1499, 2003, 4099, 19},
                          {TTGWave::tgSawtooth, 503, 1987, 6151, 6}};
    for (const Case& c : cases) {
        const auto oldImage = Periodic(c.wave, c.oldHz), newImage = Periodic(c.wave, c.newHz);
        const auto newView = *ParseWaveImage(newImage);
        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        const double oldCycle = 96000.0 / c.oldHz, newCycle = 96000.0 / c.newHz;
        const std::size_t fade = c.fade;
        ASSERT_EQ(mixer.CrossfadeFrames(oldCycle, newCycle), fade) << c.oldHz << " -> " << c.newHz;
        mixer.Start(*ParseWaveImage(oldImage), true, kFullLevel, ToneShape{oldCycle});
        RenderFrames(mixer, c.changeAt);
        mixer.Hold(kFullLevel); // as the generator changes: hold, build, play
        RenderFrames(mixer, 777);
        mixer.Start(newView, true, kFullLevel, ToneShape{newCycle});
        const auto after = RenderFrames(mixer, fade + 300);
        // The first frame of the new image that plays unfaded tells where it
        // entered: in the middle of the crossfade both tones must be at the
        // same phase, to within a frame.
        std::size_t entry = newView.Frames();
        std::vector<std::int16_t> alone(2 * 300);
        for (std::size_t m = 0; m < newView.Frames() && entry == newView.Frames(); ++m) {
            std::size_t at = m + fade;
            RenderStereo(newView, at, true, kFullLevel, alone.data(), 300);
            if (std::equal(alone.begin(), alone.end(), after.begin() + 2 * fade))
                entry = m;
        }
        ASSERT_LT(entry, newView.Frames()) << c.oldHz;
        const double middle = double(fade) / 2;
        const double oldPhase = (double(c.changeAt + 777) + middle) / oldCycle;
        const double newPhase = (double(entry) + middle) / newCycle;
        EXPECT_LE(CycleDistance(oldPhase, newPhase), 1.0 / newCycle)
            << c.oldHz << " -> " << c.newHz << " entered at " << entry;
    }
}

TEST(CrossfadeMixerTest, LevelChangesAndStopsRampEachChannelFromItsOwnLevel) {
    // Unequal channels at unequal levels: a swapped channel or a ramp one
    // frame off shows in the first and last frames of each ramp.
    const auto image = Constant(20000, -8000);
    const auto view = *ParseWaveImage(image);
    CrossfadeMixer mixer;
    mixer.SetRate(96000);
    const std::size_t fade = mixer.FadeFrames();
    const double g1 = 1.0 / double(fade + 1), gLast = double(fade) / double(fade + 1);
    const std::uint32_t before = 0x2000FFFF, after = 0xFFFF4000;
    mixer.Start(view, true, before);
    RenderFrames(mixer, 1000, before);
    mixer.Hold(before); // as the generator changes the level: hold, level, play
    mixer.Start(view, true, after);
    const auto ramp = RenderFrames(mixer, fade + 10, after);
    const double l0 = ApplyLevel(20000, 0xFFFF), l1 = ApplyLevel(20000, 0x4000);
    const double r0 = ApplyLevel(-8000, 0x2000), r1 = ApplyLevel(-8000, 0xFFFF);
    EXPECT_NEAR(ramp[0], l0 + g1 * (l1 - l0), 1);
    EXPECT_NEAR(ramp[1], r0 + g1 * (r1 - r0), 1);
    EXPECT_NEAR(ramp[2 * (fade - 1)], l0 + gLast * (l1 - l0), 1);
    EXPECT_NEAR(ramp[2 * (fade - 1) + 1], r0 + gLast * (r1 - r0), 1);
    EXPECT_EQ(ramp[2 * fade], l1);
    EXPECT_EQ(ramp[2 * fade + 1], r1);
    for (std::size_t i = 1; i < fade + 10; ++i) { // never through silence
        EXPECT_LE(ramp[2 * i], ramp[2 * i - 2]);
        EXPECT_LE(ramp[2 * i + 1], ramp[2 * i - 1]);
    }

    mixer.Stop(after);
    const auto tail = RenderFrames(mixer, 2 * fade, after);
    ASSERT_EQ(tail.size(), 2 * fade);
    EXPECT_NEAR(tail[0], l1 * gLast, 1);
    EXPECT_NEAR(tail[1], r1 * gLast, 1);
    EXPECT_NEAR(tail[2 * (fade - 1)], l1 * g1, 1);
    EXPECT_NEAR(tail[2 * (fade - 1) + 1], r1 * g1, 1);
}

TEST(CrossfadeMixerTest, TheSoundFadesInAgainWhenTheStreamComesBack) {
    const auto image = Constant(20000, -8000);
    CrossfadeMixer mixer;
    mixer.SetRate(96000);
    const std::size_t fade = mixer.FadeFrames();
    mixer.Start(*ParseWaveImage(image), true, kFullLevel);
    RenderFrames(mixer, 5000);
    mixer.FadeInAgain();
    const auto out = RenderFrames(mixer, fade + 1);
    EXPECT_NEAR(out[0], 20000.0 / double(fade + 1), 1);
    EXPECT_NEAR(out[1], -8000.0 / double(fade + 1), 1);
    EXPECT_NEAR(out[2 * (fade - 1)], 20000.0 * double(fade) / double(fade + 1), 1);
    EXPECT_EQ(out[2 * fade], 20000);
}

// The stream writes the copy over all it took back, up to its longest
// queue, and refills from it while the next image is built (300 ms at
// most): the copy lasts that long at full level, then fades out.
TEST(CrossfadeMixerTest, AHeldSoundGoesOnFromItsCopyAndFadesOutWhenNothingFollows) {
    auto image = Sine(1000, 20000);
    const auto view = *ParseWaveImage(image);
    CrossfadeMixer mixer;
    mixer.SetRate(96000);
    mixer.Start(view, true, kFullLevel, ToneShape{96.0});
    RenderFrames(mixer, 3000);
    const std::size_t needed = 96 * std::size_t(QueuePlan::kLongestQueueMs + 300);
    std::vector<std::int16_t> expected(2 * needed);
    std::size_t position = 3000;
    RenderStereo(view, position, true, kFullLevel, expected.data(), needed);
    mixer.Hold(kFullLevel);
    std::fill(image.begin(), image.end(), 0x55); // released: nothing reads it now
    EXPECT_TRUE(mixer.HasSound());
    const auto held = RenderFrames(mixer, 1000000);
    ASSERT_GE(held.size(), expected.size() + 2 * 384);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), held.begin()));
    EXPECT_LT(std::abs(held.back()), 20000 / mixer.FadeFrames() + 2); // faded
    EXPECT_TRUE(mixer.Silent());
}

TEST(CrossfadeMixerTest, RewoundFramesAreRenderedAgainTheSameButNotPastAChange) {
    const auto a = Sine(1000, 20000), b = Sine(1100, 16000);
    CrossfadeMixer mixer;
    mixer.SetRate(96000);
    mixer.Start(*ParseWaveImage(a), true, kFullLevel, ToneShape{96.0});
    RenderFrames(mixer, 2000);
    mixer.Start(*ParseWaveImage(b), true, kFullLevel, ToneShape{96000.0 / 1100});
    const auto first = RenderFrames(mixer, 1500); // the crossfade, then b alone
    EXPECT_EQ(mixer.Rewind(1000), 1000u);
    const auto again = RenderFrames(mixer, 1000);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), first.begin() + 2 * 500));
    EXPECT_EQ(mixer.Rewind(100000), 1500u); // back to the change, no further
    EXPECT_EQ(RenderFrames(mixer, 1500), first);
    mixer.Stop(kFullLevel);
    EXPECT_EQ(mixer.Rewind(10), 0u);
}

// The stream takes back a queued fade-out to write it again at a second
// Stop (the output's end after the panel's Stop): the fade stays whole.
TEST(CrossfadeMixerTest, AFadeOutTakenBackAndStoppedAgainIsTheSameFade) {
    const auto image = Sine(1000, 20000);
    CrossfadeMixer once, twice;
    for (CrossfadeMixer* mixer : {&once, &twice}) {
        mixer->SetRate(96000);
        mixer->Start(*ParseWaveImage(image), true, kFullLevel, ToneShape{96.0});
        RenderFrames(*mixer, 2000);
        mixer->Stop(kFullLevel);
    }
    const auto fade = RenderFrames(once, 5000);
    const std::size_t half = std::size_t(twice.FadeFrames()) / 2;
    RenderFrames(twice, half);
    EXPECT_EQ(twice.Rewind(half), half);
    twice.Stop(kFullLevel);
    twice.Hold(kFullLevel);
    EXPECT_EQ(RenderFrames(twice, 5000), fade);
}

// A waveform of the same cycle that is inverted or shifted against the old
// one (as a sawtooth is against a sine) would cancel it mid-crossfade.
TEST(CrossfadeMixerTest, AWaveformChangeEntersInStepAndNeverDips) {
    const auto sine = Sine(1000, 20000);
    for (int shift : {0, 24, 48}) { // in phase, a quarter cycle late, inverted
        std::vector<std::int16_t> v(9600);
        for (std::size_t i = 0; i < v.size(); ++i)
            v[i] = std::int16_t(std::lround(16000 * std::sin(2 * M_PI * (double(i) + shift) / 96)));
        const auto other = MakeImage(WaveFormat{}, Samples16(v));
        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        mixer.Start(*ParseWaveImage(sine), true, kFullLevel, ToneShape{96.0});
        RenderFrames(mixer, 1000 + 3 * shift);
        mixer.Start(*ParseWaveImage(other), true, kFullLevel, ToneShape{96.0});
        const auto out = RenderFrames(mixer, 960);
        double lowest = 1e9;
        for (std::size_t w = 0; w + 192 <= 960; w += 192) {
            double sum = 0;
            for (std::size_t i = w; i < w + 192; ++i)
                sum += double(out[2 * i]) * out[2 * i];
            lowest = std::min(lowest, std::sqrt(sum / 192));
        }
        EXPECT_GE(lowest, 0.9 * 16000 / std::sqrt(2.0)) << "shift " << shift;
    }
}

// Two tones far apart meet in phase in the middle of a crossfade short
// enough that they never part by much: no 2 ms window of the change falls
// below 0.9 of the quieter tone's level (a full 4 ms crossfade between
// them dips where they pass out of phase). The 20 Hz tone is changed at its
// peak, where its own 2 ms windows are at their loudest.
// The lowest 2 ms window's RMS of the left channel.
double LowestWindow(const std::vector<std::int16_t>& stereo) {
    constexpr std::size_t kWindow = 192;
    double lowest = 1e9;
    for (std::size_t w = 0; w + kWindow <= stereo.size() / 2; ++w) {
        double sum = 0;
        for (std::size_t i = w; i < w + kWindow; ++i)
            sum += double(stereo[2 * i]) * stereo[2 * i];
        lowest = std::min(lowest, std::sqrt(sum / kWindow));
    }
    return lowest;
}

TEST(CrossfadeMixerTest, AChangeBetweenDistantFrequenciesNeverDips) {
    struct Case {
        int oldHz, newHz;
        std::size_t changeAt;
    };
    const Case cases[] = {{1000, 2000, 5011}, {1201, 773, 7717}, {20, 20000, 1200}};
    constexpr std::size_t kWindow = 192;           // 2 ms
    const double quieter = 12000 / std::sqrt(2.0); // both tones' RMS
    for (const Case& c : cases) {
        const auto oldImage = Periodic(TTGWave::tgSine, c.oldHz);
        const auto newImage = Periodic(TTGWave::tgSine, c.newHz);
        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        mixer.Start(*ParseWaveImage(oldImage), true, kFullLevel, ToneShape{96000.0 / c.oldHz});
        RenderFrames(mixer, c.changeAt - kWindow);
        auto out = RenderFrames(mixer, kWindow);
        mixer.Hold(kFullLevel);
        mixer.Start(*ParseWaveImage(newImage), true, kFullLevel, ToneShape{96000.0 / c.newHz});
        const auto after = RenderFrames(mixer, 384 + kWindow);
        out.insert(out.end(), after.begin(), after.end());
        EXPECT_GE(LowestWindow(out), 0.9 * quieter) << c.oldHz << " -> " << c.newHz;
    }
}

// A streamed tone tells the mixer no cycle: a looped tone that follows it
// enters where the stream's own frames show its phase, whether the stream
// was held for the change or not, and never dips.
TEST(CrossfadeMixerTest, AToneAfterAStreamedOneEntersInStep) {
    constexpr std::size_t kWindow = 192; // 2 ms
    const double quieter = 12000 / std::sqrt(2.0);
    WaveFormat format;
    format.stereo = true;
    const auto newImage = Periodic(TTGWave::tgSine, 1000);
    for (const bool held : {true, false})
        for (const std::size_t changeAt : {5011, 6007, 7717, 9001, 9050}) {
            StreamedToneSettings tone;
            tone.frequency = MilliHertz{1250500};
            tone.peak = 12000.0 / 32767;
            StreamedTone played(tone, format);
            CrossfadeMixer mixer;
            mixer.SetRate(96000);
            mixer.StartStream(played, kFullLevel);
            RenderFrames(mixer, changeAt - kWindow);
            auto out = RenderFrames(mixer, kWindow);
            if (held)
                mixer.Hold(kFullLevel);
            mixer.Start(*ParseWaveImage(newImage), true, kFullLevel, ToneShape{96.0});
            const auto after = RenderFrames(mixer, 384 + kWindow);
            out.insert(out.end(), after.begin(), after.end());
            EXPECT_GE(LowestWindow(out), 0.9 * quieter) << changeAt << (held ? " held" : "");
        }
}

namespace {
// A stereo image holding one value per channel (fractions of full scale)
// in the samples of a stream format.
std::vector<std::uint8_t> ConstantIn(StreamSample sample, double left, double right) {
    WaveFormat f{true, true, true};
    f.wide = sample == StreamSample::S24       ? WideSamples::Pcm24
             : sample == StreamSample::Float32 ? WideSamples::Float32
                                               : WideSamples::None;
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 4800; ++i)
        for (double v : {left, right}) {
            std::uint8_t bytes[4];
            if (sample == StreamSample::Float32) {
                const float x = float(v);
                std::memcpy(bytes, &x, 4);
            } else {
                const auto x = std::uint32_t(std::lround(v * f.FullScale()));
                for (int b = 0; b < 4; ++b)
                    bytes[b] = std::uint8_t(x >> (8 * b));
            }
            data.insert(data.end(), bytes, bytes + f.BytesPerSample());
        }
    std::vector<std::uint8_t> img(WaveImageSize(f, std::uint32_t(data.size())), 0);
    WriteWaveHeader(img.data(), f, std::uint32_t(data.size()));
    std::copy(data.begin(), data.end(), img.begin() + long(WaveHeaderSize(f)));
    return img;
}

// One sample of the stream as a fraction of full scale.
double StreamValue(StreamSample sample, const std::uint8_t* p) {
    switch (sample) {
    case StreamSample::S24:
        return (std::int32_t(std::uint32_t(p[0] << 8 | p[1] << 16 | p[2] << 24)) >> 8) / 8388607.0;
    case StreamSample::Float32: {
        float v;
        std::memcpy(&v, p, 4);
        return v;
    }
    case StreamSample::S16:
        break;
    }
    return std::int16_t(p[0] | p[1] << 8) / 32767.0;
}
} // namespace

// Each channel at its own level in every stream format, steady and through
// the fade-out at a stop, which every format ends with.
TEST(CrossfadeMixerTest, EveryStreamFormatLevelsEachChannelAndFadesOutAtAStop) {
    struct Levels {
        std::uint32_t word; // right in the high half
        double left, right;
    };
    const Levels levels[] = {{0x4000FFFF, 1.0, 16384 / 65535.0},
                             {0xFFFF4000, 16384 / 65535.0, 1.0}};
    for (StreamSample sample : {StreamSample::S16, StreamSample::S24, StreamSample::Float32})
        for (const Levels& l : levels) {
            const auto image = ConstantIn(sample, 0.5, -0.25);
            const WaveImageView view = *ParseWaveImage(image);
            ASSERT_EQ(StreamSampleFor(view), sample);
            const std::size_t bytes = StreamFrameBytes(sample), half = bytes / 2;
            CrossfadeMixer mixer;
            mixer.SetRate(96000);
            mixer.Start(view, true, l.word);
            std::vector<std::uint8_t> out(bytes * 1000);
            ASSERT_EQ(mixer.Render(out.data(), 1000, l.word, sample), 1000u);
            const double left = 0.5 * l.left, right = -0.25 * l.right;
            const double step = 1.0 / 32767; // the 16-bit stream's rounding
            const std::string what =
                std::to_string(bytes) + "-byte frames, level " + std::to_string(l.word);
            EXPECT_NEAR(StreamValue(sample, &out[999 * bytes]), left, step) << what;
            EXPECT_NEAR(StreamValue(sample, &out[999 * bytes + half]), right, step) << what;
            mixer.Stop(l.word);
            ASSERT_EQ(mixer.Render(out.data(), 1000, l.word, sample), 384u) << what;
            // 384 steps down from the level, none of them to silence.
            const double first = 384.0 / 385, last = 1.0 / 385;
            EXPECT_NEAR(StreamValue(sample, &out[0]), left * first, step) << what;
            EXPECT_NEAR(StreamValue(sample, &out[half]), right * first, step) << what;
            EXPECT_NEAR(StreamValue(sample, &out[383 * bytes]), left * last, step) << what;
            EXPECT_NEAR(StreamValue(sample, &out[383 * bytes + half]), right * last, step) << what;
            EXPECT_TRUE(mixer.Silent());
        }
}

// A streamed tone reaches the stream as its source renders it, bit for bit
// at full level, however it is taken; frames taken back by a
// rewrite come again the same, and a stop after one fades out from the
// phase the rewrite went back to, in every format.
TEST(CrossfadeMixerTest, AStreamedToneIsItsSourceFramesAndFadesOutWhereARewriteWentBack) {
    for (StreamSample sample : {StreamSample::S16, StreamSample::S24, StreamSample::Float32}) {
        WaveFormat format;
        format.stereo = true;
        format.wide = sample == StreamSample::S24       ? WideSamples::Pcm24
                      : sample == StreamSample::Float32 ? WideSamples::Float32
                                                        : WideSamples::None;
        StreamedToneSettings tone;
        tone.frequency = MilliHertz{997123};
        tone.rightFrequency = MilliHertz{1000500};
        tone.peak = 0.5;
        StreamedTone played(tone, format), reference(tone, format);
        const std::size_t bytes = StreamFrameBytes(sample), half = bytes / 2;
        ASSERT_EQ(std::size_t(format.BytesPerFrame()), bytes);
        constexpr std::size_t kFrames = 250000;
        std::vector<std::uint8_t> want(kFrames * bytes), got(kFrames * bytes);
        reference.Render(kFrames, want.data());

        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        mixer.StartStream(played, kFullLevel);
        const std::size_t fade = std::size_t(mixer.FadeFrames());
        for (std::size_t done = 0; done < kFrames; done += 7000) // uneven pieces
            ASSERT_EQ(mixer.Render(got.data() + done * bytes,
                                   std::min<std::size_t>(7000, kFrames - done), kFullLevel, sample),
                      std::min<std::size_t>(7000, kFrames - done));
        const std::string what = std::to_string(bytes) + "-byte frames";
        EXPECT_TRUE(std::equal(got.begin() + long(fade * bytes), got.end(),
                               want.begin() + long(fade * bytes)))
            << what;
        EXPECT_LT(std::abs(StreamValue(sample, &got[0])), 0.5 / 100) << what; // faded in

        // Where the mixer stands in the source follows a rewrite back.
        EXPECT_EQ(mixer.StreamFramesRendered(), kFrames) << what;
        ASSERT_EQ(mixer.Rewind(3000), 3000u) << what;
        EXPECT_EQ(mixer.StreamFramesRendered(), kFrames - 3000) << what;
        ASSERT_EQ(mixer.Render(got.data(), 1000, kFullLevel, sample), 1000u);
        EXPECT_TRUE(std::equal(got.begin(), got.begin() + long(1000 * bytes),
                               want.begin() + long((kFrames - 3000) * bytes)))
            << what;
        ASSERT_EQ(mixer.Rewind(500), 500u);
        mixer.Stop(kFullLevel);
        EXPECT_FALSE(mixer.StreamFramesRendered()) << what;
        ASSERT_EQ(mixer.Render(got.data(), 1000, kFullLevel, sample), fade) << what;
        const double step = 1.0 / 32767;
        for (std::size_t i = 0; i < fade; ++i)
            for (std::size_t c = 0; c < 2; ++c) {
                const double source =
                    StreamValue(sample, &want[(kFrames - 2500 + i) * bytes + c * half]);
                ASSERT_NEAR(StreamValue(sample, &got[i * bytes + c * half]),
                            source * double(fade - i) / double(fade + 1), step)
                    << what << ", frame " << i;
            }
        EXPECT_TRUE(mixer.Silent()) << what;
    }
}

// A change of a streamed source is heard from where a rewrite went back:
// the source renders the frames taken back again, the change from the first.
TEST(CrossfadeMixerTest, AStreamedChangeIsHeardFromWhereTheRewriteWentBack) {
    WaveFormat format;
    format.stereo = true;
    format.wide = WideSamples::Float32;
    StreamedToneSettings tone;
    tone.frequency = MilliHertz{997123};
    StreamedTone played(tone, format), reference(tone, format);
    constexpr std::size_t kFrames = 20000, kBack = 5000, kBytes = 8;
    std::vector<std::uint8_t> want(kFrames * kBytes), got(kFrames * kBytes);
    reference.Render(kFrames - kBack, want.data());
    reference.SetFrequency(MilliHertz{12500});
    reference.Render(kBack, want.data() + (kFrames - kBack) * kBytes);

    CrossfadeMixer mixer;
    mixer.SetRate(format.SamplesPerSecond());
    mixer.StartStream(played, kFullLevel);
    ASSERT_EQ(mixer.Render(got.data(), kFrames, kFullLevel, StreamSample::Float32), kFrames);
    ASSERT_EQ(mixer.Rewind(kBack), kBack);
    played.SetFrequency(MilliHertz{12500});
    ASSERT_EQ(mixer.Render(got.data() + (kFrames - kBack) * kBytes, kBack, kFullLevel,
                           StreamSample::Float32),
              kBack);
    const long fade = long(mixer.FadeFrames() * kBytes);
    EXPECT_TRUE(std::equal(got.begin() + fade, got.end(), want.begin() + fade));
}

// What a streamed sound leaves in the stream across rewrites, with and
// without a change of its source between them, is its source's own frames
// at the level, each channel at its own: straight from a stereo source of
// the stream's format, through the scratch from a mono source or another
// format, and from every kind of source that steps back (a stepped sweep
// across a step's start).
TEST(CrossfadeMixerTest, AStreamedSoundAcrossRewritesIsItsSourceAtTheLevel) {
    constexpr std::uint32_t kLevel = 0x9000C000;
    using Make = std::function<std::unique_ptr<FrameSource>()>;
    const auto tone = [](WideSamples wide, bool stereo) -> Make {
        return [=] {
            WaveFormat f;
            f.stereo = stereo;
            f.wide = wide;
            StreamedToneSettings s;
            s.frequency = MilliHertz{997123};
            s.rightFrequency = MilliHertz{1500250};
            s.peak = 0.7;
            return std::make_unique<StreamedTone>(s, f);
        };
    };
    const auto retune = [](FrameSource& s) {
        static_cast<StreamedTone&>(s).SetFrequency(MilliHertz{12500});
    };
    WaveFormat floatMono;
    floatMono.wide = WideSamples::Float32;
    MultitoneSettings multitoneSettings;
    multitoneSettings.tones = TonesPerOctave(100, 10000, 1);
    multitoneSettings.fftLength = 4096;
    const Multitone multitone = BuildMultitone(multitoneSettings, 96000);
    ASSERT_FALSE(multitone.Refused());
    // Steps of 4800 frames: the first rewrite goes back over the second
    // step's start.
    const StepSchedule steps = BuildStepSchedule({1000, 8000, 5, false, 50, false}, 96000);
    struct Row {
        const char* what;
        Make make;
        std::function<void(FrameSource&)> change;
        StreamSample sample;
    };
    const Row rows[] = {
        {"16-bit stereo", tone(WideSamples::None, true), retune, StreamSample::S16},
        {"24-bit stereo", tone(WideSamples::Pcm24, true), retune, StreamSample::S24},
        {"float stereo", tone(WideSamples::Float32, true), retune, StreamSample::Float32},
        {"float mono", tone(WideSamples::Float32, false), retune, StreamSample::Float32},
        {"float into 16 bits", tone(WideSamples::Float32, true), retune, StreamSample::S16},
        {"multitone",
         [&] { return std::make_unique<MultitoneSource>(multitone, floatMono); },
         {},
         StreamSample::Float32},
        {"stepped sweep",
         [&] { return std::make_unique<SteppedSweepSource>(steps, floatMono, 0.5); },
         {},
         StreamSample::Float32},
    };
    for (const Row& row : rows) {
        const auto played = row.make(), reference = row.make();
        CrossfadeMixer mixer;
        mixer.SetRate(96000);
        mixer.StartStream(*played, kLevel);
        const std::size_t bytes = StreamFrameBytes(row.sample);
        std::vector<std::uint8_t> got(12000 * bytes);
        std::size_t at = 0;
        const auto render = [&](std::size_t frames) {
            for (std::size_t n; frames > 0; frames -= n, at += n) {
                n = std::min<std::size_t>(frames, 1500);
                ASSERT_EQ(mixer.Render(got.data() + at * bytes, n, kLevel, row.sample), n);
            }
        };
        render(6000);
        ASSERT_EQ(mixer.Rewind(2000), 2000u) << row.what;
        at -= 2000;
        render(3000);
        ASSERT_EQ(mixer.Rewind(1234), 1234u) << row.what;
        at -= 1234;
        if (row.change)
            row.change(*played);
        render(4000);

        const WaveFormat& f = reference->Format();
        const std::size_t first = at - 4000, frameBytes = std::size_t(f.BytesPerFrame());
        std::vector<std::uint8_t> source(at * frameBytes), want(at * bytes);
        reference->Render(first, source.data());
        if (row.change)
            row.change(*reference);
        reference->Render(4000, source.data() + first * frameBytes);
        const WaveImageView view{f.Channels(), f.SamplesPerSecond(), f.BitsPerSample(), f.IsFloat(),
                                 source};
        std::size_t position = 0;
        if (row.sample == StreamSample::S16)
            RenderStereo(view, position, false, kLevel,
                         reinterpret_cast<std::int16_t*>(want.data()), at);
        else
            RenderStereoWide(view, position, false, kLevel, row.sample == StreamSample::Float32,
                             want.data(), at);
        // From the end of the first piece, past the fade-in.
        EXPECT_TRUE(std::equal(got.begin() + long(1500 * bytes), got.begin() + long(at * bytes),
                               want.begin() + long(1500 * bytes)))
            << row.what;
    }
}

// A stop or change writes again what the server has not played yet, from
// where that begins. The server's library takes a seek only where its
// offset, read as an unsigned number, is whole frames.
TEST(QueuePlanTest, ARewriteGoesBackToWholeFramesInEveryStreamFormat) {
    struct Row {
        StreamSample sample;
        std::int64_t writeIndex;
        std::size_t frames;
        std::int64_t rewriteAt; // bytes from the stream's start
    };
    // One second written, the last 225 ms taken back.
    const Row rows[] = {{StreamSample::S16, 384000, 21600, 297600},
                        {StreamSample::S24, 576000, 21600, 446400},
                        {StreamSample::Float32, 768000, 21600, 595200}};
    for (const Row& r : rows) {
        const std::size_t frameBytes = StreamFrameBytes(r.sample);
        const QueueSeek seek = QueuePlan::RewriteSeek(r.writeIndex, r.frames, frameBytes);
        EXPECT_EQ(std::uint64_t(seek.offset) % frameBytes, 0u) << frameBytes << "-byte frames";
        EXPECT_EQ(seek.absolute ? seek.offset : r.writeIndex + seek.offset, r.rewriteAt)
            << frameBytes << "-byte frames";
    }
}

TEST(QueuePlanTest, RewritesWhatTheServerHasNotReadAndGrowsAfterUnderruns) {
    QueuePlan plan(96000);
    const std::int64_t bytes = 4;
    const std::size_t margin = 1152; // 12 ms
    // 100 ms queued, read 20 ms ago: 20 ms more have been read since.
    EXPECT_EQ(plan.RewritableFrames(9600 * bytes, 0, 20000, true, 4, true), 9600 - 1920 - margin);
    EXPECT_EQ(plan.RewritableFrames(9600 * bytes, 0, 20000, false, 4, true), 9600 - margin);
    EXPECT_EQ(plan.RewritableFrames(9600 * bytes, 9000 * bytes, 0, true, 4, true), 0u);
    // A server that cannot take a block back: a whole block is left.
    EXPECT_EQ(plan.RewritableFrames(9600 * bytes, 0, 20000, true, 4, false),
              9600u - 1920 - 2400); // 25 ms
    // The device keeps its short part as the buffer grows.
    std::vector<std::pair<int, int>> queues{{plan.QueueMs(), plan.RefillMs()}};
    for (int i = 0; i < 4; ++i) {
        plan.GrowAfterUnderrun();
        queues.emplace_back(plan.QueueMs(), plan.RefillMs());
    }
    EXPECT_EQ(queues, (std::vector<std::pair<int, int>>{
                          {250, 100}, {375, 162}, {500, 225}, {500, 225}, {500, 225}}));
}

// A server that takes 2048 frames (21.3 ms at 96000/s) at the start of each
// cycle: its read position climbs in steps above the line of its steady
// rate, and a report catches it anywhere on a step.
TEST(ReadPositionReportsTest, FollowsTheLineUnderABlockServersStepsAndItsStalls) {
    constexpr std::int64_t kBlock = 2048;
    constexpr double kCycleUsec = 2048 * 1e6 / 96000;
    std::uint64_t stalledUsec = 0; // the server took nothing for this long
    const auto line = [&](std::uint64_t usec) {
        return std::int64_t(double(usec - stalledUsec) * 96000 / 1e6);
    };
    const auto taken = [&](std::uint64_t usec) {
        return kBlock * (std::int64_t(double(usec - stalledUsec) / kCycleUsec) + 1);
    };
    ReadPositionReports reads(96000, 2400);
    EXPECT_FALSE(reads.ReadAt(1000));
    // Reports a fifth of a cycle further on the step each time: the second
    // one catches the server just after it took a block.
    std::int64_t worstAbove = 0, worstBelow = 0, newestAbove = 0;
    std::uint64_t at = 1000000;
    for (int k = 0; k < 12; ++k, at += std::uint64_t(7.2 * kCycleUsec)) {
        reads.Note(taken(at), at, true);
        for (std::uint64_t later : {0, 5000, 60000}) {
            const std::int64_t read = *reads.ReadAt(at + later);
            const std::int64_t newest = taken(at) + std::int64_t(later) * 96000 / 1000000;
            if (k >= 5) {
                worstAbove = std::max(worstAbove, read - line(at + later));
                newestAbove = std::max(newestAbove, newest - line(at + later));
            }
            worstBelow = std::max(worstBelow, line(at + later) - read);
        }
    }
    // Within a fifth of a block above the line, never below it; the newest
    // report alone is up to a block above.
    EXPECT_LE(worstAbove, kBlock / 5 + 1);
    EXPECT_LE(worstBelow, 1);
    EXPECT_GT(newestAbove, kBlock * 3 / 4);

    // The server stalls for 100 ms without a word: the first report after
    // it moves the estimate back at once.
    stalledUsec = 100000;
    at += 200000;
    reads.Note(taken(at), at, true);
    const std::int64_t afterStall = *reads.ReadAt(at + 5000);
    EXPECT_GE(afterStall, line(at + 5000) - 1);
    EXPECT_LE(afterStall, line(at + 5000) + kBlock);

    // Catching up as fast (a server that took 100 ms at once): the reports
    // under the new line count no more.
    stalledUsec = 0;
    at += 50000;
    reads.Note(taken(at), at, true);
    EXPECT_GE(*reads.ReadAt(at + 5000), line(at + 5000) - 1);

    // Stopped: where it stands, not moved on; started again: the reports
    // from before count no more, nor after a read that went back.
    reads.Note(500000, at + 10000, false);
    EXPECT_EQ(reads.ReadAt(at + 90000), 500000);
    reads.Note(500000, at + 100000, true);
    EXPECT_EQ(reads.ReadAt(at + 100000), 500000);
    reads.Note(400000, at + 110000, true);
    EXPECT_EQ(reads.ReadAt(at + 110000), 400000);
}
