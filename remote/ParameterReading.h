// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a command reads its parameter: a switch, one of a list of words, a
// whole number of a setting's steps (a frequency's millihertz) or a real
// number, each in the units the setting takes. Each throws the standard
// error when the parameter is not such a value: -104 for the wrong kind of
// parameter, -131 for a unit the setting does not take, -222 for a value
// out of range or finer than the setting's step, -224 for a word not in
// the list.

#include "remote/Mnemonic.h"
#include "remote/Parameter.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace remote {

// ON, OFF, 1 or 0.
bool ReadSwitch(const Parameter& parameter);

// The index of the word the parameter is in `words` (written as the
// command table writes keywords: "SINusoid").
std::size_t ReadChoice(const Parameter& parameter, std::span<const Mnemonic> words);

// A unit a number may carry and the power of ten that takes a number in it
// to the setting's steps: the frequency's millihertz are "HZ" 3 and "KHZ"
// 6. The empty unit stands for a number written without one.
struct StepUnit {
    std::string_view unit;
    int power;
};

struct StepLimits {
    std::int64_t lowest;
    std::int64_t highest;
    std::int64_t standard; // DEFault
    std::string range;     // for the client: "1 Hz to 20000 Hz"
};

// A whole number of steps within the limits; MINimum, MAXimum and DEFault
// stand for the limits and the standard value.
std::int64_t ReadSteps(const Parameter& parameter, std::span<const StepUnit> units,
                       const StepLimits& limits);

// For a query that may ask for a limit ("FREQ? MAX"): the limit asked
// for, or none when the query has no parameter.
std::optional<std::int64_t> AskedLimit(std::span<const Parameter> parameters,
                                       const StepLimits& limits);

// A unit a real number may carry and the factor that takes it to the
// setting's unit.
struct RealUnit {
    std::string_view unit;
    double factor;
};

// A finite real number in one of the units.
double ReadReal(const Parameter& parameter, std::span<const RealUnit> units);

} // namespace remote
