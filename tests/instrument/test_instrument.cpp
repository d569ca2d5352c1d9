// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument driven by sequences of commands, with no display: what it
// remembers, what it corrects, what it plays and what it shows after them.
#include "engine/LevelWord.h"
#include "engine/RetunableTone.h"
#include "engine/ToneGen.h"
#include "engine/multitone/MultitoneSource.h"
#include "engine/steps/SteppedSweepSource.h"
#include "instrument/Instrument.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace instrument;

namespace {

using Command = std::function<bool(Instrument&)>;

Command Turn(Dial dial, int reading) {
    return [=](Instrument& i) { return i.SetDial(dial, {static_cast<float>(reading), reading}); };
}
// A turn still in progress (a held key, a wheel turn).
Command Moving(Dial dial, int reading) {
    return [=](Instrument& i) {
        DialPositions d = i.State().dials;
        d[static_cast<std::size_t>(dial)] = {static_cast<float>(reading), reading};
        return i.MoveDials(d);
    };
}
Command Select(Channel c) {
    return [=](Instrument& i) { return i.SelectChannel(c); };
}
Command Wave(TTGWave w) {
    return [=](Instrument& i) { return i.SelectWaveform(w); };
}
Command Frequency(int hz) {
    return [=](Instrument& i) { return i.SetFrequency(hz); };
}
const Command kStart = [](Instrument& i) { return i.Start(); };
const Command kStop = [](Instrument& i) { return i.Stop(); };
const Command kTick = [](Instrument& i) { return i.Tick(); };
const Command kOneHz = [](Instrument& i) { return i.SetStep(Step::OneHz); };
// The dials put back where they stand, at other positions that read the same
// (a widget's position after the instrument moved it).
const Command kSameReadings = [](Instrument& i) {
    DialPositions d = i.State().dials;
    for (DialPosition& p : d)
        p.value += 0.001f;
    return i.SetDials(d);
};

// A generator set as the panel's stored layout sets it: the instrument's
// starting state.
struct Generator {
    Generator() {
        gen.SetFrequency(1000);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(50);
        gen.SetLoop(true);
    }
    std::shared_ptr<RecordingSoundOutput> sound = std::make_shared<RecordingSoundOutput>();
    TToneGen gen{nullptr, sound};
};

std::string Shown(const ChannelDisplay& d) {
    return d.thousands + d.hundreds + d.units + "/" + d.amplitude;
}

struct Row {
    const char* name;
    std::vector<Command> commands;
    int hertz;
    int left;
    int right;
    std::array<int, 4> dials;
    int plays;
    const char* leftShown;
    const char* rightShown;
};

class Sequences : public ::testing::TestWithParam<Row> {};

TEST_P(Sequences, LeaveTheStateAndTheGeneratorExpected) {
    const Row& row = GetParam();
    Generator g;
    Instrument instrument(g.gen);
    for (const Command& command : row.commands)
        ASSERT_TRUE(command(instrument));
    EXPECT_EQ(g.gen.Frequency(), row.hertz);
    EXPECT_EQ(g.gen.LeftVolume(), row.left);
    EXPECT_EQ(g.gen.RightVolume(), row.right);
    const DialPositions& d = instrument.State().dials;
    EXPECT_EQ((std::array<int, 4>{d[0].reading, d[1].reading, d[2].reading, d[3].reading}),
              row.dials);
    EXPECT_EQ(g.sound->PlayCount(), row.plays);
    EXPECT_EQ(Shown(instrument.State().left), row.leftShown);
    EXPECT_EQ(Shown(instrument.State().right), row.rightShown);
    EXPECT_EQ(instrument.Display().stopEnabled, row.plays > 0 && instrument.State().running);
}

using D = Dial;
using C = Channel;

INSTANTIATE_TEST_SUITE_P(
    Rows, Sequences,
    ::testing::Values(
        Row{"EachChannelKeepsItsOwnDials",
            {Select(C::Left), Turn(D::Thousands, 3), Turn(D::Amplitude, 30), Select(C::Right),
             Turn(D::Hundreds, 6), Select(C::Left)},
            3000,
            30,
            0,
            {3, 0, 0, 30},
            0,
            "01000/050",
            "01000/050"},
        Row{"TheRightChannelBringsBackItsOwn",
            {Select(C::Right), Turn(D::Amplitude, 70), Select(C::Both), Turn(D::Amplitude, 20),
             Select(C::Left), Select(C::Right), kTick},
            1000,
            0,
            70,
            {1, 0, 0, 70},
            0,
            "01000/050",
            "01000/070"},
        Row{"BothChannelsKeepTheAmplitudeAloneAndTheFrequencyStays",
            {Select(C::Left), Turn(D::Thousands, 3), Turn(D::Amplitude, 30), Select(C::Both),
             kTick},
            3000,
            50,
            50,
            {3, 0, 0, 50},
            0,
            "03000/050",
            "03000/050"},
        Row{"TwentyKilohertzPullsTheLowerDialsBackAtTheTick",
            {Turn(D::Hundreds, 5), Turn(D::Thousands, 20), kTick},
            20000,
            50,
            50,
            {20, 0, 0, 50},
            0,
            "20000/050",
            "20000/050"},
        Row{"TwentyKilohertzIsTheTopBeforeTheTick",
            {Turn(D::Thousands, 20), Turn(D::Hundreds, 2)},
            20000,
            50,
            50,
            {20, 2, 0, 50},
            0,
            "01000/050",
            "01000/050"},
        Row{"TheTenHertzStepsLastPositionReadsAsNinety",
            {Turn(D::Units, 100)},
            1090,
            50,
            50,
            {1, 0, 100, 50},
            0,
            "01000/050",
            "01000/050"},
        Row{"TheTickPullsItBackToNinety",
            {Turn(D::Units, 100), kTick},
            1090,
            50,
            50,
            {1, 0, 90, 50},
            0,
            "01090/050",
            "01090/050"},
        Row{"TheLowestFrequencyIsTwentyHertz",
            {Turn(D::Thousands, 0), kTick},
            20,
            50,
            50,
            {0, 0, 0, 50},
            0,
            "00000/050",
            "00000/050"},
        Row{"OnlyTheSelectedChannelsDisplaysFollow",
            {Select(C::Right), Turn(D::Thousands, 7), kTick},
            7000,
            0,
            50,
            {7, 0, 0, 50},
            0,
            "01000/050",
            "07000/050"},
        Row{"NoiseShowsDashesThatTheTickKeeps",
            {Wave(TTGWave::tgNoise), Turn(D::Thousands, 4), kTick},
            4000,
            50,
            50,
            {4, 0, 0, 50},
            0,
            "-----/050",
            "-----/050"},
        Row{"StartPlaysOnce", {kStart}, 1000, 50, 50, {1, 0, 0, 50}, 1, "01000/050", "01000/050"},
        Row{"AChangeWhileRunningIsHeardOnce",
            {kStart, Turn(D::Thousands, 2)},
            2000,
            50,
            50,
            {2, 0, 0, 50},
            2,
            "01000/050",
            "01000/050"},
        Row{"AChannelSwitchWhileRunningIsHeardOnce",
            {kStart, Select(C::Left)},
            1000,
            50,
            0,
            {1, 0, 0, 50},
            2,
            "01000/050",
            "01000/050"},
        Row{"AWaveformWhileRunningIsHeardOnce",
            {kStart, Wave(TTGWave::tgSquare), Wave(TTGWave::tgSquare)},
            1000,
            50,
            50,
            {1, 0, 0, 50},
            2,
            "01000/050",
            "01000/050"},
        Row{"TheSameReadingsPlayNothing",
            {kStart, kSameReadings, Select(C::Both), kOneHz, kTick},
            1000,
            50,
            50,
            {1, 0, 0, 50},
            1,
            "01000/050",
            "01000/050"},
        Row{"ATurnInProgressIsShownAtTheTickAndHeardWhenItEnds",
            {kStart, Moving(D::Thousands, 3), kTick},
            1000,
            50,
            50,
            {3, 0, 0, 50},
            1,
            "03000/050",
            "03000/050"},
        Row{"StoppedChangesAreNotPlayed",
            {kStart, kStop, Turn(D::Thousands, 5), kStop},
            5000,
            50,
            50,
            {5, 0, 0, 50},
            1,
            "01000/050",
            "01000/050"},
        Row{"ATypedFrequencyMovesTheDials",
            {kOneHz, Frequency(12345), kTick},
            12345,
            50,
            50,
            {12, 3, 45, 50},
            0,
            "12345/050",
            "12345/050"}),
    [](const auto& info) { return std::string(info.param.name); });

// A refused command changes nothing and tells no observer.
TEST(Refused, CommandsChangeNothing) {
    Generator g; // the classic synthesis: no measurement signals, 16 bits
    Instrument instrument(g.gen);
    int heard = 0;
    instrument.Subscribe([&] { ++heard; });
    const InstrumentState before = instrument.State();
    const std::vector<std::pair<const char*, Command>> refused = {
        {"signal", [](Instrument& i) { return i.SelectSignal(SignalKind::PinkNoise); }},
        {"24 bits", [](Instrument& i) { return i.ChooseResolution(TTGResolution::tg24Bit); }},
        {"sweep", [](Instrument& i) { return i.StartSweep(SweepSettings{}, false); }},
        {"19 Hz", Frequency(19)},
        {"20001 Hz", Frequency(20001)},
        {"1 Hz at the 10 Hz step", Frequency(1234)},
    };
    for (const auto& [name, command] : refused) {
        EXPECT_FALSE(command(instrument)) << name;
        EXPECT_EQ(instrument.State(), before) << name;
    }
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(g.sound->PlayCount(), 0);
    // An accepted change is told once, to every observer still subscribed.
    int other = 0;
    const int id = instrument.Subscribe([&] { ++other; });
    instrument.Start();
    instrument.Unsubscribe(id);
    instrument.Stop();
    EXPECT_EQ(heard, 2);
    EXPECT_EQ(other, 1);
}

// A dial turned while a sweep plays starts the sweep again from its
// beginning; its clock and displays start again with it, and a sweep played
// once ends when what was heard of it ends.
class SweepClock : public ::testing::TestWithParam<bool> {};

TEST_P(SweepClock, StartsAgainWithADialChange) {
    const bool repeat = GetParam();
    Generator g;
    g.gen.SetPrecise(true);
    double now = 100;
    Instrument instrument(g.gen, [&now] { return now; });
    const SweepSettings sweep{100, 10000, 2000};
    ASSERT_TRUE(instrument.StartSweep(sweep, repeat));
    EXPECT_TRUE(instrument.State().running);
    EXPECT_EQ(g.sound->PlayCount(), 1);
    const SweepLaw law(g.gen.Signal().sweep);
    const auto shown = [&] {
        const ChannelDisplay& d = instrument.State().left;
        return std::stoi(d.thousands + d.hundreds + d.units);
    };
    now += 1.5;
    instrument.FollowSweep();
    EXPECT_EQ(shown(), std::lround(law.FrequencyAt(1.5)));
    ASSERT_TRUE(instrument.SetDial(Dial::Amplitude, {60.0f, 60}));
    EXPECT_EQ(g.sound->PlayCount(), 2) << "the turn is heard once";
    EXPECT_EQ(shown(), 100);
    now += 1.0; // 1 s into the sweep heard again
    instrument.FollowSweep();
    EXPECT_EQ(shown(), std::lround(law.FrequencyAt(1.0)));
    EXPECT_TRUE(instrument.State().running);
    now += 1.5;
    instrument.FollowSweep();
    EXPECT_EQ(instrument.State().running, repeat);
    EXPECT_EQ(instrument.State().sweep.active, repeat);
    // Stop ends it either way, and the tone the menu had comes back.
    instrument.Stop();
    EXPECT_FALSE(instrument.State().sweep.active);
    EXPECT_EQ(g.gen.Signal().kind, SignalKind::Tone);
    EXPECT_TRUE(g.gen.Loop());
}

INSTANTIATE_TEST_SUITE_P(OnceOrRepeated, SweepClock, ::testing::Bool());

} // namespace

