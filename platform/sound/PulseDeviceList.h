// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound server's outputs (sinks), read over a short connection of its
// own: names, descriptions and which one is the default.

#include "engine/OutputDevice.h"

#include <chrono>
#include <optional>
#include <vector>

// Nothing when no server answers within `timeout`. Never starts a server.
std::optional<std::vector<OutputDevice>> ListPulseOutputs(std::chrono::milliseconds timeout);
