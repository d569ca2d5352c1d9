// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A multitone's list from a text file: one tone a line, its frequency in
// hertz, then optionally its level in dB relative to the others and its
// phase in degrees, separated by spaces or tabs. `#` starts a comment; blank
// lines are skipped. Numbers use a decimal point.

#include "engine/multitone/MultitoneTone.h"

#include <string>
#include <string_view>
#include <vector>

struct ToneListReading {
    std::vector<MultitoneTone> tones; // empty when refused
    // The first line refused (1-based); 0 with a reason: the list as a
    // whole (no tone at all, too many).
    int badLine = 0;
    std::string reason; // empty when read
};

// The most tones a list may hold: one per bin of the largest transform.
inline constexpr int kMostListedTones = 1 << 19;

// Frequencies must be above 0 and at most 1,000,000 Hz (the rate is
// checked when the tones are placed on bins), levels within -200..+200 dB,
// phases finite (taken modulo 360).
ToneListReading ReadToneList(std::string_view text);
