// SPDX-License-Identifier: GPL-3.0-or-later
// The wave image's bytes: the fast build against a literal reference, and
// the sample values, lengths, header fields and envelope phases that the
// rules fix.

#include "ReferenceSynth.h"
#include "ToneGenFixture.h"
#include "engine/AMMix.h"
#include "engine/Envelope.h"

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <tuple>

namespace {

class SynthesisTest : public ToneGenTest {
protected:
    // Sets a generator up like the reference parameters and builds.
    std::vector<std::uint8_t> Build(const RefParams& p) {
        TToneGen gen(nullptr);
        gen.SetFrequency(static_cast<std::int16_t>(p.frequency));
        gen.SetDuration(static_cast<std::int16_t>(p.duration));
        gen.SetWaveform(static_cast<TTGWave>(p.wave));
        gen.SetResolution(p.sixteenBit ? TTGResolution::tg16Bit : TTGResolution::tg8Bit);
        gen.SetQuality(p.hiQ ? TTGQuality::tgHiQ : TTGQuality::tgLoQ);
        gen.SetStereo(p.stereo);
        gen.SetAttack(std::int16_t(p.attack));
        gen.SetHold(std::int16_t(p.hold));
        gen.SetDecay(std::int16_t(p.decay));
        gen.SetSustain(std::int16_t(p.sustain));
        gen.SetRelease(std::int16_t(p.release));
        gen.SetAMUseMultiplier(p.useMultiplier);
        for (int i = 0; i < 8; ++i)
            gen.SetAMParameter(static_cast<TTGAMLevel>(i), std::int16_t(p.amAmplitude[i]),
                               p.amFrequency[i], static_cast<TTGWave>(p.amWave[i]));
        EXPECT_TRUE(p.envelope ? gen.PrepareADSR() : gen.Prepare());
        return Image(gen);
    }
};

// AM set-ups the grid cycles through.
RefParams WithAM(RefParams p, int variant) {
    switch (variant) {
    case 1: // 70 % tone plus 30 % of level 4 at twice the frequency
        p.amAmplitude[3] = 30;
        break;
    case 2: // over-full levels of every shape, absolute frequencies
        p.useMultiplier = false;
        p.amAmplitude = {50, 50, 50, 50, 50, 50, 50, 50};
        p.amWave = {0, 1, 2, 3, 4, 7, 2, 0};
        p.amFrequency = {0.5f, 441.7f, 1000.2f, 19999.9f, 3000.0f, 5.0f, 30000.0f, 40000.0f};
        break;
    case 3: // a sum of exactly 100 with noise, multiplier limits both ways
        p.amAmplitude = {60, 0, 0, 0, 0, 0, 0, 40};
        p.amWave = {4, 0, 0, 0, 0, 0, 0, 3};
        p.amFrequency = {0.001f, 1, 1, 1, 1, 1, 1, 100.0f};
        break;
    default:
        break;
    }
    return p;
}

TEST_F(SynthesisTest, FastBuildMatchesLiteralReferenceOverAGrid) {
    const int frequencies[] = {20, 440, 1000, 7919, 19999, 20000};
    const int durations[] = {10, 15, 101, 37};
    int variant = 0;
    for (int wave = 0; wave <= 4; ++wave)
        for (int f : frequencies)
            for (bool sixteen : {true, false})
                for (bool hiQ : {true, false}) {
                    RefParams p;
                    p.frequency = f;
                    p.wave = wave;
                    p.sixteenBit = sixteen;
                    p.hiQ = hiQ;
                    p.duration = durations[variant % 4];
                    p.stereo = (variant / 2) % 2 == 1;
                    p.envelope = (variant / 3) % 2 == 1;
                    p = WithAM(p, variant % 4);
                    if (variant % 5 == 0) {
                        p.attack = 60;
                        p.decay = 60;
                        p.release = 7;
                    }
                    ++variant;
                    const auto expected = ReferenceImage(p);
                    const auto actual = Build(p);
                    ASSERT_EQ(actual.size(), expected.size());
                    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin());
                    ASSERT_TRUE(diff.first == actual.end())
                        << "wave " << wave << " f " << f << " 16-bit " << sixteen << " hiQ " << hiQ
                        << " stereo " << p.stereo << " envelope " << p.envelope << " duration "
                        << p.duration << " AM " << (variant - 1) % 4
                        << ": first difference at byte " << (diff.first - actual.begin());
                }
}

