// SPDX-License-Identifier: GPL-3.0-or-later
// Levels in every unit: reading them, turning them into the samples' level
// on a calibrated output (the peak relative to full scale), refusing what
// the output cannot play with a limit that reads back, and the volts a
// sample level gives for each waveform.
#include "engine/ExactPhase.h"
#include "engine/LevelFormat.h"
#include "engine/LevelTextReader.h"
#include "engine/PreciseWave.h"
#include "engine/SampleLevel.h"
#include "engine/SignalVolts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Reason = LevelRefusalReason;

// The sine's RMS volts at the jack for a sample level on an output whose
// full-scale sine measures `fullScale` volts RMS.
double JackVolts(double peakDb, double fullScale) {
    return fullScale * std::pow(10.0, peakDb / 20);
}

struct ReadRow {
    std::string text;
    std::optional<WrittenLevel> level; // or the refusal below
    Reason refusal = Reason::None;
};

void PrintTo(const ReadRow& r, std::ostream* os) {
    *os << '"' << r.text << '"';
}

class LevelTextReadingTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(LevelTextReadingTest, TakesTheNumberAndUnitOrSaysWhyNot) {
    const ReadRow& row = GetParam();
    const LevelTextReading reading = ReadLevelText(row.text);
    if (row.level) {
        ASSERT_TRUE(reading.level) << LevelRefusalText(reading.refusal.reason);
        EXPECT_EQ(reading.level->unit, row.level->unit);
        EXPECT_DOUBLE_EQ(reading.level->number, row.level->number);
        EXPECT_FALSE(std::signbit(reading.level->number) && reading.level->number == 0);
    } else {
        EXPECT_FALSE(reading.level);
        EXPECT_EQ(reading.refusal.reason, row.refusal);
    }
}

constexpr auto kDbFs = LevelUnit::DbFs;
constexpr auto kDbU = LevelUnit::DbU;
constexpr auto kDbV = LevelUnit::DbV;
constexpr auto kV = LevelUnit::Volts;
constexpr auto kMv = LevelUnit::MilliVolts;
constexpr auto kVpp = LevelUnit::VoltsPeakToPeak;
constexpr auto kMvpp = LevelUnit::MilliVoltsPeakToPeak;

INSTANTIATE_TEST_SUITE_P(
    Units, LevelTextReadingTest,
    ::testing::Values(
        // The sample level, as the plain number has always been read.
        ReadRow{"-20", WrittenLevel{-20, kDbFs}}, ReadRow{"0", WrittenLevel{0, kDbFs}},
        ReadRow{"-0", WrittenLevel{0, kDbFs}}, ReadRow{"-120", WrittenLevel{-120, kDbFs}},
        ReadRow{"-120.004", WrittenLevel{-120, kDbFs}},
        ReadRow{"-3.456", WrittenLevel{-3.46, kDbFs}}, ReadRow{"-2e1", WrittenLevel{-20, kDbFs}},
        ReadRow{"-120.006", std::nullopt, Reason::DbFsOutOfRange},
        ReadRow{"0.006", std::nullopt, Reason::DbFsOutOfRange},
        ReadRow{"+0", std::nullopt, Reason::NotALevel},
        ReadRow{"-20 ", std::nullopt, Reason::NotALevel},
        ReadRow{" -20", std::nullopt, Reason::NotALevel},
        ReadRow{"-20dBFS", WrittenLevel{-20, kDbFs}}, ReadRow{"-20 dbfs", WrittenLevel{-20, kDbFs}},
        ReadRow{"1dBFS", std::nullopt, Reason::DbFsOutOfRange},
        // dBu and dBV, any sign.
        ReadRow{"0dBu", WrittenLevel{0, kDbU}}, ReadRow{"+4dBu", WrittenLevel{4, kDbU}},
        ReadRow{"-100 DBU", WrittenLevel{-100, kDbU}}, ReadRow{"-10dBV", WrittenLevel{-10, kDbV}},
        ReadRow{"2.5DBV", WrittenLevel{2.5, kDbV}},
        ReadRow{"-10dBv", std::nullopt, Reason::NotALevel}, // once meant dBu
        // Volts: RMS, or peak to peak.
        ReadRow{"775mV", WrittenLevel{775, kMv}}, ReadRow{"775mv", WrittenLevel{775, kMv}},
        ReadRow{"0.775V", WrittenLevel{0.775, kV}}, ReadRow{"0.775 v", WrittenLevel{0.775, kV}},
        ReadRow{"1Vrms", WrittenLevel{1, kV}}, ReadRow{"10mVRMS", WrittenLevel{10, kMv}},
        ReadRow{"1e-3V", WrittenLevel{0.001, kV}}, ReadRow{"2Vpp", WrittenLevel{2, kVpp}},
        ReadRow{"2VPP", WrittenLevel{2, kVpp}}, ReadRow{"500mVpp", WrittenLevel{500, kMvpp}},
        ReadRow{"775MV", std::nullopt, Reason::NotALevel}, // mega
        ReadRow{"0V", std::nullopt, Reason::VoltsNotPositive},
        ReadRow{"-1Vpp", std::nullopt, Reason::VoltsNotPositive},
        // A comma is never a decimal separator.
        ReadRow{"0,775V", std::nullopt, Reason::DecimalComma},
        ReadRow{"-20,5", std::nullopt, Reason::DecimalComma},
        // Not levels.
        ReadRow{"", std::nullopt, Reason::NotALevel},
        ReadRow{"dBu", std::nullopt, Reason::NotALevel},
        ReadRow{"-20dB", std::nullopt, Reason::NotALevel},
        ReadRow{"1W", std::nullopt, Reason::NotALevel},
        ReadRow{"1Vp", std::nullopt, Reason::NotALevel},
        ReadRow{"infV", std::nullopt, Reason::NotALevel},
        ReadRow{"1e999dBu", std::nullopt, Reason::NotALevel},
        ReadRow{"+-4dBu", std::nullopt, Reason::NotALevel},
        ReadRow{"0x10V", std::nullopt, Reason::NotALevel}));

