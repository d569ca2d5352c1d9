// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SampleWriter.h"

#include <algorithm>
#include <bit>
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

float FullScaleFloat(double v) {
    return static_cast<float>(std::clamp(v, -1.0, 1.0));
}

// Some value beyond full scale, or a NaN: its magnitude's bits lie above
// those of 1. A test on whole numbers, which the compiler does on several
// at once (unlike the comparisons of a clamp).
bool BeyondFullScale(const float* values, std::size_t n) {
    std::uint32_t beyond = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, values + i, sizeof bits);
        beyond |= (bits & 0x7fffffffu) > 0x3f800000u;
    }
    return beyond != 0;
}

// Stereo frames as little-endian floats, as PutFloat writes them, a piece
// at a time: converted all at once, and clamped one by one only in a
// piece that needs it (a value that rounds to 1 or below is the clamped
// one already).
void WriteFloatPairs(const double* left, const double* right, std::size_t frames,
                     std::uint8_t* out) {
    constexpr std::size_t kPiece = 256;
    alignas(64) float pairs[2 * kPiece];
    for (std::size_t n = 0; n < frames; n += kPiece) {
        const std::size_t m = std::min(kPiece, frames - n);
        for (std::size_t i = 0; i < m; ++i) {
            pairs[2 * i] = static_cast<float>(left[n + i]);
            pairs[2 * i + 1] = static_cast<float>(right[n + i]);
        }
        if (BeyondFullScale(pairs, 2 * m))
            for (std::size_t i = 0; i < m; ++i) {
                pairs[2 * i] = FullScaleFloat(left[n + i]);
                pairs[2 * i + 1] = FullScaleFloat(right[n + i]);
            }
        std::memcpy(out + n * 8, pairs, m * 8);
    }
}

void PutFloat(std::uint8_t* p, double v) {
    const float f = FullScaleFloat(v);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &f, sizeof f); // one store, where the bytes below may take four
        return;
    }
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
    // Float is the streamed output's usual format: stereo goes a piece at a
    // time where the bytes are the processor's own.
    if (format.IsFloat()) {
        // Plain pointers and count: the stores through bytes could
        // otherwise be the vectors' own, to be read again each frame.
        const double* l = left.data();
        const double* r = second.data();
        const std::size_t frames = left.size();
        if (channels == 1) {
            for (std::size_t n = 0; n < frames; ++n)
                PutFloat(out + n * 4, l[n]);
            return;
        }
        if constexpr (std::endian::native == std::endian::little) {
            WriteFloatPairs(l, r, frames, out);
            return;
        }
        for (std::size_t n = 0; n < frames; ++n) {
            PutFloat(out + n * 8, l[n]);
            PutFloat(out + n * 8 + 4, r[n]);
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
