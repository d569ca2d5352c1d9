// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RotatingSine.h"

#include <algorithm>

RotatingSine::RotatingSine(const FinePhaseSine& sine, long double lagSin, long double lagCos)
    : sine_(sine), lagSin_(lagSin), lagCos_(lagCos) {
    SetStep(0);
}

void RotatingSine::SetStep(std::uint64_t unitsPerFrame) {
    const std::uint64_t units = 1000 * std::uint64_t(sine_.Rate());
    for (std::size_t l = 0; l < kLanes; ++l)
        sine_.SinCos(l * unitsPerFrame % units, laneSin_[l], laneCos_[l]);
    long double s = 0, c = 1;
    sine_.SinCos(kLanes * unitsPerFrame % units, s, c);
    rowSin_ = static_cast<double>(s);
    rowCos_ = static_cast<double>(c);
}

void RotatingSine::Fill(std::uint64_t units, std::size_t frames, double* out) const {
    frames = std::min(frames, kBlockFrames);
    // The block's first frame, exact, lagging.
    long double s0 = 0, c0 = 1;
    sine_.SinCos(units, s0, c0);
    const long double s = s0 * lagCos_ - c0 * lagSin_;
    const long double c = c0 * lagCos_ + s0 * lagSin_;
    // Each lane's first frame from it, rounded once.
    alignas(64) double re[kLanes];
    alignas(64) double im[kLanes];
    for (std::size_t l = 0; l < kLanes; ++l) {
        re[l] = static_cast<double>(c * laneCos_[l] - s * laneSin_[l]);
        im[l] = static_cast<double>(s * laneCos_[l] + c * laneSin_[l]);
    }
    const double rs = rowSin_, rc = rowCos_;
    std::size_t done = 0;
    for (; done + kLanes <= frames; done += kLanes) {
        for (std::size_t l = 0; l < kLanes; ++l) {
            out[done + l] = im[l];
            const double r = re[l] * rc - im[l] * rs;
            im[l] = re[l] * rs + im[l] * rc;
            re[l] = r;
        }
    }
    for (std::size_t l = 0; done + l < frames; ++l)
        out[done + l] = im[l];
}
