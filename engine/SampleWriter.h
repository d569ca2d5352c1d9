// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns real-valued frames (-1..1 of full scale) into the sample bytes of a
// wave format: rounded to the nearest step, with optional dither, for 8, 16
// and 24 bits; as IEEE single precision for float. Both channels of a
// stereo frame get the same sample.

#include "engine/TpdfDither.h"
#include "engine/WaveFormat.h"

#include <cstdint>
#include <vector>

// Writes every frame at `out`; `dither` (may be null) is drawn once per
// frame for whole-number samples and not at all for float.
void WriteSamples(const std::vector<double>& frames, const WaveFormat& format, TpdfDither* dither,
                  std::uint8_t* out);

// The same for two channels of their own: `right` (empty: the left again)
// goes to the second channel of a stereo format, and each channel draws its
// own dither. Mono formats take the left channel only.
void WriteChannelSamples(const std::vector<double>& left, const std::vector<double>& right,
                         const WaveFormat& format, TpdfDither* dither, std::uint8_t* out);
