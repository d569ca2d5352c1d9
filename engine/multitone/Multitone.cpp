// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/Multitone.h"

#include "engine/multitone/CrestPhases.h"
#include "engine/multitone/MultitonePeriod.h"
#include "engine/multitone/RealTransform.h"

#include <cmath>

namespace {

MultitoneRefusal RefusalOf(BinRefusal r) {
    switch (r) {
    case BinRefusal::None:
        return MultitoneRefusal::None;
    case BinRefusal::BadLength:
        return MultitoneRefusal::BadLength;
    case BinRefusal::BadRate:
        return MultitoneRefusal::BadRate;
    case BinRefusal::OutOfRange:
        return MultitoneRefusal::OutOfRange;
    case BinRefusal::SameBin:
        break;
    }
    return MultitoneRefusal::SameBin;
}

} // namespace

Multitone BuildMultitone(const MultitoneSettings& settings, int rate) {
    Multitone m;
    if (settings.tones.empty()) {
        m.refusal = MultitoneRefusal::NoTones;
        return m;
    }
    BinCentring centred = CentreOnBins(settings.tones, settings.fftLength, rate);
    if (centred.refusal != BinRefusal::None) {
        m.refusal = RefusalOf(centred.refusal);
        m.firstHertz = centred.firstHertz;
        m.secondHertz = centred.secondHertz;
        return m;
    }
    m.rate = rate;
    m.fftLength = settings.fftLength;
    m.levelDb = settings.levelDb;
    m.tones = std::move(centred.tones);
    RealTransform transform(settings.fftLength);
    m.phases = LowerCrestPhases(m.tones, transform, [&settings] {
        if (settings.givenUp && settings.givenUp->load(std::memory_order_relaxed))
            throw MultitoneGivenUp();
    });
    MultitonePeriod period = SynthesizePeriod(m.tones, m.phases, transform);
    m.crestFactorDb = period.CrestFactorDb();
    // At 0 dBFS the peak is period.peak; a level L scales it by 10^(L/20).
    const double largest = -20 * std::log10(period.peak);
    m.largestLevelDb = std::floor(largest * 100) / 100;
    if (!std::isfinite(settings.levelDb) || settings.levelDb > largest) {
        m.refusal = MultitoneRefusal::Clips;
        return m;
    }
    const double gain = std::pow(10.0, settings.levelDb / 20);
    for (double& x : period.frames)
        x *= gain;
    m.frames = std::move(period.frames);
    return m;
}
