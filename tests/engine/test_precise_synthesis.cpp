// SPDX-License-Identifier: GPL-3.0-or-later
// The precise synthesis: clean sines at every whole hertz, band-limited
// square, triangle and sawtooth in the ideal proportions, the classic mix
// rules and directions, seamless loops, and the stored switch.

#include "SignalAnalysis.h"
#include "ToneGenFixture.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"
#include "engine/ExactPhase.h"
#include "engine/PreciseWave.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {

struct Tone {
    TTGWave wave = TTGWave::tgSine;
    int frequency = 1000;
    int duration = 1000;
    bool hiQ = true;
    bool sixteenBit = true;
    bool precise = true;
};

std::string Name(const Tone& t) {
    return std::string(TTGWaveNames()[int(t.wave)]) + " " + std::to_string(t.frequency) + " Hz " +
           std::to_string(t.duration) + " ms at " + (t.hiQ ? "96000" : "44100") +
           (t.sixteenBit ? " 16-bit" : " 8-bit") + (t.precise ? " precise" : " classic");
}

class PreciseSynthesisTest : public ToneGenTest {
protected:
    void SetUp() override {
        ToneGenTest::SetUp();
        gen = std::make_unique<TToneGen>(nullptr);
    }
    void Configure(const Tone& t) {
        gen->SetWaveform(t.wave);
        gen->SetFrequency(std::int16_t(t.frequency));
        gen->SetDuration(std::int16_t(t.duration));
        gen->SetQuality(t.hiQ ? TTGQuality::tgHiQ : TTGQuality::tgLoQ);
        gen->SetResolution(t.sixteenBit ? TTGResolution::tg16Bit : TTGResolution::tg8Bit);
        gen->SetPrecise(t.precise);
    }
    // Sample values of a mono image around its zero level.
    std::vector<double> Samples() const {
        const std::vector<std::uint8_t> img = Image(*gen);
        const bool sixteen = gen->Resolution() == TTGResolution::tg16Bit;
        const std::size_t count = (img.size() - 44 - 32) / (sixteen ? 2 : 1);
        std::vector<double> x(count);
        for (std::size_t i = 0; i < count; ++i)
            x[i] = sixteen ? Sample16(img, i) : img[44 + i] - 128.0;
        return x;
    }
    std::vector<double> Build(const Tone& t, bool envelope = false) {
        Configure(t);
        EXPECT_TRUE(envelope ? gen->PrepareADSR() : gen->Prepare());
        return Samples();
    }

    std::unique_ptr<TToneGen> gen;
};

double LargestStep(const std::vector<double>& x) {
    double step = 0;
    for (std::size_t i = 1; i < x.size(); ++i)
        step = std::max(step, std::fabs(x[i] - x[i - 1]));
    return step;
}

TEST_F(PreciseSynthesisTest, SineIsCleanAtEveryWholeHertz) {
    // Whole-second images: the bins are 1 Hz apart and every tone has whole
    // cycles. Frequencies that do and do not divide the rates.
    const int frequencies[] = {20,   21,   440,  441,  997,   1000,  1001,
                               1234, 4999, 7919, 9600, 15000, 19999, 20000};
    for (bool hiQ : {true, false})
        for (int f : frequencies) {
            const Tone t{TTGWave::tgSine, f, 1000, hiQ};
            const std::vector<double> e = BinEnergies(Build(t));
            EXPECT_LE(ThdPlusNoiseDb(e, 1, f), -90) << Name(t);
            // A tone off by d Hz leaks about d / (1 - d) of its amplitude
            // into the next bin: -40 dB at 0.01 Hz.
            EXPECT_LE(Db(std::max(e[f - 1], e[f + 1]) / e[f]), -60) << Name(t);
        }
}

struct Shape {
    TTGWave wave;
    bool oddOnly;
    int power; // amplitude of harmonic k: 1 / k^power
};

