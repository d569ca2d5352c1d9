// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A level written back for the user in its own unit ("-3.25dBu",
// "2.828Vpp", "245mV"), with a decimal point whatever the locale. Decibels
// keep two decimals and volts four significant digits, trailing zeros
// dropped. The rounding direction is chosen so that a limit typed back is
// accepted: the largest level is rounded down, the smallest up.

#include "engine/LevelUnit.h"

#include <string>

enum class LevelRounding { Nearest, Down, Up };

std::string FormatLevel(const WrittenLevel& level, LevelRounding rounding = LevelRounding::Nearest);
