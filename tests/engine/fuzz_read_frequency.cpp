// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a frequency at any of the rates: no crash; an accepted value
// lies in the rate's range, and its text written back reads as the same
// value; a refusal carries a reason and no value.
#include "engine/MilliHertz.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static constexpr int kRates[] = {44100, 48000, 88200, 96000, 176400, 192000};
    const int rate = kRates[size > 0 ? data[0] % 6 : 0];
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const FrequencyReading r = ReadFrequency(text, rate);
    if (r.frequency.has_value() != (r.refusal == FrequencyRefusal::None))
        std::abort();
    if (!r.frequency)
        return 0;
    if (!FrequencyRange::AtRate(rate).Holds(*r.frequency))
        std::abort();
    if (ReadFrequency(FrequencyText(*r.frequency), rate).frequency != r.frequency)
        std::abort();
    return 0;
}
