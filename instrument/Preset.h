// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A preset: a named state of the whole instrument, as a plain value. Every
// setting is optional: a preset holds what it was given, and whoever
// recalls it keeps its own state for the rest. The settings are the
// command line's: each has an option's name and takes that option's value
// (PresetText.h writes and reads them), so that a preset saved on the
// command line and one captured on the panel are one kind of thing.

#include "engine/LevelUnit.h"
#include "engine/MilliHertz.h"
#include "engine/ToneGenTypes.h"
#include "engine/signals/MeasurementSignal.h"
#include "engine/signals/SweepSignal.h"

#include <optional>
#include <string>
#include <utility>

namespace instrument {

// Which channels sound: one channel of a mono signal, or a stereo pair
// with the left, the right or both sounding.
enum class PresetChannels { Mono, Left, Right, Both };

// What --waveform names: a tone's waveform, a measurement signal that
// replaces the tone (pink, smpte, ccif), or the multitone.
struct PresetWave {
    TTGWave wave = TTGWave::tgSine;
    SignalKind signal = SignalKind::Tone;
    bool multitone = false;
    bool operator==(const PresetWave&) const = default;
};

struct Preset {
    std::string name; // any text

    // Each channel's frequency and level; the right's own only when it
    // differs from the left's.
    std::optional<MilliHertz> frequency;
    std::optional<MilliHertz> rightFrequency;
    std::optional<WrittenLevel> level;
    std::optional<WrittenLevel> rightLevel;
    std::optional<std::pair<int, int>> volume; // left and right, percent
    std::optional<PresetChannels> channels;

    std::optional<PresetWave> waveform;
    std::optional<int> durationMs;
    // A sweep: its range; its duration is durationMs.
    std::optional<std::pair<int, int>> sweep;
    bool linear = false; // of a sweep, of the multitone's or the steps' spacing
    std::optional<int> fadeMs;
    std::optional<BurstSettings> burst;
    std::optional<int> phaseTenths; // the right channel's lag
    // The multitone: F1:F2:N as written, or a list's file; a transform length.
    std::optional<std::string> tones;
    std::optional<std::string> tonesFile;
    std::optional<int> fftLength;
    // The stepped sweep: F1:F2:N as written, each step's dwell.
    std::optional<std::string> steps;
    std::optional<int> dwellMs;
    bool upDown = false;

    std::optional<std::string> device; // an output's name
    std::optional<TTGResolution> bits;
    std::optional<int> rate; // samples per second
    bool dither = false;

    bool operator==(const Preset&) const = default;
};

} // namespace instrument