TEST_F(SynthesisTest, LongStereoImagesMatchTheReference) {
    // Long enough for the period arithmetic to run through many periods at
    // a frequency whose period is not a whole number of samples.
    for (int wave : {0, 2, 3}) {
        RefParams p;
        p.frequency = 441;
        p.duration = 2500;
        p.wave = wave;
        p.stereo = true;
        p.envelope = true;
        p.amAmplitude[1] = 25;
        EXPECT_EQ(Build(p), ReferenceImage(p)) << "wave " << wave;
    }
}

TEST_F(SynthesisTest, SineAt1000HzHasItsPeaksOnQuarterPeriods) {
    RefParams p;
    const auto img = Build(p);
    ASSERT_EQ(img.size(), 19276u);
    EXPECT_EQ(Sample16(img, 0), 0);
    EXPECT_EQ(Sample16(img, 24), 32767);
    EXPECT_EQ(Sample16(img, 72), -32767);
    EXPECT_EQ(Sample16(img, 96 + 24), 32767); // every period starts afresh
}

struct LengthCase {
    bool sixteen, hiQ, stereo;
    int duration;
    std::uint32_t L;
};

TEST_F(SynthesisTest, DataLengthFollowsFormatAndDuration) {
    const LengthCase cases[] = {
        {true, true, false, 100, 19200}, {false, false, false, 100, 4410},
        {true, false, false, 15, 1323},  {true, true, true, 100, 38400},
        {false, true, true, 10, 1920},   {true, true, true, 32767, 12582528},
        {true, false, false, 10, 882},   {false, false, false, 15, 661},
    };
    for (const auto& c : cases) {
        const WaveFormat f{c.stereo, c.sixteen, c.hiQ};
        EXPECT_EQ(f.DataLength(c.duration), c.L) << c.duration;
    }
}

TEST_F(SynthesisTest, OddLengthImageEndsWithAWholeFrameInThePadding) {
    RefParams p;
    p.hiQ = false;
    p.duration = 15;
    p.frequency = 440;
    const auto img = Build(p);
    ASSERT_EQ(img.size(), 44u + 1323 + 32);
    EXPECT_EQ(img, ReferenceImage(p));
    // The padding after the straddling frame's second byte is silence.
    for (std::size_t i = 44 + 1323 + 1; i < img.size(); ++i)
        EXPECT_EQ(img[i], 0) << i;
}

TEST_F(SynthesisTest, FullLevel8BitSquareAlternatesBetween1And255) {
    RefParams p;
    p.sixteenBit = false;
    p.hiQ = false;
    p.wave = 1;
    const auto img = Build(p);
    ASSERT_EQ(img.size(), 44u + 4410 + 32);
    std::set<int> values(img.begin() + 44, img.begin() + 44 + 4410);
    EXPECT_EQ(values, (std::set<int>{1, 255}));
    EXPECT_EQ(img[44 + 4410], 0x80); // padding at the 8-bit zero level
}

TEST_F(SynthesisTest, PeriodsOf440HzEndAtTruncatedMultiplesOfP) {
    const double P = 96000.0 / 440;
    std::vector<int> lengths;
    for (long p = 1; p <= 12; ++p)
        lengths.push_back(PeriodLengthOf(p, P));
    EXPECT_EQ(lengths,
              (std::vector<int>{218, 218, 218, 218, 218, 219, 218, 218, 218, 218, 219, 218}));
    long end = 0;
    for (long p = 1; p <= 1000; ++p) {
        end += PeriodLengthOf(p, P);
        ASSERT_EQ(end, long(p * P)) << p;
    }
}

TEST_F(SynthesisTest, StereoFramesHoldTwoEqualSamples) {
    RefParams p;
    p.stereo = true;
    p.wave = 4;
    const auto img = Build(p);
    ASSERT_EQ(img.size(), 44u + 38400 + 32);
    for (std::size_t i = 44; i < 44 + 38400; i += 4)
        ASSERT_TRUE(img[i] == img[i + 2] && img[i + 1] == img[i + 3]) << i;
}

