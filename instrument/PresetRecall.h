// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What recalling a preset into the instrument came to.

#include <string>

namespace instrument {

struct PresetRecallResult {
    bool accepted = false;
    // Refused: the setting the instrument cannot take, and why (English).
    std::string refusal;
    // Accepted, but the preset's output is gone: the server's default plays.
    bool outputGone = false;
    // Its multitone is being made: the preset is taken, or refused, once
    // it is (not at all when a newer request comes first).
    bool pending = false;
};

} // namespace instrument
