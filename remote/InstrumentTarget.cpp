// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/InstrumentTarget.h"

#include "engine/LevelWord.h"
#include "engine/ToneGen.h"
#include "engine/ToneLimits.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace remote {

using instrument::Channel;
using instrument::Dial;
using instrument::DialPosition;

namespace {

constexpr int kAmplitudeDial = 3;
// SCPI's number for minus infinity: the level of a silent output.
constexpr double kSilentDb = -9.91e37;
// A written level matches an amplitude's level within this much.
constexpr double kLevelToleranceDb = 0.005;

std::string Text(const char* format, double value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The level of a sine at the amplitude dial's reading (percent of the full
// output level word), in dBFS (AES17: a full-scale sine is 0).
double AmplitudeDb(int percent) {
    const std::uint32_t word = LevelFromPercent(std::uint32_t(percent));
    return word == 0 ? kSilentDb : 20 * std::log10(double(word) / kLevelHalfMax);
}

// --- What the instrument's commands can set today ------------------------------
// The dials set whole hertz from 20 to 20000 and a level in 1 % steps of the
// output's level word; finer frequencies and levels in volts come with the
// instrument's own commands for them.

struct DialFrequency {
    int hz = 0;
    Refusal refusal;
};

DialFrequency ToDialFrequency(MilliHertz f) {
    if (!f.IsWholeHertz())
        return {0, {-221, "the dials set whole hertz only"}};
    const std::int64_t hz = f.value / 1000;
    if (hz < kMinToneFrequency || hz > kMaxToneFrequency)
        return {0, {-222, "the dials set 20 to 20000 Hz"}};
    return {int(hz), {}};
}

struct DialAmplitude {
    int percent = 0;
    Refusal refusal;
};

DialAmplitude ToDialAmplitude(const WrittenLevel& level) {
    if (level.unit != LevelUnit::DbFs)
        return {0, {-221, "levels are set in DBFS only here"}};
    int nearest = 1;
    for (int p = 1; p <= 100; ++p) {
        if (std::fabs(AmplitudeDb(p) - level.number) <= kLevelToleranceDb)
            return {p, {}};
        if (std::fabs(AmplitudeDb(p) - level.number) <
            std::fabs(AmplitudeDb(nearest) - level.number))
            nearest = p;
    }
    if (level.number > 0 || level.number < AmplitudeDb(1) - 1)
        return {0, {-222, "the amplitude gives -40.0 to 0 DBFS"}};
    return {0,
            {-221, "the amplitude gives 1 % steps: the nearest level is " +
                       Text("%.3f", AmplitudeDb(nearest)) + " DBFS"}};
}

// -------------------------------------------------------------------------------

Function FunctionOf(const instrument::InstrumentState& state) {
    switch (state.choices.signal) {
    case SignalKind::PinkNoise:
        return Function::Pink;
    case SignalKind::Smpte:
        return Function::Smpte;
    case SignalKind::Ccif:
        return Function::Ccif;
    default:
        break;
    }
    switch (state.waveform) {
    case TTGWave::tgSquare:
        return Function::Square;
    case TTGWave::tgTriangle:
        return Function::Triangle;
    case TTGWave::tgSawtooth:
        return Function::Ramp;
    case TTGWave::tgNoise:
        return Function::Noise;
    case TTGWave::tgSine:
        break;
    }
    return Function::Sine;
}

std::optional<TTGWave> WaveformOf(Function f) {
    switch (f) {
    case Function::Sine:
        return TTGWave::tgSine;
    case Function::Square:
        return TTGWave::tgSquare;
    case Function::Triangle:
        return TTGWave::tgTriangle;
    case Function::Ramp:
        return TTGWave::tgSawtooth;
    case Function::Noise:
        return TTGWave::tgNoise;
    default:
        return std::nullopt;
    }
}

std::optional<SignalKind> SignalOf(Function f) {
    switch (f) {
    case Function::Pink:
        return SignalKind::PinkNoise;
    case Function::Smpte:
        return SignalKind::Smpte;
    case Function::Ccif:
        return SignalKind::Ccif;
    default:
        return std::nullopt;
    }
}

bool SameLevel(const WrittenLevel& a, const WrittenLevel& b) {
    return a == b;
}

bool Lit(Channel selected, Output output) {
    return selected == Channel::Both || (selected == Channel::Left) == (output == Output::Left);
}

} // namespace

// What Apply will command, worked out before any command runs.
struct InstrumentTarget::Plan {
    Channel channel = Channel::Both;
    int hz = 0;
    int percent = 0;
    WrittenLevel level;
    bool play = false;
    bool startSweep = false;
    SweepSettings sweep;
};

InstrumentTarget::InstrumentTarget(instrument::Instrument& instrument, std::string version,
                                   std::function<void()> shutdown)
    : instrument_(instrument), version_(std::move(version)), shutdown_(std::move(shutdown)) {}

ChannelSettings InstrumentTarget::Sounding(bool on) const {
    const int percent = instrument_.State().dials[kAmplitudeDial].reading;
    ChannelSettings s;
    s.on = on;
    s.frequency = MilliHertz::FromHertz(instrument_.Generator().Frequency());
    // The level as the client wrote it while the amplitude still gives it.
    if (writtenLevel_ && ToDialAmplitude(*writtenLevel_).percent == percent)
        s.level = *writtenLevel_;
    else
        s.level = {AmplitudeDb(percent), LevelUnit::DbFs};
    return s;
}

RemoteSettings InstrumentTarget::Current() const {
    const instrument::InstrumentState& state = instrument_.State();
    RemoteSettings s;
    const bool running = state.running;
    const auto channel = [&](Output output, const std::optional<ChannelSettings>& kept) {
        if (Lit(state.channel, output))
            return Sounding(running);
        ChannelSettings off = kept ? *kept : Sounding(false);
        off.on = false;
        return off;
    };
    s.left = channel(Output::Left, keptLeft_);
    s.right = channel(Output::Right, keptRight_);
    s.function = FunctionOf(state);
    s.sweep = sweep_;
    // A sweep the panel ended, or one played to its end, is off.
    s.sweep.on = sweep_.on && (!running || state.sweep.active);
    s.burst = burst_;
    s.steps = steps_;
    return s;
}

Refusal InstrumentTarget::Check(const RemoteSettings& wanted, Plan& plan) const {
    const RemoteSettings now = Current();
    if (wanted.function == Function::Multitone)
        return {-221, "the multitone is not played here yet"};
    const bool precise = instrument_.Generator().Precise();
    if (wanted.function != now.function && SignalOf(wanted.function) && !precise)
        return {-221, "the signal needs the precise synthesis"};
    if (wanted.rightPhaseDegrees != now.rightPhaseDegrees)
        return {-221, "the outputs' phase cannot be set here yet"};
    if (wanted.burst.on)
        return {-221, "bursts are not played here yet"};
    if (wanted.steps.on)
        return {-221, "stepped sweeps are not played here yet"};
    // Only what changes is checked: what the panel set stays as it is.
    const ChannelSettings sounding = Sounding(false);
    const auto percentOf = [&](const WrittenLevel& level) {
        return SameLevel(level, sounding.level) ? instrument_.State().dials[kAmplitudeDial].reading
                                                : ToDialAmplitude(level).percent;
    };
    for (const auto& [w, n] : {std::pair{&wanted.left, &now.left}, {&wanted.right, &now.right}}) {
        if (w->frequency != n->frequency)
            if (const Refusal r = ToDialFrequency(w->frequency).refusal; r.Refused())
                return r;
        if (!SameLevel(w->level, n->level) && !SameLevel(w->level, sounding.level))
            if (const Refusal r = ToDialAmplitude(w->level).refusal; r.Refused())
                return r;
    }
    plan.play = wanted.left.on || wanted.right.on;
    plan.channel = !plan.play                          ? instrument_.State().channel
                   : wanted.left.on && wanted.right.on ? Channel::Both
                   : wanted.left.on                    ? Channel::Left
                                                       : Channel::Right;
    // The channels that sound share the frequency and the level: a change
    // of either output's is both outputs' then.
    const ChannelSettings& lead = plan.channel == Channel::Right ? wanted.right : wanted.left;
    plan.hz = ToDialFrequency(lead.frequency).hz;
    plan.percent = percentOf(lead.level);
    plan.level = lead.level;
    if (plan.channel == Channel::Both) {
        const bool leftHz = wanted.left.frequency != now.left.frequency;
        const bool rightHz = wanted.right.frequency != now.right.frequency;
        const bool leftLevel = !SameLevel(wanted.left.level, now.left.level);
        const bool rightLevel = !SameLevel(wanted.right.level, now.right.level);
        const bool apartHz = wanted.left.frequency != wanted.right.frequency;
        const bool apartLevel = percentOf(wanted.left.level) != percentOf(wanted.right.level);
        if ((apartHz && leftHz == rightHz) || (apartLevel && leftLevel == rightLevel))
            return {-221, "both outputs play one frequency and one level"};
        if (rightHz && !leftHz)
            plan.hz = ToDialFrequency(wanted.right.frequency).hz;
        if (rightLevel && !leftLevel) {
            plan.percent = percentOf(wanted.right.level);
            plan.level = wanted.right.level;
        }
    }
    if (wanted.sweep.on) {
        const DialFrequency start = ToDialFrequency(wanted.sweep.start);
        const DialFrequency stop = ToDialFrequency(wanted.sweep.stop);
        if (start.refusal.Refused())
            return start.refusal;
        if (stop.refusal.Refused())
            return stop.refusal;
        if (!precise)
            return {-221, "the sweep needs the precise synthesis"};
        if (wanted.function != Function::Sine)
            return {-221, "the sweep is a sine"};
        if (!(wanted.sweep.seconds >= 0.1 && wanted.sweep.seconds <= 60))
            return {-222, "a sweep lasts 0.1 to 60 s"};
        plan.sweep.startHz = start.hz;
        plan.sweep.endHz = stop.hz;
        plan.sweep.durationMs = int(std::lround(wanted.sweep.seconds * 1000));
        plan.sweep.linear = wanted.sweep.linear;
        const instrument::SweepState& running = instrument_.State().sweep;
        plan.startSweep =
            plan.play && (!running.active || !(running.settings == plan.sweep) || !now.sweep.on);
    }
    return {};
}

void InstrumentTarget::Command(const RemoteSettings& wanted, const Plan& plan) {
    instrument::Instrument& in = instrument_;
    // Silent first when the outputs go off; heard last when they come on.
    if (!plan.play)
        in.Stop();
    if (!wanted.sweep.on && instrument_.State().sweep.active)
        in.SelectSignal(instrument_.State().choices.signal); // ends the sweep
    if (wanted.function != FunctionOf(instrument_.State())) {
        if (const auto wave = WaveformOf(wanted.function))
            in.SelectWaveform(*wave);
        else
            in.SelectSignal(*SignalOf(wanted.function));
    }
    in.SelectChannel(plan.channel);
    if (plan.hz % 10 != 0)
        in.SetStep(instrument::Step::OneHz);
    if (in.Generator().Frequency() != plan.hz)
        in.SetFrequency(plan.hz);
    if (in.State().dials[kAmplitudeDial].reading != plan.percent)
        in.SetDial(Dial::Amplitude, DialPosition{float(plan.percent), plan.percent});
    if (plan.startSweep)
        in.StartSweep(plan.sweep, true);
    else if (plan.play)
        in.Start();
    // What the instrument has no place for.
    writtenLevel_ = plan.level;
    keptLeft_ = wanted.left;
    keptRight_ = wanted.right;
    sweep_ = wanted.sweep;
    burst_ = wanted.burst;
    steps_ = wanted.steps;
}

Refusal InstrumentTarget::Apply(const RemoteSettings& wanted) {
    Plan plan;
    if (const Refusal refused = Check(wanted, plan); refused.Refused())
        return refused;
    Command(wanted, plan);
    return {};
}

Refusal InstrumentTarget::Reset() {
    instrument::Instrument& in = instrument_;
    in.Stop();
    in.SelectWaveform(TTGWave::tgSine); // also ends a measurement signal
    in.SelectChannel(Channel::Both);
    in.SetStep(instrument::Step::TenHz);
    in.SetDials(instrument::kInitialDials);
    in.ResetMemory();
    keptLeft_.reset();
    keptRight_.reset();
    writtenLevel_.reset();
    sweep_ = {};
    burst_ = {};
    steps_ = {};
    return {};
}

FrequencyRange InstrumentTarget::Frequencies() const {
    return FrequencyRange::AtRate(instrument_.Generator().Format().SamplesPerSecond());
}

std::optional<double> InstrumentTarget::LevelIn(Output output, LevelUnit unit) const {
    // Levels at the jack need the output's calibration, which this target
    // does not read yet.
    if (unit != LevelUnit::DbFs)
        return std::nullopt;
    const RemoteSettings now = Current();
    const WrittenLevel& level = output == Output::Left ? now.left.level : now.right.level;
    return level.unit == LevelUnit::DbFs ? std::optional<double>(level.number) : std::nullopt;
}

// Presets are stored by a part of the program still to come.
Refusal InstrumentTarget::Save(int) {
    return {-200, "presets are not available"};
}

Refusal InstrumentTarget::Recall(int) {
    return {-200, "presets are not available"};
}

void InstrumentTarget::WaitUntilQueued() {
    // The instrument's commands hand the generator's new image to the
    // output before they return, on this thread: once Apply has returned
    // the change is queued.
}

void InstrumentTarget::Shutdown() {
    if (shutdown_)
        shutdown_();
}

} // namespace remote
