// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A signal described in plain values (what `orbel export` and the panel's
// "save as WAV" ask for), and how it is put on a generator: every setting
// through the generator's own operations, so the image is exactly what the
// same calls from a program would build. ToneExport writes it to a file.

#include "engine/Envelope.h"
#include "engine/ToneGenTypes.h"
#include "engine/WaveFormat.h"
#include "engine/signals/MeasurementSignal.h"

#include <optional>
#include <string>
#include <vector>

class TToneGen;

// One AM level: its frequency is either a number (a multiplier of the
// tone's frequency, or hertz without the multiplier) or a note name.
struct AMRequest {
    int level = 1; // 1..8
    int amplitude = 0;
    TTGWave waveform = TTGWave::tgSine;
    float number = 0;
    std::string note; // used when not empty
};

struct ToneRequest {
    int frequency = 440;
    std::string note; // when not empty, sets the frequency instead
    TTGWave waveform = TTGWave::tgSine;
    // Without a duration the loop holds a whole number of periods.
    std::optional<int> durationMs;
    TTGResolution resolution = TTGResolution::tg16Bit;
    TTGQuality quality = TTGQuality::tgHiQ;
    bool stereo = false;
    int leftVolume = 100;
    int rightVolume = 100;
    std::optional<EnvelopeSettings> envelope;
    std::vector<AMRequest> am;
    bool useMultiplier = true;
    bool precise = true;
    // A sweep, pink noise, a two-tone signal, bursts or a right channel of
    // its own (precise only); the plain tone by default.
    MeasurementSignal signal;
    // Precise synthesis only: the peak in dBFS and rounding with dither.
    double levelDb = 0;
    // Stereo: the right channel's own peak in dBFS; none: levelDb.
    std::optional<double> rightLevelDb;
    bool dither = false;
    // Precise synthesis only: a rate of kPreciseRates in place of the
    // quality's; 0: the quality's.
    int sampleRate = 0;

    // The format the image is made in.
    WaveFormat Format() const;

    // Sets every parameter on `gen`; builds nothing.
    void ApplyTo(TToneGen& gen) const;
    // ApplyTo, then builds the image (with the envelope when one is asked
    // for). False when the image could not be built.
    bool Build(TToneGen& gen) const;
};
