// SPDX-License-Identifier: GPL-3.0-or-later
// A level in any unit, on a calibrated output, reaches the samples: the RMS
// of the generator's sine, scaled by the calibration, is the voltage asked,
// from -100 dBu up to full scale.
#include "ToneGenFixture.h"
#include "engine/LevelTextReader.h"
#include "engine/SampleLevel.h"
#include "engine/ToneRequest.h"

#include <cmath>
#include <ostream>
#include <string>
#include <utility>

namespace {

struct Row {
    std::string text;
    double fullScale; // V RMS of a full-scale sine on the output
    double volts;     // the sine's V RMS asked
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << '"' << r.text << "\" on " << r.fullScale << " V";
}

class LevelSamplesTest : public ToneGenTest, public ::testing::WithParamInterface<Row> {};

TEST_P(LevelSamplesTest, TheSamplesRmsIsTheVoltageAsked) {
    const Row& row = GetParam();
    const SampleLevelResult level = ToSampleLevel(*ReadLevelText(row.text).level, row.fullScale);
    ASSERT_TRUE(level.peakDb);
    for (TTGResolution resolution : {TTGResolution::tg24Bit, TTGResolution::tgFloat}) {
        TToneGen gen(nullptr);
        gen.SetFrequency(1000);
        gen.SetDuration(100);
        gen.SetResolution(resolution);
        gen.SetPrecise(true);
        gen.SetPeakLevel(*level.peakDb);
        ASSERT_TRUE(gen.Prepare());
        double sum = 0;
        const std::vector<double> x = ImageSamples(gen);
        for (double v : x)
            sum += v * v;
        // A full-scale sine gives `fullScale` volts RMS at the jack.
        const double volts = row.fullScale * std::sqrt(2 * sum / double(x.size()));
        // Float keeps the level to far below a thousandth of a dB; 24 bits
        // round each sample, which moves a level near -100 dB by about 0.01
        // dB (0.011 dB at -102 dB without dither).
        const bool exact = resolution == TTGResolution::tgFloat;
        if (exact || *level.peakDb > -100) {
            EXPECT_NEAR(20 * std::log10(volts / row.volts), 0.0, exact ? 0.001 : 0.01)
                << TTGResolutionNames()[std::size_t(resolution)];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Units, LevelSamplesTest,
    ::testing::Values(Row{"-100dBu", 1.0, 7.745967e-6}, Row{"-60dBu", 0.3, 7.745967e-4},
                      Row{"0dBu", 1.2, 0.7745967}, Row{"+4dBu", 1.6, 1.227653},
                      Row{"-40dBV", 0.5, 0.01}, Row{"0dBV", 1.0, 1.0}, Row{"1mV", 2.0, 0.001},
                      Row{"123.4mV", 0.245, 0.1234}, Row{"0.245V", 0.245, 0.245},
                      Row{"10mVpp", 1.0, 0.01 / 2.828427}, Row{"2Vpp", 0.9, 2 / 2.828427},
                      Row{"-7.5", 1.0, 0.4216965}));

} // namespace

namespace {

// Each channel's RMS in dBFS (AES17: a full-scale sine is 0).
std::pair<double, double> ChannelLevels(const std::vector<double>& interleaved) {
    double left = 0, right = 0;
    for (std::size_t i = 0; i + 1 < interleaved.size(); i += 2) {
        left += interleaved[i] * interleaved[i];
        right += interleaved[i + 1] * interleaved[i + 1];
    }
    const double frames = double(interleaved.size() / 2);
    return {10 * std::log10(2 * left / frames), 10 * std::log10(2 * right / frames)};
}

class ChannelLevelsTest : public ToneGenTest {};

TEST_F(ChannelLevelsTest, EachChannelPlaysItsOwnLevelInEveryFormat) {
    constexpr double kLeft = -6.02, kRight = -26.5;
    for (const bool signal : {false, true})
        for (TTGResolution resolution :
             {TTGResolution::tg16Bit, TTGResolution::tg24Bit, TTGResolution::tgFloat}) {
            ToneRequest tone;
            tone.frequency = 1000;
            tone.durationMs = 100;
            tone.stereo = true;
            tone.resolution = resolution;
            tone.levelDb = kLeft;
            tone.rightLevelDb = kRight;
            // Bursts are a signal whose right channel repeats the left; half
            // of their cycles are silent.
            if (signal) {
                tone.signal.kind = SignalKind::Burst;
                tone.signal.burst = {5, 5};
            }
            const double duty = signal ? 10 * std::log10(0.5) : 0;
            TToneGen gen(nullptr);
            ASSERT_TRUE(tone.Build(gen));
            const auto [left, right] = ChannelLevels(ImageSamples(gen));
            const double within = resolution == TTGResolution::tg16Bit ? 0.01 : 0.001;
            const std::string what = std::string(signal ? "bursts, " : "tone, ") +
                                     TTGResolutionNames()[std::size_t(resolution)];
            EXPECT_NEAR(left, kLeft + duty, within) << what;
            EXPECT_NEAR(right, kRight + duty, within) << what;
        }
}

} // namespace
