// SPDX-License-Identifier: GPL-3.0-or-later
// The steady sine's own shapes: tone bursts in place of the steady tone, and
// the right output's phase against the left. Both are part of the signal
// the generator's image (or the fine tone's stream) is made of, so that a
// change plays the new signal at once.
#include "engine/ToneGen.h"
#include "instrument/Instrument.h"

namespace instrument {

namespace {

constexpr int kFullTurnTenths = 3600;

bool CyclesInRange(const BurstSettings& burst) {
    return burst.onCycles >= 1 && burst.onCycles <= kMostBurstCycles && burst.offCycles >= 0 &&
           burst.offCycles <= kMostBurstCycles;
}

} // namespace

bool Instrument::SteadySine() const {
    return Precise() && state_.waveform == TTGWave::tgSine &&
           state_.choices.signal == SignalKind::Tone && !state_.sweep.active && !PlaysToneSet();
}

bool Instrument::LeaveSineShapes(bool sineStays) {
    bool left = state_.burst.has_value();
    state_.burst.reset();
    if (!sineStays && state_.rightLagTenths != 0) {
        state_.rightLagTenths = 0;
        left = true;
    }
    return left;
}

bool Instrument::SetBurst(std::optional<BurstSettings> burst) {
    return Command([this, &burst] {
        if (burst == state_.burst)
            return true;
        if (burst && (!SteadySine() || state_.rightLagTenths != 0 || !CyclesInRange(*burst)))
            return false;
        state_.burst = burst;
        PlaySignal(ChosenSignal());
        Heard();
        return true;
    });
}

bool Instrument::SetRightPhase(int tenths) {
    return Command([this, tenths] {
        if (tenths < 0 || tenths > kFullTurnTenths)
            return false;
        if (tenths == state_.rightLagTenths)
            return true;
        if (tenths != 0 && (!SteadySine() || state_.burst))
            return false;
        state_.rightLagTenths = tenths;
        PlaySignal(ChosenSignal());
        Heard();
        return true;
    });
}

} // namespace instrument
