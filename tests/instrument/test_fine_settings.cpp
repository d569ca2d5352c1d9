// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's fine frequency and exact levels: what it takes and
// refuses, what they override until a dial is turned, what each channel
// keeps, and how they are heard (a stream between whole hertz, retuned in
// place while it plays).
#include "engine/RetunableTone.h"
#include "engine/ToneGen.h"
#include "instrument/Instrument.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace instrument;

namespace {

// Records streams as well: how many were started, and the one playing.
class StreamingOutput : public RecordingSoundOutput {
public:
    bool PlayStream(FrameSource& source) override {
        ++streams;
        playing = &source;
        return true;
    }
    void Play(std::span<const std::uint8_t> image, std::uint32_t flags) override {
        playing = nullptr;
        RecordingSoundOutput::Play(image, flags);
    }
    void Stop() override {
        playing = nullptr;
        RecordingSoundOutput::Stop();
    }
    int streams = 0;
    FrameSource* playing = nullptr;
};

struct Fixture {
    explicit Fixture(bool precise = true) {
        gen.SetFrequency(1000);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(50);
        gen.SetLoop(true);
        gen.SetPrecise(precise);
    }
    RetunableTone* Stream() const { return dynamic_cast<RetunableTone*>(sound->playing); }

    std::shared_ptr<StreamingOutput> sound = std::make_shared<StreamingOutput>();
    TToneGen gen{nullptr, sound};
    Instrument instrument{gen};
};

MilliHertz Hz(double hz) {
    return {std::llround(hz * 1000)};
}

OutputCalibration Calibrated(double left, double right) {
    OutputCalibration c;
    if (left > 0)
        c.left = ChannelCalibration{left, "2026-12-09T17:46:00Z", 65536};
    if (right > 0)
        c.right = ChannelCalibration{right, "2026-12-09T17:46:00Z", 65536};
    return c;
}

struct Acceptance {
    const char* name;
    std::function<bool(Fixture&)> command;
    bool accepted;
    std::function<void(Fixture&)> before = [](Fixture&) {};
};

class Taken : public ::testing::TestWithParam<Acceptance> {};

// A refused command changes nothing and tells nobody.
TEST_P(Taken, OrRefusedLeavingNothingChanged) {
    const Acceptance& row = GetParam();
    Fixture f(std::string(row.name) != "ClassicSynthesisRefuses");
    row.before(f);
    int told = 0;
    f.instrument.Subscribe([&] { ++told; });
    const InstrumentState before = f.instrument.State();
    EXPECT_EQ(row.command(f), row.accepted);
    EXPECT_EQ(f.instrument.State() != before, row.accepted);
    EXPECT_EQ(told, row.accepted ? 1 : 0);
}

const WrittenLevel kZeroDbu{0, LevelUnit::DbU};

INSTANTIATE_TEST_SUITE_P(
    Rows, Taken,
    ::testing::Values(
        Acceptance{"ADecimalFrequency",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(997.123)); }, true},
        Acceptance{"TheLowestFrequency",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(1)); }, true},
        Acceptance{"BelowOneHertz",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(0.999)); }, false},
        Acceptance{"AtMostNearlyHalfTheRate",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(43200)); }, true},
        Acceptance{"AboveNearlyHalfTheRate",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(43200.001)); }, false},
        Acceptance{"AboveTwentyKilohertzAtTheLowRate",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(20000.001)); }, false,
                   [](Fixture& f) { f.instrument.ChooseQuality(TTGQuality::tgLoQ); }},
        Acceptance{"ClassicSynthesisRefuses",
                   [](Fixture& f) { return f.instrument.SetExactFrequency(Hz(997.5)); }, false},
        Acceptance{"ALevelInDbfs",
                   [](Fixture& f) {
                       return f.instrument.SetExactLevel({-20, LevelUnit::DbFs});
                   },
                   true},
        Acceptance{"VoltsWithoutCalibration",
                   [](Fixture& f) { return f.instrument.SetExactLevel(kZeroDbu); }, false},
        Acceptance{"VoltsCalibrated",
                   [](Fixture& f) { return f.instrument.SetLevelOf(Channel::Right, kZeroDbu); },
                   true, [](Fixture& f) { f.instrument.UseCalibration(Calibrated(1.0, 1.0)); }},
        Acceptance{"AboveFullScale",
                   [](Fixture& f) {
                       return f.instrument.SetExactLevel({1.001, LevelUnit::Volts});
                   },
                   false, [](Fixture& f) { f.instrument.UseCalibration(Calibrated(1.0, 1.0)); }},
        Acceptance{"BothChannelsNeedBothCalibrations",
                   [](Fixture& f) { return f.instrument.SetExactLevel(kZeroDbu); }, false,
                   [](Fixture& f) { f.instrument.UseCalibration(Calibrated(1.0, 0)); }},
        Acceptance{"NoChannelAddressedAsBoth",
                   [](Fixture& f) { return f.instrument.SetFrequencyOf(Channel::Both, Hz(997.5)); },
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// Every exact setting gives way to the dial it overrides when that dial is
// turned, and only then; the same readings keep it.
TEST(Override, LastsUntilItsDialIsTurned) {
    Fixture f;
    Instrument& i = f.instrument;
    ASSERT_TRUE(i.SetExactFrequency(Hz(997.123)));
    ASSERT_TRUE(i.SetExactLevel({-20, LevelUnit::DbFs}));
    EXPECT_EQ(i.State().dials[3].reading, 10) << "the nearest amplitude position";
    i.Tick();
    EXPECT_EQ(i.State().left.thousands + i.State().left.hundreds + i.State().left.units, "00997");
    DialPositions same = i.State().dials;
    same[0].value += 0.001f;
    i.SetDials(same);
    EXPECT_EQ(i.FrequencyOf(Channel::Both), Hz(997.123));
    i.SetDial(Dial::Amplitude, {30.0f, 30});
    EXPECT_EQ(i.LevelOf(Channel::Both), std::nullopt);
    EXPECT_EQ(i.FrequencyOf(Channel::Both), Hz(997.123)) << "the amplitude leaves the frequency";
    i.SetFrequency(1000); // where the dials stand: the typed whole hertz
    EXPECT_EQ(i.FrequencyOf(Channel::Both), Hz(1000));
    i.SetExactFrequency(Hz(997.123));
    i.SetDial(Dial::Units, {10.0f, 10});
    EXPECT_EQ(i.FrequencyOf(Channel::Both), Hz(1010));
    EXPECT_EQ(f.gen.Frequency(), 1010);
    EXPECT_EQ(f.gen.LeftVolume(), 30);
    EXPECT_EQ(f.gen.PeakLevel(), 0.0);
}

// Each channel keeps its own; one not selected takes its setting for when
// it is, and nothing is heard meanwhile.
TEST(Memory, EachChannelKeepsItsOwn) {
    Fixture f;
    Instrument& i = f.instrument;
    f.instrument.UseCalibration(Calibrated(1.0, 2.0));
    i.SelectChannel(Channel::Left);
    i.Start();
    ASSERT_TRUE(i.SetFrequencyOf(Channel::Right, Hz(12.5)));
    ASSERT_TRUE(i.SetLevelOf(Channel::Right, kZeroDbu));
    EXPECT_EQ(f.sound->PlayCount() + f.sound->streams, 1) << "the right channel is not heard";
    EXPECT_EQ(i.State().memory.right[3].reading, 39); // 0.7746 V of 2 V
    EXPECT_EQ(i.FrequencyOf(Channel::Left), Hz(1000));
    i.SelectChannel(Channel::Right);
    EXPECT_EQ(i.FrequencyOf(Channel::Right), Hz(12.5));
    EXPECT_EQ(i.State().dials[3].reading, 39);
    ASSERT_NE(f.Stream(), nullptr) << "12.5 Hz lies below the dials: it streams";
    EXPECT_EQ(f.Stream()->AskedPeak(), 0.0);
    EXPECT_NEAR(f.Stream()->AskedRightPeak(), std::sqrt(0.6) / 2, 1e-12);
    EXPECT_EQ(f.sound->Level(), kFullLevel);
    i.SelectChannel(Channel::Left);
    EXPECT_EQ(f.Stream(), nullptr);
    EXPECT_EQ(f.gen.Frequency(), 1000);
    EXPECT_EQ(i.LevelOf(Channel::Right), kZeroDbu);
}

// While running: a change that leaves the sound as it is plays nothing; a
// new frequency or level is handed to the stream that plays; a new waveform
// or the dials' whole hertz play once.
TEST(Heard, OnceOrInPlace) {
    Fixture f;
    Instrument& i = f.instrument;
    i.Start();
    ASSERT_EQ(f.sound->PlayCount(), 1);
    i.SetExactFrequency(Hz(1000)); // whole hertz: the image that plays
    EXPECT_EQ(f.sound->PlayCount(), 1);
    EXPECT_EQ(f.sound->streams, 0);
    i.SetExactFrequency(Hz(997.123));
    ASSERT_EQ(f.sound->streams, 1);
    RetunableTone* stream = f.Stream();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->AskedPeak(), 0.5) << "the dial's share";
    EXPECT_EQ(f.sound->Level(), kFullLevel);
    int told = 0;
    i.Subscribe([&] { ++told; });
    i.SetExactFrequency(Hz(997.123));
    i.SetExactFrequency(Hz(1000.001));
    i.SetExactLevel({-6, LevelUnit::DbFs});
    EXPECT_EQ(told, 2);
    EXPECT_EQ(f.sound->streams, 1);
    EXPECT_EQ(f.Stream(), stream);
    EXPECT_EQ(stream->AskedFrequency(), Hz(1000.001));
    EXPECT_EQ(i.StreamSettings()->frequency, Hz(1000.001)) << "what a file would hold";
    EXPECT_NEAR(stream->AskedPeak(), std::pow(10.0, -6.0 / 20), 1e-15);
    i.SelectWaveform(TTGWave::tgSquare);
    EXPECT_EQ(f.sound->streams, 2);
    i.SetExactFrequency(Hz(1000.5));
    EXPECT_EQ(f.sound->streams, 2) << "a shape retunes in place too";
    EXPECT_EQ(f.Stream()->AskedFrequency(), Hz(1000.5));
    i.SetDial(Dial::Thousands, {2.0f, 2});
    EXPECT_EQ(f.sound->PlayCount(), 2);
    EXPECT_EQ(f.Stream(), nullptr);
    EXPECT_EQ(f.gen.Frequency(), 2000);
    EXPECT_NEAR(f.gen.PeakLevel(), -6, 1e-12) << "the exact level stays";
    i.Stop();
    EXPECT_EQ(f.sound->playing, nullptr);
}

