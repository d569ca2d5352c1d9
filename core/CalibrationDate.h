// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The date a calibration is stored with: UTC, to the second, as
// "2026-12-09T17:46:00Z", the same in every locale and time zone.

#include <ctime>
#include <string>
#include <string_view>

std::string CalibrationDate(std::time_t when);
// Whether the text has that form (digits where digits stand, a plausible
// month, day and time).
bool IsCalibrationDate(std::string_view text);
