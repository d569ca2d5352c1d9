// SPDX-License-Identifier: GPL-3.0-or-later
// Presets: their text written and read back, damaged text refused with its
// line, the instrument's state captured and recalled, and the folder that
// keeps them (odd names, foreign files, links).
#include "engine/ToneGen.h"
#include "engine/steps/SteppedSweepSource.h"
#include "instrument/Instrument.h"
#include "instrument/PresetStore.h"
#include "instrument/PresetText.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace instrument;
namespace fs = std::filesystem;

namespace {

// --- text -------------------------------------------------------------------------

struct TextRow {
    const char* what;
    std::function<void(Preset&)> fill;
};

class PresetTextRows : public ::testing::TestWithParam<TextRow> {};

TEST_P(PresetTextRows, ReadBackAsWritten) {
    Preset preset;
    preset.name = "p";
    GetParam().fill(preset);
    const std::string text = WritePresetText(preset);
    const PresetReading reading = ReadPresetText(text);
    ASSERT_TRUE(reading.preset) << text << reading.line << ": " << reading.reason;
    EXPECT_EQ(*reading.preset, preset) << text;
    EXPECT_EQ(WritePresetText(*reading.preset), text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfState, PresetTextRows,
    ::testing::Values(TextRow{"FineToneInVolts",
                              [](Preset& p) {
                                  p.frequency = MilliHertz{997123};
                                  p.level = WrittenLevel{0.775, LevelUnit::Volts};
                                  p.channels = PresetChannels::Mono;
                              }},
                      TextRow{"OwnRightChannel",
                              [](Preset& p) {
                                  p.frequency = MilliHertz{1000000};
                                  p.rightFrequency = MilliHertz{1001500};
                                  p.level = WrittenLevel{4, LevelUnit::DbU};
                                  p.rightLevel = WrittenLevel{-10.25, LevelUnit::DbV};
                                  p.channels = PresetChannels::Both;
                                  p.phaseTenths = 905;
                                  p.volume = std::pair{100, 40};
                              }},
                      TextRow{"Sweep",
                              [](Preset& p) {
                                  p.sweep = std::pair{20000, 20};
                                  p.linear = true;
                                  p.durationMs = 60000;
                                  p.fadeMs = 30000;
                                  p.level = WrittenLevel{-20, LevelUnit::DbFs};
                              }},
                      TextRow{
                          "BurstSquareAndPink",
                          [](Preset& p) {
                              p.burst = BurstSettings{1, 0};
                              p.waveform = PresetWave{TTGWave::tgSquare, SignalKind::Tone, false};
                              p.channels = PresetChannels::Right;
                          }},
                      TextRow{"Signals",
                              [](Preset& p) {
                                  p.waveform = PresetWave{TTGWave::tgSine, SignalKind::Ccif, false};
                                  p.level = WrittenLevel{2, LevelUnit::MilliVoltsPeakToPeak};
                              }},
                      TextRow{"Multitone",
                              [](Preset& p) {
                                  p.waveform = PresetWave{TTGWave::tgSine, SignalKind::Tone, true};
                                  p.tones = "20:20000.5:3";
                                  p.fftLength = 65536;
                                  p.linear = true;
                              }},
                      TextRow{"TonesFileOfOddName",
                              [](Preset& p) {
                                  p.waveform = PresetWave{TTGWave::tgSine, SignalKind::Tone, true};
                                  p.tonesFile = " 50% off\nlist# = \t";
                              }},
                      TextRow{"Steps",
                              [](Preset& p) {
                                  p.steps = "100:10000:21";
                                  p.dwellMs = 500;
                                  p.upDown = true;
                              }},
                      TextRow{"Output",
                              [](Preset& p) {
                                  p.device = "alsa_output.usb-%41\x1b[2J\xff";
                                  p.bits = TTGResolution::tgFloat;
                                  p.rate = 176400;
                                  p.dither = true;
                                  p.channels = PresetChannels::Left;
                              }}),
    [](const auto& info) { return std::string(info.param.what); });

struct DamagedRow {
    const char* what;
    const char* text;
    int line;
    const char* reason; // part of it
};

class DamagedPresetText : public ::testing::TestWithParam<DamagedRow> {};

TEST_P(DamagedPresetText, IsRefusedWithItsLine) {
    const DamagedRow& row = GetParam();
    const PresetReading reading = ReadPresetText(row.text);
    EXPECT_FALSE(reading.preset);
    EXPECT_EQ(reading.line, row.line);
    EXPECT_NE(reading.reason.find(row.reason), std::string::npos) << reading.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedPresetText,
    ::testing::Values(
        DamagedRow{"Empty", "", 1, "not a preset"},
        DamagedRow{"OtherFile", "[format]\nbits=24\n", 1, "not a preset"},
        DamagedRow{"NoName", "orbel preset 1\nfrequency = 1000\n", 0, "no name"},
        DamagedRow{"UnknownKey", "orbel preset 1\nname = a\n\n# x\nloudness = 3\n", 5, "loudness"},
        DamagedRow{"Twice", "orbel preset 1\nname = a\nbits = 24\nbits = 16\n", 4, "twice"},
        DamagedRow{"NoEquals", "orbel preset 1\nname = a\nfrequency 1000\n", 3, "key = value"},
        DamagedRow{"DecimalComma", "orbel preset 1\nname = a\nfrequency = 997,5\n", 3, "frequency"},
        DamagedRow{"FourDecimals", "orbel preset 1\nname = a\nfrequency = 997.1234\n", 3,
                   "frequency"},
        DamagedRow{"PhaseOffGrid", "orbel preset 1\nname = a\nphase = 0.05\n", 3, "phase"},
        DamagedRow{"FftNotPowerOfTwo", "orbel preset 1\nname = a\nfft = 3000\n", 3, "fft"},
        DamagedRow{"SweepOneFrequency", "orbel preset 1\nname = a\nsweep = 100:100\n", 3, "sweep"},
        DamagedRow{"CutEscape", "orbel preset 1\nname = a%4\n", 2, "%"},
        DamagedRow{"LevelWithoutNumber", "orbel preset 1\nname = a\nlevel = dBu\n", 3, "level"}),
    [](const auto& info) { return std::string(info.param.what); });

// --- the instrument ------------------------------------------------------------------

// An output with outputs to choose from.
class OutputsDouble : public RecordingSoundOutput {
public:
    std::optional<std::vector<OutputDevice>> ListDevices() override { return devices; }
    void ChooseDevice(const std::string& name) override { chosen = name; }
    std::vector<OutputDevice> devices{{"usb", "USB DAC", false}, {"hdmi", "HDMI", true}};
    std::string chosen;
};

struct Bench {
    Bench() {
        gen.SetPrecise(true);
        gen.SetFrequency(1000);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(50);
        gen.SetLoop(true);
    }
    std::shared_ptr<OutputsDouble> sound = std::make_shared<OutputsDouble>();
    TToneGen gen{nullptr, sound};
    Instrument instrument{gen, [] { return 0.0; }};
};

using Steps = std::function<void(Instrument&)>;

struct ModelRow {
    const char* what;
    Steps steps;
};

class ModelRoundTrip : public ::testing::TestWithParam<ModelRow> {};

TEST_P(ModelRoundTrip, RecallPlaysWhatWasCaptured) {
    Bench a, b;
    GetParam().steps(a.instrument);
    const Preset captured = a.instrument.CapturePreset("x");
    // Through the text, as a stored preset goes.
    const PresetReading stored = ReadPresetText(WritePresetText(captured));
    ASSERT_TRUE(stored.preset);
    const PresetRecallResult recalled = b.instrument.RecallPreset(*stored.preset);
    ASSERT_TRUE(recalled.accepted) << recalled.refusal;
    EXPECT_FALSE(recalled.outputGone);
    EXPECT_EQ(b.instrument.CapturePreset("x"), captured);
    EXPECT_EQ(b.gen.Frequency(), a.gen.Frequency());
    EXPECT_EQ(b.gen.LeftVolume(), a.gen.LeftVolume());
    EXPECT_EQ(b.gen.RightVolume(), a.gen.RightVolume());
    EXPECT_EQ(b.gen.Waveform(), a.gen.Waveform());
    EXPECT_EQ(b.gen.Signal(), a.gen.Signal());
    EXPECT_EQ(b.gen.Resolution(), a.gen.Resolution());
    EXPECT_EQ(b.gen.Quality(), a.gen.Quality());
    EXPECT_EQ(b.gen.Duration(), a.gen.Duration());
    EXPECT_EQ(b.instrument.State().channel, a.instrument.State().channel);
    EXPECT_EQ(b.instrument.State().choices, a.instrument.State().choices);
}

DialPosition At(int reading) {
    return {static_cast<float>(reading), reading};
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfState, ModelRoundTrip,
    ::testing::Values(ModelRow{"AsStarted", [](Instrument&) {}},
                      ModelRow{"LeftChannel",
                               [](Instrument& i) {
                                   i.SelectChannel(Channel::Left);
                                   i.SetFrequency(3000);
                                   i.SetDial(Dial::Amplitude, At(30));
                               }},
                      ModelRow{"RightChannelSingleHertz",
                               [](Instrument& i) {
                                   i.SelectChannel(Channel::Right);
                                   i.SetStep(Step::OneHz);
                                   i.SetFrequency(997);
                                   i.SetDial(Dial::Amplitude, At(100));
                               }},
                      ModelRow{"SquareAt20kHz",
                               [](Instrument& i) {
                                   i.SetFrequency(20000);
                                   i.SelectWaveform(TTGWave::tgSquare);
                               }},
                      ModelRow{"Noise", [](Instrument& i) { i.SelectWaveform(TTGWave::tgNoise); }},
                      ModelRow{"PinkNoise",
                               [](Instrument& i) { i.SelectSignal(SignalKind::PinkNoise); }},
                      ModelRow{"Smpte", [](Instrument& i) { i.SelectSignal(SignalKind::Smpte); }},
                      ModelRow{"Sweep",
                               [](Instrument& i) {
                                   SweepSettings sweep;
                                   sweep.startHz = 20000;
                                   sweep.endHz = 100;
                                   sweep.linear = true;
                                   sweep.durationMs = 3000;
                                   sweep.fadeMs = 20;
                                   i.StartSweep(sweep, false);
                               }},
                      ModelRow{"SteppedSweepUpAndDown",
                               [](Instrument& i) {
                                   SteppedSweepSettings steps;
                                   steps.f1 = 100.5;
                                   steps.f2 = 10000;
                                   steps.count = 21;
                                   steps.dwellMs = 500;
                                   steps.upDown = true;
                                   ASSERT_TRUE(i.StartSteps(steps));
                               }},
                      ModelRow{"LinearStepsDown",
                               [](Instrument& i) {
                                   SteppedSweepSettings steps;
                                   steps.f1 = 5000;
                                   steps.f2 = 1000;
                                   steps.count = 5;
                                   steps.linear = true;
                                   steps.dwellMs = 10;
                                   ASSERT_TRUE(i.StartSteps(steps));
                               }},
                      ModelRow{"OutputAndFormat",
                               [](Instrument& i) {
                                   i.ChooseDevice("usb");
                                   i.ChooseResolution(TTGResolution::tg24Bit);
                                   i.ChooseQuality(TTGQuality::tgLoQ);
                               }},
                      ModelRow{"OwnRate", [](Instrument& i) { i.ChooseRate(192000); }},
                      ModelRow{"MultitoneOnTheLeft",
                               [](Instrument& i) {
                                   i.SelectChannel(Channel::Left);
                                   MultitoneChoice m;
                                   m.f1 = 100.5;
                                   m.f2 = 1000;
                                   m.tones = 7;
                                   m.linear = true;
                                   m.fftLength = 8192;
                                   m.level = WrittenLevel{-23.5, LevelUnit::DbFs};
                                   ASSERT_TRUE(i.SelectMultitone(m));
                               }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(PresetRecall, IsHeardOnceWhilePlayingAndNotAtAllWhenNothingChanges) {
    Bench bench;
    bench.instrument.Start();
    Preset preset;
    preset.frequency = MilliHertz::FromHertz(440);
    preset.volume = std::pair{80, 80};
    preset.waveform = PresetWave{TTGWave::tgTriangle, SignalKind::Tone, false};
    preset.bits = TTGResolution::tgFloat;
    int told = 0;
    bench.instrument.Subscribe([&] { ++told; });
    const int before = bench.sound->PlayCount();
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_EQ(bench.sound->PlayCount(), before + 1);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(bench.gen.Frequency(), 440);
    EXPECT_EQ(bench.gen.RightVolume(), 80);
    EXPECT_EQ(bench.gen.Resolution(), TTGResolution::tgFloat);
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_EQ(bench.sound->PlayCount(), before + 1);
    EXPECT_EQ(told, 1);
}

TEST(PresetRecall, WhatTheInstrumentCannotPlayIsRefusedWholeWithItsReason) {
    const std::vector<std::pair<std::function<void(Preset&)>, const char*>> rows{
        {[](Preset& p) { p.frequency = MilliHertz{500}; }, "frequency"},
        {[](Preset& p) { p.frequency = MilliHertz::FromHertz(50000); }, "50000"},
        {[](Preset& p) {
             p.level = WrittenLevel{0, LevelUnit::DbU};
         },
         "level"},
        {[](Preset& p) {
             p.volume = std::pair{100, 50};
         },
         "volume"},
        {[](Preset& p) { p.steps = "100:1000:3"; }, "dwell"},
        {[](Preset& p) { p.dwellMs = 100; }, "goes with steps"},
        {[](Preset& p) {
             p.steps = "100:50000:3";
             p.dwellMs = 100;
         },
         "rate"},
        {[](Preset& p) {
             p.steps = "100:1000:3";
             p.dwellMs = 100;
             p.burst = BurstSettings{1, 1};
         },
         "burst"},
        {[](Preset& p) {
             p.phaseTenths = 900;
             p.waveform = PresetWave{TTGWave::tgSquare, SignalKind::Tone, false};
         },
         "phase"},
        {[](Preset& p) {
             p.waveform = PresetWave{TTGWave::tgSine, SignalKind::Tone, true};
             p.level = WrittenLevel{-1, LevelUnit::DbFs};
         },
         "clip"},
        {[](Preset& p) { p.tones = "100:1000:3"; }, "waveform multitone"},
    };
    for (const auto& [fill, reason] : rows) {
        Bench bench;
        bench.instrument.Start();
        const InstrumentState before = bench.instrument.State();
        const int plays = bench.sound->PlayCount();
        Preset preset;
        preset.bits = TTGResolution::tg24Bit; // would be taken, were the rest
        fill(preset);
        const PresetRecallResult result = bench.instrument.RecallPreset(preset);
        EXPECT_FALSE(result.accepted) << reason;
        EXPECT_NE(result.refusal.find(reason), std::string::npos) << result.refusal;
        EXPECT_EQ(bench.instrument.State(), before) << reason;
        EXPECT_EQ(bench.sound->PlayCount(), plays) << reason;
    }
}

TEST(PresetRecall, BurstsAndThePhaseComeBackWithTheSine) {
    Bench bench;
    Preset preset;
    preset.burst = BurstSettings{3, 5};
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_EQ(bench.gen.Signal().kind, SignalKind::Burst);
    EXPECT_EQ(bench.instrument.CapturePreset("again").burst, preset.burst);
    preset.burst.reset();
    preset.phaseTenths = 450; // takes the bursts' place
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_FALSE(bench.instrument.State().burst);
    EXPECT_EQ(bench.gen.Signal().rightLagTenths, 450);
    EXPECT_EQ(bench.instrument.CapturePreset("again").phaseTenths, 450);
    preset = {};
    preset.waveform = PresetWave{TTGWave::tgTriangle, SignalKind::Tone, false};
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_EQ(bench.instrument.State().rightLagTenths, 0) << "the triangle plays in phase";
}

// A multitone recalled while a tone plays takes its place, and a tone
// recalled then takes the multitone's place again.
TEST(PresetRecall, TheMultitoneComesAndGoesWhilePlaying) {
    Bench bench;
    bench.instrument.Start();
    Preset multitone;
    multitone.waveform = PresetWave{TTGWave::tgSine, SignalKind::Tone, true};
    multitone.tones = "100:1000:3";
    multitone.fftLength = 8192;
    ASSERT_TRUE(bench.instrument.RecallPreset(multitone).accepted);
    EXPECT_TRUE(bench.instrument.State().multitone.chosen);
    EXPECT_EQ(bench.instrument.State().multitone.level, (WrittenLevel{-10, LevelUnit::DbFs}));
    EXPECT_NE(bench.sound->Streaming(), nullptr);
    // Bursts are the steady sine's, not the multitone's that plays now.
    Preset bursts;
    bursts.burst = BurstSettings{3, 5};
    EXPECT_FALSE(bench.instrument.RecallPreset(bursts).accepted);
    EXPECT_TRUE(bench.instrument.State().multitone.chosen);
    Preset tone;
    tone.frequency = MilliHertz::FromHertz(440);
    tone.waveform = PresetWave{};
    ASSERT_TRUE(bench.instrument.RecallPreset(tone).accepted);
    EXPECT_FALSE(bench.instrument.State().multitone.chosen);
    EXPECT_EQ(bench.sound->Streaming(), nullptr);
    EXPECT_EQ(bench.gen.Frequency(), 440);
}

// --- multitones made away from the commands ---------------------------------------------

// Holds the jobs until the test hands their plans back, in any order.
struct HeldJobs {
    std::vector<MultitoneJob> jobs;
    MultitoneExecutor Executor() {
        return [this](MultitoneJob job) { jobs.push_back(std::move(job)); };
    }
    // Makes job k's plan (none once given up) and hands it back.
    bool Finish(std::size_t k) {
        std::optional<MultitonePlan> plan = jobs.at(k).make();
        if (plan)
            jobs[k].take(std::move(*plan));
        return plan.has_value();
    }
};

MultitoneChoice ShortMultitone(int tones) {
    MultitoneChoice m;
    m.f1 = 200;
    m.f2 = 2000;
    m.tones = tones;
    m.fftLength = 8192;
    m.chosen = true;
    return m;
}

Preset MultitonePreset(int tones) {
    Preset p;
    p.waveform = PresetWave{TTGWave::tgSine, SignalKind::Tone, true};
    p.tones = "200:2000:" + std::to_string(tones);
    p.fftLength = 8192;
    return p;
}

struct RequestRow {
    const char* what;
    // Asks, and hands plans back, on a running instrument.
    std::function<void(Instrument&, HeldJobs&, int& told)> steps;
    int plays;  // tones per octave of the multitone that plays; 0: none
    int making; // of the one still being made; 0: none
    int told;   // outcomes heard
};

class MultitoneRequests : public ::testing::TestWithParam<RequestRow> {};

TEST_P(MultitoneRequests, TheNewestWinsAndAStaleOneNeverPlays) {
    Bench bench;
    HeldJobs held;
    bench.instrument.SetMultitoneExecutor(held.Executor());
    bench.instrument.Start();
    int told = 0;
    GetParam().steps(bench.instrument, held, told);
    const InstrumentState& state = bench.instrument.State();
    EXPECT_EQ(state.multitone.chosen ? state.multitone.tones : 0, GetParam().plays);
    EXPECT_EQ(state.makingMultitone ? state.makingMultitone->tones : 0, GetParam().making);
    EXPECT_EQ(bench.instrument.Display().status, GetParam().making ? kMakingMultitone : "");
    // The tone plays until a multitone is made.
    EXPECT_EQ(bench.sound->Streaming() != nullptr, GetParam().plays != 0);
    EXPECT_EQ(told, GetParam().told);
}

const auto kSelect = [](Instrument& i, int tones, int& told) {
    EXPECT_TRUE(i.SelectMultitone(ShortMultitone(tones), [&told](const MultitonePlan& plan) {
        EXPECT_TRUE(plan.Playable());
        EXPECT_NE(plan.multitone, nullptr) << "told of the period it plays";
        ++told;
    }));
};
const auto kRecall = [](Instrument& i, int tones, int& told) {
    const PresetRecallResult result =
        i.RecallPreset(MultitonePreset(tones), [&told](const PresetRecallResult& r) {
            EXPECT_TRUE(r.accepted) << r.refusal;
            ++told;
        });
    EXPECT_TRUE(result.pending);
};

INSTANTIATE_TEST_SUITE_P(
    Rows, MultitoneRequests,
    ::testing::Values(RequestRow{"AskedOnly",
                                 [](Instrument& i, HeldJobs&, int& t) { kSelect(i, 3, t); }, 0, 3,
                                 0},
                      RequestRow{"CurrentPlays",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kSelect(i, 3, t);
                                     h.Finish(0);
                                 },
                                 3, 0, 1},
                      RequestRow{"StaleIgnoredNewerPlays",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kSelect(i, 3, t);
                                     kSelect(i, 4, t);
                                     EXPECT_TRUE(h.jobs[0].givenUp->load());
                                     EXPECT_FALSE(h.Finish(0)) << "given up between rounds";
                                     h.jobs[0].take(i.MakeMultitonePlan(ShortMultitone(3)));
                                     EXPECT_FALSE(i.State().multitone.chosen);
                                     h.Finish(1);
                                 },
                                 4, 0, 1},
                      RequestRow{"StopGivesUp",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kSelect(i, 3, t);
                                     i.Stop();
                                     h.jobs[0].take(i.MakeMultitonePlan(ShortMultitone(3)));
                                 },
                                 0, 0, 0},
                      RequestRow{"AnotherSignalGivesUp",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kSelect(i, 3, t);
                                     i.SelectWaveform(TTGWave::tgSquare);
                                     h.jobs[0].take(i.MakeMultitonePlan(ShortMultitone(3)));
                                 },
                                 0, 0, 0},
                      RequestRow{"PresetAfterChoice",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kSelect(i, 3, t);
                                     kRecall(i, 5, t);
                                     h.jobs[0].take(i.MakeMultitonePlan(ShortMultitone(3)));
                                     h.Finish(1);
                                 },
                                 5, 0, 1},
                      RequestRow{"ANewRateMakesItAgainAway",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kSelect(i, 3, t);
                                     h.Finish(0);
                                     i.ChooseRate(48000);
                                     EXPECT_TRUE(i.State().makingMultitone);
                                     kSelect(i, 3, t); // on its way: told with it
                                     ASSERT_EQ(h.jobs.size(), 2u);
                                     h.Finish(1);
                                 },
                                 3, 0, 2},
                      RequestRow{"ChoiceAfterPresetThenAgain",
                                 [](Instrument& i, HeldJobs& h, int& t) {
                                     kRecall(i, 5, t);
                                     kSelect(i, 3, t);
                                     kSelect(i, 3, t); // on its way: asked once, both told
                                     EXPECT_EQ(h.jobs.size(), 2u);
                                     h.jobs[0].take(i.MakeMultitonePlan(ShortMultitone(5)));
                                     h.Finish(1);
                                 },
                                 3, 0, 2}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(MultitoneRequests, APlanHandedBackAfterTheInstrumentHasGoneIsDropped) {
    HeldJobs held;
    std::optional<MultitonePlan> plan;
    {
        Bench bench;
        bench.instrument.SetMultitoneExecutor(held.Executor());
        bench.instrument.SelectMultitone(ShortMultitone(3));
        plan = bench.instrument.MakeMultitonePlan(ShortMultitone(3));
    }
    EXPECT_TRUE(held.jobs[0].givenUp->load());
    held.jobs[0].take(*plan);
}

// Steps recalled while playing play from their first step; recalled while
// stopped they wait for the start.
TEST(PresetRecall, StepsPlayWhenTheInstrumentRuns) {
    Preset preset;
    preset.steps = "100:1000:3";
    preset.dwellMs = 100;
    for (const bool running : {true, false}) {
        Bench bench;
        if (running)
            bench.instrument.Start();
        ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
        EXPECT_TRUE(bench.instrument.State().steps.active);
        EXPECT_EQ(bench.instrument.State().running, running);
        if (!running)
            bench.instrument.Start();
        EXPECT_NE(dynamic_cast<SteppedSweepSource*>(bench.sound->Streaming()), nullptr);
        EXPECT_EQ(bench.instrument.State().steps.settings.dwellMs, 100);
    }
}

TEST(PresetRecall, ExactFrequenciesAndLevelsComeBackExactly) {
    Bench bench;
    Preset preset;
    preset.frequency = MilliHertz{997123};
    preset.level = WrittenLevel{-20.5, LevelUnit::DbFs};
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_EQ(bench.instrument.State().fine.frequency, MilliHertz{997123});
    EXPECT_EQ(bench.instrument.CapturePreset("again").frequency, MilliHertz{997123});
    EXPECT_EQ(bench.instrument.CapturePreset("again").level, preset.level);
    preset.frequency = MilliHertz::FromHertz(440);
    ASSERT_TRUE(bench.instrument.RecallPreset(preset).accepted);
    EXPECT_FALSE(bench.instrument.State().fine.frequency); // the dials' whole hertz again
}

TEST(PresetRecall, AnOutputThatIsGoneGivesTheDefault) {
    Bench bench;
    bench.instrument.ChooseDevice("usb");
    Preset preset;
    preset.device = "unplugged";
    const PresetRecallResult result = bench.instrument.RecallPreset(preset);
    EXPECT_TRUE(result.accepted);
    EXPECT_TRUE(result.outputGone);
    EXPECT_EQ(bench.instrument.State().choices.device, "");
    EXPECT_EQ(bench.sound->chosen, "");
    preset.device = "HDMI"; // by description, kept by name
    EXPECT_FALSE(bench.instrument.RecallPreset(preset).outputGone);
    EXPECT_EQ(bench.instrument.State().choices.device, "hdmi");
}

// --- the folder -----------------------------------------------------------------------

class PresetFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("orbel-presets-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    static std::string Slurp(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path folder;
};

TEST_F(PresetFolder, NamesDifferingInCaseOrInUnfitCharactersStayApart) {
    const PresetStore store(folder.string());
    const std::vector<std::string> names{"a",        "A",
                                         "%61",      "a/b",
                                         "a\\b",     "..",
                                         ".",        "a b ",
                                         " ",        "line\nbreak",
                                         "Набор 1",  "1",
                                         "\xff\x01", std::string(kLongestPresetName, 'Z')};
    for (std::size_t i = 0; i < names.size(); ++i) {
        Preset preset;
        preset.name = names[i];
        preset.frequency = MilliHertz::FromHertz(100 + int(i));
        ASSERT_EQ(store.Save(preset), PresetSaveResult::Saved) << i;
    }
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    const PresetListing listing = store.List();
    EXPECT_EQ(listing.names, sorted);
    EXPECT_TRUE(listing.unreadable.empty());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const PresetLoad load = store.Load(names[i]);
        ASSERT_EQ(load.status, PresetLoad::Status::Loaded) << i;
        EXPECT_EQ(load.preset->frequency, MilliHertz::FromHertz(100 + int(i)));
    }
    // Every file sits in the folder itself.
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    Preset tooLong;
    tooLong.name = std::string(kLongestPresetName + 1, 'a');
    EXPECT_EQ(store.Save(tooLong), PresetSaveResult::BadName);
    EXPECT_EQ(store.Load("").status, PresetLoad::Status::BadName);
}

