// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The volume the sound server applies to one output (sink), read over a
// short connection of its own. Read only: the program never sets it.

#include "engine/SoundOutput.h"

#include <chrono>
#include <optional>
#include <string>

// Nothing when no server answers within `timeout` or it has no such sink;
// then `why`, when given, holds the reason in libpulse's words. A mono sink
// gives its one volume for both channels. Never starts a server.
std::optional<OutputVolume> ReadPulseSinkVolume(const std::string& sink,
                                                std::chrono::milliseconds timeout,
                                                std::string* why = nullptr);
