// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The volume the sound server applies to one output (sink), and the sample
// rate it runs that output at, read over a short connection of its own.
// Read only: the program never sets them.

#include "engine/SoundOutput.h"

#include <chrono>
#include <optional>
#include <string>

// Nothing when no server answers within `timeout` or it has no such sink;
// then `why`, when given, holds the reason in libpulse's words. A mono sink
// gives its one volume for both channels; `sink` empty: the server's
// default output. Never starts a server.
std::optional<OutputVolume> ReadPulseSinkVolume(const std::string& sink,
                                                std::chrono::milliseconds timeout,
                                                std::string* why = nullptr);

// The sink's sample rate; `sink` empty: the server's default output.
// Nothing, with `why`, as for the volume.
std::optional<int> ReadPulseSinkRate(const std::string& sink, std::chrono::milliseconds timeout,
                                     std::string* why = nullptr);
