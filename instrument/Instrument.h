// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signal generator as its user knows it: the commands of its front
// panel and menu in the instrument's own words, the rules that tie them
// together (each channel's own dial memory, the dials' corrections at the
// top of the range, a change heard at once while running), the tone
// generator they drive, and the state every front end shows.
//
// Every command returns whether it was accepted; a refused command changes
// nothing. A command that leaves the state as it was tells no observer and
// plays nothing; one that changes what sounds while running starts the
// generator again once.

#include "engine/FrameSource.h"
#include "engine/LevelRefusal.h"
#include "engine/StreamedTone.h"
#include "instrument/InstrumentState.h"
#include "instrument/MultitoneJob.h"
#include "instrument/MultitonePlan.h"
#include "instrument/Preset.h"
#include "instrument/PresetRecall.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class RetunableTone;
class SteppedSweepSource;
class TToneGen;

namespace instrument {

// Shown in place of the hints while the generator plays but no sound
// reaches a sound server.
inline constexpr const char* kNoSoundOutput = "Нет вывода звука: звуковой сервер не отвечает";
// Shown in place of the hints while a multitone is being made.
inline constexpr const char* kMakingMultitone = "Расчёт мультитона…";

class Instrument {
public:
    // Seconds on a steady clock.
    using Clock = std::function<double()>;
    using Observer = std::function<void()>;

    // Drives `generator`, which outlives the instrument and starts as the
    // instrument does (1000 Hz, both channels at 50, looped: the panel's
    // stored layout sets it so).
    explicit Instrument(TToneGen& generator, Clock clock = SteadySeconds);
    // Stops a streamed signal before its source goes.
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    static double SteadySeconds();

    const InstrumentState& State() const { return state_; }
    // With the note that the server resamples, when the rate played is not
    // the output's own.
    DisplayState Display() const;
    // What plays, for reading only (export, the device list).
    const TToneGen& Generator() const { return generator_; }

    // Observers hear of every change of the state, after it. The number
    // unsubscribes.
    int Subscribe(Observer observer);
    void Unsubscribe(int id);

    bool Start();
    bool Stop();
    bool SelectChannel(Channel channel);
    // The waveform switch; it takes over from a measurement signal.
    bool SelectWaveform(TTGWave waveform);
    // A measurement signal, or the switch's tone back (SignalKind::Tone);
    // a sweep in progress ends. Precise synthesis only.
    bool SelectSignal(SignalKind kind);
    bool SetStep(Step step);
    // The dials moved and the move goes on: the displays follow at the
    // tick, the sound once the move ends.
    bool MoveDials(const DialPositions& dials);
    // The dials' move ended where they stand: the selected channel remembers
    // them, and what they set is heard. Positions that set what already
    // sounds play nothing.
    bool SetDials(const DialPositions& dials);
    bool SetDial(Dial dial, DialPosition position);
    // Puts the frequency dials at `hz` (whole hertz the step can show).
    bool SetFrequency(int hz);
    // The displays' tick: the dials' corrections and the displays follow.
    bool Tick();
    // Back to the dial positions the instrument starts with.
    bool ResetMemory();

