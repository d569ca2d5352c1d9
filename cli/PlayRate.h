// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sample rate play plays at. A sound at another rate than the output's
// is resampled by the sound server, and then its resampler, not the
// synthesis, sets the purity heard: so without --rate play takes the
// output's own rate when the synthesis makes it, and says in one line when
// the server will resample.

#include "cli/CommandLine.h"
#include "engine/SoundOutput.h"

#include <string>

// Sets the rate on `line` for the output named `outputName` (empty: none
// known, and nothing changes), saying on standard error when the server will resample or
// why the output's rate cannot be read. The rate --rate asked stays; so does
// the default when the output's rate cannot hold the frequencies asked.
void ChoosePlayRate(CommandLine& line, SoundOutput& output, const std::string& outputName);

// Whether every frequency of the request lies within the range of `rate`.
bool FrequenciesFitRate(const CommandLine& line, int rate);