TEST_F(PresetFolder, MissingDamagedAndForeignFilesAreSaidNeverTaken) {
    const PresetStore store(folder.string());
    EXPECT_TRUE(store.List().names.empty()); // no folder yet
    EXPECT_EQ(store.Load("a").status, PresetLoad::Status::Missing);
    EXPECT_EQ(store.Delete("a"), PresetDeleteResult::Missing);
    Preset a;
    a.name = "a";
    ASSERT_EQ(store.Save(a), PresetSaveResult::Saved);
    std::ofstream(folder / "b.preset") << "orbel preset 1\nname = b\nbits = 12\n";
    std::ofstream(folder / "c.preset") << "orbel preset 1\nname = other\n";
    fs::create_directory(folder / "d.preset");
    const PresetListing listing = store.List();
    EXPECT_EQ(listing.names, std::vector<std::string>{"a"});
    ASSERT_EQ(listing.unreadable.size(), 3u);
    EXPECT_EQ(listing.unreadable[0].first, "b.preset");
    EXPECT_NE(listing.unreadable[0].second.find("line 3"), std::string::npos);
    const PresetLoad b = store.Load("b");
    EXPECT_EQ(b.status, PresetLoad::Status::Damaged);
    EXPECT_EQ(b.line, 3);
    EXPECT_EQ(store.Load("c").status, PresetLoad::Status::Damaged);
    EXPECT_EQ(store.Load("d").status, PresetLoad::Status::Damaged);
    EXPECT_EQ(store.Delete("d"), PresetDeleteResult::Refused);
    EXPECT_TRUE(fs::is_directory(folder / "d.preset"));
    EXPECT_EQ(store.Delete("a"), PresetDeleteResult::Deleted);
    EXPECT_EQ(store.Load("a").status, PresetLoad::Status::Missing);
}

