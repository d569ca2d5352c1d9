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
    // Each channel's calibration: a level in volts is turned into each
    // channel's sample level through its own.
    std::optional<ChannelCalibration> calibration; // the left channel's
    std::optional<ChannelCalibration> rightCalibration;
    // Valid only while each channel's volume is its own calibration's.
    CalibrationStanding standing = CalibrationStanding::NotCalibrated;
};

// The server's name of the output `wanted` names (by name or description),
// or of the default output when `wanted` is empty; empty when no server
// answers or no output has that name.
std::string OutputNameFor(SoundOutput& output, const std::string& wanted);

// The output, its stored calibration and whether the volume still is the
// calibration's.
LevelAtOutput FindLevelAtOutput(SoundOutput& output, const std::string& wanted);

// Turns the command line's levels in volts, dBu or dBV into each channel's
// sample level through that channel's calibration (a stereo tone or signal
// gets the right channel's own level when its calibration differs), or says
// on standard error why it cannot (not calibrated, or more or less than the
// output plays) and returns 2.
int SetSampleLevel(CommandLine& line, const LevelAtOutput& at);

// "orbel: level -20dBFS" and, when calibrated, the RMS, peak-to-peak and
// dBu of the waveform that plays; the same for the right channel's own
// level when it has one; then a line when the output's volume is no longer
// the calibration's. False when the lines cannot be written.
bool SayTheLevel(const CommandLine& line, const LevelAtOutput& at, std::FILE* to);

// The line that says the output's volume is no longer its calibration's,
// or nothing while it is.
std::string CalibrationNotice(const LevelAtOutput& at);
