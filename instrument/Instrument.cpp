// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/Instrument.h"

#include "engine/LoopLength.h"
#include "engine/RetunableTone.h"
#include "engine/SampleRates.h"
#include "engine/ToneGen.h"
#include "instrument/DialIndex.h"
#include "instrument/FineLevels.h"
#include "instrument/FrequencyDials.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <utility>

namespace instrument {

namespace {

// The thousands reading at the top of the range: the hundreds and units
// then go back to 0, as 20 kHz is the highest frequency.
constexpr int kTopThousands = 20;
// The units reading at the end of the 10 Hz range, pulled back to 90.
constexpr int kUnitsOverflow = 100;
constexpr DialPosition kUnitsLast{90.0f, 90};
constexpr DialPosition kZero{0.0f, 0};

// The digits shown while the generator makes noise, which has no frequency.
constexpr std::string_view kNoThousands = "--";
constexpr std::string_view kNoHundreds = "-";
constexpr std::string_view kNoUnits = "--";

std::string Digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

} // namespace

void ChannelMemory::Save(Channel channel, const DialPositions& dials) {
    switch (channel) {
    case Channel::Left:
        left = dials;
        break;
    case Channel::Right:
        right = dials;
        break;
    case Channel::Both:
        bothAmplitude = dials[kAmplitude];
        break;
    }
}

void ChannelMemory::SaveFine(Channel channel, const FineSetting& fine) {
    switch (channel) {
    case Channel::Left:
        leftFine = fine;
        break;
    case Channel::Right:
        rightFine = fine;
        break;
    case Channel::Both:
        bothLevel = fine.level;
        break;
    }
}

DisplayState Display(const InstrumentState& state) {
    DisplayState d;
    d.left = state.left;
    d.right = state.right;
    d.leftLit = state.channel != Channel::Right;
    d.rightLit = state.channel != Channel::Left;
    d.channel = state.channel;
    d.waveform = state.waveform;
    d.step = state.step;
    d.dials = state.dials;
    d.status = state.soundLost         ? std::string(kNoSoundOutput)
               : state.makingMultitone ? std::string(kMakingMultitone)
                                       : state.hint;
    d.reading = ReadingOf(state);
    d.startEnabled = !state.running;
    d.stopEnabled = state.running;
    return d;
}

// --- plumbing -------------------------------------------------------------------

double Instrument::SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Instrument::Instrument(TToneGen& generator, Clock clock)
    : generator_(generator), clock_(std::move(clock)) {}

Instrument::~Instrument() {
    GiveUpMultitone();
    if (checkGivenUp_)
        checkGivenUp_->store(true);
    // The output must read no stream of ours once it goes.
    if (toneSetStream_)
        generator_.Stop();
    EndStream();
}

int Instrument::Subscribe(Observer observer) {
    observers_.emplace(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void Instrument::Unsubscribe(int id) {
    observers_.erase(id);
}

bool Instrument::RunCommand(const std::function<bool()>& change) {
    return Command(change);
}

bool Instrument::Precise() const {
    return generator_.Precise();
}

bool Instrument::PlaysMeasurementSignal() const {
    // Bursts are the tone's: its frequency is theirs.
    const SignalKind kind = generator_.Signal().kind;
    return generator_.Precise() && kind != SignalKind::Tone && kind != SignalKind::Burst;
}

void Instrument::Play() {
    // What plays now replaces a stepped sweep's end playing out.
    playOut_.reset();
    if (PlayToneSet()) {
        // The fine tone's stream, if it played, is read no more.
        if (toneSetStreaming_)
            stream_.reset();
        return;
    }
    streamed_ = StreamedFrequency();
    ApplyLevels();
    if (!StreamedFrequency() || !PlayStreamed()) {
        generator_.Play();
        // The output reads the stream no more once the image replaced it.
        stream_.reset();
        if (levels_.word)
            generator_.Output()->SetLevel(generator_.DeviceId(), *levels_.word);
    }
    // A sweep starts again from its beginning with every play: its clock
    // and displays start again with it.
    if (state_.sweep.active) {
        const int rate = generator_.Format().SamplesPerSecond();
        state_.sweep.periodSeconds =
            static_cast<double>(SweepSampleCount(generator_.Signal().sweep, rate)) / rate;
        state_.sweep.startedAt = clock_();
        ShowSweepAt(0);
    }
}

void Instrument::Heard() {
    if (state_.running && !RetuneStream())
        Play();
}

void Instrument::ApplyLevels() {
    levels_ = LevelsNow();
    // The right level first, as the panel always set them.
    generator_.SetRightVolume(levels_.right);
    generator_.SetLeftVolume(levels_.left);
    // A stream carries the peak itself; an image takes it from the
    // generator, at full scale unless an exact level asks for less.
    if (!streamed_) {
        const double db = levels_.peak < 1 ? 20 * std::log10(levels_.peak) : 0.0;
        if (generator_.PeakLevel() != db)
            generator_.SetPeakLevel(db);
    }
}

void Instrument::ApplyFrequency() {
    streamed_ = StreamedFrequency();
    generator_.SetFrequency(static_cast<std::int16_t>(GeneratorHertz()));
    ApplyLoopDuration();
}

void Instrument::ApplyLoopDuration() {
    // A measurement signal has a loop of its own (a sweep sets its length).
    const MeasurementSignal& signal = generator_.Signal();
    const int ms = Precise() && signal.Active() && signal.kind != SignalKind::Sweep
                       ? SignalLoopDurationMs(signal, generator_.Frequency())
                       : loop_length::ToneLoopDurationMs(
                             generator_.Waveform(), generator_.Frequency(), generator_.Precise());
    generator_.SetDuration(static_cast<std::int16_t>(ms));
}

void Instrument::ApplyFormat() {
    generator_.SetResolution(state_.choices.resolution);
    if (const int own = FollowedOutputRate()) {
        // The classic synthesis's two rates are its qualities.
        generator_.SetQuality(own == 44100 ? TTGQuality::tgLoQ : TTGQuality::tgHiQ);
        generator_.SetSampleRate(PlaysAtRate(own, false) ? 0 : own);
        return;
    }
    generator_.SetQuality(state_.choices.quality);
    generator_.SetSampleRate(state_.choices.rate);
}

int Instrument::FollowedOutputRate() const {
    const int rate = state_.output.rate;
    if (state_.choices.rateChosen || !Precise() || !PlaysAtRate(rate, true))
        return 0;
    // A frequency the output's rate cannot play keeps the rate it plays at.
    const FrequencyRange range = FrequencyRange::AtRate(rate);
    for (const std::optional<MilliHertz>& f :
         {state_.fine.frequency, state_.memory.leftFine.frequency,
          state_.memory.rightFine.frequency})
        if (f && !range.Holds(*f))
            return 0;
    return rate;
}

DisplayState Instrument::Display() const {
    DisplayState d = instrument::Display(state_);
    const int played = Rate();
    if (state_.output.rate > 0 && played != state_.output.rate)
        d.resampling = DisplayState::Resampling{played, state_.output.rate};
    return d;
}

MeasurementSignal Instrument::ChosenSignal() const {
    MeasurementSignal signal;
    signal.kind = state_.choices.signal;
    if (signal.kind == SignalKind::Tone && state_.waveform == TTGWave::tgSine) {
        if (state_.burst) {
            signal.kind = SignalKind::Burst;
            signal.burst = *state_.burst;
        } else {
            signal.rightLagTenths = state_.rightLagTenths;
        }
    }
    return signal;
}

void Instrument::PlaySignal(const MeasurementSignal& signal) {
    // The right output's own phase needs an image of two channels; the
    // generator goes back to one once the outputs are in phase again.
    if (signal.rightLagTenths != 0 && !generator_.Stereo()) {
        generator_.SetStereo(true);
        stereoForPhase_ = true;
    } else if (signal.rightLagTenths == 0 && stereoForPhase_) {
        generator_.SetStereo(false);
        stereoForPhase_ = false;
    }
    generator_.SetSignal(signal);
    // Pink noise and the two-tone signals have no one frequency.
    if (PlaysMeasurementSignal() && signal.kind != SignalKind::Sweep)
        ShowNoFrequency();
    ApplyLoopDuration();
}

void Instrument::EndSweep() {
    if (!state_.sweep.active)
        return;
    state_.sweep.active = false;
    generator_.SetLoop(state_.sweep.loopBefore);
    PlaySignal(ChosenSignal());
}

void Instrument::ShowNoFrequency() {
    for (ChannelDisplay* d : {&state_.left, &state_.right})
        *d = ChannelDisplay{std::string(kNoThousands), std::string(kNoHundreds),
                            std::string(kNoUnits), d->amplitude};
}

void Instrument::ShowFrequency(int hz) {
    // As the dials show it: two digits of thousands, one of hundreds, two
    // of tens and units.
    const std::string thousands = Digits(hz / 1000 % 100, 2);
    const std::string hundreds = Digits(hz / 100 % 10, 1);
    const std::string units = Digits(hz % 100, 2);
    const DisplayState shown = Display();
    for (auto [display, lit] :
         {std::pair{&state_.left, shown.leftLit}, std::pair{&state_.right, shown.rightLit}}) {
        if (!lit)
            continue;
        display->thousands = thousands;
        display->hundreds = hundreds;
        display->units = units;
    }
}

void Instrument::ShowSweepAt(double seconds) {
    const SweepLaw law(state_.sweep.settings);
    // The tail that completes a repeated sweep's last cycle stays at its
    // end frequency.
    const double t = std::clamp(seconds, 0.0, law.DurationSeconds());
    ShowFrequency(static_cast<int>(std::lround(law.FrequencyAt(t))));
}

void Instrument::CorrectDials() {
    DialPositions& d = state_.dials;
    // 20 kHz is the top: the lower dials have nothing to add to it.
    if (d[kThousands].reading == kTopThousands) {
        d[kHundreds] = kZero;
        d[kUnits] = kZero;
    }
    // The 10 Hz step's last position would carry into the hundreds.
    if (d[kUnits].reading == kUnitsOverflow)
        d[kUnits] = kUnitsLast;
    state_.memory.Save(state_.channel, d);
}

// --- commands ---------------------------------------------------------------------

bool Instrument::Start() {
    return Command([this] {
        if (state_.running)
            return true;
        state_.running = true;
        Play();
        return true;
    });
}

bool Instrument::Stop() {
    return Command([this] {
        GiveUpMultitone();
        if (!state_.running && !state_.sweep.active && !state_.steps.active)
            return true;
        state_.running = false;
        generator_.Stop();
        stream_.reset();
        EndSweep();
        EndToneSets();
        return true;
    });
}

bool Instrument::SelectChannel(Channel channel) {
    return Command([this, channel] {
        if (channel == state_.channel)
            return true;
        state_.channel = channel;
        if (channel == Channel::Left)
            state_.dials = state_.memory.left;
        else if (channel == Channel::Right)
            state_.dials = state_.memory.right;
        else // both channels share one amplitude memory; the frequency dials stay
            state_.dials[kAmplitude] = state_.memory.bothAmplitude;
        LoadFine(channel);
        if (channel != Channel::Both)
            ApplyFrequency();
        ApplyLevels();
        Heard();
        return true;
    });
}

bool Instrument::SelectWaveform(TTGWave waveform) {
    return Command([this, waveform] {
        GiveUpMultitone();
        const bool signalChosen = state_.choices.signal != SignalKind::Tone;
        const bool toneSetLeft = LeaveToneSets();
        const bool shapeLeft = LeaveSineShapes(waveform == TTGWave::tgSine);
        if (waveform == state_.waveform && !signalChosen && !state_.sweep.active && !toneSetLeft &&
            !shapeLeft)
            return true;
        // The switch takes over from a signal the menu chose.
        state_.choices.signal = SignalKind::Tone;
        if (state_.sweep.active)
            EndSweep();
        state_.waveform = waveform;
        // The tone's signal: the bursts and the phase are the sine's.
        if (Precise())
            PlaySignal(ChosenSignal());
        // Noise has no frequency: both frequency displays show dashes.
        if (waveform == TTGWave::tgNoise)
            ShowNoFrequency();
        generator_.SetWaveform(waveform);
        ApplyLoopDuration();
        Heard();
        return true;
    });
}

bool Instrument::SelectSignal(SignalKind kind) {
    return Command([this, kind] {
        if (kind == SignalKind::Sweep || (!Precise() && kind != SignalKind::Tone))
            return false;
        GiveUpMultitone();
        const bool toneSetLeft = LeaveToneSets();
        const bool shapeLeft = LeaveSineShapes(kind == SignalKind::Tone);
        if (kind == state_.choices.signal && !state_.sweep.active && !toneSetLeft && !shapeLeft)
            return true;
        state_.choices.signal = kind;
        if (state_.sweep.active)
            EndSweep();
        else
            PlaySignal(ChosenSignal());
        Heard();
        return true;
    });
}

bool Instrument::SetStep(Step step) {
    return Command([this, step] {
        state_.step = step;
        return true;
    });
}

bool Instrument::MoveDials(const DialPositions& dials) {
    return Command([this, &dials] {
        ForgetTurnedFine(dials);
        state_.dials = dials;
        return true;
    });
}

bool Instrument::SetDials(const DialPositions& dials) {
    return Command([this, &dials] {
        PutDials(dials);
        return true;
    });
}

void Instrument::PutDials(const DialPositions& dials) {
    // A turned dial takes over from the fine setting it stood for.
    ForgetTurnedFine(dials);
    state_.dials = dials;
    state_.memory.Save(state_.channel, dials);
    SaveFine();
    // Dials put where they already sound play nothing new.
    const Sound before = SoundNow();
    if (generator_.Frequency() != GeneratorHertz() || streamed_ != StreamedFrequency())
        ApplyFrequency();
    ApplyLevels();
    if (SoundNow() != before)
        Heard();
}

bool Instrument::SetDial(Dial dial, DialPosition position) {
    DialPositions dials = state_.dials;
    dials[static_cast<std::size_t>(dial)] = position;
    return SetDials(dials);
}

bool Instrument::SetFrequency(int hz) {
    const int units = hz % 100;
    if (hz < kMinFrequency || hz > kMaxFrequency || (state_.step == Step::TenHz && units % 10 != 0))
        return false;
    DialPositions dials = state_.dials;
    const auto at = [](int reading) { return DialPosition{static_cast<float>(reading), reading}; };
    dials[kThousands] = at(hz / 1000);
    dials[kHundreds] = at(hz / 100 % 10);
    dials[kUnits] = at(units);
    return Command([this, &dials] {
        // A typed whole frequency replaces a fine one even where the dials
        // already stand.
        state_.fine.frequency.reset();
        PutDials(dials);
        return true;
    });
}

bool Instrument::Tick() {
    return Command([this] {
        // Noise has no frequency to show; the displays keep their dashes.
        if (state_.waveform == TTGWave::tgNoise)
            return true;
        const DisplayState shown = Display();
        const std::string amplitude = Digits(state_.dials[kAmplitude].reading, 3);
        // A measurement signal's frequency displays are its own; the
        // amplitude still follows its dial.
        const bool ownDigits = !PlaysMeasurementSignal() && !PlaysToneSet();
        if (ownDigits)
            CorrectDials();
        const DialPositions& d = state_.dials;
        // A fine frequency shows its whole hertz.
        const std::optional<MilliHertz>& fine = state_.fine.frequency;
        const int hz = fine ? static_cast<int>(fine->value / 1000) : 0;
        for (auto [display, lit] :
             {std::pair{&state_.left, shown.leftLit}, std::pair{&state_.right, shown.rightLit}}) {
            if (!lit)
                continue;
            display->amplitude = amplitude;
            if (!ownDigits)
                continue;
            display->thousands = Digits(fine ? hz / 1000 : d[kThousands].reading, 2);
            display->hundreds = Digits(fine ? hz / 100 % 10 : d[kHundreds].reading, 1);
            display->units = Digits(fine ? hz % 100 : d[kUnits].reading, 2);
        }
        return true;
    });
}

bool Instrument::ResetMemory() {
    return Command([this] {
        state_.memory = ChannelMemory{};
        return true;
    });
}

bool Instrument::StartSweep(const SweepSettings& sweep, bool repeat) {
    return Command([this, &sweep, repeat] {
        if (!Precise())
            return false;
        GiveUpMultitone();
        LeaveToneSets();
        LeaveSineShapes(false);
        if (!state_.sweep.active)
            state_.sweep.loopBefore = generator_.Loop();
        state_.sweep.active = true;
        state_.sweep.repeat = repeat;
        state_.sweep.settings = sweep;
        MeasurementSignal signal;
        signal.kind = SignalKind::Sweep;
        signal.sweep = sweep;
        // Repeated, the sweep runs on to its next whole cycle so that the
        // repetition joins it without a step.
        signal.sweep.joinLoop = repeat;
        generator_.SetLoop(repeat);
        PlaySignal(signal);
        state_.running = true;
        Play();
        return true;
    });
}

bool Instrument::FollowSweep() {
    if (!state_.sweep.active)
        return false;
    return Command([this] {
        const double duration = SweepLaw(state_.sweep.settings).DurationSeconds();
        double t = clock_() - state_.sweep.startedAt;
        if (!state_.sweep.repeat && t >= duration) {
            // One sweep has been heard: the instrument stops, which ends it.
            ShowSweepAt(duration);
            state_.running = false;
            generator_.Stop();
            stream_.reset();
            EndSweep();
            return true;
        }
        if (state_.sweep.periodSeconds > 0)
            t = std::fmod(t, state_.sweep.periodSeconds);
        ShowSweepAt(t);
        return true;
    });
}

bool Instrument::ChooseDevice(const std::string& name) {
    return Command([this, &name] {
        // The output moves what plays at once, without a gap.
        generator_.Output()->ChooseDevice(name);
        state_.choices.device = name;
        return true;
    });
}

bool Instrument::ChooseResolution(TTGResolution resolution) {
    return Command([this, resolution] {
        // The classic synthesis makes 16 bits (and 8).
        if (!Precise() && IsWideResolution(resolution))
            return false;
        if (resolution == state_.choices.resolution)
            return true;
        state_.choices.resolution = resolution;
        ApplyFormat();
        Heard();
        return true;
    });
}

bool Instrument::ChooseQuality(TTGQuality quality) {
    return Command([this, quality] {
        if (quality == state_.choices.quality && state_.choices.rate == 0 &&
            state_.choices.rateChosen)
            return true;
        state_.choices.quality = quality;
        state_.choices.rate = 0;
        state_.choices.rateChosen = true;
        ChangeRate();
        return true;
    });
}

bool Instrument::FollowOutputRate() {
    return Command([this] {
        if (!state_.choices.rateChosen)
            return true;
        state_.choices.rateChosen = false;
        state_.choices.quality = TTGQuality::tgHiQ;
        state_.choices.rate = 0;
        ChangeRate();
        return true;
    });
}

void Instrument::ChangeRate() {
    const int before = Rate();
    ApplyFormat();
    KeepFineInRange();
    Heard();
    // A rate the server resamples is said at once: the choice's outcome
    // takes the status line from the pointer's hint.
    if (Rate() != before && Display().resampling)
        state_.hint.clear();
}

bool Instrument::UseOutputReport(const OutputReport& report) {
    return Command([this, &report] {
        const auto voltsValid = [this] {
            const std::optional<ChannelReading> reading = ReadingOf(state_);
            return !reading || reading->voltsValid;
        };
        const bool validBefore = voltsValid();
        const int rateBefore = Rate();
        state_.output = report;
        ApplyFormat();
        if (Rate() != rateBefore) {
            KeepFineInRange();
            Heard();
        }
        // The volts turning invalid is news the status line gives at once.
        if (validBefore && !voltsValid())
            state_.hint.clear();
        return true;
    });
}

bool Instrument::ChooseRate(int rate) {
    if (!PlaysAtRate(rate, Precise()))
        return false;
    if (PlaysAtRate(rate, false))
        return ChooseQuality(rate == 44100 ? TTGQuality::tgLoQ : TTGQuality::tgHiQ);
    return Command([this, rate] {
        if (state_.choices.rate == rate && state_.choices.rateChosen)
            return true;
        state_.choices.quality = TTGQuality::tgHiQ;
        state_.choices.rate = rate;
        state_.choices.rateChosen = true;
        ChangeRate();
        return true;
    });
}

bool Instrument::UseChoices(OutputChoices choices) {
    return Command([this, &choices] {
        if (!Precise()) {
            if (IsWideResolution(choices.resolution))
                choices.resolution = TTGResolution::tg16Bit;
            choices.signal = SignalKind::Tone;
            choices.rate = 0;
        }
        if (!PlaysAtRate(choices.rate, true))
            choices.rate = 0;
        if (choices.signal == SignalKind::Sweep)
            choices.signal = SignalKind::Tone;
        if (!choices.device.empty()) {
            const auto devices = generator_.Output()->ListDevices();
            const OutputDevice* kept =
                devices ? FindOutputDevice(*devices, choices.device) : nullptr;
            if (kept)
                generator_.Output()->ChooseDevice(kept->name);
            else
                choices.device.clear(); // the server's default plays
        }
        state_.choices = choices;
        if (choices.signal != SignalKind::Tone)
            LeaveSineShapes(false);
        ApplyFormat();
        KeepFineInRange();
        PlaySignal(ChosenSignal());
        Heard();
        return true;
    });
}

bool Instrument::ShowHint(std::string hint) {
    return Command([this, &hint] {
        state_.hint = std::move(hint);
        return true;
    });
}

bool Instrument::SetSoundLost(bool lost) {
    return Command([this, lost] {
        state_.soundLost = lost;
        return true;
    });
}

} // namespace instrument