TEST_F(PreciseSynthesisTest, ShapesHoldOnlyTheirOwnHarmonicsInTheIdealSeries) {
    const Shape shapes[] = {{TTGWave::tgSquare, true, 1},
                            {TTGWave::tgTriangle, true, 2},
                            {TTGWave::tgSawtooth, false, 1}};
    const int frequencies[] = {20, 440, 997, 1000, 4999, 7919, 16000, 19999};
    for (const Shape& s : shapes)
        for (bool hiQ : {true, false})
            for (int f : frequencies) {
                const Tone t{s.wave, f, 1000, hiQ};
                const std::vector<double> e = BinEnergies(Build(t));
                const int rate = hiQ ? 96000 : 44100;
                double own = 0;
                for (int k = 1; 2L * k * f < rate; ++k) {
                    if (s.oddOnly && k % 2 == 0)
                        continue;
                    own += e[k * f];
                    const double idealDb = -20.0 * s.power * std::log10(double(k));
                    if (idealDb >= -70) {
                        EXPECT_NEAR(Db(e[k * f] / e[f]), idealDb, 0.1)
                            << Name(t) << " harmonic " << k;
                    }
                }
                double total = 0;
                for (double v : e)
                    total += v;
                EXPECT_LE(Db((total - own) / e[f]), -80) << Name(t);
            }
}

TEST_F(PreciseSynthesisTest, PeakStaysWithinTheClassicSpanAndUsesIt) {
    // Unscaled, the band-limited shapes overshoot by the Gibbs ripple; the
    // scaled waveform must reach its peak level without passing it.
    for (TTGWave wave : {TTGWave::tgSquare, TTGWave::tgTriangle, TTGWave::tgSawtooth})
        for (int rate : {96000, 44100})
            for (int f : {20, 21, 440, 1001, 7919, 19999})
                for (SumMethod m : {SumMethod::Direct, SumMethod::Fourier}) {
                    const std::vector<double> w =
                        PreciseWave(wave, f, rate, ExactCycleLength(f, rate), m);
                    double peak = 0;
                    for (double v : w)
                        peak = std::max(peak, std::fabs(v));
                    EXPECT_LE(peak, 1.0 + 1e-12) << int(wave) << " " << f << " Hz at " << rate;
                    EXPECT_GE(peak, 0.9) << int(wave) << " " << f << " Hz at " << rate;
                }
    // In the image: the classic sine's peak level, at full and at part
    // level (a silent AM level takes the rest of full scale).
    for (int level : {100, 37})
        for (TTGWave wave : {TTGWave::tgSquare, TTGWave::tgSawtooth}) {
            gen = std::make_unique<TToneGen>(nullptr);
            gen->SetAMUseMultiplier(false);
            gen->SetAMParameter(TTGAMLevel::tgAMLevel1, std::int16_t(100 - level), 0.5f,
                                TTGWave::tgSine);
            const Tone t{wave, 20, 1000};
            const std::vector<double> x = Build(t);
            const double limit = std::trunc(level * 32767 / 100.0);
            const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
            EXPECT_EQ(*hi, limit) << Name(t) << " level " << level;
            EXPECT_EQ(*lo, -limit) << Name(t) << " level " << level;
        }
}

// Frequencies where a harmonic falls exactly on half the rate. A sine-phase
// harmonic there samples to zero, but the triangle's cosine-phase one does
// not: it must be left out, or it shows as a Nyquist component and moves
// the peak (to 0.90 at 16 kHz).
struct NyquistRow {
    TTGWave wave;
    int frequency;
    int rate;
    double peak; // of the series without the harmonic on half the rate
};
std::ostream& operator<<(std::ostream& os, const NyquistRow& r) {
    return os << TTGWaveNames()[int(r.wave)] << " " << r.frequency << " Hz at " << r.rate;
}

