// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BlockSine.h"

#include <algorithm>

BlockSine::BlockSine(const FinePhaseSine& sine, long double lagSin, long double lagCos)
    : sine_(sine), lagSin_(lagSin), lagCos_(lagCos) {
    SetStep(0);
}

void BlockSine::SetStep(std::uint64_t unitsPerFrame) {
    const std::uint64_t units = 1000 * std::uint64_t(sine_.Rate());
    for (std::size_t j = 0; j < kHead; ++j)
        sine_.SinCos(j * unitsPerFrame % units, headSin_[j], headCos_[j]);
    twoCos_ = 2 * static_cast<double>(headCos_[kLanes]);
}

void BlockSine::Fill(std::uint64_t units, std::size_t frames, double* out) const {
    frames = std::min(frames, kBlockFrames);
    // The block's first frame, exact, lagging.
    long double s0 = 0, c0 = 1;
    sine_.SinCos(units, s0, c0);
    const long double s = s0 * lagCos_ - c0 * lagSin_;
    const long double c = c0 * lagCos_ + s0 * lagSin_;
    const std::size_t head = std::min(frames, kHead);
    for (std::size_t j = 0; j < head; ++j)
        out[j] = static_cast<double>(s * headCos_[j] + c * headSin_[j]);
    const double twoCos = twoCos_;
    for (std::size_t n = kHead; n < frames; ++n)
        out[n] = twoCos * out[n - kLanes] - out[n - kHead];
}
