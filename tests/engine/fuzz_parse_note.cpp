// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a note name: no crash, a frequency of 0 or 20..20000 Hz, and
// an octave of 0..9 for accepted names.
#include "engine/NoteName.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int octave = size > 0 ? data[0] % 10 : 4;
    const int f = ParseNote(text, octave);
    if (f != 0 && (f < kMinToneFrequency || f > kMaxToneFrequency))
        std::abort();
    if (octave < 0 || octave > 9)
        std::abort();
    return 0;
}