TEST_F(PreciseSynthesisTest, HarmonicOnHalfTheRateIsLeftOut) {
    const double sqrt3Half = std::sqrt(3.0) / 2;
    const NyquistRow rows[] = {
        {TTGWave::tgTriangle, 16000, 96000, 1.0},   {TTGWave::tgTriangle, 9600, 96000, 1.0},
        {TTGWave::tgTriangle, 4410, 44100, 1.0},    {TTGWave::tgSquare, 16000, 96000, sqrt3Half},
        {TTGWave::tgSquare, 9600, 96000, 0.959690}, {TTGWave::tgSawtooth, 16000, 96000, 1.0},
        {TTGWave::tgSawtooth, 4410, 44100, 1.0}};
    for (const NyquistRow& row : rows)
        for (SumMethod m : {SumMethod::Direct, SumMethod::Fourier}) {
            const int length = ExactCycleLength(row.frequency, row.rate);
            const std::vector<double> w = PreciseWave(row.wave, row.frequency, row.rate, length, m);
            double peak = 0, nyquist = 0;
            for (std::size_t n = 0; n < w.size(); ++n) {
                peak = std::max(peak, std::fabs(w[n]));
                nyquist += n % 2 ? -w[n] : w[n];
            }
            EXPECT_NEAR(peak, row.peak, 1e-6) << row;
            EXPECT_NEAR(nyquist / length, 0, 1e-12) << row;
        }
}

TEST_F(PreciseSynthesisTest, DirectAndFourierSumsAgree) {
    for (TTGWave wave :
         {TTGWave::tgSine, TTGWave::tgSquare, TTGWave::tgTriangle, TTGWave::tgSawtooth})
        for (int rate : {96000, 44100})
            for (int f : {20, 441, 1001, 13000, 19999}) {
                const int n = std::min(ExactCycleLength(f, rate), 20000);
                const auto a = PreciseWave(wave, f, rate, n, SumMethod::Direct);
                const auto b = PreciseWave(wave, f, rate, n, SumMethod::Fourier);
                ASSERT_EQ(a.size(), b.size());
                double worst = 0;
                for (std::size_t i = 0; i < a.size(); ++i)
                    worst = std::max(worst, std::fabs(a[i] - b[i]));
                EXPECT_LT(worst, 1e-9) << int(wave) << " " << f << " Hz at " << rate;
            }
}

struct Direction {
    TTGWave wave;
    bool sixteenBit;
    // Signs at 0, 1/4, 1/2 and 3/4 of a 1000 Hz cycle (96 samples).
    int sign[4];
};

TEST_F(PreciseSynthesisTest, ShapesKeepTheirClassicDirections) {
    const Direction rows[] = {
        {TTGWave::tgSine, true, {0, 1, 0, -1}},      {TTGWave::tgSine, false, {0, 1, 0, -1}},
        {TTGWave::tgSquare, true, {0, -1, 0, 1}},    {TTGWave::tgTriangle, true, {-1, 0, 1, 0}},
        {TTGWave::tgTriangle, false, {-1, 0, 1, 0}}, {TTGWave::tgSawtooth, true, {0, -1, 0, 1}},
    };
    for (const Direction& d : rows) {
        const Tone t{d.wave, 1000, 100, true, d.sixteenBit};
        const std::vector<double> x = Build(t);
        const double full = d.sixteenBit ? 32767 : 127;
        for (int q = 0; q < 4; ++q) {
            const double v = x[24 * q];
            const int sign = std::fabs(v) < 0.02 * full ? 0 : v > 0 ? 1 : -1;
            EXPECT_EQ(sign, d.sign[q]) << Name(t) << " quarter " << q << " value " << v;
        }
    }
    // The sine's peaks are the classic ones exactly.
    const std::vector<double> x = Build({TTGWave::tgSine, 1000, 100});
    EXPECT_EQ(x[24], 32767);
    EXPECT_EQ(x[72], -32767);
}

