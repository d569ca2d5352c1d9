// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement signals, measured on the images the generator builds at
// 16 bits (the two-tone signals in float as well): sweeps follow their law,
// pink noise has equal power per third octave, the two-tone signals hold
// their ratios and nothing else, bursts are exact, and the right channel
// keeps its own phase or frequency.

#include "SignalAnalysis.h"
#include "ToneGenFixture.h"
#include "engine/signals/PinkNoise.h"
#include "engine/signals/SweepSignal.h"
#include "engine/signals/ToneBurst.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <new>
#include <ostream>
#include <string>

namespace {

constexpr double kFullScale = 32767;

class MeasurementSignalTest : public ToneGenTest {
protected:
    // Builds the signal (precise, 16-bit unless asked) as export does and
    // returns each channel's samples in units of full scale.
    std::vector<std::vector<double>> Build(const MeasurementSignal& signal, int rate,
                                           int frequency = 1000, bool stereo = false,
                                           int durationMs = 100,
                                           TTGResolution resolution = TTGResolution::tg16Bit,
                                           double levelDb = 0) {
        TToneGen gen(nullptr);
        gen.SetPrecise(true);
        gen.SetResolution(resolution);
        gen.SetPeakLevel(levelDb);
        gen.SetQuality(rate == 44100 ? TTGQuality::tgLoQ : TTGQuality::tgHiQ);
        gen.SetSampleRate(rate);
        gen.SetFrequency(std::int16_t(frequency));
        gen.SetDuration(std::int16_t(durationMs));
        gen.SetStereo(stereo);
        gen.SetSignal(signal);
        EXPECT_TRUE(gen.Prepare());
        const std::vector<double> interleaved = ImageSamples(gen);
        const std::size_t channels = stereo ? 2 : 1;
        const std::size_t frames = interleaved.size() / channels;
        std::vector<std::vector<double>> x(channels, std::vector<double>(frames));
        for (std::size_t i = 0; i < frames; ++i)
            for (std::size_t ch = 0; ch < channels; ++ch)
                x[ch][i] = interleaved[i * channels + ch];
        return x;
    }
};

double Peak(const std::vector<double>& x) {
    double p = 0;
    for (double v : x)
        p = std::max(p, std::fabs(v));
    return p;
}

double Degrees(double radians) {
    double d = std::remainder(radians, 2 * M_PI) * 180 / M_PI;
    return d;
}

struct Sweep {
    double startHz, endHz;
    int durationMs;
    bool linear;
    int fadeMs;
    int rate;
};
std::ostream& operator<<(std::ostream& os, const Sweep& s) {
    return os << s.startHz << ":" << s.endHz << " Hz " << s.durationMs << " ms"
              << (s.linear ? " linear" : " synchronized") << " fade " << s.fadeMs << " ms at "
              << s.rate;
}

class SweepTest : public MeasurementSignalTest, public ::testing::WithParamInterface<Sweep> {};

TEST_P(SweepTest, FollowsItsLawAtConstantAmplitude) {
    const Sweep& p = GetParam();
    MeasurementSignal signal;
    signal.kind = SignalKind::Sweep;
    signal.sweep = {p.startHz, p.endHz, p.durationMs, p.linear, p.fadeMs};
    const SweepLaw law(signal.sweep);
    const std::vector<double> x = Build(signal, p.rate)[0];
    ASSERT_EQ(x.size(), std::size_t(std::lround(law.DurationSeconds() * p.rate)))
        << "one sweep, of the printed duration";
    if (!p.linear) {
        // Rounding f1 L moves the duration by at most half a cycle's worth.
        EXPECT_LE(std::fabs(law.DurationSeconds() - p.durationMs / 1000.0),
                  0.5 * std::fabs(std::log(p.endHz / p.startHz)) / p.startHz + 1e-9);
    }
    EXPECT_NEAR(Peak(x), 1, 1 / kFullScale);

    // Measured with fades: a hard start makes the analytic signal itself
    // ring for many cycles of the lowest frequency (the transform's doing,
    // not the sweep's), looped or not.
    const AnalyticSignal a = Analytic(x);
    const std::size_t n = x.size();
    // The frequency over 10 ms spans against the law's mean over the same
    // span (a single sample's phase step carries the rounding's noise).
    const std::size_t fade = std::size_t(p.fadeMs) * p.rate / 1000;
    const std::size_t span = p.rate / 100, first = std::max(n / 100, fade), last = n - first - span;
    double worstFrequency = 0;
    for (std::size_t i = first; i < last; i += span / 4) {
        const double measured = (a.phase[i + span] - a.phase[i]) / (2 * M_PI) * p.rate / span;
        const double expected =
            (law.Cycles(double(i + span) / p.rate) - law.Cycles(double(i) / p.rate)) * p.rate /
            span;
        worstFrequency = std::max(worstFrequency, std::fabs(measured / expected - 1));
    }
    EXPECT_LT(worstFrequency, 0.001) << "relative frequency error";

    // Between the fades (and 1% in from the ends), the envelope is flat.
    const auto [low, high] =
        std::minmax_element(a.magnitude.begin() + first, a.magnitude.end() - first);
    EXPECT_LT(20 * std::log10(*high / *low), 0.1) << "within +-0.05 dB";

    if (!p.linear) {
        // Whole cycles wherever the frequency passes k times the start.
        double worst = 0;
        for (int k = 2; k <= 8 && k * p.startHz <= p.endHz; ++k) {
            const double t = law.Rate() * std::log(double(k)) * p.rate;
            const auto i = static_cast<std::size_t>(t);
            const double phase = a.phase[i] + (t - i) * (a.phase[i + 1] - a.phase[i]);
            // The analytic phase of a sine is its own phase less a quarter turn.
            worst = std::max(worst, std::fabs(Degrees(phase + M_PI / 2)));
        }
        EXPECT_LT(worst, 1.0) << "degrees from a whole cycle";
    }
}

INSTANTIATE_TEST_SUITE_P(Sweeps, SweepTest,
                         ::testing::Values(Sweep{20, 20000, 10000, false, 200, 96000},
                                           Sweep{20000, 20, 2000, false, 200, 96000},
                                           Sweep{100, 10000, 1000, false, 50, 44100},
                                           Sweep{12.5, 21600, 2000, false, 100, 48000},
                                           Sweep{20, 20000, 2000, true, 200, 96000},
                                           Sweep{5000, 200, 500, true, 20, 96000}));

class LoopedSweep : public MeasurementSignalTest, public ::testing::WithParamInterface<Sweep> {};

TEST_P(LoopedSweep, EndsOnAWholeCycleWithinOneCycleOfItsEnd) {
    const Sweep& p = GetParam();
    MeasurementSignal signal;
    signal.kind = SignalKind::Sweep;
    signal.sweep = {p.startHz, p.endHz, p.durationMs, p.linear, 0, true};
    const std::vector<double> x = Build(signal, p.rate)[0];
    const double body = std::lround(SweepLaw(signal.sweep).DurationSeconds() * p.rate);
    EXPECT_LE(double(x.size()) - body, double(p.rate) / p.endHz + 1) << "at most a cycle more";
    EXPECT_EQ(SweepSampleCount(signal.sweep, p.rate), x.size());
    // The next sample is the repetition's first, at phase 0: the last one
    // sits one step of the end frequency (at most) below zero.
    EXPECT_EQ(x.front(), 0);
    EXPECT_LE(x.back(), 0);
    EXPECT_GT(x.back(), -std::sin(2 * M_PI * p.endHz / p.rate) - 1e-3);
}

// A falling linear law runs down to zero past its end: that tail holds the
// end frequency (it once never ended).
INSTANTIATE_TEST_SUITE_P(Sweeps, LoopedSweep,
                         ::testing::Values(Sweep{20, 20000, 1000, false, 0, 96000},
                                           Sweep{20000, 20, 500, false, 0, 44100},
                                           Sweep{997, 20, 100, true, 0, 44100},
                                           Sweep{997.123, 20000.5, 300, false, 0, 192000},
                                           Sweep{5000, 200, 777, true, 0, 96000}));

TEST_F(MeasurementSignalTest, PinkNoiseHasEqualPowerPerThirdOctaveAndNoEcho) {
    MeasurementSignal signal;
    signal.kind = SignalKind::PinkNoise;
    const std::vector<double> x = Build(signal, 96000, 1000, false, 10000)[0];
    ASSERT_EQ(x.size(), 960000u);
    EXPECT_NEAR(Peak(x), 1, 1 / kFullScale) << "peak-limited to the level";
    const std::vector<double> energy = BinEnergies(x);
    // Band power is energy per hertz times the band's width.
    std::vector<double> bands;
    for (const BandLevel& b : ThirdOctaveLevels(energy, 0.1, 25, 16000))
        bands.push_back(b.db + 10 * std::log10(b.centreHz));
    ASSERT_EQ(bands.size(), 29u);
    // Nothing below 20 Hz or above 20 kHz (bins of 0.1 Hz): at least 60 dB
    // below the band's energy.
    double below = 0, inBand = 0, above = 0;
    for (std::size_t k = 0; k < energy.size(); ++k)
        (k < 200 ? below : k <= 200000 ? inBand : above) += energy[k];
    EXPECT_LT(Db(below / inBand), -60) << "below 20 Hz";
    EXPECT_LT(Db(above / inBand), -60) << "above 20 kHz";
    double mean = 0;
    for (double b : bands)
        mean += b / bands.size();
    for (double b : bands)
        EXPECT_NEAR(b, mean, 1.0);
    const std::vector<double> r = LoopAutocorrelation(x);
    double worst = 0;
    for (std::size_t lag = 480; lag <= 96000; ++lag) // 5 ms .. 1 s
        worst = std::max(worst, std::fabs(r[lag]));
    EXPECT_LT(worst, 0.1);
}

// The longest fades the options allow, on the longest sweep: their length
// in samples (up to 2,880,000) is past what an int holds once multiplied
// by the rate.
TEST(SweepFadeTest, TheLongestFadesAreRaisedCosinesOfTheirLength) {
    struct Row {
        int fadeMs;
        std::size_t fadeSamples;
    };
    const std::vector<double> plain = SweepSamples({1000, 1001, 60000, true, 0}, 96000);
    for (const Row row : {Row{22370, 2147520}, Row{30000, 2880000}}) {
        const std::vector<double> faded =
            SweepSamples({1000, 1001, 60000, true, row.fadeMs}, 96000);
        ASSERT_EQ(faded.size(), 5760000u);
        ASSERT_EQ(plain.size(), faded.size());
        double worst = 0;
        for (std::size_t n = 0; n < faded.size(); n += 997) {
            if (std::fabs(plain[n]) < 0.5)
                continue;
            const std::size_t fromEnd = std::min(n, faded.size() - 1 - n);
            const double gain =
                fromEnd < row.fadeSamples
                    ? 0.5 - 0.5 * std::cos(M_PI * double(fromEnd) / double(row.fadeSamples))
                    : 1.0;
            worst = std::max(worst, std::fabs(faded[n] / plain[n] - gain));
        }
        EXPECT_LT(worst, 1e-9) << "fade " << row.fadeMs << " ms";
    }
}

// Short of memory, pink noise fails with std::bad_alloc wherever it runs
// out, in the transform's planning too (where the library would abort the
// program), under address-space limits from none to more than enough.
TEST(PinkNoiseMemoryTest, ShortMemoryIsAnErrorNeverAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit";
#else
    constexpr int kCount = 500009; // a prime length takes the library the most memory
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const std::size_t inUse = pages * std::size_t(sysconf(_SC_PAGESIZE));
    const std::size_t buffers = 16 * std::size_t(kCount); // the spectrum and the samples
    int made = 0;
    for (std::size_t extraMb = 0; extraMb <= 64; extraMb += 8) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const rlim_t limit = inUse + buffers + (extraMb << 20);
            const rlimit rl{limit, limit};
            setrlimit(RLIMIT_AS, &rl);
            try {
                const std::vector<double> noise = PinkNoise(kCount, 44100, 1);
                _exit(noise.size() == std::size_t(kCount) ? 0 : 3);
            } catch (const std::bad_alloc&) {
                _exit(1);
            }
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status))
            << "signal " << WTERMSIG(status) << " with " << extraMb << " MB to spare";
        ASSERT_NE(WEXITSTATUS(status), 3);
        made += WEXITSTATUS(status) == 0;
    }
    EXPECT_GT(made, 0) << "made at last";
