// SPDX-License-Identifier: GPL-3.0-or-later
// Streamed tones on the millihertz grid: the frequency's text, the exact
// phase over long runs and across changes, the same samples as the looped
// precise image at whole hertz, and the purity and frequency of the stream
// measured by a least-squares sine fit.

#include "SignalAnalysis.h"
#include "SineFit.h"
#include "ToneGenFixture.h"
#include "engine/ChannelTone.h"
#include "engine/HarmonicSeries.h"
#include "engine/MilliHertz.h"
#include "engine/StreamExport.h"
#include "engine/StreamPhase.h"
#include "engine/StreamedTone.h"
#include "engine/TaylorCycle.h"
#include "engine/WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>

namespace {

// --- the frequency's text --------------------------------------------------

struct TextRow {
    const char* text;
    int rate;
    std::int64_t milliHertz; // when accepted
    FrequencyRefusal refusal;
};
std::ostream& operator<<(std::ostream& os, const TextRow& r) {
    return os << '"' << r.text << "\" at " << r.rate;
}

TEST(FrequencyText, IsReadToTheMilliHertzWithinTheRateRange) {
    using R = FrequencyRefusal;
    const TextRow rows[] = {
        {"997.123", 48000, 997123, R::None},
        {"12.5", 48000, 12500, R::None},
        {"1", 44100, 1000, R::None},
        {"0001.000", 44100, 1000, R::None},
        {"997.1230", 48000, 997123, R::None},
        {"20000", 44100, 20000000, R::None},
        {"21600", 48000, 21600000, R::None},
        {"43200", 96000, 43200000, R::None},
        {"997,123", 48000, 0, R::Comma},
        {"12,5", 48000, 0, R::Comma},
        {"997.1234", 48000, 0, R::TooManyDecimals},
        {"0.999", 48000, 0, R::OutOfRange},
        {"0", 48000, 0, R::OutOfRange},
        {"20000.001", 44100, 0, R::OutOfRange},
        {"21600.001", 48000, 0, R::OutOfRange},
        {"43200.001", 96000, 0, R::OutOfRange},
        {"99999999999999999999", 96000, 0, R::OutOfRange},
        {"", 48000, 0, R::NotANumber},
        {"1e3", 48000, 0, R::NotANumber},
        {"+5", 48000, 0, R::NotANumber},
        {"-5", 48000, 0, R::NotANumber},
        {" 5", 48000, 0, R::NotANumber},
        {"5.", 48000, 0, R::NotANumber},
        {".5", 48000, 0, R::NotANumber},
        {"1,2,3", 48000, 0, R::NotANumber},
        {"1.2.3", 48000, 0, R::NotANumber},
        {"440 Hz", 48000, 0, R::NotANumber},
    };
    for (const TextRow& row : rows) {
        const FrequencyReading r = ReadFrequency(row.text, row.rate);
        EXPECT_EQ(r.refusal, row.refusal) << row;
        if (row.refusal == R::None) {
            ASSERT_TRUE(r.frequency) << row;
            EXPECT_EQ(r.frequency->value, row.milliHertz) << row;
            // Written back, it reads as the same value.
            EXPECT_EQ(ReadFrequency(FrequencyText(*r.frequency), row.rate).frequency, r.frequency)
                << row;
        } else {
            EXPECT_FALSE(r.frequency) << row;
        }
    }
    EXPECT_EQ(FrequencyText({997123}), "997.123");
    EXPECT_EQ(FrequencyText({12500}), "12.5");
    EXPECT_EQ(FrequencyText({1000000}), "1000");
    EXPECT_EQ(FrequencyText({1001}), "1.001");
}

// --- the exact phase ---------------------------------------------------------

struct PhaseRow {
    std::int64_t milliHertz;
    int rate;
    std::uint64_t numerator;
    std::uint64_t denominator;
};

TEST(StreamPhase, StepIsTheReducedFractionAndLongRunsStayExact) {
    const PhaseRow rows[] = {
        {997123, 48000, 997123, 48000000}, {12500, 48000, 1, 3840},
        {1000000, 48000, 1, 48},           {19999999, 48000, 19999999, 48000000},
        {1000, 44100, 1, 44100},           {43199999, 96000, 43199999, 96000000},
        {997000, 44100, 997, 44100},
    };
    for (const PhaseRow& row : rows) {
        StreamPhase phase({row.milliHertz}, row.rate);
        EXPECT_EQ(phase.Numerator(), row.numerator) << row.milliHertz;
        EXPECT_EQ(phase.Denominator(), row.denominator) << row.milliHertz;
        // A billion frames and then some, at once: n p mod q.
        const std::uint64_t frames = 1'234'567'891'234ULL;
        phase.Advance(frames);
        const auto exact = static_cast<std::uint64_t>(static_cast<unsigned __int128>(frames) *
                                                      row.numerator % row.denominator);
        EXPECT_EQ(phase.Index(), exact) << row.milliHertz;
        EXPECT_EQ(phase.Units(), exact * (1000ULL * row.rate / row.denominator)) << row.milliHertz;
    }
    // 2^32 frames, the first and last 2^20 one by one as a stream takes
    // them (all of them one by one would take seconds).
    StreamPhase phase({997123}, 48000);
    const std::uint64_t frames = std::uint64_t(1) << 32, ends = std::uint64_t(1) << 20;
    for (std::uint64_t n = 0; n < ends; ++n)
        phase.Advance();
    EXPECT_EQ(phase.Index(), ends * 997123 % 48000000);
    phase.Advance(frames - 2 * ends);
    for (std::uint64_t n = 0; n < ends; ++n)
        phase.Advance();
    EXPECT_EQ(phase.Index(), frames * 997123 % 48000000);
}

TEST(StreamPhase, ANewFrequencyContinuesFromThePhaseReachedToTheFrame) {
    // In units of 1 / (1000 rate) of a cycle the phase after n1 frames at
    // f1 and n2 more at f2 is n1 f1 + n2 f2.
    const int rate = 48000;
    const std::uint64_t units = 1000ULL * rate;
    StreamPhase phase({997123}, rate);
    phase.Advance(1'000'003);
    phase.SetFrequency({12500});
    phase.Advance(777'777);
    phase.SetFrequency({19999999});
    phase.Advance(5);
    const unsigned __int128 expected = (unsigned __int128)(1'000'003) * 997123 +
                                       (unsigned __int128)(777'777) * 12500 +
                                       (unsigned __int128)(5) * 19999999;
    EXPECT_EQ(phase.Units(), static_cast<std::uint64_t>(expected % units));
}

// --- the stream's samples ----------------------------------------------------

enum class Bits { Sixteen, TwentyFour, Float };
const char* Name(Bits b) {
    return b == Bits::Sixteen ? "16-bit" : b == Bits::TwentyFour ? "24-bit" : "float";
}

WaveFormat FormatOf(Bits bits, int rate, bool stereo = false) {
    WaveFormat f;
    f.stereo = stereo;
    f.hiQ = rate == 96000;
    f.rate = rate;
    f.wide = bits == Bits::TwentyFour ? WideSamples::Pcm24
             : bits == Bits::Float    ? WideSamples::Float32
                                      : WideSamples::None;
    return f;
}

// Samples as fractions of full scale, channels interleaved.
std::vector<double> Decode(const std::uint8_t* p, std::size_t bytes, const WaveFormat& f) {
    const std::size_t width = std::size_t(f.BytesPerSample());
    std::vector<double> x(bytes / width);
    for (std::size_t i = 0; i < x.size(); ++i, p += width) {
        if (width == 2) {
            x[i] = std::int16_t(p[0] | p[1] << 8) / 32767.0;
        } else if (width == 3) {
            x[i] =
                (std::int32_t(std::uint32_t(p[0] << 8 | p[1] << 16 | p[2] << 24)) >> 8) / 8388607.0;
        } else {
            float v;
            std::memcpy(&v, p, sizeof v);
            x[i] = v;
        }
    }
    return x;
}

std::vector<double> Stream(FrameSource& source, std::size_t frames) {
    const WaveFormat& f = source.Format();
    std::vector<std::uint8_t> bytes(frames * std::size_t(f.BytesPerFrame()));
    // In uneven pieces, as an output asks for them.
    for (std::size_t done = 0, piece = 1; done < frames; done += piece, piece = piece * 3 + 7) {
        piece = std::min(piece, frames - done);
        source.Render(piece, bytes.data() + done * std::size_t(f.BytesPerFrame()));
    }
    return Decode(bytes.data(), bytes.size(), f);
}

// One step of the format, as a fraction of full scale.
double StepOf(Bits bits) {
    return bits == Bits::Sixteen ? 1 / 32767.0 : bits == Bits::TwentyFour ? 1 / 8388607.0 : 0x1p-24;
}

struct LoopRow {
    TTGWave wave;
    int frequency;
    int rate;
    Bits bits;
    int rightFrequency = 0;
    int rightLagTenths = 0;
    double levelDb = 0;
};

class StreamedToneTest : public ToneGenTest {};

TEST_F(StreamedToneTest, WholeHertzGivesTheLoopedImagesSamplesWithinAStep) {
    const LoopRow rows[] = {
        {TTGWave::tgSine, 997, 96000, Bits::Sixteen},
        {TTGWave::tgSine, 1001, 44100, Bits::Sixteen},
        {TTGWave::tgSine, 19999, 96000, Bits::TwentyFour},
        {TTGWave::tgSine, 440, 44100, Bits::Float, 0, 0, -6},
        {TTGWave::tgSquare, 997, 96000, Bits::Sixteen},
        {TTGWave::tgTriangle, 20, 44100, Bits::TwentyFour},
        {TTGWave::tgSawtooth, 1234, 96000, Bits::Float},
        {TTGWave::tgSine, 1000, 96000, Bits::TwentyFour, 1001, 0},
        {TTGWave::tgSine, 440, 96000, Bits::Sixteen, 0, 900},
        // The rates only the precise synthesis plays.
        {TTGWave::tgSine, 997, 48000, Bits::TwentyFour, 0, 0, -1},
        {TTGWave::tgSquare, 997, 48000, Bits::Sixteen},
        {TTGWave::tgSine, 19999, 88200, Bits::Float, 1001, 0},
        {TTGWave::tgTriangle, 20, 176400, Bits::TwentyFour},
        {TTGWave::tgSawtooth, 1234, 192000, Bits::Float},
    };
    for (const LoopRow& row : rows) {
        TToneGen gen(nullptr);
        const bool stereo = row.rightFrequency != 0 || row.rightLagTenths != 0;
        gen.SetPrecise(true);
        gen.SetWaveform(row.wave);
        gen.SetFrequency(std::int16_t(row.frequency));
        gen.SetDuration(1000);
        gen.SetQuality(row.rate == 44100 ? TTGQuality::tgLoQ : TTGQuality::tgHiQ);
        gen.SetSampleRate(row.rate);
        gen.SetResolution(row.bits == Bits::Sixteen      ? TTGResolution::tg16Bit
                          : row.bits == Bits::TwentyFour ? TTGResolution::tg24Bit
                                                         : TTGResolution::tgFloat);
        gen.SetStereo(stereo);
        gen.SetPeakLevel(row.levelDb);
        MeasurementSignal signal;
        signal.rightFrequency = row.rightFrequency;
        signal.rightLagTenths = row.rightLagTenths;
        gen.SetSignal(signal);
        ASSERT_TRUE(gen.Prepare());
        const std::vector<double> image = ImageSamples(gen);

        StreamedToneSettings settings;
        settings.wave = row.wave;
        settings.frequency = MilliHertz::FromHertz(row.frequency);
        settings.rightFrequency = MilliHertz::FromHertz(row.rightFrequency);
        settings.rightLagTenths = row.rightLagTenths;
        settings.peak = std::pow(10.0, row.levelDb / 20);
        StreamedTone tone(settings, FormatOf(row.bits, row.rate, stereo));
        ASSERT_EQ(gen.Format().SamplesPerSecond(), row.rate);
        // Twice the loop: the stream goes on where the loop starts again.
        const std::size_t frames = image.size() / (stereo ? 2 : 1);
        std::vector<double> streamed = Stream(tone, 2 * frames);
        double worst = 0;
        for (std::size_t i = 0; i < streamed.size(); ++i)
            worst = std::max(worst, std::fabs(streamed[i] - image[i % image.size()]));
        EXPECT_LE(worst, StepOf(row.bits) * 1.0001)
            << TTGWaveNames()[int(row.wave)] << " " << row.frequency << " Hz " << Name(row.bits);
    }
}

struct ShapeRow {
    TTGWave wave;
    std::int64_t milliHertz;
    int rate;
    int lagTenths;
    bool interpolates; // the exact cycle is too long to keep, or it lags
};

TEST(ChannelTone, ShapesFollowTheirSeriesAtTheExactPhase) {
    const ShapeRow rows[] = {
        {TTGWave::tgSquare, 997500, 48000, 0, false},
        {TTGWave::tgSquare, 20001, 48000, 0, true},
        {TTGWave::tgTriangle, 997123, 96000, 0, true},
        {TTGWave::tgSawtooth, 1001, 44100, 0, true},
        {TTGWave::tgSawtooth, 1000000, 96000, 900, true},
        {TTGWave::tgTriangle, 19999999, 48000, 1234, true},
    };
    for (const ShapeRow& row : rows) {
        const FinePhaseSine sine(row.rate);
        ChannelTone tone(row.wave, {row.milliHertz}, row.lagTenths, sine);
        EXPECT_EQ(tone.Interpolates(), row.interpolates) << row.milliHertz;
        const std::uint64_t units = 1000ULL * row.rate;
        const HarmonicSeries series =
            SeriesUpTo(row.wave, int((units - 1) / (2 * std::uint64_t(row.milliHertz))));
        double worst = 0;
        for (std::uint64_t n = 0; n < 2000; ++n) {
            const std::uint64_t u = n * std::uint64_t(row.milliHertz) % units;
            const double theta = 2 * M_PI * (double(u) / double(units) - row.lagTenths / 3600.0);
            worst = std::max(worst, std::fabs(double(tone.Next()) - SeriesValue(series, theta)));
        }
        EXPECT_LT(worst, 1e-9) << TTGWaveNames()[int(row.wave)] << " " << row.milliHertz;
    }
}

// A sine's values against the exact phase over a long run, rendered in
// uneven pieces: within rounding of double however long it plays, at the
// angles its recurrence handles worst (a few frames making a whole or half
// cycle, the smallest step of the slowest tone) and with lags.
TEST(ChannelTone, SineStaysWithinRoundingOfTheExactPhaseThroughALongRun) {
    const struct {
        std::uint64_t milliHertz;
        int rate;
        int lagTenths;
    } rows[] = {{1000, 192000, 0},
                {12000000, 96000, 0},
                {6000000, 96000, 900},
                {997123, 48000, 1234},
                {43199999, 96000, 3599}};
    constexpr long double kTurn = 2 * 3.14159265358979323846264L;
    for (const auto& row : rows) {
        const FinePhaseSine sine(row.rate);
        ChannelTone tone(TTGWave::tgSine, {std::int64_t(row.milliHertz)}, row.lagTenths, sine);
        const std::uint64_t units = 1000ULL * row.rate;
        const std::size_t frames = std::size_t(1) << 17;
        std::vector<double> x(frames);
        for (std::size_t done = 0, piece = 1; done < frames; done += piece, piece = piece * 3 + 7) {
            piece = std::min(piece, frames - done);
            tone.Render(piece, x.data() + done);
        }
        long double worst = 0;
        for (std::uint64_t n = 0, u = 0; n < frames; ++n, u = (u + row.milliHertz) % units) {
            const long double turn = kTurn * (static_cast<long double>(u) / units -
                                              static_cast<long double>(row.lagTenths) / 3600);
            worst = std::max(worst, std::fabs(x[n] - std::sin(turn)));
        }
        // Some thousand roundings of double at most: the error of a block's
        // last frames, never more.
        EXPECT_LT(double(worst), 2e-13) << row.milliHertz << " at " << row.rate;
    }
}

// The tables give the series' own value at any phase, within 1e-12 of the
// peak: a half or quarter kept and mirrored (sines alone, cosines alone, odd
// harmonics alone, long enough to be split), and a whole cycle for a series
// of both. The phases include those next to each mirror.
TEST(TaylorCycle, GivesTheSeriesAtAnyPhaseFromTheMirroredPart) {
    constexpr std::uint64_t kUnits = 3600ULL * 96000000;
    constexpr long double kPiLong = 3.141592653589793238462643383279502884L;
    std::mt19937_64 random(7);
    for (TTGWave wave : {TTGWave::tgSquare, TTGWave::tgTriangle, TTGWave::tgSawtooth})
        for (int top : {2, 47, 479})
            for (bool both : {false, true}) {
                HarmonicSeries series = SeriesUpTo(wave, top);
                if (both)
                    for (std::size_t i = 0, n = series.harmonics.size(); i < n; ++i) {
                        Harmonic turned = series.harmonics[i];
                        turned.cosine = !turned.cosine;
                        turned.amplitude *= 0.5;
                        series.harmonics.push_back(turned);
                    }
                const TaylorCycle cycle(series);
                double worst = 0;
                for (int i = 0; i < 120; ++i) {
                    const std::uint64_t u =
                        i < 16 ? (kUnits / 4 * std::uint64_t(i / 4) + kUnits - 2 + i % 4) % kUnits
                               : random() % kUnits;
                    const long double theta = 2 * kPiLong * u / kUnits;
                    long double want = 0;
                    for (const Harmonic& h : series.harmonics)
                        want += h.amplitude * (h.cosine ? std::cos(h.number * theta)
                                                        : std::sin(h.number * theta));
                    worst = std::max(worst, double(std::fabs(cycle.At(u, kUnits) - want)));
                }
                EXPECT_LT(worst, 1e-12) << TTGWaveNames()[int(wave)] << " " << top << " " << both;
            }
}

struct StreamedBurstRow {
    std::int64_t milliHertz;
    int rate;
    Bits bits;
    int on;
    int off;
};

TEST(StreamedBurst, SoundsExactlyTheOnCyclesOfTheTone) {
    const StreamedBurstRow rows[] = {{997123, 48000, Bits::Float, 10, 90},
                                     {12500, 48000, Bits::Sixteen, 1, 1},
                                     {19999999, 96000, Bits::TwentyFour, 3, 7}};
    for (const StreamedBurstRow& row : rows) {
        StreamedToneSettings settings;
        settings.frequency = {row.milliHertz};
        const WaveFormat format = FormatOf(row.bits, row.rate);
        StreamedTone steady(settings, format);
        settings.burst = BurstSettings{row.on, row.off};
        StreamedTone bursts(settings, format);
        const std::size_t frames = 3 * std::size_t(row.rate);
        const std::vector<double> tone = Stream(steady, frames), x = Stream(bursts, frames);
        // Frame n lies in cycle n f / rate, rounded down: whole numbers.
        const std::uint64_t units = 1000ULL * row.rate;
        std::size_t wrong = 0, sounding = 0;
        for (std::size_t n = 0; n < frames; ++n) {
            const std::uint64_t cycle = n * std::uint64_t(row.milliHertz) / units;
            const bool on = cycle % std::uint64_t(row.on + row.off) < std::uint64_t(row.on);
            sounding += on;
            wrong += x[n] != (on ? tone[n] : 0.0);
        }
        EXPECT_EQ(wrong, 0u) << row.milliHertz;
        EXPECT_GT(sounding, 0u) << row.milliHertz;
    }
}

TEST(StreamedTone, ChangesContinueThePhaseToTheFrameAndRampTheLevel) {
    // Float stereo at 48000, the right channel lagging a quarter cycle: each
    // sample against the sine at the exact phase of the frequencies played.
    const int rate = 48000;
    const std::uint64_t units = 1000ULL * rate;
    StreamedToneSettings settings;
    settings.frequency = {997123};
    settings.rightLagTenths = 900;
    StreamedTone tone(settings, FormatOf(Bits::Float, rate, true));
    const std::int64_t played[] = {997123, 12500, 19999999};
    const std::size_t kFrames = 1001;
    std::uint64_t u = 0;
    double worst = 0;
    for (std::int64_t f : played) {
        tone.SetFrequency({f});
        const std::vector<double> x = Stream(tone, kFrames);
        for (std::size_t n = 0; n < kFrames; ++n, u = (u + std::uint64_t(f)) % units) {
            const long double turn = 2 * 3.14159265358979323846264L * u / units;
            worst = std::max(worst, std::fabs(x[2 * n] - double(std::sin(turn))));
            worst = std::max(worst, std::fabs(x[2 * n + 1] + double(std::cos(turn))));
        }
    }
    EXPECT_LE(worst, 0x1p-24);
    // A level ramps straight to its new peak over the frames asked.
    tone.SetPeak(0.5, 480);
    const std::vector<double> ramp = Stream(tone, 960);
    for (std::size_t n = 0; n < 960; ++n) {
        const long double turn = 2 * 3.14159265358979323846264L * u / units;
        const double gain = n < 480 ? 1 - 0.5 * double(n + 1) / 480 : 0.5;
        EXPECT_NEAR(ramp[2 * n], gain * double(std::sin(turn)), 1e-6) << n;
        u = (u + 19999999) % units;
    }
}

// An output takes back what it queued: the tone steps back to the exact
// phase, cycle count and level ramp of that frame, so that the frames come
// again bit for bit, and a change asked there is heard from there as if it
// had been asked at that frame; it never goes back past a change.
TEST(StreamedTone, StepsBackToTheExactStateOfAnEarlierFrame) {
    struct Row {
        const char* what;
        TTGWave wave;
        std::optional<BurstSettings> burst;
    };
    const Row rows[] = {{"sine", TTGWave::tgSine, std::nullopt},
                        {"square", TTGWave::tgSquare, std::nullopt},
                        {"bursts", TTGWave::tgSine, BurstSettings{3, 2}}};
    for (const Row& row : rows) {
        StreamedToneSettings settings;
        settings.wave = row.wave;
        settings.frequency = {997123};
        settings.burst = row.burst;
        settings.rightLagTenths = row.burst ? 0 : 900;
        const WaveFormat format = FormatOf(Bits::Float, 48000, true);
        StreamedTone rewound(settings, format), straight(settings, format);
        rewound.SetPeaks(0.5, 0.25, 4800); // a ramp goes on across the step back
        straight.SetPeaks(0.5, 0.25, 4800);
        Stream(rewound, 3000);
        Stream(straight, 2000);
        EXPECT_EQ(rewound.StepBack(1000), 1000u) << row.what;
        EXPECT_EQ(Stream(rewound, 700), Stream(straight, 700)) << row.what;
        Stream(rewound, 300);
        EXPECT_EQ(rewound.StepBack(300), 300u) << row.what;
        rewound.SetFrequency({12500});
        straight.SetFrequency({12500});
        const std::vector<double> after = Stream(straight, 5000);
        EXPECT_EQ(Stream(rewound, 5000), after) << row.what;
        EXPECT_EQ(rewound.StepBack(100000), 5000u) << row.what << ": not past the change";
        EXPECT_EQ(Stream(rewound, 5000), after) << row.what;
    }
}

// --- purity and frequency on the fine grid -----------------------------------

struct GridRow {
    double hertz;
    std::int64_t milliHertz;
    int rate;
};

TEST(StreamedTonePurity, FitFindsTheAskedFrequencyAndTheRestIsBelowTheFormatsFloor) {
    const GridRow grid[] = {{1.0, 1000, 48000},           {12.5, 12500, 48000},
                            {997.123, 997123, 48000},     {1000.001, 1000001, 48000},
                            {19999.999, 19999999, 48000}, {43199.999, 43199999, 96000}};
    struct Floor {
        Bits bits;
        double thdnDb;
    };
    const Floor floors[] = {{Bits::Sixteen, -97}, {Bits::TwentyFour, -135}, {Bits::Float, -140}};
    // Two seconds: the fit's own scatter at 16 bits over them is about
    // 1e-8 Hz (it falls as the length to the power 1.5: over 10 s it reads
    // below 3e-10 Hz), a hundred times below the tolerance.
    constexpr int kSeconds = 2;
    for (const GridRow& row : grid)
        for (const Floor& floor : floors) {
            StreamedToneSettings settings;
            settings.frequency = {row.milliHertz};
            StreamedTone tone(settings, FormatOf(floor.bits, row.rate));
            const std::vector<double> x = Stream(tone, std::size_t(kSeconds) * row.rate);
            const SineFitResult fit = FitSine(x, row.rate, row.hertz);
            const double error = fit.frequency - row.hertz;
            EXPECT_LE(std::fabs(error), 1e-6) << row.hertz << " Hz " << Name(floor.bits);
            // THD+N in each second: what the fit leaves against the fit.
            double worst = -400;
            for (int s = 0; s < kSeconds; ++s) {
                double rest = 0, tone = 0;
                for (std::size_t n = std::size_t(s) * row.rate; n < std::size_t(s + 1) * row.rate;
                     ++n) {
                    const double v = fit.At(n);
                    rest += (x[n] - v) * (x[n] - v);
                    tone += v * v;
                }
                worst = std::max(worst, Db(rest / tone));
            }
            EXPECT_LE(worst, floor.thdnDb) << row.hertz << " Hz " << Name(floor.bits);
            std::printf("%10.3f Hz at %d %-6s: fit error %+.2e Hz, THD+N %.1f dB\n", row.hertz,
                        row.rate, Name(floor.bits), error, worst);
        }
}

TEST(StreamedTonePurity, EachChannelOfTwoFineFrequenciesFitsItsOwn) {
    StreamedToneSettings settings;
    settings.frequency = {997123};
    settings.rightFrequency = {19999999};
    const int rate = 48000;
    StreamedTone tone(settings, FormatOf(Bits::TwentyFour, rate, true));
    const std::vector<double> x = Stream(tone, 2 * std::size_t(rate));
    const double asked[] = {997.123, 19999.999};
    for (std::size_t ch = 0; ch < 2; ++ch) {
        std::vector<double> channel(x.size() / 2);
        for (std::size_t n = 0; n < channel.size(); ++n)
            channel[n] = x[2 * n + ch];
        EXPECT_NEAR(FitSine(channel, rate, asked[ch]).frequency, asked[ch], 1e-6) << ch;
    }
}

// --- export -------------------------------------------------------------------

TEST(StreamExport, WritesTheStreamedFramesAsAWaveFile) {
    StreamedToneSettings settings;
    settings.frequency = {997123};
    settings.rightFrequency = {1000001};
    const WaveFormat format = FormatOf(Bits::Float, 48000, true);
    const std::string path = ::testing::TempDir() + "streamed-tone.wav";
    ASSERT_EQ(ExportStreamedTone(settings, format, 250, path), 0);
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    StreamedTone tone(settings, format);
    const std::vector<std::uint8_t> image = StreamImage(tone, 250);
    EXPECT_EQ(file, image);
    ASSERT_EQ(file.size(), WaveImageSize(format, 12000 * 8));
    const auto u32 = [&file](std::size_t at) {
        return std::uint32_t(file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                             std::uint32_t(file[at + 3]) << 24);
    };
    EXPECT_EQ(u32(24), 48000u);     // the rate
    EXPECT_EQ(u32(46), 12000u);     // the fact chunk's frames
    EXPECT_EQ(u32(54), 12000u * 8); // the data's length
    EXPECT_EQ(ExportStreamedTone(settings, format, 0, path), EINVAL);
    EXPECT_EQ(ExportStreamedTone(settings, FormatOf(Bits::Float, 22050), 250, path), EINVAL);
}

} // namespace
