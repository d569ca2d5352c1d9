#pragma once
// The sound output of this machine: the sound server's, or silence when no
// server answers. This is the factory the program gives the engine.

#include "engine/SoundOutput.h"

#include <memory>

// Connects to the sound server; the silent output when none answers. Prints
// nothing and does not hang.
std::unique_ptr<SoundOutput> CreateSoundOutput();