struct JackRow {
    std::string text;
    double fullScale; // V RMS of a full-scale sine
    double jackVolts; // the sine's V RMS that must come out
};

void PrintTo(const JackRow& r, std::ostream* os) {
    *os << '"' << r.text << "\" on " << r.fullScale << " V";
}

class JackVoltsTest : public ::testing::TestWithParam<JackRow> {};

TEST_P(JackVoltsTest, TheSampleLevelGivesTheAskedVoltage) {
    const JackRow& row = GetParam();
    const LevelTextReading reading = ReadLevelText(row.text);
    ASSERT_TRUE(reading.level);
    const SampleLevelResult sample = ToSampleLevel(*reading.level, row.fullScale);
    ASSERT_TRUE(sample.peakDb) << LevelRefusalText(sample.refusal.reason);
    EXPECT_NEAR(JackVolts(*sample.peakDb, row.fullScale) / row.jackVolts, 1.0, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Units, JackVoltsTest,
    ::testing::Values(JackRow{"0dBu", 1.0, 0.774597}, JackRow{"0dBu", 2.5, 0.774597},
                      JackRow{"+4dBu", 2.0, 1.227653}, JackRow{"-20dBu", 1.0, 0.0774597},
                      JackRow{"-100dBu", 1.0, 7.74597e-6}, JackRow{"0dBV", 2.5, 1.0},
                      JackRow{"-10dBV", 1.0, 0.316228}, JackRow{"775mV", 1.0, 0.775},
                      JackRow{"0.775V", 1.0, 0.775}, JackRow{"2Vpp", 1.0, 0.707107},
                      JackRow{"500mVpp", 1.0, 0.1767767}, JackRow{"2.828427Vpp", 1.0, 1.0},
                      // Full scale exactly, and the lowest level (-120 dB).
                      JackRow{"2.5V", 2.5, 2.5}, JackRow{"7.0710678Vpp", 2.5, 2.5},
                      JackRow{"0.001mV", 1.0, 1e-6}, JackRow{"-120dBV", 1.0, 1e-6},
                      // dBFS needs no calibration and ignores one.
                      JackRow{"-20", 1.0, 0.1}, JackRow{"-20dBFS", 0.3, 0.03}));

TEST(SampleLevel, ASampleLevelNeedsNoCalibrationAndIsNotRounded) {
    EXPECT_EQ(ToSampleLevel({-20, LevelUnit::DbFs}, std::nullopt).peakDb, -20.0);
    // 0.1 V on a 1 V output is -20 dB exactly; 0.123 V is no hundredth of a dB.
    EXPECT_NEAR(*ToSampleLevel({0.123, LevelUnit::Volts}, 1.0).peakDb, 20 * std::log10(0.123),
                1e-12);
}

TEST(SampleLevel, TwoCalibrationsGiveSampleLevelsInExactlyTheirRatio) {
    const double quiet = 0.9, loud = 3.1;
    for (const char* text : {"0dBu", "-37.5dBV", "100mV", "0.2V", "250mVpp", "0.5Vpp"}) {
        const WrittenLevel level = *ReadLevelText(text).level;
        const std::optional<double> onQuiet = ToSampleLevel(level, quiet).peakDb;
        const std::optional<double> onLoud = ToSampleLevel(level, loud).peakDb;
        ASSERT_TRUE(onQuiet && onLoud) << text;
        // The quieter output needs the larger samples.
        EXPECT_NEAR(std::pow(10.0, (*onQuiet - *onLoud) / 20) / (loud / quiet), 1.0, 1e-12) << text;
    }
}

struct RefusalRow {
    std::string text;
    std::optional<double> fullScale;
    Reason reason;
    std::string limit; // as shown, in the unit asked
};

void PrintTo(const RefusalRow& r, std::ostream* os) {
    *os << '"' << r.text << "\" on " << (r.fullScale ? std::to_string(*r.fullScale) : "none");
}

class LevelRefusalTest : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(LevelRefusalTest, SaysWhyWithTheLimitInTheUnitAsked) {
    const RefusalRow& row = GetParam();
    const SampleLevelResult sample = ToSampleLevel(*ReadLevelText(row.text).level, row.fullScale);
    EXPECT_FALSE(sample.peakDb);
    EXPECT_EQ(sample.refusal.reason, row.reason);
    EXPECT_EQ(sample.refusal.limit ? FormatLevel(*sample.refusal.limit) : "", row.limit);
}

INSTANTIATE_TEST_SUITE_P(
    Units, LevelRefusalTest,
    ::testing::Values(RefusalRow{"0dBu", std::nullopt, Reason::NotCalibrated, ""},
                      RefusalRow{"1V", std::nullopt, Reason::NotCalibrated, ""},
                      RefusalRow{"1V", 0.0, Reason::NotCalibrated, ""},
                      RefusalRow{"1V", NAN, Reason::NotCalibrated, ""},
                      RefusalRow{"1V", 1e-7, Reason::NotCalibrated, ""},
                      RefusalRow{"1.5V", 1.0, Reason::AboveFullScale, "1V"},
                      RefusalRow{"1500mV", 1.0, Reason::AboveFullScale, "1000mV"},
                      RefusalRow{"3Vpp", 1.0, Reason::AboveFullScale, "2.828Vpp"},
                      RefusalRow{"3dBV", 1.0, Reason::AboveFullScale, "0dBV"},
                      RefusalRow{"5dBu", 1.0, Reason::AboveFullScale, "2.21dBu"},
                      RefusalRow{"1e300V", 0.001, Reason::AboveFullScale, "0.001V"},
                      RefusalRow{"1dBu", 0.774597, Reason::AboveFullScale, "0dBu"},
                      RefusalRow{"1dBu", 0.774596, Reason::AboveFullScale, "-0.01dBu"},
                      RefusalRow{"1e9mV", 9876.5, Reason::AboveFullScale, "9876000mV"},
                      RefusalRow{"0.0001mV", 1.0, Reason::BelowLowest, "0.001mV"},
                      RefusalRow{"-130dBV", 1.0, Reason::BelowLowest, "-120dBV"},
                      RefusalRow{"-200dBu", 1.0, Reason::BelowLowest, "-117.78dBu"},
                      RefusalRow{"1e-300Vpp", 0.3, Reason::BelowLowest, "0.0000008486Vpp"}));

TEST(SampleLevel, EveryLimitShownReadsBackAsALevelTheOutputPlays) {
    for (double fullScale : {1e-4, 0.0123, 0.245, 0.774597, 1.0, 1.2345678, 9.87, 316.0}) {
        for (LevelUnit unit :
             {LevelUnit::DbU, LevelUnit::DbV, LevelUnit::Volts, LevelUnit::MilliVolts,
              LevelUnit::VoltsPeakToPeak, LevelUnit::MilliVoltsPeakToPeak}) {
            const bool dB = unit == LevelUnit::DbU || unit == LevelUnit::DbV;
            for (const double asked : {dB ? 1e6 : 1e30, dB ? -1e6 : 1e-30}) {
                const LevelRefusal refused = ToSampleLevel({asked, unit}, fullScale).refusal;
                ASSERT_TRUE(refused.limit) << fullScale << " " << asked;
                const std::string shown = FormatLevel(*refused.limit);
                const LevelTextReading typedBack = ReadLevelText(shown);
                ASSERT_TRUE(typedBack.level) << shown;
                const SampleLevelResult sample = ToSampleLevel(*typedBack.level, fullScale);
                ASSERT_TRUE(sample.peakDb) << shown << " on " << fullScale;
                // And it is the limit to within its shown digits.
                EXPECT_NEAR(*sample.peakDb, asked > 1 ? 0.0 : -120.0, 0.01) << shown;
            }
        }
    }
}

TEST(SineVolts, RmsPeakToPeakAndDbuOfASampleLevel) {
    struct Row {
        double peakDb, fullScale, rms, peakToPeak, dbu;
    };
    for (const Row& r :
         {Row{0, 0.774597, 0.774597, 2.190890, 0.0}, Row{-20, 1.0, 0.1, 0.2828427, -17.78151},
          Row{-6.0206, 2.0, 1.0, 2.828427, 2.218487},
          Row{-120, 1.0, 1e-6, 2.828427e-6, -117.78151}}) {
        const SineVolts v = SineVoltsAt(r.peakDb, r.fullScale);
        EXPECT_NEAR(v.rms / r.rms, 1.0, 1e-5) << r.peakDb;
        EXPECT_NEAR(v.peakToPeak / r.peakToPeak, 1.0, 1e-5) << r.peakDb;
        EXPECT_NEAR(v.dbu, r.dbu, 1e-4) << r.peakDb;
    }
}

TEST(WaveVolts, EveryWaveformPeaksWhereTheSineOfTheSameSettingDoes) {
    for (TTGWave wave : {TTGWave::tgSine, TTGWave::tgSquare, TTGWave::tgTriangle,
                         TTGWave::tgSawtooth, TTGWave::tgNoise}) {
        const WaveVolts v = WaveVoltsAt(wave, 1000, 96000, -20, 1.0);
        EXPECT_NEAR(v.peak, 0.1 * std::sqrt(2.0), 1e-12) << int(wave);
        EXPECT_NEAR(v.rms, v.peak * RmsPerPeak(wave, 1000, 96000), 1e-12) << int(wave);
    }
}

TEST(WaveVolts, RmsPerPeakOfEachWaveform) {
    struct Row {
        TTGWave wave;
        int frequency, rate;
        double rmsPerPeak, tolerance;
    };
    const double sine = 1 / std::sqrt(2.0), flat = 1 / std::sqrt(3.0);
    // Many harmonics: the square and sawtooth overshoot their jumps by the
    // Gibbs factor 1.17898, and their largest sample is the peak.
    for (const Row& r : {Row{TTGWave::tgSine, 1000, 44100, sine, 1e-12},
                         Row{TTGWave::tgNoise, 1000, 44100, flat, 1e-12},
                         Row{TTGWave::tgSquare, 20, 96000, 1 / 1.17898, 1e-3},
                         Row{TTGWave::tgTriangle, 20, 96000, flat, 1e-3},
                         Row{TTGWave::tgSawtooth, 20, 96000, flat / 1.17898, 1e-3},
                         // Only the fundamental below half the rate: a sine.
                         Row{TTGWave::tgSquare, 20000, 44100, sine, 1e-12},
                         Row{TTGWave::tgTriangle, 8000, 44100, sine, 1e-12},
                         Row{TTGWave::tgSawtooth, 15000, 44100, sine, 1e-12}})
        EXPECT_NEAR(RmsPerPeak(r.wave, r.frequency, r.rate), r.rmsPerPeak, r.tolerance)
            << int(r.wave) << " " << r.frequency;
}

TEST(WaveVolts, RmsPerPeakIsThatOfThePlayedSamples) {
    // The precise samples are scaled so that the waveform's peak is 1: over
    // whole cycles their RMS is the ratio.
    for (TTGWave wave : {TTGWave::tgSquare, TTGWave::tgTriangle, TTGWave::tgSawtooth}) {
        for (const auto& [frequency, rate] :
             {std::pair{1000, 96000}, std::pair{441, 44100}, std::pair{3001, 44100}}) {
            const std::vector<double> cycle =
                PreciseWave(wave, frequency, rate, ExactCycleLength(frequency, rate));
            double sum = 0;
            for (double s : cycle)
                sum += s * s;
            EXPECT_NEAR(RmsPerPeak(wave, frequency, rate), std::sqrt(sum / double(cycle.size())),
                        1e-9)
                << int(wave) << " " << frequency;
        }
    }
}

} // namespace
