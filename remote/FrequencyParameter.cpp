// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/FrequencyParameter.h"

#include "remote/ParameterReading.h"
#include "remote/ReplyText.h"

#include <array>

namespace remote {
namespace {

// Powers of ten from the unit written to millihertz.
constexpr std::array<StepUnit, 3> kFrequencyUnits{{{"", 3}, {"HZ", 3}, {"KHZ", 6}}};
constexpr std::int64_t kStandardFrequency = 1'000'000;

StepLimits FrequencyLimits(const ScpiTarget& target) {
    const FrequencyRange range = target.Frequencies();
    return {range.lowest.value, range.highest.value, kStandardFrequency,
            FrequencyText(range.lowest) + " Hz to " + FrequencyText(range.highest) +
                " Hz in steps of 0.001 Hz"};
}

} // namespace

MilliHertz ReadFrequencyParameter(const CommandContext& c) {
    return {ReadSteps(c.OnlyParameter(), kFrequencyUnits, FrequencyLimits(c.target))};
}

std::string FrequencyReply(const CommandContext& c, MilliHertz current) {
    const std::optional<std::int64_t> limit = AskedLimit(c.Parameters(), FrequencyLimits(c.target));
    return ThousandthsText(limit.value_or(current.value));
}

} // namespace remote