#endif
}

struct TwoToneRow {
    SignalKind kind;
    int lowHz, highHz;
    double ratioDb;
    int rate;
    TTGResolution resolution;
    // Every other line of the loop's spectrum is below this, in dB relative
    // to the high tone (the carrier of SMPTE's sidebands).
    double othersBelowDbc;
};
std::ostream& operator<<(std::ostream& os, const TwoToneRow& t) {
    return os << t.lowHz << "+" << t.highHz << " Hz at " << t.rate << ", "
              << (t.resolution == TTGResolution::tgFloat ? "float" : "16-bit");
}

class TwoToneTest : public MeasurementSignalTest,
                    public ::testing::WithParamInterface<TwoToneRow> {};

TEST_P(TwoToneTest, HoldsItsLineRatioAtTheLevel) {
    const TwoToneRow& p = GetParam();
    MeasurementSignal signal;
    signal.kind = p.kind;
    // The default loop: 100 ms, whole periods of both tones, so that each
    // falls on one bin of the loop's plain transform.
    const std::vector<double> x = Build(signal, p.rate, 1000, false, 100, p.resolution)[0];
    EXPECT_NEAR(Peak(x), 1, 1 / kFullScale) << "the combined peak is the level";
    const std::vector<double> energy = BinEnergies(x);
    const double binHz = double(p.rate) / double(x.size());
    const std::size_t lowBin = std::size_t(std::lround(p.lowHz / binHz));
    const std::size_t highBin = std::size_t(std::lround(p.highHz / binHz));
    EXPECT_NEAR(Db(energy[lowBin] / energy[highBin]), p.ratioDb, 0.05);
    double worst = 0;
    std::size_t worstBin = 0;
    for (std::size_t k = 0; k < energy.size(); ++k)
        if (k != lowBin && k != highBin && energy[k] > worst)
            worst = energy[worstBin = k];
    const double othersDbc = Db(worst / energy[highBin]);
    EXPECT_LT(othersDbc, p.othersBelowDbc) << "at " << worstBin * binHz << " Hz";
    RecordProperty("ratio_db", std::to_string(Db(energy[lowBin] / energy[highBin])));
    RecordProperty("largest_other_dbc", std::to_string(othersDbc));
}

