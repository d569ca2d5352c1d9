// SPDX-License-Identifier: GPL-3.0-or-later
// Output for measurement: 24-bit and float samples, the peak level in dBFS
// and dither, judged by level, THD+N and the spectrum of whole loops.

#include "SignalAnalysis.h"
#include "ToneGenFixture.h"
#include "engine/SoundName.h"
#include "engine/TpdfDither.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace {

struct Output {
    TTGResolution resolution = TTGResolution::tg16Bit;
    double level = 0;
    bool dither = false;
};

std::string FormatName(TTGResolution r) {
    return TTGResolutionNames()[static_cast<std::size_t>(r)];
}

class MeasurementOutputTest : public ToneGenTest {
protected:
    void SetUp() override {
        ToneGenTest::SetUp();
        gen = std::make_unique<TToneGen>(nullptr);
    }
    // A precise mono sine over one second (1 Hz bins, whole cycles).
    void Configure(int frequency, const Output& o, bool hiQ = true) {
        gen->SetFrequency(std::int16_t(frequency));
        gen->SetDuration(1000);
        gen->SetQuality(hiQ ? TTGQuality::tgHiQ : TTGQuality::tgLoQ);
        gen->SetResolution(o.resolution);
        gen->SetPeakLevel(o.level);
        gen->SetDither(o.dither);
        gen->SetPrecise(true);
    }
    // The samples as fractions of full scale.
    std::vector<double> Samples(bool envelope = false) {
        EXPECT_TRUE(envelope ? gen->PrepareADSR() : gen->Prepare());
        return ImageSamples(*gen);
    }

    std::unique_ptr<TToneGen> gen;
};

double RmsDbfs(const std::vector<double>& x) {
    double sum = 0;
    for (double v : x)
        sum += v * v;
    // A full-scale sine's RMS is 1/sqrt(2): AES17 reads it as 0 dBFS.
    return 10 * std::log10(2 * sum / x.size());
}

double LargestHarmonicDbc(const std::vector<double>& e, int f) {
    double largest = 0;
    for (std::size_t k = 2 * f; k < e.size(); k += f)
        largest = std::max(largest, e[k]);
    return Db(largest / e[f]);
}

struct Purity {
    TTGResolution resolution;
    double maxThdN;
};
std::ostream& operator<<(std::ostream& os, const Purity& p) {
    return os << FormatName(p.resolution) << " THD+N <= " << p.maxThdN << " dB";
}

TEST_F(MeasurementOutputTest, WideSamplesCarryLevelAndPurity) {
    const Purity rows[] = {{TTGResolution::tg16Bit, -96},
                           {TTGResolution::tg24Bit, -135},
                           {TTGResolution::tgFloat, -140}};
    for (const Purity& row : rows) {
        Configure(997, {row.resolution, -1});
        const std::vector<double> x = Samples();
        const std::vector<double> e = BinEnergies(x);
        const double thdN = ThdPlusNoiseDb(e, 1, 997);
        EXPECT_LE(thdN, row.maxThdN) << row;
        EXPECT_NEAR(RmsDbfs(x), -1, 0.01) << row;
        std::printf("%s: THD+N %.1f dB, RMS %.3f dBFS\n", FormatName(row.resolution).c_str(), thdN,
                    RmsDbfs(x));
    }
}

TEST_F(MeasurementOutputTest, LevelHoldsToAHundredthOfADecibelOverItsRange) {
    // 1000 Hz at 96 kHz puts samples on the sine's peaks. Float holds the
    // whole range; 24 bits hold it while a step is below 0.01 dB of the
    // peak (at -120 dBFS the peak is only 8 steps).
    for (TTGResolution r : {TTGResolution::tg24Bit, TTGResolution::tgFloat})
        for (double level : {0.0, -0.01, -1.0, -20.0, -60.0, -80.0, -99.99, -120.0}) {
            if (r == TTGResolution::tg24Bit && level < -80)
                continue;
            Configure(1000, {r, level});
            const std::vector<double> x = Samples();
            double peak = 0;
            for (double v : x)
                peak = std::max(peak, std::fabs(v));
            EXPECT_NEAR(20 * std::log10(peak), level, 0.01) << FormatName(r) << " " << level;
            EXPECT_NEAR(RmsDbfs(x), level, 0.01) << FormatName(r) << " " << level;
        }
    Configure(1000, {TTGResolution::tg16Bit, -20});
    const std::vector<double> x = Samples();
    EXPECT_EQ(*std::max_element(x.begin(), x.end()) * 32767, std::lrint(3276.7));
}

