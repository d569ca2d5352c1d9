// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/SignalSettings.h"

#include "controls/paint/RoundEven.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// The span between two bounds, by their signs. A range that runs from a
// non-negative bound down to a non-positive one has no span: `previous` stays.
template <class T> T Span(T from, T to, T previous) {
    const T aFrom = from < 0 ? -from : from;
    const T aTo = to < 0 ? -to : to;
    if (from < 0 && to < 0)
        return aFrom - aTo;
    if (from < 0)
        return aFrom + aTo;
    if (to > 0)
        return aTo - aFrom;
    return previous;
}

} // namespace

void TSignalSettings::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    props.Int("DigitalFrom", &TSignalSettings::DigitalFrom, &TSignalSettings::SetDigitalFrom, 0);
    props.Int("DigitalTo", &TSignalSettings::DigitalTo, &TSignalSettings::SetDigitalTo, 1000);
    props.String("Name1", &TSignalSettings::Name1, &TSignalSettings::SetName1,
                 std::string("SignalName1"));
    props.String("Name2", &TSignalSettings::Name2, &TSignalSettings::SetName2,
                 std::string("SignalName2"));
    props.String("ValueFormat", &TSignalSettings::ValueFormat, &TSignalSettings::SetValueFormat,
                 std::string("##0.0"));
    props.Float("ValueFrom", &TSignalSettings::ValueFrom, &TSignalSettings::SetValueFrom, 0.0f);
    props.Float("ValueTo", &TSignalSettings::ValueTo, &TSignalSettings::SetValueTo, 100.0f);
    props.String("ValueUnit", &TSignalSettings::ValueUnit, &TSignalSettings::SetValueUnit,
                 std::string("%"));
}

void TSignalSettings::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TSignalSettings*>(&source);
    if (!other)
        AssignError(source);
    SetDigitalFrom(other->digitalFrom_);
    SetDigitalTo(other->digitalTo_);
    SetValueFormat(other->valueFormat_);
    SetValueFrom(other->valueFrom_);
    SetValueTo(other->valueTo_);
    SetValueUnit(other->valueUnit_);
    SetName1(other->name1_);
    SetName2(other->name2_);
}

void TSignalSettings::SetDigitalFrom(std::int32_t value) {
    Store(digitalFrom_, value);
}

void TSignalSettings::SetDigitalTo(std::int32_t value) {
    Store(digitalTo_, value);
}

void TSignalSettings::SetName1(const std::string& value) {
    Store(name1_, value);
}

void TSignalSettings::SetName2(const std::string& value) {
    Store(name2_, value);
}

void TSignalSettings::SetValueFormat(const std::string& value) {
    Store(valueFormat_, value);
}

void TSignalSettings::SetValueUnit(const std::string& value) {
    Store(valueUnit_, value);
}

float TSignalSettings::Snap(float value) const {
    if (!logarithmic_ || !(value > 0.0f))
        return value;
    return static_cast<float>(std::pow(10.0, std::round(std::log10(static_cast<double>(value)))));
}

void TSignalSettings::SetValueFrom(float value) {
    if (value == valueFrom_ || value == valueTo_)
        return;
    valueFrom_ = Snap(value == 0.0f ? kZeroValueFrom : value);
    Changed();
}

void TSignalSettings::SetValueTo(float value) {
    if (value == valueFrom_ || value == valueTo_)
        return;
    valueTo_ = Snap(value);
    Changed();
}

std::int32_t TSignalSettings::ValueToPPT(float value) const {
    const long double ppt = (static_cast<long double>(value) - valueFrom_) * 1000.0L / valueSpan_;
    return RoundEven(ppt);
}

void TSignalSettings::Recompute() {
    valueSpan_ = Span(valueFrom_, valueTo_, valueSpan_);
    // The digit span is taken in 64 bits and limited, so that bounds far
    // apart (2^31 - 1 and -2^31) cannot overflow it.
    const std::int64_t digitSpan = Span<std::int64_t>(digitalFrom_, digitalTo_, digitalSpan_);
    digitalSpan_ = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(digitSpan, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
    if (digitalSpan_ > 0)
        valuesPerDigit_ = static_cast<float>(static_cast<long double>(valueSpan_) / digitalSpan_);
    if (valueSpan_ > 0.0f) {
        digitsPerValue_ = static_cast<float>(digitalSpan_ / static_cast<long double>(valueSpan_));
        pptFactor_ = static_cast<float>(1000.0L / static_cast<long double>(valueSpan_));
    }
}

void TSignalSettings::Changed() {
    Recompute();
    TAbPersistent::Changed();
}
