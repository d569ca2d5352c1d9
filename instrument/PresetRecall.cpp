// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's presets: capturing its state as one, and recalling one
// in a single command.
#include "instrument/Instrument.h"

#include "instrument/DialIndex.h"
#include "instrument/FrequencyDials.h"
#include "instrument/MultitonePlan.h"
#include "instrument/PresetText.h"

#include "engine/SampleRates.h"
#include "engine/ToneGen.h"
#include "engine/steps/StepSchedule.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace instrument {

namespace {

// Whole hertz the frequency dials show.
bool OnTheDials(MilliHertz f) {
    return f.IsWholeHertz() && f >= MilliHertz::FromHertz(kMinFrequency) &&
           f <= MilliHertz::FromHertz(kMaxFrequency);
}

DialPosition At(int reading) {
    return {static_cast<float>(reading), reading};
}

Channel ChannelOf(PresetChannels channels) {
    switch (channels) {
    case PresetChannels::Left:
        return Channel::Left;
    case PresetChannels::Right:
        return Channel::Right;
    case PresetChannels::Mono:
    case PresetChannels::Both:
        break;
    }
    return Channel::Both;
}

// The amplitude the selected channel sounds at, from the preset's pair.
int AmplitudeOf(const std::pair<int, int>& volume, Channel channel) {
    return channel == Channel::Right ? volume.second : volume.first;
}

bool IsMultitone(const Preset& p) {
    return p.waveform && p.waveform->multitone;
}

// The preset's multitone; the command line's defaults for what it leaves out.
MultitoneChoice MultitoneOf(const Preset& p) {
    MultitoneChoice choice;
    choice.chosen = true;
    if (p.tones)
        if (const std::optional<PresetSpan> span = ReadPresetSpan(*p.tones)) {
            choice.f1 = span->f1;
            choice.f2 = span->f2;
            choice.tones = span->count;
        }
    choice.linear = p.linear;
    choice.tonesFile = p.tonesFile.value_or(std::string());
    choice.fftLength = p.fftLength.value_or(choice.fftLength);
    choice.level = p.level.value_or(choice.level);
    return choice;
}

// The preset's stepped sweep; none without one, or without its dwell.
std::optional<SteppedSweepSettings> StepsOf(const Preset& p) {
    const std::optional<PresetSpan> span = p.steps ? ReadPresetSpan(*p.steps) : std::nullopt;
    if (!span || !p.dwellMs)
        return std::nullopt;
    SteppedSweepSettings steps;
    steps.f1 = span->f1;
    steps.f2 = span->f2;
    steps.count = span->count;
    steps.linear = p.linear;
    steps.dwellMs = *p.dwellMs;
    steps.upDown = p.upDown;
    return steps;
}

// Why a multitone cannot be played, in the preset's words.
std::string MultitoneRefusalOf(const MultitonePlan& plan) {
    const auto hertz = [](double hz) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", hz);
        return std::string(text);
    };
    switch (plan.refusal) {
    case MultitonePlanRefusal::None:
        return {};
    case MultitonePlanRefusal::FileUnreadable:
        return "tones-file: the file cannot be read";
    case MultitonePlanRefusal::FileLine:
        return "tones-file: line " + std::to_string(plan.listLine) + ": " + plan.listReason;
    case MultitonePlanRefusal::NoTones:
        return "tones: no tone to play";
    case MultitonePlanRefusal::TooManyTones:
        return "tones: too many tones";
    case MultitonePlanRefusal::OutOfRange:
        return "tones: " + hertz(plan.firstHertz) + " Hz lies off the transform's bins at the rate";
    case MultitonePlanRefusal::SameBin:
        return "tones: " + hertz(plan.firstHertz) + " Hz and " + hertz(plan.secondHertz) +
               " Hz land on one bin of fft";
    case MultitonePlanRefusal::BadLength:
        return "fft: the length cannot be used at the rate";
    case MultitonePlanRefusal::Level:
        return "level: the output cannot play it (above full scale, or in volts without a "
               "calibration)";
    case MultitonePlanRefusal::Clips:
        return "level: the multitone would clip";
    case MultitonePlanRefusal::NoMemory:
        break;
    }
    return "tones: not enough memory";
}

} // namespace

