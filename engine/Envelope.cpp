// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Envelope.h"

#include <cstring>

namespace {

// Shares after scaling an over-full A + H + D + R down to 100.
struct Shares {
    std::int64_t a, h, d, s, r, sustainShare;
};

Shares NormalisedShares(const EnvelopeSettings& e) {
    Shares sh{e.attack, e.hold, e.decay, e.sustain, e.release, 0};
    const std::int64_t total = sh.a + sh.h + sh.d + sh.r;
    if (total > 100) {
        sh.a = sh.a * 100 / total;
        sh.h = sh.h * 100 / total;
        sh.d = sh.d * 100 / total;
        sh.r = 100 - sh.a - sh.h - sh.d;
    }
    sh.sustainShare = 100 - sh.a - sh.h - sh.d - sh.r;
    return sh;
}

// Frame access: 16-bit samples are signed, 8-bit ones are bytes around 128.
struct FrameIo {
    std::uint8_t* data;
    int bytesPerSample;
    int channels;

    std::int32_t First(std::int64_t frame) const {
        const std::uint8_t* p = data + frame * bytesPerSample * channels;
        if (bytesPerSample == 2)
            return static_cast<std::int16_t>(std::uint16_t(p[0] | (p[1] << 8)));
        return std::int32_t(p[0]) - 128;
    }
    void Put(std::int64_t frame, std::int64_t value) const {
        std::uint8_t* p = data + frame * bytesPerSample * channels;
        for (int ch = 0; ch < channels; ++ch) {
            if (bytesPerSample == 2) {
                const auto v = static_cast<std::uint16_t>(value);
                *p++ = std::uint8_t(v);
                *p++ = std::uint8_t(v >> 8);
            } else {
                *p++ = static_cast<std::uint8_t>(value + 128);
            }
        }
    }
};

} // namespace

std::vector<EnvelopePhase> EnvelopePlan(std::uint32_t dataLength, int bytesPerFrame,
                                        const EnvelopeSettings& settings) {
    const std::int64_t T = dataLength / bytesPerFrame;
    const Shares sh = NormalisedShares(settings);
    auto length = [&](std::int64_t percent) {
        return percent * dataLength / (std::int64_t(bytesPerFrame) * 100);
    };
    std::vector<EnvelopePhase> plan;
    std::int64_t start = 0;
    auto add = [&](EnvelopePhaseKind kind, std::int64_t n) {
        plan.push_back({kind, start, n});
        start += n + 1;
    };
    if (sh.a != 0 && length(sh.a) != 0)
        add(EnvelopePhaseKind::Attack, length(sh.a));
    if (sh.h != 0 && length(sh.h) != 0)
        add(EnvelopePhaseKind::Hold, length(sh.h));
    if (sh.d != 0 && length(sh.d) != 0)
        add(EnvelopePhaseKind::Decay, length(sh.d));
    if (sh.sustainShare != 0)
        add(EnvelopePhaseKind::Sustain, sh.r == 0 ? T - start : length(sh.sustainShare));
    // The release runs over whatever is left, whatever its share says.
    if (sh.r != 0 && T - start > 0)
        add(EnvelopePhaseKind::Release, T - start);
    return plan;
}

void ApplyEnvelope(std::uint8_t* data, std::uint32_t dataLength, bool stereo, bool sixteenBit,
                   const EnvelopeSettings& settings) {
    const FrameIo io{data, sixteenBit ? 2 : 1, stereo ? 2 : 1};
    const int bytesPerFrame = io.bytesPerSample * io.channels;
    const std::int64_t T = dataLength / bytesPerFrame;
    const std::int64_t S = NormalisedShares(settings).s;

    for (const EnvelopePhase& ph : EnvelopePlan(dataLength, bytesPerFrame, settings)) {
        const std::int64_t n = ph.n;
        // Gains are held as doubles; the products are formed in extended
        // precision and truncated toward zero.
        const long double inverse = n > 0 ? 1.0L / n : 0;
        const double decayStep = n > 0 ? double(100 - S) / n / 100 : 0;
        const double releaseStep = n > 0 ? (double(S) / 100) / n : 0;
        for (std::int64_t k = 0; k <= n && ph.start + k < T; ++k) {
            const std::int64_t frame = ph.start + k;
            const std::int64_t s = io.First(frame);
            std::int64_t v = s;
            switch (ph.kind) {
            case EnvelopePhaseKind::Attack:
                v = static_cast<std::int64_t>(static_cast<long double>(s * k) * inverse);
                break;
            case EnvelopePhaseKind::Hold:
                break;
            case EnvelopePhaseKind::Decay:
                v = s - static_cast<std::int64_t>(static_cast<long double>(s * k) *
                                                  static_cast<long double>(decayStep));
                break;
            case EnvelopePhaseKind::Sustain:
                v = s * S / 100;
                break;
            case EnvelopePhaseKind::Release:
                v = static_cast<std::int64_t>(static_cast<long double>(s * (n - k)) *
                                              static_cast<long double>(releaseStep));
                break;
            }
            io.Put(frame, v);
        }
    }
}

std::vector<double> EnvelopeGains(std::uint32_t dataLength, int bytesPerFrame,
                                  const EnvelopeSettings& settings) {
    const std::int64_t T = dataLength / bytesPerFrame;
    std::vector<double> gains(static_cast<std::size_t>(T), 1.0);
    const double S = double(NormalisedShares(settings).s) / 100;
    for (const EnvelopePhase& ph : EnvelopePlan(dataLength, bytesPerFrame, settings)) {
        const double n = double(ph.n);
        for (std::int64_t k = 0; k <= ph.n && ph.start + k < T; ++k) {
            double g = 1;
            switch (ph.kind) {
            case EnvelopePhaseKind::Attack:
                g = ph.n > 0 ? double(k) / n : 0;
                break;
            case EnvelopePhaseKind::Hold:
                break;
            case EnvelopePhaseKind::Decay:
                g = ph.n > 0 ? 1 - double(k) * (1 - S) / n : 1;
                break;
            case EnvelopePhaseKind::Sustain:
                g = S;
                break;
            case EnvelopePhaseKind::Release:
                g = ph.n > 0 ? S * double(ph.n - k) / n : 0;
                break;
            }
            gains[static_cast<std::size_t>(ph.start + k)] = g;
        }
    }
    return gains;
}
