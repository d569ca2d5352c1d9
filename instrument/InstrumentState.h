// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole state of the generator as its user sees it, as one plain value:
// it can be copied (a preset), compared (did a command change anything) and
// shown by any front end.

#include "engine/ToneGenTypes.h"
#include "engine/signals/MeasurementSignal.h"
#include "engine/signals/SweepSignal.h"

#include <array>
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

// The dials each channel setting brings back: all four for the left and the
// right channel, the amplitude alone for both channels.
struct ChannelMemory {
    DialPositions left = kInitialDials;
    DialPositions right = kInitialDials;
    DialPosition bothAmplitude = kInitialDials[3];

    void Save(Channel channel, const DialPositions& dials);
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

// What one channel's displays show.
struct ChannelDisplay {
    std::string thousands = "01";
    std::string hundreds = "0";
    std::string units = "00";
    std::string amplitude = "050";

    bool operator==(const ChannelDisplay&) const = default;
};

struct InstrumentState {
    DialPositions dials = kInitialDials; // where the dials stand now
    ChannelMemory memory;
    Channel channel = Channel::Both;
    TTGWave waveform = TTGWave::tgSine;
    Step step = Step::TenHz;
    bool running = false;
    OutputChoices choices;
    SweepState sweep;
    // The displays change at the tick, with noise, with a measurement
    // signal and as a sweep goes on, not at every turn of a dial.
    ChannelDisplay left;
    ChannelDisplay right;
    // The untranslated sentence that explains the control under the
    // pointer, and whether the sound reaches no server (the notice then
    // takes the status line).
    std::string hint;
    bool soundLost = false;

    bool operator==(const InstrumentState&) const = default;
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
    bool startEnabled = true;
    bool stopEnabled = false;

    bool operator==(const DisplayState&) const = default;
};

DisplayState Display(const InstrumentState& state);

} // namespace instrument