// In float nothing but the two tones is left above -130 dBc; at 16 bits the
// rounding's own lines (periodic, as the loop is) come to -101 to -106 dBc.
constexpr auto k16 = TTGResolution::tg16Bit;
constexpr auto kFloat = TTGResolution::tgFloat;
INSTANTIATE_TEST_SUITE_P(
    Signals, TwoToneTest,
    ::testing::Values(TwoToneRow{SignalKind::Smpte, 60, 7000, 12.04, 96000, k16, -95},
                      TwoToneRow{SignalKind::Smpte, 60, 7000, 12.04, 44100, k16, -95},
                      TwoToneRow{SignalKind::Ccif, 19000, 20000, 0, 96000, k16, -95},
                      TwoToneRow{SignalKind::Ccif, 19000, 20000, 0, 44100, k16, -95},
                      TwoToneRow{SignalKind::Smpte, 60, 7000, 12.04, 96000, kFloat, -130},
                      TwoToneRow{SignalKind::Ccif, 19000, 20000, 0, 96000, kFloat, -130}));

struct BurstRow {
    int frequency, on, off, rate;
    std::size_t onFrames, periodFrames; // the nearest whole samples
};
std::ostream& operator<<(std::ostream& os, const BurstRow& b) {
    return os << b.on << ":" << b.off << " of " << b.frequency << " Hz at " << b.rate;
}

