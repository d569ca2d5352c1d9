// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `orbel calibrate`: one meter reading per channel turns an output's sample
// levels into volts. It plays a 1 kHz sine on the output until the user
// types the reading of the left and then the right channel (or takes them
// from --measured without playing), and stores, for that output, the RMS
// volts of a full-scale sine on each channel, the date and the output's
// volume. It never changes the volume.

#include "cli/CommandLine.h"

// The exit status: 0 when stored; 2 when the output or a reading is
// refused; 1 when no server answers, its volume cannot be read, or the
// calibration cannot be stored.
int RunCalibrate(const CommandLine& line);
