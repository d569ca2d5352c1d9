// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line of a multitone as asked: its frequency, its level relative to
// the other lines, and its phase when the caller fixes it (else the phases
// are chosen to lower the crest factor).

#include <optional>

struct MultitoneTone {
    double hertz = 0;
    double levelDb = 0;
    std::optional<double> phaseDegrees; // of a sine: 0 starts rising from zero
};
