// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a preset file: no crash; what reads as a preset is written
// again as the same text and read back as the same preset.
#include "instrument/PresetText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const instrument::PresetReading reading = instrument::ReadPresetText(text);
    if (!reading.preset) {
        if (reading.reason.empty())
            std::abort();
        return 0;
    }
    const std::string written = instrument::WritePresetText(*reading.preset);
    const instrument::PresetReading again = instrument::ReadPresetText(written);
    if (!again.preset || *again.preset != *reading.preset ||
        instrument::WritePresetText(*again.preset) != written)
        std::abort();
    return 0;
}
