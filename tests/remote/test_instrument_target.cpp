// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument as a remote client drives it: each change of the remote
// settings against what the instrument then plays, and a refused change
// leaving everything as it was.
#include "engine/ToneGen.h"
#include "engine/steps/SteppedSweepSource.h"
#include "instrument/Instrument.h"
#include "remote/InstrumentTarget.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <functional>
#include <memory>

using namespace remote;
using instrument::Channel;

namespace {

struct Rig {
    Rig() {
        gen.SetFrequency(1000);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(50);
        gen.SetLoop(true);
        gen.SetPrecise(true);
    }
    std::shared_ptr<RecordingSoundOutput> sound = std::make_shared<RecordingSoundOutput>();
    TToneGen gen{nullptr, sound};
    double now = 0; // the instrument's clock, moved by the tests
    instrument::Instrument model{gen, [this] { return now; }};
    InstrumentTarget target{model, "0.2.0"};
};

using Change = std::function<void(RemoteSettings&)>;

MilliHertz Hz(std::int64_t hz) {
    return MilliHertz::FromHertz(hz);
}

TEST(InstrumentTarget, ChangesBecomeTheInstrumentsCommands) {
    struct Row {
        const char* name;
        Change change;
        int code;
        Channel channel;
        bool running;
        int hz;
        int amplitude;
    };
    const Change bothOn = [](RemoteSettings& s) { s.left.on = s.right.on = true; };
    for (const Row& row : {
             Row{"both off: stopped", [](RemoteSettings& s) { s.left.on = s.right.on = false; }, 0,
                 Channel::Both, false, 1000, 50},
             Row{"left alone", [](RemoteSettings& s) { s.left.on = true; }, 0, Channel::Left, true,
                 1000, 50},
             Row{"right alone at 997 Hz, -20 dBFS",
                 [](RemoteSettings& s) {
                     s.right = {true, Hz(997), {-20, LevelUnit::DbFs}};
                 },
                 0, Channel::Right, true, 997, 10},
             Row{"both at 20 kHz, 0 dBFS",
                 [&](RemoteSettings& s) {
                     bothOn(s);
                     s.left.frequency = s.right.frequency = Hz(20000);
                     s.left.level = s.right.level = {0, LevelUnit::DbFs};
                 },
                 0, Channel::Both, true, 20000, 100},
             Row{"both on, one output's frequency: both outputs'",
                 [&](RemoteSettings& s) {
                     bothOn(s);
                     s.right.frequency = Hz(1001);
                 },
                 0, Channel::Both, true, 1001, 50},
             Row{"both at two new frequencies",
                 [&](RemoteSettings& s) {
                     bothOn(s);
                     s.left.frequency = Hz(500);
                     s.right.frequency = Hz(600);
                 },
                 -221, Channel::Both, false, 1000, 50},
             Row{"a fraction of a hertz, exactly",
                 [](RemoteSettings& s) { s.left.frequency = MilliHertz{440500}; }, 0, Channel::Both,
                 false, 440, 50},
             Row{"below the dials, on the fine grid",
                 [](RemoteSettings& s) { s.left.frequency = Hz(19); }, 0, Channel::Both, false, 20,
                 50},
             Row{"below the range", [](RemoteSettings& s) { s.left.frequency = MilliHertz{999}; },
                 -222, Channel::Both, false, 1000, 50},
             Row{"a level between the amplitude's steps, exactly",
                 [](RemoteSettings& s) {
                     s.left.level = s.right.level = {-20.5, LevelUnit::DbFs};
                 },
                 0, Channel::Both, false, 1000, 9},
             Row{"above full scale",
                 [](RemoteSettings& s) {
                     s.left.level = {1, LevelUnit::DbFs};
                 },
                 -222, Channel::Both, false, 1000, 50},
             Row{"volts",
                 [](RemoteSettings& s) {
                     s.left.level = {1, LevelUnit::Volts};
                 },
                 -221, Channel::Both, false, 1000, 50},
             Row{"a phase", [](RemoteSettings& s) { s.rightPhaseDegrees = 90; }, 0, Channel::Both,
                 false, 1000, 50},
             Row{"a phase between tenths", [](RemoteSettings& s) { s.rightPhaseDegrees = 90.05; },
                 -222, Channel::Both, false, 1000, 50},
             Row{"a square's phase",
                 [](RemoteSettings& s) {
                     s.function = Function::Square;
                     s.rightPhaseDegrees = 90;
                 },
                 -221, Channel::Both, false, 1000, 50},
             Row{"a burst, with a valid frequency",
                 [](RemoteSettings& s) {
                     s.left.frequency = Hz(500);
                     s.burst = {true, 4, 12};
                 },
                 0, Channel::Both, false, 500, 50},
             Row{"a burst out of phase",
                 [](RemoteSettings& s) {
                     s.burst.on = true;
                     s.rightPhaseDegrees = 90;
                 },
                 -221, Channel::Both, false, 1000, 50},
             Row{"a multitone", [](RemoteSettings& s) { s.function = Function::Multitone; }, 0,
                 Channel::Both, false, 1000, 50},
             Row{"a stepped sweep on the left",
                 [](RemoteSettings& s) {
                     s.left.on = true;
                     s.steps = {true, Hz(200), Hz(2000), 5, 250, true, false};
                 },
                 0, Channel::Left, true, 1000, 50},
             Row{"a stepped sweep of a square",
                 [](RemoteSettings& s) {
                     s.left.on = true;
                     s.function = Function::Square;
                     s.steps.on = true;
                 },
                 -221, Channel::Both, false, 1000, 50},
             Row{"steps too short",
                 [](RemoteSettings& s) {
                     s.left.on = true;
                     s.steps.on = true;
                     s.steps.dwellMs = 5;
                 },
                 -222, Channel::Both, false, 1000, 50},
         }) {
        Rig rig;
        const instrument::InstrumentState before = rig.model.State();
        RemoteSettings wanted = rig.target.Current();
        row.change(wanted);
        EXPECT_EQ(rig.target.Apply(wanted).code, row.code) << row.name;
        const auto& state = rig.model.State();
        EXPECT_EQ(state.channel, row.channel) << row.name;
        EXPECT_EQ(state.running, row.running) << row.name;
        EXPECT_EQ(rig.gen.Frequency(), row.hz) << row.name;
        EXPECT_EQ(state.dials[3].reading, row.amplitude) << row.name;
        if (row.code != 0) {
            EXPECT_EQ(state, before) << row.name << ": a refused change changes nothing";
            EXPECT_EQ(rig.target.Current(), RemoteSettings(rig.target.Current()));
        } else if (wanted.left.frequency == wanted.right.frequency) {
            EXPECT_EQ(rig.target.Current(), wanted) << row.name << ": read back as written";
        }
    }
}

TEST(InstrumentTarget, FunctionsSweepsAndTheSilentOutputsSettings) {
    Rig rig;
    int told = 0;
    rig.model.Subscribe([&] { ++told; });
    RemoteSettings s = rig.target.Current();
    s.left.on = true;
    s.right.frequency = Hz(300); // kept while the right output is off
    s.function = Function::Pink;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_EQ(rig.model.State().choices.signal, SignalKind::PinkNoise);
    EXPECT_GT(told, 0); // the panel follows through the observers
    EXPECT_EQ(rig.target.Current().right.frequency, Hz(300));

    s.function = Function::Ramp;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_EQ(rig.model.State().waveform, TTGWave::tgSawtooth);
    EXPECT_EQ(rig.model.State().choices.signal, SignalKind::Tone);

    s.function = Function::Sine;
    s.sweep = {true, Hz(100), Hz(1000), 2, true};
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_TRUE(rig.model.State().sweep.active);
    EXPECT_EQ(rig.model.State().sweep.settings.endHz, 1000);
    EXPECT_TRUE(rig.target.Current().sweep.on);
    s.sweep.on = false;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_FALSE(rig.model.State().sweep.active);
    EXPECT_TRUE(rig.model.State().running);

    // Off, then back on at the frequency the right output kept.
    s.left.on = false;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_FALSE(rig.model.State().running);
    s = rig.target.Current();
    s.right.on = true;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_EQ(rig.model.State().channel, Channel::Right);
    EXPECT_EQ(rig.gen.Frequency(), 300);

    ASSERT_EQ(rig.target.Reset().code, 0);
    EXPECT_EQ(rig.model.State().running, false);
    EXPECT_EQ(rig.gen.Frequency(), 1000);

    // *SAV and *RCL keep the presets "1" to "9" in the settings folder.
    char folder[] = "/tmp/orbel-remote-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    ::setenv("XDG_CONFIG_HOME", folder, 1);
    s = rig.target.Current();
    s.left.frequency = s.right.frequency = MilliHertz{997123};
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    ASSERT_EQ(rig.target.Save(1).code, 0);
    ASSERT_EQ(rig.target.Reset().code, 0);
    EXPECT_EQ(rig.target.Recall(2).code, -221);
    ASSERT_EQ(rig.target.Recall(1).code, 0) << rig.target.Recall(1).detail;
    EXPECT_EQ(rig.target.Current().left.frequency, MilliHertz{997123});
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(folder);
}

// A stepped sweep, followed as serve's loop follows it: the frequency heard
// is the step the output has played last, the sweep is the operation *OPC?
// waits for, and once its last step is heard it is off and so are the
// outputs, the tone's frequency heard again.
TEST(InstrumentTarget, AStepEndsAsHeardAndTheSweepEndsOff) {
    Rig rig;
    RemoteSettings s = rig.target.Current();
    s.left.on = s.right.on = false;
    s.steps = {true, Hz(100), Hz(1000), 3, 50, false, false};
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_TRUE(rig.target.Current().steps.on) << "waits for an output";
    EXPECT_FALSE(rig.target.OperationPending());
    s.left.on = s.right.on = true;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    const auto* source = dynamic_cast<SteppedSweepSource*>(rig.sound->Streaming());
    ASSERT_NE(source, nullptr);
    const StepSchedule& schedule = source->Schedule();
    // A frequency set meanwhile is the tone's, heard after the sweep.
    s.left.frequency = s.right.frequency = Hz(700);
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_EQ(rig.sound->Streaming(), source);
    struct Row {
        std::uint64_t heard;
        MilliHertz frequency;
        bool on;
    };
    for (const Row& row :
         {Row{0, Hz(100), true}, Row{schedule.steps[1].startFrame + 1, MilliHertz{316228}, true},
          Row{schedule.steps[2].startFrame + 1, Hz(1000), true},
          Row{schedule.endFrame, Hz(700), false}}) {
        rig.sound->SetStreamFramesHeard(row.heard);
        rig.now += 1;
        rig.model.FollowSteps();
        for (const Output output : {Output::Left, Output::Right})
            EXPECT_EQ(rig.target.FrequencyHeard(output), row.frequency) << row.heard;
        EXPECT_EQ(rig.target.OperationPending(), row.on) << row.heard;
        const RemoteSettings now = rig.target.Current();
        EXPECT_EQ(now.steps.on, row.on) << row.heard;
        EXPECT_EQ(now.left.on || now.right.on, row.on) << row.heard;
    }
    // On again, the tone plays; the sweep plays again when asked.
    s = rig.target.Current();
    s.left.on = true;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_FALSE(rig.model.State().steps.active);
    s.steps.on = true;
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_TRUE(rig.target.OperationPending());
}

TEST(InstrumentTarget, WhatThePanelSetIsNeverRefused) {
    Rig rig;
    // The amplitude at 0 gives no level a client could write; a frequency
    // change must not fail on it.
    rig.model.SetDial(instrument::Dial::Amplitude, {0.0f, 0});
    RemoteSettings s = rig.target.Current();
    s.left.frequency = s.right.frequency = Hz(440);
    EXPECT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_EQ(rig.gen.Frequency(), 440);
    EXPECT_EQ(rig.model.State().dials[3].reading, 0);
}

TEST(InstrumentTarget, VoltsFollowTheOutputsCalibration) {
    Rig rig;
    RemoteSettings s = rig.target.Current();
    s.left.level = s.right.level = {0.5, LevelUnit::Volts};
    EXPECT_EQ(rig.target.Apply(s).code, -221) << "not calibrated";
    EXPECT_FALSE(rig.target.LevelIn(Output::Left, LevelUnit::Volts));
    OutputCalibration calibration;
    calibration.left = calibration.right = ChannelCalibration{1.0, "2026-12-09T17:46:00Z", 65536};
    rig.model.UseCalibration(calibration);
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_EQ(rig.model.State().fine.level, s.left.level);
    const double halfDb = 20 * std::log10(0.5);
    EXPECT_NEAR(*rig.target.LevelIn(Output::Left, LevelUnit::DbFs), halfDb, 1e-9);
    EXPECT_NEAR(*rig.target.LevelIn(Output::Right, LevelUnit::DbV), halfDb, 1e-9);
    EXPECT_NEAR(*rig.target.LevelIn(Output::Left, LevelUnit::VoltsPeakToPeak), std::sqrt(2.0),
                1e-9);
    // A dBFS level reads in volts too.
    s.left.level = s.right.level = {-20, LevelUnit::DbFs};
    ASSERT_EQ(rig.target.Apply(s).code, 0);
    EXPECT_NEAR(*rig.target.LevelIn(Output::Left, LevelUnit::Volts), 0.1, 1e-9);
}

} // namespace
