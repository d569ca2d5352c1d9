// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide sound output that new tone generators use. The engine
// knows only the interface: the program installs a factory for its real
// backend, and the output is made by it on first use. Without a factory the
// output is silent. Tests put a recording double in its place.

#include "engine/SoundOutput.h"

#include <functional>
#include <memory>

using SoundOutputFactory = std::function<std::unique_ptr<SoundOutput>()>;

std::shared_ptr<SoundOutput> DefaultSoundOutput();

// Replaces the default (null: make anew on next use) and returns the
// previous one. Generators created before keep the output they were given.
std::shared_ptr<SoundOutput> SetDefaultSoundOutput(std::shared_ptr<SoundOutput> output);

// What makes the default output on first use; an empty factory (the start
// state) makes a silent one. Returns the previous factory.
SoundOutputFactory SetSoundOutputFactory(SoundOutputFactory factory);