    // A sweep plays on the selected channel, once or over and over, and
    // starts the generator if it was stopped. Precise synthesis only.
    bool StartSweep(const SweepSettings& sweep, bool repeat);
    // The sweep's displays follow its clock; a sweep played once stops the
    // instrument once it has been heard.
    bool FollowSweep();
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // A stepped sweep plays once through on the selected channel, changing
    // at zero crossings, and starts the generator if it was stopped; a
    // sweep in progress ends. Precise synthesis only; refused when the
    // steps cannot be played at the generator's rate.
    bool StartSteps(const SteppedSweepSettings& steps);
    // The frequency displays show the step the output has played last; the
    // instrument stops once the last step has been heard. The output stops
    // later, once what it had queued by then (silence after the last step)
    // has been heard too, or has had the time to be: a play position
    // reported ahead of the sound then cuts nothing of the last step.
    bool FollowSteps();
    // A stepped sweep plays, or its end plays out: FollowSteps is wanted.
    bool FollowsSteps() const { return state_.steps.active || playOut_.has_value(); }
    // Where multitones are made (MultitoneJob.h); none: at once, inside
    // the command that asks for one.
    void SetMultitoneExecutor(MultitoneExecutor executor) { executor_ = std::move(executor); }
    // Told once a multitone asked for is made, or refused, with its plan;
    // not when a newer request came first.
    using MultitoneOutcome = std::function<void(const MultitonePlan& plan)>;
    // The multitone plays in place of the tone, whose frequency displays
    // show dashes, until the waveform switch or another signal is chosen.
    // Precise synthesis only. Its period is made first (by the executor):
    // what plays goes on meanwhile, and the newest request wins: another
    // multitone or preset, another signal, a sweep, the steps or a stop
    // gives it up, and a plan made for a request given up is never played.
    // False when refused at once (the classic synthesis; without an
    // executor, also when it cannot be made). `outcome` runs after the
    // command that takes the plan (or refuses it).
    bool SelectMultitone(MultitoneChoice multitone, MultitoneOutcome outcome = nullptr);
    // The multitone as it would play here now (rate, calibration, channels),
    // with its crest factor, or why it cannot: for a front end to show
    // before it is chosen.
    MultitonePlan MakeMultitonePlan(const MultitoneChoice& multitone) const;
    // The same plan made by the executor, as SelectMultitone's: `shown`
    // hears it, unless a newer check came first. Plays nothing.
    void CheckMultitone(const MultitoneChoice& multitone, MultitoneOutcome shown);
    // Tone bursts of the sine in place of the steady tone, or the steady
    // tone back (none); new cycles start the bursts again. The right
    // output's lag behind the left, 0 to 3600 tenths of a degree. Both are
    // the steady sine's (precise synthesis only): refused while the
    // waveform switch is not at the sine or a signal, a sweep, a stepped
    // sweep or the multitone plays, and each refuses the other. Leaving the
    // sine ends the bursts and puts the outputs back in phase; a fine
    // frequency plays them streamed at its exact phase.
    bool SetBurst(std::optional<BurstSettings> burst);
    bool SetRightPhase(int tenths);
    // A stepped sweep or a multitone is chosen: the output streams it.
    bool PlaysToneSet() const { return state_.steps.active || state_.multitone.chosen; }

    bool ChooseDevice(const std::string& name);
    bool ChooseResolution(TTGResolution resolution);
    bool ChooseQuality(TTGQuality quality);
    // Samples per second, one of kPreciseRates; the classic synthesis
    // plays 44100 and 96000 only (false for the others).
    bool ChooseRate(int rate);
    // No rate chosen: the precise synthesis plays at the output's own rate
    // once the output's report tells it (and the frequencies fit it).
    bool FollowOutputRate();
    // What the server reports of the chosen output now: its volume, which
    // the volts' validity follows, and its rate.
    bool UseOutputReport(const OutputReport& report);
    // Choices kept from an earlier run: what the synthesis cannot play, and
    // an output the server no longer has, give the defaults.
    bool UseChoices(OutputChoices choices);

    // The state as a preset called `name`: what sounds, on which channels,
    // and the output's choices.
    Preset CapturePreset(std::string name) const;
    // The preset in one command: what it holds replaces the state, the rest
    // stays, and a change is heard once (a sweep starts). Refused whole when
    // one setting cannot be played here; an output that is gone gives the
    // server's default. A preset with a multitone is taken once its period
    // is made, as SelectMultitone's: the result says `pending`, and `later`
    // hears the final result then.
    PresetRecallResult RecallPreset(const Preset& preset,
                                    std::function<void(const PresetRecallResult&)> later = nullptr);

    bool ShowHint(std::string hint);
    bool SetSoundLost(bool lost);

    // True while the generator plays a measurement signal in place of the
    // tone: the frequency displays are not the dials' then.
    bool PlaysMeasurementSignal() const;