// Two channels calibrated differently play one level in volts each at its
// own sample level: the louder in the samples, the other through the level
// word; a new calibration is heard at once.
TEST(Levels, BothChannelsEachAtTheirOwnCalibration) {
    Fixture f;
    Instrument& i = f.instrument;
    i.UseCalibration(Calibrated(1.0, 2.0));
    i.Start();
    ASSERT_TRUE(i.SetExactLevel({0.5, LevelUnit::Volts}));
    EXPECT_NEAR(f.gen.PeakLevel(), 20 * std::log10(0.5), 1e-12);
    EXPECT_EQ(f.gen.LeftVolume(), 100);
    EXPECT_EQ(f.sound->Level(), PackLevelWord(kLevelHalfMax, 32768));
    const int plays = f.sound->PlayCount();
    i.UseCalibration(Calibrated(0.8, 2.0));
    EXPECT_NEAR(f.gen.PeakLevel(), 20 * std::log10(0.5 / 0.8), 1e-12);
    EXPECT_EQ(f.sound->PlayCount(), plays + 1);
    i.UseCalibration({});
    EXPECT_EQ(i.LevelOf(Channel::Both), std::nullopt) << "uncalibrated: the dial takes over";
    EXPECT_EQ(f.gen.PeakLevel(), 0.0);
}

