// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calibration file's text: a small file a person can read, one line a
// channel, after a line naming the format:
//
//   orbel-calibration 1
//   output=alsa_output.pci-0000_00_1f.3.analog-stereo channel=left volts=0.245
//   date=2026-12-09T17:46:00Z volume=65536
//
// Lines starting with '#' and empty lines are comments. A device name may
// hold any bytes: a byte that is a control character (C1 ones included), a
// space, '%', '#', '=' or not part of valid UTF-8 is written as %XX. The volts are written
// with every digit they need to read back exactly.
//
// Reading is strict, so that a damaged file never gives a wrong voltage: a
// file with any line that is not exactly this (a cut-off last line, a
// voltage out of range, a channel of an output given twice) reads as no
// table at all.

#include "core/CalibrationTable.h"

#include <optional>
#include <string>
#include <string_view>

std::string WriteCalibrationText(const CalibrationTable& table);
std::optional<CalibrationTable> ReadCalibrationText(std::string_view text);
