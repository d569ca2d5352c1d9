// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A literal, sample-by-sample rendering of the wave image rules, written
// independently of the engine's fast path so that the two can be compared
// byte for byte. It walks the byte offsets and the period counters exactly
// as the rules state and computes every sine value afresh.

#include "engine/WaveHeader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

struct RefParams {
    int frequency = 1000;
    int duration = 100;
    int wave = 0; // 0 sine, 1 square, 2 triangle, 3 sawtooth, 4+ noise
    bool sixteenBit = true;
    bool hiQ = true;
    bool stereo = false;
    bool envelope = false;
    int attack = 10, hold = 5, decay = 20, sustain = 50, release = 30;
    bool useMultiplier = true;
    std::array<int, 8> amAmplitude{};
    std::array<int, 8> amWave{};
    std::array<float, 8> amFrequency{0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f};
};

namespace ref {

inline void AddComponent(std::vector<std::uint8_t>& img, std::uint32_t L, const RefParams& p,
                         int level, int frequency, int wave, std::uint32_t& X) {
    if (level <= 0 || frequency <= 0)
        return;
    const int rate = p.hiQ ? 96000 : 44100;
    double span = p.sixteenBit ? double(level * 65534) / 100 : double(level * 254) / 100;
    const double bottom = p.sixteenBit ? -double(level * 32767) / 100 : -double(level * 127) / 100;
    const double P = double(rate) / frequency;
    int periodLength = int(P);
    const int half = int(P + 0.5) / 2;
    if (wave == 2 && half == 0)
        return; // a triangle with no rising sample is left out
    double angleStep = 0, acc = 0, step = 0;
    if (wave == 0)
        angleStep = double(6.283185307179586477L / periodLength);
    else if (wave == 1)
        span = span / 2;
    else if (wave == 2) {
        acc = bottom;
        step = span / half;
    } else if (wave == 3) {
        acc = bottom;
        step = span / periodLength;
    }
    const int frame = (p.sixteenBit ? 2 : 1) * (p.stereo ? 2 : 1);
    int j = 0;
    long per = 1;
    std::uint32_t off = 0;
    while (off < L) {
        long double v = 0;
        switch (wave) {
        case 0:
            v = (long double)(std::int32_t)(sinl((long double)j * angleStep) / 2 * span);
            break;
        case 1:
            v = j < half ? bottom : span;
            break;
        case 2:
            v = std::trunc(acc);
            if (j < half) {
                acc += step;
            } else {
                acc -= step;
                if (acc < bottom)
                    acc = bottom;
            }
            break;
        case 3:
            v = std::trunc(acc);
            acc += step;
            break;
        default: {
            X = X * 134775813u + 1u;
            const std::uint32_t N = std::uint32_t(span + 1);
            v = double(std::uint32_t((std::uint64_t(N) * X) >> 32)) + bottom;
            break;
        }
        }
        std::uint8_t* s = img.data() + 44 + off;
        if (p.sixteenBit) {
            const auto old = std::int16_t(s[0] | (s[1] << 8));
            const auto r = std::uint16_t(old + std::int32_t(std::trunc((double)v)));
            s[0] = std::uint8_t(r);
            s[1] = std::uint8_t(r >> 8);
            if (p.stereo) {
                s[2] = s[0];
                s[3] = s[1];
            }
        } else {
            const auto r = std::uint8_t(s[0] + std::int32_t(std::trunc((double)v + 128)) - 128);
            s[0] = r;
            if (p.stereo)
                s[1] = r;
        }
        off += frame;
        ++j;
        if (j == periodLength) {
            j = 0;
            if (wave != 0)
                acc = bottom;
            ++per;
            periodLength =
                int(std::trunc((long double)per * P - std::trunc((long double)(per - 1) * P)));
        }
    }
}

inline void Envelope(std::vector<std::uint8_t>& img, std::uint32_t L, const RefParams& p) {
    const std::int64_t bpf = (p.sixteenBit ? 2 : 1) * (p.stereo ? 2 : 1);
    const std::int64_t T = L / bpf;
    std::int64_t A = p.attack, H = p.hold, D = p.decay, R = p.release, S = p.sustain;
    if (A + H + D + R > 100) {
        const std::int64_t t = A + H + D + R;
        A = A * 100 / t;
        H = H * 100 / t;
        D = D * 100 / t;
        R = 100 - A - H - D;
    }
    const std::int64_t share = 100 - A - H - D - R;
    auto len = [&](std::int64_t x) { return x * std::int64_t(L) / (bpf * 100); };
    auto first = [&](std::int64_t f) -> std::int64_t {
        const std::uint8_t* s = img.data() + 44 + f * bpf;
        return p.sixteenBit ? std::int64_t(std::int16_t(s[0] | (s[1] << 8))) : s[0] - 128;
    };
    auto put = [&](std::int64_t f, std::int64_t v) {
        std::uint8_t* s = img.data() + 44 + f * bpf;
        for (int i = 0; i < (p.stereo ? 2 : 1); ++i) {
            if (p.sixteenBit) {
                *s++ = std::uint8_t(std::uint16_t(v));
                *s++ = std::uint8_t(std::uint16_t(v) >> 8);
            } else {
                *s++ = std::uint8_t(v + 128);
            }
        }
    };
    std::int64_t start = 0;
    std::int64_t n = len(A);
    if (A != 0 && n != 0) {
        for (std::int64_t k = 0; k <= n; ++k)
            if (start + k < T)
                put(start + k, std::int64_t((long double)(first(start + k) * k) * (1.0L / n)));
        start += n + 1;
    }
    n = len(H);
    if (H != 0 && n != 0)
        start += n + 1;
    n = len(D);
    if (D != 0 && n != 0) {
        const double g = double(100 - S) / n / 100;
        for (std::int64_t k = 0; k <= n; ++k)
            if (start + k < T) {
                const std::int64_t s = first(start + k);
                put(start + k, s - std::int64_t((long double)(s * k) * (long double)g));
            }
        start += n + 1;
    }
    if (share != 0) {
        n = R == 0 ? T - start : len(share);
        for (std::int64_t k = 0; k <= n; ++k)
            if (start + k < T)
                put(start + k, first(start + k) * S / 100);
        start += n + 1;
    }
    if (R != 0 && T - start > 0) {
        n = T - start;
        const double g = (double(S) / 100) / n;
        for (std::int64_t k = 0; k <= n; ++k)
            if (start + k < T)
                put(start + k,
                    std::int64_t((long double)(first(start + k) * (n - k)) * (long double)g));
    }
}

// Frequency of an AM level, as the build works it out.
inline int LevelFrequency(const RefParams& p, int i) {
    const float e = p.amFrequency[i];
    if (std::isnan(e))
        return 0;
    if (p.useMultiplier) {
        const double f = std::trunc(double(p.frequency) * double(e));
        return f < 20 ? 20 : f > 20000 ? 20000 : int(f);
    }
    const double f = std::trunc(double(e));
    return f <= 0 || f >= 32768 ? 0 : int(f);
}

} // namespace ref

inline std::vector<std::uint8_t> ReferenceImage(const RefParams& p) {
    const int bps = p.sixteenBit ? 2 : 1;
    const std::uint32_t mono = std::uint32_t(bps * p.duration * (p.hiQ ? 960 : 441) / 10);
    const std::uint32_t L = p.stereo ? 2 * mono : mono;
    std::vector<std::uint8_t> img(44 + L + 32, p.sixteenBit ? 0x00 : 0x80);
    WriteWaveHeader(img.data(), WaveFormat{p.stereo, p.sixteenBit, p.hiQ}, L);
    std::uint32_t X = 1;
    int sum = 0;
    std::array<int, 8> a{};
    for (int i = 0; i < 8; ++i) {
        a[i] = std::clamp(p.amAmplitude[i], 0, 100);
        sum += a[i];
    }
    ref::AddComponent(img, L, p, 100 - sum, p.frequency, p.wave, X);
    for (int i = 0; i < 8; ++i) {
        const int level = sum > 100 ? a[i] * 100 / sum : a[i];
        ref::AddComponent(img, L, p, level, level > 0 ? ref::LevelFrequency(p, i) : 0, p.amWave[i],
                          X);
    }
    if (p.envelope)
        ref::Envelope(img, L, p);
    return img;
}
