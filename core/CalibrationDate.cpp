// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CalibrationDate.h"

#include <array>

std::string CalibrationDate(std::time_t when) {
    std::tm utc{};
    if (gmtime_r(&when, &utc) == nullptr)
        return "1970-01-01T00:00:00Z";
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return length == 20 ? std::string(text.data(), length) : "1970-01-01T00:00:00Z";
}

bool IsCalibrationDate(std::string_view text) {
    constexpr std::string_view kForm = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != kForm.size())
        return false;
    for (std::size_t i = 0; i < kForm.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kForm[i] == 'd' ? !digit : text[i] != kForm[i])
            return false;
    }
    const auto number = [&](std::size_t at) {
        return (text[at] - '0') * 10 + (text[at + 1] - '0');
    };
    const int month = number(5), day = number(8);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && number(11) <= 23 &&
           number(14) <= 59 && number(17) <= 60;
}
