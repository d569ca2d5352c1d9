// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole state of the generator as its user sees it, as one plain value:
// it can be copied (a preset), compared (did a command change anything) and
// shown by any front end.

#include "core/ChannelCalibration.h"
#include "engine/LevelUnit.h"
#include "engine/MilliHertz.h"
#include "engine/ToneGenTypes.h"
#include "engine/signals/MeasurementSignal.h"
#include "engine/signals/SweepSignal.h"
#include "engine/steps/StepSchedule.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace instrument {

enum class Channel { Left, Right, Both };
enum class Dial { Thousands, Hundreds, Units, Amplitude };
// The units dial's step.
enum class Step { OneHz, TenHz };

// Where a dial stands, and the whole number it shows there (a front end's
// dial decides how its positions read).
struct DialPosition {
    float value = 0;
    int reading = 0;
    bool operator==(const DialPosition&) const = default;
};

// Thousands, hundreds, tens-and-units and amplitude, in that order.
using DialPositions = std::array<DialPosition, 4>;

inline constexpr DialPositions kInitialDials{{{1.0f, 1}, {0.0f, 0}, {0.0f, 0}, {50.0f, 50}}};

// What a channel plays beyond its dials, kept until the dial it overrides
// is turned: a frequency between (or beyond) the dials' whole hertz, and a
// level as the user wrote it, in any unit.
struct FineSetting {
    std::optional<MilliHertz> frequency; // in place of the frequency dials
    std::optional<WrittenLevel> level;   // in place of the amplitude dial

    bool operator==(const FineSetting&) const = default;
};

// The dials each channel setting brings back: all four for the left and the
// right channel, the amplitude alone for both channels; with them, each
// channel's fine setting (both channels share the frequency, as they share
// the frequency dials, and keep a level of their own).
struct ChannelMemory {
    DialPositions left = kInitialDials;
    DialPositions right = kInitialDials;
    DialPosition bothAmplitude = kInitialDials[3];
    FineSetting leftFine;
    FineSetting rightFine;
    std::optional<WrittenLevel> bothLevel;

    void Save(Channel channel, const DialPositions& dials);
    void SaveFine(Channel channel, const FineSetting& fine);
    bool operator==(const ChannelMemory&) const = default;
};

// The output, the sample format and the measurement signal: what the
// panel's menu chooses, kept between runs.
struct OutputChoices {
    std::string device; // the output's name; empty: the server's default
    TTGResolution resolution = TTGResolution::tg16Bit;
    TTGQuality quality = TTGQuality::tgHiQ;
    // Tone: the waveform switch rules; else pink noise, SMPTE or CCIF.
    SignalKind signal = SignalKind::Tone;
    // The precise synthesis's own rates (48000, 88200, 176400, 192000) in
    // place of the quality's; 0: the quality's.
    int rate = 0;
    // Whether the rate (quality or own rate) was chosen. Until it is, the
    // precise synthesis plays at the output's own rate when the server
    // tells it, so that the server passes the samples through unresampled.
    bool rateChosen = false;

    bool operator==(const OutputChoices&) const = default;
};

// A sweep in progress and its clock.
struct SweepState {
    bool active = false;
    bool repeat = false;
    bool loopBefore = true; // the generator's loop before the sweep took it
    SweepSettings settings;
    double startedAt = 0; // on the instrument's clock, at the last start
    // How long the image takes before it repeats: a repeated sweep runs on
    // to the end of its last cycle.
    double periodSeconds = 0;

    bool operator==(const SweepState&) const = default;
};

// A stepped sweep in progress, played once through, and the step heard
// last (-1 before the first).
struct SteppedState {
    bool active = false;
    SteppedSweepSettings settings;
    int heardStep = -1;

    bool operator==(const SteppedState&) const = default;
};