    // Fine frequency and exact levels (precise synthesis only; the classic
    // one refuses them). A frequency on the 1 mHz grid within
    // FrequencyRange::AtRate of the rate in use takes the place of the
    // frequency dials until one of them is turned; a frequency that is not
    // whole hertz, or lies beyond the dials' range, is streamed at its exact
    // phase, and a change while it plays continues that phase. A level in
    // any unit takes the place of the amplitude dial until it is turned,
    // the dial standing at its nearest position meanwhile; a level the
    // output cannot play (above full scale, or in volts without a
    // calibration) is refused.
    //
    // For the selected channel (both channels share the frequency).
    bool SetExactFrequency(MilliHertz frequency);
    bool SetExactLevel(const WrittenLevel& level);
    // For the left or the right channel, selected or not (Both is refused):
    // one that is not selected keeps the setting for when it is.
    bool SetFrequencyOf(Channel channel, MilliHertz frequency);
    bool SetLevelOf(Channel channel, const WrittenLevel& level);
    // What the channel plays when selected: its exact frequency, else its
    // dials' whole hertz.
    MilliHertz FrequencyOf(Channel channel) const;
    // The channel's exact level; none while its amplitude dial sets it.
    std::optional<WrittenLevel> LevelOf(Channel channel) const;
    // Why that level would be refused for the channel (None: it would not).
    LevelRefusal LevelRefusalOf(Channel channel, const WrittenLevel& level) const;
    // The chosen output's level calibration, which levels in volts follow;
    // an exact level it can no longer play gives way to the dial.
    bool UseCalibration(const OutputCalibration& calibration);
    // The tone streamed between whole hertz while it plays (or would, once
    // started), with its peaks, as a file in the generator's format holds
    // it; none while the generator's image plays.
    std::optional<StreamedToneSettings> StreamSettings() const;

private:
    // Runs `change`; observers hear of it if the state changed.
    template <class Change> bool Command(Change&& change);
    bool RunCommand(const std::function<bool()>& change);
    // Why the instrument cannot take one of the preset's settings; empty
    // when it takes them all.
    std::string PresetRefusal(const Preset& preset) const;
    // Puts the preset's settings in place, without playing.
    void PlacePreset(const Preset& preset, std::shared_ptr<const Multitone> multitone,
                     bool& outputGone);
    bool Precise() const;
    void Play();
    void Heard();
    void ApplyLevels();
    void ApplyFrequency();
    void ApplyLoopDuration();
    void ApplyFormat();
    // A rate chosen: the format, the fine frequencies it holds, and the
    // sound follow.
    void ChangeRate();
    void PlaySignal(const MeasurementSignal& signal);
    // Ends a sweep in progress without playing: the caller plays once.
    void EndSweep();
    MeasurementSignal ChosenSignal() const;
    void ShowNoFrequency();
    void ShowFrequency(int hz);
    void ShowSweepAt(double seconds);
    void CorrectDials();

    // What is given to the generator (or the stream) for the levels: each
    // channel's volume and the peak of the signal, with the level word that
    // replaces the volumes' when the two channels need levels that whole
    // percents cannot say.
    struct Levels {
        std::int16_t left = 0;
        std::int16_t right = 0;
        double peak = 1; // a share of full scale
        // A stereo stream's right channel: its own peak in the samples.
        double rightPeak = 1;
        std::optional<std::uint32_t> word;
        bool operator==(const Levels&) const = default;
    };
    // What sounds, as far as a command can change it.
    struct Sound {
        int hertz = 0;
        std::optional<MilliHertz> streamed;
        Levels levels;
        bool operator==(const Sound&) const = default;
    };
    Sound SoundNow() const;
    Levels LevelsNow() const;
    int Rate() const;
    // The output's own rate when the synthesis plays at it (no rate chosen),
    // else 0.
    int FollowedOutputRate() const;
    // The exact frequency to stream, if the tone needs one.
    std::optional<MilliHertz> StreamedFrequency() const;
    // The whole hertz the generator is given.
    int GeneratorHertz() const;
    // The tone streamed as it plays: stereo, each channel at its own peak.
    std::optional<StreamedToneSettings> PlayedStreamSettings() const;
    // The format a fine tone streams in.
    WaveFormat StreamFormat() const;
    // A stream with the state's tone plays; false when the output cannot
    // stream it (the generator plays then).
    bool PlayStreamed();
    // The stream that plays takes the change in place; false when it cannot.
    bool RetuneStream();
    void EndStream();
    // SetDials' change, inside a command.
    void PutDials(const DialPositions& dials);
    void ForgetTurnedFine(const DialPositions& dials);
    void SaveFine();
    void LoadFine(Channel channel);
    void KeepFineInRange();
    bool Playable(Channel channel, const WrittenLevel& level) const;

