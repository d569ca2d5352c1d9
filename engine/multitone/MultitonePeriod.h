// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One period of a multitone of bin-centred tones: N frames summed by one
// inverse transform in double precision, scaled so that the RMS of the
// whole period is that of a full-scale sine (0 dBFS by AES17).

#include "engine/multitone/BinCentring.h"
#include "engine/multitone/RealTransform.h"

#include <vector>

struct MultitonePeriod {
    std::vector<double> frames; // one period, at 0 dBFS RMS
    double peak = 0;            // the largest magnitude of a frame

    // Peak over RMS, in dB.
    double CrestFactorDb() const;
};

// Tone k is amplitude_k sin(2 pi bin_k n / N + phases[k]) before scaling
// (`phases` holds one value per tone). Empty frames when there is no tone.
MultitonePeriod SynthesizePeriod(const std::vector<BinnedTone>& tones,
                                 const std::vector<double>& phases, RealTransform& transform);

// Peak over RMS of any frames, in dB (0 for silence).
double CrestFactorDb(const std::vector<double>& frames);
