// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Energy per frequency bin of whole loops for the precise synthesis tests. The images
// measured hold whole cycles, so a plain (rectangular) transform of one loop
// puts a clean tone into a single bin.

#include <fftw3.h>

#include <cmath>
#include <vector>

// Energy per bin k = 0 .. N/2 (bin width: rate / N Hz), scaled so that the
// bins add up to the signal's energy.
inline std::vector<double> BinEnergies(const std::vector<double>& x) {
    const int n = static_cast<int>(x.size());
    std::vector<double> in(x);
    std::vector<fftw_complex> out(static_cast<std::size_t>(n / 2 + 1));
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), out.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    std::vector<double> e(out.size());
    for (std::size_t k = 0; k < e.size(); ++k) {
        const double twice = (k == 0 || 2 * k == std::size_t(n)) ? 1 : 2;
        e[k] = twice * (out[k][0] * out[k][0] + out[k][1] * out[k][1]) / n;
    }
    return e;
}

inline double Db(double energyRatio) {
    return 10 * std::log10(energyRatio);
}

// THD+N: everything outside +-10 Hz of the fundamental against what is
// within, in dB.
inline double ThdPlusNoiseDb(const std::vector<double>& energy, double binHz, double frequency) {
    double inside = 0, outside = 0;
    for (std::size_t k = 0; k < energy.size(); ++k)
        (std::fabs(k * binHz - frequency) <= 10 ? inside : outside) += energy[k];
    return Db(outside / inside);
}

// One third-octave band's level: its energy per hertz against the mean
// energy per hertz of the whole spectrum above 0 Hz, in dB. White noise
// reads 0 dB in every band.
struct BandLevel {
    double centreHz;
    double db;
};

// The third-octave bands (centres 1000 * 10^(k/10) Hz) whose centres lie
// between lowHz and highHz.
inline std::vector<BandLevel> ThirdOctaveLevels(const std::vector<double>& energy, double binHz,
                                                double lowHz, double highHz) {
    double total = 0;
    for (std::size_t k = 1; k < energy.size(); ++k)
        total += energy[k];
    const double meanPerHz = total / ((energy.size() - 1) * binHz);
    std::vector<BandLevel> levels;
    for (int b = -40; b <= 20; ++b) {
        const double centre = 1000 * std::pow(10.0, b / 10.0);
        // The nominal centres are rounded (20, 25, 31.5 ...): compare loosely.
        if (centre < lowHz * 0.99 || centre > highHz * 1.01)
            continue;
        const double low = centre * std::pow(10.0, -0.05), high = centre * std::pow(10.0, 0.05);
        double inBand = 0;
        for (std::size_t k = std::size_t(std::ceil(low / binHz)); k * binHz < high; ++k)
            inBand += energy.at(k);
        levels.push_back({centre, Db(inBand / ((high - low) * meanPerHz))});
    }
    return levels;
}

// The analytic signal (the samples plus i times their Hilbert transform, by
// FFT): its unwrapped phase in radians and its magnitude, sample by sample.
struct AnalyticSignal {
    std::vector<double> phase;
    std::vector<double> magnitude;
};

inline AnalyticSignal Analytic(const std::vector<double>& x) {
    const int n = static_cast<int>(x.size());
    std::vector<fftw_complex> s(x.size());
    for (int i = 0; i < n; ++i) {
        s[i][0] = x[i];
        s[i][1] = 0;
    }
    fftw_plan forward = fftw_plan_dft_1d(n, s.data(), s.data(), FFTW_FORWARD, FFTW_ESTIMATE);
    fftw_execute(forward);
    fftw_destroy_plan(forward);
    // Positive frequencies doubled, negative ones removed.
    for (int k = 1; k < n; ++k) {
        const double gain = 2 * k < n ? 2 : (2 * k == n ? 1 : 0);
        s[k][0] *= gain;
        s[k][1] *= gain;
    }
    fftw_plan back = fftw_plan_dft_1d(n, s.data(), s.data(), FFTW_BACKWARD, FFTW_ESTIMATE);
    fftw_execute(back);
    fftw_destroy_plan(back);
    AnalyticSignal a{std::vector<double>(x.size()), std::vector<double>(x.size())};
    double previous = 0, turns = 0;
    for (int i = 0; i < n; ++i) {
        const double re = s[i][0] / n, im = s[i][1] / n;
        const double wrapped = std::atan2(im, re);
        if (i > 0 && wrapped - previous > M_PI)
            turns -= 2 * M_PI;
        else if (i > 0 && wrapped - previous < -M_PI)
            turns += 2 * M_PI;
        previous = wrapped;
        a.phase[i] = wrapped + turns;
        a.magnitude[i] = std::hypot(re, im);
    }
    return a;
}

// A tone's amplitude and phase (of its sine, in radians) at exactly
// `frequency`, by correlation over samples begin .. begin + count - 1. Exact
// when they hold whole cycles of every tone present.
struct ToneReading {
    double amplitude;
    double phase;
};

inline ToneReading ReadTone(const std::vector<double>& x, double frequency, double rate,
                            std::size_t begin, std::size_t count) {
    double s = 0, c = 0;
    for (std::size_t n = begin; n < begin + count; ++n) {
        const double w = 2 * M_PI * std::fmod(frequency * double(n), rate) / rate;
        s += x[n] * std::sin(w);
        c += x[n] * std::cos(w);
    }
    return {2 * std::hypot(s, c) / double(count), std::atan2(c, s)};
}

// The circular autocorrelation of a whole loop, normalised to 1 at lag 0.
inline std::vector<double> LoopAutocorrelation(const std::vector<double>& x) {
    const std::vector<double> energy = BinEnergies(x);
    const int n = static_cast<int>(x.size());
    std::vector<fftw_complex> spectrum(energy.size());
    for (std::size_t k = 0; k < energy.size(); ++k) {
        spectrum[k][0] = energy[k];
        spectrum[k][1] = 0;
    }
    std::vector<double> r(x.size());
    fftw_plan plan = fftw_plan_dft_c2r_1d(n, spectrum.data(), r.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    const double zero = r[0];
    for (double& v : r)
        v /= zero;
    return r;
}