    // The stepped sweep and the multitone (in ToneSetCommands.cpp): they
    // are streamed to the output rather than played as a loop. PlayToneSet
    // is false when neither is chosen; LeaveToneSets forgets them (true
    // when one was chosen) without stopping the sound.
    bool PlayToneSet();
    bool LeaveToneSets();
    void EndToneSets();
    // After a stepped sweep's end: stops the output once its queue has
    // played out.
    void PlayOutSteps();
    // Inside a command: a multitone to be made for `rate` and `channel`,
    // giving up the one asked before. `made` takes its plan inside the
    // command that receives it, `after` runs after that command. Without
    // an executor it is made at once: the caller runs what is returned
    // once its command has ended.
    std::function<void()> AskMultitone(const MultitoneChoice& choice, int rate, Channel channel,
                                       std::function<void(MultitonePlan&)> made,
                                       std::function<void(const MultitonePlan&)> after);
    // Inside a command: the plan asked for last goes to its taker; returns
    // what runs after the command.
    std::function<void()> ReceiveMultitone(MultitonePlan& plan);
    // The work of making `choice`'s plan as it would play at `rate` on
    // `channel`, giving up once `givenUp` is set.
    std::function<std::optional<MultitonePlan>()>
    MultitoneWork(const MultitoneChoice& choice, int rate, Channel channel,
                  std::shared_ptr<std::atomic<bool>> givenUp) const;
    // The executor's hand-back: plays nothing of a request given up.
    void TakeMultitone(std::uint64_t request, MultitonePlan plan);
    // The multitone being made is wanted no more.
    void GiveUpMultitone();
    // Puts a made multitone in place of what plays.
    void PlaceMultitone(const MultitoneChoice& choice, MultitonePlan& plan);
    // The bursts and the phase (in SineShapeCommands.cpp). LeaveSineShapes
    // forgets them for a signal that is not the steady sine (the phase stays
    // while `sineStays`); true when the signal changed.
    bool SteadySine() const;
    bool LeaveSineShapes(bool sineStays);

    TToneGen& generator_;
    Clock clock_;
    // The stepped sweep's or multitone's stream, kept until the output
    // reads it no more (after a later play, stream or stop).
    std::unique_ptr<FrameSource> toneSetStream_;
    SteppedSweepSource* steps_ = nullptr;
    std::shared_ptr<const Multitone> multitone_;
    bool toneSetStreaming_ = false;
    // A stepped sweep's end heard, its stream still read: the frames
    // rendered by then, and the time by which they have played at its rate.
    struct StepsPlayOut {
        std::uint64_t frames = 0;
        double until = 0;
    };
    std::optional<StepsPlayOut> playOut_;
    // The stepped sweep's frames heard, as told but never faster than the
    // clock, and when the output was last asked.
    double stepsHeard_ = 0;
    double stepsAskedAt_ = 0;
    // The multitone being made: its request's number (newer ones count
    // up), how to tell its work to give up, and what takes its plan.
    MultitoneExecutor executor_;
    std::uint64_t multitoneRequest_ = 0;
    std::shared_ptr<std::atomic<bool>> multitoneGivenUp_;
    std::function<void(MultitonePlan&)> multitoneMade_;
    std::function<void(const MultitonePlan&)> multitoneAfter_;
    // The same for the newest check.
    std::uint64_t checkRequest_ = 0;
    std::shared_ptr<std::atomic<bool>> checkGivenUp_;
    // A plan handed back after the instrument has gone finds this expired.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    InstrumentState state_;
    std::map<int, Observer> observers_;
    int nextObserver_ = 0;
    int notifying_ = 0;
    // What was last given to the generator and the stream.
    std::optional<MilliHertz> streamed_;
    Levels levels_;
    // The fine tone's stream the output plays (while it does), with what it
    // was made for.
    std::unique_ptr<RetunableTone> stream_;
    TTGWave streamWave_ = TTGWave::tgSine;
    std::optional<BurstSettings> streamBurst_;
    int streamLag_ = 0;
    // The generator was made stereo for the right output's phase.
    bool stereoForPhase_ = false;
    std::uint32_t streamWord_ = 0;
    int streamBytesPerFrame_ = 0;
    int streamRate_ = 0;
    bool streamStereo_ = false;
};

// In the header, so that the commands kept in other files run the same way.
template <class Change> bool Instrument::Command(Change&& change) {
    const InstrumentState before = state_;
    const bool accepted = change();
    if (state_ != before) {
        // An observer may unsubscribe (or subscribe) while it is told.
        const auto observers = observers_;
        for (const auto& [id, observer] : observers)
            if (observers_.count(id))
                observer();
    }
    return accepted;
}

} // namespace instrument