TEST_F(MeasurementOutputTest, LevelScalesTheEnvelopedMixLikeAnAmplitude) {
    // Half the peak, envelope and AM level included, to within one step of
    // the full-level image.
    gen->SetAMParameter(TTGAMLevel::tgAMLevel1, 30, 2.0f, TTGWave::tgTriangle);
    Configure(440, {TTGResolution::tg24Bit, 0});
    const std::vector<double> full = Samples(true);
    gen->SetPeakLevel(20 * std::log10(0.5));
    const std::vector<double> half = Samples(true);
    ASSERT_EQ(full.size(), half.size());
    double worst = 0;
    for (std::size_t i = 0; i < full.size(); ++i)
        worst = std::max(worst, std::fabs(half[i] - full[i] / 2) * 8388607);
    EXPECT_LE(worst, 1.0);
}

TEST_F(MeasurementOutputTest, DitherTurnsTheRoundingHarmonicsIntoNoise) {
    // 1 kHz at 96 kHz repeats every 96 samples, and so does its rounding
    // error: harmonics without dither, a noise floor with it.
    Configure(1000, {TTGResolution::tg16Bit, 0, false});
    const double plain = LargestHarmonicDbc(BinEnergies(Samples()), 1000);
    Configure(1000, {TTGResolution::tg16Bit, 0, true});
    const std::vector<double> e = BinEnergies(Samples());
    const double dithered = LargestHarmonicDbc(e, 1000);
    const double thdN = ThdPlusNoiseDb(e, 1, 1000);
    std::printf("16-bit 1 kHz: largest harmonic %.1f dBc plain, %.1f dBc dithered; "
                "THD+N %.1f dB dithered\n",
                plain, dithered, thdN);
    EXPECT_GT(plain, -110);
    EXPECT_LE(dithered, -120);
    EXPECT_NEAR(thdN, -92, 1.5);
}

TEST_F(MeasurementOutputTest, DitherIsReproducibleAndOffByDefault) {
    Configure(1000, {TTGResolution::tg16Bit, -3, true});
    const std::vector<double> first = Samples();
    EXPECT_EQ(Samples(), first);
    EXPECT_FALSE(TToneGen(nullptr).Dither());
    EXPECT_EQ(TToneGen(nullptr).PeakLevel(), 0);
}

TEST(SoundNameTest, SaysWhatPlays) {
    EXPECT_EQ(SoundName(TTGWave::tgSine, 1000), "Синусоида 1000 Гц");
    EXPECT_EQ(SoundName(TTGWave::tgSawtooth, 440), "Пила 440 Гц");
    EXPECT_EQ(SoundName(TTGWave::tgNoise, 440), "Шум");
}

TEST(TpdfDitherTest, IsTriangularOverTwoStepsAroundZero) {
    TpdfDither dither;
    constexpr int kDraws = 400000;
    std::vector<int> histogram(20, 0); // bins 0.1 step wide over -1..1
    double sum = 0, squares = 0;
    for (int i = 0; i < kDraws; ++i) {
        const double d = dither.Next();
        ASSERT_GT(d, -1.0);
        ASSERT_LT(d, 1.0);
        sum += d;
        squares += d * d;
        ++histogram[std::min(19, static_cast<int>((d + 1) * 10))];
    }
    EXPECT_NEAR(sum / kDraws, 0, 0.005);
    EXPECT_NEAR(squares / kDraws, 1.0 / 6, 0.002); // a triangle's variance
    for (int b = 0; b < 20; ++b) {
        // The triangle's share of bin b: its area between the bin's edges.
        const double lo = -1 + b * 0.1, hi = lo + 0.1;
        const auto cdf = [](double v) {
            return v < 0 ? (1 + v) * (1 + v) / 2 : 1 - (1 - v) * (1 - v) / 2;
        };
        EXPECT_NEAR(histogram[b] / double(kDraws), cdf(hi) - cdf(lo), 0.003) << "bin " << b;
    }
}

TEST_F(MeasurementOutputTest, ClassicSynthesisIgnoresTheMeasurementSettings) {
    const auto build = [this](TTGResolution r, double level, bool dither) {
        Configure(440, {r, level, dither});
        gen->SetPrecise(false);
        EXPECT_TRUE(gen->Prepare());
        return Image(*gen);
    };
    EXPECT_EQ(build(TTGResolution::tg24Bit, -20, true), build(TTGResolution::tg16Bit, 0, false));
}

} // namespace
