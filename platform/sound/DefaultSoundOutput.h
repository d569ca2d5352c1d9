#pragma once
// The process-wide sound output that new tone generators use. On first use
// it connects to the sound server, or takes the silent output when none
// answers. Tests put a recording double in its place.

#include "platform/sound/SoundOutput.h"

#include <memory>

std::shared_ptr<SoundOutput> DefaultSoundOutput();

// Replaces the default (null: connect anew on next use) and returns the
// previous one. Generators created before keep the output they were given.
std::shared_ptr<SoundOutput> SetDefaultSoundOutput(std::shared_ptr<SoundOutput> output);

// Connects to the sound server; the silent output when none answers. Prints
// nothing and does not hang.
std::unique_ptr<SoundOutput> CreateSoundOutput();
