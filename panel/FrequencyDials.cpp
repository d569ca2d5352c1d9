// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/FrequencyDials.h"

#include <algorithm>

namespace panel {

namespace {
// Units text at the end of the 10 Hz range and what it stands for.
constexpr std::string_view kUnitsOverflowText = "100";
constexpr int kUnitsOverflowReading = 90;
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

int ComposeFrequency(std::string_view thousands, std::string_view hundreds,
                     std::string_view units) {
    const int u = units == kUnitsOverflowText ? kUnitsOverflowReading : DialNumber(units);
    const long f = DialNumber(thousands) * 1000L + DialNumber(hundreds) * 100L + u;
    return static_cast<int>(std::clamp<long>(f, kMinFrequency, kMaxFrequency));
}

} // namespace panel
