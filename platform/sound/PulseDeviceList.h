// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound server's outputs (sinks), read over a short connection of its
// own: names, descriptions and which one is the default.

#include "engine/OutputDevice.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Nothing when no server answers within `timeout`; then `why`, when given,
// holds the reason in libpulse's words. Never starts a server.
std::optional<std::vector<OutputDevice>> ListPulseOutputs(std::chrono::milliseconds timeout,
                                                          std::string* why = nullptr);