class BurstTest : public MeasurementSignalTest, public ::testing::WithParamInterface<BurstRow> {};

TEST_P(BurstTest, WholeCyclesFromZeroThenSilence) {
    const BurstRow& p = GetParam();
    MeasurementSignal signal;
    signal.kind = SignalKind::Burst;
    signal.burst = {p.on, p.off};
    const std::vector<double> x = Build(signal, p.rate, p.frequency)[0];
    const std::size_t on = p.onFrames, period = p.periodFrames;
    ASSERT_EQ(x.size() % period, 0u) << "whole bursts";
    ASSERT_GE(x.size(), std::size_t(p.rate) / 10);
    for (std::size_t start = 0; start < x.size(); start += period) {
        EXPECT_EQ(x[start], 0);
        EXPECT_GT(x[start + 1], 0) << "a sine rising from zero";
        for (std::size_t m = 0; m < period; ++m) {
            const double expected =
                m < on ? std::lrint(kFullScale *
                                    std::sin(2 * M_PI * double(m) * p.frequency / p.rate)) /
                             kFullScale
                       : 0;
            ASSERT_NEAR(x[start + m], expected, 1.01 / kFullScale)
                << "sample " << m << " of the burst at " << start;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bursts, BurstTest,
                         ::testing::Values(BurstRow{1000, 10, 90, 96000, 960, 9600},
                                           BurstRow{441, 3, 5, 44100, 300, 800},
                                           BurstRow{20, 1, 1, 96000, 4800, 9600},
                                           BurstRow{12000, 4, 0, 96000, 32, 32},
                                           // 962.9 and 9628.9 samples
                                           BurstRow{997, 10, 90, 96000, 963, 9629}));

struct ChannelRow {
    int frequency, lagTenths, rightFrequency, rate;
};
std::ostream& operator<<(std::ostream& os, const ChannelRow& c) {
    return os << c.frequency << " Hz, right lags " << c.lagTenths / 10.0 << " deg at "
              << (c.rightFrequency ? c.rightFrequency : c.frequency) << " Hz, " << c.rate;
}

class ChannelTest : public MeasurementSignalTest,
                    public ::testing::WithParamInterface<ChannelRow> {};

TEST_P(ChannelTest, RightChannelKeepsItsPhaseAndFrequency) {
    const ChannelRow& p = GetParam();
    MeasurementSignal signal;
    signal.rightLagTenths = p.lagTenths;
    signal.rightFrequency = p.rightFrequency;
    const int right = p.rightFrequency ? p.rightFrequency : p.frequency;
    const int loopMs = SignalLoopDurationMs(signal, p.frequency);
    const auto x = Build(signal, p.rate, p.frequency, true, loopMs);
    const std::size_t n = x[0].size(), half = n / 2;
    // Each channel's frequency from its phase advance between the loop's
    // halves, read at the asked frequency.
    const auto measured = [&](const std::vector<double>& ch, int hz) {
        const ToneReading a = ReadTone(ch, hz, p.rate, 0, half);
        const ToneReading b = ReadTone(ch, hz, p.rate, half, half);
        return hz + std::remainder(b.phase - a.phase, 2 * M_PI) / (2 * M_PI) * p.rate / half;
    };
    EXPECT_NEAR(measured(x[0], p.frequency), p.frequency, 0.01);
    EXPECT_NEAR(measured(x[1], right), right, 0.01);
    if (!p.rightFrequency) {
        const double lag = Degrees(ReadTone(x[0], p.frequency, p.rate, 0, n).phase -
                                   ReadTone(x[1], p.frequency, p.rate, 0, n).phase);
        EXPECT_NEAR(std::remainder(lag - p.lagTenths / 10.0, 360), 0, 0.1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Channels, ChannelTest,
    ::testing::Values(ChannelRow{1000, 900, 0, 96000}, ChannelRow{997, 1800, 0, 44100},
                      ChannelRow{20, 1, 0, 96000}, ChannelRow{19999, 3599, 0, 96000},
                      ChannelRow{1000, 0, 1001, 96000}, ChannelRow{440, 450, 441, 44100}));

// Every signal at -20 dB in every resolution: a peak of 0.1 of full scale
// (16 bits round it to 3277 steps, 0.001 dB off).
TEST_F(MeasurementSignalTest, EverySignalTakesTheLevel) {
    for (SignalKind kind : {SignalKind::Sweep, SignalKind::PinkNoise, SignalKind::Smpte,
                            SignalKind::Ccif, SignalKind::Burst})
        for (TTGResolution r : {TTGResolution::tg16Bit, TTGResolution::tg24Bit, kFloat}) {
            MeasurementSignal signal;
            signal.kind = kind;
            signal.sweep = {20, 20000, 1000};
            const std::vector<double> x = Build(signal, 96000, 1000, false, 1000, r, -20)[0];
            EXPECT_NEAR(20 * std::log10(Peak(x)), -20, 0.01)
                << "signal " << int(kind) << ", resolution " << int(r);
        }
}

// Played in a loop, every signal goes on across the image's end as it goes
// on inside it: no step at the wrap larger than the largest inside (one
// rounding step more). The loop is as long as the rule makes it.
TEST_F(MeasurementSignalTest, EverySignalLoopsWithoutAStepAtTheWrap) {
    struct Row {
        const char* name;
        MeasurementSignal signal;
        bool stereo;
    };
    MeasurementSignal sweep;
    sweep.kind = SignalKind::Sweep;
    sweep.sweep = {20, 20000, 1000, false, 0, true};
    MeasurementSignal linear = sweep;
    linear.sweep = {5000, 200, 777, true, 0, true};
    const auto of = [](SignalKind kind, int lag = 0, int right = 0) {
        MeasurementSignal s;
        s.kind = kind;
        s.rightLagTenths = lag;
        s.rightFrequency = right;
        return s;
    };
    const Row rows[] = {{"tone, right at 1001 Hz", of(SignalKind::Tone, 0, 1001), true},
                        {"tone, right 90 degrees late", of(SignalKind::Tone, 900), true},
                        {"sweep", sweep, false},
                        {"linear sweep", linear, false},
                        {"pink noise", of(SignalKind::PinkNoise), false},
                        {"SMPTE", of(SignalKind::Smpte), false},
                        {"CCIF", of(SignalKind::Ccif), false},
                        {"bursts", of(SignalKind::Burst), false}};
    for (const Row& row : rows) {
        const int loopMs = SignalLoopDurationMs(row.signal, 1000);
        for (const std::vector<double>& x : Build(row.signal, 96000, 1000, row.stereo, loopMs)) {
            double inside = 0;
            for (std::size_t i = 1; i < x.size(); ++i)
                inside = std::max(inside, std::fabs(x[i] - x[i - 1]));
            EXPECT_LE(std::fabs(x.front() - x.back()), inside + 1 / kFullScale) << row.name;
        }
    }
}

TEST_F(MeasurementSignalTest, ClassicSynthesisIgnoresTheSignal) {
    const auto image = [this](bool withSignal) {
        TToneGen gen(nullptr);
        if (withSignal) {
            MeasurementSignal signal;
            signal.kind = SignalKind::Sweep;
            gen.SetSignal(signal);
        }
        EXPECT_TRUE(gen.Prepare());
        return Image(gen);
    };
    EXPECT_EQ(image(true), image(false));
}

} // namespace
