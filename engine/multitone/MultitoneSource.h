// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays a multitone's period over and over, every channel alike, rounded
// (or dithered) once into the format's samples.

#include "engine/FrameSource.h"
#include "engine/TpdfDither.h"
#include "engine/WaveFormat.h"
#include "engine/multitone/Multitone.h"

#include <string>
#include <vector>

class MultitoneSource : public FrameSource {
public:
    // `multitone` must not be refused, and its rate must be the format's
    // (else std::invalid_argument). Copies the period.
    MultitoneSource(const Multitone& multitone, const WaveFormat& format, bool dither = false);

    const WaveFormat& Format() const override { return format_; }
    void Render(std::size_t frames, std::uint8_t* out) override;
    // Goes back any number of frames: the period repeats unchanged.
    std::size_t StepBack(std::size_t frames) override;

private:
    static constexpr std::size_t kChunk = 512;

    WaveFormat format_;
    std::vector<double> period_;
    std::size_t position_ = 0;
    bool dither_;
    TpdfDither ditherSource_;
    std::vector<double> chunk_;
};

// Writes `durationMs` of `multitone` to `path` as a WAV file, all or
// nothing: 0, or the errno value that says why (EINVAL also for a refused
// multitone or one built for another rate).
int ExportMultitone(const Multitone& multitone, const WaveFormat& format, int durationMs,
                    const std::string& path);