namespace {

// Renders `frames` of the sweep as the output would queue them.
void Queue(SteppedSweepSource& source, std::uint64_t frames) {
    std::vector<std::uint8_t> out(std::size_t(frames) *
                                  std::size_t(source.Format().BytesPerFrame()));
    source.Render(std::size_t(frames), out.data());
}

// A stepped sweep is streamed, its displays show each step once the output
// has played its first frame, and the instrument stops once the last step
// has been heard; the output only once what it had queued then has been
// heard too, and the source goes only after the output stops.
TEST(ToneSets, StepsShowWhatIsHeardAndEndByThemselves) {
    Generator g;
    g.gen.SetPrecise(true);
    double now = 0;
    Instrument instrument(g.gen, [&now] { return now; });
    ASSERT_FALSE(instrument.StartSteps({1000, 100, 3, false, 5, false})) << "dwell below 10 ms";
    ASSERT_TRUE(instrument.StartSteps({1000, 100, 3, false, 10, true}));
    EXPECT_TRUE(instrument.State().running);
    auto* source = dynamic_cast<SteppedSweepSource*>(g.sound->Streaming());
    ASSERT_NE(source, nullptr);
    const StepSchedule& schedule = source->Schedule();
    ASSERT_EQ(schedule.steps.size(), 5u);
    const auto shown = [&] {
        const ChannelDisplay& d = instrument.State().left;
        return d.thousands + d.hundreds + d.units;
    };
    const std::string before = shown();
    g.sound->SetStreamFramesHeard(0);
    now += 1;
    instrument.FollowSteps();
    EXPECT_EQ(shown(), before) << "nothing heard yet";
    g.sound->SetStreamFramesHeard(schedule.steps[1].startFrame + 1);
    now += 1;
    instrument.FollowSteps();
    EXPECT_EQ(shown(), "00316"); // 316.23 Hz on whole hertz
    EXPECT_EQ(instrument.State().steps.heardStep, 1);
    // A level turned meanwhile reaches the stream without starting it again.
    ASSERT_TRUE(instrument.SetDial(Dial::Amplitude, {70.0f, 70}));
    EXPECT_EQ(g.sound->Streaming(), source);
    EXPECT_EQ(g.sound->Level(), LevelWordFromPercent(70, 70));
    Queue(*source, schedule.endFrame + 1000);
    now += 1;
    struct Row {
        std::uint64_t heard;
        bool streaming;
    };
    for (const Row row : {Row{schedule.endFrame, true}, Row{schedule.endFrame + 999, true},
                          Row{schedule.endFrame + 1000, false}}) {
        g.sound->SetStreamFramesHeard(row.heard);
        now += 0.01;
        instrument.FollowSteps();
        EXPECT_FALSE(instrument.State().running) << row.heard;
        EXPECT_FALSE(instrument.State().steps.active) << row.heard;
        EXPECT_EQ(g.sound->Streaming(), row.streaming ? source : nullptr) << row.heard;
        EXPECT_EQ(instrument.FollowsSteps(), row.streaming) << row.heard;
    }
    EXPECT_FALSE(instrument.FollowSteps());
}

// A position told ahead of the clock ends nothing early. After the end a
// position that no longer moves stops the output once the queue has had
// the time to play, and a sound started meanwhile is never stopped by the
// end it replaced.
TEST(ToneSets, TheEndOfTheStepsPlaysOutUntilSomethingElsePlays) {
    for (const bool startAgain : {false, true}) {
        Generator g;
        g.gen.SetPrecise(true);
        double now = 0;
        Instrument instrument(g.gen, [&now] { return now; });
        ASSERT_TRUE(instrument.StartSteps({1000, 100, 2, false, 10, false}));
        auto* source = dynamic_cast<SteppedSweepSource*>(g.sound->Streaming());
        ASSERT_NE(source, nullptr);
        const std::uint64_t end = source->Schedule().endFrame;
        const int rate = source->Schedule().rate;
        Queue(*source, end + std::uint64_t(rate) / 10); // 100 ms of silence queued
        g.sound->SetStreamFramesHeard(end);
        now = 0.005; // a quarter of the steps' time
        instrument.FollowSteps();
        ASSERT_TRUE(instrument.State().steps.active) << "ended ahead of the clock";
        now = 1;
        instrument.FollowSteps();
        if (startAgain) {
            ASSERT_TRUE(instrument.Start());
        }
        now = 1.3;
        instrument.FollowSteps();
        EXPECT_EQ(g.sound->Streaming() == source, !startAgain) << "before the queue's time";
        now = 1.4;
        instrument.FollowSteps();
        EXPECT_EQ(g.sound->Streaming(), nullptr) << startAgain;
        EXPECT_EQ(g.sound->Playing(), startAgain);
        EXPECT_FALSE(instrument.FollowsSteps());
    }
}

// The multitone takes the tone's place until the waveform switch or
// another signal takes over; starting again streams it again.
TEST(ToneSets, TheMultitoneReplacesTheToneUntilAnotherIsChosen) {
    Generator g;
    Instrument classic(g.gen);
    EXPECT_FALSE(classic.SelectMultitone({}));
    g.gen.SetPrecise(true);
    Instrument instrument(g.gen);
    MultitoneChoice choice;
    choice.f1 = 100;
    choice.f2 = 1000;
    choice.fftLength = 8192;
    ASSERT_TRUE(instrument.SelectMultitone(choice));
    EXPECT_EQ(g.sound->Streaming(), nullptr) << "chosen while stopped: nothing plays";
    EXPECT_EQ(instrument.State().left.thousands, "--");
    ASSERT_TRUE(instrument.Start());
    ASSERT_NE(dynamic_cast<MultitoneSource*>(g.sound->Streaming()), nullptr);
    ASSERT_TRUE(instrument.Tick());
    EXPECT_EQ(instrument.State().left.thousands, "--") << "the dials are not what plays";
    ASSERT_TRUE(instrument.Stop());
    ASSERT_TRUE(instrument.Start());
    EXPECT_NE(g.sound->Streaming(), nullptr);
    EXPECT_TRUE(instrument.State().multitone.chosen);
    ASSERT_TRUE(instrument.SelectWaveform(TTGWave::tgSine));
    EXPECT_FALSE(instrument.State().multitone.chosen);
    EXPECT_EQ(g.sound->Streaming(), nullptr);
    EXPECT_EQ(g.sound->Trace().back().substr(0, 4), "play");
    choice.f2 = 20; // no tone between 100 and 20 Hz
    EXPECT_FALSE(instrument.SelectMultitone(choice));
}

// The bursts and the phase are the steady sine's: refused elsewhere, ended
// by leaving the sine, and heard at once, streamed with a fine frequency.
TEST(SineShapes, BurstsAndThePhaseBelongToTheSteadySine) {
    Generator g;
    Instrument classic(g.gen);
    EXPECT_FALSE(classic.SetBurst(BurstSettings{3, 5}));
    EXPECT_FALSE(classic.SetRightPhase(900));
    g.gen.SetPrecise(true);
    Instrument instrument(g.gen);
    ASSERT_TRUE(instrument.Start());
    const int plays = g.sound->PlayCount();
    ASSERT_TRUE(instrument.SetRightPhase(900));
    EXPECT_EQ(g.gen.Signal().rightLagTenths, 900);
    EXPECT_TRUE(g.gen.Stereo()) << "the phase needs two channels";
    EXPECT_EQ(g.sound->PlayCount(), plays + 1) << "heard at once";
    const InstrumentState phased = instrument.State();
    for (const auto& [name, command] : std::vector<std::pair<const char*, Command>>{
             {"a burst out of phase",
              [](Instrument& i) {
                  return i.SetBurst(BurstSettings{3, 5});
              }},
             {"beyond a turn", [](Instrument& i) { return i.SetRightPhase(3601); }},
             {"below zero", [](Instrument& i) { return i.SetRightPhase(-1); }}}) {
        EXPECT_FALSE(command(instrument)) << name;
        EXPECT_EQ(instrument.State(), phased) << name;
    }
    // Between whole hertz the stream plays the phase, and keeps it.
    ASSERT_TRUE(instrument.SetExactFrequency(MilliHertz{997123}));
    auto* stream = dynamic_cast<RetunableTone*>(g.sound->Streaming());
    ASSERT_NE(stream, nullptr);
    EXPECT_NE(stream->Tone().Right(), nullptr);
    ASSERT_TRUE(instrument.SetFrequency(1000));

    ASSERT_TRUE(instrument.SelectWaveform(TTGWave::tgSquare));
    EXPECT_EQ(instrument.State().rightLagTenths, 0) << "the square plays in phase";
    EXPECT_EQ(g.gen.Signal().rightLagTenths, 0);
    EXPECT_FALSE(g.gen.Stereo());
    EXPECT_FALSE(instrument.SetBurst(BurstSettings{3, 5}));
    EXPECT_FALSE(instrument.SetRightPhase(900));

    ASSERT_TRUE(instrument.SelectWaveform(TTGWave::tgSine));
    EXPECT_FALSE(instrument.SetBurst(BurstSettings{0, 5}));
    ASSERT_TRUE(instrument.SetBurst(BurstSettings{3, 5}));
    EXPECT_EQ(g.gen.Signal().kind, SignalKind::Burst);
    EXPECT_EQ(g.gen.Signal().burst.onCycles, 3);
    ASSERT_TRUE(instrument.Tick());
    EXPECT_EQ(Shown(instrument.State().left), "01000/050") << "bursts have the dials' frequency";
    EXPECT_FALSE(instrument.SetRightPhase(900));
    ASSERT_TRUE(instrument.SelectSignal(SignalKind::PinkNoise));
    EXPECT_FALSE(instrument.State().burst);
    ASSERT_TRUE(instrument.SelectSignal(SignalKind::Tone));
    EXPECT_EQ(g.gen.Signal(), MeasurementSignal{}) << "the steady tone again";
}

// What a front end is shown before a multitone plays: its plan at the
// rate, on the channels that sound, through the output's calibration.
TEST(ToneSets, AMultitonePlanNamesWhatStandsInTheWay) {
    const auto list = [](const char* text) {
        const std::string path = ::testing::TempDir() + "orbel-tones.txt";
        std::ofstream(path) << text;
        return path;
    };
    OutputCalibration calibrated;
    calibrated.left = ChannelCalibration{1.0, "", 0};
    calibrated.right = ChannelCalibration{2.0, "", 0};
    MultitoneChoice choice;
    choice.f1 = 100;
    choice.f2 = 1000;
    choice.fftLength = 8192;
    MultitonePlan plan = PlanMultitone(choice, 48000, {}, Channel::Both);
    ASSERT_TRUE(plan.Playable());
    EXPECT_EQ(plan.multitone->tones.size(), 11u);
    EXPECT_EQ(plan.multitone->levelDb, -10);
    EXPECT_EQ(plan.levelWord, kFullLevel);
    EXPECT_EQ(PlanMultitone(choice, 48000, {}, Channel::Left).levelWord, PackLevelWord(0xFFFF, 0));
    // Volts: each channel at its own calibration, the louder one in the samples.
    choice.level = WrittenLevel{-20, LevelUnit::DbV};
    EXPECT_EQ(PlanMultitone(choice, 48000, {}, Channel::Both).refusal, MultitonePlanRefusal::Level);
    plan = PlanMultitone(choice, 48000, calibrated, Channel::Both);
    ASSERT_TRUE(plan.Playable());
    EXPECT_NEAR(plan.multitone->levelDb, -20, 1e-9);
    EXPECT_NEAR(RightLevel(plan.levelWord), 0xFFFF / 2.0, 1);
    // Too loud: refused with the largest level that fits, which then plays.
    choice.level = WrittenLevel{0.9, LevelUnit::Volts};
    plan = PlanMultitone(choice, 48000, calibrated, Channel::Both);
    ASSERT_EQ(plan.refusal, MultitonePlanRefusal::Clips);
    ASSERT_TRUE(plan.largestLevel);
    EXPECT_EQ(plan.largestLevel->unit, LevelUnit::Volts);
    EXPECT_LT(plan.largestLevel->number, 0.9);
    choice.level = *plan.largestLevel;
    EXPECT_TRUE(PlanMultitone(choice, 48000, calibrated, Channel::Both).Playable());
    // Two listed tones on one bin are both named; a bad line by its number.
    choice = MultitoneChoice{};
    choice.fftLength = 1024;
    choice.tonesFile = list("# two close tones\n1000\n1005 -3\n");
    plan = PlanMultitone(choice, 48000, {}, Channel::Both);
    EXPECT_EQ(plan.refusal, MultitonePlanRefusal::SameBin);
    EXPECT_EQ(plan.firstHertz, 1000);
    EXPECT_EQ(plan.secondHertz, 1005);
    choice.tonesFile = list("1000\n\n2000 -3 90 7\n");
    plan = PlanMultitone(choice, 48000, {}, Channel::Both);
    EXPECT_EQ(plan.refusal, MultitonePlanRefusal::FileLine);
    EXPECT_EQ(plan.listLine, 3);
    choice.tonesFile = ::testing::TempDir() + "orbel-no-such-list.txt";
    EXPECT_EQ(PlanMultitone(choice, 48000, {}, Channel::Both).refusal,
              MultitonePlanRefusal::FileUnreadable);
}

} // namespace