TEST_F(PresetFolder, ALinkIsFollowedOnlyToAPresetAndDeletedAsALink) {
    const PresetStore store(folder.string());
    fs::create_directories(folder);
    const fs::path mine = folder.parent_path() / (folder.filename().string() + "-mine");
    const fs::path other = folder.parent_path() / (folder.filename().string() + "-other");
    std::ofstream(mine) << "orbel preset 1\nname = m\n";
    std::ofstream(other) << "#!/bin/sh\necho important\n";
    fs::create_symlink(mine, folder / "m.preset");
    fs::create_symlink(other, folder / "o.preset");
    Preset m;
    m.name = "m";
    m.bits = TTGResolution::tg24Bit;
    EXPECT_EQ(store.Save(m), PresetSaveResult::Saved);
    EXPECT_TRUE(fs::is_symlink(folder / "m.preset"));
    EXPECT_EQ(Slurp(mine), WritePresetText(m));
    Preset o;
    o.name = "o";
    EXPECT_EQ(store.Save(o), PresetSaveResult::Refused);
    EXPECT_EQ(Slurp(other), "#!/bin/sh\necho important\n");
    EXPECT_EQ(store.Delete("o"), PresetDeleteResult::Deleted);
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "o.preset")));
    EXPECT_EQ(Slurp(other), "#!/bin/sh\necho important\n");
    fs::remove(mine);
    fs::remove(other);
}

} // namespace
