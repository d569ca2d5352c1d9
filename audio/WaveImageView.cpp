// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/WaveImageView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t U32Of3(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

constexpr int kMaxSamplesPerSecond = 768000;
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;

// One sample on the 16-bit scale, rounded for wider ones.
std::int32_t Sample16(const WaveImageView& view, const std::uint8_t* p) {
    if (view.isFloat) {
        float v;
        std::memcpy(&v, p, sizeof v);
        if (!(v == v))
            return 0; // NaN
        return static_cast<std::int32_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
    }
    switch (view.bitsPerSample) {
    case 8:
        return (std::int32_t(p[0]) - 128) * 256;
    case 24: {
        // Full scale to full scale, as for float.
        const auto v = static_cast<std::int32_t>(U32Of3(p) << 8) >> 8;
        return static_cast<std::int32_t>(std::lround(v * (32767.0 / 8388607.0)));
    }
    default:
        return static_cast<std::int16_t>(U16(p));
    }
}
} // namespace

std::optional<WaveImageView> ParseWaveImage(std::span<const std::uint8_t> image) {
    if (image.size() < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 ||
        std::memcmp(image.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    WaveImageView view;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (image.size() - pos >= 8) {
        const std::uint8_t* chunk = image.data() + pos;
        const std::size_t size = U32(chunk + 4);
        const std::size_t available = image.size() - pos - 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || available < 16)
                return std::nullopt;
            const std::uint8_t* f = chunk + 8;
            const std::uint16_t tag = U16(f);
            if (tag != kFormatPcm && tag != kFormatFloat)
                return std::nullopt;
            view.isFloat = tag == kFormatFloat;
            view.channels = U16(f + 2);
            view.samplesPerSecond =
                static_cast<int>(std::min<std::uint32_t>(U32(f + 4), INT32_MAX));
            view.bitsPerSample = U16(f + 14);
            const bool bitsKnown = view.isFloat
                                       ? view.bitsPerSample == 32
                                       : (view.bitsPerSample == 8 || view.bitsPerSample == 16 ||
                                          view.bitsPerSample == 24);
            if (view.channels < 1 || view.channels > 2 || !bitsKnown || view.samplesPerSecond < 1 ||
                view.samplesPerSecond > kMaxSamplesPerSecond)
                return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return std::nullopt;
            view.data = image.subspan(pos + 8, std::min(size, available));
            return view;
        }
        if (size > available)
            return std::nullopt;
        pos += 8 + size + (size & 1); // chunks are padded to even sizes
        if (pos > image.size())
            return std::nullopt;
    }
    return std::nullopt;
}

std::size_t RenderStereo(const WaveImageView& view, std::size_t& position, bool loop,
                         std::uint32_t level, std::int16_t* out, std::size_t frames) {
    const std::size_t total = view.Frames();
    if (total == 0)
        return 0;
    const std::uint32_t left = LeftLevel(level), right = RightLevel(level);
    const std::size_t frameBytes = view.FrameBytes();
    const std::size_t second = view.channels == 2 ? frameBytes / 2 : 0;
    std::size_t done = 0;
    while (done < frames) {
        if (position >= total) {
            if (!loop)
                break;
            position = 0;
        }
        const std::size_t run = std::min(frames - done, total - position);
        const std::uint8_t* in = view.data.data() + position * frameBytes;
        std::int16_t* o = out + 2 * done;
        for (std::size_t i = 0; i < run; ++i) {
            const std::int32_t l = Sample16(view, in);
            const std::int32_t r = second ? Sample16(view, in + second) : l;
            in += frameBytes;
            *o++ = ApplyLevel(l, left);
            *o++ = ApplyLevel(r, right);
        }
        position += run;
        done += run;
    }
    return done;
}

namespace {

// One sample as a fraction of full scale, exactly.
double SampleReal(const WaveImageView& view, const std::uint8_t* p) {
    if (view.isFloat) {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v == v ? std::clamp(double(v), -1.0, 1.0) : 0.0;
    }
    if (view.bitsPerSample == 24)
        return (static_cast<std::int32_t>(U32Of3(p) << 8) >> 8) / 8388607.0;
    return Sample16(view, p) / 32767.0;
}

// Walks the frames as RenderStereo does, handing each frame's left and
// right fraction of full scale (level applied) to `put`.
template <class Put>
std::size_t WalkFrames(const WaveImageView& view, std::size_t& position, bool loop,
                       std::uint32_t level, std::size_t frames, Put put) {
    const std::size_t total = view.Frames();
    if (total == 0)
        return 0;
    const double left = LeftLevel(level) / 65535.0, right = RightLevel(level) / 65535.0;
    const std::size_t frameBytes = view.FrameBytes();
    const std::size_t second = view.channels == 2 ? frameBytes / 2 : 0;
    std::size_t done = 0;
    while (done < frames) {
        if (position >= total) {
            if (!loop)
                break;
            position = 0;
        }
        const std::size_t run = std::min(frames - done, total - position);
        const std::uint8_t* in = view.data.data() + position * frameBytes;
        for (std::size_t i = 0; i < run; ++i, in += frameBytes) {
            const double l = SampleReal(view, in);
            const double r = second ? SampleReal(view, in + second) : l;
            put(done + i, l * left, r * right);
        }
        position += run;
        done += run;
    }
    return done;
}

} // namespace

std::size_t RenderStereoReal(const WaveImageView& view, std::size_t& position, bool loop,
                             std::uint32_t level, float* out, std::size_t frames) {
    return WalkFrames(view, position, loop, level, frames,
                      [out](std::size_t i, double l, double r) {
                          out[2 * i] = static_cast<float>(l * 32767);
                          out[2 * i + 1] = static_cast<float>(r * 32767);
                      });
}

void PutStreamSample(double value16, bool toFloat, std::uint8_t* out) {
    const double v = std::clamp(value16 / 32767, -1.0, 1.0);
    std::uint32_t bits = 0;
    if (toFloat) {
        const float f = static_cast<float>(v);
        std::memcpy(&bits, &f, sizeof bits);
        for (int b = 0; b < 4; ++b)
            out[b] = static_cast<std::uint8_t>(bits >> (8 * b));
        return;
    }
    bits = static_cast<std::uint32_t>(std::lround(v * 8388607));
    for (int b = 0; b < 3; ++b)
        out[b] = static_cast<std::uint8_t>(bits >> (8 * b));
}

std::size_t RenderStereoWide(const WaveImageView& view, std::size_t& position, bool loop,
                             std::uint32_t level, bool toFloat, std::uint8_t* out,
                             std::size_t frames) {
    const std::size_t bytes = toFloat ? 4 : 3;
    return WalkFrames(view, position, loop, level, frames, [&](std::size_t i, double l, double r) {
        PutStreamSample(l * 32767, toFloat, out + 2 * bytes * i);
        PutStreamSample(r * 32767, toFloat, out + 2 * bytes * i + bytes);
    });
}