Preset Instrument::CapturePreset(std::string name) const {
    Preset preset;
    preset.name = std::move(name);
    const DialPositions& d = state_.dials;
    const int amplitude = d[kAmplitude].reading;
    switch (state_.channel) {
    case Channel::Left:
        preset.channels = PresetChannels::Left;
        preset.volume = std::pair{amplitude, 0};
        break;
    case Channel::Right:
        preset.channels = PresetChannels::Right;
        preset.volume = std::pair{0, amplitude};
        break;
    case Channel::Both:
        preset.channels = PresetChannels::Both;
        preset.volume = std::pair{amplitude, amplitude};
        break;
    }
    // The dials' frequency, also while a signal with frequencies of its
    // own plays: it is heard again once the signal ends.
    preset.frequency = state_.fine.frequency.value_or(MilliHertz::FromHertz(
        ComposeFrequency(d[kThousands].reading, d[kHundreds].reading, d[kUnits].reading)));
    preset.level = state_.fine.level;
    if (state_.multitone.chosen) {
        // Its level is the multitone's RMS, as the command line's.
        const MultitoneChoice& m = state_.multitone;
        preset.waveform = PresetWave{TTGWave::tgSine, SignalKind::Tone, true};
        if (m.tonesFile.empty()) {
            preset.tones = PresetSpanText({m.f1, m.f2, m.tones});
            preset.linear = m.linear;
        } else {
            preset.tonesFile = m.tonesFile;
        }
        preset.fftLength = m.fftLength;
        preset.level = m.level;
        // The amplitude dial does not play it: the command line refuses a
        // volume with a multitone.
        preset.volume.reset();
    } else if (state_.steps.active) {
        const SteppedSweepSettings& steps = state_.steps.settings;
        preset.steps = PresetSpanText({steps.f1, steps.f2, steps.count});
        preset.linear = steps.linear;
        preset.dwellMs = steps.dwellMs;
        preset.upDown = steps.upDown;
    } else if (state_.sweep.active) {
        const SweepSettings& sweep = state_.sweep.settings;
        preset.sweep = std::pair{sweep.startHz, sweep.endHz};
        preset.linear = sweep.linear;
        preset.durationMs = sweep.durationMs;
        if (sweep.fadeMs > 0)
            preset.fadeMs = sweep.fadeMs;
    } else if (state_.choices.signal != SignalKind::Tone) {
        preset.waveform = PresetWave{TTGWave::tgSine, state_.choices.signal, false};
    } else {
        preset.waveform = PresetWave{state_.waveform, SignalKind::Tone, false};
        preset.burst = state_.burst;
        if (state_.rightLagTenths != 0)
            preset.phaseTenths = state_.rightLagTenths;
    }
    if (!state_.choices.device.empty())
        preset.device = state_.choices.device;
    preset.bits = state_.choices.resolution;
    // No rate chosen: the preset plays at the output's own, as the panel does.
    if (state_.choices.rateChosen || !Precise())
        preset.rate = state_.choices.rate != 0                      ? state_.choices.rate
                      : state_.choices.quality == TTGQuality::tgLoQ ? 44100
                                                                    : 96000;
    return preset;
}