TEST_F(SynthesisTest, NoiseRepeatsExactlyAndStaysWithinFullScale) {
    RefParams p;
    p.wave = 4;
    const auto a = Build(p), b = Build(p);
    EXPECT_EQ(a, b);
    int lo = 0, hi = 0;
    for (std::size_t i = 0; i < 9600; ++i) {
        lo = std::min<int>(lo, Sample16(a, i));
        hi = std::max<int>(hi, Sample16(a, i));
    }
    EXPECT_GE(lo, -32767);
    EXPECT_LE(hi, 32767);
    EXPECT_LT(lo, -30000); // and it does use the range
    EXPECT_GT(hi, 30000);
}

TEST_F(SynthesisTest, SilentLevelStillTakesItsShareFromTheMainTone) {
    RefParams p;
    p.useMultiplier = false;
    p.amAmplitude[0] = 20;
    p.amFrequency[0] = 0.5f; // truncates to 0 Hz
    const auto img = Build(p);
    // 80 % of full scale: (sin / 2) x 80 x 65534 / 100, truncated.
    EXPECT_EQ(Sample16(img, 24), 26213);
    EXPECT_EQ(img, ReferenceImage(p));
}

// How the levels share full scale and where they play.
struct MixCase {
    std::string name;
    bool useMultiplier;
    int frequency;
    std::array<std::int16_t, 8> amplitudes;
    std::array<float, 8> frequencies;
    std::vector<std::pair<int, int>> expected; // (level, frequency) of tone, level 1..8
};

