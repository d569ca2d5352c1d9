// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/steps/SteppedSweepSource.h"

#include "engine/SampleWriter.h"
#include "engine/StreamExport.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <new>
#include <numbers>
#include <stdexcept>

SteppedSweepSource::SteppedSweepSource(StepSchedule schedule, const WaveFormat& format, double peak,
                                       bool dither)
    : schedule_(std::move(schedule)), format_(format), peak_(peak), dither_(dither) {
    if (schedule_.refusal != StepRefusal::None || schedule_.steps.empty() ||
        schedule_.rate != format.SamplesPerSecond())
        throw std::invalid_argument("stepped sweep not scheduled for this format");
    chunk_.reserve(kChunk);
}

void SteppedSweepSource::Render(std::size_t frames, std::uint8_t* out) {
    const auto frameBytes = static_cast<std::size_t>(format_.BytesPerFrame());
    std::uint64_t frame = frame_.load(std::memory_order_relaxed);
    std::size_t step = step_.load(std::memory_order_relaxed);
    const std::vector<SweepStep>& steps = schedule_.steps;
    while (frames > 0) {
        const std::size_t n = std::min(frames, kChunk);
        chunk_.resize(n); // within the reserved room: no allocation
        for (std::size_t i = 0; i < n; ++i, ++frame) {
            while (step + 1 < steps.size() && frame >= steps[step + 1].startFrame)
                ++step;
            if (frame >= schedule_.endFrame) {
                chunk_[i] = 0;
                continue;
            }
            long double cycles = schedule_.PhaseAt(step, frame);
            cycles -= std::floor(cycles);
            chunk_[i] =
                static_cast<double>(peak_ * std::sin(2 * std::numbers::pi_v<long double> * cycles));
        }
        WriteChannelSamples(chunk_, {}, format_, dither_ ? &ditherSource_ : nullptr, out);
        out += n * frameBytes;
        frames -= n;
        step_.store(step, std::memory_order_release);
        frame_.store(frame, std::memory_order_release);
    }
}

std::size_t SteppedSweepSource::StepBack(std::size_t frames) {
    std::uint64_t frame = frame_.load(std::memory_order_relaxed);
    std::size_t step = step_.load(std::memory_order_relaxed);
    const auto back = static_cast<std::size_t>(std::min<std::uint64_t>(frames, frame));
    frame -= back;
    // The step of the frame before the next one rendered.
    while (step > 0 && schedule_.steps[step].startFrame >= frame)
        --step;
    step_.store(step, std::memory_order_release);
    frame_.store(frame, std::memory_order_release);
    return back;
}

int ExportSteppedSweep(const StepSchedule& schedule, const WaveFormat& format, double peak,
                       const std::string& path) {
    if (schedule.rate < 1)
        return EINVAL;
    const std::uint64_t ms = (schedule.endFrame * 1000 + std::uint64_t(schedule.rate) - 1) /
                             std::uint64_t(schedule.rate);
    if (ms > std::uint64_t(std::numeric_limits<int>::max()))
        return EINVAL;
    try {
        SteppedSweepSource source(schedule, format, peak);
        return ExportStream(source, static_cast<int>(ms), path);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (const std::invalid_argument&) {
        return EINVAL;
    }
}
