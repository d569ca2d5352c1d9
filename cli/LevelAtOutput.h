// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A level on the command line at a real output: which output it is, its
// calibration, a level in volts, dBu or dBV turned into the sample level
// through that calibration, and the one line that says what plays.

#include "cli/CommandLine.h"
#include "core/CalibrationStanding.h"
#include "core/ChannelCalibration.h"
#include "engine/SoundOutput.h"

#include <cstdio>
#include <optional>
#include <string>

struct LevelAtOutput {
    std::string output; // the server's name of the output; empty: none known
    // The calibration the level uses. The generator plays one level on
    // both channels, so it is the left channel's.
    std::optional<ChannelCalibration> calibration;
    CalibrationStanding standing = CalibrationStanding::NotCalibrated;
};

// The server's name of the output `wanted` names (by name or description),
// or of the default output when `wanted` is empty; empty when no server
// answers or no output has that name.
std::string OutputNameFor(SoundOutput& output, const std::string& wanted);

// The output, its stored calibration and whether the volume still is the
// calibration's.
LevelAtOutput FindLevelAtOutput(SoundOutput& output, const std::string& wanted);

// Turns the command line's level in volts, dBu or dBV into its sample
// level through the calibration, or says on standard error why it cannot
// (not calibrated, or more or less than the output plays) and returns 2.
int SetSampleLevel(CommandLine& line, const LevelAtOutput& at);

// "orbel: level -20dBFS" and, when calibrated, the RMS, peak-to-peak and
// dBu of the waveform that plays; then a line when the output's volume is
// no longer the calibration's. False when the lines cannot be written.
bool SayTheLevel(const CommandLine& line, const LevelAtOutput& at, std::FILE* to);
