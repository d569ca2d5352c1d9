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