// The settings the instrument cannot hold: the classic synthesis plays the
// dials' whole hertz at the amplitude dial's level; the precise one any
// frequency of the fine grid at the rate and any level the output plays.
std::string Instrument::PresetRefusal(const Preset& p) const {
    const Channel channel = p.channels ? ChannelOf(*p.channels) : state_.channel;
    if (p.frequency && Precise()) {
        const FrequencyRange range = FrequencyRange::AtRate(p.rate.value_or(Rate()));
        if (!range.Holds(*p.frequency))
            return "frequency " + FrequencyText(*p.frequency) + " Hz: the rate plays " +
                   FrequencyText(range.lowest) + " to " + FrequencyText(range.highest) + " Hz";
    } else if (p.frequency && !OnTheDials(*p.frequency)) {
        return "frequency " + FrequencyText(*p.frequency) +
               " Hz: the classic synthesis plays whole hertz from 20 to 20000";
    }
    if (p.rightFrequency)
        return "right-frequency: the panel plays one frequency on both channels";
    if (p.rightLevel)
        return "right-level: the panel plays one level on both channels";
    if (p.level && !Precise() && !IsMultitone(p))
        return "level: the classic synthesis sets the level with the amplitude dial alone";
    if (p.level && !IsMultitone(p) &&
        LevelRefusalOf(channel, *p.level).reason != LevelRefusalReason::None)
        return "level: the output cannot play it (above full scale, or in volts without a "
               "calibration)";
    if (p.volume && channel == Channel::Both && p.volume->first != p.volume->second)
        return "volume: both channels play at one amplitude on the panel";
    if (p.steps || p.dwellMs || p.upDown) {
        const std::optional<SteppedSweepSettings> steps = StepsOf(p);
        if (!steps)
            return p.steps ? "steps: they need a dwell" : "dwell: it goes with steps";
        if (!Precise())
            return "the classic synthesis plays tones of 8 or 16 bits only";
        if (p.sweep)
            return "steps: one sweep at a time";
        if ((p.waveform && p.waveform != PresetWave{}) || p.tones || p.tonesFile)
            return "steps: a stepped sweep plays a sine";
        if (BuildStepSchedule(*steps, p.rate.value_or(Rate())).refusal != StepRefusal::None)
            return "steps: they cannot be played at the rate";
    }
    if ((p.tones || p.tonesFile || p.fftLength) && !IsMultitone(p))
        return "tones: they go with waveform multitone";
    if (IsMultitone(p) && !Precise())
        return "the classic synthesis plays tones of 8 or 16 bits only";
    if (p.burst || p.phaseTenths) {
        // The steady sine's: the preset's, or the one that plays.
        const bool sine = p.waveform
                              ? p.waveform->wave == TTGWave::tgSine &&
                                    p.waveform->signal == SignalKind::Tone && !p.waveform->multitone
                              : state_.waveform == TTGWave::tgSine &&
                                    state_.choices.signal == SignalKind::Tone && !PlaysToneSet();
        const char* what = p.burst ? "burst" : "phase";
        if (!Precise())
            return std::string(what) + ": the classic synthesis plays the steady tone only";
        if (p.sweep || p.steps || !sine)
            return std::string(what) + ": a shape of the steady sine";
        if (p.burst && p.phaseTenths.value_or(0) != 0)
            return "phase: bursts play both channels in phase";
    }
    const bool signal = p.sweep || (p.waveform && p.waveform->signal != SignalKind::Tone);
    if (!Precise() && (signal || (p.bits && IsWideResolution(*p.bits)) ||
                       (p.rate && !PlaysAtRate(*p.rate, false))))
        return "the classic synthesis plays tones of 8 or 16 bits only";
    if (p.sweep && p.waveform && p.waveform != PresetWave{})
        return "sweep: a sweep plays a sine";
    if (p.fadeMs && !p.sweep)
        return "fade: a fade goes with a sweep";
    return {};
}

