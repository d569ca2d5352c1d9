// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the panel's menu chooses beyond the faceplate: the output, the
// sample format and the measurement signal. These, and nothing else, are
// kept between runs; the dials always start as the layout sets them.

#include "engine/ToneGenTypes.h"
#include "engine/signals/MeasurementSignal.h"

#include <string>

struct PanelChoices {
    std::string device; // the output's name; empty: the server's default
    TTGResolution resolution = TTGResolution::tg16Bit;
    TTGQuality quality = TTGQuality::tgHiQ;
    // Tone: the waveform switch rules; else pink noise, SMPTE or CCIF.
    SignalKind signal = SignalKind::Tone;

    bool operator==(const PanelChoices&) const = default;
};
