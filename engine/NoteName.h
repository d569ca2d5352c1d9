// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Musical note names: equal temperament around A = 440 Hz, octaves that
// begin at A. "A", "c#", "<C", ">>E-", "O5C#" and "N48" are note names.

#include "engine/ToneLimits.h"

#include <string_view>

// Frequency of note number n (12 * octave + semitone counted from A), to
// the nearest whole hertz.
int NoteFrequency(int noteNumber);

// Parses a note name given the current octave. Returns the frequency in
// hertz, or 0 when the name is not valid or the note lies outside 20..20000
// Hz. For a valid name `octave` is set to the octave it ends in; otherwise
// it is left alone.
int ParseNote(std::string_view name, int& octave);
