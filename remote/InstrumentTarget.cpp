// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/InstrumentTarget.h"

#include "engine/LevelWord.h"
#include "engine/SampleLevel.h"
#include "engine/ToneGen.h"
#include "engine/ToneLimits.h"
#include "engine/steps/StepSchedule.h"
#include "instrument/FineLevels.h"
#include "instrument/PresetStore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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
constexpr int kFullTurnTenths = 3600;

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

// --- What the instrument's commands can set -----------------------------------
// The dials set whole hertz from 20 to 20000 and a level in 1 % steps of the
// output's level word; the precise synthesis also takes any frequency of the
// 1 mHz grid in the rate's range and a level in any unit, exactly.

// Whole hertz the dials can show.
bool OnTheDials(MilliHertz f) {
    return f.IsWholeHertz() && f.value / 1000 >= kMinToneFrequency &&
           f.value / 1000 <= kMaxToneFrequency;
}

Refusal FrequencyRefusal(MilliHertz f, bool precise, const FrequencyRange& range) {
    if (precise) {
        if (range.Holds(f))
            return {};
        return {-222, "frequencies lie from " + Text("%.3f", range.lowest.Hertz()) + " to " +
                          Text("%.3f", range.highest.Hertz()) + " Hz"};
    }
    if (!f.IsWholeHertz())
        return {-221, "the classic synthesis sets whole hertz only"};
    if (!OnTheDials(f))
        return {-222, "the dials set 20 to 20000 Hz"};
    return {};
}

Refusal LevelRefusalText(const LevelRefusal& refusal) {
    switch (refusal.reason) {
    case LevelRefusalReason::None:
        return {};
    case LevelRefusalReason::NotCalibrated:
        return {-221, "the output is not calibrated: orbel calibrate --device NAME"};
    case LevelRefusalReason::AboveFullScale:
        return {-222, "above the largest level the output plays"};
    case LevelRefusalReason::BelowLowest:
    case LevelRefusalReason::DbFsOutOfRange:
    case LevelRefusalReason::VoltsNotPositive:
        return {-222, "beyond the levels the output plays"};
    default:
        return {-221, "the level cannot be played here"};
    }
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
    // Also while it is being made: it plays once it is.
    if (state.multitone.chosen || state.makingMultitone)
        return Function::Multitone;
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

// The phase in the instrument's tenths of a degree; none beyond a turn or
// between tenths.
std::optional<int> PhaseTenths(double degrees) {
    const double tenths = degrees * 10;
    if (!(tenths >= 0 && tenths <= kFullTurnTenths) ||
        std::fabs(tenths - std::round(tenths)) > 1e-6)
        return std::nullopt;
    return int(std::lround(tenths));
}

SteppedSweepSettings StepsOf(const StepsRequest& steps) {
    return {steps.start.Hertz(), steps.stop.Hertz(), steps.count,
            steps.linear,        steps.dwellMs,      steps.upDown};
}

Refusal StepsRefusal(StepRefusal refusal) {
    switch (refusal) {
    case StepRefusal::None:
        return {};
    case StepRefusal::BadCount:
        return {-222, "1 to " + std::to_string(kMostSteps) + " steps"};
    case StepRefusal::BadDwell:
        return {-222, "a step lasts 0.01 to 60 s"};
    default:
        return {-222, "the steps' frequencies cannot be played at the output's rate"};
    }
}

bool Lit(Channel selected, Output output) {
    return selected == Channel::Both || (selected == Channel::Left) == (output == Output::Left);
}

} // namespace

// What Apply will command, worked out before any command runs.
struct InstrumentTarget::Plan {
    Channel channel = Channel::Both;
    MilliHertz frequency;
    int percent = 0;
    WrittenLevel level;
    bool exactLevel = false; // no position of the amplitude dial gives it
    bool play = false;
    bool startSweep = false;
    SweepSettings sweep;
    bool startSteps = false;
    SteppedSweepSettings steps;
    int phaseTenths = 0;
};

InstrumentTarget::InstrumentTarget(instrument::Instrument& instrument, std::string version,
                                   std::function<void()> shutdown)
    : instrument_(instrument), version_(std::move(version)), shutdown_(std::move(shutdown)) {}

