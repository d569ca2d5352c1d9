// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/MultitoneSource.h"

#include "engine/SampleWriter.h"
#include "engine/StreamExport.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

MultitoneSource::MultitoneSource(const Multitone& multitone, const WaveFormat& format, bool dither)
    : format_(format), period_(multitone.frames), dither_(dither) {
    if (multitone.Refused() || period_.empty() || multitone.rate != format.SamplesPerSecond())
        throw std::invalid_argument("multitone not built for this format");
    chunk_.reserve(kChunk);
}

void MultitoneSource::Render(std::size_t frames, std::uint8_t* out) {
    const auto frameBytes = static_cast<std::size_t>(format_.BytesPerFrame());
    while (frames > 0) {
        const std::size_t n = std::min({frames, kChunk, period_.size() - position_});
        chunk_.assign(period_.begin() + std::ptrdiff_t(position_),
                      period_.begin() + std::ptrdiff_t(position_ + n)); // within the room
        WriteChannelSamples(chunk_, {}, format_, dither_ ? &ditherSource_ : nullptr, out);
        position_ = (position_ + n) % period_.size();
        out += n * frameBytes;
        frames -= n;
    }
}

std::size_t MultitoneSource::StepBack(std::size_t frames) {
    const std::size_t period = period_.size();
    position_ = (position_ + period - frames % period) % period;
    return frames;
}

int ExportMultitone(const Multitone& multitone, const WaveFormat& format, int durationMs,
                    const std::string& path) {
    try {
        MultitoneSource source(multitone, format);
        return ExportStream(source, durationMs, path);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (const std::invalid_argument&) {
        return EINVAL;
    }
}
