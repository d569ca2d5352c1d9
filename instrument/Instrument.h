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

#include "instrument/InstrumentState.h"
#include "instrument/Preset.h"
#include "instrument/PresetRecall.h"

#include <functional>
#include <map>
#include <string>

class TToneGen;

namespace instrument {

// Shown in place of the hints while the generator plays but no sound
// reaches a sound server.
inline constexpr const char* kNoSoundOutput = "Нет вывода звука: звуковой сервер не отвечает";

class Instrument {
public:
    // Seconds on a steady clock.
    using Clock = std::function<double()>;
    using Observer = std::function<void()>;

    // Drives `generator`, which outlives the instrument and starts as the
    // instrument does (1000 Hz, both channels at 50, looped: the panel's
    // stored layout sets it so).
    explicit Instrument(TToneGen& generator, Clock clock = SteadySeconds);
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    static double SteadySeconds();

    const InstrumentState& State() const { return state_; }
    DisplayState Display() const { return instrument::Display(state_); }
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

    bool ChooseDevice(const std::string& name);
    bool ChooseResolution(TTGResolution resolution);
    bool ChooseQuality(TTGQuality quality);
    // Samples per second, one of kPreciseRates; the classic synthesis
    // plays 44100 and 96000 only (false for the others).
    bool ChooseRate(int rate);
    // Choices kept from an earlier run: what the synthesis cannot play, and
    // an output the server no longer has, give the defaults.
    bool UseChoices(OutputChoices choices);

    // The state as a preset called `name`: what sounds, on which channels,
    // and the output's choices.
    Preset CapturePreset(std::string name) const;
    // The preset in one command: what it holds replaces the state, the rest
    // stays, and a change is heard once (a sweep starts). Refused whole when
    // one setting cannot be played here; an output that is gone gives the
    // server's default.
    PresetRecallResult RecallPreset(const Preset& preset);

    bool ShowHint(std::string hint);
    bool SetSoundLost(bool lost);

    // True while the generator plays a measurement signal in place of the
    // tone: the frequency displays are not the dials' then.
    bool PlaysMeasurementSignal() const;

private:
    // Runs `change`; observers hear of it if the state changed.
    template <class Change> bool Command(Change&& change);
    bool RunCommand(const std::function<bool()>& change);
    // Why the instrument cannot take one of the preset's settings; empty
    // when it takes them all.
    std::string PresetRefusal(const Preset& preset) const;
    // Puts the preset's settings in place, without playing.
    void PlacePreset(const Preset& preset, bool& outputGone);
    bool Precise() const;
    void Play();
    void Heard();
    void ApplyLevels();
    void ApplyFrequency();
    void ApplyLoopDuration();
    void ApplyFormat();
    void PlaySignal(const MeasurementSignal& signal);
    // Ends a sweep in progress without playing: the caller plays once.
    void EndSweep();
    MeasurementSignal ChosenSignal() const;
    void ShowNoFrequency();
    void ShowFrequency(int hz);
    void ShowSweepAt(double seconds);
    void CorrectDials();

    TToneGen& generator_;
    Clock clock_;
    InstrumentState state_;
    std::map<int, Observer> observers_;
    int nextObserver_ = 0;
    int notifying_ = 0;
};

} // namespace instrument
