// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A meter's reading of a sine's RMS as the user types it for a level
// calibration: volts as a plain number ("0.245") or with a unit ("0.245V",
// "245mV", "0.245Vrms"), above 0. The decimal separator is a point; a
// front end that takes the locale's comma turns it into one first.

#include <optional>
#include <string_view>

// The volts, or nothing when the text is not a reading.
std::optional<double> ReadMeterVolts(std::string_view text);
