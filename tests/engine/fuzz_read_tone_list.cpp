// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a multitone's list: no crash; a list read holds tones with
// frequencies, levels and phases in their ranges and no refusal; a refused
// one holds no tone and names a line within the text (or none).
#include "engine/multitone/ToneListReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ToneListReading r = ReadToneList(text);
    if (r.tones.empty() == r.reason.empty())
        std::abort();
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    if (r.badLine < 0 || r.badLine > lines)
        std::abort();
    for (const MultitoneTone& t : r.tones) {
        if (!(t.hertz > 0 && t.hertz <= 1e6) || !(std::fabs(t.levelDb) <= 200))
            std::abort();
        if (t.phaseDegrees && !(*t.phaseDegrees >= 0 && *t.phaseDegrees < 360))
            std::abort();
    }
    return 0;
}