TEST_F(PreciseSynthesisTest, MixRulesAndEnvelopeAgreeWithTheClassicBuildWhereBothAreExact) {
    // At frequencies that divide the rate the classic sine is exact too:
    // the two builds then differ only by rounding against truncation, at
    // most a step per sounding component (and one more after the envelope).
    struct Mix {
        const char* what;
        std::array<int, 8> amplitudes;
        std::array<float, 8> multipliers;
        int sounding;
    };
    const Mix rows[] = {
        {"70 % tone, 30 % level 4 at twice",
         {0, 0, 0, 30, 0, 0, 0, 0},
         {1, 1, 1, 2, 1, 1, 1, 1},
         2},
        {"eight levels of 50 share full scale",
         {50, 50, 50, 50, 50, 50, 50, 50},
         {0.5f, 1, 1.5f, 2, 3, 4, 6, 8},
         8},
        {"60 and 40 leave the tone silent",
         {60, 0, 0, 0, 0, 0, 0, 40},
         {2, 1, 1, 1, 1, 1, 1, 4},
         2},
    };
    for (const Mix& m : rows)
        for (bool envelope : {false, true}) {
            std::vector<double> image[2];
            for (bool precise : {false, true}) {
                gen = std::make_unique<TToneGen>(nullptr);
                for (int i = 0; i < 8; ++i)
                    gen->SetAMParameter(static_cast<TTGAMLevel>(i), std::int16_t(m.amplitudes[i]),
                                        m.multipliers[i], TTGWave::tgSine);
                image[precise] = Build({TTGWave::tgSine, 1000, 100, true, true, precise}, envelope);
            }
            double worst = 0;
            for (std::size_t i = 0; i < image[0].size(); ++i)
                worst = std::max(worst, std::fabs(image[0][i] - image[1][i]));
            EXPECT_LE(worst, m.sounding + (envelope ? 1 : 0)) << m.what << " envelope " << envelope;
            EXPECT_GT(LargestStep(image[1]), 1000) << m.what; // not silent
        }
}

TEST_F(PreciseSynthesisTest, LoopsJoinWithoutASeam) {
    // The panel's loop lengths: 100 ms at 10 Hz steps, 1 s at 1 Hz steps.
    const Tone rows[] = {{TTGWave::tgSine, 440, 100},      {TTGWave::tgSine, 1001, 1000},
                         {TTGWave::tgSquare, 997, 1000},   {TTGWave::tgTriangle, 19999, 1000},
                         {TTGWave::tgSawtooth, 4410, 100}, {TTGWave::tgSine, 1234, 500, false}};
    for (const Tone& t : rows) {
        const std::vector<double> once = Build(t);
        std::vector<double> twice(once);
        twice.insert(twice.end(), once.begin(), once.end());
        EXPECT_LE(LargestStep(twice), LargestStep(once)) << Name(t);
        // The sample after the last is the next one of the same waveform.
        const double seam = std::fabs(once.front() - once.back());
        EXPECT_LE(seam, LargestStep(once)) << Name(t);
    }
}

TEST_F(PreciseSynthesisTest, TheSwitchIsStoredAndReadBack) {
    RegisterToneGenClass();
    ClassRegistry::Instance().Register<TComponent>("TComponent");
    TComponent form(nullptr);
    form.SetName("Form1");
    auto* stored = new TToneGen(&form);
    stored->SetName("ToneGen1");
    EXPECT_EQ(WriteLayout(form).find("Precise"), std::string::npos); // the default is left out
    stored->SetPrecise(true);
    const std::string text = WriteLayout(form);
    EXPECT_NE(text.find("Precise = true"), std::string::npos);

    TComponent copy(nullptr);
    copy.SetName("Form1");
    ReadLayoutInto(copy, text);
    auto* read = dynamic_cast<TToneGen*>(copy.FindComponent("ToneGen1"));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->Precise());
}

} // namespace
