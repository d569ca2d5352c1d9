// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's presets: `orbel presets` lists them, `presets save`
// and `presets delete` keep and remove one, and --preset finds one. Each
// returns the program's exit status (0 done, 1 failed, 2 refused).

#include "cli/CommandLine.h"
#include "instrument/Preset.h"

#include <string>

// The preset called `name` in the settings folder, or why not (one line).
PresetLookup FindPreset(const std::string& name);
// Presets in `folder` (the settings folder's when empty).
PresetLookup FindPresetIn(const std::string& folder, const std::string& name);

// One name a line; each file that does not read as a preset says so on
// standard error.
int RunPresetList();
int RunPresetSave(const instrument::Preset& preset);
int RunPresetDelete(const std::string& name);

// A device the preset named that the server no longer has gives way to the
// default output, with one line on standard error. Named on the command
// line, it stays (and is refused as ever).
void ForgetGonePresetOutput(CommandLine& line);
