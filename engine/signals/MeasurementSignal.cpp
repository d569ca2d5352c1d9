// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/MeasurementSignal.h"

#include "engine/LoopLength.h"
#include "engine/signals/TwoTone.h"

#include <numeric>

namespace {

constexpr int kBurstLoopMs = 100;

int WholePeriodsOfBoth(int a, int b) {
    return loop_length::LoopDurationMs(std::gcd(a, b));
}

} // namespace

int SignalLoopDurationMs(const MeasurementSignal& signal, int frequency) {
    switch (signal.kind) {
    case SignalKind::PinkNoise:
        return loop_length::kNoiseLoopMs;
    case SignalKind::Smpte:
        return WholePeriodsOfBoth(TwoTone::Smpte().lowHz, TwoTone::Smpte().highHz);
    case SignalKind::Ccif:
        return WholePeriodsOfBoth(TwoTone::Ccif().lowHz, TwoTone::Ccif().highHz);
    case SignalKind::Burst:
        return kBurstLoopMs;
    case SignalKind::Sweep: // its own length: the image's duration is unused
    case SignalKind::Tone:
        break;
    }
    return WholePeriodsOfBoth(frequency, signal.rightFrequency ? signal.rightFrequency : frequency);
}
