// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the precise synthesis plays instead of the steady tone and its AM
// levels: a sweep, pink noise, a two-tone IMD signal or tone bursts; or the
// steady sine with a right channel of its own phase or frequency. The
// default is none of them, and then nothing changes.

#include "engine/signals/SweepSignal.h"
#include "engine/signals/ToneBurst.h"

#include <cstdint>

enum class SignalKind : std::uint8_t { Tone, Sweep, PinkNoise, Smpte, Ccif, Burst };

struct MeasurementSignal {
    SignalKind kind = SignalKind::Tone;
    SweepSettings sweep;
    BurstSettings burst;
    // Stereo only: the right channel lags the left by this many tenths of a
    // degree (0..3600), and plays this frequency (0: the left one's).
    int rightLagTenths = 0;
    int rightFrequency = 0;

    bool Active() const {
        return kind != SignalKind::Tone || rightLagTenths != 0 || rightFrequency != 0;
    }
    bool operator==(const MeasurementSignal&) const = default;
};

// The seed of pink noise: fixed, so the same request gives the same bytes.
inline constexpr std::uint32_t kPinkNoiseSeed = 1;

// The shortest loop in milliseconds that plays the signal exactly: whole
// periods of every tone, the long noise loop for pink noise, 100 ms of
// bursts (made whole bursts when built). A sweep sets its own length; for it
// this is the plain tone's.
int SignalLoopDurationMs(const MeasurementSignal& signal, int frequency);
