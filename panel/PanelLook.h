// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours and texts the panel's handlers give its switches and digit
// displays.

#include "core/TColor.h"
#include "instrument/InstrumentState.h"

#include <string_view>

namespace panel {

using TChannel = instrument::Channel;

// Caption of the selected button of a switch, and of the others.
inline constexpr TColor kSelectedCaption = clYellow;
inline constexpr TColor kUnselectedCaption = clGray;
// Digits and unit captions of a display whose channel sounds, and of one
// whose channel is off.
inline constexpr TColor kActiveDisplay = clLime;
inline constexpr TColor kInactiveDisplay = clGray;

inline constexpr TColor SwitchCaptionColor(bool selected) {
    return selected ? kSelectedCaption : kUnselectedCaption;
}

// Which channels' displays are lit for a channel setting.
struct TDisplayLighting {
    TColor left;
    TColor right;
};

inline constexpr TDisplayLighting DisplayLighting(TChannel channel) {
    switch (channel) {
    case TChannel::Left:
        return {kActiveDisplay, kInactiveDisplay};
    case TChannel::Right:
        return {kInactiveDisplay, kActiveDisplay};
    case TChannel::Both:
        break;
    }
    return {kActiveDisplay, kActiveDisplay};
}

// Ranges of the units dial for the two steps: digits and the value at the
// last digit.
inline constexpr int kUnitsDigits10Hz = 10;
inline constexpr float kUnitsValueTo10Hz = 100.0f;
inline constexpr int kUnitsDigits1Hz = 100;
inline constexpr float kUnitsValueTo1Hz = 99.0f;

} // namespace panel