TEST(AMMixTest, LevelsShareFullScale) {
    const std::array<float, 8> mults{0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4};
    const MixCase cases[] = {
        {"level 4 at 30 %",
         true,
         1000,
         {0, 0, 0, 30, 0, 0, 0, 0},
         mults,
         {{70, 1000}, {0, 0}, {0, 0}, {0, 0}, {30, 2000}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
        {"all eight at 50",
         true,
         1000,
         {50, 50, 50, 50, 50, 50, 50, 50},
         mults,
         {{-300, 1000},
          {12, 500},
          {12, 1000},
          {12, 1500},
          {12, 2000},
          {12, 2500},
          {12, 3000},
          {12, 3500},
          {12, 4000}}},
        {"exactly 100",
         true,
         1000,
         {60, 40, 0, 0, 0, 0, 0, 0},
         mults,
         {{0, 1000}, {60, 500}, {40, 1000}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
        {"multiplier limits",
         true,
         20,
         {10, 0, 0, 0, 0, 0, 0, 0},
         mults,
         {{90, 20}, {10, 20}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
        {"multiplier upper limit",
         true,
         10000,
         {0, 0, 0, 0, 0, 0, 0, 10},
         mults,
         {{90, 10000}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {10, 20000}}},
        {"absolute 0.5 Hz is silent",
         false,
         1000,
         {20, 0, 0, 0, 0, 0, 0, 0},
         mults,
         {{80, 1000}, {20, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
        {"amplitudes outside 0..100 are limited",
         false,
         1000,
         {300, -50, 0, 0, 0, 0, 0, 0},
         {440, 880, 0, 0, 0, 0, 0, 0},
         {{0, 1000}, {100, 440}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
        {"absolute frequencies beyond 16 bits are silent",
         false,
         1000,
         {10, 10, 10, 10, 0, 0, 0, 0},
         {32767.9f, 32768.0f, 1e30f, std::numeric_limits<float>::quiet_NaN(), 0, 0, 0, 0},
         {{60, 1000}, {10, 32767}, {10, 0}, {10, 0}, {10, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        AMLevels am;
        am.Reset();
        am.amplitudes = c.amplitudes;
        am.frequencies = c.frequencies;
        int limited = 0;
        const ToneComponents mix =
            MixComponents(c.frequency, TTGWave::tgSine, am, c.useMultiplier, [&] { ++limited; });
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(mix[i].level, c.expected[i].first) << c.name << " component " << i;
            if (c.expected[i].first > 0) {
                EXPECT_EQ(mix[i].frequency, c.expected[i].second) << c.name << " component " << i;
            }
        }
        if (c.name.rfind("multiplier", 0) == 0) {
            EXPECT_EQ(limited, 1) << c.name;
        }
    }
}

TEST_F(SynthesisTest, TriangleWithoutRisingSampleAddsNothing) {
    // 30000 Hz at 44100 samples per second: half length 0.
    RefParams p;
    p.hiQ = false;
    p.useMultiplier = false;
    p.amAmplitude[0] = 50;
    p.amWave[0] = 2;
    p.amFrequency[0] = 30000;
    RefParams silent = p;
    silent.amFrequency[0] = 0;
    EXPECT_EQ(Build(p), Build(silent));
}

TEST(EnvelopeTest, PhaseBoundaries) {
    struct Case {
        std::string name;
        EnvelopeSettings e;
        std::uint32_t L;
        int bytesPerFrame;
        std::vector<std::tuple<EnvelopePhaseKind, std::int64_t, std::int64_t>> phases;
    };
    using K = EnvelopePhaseKind;
    const Case cases[] = {
        {"defaults on the 1000 Hz image",
         {10, 5, 20, 50, 30},
         19200,
         2,
         {{K::Attack, 0, 960},
          {K::Hold, 961, 480},
          {K::Decay, 1442, 1920},
          {K::Sustain, 3363, 3360},
          {K::Release, 6724, 2876}}},
        {"over-full shares are scaled down",
         {60, 0, 60, 50, 0},
         19200,
         2,
         {{K::Attack, 0, 4800}, {K::Decay, 4801, 4800}}},
        {"no phases but sustain: the whole image",
         {0, 0, 0, 30, 0},
         19200,
         2,
         {{K::Sustain, 0, 9600}}},
        {"stereo frames",
         {10, 5, 20, 50, 30},
         38400,
         4,
         {{K::Attack, 0, 960},
          {K::Hold, 961, 480},
          {K::Decay, 1442, 1920},
          {K::Sustain, 3363, 3360},
          {K::Release, 6724, 2876}}},
        {"short image: release has nothing left", {0, 0, 0, 50, 1}, 100, 2, {{K::Sustain, 0, 49}}},
    };
    for (const auto& c : cases) {
        const auto plan = EnvelopePlan(c.L, c.bytesPerFrame, c.e);
        ASSERT_EQ(plan.size(), c.phases.size()) << c.name;
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_EQ(plan[i].kind, std::get<0>(c.phases[i])) << c.name << " " << i;
            EXPECT_EQ(plan[i].start, std::get<1>(c.phases[i])) << c.name << " " << i;
            EXPECT_EQ(plan[i].n, std::get<2>(c.phases[i])) << c.name << " " << i;
        }
    }
}

TEST(EnvelopeTest, GainsOnAConstantSignal) {
    // A constant 10000 shows each phase's gain directly.
    const std::uint32_t L = 19200;
    std::vector<std::uint8_t> data(L + 32);
    auto fill = [&] {
        for (std::uint32_t i = 0; i < L; i += 2) {
            data[i] = std::uint8_t(10000 & 0xFF);
            data[i + 1] = std::uint8_t(10000 >> 8);
        }
    };
    auto at = [&](int frame) { return std::int16_t(data[2 * frame] | (data[2 * frame + 1] << 8)); };
    fill();
    ApplyEnvelope(data.data(), L, false, true, EnvelopeSettings{10, 5, 20, 50, 30});
    EXPECT_EQ(at(0), 0);
    EXPECT_NEAR(at(480), 5000, 1);
    EXPECT_EQ(at(961), 10000);      // hold
    EXPECT_EQ(at(1441), 10000);     // hold's last frame
    EXPECT_NEAR(at(3362), 5000, 1); // decay ends at the sustain level
    EXPECT_EQ(at(5000), 5000);      // sustain
    EXPECT_NEAR(at(6724), 5000, 1); // release starts at the sustain level
    EXPECT_EQ(at(9599), 1);         // and ends one step above silence
    fill();
    ApplyEnvelope(data.data(), L, false, true, EnvelopeSettings{0, 0, 0, 30, 0});
    for (int f : {0, 1, 2, 4800, 9599})
        EXPECT_EQ(at(f), 3000) << f;
}

} // namespace
