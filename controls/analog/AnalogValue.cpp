// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/AnalogValue.h"

#include "controls/paint/RoundEven.h"

float TAnalogValue::LimitValue(float value) const {
    if (value > settings_.ValueTo())
        value = settings_.ValueTo();
    if (value < settings_.ValueFrom())
        value = settings_.ValueFrom();
    return value;
}

std::int32_t TAnalogValue::LimitDigit(std::int64_t digit) const {
    if (digit > settings_.DigitalTo())
        digit = settings_.DigitalTo();
    if (digit < settings_.DigitalFrom())
        digit = settings_.DigitalFrom();
    return static_cast<std::int32_t>(digit);
}

std::int32_t TAnalogValue::DigitOf(float value) const {
    const long double d =
        (static_cast<long double>(value) - settings_.ValueFrom()) * settings_.DigitsPerValue() +
        settings_.DigitalFrom();
    return RoundEven(d);
}

float TAnalogValue::ValueOf(std::int32_t digit) const {
    const long double v =
        (static_cast<long double>(digit) - settings_.DigitalFrom()) * settings_.ValuesPerDigit() +
        settings_.ValueFrom();
    return static_cast<float>(v);
}

std::int32_t TAnalogValue::Stepped(std::int32_t up, std::int32_t down) const {
    const std::int64_t d = up > 0 ? std::int64_t(digit_) + up : std::int64_t(digit_) - down;
    return LimitDigit(d);
}

void TAnalogValue::StoreDigit(std::int32_t digit) {
    digit_ = LimitDigit(digit);
    value_ = ValueOf(digit_);
}

bool TAnalogValue::Realign() {
    const std::int32_t d = LimitDigit(DigitOf(value_));
    if (d == digit_)
        return false;
    digit_ = d;
    return true;
}
