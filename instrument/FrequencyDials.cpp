// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/FrequencyDials.h"

#include <algorithm>

namespace instrument {

namespace {
// Units reading at the end of the 10 Hz range and what it stands for.
constexpr int kUnitsOverflowReading = 100;
constexpr int kUnitsLastReading = 90;
// Dial texts are at most a few digits; more would be no dial's text.
constexpr std::size_t kMaxDialDigits = 6;
} // namespace

int DialNumber(std::string_view text) {
    if (text.empty() || text.size() > kMaxDialDigits)
        return 0;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

int ComposeFrequency(int thousands, int hundreds, int units) {
    const int u = units == kUnitsOverflowReading ? kUnitsLastReading : units;
    const long f = thousands * 1000L + hundreds * 100L + u;
    return static_cast<int>(std::clamp<long>(f, kMinFrequency, kMaxFrequency));
}

int ComposeFrequency(std::string_view thousands, std::string_view hundreds,
                     std::string_view units) {
    return ComposeFrequency(DialNumber(thousands), DialNumber(hundreds), DialNumber(units));
}

} // namespace instrument
