// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SampleWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Little-endian whole-number sample of `bytes` bytes; 8-bit ones are
// offset to be unsigned.
void PutInteger(std::uint8_t* p, long v, int bytes) {
    if (bytes == 1) {
        *p = static_cast<std::uint8_t>(v + 128);
        return;
    }
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < bytes; ++b)
        p[b] = static_cast<std::uint8_t>(u >> (8 * b));
}

void PutFloat(std::uint8_t* p, double v) {
    const float f = static_cast<float>(std::clamp(v, -1.0, 1.0));
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    for (int b = 0; b < 4; ++b)
        p[b] = static_cast<std::uint8_t>(bits >> (8 * b));
}

} // namespace

void WriteSamples(const std::vector<double>& frames, const WaveFormat& format, TpdfDither* dither,
                  std::uint8_t* out) {
    const int channels = format.Channels();
    const int bytes = format.BytesPerSample();
    if (format.IsFloat()) {
        for (const double v : frames)
            for (int ch = 0; ch < channels; ++ch, out += bytes)
                PutFloat(out, v);
        return;
    }
    const double full = format.FullScale();
    const long limit = static_cast<long>(full);
    for (const double v : frames) {
        const double steps = v * full + (dither ? dither->Next() : 0.0);
        const long sample = std::clamp(std::lrint(steps), -limit, limit);
        for (int ch = 0; ch < channels; ++ch, out += bytes)
            PutInteger(out, sample, bytes);
    }
}

void WriteChannelSamples(const std::vector<double>& left, const std::vector<double>& right,
                         const WaveFormat& format, TpdfDither* dither, std::uint8_t* out) {
    const std::vector<double>& second = right.empty() ? left : right;
    const int channels = format.Channels();
    const int bytes = format.BytesPerSample();
    const double full = format.FullScale();
    const long limit = static_cast<long>(full);
    // Float is the streamed output's usual format: its loop kept plain.
    if (format.IsFloat()) {
        for (std::size_t n = 0; n < left.size(); ++n) {
            PutFloat(out, left[n]);
            out += bytes;
            if (channels == 2) {
                PutFloat(out, second[n]);
                out += bytes;
            }
        }
        return;
    }
    for (std::size_t n = 0; n < left.size(); ++n) {
        for (int ch = 0; ch < channels; ++ch, out += bytes) {
            const double v = ch == 0 ? left[n] : second[n];
            const double steps = v * full + (dither ? dither->Next() : 0.0);
            PutInteger(out, std::clamp(std::lrint(steps), -limit, limit), bytes);
        }
    }
}
