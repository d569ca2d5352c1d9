// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound server's outputs on the command line: `devices` lists them and
// `play --device NAME` picks one, both through the program's default sound
// output.

#include "engine/DeviceNotice.h"
#include "engine/OutputDevice.h"

#include <QString>

#include <cstdio>
#include <string>
#include <vector>

// One output a line: name, a tab, the description, and a tab and
// "(default)" on the server's default; control characters and bytes that
// are not UTF-8 as \xNN. Returns the exit status: 1 when no server answers
// or the list cannot be written.
int RunDevices();

// Plays on the output named (by name or description) from now on, and says
// so on standard error when it goes away or comes back. Returns 0, or 2
// after the list of names on standard error when there is no such output,
// or 1 when no server answers.
int ChooseOutputDevice(const std::string& wanted);

// The listing's lines, as RunDevices prints them; false when they could
// not be written.
bool PrintDevices(const std::vector<OutputDevice>& devices, std::FILE* to);

// The line for a notice of the chosen output, in the command line's
// language: "the output NAME went away; playing on OTHER", "playing on NAME
// again" (names shortened, as one line).
QString DeviceNoticeText(const DeviceNotice& notice);
