// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a mixer shows for the sound that plays: the waveform and the
// frequency, in the panel's language ("Синусоида 1000 Гц").

#include "engine/ToneGenTypes.h"

#include <string>

std::string SoundName(TTGWave wave, int frequency);