// A streamed tone plays each channel at its own level in its samples (the
// level word at full), whichever channel is selected and however each is
// calibrated; a change ramps each to its own peak.
TEST(Levels, AStreamedToneCarriesEachChannelsOwnPeak) {
    struct Row {
        const char* what;
        Channel channel;
        std::optional<WrittenLevel> level; // none: the amplitude dial at 50
        double left, right;                // the peaks expected
    };
    const Row rows[] = {
        {"both, 0.5 V on 1 V and 2 V", Channel::Both, WrittenLevel{0.5, LevelUnit::Volts}, 0.5,
         0.25},
        {"right, 0 dBu on 2 V", Channel::Right, kZeroDbu, 0, std::sqrt(0.6) / 2},
        {"left, the dial", Channel::Left, std::nullopt, 0.5, 0},
    };
    for (const Row& row : rows) {
        Fixture f;
        Instrument& i = f.instrument;
        i.UseCalibration(Calibrated(1.0, 2.0));
        i.SelectChannel(row.channel);
        i.SetExactFrequency(Hz(997.123));
        i.Start();
        if (row.level) {
            ASSERT_TRUE(i.SetExactLevel(*row.level)) << row.what;
        }
        RetunableTone* stream = f.Stream();
        ASSERT_NE(stream, nullptr) << row.what;
        EXPECT_EQ(f.sound->Level(), kFullLevel) << row.what;
        // Past the ramp, each channel's RMS is its peak's share of a sine.
        const int frames = 48000;
        std::vector<std::int16_t> out(2 * std::size_t(frames));
        ASSERT_EQ(stream->Format().BytesPerFrame(), 4) << row.what;
        stream->Render(std::size_t(frames), reinterpret_cast<std::uint8_t*>(out.data()));
        for (int c = 0; c < 2; ++c) {
            double sum = 0;
            for (int n = frames / 2; n < frames; ++n)
                sum += double(out[std::size_t(2 * n + c)]) * out[std::size_t(2 * n + c)];
            const double rms = std::sqrt(sum / (frames / 2)) / 32767 * std::sqrt(2.0);
            EXPECT_NEAR(rms, c == 0 ? row.left : row.right, 1e-3) << row.what << ", channel " << c;
        }
    }
}

