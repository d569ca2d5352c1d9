#pragma once
// The command line's two commands. Each returns the program's exit status
// and says what went wrong in one line on standard error.

#include "cli/ToneRequest.h"

#include <optional>
#include <string>

// Builds the signal and writes it as a WAV file (all or nothing). 0 when
// written, 1 when not.
int RunExport(const ToneRequest& tone, const std::string& file);

// Plays the signal in a loop through the sound server until `seconds` have
// passed (without: until interrupted), then fades it out. Ctrl-C (SIGINT)
// and SIGTERM end it the same way, with status 0. 1 when no sound server
// answers or the signal cannot be built.
int RunPlay(const ToneRequest& tone, std::optional<double> seconds);
