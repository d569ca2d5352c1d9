// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A preset as a small text file a user can read and mend:
//
//   orbel preset 1
//   name = Reference 1 kHz
//   frequency = 997.123
//   level = 0dBu
//   bits = 24
//
// After the first line, one `key = value` a line, in any order, each key
// at most once; blank lines and lines starting with '#' are skipped. The
// keys are the command line's option names and the values what the option
// takes (a flag such as `linear` takes "yes"); `channel` says which
// channels sound (mono, left, right or both) and `right-level` gives the
// right channel a level of its own. In the name, the device and the file
// of tones, '%', control characters and spaces at either end are written
// as %XX, so that any text fits on its line.

#include "instrument/Preset.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace instrument {

inline constexpr std::string_view kPresetFirstLine = "orbel preset 1";

// The settings a preset holds, key and value (unescaped), in the order
// they are written.
using PresetSettings = std::vector<std::pair<std::string, std::string>>;
PresetSettings SettingsOf(const Preset& preset);

// Whether `key` names a setting a preset holds (the name is none).
bool IsPresetKey(std::string_view key);
// Sets the setting `key` from its value as the command line takes it; the reason
// it is refused otherwise (English), and nothing changes.
std::optional<std::string> SetPresetValue(Preset& preset, std::string_view key,
                                          std::string_view value);

// F1:F2:N as the multitone's `tones` and the steps hold it: two
// frequencies above 0 and a whole N of at least 1.
struct PresetSpan {
    double f1 = 0;
    double f2 = 0;
    int count = 0;
};
std::optional<PresetSpan> ReadPresetSpan(std::string_view text);
// The shortest text that reads back as the same numbers.
std::string PresetSpanText(const PresetSpan& span);

std::string WritePresetText(const Preset& preset);

struct PresetReading {
    std::optional<Preset> preset;
    int line = 0;       // the refused line, from 1; 0 when the text is whole but wrong
    std::string reason; // English
};
PresetReading ReadPresetText(std::string_view text);

} // namespace instrument
