// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ToneRequest.h"

#include "engine/LoopLength.h"
#include "engine/ToneGen.h"

#include <cstdint>

void ToneRequest::ApplyTo(TToneGen& gen) const {
    // The multiplier decides how an AM note is stored: set it first.
    gen.SetAMUseMultiplier(useMultiplier);
    if (!note.empty())
        gen.SetNote(note);
    else
        gen.SetFrequency(static_cast<std::int16_t>(frequency));
    // Heard = asked: the loop holds a whole number of periods (precise noise
    // loops long enough not to be heard repeating) unless the caller chose
    // its length.
    const int loopMs = signal.Active() && signal.kind != SignalKind::Sweep
                           ? SignalLoopDurationMs(signal, gen.Frequency())
                           : loop_length::ToneLoopDurationMs(waveform, gen.Frequency(), precise);
    gen.SetDuration(static_cast<std::int16_t>(durationMs ? *durationMs : loopMs));
    gen.SetWaveform(waveform);
    gen.SetResolution(resolution);
    gen.SetQuality(quality);
    gen.SetStereo(stereo);
    gen.SetLeftVolume(static_cast<std::int16_t>(leftVolume));
    gen.SetRightVolume(static_cast<std::int16_t>(rightVolume));
    if (envelope) {
        gen.SetAttack(static_cast<std::int16_t>(envelope->attack));
        gen.SetHold(static_cast<std::int16_t>(envelope->hold));
        gen.SetDecay(static_cast<std::int16_t>(envelope->decay));
        gen.SetSustain(static_cast<std::int16_t>(envelope->sustain));
        gen.SetRelease(static_cast<std::int16_t>(envelope->release));
    }
    for (const AMRequest& level : am) {
        const auto id = static_cast<TTGAMLevel>(level.level - 1);
        gen.SetAMParameter(id, static_cast<std::int16_t>(level.amplitude), level.number,
                           level.waveform);
        if (!level.note.empty())
            gen.SetAMNote(id, level.note);
    }
    gen.SetPrecise(precise);
    gen.SetSignal(signal);
    gen.SetPeakLevel(levelDb);
    gen.SetRightPeakLevel(rightLevelDb);
    gen.SetDither(dither);
    gen.SetSampleRate(sampleRate);
}

WaveFormat ToneRequest::Format() const {
    WaveFormat format{stereo, resolution != TTGResolution::tg8Bit, quality == TTGQuality::tgHiQ};
    if (precise && resolution == TTGResolution::tg24Bit)
        format.wide = WideSamples::Pcm24;
    else if (precise && resolution == TTGResolution::tgFloat)
        format.wide = WideSamples::Float32;
    if (precise)
        format.rate = sampleRate;
    return format;
}

bool ToneRequest::Build(TToneGen& gen) const {
    ApplyTo(gen);
    return envelope ? gen.PrepareADSR() : gen.Prepare();
}