// The multitone the menu's signals offer in place of the tone: tones per
// octave (or evenly, `linear`) from f1 to f2, or the list of a file
// (ToneListReader.h) when one is named, centred on the bins of an
// fftLength-point transform, at `level`: the RMS of the whole signal at
// the jack, in any unit (dBFS by AES17).
struct MultitoneChoice {
    bool chosen = false;
    double f1 = 20;
    double f2 = 20000;
    int tones = 3; // per octave, or in all when linear
    bool linear = false;
    std::string tonesFile; // the list's path; empty: f1, f2 and tones place them
    int fftLength = 65536;
    WrittenLevel level{-10, LevelUnit::DbFs};

    bool operator==(const MultitoneChoice&) const = default;
};

// What one channel's displays show.
struct ChannelDisplay {
    std::string thousands = "01";
    std::string hundreds = "0";
    std::string units = "00";
    std::string amplitude = "050";

    bool operator==(const ChannelDisplay&) const = default;
};

// The chosen output as the sound server last reported it: each channel's
// volume (none: not known) and the rate it runs at (0: not known).
struct OutputReport {
    std::optional<std::uint32_t> leftVolume;
    std::optional<std::uint32_t> rightVolume;
    int rate = 0;

    bool operator==(const OutputReport&) const = default;
};

struct InstrumentState {
    DialPositions dials = kInitialDials; // where the dials stand now
    FineSetting fine;                    // what overrides them now
    ChannelMemory memory;
    Channel channel = Channel::Both;
    TTGWave waveform = TTGWave::tgSine;
    Step step = Step::TenHz;
    bool running = false;
    OutputChoices choices;
    SweepState sweep;
    SteppedState steps;
    MultitoneChoice multitone;
    // A multitone being made (by a choice, or a preset's recall): what
    // plays goes on until it is ready.
    std::optional<MultitoneChoice> makingMultitone;
    // The steady sine's own shapes: tone bursts in place of the steady tone
    // (none: the steady tone), and the right output's lag behind the left
    // in tenths of a degree (0..3600).
    std::optional<BurstSettings> burst;
    int rightLagTenths = 0;
    // The displays change at the tick, with noise, with a measurement
    // signal and as a sweep goes on, not at every turn of a dial.
    ChannelDisplay left;
    ChannelDisplay right;
    // The untranslated sentence that explains the control under the
    // pointer, and whether the sound reaches no server (the notice then
    // takes the status line).
    std::string hint;
    bool soundLost = false;
    // The chosen output's level calibration (none: volts are not known).
    OutputCalibration calibration;
    OutputReport output;

    bool operator==(const InstrumentState&) const = default;
};

// What the status line says of the selected channel when no hint takes it:
// its exact frequency while that is not whole hertz, and its level in volts
// once the output is calibrated.
struct ChannelReading {
    Channel channel = Channel::Both;
    MilliHertz frequency;
    std::optional<double> rmsVolts; // a sine's, at the jack
    std::optional<double> dbu;
    // False once the output's volume differs from the calibration's: the
    // meter reading, and every volt figure from it, no longer hold.
    bool voltsValid = true;

    bool operator==(const ChannelReading&) const = default;
};

// What a front end shows, derived from the state.
struct DisplayState {
    ChannelDisplay left;
    ChannelDisplay right;
    bool leftLit = true;
    bool rightLit = true;
    Channel channel = Channel::Both;
    TTGWave waveform = TTGWave::tgSine;
    Step step = Step::TenHz;
    DialPositions dials = kInitialDials;
    std::string status; // untranslated
    // Shown when `status` is empty.
    std::optional<ChannelReading> reading;
    // The rate played and the output's own, when they differ: the server
    // resamples the sound.
    struct Resampling {
        int played = 0;
        int output = 0;
        bool operator==(const Resampling&) const = default;
    };
    std::optional<Resampling> resampling;
    bool startEnabled = true;
    bool stopEnabled = false;

    bool operator==(const DisplayState&) const = default;
};

DisplayState Display(const InstrumentState& state);

} // namespace instrument
