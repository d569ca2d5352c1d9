// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sound output of this machine: the sound server's, connecting in the
// background (so a server that starts later is used, and one that restarts
// is found again). This is the factory the program gives the engine.

#include "engine/SoundOutput.h"

#include <memory>

// Returns at once, prints nothing and never starts a server; silent only
// when the sound library cannot run at all.
std::unique_ptr<SoundOutput> CreateSoundOutput();
