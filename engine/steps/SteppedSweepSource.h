// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays a stepped sweep's schedule as a sine at a steady peak, computed in
// extended precision and rounded (or dithered) once into the format's
// samples, every channel alike; silent after the last step. The step
// playing and the frames rendered can be read from another thread while it
// plays, so that a player can tell when each step starts.

#include "engine/FrameSource.h"
#include "engine/TpdfDither.h"
#include "engine/WaveFormat.h"
#include "engine/steps/StepSchedule.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class SteppedSweepSource : public FrameSource {
public:
    // The schedule must not be refused and must be for the format's rate
    // (else std::invalid_argument). `peak`: 0..1 of full scale.
    SteppedSweepSource(StepSchedule schedule, const WaveFormat& format, double peak,
                       bool dither = false);

    const WaveFormat& Format() const override { return format_; }
    void Render(std::size_t frames, std::uint8_t* out) override;
    // Goes back as far as the first frame: each frame follows from its
    // index alone. The frames rendered count only those not taken back.
    std::size_t StepBack(std::size_t frames) override;

    const StepSchedule& Schedule() const { return schedule_; }
    // The step of the last frame rendered (0 before any).
    std::size_t CurrentStep() const { return step_.load(std::memory_order_acquire); }
    std::uint64_t FramesRendered() const { return frame_.load(std::memory_order_acquire); }
    bool Finished() const { return FramesRendered() >= schedule_.endFrame; }

private:
    static constexpr std::size_t kChunk = 512;

    StepSchedule schedule_;
    WaveFormat format_;
    double peak_;
    bool dither_;
    TpdfDither ditherSource_;
    std::vector<double> chunk_;
    std::atomic<std::size_t> step_{0};
    std::atomic<std::uint64_t> frame_{0};
};

// Writes the whole sweep to `path` as a WAV file, all or nothing: its
// frames to the last step's end, then silence to the next whole
// millisecond. 0, or the errno value that says why (EINVAL also for a
// refused schedule, one for another rate, or more than a WAV file holds).
int ExportSteppedSweep(const StepSchedule& schedule, const WaveFormat& format, double peak,
                       const std::string& path);
