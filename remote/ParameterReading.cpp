// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ParameterReading.h"

#include "remote/ScpiError.h"

#include <cmath>

namespace remote {
namespace {

const Mnemonic kMinimum("MINimum");
const Mnemonic kMaximum("MAXimum");
const Mnemonic kDefault("DEFault");

void ExpectKind(const Parameter& parameter, Parameter::Kind kind) {
    if (parameter.kind != kind)
        ThrowScpiError(kDataTypeError);
}

// The limit a word stands for; throws -224 for any other word.
std::int64_t LimitNamed(const std::string& word, const StepLimits& limits) {
    if (kMinimum.Matches(word))
        return limits.lowest;
    if (kMaximum.Matches(word))
        return limits.highest;
    if (kDefault.Matches(word))
        return limits.standard;
    ThrowScpiError(kIllegalParameterValue, "MIN, MAX or DEF");
}

} // namespace

bool ReadSwitch(const Parameter& parameter) {
    if (parameter.kind == Parameter::Kind::Word) {
        if (parameter.word == "ON")
            return true;
        if (parameter.word == "OFF")
            return false;
        ThrowScpiError(kIllegalParameterValue, "ON or OFF");
    }
    ExpectKind(parameter, Parameter::Kind::Number);
    if (!parameter.unit.empty())
        ThrowScpiError(kInvalidSuffix);
    DecimalNumber::Scaling scaling{};
    const std::optional<std::int64_t> value = parameter.number->Scaled(0, scaling);
    if (value != 0 && value != 1)
        ThrowScpiError(kIllegalParameterValue, "1 or 0");
    return *value == 1;
}

std::size_t ReadChoice(const Parameter& parameter, std::span<const Mnemonic> words) {
    ExpectKind(parameter, Parameter::Kind::Word);
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i].Matches(parameter.word))
            return i;
    std::string list;
    for (const Mnemonic& word : words)
        list += (list.empty() ? "" : " ") + word.ShortForm();
    ThrowScpiError(kIllegalParameterValue, list);
}

std::int64_t ReadSteps(const Parameter& parameter, std::span<const StepUnit> units,
                       const StepLimits& limits) {
    if (parameter.kind == Parameter::Kind::Word)
        return LimitNamed(parameter.word, limits);
    ExpectKind(parameter, Parameter::Kind::Number);
    const StepUnit* unit = nullptr;
    for (const StepUnit& u : units)
        if (u.unit == parameter.unit)
            unit = &u;
    if (unit == nullptr)
        ThrowScpiError(kInvalidSuffix);
    DecimalNumber::Scaling scaling{};
    const std::optional<std::int64_t> steps = parameter.number->Scaled(unit->power, scaling);
    if (scaling == DecimalNumber::Scaling::NotWhole)
        ThrowScpiError(kDataOutOfRange, "too many decimals; " + limits.range);
    if (!steps || *steps < limits.lowest || *steps > limits.highest)
        ThrowScpiError(kDataOutOfRange, limits.range);
    return *steps;
}

std::optional<std::int64_t> AskedLimit(std::span<const Parameter> parameters,
                                       const StepLimits& limits) {
    if (parameters.empty())
        return std::nullopt;
    if (parameters.size() > 1)
        ThrowScpiError(kParameterNotAllowed);
    ExpectKind(parameters.front(), Parameter::Kind::Word);
    return LimitNamed(parameters.front().word, limits);
}

double ReadReal(const Parameter& parameter, std::span<const RealUnit> units) {
    if (parameter.kind == Parameter::Kind::Word)
        ThrowScpiError(kIllegalParameterValue, "a number");
    ExpectKind(parameter, Parameter::Kind::Number);
    for (const RealUnit& u : units) {
        if (u.unit != parameter.unit)
            continue;
        const double value = parameter.number->Value() * u.factor;
        if (!std::isfinite(value))
            ThrowScpiError(kDataOutOfRange);
        return value;
    }
    ThrowScpiError(kInvalidSuffix);
}

} // namespace remote