// The status line's reading: the exact frequency between whole hertz, and
// the level in volts once calibrated.
TEST(Reading, ShowsWhatTheDisplaysCannot) {
    Fixture f;
    Instrument& i = f.instrument;
    EXPECT_EQ(i.Display().reading, std::nullopt);
    i.SelectChannel(Channel::Left);
    i.SetExactFrequency(Hz(997.123));
    ASSERT_TRUE(i.Display().reading);
    EXPECT_EQ(i.Display().reading->channel, Channel::Left);
    EXPECT_EQ(i.Display().reading->frequency, Hz(997.123));
    EXPECT_EQ(i.Display().reading->rmsVolts, std::nullopt);
    i.SetDial(Dial::Units, {0.0f, 0}); // no change: still 997.123
    i.UseCalibration(Calibrated(1.55, 1.0));
    i.SetDial(Dial::Hundreds, {1.0f, 1});
    ASSERT_TRUE(i.Display().reading);
    EXPECT_EQ(i.Display().reading->frequency, Hz(1100));
    EXPECT_NEAR(*i.Display().reading->rmsVolts, 0.775, 1e-12); // the dial at 50
    i.SetExactLevel(kZeroDbu);
    EXPECT_NEAR(*i.Display().reading->dbu, 0, 1e-9);
    i.SelectWaveform(TTGWave::tgNoise);
    EXPECT_EQ(i.Display().reading, std::nullopt);
}

// The volts hold at the calibration's volume only: once the server reports
// another on either channel they are marked, and the status line shows it
// in place of the pointer's hint.
TEST(Reading, VoltsNoLongerValidOnceTheVolumeDiffers) {
    struct Row {
        std::optional<std::uint32_t> left, right;
        bool valid;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, true}, // not known: nothing to say
        {65536, 65536, true},
        {32768, 65536, false},
        {65536, 32768, false}, // the right channel alone turned down
        {std::nullopt, 30000, false},
    };
    for (const Row& r : rows) {
        Fixture f;
        Instrument& i = f.instrument;
        i.UseCalibration(Calibrated(1.55, 1.0));
        i.ShowHint("hint");
        i.UseOutputReport({r.left, r.right, 0});
        ASSERT_TRUE(i.Display().reading);
        EXPECT_EQ(i.Display().reading->voltsValid, r.valid) << r.left.value_or(0);
        EXPECT_EQ(i.Display().status.empty(), !r.valid);
        // A calibration at the volume reported now holds again.
        OutputCalibration again = Calibrated(1.55, 1.0);
        again.left->volume = r.left.value_or(0);
        again.right->volume = r.right.value_or(0);
        i.UseCalibration(again);
        EXPECT_TRUE(i.Display().reading->voltsValid);
    }
}

// Until a rate is chosen, the precise synthesis plays at the output's own
// (when the fine frequencies fit it); a rate chosen that differs from the
// output's is a resampling the display tells.
TEST(Rate, TheOutputsOwnUntilOneIsChosen) {
    Fixture f;
    Instrument& i = f.instrument;
    using Resampling = DisplayState::Resampling;
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 96000); // not known yet
    EXPECT_EQ(i.Display().resampling, std::nullopt);
    i.UseOutputReport({std::nullopt, std::nullopt, 48000});
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 48000);
    EXPECT_EQ(i.Display().resampling, std::nullopt);
    i.UseOutputReport({std::nullopt, std::nullopt, 44100});
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 44100);

    i.ShowHint("hint");
    ASSERT_TRUE(i.ChooseRate(96000));
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 96000);
    EXPECT_EQ(i.Display().resampling, (Resampling{96000, 44100}));
    EXPECT_EQ(i.Display().status, ""); // said at once
    i.UseOutputReport({std::nullopt, std::nullopt, 48000});
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 96000); // chosen stays
    ASSERT_TRUE(i.FollowOutputRate());
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 48000);

    // 30 kHz needs more than 48 kHz: the rate that plays it stays.
    ASSERT_TRUE(i.ChooseRate(96000));
    ASSERT_TRUE(i.SetExactFrequency(Hz(30000)));
    ASSERT_TRUE(i.FollowOutputRate());
    EXPECT_EQ(f.gen.Format().SamplesPerSecond(), 96000);
    EXPECT_EQ(i.FrequencyOf(Channel::Both), Hz(30000));

    // The classic synthesis keeps its own rates.
    Fixture classic(false);
    classic.instrument.UseOutputReport({std::nullopt, std::nullopt, 48000});
    EXPECT_EQ(classic.gen.Format().SamplesPerSecond(), 96000);
    EXPECT_EQ(classic.instrument.Display().resampling, (Resampling{96000, 48000}));
}

} // namespace