void Instrument::PlacePreset(const Preset& p, std::shared_ptr<const Multitone> multitone,
                             bool& outputGone) {
    OutputChoices& choices = state_.choices;
    if (p.device) {
        const auto devices = generator_.Output()->ListDevices();
        const OutputDevice* kept = devices ? FindOutputDevice(*devices, *p.device) : nullptr;
        outputGone = !kept;
        choices.device = kept ? kept->name : std::string();
        generator_.Output()->ChooseDevice(choices.device);
    }
    if (p.bits)
        choices.resolution = *p.bits;
    if (p.rate) {
        // The classic synthesis's two rates are its qualities.
        const bool classicRate = PlaysAtRate(*p.rate, false);
        choices.quality = *p.rate == 44100 ? TTGQuality::tgLoQ : TTGQuality::tgHiQ;
        choices.rate = classicRate ? 0 : *p.rate;
        // The classic synthesis plays its rate whether chosen or not.
        if (Precise())
            choices.rateChosen = true;
    }
    ApplyFormat();

    if (p.channels) {
        state_.channel = ChannelOf(*p.channels);
        if (state_.channel == Channel::Left)
            state_.dials = state_.memory.left;
        else if (state_.channel == Channel::Right)
            state_.dials = state_.memory.right;
        else
            state_.dials[kAmplitude] = state_.memory.bothAmplitude;
    }
    DialPositions& d = state_.dials;
    if (p.frequency) {
        // The dials stand at the nearest whole hertz they show; a frequency
        // they cannot show plays exactly in their place.
        const int hz = static_cast<int>(
            std::clamp<std::int64_t>(p.frequency->value / 1000, kMinFrequency, kMaxFrequency));
        if (OnTheDials(*p.frequency))
            state_.fine.frequency.reset();
        else
            state_.fine.frequency = *p.frequency;
        d[kThousands] = At(hz / 1000);
        d[kHundreds] = At(hz / 100 % 10);
        d[kUnits] = At(hz % 100);
        // The 10 Hz step cannot show single hertz.
        if (hz % 10 != 0)
            state_.step = Step::OneHz;
    }
    if (p.volume)
        d[kAmplitude] = At(AmplitudeOf(*p.volume, state_.channel));
    // A multitone's level is its own; the tone keeps its level.
    if (!IsMultitone(p))
        state_.fine.level = p.level;
    state_.memory.Save(state_.channel, d);
    SaveFine();
    ApplyLevels();
    ApplyFrequency();

    if (multitone) {
        EndSweep();
        LeaveToneSets();
        LeaveSineShapes(false);
        choices.signal = SignalKind::Tone;
        PlaySignal(ChosenSignal());
        state_.multitone = MultitoneOf(p);
        multitone_ = std::move(multitone);
        ShowNoFrequency();
        return;
    }
    if (const std::optional<SteppedSweepSettings> steps = StepsOf(p)) {
        // Set, and heard from its first step when the instrument runs.
        // As the sweep dialog's steps: the switch and the signal stay for
        // when the steps end.
        EndSweep();
        LeaveToneSets();
        if (LeaveSineShapes(false))
            PlaySignal(ChosenSignal());
        state_.steps.active = true;
        state_.steps.settings = *steps;
        state_.steps.heardStep = -1;
        return;
    }
    if (p.sweep) {
        LeaveSineShapes(false);
        LeaveToneSets();
        SweepSettings sweep;
        sweep.startHz = p.sweep->first;
        sweep.endHz = p.sweep->second;
        sweep.linear = p.linear;
        if (p.durationMs)
            sweep.durationMs = *p.durationMs;
        sweep.fadeMs = p.fadeMs.value_or(0);
        if (!state_.sweep.active)
            state_.sweep.loopBefore = generator_.Loop();
        state_.sweep.active = true;
        state_.sweep.repeat = false;
        state_.sweep.settings = sweep;
        MeasurementSignal signal;
        signal.kind = SignalKind::Sweep;
        signal.sweep = sweep;
        generator_.SetLoop(false);
        PlaySignal(signal);
        state_.running = true;
        return;
    }
    if (p.waveform) {
        EndSweep();
        LeaveToneSets();
        choices.signal = p.waveform->signal;
        state_.waveform = p.waveform->wave;
        LeaveSineShapes(state_.waveform == TTGWave::tgSine && choices.signal == SignalKind::Tone);
        generator_.SetWaveform(state_.waveform);
        PlaySignal(ChosenSignal());
        if (state_.waveform == TTGWave::tgNoise)
            ShowNoFrequency();
    }
    if (p.burst || p.phaseTenths) {
        // One of the two takes the other's place.
        state_.burst = p.burst;
        state_.rightLagTenths = p.phaseTenths.value_or(0);
        PlaySignal(ChosenSignal());
    }
}

PresetRecallResult Instrument::RecallPreset(const Preset& preset,
                                            std::function<void(const PresetRecallResult&)> later) {
    PresetRecallResult result;
    result.refusal = PresetRefusal(preset);
    if (!result.refusal.empty())
        return result;
    if (IsMultitone(preset)) {
        // Made as it will play: at the preset's rate, on its channels; the
        // whole preset is taken once it is.
        auto outcome = std::make_shared<PresetRecallResult>();
        std::function<void()> then;
        RunCommand([&] {
            then = AskMultitone(
                MultitoneOf(preset), preset.rate.value_or(Rate()),
                preset.channels ? ChannelOf(*preset.channels) : state_.channel,
                [this, preset, outcome](MultitonePlan& plan) {
                    outcome->refusal = MultitoneRefusalOf(plan);
                    // What plays may have changed while it was made.
                    if (outcome->refusal.empty())
                        outcome->refusal = PresetRefusal(preset);
                    if (!outcome->refusal.empty())
                        return;
                    const InstrumentState before = state_;
                    PlacePreset(preset, std::move(plan.multitone), outcome->outputGone);
                    if (state_ != before)
                        Heard();
                    outcome->accepted = true;
                },
                [outcome, later = std::move(later)](const MultitonePlan&) {
                    if (later)
                        later(*outcome);
                });
            return true;
        });
        if (then) // made at once: the result is final now
            return *outcome;
        result.pending = true;
        return result;
    }
    RunCommand([&] {
        GiveUpMultitone();
        const InstrumentState before = state_;
        PlacePreset(preset, nullptr, result.outputGone);
        // A sweep plays from its start, and the steps from their first when
        // the instrument runs; anything else is heard if it changed.
        if (preset.sweep || (preset.steps && state_.running))
            Play();
        else if (state_ != before)
            Heard();
        return true;
    });
    result.accepted = true;
    return result;
}

} // namespace instrument
