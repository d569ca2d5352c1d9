// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// orbel serve: the generator without a display, driven by remote clients
// (SCPI over TCP) until SIGINT, SIGTERM or SIGHUP (fading out, as play
// ends), or a client's SYSTem:SHUTdown. The server's thread is the
// program's main thread, which owns the instrument: every command runs
// there, one after another.

#include "cli/CommandLine.h"

#include <string>

// 0 when it ran and ended as asked; 1 when no sound server answers or it
// cannot listen (said on standard error).
int RunServe(const CommandLine& line, const std::string& version);