ChannelSettings InstrumentTarget::Sounding(bool on) const {
    const instrument::InstrumentState& state = instrument_.State();
    const int percent = state.dials[kAmplitudeDial].reading;
    ChannelSettings s;
    s.on = on;
    s.frequency =
        state.fine.frequency.value_or(MilliHertz::FromHertz(instrument_.Generator().Frequency()));
    // An exact level, or the level as the client wrote it while the
    // amplitude still gives it.
    if (state.fine.level)
        s.level = *state.fine.level;
    else if (writtenLevel_ && ToDialAmplitude(*writtenLevel_).percent == percent)
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
    s.rightPhaseDegrees = state.rightLagTenths / 10.0;
    s.burst = burst_;
    s.burst.on = state.burst.has_value();
    if (state.burst) {
        s.burst.cycles = state.burst->onCycles;
        s.burst.offCycles = state.burst->offCycles;
    }
    // Stepped sweeps play once: one played to its end or stopped is off,
    // one waiting for an output starts with it.
    s.steps = steps_;
    s.steps.on = steps_.on && (state.steps.active || (stepsWaiting_ && !running));
    return s;
}

Refusal InstrumentTarget::Check(const RemoteSettings& wanted, Plan& plan) const {
    const RemoteSettings now = Current();
    const bool precise = instrument_.Generator().Precise();
    if (wanted.function != now.function &&
        (SignalOf(wanted.function) || wanted.function == Function::Multitone) && !precise)
        return {-221, "the signal needs the precise synthesis"};
    const std::optional<int> phase = PhaseTenths(wanted.rightPhaseDegrees);
    if (!phase)
        return {-222, "0 to 360 degrees in steps of 0.1"};
    plan.phaseTenths = *phase;
    // Bursts and the phase are shapes of the steady sine.
    const bool steadySine =
        wanted.function == Function::Sine && !wanted.sweep.on && !wanted.steps.on;
    if (wanted.burst.on && !steadySine)
        return {-221, "bursts are of the steady sine"};
    if (*phase != 0 && !steadySine)
        return {-221, "the phase is the steady sine's"};
    if (wanted.burst.on && *phase != 0)
        return {-221, "bursts play both outputs in phase"};
    if ((wanted.burst.on || *phase != 0) && !precise)
        return {-221, "bursts and the phase need the precise synthesis"};
    if (wanted.burst.on &&
        (wanted.burst.cycles < 1 || wanted.burst.cycles > kMostBurstCycles ||
         wanted.burst.offCycles < 0 || wanted.burst.offCycles > kMostBurstCycles))
        return {-222, "1 to 1000 cycles sounding, 0 to 1000 silent"};
    // Only what changes is checked: what the panel set stays as it is.
    const ChannelSettings sounding = Sounding(false);
    const auto percentOf = [&](const WrittenLevel& level) {
        return SameLevel(level, sounding.level) ? instrument_.State().dials[kAmplitudeDial].reading
                                                : ToDialAmplitude(level).percent;
    };
    const FrequencyRange range = Frequencies();
    const auto levelRefusal = [&](Channel channel, const WrittenLevel& level) {
        const Refusal dial = ToDialAmplitude(level).refusal;
        if (!dial.Refused() || !precise)
            return dial;
        return LevelRefusalText(instrument_.LevelRefusalOf(channel, level));
    };
    for (const auto& [w, n, c] : {std::tuple{&wanted.left, &now.left, Channel::Left},
                                  {&wanted.right, &now.right, Channel::Right}}) {
        if (w->frequency != n->frequency)
            if (const Refusal r = FrequencyRefusal(w->frequency, precise, range); r.Refused())
                return r;
        if (!SameLevel(w->level, n->level) && !SameLevel(w->level, sounding.level))
            if (const Refusal r = levelRefusal(c, w->level); r.Refused())
                return r;
    }
    const auto onTheDial = [&](const WrittenLevel& level) {
        return SameLevel(level, sounding.level) ? !instrument_.State().fine.level.has_value()
                                                : !ToDialAmplitude(level).refusal.Refused();
    };
    plan.play = wanted.left.on || wanted.right.on;
    plan.channel = !plan.play                          ? instrument_.State().channel
                   : wanted.left.on && wanted.right.on ? Channel::Both
                   : wanted.left.on                    ? Channel::Left
                                                       : Channel::Right;
    // The channels that sound share the frequency and the level: a change
    // of either output's is both outputs' then.
    const ChannelSettings& lead = plan.channel == Channel::Right ? wanted.right : wanted.left;
    plan.frequency = lead.frequency;
    plan.percent = percentOf(lead.level);
    plan.level = lead.level;
    if (plan.channel == Channel::Both) {
        const bool leftHz = wanted.left.frequency != now.left.frequency;
        const bool rightHz = wanted.right.frequency != now.right.frequency;
        const bool leftLevel = !SameLevel(wanted.left.level, now.left.level);
        const bool rightLevel = !SameLevel(wanted.right.level, now.right.level);
        const bool apartHz = wanted.left.frequency != wanted.right.frequency;
        const bool apartLevel = !SameLevel(wanted.left.level, wanted.right.level) &&
                                !(onTheDial(wanted.left.level) && onTheDial(wanted.right.level) &&
                                  percentOf(wanted.left.level) == percentOf(wanted.right.level));
        if ((apartHz && leftHz == rightHz) || (apartLevel && leftLevel == rightLevel))
            return {-221, "both outputs play one frequency and one level"};
        if (rightHz && !leftHz)
            plan.frequency = wanted.right.frequency;
        if (rightLevel && !leftLevel) {
            plan.percent = percentOf(wanted.right.level);
            plan.level = wanted.right.level;
        }
    }
    plan.exactLevel = !onTheDial(plan.level);
    if (wanted.sweep.on) {
        if (const Refusal r = FrequencyRefusal(wanted.sweep.start, true, range); r.Refused())
            return r;
        if (const Refusal r = FrequencyRefusal(wanted.sweep.stop, true, range); r.Refused())
            return r;
        if (!precise)
            return {-221, "the sweep needs the precise synthesis"};
        if (wanted.function != Function::Sine)
            return {-221, "the sweep is a sine"};
        if (!(wanted.sweep.seconds >= 0.1 && wanted.sweep.seconds <= 60))
            return {-222, "a sweep lasts 0.1 to 60 s"};
        plan.sweep.startHz = wanted.sweep.start.Hertz();
        plan.sweep.endHz = wanted.sweep.stop.Hertz();
        plan.sweep.durationMs = int(std::lround(wanted.sweep.seconds * 1000));
        plan.sweep.linear = wanted.sweep.linear;
        const instrument::SweepState& running = instrument_.State().sweep;
        plan.startSweep =
            plan.play && (!running.active || !(running.settings == plan.sweep) || !now.sweep.on);
    }
    if (wanted.steps.on) {
        if (wanted.sweep.on)
            return {-221, "one sweep at a time"};
        if (wanted.function != Function::Sine)
            return {-221, "the stepped sweep is a sine"};
        if (!precise)
            return {-221, "the stepped sweep needs the precise synthesis"};
        if (const Refusal r = FrequencyRefusal(wanted.steps.start, true, range); r.Refused())
            return r;
        if (const Refusal r = FrequencyRefusal(wanted.steps.stop, true, range); r.Refused())
            return r;
        plan.steps = StepsOf(wanted.steps);
        const instrument::SteppedState& running = instrument_.State().steps;
        if (const Refusal r = StepsRefusal(
                BuildStepSchedule(plan.steps, instrument_.Generator().Format().SamplesPerSecond())
                    .refusal);
            r.Refused())
            return r;
        plan.startSteps =
            plan.play && (!running.active || !(running.settings == plan.steps) || !now.steps.on);
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
    if (!wanted.steps.on && in.State().steps.active)
        in.SelectWaveform(in.State().waveform); // ends the steps
    // The sine's shapes go before another signal comes.
    if (!wanted.burst.on && in.State().burst)
        in.SetBurst(std::nullopt);
    if (plan.phaseTenths == 0)
        in.SetRightPhase(0);
    if (wanted.function == Function::Multitone) {
        if (!in.State().multitone.chosen)
            in.SelectMultitone(in.State().multitone);
    } else if (wanted.function != FunctionOf(instrument_.State())) {
        if (const auto wave = WaveformOf(wanted.function))
            in.SelectWaveform(*wave);
        else
            in.SelectSignal(*SignalOf(wanted.function));
    }
    in.SelectChannel(plan.channel);
    if (Sounding(false).frequency != plan.frequency) {
        if (OnTheDials(plan.frequency)) {
            const int hz = int(plan.frequency.value / 1000);
            if (hz % 10 != 0)
                in.SetStep(instrument::Step::OneHz);
            in.SetFrequency(hz);
        } else {
            in.SetExactFrequency(plan.frequency);
        }
    }
    if (plan.exactLevel) {
        if (in.State().fine.level != plan.level)
            in.SetExactLevel(plan.level);
    } else if (in.State().dials[kAmplitudeDial].reading != plan.percent) {
        in.SetDial(Dial::Amplitude, DialPosition{float(plan.percent), plan.percent});
    }
    if (wanted.burst.on)
        in.SetBurst(BurstSettings{wanted.burst.cycles, wanted.burst.offCycles});
    in.SetRightPhase(plan.phaseTenths);
    if (plan.startSweep)
        in.StartSweep(plan.sweep, true);
    else if (plan.startSteps)
        in.StartSteps(plan.steps);
    else if (plan.play)
        in.Start();
    // What the instrument has no place for.
    writtenLevel_ = plan.level;
    keptLeft_ = wanted.left;
    keptRight_ = wanted.right;
    sweep_ = wanted.sweep;
    burst_ = wanted.burst;
    steps_ = wanted.steps;
    stepsWaiting_ = wanted.steps.on && !plan.play;
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
    in.SetRightPhase(0);
    in.SelectWaveform(TTGWave::tgSine); // also ends a measurement signal and bursts
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
    stepsWaiting_ = false;
    return {};
}

FrequencyRange InstrumentTarget::Frequencies() const {
    return FrequencyRange::AtRate(instrument_.Generator().Format().SamplesPerSecond());
}

std::optional<double> InstrumentTarget::LevelIn(Output output, LevelUnit unit) const {
    const RemoteSettings now = Current();
    const WrittenLevel& level = output == Output::Left ? now.left.level : now.right.level;
    if (level.unit == unit)
        return level.number;
    // The output's sample level, then that level at its jack through the
    // output's calibration.
    const bool left = output == Output::Left;
    const OutputCalibration& calibration = instrument_.State().calibration;
    std::optional<double> peakDb = level.number;
    if (level.unit != LevelUnit::DbFs) {
        const instrument::ChannelLevels levels =
            instrument::LevelsFor(calibration, left ? Channel::Left : Channel::Right, level);
        peakDb = left ? levels.left : levels.right;
    }
    if (!peakDb || unit == LevelUnit::DbFs)
        return peakDb;
    const std::optional<ChannelCalibration>& jack =
        calibration.Channel(left ? OutputChannel::Left : OutputChannel::Right);
    if (!jack)
        return std::nullopt;
    if (*peakDb == kSilentDb)
        return IsInVolts(unit) ? 0.0 : kSilentDb;
    return LevelInUnit(*peakDb, jack->fullScaleVolts, unit).number;
}

// The presets named "1" to "9" in the settings folder, shared with the
// panel's and the command line's presets.
Refusal InstrumentTarget::Save(int slot) {
    const instrument::PresetStore store(instrument::PresetStore::DefaultFolder());
    switch (store.Save(instrument_.CapturePreset(std::to_string(slot)))) {
    case instrument::PresetSaveResult::Saved:
        return {};
    case instrument::PresetSaveResult::Refused:
        return {-200, "something that is not a preset is in its place: left as it is"};
    default:
        return {-200, "the preset could not be written"};
    }
}

Refusal InstrumentTarget::Recall(int slot) {
    const instrument::PresetStore store(instrument::PresetStore::DefaultFolder());
    const instrument::PresetLoad load = store.Load(std::to_string(slot));
    if (load.status == instrument::PresetLoad::Status::Missing)
        return {-221, "no such preset"};
    if (!load.preset)
        return {-200,
                "the preset is damaged: line " + std::to_string(load.line) + ": " + load.reason};
    const instrument::PresetRecallResult result = instrument_.RecallPreset(*load.preset);
    if (!result.accepted)
        return {-221, result.refusal};
    writtenLevel_.reset();
    keptLeft_.reset();
    keptRight_.reset();
    return {};
}

MilliHertz InstrumentTarget::FrequencyHeard(Output output) const {
    const instrument::InstrumentState& state = instrument_.State();
    if (!state.steps.active || !state.running || !Lit(state.channel, output))
        return ScpiTarget::FrequencyHeard(output);
    // The step heard last; before the first is heard, the first.
    const std::vector<double> steps = StepFrequencies(state.steps.settings);
    const std::size_t step = std::size_t(std::max(state.steps.heardStep, 0));
    if (step >= steps.size())
        return ScpiTarget::FrequencyHeard(output);
    return {std::llround(steps[step] * 1000)};
}

bool InstrumentTarget::OperationPending() const {
    return instrument_.State().steps.active;
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
