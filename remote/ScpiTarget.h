// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a remote client may ask of the instrument, in the instrument's own
// terms. The protocol reads a command and checks its form; the target
// decides whether the instrument can do it and does it.
//
// The remote view of the settings is one plain value: a command reads the
// current value, changes the fields it names and applies the whole. Apply
// changes everything or nothing, and a change is heard at once while the
// instrument plays (phase-continuous as from the panel).

#include "engine/LevelUnit.h"
#include "engine/MilliHertz.h"

#include <cstdint>
#include <optional>
#include <string>

namespace remote {

// The protocol's channel numbers: 1 is the left output, 2 the right.
enum class Output : std::uint8_t { Left = 1, Right = 2 };

enum class Function : std::uint8_t {
    Sine,
    Square,
    Triangle,
    Ramp,
    Noise,
    Pink,
    Smpte,
    Ccif,
    Multitone
};

struct ChannelSettings {
    bool on = true;
    MilliHertz frequency = MilliHertz::FromHertz(1000);
    // As the client wrote it; the target converts volts and dB(u|V) with the
    // output's calibration.
    WrittenLevel level{-20, LevelUnit::DbFs};

    bool operator==(const ChannelSettings&) const = default;
};

struct SweepRequest {
    bool on = false;
    MilliHertz start = MilliHertz::FromHertz(20);
    MilliHertz stop = MilliHertz::FromHertz(20000);
    double seconds = 10;
    bool linear = false;

    bool operator==(const SweepRequest&) const = default;
};

struct BurstRequest {
    bool on = false;
    int cycles = 10;    // sounding
    int offCycles = 90; // silent

    bool operator==(const BurstRequest&) const = default;
};

struct StepsRequest {
    bool on = false;
    MilliHertz start = MilliHertz::FromHertz(100);
    MilliHertz stop = MilliHertz::FromHertz(10000);
    int count = 10;
    int dwellMs = 1000;
    bool linear = false;
    bool upDown = false;

    bool operator==(const StepsRequest&) const = default;
};

struct RemoteSettings {
    ChannelSettings left;
    ChannelSettings right;
    // One function for both outputs: either channel's number sets it.
    Function function = Function::Sine;
    double rightPhaseDegrees = 0; // the right output's lag behind the left
    SweepRequest sweep;
    BurstRequest burst;
    StepsRequest steps;

    bool operator==(const RemoteSettings&) const = default;
};

// A refused request: a standard error code of the protocol (-221 "Settings
// conflict", -222 "Data out of range", -200 "Execution error", ...) and
// what the client should know about it. Code 0: done.
struct Refusal {
    int code = 0;
    std::string detail;

    bool Refused() const { return code != 0; }
};

class ScpiTarget {
public:
    virtual ~ScpiTarget() = default;

    // The program's version, as "*IDN?" and "SYSTem:VERSion?" give it.
    virtual std::string Version() const = 0;

    virtual RemoteSettings Current() const = 0;
    // Both outputs off means stopped; any output on plays.
    virtual Refusal Apply(const RemoteSettings& wanted) = 0;
    // The instrument's settings on starting, stopped.
    virtual Refusal Reset() = 0;

    // The frequencies a tone may have at the output's rate now.
    virtual FrequencyRange Frequencies() const = 0;
    // The level an output plays at in `unit`; none when the unit needs a
    // calibration the output does not have.
    virtual std::optional<double> LevelIn(Output output, LevelUnit unit) const = 0;

    // The presets named "1" to "9".
    virtual Refusal Save(int slot) = 0;
    virtual Refusal Recall(int slot) = 0;

    // The frequency an output sounds now: its setting, or the step a
    // stepped sweep has reached (as the panel's displays show it).
    virtual MilliHertz FrequencyHeard(Output output) const {
        const RemoteSettings now = Current();
        return (output == Output::Right ? now.right : now.left).frequency;
    }

    // Returns once every change applied so far is queued to the output.
    virtual void WaitUntilQueued() = 0;
    // An operation with an end is under way (a stepped sweep playing through):
    // *OPC? and *WAI hold the client's later commands until it has ended.
    virtual bool OperationPending() const { return false; }
    // The program ends, fading out.
    virtual void Shutdown() = 0;
};

} // namespace remote
