// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four-parameter least-squares sine fit: x[n] ~ a sin(w n) + b cos(w n)
// + c, with the frequency refined by Gauss-Newton steps from a first guess.
// Samples are counted from the middle of the record, so that the
// frequency's column is not correlated with the others.

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

struct SineFitResult {
    double frequency; // Hz
    double a, b, c;
    double centre; // the sample the phase counts from
    double rate;

    double At(std::size_t n) const {
        const double w = 2 * M_PI * frequency / rate;
        const double t = double(n) - centre;
        return a * std::sin(w * t) + b * std::cos(w * t) + c;
    }
};

namespace sine_fit_detail {

// Solves the 4x4 system m v = r by Gaussian elimination with pivoting.
inline std::array<double, 4> Solve(std::array<std::array<double, 5>, 4> m) {
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col]))
                pivot = r;
        std::swap(m[col], m[pivot]);
        for (int r = 0; r < 4; ++r) {
            if (r == col)
                continue;
            const double f = m[r][col] / m[col][col];
            for (int k = col; k < 5; ++k)
                m[r][k] -= f * m[col][k];
        }
    }
    return {m[0][4] / m[0][0], m[1][4] / m[1][1], m[2][4] / m[2][2], m[3][4] / m[3][3]};
}

} // namespace sine_fit_detail

inline SineFitResult FitSine(const std::vector<double>& x, double rate, double guessHz,
                             int iterations = 4) {
    SineFitResult fit{guessHz, 0, 0, 0, double(x.size() - 1) / 2, rate};
    // The first pass fits a, b and c at the guess; then each pass also
    // moves the frequency (its column is the derivative by w).
    for (int pass = 0; pass <= iterations; ++pass) {
        const double w = 2 * M_PI * fit.frequency / rate;
        const bool withFrequency = pass > 0;
        std::array<std::array<double, 5>, 4> m{};
        for (std::size_t n = 0; n < x.size(); ++n) {
            const double t = double(n) - fit.centre;
            const double s = std::sin(w * t), co = std::cos(w * t);
            const double residual = x[n] - (fit.a * s + fit.b * co + fit.c);
            // Columns: a, b, c and (when moving) w; the target is the residual.
            const double dw = withFrequency ? t * (fit.a * co - fit.b * s) : 0;
            const double column[4] = {s, co, 1, withFrequency ? dw : 0};
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j)
                    m[i][j] += column[i] * column[j];
                m[i][4] += column[i] * residual;
            }
        }
        if (!withFrequency)
            m[3][3] = 1; // w stays
        const std::array<double, 4> d = sine_fit_detail::Solve(m);
        fit.a += d[0];
        fit.b += d[1];
        fit.c += d[2];
        fit.frequency += d[3] * rate / (2 * M_PI);
    }
    return fit;
}
