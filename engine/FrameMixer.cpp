// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FrameMixer.h"

#include "engine/PeriodTable.h"
#include "engine/PreciseDeltas.h"

#include <algorithm>
#include <cstring>

FrameMixer::FrameMixer(const WaveFormat& format, std::uint32_t dataLength, bool precise)
    : format_(format), precise_(precise),
      frameCount_((dataLength + format.BytesPerFrame() - 1) / format.BytesPerFrame()) {
    if (format_.sixteenBit)
        frames16_.assign(frameCount_, 0);
    else
        frames8_.assign(frameCount_, format_.ZeroLevelByte());
}

void FrameMixer::Add(const ToneComponent& component, NoiseSource& noise) {
    if (!component.Audible())
        return;
    if (format_.sixteenBit)
        AddTo(frames16_, component, noise);
    else
        AddTo(frames8_, component, noise);
}

template <class Sample>
void FrameMixer::AddPrecise(std::vector<Sample>& frames, const ToneComponent& c) const {
    // One exact cycle (or the whole image, if shorter), repeated.
    const std::vector<Sample> cycle = PreciseDeltas<Sample>(c, format_, frames.size());
    if (cycle.empty())
        return;
    const Sample* t = cycle.data();
    for (std::size_t pos = 0; pos < frames.size(); pos += cycle.size()) {
        Sample* o = frames.data() + pos;
        const std::size_t n = std::min(cycle.size(), frames.size() - pos);
        for (std::size_t k = 0; k < n; ++k)
            o[k] = Sample(o[k] + t[k]);
    }
}

template <class Sample>
void FrameMixer::AddTo(std::vector<Sample>& frames, const ToneComponent& c,
                       NoiseSource& noise) const {
    if (precise_ && c.wave <= TTGWave::tgSawtooth) {
        AddPrecise(frames, c);
        return;
    }
    const ComponentShape shape = ComponentShape::Derive(c, format_);
    if (!shape.Drawable(c.wave))
        return;
    Sample* out = frames.data();
    const std::size_t count = frames.size();

    if (c.wave > TTGWave::tgSawtooth) {
        // Noise: one draw per frame, continuing the build's sequence.
        const auto range = static_cast<std::uint32_t>(shape.span + 1);
        for (std::size_t i = 0; i < count; ++i)
            out[i] = Sample(out[i] + SampleDelta<Sample>(noise.Draw(range) + shape.bottom));
        return;
    }

    // Periods are P truncated or one sample longer; the table grows if the
    // period arithmetic ever asks for more, and is never longer than the data.
    std::vector<Sample> table = PeriodDeltas<Sample>(
        c.wave, shape, static_cast<int>(std::min<std::size_t>(shape.periodLength + 1, count)));
    std::size_t pos = 0;
    long p = 1;
    int length = shape.periodLength;
    while (pos < count) {
        const std::size_t n = std::min<std::size_t>(length, count - pos);
        if (n > table.size())
            table = PeriodDeltas<Sample>(c.wave, shape, static_cast<int>(n));
        const Sample* t = table.data();
        Sample* o = out + pos;
        for (std::size_t k = 0; k < n; ++k)
            o[k] = Sample(o[k] + t[k]);
        pos += n;
        ++p;
        length = PeriodLengthOf(p, shape.period);
        if (length <= 0)
            break; // cannot happen for P >= 1; guards the loop all the same
    }
}

void FrameMixer::WriteData(std::uint8_t* data) const {
    const int channels = format_.Channels();
    if (format_.sixteenBit) {
        std::uint8_t* o = data;
        for (std::uint16_t v : frames16_) {
            const std::uint8_t lo = std::uint8_t(v), hi = std::uint8_t(v >> 8);
            for (int ch = 0; ch < channels; ++ch) {
                *o++ = lo;
                *o++ = hi;
            }
        }
    } else if (channels == 1) {
        std::memcpy(data, frames8_.data(), frames8_.size());
    } else {
        std::uint8_t* o = data;
        for (std::uint8_t v : frames8_) {
            *o++ = v;
            *o++ = v;
        }
    }
}
