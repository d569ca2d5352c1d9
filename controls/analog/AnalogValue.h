// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number an analog input control holds on its two scales: a float Value
// and an integer Digit over the ranges of a TSignalSettings. Only the
// arithmetic lives here (conversion, limits, steps); when a change is applied
// and who is told is the control's business.

#include "controls/analog/SignalSettings.h"

#include <cstdint>

class TAnalogValue {
public:
    explicit TAnalogValue(const TSignalSettings& settings) : settings_(settings) {}

    float Value() const { return value_; }
    std::int32_t Digit() const { return digit_; }

    // Above ValueTo becomes ValueTo, then below ValueFrom becomes ValueFrom.
    float LimitValue(float value) const;
    // Above DigitalTo becomes DigitalTo, then below DigitalFrom becomes
    // DigitalFrom.
    std::int32_t LimitDigit(std::int64_t digit) const;
    // The digit nearest to `value` (halves to even, extended precision);
    // not limited.
    std::int32_t DigitOf(float value) const;
    // The value of a digit, rounded to float.
    float ValueOf(std::int32_t digit) const;
    // `up` digits up when above 0, otherwise `down` digits down; limited.
    std::int32_t Stepped(std::int32_t up, std::int32_t down) const;

    // Stores a value as it is (the control limits it first).
    void StoreValue(float value) { value_ = value; }
    // Stores the limited digit and the value that belongs to it.
    void StoreDigit(std::int32_t digit);
    // Brings Digit in line with Value under the current ranges without
    // touching Value. Returns whether the digit moved.
    bool Realign();

private:
    const TSignalSettings& settings_;
    float value_ = 0.0f;
    std::int32_t digit_ = 0;
};
